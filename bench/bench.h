// The benchmark's case registry: each bench_*.cpp file registers its rows with ZB_BENCH_REGISTER.
#ifndef ZB_BENCH_H
#define ZB_BENCH_H

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QString>
#include <cstdio>
#include <functional>

namespace Bench {

/*!
    One run of one side of a row; returns the nanoseconds spent in the part being measured, or a
    negative value when the run could not do its work (the row is then reported as failed).
*/
using Measure = std::function<qint64()>;

struct Row
{
    QString group;   // the library class, e.g. "ZBWidget"
    QString name;    // what is measured, e.g. "construct + show + first paint"
    QString qtLabel; // the Qt counterpart, e.g. "QDialog"
    Measure zb;      // the library's side
    Measure qt;      // the Qt side
    int runs = 15;   // repeated runs; the table shows medians
};

/*! Adds a row; called from the functions registered with ZB_BENCH_REGISTER. */
void AddRow(const Row& row);

/*! Times \a f once, in nanoseconds. */
template <typename F>
qint64 Time(F&& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed();
}

/*! Prints a failed run's reason on stderr. */
inline void complain(const char* what)
{
    std::fprintf(stderr, "zb_bench: %s\n", what);
}

/*! Notes the first paint that reaches the widgets it filters. */
class PaintWatcher : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

/*! Processes events until \a watcher saw a paint, for two seconds at most; whether it did. */
inline bool waitForPaint(const PaintWatcher& watcher)
{
    QElapsedTimer timer;
    timer.start();
    while (!watcher.painted && timer.elapsed() < 2000)
        QCoreApplication::processEvents();
    return watcher.painted;
}

struct Registrar
{
    explicit Registrar(void (*addRows)());
};

} // namespace Bench

#define ZB_BENCH_CONCAT_(a, b) a##b
#define ZB_BENCH_CONCAT(a, b) ZB_BENCH_CONCAT_(a, b)
/*! Registers a function that adds rows with Bench::AddRow when the benchmark starts. */
#define ZB_BENCH_REGISTER(addRows) static const Bench::Registrar ZB_BENCH_CONCAT(zbBench_, __LINE__)(addRows)

#endif // ZB_BENCH_H
