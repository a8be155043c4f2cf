// Internal, not part of the API.
#ifndef ZBPOSITIONROW_P_H
#define ZBPOSITIONROW_P_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QGridLayout;
class QWidget;

/*
    One row of widgets ordered by caller-given positions, laid out in row 0 of a grid layout:
    the widget of entry j stands in column j. Used by the tool bar and by the tool bar container.

    A new widget goes after every widget whose position is less than or equal to its own; -1 means
    after the last one. Removing a widget, deleting it or reparenting it out of the host closes the
    gap, so that columns always equal list indexes.

    Moving tools is done on the grid's items rather than by removing and re-adding widgets, because
    QLayout::removeWidget and QGridLayout::itemAtPosition scan every item: with them, a tool inserted
    at the front of a row of n tools would cost O(n^2). Here the tools stand at the end of the grid's
    item list in column order, so the ones behind an insertion point are taken off the end and put
    back one column further right: O(number of tools moved).

    Showing is the other trap: Qt shows each widget placed into a visible host from a queued call of
    its own, and every such show re-lays the whole row. The row shows its new widgets itself, all in
    one queued call that runs before Qt's, with the grid switched off meanwhile, so that the row is
    laid out once.
*/
class ZBPositionRow : public QObject
{
    Q_OBJECT

public:
    struct Entry
    {
        int position;
        QWidget* widget;
        QObject* object; // the same object, kept to recognise it while it is being destroyed
    };

    // Removes the first entry of \a list that is \a object, comparing addresses only, so that it
    // is safe for an object that is half destroyed.
    template <typename T>
    static void RemovePointer(QList<T*>& list, const QObject* object)
    {
        for (int i = 0; i < list.size(); ++i) {
            if (static_cast<const QObject*>(list.at(i)) == object) {
                list.removeAt(i);
                return;
            }
        }
    }

    // Lays the row out in \a grid, the layout of \a host. With \a watchDestruction, the row drops
    // a widget by itself when it is destroyed; otherwise the owner calls Forget().
    ZBPositionRow(QWidget* host, QGridLayout* grid, bool watchDestruction);
    ~ZBPositionRow() override;

    // Places \a widget at \a position; returns its index, or -1 for a null widget, the host or one
    // of its ancestors, or a row whose layout is gone.
    int Insert(QWidget* widget, int position);
    // Drops every entry of \a widget and takes it out of the layout; false if it had none.
    bool Remove(QWidget* widget);
    // Drops every entry of \a object, which is being destroyed.
    void Forget(QObject* object);

    const QList<Entry>& Entries() const { return entries; }
    bool Contains(const QObject* object) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Drops the entries of one widget (recognised by its object pointer); false if it had none.
    bool DropEntries(const QObject* object);
    // Re-places the tools from list index \a from on; \a gone has left the row and is taken out.
    void Relayout(int from, QWidget* gone);
    // Shows the widgets placed into the visible host since the last call, laying the row out once.
    void ShowPending();

    QPointer<QWidget> host;
    QPointer<QGridLayout> grid;
    QList<Entry> entries;       // sorted by position, equal positions in order of insertion
    QHash<QWidget*, int> count; // entries per widget; more than one when a widget was added twice
    int duplicates = 0;         // widgets with more than one entry
    QList<QPointer<QWidget>> pendingShow;
    bool showPosted = false;
    const bool watch;
};

#endif // ZBPOSITIONROW_P_H
