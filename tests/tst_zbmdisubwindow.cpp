#include "ZBMdiSubWindow.h"
#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolButton>

namespace {

using States = QList<QPair<int, int>>;
const int Min = Qt::WindowMinimized, Max = Qt::WindowMaximized;

QString shownButtons(ZBMdiSubWindow* sub)
{
    QStringList shown;
    for (const char* name : {"MINIMIZEBUTTON", "MAXIMIZEBUTTON", "RESTOREBUTTON"}) {
        if (!sub->findChild<QToolButton*>(QLatin1String(name))->isHidden())
            shown << QLatin1String(name).left(3);
    }
    return shown.join(QLatin1Char(' '));
}

QMargins frameMargins(ZBMdiSubWindow* sub)
{
    return sub->findChild<QWidget*>(QStringLiteral("ZBWIDGETMAINCONTENT"))->layout()->contentsMargins();
}

// Qt 5's QSignalSpy cannot hold Qt::WindowStates.
struct StateLog : States
{
    explicit StateLog(ZBMdiSubWindow* sub)
    {
        QObject::connect(
            sub, &ZBMdiSubWindow::StateChanged, sub,
            [this](Qt::WindowStates o, Qt::WindowStates n) { append(qMakePair(int(o), int(n))); });
    }
};

// Drags the title bar by (dx, dy) through the frame's own mouse handlers; returns the new position.
QPoint dragTitle(ZBMdiSubWindow* sub, int dx, int dy)
{
    const QPoint start = sub->mapToParent(QPoint(sub->width() / 2, sub->TitleBar()->height() / 2));
    TestUtil::SendMouse(sub, QEvent::MouseButtonPress, sub->mapFromParent(start));
    for (const QPoint step : {QPoint(dx / 2, dy / 2), QPoint(dx, dy)})
        TestUtil::SendMouse(sub, QEvent::MouseMove, sub->mapFromParent(start + step), Qt::NoButton);
    TestUtil::SendMouse(sub, QEvent::MouseButtonRelease, sub->mapFromParent(start), Qt::LeftButton,
                        Qt::NoButton);
    return sub->pos();
}

// A shown, active window holding a sub-window at (20, 20, 300, 200), with the focus outside it.
struct Host : QWidget
{
    ZBMdiSubWindow* sub = new ZBMdiSubWindow(this);
    QLineEdit* outside = new QLineEdit(this);
    bool Show()
    {
        resize(600, 500);
        outside->move(0, 470);
        show();
        if (!QTest::qWaitForWindowActive(this))
            return false;
        sub->setGeometry(20, 20, 300, 200);
        outside->setFocus();
        sub->overrideWindowState(Qt::WindowNoState);
        return true;
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
        QTest::addColumn<QString>("actions");
        QTest::addColumn<States>("emitted");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("new") << "" << States{} << "MIN MAX";
        QTest::newRow("max") << "max" << States{{0, Max}} << "MIN RES";
        QTest::newRow("min") << "min" << States{{0, Min}} << "MAX RES";
        QTest::newRow("max, min") << "max min" << States{{0, Max}, {Max, Min}} << "MAX RES";
        QTest::newRow("min, max") << "min max" << States{{0, Min}, {Min, Max}} << "MIN RES";
        QTest::newRow("same twice") << "max max normal normal" << States{{0, Max}, {Max, 0}} << "MIN MAX";
        QTest::newRow("both bits") << "both" << States{{0, Min | Max}} << "RES";
        QTest::newRow("both, max") << "both max" << States{{0, Min | Max}, {Min | Max, Max}} << "MIN RES";
    }

    void stateChanges()
    {
        QFETCH(QString, actions);
        QFETCH(States, emitted);
        QFETCH(QString, buttons);
        ZBMdiSubWindow sub;
        StateLog log(&sub);
        for (const QString& action : actions.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (action == QLatin1String("both"))
                sub.SetState(Qt::WindowMinimized | Qt::WindowMaximized);
            else
                QMetaObject::invokeMethod(&sub, action == QLatin1String("max")   ? "ShowMaximized"
                                                : action == QLatin1String("min") ? "ShowMinimized"
                                                                                 : "ShowNormal");
        }
        QCOMPARE(static_cast<States>(log), emitted);
        QCOMPARE(shownButtons(&sub), buttons);
        const int last = emitted.isEmpty() ? 0 : emitted.last().second;
        QCOMPARE(int(sub.GetState()), last);
        QCOMPARE(sub.IsMaximized(), bool(last & Max));
        QCOMPARE(sub.IsMinimized(), bool(last & Min));
        QCOMPARE(sub.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowStates());
    }

    void frameAndNormalGeometryFollowTheState()
    {
        Host h;
        h.sub->SetWidget(new QLineEdit);
        QVERIFY(h.Show());
        const QRect m = ZBResource::GetData(ZBResource::MainContentMargins).toRect();

        h.sub->ShowMinimized();
        QVERIFY(h.sub->Content()->isHidden());
        QCOMPARE(h.sub->size(), QSize(300, h.sub->TitleBar()->sizeHint().height() + m.top() + m.bottom()));
        QCOMPARE(frameMargins(h.sub), QMargins());
        QCOMPARE(dragTitle(h.sub, 30, 20), QPoint(20, 20));
        h.sub->ShowMaximized();
        QCOMPARE(dragTitle(h.sub, 30, 20), QPoint(20, 20));
        h.sub->setGeometry(0, 0, 600, 500);
        QCOMPARE(h.sub->NormalGeometry(), QRect(20, 20, 300, 200));

        h.sub->ShowNormal();
        QCOMPARE(frameMargins(h.sub), QMargins(m.left(), m.top(), m.right(), m.bottom()));
        h.sub->setGeometry(20, 20, 300, 200);
        QCOMPARE(dragTitle(h.sub, 30, 20), QPoint(50, 40));
        QCOMPARE(h.sub->NormalGeometry(), QRect(50, 40, 300, 200));
    }

    void titleDoubleClickAndIgnoredActions()
    {
        Host h;
        QVERIFY(h.Show());
        StateLog log(h.sub);
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton, Qt::LeftButton})
            QTest::mouseDClick(h.sub->TitleBar(), button);
        h.sub->ShowMinimized();
        QTest::mouseDClick(h.sub->TitleBar(), Qt::LeftButton); // restores rather than maximises
        QCOMPARE(static_cast<States>(log), (States{{0, Max}, {Max, 0}, {0, Min}, {Min, 0}}));

        log.clear();
        h.sub->IgnoreAllActions(true);
        h.sub->ShowMaximized();
        h.sub->ShowMinimized();
        QTest::mouseDClick(h.sub->TitleBar(), Qt::LeftButton);
        QVERIFY(log.isEmpty());
        h.sub->SetState(Qt::WindowMaximized); // not an action
        h.sub->ShowNormal();
        QTest::mouseDClick(h.sub->TitleBar(), Qt::LeftButton);
        QCOMPARE(static_cast<States>(log), (States{{0, Max}}));
    }

    void setWidget()
    {
        Host h;
        QVERIFY(h.Show());
        h.sub->setGeometry(40, 50, 100, 60);
        auto* big = new QLabel(QStringLiteral("big"));
        big->setMinimumSize(300, 200);
        big->setWindowTitle(QStringLiteral("Document"));
        h.sub->SetWidget(big); // grows at once, also while shown
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
        h.sub->SetWidget(new QLabel(QStringLiteral("s"))); // never shrinks; the old one goes at once
        QVERIFY(h.sub->GetWidget() != big && old->isHidden());
        h.sub->SetWidget(nullptr);
        QVERIFY(!h.sub->GetWidget());
        QCOMPARE(h.sub->size(), grown);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);
    }

    void activeFlag()
    {
        // The press path alone: a press sent straight to the frame moves no focus.
        Host h;
        h.sub->SetWidget(new QLineEdit);
        QVERIFY(h.Show());
        h.sub->ShowMaximized();
        TestUtil::SendMouse(h.sub, QEvent::MouseButtonPress, QPoint(100, 10));
        TestUtil::SendMouse(h.sub, QEvent::MouseButtonRelease, QPoint(100, 10), Qt::LeftButton, Qt::NoButton);
        // Only the active bit enters Qt's window state, so the frame moves again once restored.
        QCOMPARE(h.sub->windowState(), Qt::WindowStates(Qt::WindowActive));
        h.sub->ShowNormal();
        QCOMPARE(dragTitle(h.sub, 40, 30), QPoint(60, 50));
        h.sub->overrideWindowState(Qt::WindowNoState);
        TestUtil::SendMouse(h.sub, QEvent::MouseButtonDblClick, QPoint(100, 10));
        QCOMPARE(h.sub->windowState(), Qt::WindowStates(Qt::WindowActive));

        // The focus path alone; the sub-window never takes the bit back itself.
        h.outside->setFocus();
        h.sub->overrideWindowState(Qt::WindowNoState);
        h.sub->GetWidget()->setFocus();
        QTRY_COMPARE(h.sub->windowState(), Qt::WindowStates(Qt::WindowActive));
        h.outside->setFocus();
        QCOMPARE(h.sub->windowState(), Qt::WindowStates(Qt::WindowActive));
    }
};

QTEST_MAIN(tst_ZBMdiSubWindow)
#include "tst_zbmdisubwindow.moc"
