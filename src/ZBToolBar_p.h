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
    QToolButton* MakeButton(const QString& text, const QIcon& icon, const QString& toolTip, int position);

    ZBToolBar* const q;
    QPointer<QWidget> content; // "ZBTOOLBARCONTENT"
    // For each action added, the button made for it. Keyed by object identity, so that an action
    // can be found while it is being destroyed; the application may delete a button.
    QHash<const QObject*, QPointer<QToolButton>> actionButtons;
    QList<QAction*> actions; // in order of adding
    std::unique_ptr<ZBPositionRow> row;
};

#endif // ZBTOOLBAR_P_H
