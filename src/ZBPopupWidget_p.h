// Internal, not part of the API: the frameless window that holds a ZBComboBox's list.
#ifndef ZBPOPUPWIDGET_P_H
#define ZBPOPUPWIDGET_P_H

#include "ZBItemSizeCache_p.h"
#include "ZBWidget.h"

#include <QListView>
#include <QModelIndex>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <functional>
#include <memory>

class QAbstractItemDelegate;
class QKeyEvent;
class QPainter;
class QStandardItemModel;
class ZBComboBoxItemDelegate;
class ZBFooterBar;
class ZBPopupWidgetPrivate;

/*!
    The list of a ZBComboBox in a frameless window: a one-column item model shown in a list view
    ("ZBCOMBOBOXPOPUPWIDGETITEMAREA") over a footer bar ("ZBCOMBOBOXPOPUPWIDGETFOOTER"). It keeps
    the current index and reports index and data changes by signals; the combo box is its only user.
*/
class ZBPopupWidget : public ZBWidget
{
    Q_OBJECT

public:
    class ZBPopupItemArea;

    explicit ZBPopupWidget(QWidget* parent);
    ~ZBPopupWidget() override;

    /*! Inserts an empty row at \a index; outside 0 to the row count nothing happens. */
    void InsertItem(int index);
    /*!
        Removes row \a index (nothing for a row that does not exist) and announces the current
        index again as CurrentIndexChanged(-2, current). The current index keeps its number, not its
        item, and is moved onto the last row when it fell off the end.
    */
    void RemoveItem(int index);
    /*! Moves row \a index to the top and makes it current; a row that does not exist is ignored. */
    void RaiseItem(int index);
    /*! Sets \a value for \a role on row \a index; a row that does not exist is ignored. */
    void SetItemData(int index, const QVariant& value, int role);
    /*! The value of \a role on row \a index; a null QVariant for a row that does not exist. */
    QVariant GetItemData(int index, int role) const;
    int GetItemCount() const;
    /*! The row of the list's current item, -1 when there is none. */
    int CurrentIndex() const;
    /*! The decoration size of the list's item options. */
    QSize GetIconSize() const;

    ZBComboBoxItemDelegate* GetItemDelegate() const;
    /*!
        Paints the list with \a delegate and takes the face painting and the sizes from it. A
        delegate that this replaces is deleted later. Null or the installed delegate is ignored.
    */
    void SetItemDelegate(ZBComboBoxItemDelegate* delegate);
    ZBFooterBar* GetFooter() const;
    /*! The list view, for keyboard handling and accessibility. */
    QListView* ItemArea() const;

    /*! The largest width and the largest height over all items, 0 by 0 for an empty list. */
    QSize MaximumItemSize() const;
    /*! The number of rows the list shows at once: the item count, at most 8. */
    int VisibleRows() const;
    /*! The tallest item's height times VisibleRows(); at most QWIDGETSIZE_MAX. */
    int ListHeight() const;
    /*! The smallest face of the combo box: the delegate's minimum, else MaximumItemSize(). */
    QSize FaceSizeHint() const;
    /*! Paints the current item into \a rect through the delegate; nothing without one. */
    void PaintCurrentItem(QPainter* painter, const QRect& rect);

Q_SIGNALS:
    void CurrentIndexChanged(int oldIndex, int newIndex);
    void CurrentIndexChanged(int newIndex); // declared for applications that look it up; never emitted
    void IndexRaised(int index);            // declared for applications that look it up; never emitted
    void ItemDataChanged(int first, int last);
    void ItemClicked(int index);
    void ItemDoubleClicked(int index);

public Q_SLOTS:
    /*!
        Makes row \a index current and emits CurrentIndexChanged(old, index) once; nothing when
        \a index is the stored current index. A row that does not exist clears the list's current
        item, which is announced first as CurrentIndexChanged(index, -1).
    */
    void SetCurrentIndex(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private Q_SLOTS:
    void OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void OnClicked(const QModelIndex& index);
    void OnDoubleClicked(const QModelIndex& index);
    void OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

private:
    friend class ZBPopupWidgetPrivate;
    std::unique_ptr<ZBPopupWidgetPrivate> const d;
};

/*!
    The popup's list view: makes the view's item options readable, reports the changes that alter
    them, and takes the focus without choosing an item.
*/
class ZBPopupWidget::ZBPopupItemArea : public QListView
{
    Q_OBJECT

public:
    explicit ZBPopupItemArea(QWidget* parent);

    /*! The options that the view paints its items with. */
    QStyleOptionViewItem ViewOptions() const;
    /*! Called when a change of font, style or direction changes the options. */
    void SetOptionsChangedHandler(std::function<void()> handler);

protected:
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    std::function<void()> optionsChanged;
};

class ZBPopupWidgetPrivate
{
public:
    explicit ZBPopupWidgetPrivate(ZBPopupWidget* q);

    void Init();
    void WatchModel();
    QModelIndex IndexOf(int row) const;
    // The size of one item: the installed delegate's ItemSizeHint, else the list's own delegate.
    QSize ItemSize(const QStyleOptionViewItem& option, int row) const;
    // Back to the list's own delegate after the installed one was deleted behind the popup's back.
    void OnDelegateDestroyed();

    ZBPopupWidget* const q;
    QPointer<ZBPopupWidget::ZBPopupItemArea> itemArea; // "ZBCOMBOBOXPOPUPWIDGETITEMAREA"
    QPointer<QStandardItemModel> model;                // one column; one row per item
    QPointer<ZBComboBoxItemDelegate> delegate;         // null until SetItemDelegate
    QPointer<ZBFooterBar> footer;                      // "ZBCOMBOBOXPOPUPWIDGETFOOTER"
    int maxVisibleRows = 8;
    int currentIndex = -1; // the row last announced as current; -2 only inside RemoveItem
    // While a row is removed, the selection model moves its current item on its own; RemoveItem
    // announces the outcome once afterwards.
    bool removing = false;
    QPointer<QAbstractItemDelegate> listDelegate; // the view's own delegate, used without one installed
    mutable ZBItemSizeCache sizes;
};

#endif // ZBPOPUPWIDGET_P_H
