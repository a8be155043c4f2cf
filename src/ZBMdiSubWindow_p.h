// Internal, not part of the API.
#ifndef ZBMDISUBWINDOW_P_H
#define ZBMDISUBWINDOW_P_H

#include "ZBMdiSubWindow.h"

#include <QEvent>
#include <QPointer>
#include <QRect>
#include <QtGlobal>

class QGridLayout;
class QToolButton;
class QWidget;
class ZBMdiRegistry;

class ZBMdiSubWindowPrivate
{
public:
    explicit ZBMdiSubWindowPrivate(ZBMdiSubWindow* q);
    static ZBMdiSubWindowPrivate* Get(ZBMdiSubWindow* subWindow) { return subWindow->d.get(); }

    void Init(); // builds the buttons and state in the order the area may observe
    // The focus moved from old to now, a widget in subWindow; inside an area, the sub-window also
    // remembers the child to give the focus back to when the area activates it again.
    static void FocusEntered(ZBMdiSubWindow* subWindow, QWidget* old, QWidget* now);
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
    // The close was agreed: the sub-window leaves its area, if it is in one.
    void LeaveArea();
    // Gives the keyboard focus to what the sub-window holds, unless the focus is inside already: the
    // child that had it last, else the held widget or its first child that takes the focus, else
    // the sub-window itself.
    static void GiveFocus(ZBMdiSubWindow* subWindow);

    ZBMdiSubWindow* const q;
    QRect normalGeometry; // in the parent's coordinates
    QPointer<QToolButton> minimizeButton;
    QPointer<QToolButton> maximizeButton;
    QPointer<QToolButton> restoreButton;
    Qt::WindowStates state; // the own state record, separate from QWidget::windowState()
    bool ignoreAllActions = false;
    // The area's registry while the sub-window is registered there, which it tells of its minimising,
    // its agreed close and its destruction; set and cleared by the registry.
    ZBMdiRegistry* registry = nullptr;
    QPointer<QWidget> lastFocus; // the child that last held the focus inside an area
    bool asking = false;         // the held widget is being asked whether it may close
};

#endif // ZBMDISUBWINDOW_P_H
