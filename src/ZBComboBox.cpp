#include "ZBComboBox.h"
#include "ZBComboBox_p.h"

#include "ZBAccessible_p.h"
#include "ZBFooterBar.h"
#include "ZBPopupWidget_p.h"
#include "ZBSaturate_p.h"
#include "ZBTitleBar.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

namespace {

// Hands the keys that reach the popup's list to the combo box, and tells it when the list closes.
class ListKeys : public QObject
{
public:
    explicit ListKeys(ZBComboBoxPrivate* d) : d(d) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        Q_UNUSED(watched);
        if (event->type() == QEvent::Hide)
            d->ListHidden();
        return event->type() == QEvent::KeyPress && d->ListKey(static_cast<QKeyEvent*>(event));
    }

private:
    ZBComboBoxPrivate* const d;
};

// The row that a navigation key leads to from row \a from among \a count rows, \a page rows a
// page; \a from itself for any other key, and where the list ends.
int NavigationTarget(int key, int from, int count, int page)
{
    int target = from;
    switch (key) {
    case Qt::Key_Up:
        target = from - 1;
        break;
    case Qt::Key_Down:
        target = from + 1;
        break;
    case Qt::Key_PageUp:
        target = from - page;
        break;
    case Qt::Key_PageDown:
        target = from < 0 ? page - 1 : from + page;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    default:
        break;
    }
    if (count == 0 || (from < 0 && target < 0))
        return from;
    return qBound(0, target, count - 1);
}

bool IsNavigationKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown ||
           key == Qt::Key_Home || key == Qt::Key_End;
}

// Modifiers that make a key something else than plain navigation or typing.
Qt::KeyboardModifiers CommandModifiers(const QKeyEvent* event)
{
    return event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// Typed text for the keyboard search, empty for keys that type nothing.
QString TypedText(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || CommandModifiers(event))
        return QString();
    return text;
}

bool IsOpenKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = CommandModifiers(event);
    return (event->key() == Qt::Key_F4 && !mods) || (event->key() == Qt::Key_Space && !mods) ||
           ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) && mods == Qt::AltModifier);
}

} // namespace

ZBComboBoxPrivate::ZBComboBoxPrivate(ZBComboBox* q) : q(q) {}

ZBComboBoxPrivate::~ZBComboBoxPrivate() = default;

void ZBComboBoxPrivate::Init()
{
    BuildPopup();
    ZBAccessible::Adopt(q);
}

void ZBComboBoxPrivate::BuildPopup()
{
    popup = new ZBPopupWidget(q);
    QObject::connect(popup, qOverload<int, int>(&ZBPopupWidget::CurrentIndexChanged), q,
                     &ZBComboBox::OnCurrentIndexChanged);
    QObject::connect(popup, &ZBPopupWidget::ItemClicked, q, &ZBComboBox::OnItemClicked);
    QObject::connect(popup, &ZBPopupWidget::ItemDoubleClicked, q, &ZBComboBox::OnItemDoubleClicked);
    QObject::connect(popup, &ZBPopupWidget::ItemDataChanged, q, &ZBComboBox::OnItemDataChanged);
    // The only place where the popup can go: deleted behind the combo box's back, it is replaced by
    // an empty one, so that the combo box always has a list (the destructor disconnects this first).
    QObject::connect(popup, &QObject::destroyed, q, [this] {
        openedFromKeyboard = false;
        BuildPopup();
        q->updateGeometry();
        q->update();
    });
    listKeys.reset(new ListKeys(this));
    popup->ItemArea()->installEventFilter(listKeys.get());
}

void ZBComboBoxPrivate::OpenPopup()
{
    QPointer<ZBPopupWidget> p = popup; // a slot of the show may delete the popup, or the combo box
    // A highlight left over from browsing starts again on the current item.
    openedFromKeyboard = false;
    Highlight(q->CurrentIndex(), false);
    // A popup window takes its place as it appears (on Wayland it cannot move later): it is placed
    // before it is shown, from what its layout will show, and again from what it shows.
    if (p->windowType() == Qt::Popup) {
        if (QLayout* layout = p->layout())
            layout->activate();
        PlacePopup(false);
    }
    p->show();
    if (!p)
        return;
    PlacePopup(true);
    p->installEventFilter(q);
}

void ZBComboBoxPrivate::PlacePopup(bool shown)
{
    const auto showing = [this, shown](QWidget* part) {
        return part && (shown ? part->isVisible() : part->isVisibleTo(popup));
    };
    ZBTitleBar* title = popup->TitleBar();
    const bool titleShown = showing(title);
    qint64 height = popup->ListHeight();
    if (titleShown)
        height += title->height();
    if (showing(popup->GetFooter()))
        height += popup->GetFooter()->height();
    // Items of any size: the popup never outgrows the screen, and its list scrolls.
    QScreen* screen = QGuiApplication::screenAt(q->mapToGlobal(q->rect().center()));
    if (!screen)
        screen = q->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    QSize size(q->width(), ZBSaturate::ToInt(height));
    if (screen)
        size = size.boundedTo(available.size());
    popup->resize(size);

    QPoint position = q->mapToGlobal(QPoint(0, 0));
    if (titleShown)
        position.ry() -= title->height();
    // Over the combo box where the popup fits on the combo box's screen; elsewhere moved just far enough
    // to stay on that screen's work area.
    if (screen) {
        position.setX(qMax(available.left(), qMin(position.x(), available.right() - size.width() + 1)));
        position.setY(qMax(available.top(), qMin(position.y(), available.bottom() - size.height() + 1)));
    }
    popup->move(position);
}

void ZBComboBoxPrivate::ClosePopup()
{
    if (!popup->isVisible())
        return;
    popup->removeEventFilter(q);
    popup->hide();
}

bool ZBComboBoxPrivate::ComboKey(QKeyEvent* event)
{
    if (popup->isVisible()) {
        if (openedFromKeyboard)
            return BrowseKey(event);
        if (event->key() == Qt::Key_Escape || IsOpenKey(event)) {
            ClosePopup();
            return true;
        }
    }
    return StepKey(event);
}

bool ZBComboBoxPrivate::ListKey(QKeyEvent* event)
{
    // A list opened by the mouse keeps the list view's own keys: an arrow chooses at once. Escape
    // is the popup's own.
    if (!openedFromKeyboard || event->key() == Qt::Key_Escape)
        return false;
    return BrowseKey(event);
}

bool ZBComboBoxPrivate::StepKey(QKeyEvent* event)
{
    if (IsOpenKey(event)) {
        OpenFromKeyboard();
        return true;
    }
    const int current = q->CurrentIndex();
    int target = current;
    if (IsNavigationKey(event->key()) && !CommandModifiers(event)) {
        // Closed, a page is one item, as in QComboBox.
        target = NavigationTarget(event->key(), current, popup->GetItemCount(), 1);
    } else {
        const QString typed = TypedText(event);
        if (typed.isEmpty())
            return false;
        target = Search(current, typed);
    }
    if (target >= 0 && target != current)
        popup->SetCurrentIndex(target);
    return true;
}

bool ZBComboBoxPrivate::BrowseKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape || IsOpenKey(event)) {
        ClosePopup();
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !CommandModifiers(event)) {
        const int row = Highlighted();
        if (row >= 0 && row != q->CurrentIndex())
            popup->SetCurrentIndex(row); // closes the popup through OnCurrentIndexChanged
        else
            ClosePopup();
        return true;
    }
    int target = -1;
    if (IsNavigationKey(key) && !CommandModifiers(event)) {
        const int page = qMax(1, popup->VisibleRows() - 1);
        target = NavigationTarget(key, Highlighted(), popup->GetItemCount(), page);
    } else {
        const QString typed = TypedText(event);
        if (typed.isEmpty())
            return false; // Tab and the like go on, so the footer's widgets stay reachable
        target = Search(Highlighted(), typed);
    }
    if (target >= 0)
        Highlight(target, true);
    return true;
}

void ZBComboBoxPrivate::ListHidden()
{
    if (!openedFromKeyboard)
        return;
    openedFromKeyboard = false;
    // The keyboard user goes on where the list was opened.
    if (q->focusPolicy() != Qt::NoFocus && q->isVisible()) {
        q->activateWindow();
        q->setFocus(Qt::PopupFocusReason);
    }
}

void ZBComboBoxPrivate::OpenFromKeyboard()
{
    if (popup->GetItemCount() == 0)
        return;
    QPointer<ZBComboBox> alive(q);
    QPointer<ZBPopupWidget> opened = popup;
    OpenPopup();
    if (!alive || !opened)
        return;
    openedFromKeyboard = true;
    popup->ItemArea()->setFocus(Qt::PopupFocusReason);
    Highlight(Highlighted(), true);
}

int ZBComboBoxPrivate::Highlighted() const
{
    QItemSelectionModel* selection = popup->ItemArea()->selectionModel();
    if (!selection)
        return -1;
    const QModelIndexList rows = selection->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ZBComboBoxPrivate::Highlight(int row, bool announce)
{
    QListView* list = popup->ItemArea();
    QItemSelectionModel* selection = list->selectionModel();
    if (!selection)
        return;
    // The selection, not the list's current item: that one is the combo box's current index.
    const QModelIndex index = list->model()->index(row, 0);
    if (!index.isValid()) {
        selection->clearSelection();
        return;
    }
    selection->select(index, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(index);
    // Screen readers follow the list's focused item; here that is the highlight.
    if (announce)
        ZBAccessible::Notify(list, QAccessible::Focus, row);
}

int ZBComboBoxPrivate::Search(int from, const QString& typed)
{
    const int count = popup->GetItemCount();
    if (count == 0)
        return -1;
    // Keys typed within the keyboard input interval make one search text, as in item views.
    const bool continued =
        searchTimer.isValid() && searchTimer.elapsed() <= QApplication::keyboardInputInterval();
    searchText = continued ? searchText + typed : typed;
    searchTimer.start();
    // A new search, or the same letter again, looks from the next item on; a longer text may
    // still match the item it stands on.
    const bool sameKey = searchText.count(searchText.at(0)) == searchText.size();
    const QString needle = sameKey ? searchText.left(1) : searchText;
    const int start = from < 0 ? 0 : (sameKey ? from + 1 : from);
    for (int i = 0; i < count; ++i) {
        const int row = (start + i) % count;
        if (popup->GetItemData(row, Qt::DisplayRole).toString().startsWith(needle, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

ZBComboBox::ZBComboBox(QWidget* parent) : QWidget(parent, Qt::WindowFlags()), d(new ZBComboBoxPrivate(this))
{
    d->Init();
}

ZBComboBox::~ZBComboBox()
{
    d->listKeys.reset();
    // The popup is still a child and dies with this widget; it must not call back into it.
    disconnect(d->popup, nullptr, this, nullptr);
    d->popup->removeEventFilter(this);
    d->popup->hide();
    d->popup->deleteLater();
    d->popup = nullptr;
}

int ZBComboBox::CurrentIndex() const
{
    return d->popup->CurrentIndex();
}

void ZBComboBox::SetCurrentIndex(int index)
{
    d->popup->SetCurrentIndex(index);
}

int ZBComboBox::GetItemCount() const
{
    return d->popup->GetItemCount();
}

void ZBComboBox::InsertItem(int index)
{
    d->popup->InsertItem(index);
    QPointer<ZBComboBox> alive(this);
    Q_EMIT ItemInserted(index);
    if (!alive)
        return;
    updateGeometry();
    update();
}

void ZBComboBox::RemoveItem(int index)
{
    QPointer<ZBComboBox> alive(this);
    d->popup->RemoveItem(index);
    if (!alive)
        return;
    Q_EMIT ItemRemoved(index);
    if (!alive)
        return;
    updateGeometry();
}

void ZBComboBox::RaiseItem(int index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    QPointer<ZBComboBox> alive(this);
    d->popup->RaiseItem(index);
    if (alive)
        update();
}

QVariant ZBComboBox::GetItemData(int index, int role) const
{
    return d->popup->GetItemData(index, role);
}

void ZBComboBox::SetItemData(int index, const QVariant& value, int role)
{
    QPointer<ZBComboBox> alive(this);
    d->popup->SetItemData(index, value, role);
    if (!alive)
        return;
    updateGeometry();
}

QSize ZBComboBox::GetIconSize() const
{
    return d->popup->GetIconSize();
}

ZBComboBoxItemDelegate* ZBComboBox::GetItemDelegate() const
{
    return d->popup->GetItemDelegate();
}

void ZBComboBox::SetItemDelegate(ZBComboBoxItemDelegate* delegate)
{
    d->popup->SetItemDelegate(delegate);
    updateGeometry();
    update();
}

void ZBComboBox::SetPopupTitle(const QString& title)
{
    d->popup->setWindowTitle(title);
}

void ZBComboBox::ShowPopupTitleBar()
{
    if (ZBTitleBar* title = d->popup->TitleBar())
        title->setVisible(true);
}

void ZBComboBox::HidePopupTitleBar()
{
    if (ZBTitleBar* title = d->popup->TitleBar())
        title->setVisible(false);
}

void ZBComboBox::ShowPopupFooterBar()
{
    if (ZBFooterBar* footer = d->popup->GetFooter())
        footer->setVisible(true);
}

void ZBComboBox::HidePopupFooterBar()
{
    if (ZBFooterBar* footer = d->popup->GetFooter())
        footer->setVisible(false);
}

ZBFooterBar* ZBComboBox::GetPopupFooter() const
{
    return d->popup->GetFooter();
}

bool ZBComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && qobject_cast<ZBPopupWidget*>(watched))
        d->ClosePopup();
    return QObject::eventFilter(watched, event);
}

QSize ZBComboBox::sizeHint() const
{
    const QSize item = d->popup->MaximumItemSize();
    const int titleWidth = d->popup->TitleBar() ? d->popup->TitleBar()->sizeHint().width() : 0;
    return QSize(qMax(item.width(), titleWidth), item.height());
}

QSize ZBComboBox::minimumSizeHint() const
{
    const QSize face = d->popup->FaceSizeHint();
    const int titleWidth = d->popup->TitleBar() ? d->popup->TitleBar()->sizeHint().width() : 0;
    return QSize(qMax(face.width(), titleWidth), face.height());
}

void ZBComboBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && d->popup->GetItemCount() > 0)
        d->OpenPopup();
}

void ZBComboBox::wheelEvent(QWheelEvent* event)
{
    // A horizontal wheel steps too, as a vertical one does.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta == 0)
        return;
    const int current = CurrentIndex();
    int target;
    if (delta > 0) {
        target = current - 1;
        if (target < 0)
            target = current;
    } else {
        target = current + 1;
        if (target >= GetItemCount())
            target = current;
    }
    d->popup->SetCurrentIndex(target);
}

void ZBComboBox::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QStyleOptionComboBox option;
    option.initFrom(this);
    QPainter painter(this);
    option.rect = rect();
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    d->popup->PaintCurrentItem(&painter, option.rect);
    // The delegate may paint over the whole face, so the focus frame comes last.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_ComboBoxFocusRect, &option, this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void ZBComboBox::keyPressEvent(QKeyEvent* event)
{
    if (!d->ComboKey(event))
        QWidget::keyPressEvent(event);
}

void ZBComboBox::OnCurrentIndexChanged(int oldIndex, int newIndex)
{
    update();
    d->ClosePopup();
    ZBAccessible::NotifyValue(this, ZBAccessible::ItemText(this, newIndex));
    QPointer<ZBComboBox> alive(this);
    Q_EMIT CurrentIndexChanged(oldIndex, newIndex);
    if (alive)
        Q_EMIT CurrentIndexChanged(newIndex);
}

void ZBComboBox::OnItemClicked(int index)
{
    Q_UNUSED(index);
    d->ClosePopup();
}

void ZBComboBox::OnItemDoubleClicked(int index)
{
    Q_UNUSED(index);
    d->ClosePopup();
}

void ZBComboBox::OnItemDataChanged(int first, int last)
{
    update();
    const int current = CurrentIndex();
    if (current >= first && current <= last)
        ZBAccessible::NotifyValue(this, ZBAccessible::ItemText(this, current));
    Q_EMIT ItemDataChanged(first, last);
}
