// Internal, not part of the API.
#ifndef ZBMDIAREAWIDGET_P_H
#define ZBMDIAREAWIDGET_P_H

#include "ZBMdiAreaWidget.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QRect>

class QCloseEvent;
class ZBMdiSubWindow;

class ZBMdiAreaWidgetPrivate
{
public:
    // Bits of the flags field.
    enum Flag
    {
        ScrollMoving = 0x1,  // sub-windows are being moved by a scroll (or the area is maximised)
        MaximizedHold = 0x2, // the area is maximised
        UpdatingScrollBars = 0x4,
        Blocked = 0x10
    };

    explicit ZBMdiAreaWidgetPrivate(ZBMdiAreaWidget* q);

    bool IsRegistered(ZBMdiSubWindow* subWindow) const;
    void RegisterSubWindow(ZBMdiSubWindow* subWindow);
    // Makes subWindow the active one; false when a slot deleted the area.
    bool Activate(ZBMdiSubWindow* subWindow);
    // A Close event reached subWindow: it leaves the area and loses its parent.
    void ForgetSubWindow(ZBMdiSubWindow* subWindow);
    // subWindow is being destroyed or was given another parent: it leaves the area where it is.
    void DropSubWindow(ZBMdiSubWindow* subWindow);
    // Removes subWindow from every list and, if it was active, passes the activation on.
    void Unlist(ZBMdiSubWindow* subWindow);
    // Sends a close event and, like QWidget::close(), deletes a sub-window whose close was
    // accepted once it has left the area.
    void SendClose(ZBMdiSubWindow* subWindow, QCloseEvent* event);
    void LogFailure(int line, const char* file, const QString& message) const;
    // The registered sub-windows as guarded pointers, for loops that call out to them.
    QList<QPointer<ZBMdiSubWindow>> Guarded(const QList<ZBMdiSubWindow*>& list) const;

    // Layout and scrolling.
    void EnterMaximizedMode();
    void LeaveMaximizedMode();
    void MinimizeActive();
    void ArrangeMinimized();
    QRect SubWindowsRect() const;
    void UpdateScrollBars();

    ZBMdiAreaWidget* const q;
    QRect viewportRect;                // QRect(QPoint(0, 0), viewport size) as last recorded
    QRect subWindowsRect;              // bounding rectangle of the non-minimised sub-windows as last recorded
    QList<ZBMdiSubWindow*> subWindows; // registration order
    QList<ZBMdiSubWindow*> zOrder;     // most recently activated first
    QList<ZBMdiSubWindow*> cycle;      // the ring that next and previous walk; active first
    ZBMdiAreaWidget::MdiState mode = ZBMdiAreaWidget::Normal;
    int flags = 0;
    ZBMdiSubWindow* active = nullptr;
    QList<ZBMdiSubWindow*> minimized;         // in the order of minimising
    QMetaObject::Connection activeConnection; // active StateChanged -> OnStateChanged
};

#endif // ZBMDIAREAWIDGET_P_H
