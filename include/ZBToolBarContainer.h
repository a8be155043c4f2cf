#ifndef ZBTOOLBARCONTAINER_H
#define ZBTOOLBARCONTAINER_H

#include "zebguicore_export.h"

#include <QWidget>
#include <memory>

class QAction;
class QIcon;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QToolButton;
class ZBToolBarContainerPrivate;

/*!
    A row of tools, drawn as one tool button panel, whose drop-down menu shows and hides single
    tools.

    The tools stand in an inner widget, "CONTAINER", ordered by position number as in ZBToolBar
    (-1 means after the last tool). A 10-pixel strip at the right edge is the container's own area:
    a left press there opens a menu, right-aligned one pixel below the container, with one checkable
    entry per tool, labelled with the tool's window title and listed in the order of adding.
    Unchecking an entry hides the tool; hiding a tool by any means unchecks its entry and, for a
    button made from an action, hides the action, and the other way round.

    The container takes no focus by default. Given a focus policy, Space, Return, Enter, F4 or
    Alt+Down open the same menu with its first entry active.
*/
class ZEBGUICORE_EXPORT ZBToolBarContainer : public QWidget
{
    Q_OBJECT

public:
    /*! Builds an empty container with its menu, a child of \a parent (which may be null). */
    explicit ZBToolBarContainer(QWidget* parent = nullptr);
    ~ZBToolBarContainer() override;

    /*! Creates an action child of the container with \a icon, \a text and \a toolTip, adds it at
        \a position and returns it. */
    QAction* AddAction(const QIcon& icon, const QString& text, const QString& toolTip, int position);
    /*!
        Adds a button for \a action at \a position; the button triggers the action, is visible while
        the action is, and is deleted when the action is. Its menu entry keeps the action's text of
        this moment. The container does not take ownership of \a action. A null action, or one
        added before, is ignored.
    */
    void AddAction(QAction* action, int position);

    /*! Adds an auto-raised button with \a text (also its window title), \a icon and \a toolTip at
        \a position and returns it. */
    QToolButton* AddButton(const QString& text, const QIcon& icon, const QString& toolTip, int position);

    /*!
        Adds \a widget at \a position, as a child of the row, with a menu entry labelled with its
        window title. A null widget, one added before, or the container and its ancestors are
        ignored.
    */
    void AddWidget(QWidget* widget, int position);

    /*!
        Takes \a widget out of the row; the tools behind it move one column left. The widget is not
        hidden, deleted or reparented, and keeps its menu entry, which still shows and hides it.
    */
    void RemoveWidget(QWidget* widget);

    /*!
        Keeps each tool's menu entry checked while the tool is shown, and the panel's hover look to
        the container's own strip. Consumes nothing.
    */
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    /*!
        A left press on the container's own strip opens the menu below it; nothing while the menu is
        open or has no entries.
    */
    void mousePressEvent(QMouseEvent* event) override;
    /*! Paints the container as one tool button panel with a menu arrow. */
    void paintEvent(QPaintEvent* event) override;
    /*!
        Space, Return, Enter, F4 or Alt+Down open the menu below the container with its first entry
        active, as a press on the strip does; other keys go to QWidget. Reached only when the
        application gives the container a focus policy.
    */
    void keyPressEvent(QKeyEvent* event) override;

private Q_SLOTS:
    void OnMenuAboutToHide();
    void OnWidgetDestroyed(QObject* object);
    void OnActionDestroyed(QObject* object);
    void OnActionChanged();

private:
    friend class ZBToolBarContainerPrivate;
    std::unique_ptr<ZBToolBarContainerPrivate> const d;
};

#endif // ZBTOOLBARCONTAINER_H
