// Internal, not part of the API: the arithmetic of moving, resizing and maximising a frameless window.
#ifndef ZBFRAMEGEOMETRY_P_H
#define ZBFRAMEGEOMETRY_P_H

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace ZBFrameGeometry {

/*! Resize regions: which edges follow the mouse. */
enum Region
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

/*! The resize region under \a point for a window whose frame geometry is \a frame. */
int RegionAt(const QRect& frame, const QPoint& point, bool widthFixed, bool heightFixed);

/*! The cursor group of a region: 0 arrow, 1 horizontal, 2 vertical, 3 rising and 4 falling diagonal. */
int CursorGroup(int region);

/*! The cursor shape of a cursor group. */
Qt::CursorShape CursorShape(int group);

/*! Distance from the press point to the edges that \a region moves. */
QPoint GripOffset(int region, const QRect& frame, const QPoint& press);

/*!
    The window rectangle \a current with the edges of \a region moved to \a point plus \a grip, each
    edge held back so that the size stays at least \a minimum.
*/
QRect Resized(int region, const QRect& current, const QPoint& point, const QPoint& grip,
              const QSize& minimum);

/*! What a maximised window may cover, as the Windows min/max information gives it. */
struct MaxInfo
{
    QSize maxSize;
    QPoint maxPosition;
    QSize minTrackSize;
    QSize maxTrackSize;
};

/*! The maximised-size answer for a window on a screen with work area \a available. */
MaxInfo MaximizedInfo(const QRect& available, bool primaryScreen, const QSize& minimum);

/*! Where a maximised frameless window goes: the work area, never smaller than \a minimum. */
QRect MaximizedGeometry(const QRect& available, const QSize& minimum);

} // namespace ZBFrameGeometry

#endif // ZBFRAMEGEOMETRY_P_H
