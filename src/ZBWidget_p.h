// Internal, not part of the API.
#ifndef ZBWIDGET_P_H
#define ZBWIDGET_P_H

#include "ZBFrameGeometry_p.h"
#include "ZBWidget.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QtGlobal>

class QMouseEvent;
class QToolButton;
class QWidget;
class ZBTitleBar;

class ZBWidgetPrivate
{
public:
    explicit ZBWidgetPrivate(ZBWidget* q);
    static ZBWidgetPrivate* Get(ZBWidget* window) { return window->d.get(); }

    void Init(); // builds the widget tree in the order that derived classes may observe
    QToolButton* MakeButton(const QString& objectName, const QString& toolTip);

    // Moving and resizing.
    // A mouse move over the frame: hover, or a step of a resize. False when it is left to the title drag.
    bool FrameMove(QWidget* watched, QMouseEvent* move);
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
    bool HandOver(const QMouseEvent* event, Qt::Edges edges);
    // The resize region under a point in the parent's coordinates, by the window's size limits.
    ZBFrameGeometry::Region RegionAt(const QPoint& parentPos) const;
    ZBFrameGeometry::CursorGroup CursorGroupAt(const QPoint& parentPos) const;
    void SetFrameCursor(ZBFrameGeometry::CursorGroup group);
    void ApplyMaximizedGeometry();
#ifdef Q_OS_WIN
    // Fills the MINMAXINFO of a WM_GETMINMAXINFO message; false for any other message.
    static bool AnswerMinMaxInfo(ZBWidget* window, void* message);
#endif

    // The title line.
    // \a title as Qt shows a window title: in each run of "[*]", pairs stand for a literal "[*]"
    // and an odd one out is the placeholder, "*" while \a modified and nothing otherwise.
    static QString DisplayedTitle(const QString& title, bool modified);
    // Shows the window title of \a source, the window or its content widget, whichever changed last.
    void ShowTitle(QWidget* source);
    // Shows the icon set on \a source itself, or takes away the icon it had shown.
    void ShowIcon(QWidget* source);
    // Sets the dynamic property "active" of \a window and re-polishes its title bar, so that style
    // sheets can tell the active frame from the others.
    static void ShowActive(ZBWidget* window, bool active);

    // Fading.
    double WindowOpacity() const;
    double CurrentOpacity() const;
    void SetOpacity(double opacity);
    // False where the style asks for no animations: fades then end at once, on the next pass of the
    // event loop, through the same states.
    bool Animated() const;
    void StartFade();
    void StopFade();
    // One tick of the fade under way, or its end when \a toEnd.
    void Step(bool toEnd);
    // Stores the state and announces it; false when a slot deleted the window.
    // The close at the end of the close fade.
    void CloseItself();
    bool SetFadeState(ZBWidget::FadeState state);
    // True while the close that ends a close fade runs.
    bool IsClosingItself() const
    {
        return closingItself;
    }

    ZBWidget* const q;
    QPointer<ZBTitleBar> titleBar;
    QPointer<QWidget> content; // "ZBWIDGETCONTENT"

    QPoint dragAnchor;        // press position in window coordinates
    bool moving = false;      // a title drag is under way
    bool titlePress = false;  // the left button went down in the title zone
    QPoint gripOffset;        // from the press point to the dragged edges
    bool resizing = false;    // a resize drag is under way
    bool resizePress = false; // the left button went down in a resize zone
    ZBFrameGeometry::Region resizeRegion = ZBFrameGeometry::NoRegion;       // fixed at the press
    ZBFrameGeometry::CursorGroup cursorGroup = ZBFrameGeometry::ArrowGroup; // the resize cursor now shown
    QRect pressFrame;       // the geometry at the resize press
    bool systemMove = true; // drags are handed to the window system where it takes them

    QPointer<QToolButton> closeButton;
    QPointer<QToolButton> minimizeButton;
    QPointer<QToolButton> maximizeButton;
    QPointer<QToolButton> restoreButton;

    bool ignoreTitleMove = false;
    bool ignoreResize = false;

    ZBWidget::FadeState fadeState = ZBWidget::Closed;
    int fadeTimerId = -1;
    int fadeRun = 0; // counts started and stopped fades, so that a fade ended at once may be called off
    // While the close fade's own close() runs: the hiding state it causes is announced once Qt's
    // hide has returned, so that a slot may delete the window there.
    bool closingItself = false;
    bool hidingAnnouncementDue = false;
    int fadeTime = 0;
    int intensifyTime = 0;
    double fadeStep = 1.0;
    double intensifyStep = 1.0;
    double lastOpacity = 0.0; // the opacity last set, before Qt rounds it

    QPointer<QWidget> mainContent; // "ZBWIDGETMAINCONTENT"
    QPointer<QWidget> titleSource; // the window or the content widget, whichever title changed last
    QPointer<QWidget> iconSource;  // the window or the content widget whose own icon is shown
};

#endif // ZBWIDGET_P_H
