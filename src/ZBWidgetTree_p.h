// Internal, not part of the API.
#ifndef ZBWIDGETTREE_P_H
#define ZBWIDGETTREE_P_H

#include <QWidget>

namespace ZBWidgetTree {

/*!
    Whether \a widget is \a ancestor or lies anywhere below it. Unlike QWidget::isAncestorOf(), the
    walk goes on past windows: handing a holder one of its ancestors makes a cycle all the same when
    the holder sits in a window of its own.
*/
inline bool Within(const QWidget* widget, const QWidget* ancestor)
{
    for (; widget && ancestor; widget = widget->parentWidget()) {
        if (widget == ancestor)
            return true;
    }
    return false;
}

} // namespace ZBWidgetTree

#endif // ZBWIDGETTREE_P_H
