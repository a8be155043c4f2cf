// Internal, not part of the API.
#ifndef ZBSETTINGSWIDGET_P_H
#define ZBSETTINGSWIDGET_P_H

#include "ZBSettingsWidget.h"

#include <QPointer>
#include <memory>

class QAbstractTransition;
class QPushButton;
class QState;
class QStateMachine;

class ZBSettingsWidgetPrivate
{
public:
    explicit ZBSettingsWidgetPrivate(ZBSettingsWidget* q);
    ~ZBSettingsWidgetPrivate();

    void Init();
    void BuildStateMachine();
    // The application deleted the button: its transitions go with it, before the machine uses them.
    void DropButtonTransitions();
    // Shows and hides the content for state s under the current policy.
    void ApplyState(ZBSettingsWidget::State s);
    // The state button's tool tip in the state that leads to \a next: what pressing it does.
    static QString ButtonToolTip(ZBSettingsWidget::State next);

    ZBSettingsWidget* const q;
    QPointer<QWidget> generalContent;
    QPointer<QWidget> advancedContent;
    QPointer<QWidget> footerContent;
    QPointer<QPushButton> stateButton; // "ZBSettingsWidgetButton"
    ZBSettingsWidget::ContentPolicy policy = ZBSettingsWidget::AddAdvancedOptions;
    // Advanced until the machine enters its initial Basic state in the first event loop pass.
    ZBSettingsWidget::State state = ZBSettingsWidget::Advanced;
    // The panel owns its machine; the two states are the machine's children.
    std::unique_ptr<QStateMachine> machine;
    QState* basicState = nullptr;
    QState* advancedState = nullptr;
    QPointer<QAbstractTransition> basicClick;    // basic -> advanced on the button's clicked()
    QPointer<QAbstractTransition> advancedClick; // advanced -> basic on the button's clicked()
    QMetaObject::Connection buttonDestroyed;
    // The general content was hidden by HideBasicOptions, not by the application.
    bool generalHiddenByPolicy = false;
    // SetState calls under way; the machine may be in the middle of entering a state.
    int settingState = 0;
};

#endif // ZBSETTINGSWIDGET_P_H
