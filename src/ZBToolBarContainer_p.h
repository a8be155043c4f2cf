// Internal, not part of the API.
#ifndef ZBTOOLBARCONTAINER_P_H
#define ZBTOOLBARCONTAINER_P_H

#include <QHash>
#include <QList>
#include <QPointer>
#include <QStyle>

class QAction;
class QIcon;
class QMenu;
class QToolButton;
class QWidget;
class ZBToolBarContainer;
class ZBToolBarWidgetContainer;

class ZBToolBarContainerPrivate
{
public:
    explicit ZBToolBarContainerPrivate(ZBToolBarContainer* q);
    ~ZBToolBarContainerPrivate();

    void Init();
    // Brings a tool's menu entry and action in line with a show or hide of the tool, with the
    // connections that would echo the change back cut meanwhile. False if the container is gone.
    bool FollowTool(QObject* tool, bool shown);
    // Opens the menu right-aligned below the container; nothing while it is open or empty.
    bool PopupMenu();

    struct Tool
    {
        QWidget* widget;
        QPointer<QAction> entry; // its checkable menu entry
    };
    struct ActionButton
    {
        QAction* action;
        QPointer<QToolButton> button; // the application may delete it
    };

    ZBToolBarContainer* const q;
    QPointer<ZBToolBarWidgetContainer> widgetContainer; // "CONTAINER"
    QPointer<QMenu> menu;
    QStyle::State addedState = QStyle::State_None;      // forced into the panel's style option
    QStyle::State stateMask = QStyle::State(QFlag(~0)); // allowed in the panel's style option
    // Keyed by object identity, so that an object can be found while it is being destroyed.
    QHash<const QObject*, ActionButton> actionButtons; // action -> its button
    QHash<const QObject*, QAction*> buttonActions;     // the other way round
    QList<QAction*> actions;                           // in order of adding
    QHash<const QObject*, Tool> tools;                 // every tool with a menu entry
};

#endif // ZBTOOLBARCONTAINER_P_H
