#ifndef ZBSETTINGSWIDGET_H
#define ZBSETTINGSWIDGET_H

#include "zebguicore_export.h"

#include <QWidget>
#include <memory>

class ZBSettingsWidgetPrivate;

/*!
    A settings panel with two levels of detail: general content, advanced content and footer
    content, three empty widgets that the application fills, and a state button
    ("ZBSettingsWidgetButton") that switches between the Basic and the Advanced state.

    The policy decides what the Advanced state shows: HideBasicOptions shows the advanced content
    instead of the general content, AddAdvancedOptions shows it below the general content. The
    button's arrow ("theme:arrow-down.png" or "theme:arrow-up.png"), tool tip and optional text
    follow the state.

    A new panel reports Advanced until control first returns to the event loop, where it enters
    Basic and hides the advanced content.

    SetState() and SetPolicy() refuse values outside their enumerations, also when they come through
    setProperty("state") or setProperty("policy"): the enumerations have int as their underlying type,
    so that any int is a value of theirs until the setter checks it.
*/
class ZEBGUICORE_EXPORT ZBSettingsWidget : public QWidget
{
    Q_OBJECT
    /*! The state: Basic or Advanced. Set with SetState(); announced by StateChanged(). */
    Q_PROPERTY(State state READ GetState WRITE SetState NOTIFY StateChanged)
    /*! What the Advanced state shows. Set with SetPolicy(); announced by PolicyChanged(). */
    Q_PROPERTY(ContentPolicy policy READ GetPolicy WRITE SetPolicy NOTIFY PolicyChanged)

public:
    /*! The two states of the panel. */
    enum State : int
    {
        Basic = 0,   //!< the general content only
        Advanced = 1 //!< the advanced content, as the content policy says
    };
    Q_ENUM(State)

    /*! What the Advanced state shows beside the advanced content. */
    enum ContentPolicy : int
    {
        HideBasicOptions = 0,  //!< the Advanced state shows only the advanced content
        AddAdvancedOptions = 1 //!< the Advanced state shows the advanced content below the general content
    };
    Q_ENUM(ContentPolicy)

    /*!
        Builds the panel with its three empty content widgets and its state button, a child of
        \a parent (which may be null) with \a flags; the policy is AddAdvancedOptions. The panel
        enters Basic when control first returns to the event loop.
    */
    explicit ZBSettingsWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~ZBSettingsWidget() override;

    /*! The widget for the settings shown in both states. */
    QWidget* GetGeneralContent() const;
    /*! The widget for the settings shown in the Advanced state. */
    QWidget* GetAdvancedContent() const;
    /*! The widget below both, always shown. */
    QWidget* GetFooterContent() const;

    /*! The current state; Advanced until the panel first enters Basic (see the class description). */
    State GetState() const;
    /*! The content policy, AddAdvancedOptions after construction. */
    ContentPolicy GetPolicy() const;

    /*! The button text in the Basic state, from the next entry on (at once when Basic now). */
    void SetBasicButtonText(const QString& text);
    /*! The button text in the Advanced state, from the next entry on (at once when Advanced now). */
    void SetAdvancedButtonText(const QString& text);
    /*! Shows or hides the state button; the state can still be changed with SetState(). */
    void ShowStateButton(bool visible);

public Q_SLOTS:
    /*!
        Switches to \a state: shows and hides the content, emits StateChanged(), then
        BasicActivated() or AdvancedActivated(), and brings the button along. Nothing happens when
        \a state is the current state or not a State value.
    */
    void SetState(ZBSettingsWidget::State state);
    /*!
        Sets the content policy and emits PolicyChanged(); in the Advanced state it applies at once.
        Switching to AddAdvancedOptions shows again the general content that HideBasicOptions hid.
        Nothing happens when \a policy is the current policy or not a ContentPolicy value.
    */
    void SetPolicy(ZBSettingsWidget::ContentPolicy policy);

Q_SIGNALS:
    /*! The state changed to \a state; emitted before BasicActivated() or AdvancedActivated(). */
    void StateChanged(ZBSettingsWidget::State state);
    /*! The content policy changed to \a policy. */
    void PolicyChanged(ZBSettingsWidget::ContentPolicy policy);
    /*! The panel entered the Basic state. */
    void BasicActivated();
    /*! The panel entered the Advanced state. */
    void AdvancedActivated();

private:
    friend class ZBSettingsWidgetPrivate;
    std::unique_ptr<ZBSettingsWidgetPrivate> const d;
};

#endif // ZBSETTINGSWIDGET_H
