#include "ZBToolBarWidgetContainer_p.h"

#include "ZBPositionRow_p.h"

#include <QGridLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

ZBToolBarWidgetContainer::ZBToolBarWidgetContainer(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setSpacing(5);
    grid->setContentsMargins(0, 0, 0, 0);
    row.reset(new ZBPositionRow(this, grid, false));
}

ZBToolBarWidgetContainer::~ZBToolBarWidgetContainer()
{
    // The tools die after this object, with the QWidget part: keep their signals from reaching it.
    for (QObject* child : children())
        disconnect(child, &QObject::destroyed, this, &ZBToolBarWidgetContainer::OnWidgetDestroyed);
}

bool ZBToolBarWidgetContainer::AddWidget(QWidget* widget, int position)
{
    if (!widget || widget == this || widget->isAncestorOf(this))
        return false;
    connect(widget, &QObject::destroyed, this, &ZBToolBarWidgetContainer::OnWidgetDestroyed,
            Qt::UniqueConnection);
    return row->Insert(widget, position) >= 0;
}

void ZBToolBarWidgetContainer::RemoveWidget(QWidget* widget)
{
    row->Remove(widget);
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
    row->Forget(object);
}
