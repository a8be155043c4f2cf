// Internal, not part of the API.
#ifndef ZBWIDGETTREE_P_H
#define ZBWIDGETTREE_P_H

#include <QGridLayout>
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

/*!
    Gives \a widget a new grid layout. A widget that is not visible yet gets it without the layout
    request that Qt posts otherwise: Qt activates the layout when the widget is shown in any case.
    Posting that request to a new widget, whose polish request still waits in the queue, makes Qt
    search the whole queue of posted events, so building many widgets before the event loop runs
    would take time growing with the square of their number.
*/
inline QGridLayout* NewGridLayout(QWidget* widget)
{
    auto* grid = new QGridLayout;
    if (!widget->isVisible())
        grid->invalidate(); // on a layout that has no widget yet, this only marks it inactive
    widget->setLayout(grid);
    return grid;
}

/*!
    Activates the layouts of \a widget and of every descendant in its window, the innermost first,
    before the widget is shown. Qt would activate them while showing, outside in, and each inner
    activation would then undo its parent's and post it a new layout request (see NewGridLayout()).
*/
inline void ActivateLayouts(QWidget* widget)
{
    for (QObject* child : widget->children()) {
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            ActivateLayouts(static_cast<QWidget*>(child));
    }
    if (QLayout* layout = widget->layout())
        layout->activate();
}

} // namespace ZBWidgetTree

#endif // ZBWIDGETTREE_P_H
