// Internal, not part of the API.
#ifndef ZBMDIAREAWIDGET_P_H
#define ZBMDIAREAWIDGET_P_H

#include "ZBMdiAreaWidget.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QRect>
#include <QSet>

class QCloseEvent;
class QScrollBar;
class ZBMdiLayout;
class ZBMdiSubWindow;

/*
    Registration and activation: which sub-windows belong to the area, in which orders, which one is
    active, and whether the area is blocked. It asks the layout to present a sub-window it activates
    and to forget one that leaves.
*/
class ZBMdiRegistry
{
public:
    ZBMdiRegistry(ZBMdiAreaWidget* area, ZBMdiLayout* layout);

    bool IsRegistered(ZBMdiSubWindow* subWindow) const;
    void Register(ZBMdiSubWindow* subWindow);
    // Makes subWindow the active one; false when a slot deleted the area.
    bool Activate(ZBMdiSubWindow* subWindow);
    // subWindow leaves the area: at a Close event it also loses its parent; destroyed or given
    // another parent behind the area's back, it stays where it is.
    void Forget(ZBMdiSubWindow* subWindow, bool unparent);
    // Sends a close event and, like QWidget::close(), deletes a sub-window whose close was accepted
    // once it has left the area.
    void SendClose(ZBMdiSubWindow* subWindow, QCloseEvent* event);
    // The area is being destroyed: nothing of its sub-windows may reach it any more.
    void Release();

    QSet<const QObject*> registered;   // the same sub-windows, for lookups on every event
    QList<ZBMdiSubWindow*> subWindows; // registration order
    QList<ZBMdiSubWindow*> zOrder;     // most recently activated first
    QList<ZBMdiSubWindow*> cycle;      // the ring that next and previous walk; active first
    ZBMdiSubWindow* active = nullptr;
    bool blocked = false;

private:
    ZBMdiAreaWidget* const area;
    ZBMdiLayout* const layout;
    QMetaObject::Connection activeConnection; // active StateChanged -> OnStateChanged
};

/*
    Layout and scrolling: the area's mode, the placement of maximised and minimised sub-windows, and
    the scroll ranges that follow the sub-windows, which scrolling moves. It reads the sub-windows and
    the active one from the registry.
*/
class ZBMdiLayout
{
public:
    ZBMdiLayout(ZBMdiAreaWidget* area, const ZBMdiRegistry* registry);

    // The active sub-window's state changed from oldState to newState.
    void StateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);
    // In the maximized mode the active sub-window old gives way to another, which takes the viewport;
    // false when a slot deleted that one or the area meanwhile.
    void Withdraw(ZBMdiSubWindow* old);
    bool Present(ZBMdiSubWindow* subWindow);
    // In the maximized mode, the active subWindow's state changed while the area did not listen (a
    // slot of the state change that Present() caused): the area follows it as if it had heard it;
    // false when a slot deleted the area meanwhile.
    bool FollowUnheardState(ZBMdiSubWindow* subWindow);
    // The last sub-window has left: the maximized mode, with nothing left to maximise, ends.
    void Emptied();
    // subWindow joins the area, or leaves it.
    void Track(ZBMdiSubWindow* subWindow);
    void Forget(ZBMdiSubWindow* subWindow);
    // subWindow may change its geometry or its minimised state without a Move or Resize event
    // reaching the area (it is hidden, or its state changed).
    void Unsettle(ZBMdiSubWindow* subWindow);
    // subWindow moved or was resized.
    void SubWindowMoved(ZBMdiSubWindow* subWindow);
    void Resized();
    void ScrollBy(int dx, int dy);
    // Tiles or cascades the sub-windows that are neither minimised nor hidden.
    void Arrange(bool tile);

    // \a count rectangles that fill \a domain without overlapping: ceil(sqrt(count)) columns, left to
    // right, each split evenly from top to bottom; the columns on the right take one more when the
    // count does not divide evenly.
    static QList<QRect> Tiled(int count, const QRect& domain);
    // \a count rectangles of two thirds of \a domain, each \a step further down and right, starting
    // again at the top-left corner where the next would leave the domain.
    static QList<QRect> Cascaded(int count, const QRect& domain, int step);

    ZBMdiAreaWidget::MdiState mode = ZBMdiAreaWidget::Normal;

private:
    void EnterMaximizedMode();
    void LeaveMaximizedMode();
    void MinimizeActive();
    // Back to the normal mode after the two above: the rectangles recorded again, the ranges set.
    void ReturnToNormal();
    void ArrangeMinimized();
    QRect SubWindowsRect();
    void UpdateScrollBars();
    // Counts subWindow's share of the bounding rectangle anew, or every sub-window's.
    void Recount(ZBMdiSubWindow* subWindow);
    void RecountAll();
    void AddShare(const QRect& g);
    void RemoveShare(const QRect& g);
    // One scroll bar over the coordinates first to last, with the viewport's extent as its page.
    static void SetRange(QScrollBar* bar, qint64 first, qint64 last, int page);
    // Calls one of subWindow's show slots for the area's own placement, also while the area is
    // blocked (its sub-windows then ignore those slots); false when a slot deleted the area meanwhile.
    bool Drive(ZBMdiSubWindow* subWindow, void (ZBMdiSubWindow::*show)());

    ZBMdiAreaWidget* const area;
    const ZBMdiRegistry* const registry;
    QRect viewportRect;               // QRect(QPoint(0, 0), viewport size) as last recorded
    QRect subWindowsRect;             // bounding rectangle of the non-minimised sub-windows as last recorded
    QList<ZBMdiSubWindow*> minimized; // in the order of minimising
    // The bounding rectangle kept up to date as sub-windows move, so that a move costs no walk over
    // all of them: each sub-window's share as last counted (none while minimised or not a sub-window),
    // the rectangle's edges (left, top, right, bottom) and how many shares hold each edge, the start
    // values of the walk counting as one. An edge that loses its last holder makes the rectangle
    // stale, and the next read walks all sub-windows again.
    struct Share
    {
        QRect geometry;
        bool counted = false;
    };
    QHash<const ZBMdiSubWindow*, Share> shares;
    QSet<ZBMdiSubWindow*> unsettled; // to be counted anew at every read, while they are hidden
    int edges[4] = {0, 0, -1, -1};
    int holders[4] = {1, 1, 1, 1};
    bool stale = false;
    bool scrolling = false;          // sub-windows are being moved by a scroll
    bool updatingScrollBars = false; // range changes must not move sub-windows
};

class ZBMdiAreaWidgetPrivate
{
public:
    explicit ZBMdiAreaWidgetPrivate(ZBMdiAreaWidget* q);

    void Init();
    void LogFailure(int line, const char* file, const QString& message) const;
    // The focus entered a widget: the registered sub-window that holds it raises Qt::WindowActive.
    void FocusChanged(QWidget* now);

    ZBMdiAreaWidget* const q;
    ZBMdiLayout layout;
    ZBMdiRegistry registry;
    QMetaObject::Connection focusConnection; // the application's focusChanged, one for all sub-windows
};

#endif // ZBMDIAREAWIDGET_P_H
