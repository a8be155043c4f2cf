// Internal, not part of the API.
#ifndef ZBDEFERREDDELETE_P_H
#define ZBDEFERREDDELETE_P_H

#include <functional>

class QGridLayout;
class QLayout;
class QObject;
class QWidget;

/*
    Deferred deletion of what a widget replaces. The object is deleted exactly when its own
    deleteLater() would have deleted it, unless by then it is in use again: installed again by the
    holder that let it go, or taken by another one. An application may hand a widget back and forth
    before the event loop runs; the one it installed last must survive.

    The deletion is posted to a small watcher, a child of the object, rather than to the object
    itself: a posted deletion cannot be taken back from Qt's queue, the watcher's can simply be
    ignored, and an object that dies some other way takes its watcher with it.
*/
namespace ZBDeferredDelete {

/*! Deletes \a object later unless \a inUse(object) holds by then. */
void Release(QObject* object, std::function<bool(QObject*)> inUse);

/*!
    Deletes \a widget later unless by then it stands in \a layout again, or no longer is a child
    of \a container (something else took it).
*/
void Release(QWidget* widget, QWidget* container, QLayout* layout);

/*!
    Puts \a widget, if any, into the cell (\a row, \a column) of \a grid, the layout of or within
    \a container, in place of \a old, if any: the old one leaves the grid at once, hidden, and is
    released as above. A null \a grid only releases the old one.
*/
void ReplaceInCell(QWidget* container, QGridLayout* grid, int row, int column, QWidget* old, QWidget* widget);

} // namespace ZBDeferredDelete

#endif // ZBDEFERREDDELETE_P_H
