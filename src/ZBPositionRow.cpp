#include "ZBPositionRow_p.h"

#include <QChildEvent>
#include <QGridLayout>
#include <QSet>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>
#include <climits>
#include <utility>

ZBPositionRow::ZBPositionRow(QWidget* host, QGridLayout* grid, bool watchDestruction)
    : host(host), grid(grid), watch(watchDestruction)
{
    if (host)
        host->installEventFilter(this);
}

ZBPositionRow::~ZBPositionRow() = default;

int ZBPositionRow::Insert(QWidget* widget, int position)
{
    if (!widget || !host || !grid || widget == host || widget->isAncestorOf(host))
        return -1;

    if (position == -1) {
        const int last = entries.isEmpty() ? -1 : entries.last().position;
        position = last == INT_MAX ? INT_MAX : last + 1;
    }
    // Upper bound: the new entry goes after every entry with a position less than or equal to its own.
    const auto at = std::upper_bound(entries.begin(), entries.end(), position,
                                     [](int p, const Entry& e) { return p < e.position; });
    const int index = int(at - entries.begin());
    entries.insert(index, Entry{position, widget, widget});

    int& n = count[widget];
    if (++n == 2)
        ++duplicates;
    if (watch && n == 1)
        connect(widget, &QObject::destroyed, this, &ZBPositionRow::Forget, Qt::UniqueConnection);

    Relayout(index, nullptr);
    return index;
}

bool ZBPositionRow::Remove(QWidget* widget)
{
    if (!widget)
        return false;
    return DropEntries(widget);
}

void ZBPositionRow::Forget(QObject* object)
{
    DropEntries(object);
}

bool ZBPositionRow::Contains(const QObject* object) const
{
    for (const Entry& e : entries) {
        if (e.object == object)
            return true;
    }
    return false;
}

bool ZBPositionRow::DropEntries(const QObject* object)
{
    // Compared through the stored object pointer: the object may be half destroyed already.
    int first = -1;
    QWidget* widget = nullptr;
    for (int i = entries.size() - 1; i >= 0; --i) {
        if (entries.at(i).object != object)
            continue;
        widget = entries.at(i).widget;
        entries.removeAt(i);
        first = i;
    }
    if (first < 0)
        return false;
    if (count.take(widget) > 1)
        --duplicates;
    Relayout(first, widget);
    return true;
}

void ZBPositionRow::Relayout(int from, QWidget* gone)
{
    if (!grid)
        return;

    struct Stray
    {
        QLayoutItem* item;
        int row, column, rowSpan, columnSpan;
    };

    // The tools from column `from` on stand at the end of the grid's item list: take them off.
    // Items that are not widgets (the tool bar's trailing spacer) stop the walk.
    QList<QLayoutItem*> taken; // from the last column backwards
    QList<Stray> strays;
    for (int k = grid->count() - 1; k >= 0; --k) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(k, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem* item = grid->itemAt(k);
        QWidget* widget = item->widget();
        if (column < from || !widget)
            break;
        grid->takeAt(k);
        if (widget == gone)
            delete item;
        else if (row == 0 && rowSpan == 1 && columnSpan == 1 && count.contains(widget))
            taken.append(item);
        else
            strays.append(Stray{item, row, column, rowSpan, columnSpan}); // not ours: put back as it was
    }

    // The taken items come back in list order, so each is usually the next one from the end; an
    // index finds the others (a widget that moved past others after being added twice).
    int next = taken.size() - 1;
    QHash<QWidget*, int> index;
    bool indexed = false;
    const auto claim = [&](QWidget* widget) -> QLayoutItem* {
        while (next >= 0 && !taken.at(next))
            --next;
        int t = next >= 0 && taken.at(next)->widget() == widget ? next : -1;
        if (t < 0 && widget->testAttribute(Qt::WA_LaidOut)) {
            if (!indexed) {
                for (int i = 0; i < taken.size(); ++i)
                    index.insert(taken.at(i)->widget(), i);
                indexed = true;
            }
            t = index.value(widget, -1);
        }
        if (t < 0)
            return nullptr;
        QLayoutItem* item = taken.at(t);
        taken[t] = nullptr;
        return item;
    };

    // A widget listed twice stands in the column of its first entry; the other columns stay empty.
    QHash<QWidget*, int> tail;
    if (duplicates > 0) {
        for (int j = from; j < entries.size(); ++j)
            ++tail[entries.at(j).widget];
    }
    QSet<QWidget*> placed;
    for (int j = from; j < entries.size(); ++j) {
        QWidget* widget = entries.at(j).widget;
        if (duplicates > 0) {
            if (count.value(widget) > tail.value(widget) || placed.contains(widget))
                continue;
            placed.insert(widget);
        }
        if (QLayoutItem* item = claim(widget)) {
            grid->addItem(item, 0, j, 1, 1, Qt::Alignment());
            continue;
        }
        if (host->isVisible() && widget->parentWidget() != host) {
            // Qt queues a show for the widget in addWidget; this call goes first and shows them all.
            if (!showPosted) {
                showPosted =
                    QMetaObject::invokeMethod(this, &ZBPositionRow::ShowPending, Qt::QueuedConnection);
            }
            pendingShow.append(widget);
        }
        grid->addWidget(widget, 0, j, Qt::Alignment()); // new, or out of place: addWidget dedupes
    }

    qDeleteAll(taken); // tools that left the row: the widgets stay where they are, out of the layout
    for (const Stray& s : strays)
        grid->addItem(s.item, s.row, s.column, s.rowSpan, s.columnSpan, s.item->alignment());
    grid->invalidate();
}

void ZBPositionRow::ShowPending()
{
    showPosted = false;
    QList<QPointer<QWidget>> widgets;
    widgets.swap(pendingShow);
    if (!grid || !host)
        return;
    // With the grid off, a show does not lay the row out; the grid is laid out once afterwards.
    const bool enabled = grid->isEnabled();
    grid->setEnabled(false);
    for (QWidget* widget : std::as_const(widgets)) {
        // What Qt's own queued show does: a widget hidden on purpose stays hidden.
        if (widget && widget->parentWidget() == host &&
            !(widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide)))
            widget->setVisible(true);
    }
    grid->setEnabled(enabled);
    grid->invalidate();
    grid->activate(); // before anything paints the new widgets at their unplaced geometry
}

bool ZBPositionRow::eventFilter(QObject* watched, QEvent* event)
{
    // A tool reparented out of the host has left the row; Qt has dropped its layout item already
    // or is about to.
    if (watched == host && event->type() == QEvent::ChildRemoved) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child && Contains(child))
            DropEntries(child);
    }
    return QObject::eventFilter(watched, event);
}
