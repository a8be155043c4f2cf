// Internal, not part of the API.
#ifndef ZBWIDGET_P_H
#define ZBWIDGET_P_H

#include "ZBFrameGeometry_p.h"
#include "ZBWidget.h"

#include <QEvent>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QtGlobal>

class QCloseEvent;
class QMouseEvent;
class QToolButton;
class QWidget;
class ZBTitleBar;

class ZBWidgetPrivate
{
public:
    // The mouse over the frame: the resize cursor that hovering shows, the title drag that moves the
    // window and the edge drag that resizes it. A left press begins a drag, the moves carry it on,
    // the left release ends it.
    class Drag
    {
    public:
        enum State
        {
            Idle,
            TitlePressed, // the left button went down in the title zone
            Moving,       // the title drag has seen its first move
            ResizeArmed,  // the left button went down in a resize band
            Resizing      // the frame has seen the first move of the edge drag
        };

        explicit Drag(ZBWidgetPrivate* d) : d(d) {}

        // From mousePressEvent: begins a title drag or an edge drag, or hands it to the window system.
        void Press(const QMouseEvent* event);
        // From the event filter: a mouse move over the frame, hover or a step of a resize. False when
        // it is left to mouseMoveEvent for the title drag, or \a watched is no part of the frame.
        bool FrameMove(QObject* watched, const QMouseEvent* move);
        // From mouseMoveEvent: a step of the title drag.
        void TitleMove(const QMouseEvent* move);
        // From mouseReleaseEvent.
        void Release(const QMouseEvent* event);

        bool ignoreTitleMove = false;
        bool ignoreResize = false;
        bool systemMove = true; // drags are handed to the window system where it takes them

    private:
        bool InTitleZone(const QPoint& pos) const; // pos in the window's coordinates
        void PressEdge(const QMouseEvent* event, const QPoint& pos);
        void HoverMove(const QPoint& pos); // pos in the window's coordinates
        QPoint PullIn(const QPoint& pos) const;
        // The parent's coordinates of a global point: the global ones for a top-level window.
        QPoint ParentPos(const QPoint& globalPos) const;
        void ResizeTo(const QPoint& globalPos);
        // False for a top-level window where the window system alone places top-level windows.
        bool Placeable() const;
        // Hands the drag that the press \a event begins to the window system: a move without \a edges,
        // else a resize of those edges. True when the window system carries it from here. Asked at the
        // press, so that the window system measures the drag from where the mouse went down.
        bool HandOver(const QMouseEvent* event, Qt::Edges edges) const;
        // The resize region under a point in the parent's coordinates, by the window's size limits.
        ZBFrameGeometry::Region RegionAt(const QPoint& parentPos) const;
        ZBFrameGeometry::CursorGroup CursorGroupAt(const QPoint& parentPos) const;
        void SetFrameCursor(ZBFrameGeometry::CursorGroup group);

        ZBWidgetPrivate* const d;
        State state = Idle;
        QPoint anchor;     // the title press in window coordinates
        QPoint gripOffset; // from the resize press to the dragged edges
        QRect pressFrame;  // the geometry at the resize press
        ZBFrameGeometry::Region region = ZBFrameGeometry::NoRegion;        // fixed at the resize press
        ZBFrameGeometry::CursorGroup cursor = ZBFrameGeometry::ArrowGroup; // the resize cursor now shown
    };

    // The opacity fades: in when the window shows, out when it hides, and out before it closes, one
    // tick of the window's timer at a time.
    class Fader
    {
    public:
        explicit Fader(ZBWidget* q) : q(q) {}

        // From the show, hide and close handling. False when a slot deleted the window.
        bool Shown();
        bool Hidden();
        // Refuses the close of a visible window for a close fade; false when the window may close.
        bool RefuseClose(QCloseEvent* event);
        // From timerEvent: true when \a timerId was the fade's and its tick was taken.
        bool Tick(int timerId);
        // Stops the fade under way and shows the window at full opacity, or hides it at 0.
        void Cancel(bool visible);
        void SetFadeTime(int milliseconds);
        void SetIntensifyTime(int milliseconds);
        double WindowOpacity() const;
        void SetOpacity(double opacity);
        bool IsClosingItself() const { return closingItself; }

    private:
        double CurrentOpacity() const;
        // False where the style asks for no animations: fades then end at once, on the next pass of
        // the event loop, through the same states.
        bool Animated() const;
        void Start();
        void Stop();
        // One tick of the fade under way, or its end when \a toEnd.
        void Step(bool toEnd);
        // The close at the end of the close fade.
        void CloseItself();
        // Stores the state and announces it; false when a slot deleted the window.
        bool SetState(ZBWidget::FadeState newState);

        ZBWidget* const q;
        ZBWidget::FadeState state = ZBWidget::Closed;
        int timerId = -1;
        int run = 0; // counts started and stopped fades, so that a fade ended at once may be called off
        // While the close fade's own close() runs: the hiding state it causes is announced once Qt's
        // hide has returned, so that a slot may delete the window there.
        bool closingItself = false;
        bool hidingAnnouncementDue = false;
        int fadeTime = 0;
        int intensifyTime = 0;
        double fadeStep = 1.0;
        double intensifyStep = 1.0;
        double lastOpacity = 0.0; // the opacity last set, before Qt rounds it
    };

    // The title line follows the window title, the modified flag and the icon of the window or of
    // its content widget.
    class TitleFollower
    {
    public:
        explicit TitleFollower(ZBWidgetPrivate* d) : d(d) {}

        // \a title as Qt shows a window title: in each run of "[*]", pairs stand for a literal "[*]"
        // and an odd one out is the placeholder, "*" while \a modified and nothing otherwise.
        static QString DisplayedTitle(const QString& title, bool modified);
        // From the event filter: a title, modified flag or icon change of the window or its content.
        void Follow(QObject* watched, QEvent::Type type);
        // Shows the window title of \a source, the window or its content widget, whichever changed last.
        void ShowTitle(QWidget* source);

    private:
        // Shows the icon set on \a source itself, or takes away the icon it had shown.
        void ShowIcon(QWidget* source);

        ZBWidgetPrivate* const d;
        QPointer<QWidget> titleSource; // the window or the content widget, whichever title changed last
        QPointer<QWidget> iconSource;  // the window or the content widget whose own icon is shown
    };

    explicit ZBWidgetPrivate(ZBWidget* q) : q(q) {}
    static ZBWidgetPrivate* Get(ZBWidget* window) { return window->d.get(); }

    void Init(); // builds the widget tree in the order that derived classes may observe
    QToolButton* MakeButton(const QString& objectName, const QString& toolTip);

    // True while the close that ends a close fade runs.
    bool IsClosingItself() const { return fader.IsClosingItself(); }

    // From the event filter: the window's activation, state and size changes.
    void FollowWindow(QEvent::Type type);
    void ApplyMaximizedGeometry();
#ifdef Q_OS_WIN
    // Fills the MINMAXINFO of a WM_GETMINMAXINFO message; false for any other message.
    static bool AnswerMinMaxInfo(ZBWidget* window, void* message);
#endif
    // Sets the dynamic property "active" of \a window and re-polishes its title bar, so that style
    // sheets can tell the active frame from the others.
    static void ShowActive(ZBWidget* window, bool active);

    ZBWidget* const q;
    QPointer<ZBTitleBar> titleBar;
    QPointer<QWidget> content;     // "ZBWIDGETCONTENT"
    QPointer<QWidget> mainContent; // "ZBWIDGETMAINCONTENT"

    QPointer<QToolButton> closeButton;
    QPointer<QToolButton> minimizeButton;
    QPointer<QToolButton> maximizeButton;
    QPointer<QToolButton> restoreButton;

    Drag drag{this};
    Fader fader{q};
    TitleFollower title{this};
};

#endif // ZBWIDGET_P_H
