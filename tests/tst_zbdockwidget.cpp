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

// Records the width change of the last resize of a widget.
class ResizeLog : public QObject
{
public:
    int change = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (auto* e = event->type() == QEvent::Resize ? static_cast<QResizeEvent*>(event) : nullptr)
            change = e->size().width() - e->oldSize().width();
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

// The cursor after a mouse event at a point of the dock; a zone that sets nothing leaves a wait cursor.
int cursorAfter(ZBDockWidget* dock, QEvent::Type type, const QPoint& inDock)
{
    QWidget* main = mainContentOf(dock);
    main->setCursor(Qt::WaitCursor);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    TestUtil::SendMouse(main, type, main->mapFrom(dock, inDock), button, button);
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
        buttons.first()->click();
        QVERIFY(dock->isHidden());
    }

    void setWidget()
    {
        ZBDockWidget dock;
        auto* grid = qobject_cast<QGridLayout*>(
            dock.findChild<QWidget*>(QStringLiteral("ZBDOCKWIDGETCONTENT"))->layout());
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

    void cursorZones_data()
    {
        QTest::addColumn<int>("fixed");     // 1: the width, 2: the height
        QTest::addColumn<QPoint>("offset"); // inward from the bottom-left corner, or bottom-right if x < 0
        QTest::addColumn<int>("shape");
        const int arrow = Qt::ArrowCursor, hor = Qt::SizeHorCursor, ver = Qt::SizeVerCursor;
        const int rising = Qt::SizeBDiagCursor, falling = Qt::SizeFDiagCursor;
        QTest::newRow("left edge") << 0 << QPoint(1, 5) << hor;
        QTest::newRow("bottom-left corner square") << 0 << QPoint(6, 6) << rising;
        QTest::newRow("bottom-right corner") << 0 << QPoint(-2, 2) << falling;
        QTest::newRow("bottom edge wins in the corner") << 0 << QPoint(-5, 2) << ver;
        QTest::newRow("inside") << 0 << QPoint(30, 30) << arrow;
        QTest::newRow("fixed width: right edge") << 1 << QPoint(-1, 40) << arrow;
        QTest::newRow("fixed width: bottom-left corner") << 1 << QPoint(1, 1) << ver;
        QTest::newRow("fixed height: edge in the corner") << 2 << QPoint(5, 1) << hor;
        QTest::newRow("fixed both: corner") << 3 << QPoint(1, 1) << arrow;
    }

    // Floating, the dock's content gets margins and the dock 6 pixels more width, then cursor zones.
    void cursorZones()
    {
        QFETCH(int, fixed);
        QFETCH(QPoint, offset);
        QFETCH(int, shape);
        DockedWindow w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QWidget* main = mainContentOf(w.dock);
        const QPoint docked(main->geometry().left() + 1, main->geometry().bottom() - 1);
        QCOMPARE(cursorAfter(w.dock, QEvent::MouseMove, docked), int(Qt::WaitCursor)); // docked: no zones
        ResizeLog log;
        main->installEventFilter(&log);
        for (bool floating : {true, false, true}) {
            w.dock->setFloating(floating);
            QCOMPARE(main->layout()->contentsMargins(), floating ? QMargins(3, 0, 3, 3) : QMargins());
            QCOMPARE(main->hasMouseTracking(), floating);
            QCOMPARE(log.change, floating ? 6 : -6); // the last resize during the change is the dock's own
        }

        if (fixed & 1)
            w.dock->setFixedWidth(w.dock->width());
        if (fixed & 2)
            w.dock->setFixedHeight(w.dock->height());
        const QRect f = main->frameGeometry();
        const QPoint at(offset.x() < 0 ? f.right() + offset.x() : f.left() + offset.x(),
                        f.bottom() - offset.y());
        QCOMPARE(cursorAfter(w.dock, QEvent::MouseMove, at), shape);
        QCOMPARE(cursorAfter(w.dock, QEvent::MouseButtonRelease, at), shape);
    }
};

QTEST_MAIN(tst_ZBDockWidget)
#include "tst_zbdockwidget.moc"
