#ifndef ZBCOMBOBOX_H
#define ZBCOMBOBOX_H

#include "zebguicore_export.h"

#include <QVariant>
#include <QWidget>
#include <memory>

class ZBComboBoxItemDelegate;
class ZBComboBoxPrivate;
class ZBFooterBar;

/*!
    A combo box whose items open in a frameless popup window laid over it.

    Items are rows of a one-column model: InsertItem() adds an empty row and SetItemData() fills it
    by role. The application installs a ZBComboBoxItemDelegate, which paints the rows of the list,
    paints the current item into the combo box's face and gives the sizes; without one the face
    shows only the style's empty combo box.

    A left press opens the list over the combo box (nothing for an empty list). It closes when the
    current index changes, when the delegate reports a click or double click, when its window is
    deactivated, or on Escape. The wheel steps through the items whether the list is open or not.
    Indexes outside the list are ignored or refused quietly.

    The combo box takes no focus by default. Given a focus policy, it works from the keyboard as
    QComboBox does: Up, Down, Page Up, Page Down, Home and End change the current item, typed
    letters choose the next item whose display text starts with them, and F4, Alt+Down or Space
    open the list. In a list opened that way the same keys move a highlight, Return or Enter
    chooses it and Escape closes the list without a change.
*/
class ZEBGUICORE_EXPORT ZBComboBox : public QWidget
{
    Q_OBJECT

public:
    /*!
        Builds an empty combo box with its popup list, a child of \a parent (which may be null). No
        delegate is installed.
    */
    explicit ZBComboBox(QWidget* parent = nullptr);
    ~ZBComboBox() override;

    /*! The row of the current item, -1 when there is none. */
    int CurrentIndex() const;
    /*! The number of items. */
    int GetItemCount() const;

    /*!
        Inserts an empty item at \a index and emits ItemInserted(index); an index outside 0 to the
        item count inserts nothing, but the signal is emitted all the same.
    */
    void InsertItem(int index);
    /*!
        Removes the item at \a index. The current index keeps its number (moved onto the last item
        when it fell off the end) and is announced with CurrentIndexChanged(-2, current) and
        CurrentIndexChanged(current), then ItemRemoved(index) follows; all three are emitted even
        for an index that does not exist.
    */
    void RemoveItem(int index);
    /*! Moves the item at \a index to the top and makes it current; other indexes are ignored. */
    void RaiseItem(int index);

    /*! The value of \a role of the item at \a index; a null QVariant when there is no such item. */
    QVariant GetItemData(int index, int role = Qt::UserRole) const;
    /*! Sets \a value for \a role on the item at \a index; ignored when there is no such item. */
    void SetItemData(int index, const QVariant& value, int role = Qt::UserRole);

    /*! The decoration size of the list's item options. */
    QSize GetIconSize() const;
    /*! The installed delegate, null if none (or when it was deleted). */
    ZBComboBoxItemDelegate* GetItemDelegate() const;
    /*!
        Installs \a delegate; the combo box does not take ownership, but a delegate that a later call
        replaces is deleted later. Null or the installed delegate is ignored.
    */
    void SetItemDelegate(ZBComboBoxItemDelegate* delegate);

    /*! The title shown in the popup's title bar. */
    void SetPopupTitle(const QString& title);
    /*! Shows the title bar of the popup list. */
    void ShowPopupTitleBar();
    /*! Hides the title bar of the popup list. */
    void HidePopupTitleBar();
    /*! Shows the footer bar of the popup list. */
    void ShowPopupFooterBar();
    /*! Hides the footer bar of the popup list. */
    void HidePopupFooterBar();
    /*! The popup's footer bar, for the application's own widgets. */
    ZBFooterBar* GetPopupFooter() const;

    /*! Closes the popup when its window is deactivated; consumes nothing. */
    bool eventFilter(QObject* watched, QEvent* event) override;
    /*! The widest item and the tallest item, at least as wide as the popup's title bar wants. */
    QSize sizeHint() const override;
    /*! The delegate's minimum face size, at least as wide as the popup's title bar wants. */
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    /*!
        The current index changed from \a oldIndex to \a newIndex; \a oldIndex is -2 when an item
        was removed. The signal is overloaded: connect to this form with
        qOverload<int, int>(&ZBComboBox::CurrentIndexChanged).
    */
    void CurrentIndexChanged(int oldIndex, int newIndex);
    /*!
        The current index is now \a newIndex; emitted right after the two-argument form. Connect
        with qOverload<int>(&ZBComboBox::CurrentIndexChanged).
    */
    void CurrentIndexChanged(int newIndex);
    /*! The data of the items \a first to \a last changed. */
    void ItemDataChanged(int first, int last);
    /*! RemoveItem(\a index) was called, after the current index was announced again. */
    void ItemRemoved(int index);
    /*! InsertItem(\a index) was called. */
    void ItemInserted(int index);

public Q_SLOTS:
    /*!
        Makes the item at \a index current; nothing when it is current already. An index without an
        item leaves the list without a current item.
    */
    void SetCurrentIndex(int index);

protected:
    /*! A left press opens the list over the combo box; nothing for an empty list. */
    void mousePressEvent(QMouseEvent* event) override;
    /*!
        Makes the previous (wheel up) or the next (wheel down) item current, whether the list is
        open or not; stops at the first and the last item.
    */
    void wheelEvent(QWheelEvent* event) override;
    /*!
        Paints the style's empty combo box, then the current item through the delegate's
        PaintCurrentItem().
    */
    void paintEvent(QPaintEvent* event) override;
    /*!
        Keyboard operation, for an application that gives the combo box a focus policy: the keys of
        the class description. Keys it does not use go to QWidget.
    */
    void keyPressEvent(QKeyEvent* event) override;

private Q_SLOTS:
    void OnCurrentIndexChanged(int oldIndex, int newIndex);
    void OnItemClicked(int index);
    void OnItemDoubleClicked(int index);
    void OnItemDataChanged(int first, int last);

private:
    friend class ZBComboBoxPrivate;
    std::unique_ptr<ZBComboBoxPrivate> const d;
};

#endif // ZBCOMBOBOX_H
