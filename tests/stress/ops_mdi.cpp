// Random operations over one multi-document area: add sub-windows, activate them by press, focus
// and slots, cycle, change their states through slots, buttons and title double-clicks, block the
// area, scroll, resize, move, close, delete and reparent.
#include "stress.h"

#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBTitleBar.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QToolButton>
#include <utility>

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
{
    const auto buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class MdiFamily : public Stress::Family
{
public:
    MdiFamily()
    {
        host = new QWidget;
        host->resize(700, 520);
        focusSink = new QLineEdit(host);
        focusSink->setGeometry(0, 500, 700, 20);
        NewArea();
        host->show();
    }
    ~MdiFamily() override
    {
        delete host;
        delete holder;
        for (const QPointer<ZBMdiSubWindow>& sub : std::as_const(made)) // closed ones may still fade
            delete sub.data();
    }
    const char* Name() const override { return "mdi"; }

    void Step(Stress::Context& context) override
    {
        using F = MdiFamily;
        using C = Stress::Context;
        using S = ZBMdiSubWindow;
        static const struct
        {
            int weight;
            bool needsSub; // skipped while the area has no sub-window
            const char* name;
            void (*run)(F&, C&, S*); // gets a random sub-window, or null when the area has none
        } ops[] = {
            {2, false, "AddWidget", [](F& f, C& c, S*) { f.Add(c, true); }},
            {1, false, "AddSubWindow", [](F& f, C& c, S*) { f.Add(c, false); }},
            {1, true, "press",
             [](F&, C& c, S* s) {
                 const QPoint at = c.PointIn(s);
                 sendMouse(s, QEvent::MouseButtonPress, at);
                 sendMouse(s, QEvent::MouseButtonRelease, at);
             }},
            {1, true, "focus its widget",
             [](F&, C&, S* s) {
                 if (s->GetWidget())
                     s->GetWidget()->setFocus();
             }},
            {1, false, "focus outside", [](F& f, C&, S*) { f.focusSink->setFocus(); }},
            {1, true, "SetActiveSubWindow", [](F& f, C&, S* s) { f.area->SetActiveSubWindow(s); }},
            {1, false, "SetActiveSubWindow(nullptr)",
             [](F& f, C&, S*) { f.area->SetActiveSubWindow(nullptr); }},
            {1, false, "ActivateNextSubWindow", [](F& f, C&, S*) { f.area->ActivateNextSubWindow(); }},
            {1, false, "ActivatePreviousSubWindow",
             [](F& f, C&, S*) { f.area->ActivatePreviousSubWindow(); }},
            {1, true, "ShowMaximized", [](F&, C&, S* s) { s->ShowMaximized(); }},
            {1, true, "ShowMinimized", [](F&, C&, S* s) { s->ShowMinimized(); }},
            {1, true, "ShowNormal", [](F&, C&, S* s) { s->ShowNormal(); }},
            {1, true, "SetState(random)",
             [](F&, C& c, S* s) { s->SetState(Qt::WindowStates(c.Bounded(0, 3))); }},
            {2, true, "click a state button",
             [](F&, C& c, S* s) {
                 const char* const names[] = {"MINIMIZEBUTTON", "MAXIMIZEBUTTON", "RESTOREBUTTON"};
                 if (auto* button = s->findChild<QToolButton*>(QLatin1String(names[c.Bounded(0, 2)])))
                     button->click();
             }},
            {1, true, "double-click the title",
             [](F&, C& c, S* s) {
                 sendMouse(s->TitleBar(), QEvent::MouseButtonDblClick, c.PointIn(s->TitleBar()),
                           c.Chance(80) ? Qt::LeftButton : Qt::RightButton);
             }},
            {1, false, "BlockMdiArea",
             [](F& f, C& c, S*) { f.area->BlockMdiArea(!f.area->IsBlocked() && c.Chance(40)); }},
            {1, false, "scroll",
             [](F& f, C& c, S*) {
                 QScrollBar* bar = c.Chance(50) ? f.area->horizontalScrollBar() : f.area->verticalScrollBar();
                 bar->setValue(c.Bounded(bar->minimum(), bar->maximum()));
             }},
            {1, false, "resize the area",
             [](F& f, C& c, S*) { f.area->resize(c.Bounded(150, 900), c.Bounded(120, 700)); }},
            {1, true, "setGeometry of a normal sub-window",
             [](F& f, C& c, S* s) {
                 // Moving a maximised or minimised one away is the application's own doing.
                 if (f.area->GetState() == ZBMdiAreaWidget::Normal && s->GetState() == Qt::WindowNoState)
                     s->setGeometry(c.Bounded(-200, 700), c.Bounded(-200, 500), c.Bounded(100, 500),
                                    c.Bounded(50, 400));
             }},
            {1, false, "CloseActiveSubWindow", [](F& f, C&, S*) { f.area->CloseActiveSubWindow(); }},
            {1, true, "close()", [](F&, C&, S* s) { s->close(); }},
            {1, false, "CloseAllSubWindows (sometimes)",
             [](F& f, C& c, S*) {
                 if (c.Chance(20))
                     f.area->CloseAllSubWindows();
             }},
            {1, true, "delete", [](F&, C&, S* s) { delete s; }},
            {1, true, "reparent out of the area",
             [](F& f, C&, S* s) {
                 if (!f.holder)
                     f.holder = new QWidget;
                 s->setParent(f.holder);
             }},
            {1, false, "delete the area (sometimes)",
             [](F& f, C& c, S*) {
                 if (c.Chance(5))
                     delete f.area;
             }},
            {1, false, "process events",
             [](F&, C&, S*) {
                 QCoreApplication::processEvents();
                 QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
             }},
        };
        if (!area) {
            context.Log(QStringLiteral("new area"));
            return NewArea();
        }
        const QList<ZBMdiSubWindow*> subs = area->SubWindows();
        ZBMdiSubWindow* any = subs.isEmpty() ? nullptr : subs.at(context.Bounded(0, subs.size() - 1));
        int total = 0;
        for (const auto& op : ops)
            total += op.weight;
        for (int roll = context.Bounded(0, total - 1), i = 0;; roll -= ops[i++].weight) {
            if (roll >= ops[i].weight)
                continue;
            context.Log(
                QStringLiteral("%1 on %2")
                    .arg(QLatin1String(ops[i].name), any ? any->objectName() : QStringLiteral("none")));
            if (any || !ops[i].needsSub)
                ops[i].run(*this, context, any);
            return;
        }
    }

    void Check(Stress::Context& c) override
    {
        if (!area)
            return;
        const QList<ZBMdiSubWindow*> subs = area->SubWindows();
        const QList<ZBMdiSubWindow*> children =
            area->viewport()->findChildren<ZBMdiSubWindow*>(QString(), Qt::FindDirectChildrenOnly);
        const QSet<ZBMdiSubWindow*> set(subs.begin(), subs.end());
        if (set.size() != subs.size() || subs.size() != area->SubWindowsCount() ||
            set != QSet<ZBMdiSubWindow*>(children.begin(), children.end()))
            return c.Fail(QStringLiteral("SubWindows() is not the sub-windows of the viewport, once each"));
        ZBMdiSubWindow* active = area->ActiveSubWindow();
        if (active != (subs.isEmpty() ? nullptr : subs.first()) || area->CurrentSubWindow() != active)
            return c.Fail(QStringLiteral("the active sub-window does not head the activation order"));
        if (active && children.last() != active)
            return c.Fail(
                QStringLiteral("%1 is stacked above the active one").arg(children.last()->objectName()));
        const bool maximized = area->GetState() == ZBMdiAreaWidget::Maximized;
        for (ZBMdiSubWindow* sub : subs) {
            if (sub != active && (sub->windowState() & Qt::WindowActive))
                return c.Fail(sub->objectName() +
                              QStringLiteral(" carries Qt::WindowActive but is not active"));
            if (sub->windowType() != Qt::SubWindow || !sub->testAttribute(Qt::WA_DeleteOnClose))
                return c.Fail(sub->objectName() + QStringLiteral(" lost its sub-window flags"));
            if ((!maximized || active) && sub->isHidden() != (maximized && sub != active))
                return c.Fail(sub->objectName() +
                              QStringLiteral(" is hidden or shown against the area's mode"));
        }
        const QScrollBar* h = area->horizontalScrollBar();
        const QScrollBar* v = area->verticalScrollBar();
        if (maximized && active &&
            (active->geometry() != area->viewport()->rect() ||
             h->maximum() - h->minimum() + v->maximum() - v->minimum()))
            return c.Fail(
                QStringLiteral("the maximised sub-window does not cover the viewport, or it scrolls"));
    }

private:
    void NewArea()
    {
        area = new ZBMdiAreaWidget(host);
        area->setGeometry(0, 0, 700, 500);
        area->show();
    }

    void Add(Stress::Context& c, bool widget)
    {
        if (area->SubWindowsCount() >= 14)
            return;
        const QString name = QStringLiteral("sub%1").arg(made.size() + 1);
        auto* edit = widget ? new QLineEdit(name) : nullptr;
        ZBMdiSubWindow* sub = widget ? area->AddWidget(edit) : new ZBMdiSubWindow;
        if (!widget)
            area->AddSubWindow(sub);
        if (!sub || sub->parentWidget() != area->viewport()) { // refused while blocked
            delete edit;
            delete sub;
            return;
        }
        made << sub;
        sub->setObjectName(name);
        if (area->GetState() == ZBMdiAreaWidget::Normal)
            sub->setGeometry(c.Bounded(-100, 600), c.Bounded(-100, 450), c.Bounded(120, 400),
                             c.Bounded(60, 300));
    }

    QPointer<QWidget> host;
    QPointer<ZBMdiAreaWidget> area;
    QPointer<QWidget> focusSink;
    QPointer<QWidget> holder;             // takes the sub-windows reparented out of the area
    QList<QPointer<ZBMdiSubWindow>> made; // every sub-window kept here, for the final clean-up
};

} // namespace

ZB_STRESS_FAMILY(MdiFamily);
