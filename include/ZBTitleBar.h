#ifndef ZBTITLEBAR_H
#define ZBTITLEBAR_H

#include "zebguicore_export.h"

#include <QWidget>
#include <memory>

class QIcon;
class QMouseEvent;
class QToolButton;
class ZBTitleBarPrivate;

/*!
    A title bar: an icon, a title, an expanding gap and an area for buttons and other widgets,
    with an optional row of widgets below the title line.

    It paints nothing itself; style sheets address its background as "TITLECONTENT". Mouse
    presses, moves and releases are left unaccepted so that they reach the parent widget.
*/
class ZEBGUICORE_EXPORT ZBTitleBar : public QWidget
{
    Q_OBJECT

public:
    /*!
        Builds an empty title bar (no icon, no title, no buttons), a child of \a parent (which may
        be null), with the theme's title bar margins.
    */
    explicit ZBTitleBar(QWidget* parent = nullptr);
    ~ZBTitleBar() override;

    /*!
        Creates a tool button with \a toolTip, places it with AddWidget() and returns it. The button
        is a child of the title bar's background and dies with the title bar.
    */
    QToolButton* AddButton(Qt::Alignment alignment, const QString& toolTip);
    /*! As above, with \a icon set before the tool tip. */
    QToolButton* AddButton(const QIcon& icon, Qt::Alignment alignment, const QString& toolTip);

    /*!
        Places \a widget by the exact value of \a alignment: Qt::AlignLeft adds it after the
        left-aligned widgets, Qt::AlignBottom in a new row below the title line, 0 nowhere, and any
        other value left of the right-aligned widgets (the first right-aligned widget is the
        rightmost). The widget gets the arrow cursor. A placed widget becomes a child of the
        title bar's background; with 0 it keeps its parent. A null widget is ignored; a placed
        widget may be deleted at any time.
    */
    void AddWidget(QWidget* widget, Qt::Alignment alignment);

    /*!
        Makes \a background the widget that carries the title line, moving the icon, the title and
        every placed widget onto it, and deletes the old background. The title bar takes
        ownership of \a background and replaces its layout, which keeps one pixel between the title
        line and the bottom row (the title bar as built keeps none). A null widget, the current
        background, and a dock widget, main window or tool bar (which need their own layouts) are
        ignored.
    */
    void ReplaceBackground(QWidget* background);

    /*! Sets the contents margins of the background's grid layout, if it has one. */
    void SetContentsMargins(int left, int top, int right, int bottom);

    /*! Shows \a icon at the small-icon size; a null icon hides the icon label. */
    void SetIcon(const QIcon& icon);

    /*! Sets the title text. */
    void SetTitle(const QString& title);

Q_SIGNALS:
    /*! Emitted on every double click on the title bar, with the event's button. */
    void DoubleClicked(Qt::MouseButton button);

protected:
    /*! Emits DoubleClicked() with the event's button, then passes the event on. */
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class ZBTitleBarPrivate;
    std::unique_ptr<ZBTitleBarPrivate> const d;
};

#endif // ZBTITLEBAR_H
