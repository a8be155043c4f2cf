// Internal, not part of the API.
#ifndef ZBSPARSEGRIDLAYOUT_P_H
#define ZBSPARSEGRIDLAYOUT_P_H

#include <QGridLayout>
#include <QVector>
#include <memory>

/*!
    A grid layout for a few items spread over far-apart cells, such as the title bar's buttons in
    columns 1000, 999, 998. Its cells are QGridLayout's own (itemAtPosition() and getItemPosition()
    answer as usual), but QGridLayout computes sizes and geometry over every column up to the last
    one used: about a thousand per pass for the title bar, which made a window's first layout
    several times slower than its widgets called for.

    Empty columns and rows take no room and no spacing in a grid. So this layout computes its
    geometry on a copy of itself with only the columns and rows that hold items, in the same order,
    whose items stand in for the real ones: the result is the one QGridLayout gives. The copy is
    checked against the items after every invalidation, and rebuilt when they moved.

    The copy carries the margins, the spacings, the origin corner (with the parent widget's layout
    direction), the layout's alignment and the stretch factors and minimum sizes of the used columns
    and rows; stretch factors and minimum sizes of empty columns and rows are not carried over (the
    library sets none). The layout computes as QGridLayout does without a fixed spacing (the style's
    spacing depends on each pair of neighbours), with items spanning several cells, and when it is
    squeezed below its minimum size.
*/
class ZBSparseGridLayout : public QGridLayout
{
public:
    ZBSparseGridLayout();
    ~ZBSparseGridLayout() override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    QSize maximumSize() const override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    int minimumHeightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;
    void invalidate() override;

private:
    class Stand;
    struct Cell
    {
        QLayoutItem* item;
        int row, column, rowSpan, columnSpan;
        Qt::Alignment alignment;
        bool operator==(const Cell& other) const;
    };

    // The copy, brought up to date; null when the layout has to compute as QGridLayout does.
    QGridLayout* Compact() const;
    void Rebuild() const;

    mutable std::unique_ptr<QGridLayout> compact;
    mutable QVector<Cell> cells;  // the items the copy was built from
    mutable QVector<int> rows;    // the rows and columns that hold items, ascending: row r of the
    mutable QVector<int> columns; // copy is rows[r], column c is columns[c]
    mutable bool stale = true;
};

#endif // ZBSPARSEGRIDLAYOUT_P_H
