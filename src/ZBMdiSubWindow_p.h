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

    void Init(); // builds the buttons and state in the order the area may observe
    // Whether the sub-window hears the application's focus changes itself; its area hears them for
    // it while it is registered there.
    static void TrackFocus(ZBMdiSubWindow* subWindow, bool track);
    QToolButton* MakeButton(const QString& objectName, const QString& toolTip);
    QGridLayout* ContentGrid() const;
    void TrackNormalGeometry();
    // The size hint as it stands now, not as the layouts last cached it.
    static QSize FreshSizeHint(ZBMdiSubWindow* subWindow);

    ZBMdiSubWindow* const q;
    QRect normalGeometry; // in the parent's coordinates
    QPointer<QToolButton> minimizeButton;
    QPointer<QToolButton> maximizeButton;
    QPointer<QToolButton> restoreButton;
    Qt::WindowStates state; // the own state record, separate from QWidget::windowState()
    bool ignoreAllActions = false;
    QMetaObject::Connection focusConnection;
};

#endif // ZBMDISUBWINDOW_P_H
