#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "ZBWidget.h"
#include "testutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace {

const int Tick = -1; // a timer event in Frame::log
const QRect Place(100, 100, 300, 200);

// Opens the protected interface and records the fade: each announced state, and Tick after every
// timer event, with the opacity it left behind.
class Frame : public ZBWidget
{
public:
    explicit Frame(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags())
        : ZBWidget(parent, flags)
    {
        connect(this, &ZBWidget::FadeStateChanged, this, [this](int state) { log << state; });
    }
    using ZBWidget::CloseButton;
    using ZBWidget::MaximizeButton;
    using ZBWidget::MinimizeButton;
    using ZBWidget::ReplaceContent;
    using ZBWidget::RestoreButton;
    using ZBWidget::RestoreMainContentMargins;
    using ZBWidget::SetMainContentMargins;

    QList<int> log;
    QList<double> opacities;

protected:
    void timerEvent(QTimerEvent* event) override
    {
        ZBWidget::timerEvent(event);
        log << Tick;
        opacities << windowOpacity();
    }
};

QWidget* mainContent(ZBWidget* w)
{
    return w->findChild<QWidget*>(QStringLiteral("ZBWIDGETMAINCONTENT"));
}

QGridLayout* contentGrid(ZBWidget* w)
{
    return qobject_cast<QGridLayout*>(mainContent(w)->layout());
}

QString titleText(ZBWidget* w)
{
    auto* bg = w->TitleBar()->findChild<QWidget*>(QStringLiteral("TITLECONTENT"), Qt::FindDirectChildrenOnly);
    return qobject_cast<QLabel*>(static_cast<QGridLayout*>(bg->layout())->itemAtPosition(0, 1)->widget())
        ->text();
}

// The resize cursor of the frame; the title bar must show the same one as the main content.
Qt::CursorShape frameCursor(ZBWidget* w)
{
    const Qt::CursorShape shape = mainContent(w)->cursor().shape();
    return shape == w->TitleBar()->cursor().shape() ? shape : Qt::BitmapCursor;
}

bool showAt(ZBWidget& w, const QRect& geometry = Place)
{
    w.setGeometry(geometry);
    w.show();
    return QTest::qWaitForWindowExposed(&w) && w.geometry() == geometry;
}

// A left drag from the global point a: a first move half-way, a second to a + delta, then the
// release. Returns the geometry after each move.
QPair<QRect, QRect> drag(QWidget* window, const QPoint& a, const QPoint& delta)
{
    QWidget* grab = TestUtil::PressAt(window, a);
    TestUtil::DragTo(grab, a + delta / 2);
    const QRect first = window->geometry();
    TestUtil::DragTo(grab, a + delta);
    const QRect second = window->geometry();
    TestUtil::ReleaseAt(grab, a + delta);
    return {first, second};
}

// Each tick moves the opacity by step from the value reported before it (kept in 1/255 steps);
// the last one lands on the limit.
void checkSteps(const QList<double>& opacities, double from, double step)
{
    QVERIFY(opacities.size() >= 2);
    for (double o : opacities) {
        QVERIFY2(qAbs(o - qBound(0.0, from + step, 1.0)) <= 1.0 / 255 + 1e-9, qPrintable(QString::number(o)));
        from = o;
    }
    QCOMPARE(opacities.last(), step > 0 ? 1.0 : 0.0);
}

} // namespace

class tst_ZBWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ZBResource::SetData(ZBResource::MainContentMargins, QVariant());
        TestUtil::CheckNoLeftoverWindows();
    }

    void structure()
    {
        ZBResource::SetData(ZBResource::MainContentMargins, ZBResource::MarginsRect(7, 3, 9, 11));
        Frame w(nullptr, Qt::Tool);
        QCOMPARE(w.windowType(), Qt::Tool);
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.windowFlags().testFlag(Qt::CustomizeWindowHint));
        QCOMPARE(w.windowOpacity(), 0.0);
        QCOMPARE(w.Content()->objectName(), QStringLiteral("ZBWIDGETCONTENT"));
        QCOMPARE(TestUtil::CellOf(contentGrid(&w), w.Content()), qMakePair(0, 0));
        QCOMPARE(w.TitleBar()->findChildren<QToolButton*>(), QList<QToolButton*>{w.CloseButton()});
        QVERIFY(!w.MinimizeButton() && !w.MaximizeButton() && !w.RestoreButton());

        QCOMPARE(contentGrid(&w)->contentsMargins(), QMargins(7, 3, 9, 11));
        w.SetMainContentMargins(1, 2, 3, 4);
        QCOMPARE(contentGrid(&w)->contentsMargins(), QMargins(1, 2, 3, 4));
        ZBResource::SetData(ZBResource::MainContentMargins, ZBResource::MarginsRect(6, 0, 6, 6));
        w.RestoreMainContentMargins();
        QCOMPARE(contentGrid(&w)->contentsMargins(), QMargins(6, 0, 6, 6));
    }

    void windowButtons()
    {
        Frame w;
        w.AddMinimizeButton();
        w.AddMaximizeButton();
        w.AddRestoreButton();
        QToolButton* minimize = w.MinimizeButton();
        QToolButton* maximize = w.MaximizeButton();
        QToolButton* restore = w.RestoreButton();
        // Left to right: restore, maximize, minimize, close.
        const QList<QToolButton*> row{restore, maximize, minimize, w.CloseButton()};
        const QStringList names{"RESTOREBUTTON", "MAXIMIZEBUTTON", "MINIMIZEBUTTON", "CLOSEBUTTON"};
        const QStringList tips{"Restore", "Maximize", "Minimize", "Close"};
        QVERIFY(showAt(w, QRect(100, 100, 400, 200)));
        for (int i = 0; i < row.size(); ++i) {
            QCOMPARE(row[i]->objectName(), names[i]);
            QCOMPARE(row[i]->toolTip(), tips[i]);
            QCOMPARE(row[i]->focusPolicy(), Qt::NoFocus);
            QVERIFY(i == 0 || row[i - 1]->x() < row[i]->x());
        }
        QVERIFY(maximize->isVisible() && restore->isVisible()); // until the state first changes

        maximize->click();
        QVERIFY(w.isMaximized() && !maximize->isVisible() && restore->isVisible());
        restore->click();
        QVERIFY(!w.isMaximized() && maximize->isVisible() && !restore->isVisible());
        QTest::mouseDClick(w.TitleBar(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 15));
        QVERIFY(!w.isMaximized()); // the title bar's double click is not connected
        minimize->click();
        QVERIFY(w.isMinimized());
        w.AddMinimizeButton(); // a second one, returned from then on
        QVERIFY(w.MinimizeButton() && w.MinimizeButton() != minimize);
    }

    void titleAndContent()
    {
        Frame w;
        QVERIFY(showAt(w));
        w.setWindowTitle(QStringLiteral("Window"));
        QCOMPARE(titleText(&w), QStringLiteral("Window"));
        w.Content()->setWindowTitle(QStringLiteral("Content"));
        QCOMPARE(titleText(&w), QStringLiteral("Content"));

        QPointer<QWidget> old = w.Content();
        auto* next = new QWidget;
        next->setWindowTitle(QStringLiteral("Next"));
        w.ReplaceContent(next);
        QCOMPARE(w.Content(), next);
        QCOMPARE(next->objectName(), QStringLiteral("ZBWIDGETCONTENT"));
        QCOMPARE(TestUtil::CellOf(contentGrid(&w), next), qMakePair(0, 0));
        QCOMPARE(contentGrid(&w)->count(), 1);
        QCOMPARE(titleText(&w), QStringLiteral("Next"));
        QVERIFY(old && old->isHidden()); // deleted later, not at once
        next->setWindowTitle(QStringLiteral("Renamed"));
        QCOMPARE(titleText(&w), QStringLiteral("Renamed"));
        QTRY_VERIFY(next->isVisible());

        w.ReplaceContent(next); // the current content: nothing happens
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull() && w.Content() == next && next->isVisible());
        w.ReplaceContent(new QWidget); // an empty title clears the title line
        QCOMPARE(titleText(&w), QString());
        delete w.Content(); // behind the window's back
        w.ReplaceContent(new QWidget);
        QCOMPARE(TestUtil::CellOf(contentGrid(&w), w.Content()), qMakePair(0, 0));
    }

    void resizeByTheFrame_data()
    {
        QTest::addColumn<QPoint>("at"); // in the window, which is 300 by 200
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QRect>("expected");
        // grow: how far each edge moves outward.
        auto row = [](const char* name, QPoint at, QPoint delta, Qt::CursorShape cursor, QMargins grow) {
            QTest::newRow(name) << at << delta << int(cursor) << Place.marginsAdded(grow);
        };
        row("left", {2, 120}, {-30, 7}, Qt::SizeHorCursor, {30, 0, 0, 0});
        row("right", {297, 120}, {25, -5}, Qt::SizeHorCursor, {0, 0, 25, 0});
        row("bottom", {150, 198}, {4, 20}, Qt::SizeVerCursor, {0, 0, 0, 20});
        row("top, 3 below the title bar's edge", {150, 3}, {35, -15}, Qt::SizeVerCursor, {0, 15, 0, 0});
        row("bottom-right", {299, 199}, {12, 16}, Qt::SizeFDiagCursor, {0, 0, 12, 16});
        row("top-left", {1, 1}, {-8, -10}, Qt::SizeFDiagCursor, {8, 10, 0, 0});
        row("bottom-left", {1, 198}, {-6, 10}, Qt::SizeBDiagCursor, {6, 0, 0, 10});
        row("top-right", {298, 2}, {10, -4}, Qt::SizeBDiagCursor, {0, 4, 10, 0});
    }

    void resizeByTheFrame()
    {
        QFETCH(QPoint, at);
        QFETCH(QPoint, delta);
        QFETCH(int, cursor);
        QFETCH(QRect, expected);
        Frame w;
        QVERIFY(showAt(w));
        const QPoint a = Place.topLeft() + at;
        TestUtil::HoverAt(&w, a);
        QCOMPARE(int(frameCursor(&w)), cursor);
        const auto steps = drag(&w, a, delta);
        QCOMPARE(steps.first, Place); // the first move only arms the resize
        QCOMPARE(steps.second, expected);
        TestUtil::SendMouseAt(mainContent(&w), QEvent::MouseMove, a + 2 * delta, Qt::NoButton, Qt::NoButton);
        QCOMPARE(w.geometry(), expected); // released
    }

    void fixedWidthAndMinimum()
    {
        Frame w;
        w.setFixedWidth(Place.width());
        QVERIFY(showAt(w));
        const QPoint left = Place.topLeft() + QPoint(2, 120);
        TestUtil::HoverAt(&w, left);
        QCOMPARE(frameCursor(&w), Qt::ArrowCursor);
        QCOMPARE(drag(&w, left, {-30, 0}).second, Place);
        const QPoint corner = Place.bottomLeft() + QPoint(1, -1); // resizes vertically only
        QCOMPARE(drag(&w, corner, {-20, 16}).second, Place.adjusted(0, 0, 0, 16));

        // Inward drags stop at minimumSizeHint(); the opposite edge stays.
        Frame v;
        QVERIFY(showAt(v));
        const QSize m = v.minimumSizeHint();
        QVERIFY(m.width() < Place.width() && m.height() < Place.height());
        QCOMPARE(drag(&v, left, {400, 0}).second, Place.adjusted(Place.width() - m.width(), 0, 0, 0));
        const QRect narrow = v.geometry();
        QCOMPARE(drag(&v, narrow.topLeft() + QPoint(narrow.width() / 2, 2), {0, 400}).second,
                 narrow.adjusted(0, narrow.height() - m.height(), 0, 0));
    }

    void titleDragMovesTheWindow()
    {
        Frame w;
        QVERIFY(showAt(w));
        const QPoint a = w.TitleBar()->mapToGlobal(w.TitleBar()->rect().center());
        QWidget* grab = TestUtil::PressAt(&w, a);
        TestUtil::DragTo(grab, a + QPoint(40, 25));
        QCOMPARE(w.geometry(), Place.translated(40, 25));
        TestUtil::DragTo(grab, a + QPoint(-70, 30));
        TestUtil::ReleaseAt(grab, a + QPoint(-70, 30));
        QCOMPARE(w.geometry(), Place.translated(-70, 30));
        TestUtil::SendMouseAt(grab, QEvent::MouseMove, a, Qt::NoButton, Qt::NoButton);
        // Another button is taken and does nothing.
        QVERIFY(TestUtil::SendMouseAt(grab, QEvent::MouseButtonPress, a, Qt::RightButton, Qt::RightButton));
        TestUtil::SendMouseAt(grab, QEvent::MouseMove, a + QPoint(30, 30), Qt::NoButton, Qt::RightButton);
        TestUtil::SendMouseAt(grab, QEvent::MouseButtonRelease, a, Qt::RightButton, Qt::NoButton);
        QCOMPARE(w.geometry(), Place.translated(-70, 30));

        w.IgnoreTitleMove(true);
        const QRect here = w.geometry();
        QCOMPARE(drag(&w, here.topLeft() + QPoint(150, 15), {40, 25}), qMakePair(here, here));
    }

    void ignoreResize()
    {
        Frame w;
        QVERIFY(showAt(w));
        const QPoint left = Place.topLeft() + QPoint(2, 120);
        TestUtil::HoverAt(&w, left);
        w.IgnoreResize(true);
        QCOMPARE(frameCursor(&w), Qt::SizeHorCursor); // until the next hover move
        // A press where the resize cursor still shows starts nothing.
        QWidget* grab = TestUtil::ReceiverAt(&w, left);
        TestUtil::SendMouseAt(grab, QEvent::MouseButtonPress, left, Qt::LeftButton, Qt::LeftButton);
        TestUtil::DragTo(grab, left - QPoint(15, 0));
        TestUtil::DragTo(grab, left - QPoint(30, 0));
        TestUtil::ReleaseAt(grab, left - QPoint(30, 0));
        QCOMPARE(w.geometry(), Place);
        TestUtil::HoverAt(&w, left);
        QCOMPARE(frameCursor(&w), Qt::ArrowCursor);
    }

    void maximizedWindow()
    {
        Frame w;
        QVERIFY(showAt(w));
        const QRect available = w.screen()->availableGeometry();
        TestUtil::HoverAt(&w, Place.topLeft() + QPoint(2, 120));
        w.showMaximized();
        QVERIFY(w.isMaximized());
        QTRY_COMPARE(w.geometry(), available);
        QVERIFY(w.isMaximized());
        const QPoint band = available.topLeft() + QPoint(2, 120);
        TestUtil::HoverAt(&w, band);
        QCOMPARE(frameCursor(&w), Qt::ArrowCursor);
        QCOMPARE(drag(&w, band, {40, 0}).second, available);
        QCOMPARE(drag(&w, available.topLeft() + QPoint(150, 15), {40, 30}).second, available);
        w.showNormal();
        QTRY_COMPARE(w.geometry(), Place);

        // Never below the minimum size, however small the work area.
        w.setMinimumSize(available.width() + 40, 100);
        const QRect normal = w.geometry();
        w.showMaximized();
        QTRY_COMPARE(w.geometry(),
                     QRect(available.topLeft(), QSize(available.width() + 40, available.height())));
        QVERIFY(w.isMaximized());
        w.showNormal();
        QTRY_COMPARE(w.geometry(), normal);
    }

    void opacitySteps()
    {
        Frame w;
        w.SetIntensifyTime(400);
        w.SetFadeTime(500);
        w.show();
        QCOMPARE(w.windowOpacity(), 0.0); // not seen before the first tick
        QTRY_VERIFY(w.log.contains(2));
        checkSteps(w.opacities, 0.0, 0.1);
        // Steady comes on the tick that reaches 1.0, and no timer runs after it.
        QCOMPARE(w.log.mid(w.log.size() - 3), (QList<int>{Tick, 2, Tick}));
        QCOMPARE(w.log.count(Tick), w.opacities.size());
        QCOMPARE(w.opacities.size(), 10); // 400 ms at 40 ms a tick, despite Qt's 1/255 truncation
        QCOMPARE(TestUtil::TimerCount(&w), 0);

        // Shown again during the hide fade, the window intensifies from where it stands.
        w.opacities.clear();
        w.hide();
        QTRY_VERIFY(w.opacities.size() >= 2);
        const double reached = w.windowOpacity();
        w.opacities.clear();
        w.show();
        QTRY_COMPARE(w.windowOpacity(), 1.0);
        checkSteps(w.opacities, reached, 0.1);

        w.opacities.clear();
        w.hide();
        QTRY_COMPARE(TestUtil::TimerCount(&w), 0);
        checkSteps(w.opacities, 1.0, -0.08);
    }

    void slowFadeStillMoves()
    {
        // A step of 0.002 is below Qt's 1/255 opacity resolution; the fade must still advance.
        Frame w;
        w.SetIntensifyTime(20000);
        w.show();
        QTRY_VERIFY(w.windowOpacity() > 0.01);
        QVERIFY(!w.log.contains(2));
    }

    void showThenClose_data()
    {
        QTest::addColumn<int>("time");
        QTest::newRow("default times") << 0;
        QTest::newRow("negative times count as 0") << -5;
    }

    void showThenClose()
    {
        QFETCH(int, time);
        Frame w;
        w.SetFadeTime(400);
        w.SetIntensifyTime(400);
        w.SetFadeTime(time);
        w.SetIntensifyTime(time);
        w.show();
        QTRY_COMPARE(w.log, (QList<int>{1, 2, Tick}));
        w.CloseButton()->click();
        QVERIFY(w.isVisible()); // the close waits for its fade
        QTRY_COMPARE(w.log, (QList<int>{1, 2, Tick, 4, 0, 3, Tick, 2, Tick}));
        QVERIFY(w.isHidden());
        QCOMPARE(TestUtil::TimerCount(&w), 0);

        // With WA_DeleteOnClose a shown window goes after its close fade, a never-shown one at once.
        QPointer<ZBWidget> shown = new ZBWidget;
        QPointer<Frame> fresh = new Frame;
        shown->setAttribute(Qt::WA_DeleteOnClose);
        fresh->setAttribute(Qt::WA_DeleteOnClose);
        shown->show();
        QTRY_COMPARE(shown->windowOpacity(), 1.0);
        QVERIFY(!shown->close());
        QVERIFY(fresh->close());
        QVERIFY(fresh->log.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(fresh.isNull() && shown);
        QTRY_VERIFY(shown.isNull());
    }

    void cancelFadeAction()
    {
        Frame w;
        w.show();
        QTRY_COMPARE(w.log, (QList<int>{1, 2, Tick}));
        w.log.clear();
        w.SetFadeTime(4000);
        QVERIFY(!w.close());
        QTRY_VERIFY(w.windowOpacity() < 1.0);
        w.CancelFadeAction(true);
        QVERIFY(w.windowOpacity() == 1.0 && w.isVisible());
        QCOMPARE(TestUtil::TimerCount(&w), 0);
        QCOMPARE(w.log.count(Tick), w.log.size() - 1); // 4 and ticks, no other state

        w.log.clear();
        w.SetFadeTime(0);
        QVERIFY(!w.close()); // a new close fade
        QTRY_COMPARE(w.log, (QList<int>{4, 0, 3, Tick, 2, Tick}));
        w.show();
        QTRY_COMPARE(w.windowOpacity(), 1.0);
        w.CancelFadeAction(false);
        QVERIFY(w.windowOpacity() == 0.0 && w.isHidden());
    }

    void foreignTimerEventsPassThrough()
    {
        Frame w;
        w.show();
        QTRY_COMPARE(w.windowOpacity(), 1.0);
        w.SetFadeTime(400);
        w.hide();
        w.show();
        w.hide();
        const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(&w);
        QCOMPARE(timers.size(), 1);
        const int states = w.log.size();
        QTimerEvent foreign(timers.first().timerId + 1);
        QCoreApplication::sendEvent(&w, &foreign);
        QCOMPARE(w.windowOpacity(), 1.0);
        QCOMPARE(w.log.mid(states), QList<int>{Tick});
        QTimerEvent fade(timers.first().timerId);
        QCoreApplication::sendEvent(&w, &fade);
        QVERIFY(qAbs(w.windowOpacity() - 0.9) <= 1.0 / 255);
    }

    void childWidgetFadesEndOnTheFirstTick()
    {
        QWidget parent;
        auto* child = new Frame(&parent);
        child->SetIntensifyTime(400);
        child->SetFadeTime(400);
        parent.show();
        QTRY_COMPARE(child->log, (QList<int>{1, 2, Tick}));
        child->hide();
        QTRY_COMPARE(child->log, (QList<int>{1, 2, Tick, 3, 2, Tick}));
        child->log.clear();
        child->show();
        QVERIFY(child->close()); // at once: a child keeps no opacity to fade
        QVERIFY(child->isHidden());
        QTRY_COMPARE(child->log, (QList<int>{1, 3, 2, Tick}));
    }

    void deleteFromAStateSlot_data()
    {
        QTest::addColumn<int>("state");
        QTest::newRow("steady") << 2;
        QTest::newRow("closing") << 4;
        QTest::newRow("closed") << 0;
    }

    void deleteFromAStateSlot()
    {
        QFETCH(int, state);
        auto* w = new ZBWidget;
        QPointer<ZBWidget> alive(w);
        int last = -1;
        connect(w, &ZBWidget::FadeStateChanged, w, [&last, w, state](int s) {
            last = s;
            if (s == state)
                delete w;
        });
        w->show();
        if (state != 2) {
            QTRY_COMPARE(last, 2);
            w->close();
        }
        QTRY_VERIFY(alive.isNull());
    }
};

QTEST_MAIN(tst_ZBWidget)
#include "tst_zbwidget.moc"
