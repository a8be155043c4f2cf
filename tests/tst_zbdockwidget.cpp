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
    auto* grid = qobject_cast<QGridLayout*>(
        dock->TitleBar()->findChild<QWidget*>(QStringLiteral("TITLECONTENT"))->layout());
    return qobject_cast<QLabel*>(grid->itemAtPosition(0, 1)->widget())->text();
}

QWidget* mainContentOf(ZBDockWidget* dock)
{
    return dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETMAINCONTENT"));
}

QWidget* contentOf(ZBDockWidget* dock)
{
    return dock->findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETCONTENT"));
}

// Records the widths a widget is resized to.
class ResizeLog : public QObject
{
public:
    QList<QPair<int, int>> widths; // (old, new)

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

// A main window with the dock docked on the left, shown.
struct DockedWindow
{
    QMainWindow window;
    ZBDockWidget* dock;

    DockedWindow()
    {
        dock = new ZBDockWidget(QStringLiteral("Dock"), &window);
        auto* inner = new QLabel(QStringLiteral("inner"));
        inner->setMinimumSize(120, 120);
        dock->SetWidget(inner);
        window.addDockWidget(Qt::LeftDockWidgetArea, dock);
        window.setCentralWidget(new QLabel(QStringLiteral("central")));
        window.setGeometry(40, 40, 500, 400);
    }
    bool Show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

Qt::CursorShape cursorAfterMove(ZBDockWidget* dock, const QPoint& inDock)
{
    QWidget* main = mainContentOf(dock);
    TestUtil::SendMouse(main, QEvent::MouseMove, main->mapFrom(dock, inDock), Qt::NoButton, Qt::NoButton);
    return main->cursor().shape();
}

} // namespace

class tst_ZBDockWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void structure()
    {
        ZBDockWidget dock(QStringLiteral("Files"));
        QVERIFY(dock.testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(dock.titleBarWidget(), dock.TitleBar());
        QCOMPARE(titleText(&dock), QStringLiteral("Files"));

        const auto buttons = dock.TitleBar()->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 1);
        QToolButton* hide = buttons.first();
        QCOMPARE(hide->objectName(), QStringLiteral("CLOSEBUTTON"));
        QCOMPARE(hide->toolTip(), QStringLiteral("Hide"));
        QCOMPARE(hide->focusPolicy(), Qt::NoFocus);

        QWidget* main = mainContentOf(&dock);
        QCOMPARE(dock.widget(), main);
        auto* mainGrid = qobject_cast<QGridLayout*>(main->layout());
        QCOMPARE(mainGrid->contentsMargins(), QMargins());
        QCOMPARE(TestUtil::CellOf(mainGrid, contentOf(&dock)), qMakePair(0, 0));
        QCOMPARE(TestUtil::CellOf(mainGrid, dock.FooterBar()), qMakePair(1, 0));
        QVERIFY(dock.FooterBar()->isHidden());
        QWidget* content = contentOf(&dock);
        QCOMPARE(content->layout()->contentsMargins(), QMargins(3, 12, 3, 3));
        QCOMPARE(content->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(content->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
        QVERIFY(!dock.GetWidget());

        ZBDockWidget untitled;
        QVERIFY(titleText(&untitled).isEmpty());
    }

    void titles()
    {
        ZBDockWidget dock(QStringLiteral("Before"));
        dock.setWindowTitle(QStringLiteral("After"));
        QCOMPARE(titleText(&dock), QStringLiteral("After"));
        dock.SetTitle(QStringLiteral("Only the bar"));
        QCOMPARE(titleText(&dock), QStringLiteral("Only the bar"));
        QCOMPARE(dock.windowTitle(), QStringLiteral("After"));
    }

    void hideButtonHides()
    {
        DockedWindow w;
        QVERIFY(w.Show());
        QVERIFY(w.dock->isVisible());
        w.dock->TitleBar()->findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->click();
        QVERIFY(w.dock->isHidden());
        QVERIFY(w.window.isVisible());
    }

    void setWidget()
    {
        ZBDockWidget dock;
        auto* grid = qobject_cast<QGridLayout*>(contentOf(&dock)->layout());
        QPointer<QLabel> first = new QLabel(QStringLiteral("first"));
        dock.SetWidget(first);
        QCOMPARE(dock.GetWidget(), first.data());
        QCOMPARE(first->parentWidget(), contentOf(&dock));
        QCOMPARE(TestUtil::CellOf(grid, first), qMakePair(0, 0));
        dock.SetWidget(first); // the same again: kept
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first);

        QPointer<QLabel> second = new QLabel(QStringLiteral("second"));
        dock.SetWidget(second);
        QCOMPARE(grid->itemAtPosition(0, 0)->widget(), second.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull()); // the dock disposed of the widget it held

        dock.SetWidget(nullptr);
        QVERIFY(!dock.GetWidget());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull());
        QCOMPARE(grid->count(), 0);

        // The dock's own containers cannot become its widget.
        dock.SetWidget(contentOf(&dock));
        dock.SetWidget(mainContentOf(&dock));
        dock.SetWidget(&dock);
        QVERIFY(!dock.GetWidget());
        QCOMPARE(dock.widget(), mainContentOf(&dock));
    }

    void floatingMarginsAndWidth()
    {
        DockedWindow w;
        QVERIFY(w.Show());
        QWidget* main = mainContentOf(w.dock);
        auto* grid = qobject_cast<QGridLayout*>(main->layout());
        ResizeLog log;
        main->installEventFilter(&log);

        // The last resize during the change is the dock's own: 6 pixels wider, then narrower.
        w.dock->setFloating(true);
        QCOMPARE(grid->contentsMargins(), QMargins(3, 0, 3, 3));
        QVERIFY(main->hasMouseTracking());
        QVERIFY(!log.widths.isEmpty());
        QCOMPARE(log.widths.last().second, log.widths.last().first + 6);

        log.widths.clear();
        w.dock->setFloating(false);
        QCOMPARE(grid->contentsMargins(), QMargins());
        QVERIFY(!main->hasMouseTracking());
        QVERIFY(!log.widths.isEmpty());
        QCOMPARE(log.widths.last().second, log.widths.last().first - 6);
    }

    void cursorZones_data()
    {
        QTest::addColumn<bool>("fixedWidth");
        QTest::addColumn<bool>("fixedHeight");
        QTest::addColumn<QPoint>("fromBottomLeft"); // offsets inward from the main content's corner
        QTest::addColumn<bool>("rightSide");        // measure from the bottom-right corner instead
        QTest::addColumn<int>("shape");
        const int arrow = Qt::ArrowCursor, hor = Qt::SizeHorCursor, ver = Qt::SizeVerCursor;
        QTest::newRow("free: left edge") << false << false << QPoint(1, 5) << false << hor;
        QTest::newRow("free: bottom-left corner")
            << false << false << QPoint(1, 1) << false << int(Qt::SizeBDiagCursor);
        QTest::newRow("free: right edge") << false << false << QPoint(0, 40) << true << hor;
        QTest::newRow("free: bottom-right corner")
            << false << false << QPoint(2, 2) << true << int(Qt::SizeFDiagCursor);
        QTest::newRow("free: bottom edge wins near the corner")
            << false << false << QPoint(5, 2) << true << ver;
        QTest::newRow("free: bottom edge") << false << false << QPoint(30, 3) << false << ver;
        QTest::newRow("free: inside") << false << false << QPoint(30, 30) << false << arrow;
        QTest::newRow("free: corner square beyond the edge band")
            << false << false << QPoint(6, 6) << false << int(Qt::SizeBDiagCursor);
        QTest::newRow("fixed width: left edge") << true << false << QPoint(1, 40) << false << arrow;
        QTest::newRow("fixed width: right edge") << true << false << QPoint(2, 40) << true << arrow;
        QTest::newRow("fixed width: bottom edge") << true << false << QPoint(30, 0) << false << ver;
        QTest::newRow("fixed width: bottom-left corner") << true << false << QPoint(1, 1) << false << ver;
        QTest::newRow("fixed width: bottom-right corner") << true << false << QPoint(1, 5) << true << ver;
        QTest::newRow("fixed height: bottom edge") << false << true << QPoint(30, 1) << false << arrow;
        QTest::newRow("fixed height: bottom edge in the corner square")
            << false << true << QPoint(5, 1) << false << hor;
        QTest::newRow("fixed height: bottom-left corner") << false << true << QPoint(2, 1) << false << hor;
        QTest::newRow("fixed both: bottom-left corner") << true << true << QPoint(1, 1) << false << arrow;
    }

    void cursorZones()
    {
        QFETCH(bool, fixedWidth);
        QFETCH(bool, fixedHeight);
        QFETCH(QPoint, fromBottomLeft);
        QFETCH(bool, rightSide);
        QFETCH(int, shape);

        DockedWindow w;
        QVERIFY(w.Show());
        QWidget* main = mainContentOf(w.dock);
        const QPoint inside(main->geometry().left() + 30, main->geometry().bottom() - 1);
        // Docked: the borders give no cursor.
        QCOMPARE(cursorAfterMove(w.dock, QPoint(main->geometry().left() + 1, inside.y())), Qt::ArrowCursor);

        w.dock->setFloating(true);
        QTRY_VERIFY(w.dock->isWindow());
        if (fixedWidth)
            w.dock->setFixedWidth(w.dock->width());
        if (fixedHeight)
            w.dock->setFixedHeight(w.dock->height());
        QCoreApplication::processEvents();

        const QRect f = main->frameGeometry();
        const QPoint at = rightSide ? QPoint(f.right() - fromBottomLeft.x(), f.bottom() - fromBottomLeft.y())
                                    : QPoint(f.left() + fromBottomLeft.x(), f.bottom() - fromBottomLeft.y());
        // Start from a known cursor, so that a zone that sets nothing shows up.
        main->setCursor(Qt::WaitCursor);
        QCOMPARE(int(cursorAfterMove(w.dock, at)), shape);

        // A release updates the cursor too.
        main->setCursor(Qt::WaitCursor);
        TestUtil::SendMouse(main, QEvent::MouseButtonRelease, main->mapFrom(w.dock, at));
        QCOMPARE(int(main->cursor().shape()), shape);
    }
};

QTEST_MAIN(tst_ZBDockWidget)
#include "tst_zbdockwidget.moc"
