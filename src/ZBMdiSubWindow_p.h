// Internal, not part of the API.
#ifndef ZBMDISUBWINDOW_P_H
#define ZBMDISUBWINDOW_P_H

#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QRect>
#include <QtGlobal>

class QGridLayout;
class QToolButton;
class QWidget;
class ZBMdiSubWindow;

class ZBMdiSubWindowPrivate
{
public:
    explicit ZBMdiSubWindowPrivate(ZBMdiSubWindow* q);
    // Cuts the application-wide focus connection before the widget parts of the sub-window go.
    ~ZBMdiSubWindowPrivate();

    // Sent by a sub-window to itself from its destructor, while it is still whole, so that the area
    // filtering it can let go of it before any of its parts are gone.
    static QEvent::Type DestroyingEventType();
    // Sent by a sub-window to itself once its close is agreed, before the frame's own close handling,
    // so that the area filtering it lets it go.
    static QEvent::Type LeavingEventType();
    // Sent by a sub-window to itself when it becomes minimised or stops being so, so that the area
    // filtering it counts it anew in the bounding rectangle of its sub-windows.
    static QEvent::Type MinimizedChangeEventType();

    void Init(); // builds the buttons and state in the order the area may observe
    // Whether the sub-window hears the application's focus changes itself; its area hears them for
    // it while it is registered there.
    static void TrackFocus(ZBMdiSubWindow* subWindow, bool track);
    // A focus change for a sub-window that tracks them and holds the new focus widget.
    static void FocusChanged(ZBMdiSubWindow* subWindow, QWidget* old, QWidget* now);
    QToolButton* MakeButton(const QString& objectName, const QString& toolTip);
    QGridLayout* ContentGrid() const;
    void TrackNormalGeometry();
    // The size hint as it stands now, not as the layouts last cached it.
    static QSize FreshSizeHint(ZBMdiSubWindow* subWindow);
    // The title bar follows the held widget: its window title, modified flag and own icon.
    void FollowWidget(QWidget* widget, QEvent::Type change);
    // Asks the held widget with a close event of its own; true when it agrees or there is none.
    // False, too, for a request that comes while the widget is still answering an earlier one.
    bool WidgetAgreesToClose();
    // Gives the keyboard focus to what the sub-window holds, unless the focus is inside already: the
    // child that had it last, else the held widget or its first child that takes the focus, else
    // the sub-window itself.
    static void GiveFocus(ZBMdiSubWindow* subWindow);
    // The focus entered \a widget inside \a subWindow: the child to give it back to later.
    static void RememberFocus(ZBMdiSubWindow* subWindow, QWidget* widget);

    ZBMdiSubWindow* const q;
    QRect normalGeometry; // in the parent's coordinates
    QPointer<QToolButton> minimizeButton;
    QPointer<QToolButton> maximizeButton;
    QPointer<QToolButton> restoreButton;
    Qt::WindowStates state; // the own state record, separate from QWidget::windowState()
    bool ignoreAllActions = false;
    QMetaObject::Connection fadeConnection;
    QPointer<QWidget> lastFocus; // the child that last held the focus
    bool fadeEnded = false;      // the close fade just ended: the close that follows was agreed to
    bool asking = false;         // the held widget is being asked whether it may close
};

#endif // ZBMDISUBWINDOW_P_H
