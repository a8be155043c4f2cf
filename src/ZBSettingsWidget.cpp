#include "ZBSettingsWidget.h"
#include "ZBSettingsWidget_p.h"

#include "ZBAccessible_p.h"
#include "ZBWidgetTree_p.h"

#include <QGridLayout>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>

ZBSettingsWidgetPrivate::ZBSettingsWidgetPrivate(ZBSettingsWidget* q) : q(q) {}

ZBSettingsWidgetPrivate::~ZBSettingsWidgetPrivate()
{
    QObject::disconnect(buttonDestroyed);
    // Deleted before the content and the button go, with its states and transitions.
    if (!machine)
        return;
    if (settingState == 0) {
        machine.reset();
        return;
    }
    // Deleted from a slot of the panel's own signals, possibly while the machine enters a state
    // (the entry writes the "state" property): the machine finishes that step first, so it is
    // deleted later, and the transitions let go of the button and the panel while both still live.
    for (QState* s : {basicState, advancedState}) {
        for (QAbstractTransition* transition : s->transitions()) {
            s->removeTransition(transition);
            transition->deleteLater();
        }
    }
    machine->stop();
    machine.release()->deleteLater();
}

void ZBSettingsWidgetPrivate::Init()
{
    auto* grid = ZBWidgetTree::NewGridLayout(q);
    grid->setContentsMargins(0, 0, 0, 0);
    generalContent = new QWidget(q);
    advancedContent = new QWidget(q);
    stateButton = new QPushButton(q);
    stateButton->setObjectName(QStringLiteral("ZBSettingsWidgetButton"));
    footerContent = new QWidget(q);
    grid->addWidget(generalContent, 0, 0, 1, 1);
    grid->addWidget(stateButton, 0, 1, 1, 1, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(advancedContent, 2, 0, 1, 2);
    grid->addWidget(footerContent, 3, 0, 1, 2);

    policy = ZBSettingsWidget::AddAdvancedOptions;
    state = ZBSettingsWidget::Advanced;
    BuildStateMachine();
    ZBAccessible::Adopt(stateButton);
}

QString ZBSettingsWidgetPrivate::ButtonToolTip(ZBSettingsWidget::State next)
{
    return next == ZBSettingsWidget::Advanced ? ZBSettingsWidget::tr("Show advanced settings")
                                              : ZBSettingsWidget::tr("Show basic settings");
}

void ZBSettingsWidgetPrivate::BuildStateMachine()
{
    machine.reset(new QStateMachine());
    basicState = new QState();
    advancedState = new QState();

    basicClick = basicState->addTransition(stateButton.data(), &QAbstractButton::clicked, advancedState);
    basicState->addTransition(q, &ZBSettingsWidget::AdvancedActivated, advancedState);
    advancedClick = advancedState->addTransition(stateButton.data(), &QAbstractButton::clicked, basicState);
    advancedState->addTransition(q, &ZBSettingsWidget::BasicActivated, basicState);
    buttonDestroyed =
        QObject::connect(stateButton.data(), &QObject::destroyed, q, [this] { DropButtonTransitions(); });

    basicState->assignProperty(stateButton, "icon", QIcon(QPixmap(QStringLiteral("theme:arrow-down.png"))));
    basicState->assignProperty(stateButton, "toolTip", ButtonToolTip(ZBSettingsWidget::Advanced));
    basicState->assignProperty(q, "state", int(ZBSettingsWidget::Basic));
    advancedState->assignProperty(stateButton, "icon", QIcon(QPixmap(QStringLiteral("theme:arrow-up.png"))));
    advancedState->assignProperty(stateButton, "toolTip", ButtonToolTip(ZBSettingsWidget::Basic));
    advancedState->assignProperty(q, "state", int(ZBSettingsWidget::Advanced));

    machine->addState(basicState);
    machine->addState(advancedState);
    machine->setInitialState(basicState);
    machine->start(); // takes effect when control returns to the event loop
}

void ZBSettingsWidgetPrivate::DropButtonTransitions()
{
    for (QAbstractTransition* transition : {basicClick.data(), advancedClick.data()}) {
        if (transition && transition->sourceState())
            transition->sourceState()->removeTransition(transition);
        delete transition;
    }
}

void ZBSettingsWidgetPrivate::ApplyState(ZBSettingsWidget::State s)
{
    const bool advanced = s == ZBSettingsWidget::Advanced;
    if (advancedContent)
        advancedContent->setVisible(advanced);
    if (policy == ZBSettingsWidget::HideBasicOptions && generalContent) {
        // Remember whether the rule hid the content, rather than the application before it.
        generalHiddenByPolicy = advanced && (generalHiddenByPolicy || !generalContent->isHidden());
        generalContent->setVisible(!advanced);
    }
}

ZBSettingsWidget::ZBSettingsWidget(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), d(new ZBSettingsWidgetPrivate(this))
{
    d->Init();
}

ZBSettingsWidget::~ZBSettingsWidget() = default;

QWidget* ZBSettingsWidget::GetGeneralContent() const
{
    return d->generalContent;
}

QWidget* ZBSettingsWidget::GetAdvancedContent() const
{
    return d->advancedContent;
}

QWidget* ZBSettingsWidget::GetFooterContent() const
{
    return d->footerContent;
}

ZBSettingsWidget::State ZBSettingsWidget::GetState() const
{
    return d->state;
}

ZBSettingsWidget::ContentPolicy ZBSettingsWidget::GetPolicy() const
{
    return d->policy;
}

void ZBSettingsWidget::SetBasicButtonText(const QString& text)
{
    if (d->basicState && d->stateButton)
        d->basicState->assignProperty(d->stateButton, "text", text);
    if (d->state == Basic && d->stateButton)
        d->stateButton->setText(text);
}

void ZBSettingsWidget::SetAdvancedButtonText(const QString& text)
{
    if (d->advancedState && d->stateButton)
        d->advancedState->assignProperty(d->stateButton, "text", text);
    if (d->state == Advanced && d->stateButton)
        d->stateButton->setText(text);
}

void ZBSettingsWidget::ShowStateButton(bool visible)
{
    if (d->stateButton)
        d->stateButton->setVisible(visible);
}

void ZBSettingsWidget::SetState(ZBSettingsWidget::State state)
{
    if (state == d->state || (state != Basic && state != Advanced))
        return;
    d->state = state;
    d->ApplyState(state);
    QAccessible::State expansion;
    expansion.expanded = expansion.collapsed = true;
    ZBAccessible::NotifyState(d->stateButton, expansion);
    ZBAccessible::Notify(d->stateButton, QAccessible::NameChanged);
    QPointer<ZBSettingsWidget> alive(this);
    ++d->settingState;
    Q_EMIT StateChanged(state);
    // The machine follows through the transition that listens to the signal of the new state.
    if (alive) {
        if (state == Basic)
            Q_EMIT BasicActivated();
        else
            Q_EMIT AdvancedActivated();
    }
    if (alive)
        --d->settingState;
}

void ZBSettingsWidget::SetPolicy(ZBSettingsWidget::ContentPolicy policy)
{
    if (policy == d->policy || (policy != HideBasicOptions && policy != AddAdvancedOptions))
        return;
    d->policy = policy;
    if (policy == AddAdvancedOptions && d->generalHiddenByPolicy) {
        d->generalHiddenByPolicy = false;
        if (d->generalContent)
            d->generalContent->show();
    }
    if (d->state == Advanced)
        d->ApplyState(Advanced);
    Q_EMIT PolicyChanged(policy);
}
