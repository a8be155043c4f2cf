#include "ZBDeferredDelete_p.h"

#include <QEvent>
#include <QGridLayout>
#include <QPointer>
#include <QWidget>
#include <utility>

namespace {

// Rides on the released object; its deferred deletion decides the object's fate.
class Watcher : public QObject
{
public:
    Watcher(QObject* object, std::function<bool(QObject*)> inUse) : QObject(object), inUse(std::move(inUse))
    {}

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::DeferredDelete && parent() && !inUse(parent())) {
            delete parent(); // takes this watcher with it
            return true;
        }
        return QObject::event(event);
    }

private:
    std::function<bool(QObject*)> inUse;
};

} // namespace

void ZBDeferredDelete::Release(QObject* object, std::function<bool(QObject*)> inUse)
{
    if (object)
        (new Watcher(object, std::move(inUse)))->deleteLater();
}

void ZBDeferredDelete::Release(QWidget* widget, QWidget* container, QLayout* layout)
{
    QPointer<QWidget> holder(container);
    QPointer<QLayout> cells(layout);
    Release(widget, [holder, cells](QObject* object) {
        auto* w = static_cast<QWidget*>(object);
        return !holder || w->parentWidget() != holder || (cells && cells->indexOf(w) >= 0);
    });
}

void ZBDeferredDelete::ReplaceInCell(QWidget* container, QGridLayout* grid, int row, int column, QWidget* old,
                                     QWidget* widget)
{
    if (old && old != widget) {
        if (grid)
            grid->removeWidget(old);
        old->hide();
        Release(old, container, grid);
    }
    if (grid && widget)
        grid->addWidget(widget, row, column, Qt::Alignment());
}
