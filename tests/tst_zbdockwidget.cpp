#include "ZBDockWidget.h"
#include "ZBFooterBar.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTest>
#include <QToolButton>

namespace {

QString titleText(ZBDockWidget* dock)
{
    QWidget* background = dock->TitleBar()->findChild<QWidget*>(QStringLiteral("TITLECONTENT"));
    return qobject_cast<QLabel*>(
               qobject_cast<QGridLayout*>(background->layout())->itemAtPosition(0, 1)->widget())
        ->text();
}

QWidget* mainContentOf(ZBDockWidget* dock)
{
    return dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETMAINCONTENT"));
}

QGridLayout* contentGrid(ZBDockWidget* dock)
{
    return qobject_cast<QGridLayout*>(
        dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETCONTENT"))->layout());
}

// Records the widths a widget is resized from and to.
class ResizeLog : public QObject
{
public:
    QList<QPair<int, int>> widths;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize) {
            auto* e = static_cast<QResizeEvent*>(event);
            widths.append({e->oldSize().width(), e->size().width()});
        }
        return false;
    }
};

// A shown main window with the dock docked on its left.
struct DockedWindow
{
    QMainWindow window;
    ZBDockWidget* dock = new ZBDockWidget(QStringLiteral("Dock"), &window);

    DockedWindow()
    {
        auto* inner = new QLabel(QStringLiteral("inner"));
        inner->setMinimumSize(120, 120);
        dock->SetWidget(inner);
        window.addDockWidget(Qt::LeftDockWidgetArea, dock);
        window.setCentralWidget(new QLabel(QStringLiteral("central")));
        window.setGeometry(40, 40, 500, 400);
        window.show();
    }
};

Qt::CursorShape cursorAfterMove(ZBDockWidget* dock, const QPoint& inDock)
{
    QWidget* main = mainContentOf(dock);
    main->setCursor(Qt::WaitCursor); // a zone that sets nothing shows up
    TestUtil::SendMouse(main, QEvent::MouseMove, main->mapFrom(dock, inDock), Qt::NoButton, Qt::NoButton);
    return main->cursor().shape();
}

} // namespace

class tst_ZBDockWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void titleHideButtonAndFooter()
    {
        DockedWindow w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        ZBDockWidget* dock = w.dock;
        QCOMPARE(dock->titleBarWidget(), dock->TitleBar());
        QCOMPARE(titleText(dock), QStringLiteral("Dock"));
        QVERIFY(dock->FooterBar()->isHidden());

        dock->setWindowTitle(QStringLiteral("Files"));
        QCOMPARE(titleText(dock), QStringLiteral("Files"));
        dock->SetTitle(QStringLiteral("Only the bar"));
        QCOMPARE(titleText(dock), QStringLiteral("Only the bar"));
        QCOMPARE(dock->windowTitle(), QStringLiteral("Files"));

        const auto buttons = dock->TitleBar()->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons.first()->objectName(), QStringLiteral("CLOSEBUTTON"));
        QCOMPARE(buttons.first()->toolTip(), QStringLiteral("Hide"));
        QCOMPARE(buttons.first()->focusPolicy(), Qt::NoFocus);
        buttons.first()->click();
        QVERIFY(dock->isHidden());
    }

    void setWidget()
    {
        ZBDockWidget dock;
        QGridLayout* grid = contentGrid(&dock);
        QPointer<QLabel> first = new QLabel, second = new QLabel;
        dock.SetWidget(first);
        dock.SetWidget(first);                // the same again: kept
        dock.SetWidget(mainContentOf(&dock)); // its own containers are refused
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(TestUtil::CellOf(grid, first), qMakePair(0, 0));

        dock.SetWidget(second);
        QCOMPARE(grid->itemAtPosition(0, 0)->widget(), second.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull()); // the dock disposes of the widget it held
        dock.SetWidget(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull() && !dock.GetWidget() && grid->count() == 0);
    }

    void floatingMarginsAndWidth()
    {
        DockedWindow w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QWidget* main = mainContentOf(w.dock);
        auto* grid = qobject_cast<QGridLayout*>(main->layout());
        ResizeLog log;
        main->installEventFilter(&log);

        // The last resize during the change is the dock's own: 6 pixels wider, then narrower.
        w.dock->setFloating(true);
        QCOMPARE(grid->contentsMargins(), QMargins(3, 0, 3, 3));
        QVERIFY(main->hasMouseTracking());
        QCOMPARE(log.widths.last().second, log.widths.last().first + 6);

        w.dock->setFloating(false);
        QCOMPARE(grid->contentsMargins(), QMargins());
        QVERIFY(!main->hasMouseTracking());
        QCOMPARE(log.widths.last().second, log.widths.last().first - 6);
    }

    void cursorZones_data()
    {
        QTest::addColumn<bool>("fixedWidth");
        QTest::addColumn<bool>("fixedHeight");
        QTest::addColumn<QPoint>("offset"); // inward from the bottom-left corner, or bottom-right
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("shape");
        const int arrow = Qt::ArrowCursor, hor = Qt::SizeHorCursor, ver = Qt::SizeVerCursor;
        const int rising = Qt::SizeBDiagCursor, falling = Qt::SizeFDiagCursor;
        QTest::newRow("left edge") << false << false << QPoint(1, 5) << false << hor;
        QTest::newRow("bottom-left corner") << false << false << QPoint(1, 1) << false << rising;
        QTest::newRow("corner square") << false << false << QPoint(6, 6) << false << rising;
        QTest::newRow("bottom-right corner") << false << false << QPoint(2, 2) << true << falling;
        QTest::newRow("bottom edge wins in the corner") << false << false << QPoint(5, 2) << true << ver;
        QTest::newRow("inside") << false << false << QPoint(30, 30) << false << arrow;
        QTest::newRow("fixed width: right edge") << true << false << QPoint(1, 40) << true << arrow;
        QTest::newRow("fixed width: bottom-left corner") << true << false << QPoint(1, 1) << false << ver;
        QTest::newRow("fixed height: edge in the corner") << false << true << QPoint(5, 1) << false << hor;
        QTest::newRow("fixed both: corner") << true << true << QPoint(1, 1) << false << arrow;
    }

    void cursorZones()
    {
        QFETCH(bool, fixedWidth);
        QFETCH(bool, fixedHeight);
        QFETCH(QPoint, offset);
        QFETCH(bool, right);
        QFETCH(int, shape);
        DockedWindow w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QWidget* main = mainContentOf(w.dock);
        const QPoint docked(main->geometry().left() + 1, main->geometry().bottom() - 1);
        QCOMPARE(cursorAfterMove(w.dock, docked), Qt::WaitCursor); // docked: no zones

        w.dock->setFloating(true);
        if (fixedWidth)
            w.dock->setFixedWidth(w.dock->width());
        if (fixedHeight)
            w.dock->setFixedHeight(w.dock->height());
        const QRect f = main->frameGeometry();
        const QPoint at(right ? f.right() - offset.x() : f.left() + offset.x(), f.bottom() - offset.y());
        QCOMPARE(int(cursorAfterMove(w.dock, at)), shape);
        main->setCursor(Qt::WaitCursor);
        TestUtil::SendMouse(main, QEvent::MouseButtonRelease, main->mapFrom(w.dock, at)); // a release too
        QCOMPARE(int(main->cursor().shape()), shape);
    }
};

QTEST_MAIN(tst_ZBDockWidget)
#include "tst_zbdockwidget.moc"
