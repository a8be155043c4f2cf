// The multi-document area and its sub-windows.
#include "ZBFocusChain_p.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <memory>
#include <utility>

using namespace TestUtil;

namespace {

using Subs = QList<ZBMdiSubWindow*>;
using Range = QPair<int, int>;
constexpr int Maximize = 0, Minimize = 1, Normal = 2, BothBits = 3, LeftDoubleClick = 4, RightDoubleClick = 5,
              IgnoreAll = 6;

// A shown, active window with an area whose viewport is exactly 700 by 500.
struct Area : QWidget
{
    ZBMdiAreaWidget* area = new ZBMdiAreaWidget(this);
    SignalLog log;
    bool Show()
    {
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff), area->setGeometry(0, 0, 700, 500);
        log.Record(area, &ZBMdiAreaWidget::SubWindowActivated, QStringLiteral("activated"));
        log.Record(area, &ZBMdiAreaWidget::SubWindowAboutClose, QStringLiteral("closing"));
        resize(700, 500), show();
        return QTest::qWaitForWindowActive(this);
    }
    ZBMdiSubWindow* Add(const char* name, const QRect& geometry = QRect(0, 0, 200, 150))
    {
        ZBMdiSubWindow* sub = area->AddWidget(new QLineEdit(QLatin1String(name)));
        sub->setObjectName(QLatin1String(name)), sub->setGeometry(geometry);
        return sub;
    }
    static Range R(const QScrollBar* s) { return {s->minimum(), s->maximum()}; }
    Range H() const { return R(area->horizontalScrollBar()); }
    Range V() const { return R(area->verticalScrollBar()); }
    void Nudge() { area->resize(701, 501), area->resize(700, 500); } // the minimised ones line up again
};

// Straight to the frame: no focus moves with it, so only the press path can activate.
const auto press = [](ZBMdiSubWindow* s) {
    SendMouse(s, QEvent::MouseButtonPress, QPoint(s->width() / 2, 8));
};

// The focus chain from \a start round to it again, checked to be linked the same way backwards.
QList<QWidget*> Chain(QWidget* start)
{
    QList<QWidget*> chain;
    QWidget* w = start;
    do {
        chain << w;
        if (w->nextInFocusChain()->previousInFocusChain() != w)
            return {};
        w = w->nextInFocusChain();
    } while (w != start && chain.size() < 1000);
    return chain;
}

} // namespace

class tst_ZBMdi : public QObject
{
    Q_OBJECT

    std::unique_ptr<Area> a;

private slots:
    void init()
    {
        a.reset(new Area);
        QVERIFY(a->Show());
        a->log.Take();
    }
    void cleanup()
    {
        a.reset();
        CheckNoLeftoverWindows();
    }

    void stateChanges_data()
    {
        QTest::addColumn<QList<int>>("actions");
        QTest::addColumn<QString>("emitted");
        const auto row = [](const char* name, QList<int> actions, const char* emitted) {
            QTest::newRow(name) << actions << QString::fromLatin1(emitted);
        };
        row("max, min", {Maximize, Minimize}, "state(0,2) state(2,1)");
        row("same twice", {Maximize, Maximize, Normal, Normal}, "state(0,2) state(2,0)");
        row("both bits", {BothBits}, "state(0,3)");
        row("double-clicks", {RightDoubleClick, LeftDoubleClick, LeftDoubleClick}, "state(0,2) state(2,0)");
        row("double-click restores", {Minimize, LeftDoubleClick}, "state(0,1) state(1,0)");
        row("ignored", {IgnoreAll, Maximize, Minimize, LeftDoubleClick}, "");
        row("ignored but set", {IgnoreAll, BothBits, Normal, LeftDoubleClick}, "state(0,3)");
    }

    void stateChanges()
    {
        QFETCH(QList<int>, actions);
        ZBMdiSubWindow sub;
        SignalLog log;
        log.Record(&sub, &ZBMdiSubWindow::StateChanged, QStringLiteral("state"));
        for (int action : actions) {
            action == Maximize    ? sub.ShowMaximized()
            : action == Minimize  ? sub.ShowMinimized()
            : action == Normal    ? sub.ShowNormal()
            : action == BothBits  ? sub.SetState(Qt::WindowMinimized | Qt::WindowMaximized)
            : action == IgnoreAll ? sub.IgnoreAllActions(true)
                                  : Q_EMIT sub.TitleBar()->DoubleClicked(
                                        action == LeftDoubleClick ? Qt::LeftButton : Qt::RightButton);
        }
        QTEST(log.Take(), "emitted");
        const bool min = sub.GetState() & Qt::WindowMinimized, max = sub.GetState() & Qt::WindowMaximized;
        QVERIFY(sub.IsMinimized() == min && sub.IsMaximized() == max &&
                Named(&sub, "RESTOREBUTTON")->isHidden() == !(min || max));
    }

    void subWindowFrameFollowsTheState()
    {
        auto* sub = new ZBMdiSubWindow(a.get());
        sub->setGeometry(20, 20, 100, 60);
        auto* big = new QLabel(QStringLiteral("big"));
        big->setMinimumSize(300, 200), big->setWindowTitle(QStringLiteral("Document"));
        sub->SetWidget(big), sub->show();
        QVERIFY(sub->width() >= 300 && sub->NormalGeometry() == QRect(QPoint(20, 20), sub->size()));
        QVERIFY(sub->Content()->windowTitle() == "Document" && TitleText(sub) == "Document");
        big->setWindowTitle(QStringLiteral("Renamed"));
        QCOMPARE(sub->windowTitle(), "Renamed");
        const QRect normal = sub->geometry();
        const QRect m = ZBResource::GetData(ZBResource::MainContentMargins).toRect();
        QLayout* frame = GridOf(sub, "ZBWIDGETMAINCONTENT");
        sub->ShowMinimized(); // 300 wide, the content hidden, no margins, nothing moves or resizes
        QVERIFY(sub->Content()->isHidden() && frame->contentsMargins() == QMargins());
        QCOMPARE(sub->size(), QSize(300, sub->TitleBar()->sizeHint().height() + m.top() + m.bottom()));
        const QRect minimised = sub->geometry();
        QCOMPARE(Drag(sub, sub->mapToGlobal(QPoint(150, 10)), {30, 20}).second, minimised);
        sub->ShowMaximized(), sub->setGeometry(0, 0, 600, 500);
        QCOMPARE(sub->NormalGeometry(), normal);
        sub->ShowNormal();
        QCOMPARE(frame->contentsMargins(), QMargins(m.left(), m.top(), m.right(), m.bottom()));
        sub->setGeometry(normal), sub->overrideWindowState(Qt::WindowNoState);
        big->setFocus(); // out of an area, the sub-window itself hears the focus enter it
        QTRY_COMPARE(sub->windowState(), Qt::WindowStates(Qt::WindowActive));
        sub->overrideWindowState(Qt::WindowNoState);
        QCOMPARE(Drag(sub, sub->mapToGlobal(QPoint(150, 10)), {30, 20}).second, normal.translated(30, 20));
        QCOMPARE(sub->NormalGeometry(), normal.translated(30, 20));
        QCOMPARE(sub->windowState(), Qt::WindowStates(Qt::WindowActive)); // the press, without the own bits
        QPointer<QLabel> old(big);
        sub->SetWidget(nullptr); // the old widget is deleted
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!sub->GetWidget() && !old);
    }

    void activation()
    {
        ZBMdiSubWindow* one = a->Add("one");
        auto* two = new ZBMdiSubWindow; // built as a window of its own
        two->setObjectName(QStringLiteral("two")), a->area->AddSubWindow(two);
        ZBMdiSubWindow* empty = a->area->AddWidget(nullptr);
        empty->setObjectName(QStringLiteral("empty"));
        a->area->AddSubWindow(one);
        a->area->AddSubWindow(nullptr);
        ZBMdiSubWindow stranger;
        a->area->SetActiveSubWindow(&stranger);
        QCOMPARE(a->log.Take(), "activated(ZBMdiSubWindow) activated(two) activated(ZBMdiSubWindow)");
        QCOMPARE(a->area->SubWindows(), (Subs{empty, two, one}));
        a->area->SetActiveSubWindow(one);
        QCOMPARE(a->area->SubWindows(), (Subs{one, empty, two}));
        // The press and the focus paths, each alone; a second press on the active one emits nothing.
        ZBMdiSubWindow* right = a->Add("right");
        a->log.Take();
        press(empty);
        right->GetWidget()->setFocus();
        QTRY_COMPARE(a->area->ActiveSubWindow(), right);
        press(right);
        QCOMPARE(a->log.Take(), "activated(empty) activated(right)");
        a->area->SetActiveSubWindow(one); // takes the focus away from the old one
        QVERIFY(!right->isAncestorOf(QApplication::focusWidget()));
        a->log.Take(); // next walks the ring one way, previous the other
        for (int i = 0; i < 8; ++i)
            i < 4 ? a->area->ActivateNextSubWindow() : a->area->ActivatePreviousSubWindow();
        QCOMPARE(a->log.Take(),
                 "activated(two) activated(empty) activated(right) activated(one) activated(right) "
                 "activated(empty) activated(two) activated(one)");
    }

    void closingAndBlocking()
    {
        QPointer<ZBMdiSubWindow> first = a->Add("first");
        ZBMdiSubWindow* second = a->Add("second");
        QPointer<ZBMdiSubWindow> third = a->Add("third");
        a->area->SetActiveSubWindow(first), a->area->SetActiveSubWindow(third);
        a->log.Take(), a->area->BlockMdiArea(true);
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression(QStringLiteral(
                                 "^Build date=[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}, time=[0-9]{2}:[0-9]{2}:"
                                 "[0-9]{2}\\. Line=[0-9]+, file=\"[^\"]*ZBMdiAreaWidget\\.cpp\"\\. "
                                 "Failed to add new subwindow\\.$")));
        QLineEdit refused;
        QVERIFY(!a->area->AddWidget(&refused) && a->area->SubWindowsCount() == 3);
        a->area->CloseActiveSubWindow(), a->area->CloseAllSubWindows();
        a->area->ActivateNextSubWindow();
        QVERIFY(!first->close());
        press(first);
        second->GetWidget()->setFocus();
        QTRY_VERIFY(second->GetWidget()->hasFocus());
        first->ShowMaximized();
        QVERIFY(a->log.Take().isEmpty() && !(first->windowState() & Qt::WindowActive) &&
                !first->IsMaximized());
        a->area->SetActiveSubWindow(second); // still the application's to choose
        a->area->BlockMdiArea(false), a->log.Take();
        a->area->SetActiveSubWindow(third);
        a->area->CloseActiveSubWindow(); // the one active before it takes over
        second->close();
        QCOMPARE(a->log.Take(), "activated(third) closing(third) activated(second) closing(second) "
                                "activated(first)");
        a->area->DetachWindow(first);
        QVERIFY(a->area->SubWindows() == Subs{first} && first->parentWidget() == a->area->viewport());
        QPointer<ZBMdiSubWindow> fourth = new ZBMdiSubWindow; // built as a window: no fade, still deleted
        fourth->setObjectName(QStringLiteral("fourth")), a->area->AddSubWindow(fourth);
        a->log.Take(), a->area->CloseAllSubWindows();
        QCOMPARE(a->log.Take(), "closing(fourth) activated(first) closing(first) activated(null)");
        QTRY_VERIFY(!first && !third && !fourth); // faded out
    }

    void maximisedMode()
    {
        ZBMdiSubWindow* left = a->Add("left", QRect(-50, 20, 200, 150));
        ZBMdiSubWindow* minimised = a->Add("minimised", QRect(100, 100, 200, 150));
        minimised->ShowMinimized();
        ZBMdiSubWindow* right = a->Add("right", QRect(400, 300, 250, 150));
        right->ShowMaximized();
        QVERIFY(a->area->GetState() == ZBMdiAreaWidget::Maximized && !minimised->isVisible() &&
                a->H() == Range());
        a->area->ActivateNextSubWindow(); // the old one hides, the new one is maximised
        QVERIFY(left->IsMaximized() && left->geometry() == a->area->viewport()->rect() &&
                !right->isVisible());
        left->ShowNormal();
        QCOMPARE(a->area->GetState(), ZBMdiAreaWidget::Normal);
        QVERIFY(left->geometry() == QRect(-50, 20, 200, 150) &&
                right->geometry() == QRect(400, 300, 250, 150));
        QVERIFY(!right->IsMaximized() && minimised->isVisible() && a->H() == Range(-50, -1));
        // Minimised from the maximised mode: the others come back, the active one joins the row.
        left->ShowMaximized(), left->ShowMinimized();
        QVERIFY(a->area->GetState() == ZBMdiAreaWidget::Normal && right->isVisible() &&
                left->Content()->isHidden());
        QTRY_COMPARE(left->TitleBar()->width(), 300);
        a->Nudge();
        QVERIFY(minimised->x() == 0 && left->x() == 302 &&
                left->NormalGeometry() == QRect(-50, 20, 200, 150));
    }

    // The maximized mode holds only while a maximised sub-window is active: a slot that restores or
    // minimises the one being maximised for activation, and the last one leaving, end it.
    void maximisedModeEnds_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("rightShown");
        const char* const rows[] = {
            "restored by a slot", "minimised by a slot",
            "last closed",        "last taken by another area",
            "last deleted",       "restored, then deleted by a slot of the one restored with it"};
        for (int how = 0; how < 6; ++how)
            QTest::newRow(rows[how]) << how << (how != 2 && how != 4);
    }
    void maximisedModeEnds()
    {
        QFETCH(int, how);
        QFETCH(bool, rightShown);
        QPointer<ZBMdiSubWindow> left = a->Add("left", QRect(10, 10, 200, 150));
        QPointer<ZBMdiSubWindow> right = a->Add("right", QRect(300, 10, 200, 150));
        right->ShowMaximized();
        QObject::connect(left, &ZBMdiSubWindow::StateChanged, [&](Qt::WindowStates, Qt::WindowStates state) {
            if (!(state & Qt::WindowMaximized))
                return;
            if (how == 1)
                left->ShowMinimized();
            else
                left->ShowNormal();
        });
        QObject::connect(right, &ZBMdiSubWindow::StateChanged, [&, once = true]() mutable {
            if (how == 5 && std::exchange(once, false))
                delete left.data();
        });
        auto* other = new ZBMdiAreaWidget(a.get());
        other->show();
        if (how < 2 || how == 5) {
            a->area->SetActiveSubWindow(left);
        } else {
            delete left;
            if (how == 2)
                a->area->CloseActiveSubWindow();
            else if (how == 3)
                other->AddSubWindow(right);
            else
                delete right;
        }
        QCOMPARE(a->area->GetState(), ZBMdiAreaWidget::Normal);
        QCOMPARE(right && right->isVisible(), rightShown);
        QCOMPARE(left && !left->IsMinimized() && left->geometry() == QRect(10, 10, 200, 150), how == 0);
        QVERIFY(!a->area->AddWidget(new QLineEdit)->IsMaximized());
        QTRY_VERIFY(how != 2 || !right); // faded out
    }

    void minimisedRows()
    {
        Subs subs;
        for (const char* name : {"0", "1", "2"}) {
            subs << a->Add(name, QRect(50, 50, 250, 180));
            subs.last()->TitleBar()->setFixedHeight(24), subs.last()->ShowMinimized();
        }
        QTRY_COMPARE(subs[2]->TitleBar()->width(), 300);
        a->Nudge();
        QCOMPARE((QList<QPoint>{subs[0]->pos(), subs[1]->pos(), subs[2]->pos()}),
                 (QList<QPoint>{{0, 474}, {302, 474}, {0, 448}})); // 604 + 300 > 699: a new row
        a->area->SetActiveSubWindow(subs[1]);
        subs[1]->ShowNormal();
        QVERIFY(subs[1]->geometry() == QRect(50, 50, 250, 180) && subs[2]->pos() == QPoint(302, 474));
        subs[0]->ShowNormal(); // restored while another is active, it leaves the row; a deleted one too
        subs[0]->move(60, 70);
        delete subs[2];
        a->Nudge();
        QCOMPARE(subs[0]->pos(), QPoint(60, 70));
    }

    // A sub-window that loses its parent takes its descendants along into a focus chain of its
    // own, ordered as they were; the window keeps the rest in order. The quick way is taken when
    // the descendants follow the sub-window directly in the chain and the focus is elsewhere.
    void focusChainOnLeaving_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("quick");
        QTest::newRow("built whole") << "" << true;
        QTest::newRow("child window inside") << "dialog" << true;
        QTest::newRow("child added later") << "late" << false;
        QTest::newRow("tab order across") << "order" << false;
        QTest::newRow("focus inside") << "focus" << false;
    }
    void focusChainOnLeaving()
    {
        QFETCH(QString, change);
        QFETCH(bool, quick);
        ZBMdiSubWindow* first = a->Add("first");
        ZBMdiSubWindow* sub = a->Add("sub");
        auto* edit = new QLineEdit;
        sub->SetWidget(edit);
        a->Add("last");
        auto* dialog = change == QLatin1String("dialog") ? new QDialog(edit) : nullptr;
        if (change == QLatin1String("late"))
            new QLineEdit(sub);
        if (change == QLatin1String("order"))
            QWidget::setTabOrder(first->GetWidget(), edit);
        if (change == QLatin1String("focus")) {
            edit->setFocus();
            QTRY_VERIFY(edit->hasFocus());
        }
        const QList<QWidget*> before = Chain(a.get());
        QList<QWidget*> rest, taken{sub};
        const int at = before.indexOf(sub);
        for (int i = 1; i < before.size(); ++i) {
            QWidget* w = before.at((at + i) % before.size());
            (sub->isAncestorOf(w) ? taken : rest) << w;
        }
        std::rotate(rest.begin(), rest.begin() + rest.indexOf(a.get()), rest.end());
        QVERIFY(taken.size() > 5 && !taken.contains(dialog));
#if defined(ZB_HAVE_QT_WIDGETS_PRIVATE)
        QCOMPARE(ZBFocusChain::Detach(sub), quick);
#endif
        sub->setParent(nullptr);
        QCOMPARE(Chain(a.get()), rest);
        QCOMPARE(Chain(sub), taken);
        if (dialog)
            QCOMPARE(Chain(dialog), QList<QWidget*>{dialog});
        first->close(); // and through the area
        rest.erase(std::remove_if(rest.begin(), rest.end(),
                                  [&](QWidget* w) { return w == first || first->isAncestorOf(w); }),
                   rest.end());
        QCOMPARE(Chain(a.get()), rest);
        delete sub;
        QPointer<ZBMdiSubWindow> fading(first);
        QTRY_VERIFY(!fading);
    }

    void scrolling()
    {
        QScrollBar* v = a->area->verticalScrollBar();
        ZBMdiSubWindow* top = a->Add("top", QRect(50, 20, 200, 150));
        QCOMPARE(qMakePair(a->H(), a->V()), qMakePair(Range(), Range()));
        ZBMdiSubWindow* low = a->Add("low", QRect(-50, 450, 200, 200)); // bottom 649
        QCOMPARE(qMakePair(a->H(), a->V()), qMakePair(Range(-50, -1), Range(0, 149)));
        ZBMdiSubWindow* parked = a->Add("parked");
        parked->ShowMinimized();
        const QPoint parkedAt = parked->pos();
        v->setValue(100);
        QVERIFY(top->pos() == QPoint(50, -80) && low->pos() == QPoint(-50, 350) && parked->pos() == parkedAt);
        QCOMPARE(a->V(), Range(0, 149)); // computed before the scroll
        low->move(0, 0);                 // the range shrinks and pulls the value along; nothing else moves
        QVERIFY(a->V() == Range(-80, -1) && v->value() == -1 && top->pos() == QPoint(50, -80));
        QCOMPARE(parked->pos(), parkedAt);
        low->hide(), low->move(-300, 0); // no Move event while hidden: the next one elsewhere sees it
        top->move(60, -80);
        QCOMPARE(a->H(), Range(-300, -1));
    }
};

QTEST_MAIN(tst_ZBMdi)
#include "tst_zbmdi.moc"
