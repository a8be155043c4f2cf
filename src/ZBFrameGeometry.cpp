#include "ZBFrameGeometry_p.h"

namespace ZBFrameGeometry {

namespace {

bool inside(int value, int low, int high)
{
    return low <= value && value <= high;
}

bool movesLeft(int region)
{
    return region == Left || region == BottomLeft || region == TopLeft;
}
bool movesRight(int region)
{
    return region == Right || region == BottomRight || region == TopRight;
}
bool movesBottom(int region)
{
    return region == Bottom || region == BottomLeft || region == BottomRight;
}
bool movesTop(int region)
{
    return region == Top || region == TopLeft || region == TopRight;
}

} // namespace

int RegionAt(const QRect& f, const QPoint& p, bool widthFixed, bool heightFixed)
{
    const int x = p.x();
    const int y = p.y();
    const bool sideRows = inside(y, f.top() + 4, f.bottom() - 4);
    const bool endColumns = inside(x, f.left() + 4, f.right() - 4);

    // The 5-pixel bands first; a fixed dimension sends its bands on to the corner squares.
    bool toCorners = false;
    if (inside(x, f.left(), f.left() + 4) && sideRows) {
        if (!widthFixed)
            return Left;
        toCorners = true;
    }
    if (!toCorners && inside(x, f.right() - 4, f.right()) && sideRows) {
        if (!widthFixed)
            return Right;
        toCorners = true;
    }
    if (!toCorners && endColumns && inside(y, f.bottom() - 4, f.bottom())) {
        if (!heightFixed)
            return Bottom;
        toCorners = true;
    }
    if (!toCorners && endColumns && inside(y, f.top(), f.top() + 4)) {
        if (!heightFixed)
            return Top;
    }

    // 9 by 9 corner squares, bottom-left, bottom-right, top-left, top-right.
    struct Square
    {
        bool left;
        bool bottom;
        int corner;
    };
    static const Square squares[] = {{true, true, BottomLeft},
                                     {false, true, BottomRight},
                                     {true, false, TopLeft},
                                     {false, false, TopRight}};
    for (const Square& s : squares) {
        const bool inX = s.left ? inside(x, f.left(), f.left() + 8) : inside(x, f.right() - 8, f.right());
        const bool inY = s.bottom ? inside(y, f.bottom() - 8, f.bottom()) : inside(y, f.top(), f.top() + 8);
        if (!inX || !inY)
            continue;
        if (!widthFixed && !heightFixed)
            return s.corner;
        if (!widthFixed)
            return s.left ? Left : Right;
        if (!heightFixed)
            return s.bottom ? Bottom : Top;
        return NoRegion;
    }
    return NoRegion;
}

int CursorGroup(int region)
{
    static const int groups[] = {0, 1, 1, 2, 3, 4, 2, 4, 3};
    return region >= 0 && region <= 8 ? groups[region] : 0;
}

Qt::CursorShape CursorShape(int group)
{
    switch (group) {
    case 1:
        return Qt::SizeHorCursor;
    case 2:
        return Qt::SizeVerCursor;
    case 3:
        return Qt::SizeBDiagCursor;
    case 4:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QPoint GripOffset(int region, const QRect& f, const QPoint& p)
{
    QPoint grip;
    if (movesLeft(region))
        grip.setX(f.left() - p.x());
    else if (movesRight(region))
        grip.setX(f.right() - p.x());
    if (movesBottom(region))
        grip.setY(f.bottom() - p.y());
    else if (movesTop(region))
        grip.setY(f.top() - p.y());
    return grip;
}

QRect Resized(int region, const QRect& current, const QPoint& p, const QPoint& grip, const QSize& m)
{
    int x1 = current.left();
    int y1 = current.top();
    int x2 = current.right();
    int y2 = current.bottom();
    if (movesLeft(region)) {
        x1 = p.x() + grip.x();
        if (x2 - x1 + 1 < m.width())
            x1 = x2 - m.width() + 1;
    }
    if (movesRight(region)) {
        x2 = p.x() + grip.x();
        if (x2 - x1 + 1 < m.width())
            x2 = x1 + m.width() - 1;
    }
    if (movesTop(region)) {
        y1 = p.y() + grip.y();
        if (y2 - y1 + 1 < m.height())
            y1 = y2 - m.height() + 1;
    }
    if (movesBottom(region)) {
        y2 = p.y() + grip.y();
        if (y2 - y1 + 1 < m.height())
            y2 = y1 + m.height() - 1;
    }
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

MaxInfo MaximizedInfo(const QRect& available, bool primaryScreen, const QSize& minimum)
{
    MaxInfo info;
    info.maxSize = available.size();
    info.maxPosition = primaryScreen ? available.topLeft() : QPoint(0, 0);
    info.minTrackSize = minimum;
    info.maxTrackSize = available.size();
    return info;
}

QRect MaximizedGeometry(const QRect& available, const QSize& minimum)
{
    return QRect(available.topLeft(), available.size().expandedTo(minimum));
}

} // namespace ZBFrameGeometry
