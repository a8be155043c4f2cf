// Random operations on a dock widget, a tool bar and a tool bar container, checked against a model
// of each position-ordered row and of the container's menu.
#include "stress.h"

#include "ZBDockWidget.h"
#include "ZBToolBar.h"
#include "ZBToolBarContainer.h"

#include <QAction>
#include <QCoreApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <vector>

namespace {

template <typename V, typename Pred>
void eraseIf(V& v, Pred pred)
{
    v.erase(std::remove_if(v.begin(), v.end(), pred), v.end());
}

template <typename V>
int randomIndex(Stress::Context& context, const V& v)
{
    return v.empty() ? -1 : context.Bounded(0, int(v.size()) - 1);
}

int randomPosition(Stress::Context& context)
{
    static const int special[] = {-1, -1, -1, -4, -2, INT_MAX, INT_MIN};
    const int i = context.Bounded(0, 12);
    return i < 7 ? special[i] : context.Bounded(0, 12);
}

struct Tool
{
    QPointer<QWidget> widget;
    int position;
    QPointer<QAction> action; // the action a button was made for
    QString title;            // of the container's menu entry
};

// One position-ordered row and its expected order: by position, equal positions in the order of adding.
struct Row
{
    QWidget* host = nullptr;
    std::vector<Tool> placed;

    void Add(QWidget* widget, int position, QAction* action)
    {
        if (position == -1)
            position = placed.empty() ? 0 : placed.back().position + (placed.back().position < INT_MAX);
        const auto at = std::upper_bound(placed.begin(), placed.end(), position,
                                         [](int p, const Tool& e) { return p < e.position; });
        placed.insert(at, Tool{widget, position, action, QString()});
    }

    // Column j holds the j-th tool; nothing else is laid out but items at column 1000 or beyond.
    QString Compare() const
    {
        auto* grid = qobject_cast<QGridLayout*>(host->layout());
        std::vector<QWidget*> byColumn(placed.size(), nullptr);
        for (int i = 0; i < grid->count(); ++i) {
            int row, column, rowSpan, columnSpan;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            QWidget* widget = grid->itemAt(i)->widget();
            if (!widget && column >= 1000)
                continue;
            if (!widget || row != 0 || column < 0 || column >= int(placed.size()) || byColumn[size_t(column)])
                return QStringLiteral("%1: a stray item in column %2").arg(host->objectName()).arg(column);
            byColumn[size_t(column)] = widget;
        }
        for (size_t j = 0; j < placed.size(); ++j) {
            if (byColumn[j] != placed[j].widget)
                return QStringLiteral("%1: column %2 is out of order").arg(host->objectName()).arg(j);
        }
        return QString();
    }
};

class DockToolbarsFamily : public Stress::Family
{
public:
    DockToolbarsFamily()
    {
        window->addToolBar(bar);
        auto* central = new QWidget(window);
        auto* layout = new QVBoxLayout(central);
        layout->addWidget(container = new ZBToolBarContainer(central));
        layout->addStretch();
        window->setCentralWidget(central);
        window->addDockWidget(Qt::LeftDockWidgetArea, dock);
        window->show();
        barRow.host = bar->findChild<QWidget*>(QStringLiteral("ZBTOOLBARCONTENT"));
        containerRow.host = container->findChild<QWidget*>(QStringLiteral("CONTAINER"));
    }

    ~DockToolbarsFamily() override { delete window; }

    const char* Name() const override { return "docktoolbars"; }

    void Step(Stress::Context& context) override
    {
        using F = DockToolbarsFamily;
        static void (F::*const ops[])(Stress::Context&) = {&F::Add,    &F::Add, &F::Add, &F::Remove,
                                                           &F::Remove, &F::Act, &F::Act, &F::Toggle,
                                                           &F::Toggle, &F::Dock};
        const int i = context.Bounded(0, int(std::size(ops)) - 1);
        context.Log(QStringLiteral("docktoolbars: operation %1").arg(i));
        (this->*ops[i])(context);
    }

    void Check(Stress::Context& context) override
    {
        eraseIf(entries, [](const Tool& e) { return !e.widget; });
        eraseIf(barActions, [](const QPointer<QAction>& a) { return !a; });
        QString why = barRow.Compare() + containerRow.Compare();
        if (!why.isEmpty())
            return context.Fail(why);
        const QList<QAction*> listed = bar->Actions();
        if (!std::equal(listed.begin(), listed.end(), barActions.begin(), barActions.end()))
            return context.Fail(QStringLiteral("tool bar: Actions() does not list the live actions added"));

        const QList<QAction*> menuEntries = container->findChild<QMenu*>()->actions();
        if (menuEntries.size() != int(entries.size()))
            return context.Fail(QStringLiteral("container: %1 entries").arg(menuEntries.size()));
        for (size_t i = 0; i < entries.size(); ++i) {
            const Tool& e = entries[i];
            QAction* entry = menuEntries.at(int(i));
            if (entry->text() != e.title || entry->isChecked() != e.widget->isVisible() ||
                (e.action && e.action->isVisible() != e.widget->isVisible()))
                return context.Fail(
                    QStringLiteral("container: entry %1, its tool and action disagree").arg(i));
        }

        QWidget* main = dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETMAINCONTENT"));
        if (main->layout()->contentsMargins() != (dock->isFloating() ? QMargins(3, 0, 3, 3) : QMargins()) ||
            main->hasMouseTracking() != dock->isFloating())
            context.Fail(QStringLiteral("dock: margins or mouse tracking do not follow floating"));
    }

private:
    // Adds a label, a button, an action, a separator or a spacer, then finds the one tool it
    // placed among the new children of the row's widget.
    void Add(Stress::Context& context)
    {
        const bool onBar = context.Chance(50);
        Row& row = onBar ? barRow : containerRow;
        if (row.placed.size() >= 40)
            return Remove(context);
        const int position = randomPosition(context), kind = context.Bounded(0, onBar ? 4 : 2);
        QAction* action =
            kind == 2 ? new QAction(QStringLiteral("action %1").arg(++created), window) : nullptr;
        QString title = action ? action->text() : QString::number(++created);
        if (!action && context.Chance(10))
            title.clear();
        context.Log(QString::asprintf("%s: add kind %d at %d", onBar ? "bar" : "container", kind, position));
        const QWidgetList before = row.host->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        if (kind == 0) {
            auto* label = new QLabel;
            label->setWindowTitle(title);
            if (onBar && context.Chance(20))
                label->hide(); // stays hidden in the row
            onBar ? bar->AddWidget(label, position) : container->AddWidget(label, position);
        } else if (kind == 1) {
            onBar ? (void)bar->AddButton(title, QIcon(), QString(), position)
                  : (void)container->AddButton(title, QIcon(), QString(), position);
        } else if (kind == 2) {
            actions.push_back(action);
            action->setVisible(context.Chance(80));
            for (int at : {position, -1}) // the second time is ignored
                onBar ? bar->AddAction(action, at) : container->AddAction(action, at);
            action->setText(title + QLatin1Char('!')); // the menu entry keeps the text of adding
        } else {
            kind == 3 ? bar->AddSeparator(position) : bar->AddSpacer(position);
        }
        QWidgetList added = row.host->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        eraseIf(added, [&](QWidget* w) { return before.contains(w); });
        if (added.size() != 1)
            return context.Fail(QStringLiteral("the add placed %1 tools").arg(added.size()));
        row.Add(added.first(), position, action);
        if (!onBar)
            entries.push_back({added.first(), position, action, title});
        else if (action)
            barActions.push_back(action);
    }

    void Remove(Stress::Context& context)
    {
        const bool onBar = context.Chance(50);
        Row& row = onBar ? barRow : containerRow;
        const int i = randomIndex(context, row.placed);
        if (i < 0)
            return;
        QWidget* tool = row.placed[size_t(i)].widget;
        row.placed.erase(row.placed.begin() + i);
        const int how = context.Bounded(0, onBar ? 3 : 2);
        context.Log(QStringLiteral("%1: remove way %2").arg(onBar ? "tool bar" : "container").arg(how));
        if (how == 0)
            onBar ? bar->RemoveWidget(tool) : container->RemoveWidget(tool);
        else if (how == 3)
            tool->setParent(window); // out of the row, still alive
        else
            how == 1 ? delete tool : tool->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Shows, hides or deletes one of the actions.
    void Act(Stress::Context& context)
    {
        eraseIf(actions, [](const QPointer<QAction>& a) { return !a; });
        const int i = randomIndex(context, actions);
        if (i < 0)
            return;
        QAction* action = actions[size_t(i)];
        if (context.Chance(60))
            return action->setVisible(!action->isVisible());
        for (Row* row : {&barRow, &containerRow})
            eraseIf(row->placed, [action](const Tool& t) { return t.action == action; });
        delete action;
    }

    // Shows or hides a tool of the container from its menu entry or from the tool.
    void Toggle(Stress::Context& context)
    {
        const QList<QAction*> menuEntries = container->findChild<QMenu*>()->actions();
        const int i = randomIndex(context, menuEntries);
        if (i >= 0 && context.Chance(50))
            menuEntries.at(i)->trigger();
        else if (i >= 0)
            entries[size_t(i)].widget->setVisible(entries[size_t(i)].widget->isHidden());
    }

    void Dock(Stress::Context& context)
    {
        const bool fixed = context.Chance(30);
        dock->setMinimumWidth(fixed ? dock->width() : 0);
        dock->setMaximumWidth(fixed ? dock->width() : QWIDGETSIZE_MAX);
        dock->setFloating(!dock->isFloating());
    }

    QPointer<QMainWindow> window = new QMainWindow;
    ZBToolBar* bar = new ZBToolBar(QStringLiteral("Tools"), window);
    ZBToolBarContainer* container = nullptr;
    ZBDockWidget* dock = new ZBDockWidget(QStringLiteral("Dock"), window);
    Row barRow, containerRow;
    std::vector<Tool> entries; // the container's menu entries, in order of adding
    std::vector<QPointer<QAction>> barActions, actions;
    int created = 0;
};

} // namespace

ZB_STRESS_FAMILY(DockToolbarsFamily);
