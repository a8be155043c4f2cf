#ifndef ZBWIDGET_H
#define ZBWIDGET_H

#include "zebguicore_export.h"

#include <QWidget>
#include <memory>

class QToolButton;
class ZBTitleBar;
class ZBWidgetPrivate;

/*!
    A frameless window that draws its own frame: a title bar ("TITLECONTENT" with a Close button
    and optional Minimize, Maximize and Restore buttons) over a main content area
    ("ZBWIDGETMAINCONTENT") that holds the content widget ("ZBWIDGETCONTENT") inside the theme's
    main content margins.

    The window moves when its title bar is dragged with the left button and resizes at the 5-pixel
    band along its edges. It is built fully transparent, fades in when shown, fades out when
    hidden, and fades out before it closes: close() on a window whose opacity is above 0 is refused
    and the window closes itself when the fade ends. Each fade state change is announced by
    FadeStateChanged() with a FadeState value. Where the window system has no window opacity
    (Wayland), the fades keep their states and timing while the window simply shows and hides; while
    the application quits, a window closes at once.

    The title line shows the window title of the window or of its content widget, whichever changed
    last, as a native title bar shows a window title: a "[*]" placeholder is left out, or shown as
    "*" while the window or that content widget is modified (setWindowModified()), and "[*][*]"
    stands for a literal "[*]". An icon set with setWindowIcon() on the window or its content widget
    shows in the title line; icons inherited from a parent or the application do not.

    For style sheets the window carries the dynamic property "active" once its activation first
    changes: the window's own activation, or for a sub-window of a multi-document area whether it
    is the area's active one. Its title bar is re-polished on every change, so that a rule such as
    ZBWidget[active="false"] > ZBTitleBar > \#TITLECONTENT applies at once (with the child
    selectors, an inactive main window leaves the title bars of the sub-windows inside it alone).
*/
class ZEBGUICORE_EXPORT ZBWidget : public QWidget
{
    Q_OBJECT

public:
    /*! The fade states, the values that FadeStateChanged() carries. */
    enum FadeState : int
    {
        Closed = 0,       //!< the close fade reached opacity 0; the window closes right after
        Intensifying = 1, //!< shown: the opacity rises
        Steady = 2,       //!< the fade-in reached full opacity, or a hide fade reached 0
        Hiding = 3,       //!< hidden: the opacity falls in the background
        Closing = 4 //!< a close was refused while the opacity is above 0: it falls, then the window closes
    };
    Q_ENUM(FadeState)

    /*! Builds the window; \a flags gain Qt::FramelessWindowHint and Qt::CustomizeWindowHint. */
    explicit ZBWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~ZBWidget() override;

    /*! The title bar at the top of the window, owned by the window. */
    ZBTitleBar* TitleBar() const;
    /*! The current content widget, "ZBWIDGETCONTENT", owned by the window. */
    QWidget* Content() const;

    // The six virtual operations below keep this order: derived classes override them.

    /*! Adds a "MINIMIZEBUTTON" that calls showMinimized(). A second call adds a second button. */
    virtual void AddMinimizeButton();
    /*! Adds a "MAXIMIZEBUTTON" that calls showMaximized(), shown while the window is not maximised. */
    virtual void AddMaximizeButton();
    /*!
        Adds a "RESTOREBUTTON" that calls showNormal(), shown while the window is maximised. The
        buttons follow the window state from its next change on: a window with both a Maximize and a
        Restore button shows both until then.
    */
    virtual void AddRestoreButton();

protected:
    /*! The button made by AddMinimizeButton(), or null. */
    virtual QToolButton* MinimizeButton() const;
    /*! The button made by AddRestoreButton(), or null. */
    virtual QToolButton* RestoreButton() const;
    /*! The button made by AddMaximizeButton(), or null. */
    virtual QToolButton* MaximizeButton() const;

public:
    /*! While set, the edges do not resize the window and the frame shows the arrow cursor. */
    void IgnoreResize(bool ignore);
    /*! While set, dragging the title bar does not move the window. */
    void IgnoreTitleMove(bool ignore);

    /*!
        Whether a top-level window hands its title drags and edge resizes to the window system (on by
        default). When the left button goes down on the title bar or a resize band, the window asks
        the window manager or compositor to carry the drag, which brings the system's snapping and
        edge tiling and is the only way a window moves on Wayland. Where the system declines, and
        always while this is off, the window moves and resizes itself. Windows inside other widgets
        always move themselves.
    */
    void SetSystemMoveEnabled(bool enabled);
    /*! See SetSystemMoveEnabled(). */
    bool IsSystemMoveEnabled() const;

    /*! Duration of the fade-out in milliseconds; negative values count as 0 (one tick). */
    void SetFadeTime(int milliseconds);
    /*! Duration of the fade-in in milliseconds; negative values count as 0 (one tick). */
    void SetIntensifyTime(int milliseconds);
    /*!
        Stops a fade under way. With \a visible the window is shown at full opacity, otherwise it is
        hidden at opacity 0. The fade state is left as it was.
    */
    void CancelFadeAction(bool visible);

Q_SIGNALS:
    /*!
        The fade state changed to \a newState, a FadeState value. The signal keeps an int argument
        for applications that connect to it by signature. States Steady, Closing and Closed are
        announced from the window's own timer and close handling, where a slot may delete the window;
        Intensifying and Hiding are announced from inside Qt's show and hide handling, where a slot
        must use deleteLater() instead.
    */
    void FadeStateChanged(int newState);

protected:
    /*! The Close button, "CLOSEBUTTON"; never null. */
    QToolButton* CloseButton() const;

    /*!
        Makes \a content the content widget, owned by the window: the old one is hidden and deleted
        later, the new one is named "ZBWIDGETCONTENT" and its window title becomes the title. Null
        or the current content widget is ignored.
    */
    void ReplaceContent(QWidget* content);

    /*! Sets the margins around the content widget. */
    void SetMainContentMargins(int left, int top, int right, int bottom);
    /*! Sets the margins around the content widget back to the theme's. */
    void RestoreMainContentMargins();

    /*!
        Follows the window's title and state (the title bar text, the Maximize and Restore buttons,
        the maximised geometry) and the content widget's title. Over the title bar and the main
        content it sets the resize cursor on hover and resizes the window while a resize drag runs;
        those mouse moves are consumed. A derived class that overrides it calls it.
    */
    bool eventFilter(QObject* watched, QEvent* event) override;
    /*! Steps the fade under way, one tick every 40 milliseconds. */
    void timerEvent(QTimerEvent* event) override;
    /*! Starts the fade-in and emits FadeStateChanged(Intensifying). */
    void showEvent(QShowEvent* event) override;
    /*! Starts the fade-out and emits FadeStateChanged(Hiding). */
    void hideEvent(QHideEvent* event) override;
    /*!
        Refuses to close a top-level window whose opacity is above 0: starts the close fade and
        emits FadeStateChanged(Closing); the window closes itself at opacity 0. A window at opacity
        0, and a child widget, close at once.
    */
    void closeEvent(QCloseEvent* event) override;
    /*!
        A left press on the title bar starts moving the window (unless IgnoreTitleMove() is set),
        one in the resize band starts resizing it (unless IgnoreResize() is set). Nothing happens
        while the window is maximised or minimised.
    */
    void mousePressEvent(QMouseEvent* event) override;
    /*! Moves the window while a title drag runs. */
    void mouseMoveEvent(QMouseEvent* event) override;
    /*! A left release ends moving and resizing. */
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The two signatures that differ between Qt 5 and Qt 6; this header is the one place that checks.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    /*!
        On Windows, answers WM_GETMINMAXINFO so that a maximised top-level window covers its
        screen's work area; otherwise Qt's handling. The result is a long* in Qt 5.
    */
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    /*! The event type of QWidget::enterEvent() for derived classes: QEnterEvent in Qt 6. */
    using EnterEvent = QEnterEvent;
#else
    bool nativeEvent(const QByteArray& eventType, void* message, long* result) override;
    /*! The event type of QWidget::enterEvent() for derived classes: QEvent in Qt 5. */
    using EnterEvent = QEvent;
#endif

private:
    void SetTitleBarText(const QString& text);

    friend class ZBWidgetPrivate;
    std::unique_ptr<ZBWidgetPrivate> const d;
};

#endif // ZBWIDGET_H
