// Internal, not part of the API: the arithmetic of moving, resizing and maximising a frameless window.
#ifndef ZBFRAMEGEOMETRY_P_H
#define ZBFRAMEGEOMETRY_P_H

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace ZBFrameGeometry {

/*! Width of the resize band along a frameless window's edges, in pixels. */
constexpr int ResizeBand = 5;

/*! Resize regions: which edges follow the mouse. The numbers are the library's own. */
enum Region : int
{
    NoRegion = 0,
    Left = 1,
    Right = 2,
    Bottom = 3,
    BottomLeft = 4,
    BottomRight = 5,
    Top = 6,
    TopLeft = 7,
    TopRight = 8
};

/*! The resize cursors: horizontal, vertical, rising (bottom-left to top-right) and falling diagonal. */
enum CursorGroup : int
{
    ArrowGroup = 0,
    HorizontalGroup = 1,
    VerticalGroup = 2,
    RisingGroup = 3,
    FallingGroup = 4
};

/*!
    Where a frame resizes: edge bands of \a band pixels and corner squares of \a corner pixels,
    tested in \a order, the edges first and then the corners. A band spans its edge less the bands
    of the edges across it that take part.
*/
struct Bands
{
    int band;
    int corner;
    QList<Region> order;
};

/*! A frameless window's: 5-pixel bands on all four edges and 9-pixel corner squares. */
const Bands& FrameBands();
/*! A floating dock widget's: no top edge (its title bar is there), 4-pixel bands, 7-pixel corners. */
const Bands& DockBands();

/*! The dimensions whose minimum and maximum are equal: edges across them do not resize. */
Qt::Orientations FixedDimensions(const QSize& minimum, const QSize& maximum);

/*!
    The region under \a point of a frame whose geometry is \a frame. The first band that holds the
    point decides; a band across a \a fixed dimension hands the point on to the corner squares,
    which resize only along the dimensions that are not fixed.
*/
Region RegionAt(const QRect& frame, const QPoint& point, Qt::Orientations fixed, const Bands& bands);

/*! The cursor group of a region. */
CursorGroup CursorGroupOf(Region region);

/*! The cursor shape of a cursor group. */
Qt::CursorShape CursorShape(CursorGroup group);

/*! The edges of the window that follow the mouse in \a region, as the window system names them. */
Qt::Edges Edges(Region region);

/*! Distance from the press point to the edges that \a region moves. */
QPoint GripOffset(Region region, const QRect& frame, const QPoint& press);

/*!
    The window rectangle \a current with the edges of \a region moved to \a point plus \a grip, each
    edge held back so that the size stays at least \a minimum.
*/
QRect Resized(Region region, const QRect& current, const QPoint& point, const QPoint& grip,
              const QSize& minimum);

/*!
    \a target, the rectangle that Resized() gives a top-level window for a resize that began on \a press,
    with its moving left or top edge shifted by the least that keeps the opposite edge on the device
    pixel it had at the press. Qt hands a window's geometry to the window system at \a scale device
    pixels per pixel, rounding the position (counted from its screen's top-left \a origin) and the size
    each on its own, so that an edge held still in pixels may move by a device pixel; it also asks the
    window manager for sizes in steps of the scale rounded, which sizes stay on where they can. The size
    stays at least \a minimum. Where no shift holds the edge (never at scale 1), \a target is returned.
*/
QRect DeviceExact(Region region, const QRect& press, const QRect& target, qreal scale, const QPoint& origin,
                  const QSize& minimum);

/*! What a maximised window may cover, as the Windows min/max information gives it. */
struct MaxInfo
{
    QSize maxSize;
    QPoint maxPosition;
    QSize minTrackSize;
    QSize maxTrackSize;
};

/*!
    The maximised-size answer for a window on a screen \a screen with work area \a available, both in
    Qt's device-independent pixels, and a window minimum size \a minimum. Windows wants device pixels,
    positions relative to the monitor: each edge is scaled by the screen's device pixel \a ratio from
    the monitor's origin, so the area covers the same device pixels whatever the scale; the minimum is
    rounded up, so the window never shrinks below it.
*/
MaxInfo MaximizedInfo(const QRect& available, const QRect& screen, bool primaryScreen, const QSize& minimum,
                      qreal ratio);

/*! Where a maximised frameless window goes: the work area, never smaller than \a minimum. */
QRect MaximizedGeometry(const QRect& available, const QSize& minimum);

} // namespace ZBFrameGeometry

#endif // ZBFRAMEGEOMETRY_P_H
