// Rows for the dock widget and the tool bars: filling a tool bar at its end and at its front,
// building and showing a dock, and opening the tool bar container's menu.
#include "bench.h"

#include "ZBDockWidget.h"
#include "ZBToolBar.h"
#include "ZBToolBarContainer.h"

#include <QAction>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>
#include <memory>
#include <type_traits>

namespace {

constexpr int MenuTools = 100;
constexpr int HeapTools = 200;

using Bench::complain;
using Bench::PaintWatcher;
using Bench::waitForPaint;

// A shown main window whose top tool bar area holds the bar under test.
std::unique_ptr<QMainWindow> windowWith(QToolBar* bar)
{
    std::unique_ptr<QMainWindow> window(new QMainWindow);
    window->addToolBar(bar);
    window->setCentralWidget(new QLabel(QStringLiteral("central")));
    window->setGeometry(50, 50, 700, 300);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        window.reset();
    return window;
}

// Adds n buttons to a shown ZBToolBar, each at the end or each at the front, and lets the posted
// layout and show events run. Each insertion at the front moves every tool already there.
qint64 fillZBToolBar(int n, bool front)
{
    auto* bar = new ZBToolBar(QStringLiteral("Tools"));
    std::unique_ptr<QMainWindow> window = windowWith(bar);
    if (!window)
        return -1;
    const QIcon icon;
    const qint64 ns = Bench::Time([&] {
        for (int i = 0; i < n; ++i)
            bar->AddButton(QStringLiteral("T"), icon, QString(), front ? n - i : -1);
        QCoreApplication::sendPostedEvents();
    });
    QWidget* content = bar->findChild<QWidget*>(QStringLiteral("ZBTOOLBARCONTENT"));
    if (!content || content->findChildren<QToolButton*>().size() != n) {
        complain("the tool bar did not get its buttons");
        return -1;
    }
    return ns;
}

// The same with QToolBar's own actions, each of which gets a tool button.
qint64 fillQToolBar(int n, bool front)
{
    auto* bar = new QToolBar(QStringLiteral("Tools"));
    std::unique_ptr<QMainWindow> window = windowWith(bar);
    if (!window)
        return -1;
    const qint64 ns = Bench::Time([&] {
        QAction* first = nullptr;
        for (int i = 0; i < n; ++i) {
            auto* action = new QAction(QStringLiteral("T"), bar);
            bar->insertAction(front ? first : nullptr, action);
            first = action;
        }
        QCoreApplication::sendPostedEvents();
    });
    if (bar->actions().size() != n) {
        complain("the QToolBar did not get its actions");
        return -1;
    }
    return ns;
}

// Builds a main window with a dock holding a label, shows it and waits for the label's first paint.
template <typename Dock>
qint64 dockConstructShowPaint()
{
    PaintWatcher watcher;
    std::unique_ptr<QMainWindow> window;
    bool painted = false;
    const qint64 ns = Bench::Time([&] {
        window.reset(new QMainWindow);
        auto* dock = new Dock(QStringLiteral("Dock"), window.get());
        auto* label = new QLabel(QStringLiteral("dock content"));
        label->installEventFilter(&watcher);
        if constexpr (std::is_same<Dock, ZBDockWidget>::value)
            dock->SetWidget(label);
        else
            dock->setWidget(label);
        window->addDockWidget(Qt::LeftDockWidgetArea, dock);
        window->setCentralWidget(new QLabel(QStringLiteral("central")));
        window->setGeometry(50, 50, 600, 400);
        window->show();
        painted = waitForPaint(watcher);
    });
    if (!painted)
        complain("the dock was not painted");
    return painted ? ns : -1;
}

// Opens a menu of MenuTools checked entries and waits for its first paint; opens and closes it
// untimed once first, as an application's second opening would, and lets that settle.
template <typename Open>
qint64 timeMenuOpening(QMenu* menu, Open open)
{
    PaintWatcher first;
    menu->installEventFilter(&first);
    open();
    const bool warm = waitForPaint(first);
    menu->removeEventFilter(&first);
    menu->hide();
    QTest::qWait(5); // the repaints that the closing asks for
    PaintWatcher watcher;
    menu->installEventFilter(&watcher);
    bool painted = false;
    const qint64 ns = Bench::Time([&] {
        open();
        painted = waitForPaint(watcher);
    });
    menu->removeEventFilter(&watcher);
    menu->hide();
    if (!warm || !painted || menu->actions().size() != MenuTools) {
        complain("the menu was not opened with all its entries");
        return -1;
    }
    return ns;
}

qint64 containerMenuOpening()
{
    QWidget window;
    window.setGeometry(50, 50, 600, 200);
    auto* container = new ZBToolBarContainer(&window);
    for (int i = 0; i < MenuTools; ++i)
        container->AddButton(QStringLiteral("Tool %1").arg(i), QIcon(), QString(), -1);
    container->setGeometry(10, 10, 560, 30);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    auto* menu = container->findChild<QMenu*>();
    if (!menu)
        return -1;
    const QPoint strip(container->width() - 5, container->height() / 2);
    const qint64 ns = timeMenuOpening(
        menu, [&] { QTest::mousePress(container, Qt::LeftButton, Qt::KeyboardModifiers(), strip); });
    // QTest keeps the button down until released: the drags of later rows would not press it again.
    QTest::mouseRelease(container, Qt::LeftButton, Qt::KeyboardModifiers(), strip);
    return ns;
}

qint64 plainMenuOpening()
{
    QWidget window;
    window.setGeometry(50, 50, 600, 200);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    QMenu menu(&window);
    for (int i = 0; i < MenuTools; ++i) {
        QAction* action = menu.addAction(QStringLiteral("Tool %1").arg(i));
        action->setCheckable(true);
        action->setChecked(true); // as the container's entries of its shown tools are
    }
    const QPoint at = window.mapToGlobal(QPoint(window.width() - menu.sizeHint().width(), 41));
    return timeMenuOpening(&menu, [&] { menu.popup(at); });
}

// Heap bytes per button that a shown tool bar holds after HeapTools were added at its end.
template <typename Add>
qint64 heapPerTool(QToolBar* bar, Add add)
{
    std::unique_ptr<QMainWindow> window = windowWith(bar);
    if (!window)
        return -1;
    QCoreApplication::processEvents();
    const Bench::HeapMeter meter;
    for (int i = 0; i < HeapTools; ++i)
        add(i);
    QCoreApplication::processEvents();
    return meter.Bytes() / HeapTools;
}

void addRows()
{
    Bench::Row row;
    row.group = QStringLiteral("ZBToolBar");
    row.qtLabel = QStringLiteral("QToolBar::insertAction");
    for (int n : {10, 100, 1000, 10000}) {
        row.runs = n >= 10000 ? 1 : n == 1000 ? 5 : 15;
        row.warmUp = n < 10000;
        row.size = n;
        for (bool front : {false, true}) {
            row.series = QStringLiteral("tools added at the %1")
                             .arg(front ? QLatin1String("front") : QLatin1String("end"));
            row.name = QStringLiteral("%1 %2").arg(n).arg(row.series);
            row.zb = [n, front] { return fillZBToolBar(n, front); };
            row.qt = [n, front] { return fillQToolBar(n, front); };
            row.target = front ? 1.5 : 1.0;
            Bench::AddRow(row);
        }
    }
    Bench::AddHeapRow(
        QStringLiteral("ZBToolBar"), QStringLiteral("heap bytes per tool"),
        QStringLiteral("QToolBar::addAction"),
        [] {
            auto* bar = new ZBToolBar(QStringLiteral("Tools"));
            return heapPerTool(bar,
                               [bar](int) { bar->AddButton(QStringLiteral("T"), QIcon(), QString(), -1); });
        },
        [] {
            auto* bar = new QToolBar(QStringLiteral("Tools"));
            return heapPerTool(bar, [bar](int) { bar->addAction(QStringLiteral("T")); });
        });

    row = Bench::Row();
    row.group = QStringLiteral("ZBDockWidget");
    row.name = QStringLiteral("construct + show + first paint");
    row.qtLabel = QStringLiteral("QDockWidget");
    row.zb = dockConstructShowPaint<ZBDockWidget>;
    row.qt = dockConstructShowPaint<QDockWidget>;
    row.target = 1.2;
    Bench::AddRow(row);

    row.group = QStringLiteral("ZBToolBarContainer");
    row.name = QStringLiteral("menu opening, %1 tools").arg(MenuTools);
    row.qtLabel = QStringLiteral("QMenu, %1 checked actions").arg(MenuTools);
    row.zb = containerMenuOpening;
    row.qt = plainMenuOpening;
    row.target = 1.0;
    Bench::AddRow(row);
}

} // namespace

ZB_BENCH_REGISTER(addRows);
