// Internal, not part of the API.
#ifndef ZBTOOLBAR_P_H
#define ZBTOOLBAR_P_H

#include <QHash>
#include <QList>
#include <QPointer>
#include <memory>

class QAction;
class QGridLayout;
class QIcon;
class QToolButton;
class QWidget;
class ZBPositionRow;
class ZBToolBar;

class ZBToolBarPrivate
{
public:
    explicit ZBToolBarPrivate(ZBToolBar* q);
    ~ZBToolBarPrivate();

    void Init();
    QToolButton* MakeButton(const QString& text, const QIcon& icon, const QString& toolTip, int position,
                            const QWidget* before = nullptr);
    QWidget* MakeSeparator();
    // An action added through QWidget's action API (QToolBar::addAction, addWidget, addSeparator,
    // insertAction...) joins the row at the end, or right before the tool of \a before.
    void PlaceAction(QAction* action, QAction* before);
    // Such an action left the tool bar (it may be half destroyed): its tool leaves the row.
    void TakeAction(QAction* action);
    // An action added with AddAction() or through QWidget's API was destroyed or taken away.
    void DropButton(const QObject* action);

    ZBToolBar* const q;
    QPointer<QWidget> content; // "ZBTOOLBARCONTENT"
    // For each action added, the button made for it. Keyed by object identity, so that an action
    // can be found while it is being destroyed; the application may delete a button.
    QHash<const QObject*, QPointer<QToolButton>> actionButtons;
    QList<QAction*> actions;          // in order of adding
    QAction* contentAction = nullptr; // QToolBar's own item: the content widget
    // The tools made for widget actions and separator actions added through QWidget's action API.
    QHash<const QObject*, QPointer<QWidget>> actionTools;
    std::unique_ptr<ZBPositionRow> row;
};

#endif // ZBTOOLBAR_P_H
