#include "ZBAccessible_p.h"

#include "ZBComboBox.h"
#include "ZBDockWidget.h"
#include "ZBLinkLabel.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBMessageBox.h"
#include "ZBPopupInfo.h"
#include "ZBPopupWidget_p.h"
#include "ZBSettingsWidget.h"
#include "ZBSettingsWidget_p.h"
#include "ZBTitleBar.h"
#include "ZBTitleBar_p.h"
#include "ZBToolBarContainer.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTextBrowser>

namespace {

// The name the application gave, else the one the library makes up.
QString NameOr(const QWidget* widget, const QString& fallback)
{
    const QString given = widget->accessibleName();
    return given.isEmpty() ? fallback : given;
}

// Actions that an interface performs by sending the key that does the same from the keyboard.
void SendKey(QWidget* widget, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// The frameless windows: named by the title their title bar shows.
class FrameInterface : public QAccessibleWidget
{
public:
    explicit FrameInterface(ZBWidget* frame) : QAccessibleWidget(frame) {}

    ZBWidget* Frame() const { return static_cast<ZBWidget*>(widget()); }

    // Asked each time: Qt may build the interface while a derived class is still being built.
    QAccessible::Role role() const override
    {
        if (qobject_cast<ZBMessageBox*>(Frame()))
            return QAccessible::AlertMessage;
        if (qobject_cast<ZBDialog*>(Frame()))
            return QAccessible::Dialog;
        if (qobject_cast<ZBPopupInfo*>(Frame()))
            return QAccessible::Notification;
        const bool window = Frame()->isWindow() || Frame()->windowType() == Qt::SubWindow;
        return window ? QAccessible::Window : QAccessible::Pane;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            QString name = NameOr(Frame(), ZBTitleBarPrivate::TitleOf(Frame()->TitleBar()));
            const QAccessible::Role r = role();
            if (name.isEmpty() && (r == QAccessible::AlertMessage || r == QAccessible::Notification))
                name = Message(); // a box without title, and the popup, are named by what they say
            return name;
        }
        if (t == QAccessible::Description && role() == QAccessible::AlertMessage &&
            Frame()->accessibleDescription().isEmpty())
            return Message();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (auto* subWindow = qobject_cast<ZBMdiSubWindow*>(Frame())) {
            QWidget* viewport = subWindow->parentWidget();
            auto* area = viewport ? qobject_cast<ZBMdiAreaWidget*>(viewport->parentWidget()) : nullptr;
            s.active = area && area->ActiveSubWindow() == subWindow;
        }
        return s;
    }

private:
    // The message box's text, or the text popup's, as plain text.
    QString Message() const
    {
        const auto* view = Frame()->findChild<QTextBrowser*>(QStringLiteral("ZBMESSBOXTEXTLABEL"));
        if (view)
            return view->toPlainText();
        QWidget* content = Frame()->Content();
        for (QLabel* label : content ? content->findChildren<QLabel*>() : QList<QLabel*>()) {
            QAccessibleInterface* iface =
                label->text().isEmpty() ? nullptr : QAccessible::queryAccessibleInterface(label);
            if (iface)
                return iface->text(QAccessible::Name); // plain text also for a rich-text label
        }
        return QString();
    }
};

class TitleBarInterface : public QAccessibleWidget
{
public:
    explicit TitleBarInterface(ZBTitleBar* bar) : QAccessibleWidget(bar, QAccessible::TitleBar) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return NameOr(widget(), ZBTitleBarPrivate::TitleOf(static_cast<ZBTitleBar*>(widget())));
        return QAccessibleWidget::text(t);
    }
};

// A combo box whose value is the current item's text and whose one child is its list.
class ComboInterface : public QAccessibleWidget
{
public:
    explicit ComboInterface(ZBComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    ZBComboBox* Box() const { return static_cast<ZBComboBox*>(widget()); }
    ZBPopupWidget* Popup() const
    {
        return Box()->findChild<ZBPopupWidget*>(QString(), Qt::FindDirectChildrenOnly);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return ZBAccessible::ItemText(Box(), Box()->CurrentIndex());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.expandable = true;
        s.expanded = Popup() && Popup()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }

    int childCount() const override { return Popup() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 && Popup() ? QAccessible::queryAccessibleInterface(Popup()->ItemArea()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && Popup() && child->object() == Popup()->ItemArea() ? 0 : -1;
    }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& name) override
    {
        if (name == showMenuAction())
            SendKey(Box(), Qt::Key_F4); // opens the list for browsing, or closes it
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return name == showMenuAction() ? QStringList{QStringLiteral("F4")} : QStringList();
    }
};

// A link: named by its whole text, not the elided one on screen, and pressed like a button.
class LinkInterface : public QAccessibleWidget
{
public:
    explicit LinkInterface(ZBLinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    ZBLinkLabel* Label() const { return static_cast<ZBLinkLabel*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? NameOr(Label(), Label()->GetText()) : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && Label()->isEnabled())
            Label()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

class DockInterface : public QAccessibleWidget
{
public:
    explicit DockInterface(ZBDockWidget* dock) : QAccessibleWidget(dock, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return NameOr(widget(),
                          ZBTitleBarPrivate::TitleOf(static_cast<ZBDockWidget*>(widget())->TitleBar()));
        return QAccessibleWidget::text(t);
    }
};

// The tool bar container: a button whose menu shows and hides the tools.
class ContainerInterface : public QAccessibleWidget
{
public:
    explicit ContainerInterface(ZBToolBarContainer* container)
        : QAccessibleWidget(container, QAccessible::ButtonMenu)
    {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? NameOr(widget(), ZBToolBarContainer::tr("Tools"))
                                      : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& name) override
    {
        if (name == showMenuAction())
            SendKey(widget(), Qt::Key_Space);
    }
};

// The settings panel's state button: its name says what pressing it does, and it is expanded
// while the panel shows its advanced settings.
class StateButtonInterface : public QAccessibleWidget
{
public:
    explicit StateButtonInterface(QPushButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QPushButton* Button() const { return static_cast<QPushButton*>(widget()); }
    bool Advanced() const
    {
        auto* panel = qobject_cast<ZBSettingsWidget*>(Button()->parentWidget());
        return panel && panel->GetState() == ZBSettingsWidget::Advanced;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const auto next = Advanced() ? ZBSettingsWidget::Basic : ZBSettingsWidget::Advanced;
            return NameOr(Button(), ZBSettingsWidgetPrivate::ButtonToolTip(next));
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Advanced();
        s.collapsed = !s.expanded;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && Button()->isEnabled())
            Button()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("ZBWidget"))
        return new FrameInterface(static_cast<ZBWidget*>(object));
    if (className == QLatin1String("ZBTitleBar"))
        return new TitleBarInterface(static_cast<ZBTitleBar*>(object));
    if (className == QLatin1String("ZBComboBox"))
        return new ComboInterface(static_cast<ZBComboBox*>(object));
    if (className == QLatin1String("ZBLinkLabel"))
        return new LinkInterface(static_cast<ZBLinkLabel*>(object));
    if (className == QLatin1String("ZBDockWidget"))
        return new DockInterface(static_cast<ZBDockWidget*>(object));
    if (className == QLatin1String("ZBToolBarContainer"))
        return new ContainerInterface(static_cast<ZBToolBarContainer*>(object));
    if (className == QLatin1String("QPushButton") &&
        object->objectName() == QLatin1String("ZBSettingsWidgetButton") &&
        qobject_cast<ZBSettingsWidget*>(object->parent()))
        return new StateButtonInterface(static_cast<QPushButton*>(object));
    return nullptr;
}

// Sends an alert each time the widget it watches is shown.
class ShowAnnouncer : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == parent())
            ZBAccessible::Notify(watched, QAccessible::Alert);
        return false;
    }
};

} // namespace

namespace ZBAccessible {

void Adopt(QWidget* widget)
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(Factory);
        installed = true;
    }
    // Events sent while a base class was being built may have left its interface behind.
    if (QAccessible::isActive()) {
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    }
}

QString ItemText(const ZBComboBox* box, int row)
{
    const QString text = box->GetItemData(row, Qt::AccessibleTextRole).toString();
    return text.isEmpty() ? box->GetItemData(row, Qt::DisplayRole).toString() : text;
}

void Notify(QObject* object, QAccessible::Event event, int child)
{
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleEvent accessibleEvent(object, event);
    accessibleEvent.setChild(child);
    QAccessible::updateAccessibility(&accessibleEvent);
}

void NotifyValue(QObject* object, const QString& value)
{
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(object, value);
    QAccessible::updateAccessibility(&event);
}

void NotifyState(QObject* object, const QAccessible::State& changed)
{
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleStateChangeEvent event(object, changed);
    QAccessible::updateAccessibility(&event);
}

void AnnounceOnShow(QWidget* widget)
{
    widget->installEventFilter(new ShowAnnouncer(widget));
}

void FollowActivation(ZBMdiAreaWidget* area)
{
    QObject::connect(area, &ZBMdiAreaWidget::SubWindowActivated, area,
                     [previous = QPointer<ZBMdiSubWindow>()](ZBMdiSubWindow* now) mutable {
                         QAccessible::State active;
                         active.active = true;
                         if (previous && previous != now)
                             NotifyState(previous, active);
                         if (now)
                             NotifyState(now, active);
                         previous = now;
                     });
}

} // namespace ZBAccessible
