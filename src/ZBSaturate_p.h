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

/*! A rectangle at \a topLeft of \a size, shrunk where its far edges would pass the end of int. */
inline QRect Rect(const QPoint& topLeft, const QSize& size)
{
    const qint64 width = qMin(qint64(size.width()), qint64(INT_MAX) - topLeft.x() + 1);
    const qint64 height = qMin(qint64(size.height()), qint64(INT_MAX) - topLeft.y() + 1);
    return QRect(topLeft, QSize(ToInt(width), ToInt(height)));
}

} // namespace ZBSaturate

#endif // ZBSATURATE_P_H
