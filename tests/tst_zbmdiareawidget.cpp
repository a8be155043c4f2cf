#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <memory>

namespace {

using Subs = QList<ZBMdiSubWindow*>;
using Range = QPair<int, int>;

// A shown, active window with an area whose viewport is exactly 700 by 500.
struct Area : QWidget
{
    ZBMdiAreaWidget* area = new ZBMdiAreaWidget(this);
    Subs activated;
    QStringList aboutClose;

    bool Show()
    {
        area->setFrameShape(QFrame::NoFrame);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setGeometry(0, 0, 700, 500);
        connect(area, &ZBMdiAreaWidget::SubWindowActivated, this,
                [this](ZBMdiSubWindow* s) { activated << s; });
        connect(area, &ZBMdiAreaWidget::SubWindowAboutClose, this,
                [this](ZBMdiSubWindow* s) { aboutClose << s->objectName(); });
        resize(700, 500);
        show();
        return QTest::qWaitForWindowActive(this);
    }
    ZBMdiSubWindow* Add(const char* name, const QRect& geometry = QRect(0, 0, 200, 150))
    {
        ZBMdiSubWindow* sub = area->AddWidget(new QLineEdit(QLatin1String(name)));
        sub->setObjectName(QLatin1String(name));
        sub->setGeometry(geometry);
        return sub;
    }
    // Adds "first", "second" and "third", stacked third, first, second; returns them in that order.
    Subs AddThree()
    {
        ZBMdiSubWindow *first = Add("first"), *second = Add("second"), *third = Add("third");
        area->SetActiveSubWindow(first);
        area->SetActiveSubWindow(third);
        activated.clear();
        return {third, first, second};
    }
    static Range Of(QScrollBar* bar) { return {bar->minimum(), bar->maximum()}; }
    Range H() const { return Of(area->horizontalScrollBar()); }
    Range V() const { return Of(area->verticalScrollBar()); }
    // Resizing away and back lines the minimised sub-windows up again.
    void Nudge()
    {
        area->resize(701, 501);
        area->resize(700, 500);
    }
};

// Straight to the frame: no focus moves with it, so only the press path can activate.
void press(ZBMdiSubWindow* sub)
{
    TestUtil::SendMouse(sub, QEvent::MouseButtonPress, QPoint(sub->width() / 2, 8));
}

} // namespace

class tst_ZBMdiAreaWidget : public QObject
{
    Q_OBJECT

    std::unique_ptr<Area> a;

private slots:
    void init()
    {
        a.reset(new Area);
        QVERIFY(a->Show());
    }
    void cleanup()
    {
        a.reset();
        TestUtil::CheckNoLeftoverWindows();
    }

    void addingAndActivating()
    {
        ZBMdiSubWindow* one = a->Add("one");
        auto* two = new ZBMdiSubWindow; // built as a window of its own
        a->area->AddSubWindow(two);
        QVERIFY(two->windowType() == Qt::SubWindow && two->isVisible());
        ZBMdiSubWindow* empty = a->area->AddWidget(nullptr);
        a->area->AddSubWindow(one);
        a->area->AddSubWindow(nullptr);
        ZBMdiSubWindow stranger;
        a->area->SetActiveSubWindow(&stranger);
        QCOMPARE(a->activated, (Subs{one, two, empty}));
        QCOMPARE(a->area->SubWindows(), (Subs{empty, two, one}));

        a->area->SetActiveSubWindow(one);
        QCOMPARE(a->area->SubWindows(), (Subs{one, empty, two}));
        QWidget* hit = a->area->viewport()->childAt(5, 5); // raised above the others
        QVERIFY(hit == one || one->isAncestorOf(hit));

        // The press and the focus paths, each alone; a second press on the active one emits nothing.
        ZBMdiSubWindow* right = a->Add("right");
        a->activated.clear();
        press(empty);
        QCOMPARE(a->area->ActiveSubWindow(), empty);
        right->GetWidget()->setFocus();
        QTRY_COMPARE(a->area->ActiveSubWindow(), right);
        press(right);
        QCOMPARE(a->activated, (Subs{empty, right}));
        QVERIFY((right->windowState() & Qt::WindowActive) && !(empty->windowState() & Qt::WindowActive));
        a->area->SetActiveSubWindow(one); // takes the focus away from the old one
        QVERIFY(!right->isAncestorOf(QApplication::focusWidget()));
    }

    void cycling()
    {
        a->area->ActivateNextSubWindow();
        a->area->ActivatePreviousSubWindow();
        a->Add("w3");
        a->area->ActivateNextSubWindow();
        a->area->ActivatePreviousSubWindow();
        a->Add("w2");
        a->Add("w1");
        QCOMPARE(a->activated.size(), 3);
        QStringList seen;
        for (int i = 0; i < 6; ++i) {
            QMetaObject::invokeMethod(a->area, i < 3 ? "ActivateNextSubWindow" : "ActivatePreviousSubWindow");
            seen << a->area->ActiveSubWindow()->objectName();
        }
        QCOMPARE(seen.join(QLatin1Char(' ')), QStringLiteral("w3 w2 w1 w2 w3 w1"));
    }

    void closing()
    {
        const Subs three = a->AddThree();
        QPointer<ZBMdiSubWindow> third = three[0], first = three[1], second = three[2];
        a->area->CloseActiveSubWindow();
        QCOMPARE(a->area->ActiveSubWindow(), first.data());
        second->close(); // not the active one: nothing is activated
        QCOMPARE(a->aboutClose, (QStringList{"third", "second"}));
        QCOMPARE(a->activated, Subs{first});
        QTRY_VERIFY(!third && !second);

        // Built as a window, it keeps its zero opacity and closes without the fade that deletes.
        QPointer<ZBMdiSubWindow> fourth = new ZBMdiSubWindow;
        fourth->setObjectName(QStringLiteral("fourth"));
        a->area->AddSubWindow(fourth);
        a->area->CloseAllSubWindows();
        QCOMPARE(a->aboutClose, (QStringList{"third", "second", "fourth", "first"}));
        QCOMPARE(a->activated.last(), nullptr);
        QTRY_VERIFY(!first && !fourth);
    }

    void blocking()
    {
        ZBMdiSubWindow *left = a->Add("left"), *right = a->Add("right");
        a->activated.clear();
        a->area->BlockMdiArea(true);

        QTest::ignoreMessage(
            QtDebugMsg,
            QRegularExpression(QStringLiteral(
                "^Build date=[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}, time=[0-9]{2}:[0-9]{2}:[0-9]{2}\\. "
                "Line=[0-9]+, file=\"[^\"]*ZBMdiAreaWidget\\.cpp\"\\. Failed to add new subwindow\\.$")));
        QLineEdit refused;
        QVERIFY(!a->area->AddWidget(&refused));
        QCOMPARE(a->area->viewport()->findChildren<ZBMdiSubWindow*>().size(), 2);

        a->area->CloseActiveSubWindow();
        a->area->CloseAllSubWindows();
        QVERIFY(!left->close());
        a->area->ActivateNextSubWindow();
        press(left);
        left->GetWidget()->setFocus();
        QTRY_VERIFY(left->GetWidget()->hasFocus());
        right->ShowMaximized();
        QVERIFY(a->activated.isEmpty() && !(left->windowState() & Qt::WindowActive) && !right->IsMaximized());

        a->area->SetActiveSubWindow(left); // still the application's to choose
        QCOMPARE(a->area->ActiveSubWindow(), left);
        a->area->BlockMdiArea(false);
        press(right);
        right->ShowMaximized();
        QVERIFY(a->area->ActiveSubWindow() == right && right->IsMaximized());
    }

    void goneBehindTheAreasBack()
    {
        const Subs three = a->AddThree();
        ZBMdiSubWindow *first = three[1], *second = three[2];
        delete three[0];
        QCOMPARE(a->area->ActiveSubWindow(), first);
        QWidget elsewhere;
        first->setParent(&elsewhere);
        QCOMPARE(a->area->SubWindows(), Subs{second});
        first->ShowMaximized(); // no longer heard
        ZBMdiAreaWidget other(a.get());
        other.AddSubWindow(second);
        QCOMPARE(a->activated, (Subs{first, second, nullptr}));
        second->ShowMaximized();
        QCOMPARE(a->area->GetState(), ZBMdiAreaWidget::Normal);

        // Slots that delete the sub-window they are told about, or the whole area.
        a->Add("fourth");
        a->Add("fifth");
        auto c = connect(a->area, &ZBMdiAreaWidget::SubWindowAboutClose, [](ZBMdiSubWindow* s) { delete s; });
        a->area->CloseActiveSubWindow();
        QCOMPARE(a->area->SubWindowsCount(), 1);
        disconnect(c);
        a->Add("sixth");
        QPointer<ZBMdiAreaWidget> area(a->area);
        connect(a->area, &ZBMdiAreaWidget::SubWindowActivated, [&area] { delete area.data(); });
        a->area->ActivatePreviousSubWindow();
        QVERIFY(!area);
    }

    void maximisedMode()
    {
        ZBMdiSubWindow* left = a->Add("left", QRect(-50, 20, 200, 150));
        ZBMdiSubWindow* minimised = a->Add("minimised", QRect(100, 100, 200, 150));
        minimised->ShowMinimized();
        ZBMdiSubWindow* right = a->Add("right", QRect(400, 300, 250, 150));
        right->ShowMaximized();
        QCOMPARE(a->area->GetState(), ZBMdiAreaWidget::Maximized);
        QVERIFY(right->isVisible() && !left->isVisible() && !minimised->isVisible());
        QCOMPARE(a->H(), Range());
        a->area->resize(600, 400);
        QCOMPARE(right->geometry(), a->area->viewport()->rect());
        a->area->resize(700, 500);

        a->area->ActivateNextSubWindow(); // the old one hides, the new one is maximised
        QVERIFY(left->IsMaximized() && left->isVisible() && !right->isVisible());
        QCOMPARE(left->geometry(), a->area->viewport()->rect());

        left->ShowNormal();
        QCOMPARE(a->area->GetState(), ZBMdiAreaWidget::Normal);
        QCOMPARE(left->geometry(), QRect(-50, 20, 200, 150));
        QCOMPARE(right->geometry(), QRect(400, 300, 250, 150));
        QVERIFY(!right->IsMaximized() && right->isVisible() && minimised->isVisible());
        QCOMPARE(a->H(), Range(-50, -1));

        // Minimised from the maximised mode: the others come back, the active one joins the row.
        left->ShowMaximized();
        left->ShowMinimized();
        QCOMPARE(a->area->GetState(), ZBMdiAreaWidget::Normal);
        QVERIFY(right->isVisible() && !right->IsMaximized() && left->Content()->isHidden());
        QTRY_COMPARE(left->TitleBar()->width(), 300);
        a->Nudge();
        QCOMPARE(QPoint(minimised->x(), left->x()), QPoint(0, 302));
        QCOMPARE(left->NormalGeometry(), QRect(-50, 20, 200, 150));
    }

    void minimisedRows()
    {
        Subs subs;
        for (const char* name : {"0", "1", "2"}) {
            subs << a->Add(name, QRect(50, 50, 250, 180));
            subs.last()->TitleBar()->setFixedHeight(24);
            subs.last()->ShowMinimized();
        }
        QTRY_COMPARE(subs[2]->TitleBar()->width(), 300);
        a->Nudge();
        QCOMPARE(subs[0]->pos(), QPoint(0, 474));
        QCOMPARE(subs[1]->pos(), QPoint(302, 474));
        QCOMPARE(subs[2]->pos(), QPoint(0, 448)); // 604 + 300 > 699

        a->area->SetActiveSubWindow(subs[1]);
        subs[1]->ShowNormal();
        QCOMPARE(subs[1]->geometry(), QRect(50, 50, 250, 180));
        QCOMPARE(subs[2]->pos(), QPoint(302, 474));

        // Restored while another is active, it leaves the row; one deleted while in it leaves too.
        subs[0]->ShowNormal();
        subs[0]->move(60, 70);
        subs[2]->ShowNormal();
        a->area->SetActiveSubWindow(subs[2]);
        subs[2]->ShowMinimized();
        delete subs[2];
        a->Nudge();
        QCOMPARE(subs[0]->pos(), QPoint(60, 70));
    }

    void scrolling()
    {
        QScrollBar* v = a->area->verticalScrollBar();
        ZBMdiSubWindow* top = a->Add("top", QRect(50, 20, 200, 150));
        QCOMPARE(qMakePair(a->H(), a->V()), qMakePair(Range(), Range()));
        ZBMdiSubWindow* low = a->Add("low", QRect(-50, 450, 200, 200)); // bottom 649
        QCOMPARE(qMakePair(a->H(), a->V()), qMakePair(Range(-50, -1), Range(0, 149)));
        QCOMPARE(v->pageStep(), 500);
        ZBMdiSubWindow* parked = a->Add("parked");
        parked->ShowMinimized();
        const QPoint parkedAt = parked->pos();

        v->setValue(100);
        QCOMPARE(top->pos(), QPoint(50, -80));
        QCOMPARE(low->pos(), QPoint(-50, 350));
        QCOMPARE(parked->pos(), parkedAt);
        QCOMPARE(a->V(), Range(0, 149)); // computed before the scroll

        low->move(0, 0); // the range shrinks and pulls the value along; nothing else moves
        QCOMPARE(a->V(), Range(-80, -1));
        QCOMPARE(v->value(), -1);
        QCOMPARE(top->pos(), QPoint(50, -80));
        QCOMPARE(parked->pos(), parkedAt);
    }
};

QTEST_MAIN(tst_ZBMdiAreaWidget)
#include "tst_zbmdiareawidget.moc"
