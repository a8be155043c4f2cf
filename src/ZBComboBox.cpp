#include "ZBComboBox.h"
#include "ZBComboBox_p.h"

#include "ZBFooterBar.h"
#include "ZBPopupWidget_p.h"
#include "ZBTitleBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWheelEvent>

ZBComboBoxPrivate::ZBComboBoxPrivate(ZBComboBox* q) : q(q) {}

void ZBComboBoxPrivate::Init()
{
    popup = new ZBPopupWidget(q);
    ZBPopupWidget* p = popup;
    QObject::connect(p, qOverload<int, int>(&ZBPopupWidget::CurrentIndexChanged), q,
                     &ZBComboBox::OnCurrentIndexChanged);
    QObject::connect(p, &ZBPopupWidget::ItemClicked, q, &ZBComboBox::OnItemClicked);
    QObject::connect(p, &ZBPopupWidget::ItemDoubleClicked, q, &ZBComboBox::OnItemDoubleClicked);
    QObject::connect(p, &ZBPopupWidget::ItemDataChanged, q, &ZBComboBox::OnItemDataChanged);
}

void ZBComboBoxPrivate::OpenPopup()
{
    QPointer<ZBPopupWidget> p = popup;
    p->show();
    if (!p)
        return;
    ZBTitleBar* title = p->TitleBar();
    const bool titleShown = title && title->isVisible();
    ZBFooterBar* footer = p->GetFooter();
    int height = p->ListHeight();
    if (titleShown)
        height += title->height();
    if (footer && footer->isVisible())
        height += footer->height();
    p->resize(q->width(), height);

    QPoint position = q->mapToGlobal(QPoint(0, 0));
    if (titleShown)
        position.ry() -= title->height();
    p->move(position);
    p->installEventFilter(q);
}

void ZBComboBoxPrivate::ClosePopup()
{
    if (!popup || !popup->isVisible())
        return;
    popup->removeEventFilter(q);
    popup->hide();
}

ZBComboBox::ZBComboBox(QWidget* parent) : QWidget(parent, Qt::WindowFlags()), d(new ZBComboBoxPrivate(this))
{
    d->Init();
}

ZBComboBox::~ZBComboBox()
{
    if (ZBPopupWidget* popup = d->popup) {
        // The popup is still a child and dies with this widget; it must not call back into it.
        disconnect(popup, nullptr, this, nullptr);
        popup->removeEventFilter(this);
        popup->hide();
        popup->deleteLater();
        d->popup = nullptr;
    }
}

int ZBComboBox::CurrentIndex() const
{
    return d->popup ? d->popup->CurrentIndex() : -1;
}

void ZBComboBox::SetCurrentIndex(int index)
{
    if (d->popup)
        d->popup->SetCurrentIndex(index);
}

int ZBComboBox::GetItemCount() const
{
    return d->popup ? d->popup->GetItemCount() : 0;
}

void ZBComboBox::InsertItem(int index)
{
    if (d->popup) {
        d->popup->InsertItem(index);
        QPointer<ZBComboBox> alive(this);
        Q_EMIT ItemInserted(index);
        if (!alive)
            return;
    }
    updateGeometry();
    update();
}

void ZBComboBox::RemoveItem(int index)
{
    if (d->popup) {
        QPointer<ZBComboBox> alive(this);
        d->popup->RemoveItem(index);
        if (!alive)
            return;
        Q_EMIT ItemRemoved(index);
        if (!alive)
            return;
    }
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
    return d->popup ? d->popup->GetItemData(index, role) : QVariant();
}

void ZBComboBox::SetItemData(int index, const QVariant& value, int role)
{
    if (d->popup) {
        QPointer<ZBComboBox> alive(this);
        d->popup->SetItemData(index, value, role);
        if (!alive)
            return;
    }
    updateGeometry();
}

QSize ZBComboBox::GetIconSize() const
{
    return d->popup ? d->popup->GetIconSize() : QSize();
}

ZBComboBoxItemDelegate* ZBComboBox::GetItemDelegate() const
{
    return d->popup ? d->popup->GetItemDelegate() : nullptr;
}

void ZBComboBox::SetItemDelegate(ZBComboBoxItemDelegate* delegate)
{
    if (!d->popup)
        return;
    d->popup->SetItemDelegate(delegate);
    updateGeometry();
    update();
}

void ZBComboBox::SetPopupTitle(const QString& title)
{
    if (d->popup)
        d->popup->setWindowTitle(title);
}

void ZBComboBox::ShowPopupTitleBar()
{
    if (d->popup && d->popup->TitleBar())
        d->popup->TitleBar()->setVisible(true);
}

void ZBComboBox::HidePopupTitleBar()
{
    if (d->popup && d->popup->TitleBar())
        d->popup->TitleBar()->setVisible(false);
}

void ZBComboBox::ShowPopupFooterBar()
{
    if (d->popup && d->popup->GetFooter())
        d->popup->GetFooter()->setVisible(true);
}

void ZBComboBox::HidePopupFooterBar()
{
    if (d->popup && d->popup->GetFooter())
        d->popup->GetFooter()->setVisible(false);
}

ZBFooterBar* ZBComboBox::GetPopupFooter() const
{
    return d->popup ? d->popup->GetFooter() : nullptr;
}

bool ZBComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && qobject_cast<ZBPopupWidget*>(watched))
        d->ClosePopup();
    return QObject::eventFilter(watched, event);
}

QSize ZBComboBox::sizeHint() const
{
    if (!d->popup)
        return QSize(0, 0);
    const QSize item = d->popup->MaximumItemSize();
    const int titleWidth = d->popup->TitleBar() ? d->popup->TitleBar()->sizeHint().width() : 0;
    return QSize(qMax(item.width(), titleWidth), item.height());
}

QSize ZBComboBox::minimumSizeHint() const
{
    if (!d->popup)
        return QSize(0, 0);
    const QSize face = d->popup->FaceSizeHint();
    const int titleWidth = d->popup->TitleBar() ? d->popup->TitleBar()->sizeHint().width() : 0;
    return QSize(qMax(face.width(), titleWidth), face.height());
}

void ZBComboBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && d->popup && d->popup->GetItemCount() > 0)
        d->OpenPopup();
}

void ZBComboBox::wheelEvent(QWheelEvent* event)
{
    if (!d->popup)
        return;
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
    if (d->popup)
        d->popup->PaintCurrentItem(&painter, option.rect);
}

void ZBComboBox::OnCurrentIndexChanged(int oldIndex, int newIndex)
{
    update();
    d->ClosePopup();
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
    Q_EMIT ItemDataChanged(first, last);
}
