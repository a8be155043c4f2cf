// Internal, not part of the API.
#ifndef ZBSATURATE_P_H
#define ZBSATURATE_P_H

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <climits>

namespace ZBSaturate {

/*!
    \a value clamped into the range of int. Sizes and coordinates that an application may push to the
    ends of int are summed in 64 bits and brought back here, so that they stick at the end instead of
    wrapping round.
*/
inline int ToInt(qint64 value)
{
    return int(qBound(qint64(INT_MIN), value, qint64(INT_MAX)));
}

/*! A rectangle at \a topLeft of \a size, its far edges held at the end of int. */
inline QRect Rect(const QPoint& topLeft, const QSize& size)
{
    return QRect(topLeft, QPoint(ToInt(qint64(topLeft.x()) + size.width() - 1),
                                 ToInt(qint64(topLeft.y()) + size.height() - 1)));
}

} // namespace ZBSaturate

#endif // ZBSATURATE_P_H
