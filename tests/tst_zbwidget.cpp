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

using namespace TestUtil;

namespace {

const int Tick = -1; // a timer event in Frame::log
const QRect Place(100, 100, 300, 200);

// Opens the protected interface and logs each announced fade state, and Tick with the opacity it
// left behind after every timer event.
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
    QWidget* Main() const { return findChild<QWidget*>(QStringLiteral("ZBWIDGETMAINCONTENT")); }
    QGridLayout* Grid() const { return qobject_cast<QGridLayout*>(Main()->layout()); }
    QString Title() const { return TitleBar()->findChildren<QLabel*>().value(1)->text(); } // after the icon
    QSize minimumSizeHint() const override { return {120, 90}; } // above the layout's minimum size
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

// The resize cursor of the frame; the title bar must show the same one as the main content.
Qt::CursorShape frameCursor(Frame* w)
{
    const Qt::CursorShape shape = w->Main()->cursor().shape();
    return shape == w->TitleBar()->cursor().shape() ? shape : Qt::BitmapCursor;
}

bool showAt(Frame& w, const QRect& geometry = Place)
{
    w.setGeometry(geometry);
    w.show();
    return QTest::qWaitForWindowExposed(&w) && w.geometry() == geometry;
}

// A left drag from the global point a, half-way first, then to a + delta, then released; with hover
// false there is no hover move before the press. Returns the geometry after each move.
QPair<QRect, QRect> drag(QWidget* window, const QPoint& a, const QPoint& delta, bool hover = true)
{
    QWidget* grab = ReceiverAt(window, a);
    if (hover)
        HoverAt(window, a);
    SendMouseAt(grab, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    DragTo(grab, a + delta / 2);
    const QRect first = window->geometry();
    DragTo(grab, a + delta);
    const QRect second = window->geometry();
    ReleaseAt(grab, a + delta);
    return {first, second};
}

// Each tick moves the opacity by step from the value before it, within Qt's 1/255 resolution;
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
        CheckNoLeftoverWindows();
    }

    void structureAndButtons()
    {
        ZBResource::SetData(ZBResource::MainContentMargins, ZBResource::MarginsRect(7, 3, 9, 11));
        Frame w(nullptr, Qt::Tool);
        const Qt::WindowFlags frameless = Qt::FramelessWindowHint | Qt::CustomizeWindowHint;
        QVERIFY(w.windowType() == Qt::Tool && (w.windowFlags() & frameless) == frameless);
        QCOMPARE(w.windowOpacity(), 0.0);
        QCOMPARE(w.TitleBar()->findChildren<QToolButton*>(), QList<QToolButton*>{w.CloseButton()});
        QCOMPARE(w.Grid()->contentsMargins(), QMargins(7, 3, 9, 11));
        w.SetMainContentMargins(1, 2, 3, 4);
        QCOMPARE(w.Grid()->contentsMargins(), QMargins(1, 2, 3, 4));
        ZBResource::SetData(ZBResource::MainContentMargins, ZBResource::MarginsRect(6, 0, 6, 6));
        w.RestoreMainContentMargins();
        QCOMPARE(w.Grid()->contentsMargins(), QMargins(6, 0, 6, 6));

        w.AddMinimizeButton();
        w.AddMaximizeButton();
        w.AddRestoreButton();
        QToolButton* minimize = w.MinimizeButton();
        QToolButton* maximize = w.MaximizeButton();
        QToolButton* restore = w.RestoreButton();
        QVERIFY(showAt(w, QRect(100, 100, 400, 200)));
        QStringList row;
        int x = -1;
        for (QToolButton* b : {restore, maximize, minimize, w.CloseButton()}) {
            row << b->objectName() + QLatin1Char(':') + b->toolTip();
            QVERIFY(b->x() > x && b->focusPolicy() == Qt::NoFocus);
            x = b->x();
        }
        QCOMPARE(row, (QStringList{"RESTOREBUTTON:Restore", "MAXIMIZEBUTTON:Maximize",
                                   "MINIMIZEBUTTON:Minimize", "CLOSEBUTTON:Close"}));
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
        QCOMPARE(w.Title(), QStringLiteral("Window"));
        w.Content()->setWindowTitle(QStringLiteral("Content"));
        QCOMPARE(w.Title(), QStringLiteral("Content"));

        QPointer<QWidget> old = w.Content();
        QPointer<QWidget> next = new QWidget;
        next->setWindowTitle(QStringLiteral("Next"));
        w.ReplaceContent(next);
        QVERIFY(w.Content() == next && next->objectName() == QStringLiteral("ZBWIDGETCONTENT"));
        QCOMPARE(CellOf(w.Grid(), next), qMakePair(0, 0));
        QCOMPARE(w.Title(), QStringLiteral("Next"));
        QVERIFY(old && old->isHidden()); // deleted later, not at once
        next->setWindowTitle(QStringLiteral("Renamed"));
        QCOMPARE(w.Title(), QStringLiteral("Renamed"));
        QTRY_VERIFY(next->isVisible());

        w.ReplaceContent(next); // the current content: nothing happens
        w.ReplaceContent(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull() && next && w.Content() == next && next->isVisible());
        w.ReplaceContent(new QWidget); // an empty title clears the title line
        QCOMPARE(w.Title(), QString());
        delete w.Content(); // behind the window's back
        w.ReplaceContent(new QWidget);
        QCOMPARE(CellOf(w.Grid(), w.Content()), qMakePair(0, 0));
    }

    void resizeByTheFrame_data()
    {
        QTest::addColumn<bool>("fixedWidth");
        QTest::addColumn<QPoint>("at"); // in the window, which is 300 by 200
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QRect>("expected");
        // grow: how far each edge moves outward.
        auto row = [](const char* name, QPoint at, QPoint delta, Qt::CursorShape cursor, QMargins grow,
                      bool fixedWidth = false) {
            QTest::newRow(name) << fixedWidth << at << delta << int(cursor) << Place.marginsAdded(grow);
        };
        row("left", {2, 120}, {-30, 7}, Qt::SizeHorCursor, {30, 0, 0, 0});
        row("right", {297, 120}, {25, -5}, Qt::SizeHorCursor, {0, 0, 25, 0});
        row("bottom", {150, 198}, {4, 20}, Qt::SizeVerCursor, {0, 0, 0, 20});
        row("top, 3 below the title bar's edge", {150, 3}, {35, -15}, Qt::SizeVerCursor, {0, 15, 0, 0});
        row("bottom-right", {299, 199}, {12, 16}, Qt::SizeFDiagCursor, {0, 0, 12, 16});
        row("top-left", {1, 1}, {-8, -10}, Qt::SizeFDiagCursor, {8, 10, 0, 0});
        row("bottom-left", {1, 198}, {-6, 10}, Qt::SizeBDiagCursor, {6, 0, 0, 10});
        row("top-right", {298, 2}, {10, -4}, Qt::SizeBDiagCursor, {0, 4, 10, 0});
        row("fixed width, left band", {2, 120}, {-30, 0}, Qt::ArrowCursor, {}, true);
        row("fixed width, corner resizes vertically", {1, 198}, {-20, 16}, Qt::SizeVerCursor, {0, 0, 0, 16},
            true);
        // Inward drags stop at minimumSizeHint(), not minimumSize(); the opposite edge stays.
        row("left inward to the minimum", {2, 120}, {400, 0}, Qt::SizeHorCursor, {-180, 0, 0, 0});
        row("top inward to the minimum", {150, 2}, {0, 400}, Qt::SizeVerCursor, {0, -110, 0, 0});
    }

    void resizeByTheFrame()
    {
        QFETCH(bool, fixedWidth);
        QFETCH(QPoint, at);
        QFETCH(QPoint, delta);
        QFETCH(int, cursor);
        QFETCH(QRect, expected);
        Frame w;
        if (fixedWidth)
            w.setFixedWidth(Place.width());
        QVERIFY(showAt(w));
        const QPoint a = Place.topLeft() + at;
        HoverAt(&w, a);
        QCOMPARE(int(frameCursor(&w)), cursor);
        QCOMPARE(drag(&w, a, delta), qMakePair(Place, expected)); // the first move only arms the resize
        SendMouseAt(w.Main(), QEvent::MouseMove, a + 2 * delta, Qt::NoButton, Qt::NoButton);
        QCOMPARE(w.geometry(), expected); // released
    }

    void titleDragMovesTheWindow()
    {
        Frame w;
        QVERIFY(showAt(w));
        const QPoint a = w.TitleBar()->mapToGlobal(w.TitleBar()->rect().center());
        // Another button is taken and does nothing.
        QWidget* grab = ReceiverAt(&w, a);
        QVERIFY(SendMouseAt(grab, QEvent::MouseButtonPress, a, Qt::RightButton, Qt::RightButton));
        SendMouseAt(grab, QEvent::MouseMove, a + QPoint(30, 30), Qt::NoButton, Qt::RightButton);
        SendMouseAt(grab, QEvent::MouseButtonRelease, a, Qt::RightButton, Qt::NoButton);
        QCOMPARE(w.geometry(), Place);
        const QRect here = Place.translated(-70, 30);
        QCOMPARE(drag(&w, a, {-70, 30}), qMakePair(Place.translated(-35, 15), here));
        HoverAt(&w, a); // released: moves nothing
        QCOMPARE(w.geometry(), here);
        w.IgnoreTitleMove(true);
        QCOMPARE(drag(&w, here.topLeft() + QPoint(150, 15), {40, 25}), qMakePair(here, here));
    }

    void lockedFrame()
    {
        Frame w;
        QVERIFY(showAt(w));
        const QPoint left = Place.topLeft() + QPoint(2, 120);
        HoverAt(&w, left);
        w.IgnoreResize(true);
        // Pressed where the resize cursor still shows, with no hover move between: nothing resizes.
        QCOMPARE(drag(&w, left, {-30, 0}, false).second, Place);
        HoverAt(&w, left);
        QCOMPARE(frameCursor(&w), Qt::ArrowCursor);

        // Maximised, likewise, and no title drag either.
        w.IgnoreResize(false);
        HoverAt(&w, left);
        w.showMaximized();
        const QRect available = w.screen()->availableGeometry();
        QTRY_COMPARE(w.geometry(), available);
        const QPoint band = available.topLeft() + QPoint(2, 120);
        QCOMPARE(drag(&w, band, {40, 0}, false).second, available);
        HoverAt(&w, band);
        QCOMPARE(frameCursor(&w), Qt::ArrowCursor);
        QCOMPARE(drag(&w, available.topLeft() + QPoint(150, 15), {40, 30}).second, available);
        w.showNormal();
        QTRY_COMPARE(w.geometry(), Place);

        // Never below the minimum size, however small the work area.
        w.setMinimumSize(available.width() + 40, 100);
        w.showMaximized();
        QTRY_COMPARE(w.geometry(),
                     QRect(available.topLeft(), QSize(available.width() + 40, available.height())));
        QVERIFY(w.isMaximized());
        w.showNormal();
        QTRY_COMPARE(w.geometry(), Place.adjusted(0, 0, available.width() + 40 - Place.width(), 0));
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
        QCOMPARE(w.opacities.size(), 10); // 400 ms at 40 ms a tick, despite Qt's 1/255 truncation
        QCOMPARE(TimerCount(&w), 0);

        // Shown again during the hide fade, the window intensifies from where it stands.
        w.opacities.clear();
        w.hide();
        QTRY_VERIFY(w.opacities.size() >= 2);
        const double reached = w.windowOpacity();
        w.opacities.clear();
        w.show();
        QTRY_COMPARE(w.windowOpacity(), 1.0);
        checkSteps(w.opacities, reached, 0.1);

        w.hide();
        w.show();
        w.hide(); // each start replaces the running timer
        const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(&w);
        QCOMPARE(timers.size(), 1);
        // A timer event that is not the fade's goes to the base class and changes nothing.
        const int states = w.log.size();
        QTimerEvent foreign(timers.first().timerId + 1);
        QCoreApplication::sendEvent(&w, &foreign);
        QVERIFY(w.windowOpacity() == 1.0 && w.log.mid(states) == QList<int>{Tick});
        w.opacities.clear();
        QTRY_COMPARE(TimerCount(&w), 0);
        checkSteps(w.opacities, 1.0, -0.08);
    }

    void showThenClose()
    {
        Frame w;
        w.SetFadeTime(400);
        w.SetFadeTime(-5); // counts as 0, as the default intensify time: each fade ends on its first tick
        w.show();
        QTRY_COMPARE(w.log, (QList<int>{1, 2, Tick}));
        w.CloseButton()->click();
        QVERIFY(w.isVisible()); // the close waits for its fade
        QTRY_COMPARE(w.log, (QList<int>{1, 2, Tick, 4, 0, 3, Tick, 2, Tick}));
        QVERIFY(w.isHidden() && TimerCount(&w) == 0);

        Frame fresh; // never shown: closes at once, without a fade
        QVERIFY(fresh.close() && fresh.log.isEmpty());
    }

    void cancelFadeAction()
    {
        Frame w;
        w.SetIntensifyTime(20000); // a step below Qt's 1/255 opacity resolution, which must still advance
        w.SetFadeTime(20000);
        w.show();
        QTRY_VERIFY(w.windowOpacity() > 0.01);
        QVERIFY(!w.close());
        const double reached = w.windowOpacity();
        QTRY_VERIFY(w.windowOpacity() < reached);
        w.CancelFadeAction(true);
        QVERIFY(w.windowOpacity() == 1.0 && w.isVisible() && TimerCount(&w) == 0);
        w.log.removeAll(Tick);
        QCOMPARE(w.log, (QList<int>{1, 4}));
        QVERIFY(!w.close()); // a new close fade
        QCOMPARE(w.log.last(), 4);
        w.CancelFadeAction(false);
        QVERIFY(w.windowOpacity() == 0.0 && w.isHidden());
        QTRY_COMPARE(TimerCount(&w), 0);
    }

    void childWidgetFadesEndOnTheFirstTick()
    {
        QWidget parent;
        auto* child = new Frame(&parent);
        child->SetFadeTime(400);
        parent.show();
        QTRY_COMPARE(child->log, (QList<int>{1, 2, Tick}));
        child->hide();
        QTRY_COMPARE(child->log, (QList<int>{1, 2, Tick, 3, 2, Tick}));
        child->show();
        QVERIFY(child->close() && child->isHidden()); // at once: a child keeps no opacity to fade
    }

    void deleteFromAStateSlot()
    {
        for (int state : {2, 4, 0}) {
            QPointer<ZBWidget> w = new ZBWidget;
            connect(w, &ZBWidget::FadeStateChanged, w, [w, state](int s) {
                if (s == state)
                    delete w;
            });
            w->show();
            QTRY_VERIFY(!w || w->windowOpacity() == 1.0);
            if (w)
                w->close();
            QTRY_VERIFY2(w.isNull(), qPrintable(QString::number(state)));
        }
    }
};

QTEST_MAIN(tst_ZBWidget)
#include "tst_zbwidget.moc"
