// Internal, not part of the API: the item sizes of a list, kept so that the largest size is known
// without asking the delegate for every item again.
#ifndef ZBITEMSIZECACHE_P_H
#define ZBITEMSIZECACHE_P_H

#include <QSize>
#include <functional>
#include <map>
#include <vector>

/*!
    One cached size per row, with counts of every width and height, so that the largest width and
    height are read in logarithmic time and stay right when rows come and go.

    Rows start unknown. Maximum() asks for the sizes of the unknown rows only, and only within the
    span of rows that changed since it last ran, so that filling a list one row at a time, with a
    size query after every row, costs linear time in all.
*/
class ZBItemSizeCache
{
public:
    using SizeOf = std::function<QSize(int row)>;

    /*! The number of rows the cache tracks. */
    int RowCount() const { return int(rows.size()); }

    /*! Forgets every size and tracks \a rowCount unknown rows. */
    void Reset(int rowCount);
    /*! Forgets every size: the delegate or the view's options changed. */
    void InvalidateAll();
    /*! Forgets the sizes of rows \a first to \a last; rows outside the list are ignored. */
    void Invalidate(int first, int last);
    /*! Inserts \a count unknown rows before row \a first (at the end when \a first is the row count). */
    void InsertRows(int first, int count);
    /*! Removes \a count rows from row \a first on; rows outside the list are ignored. */
    void RemoveRows(int first, int count);

    /*!
        The largest width and the largest height over all rows, each at least 0; 0 by 0 for no
        rows. \a sizeOf is called for the rows whose size is not known.
    */
    QSize Maximum(const SizeOf& sizeOf);

private:
    struct Entry
    {
        QSize size;
        bool known = false;
    };

    void Forget(Entry& entry);
    void MarkDirty(int first, int last);

    std::vector<Entry> rows;
    std::map<int, int> widthCounts;  // width -> number of known rows that wide
    std::map<int, int> heightCounts; // height -> number of known rows that tall
    // The span of rows that may hold unknown sizes; empty when first > last.
    int dirtyFirst = 0;
    int dirtyLast = -1;
};

#endif // ZBITEMSIZECACHE_P_H
