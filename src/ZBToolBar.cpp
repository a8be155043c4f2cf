#include "ZBToolBar.h"
#include "ZBToolBar_p.h"

#include "ZBPositionRow_p.h"
#include "ZBWidgetTree_p.h"

#include <QAction>
#include <QActionEvent>
#include <QGridLayout>
#include <QIcon>
#include <QSpacerItem>
#include <QToolButton>
#include <QWidgetAction>
#include <utility>

namespace {

// The trailing spacer's column; the tools take the columns before it.
constexpr int SpacerColumn = 1000;

} // namespace

ZBToolBarPrivate::ZBToolBarPrivate(ZBToolBar* q) : q(q) {}

ZBToolBarPrivate::~ZBToolBarPrivate()
{
    // The tool bar's children outlive this object; keep their signals from reaching it.
    for (QAction* action : std::as_const(actions))
        QObject::disconnect(action, &QObject::destroyed, q, &ZBToolBar::OnActionDestroyed);
}

void ZBToolBarPrivate::Init()
{
    q->setAttribute(Qt::WA_TranslucentBackground);

    content = new QWidget(q, Qt::WindowFlags());
    auto* grid = ZBWidgetTree::NewGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, SpacerColumn, 1, 1);
    row.reset(new ZBPositionRow(content, grid, true));

    content->setObjectName(QStringLiteral("ZBTOOLBARCONTENT"));
    // Known before QToolBar hears of it, so that the action event below lets it through.
    auto* action = new QWidgetAction(q);
    action->setDefaultWidget(content);
    contentAction = action;
    q->addAction(action);
    content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QToolButton* ZBToolBarPrivate::MakeButton(const QString& text, const QIcon& icon, const QString& toolTip,
                                          int position, const QWidget* before)
{
    auto* button = new QToolButton(q);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(q->iconSize());
    // Only later changes of the style reach the button; it starts with QToolButton's own default.
    QObject::connect(q, &QToolBar::iconSizeChanged, button, &QToolButton::setIconSize);
    QObject::connect(q, &QToolBar::toolButtonStyleChanged, button, &QToolButton::setToolButtonStyle);
    button->setText(text);
    button->setIcon(icon);
    button->setToolTip(toolTip);
    row->Insert(button, position, before);
    return button;
}

QWidget* ZBToolBarPrivate::MakeSeparator()
{
    auto* separator = new QWidget();
    separator->setObjectName(QStringLiteral("ZBTOOLBARSEPARATOR"));
    separator->setMinimumWidth(1);
    separator->setMaximumWidth(1);
    return separator;
}

void ZBToolBarPrivate::PlaceAction(QAction* action, QAction* before)
{
    QWidget* beforeTool = before ? actionTools.value(before).data() : nullptr;
    if (before && !beforeTool)
        beforeTool = actionButtons.value(before).data();
    if (auto* widgetAction = qobject_cast<QWidgetAction*>(action)) {
        QWidget* widget = widgetAction->requestWidget(content);
        if (widget && row->Insert(widget, -1, beforeTool) >= 0)
            actionTools.insert(action, widget);
    } else if (action->isSeparator()) {
        QWidget* separator = MakeSeparator();
        if (row->Insert(separator, -1, beforeTool) >= 0)
            actionTools.insert(action, separator);
        else
            delete separator;
    } else if (!actionButtons.contains(action)) {
        actions.append(action);
        QToolButton* button = MakeButton(action->text(), action->icon(), action->toolTip(), -1, beforeTool);
        actionButtons.insert(action, button);
        QObject::connect(action, &QObject::destroyed, q, &ZBToolBar::OnActionDestroyed);
        button->setDefaultAction(action);
    }
}

void ZBToolBarPrivate::TakeAction(QAction* action)
{
    if (!actionTools.contains(action)) {
        DropButton(action);
        return;
    }
    QPointer<QWidget> tool = actionTools.take(action);
    if (!tool)
        return;
    row->Remove(tool);
    // A widget action being destroyed has deleted its widgets already; what is left is a separator.
    if (auto* widgetAction = qobject_cast<QWidgetAction*>(action))
        widgetAction->releaseWidget(tool);
    else
        delete tool.data();
}

void ZBToolBarPrivate::DropButton(const QObject* action)
{
    // The action may be half destroyed: compare pointers only.
    const auto found = actionButtons.find(action);
    if (found == actionButtons.end())
        return;
    QPointer<QToolButton> button = found.value();
    actionButtons.erase(found);
    ZBPositionRow::RemovePointer(actions, action);
    QObject::disconnect(action, &QObject::destroyed, q, &ZBToolBar::OnActionDestroyed);
    // Deleting the button takes it out of the row through its own destruction.
    delete button.data();
}

ZBToolBar::ZBToolBar(const QString& title, QWidget* parent)
    : QToolBar(title, parent), d(new ZBToolBarPrivate(this))
{
    d->Init();
}

ZBToolBar::ZBToolBar(QWidget* parent) : QToolBar(parent), d(new ZBToolBarPrivate(this))
{
    d->Init();
}

ZBToolBar::~ZBToolBar() = default;

QList<QAction*> ZBToolBar::Actions() const
{
    return d->actions;
}

QAction* ZBToolBar::AddAction(const QIcon& icon, const QString& text, const QString& toolTip)
{
    auto* action = new QAction(icon, text, this);
    action->setToolTip(toolTip);
    AddAction(action, -1);
    return action;
}

void ZBToolBar::AddAction(QAction* action)
{
    AddAction(action, -1);
}

void ZBToolBar::AddAction(QAction* action, int position)
{
    if (!action || d->actionButtons.contains(action))
        return;
    d->actions.append(action);
    QToolButton* button = d->MakeButton(action->text(), action->icon(), action->toolTip(), position);
    d->actionButtons.insert(action, button);
    connect(action, &QObject::destroyed, this, &ZBToolBar::OnActionDestroyed);
    button->setDefaultAction(action);
}

QToolButton* ZBToolBar::AddButton(const QIcon& icon, const QString& toolTip)
{
    return AddButton(QString(), icon, toolTip, -1);
}

QToolButton* ZBToolBar::AddButton(const QString& text, const QIcon& icon, const QString& toolTip,
                                  int position)
{
    return d->MakeButton(text, icon, toolTip, position);
}

void ZBToolBar::AddSeparator(int position)
{
    QWidget* separator = d->MakeSeparator();
    if (d->row->Insert(separator, position) < 0)
        delete separator;
}

void ZBToolBar::AddSpacer(int position)
{
    auto* spacer = new QWidget();
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    spacer->setMinimumHeight(1);
    spacer->setMaximumHeight(1);
    if (d->row->Insert(spacer, position) < 0)
        delete spacer;
}

void ZBToolBar::AddWidget(QWidget* widget)
{
    AddWidget(widget, -1);
}

void ZBToolBar::AddWidget(QWidget* widget, int position)
{
    d->row->Insert(widget, position);
}

void ZBToolBar::RemoveWidget(QWidget* widget)
{
    d->row->Remove(widget);
}

void ZBToolBar::OnActionDestroyed(QObject* object)
{
    d->DropButton(object);
}

void ZBToolBar::actionEvent(QActionEvent* event)
{
    // QToolBar's own layout holds the content widget alone; the other actions join the row.
    QAction* action = event->action();
    if (action == d->contentAction)
        QToolBar::actionEvent(event);
    else if (event->type() == QEvent::ActionAdded)
        d->PlaceAction(action, event->before());
    else if (event->type() == QEvent::ActionRemoved)
        d->TakeAction(action);
}
