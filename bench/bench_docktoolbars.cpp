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

// Opens a menu of MenuTools checkable entries and waits for its first paint; shows it untimed once
// first, as an application's second opening would.
template <typename Open>
qint64 timeMenuOpening(QMenu* menu, Open open)
{
    open();
    QTest::qWait(1);
    menu->hide();
    PaintWatcher watcher;
    menu->installEventFilter(&watcher);
    bool painted = false;
    const qint64 ns = Bench::Time([&] {
        open();
        painted = waitForPaint(watcher);
    });
    menu->removeEventFilter(&watcher);
    menu->hide();
    if (!painted || menu->actions().size() != MenuTools) {
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
    return timeMenuOpening(
        menu, [&] { QTest::mousePress(container, Qt::LeftButton, Qt::KeyboardModifiers(), strip); });
}

qint64 plainMenuOpening()
{
    QWidget window;
    window.setGeometry(50, 50, 600, 200);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    QMenu menu(&window);
    for (int i = 0; i < MenuTools; ++i)
        menu.addAction(QStringLiteral("Tool %1").arg(i))->setCheckable(true);
    const QPoint at = window.mapToGlobal(QPoint(window.width() - menu.sizeHint().width(), 41));
    return timeMenuOpening(&menu, [&] { menu.popup(at); });
}

void addRows()
{
    const QString toolBar = QStringLiteral("ZBToolBar");
    for (int n : {10, 100, 1000}) {
        const int runs = n == 1000 ? 5 : 15;
        for (bool front : {false, true}) {
            const QString name = QStringLiteral("%1 tools added at the %2")
                                     .arg(n)
                                     .arg(front ? QLatin1String("front") : QLatin1String("end"));
            Bench::AddRow({toolBar, name, QStringLiteral("QToolBar::insertAction"),
                           [n, front] { return fillZBToolBar(n, front); },
                           [n, front] { return fillQToolBar(n, front); }, runs});
        }
    }
    Bench::AddRow({QStringLiteral("ZBDockWidget"), QStringLiteral("construct + show + first paint"),
                   QStringLiteral("QDockWidget"), dockConstructShowPaint<ZBDockWidget>,
                   dockConstructShowPaint<QDockWidget>, 15});
    Bench::AddRow({QStringLiteral("ZBToolBarContainer"),
                   QStringLiteral("menu opening, %1 tools").arg(MenuTools),
                   QStringLiteral("QMenu, %1 checkable actions").arg(MenuTools), containerMenuOpening,
                   plainMenuOpening, 15});
}

} // namespace

ZB_BENCH_REGISTER(addRows);
