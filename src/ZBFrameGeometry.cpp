#include "ZBFrameGeometry_p.h"
#include "ZBSaturate_p.h"

#include <cmath>

#include <QPair>
#include <QtMath>

namespace ZBFrameGeometry {

namespace {

bool inside(int value, int low, int high)
{
    return low <= value && value <= high;
}

bool movesLeft(Region region)
{
    return region == Left || region == BottomLeft || region == TopLeft;
}
bool movesRight(Region region)
{
    return region == Right || region == BottomRight || region == TopRight;
}
bool movesBottom(Region region)
{
    return region == Bottom || region == BottomLeft || region == BottomRight;
}
bool movesTop(Region region)
{
    return region == Top || region == TopLeft || region == TopRight;
}

// Where Qt puts a window's edge in device pixels, and how long it makes a side.
int devicePos(qint64 pos, int origin, qreal scale)
{
    return origin + qRound((pos - origin) * scale);
}
int deviceLength(qint64 length, qreal scale)
{
    return qRound(length * scale);
}

// Along one axis: the start and length closest to \a start and \a length whose device end is that of
// the press, or the given ones where the rounding leaves none within reach. Under a scale factor Qt asks
// the window manager for sizes in steps of the scale rounded (its normalised size increment), and a
// window manager that honours them cuts a length in between: lengths on those steps come first.
QPair<int, int> holdEnd(int pressStart, int pressLength, int start, int length, int minimum, int origin,
                        qreal scale)
{
    const qint64 end = qint64(pressStart) + pressLength; // one past the last pixel
    const int deviceEnd = devicePos(pressStart, origin, scale) + deviceLength(pressLength, scale);
    const int increment = qMax(1, qRound(scale));
    const int reach = 2 * int(std::ceil(scale)) + 1;
    for (const int steps : {increment, 1}) {
        for (int shift = 0; shift <= reach; ++shift) {
            for (const qint64 x : {qint64(start) - shift, qint64(start) + shift}) {
                for (const qint64 n : {end - x, end - x - 1, end - x + 1}) {
                    const int device = deviceLength(n, scale);
                    if (n >= minimum && device % steps == 0 &&
                        devicePos(x, origin, scale) + device == deviceEnd)
                        return {int(x), int(n)};
                }
            }
        }
    }
    return {start, length};
}

} // namespace

const Bands& FrameBands()
{
    static const Bands bands{
        ResizeBand, 9, {Left, Right, Bottom, Top, BottomLeft, BottomRight, TopLeft, TopRight}};
    return bands;
}

const Bands& DockBands()
{
    static const Bands bands{4, 7, {Left, Right, Bottom, BottomLeft, BottomRight}};
    return bands;
}

Qt::Orientations FixedDimensions(const QSize& minimum, const QSize& maximum)
{
    Qt::Orientations fixed;
    fixed.setFlag(Qt::Horizontal, minimum.width() == maximum.width());
    fixed.setFlag(Qt::Vertical, minimum.height() == maximum.height());
    return fixed;
}

Region RegionAt(const QRect& f, const QPoint& p, Qt::Orientations fixed, const Bands& bands)
{
    const int x = p.x();
    const int y = p.y();
    const int in = bands.band - 1; // from an edge to the innermost pixel of its band
    const auto inset = [&](Region edge) { return bands.order.contains(edge) ? in : 0; };
    const bool sideRows = inside(y, f.top() + inset(Top), f.bottom() - inset(Bottom));
    const bool endColumns = inside(x, f.left() + inset(Left), f.right() - inset(Right));
    const auto column = [&](bool left, int width) {
        return left ? inside(x, f.left(), f.left() + width) : inside(x, f.right() - width, f.right());
    };
    const auto row = [&](bool bottom, int height) {
        return bottom ? inside(y, f.bottom() - height, f.bottom()) : inside(y, f.top(), f.top() + height);
    };

    bool toCorners = false;
    for (const Region region : bands.order) {
        const bool left = movesLeft(region);
        const bool bottom = movesBottom(region);
        const bool horizontal = left || movesRight(region);
        const bool vertical = bottom || movesTop(region);
        if (horizontal && vertical) {
            // A corner square resizes along the dimensions that are not fixed.
            if (!column(left, bands.corner - 1) || !row(bottom, bands.corner - 1))
                continue;
            if (fixed == Qt::Vertical)
                return left ? Left : Right;
            if (fixed == Qt::Horizontal)
                return bottom ? Bottom : Top;
            return fixed ? NoRegion : region;
        }
        if (toCorners || !(horizontal ? sideRows && column(left, in) : endColumns && row(bottom, in)))
            continue;
        if (!(fixed & (horizontal ? Qt::Horizontal : Qt::Vertical)))
            return region;
        toCorners = true; // a band across a fixed dimension hands the point to the corner squares
    }
    return NoRegion;
}

CursorGroup CursorGroupOf(Region region)
{
    static const CursorGroup groups[] = {ArrowGroup,    HorizontalGroup, HorizontalGroup,
                                         VerticalGroup, RisingGroup,     FallingGroup,
                                         VerticalGroup, FallingGroup,    RisingGroup};
    return region >= NoRegion && region <= TopRight ? groups[region] : ArrowGroup;
}

Qt::CursorShape CursorShape(CursorGroup group)
{
    switch (group) {
    case HorizontalGroup:
        return Qt::SizeHorCursor;
    case VerticalGroup:
        return Qt::SizeVerCursor;
    case RisingGroup:
        return Qt::SizeBDiagCursor;
    case FallingGroup:
        return Qt::SizeFDiagCursor;
    case ArrowGroup:
        break;
    }
    return Qt::ArrowCursor;
}

Qt::Edges Edges(Region region)
{
    Qt::Edges edges;
    edges.setFlag(Qt::LeftEdge, movesLeft(region));
    edges.setFlag(Qt::RightEdge, movesRight(region));
    edges.setFlag(Qt::TopEdge, movesTop(region));
    edges.setFlag(Qt::BottomEdge, movesBottom(region));
    return edges;
}

QPoint GripOffset(Region region, const QRect& f, const QPoint& p)
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

QRect Resized(Region region, const QRect& current, const QPoint& p, const QPoint& grip, const QSize& m)
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

QRect DeviceExact(Region region, const QRect& press, const QRect& target, qreal scale, const QPoint& origin,
                  const QSize& minimum)
{
    // Device positions are computed in double and must fit an int: far beyond any screen, leave it be.
    constexpr int far = 1 << 24;
    const QRect bounds(QPoint(-far, -far), QPoint(far, far));
    if (!(scale > 0.0 && scale < 64.0) || !bounds.contains(press) || !bounds.contains(target) ||
        !bounds.contains(origin))
        return target;
    QRect r = target;
    if (movesLeft(region)) {
        const auto x = holdEnd(press.left(), press.width(), target.left(), target.width(), minimum.width(),
                               origin.x(), scale);
        r.setLeft(x.first);
        r.setWidth(x.second);
    }
    if (movesTop(region)) {
        const auto y = holdEnd(press.top(), press.height(), target.top(), target.height(), minimum.height(),
                               origin.y(), scale);
        r.setTop(y.first);
        r.setHeight(y.second);
    }
    return r;
}

MaxInfo MaximizedInfo(const QRect& available, const QRect& screen, bool primaryScreen, const QSize& minimum,
                      qreal ratio)
{
    const auto device = [ratio](qint64 logical) {
        return ZBSaturate::ToInt(qRound64(qreal(logical) * ratio));
    };
    const auto deviceUp = [ratio](int logical) {
        return ZBSaturate::ToInt(qint64(std::ceil(logical * ratio)));
    };
    const qint64 left = qint64(available.left()) - screen.left(),
                 top = qint64(available.top()) - screen.top();
    const QPoint topLeft(device(left), device(top));
    const QPoint end(device(left + available.width()), device(top + available.height()));
    MaxInfo info;
    info.maxSize = QSize(end.x() - topLeft.x(), end.y() - topLeft.y());
    info.maxPosition = primaryScreen ? topLeft : QPoint(0, 0);
    info.minTrackSize = QSize(deviceUp(minimum.width()), deviceUp(minimum.height()));
    info.maxTrackSize = info.maxSize;
    return info;
}

QRect MaximizedGeometry(const QRect& available, const QSize& minimum)
{
    return QRect(available.topLeft(), available.size().expandedTo(minimum));
}

} // namespace ZBFrameGeometry
