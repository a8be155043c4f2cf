#include "ZBDockWidget.h"
#include "ZBDockWidget_p.h"

#include "ZBFooterBar.h"
#include "ZBQtCompat_p.h"
#include "ZBTitleBar.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QToolButton>

namespace {

// Width of the band the floating dock adds on its left and right sides (and below).
constexpr int FloatingBand = 3;

bool inside(int value, int low, int high)
{
    return low <= value && value <= high;
}

Qt::CursorShape cursorForZone(int zone)
{
    switch (zone) {
    case 1:
    case 2:
        return Qt::SizeHorCursor;
    case 3:
        return Qt::SizeVerCursor;
    case 4:
        return Qt::SizeBDiagCursor;
    case 5:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

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
    contentLayout = new QGridLayout(content);
    content->setObjectName(QStringLiteral("ZBDOCKWIDGETCONTENT"));
    content->setCursor(Qt::ArrowCursor);
    contentLayout->setSpacing(0);
    contentLayout->setContentsMargins(3, 12, 3, 3);

    mainLayout->addWidget(content, 0, 0);

    footerBar = new ZBFooterBar(mainContent);
    mainLayout->addWidget(footerBar, 1, 0);
    footerBar->hide();

    q->setWidget(mainContent);

    titleBar = new ZBTitleBar(q);
    titleBar->SetTitle(q->windowTitle());
    QToolButton* hide = titleBar->AddButton(Qt::AlignRight, ZBDockWidget::tr("Hide"));
    hide->setObjectName(QStringLiteral("CLOSEBUTTON"));
    hide->setFocusPolicy(Qt::NoFocus);
    QObject::connect(hide, &QToolButton::clicked, q, &QWidget::hide);
    q->setTitleBarWidget(titleBar);

    q->setAttribute(Qt::WA_TranslucentBackground, true);
    QObject::connect(q, &QDockWidget::topLevelChanged, q, &ZBDockWidget::OnTopLevelChanged);
}

int ZBDockWidgetPrivate::BorderZoneAt(const QRect& f, const QPoint& p, bool widthResizable,
                                      bool heightResizable)
{
    const int x = p.x();
    const int y = p.y();

    // The three edges, in order; an edge whose dimension is fixed sends the point to the corners.
    bool toCorners = false;
    if (inside(x, f.left(), f.left() + 3) && inside(y, f.top(), f.bottom() - 3)) {
        if (widthResizable)
            return 1;
        toCorners = true;
    }
    if (!toCorners && inside(x, f.right() - 3, f.right()) && inside(y, f.top(), f.bottom() - 3)) {
        if (widthResizable)
            return 2;
        toCorners = true;
    }
    if (!toCorners && inside(x, f.left() + 3, f.right() - 3) && inside(y, f.bottom() - 3, f.bottom())) {
        if (heightResizable)
            return 3;
    }

    // 7 by 7 corner squares at the bottom; there is no top edge, the title bar is there.
    const bool bottomRows = inside(y, f.bottom() - 6, f.bottom());
    const bool leftCorner = bottomRows && inside(x, f.left(), f.left() + 6);
    const bool rightCorner = bottomRows && inside(x, f.right() - 6, f.right());
    if (!leftCorner && !rightCorner)
        return 0;
    if (widthResizable && heightResizable)
        return leftCorner ? 4 : 5;
    if (widthResizable)
        return leftCorner ? 1 : 2;
    if (heightResizable)
        return 3;
    return 0;
}

void ZBDockWidgetPrivate::UpdateResizeCursor(const QPoint& globalPos)
{
    if (!q->isFloating() || !mainContent)
        return;
    const QPoint p = mainContent->mapToParent(mainContent->mapFromGlobal(globalPos));
    const bool widthResizable = q->minimumSize().width() != q->maximumSize().width();
    const bool heightResizable = q->minimumSize().height() != q->maximumSize().height();
    const int zone = BorderZoneAt(mainContent->frameGeometry(), p, widthResizable, heightResizable);
    mainContent->setCursor(cursorForZone(zone));
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
    if (widget == d->widget || !d->content || !d->contentLayout)
        return;
    if (widget && (widget == d->content || widget->isAncestorOf(d->content)))
        return;

    if (QLayoutItem* item = d->contentLayout->itemAtPosition(0, 0)) {
        if (QWidget* old = item->widget()) {
            // Out of the cell at once, so that the new widget is the only one there.
            d->contentLayout->removeWidget(old);
            old->hide();
            old->deleteLater();
        }
    }
    if (widget) {
        widget->setParent(d->content);
        d->contentLayout->addWidget(widget, 0, 0, Qt::Alignment());
    }
    d->widget = widget;
}

QWidget* ZBDockWidget::GetWidget() const
{
    return d->widget;
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
