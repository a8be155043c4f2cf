// Stress operations for the dialogs: modal loops run from timers and ended from slots, nested Exec()
// calls, dialogs and popups deleted while their loop or fade runs, popup parents hidden and deleted.
#include "stress.h"

#include <ZBDialog.h>
#include <ZBMessageBox.h>
#include <ZBPopupInfo.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QSessionManager>
#include <QTimer>
#include <functional>
#include <iterator>
#include <memory>

namespace {

// Some standard buttons, NoButton, and a value that is no button kind at all.
const QList<int> kinds = {0x400, 0x4000, 0x10000, 0x80000, 0x400000, 0, 0x3};

template <typename T>
T pick(Stress::Context& c, const QList<T>& list)
{
    return list.isEmpty() ? T() : list.at(c.Bounded(0, int(list.size()) - 1));
}

// The windows of type T; a dialog runs its Exec() loop while it has Qt::WA_ShowModal.
template <typename T>
QList<QPointer<T>> windows(bool idleOnly = false)
{
    QList<QPointer<T>> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && !(idleOnly && t->testAttribute(Qt::WA_ShowModal)))
            found << t;
    }
    return found;
}

void destroy(Stress::Context& c, QWidget* w)
{
    if (c.Chance(50))
        delete w;
    else if (w)
        w->deleteLater();
}

class DialogsFamily : public Stress::Family
{
public:
    ~DialogsFamily() override
    {
        if (ZBDialog::GetTopLevelWidget() == top.data())
            ZBDialog::SetTopLevelWidget(nullptr);
        for (const QPointer<QWidget>& w : windows<QWidget>()) {
            if (qobject_cast<ZBDialog*>(w) || qobject_cast<ZBPopupInfo*>(w) || parents.contains(w) ||
                w == top)
                delete w.data();
        }
    }

    const char* Name() const override { return "dialogs"; }

    void Step(Stress::Context& c) override
    {
        parents.removeAll(QPointer<QWidget>());
        using Op = void (DialogsFamily::*)(Stress::Context&);
        static const Op ops[] = {&DialogsFamily::NewDialog, &DialogsFamily::Exec,
                                 &DialogsFamily::Exec,      &DialogsFamily::Poke,
                                 &DialogsFamily::Popups,    &DialogsFamily::Popups,
                                 &DialogsFamily::TopLevel,  &DialogsFamily::StaticFunction};
        const int op = c.Bounded(0, int(std::size(ops)));
        if (op < int(std::size(ops)))
            return (this->*ops[op])(c);
        c.Log(QStringLiteral("pump events"));
        QEventLoop loop; // lets fades and popup timers run
        QTimer::singleShot(c.Bounded(0, 60), &loop, &QEventLoop::quit);
        loop.exec();
    }

    void Check(Stress::Context& c) override
    {
        if (ZBDialog::GetTopLevelWidget() != (topIsSet ? top.data() : nullptr))
            c.Fail(QStringLiteral("the dialogs' top-level widget is not the one set, or outlived it"));
        for (ZBDialog* d : windows<ZBDialog>()) {
            if (d->parentWidget() != d->property("builtUnder").value<QObject*>())
                c.Fail(QStringLiteral("a dialog left the top-level widget it was built under"));
            if (d->testAttribute(Qt::WA_ShowModal))
                c.Fail(QStringLiteral("a dialog kept the modal attribute after Exec()"));
        }
    }

private:
    void NewDialog(Stress::Context& c)
    {
        if (windows<ZBDialog>().size() >= 8)
            return;
        c.Log(QStringLiteral("new dialog"));
        ZBDialog* d =
            c.Chance(30) ? new ZBDialog : new ZBMessageBox(pick(c, parents)); // the parent is ignored
        if (auto* box = qobject_cast<ZBMessageBox*>(d)) {
            box->AddButtons(ZBMessageBox::StandardButtons(int(c.rng.generate() & 0x0ffffc00u)));
            box->SetIcon(ZBMessageBox::Icon(c.Bounded(-1, 4)));
        }
        d->setAttribute(Qt::WA_DeleteOnClose, c.Chance(20));
        d->setProperty("builtUnder", QVariant::fromValue<QObject*>(ZBDialog::GetTopLevelWidget()));
    }

    // Runs a dialog's loop with a few disturbances scheduled inside it and one call that surely ends it.
    void Exec(Stress::Context& c)
    {
        ZBDialog* d = pick(c, windows<ZBDialog>(true));
        if (!d || depth >= 3)
            return;
        c.Log(QStringLiteral("Exec"));
        QPointer<ZBDialog> guard(d);
        auto active = std::make_shared<bool>(true);
        for (int i = c.Bounded(0, 3); i > 0; --i) {
            const int what = c.Bounded(0, 9);
            QTimer::singleShot(c.Bounded(0, 30), d, [this, &c, guard, active, what] {
                if (*active && guard)
                    Disturb(c, guard, what);
            });
        }
        const int end = c.Bounded(0, 2);
        QTimer::singleShot(c.Bounded(5, 50), d, [d, end] {
            if (end == 2 && d->isVisible())
                d->close(); // closing a hidden dialog does not end it
            else
                d->Done(end == 1 ? 77 : 0);
        });
        const bool deleteOnClose = d->testAttribute(Qt::WA_DeleteOnClose);
        ++depth;
        const int returned = d->Exec();
        --depth;
        *active = false;
        if (guard ? deleteOnClose || returned != guard->Result() : !deleteOnClose && returned != 0)
            c.Fail(QStringLiteral("Exec() returned %1 (dialog deleted: %2)").arg(returned).arg(!guard));
    }

    // Also called on idle dialogs, which it shows instead of running Exec() again.
    void Disturb(Stress::Context& c, ZBDialog* d, int what)
    {
        const std::function<void()> disturbances[] = {
            [&] { d->Done(c.Bounded(-3, 10)); },
            [&] {
                QKeyEvent key(QEvent::KeyPress, c.Chance(50) ? Qt::Key_Escape : Qt::Key_Return,
                              c.Chance(70) ? Qt::NoModifier : Qt::ControlModifier);
                QApplication::sendEvent(d, &key);
            },
            [&] { d->close(); },
            [&] { destroy(c, d); },
            [&] { d->hide(); }, // the loop runs on until the dialog ends
            [&] { destroy(c, top); },
            [&] { Exec(c); },
            [&] {
                if (!d->testAttribute(Qt::WA_ShowModal))
                    d->show();
                else if (d->Exec() != -1)
                    c.Fail(QStringLiteral("a nested Exec() of a running dialog was not refused"));
            },
            [&] {
                ZBPopupInfo::ShowTextPopup(QStringLiteral("in a loop"), QPixmap(), 0, d, 50, 40, 40);
                if (auto* manager = qApp->findChild<QSessionManager*>())
                    Q_EMIT qApp->commitDataRequest(*manager);
            },
            [&] { MessageBoxCall(c, d); },
        };
        disturbances[what]();
    }

    // Buttons added, replaced, made default or clicked, on a message box idle or running.
    void MessageBoxCall(Stress::Context& c, ZBDialog* d)
    {
        auto* box = qobject_cast<ZBMessageBox*>(d);
        QPushButton* button = pick(c, d->Content()->findChildren<QPushButton*>());
        const auto kind = ZBMessageBox::StandardButton(pick(c, kinds));
        const int what = box ? c.Bounded(0, 3) : 3;
        if (what == 0)
            box->AddButton(kind);
        else if (what == 1)
            box->AddButton(c.Chance(50) ? button : new QPushButton(QStringLiteral("own"), d->Content()),
                           kind);
        else if (what == 2)
            box->SetDefaultButton(kind);
        else if (button)
            button->click();
    }

    void Poke(Stress::Context& c)
    {
        c.Log(QStringLiteral("poke an idle dialog"));
        if (ZBDialog* d = pick(c, windows<ZBDialog>(true)))
            Disturb(c, d, c.Bounded(0, 9));
    }

    void Popups(Stress::Context& c)
    {
        QWidget* parent = c.Chance(80) ? pick(c, parents).data() : nullptr;
        const QList<QPointer<ZBPopupInfo>> shown = windows<ZBPopupInfo>();
        const int what = c.Bounded(0, 5), alignment = c.Bounded(0, 0xff);
        const int full = c.Bounded(-10, 150), in = c.Bounded(-10, 150), out = c.Bounded(-10, 150);
        c.Log(QStringLiteral("popup or popup parent call %1").arg(what));
        if (what == 0) {
            QPixmap pixmap(16, 16);
            pixmap.fill();
            ZBPopupInfo::ShowTextPopup(QStringLiteral("Popup"), pixmap, alignment,
                                       QPoint(c.Bounded(-50, 850), c.Bounded(-50, 850)), parent, full, in,
                                       out);
        } else if (what == 1) {
            ZBPopupInfo::ShowTextPopup(QString(), QPixmap(), alignment, parent, full, in, out);
        } else if (what == 2) {
            destroy(c, pick(c, shown)); // often while it fades
        } else if (what == 3 && parents.size() < 4) {
            parents << new QWidget(nullptr, Qt::FramelessWindowHint);
            parents.last()->show();
        } else if (what == 4 && parent && parent->isVisible()) {
            parent->hide();
            for (ZBPopupInfo* p : shown) {
                if (p && p->parentWidget() == parent && p->isVisible())
                    c.Fail(QStringLiteral("a popup stayed visible after its parent was hidden"));
            }
        } else if (what == 5 && parent) {
            c.Chance(50) ? parent->show() : destroy(c, parent);
        }
    }

    void TopLevel(Stress::Context& c)
    {
        c.Log(QStringLiteral("set or clear the dialogs' top-level widget"));
        if (!top)
            top = new QWidget;
        topIsSet = c.Chance(70);
        ZBDialog::SetTopLevelWidget(topIsSet ? top.data() : nullptr);
    }

    // A static function's box ended from a timer like any running dialog, its parent perhaps deleted.
    void StaticFunction(Stress::Context& c)
    {
        c.Log(QStringLiteral("static message box function"));
        QTimer sweeper;
        QObject::connect(&sweeper, &QTimer::timeout, [this, &c] {
            for (ZBDialog* d : windows<ZBDialog>()) {
                if (d->testAttribute(Qt::WA_ShowModal))
                    return Disturb(c, d, c.Bounded(0, 9));
            }
        });
        sweeper.start(c.Bounded(0, 20));
        ZBMessageBox::Question(nullptr, QStringLiteral("Stress"), QStringLiteral("Go on?"),
                               ZBMessageBox::StandardButtons(int(c.rng.generate() & 0x0ffffc00u)),
                               ZBMessageBox::StandardButton(pick(c, kinds)));
    }

    QPointer<QWidget> top;
    bool topIsSet = false;
    int depth = 0;
    QList<QPointer<QWidget>> parents;
};

} // namespace

ZB_STRESS_FAMILY(DialogsFamily);
