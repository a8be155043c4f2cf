#ifndef ZBTOOLBAR_H
#define ZBTOOLBAR_H

#include "zebguicore_export.h"

#include <QList>
#include <QToolBar>
#include <memory>

class QAction;
class QActionEvent;
class QIcon;
class QToolButton;
class ZBToolBarPrivate;

/*!
    A tool bar whose tools stand in one row, ordered by a position number given with each tool.

    The tools live in one content widget, "ZBTOOLBARCONTENT", the tool bar's only item; QToolBar's
    own action list is not used for them. A tool goes after every tool whose position is less than
    or equal to its own, so tools with equal positions keep the order in which they were added.
    Position -1 means after the last tool; every other value, negative ones included, is a position.
    The row is horizontal whatever the orientation, and an expanding spacer at its end keeps the
    first 1000 tools packed at the start.

    Buttons made by the tool bar follow its icon size and, from the next change on, its tool button
    style. A tool that is destroyed, or reparented out of the row, leaves it at once.
*/
class ZEBGUICORE_EXPORT ZBToolBar : public QToolBar
{
    Q_OBJECT

public:
    /*!
        Builds an empty tool bar with \a title as its window title, a child of \a parent (which may
        be null).
    */
    explicit ZBToolBar(const QString& title, QWidget* parent = nullptr);
    /*! Builds an empty tool bar, a child of \a parent (which may be null). */
    explicit ZBToolBar(QWidget* parent = nullptr);
    ~ZBToolBar() override;

    /*! The actions added with AddAction() or QToolBar::addAction(), in the order of adding. */
    QList<QAction*> Actions() const;

    /*! Creates an action child of the tool bar with \a icon, \a text and \a toolTip, adds it at
        the end and returns it. */
    QAction* AddAction(const QIcon& icon, const QString& text, const QString& toolTip);
    /*! Adds \a action at the end, as the two-argument form does. */
    void AddAction(QAction* action);
    /*!
        Adds a button for \a action at \a position. The button triggers the action and follows its
        text, icon, tool tip, check and enabled states; it is deleted when the action is. The tool
        bar does not take ownership of \a action. A null action, or one added before, is ignored.
    */
    void AddAction(QAction* action, int position);

    /*! Adds a button with \a icon and \a toolTip at the end and returns it. */
    QToolButton* AddButton(const QIcon& icon, const QString& toolTip);
    /*! Adds an auto-raised button with \a text, \a icon and \a toolTip at \a position and returns it. */
    QToolButton* AddButton(const QString& text, const QIcon& icon, const QString& toolTip, int position);

    /*! Adds a one-pixel wide separator, "ZBTOOLBARSEPARATOR", at \a position. */
    void AddSeparator(int position);
    /*! Adds an expanding spacer at \a position; it shares the free width with the trailing spacer. */
    void AddSpacer(int position);

    /*! Adds \a widget at the end, as the two-argument form does. */
    void AddWidget(QWidget* widget);
    /*!
        Adds \a widget at \a position; the widget becomes a child of the content widget. Adding a
        widget twice gives it two entries (it stands in the column of the first). A null widget, the
        tool bar or one of its ancestors is ignored.
    */
    void AddWidget(QWidget* widget, int position);

    /*!
        Takes every entry of \a widget out of the row; the tools behind it move one column left.
        The widget is not hidden, deleted or reparented, and an action it was made for stays in
        Actions(). A widget that is not in the row is ignored.
    */
    void RemoveWidget(QWidget* widget);

protected:
    /*!
        Actions added through QWidget's and QToolBar's own calls (addAction(), addWidget(),
        addSeparator(), insertAction(), insertWidget(), insertSeparator()) join the row like the
        library's tools: at the end, or right before the tool of the action they were inserted
        before, taking its position. A plain action gets a button as AddAction() makes one and is
        listed in Actions(); a widget action gets its widget, a separator action a
        "ZBTOOLBARSEPARATOR". removeAction() takes the tool out of the row again.
    */
    void actionEvent(QActionEvent* event) override;

private Q_SLOTS:
    void OnActionDestroyed(QObject* object);

private:
    friend class ZBToolBarPrivate;
    std::unique_ptr<ZBToolBarPrivate> const d;
};

#endif // ZBTOOLBAR_H
