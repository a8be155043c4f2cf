// Rows for the multi-document area against QMdiArea, at 10, 100 and 1000 sub-windows: adding them,
// cycling through all of them with "next", scrolling one page, maximising and restoring the active
// one, and closing all of them. Building the area and its sub-windows is never part of the time.
#include "bench.h"

#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <memory>

namespace {

const QSize ViewportSize(700, 500);
constexpr int HeapSubWindows = 100;

// Spreads the sub-windows over about three viewports in each direction, so that there is a page
// to scroll whatever the count.
QRect placeOf(int i)
{
    return QRect((i * 37) % 1900, (i * 53) % 1300, 240, 160);
}

QLabel* document(int i)
{
    return new QLabel(QStringLiteral("Document %1").arg(i));
}

// Lets the event loop run posted layout, scroll-bar and deletion work for a while, and delivers
// whatever is still posted then, so that a timed part never starts behind a long queue.
void settle(int milliseconds = 0)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (timer.elapsed() < milliseconds);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

struct ZbSide
{
    std::unique_ptr<QWidget> window{new QWidget};
    ZBMdiAreaWidget* area = new ZBMdiAreaWidget(window.get());

    ZbSide()
    {
        area->setFrameShape(QFrame::NoFrame);
        area->resize(ViewportSize);
        window->resize(ViewportSize);
    }
    ~ZbSide()
    {
        window.reset();
        settle(60); // closed sub-windows finish their fade on their own and are deleted then
    }
    void Add(int count)
    {
        for (int i = 0; i < count; ++i)
            area->AddWidget(document(i))->setGeometry(placeOf(i));
    }
};

struct QtSide
{
    std::unique_ptr<QWidget> window{new QWidget};
    QMdiArea* area = new QMdiArea(window.get());

    QtSide()
    {
        area->setFrameShape(QFrame::NoFrame);
        // QMdiArea keeps its scroll bars off unless asked; the library's area always has them.
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        area->resize(ViewportSize);
        window->resize(ViewportSize);
    }
    ~QtSide()
    {
        window.reset();
        settle();
    }
    void Add(int count)
    {
        for (int i = 0; i < count; ++i) {
            QMdiSubWindow* sub = area->addSubWindow(document(i));
            sub->setGeometry(placeOf(i));
            sub->show();
        }
    }
};

// Times \a op on a shown side that already holds \a count sub-windows, or none when \a prefill is
// false. The sub-windows are added before the window is shown: QMdiArea places and repaints every
// one it is given while shown, which would take minutes for a thousand.
template <typename Side, typename Op>
qint64 timed(int count, bool prefill, Op op)
{
    Side side;
    if (prefill)
        side.Add(count);
    side.window->show();
    settle(50);
    return Bench::Time([&] { op(side, count); });
}

// Heap bytes per sub-window that a shown area holds after HeapSubWindows were added.
template <typename Side>
qint64 heapPerSubWindow()
{
    Side side;
    side.window->show();
    settle(20);
    const Bench::HeapMeter meter;
    side.Add(HeapSubWindows);
    settle(20);
    return meter.Bytes() / HeapSubWindows;
}

void addRows()
{
    for (const int n : {10, 100, 1000, 10000}) {
        const int runs = n >= 1000 ? 1 : 15; // adding 1000 to a shown QMdiArea takes over a minute
        // A row of a scaling series; at 10 000 the library alone: QMdiArea takes minutes to be given
        // that many sub-windows, and its "next" grows with the square of the count.
        const auto row = [&](const QString& name, double target, std::function<qint64()> zb,
                             std::function<qint64()> qt) {
            Bench::Row r = Bench::MakeRow(
                QStringLiteral("ZBMdiAreaWidget"), name.arg(n), QStringLiteral("QMdiArea"), std::move(zb),
                n >= 10000 ? std::function<qint64()>() : std::move(qt), runs, target);
            r.series = name.arg(QStringLiteral("n"));
            r.size = n;
            r.warmUp = n < 1000; // at 1000 a run takes seconds, building 10 000 most of a minute
            Bench::AddRow(r);
        };

        row(
            QStringLiteral("add %1 sub-windows"), 1.1,
            [n] { return timed<ZbSide>(n, false, [](ZbSide& s, int count) { s.Add(count); }); },
            [n] { return timed<QtSide>(n, false, [](QtSide& s, int count) { s.Add(count); }); });

        row(
            QStringLiteral("cycle through %1 sub-windows with next"), 1.1,
            [n] {
                return timed<ZbSide>(n, true, [](ZbSide& s, int count) {
                    for (int i = 0; i < count; ++i)
                        s.area->ActivateNextSubWindow();
                });
            },
            [n] {
                return timed<QtSide>(n, true, [](QtSide& s, int count) {
                    for (int i = 0; i < count; ++i)
                        s.area->activateNextSubWindow();
                });
            });

        row(
            QStringLiteral("scroll one page down, %1 sub-windows"), 1.1,
            [n] {
                return timed<ZbSide>(n, true, [](ZbSide& s, int) {
                    QScrollBar* bar = s.area->verticalScrollBar();
                    bar->setValue(bar->value() + bar->pageStep());
                });
            },
            [n] {
                return timed<QtSide>(n, true, [](QtSide& s, int) {
                    QScrollBar* bar = s.area->verticalScrollBar();
                    bar->setValue(bar->value() + bar->pageStep());
                });
            });

        row(
            QStringLiteral("maximise and restore, %1 sub-windows"), 2.0,
            [n] {
                return timed<ZbSide>(n, true, [](ZbSide& s, int) {
                    ZBMdiSubWindow* active = s.area->ActiveSubWindow();
                    active->ShowMaximized();
                    active->ShowNormal();
                });
            },
            [n] {
                return timed<QtSide>(n, true, [](QtSide& s, int) {
                    QMdiSubWindow* active = s.area->activeSubWindow();
                    if (!active) // the window may not have been activated yet
                        active = s.area->subWindowList().last();
                    active->showMaximized();
                    active->showNormal();
                });
            });

        row(
            QStringLiteral("close all %1 sub-windows"), 1.0,
            [n] { return timed<ZbSide>(n, true, [](ZbSide& s, int) { s.area->CloseAllSubWindows(); }); },
            [n] { return timed<QtSide>(n, true, [](QtSide& s, int) { s.area->closeAllSubWindows(); }); });
    }

    Bench::AddHeapRow(QStringLiteral("ZBMdiAreaWidget"), QStringLiteral("heap bytes per sub-window"),
                      QStringLiteral("QMdiArea"), heapPerSubWindow<ZbSide>, heapPerSubWindow<QtSide>);
}

} // namespace

ZB_BENCH_REGISTER(addRows);
