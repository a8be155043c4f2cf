// Internal, not part of the API.
#ifndef ZBSATURATE_P_H
#define ZBSATURATE_P_H

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

} // namespace ZBSaturate

#endif // ZBSATURATE_P_H
