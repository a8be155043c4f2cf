// Internal, not part of the API.
#ifndef ZBMDIAREAWIDGET_P_H
#define ZBMDIAREAWIDGET_P_H

#include "ZBMdiAreaWidget.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QRect>

class QCloseEvent;
class QScrollBar;
class ZBMdiLayout;
class ZBMdiSubWindow;

/*
    What the area keeps of one registered sub-window, beside its places in the area's orders: its
    share of the bounding rectangle of the sub-windows as last counted.
*/
struct ZBMdiRecord
{
    QRect share;          // the geometry last counted
    bool counted = false; // the share widens the rectangle: neither minimised nor out of the sub-window type
    bool pendingRecount = true; // counted anew at every read of the rectangle until it is seen shown
};

/*
    Registration and activation: which sub-windows belong to the area, in which orders, which one is
    active, and whether the area is blocked. It asks the layout to present a sub-window it activates
    and to forget one that leaves. A registered sub-window knows the registry and tells it of its
    agreed close, its destruction and its minimising.
*/
class ZBMdiRegistry
{
public:
    ZBMdiRegistry(ZBMdiAreaWidget* area, ZBMdiLayout* layout);

    bool IsRegistered(const QObject* subWindow) const;
    ZBMdiRecord* RecordOf(const QObject* subWindow);
    void Register(ZBMdiSubWindow* subWindow);
    // Makes subWindow the active one; false when a slot deleted the area.
    bool Activate(ZBMdiSubWindow* subWindow);
    // subWindow leaves the area: at its agreed close it also loses its parent; destroyed or given
    // another parent behind the area's back, it stays where it is.
    void Forget(ZBMdiSubWindow* subWindow, bool unparent);
    // Sends a close event and, like QWidget::close(), deletes a sub-window whose close was accepted
    // once it has left the area.
    void SendClose(ZBMdiSubWindow* subWindow, QCloseEvent* event);
    // The area is being destroyed: nothing of its sub-windows may reach it any more.
    void Release();

    // The event filter's cases that change the registration or the activation.
    void WindowStateChanged(ZBMdiSubWindow* subWindow, Qt::WindowStates oldState);
    void ParentChanged(ZBMdiSubWindow* subWindow);

    // What a registered sub-window tells the area: its close was agreed (it leaves the area before its
    // frame closes it), its destructor runs (the area drops it while it is still whole), it became
    // minimised or stopped being so (its share of the bounding rectangle is counted anew).
    void SubWindowLeaving(ZBMdiSubWindow* subWindow);
    void SubWindowDestroyed(ZBMdiSubWindow* subWindow);
    void SubWindowMinimizedChanged(ZBMdiSubWindow* subWindow);

    QList<ZBMdiSubWindow*> subWindows; // registration order
    QList<ZBMdiSubWindow*> zOrder;     // most recently activated first
    QList<ZBMdiSubWindow*> cycle;      // the ring that next and previous walk; active first
    ZBMdiSubWindow* active = nullptr;
    bool blocked = false;

private:
    // Takes Qt::WindowActive back from subWindow, which stops being the active one.
    void Deactivate(ZBMdiSubWindow* subWindow);

    ZBMdiAreaWidget* const area;
    ZBMdiLayout* const layout;
    QHash<const QObject*, ZBMdiRecord> records; // one for each registered sub-window
    QMetaObject::Connection activeConnection;   // active StateChanged -> OnStateChanged
};

/*
    Layout and scrolling: the area's mode, the placement of maximised and minimised sub-windows, and
    the scroll ranges that follow the sub-windows, which scrolling moves. It reads the sub-windows,
    the active one and their records from the registry.
*/
class ZBMdiLayout
{
public:
    ZBMdiLayout(ZBMdiAreaWidget* area, ZBMdiRegistry* registry);

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
    // subWindow joins the area, or leaves it (its record is still there).
    void Track(ZBMdiSubWindow* subWindow);
    void Forget(ZBMdiSubWindow* subWindow);
    // subWindow may change its geometry or its minimised state without a Move or Resize event
    // reaching the area (it is hidden, or its state changed): counted anew until it is seen shown.
    void RecountUntilShown(ZBMdiSubWindow* subWindow);
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
    void Recount(ZBMdiSubWindow* subWindow, ZBMdiRecord& record);
    void RecountAll();
    // One scroll bar over the coordinates first to last, with the viewport's extent as its page.
    static void SetRange(QScrollBar* bar, qint64 first, qint64 last, int page);
    // Calls one of subWindow's show slots for the area's own placement, also while the area is
    // blocked (its sub-windows then ignore those slots); false when a slot deleted the area meanwhile.
    bool ShowAs(ZBMdiSubWindow* subWindow, void (ZBMdiSubWindow::*show)());

    // The bounding rectangle kept up to date as sub-windows move, so that a move costs no walk over
    // all of them. Each edge holds the outermost side of the shares and counts the shares on it, the
    // start value (left and top 0, right and bottom -1) counting as one. An edge that loses its last
    // holder makes the rectangle stale, and the next read counts all sub-windows again.
    struct Edge
    {
        int at;
        bool lowest; // left and top: the lowest side is outermost; right and bottom: the highest
        int holders = 1;

        void Add(int side);
        bool Remove(int side); // true when the edge lost its last holder
    };
    struct Bounds
    {
        Edge left{0, true};
        Edge top{0, true};
        Edge right{-1, false};
        Edge bottom{-1, false};
        bool stale = false;

        void Add(const QRect& share);
        void Remove(const QRect& share);
        QRect Rect() const;
    };

    ZBMdiAreaWidget* const area;
    ZBMdiRegistry* const registry;
    QRect viewportRect;               // QRect(QPoint(0, 0), viewport size) as last recorded
    QRect subWindowsRect;             // bounding rectangle of the non-minimised sub-windows as last recorded
    QList<ZBMdiSubWindow*> minimized; // in the order of minimising
    Bounds bounds;
    QList<ZBMdiSubWindow*> toRecount; // those whose record has pendingRecount, in the order it was set
    bool scrolling = false;           // sub-windows are being moved by a scroll
    bool updatingScrollBars = false;  // range changes must not move sub-windows
};

class ZBMdiAreaWidgetPrivate
{
public:
    explicit ZBMdiAreaWidgetPrivate(ZBMdiAreaWidget* q);

    void Init();
    void LogFailure(int line, const char* file, const QString& message) const;

    ZBMdiAreaWidget* const q;
    ZBMdiLayout layout;
    ZBMdiRegistry registry;
};

#endif // ZBMDIAREAWIDGET_P_H
