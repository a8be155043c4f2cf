#include "ZBLinkLabel.h"
#include "ZBLinkLabel_p.h"

#include "ZBAccessible_p.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

ZBLinkLabelPrivate::ZBLinkLabelPrivate(ZBLinkLabel* q) : q(q) {}

QSize ZBLinkLabelPrivate::TextSize() const
{
    if (!textSize.isValid()) {
        QStyleOptionFrame option;
        option.initFrom(q);
        textSize = QSize(option.fontMetrics.horizontalAdvance(text), option.fontMetrics.height());
    }
    return textSize;
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
    d->textSize = QSize();
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
    const QMargins margins = contentsMargins();
    return d->TextSize() + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

void ZBLinkLabel::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text =
        option.fontMetrics.elidedText(d->text, Qt::ElideRight, contentsRect().width(), Qt::TextSingleLine);
    QPainter painter(this);
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

void ZBLinkLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        d->textSize = QSize();
    // The button's own handling (it releases a button that is disabled while down) ends in QWidget's.
    QPushButton::changeEvent(event);
}
