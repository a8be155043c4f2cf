#include "ZBFooterBar.h"
#include "ZBFooterBar_p.h"
#include "ZBWidgetTree_p.h"

#include <QGridLayout>

ZBFooterBarPrivate::ZBFooterBarPrivate(ZBFooterBar* q) : q(q) {}

void ZBFooterBarPrivate::Init()
{
    q->setAttribute(Qt::WA_TranslucentBackground);
    auto* grid = ZBWidgetTree::NewGridLayout(q);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    content = new QWidget(q, Qt::WindowFlags());
    content->setObjectName(QStringLiteral("ZBFOOTERBARCONTENT"));
    grid->addWidget(content);
}

ZBFooterBar::ZBFooterBar(QWidget* parent)
    : QWidget(parent, Qt::WindowFlags()), d(new ZBFooterBarPrivate(this))
{
    d->Init();
}

ZBFooterBar::~ZBFooterBar() = default;

QWidget* ZBFooterBar::Content() const
{
    return d->content;
}
