// Internal, not part of the API.
#ifndef ZBPOSITIONROW_P_H
#define ZBPOSITIONROW_P_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVector>

class QGridLayout;
class QWidget;

/*
    One row of widgets ordered by caller-given positions, laid out in row 0 of a grid layout:
    the widget of entry j stands in column j. Used by the tool bar and by the tool bar container.

    A new widget goes after every widget whose position is less than or equal to its own; -1 means
    after the last one. Removing a widget, deleting it or reparenting it out of the host closes the
    gap, so that columns always equal list indexes.

    An insertion moves every widget behind it one column to the right. A grid layout cannot move an
    item to another cell, and taking items out and adding them back allocates and frees per item
    (about 2000 instructions each, quadratic for a row filled from the front). So the row keeps one
    layout item of its own per column, for good in its cell, which stands for whatever widget the
    entry of its column holds: an insertion anywhere adds one item for the new last column, and the
    rest is the insertion into the entry list, as in QToolBar's own list of actions.

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
    // of its ancestors, or a row whose layout is gone. With a \a before that stands in the row, the
    // widget goes right before it instead, taking its position.
    int Insert(QWidget* widget, int position, const QWidget* before = nullptr);
    // Drops every entry of \a widget and takes it out of the layout; false if it had none.
    bool Remove(QWidget* widget);
    // Drops every entry of \a object, which is being destroyed.
    void Forget(QObject* object);

    const QVector<Entry>& Entries() const { return entries; }
    bool Contains(const QObject* object) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Cell;

    // Drops the entries of one widget (recognised by its object pointer); false if it had none.
    bool DropEntries(const QObject* object);
    // Makes \a widget a child of the host the way the grid would place it, without an item.
    void Adopt(QWidget* widget);
    // Adds and removes cells so that there is one per entry from column \a from on (none for the
    // later entries of a widget listed twice).
    void Sync(int from);
    void AddCell(int column);
    void RemoveCell(int column);
    // Shows the widgets placed into the visible host since the last call, laying the row out once.
    void ShowPending();

    QPointer<QWidget> host;
    QPointer<QGridLayout> grid;
    QVector<Entry> entries;     // sorted by position, equal positions in order of insertion
    QHash<QWidget*, int> count; // entries per widget; more than one when a widget was added twice
    int duplicates = 0;         // widgets with more than one entry
    QVector<Cell*> cells;       // the row's item in each column; null where the column is empty
    int holes = 0;              // null cells
    QList<QPointer<QWidget>> pendingShow;
    bool showPosted = false;
    const bool watch;
};

Q_DECLARE_TYPEINFO(ZBPositionRow::Entry, Q_PRIMITIVE_TYPE);

#endif // ZBPOSITIONROW_P_H
