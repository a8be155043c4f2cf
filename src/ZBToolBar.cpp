#include "ZBToolBar.h"
#include "ZBToolBar_p.h"

#include "ZBPositionRow_p.h"

#include <QAction>
#include <QGridLayout>
#include <QIcon>
#include <QSpacerItem>
#include <QToolButton>
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
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, SpacerColumn, 1, 1);
    row.reset(new ZBPositionRow(content, grid, true));

    content->setObjectName(QStringLiteral("ZBTOOLBARCONTENT"));
    q->addWidget(content);
    content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QToolButton* ZBToolBarPrivate::MakeButton(const QString& text, const QIcon& icon, const QString& toolTip,
                                          int position)
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
    row->Insert(button, position);
    return button;
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
    auto* separator = new QWidget();
    separator->setObjectName(QStringLiteral("ZBTOOLBARSEPARATOR"));
    separator->setMinimumWidth(1);
    separator->setMaximumWidth(1);
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
    // The action is half destroyed: compare pointers only.
    const auto found = d->actionButtons.find(object);
    if (found == d->actionButtons.end())
        return;
    QPointer<QToolButton> button = found.value();
    d->actionButtons.erase(found);
    ZBPositionRow::RemovePointer(d->actions, object);
    // Deleting the button takes it out of the row through its own destruction.
    delete button.data();
}
