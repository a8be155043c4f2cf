#include "ZBPositionRow_p.h"
#include "ZBWidgetTree_p.h"

#include "ZBQtCompat_p.h"

#include <QChildEvent>
#include <QGridLayout>
#include <QLayoutItem>
#include <QSet>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>
#include <climits>
#include <utility>

// The row's layout item in one column. It stays in its cell and stands for whichever widget the
// row's entry of that column holds: each call first takes that widget, so that moving widgets to
// other columns costs the row nothing but the list insertion. Every virtual function of
// QLayoutItem that reaches the widget is overridden here.
class ZBPositionRow::Cell : public QWidgetItem
{
public:
    Cell(ZBPositionRow* row, int column)
        : QWidgetItem(row->entries.at(column).widget), row(row), column(column)
    {}
    ~Cell() override
    {
        // The grid deletes an item whose widget it lost (deleted or reparented): the column is empty.
        if (row && column < row->cells.size() && row->cells.at(column) == this) {
            row->cells[column] = nullptr;
            ++row->holes;
        }
    }

    // Takes the widget of the cell's entry; keeps the last one once the row is gone.
    QWidget* Current() const
    {
        if (row && column < row->entries.size())
            const_cast<Cell*>(this)->wid = row->entries.at(column).widget;
        return wid;
    }

    QWidget* widget() ZB_LAYOUT_ITEM_WIDGET_CONST override { return Current(); }
    QSize sizeHint() const override { return Current(), QWidgetItem::sizeHint(); }
    QSize minimumSize() const override { return Current(), QWidgetItem::minimumSize(); }
    QSize maximumSize() const override { return Current(), QWidgetItem::maximumSize(); }
    Qt::Orientations expandingDirections() const override
    {
        return Current(), QWidgetItem::expandingDirections();
    }
    bool isEmpty() const override { return Current(), QWidgetItem::isEmpty(); }
    void setGeometry(const QRect& rect) override
    {
        Current();
        QWidgetItem::setGeometry(rect);
    }
    QRect geometry() const override { return Current(), QWidgetItem::geometry(); }
    bool hasHeightForWidth() const override { return Current(), QWidgetItem::hasHeightForWidth(); }
    int heightForWidth(int width) const override { return Current(), QWidgetItem::heightForWidth(width); }
    int minimumHeightForWidth(int width) const override
    {
        return Current(), QWidgetItem::minimumHeightForWidth(width);
    }
    QSizePolicy::ControlTypes controlTypes() const override { return Current(), QWidgetItem::controlTypes(); }

    ZBPositionRow* row;
    const int column;
};

ZBPositionRow::ZBPositionRow(QWidget* host, QGridLayout* grid, bool watchDestruction)
    : host(host), grid(grid), watch(watchDestruction)
{
    if (host)
        host->installEventFilter(this);
}

ZBPositionRow::~ZBPositionRow()
{
    // The cells stay in the grid, which outlives the row, with the widgets they stand for now.
    for (Cell* cell : std::as_const(cells)) {
        if (cell) {
            cell->Current();
            cell->row = nullptr;
        }
    }
}

int ZBPositionRow::Insert(QWidget* widget, int position, const QWidget* before)
{
    if (!widget || !host || !grid || ZBWidgetTree::Within(host, widget))
        return -1;

    int index = -1;
    for (int i = 0; before && i < entries.size() && index < 0; ++i) {
        if (entries.at(i).widget == before) {
            index = i;
            position = entries.at(i).position;
        }
    }
    if (index < 0 && position == -1) {
        const int last = entries.isEmpty() ? -1 : entries.last().position;
        position = last == INT_MAX ? INT_MAX : last + 1;
    }
    // Upper bound: the new entry goes after every entry with a position less than or equal to its own.
    if (index < 0) {
        index = int(std::upper_bound(entries.begin(), entries.end(), position,
                                     [](int p, const Entry& e) { return p < e.position; }) -
                    entries.begin());
    }
    entries.insert(index, Entry{position, widget, widget});

    int& n = count[widget];
    if (++n == 2)
        ++duplicates;
    if (n == 1) {
        if (watch)
            connect(widget, &QObject::destroyed, this, &ZBPositionRow::Forget, Qt::UniqueConnection);
        Adopt(widget);
    }
    Sync(index);
    return index;
}

bool ZBPositionRow::Remove(QWidget* widget)
{
    if (!widget || !DropEntries(widget))
        return false;
    if (grid)
        grid->removeWidget(widget); // anything else that holds it in the grid
    return true;
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
    Sync(first);
    return true;
}

void ZBPositionRow::Adopt(QWidget* widget)
{
    if (host->isVisible() && widget->parentWidget() != host) {
        // Qt queues a show for the widget in addWidget; this call goes first and shows them all.
        if (!showPosted)
            showPosted = QMetaObject::invokeMethod(this, &ZBPositionRow::ShowPending, Qt::QueuedConnection);
        pendingShow.append(widget);
    }
    // The grid reparents the widget, takes it out of any other layout and queues its show; the item
    // it makes for it gives way to a cell.
    grid->addWidget(widget, 0, 0, Qt::Alignment());
    const int last = grid->count() - 1;
    if (last >= 0 && grid->itemAt(last)->widget() == widget)
        delete grid->takeAt(last);
}

void ZBPositionRow::Sync(int from)
{
    if (!grid)
        return;
    const int n = entries.size();
    while (cells.size() > n) {
        RemoveCell(cells.size() - 1);
        cells.removeLast();
        --holes;
    }
    const int old = cells.size();
    const bool stale = holes > 0; // a cell the grid deleted behind the row's back
    holes += n - old;
    cells.resize(n);

    if (duplicates == 0) {
        // Cells follow their entries by themselves: only empty columns need one, usually just the
        // new last column, so that an insertion costs the same wherever it goes.
        for (int j = stale ? 0 : old; j < n && holes > 0; ++j) {
            if (!cells.at(j))
                AddCell(j);
        }
    } else {
        // A widget listed twice stands in the column of its first entry; the other columns stay empty.
        QSet<QWidget*> seen;
        for (int j = 0; j < from; ++j)
            seen.insert(entries.at(j).widget);
        for (int j = from; j < n; ++j) {
            const int before = seen.size();
            seen.insert(entries.at(j).widget);
            if (seen.size() == before)
                RemoveCell(j);
            else if (!cells.at(j))
                AddCell(j);
        }
    }
    grid->invalidate();
}

void ZBPositionRow::AddCell(int column)
{
    auto* cell = new Cell(this, column);
    cells[column] = cell;
    --holes;
    grid->addItem(cell, 0, column, 1, 1, Qt::Alignment());
}

void ZBPositionRow::RemoveCell(int column)
{
    Cell* cell = cells.at(column);
    if (!cell)
        return;
    cells[column] = nullptr;
    ++holes;
    // Cells are added in column order, so the last one is usually the grid's last item.
    int index = grid->count() - 1;
    if (index < 0 || grid->itemAt(index) != cell)
        index = grid->indexOf(cell);
    if (index >= 0)
        grid->takeAt(index);
    delete cell;
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
