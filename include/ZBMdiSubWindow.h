#ifndef ZBMDISUBWINDOW_H
#define ZBMDISUBWINDOW_H

#include "ZBWidget.h"

class ZBMdiSubWindowPrivate;

/*!
    A frameless window for a ZBMdiAreaWidget, holding one application widget in its content area.

    The sub-window keeps its own record of normal, minimised and maximised (GetState()), separate
    from its Qt window state, and reports every change of that record with StateChanged(). Its
    title bar carries its own "MINIMIZEBUTTON", "RESTOREBUTTON" and "MAXIMIZEBUTTON" left of the
    Close button, shown to suit the state: normal shows minimise and maximise, maximised shows
    minimise and restore, minimised shows maximise and restore.

    The sub-window does not place itself when it is maximised or minimised: its area does that.
    A mouse press on the sub-window, or the keyboard focus entering it, raises Qt::WindowActive in
    its Qt window state, which is how the area learns that the user wants it active.

    Before it closes, the sub-window asks its widget with a QCloseEvent, once per request: a widget
    that ignores the event (an editor whose user wants to keep unsaved changes) refuses the close,
    and so does a subclass whose closeEvent() ignores it. A refused sub-window stays where it is,
    in its area and shown; an agreed one leaves its area and fades out.
*/
class ZEBGUICORE_EXPORT ZBMdiSubWindow : public ZBWidget
{
    Q_OBJECT

public:
    /*!
        Builds an empty sub-window in the normal state with its own Minimize, Maximize and Restore
        buttons, a child of \a parent (which may be null). ZBMdiAreaWidget::AddSubWindow() makes it
        a child of the area's viewport.
    */
    explicit ZBMdiSubWindow(QWidget* parent = nullptr);
    ~ZBMdiSubWindow() override;

    /*!
        Puts \a widget into the content area, as its child, and copies its window title to the title
        bar; from then on the sub-window follows the widget's window title, its modified flag
        (isWindowModified()) and an icon set on it. The previously held widget is hidden and deleted
        later. The sub-window grows to the new
        size hint but never shrinks. Passing the widget already held does nothing; null only
        disposes of the previous widget.
    */
    void SetWidget(QWidget* widget);
    /*! The widget held in the content area, or null. */
    QWidget* GetWidget() const;

    /*!
        Stores \a state as the sub-window's own state, shows and hides the title bar buttons to
        match, and emits StateChanged(). Nothing happens when \a state equals the current state.
        Any combination is stored, also one with both the minimised and the maximised bit.
    */
    void SetState(Qt::WindowStates state);
    /*! The sub-window's own state; its Qt window state is a separate thing. */
    Qt::WindowStates GetState() const;
    /*! Whether the own state has Qt::WindowMaximized. */
    bool IsMaximized() const;
    /*! Whether the own state has Qt::WindowMinimized. */
    bool IsMinimized() const;

    /*! The geometry of the normal state, in the parent's coordinates. */
    QRect NormalGeometry() const;

    /*! While set, ShowMaximized(), ShowMinimized(), ShowNormal() and the title double-click do nothing. */
    void IgnoreAllActions(bool ignore);

    /*! Does nothing: the sub-window has its own Minimize button. */
    void AddMinimizeButton() override;
    /*! Does nothing: the sub-window has its own Maximize button. */
    void AddMaximizeButton() override;

public Q_SLOTS:
    /*! Enters the maximised state: no title moving or resizing, no frame margins. */
    void ShowMaximized();
    /*! Returns to the normal state with title moving, resizing and the frame margins back. */
    void ShowNormal();
    /*! Enters the minimised state: content hidden, 300 pixels wide, no moving, resizing or margins. */
    void ShowMinimized();

Q_SIGNALS:
    /*! The own state changed from \a oldState to \a newState. */
    void StateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);

protected:
    /*! The sub-window's own Minimize button. */
    QToolButton* MinimizeButton() const override;
    /*! The sub-window's own Restore button. */
    QToolButton* RestoreButton() const override;
    /*! The sub-window's own Maximize button. */
    QToolButton* MaximizeButton() const override;

    /*!
        Runs the close handling; a close that a subclass accepted without calling closeEvent() here
        still takes the sub-window out of its area.
    */
    bool event(QEvent* event) override;
    /*!
        A press or double click on the sub-window raises Qt::WindowActive in its Qt window state; a
        new window title of the held widget is copied to the title bar. Then the frame's handling,
        ZBWidget::eventFilter().
    */
    bool eventFilter(QObject* watched, QEvent* event) override;
    /*!
        Asks the widget first, then leaves the area and hands over to the frame's close fade. A
        subclass that may refuse ignores the event and returns; otherwise it calls this.
    */
    void closeEvent(QCloseEvent* event) override;
    /*! Records the normal geometry while the sub-window is in its normal state. */
    void moveEvent(QMoveEvent* event) override;
    /*! Records the normal geometry while the sub-window is in its normal state. */
    void resizeEvent(QResizeEvent* event) override;

private Q_SLOTS:
    void OnTitleDoubleClicked(Qt::MouseButton button);
    void OnFocusChanged(QWidget* old, QWidget* now);

private:
    friend class ZBMdiSubWindowPrivate;
    std::unique_ptr<ZBMdiSubWindowPrivate> const d;
};

#endif // ZBMDISUBWINDOW_H
