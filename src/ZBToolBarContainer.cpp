#include "ZBToolBarContainer.h"
#include "ZBToolBarContainer_p.h"

#include "ZBAccessible_p.h"
#include "ZBPositionRow_p.h"
#include "ZBQtCompat_p.h"
#include "ZBToolBarWidgetContainer_p.h"
#include "ZBWidgetTree_p.h"

#include <QAction>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QToolButton>
#include <utility>

namespace {

// Width of the container's own area at its right edge: the menu indicator and the press strip.
constexpr int StripWidth = 10;

} // namespace

ZBToolBarContainerPrivate::ZBToolBarContainerPrivate(ZBToolBarContainer* q) : q(q) {}

ZBToolBarContainerPrivate::~ZBToolBarContainerPrivate()
{
    // The tools, the actions made here and the menu outlive this object: cut what reaches it.
    for (const Tool& tool : std::as_const(tools))
        QObject::disconnect(tool.widget, &QObject::destroyed, q, &ZBToolBarContainer::OnWidgetDestroyed);
    for (QAction* action : std::as_const(actions)) {
        QObject::disconnect(action, &QObject::destroyed, q, &ZBToolBarContainer::OnActionDestroyed);
        QObject::disconnect(action, &QAction::changed, q, &ZBToolBarContainer::OnActionChanged);
    }
    if (menu)
        QObject::disconnect(menu, &QMenu::aboutToHide, q, &ZBToolBarContainer::OnMenuAboutToHide);
}

void ZBToolBarContainerPrivate::Init()
{
    auto* grid = ZBWidgetTree::NewGridLayout(q);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    widgetContainer = new ZBToolBarWidgetContainer(nullptr);
    widgetContainer->setObjectName(QStringLiteral("CONTAINER"));
    widgetContainer->setAttribute(Qt::WA_NoMousePropagation);
    grid->addWidget(widgetContainer, 0, 0);
    grid->setContentsMargins(0, 0, StripWidth, 0);

    menu = new QMenu(q);
    QObject::connect(menu, &QMenu::aboutToHide, q, &ZBToolBarContainer::OnMenuAboutToHide);

    widgetContainer->installEventFilter(q);
    menu->installEventFilter(q);
    ZBAccessible::Adopt(q);
}

bool ZBToolBarContainerPrivate::FollowTool(QObject* watched, bool shown)
{
    const Tool tool = tools.value(watched);
    if (QAction* entry = tool.entry) {
        QObject::disconnect(entry, &QAction::toggled, tool.widget, &QWidget::setVisible);
        entry->setChecked(shown);
        QObject::connect(entry, &QAction::toggled, tool.widget, &QWidget::setVisible);
    }

    QPointer<QAction> action = buttonActions.value(watched);
    if (!action)
        return true;
    QPointer<ZBToolBarContainer> alive(q);
    QObject::disconnect(action, &QAction::changed, q, &ZBToolBarContainer::OnActionChanged);
    action->setVisible(shown); // the application's slots run here
    if (!alive)
        return false;
    if (action)
        QObject::connect(action, &QAction::changed, q, &ZBToolBarContainer::OnActionChanged);
    return true;
}

ZBToolBarContainer::ZBToolBarContainer(QWidget* parent)
    : QWidget(parent), d(new ZBToolBarContainerPrivate(this))
{
    d->Init();
}

ZBToolBarContainer::~ZBToolBarContainer() = default;

QAction* ZBToolBarContainer::AddAction(const QIcon& icon, const QString& text, const QString& toolTip,
                                       int position)
{
    auto* action = new QAction(icon, text, this);
    action->setToolTip(toolTip);
    AddAction(action, position);
    return action;
}

void ZBToolBarContainer::AddAction(QAction* action, int position)
{
    if (!action || d->actionButtons.contains(action))
        return;
    d->actions.append(action);
    QToolButton* button = AddButton(action->text(), action->icon(), action->toolTip(), position);
    d->actionButtons.insert(action, ZBToolBarContainerPrivate::ActionButton{action, button});
    d->buttonActions.insert(button, action);
    connect(action, &QObject::destroyed, this, &ZBToolBarContainer::OnActionDestroyed);
    button->setDefaultAction(action);
    button->setVisible(action->isVisible());
    connect(action, &QAction::changed, this, &ZBToolBarContainer::OnActionChanged);
}

QToolButton* ZBToolBarContainer::AddButton(const QString& text, const QIcon& icon, const QString& toolTip,
                                           int position)
{
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    button->setWindowTitle(text); // labels the menu entry
    button->setFocusPolicy(Qt::NoFocus);
    button->setText(text);
    button->setIcon(icon);
    button->setToolTip(toolTip);
    AddWidget(button, position);
    return button;
}

void ZBToolBarContainer::AddWidget(QWidget* widget, int position)
{
    if (!widget || d->tools.contains(widget) || !d->widgetContainer || !d->menu || widget == d->menu)
        return;
    if (!d->widgetContainer->AddWidget(widget, position))
        return;

    QAction* entry = d->menu->addAction(widget->windowTitle());
    entry->setCheckable(true);
    // A tool added before the container is shown gets its check mark from its show event.
    entry->setChecked(widget->isVisible());
    d->tools.insert(widget, ZBToolBarContainerPrivate::Tool{widget, entry});
    connect(entry, &QAction::toggled, widget, &QWidget::setVisible);
    connect(widget, &QObject::destroyed, this, &ZBToolBarContainer::OnWidgetDestroyed);
    widget->installEventFilter(this);
}

void ZBToolBarContainer::RemoveWidget(QWidget* widget)
{
    if (d->widgetContainer)
        d->widgetContainer->RemoveWidget(widget);
}

bool ZBToolBarContainer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        if (d->tools.contains(watched) && !d->FollowTool(watched, event->type() == QEvent::Show))
            return false; // a slot deleted the container
        break;
    case QEvent::MouseButtonPress:
        if (watched == d->menu && d->menu->isVisible()) {
            // A press on the container closes the menu; replayed, it would open it again at once.
            const QPoint global = ZBCompat::GlobalPos(static_cast<QMouseEvent*>(event));
            d->menu->setAttribute(Qt::WA_NoMouseReplay, rect().contains(mapFromGlobal(global)));
        }
        break;
    case QEvent::Enter:
    case QEvent::Leave:
        // The panel shows its hover look only while the mouse is on the container's own strip.
        if (qobject_cast<ZBToolBarWidgetContainer*>(watched)) {
            d->stateMask.setFlag(QStyle::State_MouseOver, event->type() == QEvent::Leave);
            update();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool ZBToolBarContainerPrivate::PopupMenu()
{
    if (!menu || menu->isVisible() || menu->actions().isEmpty())
        return false;
    addedState |= QStyle::State_Sunken;
    const QSize hint = menu->sizeHint();
    const QPoint topLeft = q->mapToGlobal(QPoint(0, 0));
    menu->popup(QPoint(topLeft.x() + q->width() - hint.width(), topLeft.y() + q->height() + 1));
    q->update();
    return true;
}

void ZBToolBarContainer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        d->PopupMenu();
}

void ZBToolBarContainer::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();
    const bool open = (!mods && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter ||
                                 key == Qt::Key_F4)) ||
                      (mods == Qt::AltModifier && key == Qt::Key_Down);
    if (!open) {
        QWidget::keyPressEvent(event);
        return;
    }
    QPointer<QMenu> menu = d->menu;
    if (d->PopupMenu() && menu && !menu->actions().isEmpty())
        menu->setActiveAction(menu->actions().constFirst());
}

void ZBToolBarContainer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionToolButton option;
    option.initFrom(this);
    option.features |= QStyleOptionToolButton::HasMenu;
    option.state = (option.state | d->addedState) & d->stateMask;
    style()->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, this);
}

void ZBToolBarContainer::OnMenuAboutToHide()
{
    d->addedState &= ~QStyle::State(QStyle::State_Sunken);
    update();
}

void ZBToolBarContainer::OnWidgetDestroyed(QObject* object)
{
    d->buttonActions.remove(object);
    const auto found = d->tools.find(object);
    if (found == d->tools.end())
        return;
    QPointer<QAction> entry = found->entry;
    d->tools.erase(found);
    if (entry) {
        // Out of the menu now; deleted later, as the menu may be delivering its toggle right now.
        if (d->menu)
            d->menu->removeAction(entry);
        entry->deleteLater();
    }
}

void ZBToolBarContainer::OnActionDestroyed(QObject* object)
{
    // The action is half destroyed: compare pointers only.
    const auto found = d->actionButtons.find(object);
    if (found == d->actionButtons.end())
        return;
    QPointer<QToolButton> button = found->button;
    d->actionButtons.erase(found);
    ZBPositionRow::RemovePointer(d->actions, object);
    // Its destruction takes the button out of the row and its entry out of the menu.
    delete button.data();
}

void ZBToolBarContainer::OnActionChanged()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    const auto found = d->actionButtons.constFind(action);
    if (found != d->actionButtons.constEnd() && found->button)
        found->button->setVisible(action->isVisible());
}
