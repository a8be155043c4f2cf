#include "ZBSparseGridLayout_p.h"

#include "ZBQtCompat_p.h"

#include <QWidget>
#include <algorithm>

// Stands in the copy for an item of the real grid: every question and every geometry goes to it.
class ZBSparseGridLayout::Stand : public QLayoutItem
{
public:
    explicit Stand(QLayoutItem* item) : item(item) {}

    QSize sizeHint() const override { return item->sizeHint(); }
    QSize minimumSize() const override { return item->minimumSize(); }
    QSize maximumSize() const override { return item->maximumSize(); }
    Qt::Orientations expandingDirections() const override { return item->expandingDirections(); }
    void setGeometry(const QRect& rect) override { item->setGeometry(rect); }
    QRect geometry() const override { return item->geometry(); }
    bool isEmpty() const override { return item->isEmpty(); }
    bool hasHeightForWidth() const override { return item->hasHeightForWidth(); }
    int heightForWidth(int width) const override { return item->heightForWidth(width); }
    int minimumHeightForWidth(int width) const override { return item->minimumHeightForWidth(width); }
    // The grid reads the stretch factors from the widget's size policy.
    QWidget* widget() ZB_LAYOUT_ITEM_WIDGET_CONST override { return item->widget(); }
    QSizePolicy::ControlTypes controlTypes() const override { return item->controlTypes(); }

private:
    QLayoutItem* const item;
};

bool ZBSparseGridLayout::Cell::operator==(const Cell& other) const
{
    return item == other.item && row == other.row && column == other.column && rowSpan == other.rowSpan &&
           columnSpan == other.columnSpan && alignment == other.alignment;
}

ZBSparseGridLayout::ZBSparseGridLayout() = default;

ZBSparseGridLayout::~ZBSparseGridLayout() = default;

QGridLayout* ZBSparseGridLayout::Compact() const
{
    const int hSpacing = horizontalSpacing();
    const int vSpacing = verticalSpacing();
    if (hSpacing < 0 || vSpacing < 0)
        return nullptr;
    if (!stale)
        return compact.get();

    QVector<Cell> now;
    now.reserve(count());
    for (int i = 0; i < count(); ++i) {
        Cell cell{itemAt(i), 0, 0, 0, 0, Qt::Alignment()};
        getItemPosition(i, &cell.row, &cell.column, &cell.rowSpan, &cell.columnSpan);
        // An item spanning cells makes the empty ones between count: the copy would differ.
        if (cell.rowSpan != 1 || cell.columnSpan != 1)
            return nullptr;
        cell.alignment = cell.item->alignment();
        now.append(cell);
    }
    if (!compact || now != cells) {
        cells = now;
        Rebuild();
    }

    for (int r = 0; r < rows.size(); ++r) {
        compact->setRowStretch(r, rowStretch(rows.at(r)));
        compact->setRowMinimumHeight(r, rowMinimumHeight(rows.at(r)));
    }
    for (int c = 0; c < columns.size(); ++c) {
        compact->setColumnStretch(c, columnStretch(columns.at(c)));
        compact->setColumnMinimumWidth(c, columnMinimumWidth(columns.at(c)));
    }

    compact->setContentsMargins(contentsMargins());
    compact->setHorizontalSpacing(hSpacing);
    compact->setVerticalSpacing(vSpacing);
    compact->setAlignment(alignment());
    // The copy has no parent widget: it takes the right-to-left direction as a reversed origin.
    const Qt::Corner corner = originCorner();
    const bool rightToLeft = parentWidget() && parentWidget()->isRightToLeft();
    const bool right = (corner == Qt::TopRightCorner || corner == Qt::BottomRightCorner) != rightToLeft;
    const bool bottom = corner == Qt::BottomLeftCorner || corner == Qt::BottomRightCorner;
    compact->setOriginCorner(bottom ? (right ? Qt::BottomRightCorner : Qt::BottomLeftCorner)
                                    : (right ? Qt::TopRightCorner : Qt::TopLeftCorner));
    compact->invalidate();
    stale = false;
    return compact.get();
}

void ZBSparseGridLayout::Rebuild() const
{
    compact.reset(new QGridLayout);
    rows.clear();
    columns.clear();
    for (const Cell& cell : std::as_const(cells)) {
        rows.append(cell.row);
        columns.append(cell.column);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    for (const Cell& cell : std::as_const(cells)) {
        const int r = int(std::lower_bound(rows.begin(), rows.end(), cell.row) - rows.begin());
        const int c = int(std::lower_bound(columns.begin(), columns.end(), cell.column) - columns.begin());
        compact->addItem(new Stand(cell.item), r, c, 1, 1, cell.alignment);
    }
}

QSize ZBSparseGridLayout::sizeHint() const
{
    const QGridLayout* copy = Compact();
    return copy ? copy->sizeHint() : QGridLayout::sizeHint();
}

QSize ZBSparseGridLayout::minimumSize() const
{
    const QGridLayout* copy = Compact();
    return copy ? copy->minimumSize() : QGridLayout::minimumSize();
}

QSize ZBSparseGridLayout::maximumSize() const
{
    const QGridLayout* copy = Compact();
    return copy ? copy->maximumSize() : QGridLayout::maximumSize();
}

Qt::Orientations ZBSparseGridLayout::expandingDirections() const
{
    const QGridLayout* copy = Compact();
    return copy ? copy->expandingDirections() : QGridLayout::expandingDirections();
}

bool ZBSparseGridLayout::hasHeightForWidth() const
{
    const QGridLayout* copy = Compact();
    return copy ? copy->hasHeightForWidth() : QGridLayout::hasHeightForWidth();
}

int ZBSparseGridLayout::heightForWidth(int width) const
{
    const QGridLayout* copy = Compact();
    return copy ? copy->heightForWidth(width) : QGridLayout::heightForWidth(width);
}

int ZBSparseGridLayout::minimumHeightForWidth(int width) const
{
    const QGridLayout* copy = Compact();
    return copy ? copy->minimumHeightForWidth(width) : QGridLayout::minimumHeightForWidth(width);
}

void ZBSparseGridLayout::setGeometry(const QRect& rect)
{
    QGridLayout* copy = Compact();
    // Squeezed below its minimum size, a grid shares the shortage among all its columns and rows,
    // the empty ones included.
    const QSize minimum = copy ? copy->minimumSize() : QSize();
    // In 64 bits: margins near the end of int leave a rectangle whose own width() would overflow.
    const qint64 width = qint64(rect.right()) - rect.left() + 1;
    const qint64 height = qint64(rect.bottom()) - rect.top() + 1;
    if (!copy || width < minimum.width() || height < minimum.height()) {
        QGridLayout::setGeometry(rect);
        return;
    }
    copy->setGeometry(rect);
    QLayout::setGeometry(rect);
}

void ZBSparseGridLayout::invalidate()
{
    QGridLayout::invalidate();
    stale = true;
}
