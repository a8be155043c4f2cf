#include "ZBFocusChain_p.h"

#include <QApplication>
#include <QWidget>

#if defined(ZB_HAVE_QT_WIDGETS_PRIVATE)
#include <QtWidgets/private/qwidget_p.h>

namespace {

// The links are read from Qt's private widget data, whose layout is that of the Qt the library was
// compiled with.
bool SameQt()
{
    static const bool same = qstrcmp(qVersion(), QT_VERSION_STR) == 0;
    return same;
}

QWidgetPrivate* P(QWidget* widget)
{
    return QWidgetPrivate::get(widget);
}

// The descendants that share the widget's window, and with it its focus chain.
int DescendantsInWindow(const QWidget* widget)
{
    int count = 0;
    for (QObject* child : widget->children()) {
        if (!child->isWidgetType())
            continue;
        const auto* childWidget = static_cast<const QWidget*>(child);
        if (!childWidget->isWindow())
            count += 1 + DescendantsInWindow(childWidget);
    }
    return count;
}

} // namespace

bool ZBFocusChain::Detach(QWidget* widget)
{
    if (!widget || widget->isWindow() || !SameQt())
        return false;
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == widget || widget->isAncestorOf(focus)))
        return false;
    QWidget* before = P(widget)->focus_prev;
    if (!before || P(before)->focus_next != widget)
        return false;
    // The run of descendants right after the widget must hold all of them.
    QWidget* last = widget;
    for (int i = DescendantsInWindow(widget); i > 0; --i) {
        QWidget* next = P(last)->focus_next;
        if (!next || next == widget || !widget->isAncestorOf(next))
            return false;
        last = next;
    }
    QWidget* after = P(last)->focus_next;
    if (!after || after == widget || P(after)->focus_prev != last)
        return false;
    P(before)->focus_next = after;
    P(after)->focus_prev = before;
    P(last)->focus_next = widget;
    P(widget)->focus_prev = last;
    return true;
}

#else

bool ZBFocusChain::Detach(QWidget* /*widget*/)
{
    return false;
}

#endif
