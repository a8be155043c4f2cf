#include "ZBFooterBar.h"
#include "ZBFooterBar_p.h"

#include <QGridLayout>

ZBFooterBarPrivate::ZBFooterBarPrivate(ZBFooterBar* q) : q(q) {}

ZBFooterBar::ZBFooterBar(QWidget* parent)
    : QWidget(parent, Qt::WindowFlags()), d(new ZBFooterBarPrivate(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* grid = new QGridLayout(this);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    d->content = new QWidget(this, Qt::WindowFlags());
    d->content->setObjectName(QStringLiteral("ZBFOOTERBARCONTENT"));
    grid->addWidget(d->content);
}

ZBFooterBar::~ZBFooterBar() = default;

QWidget* ZBFooterBar::Content() const
{
    return d->content;
}
