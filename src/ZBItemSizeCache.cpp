#include "ZBItemSizeCache_p.h"

#include <QtGlobal>

namespace {

void decrement(std::map<int, int>& counts, int key)
{
    const auto it = counts.find(key);
    if (it == counts.end())
        return;
    if (--it->second == 0)
        counts.erase(it);
}

} // namespace

void ZBItemSizeCache::Reset(int rowCount)
{
    rows.assign(size_t(qMax(0, rowCount)), Entry());
    widthCounts.clear();
    heightCounts.clear();
    dirtyFirst = 0;
    dirtyLast = RowCount() - 1;
}

void ZBItemSizeCache::InvalidateAll()
{
    Reset(RowCount());
}

void ZBItemSizeCache::Forget(Entry& entry)
{
    if (!entry.known)
        return;
    decrement(widthCounts, entry.size.width());
    decrement(heightCounts, entry.size.height());
    entry.known = false;
}

void ZBItemSizeCache::MarkDirty(int first, int last)
{
    if (first > last)
        return;
    if (dirtyFirst > dirtyLast) {
        dirtyFirst = first;
        dirtyLast = last;
    } else {
        dirtyFirst = qMin(dirtyFirst, first);
        dirtyLast = qMax(dirtyLast, last);
    }
}

void ZBItemSizeCache::Invalidate(int first, int last)
{
    first = qMax(first, 0);
    last = qMin(last, RowCount() - 1);
    for (int row = first; row <= last; ++row)
        Forget(rows[size_t(row)]);
    MarkDirty(first, last);
}

void ZBItemSizeCache::InsertRows(int first, int count)
{
    if (count <= 0 || first < 0 || first > RowCount())
        return;
    rows.insert(rows.begin() + first, size_t(count), Entry());
    if (dirtyFirst <= dirtyLast) {
        if (dirtyFirst >= first)
            dirtyFirst += count;
        if (dirtyLast >= first)
            dirtyLast += count;
    }
    MarkDirty(first, first + count - 1);
}

void ZBItemSizeCache::RemoveRows(int first, int count)
{
    if (first < 0 || first >= RowCount() || count <= 0)
        return;
    count = qMin(count, RowCount() - first);
    const int end = first + count; // one past the last removed row
    for (int row = first; row < end; ++row)
        Forget(rows[size_t(row)]);
    rows.erase(rows.begin() + first, rows.begin() + end);
    if (dirtyFirst > dirtyLast)
        return;
    // Rows after the removed ones move up; a span end inside the removed rows moves to its edge.
    dirtyFirst = dirtyFirst >= end ? dirtyFirst - count : qMin(dirtyFirst, first);
    dirtyLast = dirtyLast >= end ? dirtyLast - count : qMin(dirtyLast, first - 1);
    if (dirtyFirst > dirtyLast) {
        dirtyFirst = 0;
        dirtyLast = -1;
    }
}

QSize ZBItemSizeCache::Maximum(const SizeOf& sizeOf)
{
    if (dirtyFirst <= dirtyLast && sizeOf) {
        const int first = dirtyFirst;
        const int last = dirtyLast;
        dirtyFirst = 0;
        dirtyLast = -1;
        // sizeOf runs application code; the bounds are checked again after every call.
        for (int row = first; row <= last && row < RowCount(); ++row) {
            if (rows[size_t(row)].known)
                continue;
            const QSize size = sizeOf(row);
            if (row >= RowCount() || rows[size_t(row)].known)
                continue;
            Entry& entry = rows[size_t(row)];
            entry.size = size;
            entry.known = true;
            ++widthCounts[size.width()];
            ++heightCounts[size.height()];
        }
    }
    const int width = widthCounts.empty() ? 0 : widthCounts.rbegin()->first;
    const int height = heightCounts.empty() ? 0 : heightCounts.rbegin()->first;
    return QSize(qMax(0, width), qMax(0, height));
}
