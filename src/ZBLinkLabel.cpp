#include "ZBLinkLabel.h"
#include "ZBLinkLabel_p.h"

#include "ZBAccessible_p.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>

ZBLinkLabelPrivate::ZBLinkLabelPrivate(ZBLinkLabel* q) : q(q) {}

QSize ZBLinkLabelPrivate::SizeHint() const
{
    if (!sizeHint.isValid()) {
        // The widget's font metrics, which a style option initialised from it would carry.
        const QFontMetrics metrics = q->fontMetrics();
        const QMargins margins = q->contentsMargins();
        sizeHint = QSize(metrics.horizontalAdvance(text) + margins.left() + margins.right(),
                         metrics.height() + margins.top() + margins.bottom());
    }
    return sizeHint;
}

void ZBLinkLabelPrivate::Forget()
{
    sizeHint = QSize();
    elidedWidth = -1;
}

ZBLinkLabel::ZBLinkLabel(QWidget* parent) : QPushButton(parent), d(new ZBLinkLabelPrivate(this))
{
    setCursor(Qt::PointingHandCursor);
    ZBAccessible::Adopt(this);
}

ZBLinkLabel::~ZBLinkLabel() = default;

QString ZBLinkLabel::GetText() const
{
    return d->text;
}

void ZBLinkLabel::SetText(const QString& text)
{
    if (text == d->text)
        return;
    d->text = text;
    d->Forget();
    QPointer<ZBLinkLabel> alive(this);
    Q_EMIT TextChanged();
    if (!alive)
        return;
    Q_EMIT TextChanged(d->text);
    if (!alive)
        return;
    ZBAccessible::Notify(this, QAccessible::NameChanged);
    // The size hint follows the text: drop the cached hint and have the parent's layout ask again.
    updateGeometry();
    if (QWidget* parent = parentWidget()) {
        if (QLayout* layout = parent->layout())
            layout->invalidate();
    }
    update();
}

QVariant ZBLinkLabel::GetData(int role) const
{
    return d->data.value(role);
}

void ZBLinkLabel::SetData(const QVariant& value, int role)
{
    if (value == GetData(role))
        return;
    d->data.insert(role, value);
    Q_EMIT DataChanged(role);
}

QSize ZBLinkLabel::sizeHint() const
{
    return d->SizeHint();
}

void ZBLinkLabel::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int width = contentsRect().width();
    if (width != d->elidedWidth) {
        d->elided = option.fontMetrics.elidedText(d->text, Qt::ElideRight, width, Qt::TextSingleLine);
        d->elidedWidth = width;
        // Painted in a paragraph of the other direction, the ellipsis would stand at the paragraph's
        // start, away from where the text is cut: a mark of the text's own direction keeps it at the cut.
        const bool rightToLeft = d->text.isRightToLeft();
        if (d->elided != d->text && rightToLeft != (option.direction == Qt::RightToLeft))
            d->elided += rightToLeft ? QChar(0x200F) : QChar(0x200E); // right-to-left or left-to-right mark
    }
    option.text = d->elided;
    QPainter painter(this);
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void ZBLinkLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
             event->type() == QEvent::ContentsRectChange || event->type() == QEvent::LayoutDirectionChange)
        d->Forget();
    // The button's own handling (it releases a button that is disabled while down) ends in QWidget's.
    QPushButton::changeEvent(event);
}
