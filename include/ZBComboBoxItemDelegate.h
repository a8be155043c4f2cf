#ifndef ZBCOMBOBOXITEMDELEGATE_H
#define ZBCOMBOBOXITEMDELEGATE_H

#include "zebguicore_export.h"

#include <QStyledItemDelegate>

/*!
    The item delegate of a ZBComboBox. Applications derive from it: it paints the list's rows like
    any QStyledItemDelegate, and adds the painting of the current item into the combo box's face
    and the sizes that the list and the combo box are laid out with.

    Emit Clicked() and DoubleClicked() (for example from editorEvent()) when the user clicks or
    double-clicks an item: the combo box then closes its list.

    The list view lays its rows out with sizeHint(), which asks QStyledItemDelegate for every row
    when the list opens after a change. A delegate that returns ItemSizeHint() from sizeHint()
    gets rows exactly as tall as the list's height assumes, and opens a list of many thousand items
    as fast as its ItemSizeHint() is.
*/
class ZEBGUICORE_EXPORT ZBComboBoxItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    /*!
        Builds the delegate as a child of \a parent, which owns it; a combo box that uses it does
        not (see ZBComboBox::SetItemDelegate()).
    */
    explicit ZBComboBoxItemDelegate(QObject* parent = nullptr);
    ~ZBComboBoxItemDelegate() override;

    /*!
        Paints the item \a index into the combo box's face. \a option holds the list's item options
        with its rectangle set to the whole combo box. \a index is invalid when no item is current.
    */
    virtual void PaintCurrentItem(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const = 0;

    /*!
        The size that the item \a index needs. The list takes the tallest item as the height of
        every row, and the combo box asks for the widest and the tallest item.
    */
    virtual QSize ItemSizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const = 0;

    /*! The smallest size of the combo box's face. */
    virtual QSize MinimumSizeHint(const QStyleOptionViewItem& option) const = 0;

Q_SIGNALS:
    /*! Emit when the user clicks the item \a index; the library never emits it. */
    void Clicked(const QModelIndex& index);
    /*! Emit when the user double-clicks the item \a index; the library never emits it. */
    void DoubleClicked(const QModelIndex& index);
};

#endif // ZBCOMBOBOXITEMDELEGATE_H
