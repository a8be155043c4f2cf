// Random operations over a main window with a dock widget, a tool bar and a tool bar container:
// tools added at random positions, removed, deleted and reparented, actions deleted, visibility
// toggled from the container's menu, from the tool and from the action, the dock floated and
// docked, its widget and titles replaced, and the mouse moved over its borders.
#include "stress.h"

#include "ZBDockWidget.h"
#include "ZBTitleBar.h"
#include "ZBToolBar.h"
#include "ZBToolBarContainer.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr int MaxTools = 40; // per row; beyond it the operations favour removals

// The expected order of one position-ordered row: tools by position, equal positions by the order
// in which they were added.
struct Placed
{
    QPointer<QWidget> widget;
    int position;
    quint64 sequence;
};

class RowModel
{
public:
    void Add(QWidget* widget, int position)
    {
        if (position == -1) {
            const int last = placed.empty() ? -1 : placed.back().position;
            position = last == INT_MAX ? INT_MAX : last + 1;
        }
        const Placed p{widget, position, ++sequence};
        const auto at =
            std::upper_bound(placed.begin(), placed.end(), p, [](const Placed& a, const Placed& b) {
                return a.position < b.position || (a.position == b.position && a.sequence < b.sequence);
            });
        placed.insert(at, p);
    }
    void Remove(const QWidget* widget)
    {
        placed.erase(std::remove_if(placed.begin(), placed.end(),
                                    [widget](const Placed& p) { return p.widget == widget; }),
                     placed.end());
    }
    void Prune() { Remove(nullptr); }
    bool Contains(const QWidget* widget) const
    {
        return std::any_of(placed.begin(), placed.end(),
                           [widget](const Placed& p) { return p.widget == widget; });
    }
    QWidget* Random(Stress::Context& context) const
    {
        return placed.empty() ? nullptr
                              : placed[size_t(context.Bounded(0, int(placed.size()) - 1))].widget.data();
    }
    int Size() const { return int(placed.size()); }

    // Compares the grid's row 0 with the model: every column from 0 on holds the next tool, and
    // nothing else is laid out except items at column 1000 or beyond that are not widgets.
    QString Compare(QGridLayout* grid) const
    {
        if (!grid)
            return QStringLiteral("the row's layout is gone");
        std::vector<QWidget*> byColumn(placed.size(), nullptr);
        for (int i = 0; i < grid->count(); ++i) {
            int row, column, rowSpan, columnSpan;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            QWidget* widget = grid->itemAt(i)->widget();
            if (!widget && column >= 1000)
                continue;
            if (!widget || row != 0 || column < 0 || column >= int(placed.size()))
                return QStringLiteral("a stray item at row %1, column %2 (%3 tools)")
                    .arg(row)
                    .arg(column)
                    .arg(placed.size());
            if (byColumn[size_t(column)])
                return QStringLiteral("two widgets in column %1").arg(column);
            byColumn[size_t(column)] = widget;
        }
        for (size_t j = 0; j < placed.size(); ++j) {
            if (byColumn[j] != placed[j].widget)
                return QStringLiteral("column %1 holds %2, expected %3 (position %4)")
                    .arg(j)
                    .arg(byColumn[j] ? byColumn[j]->objectName() : QStringLiteral("nothing"))
                    .arg(placed[j].widget ? placed[j].widget->objectName()
                                          : QStringLiteral("a deleted widget"))
                    .arg(placed[j].position);
        }
        return QString();
    }

private:
    std::vector<Placed> placed;
    quint64 sequence = 0;
};

int randomPosition(Stress::Context& context)
{
    switch (context.Bounded(0, 9)) {
    case 0:
    case 1:
    case 2:
        return -1;
    case 3:
        return context.Bounded(-5, -2);
    case 4:
        return context.Chance(50) ? INT_MAX : INT_MIN;
    default:
        return context.Bounded(0, 12);
    }
}

QGridLayout* gridOf(QWidget* widget)
{
    return widget ? qobject_cast<QGridLayout*>(widget->layout()) : nullptr;
}

class DockToolbarsFamily : public Stress::Family
{
public:
    DockToolbarsFamily()
    {
        window = new QMainWindow;
        window->setObjectName(QStringLiteral("docktoolbars window"));
        window->setGeometry(30, 30, 560, 380);
        bar = new ZBToolBar(QStringLiteral("Tools"), window);
        window->addToolBar(bar);
        auto* central = new QWidget(window);
        auto* layout = new QVBoxLayout(central);
        container = new ZBToolBarContainer(central);
        layout->addWidget(container);
        layout->addStretch();
        window->setCentralWidget(central);
        dock = new ZBDockWidget(QStringLiteral("Dock"), window);
        window->addDockWidget(Qt::LeftDockWidgetArea, dock);
        dockTitle = QStringLiteral("Dock");
        holder = new QWidget;
        window->show();
    }

    ~DockToolbarsFamily() override
    {
        delete window;
        delete holder;
        for (const QPointer<QAction>& action : actions)
            delete action.data();
    }

    const char* Name() const override { return "docktoolbars"; }

    void Step(Stress::Context& context) override
    {
        if (!window)
            return;
        barModel.Prune();
        containerModel.Prune();
        Prune();
        switch (context.Bounded(0, 19)) {
        case 0:
        case 1:
        case 2:
            AddToBar(context);
            break;
        case 3:
        case 4:
        case 5:
            AddToContainer(context);
            break;
        case 6:
        case 7:
            RemoveOrDelete(context);
            break;
        case 8:
            DeleteAction(context);
            break;
        case 9:
        case 10:
            ToggleFromMenu(context);
            break;
        case 11:
            ToggleTool(context);
            break;
        case 12:
            ToggleAction(context);
            break;
        case 13:
            BarLook(context);
            break;
        case 14:
            Floating(context);
            break;
        case 15:
            DockWidgetAndTitle(context);
            break;
        case 16:
            HoverDock(context);
            break;
        case 17:
            MenuPress(context);
            break;
        case 18:
            WindowVisibility(context);
            break;
        default:
            context.Log(QStringLiteral("docktoolbars: run the event loop"));
            QTest::qWait(context.Bounded(0, 20));
            break;
        }
    }

    void Check(Stress::Context& context) override
    {
        if (!window) {
            context.Fail(QStringLiteral("the main window is gone"));
            return;
        }
        barModel.Prune();
        containerModel.Prune();
        Prune();
        QString why = barModel.Compare(gridOf(bar->findChild<QWidget*>(QStringLiteral("ZBTOOLBARCONTENT"))));
        if (!why.isEmpty())
            return context.Fail(QStringLiteral("tool bar: ") + why);
        why = containerModel.Compare(gridOf(container->findChild<QWidget*>(QStringLiteral("CONTAINER"))));
        if (!why.isEmpty())
            return context.Fail(QStringLiteral("container: ") + why);

        // Actions() lists the live actions added, in order.
        QList<QAction*> expected;
        for (const Added& a : barActions) {
            if (a.action)
                expected << a.action;
        }
        // Compared one by one: Qt 6.4's QList::operator== hands null to memcmp for empty lists.
        const QList<QAction*> listed = bar->Actions();
        if (listed.size() != expected.size() || !std::equal(listed.begin(), listed.end(), expected.begin()))
            return context.Fail(QStringLiteral("tool bar: Actions() has %1 entries, expected %2")
                                    .arg(listed.size())
                                    .arg(expected.size()));
        for (QToolButton* button : bar->findChildren<QToolButton*>()) {
            if (barModel.Contains(button) && button->iconSize() != bar->iconSize())
                return context.Fail(QStringLiteral("tool bar: a button missed an icon size change"));
        }

        CheckMenu(context);
        if (!context.Failed())
            CheckDock(context);
    }

private:
    struct Entry
    {
        QPointer<QWidget> tool;
        QString title;
    };
    struct Added
    {
        QPointer<QAction> action;
        QPointer<QToolButton> button;
    };

    QMenu* Menu() const { return container->findChild<QMenu*>(); }

    void Prune()
    {
        entries.erase(
            std::remove_if(entries.begin(), entries.end(), [](const Entry& e) { return e.tool.isNull(); }),
            entries.end());
        barActions.erase(std::remove_if(barActions.begin(), barActions.end(),
                                        [](const Added& a) { return a.action.isNull(); }),
                         barActions.end());
        containerActions.erase(std::remove_if(containerActions.begin(), containerActions.end(),
                                              [](const Added& a) { return a.action.isNull(); }),
                               containerActions.end());
        actions.erase(std::remove_if(actions.begin(), actions.end(),
                                     [](const QPointer<QAction>& a) { return a.isNull(); }),
                      actions.end());
    }

    QString NewName(const char* kind)
    {
        return QStringLiteral("%1 %2").arg(QLatin1String(kind)).arg(++created);
    }

    // The tool button a row made for an action, found among the new children of the row's widget.
    static QToolButton* ButtonFor(QWidget* rowWidget, QAction* action)
    {
        for (QToolButton* button : rowWidget->findChildren<QToolButton*>()) {
            if (button->defaultAction() == action)
                return button;
        }
        return nullptr;
    }

    void AddToBar(Stress::Context& context)
    {
        if (barModel.Size() >= MaxTools)
            return RemoveOrDelete(context);
        const int position = randomPosition(context);
        QWidget* content = bar->findChild<QWidget*>(QStringLiteral("ZBTOOLBARCONTENT"));
        const QList<QWidget*> before = content->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        const int kind = context.Bounded(0, 5);
        context.Log(QStringLiteral("tool bar: add kind %1 at %2").arg(kind).arg(position));
        QWidget* added = nullptr;
        switch (kind) {
        case 0: {
            auto* label = new QLabel(NewName("label"));
            if (context.Chance(20))
                label->hide();
            bar->AddWidget(label, position);
            added = label;
            break;
        }
        case 1:
            added = bar->AddButton(NewName("button"), QIcon(), QString(), position);
            break;
        case 2:
        case 3: {
            QAction* action = nullptr;
            if (kind == 2 && position == -1) {
                action = bar->AddAction(QIcon(), NewName("own action"), QString());
            } else {
                action = NewAction();
                bar->AddAction(action, position);
                if (context.Chance(20))
                    bar->AddAction(action, position); // ignored
            }
            added = ButtonFor(content, action);
            if (added)
                added->setObjectName(action->text());
            barActions.push_back({action, qobject_cast<QToolButton*>(added)});
            break;
        }
        case 4:
            bar->AddSeparator(position);
            break;
        default:
            bar->AddSpacer(position);
            break;
        }
        if (!added) {
            for (QWidget* child : content->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (!before.contains(child) && !barModel.Contains(child))
                    added = child;
            }
            if (added && added->objectName().isEmpty())
                added->setObjectName(NewName(kind == 4 ? "separator" : "spacer"));
        }
        if (!added)
            return context.Fail(QStringLiteral("tool bar: the new tool is not a child of the content"));
        barModel.Add(added, position);
    }

    QAction* NewAction()
    {
        auto* action = new QAction(NewName("action"));
        actions.push_back(action);
        return action;
    }

    void AddToContainer(Stress::Context& context)
    {
        if (containerModel.Size() >= MaxTools)
            return RemoveOrDelete(context);
        const int position = randomPosition(context);
        const int kind = context.Bounded(0, 2);
        context.Log(QStringLiteral("container: add kind %1 at %2").arg(kind).arg(position));
        QWidget* added = nullptr;
        QString title;
        if (kind == 0) {
            title = NewName("label");
            auto* label = new QLabel(title);
            label->setObjectName(title);
            label->setWindowTitle(context.Chance(10) ? QString() : title);
            title = label->windowTitle();
            container->AddWidget(label, position);
            added = label;
        } else if (kind == 1) {
            title = NewName("button");
            added = container->AddButton(title, QIcon(), QString(), position);
            added->setObjectName(title);
        } else {
            QAction* action = NewAction();
            if (context.Chance(25))
                action->setVisible(false);
            title = action->text();
            container->AddAction(action, position);
            added = ButtonFor(container, action);
            if (!added)
                return context.Fail(QStringLiteral("container: no button for the new action"));
            added->setObjectName(title);
            containerActions.push_back({action, qobject_cast<QToolButton*>(added)});
        }
        containerModel.Add(added, position);
        entries.push_back({added, title});
    }

    void RemoveOrDelete(Stress::Context& context)
    {
        const bool onBar = context.Chance(50);
        RowModel& model = onBar ? barModel : containerModel;
        QWidget* tool = model.Random(context);
        if (!tool)
            return;
        // 0 RemoveWidget, 1 deleteLater, 2 reparent out of the tool bar, 3 delete
        const int how = onBar                        ? context.Bounded(0, 3)
                        : context.Bounded(0, 2) == 2 ? 3
                                                     : context.Bounded(0, 1);
        static const char* const hows[] = {"RemoveWidget", "deleteLater", "reparent", "delete"};
        context.Log(QStringLiteral("%1: %2 %3")
                        .arg(QLatin1String(onBar ? "tool bar" : "container"), QLatin1String(hows[how]),
                             tool->objectName()));
        model.Remove(tool);
        if (how == 0) {
            if (onBar)
                bar->RemoveWidget(tool);
            else
                container->RemoveWidget(tool);
        } else if (how == 1) {
            tool->deleteLater();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else if (how == 2) {
            tool->setParent(holder);
        } else {
            delete tool;
        }
    }

    void DeleteAction(Stress::Context& context)
    {
        if (actions.empty())
            return;
        QAction* action = actions[size_t(context.Bounded(0, int(actions.size()) - 1))];
        context.Log(QStringLiteral("delete %1").arg(action->text()));
        for (const Added& a : barActions) {
            if (a.action == action)
                barModel.Remove(a.button);
        }
        for (const Added& a : containerActions) {
            if (a.action == action)
                containerModel.Remove(a.button);
        }
        delete action;
    }

    void ToggleFromMenu(Stress::Context& context)
    {
        QMenu* menu = Menu();
        if (!menu || menu->actions().isEmpty())
            return;
        QAction* entry = menu->actions().at(context.Bounded(0, menu->actions().size() - 1));
        context.Log(QStringLiteral("container: menu entry \"%1\" triggered").arg(entry->text()));
        entry->trigger();
    }

    void ToggleTool(Stress::Context& context)
    {
        if (entries.empty())
            return;
        QWidget* tool = entries[size_t(context.Bounded(0, int(entries.size()) - 1))].tool;
        const bool show = context.Chance(50);
        context.Log(QStringLiteral("container: %1 %2").arg(show ? "show" : "hide", tool->objectName()));
        tool->setVisible(show);
    }

    void ToggleAction(Stress::Context& context)
    {
        if (actions.empty())
            return;
        QAction* action = actions[size_t(context.Bounded(0, int(actions.size()) - 1))];
        const bool show = context.Chance(50);
        context.Log(QStringLiteral("%1 setVisible(%2)").arg(action->text()).arg(show));
        action->setVisible(show);
    }

    void BarLook(Stress::Context& context)
    {
        const int size = context.Bounded(12, 40);
        const auto style = Qt::ToolButtonStyle(context.Bounded(0, 4));
        context.Log(QStringLiteral("tool bar: icon size %1, style %2").arg(size).arg(int(style)));
        bar->setIconSize(QSize(size, size));
        bar->setToolButtonStyle(style);
    }

    void Floating(Stress::Context& context)
    {
        const bool floating = !dock->isFloating();
        context.Log(QStringLiteral("dock: setFloating(%1)").arg(floating));
        dock->setFloating(floating);
        if (context.Chance(30)) {
            const bool fixed = context.Chance(50);
            context.Log(QStringLiteral("dock: width %1").arg(fixed ? "fixed" : "free"));
            if (fixed) {
                dock->setFixedWidth(dock->width());
            } else {
                dock->setMinimumWidth(0);
                dock->setMaximumWidth(QWIDGETSIZE_MAX);
            }
        }
    }

    void DockWidgetAndTitle(Stress::Context& context)
    {
        switch (context.Bounded(0, 4)) {
        case 0:
            dockTitle = NewName("window title");
            context.Log(QStringLiteral("dock: setWindowTitle"));
            dock->setWindowTitle(dockTitle);
            break;
        case 1:
            dockTitle = NewName("bar title");
            context.Log(QStringLiteral("dock: SetTitle"));
            dock->SetTitle(dockTitle);
            break;
        case 2: {
            context.Log(QStringLiteral("dock: SetWidget(new label)"));
            dockWidget = new QLabel(NewName("dock label"));
            dock->SetWidget(dockWidget);
            break;
        }
        case 3:
            context.Log(QStringLiteral("dock: SetWidget(nullptr)"));
            dockWidget = nullptr;
            dock->SetWidget(nullptr);
            break;
        default: {
            const bool hide = dock->isVisible();
            context.Log(QStringLiteral("dock: %1").arg(hide ? "click Hide" : "show again"));
            if (hide)
                dock->TitleBar()->findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->click();
            else
                dock->show();
            break;
        }
        }
    }

    void HoverDock(Stress::Context& context)
    {
        QWidget* main = dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETMAINCONTENT"));
        if (!main || !main->isVisible())
            return;
        const QPoint at = context.PointIn(main);
        context.Log(QStringLiteral("dock: hover at %1,%2").arg(at.x()).arg(at.y()));
        const Qt::CursorShape before = main->cursor().shape();
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(main->mapToGlobal(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(main, &move);
        if (!dock->isFloating() && main->cursor().shape() != before)
            context.Fail(QStringLiteral("dock: a hover changed the cursor while docked"));
    }

    void MenuPress(Stress::Context& context)
    {
        if (!container->isVisible())
            return;
        QMenu* menu = Menu();
        const QPoint strip(container->width() - 4, container->height() / 2);
        context.Log(QStringLiteral("container: press the strip"));
        QTest::mouseClick(container, Qt::LeftButton, Qt::KeyboardModifiers(), strip);
        if (menu && !menu->actions().isEmpty() && !menu->isVisible())
            return context.Fail(QStringLiteral("container: the strip did not open the menu"));
        if (menu && menu->isVisible()) {
            const QPoint global = container->mapToGlobal(QPoint(0, 0));
            // Qt moves a menu that would not fit below; only one that fits is checked.
            const int below = global.y() + container->height() + 1;
            const QRect screen = container->screen()->availableGeometry();
            if (below + menu->height() <= screen.bottom() && menu->y() != below)
                context.Fail(QStringLiteral("container: the menu is not one pixel below"));
            menu->hide();
        }
    }

    void WindowVisibility(Stress::Context& context)
    {
        const bool hide = window->isVisible() && context.Chance(50);
        context.Log(QStringLiteral("window: %1").arg(hide ? "hide" : "show"));
        std::vector<QPointer<QWidget>> shown;
        for (const Entry& e : entries) {
            if (!e.tool->isHidden())
                shown.push_back(e.tool);
        }
        if (hide)
            window->hide();
        else
            window->show();
        // The hide and show events must not turn into explicit hides of the tools.
        for (const QPointer<QWidget>& tool : shown) {
            if (tool && tool->isHidden())
                return context.Fail(
                    QStringLiteral("container: %1 was hidden with the window").arg(tool->objectName()));
        }
    }

    void CheckMenu(Stress::Context& context)
    {
        QMenu* menu = Menu();
        const QList<QAction*> menuEntries = menu ? menu->actions() : QList<QAction*>();
        if (menuEntries.size() != int(entries.size()))
            return context.Fail(QStringLiteral("container: %1 menu entries for %2 tools")
                                    .arg(menuEntries.size())
                                    .arg(entries.size()));
        // A tool's check mark follows what is on screen; while the window is hidden, it waits for the
        // show events.
        const bool onScreen = window->isVisible();
        for (size_t i = 0; i < entries.size(); ++i) {
            QAction* entry = menuEntries.at(int(i));
            const Entry& e = entries[i];
            if (entry->text() != e.title)
                return context.Fail(QStringLiteral("container: entry %1 reads \"%2\", expected \"%3\"")
                                        .arg(i)
                                        .arg(entry->text(), e.title));
            if (onScreen && entry->isChecked() != e.tool->isVisible())
                return context.Fail(
                    QStringLiteral("container: the entry of %1 is %2checked, the tool %3visible")
                        .arg(e.tool->objectName(), entry->isChecked() ? "" : "un",
                             e.tool->isVisible() ? "" : "in"));
        }
        if (!onScreen)
            return;
        for (const Added& a : containerActions) {
            if (a.button && a.action->isVisible() != a.button->isVisible())
                return context.Fail(QStringLiteral("container: %1 is %2visible, its button %3visible")
                                        .arg(a.action->text(), a.action->isVisible() ? "" : "in",
                                             a.button->isVisible() ? "" : "in"));
        }
    }

    void CheckDock(Stress::Context& context)
    {
        QWidget* titleContent = dock->TitleBar()->findChild<QWidget*>(QStringLiteral("TITLECONTENT"));
        QLayoutItem* item = gridOf(titleContent) ? gridOf(titleContent)->itemAtPosition(0, 1) : nullptr;
        auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
        if (!label || label->text() != dockTitle)
            return context.Fail(QStringLiteral("dock: the title bar does not read \"%1\"").arg(dockTitle));

        QWidget* main = dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETMAINCONTENT"));
        const QMargins margins = gridOf(main) ? gridOf(main)->contentsMargins() : QMargins(-1, -1, -1, -1);
        const QMargins expected = dock->isFloating() ? QMargins(3, 0, 3, 3) : QMargins();
        if (margins != expected || main->hasMouseTracking() != dock->isFloating())
            return context.Fail(QStringLiteral("dock: margins or mouse tracking do not follow floating"));

        if (dock->GetWidget() != dockWidget)
            return context.Fail(QStringLiteral("dock: GetWidget() is not the widget last set"));
        QWidget* content = dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETCONTENT"));
        QGridLayout* grid = gridOf(content);
        if (!grid || grid->count() != (dockWidget ? 1 : 0) ||
            (dockWidget && grid->itemAtPosition(0, 0)->widget() != dockWidget))
            return context.Fail(QStringLiteral("dock: the content does not hold exactly the widget set"));
    }

    QPointer<QMainWindow> window;
    QPointer<ZBToolBar> bar;
    QPointer<ZBToolBarContainer> container;
    QPointer<ZBDockWidget> dock;
    QWidget* holder; // takes tools reparented out of the tool bar
    RowModel barModel;
    RowModel containerModel;
    std::vector<Entry> entries; // the container's menu entries, in order of adding
    std::vector<Added> barActions;
    std::vector<Added> containerActions;
    std::vector<QPointer<QAction>> actions; // the actions the family owns
    QPointer<QWidget> dockWidget;
    QString dockTitle;
    int created = 0;
};

} // namespace

ZB_STRESS_FAMILY(DockToolbarsFamily);
