#ifndef ZBMDIAREAWIDGET_H
#define ZBMDIAREAWIDGET_H

#include "zebguicore_export.h"

#include <QAbstractScrollArea>
#include <QList>
#include <memory>

class ZBMdiSubWindow;
class ZBMdiAreaWidgetPrivate;

/*!
    A multi-document area, "ZBMDIAREAWIDGET": a scroll area whose viewport holds ZBMdiSubWindows.

    The area keeps one active sub-window and the order in which sub-windows were activated. A
    sub-window becomes active when it is added, when it is pressed or takes the keyboard focus,
    through SetActiveSubWindow() and through the next/previous slots. Activating a sub-window gives
    the keyboard focus to its widget: to the child that had it last, else to the widget (its focus
    proxy) or its first child that takes the focus, else to the sub-window. When the active sub-window
    is maximised, the area enters the Maximized mode: only the active sub-window is shown and it
    covers the viewport. Minimised sub-windows are lined up along the bottom of the viewport.
    Scrolling moves the sub-windows themselves; the scroll ranges follow their bounding rectangle.

    A blocked area refuses new sub-windows, closes, cycling and activation by the user.

    A sub-window leaves the area when it is closed, once its widget and its own closeEvent() have
    agreed (see ZBMdiSubWindow); a refused close leaves it where it was. One that the application
    deletes or gives another parent is dropped at once, and the most recently active remaining one
    becomes active.
*/
class ZEBGUICORE_EXPORT ZBMdiAreaWidget : public QAbstractScrollArea
{
    Q_OBJECT

public:
    /*! The area's mode: Maximized while its active sub-window is maximised and covers the viewport. */
    enum MdiState : int
    {
        Normal = 0,   //!< the sub-windows keep their own geometry
        Maximized = 1 //!< the active sub-window is maximised and covers the viewport; the others are hidden
    };
    Q_ENUM(MdiState)

    /*! The orders in which SubWindowList() lists the sub-windows; the values are QMdiArea's. */
    enum WindowOrder : int
    {
        CreationOrder = 0,         //!< in the order they were added
        StackingOrder = 1,         //!< bottom to top as they are stacked: the topmost last
        ActivationHistoryOrder = 2 //!< in the order they were last activated: the active one last
    };
    Q_ENUM(WindowOrder)

    /*! Builds an empty, unblocked area in the Normal mode, a child of \a parent (which may be null). */
    explicit ZBMdiAreaWidget(QWidget* parent = nullptr);
    ~ZBMdiAreaWidget() override;

    /*!
        Moves \a subWindow into the viewport at (0, 0) as its child, shows it, makes it active and
        deletes it when it closes. Null or an already added sub-window is ignored; a blocked area
        refuses and writes a log line.
    */
    void AddSubWindow(ZBMdiSubWindow* subWindow);
    /*!
        Wraps \a widget (which may be null) in a new sub-window, which owns it, adds the sub-window
        and returns it. Returns null, creating nothing, when the area is blocked.
    */
    ZBMdiSubWindow* AddWidget(QWidget* widget);

    /*! The active sub-window, or null. */
    ZBMdiSubWindow* ActiveSubWindow() const;
    /*! The same as ActiveSubWindow(). */
    ZBMdiSubWindow* CurrentSubWindow() const;
    /*! Every sub-window, the most recently activated first. */
    QList<ZBMdiSubWindow*> SubWindows() const;
    /*!
        Every sub-window in \a order; an order that is not a WindowOrder gives CreationOrder. With
        ActivationHistoryOrder this is SubWindows() reversed.
    */
    QList<ZBMdiSubWindow*> SubWindowList(WindowOrder order = CreationOrder) const;
    /*! The number of sub-windows. */
    int SubWindowsCount() const;
    /*! Normal, or Maximized while the active sub-window covers the viewport. */
    MdiState GetState() const;

    /*!
        Blocks or unblocks the area. While blocked, adding, closing and cycling do nothing, the
        sub-windows ignore their own state buttons, and a sub-window that the user presses or
        focuses does not become active. SetActiveSubWindow() still works.
    */
    void BlockMdiArea(bool block) const;
    /*! Whether the area is blocked. */
    bool IsBlocked() const;

public Q_SLOTS:
    /*! Activates the sub-window that was activated longest ago; nothing while blocked. */
    void ActivateNextSubWindow();
    /*! Activates the previously active sub-window, walking back the order next walks; nothing while blocked.
     */
    void ActivatePreviousSubWindow();
    /*! Closes the active sub-window, unless it refuses; nothing while blocked. */
    void CloseActiveSubWindow();
    /*!
        Closes every sub-window, the most recently activated first, each activated before it is
        asked; those that refuse stay, and the last of them to refuse is then the active one.
        Nothing while blocked.
    */
    void CloseAllSubWindows();
    /*! Activates \a subWindow if it belongs to the area, also while blocked; otherwise does nothing. */
    void SetActiveSubWindow(ZBMdiSubWindow* subWindow);
    /*!
        Does nothing: the area never takes a sub-window out of its viewport. The slot stays for
        applications that connect to it by signature.
    */
    void DetachWindow(ZBMdiSubWindow* subWindow);
    /*! Does nothing, for the same reason as DetachWindow(). */
    void AttachWindow(ZBMdiSubWindow* subWindow);
    /*!
        Arranges the sub-windows that are neither minimised nor hidden side by side and one above
        the other, in creation order, so that together they fill the viewport above the row of
        minimised ones. The Maximized mode is left first. Nothing while blocked.
    */
    void TileSubWindows();
    /*!
        Arranges the sub-windows that are neither minimised nor hidden in a cascade from the
        viewport's top-left corner, each two thirds of the viewport in size and one title bar
        height further down and right, starting again at the corner where the next one would not
        fit; the active one comes last, on top, and the others in creation order. The Maximized
        mode is left first. Nothing while blocked. New sub-windows are not cascaded: they are
        placed at (0, 0).
    */
    void CascadeSubWindows();

Q_SIGNALS:
    /*!
        The active sub-window changed to \a subWindow; null when the last one has gone. When the
        active sub-window is destroyed or given another parent, the next one is activated from inside
        its destructor or Qt's setParent(): slots of this signal, and of the new active sub-window's
        StateChanged() when the area is maximised, must then use deleteLater() rather than delete.
    */
    void SubWindowActivated(ZBMdiSubWindow* subWindow);
    /*! \a subWindow agreed to close and is about to leave the area. */
    void SubWindowAboutClose(ZBMdiSubWindow* subWindow);
    /*!
        Never emitted, since no sub-window is ever detached (see DetachWindow()); declared for
        applications that connect to it by signature.
    */
    void SubWindowAboutDetach(ZBMdiSubWindow* subWindow);

protected:
    /*!
        Watches every sub-window of the area. Moves and resizes update the scroll ranges. A close
        request is refused while the area is blocked; otherwise SubWindowAboutClose() is emitted and
        the sub-window leaves the area. Qt::WindowActive raised in a sub-window's Qt window state
        activates it, or is taken back while the area is blocked. A sub-window that is reparented or
        destroyed is dropped.
    */
    bool eventFilter(QObject* watched, QEvent* event) override;
    /*!
        Keeps a maximised sub-window covering the viewport, the minimised ones along its bottom, and
        the scroll ranges up to date.
    */
    void resizeEvent(QResizeEvent* event) override;
    /*! Moves every sub-window by \a dx and \a dy. */
    void scrollContentsBy(int dx, int dy) override;

private Q_SLOTS:
    void OnStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);

private:
    friend class ZBMdiAreaWidgetPrivate;
    friend class ZBMdiRegistry;
    std::unique_ptr<ZBMdiAreaWidgetPrivate> const d;
};

#endif // ZBMDIAREAWIDGET_H
