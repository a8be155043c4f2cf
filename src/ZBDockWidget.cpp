#include "ZBDockWidget.h"
#include "ZBDockWidget_p.h"

#include "ZBAccessible_p.h"
#include "ZBDeferredDelete_p.h"
#include "ZBFooterBar.h"
#include "ZBFrameGeometry_p.h"
#include "ZBQtCompat_p.h"
#include "ZBTitleBar.h"
#include "ZBWidgetTree_p.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QToolButton>

namespace {

// Width of the band the floating dock adds on its left and right sides (and below).
constexpr int FloatingBand = 3;

} // namespace

ZBDockWidgetPrivate::ZBDockWidgetPrivate(ZBDockWidget* q) : q(q) {}

ZBDockWidgetPrivate::~ZBDockWidgetPrivate()
{
    // QDockWidget may still report a floating change while it is torn down.
    QObject::disconnect(q, &QDockWidget::topLevelChanged, q, &ZBDockWidget::OnTopLevelChanged);
}

void ZBDockWidgetPrivate::Init()
{
    mainLayout = new QGridLayout();
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);

    mainContent = new QWidget(q, Qt::WindowFlags());
    mainContent->setLayout(mainLayout);
    mainContent->setObjectName(QStringLiteral("ZBDOCKWIDGETMAINCONTENT"));

    content = new QWidget(mainContent, Qt::WindowFlags());
    content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    contentLayout = ZBWidgetTree::NewGridLayout(content);
    content->setObjectName(QStringLiteral("ZBDOCKWIDGETCONTENT"));
    content->setCursor(Qt::ArrowCursor);
    contentLayout->setSpacing(0);
    contentLayout->setContentsMargins(3, 12, 3, 3);

    mainLayout->addWidget(content, 0, 0);

    footerBar = new ZBFooterBar(mainContent);
    mainLayout->addWidget(footerBar, 1, 0);
    footerBar->hide();

    q->QDockWidget::setWidget(mainContent);

    titleBar = new ZBTitleBar(q);
    titleBar->SetTitle(q->windowTitle());
    QToolButton* hide = titleBar->AddButton(Qt::AlignRight, ZBDockWidget::tr("Hide"));
    hide->setObjectName(QStringLiteral("CLOSEBUTTON"));
    hide->setFocusPolicy(Qt::NoFocus);
    QObject::connect(hide, &QToolButton::clicked, q, &QWidget::hide);
    q->setTitleBarWidget(titleBar);

    q->setAttribute(Qt::WA_TranslucentBackground, true);
    QObject::connect(q, &QDockWidget::topLevelChanged, q, &ZBDockWidget::OnTopLevelChanged);
    ZBAccessible::Adopt(q);
}

void ZBDockWidgetPrivate::UpdateResizeCursor(const QPoint& globalPos)
{
    if (!q->isFloating() || !mainContent)
        return;
    // The frame's own regions on the left, right and bottom borders, in narrower bands.
    const QPoint p = mainContent->mapToParent(mainContent->mapFromGlobal(globalPos));
    const ZBFrameGeometry::Region region = ZBFrameGeometry::RegionAt(
        mainContent->frameGeometry(), p, ZBFrameGeometry::FixedDimensions(q->minimumSize(), q->maximumSize()),
        ZBFrameGeometry::DockBands());
    mainContent->setCursor(ZBFrameGeometry::CursorShape(ZBFrameGeometry::CursorGroupOf(region)));
}

ZBDockWidget::ZBDockWidget(const QString& title, QWidget* parent, Qt::WindowFlags flags)
    : QDockWidget(title, parent, flags), d(new ZBDockWidgetPrivate(this))
{
    d->Init();
    installEventFilter(this);
}

ZBDockWidget::ZBDockWidget(QWidget* parent, Qt::WindowFlags flags)
    : QDockWidget(parent, flags), d(new ZBDockWidgetPrivate(this))
{
    d->Init();
    installEventFilter(this);
}

ZBDockWidget::~ZBDockWidget() = default;

void ZBDockWidget::SetTitle(const QString& title)
{
    if (d->titleBar)
        d->titleBar->SetTitle(title);
}

void ZBDockWidget::SetWidget(QWidget* widget)
{
    if (widget == GetWidget() || !d->content || !d->contentLayout)
        return;
    // The dock, its ancestors, its containers, and its title bar and footer bar with what they hold
    // cannot be the application widget.
    if (widget && (ZBWidgetTree::Within(d->content, widget) || ZBWidgetTree::Within(widget, d->titleBar) ||
                   ZBWidgetTree::Within(widget, d->footerBar)))
        return;

    if (widget)
        widget->setParent(d->content);
    QLayoutItem* item = d->contentLayout->itemAtPosition(0, 0);
    // The old one leaves the cell at once, so that the new widget is the only one there.
    ZBDeferredDelete::ReplaceInCell(d->content, d->contentLayout, 0, 0, item ? item->widget() : nullptr,
                                    widget);
    d->widget = widget;
}

QWidget* ZBDockWidget::GetWidget() const
{
    // A widget that another owner took meanwhile is no longer this dock's.
    return d->widget && d->widget->parentWidget() == d->content ? d->widget.data() : nullptr;
}

void ZBDockWidget::setWidget(QWidget* widget)
{
    SetWidget(widget);
}

ZBTitleBar* ZBDockWidget::TitleBar() const
{
    return d->titleBar;
}

ZBFooterBar* ZBDockWidget::FooterBar() const
{
    return d->footerBar;
}

bool ZBDockWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::WindowTitleChange) {
        if (d->titleBar)
            d->titleBar->SetTitle(windowTitle());
    } else if (watched == d->mainContent) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::MouseMove && QApplication::mouseButtons() == Qt::NoButton) ||
            type == QEvent::MouseButtonRelease)
            d->UpdateResizeCursor(ZBCompat::GlobalPos(static_cast<QMouseEvent*>(event)));
    }
    return QDockWidget::eventFilter(watched, event);
}

void ZBDockWidget::OnTopLevelChanged(bool isFloating)
{
    if (!d->mainContent || !d->mainLayout)
        return;
    QWidget* main = d->mainContent;
    if (isFloating) {
        d->mainLayout->setContentsMargins(FloatingBand, 0, FloatingBand, FloatingBand);
        main->resize(main->width() + 2 * FloatingBand, main->height());
        main->installEventFilter(this);
        main->setAttribute(Qt::WA_MouseTracking, true);
    } else {
        d->mainLayout->setContentsMargins(0, 0, 0, 0);
        main->resize(main->width() - 2 * FloatingBand, main->height());
        main->removeEventFilter(this);
        main->setAttribute(Qt::WA_MouseTracking, false);
    }
}
