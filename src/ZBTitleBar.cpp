#include "ZBTitleBar.h"
#include "ZBTitleBar_p.h"
#include "ZBWidgetTree_p.h"

#include "ZBAccessible_p.h"
#include "ZBPixmapFollower_p.h"
#include "ZBQtCompat_p.h"
#include "ZBResource.h"
#include "ZBSparseGridLayout_p.h"

#include <QDockWidget>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>

namespace {

// Gives widget another parent with its window flags and its visibility relative to the parent, which
// setParent() would lose: a title bar that is not shown yet keeps its parts.
void MoveTo(QWidget* widget, QWidget* parent)
{
    const Qt::WindowFlags flags = widget->windowFlags();
    const bool shown = !widget->isHidden();
    widget->setParent(parent, flags);
    widget->setVisible(shown);
}

void applyThemeMargins(QLayout* layout)
{
    const QRect m = ZBResource::GetData(ZBResource::TitleBarMargins).toRect();
    layout->setContentsMargins(m.left(), m.top(), m.right(), m.bottom());
}

// The title asks for no more than half its screen's width and a third of its height, so that a frame
// with a title of any length stays on the screen; a title that does not fit shows its first line,
// elided. text() keeps the whole title.
class TitleLabel : public QLabel
{
public:
    using QLabel::QLabel;

    QSize sizeHint() const override { return QLabel::sizeHint().boundedTo(Limit()); }
    QSize minimumSizeHint() const override { return QLabel::minimumSizeHint().boundedTo(Limit()); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QSize full = QLabel::sizeHint();
        if (full.width() <= width() && full.height() <= height()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        const QRect room = contentsRect();
        const QString line = text().section(QLatin1Char('\n'), 0, 0);
        const QString shown = fontMetrics().elidedText(line, Qt::ElideRight, room.width());
        style()->drawItemText(&painter, room, int(alignment()) | Qt::TextSingleLine, palette(), isEnabled(),
                              shown, foregroundRole());
    }

private:
    QSize Limit() const
    {
        const QScreen* s = screen();
        const QSize available = s ? s->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        return {available.width() / 2, available.height() / 3};
    }
};

} // namespace

ZBTitleBarPrivate::ZBTitleBarPrivate(ZBTitleBar* q) : q(q) {}

QString ZBTitleBarPrivate::TitleOf(const ZBTitleBar* bar)
{
    return bar && bar->d->titleLabel ? bar->d->titleLabel->text() : QString();
}

void ZBTitleBarPrivate::Init()
{
    q->setAttribute(Qt::WA_TranslucentBackground);
    auto* outer = ZBWidgetTree::NewGridLayout(q);
    outer->setSpacing(0);
    outer->setContentsMargins(0, 0, 0, 0);

    background = new QWidget(q, Qt::WindowFlags());
    background->setObjectName(QStringLiteral("TITLECONTENT"));
    background->setAttribute(Qt::WA_MouseTracking);
    outer->addWidget(background);

    iconLabel = new QLabel(background);
    iconLabel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    iconLabel->hide();
    iconLabel->setCursor(Qt::ArrowCursor);
    QStyleOption option(1, 0);
    option.initFrom(q);
    const int iconSize = q->style()->pixelMetric(QStyle::PM_SmallIconSize, &option, q);
    iconLabel->setMaximumSize(iconSize, iconSize);

    titleLabel = new TitleLabel(background);
    titleLabel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);

    // Right-aligned widgets stand from column 1000 leftwards; this grid lays out only the columns used.
    buttonGrid = new ZBSparseGridLayout();
    buttonGrid->setContentsMargins(0, 0, 0, 0);
    buttonGrid->setSpacing(3);
    bottomGrid = new QGridLayout();
    bottomGrid->setContentsMargins(0, 0, 0, 0);
    bottomGrid->setSpacing(0);

    LayOutBackground(background, 0);
}

bool ZBTitleBarPrivate::Moves(const QWidget* widget) const
{
    // The title bar and its ancestors, the background's children (deleted with it) and the widgets
    // that move onto the new background, with their children, would make a cycle or die; so would
    // moving a widget that holds the title bar, which one taken elsewhere with the old background may.
    if (ZBWidgetTree::Within(q, widget) || ZBWidgetTree::Within(widget, background))
        return true;
    for (const auto* list : {&leftWidgets, &rightWidgets, &bottomWidgets}) {
        for (const QWidget* moved : *list) {
            if (ZBWidgetTree::Within(widget, moved) || ZBWidgetTree::Within(q, moved))
                return true;
        }
    }
    return false;
}

void ZBTitleBarPrivate::LayOutBackground(QWidget* widget, int verticalSpacing)
{
    auto* grid = ZBWidgetTree::NewGridLayout(widget);
    grid->setContentsMargins(0, 0, 0, 0);
    applyThemeMargins(grid);
    grid->setSpacing(3);
    grid->setVerticalSpacing(verticalSpacing);
    grid->addWidget(iconLabel, 0, 0, Qt::Alignment());
    grid->addWidget(titleLabel, 0, 1, Qt::Alignment());
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Maximum), 0, 2, 1, 1);
    grid->addLayout(buttonGrid, 0, 3, Qt::Alignment());
    grid->addLayout(bottomGrid, 1, 0, 1, 4, Qt::Alignment());
}

ZBTitleBar::ZBTitleBar(QWidget* parent) : QWidget(parent, Qt::WindowFlags()), d(new ZBTitleBarPrivate(this))
{
    d->Init();
    ZBAccessible::Adopt(this);
}

ZBTitleBar::~ZBTitleBar() = default;

QToolButton* ZBTitleBar::AddButton(Qt::Alignment alignment, const QString& toolTip)
{
    return AddButton(QIcon(), alignment, toolTip);
}

QToolButton* ZBTitleBar::AddButton(const QIcon& icon, Qt::Alignment alignment, const QString& toolTip)
{
    auto* button = new QToolButton(d->background ? d->background.data() : this);
    if (!icon.isNull())
        button->setIcon(icon);
    button->setToolTip(toolTip);
    // Title bar buttons show icons only: the tool tip names them to assistive technology too.
    button->setAccessibleName(toolTip);
    AddWidget(button, alignment);
    return button;
}

void ZBTitleBar::AddWidget(QWidget* widget, Qt::Alignment alignment)
{
    // The title bar, its ancestors and its background cannot stand in the background's layout.
    if (!widget || ZBWidgetTree::Within(d->background, widget))
        return;
    // The alignment is compared as a whole value: AlignLeft | AlignTop is not "left".
    const int value = static_cast<int>(alignment);
    if (!d->buttonGrid || !d->bottomGrid) {
        // The background was deleted, and the rows with it: nothing to place the widget in.
    } else if (value == Qt::AlignLeft) {
        d->buttonGrid->addWidget(widget, 0, d->leftWidgets.size(), Qt::Alignment());
        d->leftWidgets.append(widget);
    } else if (value == Qt::AlignBottom) {
        d->bottomGrid->addWidget(widget, d->bottomWidgets.size(), 0, Qt::Alignment());
        d->bottomWidgets.append(widget);
    } else if (value != 0) {
        d->buttonGrid->addWidget(widget, 0, 1000 - d->rightWidgets.size(), Qt::Alignment());
        d->rightWidgets.append(widget);
    }
    widget->setCursor(Qt::ArrowCursor);
}

void ZBTitleBar::ReplaceBackground(QWidget* background)
{
    if (!background || background == d->background || !d->background || !d->iconLabel || !d->titleLabel ||
        !d->buttonGrid || !d->bottomGrid || d->Moves(background))
        return;
    // The background's layout is replaced below; these classes keep using their own and would crash.
    if (qobject_cast<QDockWidget*>(background) || qobject_cast<QMainWindow*>(background) ||
        qobject_cast<QToolBar*>(background))
        return;

    QWidget* const oldBackground = d->background;
    if (auto* oldGrid = qobject_cast<QGridLayout*>(oldBackground->layout())) {
        oldGrid->removeWidget(d->iconLabel);
        oldGrid->removeWidget(d->titleLabel);
        oldGrid->removeItem(d->buttonGrid);
        oldGrid->removeItem(d->bottomGrid);
        d->buttonGrid->setParent(nullptr);
        d->bottomGrid->setParent(nullptr);
    }
    MoveTo(d->iconLabel, background);
    MoveTo(d->titleLabel, background);
    for (const auto* list : {&d->leftWidgets, &d->rightWidgets}) {
        for (QWidget* widget : *list) {
            if (widget && widget->parentWidget() == oldBackground) // not gone, nor taken elsewhere
                MoveTo(widget, background);
        }
    }

    delete background->layout();
    d->LayOutBackground(background, 1);

    if (auto* outer = qobject_cast<QGridLayout*>(layout()))
        outer->addWidget(background);

    const Qt::WindowFlags backgroundFlags = oldBackground->windowFlags();
    if (oldBackground->parentWidget() == this) // one that the application took elsewhere is its own now
        delete oldBackground;

    d->background = background;
    background->setObjectName(QStringLiteral("TITLECONTENT"));
    background->setParent(this, backgroundFlags);
    background->setAttribute(Qt::WA_MouseTracking);
    // setParent() hides a widget, and a new one was never shown: the title line is shown with the bar.
    background->show();
}

void ZBTitleBar::SetContentsMargins(int left, int top, int right, int bottom)
{
    if (auto* grid = d->background ? qobject_cast<QGridLayout*>(d->background->layout()) : nullptr)
        grid->setContentsMargins(left, top, right, bottom);
}

void ZBTitleBar::SetIcon(const QIcon& icon)
{
    if (!d->iconLabel)
        return;
    if (icon.isNull()) {
        ZBPixmapFollower::Stop(d->iconLabel);
        d->iconLabel->setPixmap(QPixmap());
        d->iconLabel->hide();
        return;
    }
    const int size = d->iconLabel->maximumWidth();
    // Sharp on a high-density screen: as many pixels as the label covers there, on every screen the
    // window goes to.
    ZBPixmapFollower::Follow(d->iconLabel, [icon, size](qreal ratio) {
        return ZBCompat::IconPixmap(icon, size, ratio, QIcon::Normal, QIcon::Off);
    });
    d->iconLabel->show();
}

void ZBTitleBar::SetTitle(const QString& title)
{
    if (!d->titleLabel || title == d->titleLabel->text())
        return;
    d->titleLabel->setText(title);
    // The title names the bar and the frame or dock widget that carries it.
    ZBAccessible::Notify(this, QAccessible::NameChanged);
    ZBAccessible::Notify(parentWidget(), QAccessible::NameChanged);
}

void ZBTitleBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPointer<ZBTitleBar> alive(this);
    Q_EMIT DoubleClicked(event->button());
    // A slot may have deleted the title bar: the event then stays accepted and goes no further.
    if (alive)
        QWidget::mouseDoubleClickEvent(event);
}
