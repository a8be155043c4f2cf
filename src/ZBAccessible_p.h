// Internal, not part of the API: what the library's widgets tell assistive technology.
#ifndef ZBACCESSIBLE_P_H
#define ZBACCESSIBLE_P_H

#include <QAccessible>

class QObject;
class QString;
class QWidget;
class ZBComboBox;
class ZBMdiAreaWidget;

/*!
    Qt describes most widgets well; the library's own ones get accessibility interfaces from one
    factory: frames and dialogs by their title, the message box as an alert, the text popup as a
    notification, the title bar, the combo box with its value and list, the link label as a link,
    the dock widget, the tool bar container as a button menu and the settings panel's state button
    with its expanded state. Texts that a user reads come through tr() of the class they describe.
*/
namespace ZBAccessible {

/*!
    Installs the factory (once) and drops an interface that Qt may have made for \a widget while
    its base class was being built. Each class with an interface of its own calls it at the end of
    its constructor.
*/
void Adopt(QWidget* widget);

/*! The text by which assistive technology reads item \a row of \a box: its accessible text, else its display
 * text. */
QString ItemText(const ZBComboBox* box, int row);

/*! Tells assistive technology about \a event on \a object (on its \a child), when any listens. */
void Notify(QObject* object, QAccessible::Event event, int child = -1);
/*! Tells that the value of \a object is now \a value. */
void NotifyValue(QObject* object, const QString& value);
/*! Tells that the states set in \a changed changed on \a object. */
void NotifyState(QObject* object, const QAccessible::State& changed);

/*! Announces \a widget as an alert each time it is shown. */
void AnnounceOnShow(QWidget* widget);
/*! Tells which sub-window of \a area is the active one as activation moves. */
void FollowActivation(ZBMdiAreaWidget* area);

} // namespace ZBAccessible

#endif // ZBACCESSIBLE_P_H
