// The multi-document area and its sub-windows, and the Qt habits that keep working on them and on the other
// frames: closing, focus, titles, Qt's own API, arranging, the active look.
#include "ZBDockWidget.h"
#include "ZBFocusChain_p.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiAreaWidget_p.h"
#include "ZBMdiSubWindow.h"
#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "ZBToolBar.h"
#include "testutil.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QToolButton>
#include <memory>

using namespace TestUtil;

namespace {

using Subs = QList<ZBMdiSubWindow*>;
using Range = QPair<int, int>;

// A shown window with an area whose viewport is exactly 700 by 500, logging activations and closings.
struct Area : QWidget
{
    ZBMdiAreaWidget* area = new ZBMdiAreaWidget(this);
    SignalLog log;
    Area()
    {
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setGeometry(0, 0, 700, 500);
        log.Record(area, &ZBMdiAreaWidget::SubWindowActivated, QStringLiteral("activated"));
        log.Record(area, &ZBMdiAreaWidget::SubWindowAboutClose, QStringLiteral("closing"));
        resize(700, 500);
        show();
    }
    // A sub-window made by the area, or \a sub added, around \a widget or a line edit.
    ZBMdiSubWindow* Add(const char* name, const QRect& geometry = QRect(0, 0, 200, 150),
                        QWidget* widget = nullptr, ZBMdiSubWindow* sub = nullptr)
    {
        widget = widget ? widget : new QLineEdit(QLatin1String(name));
        if (sub) {
            sub->SetWidget(widget);
            area->AddSubWindow(sub);
        }
        sub = Name(sub ? sub : area->AddWidget(widget), name);
        sub->setGeometry(geometry);
        return sub;
    }
    // A row's verb: "press" on the frame (moving no focus), "close()", or one of the area's slots.
    void Do(const QByteArray& what, ZBMdiSubWindow* sub)
    {
        if (what == "press")
            SendMouse(sub, QEvent::MouseButtonPress, QPoint(sub->width() / 2, 8));
        else if (what == "close()")
            sub->close();
        else if (what == "SetActiveSubWindow")
            area->SetActiveSubWindow(sub);
        else
            QVERIFY(QMetaObject::invokeMethod(area, what.constData()));
    }
    static Range R(const QScrollBar* s) { return {s->minimum(), s->maximum()}; }
    Range H() const { return R(area->horizontalScrollBar()); }
    Range V() const { return R(area->verticalScrollBar()); }
};

// The focus chain from \a start round to it again, checked to be linked the same way backwards.
QList<QWidget*> Chain(QWidget* start)
{
    QList<QWidget*> chain;
    for (QWidget* w = start; chain.isEmpty() || (w != start && chain.size() < 1000);
         w = w->nextInFocusChain()) {
        if (w->nextInFocusChain()->previousInFocusChain() != w)
            return {};
        chain << w;
    }
    return chain;
}

// Decides on close events alone, counting agreements: an editor, or a sub-window not calling its base class.
template <class Base>
struct Deciding : Base
{
    int* agreed;
    bool refuse;
    Deciding(int* agreed, bool refuse) : agreed(agreed), refuse(refuse) {}
    void closeEvent(QCloseEvent* event) override
    {
        event->setAccepted(!refuse);
        *agreed += refuse ? 0 : 1;
    }
};

// A frame's title line: "icon " while the icon label (the first) shows, then the title label's text.
QString titleLine(ZBWidget* frame)
{
    const QList<QLabel*> labels = frame->TitleBar()->findChildren<QLabel*>();
    return (labels[0]->isHidden() ? QString() : QStringLiteral("icon ")) + labels[1]->text();
}

const QHash<QString, void (*)(ZBMdiSubWindow&)> Actions = {
    {"max", [](ZBMdiSubWindow& s) { s.ShowMaximized(); }},
    {"min", [](ZBMdiSubWindow& s) { s.ShowMinimized(); }},
    {"normal", [](ZBMdiSubWindow& s) { s.ShowNormal(); }},
    {"both", [](ZBMdiSubWindow& s) { s.SetState(Qt::WindowMinimized | Qt::WindowMaximized); }},
    {"left double-click", [](ZBMdiSubWindow& s) { Q_EMIT s.TitleBar()->DoubleClicked(Qt::LeftButton); }},
    {"right double-click", [](ZBMdiSubWindow& s) { Q_EMIT s.TitleBar()->DoubleClicked(Qt::RightButton); }},
    {"ignore", [](ZBMdiSubWindow& s) { s.IgnoreAllActions(true); }},
};

} // namespace

class tst_ZBMdi : public QObject
{
    Q_OBJECT

    std::unique_ptr<Area> a;

private slots:
    void init()
    {
        a.reset(new Area);
        QVERIFY(QTest::qWaitForWindowActive(a.get()));
    }
    void cleanup()
    {
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 1); // closed sub-windows fade out first
        a.reset();
        CheckNoLeftoverWindows();
    }

    void stateChanges_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("emitted");
        const auto row = [](const char* actions, const char* emitted) {
            QTest::newRow(actions) << QString::fromLatin1(actions) << QString::fromLatin1(emitted);
        };
        row("max, min", "state(0,2) state(2,1)");
        row("max, max, normal, normal", "state(0,2) state(2,0)");
        row("both", "state(0,3)");
        row("right double-click, left double-click, left double-click", "state(0,2) state(2,0)");
        row("min, left double-click", "state(0,1) state(1,0)");
        row("ignore, max, min, left double-click", "");
        row("ignore, both, normal, left double-click", "state(0,3)");
    }
    void stateChanges()
    {
        QFETCH(QString, actions);
        ZBMdiSubWindow sub;
        SignalLog log;
        log.Record(&sub, &ZBMdiSubWindow::StateChanged, QStringLiteral("state"));
        for (const QString& name : actions.split(QStringLiteral(", "))) {
            Actions.value(name)(sub);
        }
        QTEST(log.Take(), "emitted");
        const bool min = sub.GetState() & Qt::WindowMinimized, max = sub.GetState() & Qt::WindowMaximized;
        QCOMPARE(
            (QList<bool>{sub.IsMinimized(), sub.IsMaximized(), !Named(&sub, "RESTOREBUTTON")->isHidden()}),
            (QList<bool>{min, max, min || max}));
    }

    void subWindowFrameFollowsTheState()
    {
        auto* sub = new ZBMdiSubWindow(a.get());
        sub->setGeometry(20, 20, 100, 60);
        QPointer<QLabel> big = new QLabel;
        big->setMinimumSize(300, 200);
        sub->SetWidget(big);
        sub->show();
        QCOMPARE(sub->NormalGeometry(), QRect(QPoint(20, 20), sub->size()));
        QVERIFY2(sub->width() >= 300, "grown to the widget");
        const QRect normal = sub->geometry();
        const QRect m = ZBResource::GetData(ZBResource::MainContentMargins).toRect();
        QLayout* frame = GridOf(sub, "ZBWIDGETMAINCONTENT");
        sub->ShowMinimized(); // 300 wide, the content hidden, no margins, nothing moves or resizes
        QCOMPARE(qMakePair(sub->Content()->isHidden(), frame->contentsMargins()),
                 qMakePair(true, QMargins()));
        QCOMPARE(sub->size(), QSize(300, sub->TitleBar()->sizeHint().height() + m.top() + m.bottom()));
        QCOMPARE(Drag(sub, sub->mapToGlobal(QPoint(150, 10)), {30, 20}).second,
                 QRect(normal.topLeft(), sub->size()));
        sub->ShowMaximized();
        sub->setGeometry(0, 0, 600, 500);
        QCOMPARE(sub->NormalGeometry(), normal);
        sub->ShowNormal();
        QCOMPARE(frame->contentsMargins(), QMargins(m.left(), m.top(), m.right(), m.bottom()));
        sub->setGeometry(normal);
        sub->overrideWindowState(Qt::WindowNoState);
        big->setFocus(); // out of an area, the sub-window itself hears the focus enter it
        QTRY_COMPARE(sub->windowState(), Qt::WindowStates(Qt::WindowActive));
        sub->overrideWindowState(Qt::WindowNoState);
        QCOMPARE(Drag(sub, sub->mapToGlobal(QPoint(150, 10)), {30, 20}).second, normal.translated(30, 20));
        QCOMPARE(qMakePair(sub->NormalGeometry(), sub->windowState()), // the press activates, no own bits
                 qMakePair(normal.translated(30, 20), Qt::WindowStates(Qt::WindowActive)));
    }

    // Activation by the area, a press and the focus; a second press emits nothing. Blocked, nothing adds,
    // closes, cycles, activates or maximises but SetActiveSubWindow(); DetachWindow() does nothing.
    void activation()
    {
        ZBMdiSubWindow* one = a->Add("one");
        ZBMdiSubWindow* two = Name(new ZBMdiSubWindow, "two"); // built as a window of its own
        a->area->AddSubWindow(two);
        ZBMdiSubWindow* empty = Name(a->area->AddWidget(nullptr), "empty");
        a->area->AddSubWindow(one);
        QCOMPARE(a->log.Take(), "activated(ZBMdiSubWindow) activated(two) activated(ZBMdiSubWindow)");
        QCOMPARE(a->area->SubWindows(), (Subs{empty, two, one}));
        a->area->SetActiveSubWindow(one);
        QCOMPARE(a->area->SubWindows(), (Subs{one, empty, two}));
        for (auto walk :
             {&ZBMdiAreaWidget::ActivateNextSubWindow, &ZBMdiAreaWidget::ActivatePreviousSubWindow})
            for (int i = 0; i < 4; ++i) // next walks the ring one way, previous the other
                (a->area->*walk)();
        QCOMPARE(a->log.Take(),
                 "activated(one) activated(two) activated(empty) activated(one) activated(two) "
                 "activated(one) activated(empty) activated(two) activated(one)");
        ZBMdiSubWindow* right = a->Add("right");
        a->log.Take();
        a->area->BlockMdiArea(true);
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression(QStringLiteral(
                                 "^Build date=[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}, time=[0-9]{2}:[0-9]{2}:"
                                 "[0-9]{2}\\. Line=[0-9]+, file=\"[^\"]*ZBMdiAreaWidget\\.cpp\"\\. "
                                 "Failed to add new subwindow\\.$")));
        QLineEdit refused;
        QVERIFY2(!a->area->AddWidget(&refused), "a blocked area adds nothing");
        for (auto slot :
             {&ZBMdiAreaWidget::CloseActiveSubWindow, &ZBMdiAreaWidget::CloseAllSubWindows,
              &ZBMdiAreaWidget::ActivateNextSubWindow, &ZBMdiAreaWidget::ActivatePreviousSubWindow})
            (a->area->*slot)();
        QVERIFY(!one->close());
        one->ShowMaximized(); // the count, the active bit, maximised
        QCOMPARE(std::make_tuple(a->area->SubWindowsCount(), bool(one->windowState() & Qt::WindowActive),
                                 one->IsMaximized()),
                 std::make_tuple(4, false, false));
        for (bool blocked : {true, false}) {
            a->area->BlockMdiArea(blocked);
            a->Do("press", empty);
            one->GetWidget()->setFocus();
            QTRY_VERIFY(one->GetWidget()->hasFocus());
            a->Do("press", one);
            QCOMPARE(a->log.Take(), blocked ? QString() : QStringLiteral("activated(empty) activated(one)"));
        }
        a->area->BlockMdiArea(true);
        a->area->SetActiveSubWindow(right);
        a->area->DetachWindow(right);
        QCOMPARE(std::make_tuple(a->log.Take(), a->area->SubWindows().first(), right->parentWidget()),
                 std::make_tuple(QStringLiteral("activated(right)"), right, a->area->viewport()));
    }

    // The maximised mode shows the active sub-window alone; restored, all stand where they were; minimised
    // from it, the active one joins the minimised row: from the bottom left, a new row above, closing up.
    void maximisedModeAndMinimisedRows()
    {
        ZBMdiSubWindow* left = a->Add("left", QRect(-50, 20, 200, 150));
        ZBMdiSubWindow* minimised = a->Add("minimised", QRect(100, 100, 200, 150));
        minimised->ShowMinimized();
        ZBMdiSubWindow* right = a->Add("right", QRect(400, 300, 250, 150));
        for (ZBMdiSubWindow* sub : {left, minimised, right})
            sub->TitleBar()->setFixedHeight(24);
        right->ShowMaximized();
        QCOMPARE(std::make_tuple(a->area->GetState(), minimised->isVisible(), right->isVisible(), a->H()),
                 std::make_tuple(ZBMdiAreaWidget::Maximized, false, true, Range()));
        a->area->ActivateNextSubWindow(); // the old one hides, the new one is maximised
        QCOMPARE(std::make_tuple(left->IsMaximized(), left->geometry(), right->isVisible()),
                 std::make_tuple(true, a->area->viewport()->rect(), false));
        left->ShowNormal();
        QCOMPARE((QList<QRect>{left->geometry(), right->geometry()}),
                 (QList<QRect>{{-50, 20, 200, 150}, {400, 300, 250, 150}}));
        QCOMPARE(std::make_tuple(a->area->GetState(), right->IsMaximized(), minimised->isVisible(), a->H()),
                 std::make_tuple(ZBMdiAreaWidget::Normal, false, true, Range(-50, -1)));
        left->ShowMaximized();
        left->ShowMinimized();
        QCOMPARE(std::make_tuple(a->area->GetState(), right->isVisible(), left->Content()->isVisible()),
                 std::make_tuple(ZBMdiAreaWidget::Normal, true, false));
        QTRY_COMPARE(left->TitleBar()->width(), 300);
        a->area->SetActiveSubWindow(right);
        right->ShowMinimized();
        QTRY_COMPARE(right->TitleBar()->width(), 300);
        a->area->resize(701, 501); // the minimised ones line up again
        a->area->resize(700, 500);
        QCOMPARE((QList<QPoint>{minimised->pos(), left->pos(), right->pos()}),
                 (QList<QPoint>{{0, 474}, {302, 474}, {0, 448}})); // 604 + 300 > 699: a new row
        a->area->SetActiveSubWindow(left);
        left->ShowNormal(); // to its normal geometry
        QCOMPARE(qMakePair(left->geometry(), right->pos()),
                 qMakePair(QRect(-50, 20, 200, 150), QPoint(302, 474)));
        minimised->ShowNormal(); // restored while another is active, it leaves the row; a deleted one too
        minimised->move(60, 70);
        delete right;
        a->area->resize(701, 501);
        a->area->resize(700, 500);
        QCOMPARE(minimised->pos(), QPoint(60, 70));
    }

    // The maximized mode holds only while a maximised sub-window is active: a slot that restores or
    // minimises the one being maximised for activation, and the last one leaving, end it.
    void maximisedModeEnds_data()
    {
        QTest::addColumn<int>("how");
        int how = 0;
        for (const char* row :
             {"restored by a slot", "minimised by a slot", "last closed", "last taken by another area",
              "last deleted", "restored, then deleted by a slot of the one restored with it"})
            QTest::newRow(row) << how++;
    }
    void maximisedModeEnds()
    {
        QFETCH(int, how);
        QPointer<ZBMdiSubWindow> left = a->Add("left", QRect(10, 10, 200, 150));
        QPointer<ZBMdiSubWindow> right = a->Add("right", QRect(300, 10, 200, 150));
        right->ShowMaximized();
        QObject::connect(left, &ZBMdiSubWindow::StateChanged, [&](Qt::WindowStates, Qt::WindowStates state) {
            if (state & Qt::WindowMaximized && how == 1)
                left->ShowMinimized();
            else if (state & Qt::WindowMaximized)
                left->ShowNormal();
        });
        QObject::connect(right, &ZBMdiSubWindow::StateChanged, [&, once = true]() mutable {
            if (how == 5 && std::exchange(once, false))
                delete left.data();
        });
        auto* other = new ZBMdiAreaWidget(a.get());
        other->show();
        if (how < 2 || how == 5)
            a->area->SetActiveSubWindow(left);
        else
            delete left;
        if (how == 2)
            a->area->CloseActiveSubWindow();
        else if (how == 3)
            other->AddSubWindow(right);
        else if (how == 4)
            delete right;
        QCOMPARE(a->area->GetState(), ZBMdiAreaWidget::Normal);
        QCOMPARE(right && right->isVisible(), how != 2 && how != 4); // the right one shown
        QCOMPARE(left && !left->IsMinimized() && left->geometry() == QRect(10, 10, 200, 150), how == 0);
        QVERIFY(!a->area->AddWidget(new QLineEdit)->IsMaximized());
    }

    // A sub-window that loses its parent takes its descendants along, in order, into a focus chain of its
    // own; the window keeps the rest. The quick way: descendants right after it, the focus elsewhere.
    void focusChainOnLeaving_data()
    {
        QTest::addColumn<bool>("focusInside");
        QTest::newRow("quick") << false;
        QTest::newRow("focus inside") << true;
    }
    void focusChainOnLeaving()
    {
        QFETCH(bool, focusInside);
        a->Add("first");
        auto* edit = new QLineEdit;
        ZBMdiSubWindow* sub = a->Add("sub", {0, 0, 200, 150}, edit);
        a->Add("last");
        if (focusInside)
            edit->setFocus();
        QTRY_COMPARE(edit->hasFocus(), focusInside);
        QList<QWidget*> rest, taken;
        for (QWidget* w : Chain(sub))
            (w == sub || sub->isAncestorOf(w) ? taken : rest) << w;
        std::rotate(rest.begin(), rest.begin() + rest.indexOf(a.get()), rest.end());
        QVERIFY(taken.size() > 5);
#if defined(ZB_HAVE_QT_WIDGETS_PRIVATE)
        QCOMPARE(ZBFocusChain::Detach(sub), !focusInside);
#endif
        sub->setParent(nullptr);
        QCOMPARE(Chain(a.get()), rest);
        QCOMPARE(Chain(sub), taken);
        delete sub;
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
        QCOMPARE((QList<QPoint>{top->pos(), low->pos(), parked->pos()}),
                 (QList<QPoint>{{50, -80}, {-50, 350}, parkedAt}));
        low->move(0, 0); // the range shrinks and pulls the value along; nothing else moves
        QCOMPARE(qMakePair(a->V(), v->value()), qMakePair(Range(-80, -1), -1));
        QCOMPARE((QList<QPoint>{top->pos(), parked->pos()}), (QList<QPoint>{{50, -80}, parkedAt}));
    }

    // Every way of closing asks the widget once and activates the one active before; all go most recently
    // active first. A refusal (widget or subclass) leaves it registered, shown, active, unannounced.
    void closing_data()
    {
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<int>("who");
        QTest::addColumn<QString>("emitted");
        const char* whos[] = {"accepted", "widget refuses", "subclass refuses", "subclass accepts"};
        const char* const logs[][2] = {{"closing(doc) activated(other)", ""}, // accepted, refused
                                       {"closing(doc) activated(other) closing(other) activated(first) "
                                        "closing(first) activated(null)",
                                        "activated(other) closing(other) activated(doc) activated(first) "
                                        "closing(first) activated(doc)"}};
        for (const QByteArray how : {"close()", "CloseActiveSubWindow", "CloseAllSubWindows"})
            for (int who = 0; who < 4; ++who)
                QTest::addRow("%s, %s", how.constData(), whos[who])
                    << how << who
                    << QString::fromLatin1(logs[how == "CloseAllSubWindows"][who == 1 || who == 2]);
    }
    void closing()
    {
        QFETCH(QByteArray, how);
        QFETCH(int, who);
        int agreed = 0;
        auto* editor = new Deciding<QLineEdit>(&agreed, who == 1);
        a->Add("first");
        a->Add("other");
        QPointer<ZBMdiSubWindow> doc =
            a->Add("doc", {0, 0, 200, 150}, editor,
                   who >= 2 ? new Deciding<ZBMdiSubWindow>(&agreed, who == 2) : nullptr);
        a->log.Take();
        a->Do(how, doc);
        const bool refused = who == 1 || who == 2;
        QTRY_COMPARE(doc.isNull(), !refused);
        QTEST(a->log.Take(), "emitted");
        if (!refused)
            return;
        QCOMPARE(std::make_tuple(doc->isVisible(), a->area->SubWindows().contains(doc),
                                 a->area->ActiveSubWindow()),
                 std::make_tuple(true, true, doc.data()));
        QCOMPARE(a->area->SubWindowsCount(), how == "CloseAllSubWindows" ? 1 : 3);
        editor->refuse = false; // agreeing now, it is asked once more
        a->area->CloseActiveSubWindow();
        QTRY_COMPARE(qMakePair(doc.isNull(), agreed), qMakePair(who == 1, who == 1 ? 1 : 0));
    }

    // Activation moves the keyboard focus into the document: to the child that had it last, to its
    // first child that takes the focus, or to a minimised sub-window itself.
    void focus_data()
    {
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<bool>("minimised");
        for (const char* how : {"SetActiveSubWindow", "ActivateNextSubWindow", "ActivatePreviousSubWindow",
                                "CloseActiveSubWindow", "press", "maximised"})
            for (bool minimised : {false, true})
                QTest::addRow("%s%s", how, minimised ? ", minimised" : "") << QByteArray(how) << minimised;
    }
    void focus()
    {
        QFETCH(QByteArray, how);
        QFETCH(bool, minimised);
        auto* form = new QWidget;
        auto* first = new QLineEdit(form);
        auto* second = new QLineEdit(form);
        ZBMdiSubWindow* doc = a->Add("doc", {0, 0, 200, 150}, form);
        QCOMPARE(QApplication::focusWidget(), first);
        second->setFocus();
        if (minimised)
            doc->ShowMinimized();
        ZBMdiSubWindow* other = a->Add("other");
        if (how == "maximised") { // the area maximises the document it activates
            other->ShowMaximized();
            how = "ActivateNextSubWindow";
            minimised = false;
        }
        a->Do(how, doc);
        QCOMPARE(qMakePair(a->area->ActiveSubWindow(), QApplication::focusWidget()),
                 qMakePair(doc, minimised ? static_cast<QWidget*>(doc) : second));
    }

    // Titles show as Qt shows them in a native title bar, and follow the modified flag and the icon.
    void titles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("unmodified");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* title, bool modified, const char* unmodified, const char* shown) {
            QTest::newRow(title) << title << modified << unmodified << shown;
        };
        row("doc1[*] - Editor", false, "doc1 - Editor", "doc1 - Editor");
        row("doc1[*] - Editor", true, "doc1 - Editor", "doc1* - Editor");
        row("doc1", true, "doc1", "doc1");
        row("a[*][*][*]b", true, "a[*]b", "a[*]*b");
        row("a[*] b[*]", true, "a b", "a* b*");
    }
    void titles()
    {
        QFETCH(QString, title);
        QFETCH(bool, modified);
        QFETCH(QString, shown);
        auto* edit = new QLineEdit;
        edit->setWindowTitle(title);
        ZBMdiSubWindow* sub = a->Add("sub", {0, 0, 200, 150}, edit);
        QTEST(titleLine(sub), "unmodified");
        QCOMPARE(sub->windowTitle(), title); // its own title is the widget's
        edit->setWindowModified(modified);
        QCOMPARE(titleLine(sub), shown);
        edit->setWindowIcon(QIcon(QPixmap(16, 16)));
        QCOMPARE(titleLine(sub), QStringLiteral("icon ") + shown);
        ZBWidget frame;
        frame.setWindowModified(modified);
        frame.setWindowTitle(title);
        frame.Content()->setWindowIcon(QIcon(QPixmap(16, 16)));
        QCOMPARE(titleLine(&frame), QStringLiteral("icon ") + shown);
    }

    // Qt's own calls on the dock widget and the tool bar keep their structure.
    void qtCalls()
    {
        ZBDockWidget dock;
        auto* list = new QLabel;
        dock.setWidget(list);
        // in the content; widget() is QDockWidget's own: the main content frame, whatever the static type
        QCOMPARE(std::make_tuple(dock.GetWidget(), Named(&dock, "ZBDOCKWIDGETCONTENT")->isAncestorOf(list),
                                 dock.widget(), static_cast<QDockWidget&>(dock).widget()),
                 std::make_tuple(static_cast<QWidget*>(list), true, Named(&dock, "ZBDOCKWIDGETMAINCONTENT"),
                                 Named(&dock, "ZBDOCKWIDGETMAINCONTENT")));
        ZBToolBar bar; // its row: buttons by their action's text, other tools by object name
        const auto toolRow = [&bar] {
            for (QToolButton* button : bar.findChildren<QToolButton*>())
                button->setObjectName(button->defaultAction() ? button->defaultAction()->text() : QString());
            return RowNames(Named(&bar, "ZBTOOLBARCONTENT"));
        };
        bar.AddWidget(Name(new QWidget, "first"), 5);
        QAction* a = bar.addAction(QStringLiteral("a"));
        auto* b = new QAction(QStringLiteral("b"), &bar);
        bar.insertAction(a, b);
        QAction* separator = bar.addSeparator();
        bar.addWidget(Name(new QLabel, "label"));
        bar.AddWidget(Name(new QWidget, "last"));
        QCOMPARE(toolRow(), QStringLiteral("first b a ZBTOOLBARSEPARATOR label last"));
        bar.removeAction(b);
        delete separator;
        QCOMPARE(toolRow(), QStringLiteral("first a label last"));
        QCOMPARE(bar.Actions(), QList<QAction*>{a});
    }

    // Tiling fills the viewport above the minimised row without overlaps; cascading ends with the
    // active one on top; the three list orders. Right to left, both are mirrored.
    void arranging_data()
    {
        QTest::addColumn<bool>("rtl");
        for (bool rtl : {false, true})
            QTest::newRow(rtl ? "right to left" : "left to right") << rtl;
    }
    void arranging()
    {
        QFETCH(bool, rtl);
        a->area->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        const int width = a->area->viewport()->width();
        const auto seen = [&](ZBMdiSubWindow* sub) { // as it stands left to right
            const QRect r = sub->geometry();
            return rtl ? QRect(width - 1 - r.right(), r.y(), r.width(), r.height()) : r;
        };
        for (int n = 0; n < 30; ++n) {
            const QRect domain(3, 4, 701 + n, 499 - n);
            QRegion covered;
            const QList<QRect> tiles = ZBMdiLayout::Tiled(n, domain);
            QCOMPARE(tiles.size(), n);
            for (const QRect& r : tiles) {
                QVERIFY(!covered.intersects(r)); // and within the domain, as they cover it exactly
                covered += r;
            }
            QCOMPARE(covered, n == 0 ? QRegion() : QRegion(domain));
        }
        QList<ZBMdiSubWindow*> subs;
        for (const char* name : {"0", "1", "2", "3", "4"})
            subs << a->Add(name);
        subs[4]->ShowMinimized();
        a->area->SetActiveSubWindow(subs[1]);
        subs[1]->ShowMaximized();
        QCOMPARE(a->area->SubWindowList(), subs);
        const QList<ZBMdiSubWindow*> history{subs[0], subs[2], subs[3], subs[4], subs[1]};
        QCOMPARE(a->area->SubWindowList(ZBMdiAreaWidget::ActivationHistoryOrder), history);
        QCOMPARE(a->area->SubWindowList(ZBMdiAreaWidget::StackingOrder), history);
        const auto onTop = [this](ZBMdiSubWindow* sub) {
            QWidget* hit = a->area->viewport()->childAt(sub->geometry().center());
            return hit == sub || sub->isAncestorOf(hit);
        };
        a->area->TileSubWindows(); // leaves the maximised mode; the minimised row stays clear
        QRegion tiles;
        for (ZBMdiSubWindow* sub : subs.mid(0, 4)) {
            ZB_STEP_COMPARE(sub, onTop(sub), true);
            tiles += sub->geometry();
        }
        QCOMPARE(tiles, QRegion(0, 0, width, subs[4]->y() - 2));
        QCOMPARE(seen(subs[0]).topLeft(), QPoint(0, 0));
        a->area->SetActiveSubWindow(subs[2]);
        a->area->CascadeSubWindows();
        const int step = subs[0]->TitleBar()->height();
        int i = 0;
        for (ZBMdiSubWindow* sub : {subs[0], subs[1], subs[3], subs[2]})
            QCOMPARE(seen(sub).topLeft(), QPoint(step, step) * i++);
        QVERIFY(onTop(subs[2]));
    }

    // The active sub-window carries the property "active", re-polished for style sheets.
    void activeLook()
    {
        qApp->setStyleSheet(QStringLiteral("ZBWidget[active=\"false\"] QLabel { color: #010203; }"));
        ZBMdiSubWindow* one = a->Add("one");
        ZBMdiSubWindow* two = a->Add("two");
        a->area->SetActiveSubWindow(one);
        const QLabel* title = two->TitleBar()->findChildren<QLabel*>().last();
        QCOMPARE(
            std::make_pair(one->property("active").toBool(), title->palette().color(QPalette::WindowText)),
            std::make_pair(true, QColor(1, 2, 3)));
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(tst_ZBMdi)
#include "tst_zbmdi.moc"
