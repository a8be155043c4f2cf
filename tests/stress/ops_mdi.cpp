// Random operations over one multi-document area: add sub-windows, activate them by press, focus
// and slots, cycle, maximise, minimise and restore them through slots, buttons and title
// double-clicks, block and unblock the area, scroll, resize, move, close, delete and reparent.
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

constexpr int MaxSubWindows = 14;

void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButton button)
{
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class MdiFamily : public Stress::Family
{
public:
    MdiFamily()
    {
        host = new QWidget;
        host->setObjectName(QStringLiteral("mdi stress host"));
        host->resize(700, 520);
        area = new ZBMdiAreaWidget(host);
        area->setGeometry(0, 0, 700, 500);
        focusSink = new QLineEdit(host);
        focusSink->setGeometry(0, 500, 700, 20);
        host->show();
    }
    ~MdiFamily() override
    {
        delete host;
        delete holder;
        // Closed sub-windows leave the area at once but may still be fading out on their own.
        for (const QPointer<ZBMdiSubWindow>& sub : std::as_const(made))
            delete sub.data();
    }

    const char* Name() const override { return "mdi"; }

    void Step(Stress::Context& c) override
    {
        if (!area) {
            c.Log(QStringLiteral("new area"));
            area = new ZBMdiAreaWidget(host);
            area->setGeometry(0, 0, 700, 500);
            area->show();
            return;
        }
        const QList<ZBMdiSubWindow*> subs = area->SubWindows();
        ZBMdiSubWindow* any = subs.isEmpty() ? nullptr : subs.at(c.Bounded(0, subs.size() - 1));
        const QString who = any ? any->objectName() : QStringLiteral("none");
        switch (c.Bounded(0, 21)) {
        case 0:
        case 1:
            if (subs.size() < MaxSubWindows) {
                const QString name = QStringLiteral("sub%1").arg(made.size() + 1);
                c.Log(QStringLiteral("AddWidget %1").arg(name));
                auto* edit = new QLineEdit(name);
                edit->setWindowTitle(name);
                if (ZBMdiSubWindow* sub = area->AddWidget(edit)) {
                    made << sub;
                    sub->setObjectName(name);
                    if (area->GetState() == ZBMdiAreaWidget::Normal)
                        sub->setGeometry(c.Bounded(-100, 600), c.Bounded(-100, 450), c.Bounded(120, 400),
                                         c.Bounded(60, 300));
                } else {
                    delete edit; // refused while blocked
                }
            }
            break;
        case 2:
            if (subs.size() < MaxSubWindows) {
                const QString name = QStringLiteral("own%1").arg(made.size() + 1);
                c.Log(QStringLiteral("AddSubWindow of a window %1").arg(name));
                auto* sub = new ZBMdiSubWindow;
                made << sub;
                sub->setObjectName(name);
                area->AddSubWindow(sub);
                if (sub->parentWidget() != area->viewport())
                    delete sub;
            }
            break;
        case 3:
            if (any) {
                c.Log(QStringLiteral("press on %1").arg(who));
                const QPoint at = c.PointIn(any);
                sendMouse(any, QEvent::MouseButtonPress, at, Qt::LeftButton);
                sendMouse(any, QEvent::MouseButtonRelease, at, Qt::LeftButton);
            }
            break;
        case 4:
            if (any && any->GetWidget()) {
                c.Log(QStringLiteral("focus into %1").arg(who));
                any->GetWidget()->setFocus();
            } else {
                c.Log(QStringLiteral("focus outside"));
                focusSink->setFocus();
            }
            break;
        case 5:
            c.Log(QStringLiteral("SetActiveSubWindow %1").arg(who));
            area->SetActiveSubWindow(c.Chance(10) ? nullptr : any);
            break;
        case 6:
            c.Log(QStringLiteral("next"));
            area->ActivateNextSubWindow();
            break;
        case 7:
            c.Log(QStringLiteral("previous"));
            area->ActivatePreviousSubWindow();
            break;
        case 8:
            if (any) {
                const int which = c.Bounded(0, 3);
                c.Log(QStringLiteral("show slot %1 on %2").arg(which).arg(who));
                if (which == 0)
                    any->ShowMaximized();
                else if (which == 1)
                    any->ShowMinimized();
                else if (which == 2)
                    any->ShowNormal();
                else
                    any->SetState(Qt::WindowStates(c.Bounded(0, 3)));
            }
            break;
        case 9:
            if (any) {
                static const char* const names[] = {"MINIMIZEBUTTON", "MAXIMIZEBUTTON", "RESTOREBUTTON"};
                const char* name = names[c.Bounded(0, 2)];
                c.Log(QStringLiteral("click %1 of %2").arg(QLatin1String(name), who));
                if (auto* button = any->findChild<QToolButton*>(QLatin1String(name)))
                    button->click();
            }
            break;
        case 10:
            if (any && any->TitleBar()) {
                c.Log(QStringLiteral("double-click the title of %1").arg(who));
                sendMouse(any->TitleBar(), QEvent::MouseButtonDblClick, c.PointIn(any->TitleBar()),
                          c.Chance(80) ? Qt::LeftButton : Qt::RightButton);
            }
            break;
        case 11: {
            const bool block = !area->IsBlocked() && c.Chance(40);
            c.Log(QStringLiteral("BlockMdiArea(%1)").arg(block));
            area->BlockMdiArea(block);
            break;
        }
        case 12: {
            QScrollBar* bar = c.Chance(50) ? area->horizontalScrollBar() : area->verticalScrollBar();
            const int value = c.Bounded(bar->minimum(), bar->maximum());
            c.Log(QStringLiteral("scroll to %1").arg(value));
            bar->setValue(value);
            break;
        }
        case 13: {
            const QSize size(c.Bounded(150, 900), c.Bounded(120, 700));
            c.Log(QStringLiteral("resize the area to %1x%2").arg(size.width()).arg(size.height()));
            area->resize(size);
            break;
        }
        case 14:
            // Moving the active sub-window of a maximised area away is the application's own doing.
            if (any && !(area->GetState() == ZBMdiAreaWidget::Maximized && any == area->ActiveSubWindow())) {
                c.Log(QStringLiteral("move %1").arg(who));
                any->setGeometry(c.Bounded(-200, 700), c.Bounded(-200, 500), c.Bounded(100, 500),
                                 c.Bounded(50, 400));
            }
            break;
        case 15:
            c.Log(QStringLiteral("CloseActiveSubWindow"));
            area->CloseActiveSubWindow();
            break;
        case 16:
            if (any) {
                c.Log(QStringLiteral("close() %1").arg(who));
                any->close();
            }
            break;
        case 17:
            if (c.Chance(20)) {
                c.Log(QStringLiteral("CloseAllSubWindows"));
                area->CloseAllSubWindows();
            }
            break;
        case 18:
            if (any) {
                c.Log(QStringLiteral("delete %1").arg(who));
                delete any;
            }
            break;
        case 19:
            if (any) {
                c.Log(QStringLiteral("reparent %1 out of the area").arg(who));
                if (!holder)
                    holder = new QWidget;
                any->setParent(holder);
            }
            break;
        case 20:
            if (c.Chance(5)) {
                c.Log(QStringLiteral("delete the area"));
                delete area;
            }
            break;
        default:
            c.Log(QStringLiteral("process events"));
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            break;
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
        if (set.size() != subs.size())
            return c.Fail(QStringLiteral("SubWindows() holds a sub-window twice"));
        if (subs.size() != area->SubWindowsCount())
            return c.Fail(QStringLiteral("SubWindowsCount() differs from SubWindows()"));
        if (set != QSet<ZBMdiSubWindow*>(children.begin(), children.end()))
            return c.Fail(QStringLiteral("SubWindows() is not the set of sub-windows in the viewport"));

        ZBMdiSubWindow* active = area->ActiveSubWindow();
        if (active != (subs.isEmpty() ? nullptr : subs.first()))
            return c.Fail(QStringLiteral("the active sub-window does not head the activation order"));
        if (area->CurrentSubWindow() != active)
            return c.Fail(QStringLiteral("CurrentSubWindow() differs from ActiveSubWindow()"));
        for (ZBMdiSubWindow* sub : subs) {
            if (sub != active && (sub->windowState() & Qt::WindowActive))
                return c.Fail(
                    QStringLiteral("%1 carries Qt::WindowActive but is not active").arg(sub->objectName()));
            if (sub->windowType() != Qt::SubWindow || !sub->testAttribute(Qt::WA_DeleteOnClose))
                return c.Fail(QStringLiteral("%1 lost its sub-window flags").arg(sub->objectName()));
        }

        if (area->GetState() == ZBMdiAreaWidget::Maximized && active) {
            if (active->isHidden() || active->geometry() != area->viewport()->rect())
                return c.Fail(QStringLiteral("the maximised sub-window does not cover the viewport"));
            for (ZBMdiSubWindow* sub : subs) {
                if (sub != active && !sub->isHidden())
                    return c.Fail(
                        QStringLiteral("%1 is shown beside the maximised one").arg(sub->objectName()));
            }
            const QScrollBar* h = area->horizontalScrollBar();
            const QScrollBar* v = area->verticalScrollBar();
            if (h->minimum() != 0 || h->maximum() != 0 || v->minimum() != 0 || v->maximum() != 0)
                return c.Fail(QStringLiteral("a maximised area has scroll ranges"));
        } else if (area->GetState() == ZBMdiAreaWidget::Normal) {
            // Only the maximised mode hides sub-windows.
            for (ZBMdiSubWindow* sub : subs) {
                if (sub->isHidden())
                    return c.Fail(QStringLiteral("%1 is hidden in the normal mode").arg(sub->objectName()));
            }
        }
    }

private:
    QPointer<QWidget> host;
    QPointer<ZBMdiAreaWidget> area;
    QPointer<QWidget> focusSink;
    QPointer<QWidget> holder;             // takes the sub-windows reparented out of the area
    QList<QPointer<ZBMdiSubWindow>> made; // every sub-window made here, for the final clean-up
};

} // namespace

ZB_STRESS_FAMILY(MdiFamily);
