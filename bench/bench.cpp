// zb_bench: runs every registered row, both sides alternately, and prints a table of medians, ratios,
// targets and growth exponents. It exits with 3 when a row misses its target by more than the run's
// noise or a scaling series grows faster than SuperLinear.
#include "bench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGridLayout>
#include <QLabel>
#include <QMap>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>

#ifndef ZB_BENCH_BUILD_TYPE
#define ZB_BENCH_BUILD_TYPE ""
#endif

namespace Bench {
namespace {

QVector<void (*)()>& registeredFunctions()
{
    static QVector<void (*)()> functions;
    return functions;
}

QVector<Row>& rows()
{
    static QVector<Row> list;
    return list;
}

} // namespace

Registrar::Registrar(void (*addRows)())
{
    registeredFunctions().append(addRows);
}

void AddRow(const Row& row)
{
    rows().append(row);
}

Row MakeRow(const QString& group, const QString& name, const QString& qtLabel, Measure zb, Measure qt,
            int runs, double target)
{
    Row row;
    row.group = group;
    row.name = name;
    row.qtLabel = qtLabel;
    row.zb = std::move(zb);
    row.qt = std::move(qt);
    row.runs = runs;
    row.target = target;
    return row;
}

void AddHeapRow(const QString& group, const QString& name, const QString& qtLabel, Measure zb, Measure qt)
{
    if (!HeapHooked())
        return;
    // The counts hardly vary between runs.
    Row row = MakeRow(group, name, qtLabel, std::move(zb), std::move(qt), 3, 1.5);
    row.unit = Unit::Bytes;
    AddRow(row);
}

} // namespace Bench

namespace {

// A scaling series whose fitted exponent exceeds this grows faster than linearly.
constexpr double SuperLinear = 1.2;

struct Result
{
    qint64 zb = -1; // medians; -1 when a run failed or (Qt) the row has no Qt side
    qint64 qt = -1;
    bool failed = false;
    // Half the interquartile range of the per-run ratios ZB/Qt, relative to their median: how far
    // this row's own runs disagree.
    double spread = 0;
};

double quantile(QVector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    const double at = q * (values.size() - 1);
    const int low = int(std::floor(at));
    const int high = qMin(low + 1, int(values.size()) - 1);
    return values[low] + (values[high] - values[low]) * (at - low);
}

qint64 median(const QVector<qint64>& values)
{
    QVector<double> v;
    for (qint64 x : values)
        v.append(double(x));
    return v.isEmpty() ? -1 : qint64(std::llround(quantile(v, 0.5)));
}

double relativeSpread(const QVector<double>& ratios)
{
    if (ratios.size() < 3)
        return 0;
    const double mid = quantile(ratios, 0.5);
    return mid > 0 ? (quantile(ratios, 0.75) - quantile(ratios, 0.25)) / 2 / mid : 0;
}

// Lets what one run left behind (deferred deletes, queued repaints) settle outside the timed part.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

qint64 runOnce(const Bench::Measure& measure)
{
    const qint64 value = measure ? measure() : -1;
    settle();
    return value;
}

Result runRow(const Bench::Row& row, int runs)
{
    Result result;
    result.failed = true;
    const bool withQt = bool(row.qt);
    if (row.warmUp && (runOnce(row.zb) < 0 || (withQt && runOnce(row.qt) < 0)))
        return result;
    QVector<qint64> zb, qt;
    QVector<double> ratios;
    for (int i = 0; i < runs; ++i) {
        // Swap the order every run so that neither side always follows the other.
        const bool zbFirst = i % 2 == 0;
        const qint64 first = runOnce(zbFirst || !withQt ? row.zb : row.qt);
        const qint64 second = withQt ? runOnce(zbFirst ? row.qt : row.zb) : 0;
        if (first < 0 || second < 0)
            return result;
        zb.append(zbFirst || !withQt ? first : second);
        if (withQt) {
            qt.append(zbFirst ? second : first);
            if (qt.last() > 0)
                ratios.append(double(zb.last()) / qt.last());
        }
    }
    result.failed = false;
    result.zb = median(zb);
    result.qt = withQt ? median(qt) : -1;
    result.spread = relativeSpread(ratios);
    return result;
}

// Runs one side only, for a profiler (valgrind --tool=callgrind --toggle-collect='*Bench::Time*').
qint64 runSide(const Bench::Row& row, const Bench::Measure& measure, int runs)
{
    if (!measure || (row.warmUp && runOnce(measure) < 0))
        return -1;
    QVector<qint64> values;
    for (int i = 0; i < runs; ++i) {
        const qint64 value = runOnce(measure);
        if (value < 0)
            return -1;
        values.append(value);
    }
    return median(values);
}

// The noise row: one workload on both sides. Whatever ratio and spread it shows is the machine's.
qint64 calibrationWorkload()
{
    Bench::PaintWatcher watcher;
    std::unique_ptr<QWidget> window;
    bool painted = false;
    const qint64 ns = Bench::Time([&] {
        window.reset(new QWidget);
        auto* grid = new QGridLayout(window.get());
        for (int i = 0; i < 3; ++i) {
            auto* label = new QLabel(QStringLiteral("Label %1").arg(i));
            label->installEventFilter(&watcher);
            grid->addWidget(label, i, 0);
        }
        window->show();
        painted = Bench::waitForPaint(watcher);
    });
    return painted ? ns : -1;
}

// Least-squares slope of log(value) over log(size): 1.0 is linear growth.
double growthExponent(const QVector<QPair<int, qint64>>& points)
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    int n = 0;
    for (const auto& p : points) {
        if (p.first <= 0 || p.second <= 0)
            continue;
        const double x = std::log(double(p.first));
        const double y = std::log(double(p.second));
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
        ++n;
    }
    const double denominator = n * sxx - sx * sx;
    return n < 2 || denominator <= 0 ? std::nan("") : (n * sxy - sx * sy) / denominator;
}

QString formatValue(qint64 value, qint64 scaleFrom, Bench::Unit unit)
{
    double scale = 1.0;
    QString suffix;
    if (unit == Bench::Unit::Bytes) {
        suffix = scaleFrom >= 10000 ? QStringLiteral("kB") : QStringLiteral("B");
        scale = scaleFrom >= 10000 ? 1000.0 : 1.0;
    } else if (scaleFrom >= 1000000000) {
        scale = 1e9;
        suffix = QStringLiteral("s");
    } else if (scaleFrom >= 1000000) {
        scale = 1e6;
        suffix = QStringLiteral("ms");
    } else if (scaleFrom >= 1000) {
        scale = 1e3;
        suffix = QStringLiteral("\u00b5s");
    } else {
        suffix = QStringLiteral("ns");
    }
    const double v = value / scale;
    const int decimals = scale == 1.0 ? 0 : v < 10 ? 2 : v < 100 ? 1 : 0;
    return QString::number(v, 'f', decimals) + QLatin1Char(' ') + suffix;
}

QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns on every opacity change and size-hint update it cannot carry out;
// printing those would be timed with the row and drown the table.
void filterPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    previousHandler(type, context, message);
}

void printLine(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printTable(const QVector<QStringList>& table)
{
    QVector<int> widths(table.first().size(), 0);
    for (const QStringList& cells : table)
        for (int i = 0; i < cells.size(); ++i)
            widths[i] = qMax(widths[i], int(cells[i].size()));
    auto line = [&](const QStringList& cells) {
        QStringList padded;
        for (int i = 0; i < cells.size(); ++i) // text columns left, figures right
            padded << (i < 3 ? cells[i].leftJustified(widths[i]) : cells[i].rightJustified(widths[i]));
        return padded.join(QStringLiteral(" | "));
    };
    printLine(line(table.first()));
    QStringList rule;
    for (int w : widths)
        rule << QString(w, QLatin1Char('-'));
    printLine(rule.join(QStringLiteral("-+-")));
    for (int i = 1; i < table.size(); ++i)
        printLine(line(table[i]));
}

QString ratioText(double ratio)
{
    return QString::number(ratio, 'f', 2);
}

QString exponentText(double exponent)
{
    return std::isnan(exponent) ? QStringLiteral("-") : QString::number(exponent, 'f', 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    previousHandler = qInstallMessageHandler(filterPlatformNotes);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times each ZebGuiCore class against its nearest Qt counterpart and prints the median times, "
        "their ratio, the row's target and, for scaling series, the growth exponent. Exits with 3 "
        "when a row misses its target by more than the noise or a series grows faster than linearly."));
    parser.addHelpOption();
    const QCommandLineOption filterOption(
        QStringLiteral("filter"),
        QStringLiteral("Run only the rows whose group, case or Qt counterpart "
                       "contains <substring> (case-insensitive)."),
        QStringLiteral("substring"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Timed runs per side, after one warm-up run but "
                                                       "for the slowest rows (default: each row's own, "
                                                       "usually 15)."),
                                        QStringLiteral("n"));
    const QCommandLineOption sideOption(
        QStringLiteral("side"),
        QStringLiteral("Run only one side, zb or qt, and print its medians (for a profiler)."),
        QStringLiteral("zb|qt"));
    parser.addOption(filterOption);
    parser.addOption(runsOption);
    parser.addOption(sideOption);
    parser.process(app);

    int runs = 0;
    if (parser.isSet(runsOption)) {
        bool ok = false;
        runs = parser.value(runsOption).toInt(&ok);
        if (!ok || runs < 1) {
            std::fprintf(stderr, "zb_bench: --runs needs a positive number\n");
            return 2;
        }
    }
    const QString side = parser.value(sideOption);
    if (!side.isEmpty() && side != QLatin1String("zb") && side != QLatin1String("qt")) {
        std::fprintf(stderr, "zb_bench: --side is zb or qt\n");
        return 2;
    }
    const QString filter = parser.value(filterOption);

    for (auto addRows : Bench::registeredFunctions())
        addRows();
    QVector<Bench::Row> selected;
    for (const Bench::Row& row : Bench::rows()) {
        const QString haystack = row.group + QLatin1Char('\n') + row.name + QLatin1Char('\n') + row.qtLabel;
        if (filter.isEmpty() || haystack.contains(filter, Qt::CaseInsensitive))
            selected.append(row);
    }
    if (selected.isEmpty()) {
        std::fprintf(stderr, "zb_bench: no row matches \"%s\"\n", filter.toUtf8().constData());
        return 1;
    }

    if (!side.isEmpty()) {
        for (const Bench::Row& row : selected) {
            const qint64 value = runSide(row, side == QLatin1String("zb") ? row.zb : row.qt,
                                         runs > 0 ? runs : qMax(1, row.runs));
            printLine(QStringLiteral("%1 | %2 | %3")
                          .arg(row.group, row.name,
                               value < 0 ? QStringLiteral("failed") : formatValue(value, value, row.unit)));
        }
        return 0;
    }

    // The noise of this run: the same workload on both sides, alternating like every row.
    Bench::Row calibrationRow;
    calibrationRow.zb = calibrationWorkload;
    calibrationRow.qt = calibrationWorkload;
    const Result calibration = runRow(calibrationRow, runs > 0 ? runs : 25);
    if (calibration.failed) {
        std::fprintf(stderr, "zb_bench: the calibration workload failed\n");
        return 1;
    }
    const double noise = std::abs(double(calibration.zb) / calibration.qt - 1.0) + calibration.spread;

    QVector<Result> results;
    QMap<QString, QVector<QPair<int, qint64>>> zbSeries, qtSeries;
    QMap<QString, int> largest; // index of the largest row of each series
    for (int i = 0; i < selected.size(); ++i) {
        const Bench::Row& row = selected[i];
        results.append(runRow(row, runs > 0 ? runs : qMax(1, row.runs)));
        const Result& r = results.last();
        if (row.series.isEmpty() || r.failed)
            continue;
        zbSeries[row.series].append({row.size, r.zb});
        if (r.qt > 0)
            qtSeries[row.series].append({row.size, r.qt});
        if (!largest.contains(row.series) || selected[largest[row.series]].size < row.size)
            largest[row.series] = i;
    }

    QVector<QStringList> table;
    table.append({QStringLiteral("group"), QStringLiteral("case"), QStringLiteral("Qt counterpart"),
                  QStringLiteral("ZB"), QStringLiteral("Qt"), QStringLiteral("ZB/Qt"),
                  QStringLiteral("target"), QStringLiteral("growth ZB"), QStringLiteral("growth Qt"),
                  QStringLiteral("check")});
    bool anyFailed = false;
    QStringList misses;
    for (int i = 0; i < selected.size(); ++i) {
        const Bench::Row& row = selected[i];
        const Result& r = results[i];
        QStringList cells{row.group, row.name, row.qt ? row.qtLabel : QStringLiteral("(library alone)")};
        if (r.failed) {
            anyFailed = true;
            cells << QStringLiteral("failed") << QStringLiteral("failed") << QStringLiteral("-") << QString()
                  << QString() << QString() << QStringLiteral("FAILED");
            table.append(cells);
            continue;
        }
        const qint64 scaleFrom = qMax(r.zb, r.qt);
        cells << formatValue(r.zb, scaleFrom, row.unit)
              << (r.qt >= 0 ? formatValue(r.qt, scaleFrom, row.unit) : QStringLiteral("-"));
        const double ratio = r.qt > 0 ? double(r.zb) / r.qt : std::nan("");
        cells << (std::isnan(ratio) ? QStringLiteral("-") : ratioText(ratio))
              << (row.target > 0 ? QStringLiteral("\u2264 ") + ratioText(row.target) : QString());
        QStringList verdict;
        // Heap bytes do not vary between runs; times are allowed the larger of the two noises.
        const double allowance = row.unit == Bench::Unit::Bytes ? 0.0 : qMax(noise, r.spread);
        if (row.target > 0 && !std::isnan(ratio) && ratio > row.target * (1 + allowance)) {
            verdict << QStringLiteral("OVER TARGET");
            misses << QStringLiteral("%1, %2: ZB/Qt %3 above the target %4 (noise allowed: %5%)")
                          .arg(row.group, row.name, ratioText(ratio), ratioText(row.target))
                          .arg(allowance * 100, 0, 'f', 0);
        }
        if (!row.series.isEmpty() && largest.value(row.series) == i) {
            const double zbExponent = growthExponent(zbSeries.value(row.series));
            cells << exponentText(zbExponent) << exponentText(growthExponent(qtSeries.value(row.series)));
            if (zbExponent > SuperLinear) {
                verdict << QStringLiteral("SUPER-LINEAR");
                misses << QStringLiteral("%1, %2: grows with exponent %3 over its sizes (limit %4)")
                              .arg(row.group, row.series, exponentText(zbExponent), ratioText(SuperLinear));
            }
        } else {
            cells << QString() << QString();
        }
        cells << (verdict.isEmpty() ? (row.target > 0 ? QStringLiteral("ok") : QString())
                                    : verdict.join(QStringLiteral(", ")));
        table.append(cells);
    }

    printLine(QStringLiteral("zb_bench: Qt %1, platform %2, %3 build")
                  .arg(QString::fromLatin1(qVersion()), QGuiApplication::platformName(),
                       QStringLiteral(ZB_BENCH_BUILD_TYPE).isEmpty() ? QStringLiteral("unknown")
                                                                     : QStringLiteral(ZB_BENCH_BUILD_TYPE)));
    printLine(QString());
    printTable(table);
    printLine(QString());
    printLine(
        QStringLiteral("ZB/Qt is the library's median divided by Qt's: 1.00 is parity, 2.00 takes twice as "
                       "long (or as many bytes), 0.50 half. Medians of each row's runs per side after a "
                       "warm-up run (none for the slowest rows), the two sides alternating in one process. "
                       "Growth is the exponent "
                       "of a power law fitted to a series' medians over its sizes (1.00 is linear), "
                       "shown on the series' largest row."));
    printLine(QStringLiteral("Noise of this run: %1% (one workload on both sides gave ZB/Qt %2, its runs "
                             "spread \u00b1%3%); a row misses its target when it exceeds it by more than "
                             "this noise or its own runs' spread, whichever is larger.")
                  .arg(noise * 100, 0, 'f', 1)
                  .arg(ratioText(double(calibration.zb) / calibration.qt))
                  .arg(calibration.spread * 100, 0, 'f', 1));
    if (anyFailed)
        printLine(QStringLiteral("Rows marked \"failed\" could not do their work; see the messages above."));
    for (const QString& miss : std::as_const(misses))
        std::fprintf(stderr, "zb_bench: %s\n", miss.toUtf8().constData());
    if (anyFailed)
        return 1;
    return misses.isEmpty() ? 0 : 3;
}
