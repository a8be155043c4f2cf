// zb_bench: runs every registered row, both sides alternately, and prints a table of median times
// and ratios.
#include "bench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QVector>
#include <algorithm>
#include <cstdio>

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

} // namespace Bench

namespace {

struct Result
{
    qint64 zb = -1; // medians in nanoseconds; -1 when a run failed
    qint64 qt = -1;
};

qint64 median(QVector<qint64> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Lets what one run left behind (deferred deletes, queued repaints) settle outside the timed part.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

qint64 runOnce(const Bench::Measure& measure)
{
    const qint64 ns = measure ? measure() : -1;
    settle();
    return ns;
}

Result runRow(const Bench::Row& row, int runs)
{
    Result result;
    if (runOnce(row.zb) < 0 || runOnce(row.qt) < 0) // warm-up
        return result;
    QVector<qint64> zb, qt;
    bool failed = false;
    for (int i = 0; i < runs && !failed; ++i) {
        // Swap the order every run so that neither side always follows the other.
        const bool zbFirst = i % 2 == 0;
        const qint64 first = runOnce(zbFirst ? row.zb : row.qt);
        const qint64 second = runOnce(zbFirst ? row.qt : row.zb);
        failed = first < 0 || second < 0;
        zb.append(zbFirst ? first : second);
        qt.append(zbFirst ? second : first);
    }
    if (!failed) {
        result.zb = median(zb);
        result.qt = median(qt);
    }
    return result;
}

// Both times of a row in one unit, picked from the larger of the two.
QPair<QString, QString> formatTimes(qint64 a, qint64 b)
{
    const qint64 larger = qMax(a, b);
    double scale = 1.0;
    QString unit = QStringLiteral("ns");
    if (larger >= 1000000000) {
        scale = 1e9;
        unit = QStringLiteral("s");
    } else if (larger >= 1000000) {
        scale = 1e6;
        unit = QStringLiteral("ms");
    } else if (larger >= 1000) {
        scale = 1e3;
        unit = QStringLiteral("\u00b5s");
    }
    auto format = [&](qint64 ns) {
        const double v = ns / scale;
        const int decimals = scale == 1.0 ? 0 : v < 10 ? 2 : v < 100 ? 1 : 0;
        return QString::number(v, 'f', decimals) + QLatin1Char(' ') + unit;
    };
    return {format(a), format(b)};
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
        "Times each ZebGuiCore class against its nearest Qt counterpart and prints the median times."));
    parser.addHelpOption();
    const QCommandLineOption filterOption(
        QStringLiteral("filter"),
        QStringLiteral("Run only the rows whose group, case or Qt counterpart "
                       "contains <substring> (case-insensitive)."),
        QStringLiteral("substring"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Timed runs per side, after one warm-up run "
                                                       "(default: each row's own, usually 15)."),
                                        QStringLiteral("n"));
    parser.addOption(filterOption);
    parser.addOption(runsOption);
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
    const QString filter = parser.value(filterOption);

    for (auto addRows : Bench::registeredFunctions())
        addRows();

    QVector<QStringList> table;
    table.append({QStringLiteral("group"), QStringLiteral("case"), QStringLiteral("Qt counterpart"),
                  QStringLiteral("ZB median"), QStringLiteral("Qt median"), QStringLiteral("ZB/Qt")});
    bool anyFailed = false;
    int runsShown = -1; // the common run count, or 0 when rows differ
    for (const Bench::Row& row : Bench::rows()) {
        const QString haystack = row.group + QLatin1Char('\n') + row.name + QLatin1Char('\n') + row.qtLabel;
        if (!filter.isEmpty() && !haystack.contains(filter, Qt::CaseInsensitive))
            continue;
        const int rowRuns = runs > 0 ? runs : qMax(1, row.runs);
        runsShown = runsShown == -1 || runsShown == rowRuns ? rowRuns : 0;
        const Result result = runRow(row, rowRuns);
        if (result.zb < 0 || result.qt < 0) {
            anyFailed = true;
            table.append({row.group, row.name, row.qtLabel, QStringLiteral("failed"),
                          QStringLiteral("failed"), QStringLiteral("-")});
            continue;
        }
        const QPair<QString, QString> times = formatTimes(result.zb, result.qt);
        const QString ratio =
            result.qt > 0 ? QString::number(double(result.zb) / result.qt, 'f', 2) : QStringLiteral("-");
        table.append({row.group, row.name, row.qtLabel, times.first, times.second, ratio});
    }
    if (table.size() == 1) {
        std::fprintf(stderr, "zb_bench: no row matches \"%s\"\n", filter.toUtf8().constData());
        return 1;
    }

    printLine(QStringLiteral("zb_bench: Qt %1, platform %2, %3 build")
                  .arg(QString::fromLatin1(qVersion()), QGuiApplication::platformName(),
                       QStringLiteral(ZB_BENCH_BUILD_TYPE).isEmpty() ? QStringLiteral("unknown")
                                                                     : QStringLiteral(ZB_BENCH_BUILD_TYPE)));
    printLine(QString());
    printTable(table);
    printLine(QString());
    const QString runsText = runsShown > 0 ? QString::number(runsShown) : QStringLiteral("the row's");
    printLine(
        QStringLiteral("ZB/Qt is the library's median time divided by Qt's: 1.00 is parity, 2.00 takes twice "
                       "as long, 0.50 half as long. Medians of %1 runs per side after a warm-up run, "
                       "the two sides alternating in one process.")
            .arg(runsText));
    if (anyFailed)
        printLine(QStringLiteral("Rows marked \"failed\" could not do their work; see the messages above."));
    return anyFailed ? 1 : 0;
}
