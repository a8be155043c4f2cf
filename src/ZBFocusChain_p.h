// Internal, not part of the API.
#ifndef ZBFOCUSCHAIN_P_H
#define ZBFOCUSCHAIN_P_H

class QWidget;

namespace ZBFocusChain {

/*!
    Prepares the child widget \a widget for losing its parent. Qt moves a widget that leaves its
    window out of that window's focus chain by walking the whole chain, so taking one sub-window
    after another out of a window costs the square of their number. When the widget's descendants
    follow it directly in the chain, this takes them out together in constant time per descendant
    and links them exactly as Qt would; Qt then finds nothing left to sort.

    Returns false, changing nothing, when it cannot: the Qt running is not the one the library was
    built with (the chain is Qt's private data), the descendants are spread over the chain, or the
    focus is inside the widget (hiding it moves the focus along the window's chain first).
*/
bool Detach(QWidget* widget);

} // namespace ZBFocusChain

#endif // ZBFOCUSCHAIN_P_H
