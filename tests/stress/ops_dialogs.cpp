// Stress operations for the dialogs: modal loops run from timers and ended from slots, nested Exec()
// calls, dialogs and popups deleted while their loop or fade runs, popup parents hidden and deleted.
#include "stress.h"

#include <ZBDialog.h>
#include <ZBMessageBox.h>
#include <ZBPopupInfo.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QSessionManager>
#include <QSet>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>

namespace {

const ZBMessageBox::StandardButton kinds[] = {ZBMessageBox::NoButton,
                                              ZBMessageBox::Ok,
                                              ZBMessageBox::Save,
                                              ZBMessageBox::Yes,
                                              ZBMessageBox::No,
                                              ZBMessageBox::Abort,
                                              ZBMessageBox::Retry,
                                              ZBMessageBox::Cancel,
                                              ZBMessageBox::Help,
                                              ZBMessageBox::Apply,
                                              ZBMessageBox::StandardButton(0x3)};

const int alignments[] = {0,
                          Qt::AlignLeft | Qt::AlignTop,
                          Qt::AlignHCenter | Qt::AlignTop,
                          Qt::AlignRight | Qt::AlignTop,
                          Qt::AlignLeft | Qt::AlignVCenter,
                          Qt::AlignCenter,
                          Qt::AlignRight | Qt::AlignVCenter,
                          Qt::AlignLeft | Qt::AlignBottom,
                          Qt::AlignHCenter | Qt::AlignBottom,
                          Qt::AlignRight | Qt::AlignBottom,
                          Qt::AlignLeft | Qt::AlignRight | Qt::AlignTop | Qt::AlignBottom};

struct TrackedDialog
{
    QPointer<ZBDialog> dialog;
    QPointer<QWidget> parent; // the top-level widget when it was built
    bool hadParent = false;
    std::shared_ptr<int> lastFinished = std::make_shared<int>(0);
};

void pump(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    while (timer.elapsed() < milliseconds);
}

void sendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
}

class DialogsFamily : public Stress::Family
{
public:
    ~DialogsFamily() override
    {
        if (ZBDialog::GetTopLevelWidget() == top.data())
            ZBDialog::SetTopLevelWidget(nullptr);
        for (const TrackedDialog& t : dialogs)
            delete t.dialog.data();
        for (const QPointer<ZBPopupInfo>& p : popups)
            delete p.data();
        for (const QPointer<QWidget>& p : parents)
            delete p.data();
        delete top.data();
    }

    const char* Name() const override { return "dialogs"; }

    void Step(Stress::Context& c) override
    {
        Prune();
        switch (c.Bounded(0, 12)) {
        case 0:
            NewDialog(c);
            break;
        case 1:
        case 2:
            if (ZBDialog* d = PickIdle(c))
                ExecDialog(c, d);
            break;
        case 3:
            ShowHideMove(c);
            break;
        case 4:
            Keys(c);
            break;
        case 5:
            MessageBoxCalls(c);
            break;
        case 6:
            ShowPopup(c);
            break;
        case 7:
            ParentCalls(c);
            break;
        case 8:
            DeleteSomething(c);
            break;
        case 9:
            TopLevelCalls(c);
            break;
        case 10:
            StaticFunction(c);
            break;
        case 11:
            CommitRequest(c);
            break;
        default:
            c.Log(QStringLiteral("pump events"));
            pump(c.Bounded(0, 60));
            break;
        }
    }

    void Check(Stress::Context& c) override
    {
        Prune();
        QWidget* expectedTop = topIsSet ? top.data() : nullptr;
        if (ZBDialog::GetTopLevelWidget() != expectedTop)
            c.Fail(
                QStringLiteral("the dialogs' top-level widget is not the one set, or outlived its widget"));
        for (const TrackedDialog& t : dialogs) {
            ZBDialog* d = t.dialog;
            if (t.hadParent && (!t.parent || d->parentWidget() != t.parent))
                c.Fail(QStringLiteral("a dialog outlived or left the top-level widget it was built under"));
            if (!t.hadParent && d->parentWidget())
                c.Fail(QStringLiteral("a dialog built without top-level widget has a parent"));
            if (!running.contains(d) && d->testAttribute(Qt::WA_ShowModal))
                c.Fail(QStringLiteral("a dialog kept the modal attribute after Exec()"));
            if (!d->isWindow() || d->windowOpacity() < 0.0 || d->windowOpacity() > 1.0)
                c.Fail(QStringLiteral("a dialog is no window or has a bad opacity"));
            if (auto* box = qobject_cast<ZBMessageBox*>(d))
                CheckBox(c, box);
        }
        for (const QPointer<ZBPopupInfo>& p : popups) {
            if (p->windowOpacity() < 0.0 || p->windowOpacity() > 1.0)
                c.Fail(QStringLiteral("a popup has opacity %1").arg(p->windowOpacity()));
        }
    }

private:
    void CheckBox(Stress::Context& c, ZBMessageBox* box)
    {
        auto* icon = box->findChild<QLabel*>(QStringLiteral("ZBMESSBOXICONLABEL"));
        auto* text = box->findChild<QWidget*>(QStringLiteral("ZBMESSBOXTEXTLABEL"));
        if (!icon || !text) {
            c.Fail(QStringLiteral("a message box lost its text view or icon label"));
            return;
        }
        if (icon->isHidden() != icon->pixmap(Qt::ReturnByValue).isNull())
            c.Fail(QStringLiteral("the icon label's visibility does not follow its pixmap"));
        if (auto* close = box->findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"));
            close && !close->isHidden())
            c.Fail(QStringLiteral("a message box shows a close button"));
        int defaults = 0;
        for (QPushButton* b : box->Content()->findChildren<QPushButton*>()) {
            if (b->isDefault() && !b->isHidden())
                ++defaults;
        }
        if (defaults > 1)
            c.Fail(QStringLiteral("a message box has %1 default buttons").arg(defaults));
    }

    void Prune()
    {
        dialogs.erase(std::remove_if(dialogs.begin(), dialogs.end(),
                                     [](const TrackedDialog& t) { return t.dialog.isNull(); }),
                      dialogs.end());
        popups.removeAll(QPointer<ZBPopupInfo>());
        parents.removeAll(QPointer<QWidget>());
    }

    ZBDialog* PickIdle(Stress::Context& c)
    {
        QList<ZBDialog*> idle;
        for (const TrackedDialog& t : dialogs) {
            if (t.dialog && !running.contains(t.dialog))
                idle << t.dialog;
        }
        return idle.isEmpty() ? nullptr : idle.at(c.Bounded(0, idle.size() - 1));
    }

    ZBMessageBox* PickBox(Stress::Context& c)
    {
        QList<ZBMessageBox*> boxes;
        for (const TrackedDialog& t : dialogs) {
            if (auto* box = qobject_cast<ZBMessageBox*>(t.dialog.data()))
                boxes << box;
        }
        return boxes.isEmpty() ? nullptr : boxes.at(c.Bounded(0, boxes.size() - 1));
    }

    void NewDialog(Stress::Context& c)
    {
        if (dialogs.size() >= 8)
            return;
        TrackedDialog t;
        t.parent = ZBDialog::GetTopLevelWidget();
        t.hadParent = !t.parent.isNull();
        if (c.Chance(50)) {
            c.Log(QStringLiteral("new message box"));
            auto* box = new ZBMessageBox(parents.isEmpty() ? nullptr : parents.first().data());
            box->SetText(c.Chance(50) ? QStringLiteral("One line") : QStringLiteral("Two\n<b>lines</b>"));
            box->AddButtons(ZBMessageBox::StandardButtons(c.rng.generate() & 0x0ffffc00u));
            box->SetIcon(ZBMessageBox::Icon(c.Bounded(-1, 4)));
            t.dialog = box;
        } else {
            c.Log(QStringLiteral("new dialog"));
            auto* d = new ZBDialog;
            auto* ok = new QPushButton(QStringLiteral("OK"), d->Content());
            ok->setDefault(c.Chance(70));
            ok->setEnabled(c.Chance(80));
            QObject::connect(ok, &QPushButton::clicked, d, &ZBDialog::Accept);
            d->resize(c.Bounded(50, 500), c.Bounded(50, 500));
            t.dialog = d;
        }
        if (c.Chance(20))
            t.dialog->setAttribute(Qt::WA_DeleteOnClose);
        std::shared_ptr<int> last = t.lastFinished;
        QObject::connect(t.dialog.data(), &ZBDialog::Finished, [last](int r) { *last = r; });
        dialogs << t;
    }

    TrackedDialog* Track(ZBDialog* d)
    {
        for (TrackedDialog& t : dialogs) {
            if (t.dialog == d)
                return &t;
        }
        return nullptr;
    }

    // Runs d's loop with a few disturbances scheduled inside it and one call that surely ends it.
    void ExecDialog(Stress::Context& c, ZBDialog* d)
    {
        if (running.size() >= 3)
            return;
        c.Log(QStringLiteral("Exec %1").arg(QString::fromLatin1(d->metaObject()->className())));
        TrackedDialog* t = Track(d);
        if (!t)
            return;
        const std::shared_ptr<int> last = t->lastFinished;
        auto active = std::make_shared<bool>(true);
        const int disturbances = c.Bounded(0, 3);
        for (int i = 0; i < disturbances; ++i) {
            const int what = c.Bounded(0, 11);
            const int value = c.Bounded(-3, 10);
            QPointer<ZBDialog> guard(d);
            QTimer::singleShot(c.Bounded(0, 30), d, [this, &c, guard, active, what, value] {
                if (*active && guard)
                    Disturb(c, guard, what, value);
            });
        }
        const int end = c.Bounded(0, 2);
        QTimer::singleShot(c.Bounded(5, 50), d, [d, end] {
            if (end == 0)
                d->Reject();
            else if (end == 1)
                d->Done(77);
            else if (d->isVisible())
                d->close();
            else
                d->Reject(); // closing a hidden dialog is accepted without ending it
        });

        running.insert(d);
        QPointer<ZBDialog> guard(d);
        const bool deleteOnClose = d->testAttribute(Qt::WA_DeleteOnClose);
        const int returned = d->Exec();
        *active = false;
        running.remove(d);
        if (guard) {
            if (returned != d->Result())
                c.Fail(QStringLiteral("Exec() returned %1, the dialog's result is %2")
                           .arg(returned)
                           .arg(d->Result()));
            if (deleteOnClose)
                c.Fail(QStringLiteral("a delete-on-close dialog survived its Exec()"));
        } else if (returned != 0 && returned != *last) {
            c.Fail(QStringLiteral("Exec() of a destroyed dialog returned %1").arg(returned));
        }
    }

    void Disturb(Stress::Context& c, ZBDialog* d, int what, int value)
    {
        switch (what) {
        case 0:
            d->Done(value);
            break;
        case 1:
            sendKey(d, c.Chance(50) ? Qt::Key_Escape : Qt::Key_Return,
                    c.Chance(70) ? Qt::NoModifier : Qt::ControlModifier);
            break;
        case 2:
            d->close();
            break;
        case 3:
            delete d;
            break;
        case 4:
            d->deleteLater();
            break;
        case 5:
            if (d->Exec() != -1)
                c.Fail(QStringLiteral("a nested Exec() of a running dialog was not refused"));
            break;
        case 6:
            if (ZBDialog* other = PickIdle(c))
                ExecDialog(c, other);
            break;
        case 7:
            d->hide(); // the loop keeps running until the dialog ends
            break;
        case 8:
            delete top.data();
            break;
        case 9:
            ZBPopupInfo::ShowTextPopup(QStringLiteral("in a loop"), QPixmap(), Qt::AlignCenter, d, 50, 40,
                                       40);
            CollectPopups();
            break;
        case 10:
            CommitRequest(c);
            break;
        default:
            if (auto* box = qobject_cast<ZBMessageBox*>(d)) {
                const QList<QPushButton*> buttons = box->Content()->findChildren<QPushButton*>();
                if (!buttons.isEmpty())
                    buttons.at(c.Bounded(0, buttons.size() - 1))->click();
            }
            break;
        }
    }

    void ShowHideMove(Stress::Context& c)
    {
        ZBDialog* d = PickIdle(c);
        if (!d)
            return;
        switch (c.Bounded(0, 3)) {
        case 0:
            c.Log(QStringLiteral("show a dialog"));
            d->show();
            break;
        case 1:
            c.Log(QStringLiteral("hide a dialog"));
            d->hide();
            break;
        case 2:
            c.Log(QStringLiteral("close a dialog"));
            d->close();
            break;
        default:
            c.Log(QStringLiteral("move a dialog"));
            d->move(c.Bounded(-100, 900), c.Bounded(-100, 900));
            break;
        }
    }

    void Keys(Stress::Context& c)
    {
        ZBDialog* d = PickIdle(c);
        if (!d)
            return;
        static const int keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A, Qt::Key_Down};
        static const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::KeypadModifier, Qt::ControlModifier,
                                                     Qt::KeypadModifier | Qt::ShiftModifier};
        c.Log(QStringLiteral("key to a dialog"));
        sendKey(d, keys[c.Bounded(0, 4)], mods[c.Bounded(0, 3)]);
    }

    void MessageBoxCalls(Stress::Context& c)
    {
        ZBMessageBox* box = PickBox(c);
        if (!box)
            return;
        const ZBMessageBox::StandardButton kind = kinds[c.Bounded(0, int(std::size(kinds)) - 1)];
        switch (c.Bounded(0, 6)) {
        case 0:
            c.Log(QStringLiteral("AddButton(kind %1)").arg(int(kind)));
            box->AddButton(kind);
            break;
        case 1:
            c.Log(QStringLiteral("AddButton(own button, kind %1)").arg(int(kind)));
            box->AddButton(new QPushButton(QStringLiteral("own"), box->Content()), kind);
            break;
        case 2:
            c.Log(QStringLiteral("SetDefaultButton(kind %1)").arg(int(kind)));
            box->SetDefaultButton(kind);
            break;
        case 3: {
            c.Log(QStringLiteral("SetDefaultButton(button)"));
            const QList<QPushButton*> buttons = box->Content()->findChildren<QPushButton*>();
            box->SetDefaultButton(
                buttons.isEmpty() || c.Chance(20) ? nullptr : buttons.at(c.Bounded(0, buttons.size() - 1)));
            break;
        }
        case 4:
            c.Log(QStringLiteral("SetText"));
            box->SetText(
                QString(c.Bounded(0, 300), QLatin1Char('w'))
                    .replace(QLatin1Char('w'), c.Chance(50) ? QStringLiteral("w ") : QStringLiteral("w\n")));
            break;
        case 5: {
            c.Log(QStringLiteral("SetIcon"));
            QPixmap pixmap;
            if (c.Chance(50)) {
                pixmap = QPixmap(c.Bounded(1, 60), c.Bounded(1, 60));
                pixmap.fill(Qt::darkRed);
            }
            if (c.Chance(50))
                box->SetIcon(pixmap);
            else
                box->SetIcon(ZBMessageBox::Icon(c.Bounded(-1, 5)));
            break;
        }
        default: {
            c.Log(QStringLiteral("click a message box button"));
            const QList<QPushButton*> buttons = box->Content()->findChildren<QPushButton*>();
            if (!buttons.isEmpty())
                buttons.at(c.Bounded(0, buttons.size() - 1))->click();
            break;
        }
        }
    }

    void CollectPopups()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<ZBPopupInfo*>(w); p && !popups.contains(p))
                popups << p;
        }
    }

    void ShowPopup(Stress::Context& c)
    {
        QWidget* parent = nullptr;
        if (!parents.isEmpty() && c.Chance(70))
            parent = parents.at(c.Bounded(0, parents.size() - 1));
        const int alignment = alignments[c.Bounded(0, int(std::size(alignments)) - 1)];
        QPixmap pixmap;
        if (c.Chance(40)) {
            pixmap = QPixmap(16, 16);
            pixmap.fill(Qt::darkGreen);
        }
        const QString text = c.Chance(80) ? QStringLiteral("Popup") : QString();
        const int full = c.Bounded(-10, 150), in = c.Bounded(-10, 150), out = c.Bounded(-10, 150);
        if (c.Chance(50)) {
            c.Log(QStringLiteral("ShowTextPopup at a point, alignment %1").arg(alignment));
            ZBPopupInfo::ShowTextPopup(text, pixmap, alignment,
                                       QPoint(c.Bounded(-50, 850), c.Bounded(-50, 850)), parent, full, in,
                                       out);
        } else {
            c.Log(QStringLiteral("ShowTextPopup in an area, alignment %1").arg(alignment));
            ZBPopupInfo::ShowTextPopup(text, pixmap, alignment, parent, full, in, out);
        }
        CollectPopups();
    }

    void ParentCalls(Stress::Context& c)
    {
        const int what = c.Bounded(0, 3);
        if (what == 0 || parents.isEmpty()) {
            if (parents.size() >= 4)
                return;
            c.Log(QStringLiteral("new popup parent"));
            auto* w = new QWidget(nullptr, Qt::FramelessWindowHint);
            w->setGeometry(c.Bounded(0, 400), c.Bounded(0, 400), c.Bounded(50, 400), c.Bounded(50, 400));
            w->show();
            parents << w;
            return;
        }
        QWidget* parent = parents.at(c.Bounded(0, parents.size() - 1));
        if (what == 1) {
            c.Log(QStringLiteral("hide a popup parent"));
            const bool wasVisible = parent->isVisible();
            parent->hide();
            for (const QPointer<ZBPopupInfo>& p : popups) {
                if (wasVisible && p && p->parentWidget() == parent && p->isVisible())
                    c.Fail(QStringLiteral("a popup stayed visible after its parent was hidden"));
            }
        } else if (what == 2) {
            c.Log(QStringLiteral("show a popup parent"));
            parent->show();
        } else {
            c.Log(QStringLiteral("delete a popup parent"));
            delete parent;
        }
    }

    void DeleteSomething(Stress::Context& c)
    {
        if (c.Chance(50) && !popups.isEmpty()) {
            c.Log(QStringLiteral("delete a popup"));
            QPointer<ZBPopupInfo> p = popups.at(c.Bounded(0, popups.size() - 1));
            if (c.Chance(50))
                delete p.data();
            else
                p->deleteLater();
            return;
        }
        if (ZBDialog* d = PickIdle(c)) {
            c.Log(QStringLiteral("delete a dialog"));
            if (c.Chance(50))
                delete d;
            else
                d->deleteLater();
        }
    }

    void TopLevelCalls(Stress::Context& c)
    {
        switch (c.Bounded(0, 2)) {
        case 0:
            c.Log(QStringLiteral("SetTopLevelWidget(window)"));
            if (!top) {
                top = new QWidget;
                top->setGeometry(c.Bounded(0, 300), c.Bounded(0, 300), 400, 300);
                if (c.Chance(70))
                    top->show();
            }
            ZBDialog::SetTopLevelWidget(top);
            topIsSet = true;
            break;
        case 1:
            c.Log(QStringLiteral("SetTopLevelWidget(nullptr)"));
            ZBDialog::SetTopLevelWidget(nullptr);
            topIsSet = false;
            break;
        default:
            c.Log(QStringLiteral("delete the top-level widget"));
            delete top.data();
            break;
        }
    }

    void StaticFunction(Stress::Context& c)
    {
        if (!running.isEmpty())
            return;
        c.Log(QStringLiteral("static message box function"));
        const ZBMessageBox::StandardButtons buttons(c.rng.generate() & 0x0ffffc00u);
        // Ends whatever box runs: a key, a click, or deleting the top-level widget under it.
        QTimer sweeper;
        QObject::connect(&sweeper, &QTimer::timeout, [this, &c] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<ZBMessageBox*>(w);
                if (!box || !box->isVisible() || Track(box))
                    continue;
                const int how = c.Bounded(0, 3);
                const QList<QPushButton*> shown = box->Content()->findChildren<QPushButton*>();
                if (how == 0 && !shown.isEmpty())
                    shown.at(c.Bounded(0, shown.size() - 1))->click();
                else if (how == 1)
                    delete top.data();
                else
                    sendKey(box, c.Chance(50) ? Qt::Key_Escape : Qt::Key_Return, Qt::NoModifier);
                return;
            }
        });
        sweeper.start(c.Bounded(0, 20));
        const int returned = ZBMessageBox::Question(
            nullptr, QStringLiteral("Stress"), QStringLiteral("Go on?"), buttons, kinds[c.Bounded(0, 9)]);
        if (returned != 0 && !(buttons & ZBMessageBox::StandardButton(returned)))
            c.Fail(QStringLiteral("a static function returned 0x%1, not one of its buttons")
                       .arg(returned, 0, 16));
    }

    void CommitRequest(Stress::Context& c)
    {
        auto* manager = qApp->findChild<QSessionManager*>();
        if (!manager)
            return;
        c.Log(QStringLiteral("commit data request"));
        Q_EMIT qApp->commitDataRequest(*manager);
    }

    QPointer<QWidget> top;
    bool topIsSet = false;
    QList<TrackedDialog> dialogs;
    QSet<ZBDialog*> running;
    QList<QPointer<QWidget>> parents;
    QList<QPointer<ZBPopupInfo>> popups;
};

} // namespace

ZB_STRESS_FAMILY(DialogsFamily);
