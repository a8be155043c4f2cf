#include "ZBToolBarWidgetContainer_p.h"

#include "ZBPositionRow_p.h"
#include "ZBWidgetTree_p.h"

#include <QGridLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

ZBToolBarWidgetContainerPrivate::ZBToolBarWidgetContainerPrivate(ZBToolBarWidgetContainer* q) : q(q) {}

ZBToolBarWidgetContainerPrivate::~ZBToolBarWidgetContainerPrivate()
{
    // The tools die after this object, with the QWidget part: keep their signals from reaching it.
    for (QObject* child : q->children())
        QObject::disconnect(child, &QObject::destroyed, q, &ZBToolBarWidgetContainer::OnWidgetDestroyed);
}

void ZBToolBarWidgetContainerPrivate::Init()
{
    auto* grid = ZBWidgetTree::NewGridLayout(q);
    grid->setSpacing(5);
    grid->setContentsMargins(0, 0, 0, 0);
    row.reset(new ZBPositionRow(q, grid, false));
}

ZBToolBarWidgetContainer::ZBToolBarWidgetContainer(QWidget* parent)
    : QWidget(parent), d(new ZBToolBarWidgetContainerPrivate(this))
{
    d->Init();
}

ZBToolBarWidgetContainer::~ZBToolBarWidgetContainer() = default;

bool ZBToolBarWidgetContainer::AddWidget(QWidget* widget, int position)
{
    if (!widget || ZBWidgetTree::Within(this, widget))
        return false;
    connect(widget, &QObject::destroyed, this, &ZBToolBarWidgetContainer::OnWidgetDestroyed,
            Qt::UniqueConnection);
    return d->row->Insert(widget, position) >= 0;
}

void ZBToolBarWidgetContainer::RemoveWidget(QWidget* widget)
{
    d->row->Remove(widget);
}

void ZBToolBarWidgetContainer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void ZBToolBarWidgetContainer::OnWidgetDestroyed(QObject* object)
{
    d->row->Forget(object);
}
