#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

namespace {

using Subs = QList<ZBMdiSubWindow*>;

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
    QPair<int, int> Range(QScrollBar* bar) const { return {bar->minimum(), bar->maximum()}; }
    // Resizing away and back lines the minimised sub-windows up again.
    void Nudge()
    {
        area->resize(701, 501);
        area->resize(700, 500);
    }
};

bool activeBit(QWidget* w)
{
    return w->windowState() & Qt::WindowActive;
}

// Straight to the frame: no focus moves with it, so only the press path can activate.
void press(ZBMdiSubWindow* sub)
{
    TestUtil::SendMouse(sub, QEvent::MouseButtonPress, QPoint(sub->width() / 2, 8));
    TestUtil::SendMouse(sub, QEvent::MouseButtonRelease, QPoint(sub->width() / 2, 8), Qt::LeftButton,
                        Qt::NoButton);
}

QStringList debugLines;
void collectDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg)
        debugLines << message;
}

const QPair<int, int> NoRange(0, 0);

} // namespace

class tst_ZBMdiAreaWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void adding()
    {
        Area a;
        QVERIFY(a.Show());
        ZBMdiSubWindow* one = a.Add("one");
        auto* two = new ZBMdiSubWindow; // built as a window of its own
        a.area->AddSubWindow(two);
        QCOMPARE(two->parentWidget(), a.area->viewport());
        QCOMPARE(two->windowType(), Qt::SubWindow);
        QVERIFY(two->testAttribute(Qt::WA_DeleteOnClose) && two->isVisible());
        ZBMdiSubWindow* empty = a.area->AddWidget(nullptr);
        a.area->AddSubWindow(one);
        a.area->AddSubWindow(nullptr);
        ZBMdiSubWindow stranger;
        a.area->SetActiveSubWindow(&stranger);
        QCOMPARE(a.activated, (Subs{one, two, empty}));
        QCOMPARE(a.area->SubWindows(), (Subs{empty, two, one}));
        QCOMPARE(a.area->SubWindowsCount(), 3);

        a.area->SetActiveSubWindow(one);
        QCOMPARE(a.area->SubWindows(), (Subs{one, empty, two}));
        QWidget* hit = a.area->viewport()->childAt(5, 5); // raised above the others
        QVERIFY(hit == one || one->isAncestorOf(hit));
    }

    void activationPaths_data()
    {
        QTest::addColumn<bool>("byFocus");
        QTest::newRow("press") << false;
        QTest::newRow("focus") << true;
    }

    void activationPaths()
    {
        QFETCH(bool, byFocus);
        Area a;
        QVERIFY(a.Show());
        ZBMdiSubWindow* left = a.Add("left", QRect(0, 0, 300, 200));
        ZBMdiSubWindow* right = a.Add("right", QRect(320, 0, 300, 200));
        a.activated.clear();
        for (ZBMdiSubWindow* sub : {left, right, right}) {
            if (byFocus)
                sub->GetWidget()->setFocus();
            else
                press(sub);
            QTRY_COMPARE(a.area->ActiveSubWindow(), sub);
        }
        QCOMPARE(a.activated, (Subs{left, right}));
        QCOMPARE(a.area->SubWindows(), (Subs{right, left}));
        QVERIFY(activeBit(right) && !activeBit(left));

        // Activated another way, a sub-window that held the focus gives it up.
        right->GetWidget()->setFocus();
        a.area->SetActiveSubWindow(left);
        QVERIFY(!right->isAncestorOf(QApplication::focusWidget()));
    }

    void cycling_data()
    {
        QTest::addColumn<bool>("next");
        QTest::addColumn<QString>("visits");
        QTest::newRow("next") << true << "w3 w2 w1 w3 w2";
        QTest::newRow("previous") << false << "w2 w3 w1 w2 w3";
    }

    void cycling()
    {
        QFETCH(bool, next);
        QFETCH(QString, visits);
        Area a;
        QVERIFY(a.Show());
        a.area->ActivateNextSubWindow();
        a.area->ActivatePreviousSubWindow();
        a.Add("w3");
        a.area->ActivateNextSubWindow();
        a.area->ActivatePreviousSubWindow();
        QCOMPARE(a.activated.size(), 1);

        a.Add("w2");
        a.Add("w1"); // the cycle now reads w1, w2, w3
        QStringList seen;
        for (int i = 0; i < 5; ++i) {
            QMetaObject::invokeMethod(a.area, next ? "ActivateNextSubWindow" : "ActivatePreviousSubWindow");
            seen << a.area->ActiveSubWindow()->objectName();
        }
        QCOMPARE(seen.join(QLatin1Char(' ')), visits);
        QCOMPARE(a.activated.size(), 8);
    }

    void closing()
    {
        Area a;
        QVERIFY(a.Show());
        QPointer<ZBMdiSubWindow> first = a.Add("first"), second = a.Add("second"), third = a.Add("third");
        a.area->SetActiveSubWindow(first);
        a.area->SetActiveSubWindow(third); // third, first, second
        a.activated.clear();

        a.area->CloseActiveSubWindow();
        QCOMPARE(a.area->ActiveSubWindow(), first.data());
        QCOMPARE(a.area->SubWindows(), (Subs{first, second}));
        second->close(); // not the active one: nothing is activated
        QCOMPARE(a.aboutClose, (QStringList{"third", "second"}));
        QCOMPARE(a.activated, Subs{first});
        QCOMPARE(a.area->SubWindows(), Subs{first});
        QTRY_VERIFY(!third && !second);

        // Built as a window, it keeps its zero opacity and closes without the fade that deletes.
        QPointer<ZBMdiSubWindow> fourth = new ZBMdiSubWindow;
        fourth->setObjectName(QStringLiteral("fourth"));
        a.area->AddSubWindow(fourth);
        a.area->CloseAllSubWindows();
        QCOMPARE(a.aboutClose, (QStringList{"third", "second", "fourth", "first"}));
        QCOMPARE(a.area->SubWindowsCount(), 0);
        QCOMPARE(a.activated.last(), nullptr);
        QTRY_VERIFY(!first && !fourth);
    }

    void blocking()
    {
        Area a;
        QVERIFY(a.Show());
        ZBMdiSubWindow* left = a.Add("left", QRect(0, 0, 300, 200));
        ZBMdiSubWindow* right = a.Add("right", QRect(320, 0, 300, 200));
        a.activated.clear();
        a.area->BlockMdiArea(true);
        QVERIFY(a.area->IsBlocked());

        debugLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectDebug);
        auto* refused = new QLineEdit;
        QVERIFY(!a.area->AddWidget(refused));
        qInstallMessageHandler(previous);
        QVERIFY(!refused->parent());
        delete refused;
        QCOMPARE(a.area->viewport()->findChildren<ZBMdiSubWindow*>().size(), 2);
        QCOMPARE(debugLines.size(), 1);
        const QRegularExpression line(QStringLiteral(
            "^Build date=[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}, time=[0-9]{2}:[0-9]{2}:[0-9]{2}\\. "
            "Line=[0-9]+, file=\"[^\"]*ZBMdiAreaWidget\\.cpp\"\\. Failed to add new subwindow\\.$"));
        QVERIFY2(line.match(debugLines.first()).hasMatch(), qPrintable(debugLines.first()));

        a.area->CloseActiveSubWindow();
        a.area->CloseAllSubWindows();
        QVERIFY(!left->close());
        a.area->ActivateNextSubWindow();
        press(left);
        QVERIFY(!activeBit(left));
        left->GetWidget()->setFocus();
        QTRY_VERIFY(left->GetWidget()->hasFocus());
        QVERIFY(!activeBit(left));
        right->ShowMaximized();
        QCOMPARE(a.area->SubWindowsCount(), 2);
        QCOMPARE(a.area->ActiveSubWindow(), right);
        QVERIFY(a.activated.isEmpty() && !right->IsMaximized());

        a.area->SetActiveSubWindow(left); // still the application's to choose
        QCOMPARE(a.area->ActiveSubWindow(), left);
        a.area->BlockMdiArea(false);
        press(right);
        QCOMPARE(a.area->ActiveSubWindow(), right);
    }

    void goneBehindTheAreasBack()
    {
        Area a;
        QVERIFY(a.Show());
        ZBMdiSubWindow* first = a.Add("first");
        ZBMdiSubWindow* second = a.Add("second");
        ZBMdiSubWindow* third = a.Add("third");
        a.area->SetActiveSubWindow(first);
        a.area->SetActiveSubWindow(third); // third, first, second
        a.activated.clear();

        delete third;
        QCOMPARE(a.area->ActiveSubWindow(), first);
        QCOMPARE(a.area->SubWindows(), (Subs{first, second}));
        QWidget elsewhere;
        first->setParent(&elsewhere);
        QCOMPARE(a.area->SubWindows(), Subs{second});
        first->ShowMaximized(); // no longer heard
        QCOMPARE(a.area->GetState(), ZBMdiAreaWidget::Normal);
        ZBMdiAreaWidget other(&a);
        other.AddSubWindow(second);
        QCOMPARE(a.activated, (Subs{first, second, nullptr}));
        second->ShowMaximized();
        QCOMPARE(a.area->GetState(), ZBMdiAreaWidget::Normal);

        // Slots that delete the sub-window they are told about, or the whole area.
        a.Add("fourth");
        a.Add("fifth");
        auto c = connect(a.area, &ZBMdiAreaWidget::SubWindowAboutClose, [](ZBMdiSubWindow* s) { delete s; });
        a.area->CloseActiveSubWindow();
        QCOMPARE(a.area->SubWindowsCount(), 1);
        disconnect(c);
        a.Add("sixth");
        QPointer<ZBMdiAreaWidget> area(a.area);
        connect(a.area, &ZBMdiAreaWidget::SubWindowActivated, [&area] { delete area.data(); });
        a.area->ActivatePreviousSubWindow();
        QVERIFY(!area);
    }

    void maximisedMode()
    {
        Area a;
        QVERIFY(a.Show());
        ZBMdiSubWindow* left = a.Add("left", QRect(-50, 20, 200, 150));
        ZBMdiSubWindow* minimised = a.Add("minimised", QRect(100, 100, 200, 150));
        minimised->ShowMinimized();
        ZBMdiSubWindow* right = a.Add("right", QRect(400, 300, 250, 150));
        right->ShowMaximized();
        QCOMPARE(a.area->GetState(), ZBMdiAreaWidget::Maximized);
        QCOMPARE(right->geometry(), a.area->viewport()->rect());
        QVERIFY(right->isVisible() && !left->isVisible() && !minimised->isVisible());
        QCOMPARE(a.Range(a.area->horizontalScrollBar()), NoRange);
        a.area->resize(600, 400);
        QCOMPARE(right->geometry(), a.area->viewport()->rect());
        a.area->resize(700, 500);

        a.area->ActivateNextSubWindow(); // the old one hides, the new one is maximised
        QCOMPARE(a.area->ActiveSubWindow(), left);
        QVERIFY(left->IsMaximized() && left->isVisible() && !right->isVisible());
        QCOMPARE(left->geometry(), a.area->viewport()->rect());

        left->ShowNormal();
        QCOMPARE(a.area->GetState(), ZBMdiAreaWidget::Normal);
        QCOMPARE(left->geometry(), QRect(-50, 20, 200, 150));
        QCOMPARE(right->geometry(), QRect(400, 300, 250, 150));
        QVERIFY(!right->IsMaximized() && right->isVisible() && minimised->isVisible());
        QCOMPARE(a.Range(a.area->horizontalScrollBar()), qMakePair(-50, -1));

        // Minimised from the maximised mode: the others come back, the active one joins the row.
        left->ShowMaximized();
        left->ShowMinimized();
        QCOMPARE(a.area->GetState(), ZBMdiAreaWidget::Normal);
        QVERIFY(right->isVisible() && !right->IsMaximized() && left->Content()->isHidden());
        QTRY_COMPARE(left->TitleBar()->width(), 300);
        a.Nudge();
        QCOMPARE(minimised->x(), 0);
        QCOMPARE(left->x(), 302);
        QCOMPARE(left->NormalGeometry(), QRect(-50, 20, 200, 150));
    }

    void minimisedRows()
    {
        Area a;
        QVERIFY(a.Show());
        Subs subs;
        for (const char* name : {"0", "1", "2"}) {
            subs << a.Add(name, QRect(50, 50, 250, 180));
            subs.last()->TitleBar()->setFixedHeight(24);
            subs.last()->ShowMinimized();
        }
        QTRY_COMPARE(subs[2]->TitleBar()->width(), 300);
        a.Nudge();
        QCOMPARE(subs[0]->pos(), QPoint(0, 474));
        QCOMPARE(subs[1]->pos(), QPoint(302, 474));
        QCOMPARE(subs[2]->pos(), QPoint(0, 448)); // 604 + 300 > 699

        a.area->SetActiveSubWindow(subs[1]);
        subs[1]->ShowNormal();
        QCOMPARE(subs[1]->geometry(), QRect(50, 50, 250, 180));
        QCOMPARE(subs[2]->pos(), QPoint(302, 474));

        ZBMdiSubWindow* idle = a.Add("idle", QRect(100, 100, 250, 180));
        a.area->SetActiveSubWindow(subs[1]);
        idle->ShowMinimized(); // not the active one: the area does not hear it
        a.Nudge();
        QCOMPARE(idle->pos(), QPoint(100, 100));

        // Restored while another is active: the area does not hear it, but never pulls it back
        // to the row, and one minimised again and deleted leaves the row entirely.
        subs[0]->ShowNormal();
        subs[0]->move(60, 70);
        subs[2]->ShowNormal();
        a.area->SetActiveSubWindow(subs[2]);
        subs[2]->ShowMinimized();
        delete subs[2];
        a.Nudge();
        QCOMPARE(subs[0]->pos(), QPoint(60, 70));
    }

    void scrolling()
    {
        Area a;
        QVERIFY(a.Show());
        QScrollBar* h = a.area->horizontalScrollBar();
        QScrollBar* v = a.area->verticalScrollBar();
        ZBMdiSubWindow* top = a.Add("top", QRect(50, 20, 200, 150));
        QCOMPARE(a.Range(h), NoRange);
        QCOMPARE(a.Range(v), NoRange);
        ZBMdiSubWindow* low = a.Add("low", QRect(-50, 450, 200, 200)); // bottom 649
        QCOMPARE(a.Range(h), qMakePair(-50, -1));
        QCOMPARE(h->pageStep(), 700);
        QCOMPARE(a.Range(v), qMakePair(0, 149));
        QCOMPARE(v->pageStep(), 500);
        ZBMdiSubWindow* parked = a.Add("parked");
        parked->ShowMinimized();
        const QPoint parkedAt = parked->pos();

        v->setValue(100);
        QCOMPARE(top->pos(), QPoint(50, -80));
        QCOMPARE(low->pos(), QPoint(-50, 350));
        QCOMPARE(parked->pos(), parkedAt);
        QCOMPARE(a.Range(v), qMakePair(0, 149)); // computed before the scroll
        v->setValue(40);
        QCOMPARE(top->pos(), QPoint(50, -20));

        low->move(0, 0); // the range shrinks and pulls the value along; nothing else moves
        QCOMPARE(a.Range(v), qMakePair(-20, -1));
        QCOMPARE(v->value(), -1);
        QCOMPARE(top->pos(), QPoint(50, -20));
        QCOMPARE(parked->pos(), parkedAt);
    }
};

QTEST_MAIN(tst_ZBMdiAreaWidget)
#include "tst_zbmdiareawidget.moc"
