#include "ZBMdiSubWindow.h"
#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace {

using States = QList<QPair<int, int>>;
const int Min = Qt::WindowMinimized, Max = Qt::WindowMaximized;
const Qt::WindowStates Active(Qt::WindowActive);

// Drags the title bar by (dx, dy) through the frame's own mouse handlers; returns the new position.
QPoint dragTitle(ZBMdiSubWindow* sub, int dx, int dy)
{
    const QPoint at = sub->mapToGlobal(QPoint(sub->width() / 2, sub->TitleBar()->height() / 2));
    TestUtil::SendMouseAt(sub, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    TestUtil::DragTo(sub, at + QPoint(dx, dy));
    TestUtil::ReleaseAt(sub, at + QPoint(dx, dy));
    return sub->pos();
}

// A shown, active window holding an inactive sub-window at (20, 20, 300, 200).
struct Host : QWidget
{
    ZBMdiSubWindow* sub = new ZBMdiSubWindow(this);
    bool Show()
    {
        resize(600, 500);
        show();
        const bool active = QTest::qWaitForWindowActive(this);
        sub->setGeometry(20, 20, 300, 200);
        sub->overrideWindowState(Qt::WindowNoState);
        return active;
    }
};

} // namespace

class tst_ZBMdiSubWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void stateChanges_data()
    {
        // x, n, r: the show slots; b: both bits through SetState; d, R: left and right title
        // double-clicks; i: all actions ignored from then on.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<States>("emitted");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("new") << "" << States{} << "MIN MAX -";
        QTest::newRow("max, min") << "xn" << States{{0, Max}, {Max, Min}} << "- MAX RES";
        QTest::newRow("min, max") << "nx" << States{{0, Min}, {Min, Max}} << "MIN - RES";
        QTest::newRow("same twice") << "xxrr" << States{{0, Max}, {Max, 0}} << "MIN MAX -";
        QTest::newRow("both bits") << "b" << States{{0, Min | Max}} << "- - RES";
        QTest::newRow("double-clicks") << "Rdd" << States{{0, Max}, {Max, 0}} << "MIN MAX -";
        QTest::newRow("double-click restores") << "nd" << States{{0, Min}, {Min, 0}} << "MIN MAX -";
        QTest::newRow("ignored") << "ixnd" << States{} << "MIN MAX -";
        QTest::newRow("ignored but set") << "ibrd" << States{{0, Min | Max}} << "- - RES";
    }

    void stateChanges()
    {
        QFETCH(QString, actions);
        QFETCH(States, emitted);
        QFETCH(QString, buttons);
        ZBMdiSubWindow sub;
        States log; // Qt 5's QSignalSpy cannot hold Qt::WindowStates
        connect(&sub, &ZBMdiSubWindow::StateChanged, [&log](Qt::WindowStates o, Qt::WindowStates n) {
            log.append({int(o), int(n)});
        });
        ZBTitleBar* title = sub.TitleBar();
        const QMap<QChar, std::function<void()>> act{
            {QLatin1Char('x'), [&] { sub.ShowMaximized(); }},
            {QLatin1Char('n'), [&] { sub.ShowMinimized(); }},
            {QLatin1Char('r'), [&] { sub.ShowNormal(); }},
            {QLatin1Char('b'), [&] { sub.SetState(Qt::WindowMinimized | Qt::WindowMaximized); }},
            {QLatin1Char('d'), [&] { Q_EMIT title->DoubleClicked(Qt::LeftButton); }},
            {QLatin1Char('R'), [&] { Q_EMIT title->DoubleClicked(Qt::RightButton); }},
            {QLatin1Char('i'), [&] { sub.IgnoreAllActions(true); }}};
        for (const QChar c : actions)
            act[c]();
        QCOMPARE(log, emitted);
        QStringList shown;
        for (const char* name : {"MINIMIZEBUTTON", "MAXIMIZEBUTTON", "RESTOREBUTTON"})
            shown << (sub.findChild<QToolButton*>(QLatin1String(name))->isHidden()
                          ? QStringLiteral("-")
                          : QString::fromLatin1(name, 3));
        QCOMPARE(shown.join(QLatin1Char(' ')), buttons);
        const int last = emitted.isEmpty() ? 0 : emitted.last().second;
        QCOMPARE(int(sub.GetState()), last);
        QCOMPARE(qMakePair(sub.IsMinimized(), sub.IsMaximized()),
                 qMakePair(bool(last & Min), bool(last & Max)));
    }

    void frameAndNormalGeometryFollowTheState()
    {
        Host h;
        h.sub->SetWidget(new QLineEdit);
        QVERIFY(h.Show());
        const QRect m = ZBResource::GetData(ZBResource::MainContentMargins).toRect();
        QLayout* frame = h.sub->findChild<QWidget*>(QStringLiteral("ZBWIDGETMAINCONTENT"))->layout();

        h.sub->ShowMinimized();
        QVERIFY(h.sub->Content()->isHidden());
        QCOMPARE(h.sub->size(), QSize(300, h.sub->TitleBar()->sizeHint().height() + m.top() + m.bottom()));
        QCOMPARE(frame->contentsMargins(), QMargins());
        QCOMPARE(dragTitle(h.sub, 30, 20), QPoint(20, 20));
        h.sub->ShowMaximized();
        h.sub->overrideWindowState(Qt::WindowNoState);
        QCOMPARE(dragTitle(h.sub, 30, 20), QPoint(20, 20));
        QCOMPARE(h.sub->windowState(), Active); // raised by the press, without the own state bits
        h.sub->setGeometry(0, 0, 600, 500);
        QCOMPARE(h.sub->NormalGeometry(), QRect(20, 20, 300, 200));

        h.sub->ShowNormal();
        QCOMPARE(frame->contentsMargins(), QMargins(m.left(), m.top(), m.right(), m.bottom()));
        h.sub->setGeometry(20, 20, 300, 200);
        QCOMPARE(dragTitle(h.sub, 30, 20), QPoint(50, 40));
        QCOMPARE(h.sub->NormalGeometry(), QRect(50, 40, 300, 200));
        h.sub->overrideWindowState(Qt::WindowNoState);
        TestUtil::SendMouse(h.sub, QEvent::MouseButtonDblClick, QPoint(100, 10));
        QCOMPARE(h.sub->windowState(), Active);
    }

    void setWidget()
    {
        Host h;
        QVERIFY(h.Show());
        h.sub->setGeometry(40, 50, 100, 60);
        auto* big = new QLabel;
        big->setMinimumSize(300, 200);
        big->setWindowTitle(QStringLiteral("Document"));
        h.sub->SetWidget(big);
        QVERIFY(h.sub->width() >= 300);
        QCOMPARE(h.sub->NormalGeometry(), QRect(QPoint(40, 50), h.sub->size()));
        QCOMPARE(h.sub->Content()->windowTitle(), QStringLiteral("Document"));
        big->setWindowTitle(QStringLiteral("Renamed"));
        QCOMPARE(h.sub->windowTitle(), QStringLiteral("Renamed"));

        const QSize grown = h.sub->size();
        h.sub->resize(120, 90);
        h.sub->SetWidget(big); // held already: no resize
        QCOMPARE(h.sub->size(), QSize(120, 90));
        h.sub->resize(grown);
        QPointer<QLabel> old(big);
        h.sub->SetWidget(new QLabel(QStringLiteral("s")));
        QVERIFY(h.sub->GetWidget() != big && old->isHidden());
        h.sub->SetWidget(nullptr);
        QVERIFY(!h.sub->GetWidget());
        QCOMPARE(h.sub->size(), grown);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);
    }
};

QTEST_MAIN(tst_ZBMdiSubWindow)
#include "tst_zbmdisubwindow.moc"
