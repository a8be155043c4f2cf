#include "ZBPopupWidget_p.h"

#include "ZBComboBoxItemDelegate.h"
#include "ZBDeferredDelete_p.h"
#include "ZBFooterBar.h"
#include "ZBQtCompat_p.h"
#include "ZBWidgetTree_p.h"
#include "ZBWindowSystem_p.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHash>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QToolButton>

#include <optional>
#include <utility>

namespace {

// How many popups paint with each delegate: a delegate that one popup replaces is deleted only
// when no popup uses it any more.
QHash<const QObject*, int>& delegateUsers()
{
    static QHash<const QObject*, int> users;
    return users;
}

void dropDelegateUser(const QObject* delegate)
{
    auto found = delegateUsers().find(delegate);
    if (found != delegateUsers().end() && --found.value() <= 0)
        delegateUsers().erase(found);
}

} // namespace

ZBPopupWidget::ZBPopupItemArea::ZBPopupItemArea(QWidget* parent) : QListView(parent) {}

void ZBPopupWidget::ZBPopupItemArea::SetOptionsChangedHandler(std::function<void()> handler)
{
    optionsChanged = std::move(handler);
}

void ZBPopupWidget::ZBPopupItemArea::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
        if (optionsChanged)
            optionsChanged();
        break;
    default:
        break;
    }
    QListView::changeEvent(event);
}

void ZBPopupWidget::ZBPopupItemArea::focusInEvent(QFocusEvent* event)
{
    // Qt's item views make the first row current when they gain focus without a current item. In
    // the popup that would choose an item, and close the list, as soon as it opens: the focus is
    // taken with the selection model silenced, and a current item it made is dropped.
    QItemSelectionModel* selection = selectionModel();
    if (!selection || selection->currentIndex().isValid())
        return QListView::focusInEvent(event);
    const bool wasBlocked = selection->blockSignals(true);
    QListView::focusInEvent(event);
    if (selection->currentIndex().isValid())
        selection->clearCurrentIndex();
    selection->blockSignals(wasBlocked);
}

QStyleOptionViewItem ZBPopupWidget::ZBPopupItemArea::ViewOptions() const
{
    QStyleOptionViewItem option;
    ZB_INIT_VIEW_ITEM_OPTION(option);
    return option;
}

ZBPopupWidgetPrivate::ZBPopupWidgetPrivate(ZBPopupWidget* q) : q(q) {}

void ZBPopupWidgetPrivate::Init()
{
    if (QToolButton* close = q->CloseButton())
        close->hide();
    QWidget* content = q->Content();

    itemArea = new ZBPopupWidget::ZBPopupItemArea(content);
    itemArea->setObjectName(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETITEMAREA"));
    listDelegate = itemArea->itemDelegate();
    if (!listDelegate)
        listDelegate = new QStyledItemDelegate(itemArea);

    model = new QStandardItemModel(itemArea);
    model->insertColumn(0, QModelIndex());
    itemArea->setModel(model);

    footer = new ZBFooterBar(content);
    footer->setObjectName(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETFOOTER"));

    auto* grid = ZBWidgetTree::NewGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(itemArea, 0, 0, Qt::Alignment());
    grid->addWidget(footer, 1, 0, Qt::Alignment());
    itemArea->setMinimumSize(0, 0);

    q->IgnoreResize(true);
    q->IgnoreTitleMove(true);
    // The popup is never resized by its edges, so it needs no resize band around its content: the
    // list gets the whole height that the combo box gives the popup.
    q->SetMainContentMargins(0, 0, 0, 0);

    // The size cache hears of every change before the popup's own slots announce it.
    WatchModel();
    if (QItemSelectionModel* selection = itemArea->selectionModel())
        QObject::connect(selection, &QItemSelectionModel::currentChanged, q,
                         &ZBPopupWidget::OnCurrentChanged);
    QObject::connect(model.data(), &QAbstractItemModel::dataChanged, q, &ZBPopupWidget::OnDataChanged);
}

void ZBPopupWidgetPrivate::WatchModel()
{
    itemArea->SetOptionsChangedHandler([this] { sizes.InvalidateAll(); });
    QObject::connect(itemArea.data(), &QAbstractItemView::iconSizeChanged, q,
                     [this] { sizes.InvalidateAll(); });

    QStandardItemModel* m = model;
    QObject::connect(m, &QAbstractItemModel::rowsInserted, q,
                     [this](const QModelIndex& parent, int first, int last) {
                         if (!parent.isValid())
                             sizes.InsertRows(first, last - first + 1);
                     });
    QObject::connect(m, &QAbstractItemModel::rowsRemoved, q,
                     [this](const QModelIndex& parent, int first, int last) {
                         if (!parent.isValid())
                             sizes.RemoveRows(first, last - first + 1);
                     });
    QObject::connect(m, &QAbstractItemModel::dataChanged, q,
                     [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                         if (!topLeft.parent().isValid())
                             sizes.Invalidate(topLeft.row(), bottomRight.row());
                     });
    const auto reset = [this] { sizes.Reset(model ? model->rowCount(QModelIndex()) : 0); };
    QObject::connect(m, &QAbstractItemModel::modelReset, q, reset);
    QObject::connect(m, &QAbstractItemModel::layoutChanged, q, reset);
    QObject::connect(m, &QAbstractItemModel::rowsMoved, q, reset);
    QObject::connect(m, &QAbstractItemModel::columnsInserted, q, reset);
    QObject::connect(m, &QAbstractItemModel::columnsRemoved, q, reset);
    sizes.Reset(m->rowCount(QModelIndex()));
}

QModelIndex ZBPopupWidgetPrivate::IndexOf(int row) const
{
    return model ? model->index(row, 0, QModelIndex()) : QModelIndex();
}

QSize ZBPopupWidgetPrivate::ItemSize(const QStyleOptionViewItem& option, int row) const
{
    const QModelIndex index = IndexOf(row);
    if (delegate)
        return delegate->ItemSizeHint(option, index);
    if (itemArea && itemArea->itemDelegate())
        return itemArea->itemDelegate()->sizeHint(option, index);
    return QSize();
}

void ZBPopupWidgetPrivate::OnDelegateDestroyed()
{
    if (itemArea && listDelegate)
        itemArea->setItemDelegate(listDelegate);
    sizes.InvalidateAll();
}

ZBPopupWidget::ZBPopupWidget(QWidget* parent)
    : ZBWidget(parent, ZBWindowSystem::ListWindowKind()), d(new ZBPopupWidgetPrivate(this))
{
    d->Init();
}

ZBPopupWidget::~ZBPopupWidget()
{
    // The children die after this object: silence what they could still send to it.
    if (d->itemArea)
        d->itemArea->SetOptionsChangedHandler(nullptr);
    if (d->delegate) {
        disconnect(d->delegate, nullptr, this, nullptr);
        dropDelegateUser(d->delegate);
    }
    if (d->itemArea) {
        if (QItemSelectionModel* selection = d->itemArea->selectionModel())
            disconnect(selection, nullptr, this, nullptr);
        disconnect(d->itemArea, nullptr, this, nullptr);
    }
    if (d->model)
        disconnect(d->model, nullptr, this, nullptr);
}

void ZBPopupWidget::InsertItem(int index)
{
    if (d->model && index >= 0 && index <= GetItemCount())
        d->model->insertRow(index, QModelIndex());
}

void ZBPopupWidget::RemoveItem(int index)
{
    // The model's own check of the row adds the count to it, which overflows at the end of int.
    if (d->model && index >= 0 && index < GetItemCount()) {
        d->removing = true;
        d->model->removeRow(index, QModelIndex());
        d->removing = false;
    }
    const int count = GetItemCount();
    if (d->currentIndex >= count)
        d->currentIndex = count - 1;
    const int target = d->currentIndex;
    d->currentIndex = -2; // differs from every target, so the outcome is always announced
    SetCurrentIndex(target);
}

void ZBPopupWidget::RaiseItem(int index)
{
    if (index < 0)
        return;
    const QModelIndex source = d->IndexOf(index);
    if (!source.isValid() || !d->itemArea)
        return;

    // The model and the selection model still report the moves, so the stored index may follow
    // them meanwhile; the popup announces the outcome once, afterwards.
    const bool wasBlocked = blockSignals(true);
    const QMap<int, QVariant> roles = d->model->itemData(source);
    d->model->removeRow(index, QModelIndex());
    d->model->insertRow(0, QModelIndex());
    d->model->setItemData(d->IndexOf(0), roles);
    d->itemArea->setCurrentIndex(d->IndexOf(0));
    blockSignals(wasBlocked);

    const int old = d->currentIndex;
    d->currentIndex = 0;
    Q_EMIT CurrentIndexChanged(old, 0);
}

void ZBPopupWidget::SetItemData(int index, const QVariant& value, int role)
{
    const QModelIndex item = d->IndexOf(index);
    if (item.isValid())
        d->model->setData(item, value, role);
}

QVariant ZBPopupWidget::GetItemData(int index, int role) const
{
    return d->IndexOf(index).data(role);
}

int ZBPopupWidget::GetItemCount() const
{
    return d->model ? d->model->rowCount(QModelIndex()) : 0;
}

int ZBPopupWidget::CurrentIndex() const
{
    return d->itemArea ? d->itemArea->currentIndex().row() : -1;
}

QSize ZBPopupWidget::GetIconSize() const
{
    return d->itemArea ? d->itemArea->ViewOptions().decorationSize : QSize();
}

ZBComboBoxItemDelegate* ZBPopupWidget::GetItemDelegate() const
{
    return d->delegate;
}

void ZBPopupWidget::SetItemDelegate(ZBComboBoxItemDelegate* delegate)
{
    if (!delegate || delegate == d->delegate || !d->itemArea)
        return;
    ++delegateUsers()[delegate];
    if (ZBComboBoxItemDelegate* old = d->delegate) {
        disconnect(old, nullptr, this, nullptr);
        dropDelegateUser(old);
        ZBDeferredDelete::Release(old, [](QObject* o) { return delegateUsers().contains(o); });
    }
    d->itemArea->setItemDelegate(delegate);
    d->delegate = delegate;
    d->sizes.InvalidateAll();
    connect(delegate, &ZBComboBoxItemDelegate::Clicked, this, &ZBPopupWidget::OnClicked);
    connect(delegate, &ZBComboBoxItemDelegate::DoubleClicked, this, &ZBPopupWidget::OnDoubleClicked);
    connect(delegate, &QAbstractItemDelegate::sizeHintChanged, this,
            [this](const QModelIndex& index) { d->sizes.Invalidate(index.row(), index.row()); });
    connect(delegate, &QObject::destroyed, this, [this](QObject* gone) {
        delegateUsers().remove(gone);
        d->OnDelegateDestroyed();
    });
}

ZBFooterBar* ZBPopupWidget::GetFooter() const
{
    return d->footer;
}

QListView* ZBPopupWidget::ItemArea() const
{
    return d->itemArea;
}

QSize ZBPopupWidget::MaximumItemSize() const
{
    if (!d->itemArea)
        return QSize(0, 0);
    // The options are built only when some item's size has to be asked for.
    std::optional<QStyleOptionViewItem> option;
    return d->sizes.Maximum([this, &option](int row) {
        if (!option)
            option = d->itemArea->ViewOptions();
        return d->ItemSize(*option, row);
    });
}

int ZBPopupWidget::VisibleRows() const
{
    return qMin(GetItemCount(), d->maxVisibleRows);
}

int ZBPopupWidget::ListHeight() const
{
    const qint64 height = qint64(MaximumItemSize().height()) * VisibleRows();
    return int(qMin(height, qint64(QWIDGETSIZE_MAX)));
}

QSize ZBPopupWidget::FaceSizeHint() const
{
    if (d->delegate && d->itemArea)
        return d->delegate->MinimumSizeHint(d->itemArea->ViewOptions());
    return MaximumItemSize();
}

void ZBPopupWidget::PaintCurrentItem(QPainter* painter, const QRect& rect)
{
    if (!d->delegate || !d->itemArea || !painter)
        return;
    QStyleOptionViewItem option = d->itemArea->ViewOptions();
    option.rect = rect;
    d->delegate->PaintCurrentItem(painter, option, d->itemArea->currentIndex());
}

void ZBPopupWidget::SetCurrentIndex(int index)
{
    // Below -1 there is no row; -2 in particular is the removal's marker and must never be stored.
    if (index < -1)
        index = -1;
    if (index == d->currentIndex)
        return;
    const int old = d->currentIndex;
    d->currentIndex = index;
    const QModelIndex target = d->IndexOf(index);
    if (d->itemArea && d->itemArea->currentIndex() != target) {
        // Comes back through OnCurrentChanged, which finds the index stored already.
        QPointer<ZBPopupWidget> alive(this);
        d->itemArea->setCurrentIndex(target);
        if (!alive)
            return;
    }
    Q_EMIT CurrentIndexChanged(old, index);
}

void ZBPopupWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && isVisible())
        hide();
    ZBWidget::keyPressEvent(event);
}

void ZBPopupWidget::OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    Q_UNUSED(previous);
    if (d->removing)
        return;
    SetCurrentIndex(current.row());
}

void ZBPopupWidget::OnClicked(const QModelIndex& index)
{
    Q_EMIT ItemClicked(index.row());
}

void ZBPopupWidget::OnDoubleClicked(const QModelIndex& index)
{
    Q_EMIT ItemDoubleClicked(index.row());
}

void ZBPopupWidget::OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    Q_EMIT ItemDataChanged(topLeft.row(), bottomRight.row());
}
