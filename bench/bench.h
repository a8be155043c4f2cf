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
    One run of one side of a row; returns the nanoseconds spent in the part being measured (or, for
    a row of unit Bytes, the heap bytes per item), or a negative value when the run could not do its
    work (the row is then reported as failed).
*/
using Measure = std::function<qint64()>;

enum class Unit
{
    Nanoseconds,
    Bytes
};

struct Row
{
    QString group;     // the library class, e.g. "ZBWidget"
    QString name;      // what is measured, e.g. "construct + show + first paint"
    QString qtLabel;   // the Qt counterpart, e.g. "QDialog"
    Measure zb;        // the library's side
    Measure qt;        // the Qt side; empty for a row that times the library alone
    int runs = 15;     // repeated runs; the table shows medians
    double target = 0; // the largest ZB/Qt ratio the row may show; 0 for none
    // Rows of one scaling series share a series name and differ in size; the benchmark fits the
    // growth exponent of each side over them (1.0 is linear).
    QString series;
    int size = 0;
    Unit unit = Unit::Nanoseconds;
    bool warmUp = true; // one untimed run of each side first; off for rows whose setup takes minutes
};

/*! A row with the given texts and sides, \a runs runs per side and the \a target ratio (0 for none). */
Row MakeRow(const QString& group, const QString& name, const QString& qtLabel, Measure zb, Measure qt,
            int runs, double target);

/*! Adds a row; called from the functions registered with ZB_BENCH_REGISTER. */
void AddRow(const Row& row);

/*!
    Adds a row of heap bytes per item (target 1.5), where the allocation hook is built in; each side
    returns the bytes per item that it measured with a HeapMeter.
*/
void AddHeapRow(const QString& group, const QString& name, const QString& qtLabel, Measure zb, Measure qt);

/*! Times \a f once, in nanoseconds. Never inlined, so that a profiler can collect exactly this part. */
template <typename F>
Q_NEVER_INLINE qint64 Time(F&& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed();
}

/*! Whether the benchmark's allocation hook is built in (not in sanitizer builds or with other C libraries).
 */
bool HeapHooked();

/*!
    Counts, while it lives, the heap bytes allocated minus the bytes freed, anywhere in the process.
    Outside a meter the hook only forwards, so that the timed rows pay nothing for it.
*/
class HeapMeter
{
public:
    HeapMeter();
    ~HeapMeter();
    HeapMeter(const HeapMeter&) = delete;
    HeapMeter& operator=(const HeapMeter&) = delete;

    /*! The net bytes counted so far; -1 without the hook. */
    qint64 Bytes() const;
};

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
