// zb_stress: for each seed, creates every registered family, then runs random steps of random
// families, lets the event loop run a little after each, and checks every family's invariants.
#include "stress.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ZB_STRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZB_STRESS_SANITIZED 1
#endif
#endif
#ifdef ZB_STRESS_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

std::vector<Stress::FamilyFactory>& factories()
{
    static std::vector<Stress::FamilyFactory> list;
    return list;
}

bool verbose = false;

// Where the run stands, kept ready for a crash report: "seed S step N family F: <last log>".
quint32 currentSeed = 0;
int currentStep = 0;
QByteArray currentFamily;
QByteArray whereNote;

void noteWhere(const QString& lastLog)
{
    whereNote = QStringLiteral("seed %1 step %2 family %3: %4")
                    .arg(currentSeed)
                    .arg(currentStep)
                    .arg(QString::fromUtf8(currentFamily), lastLog)
                    .toUtf8();
}

void reportCrash()
{
    std::fputs("zb_stress: crashed at ", stderr);
    std::fputs(whereNote.constData(), stderr);
    std::fputc('\n', stderr);
}

#ifdef ZB_STRESS_SANITIZED
// The sanitizer prints its own report and then calls this before the process ends.
void installCrashReport()
{
    __sanitizer_set_death_callback(reportCrash);
}
#else
extern "C" void onFatalSignal(int signal)
{
    reportCrash();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installCrashReport()
{
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL})
        std::signal(signal, onFatalSignal);
}
#endif

QtMessageHandler previousHandler = nullptr;

// Notes of the offscreen platform about what it cannot do (opacity, size hints), and QTest's remark
// on a mouse event outside the window it is sent to (a drag goes there), say nothing about the
// library: they are dropped.
void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && (message.startsWith(QLatin1String("This plugin does not support")) ||
                                 message.contains(QLatin1String("occurs outside")))) {
        return;
    }
    previousHandler(type, context, message);
}

// Lets the event loop run a little: posted events, window-system events and deferred deletes.
void processALittle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

bool parseCount(const QCommandLineParser& parser, const QCommandLineOption& option, qint64 minimum,
                qint64* value)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const qint64 v = parser.value(option).toLongLong(&ok);
    if (!ok || v < minimum || v > 0xffffffffLL) {
        std::fprintf(stderr, "zb_stress: --%s needs a number of at least %lld\n",
                     option.names().first().toLatin1().constData(), minimum);
        return false;
    }
    *value = v;
    return true;
}

} // namespace

namespace Stress {

Registrar::Registrar(FamilyFactory factory)
{
    factories().push_back(factory);
}

Context::Context(quint32 seed) : rng(seed) {}

int Context::Bounded(int low, int high)
{
    if (high <= low)
        return low;
    return rng.bounded(low, high + 1);
}

bool Context::Chance(int percent)
{
    return Bounded(0, 99) < percent;
}

QPoint Context::PointIn(const QWidget* widget)
{
    if (!widget || widget->width() <= 0 || widget->height() <= 0)
        return QPoint();
    return QPoint(Bounded(0, widget->width() - 1), Bounded(0, widget->height() - 1));
}

void Context::Log(const QString& what)
{
    lastLog = what;
    noteWhere(what);
    if (verbose)
        std::printf("seed %u step %d family %s: %s\n", currentSeed, currentStep, currentFamily.constData(),
                    what.toUtf8().constData());
}

void Context::Fail(const QString& why)
{
    if (failure.isEmpty()) // the first broken invariant explains the rest
        failure = why;
}

} // namespace Stress

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    previousHandler = qInstallMessageHandler(filterMessages);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Drives random operations into live ZebGuiCore widgets and checks their invariants "
                       "after every step. A failure names the seed and step that reproduce it."));
    parser.addHelpOption();
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("First seed (default 1)."),
                                        QStringLiteral("n"));
    const QCommandLineOption seedsOption(QStringLiteral("seeds"),
                                         QStringLiteral("Number of seeds, from the first on (default 1)."),
                                         QStringLiteral("k"));
    const QCommandLineOption stepsOption(
        QStringLiteral("steps"), QStringLiteral("Steps per seed (default 1000)."), QStringLiteral("n"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"), QStringLiteral("Print every step."));
    parser.addOptions({seedOption, seedsOption, stepsOption, verboseOption});
    parser.process(app);

    qint64 firstSeed = 1, seeds = 1, steps = 1000;
    if (!parseCount(parser, seedOption, 0, &firstSeed) || !parseCount(parser, seedsOption, 1, &seeds) ||
        !parseCount(parser, stepsOption, 1, &steps)) {
        return 2;
    }
    verbose = parser.isSet(verboseOption);
    if (factories().empty()) {
        std::fprintf(stderr, "zb_stress: no families registered\n");
        return 1;
    }
    installCrashReport();

    QStringList familyNames;
    QElapsedTimer clock;
    clock.start();
    for (qint64 k = 0; k < seeds; ++k) {
        currentSeed = quint32(firstSeed + k);
        currentStep = 0;
        Stress::Context context(currentSeed);
        std::vector<std::unique_ptr<Stress::Family>> families;
        for (Stress::FamilyFactory make : factories())
            families.push_back(make());
        if (familyNames.isEmpty())
            for (const auto& family : families)
                familyNames << QString::fromLatin1(family->Name());

        for (currentStep = 1; currentStep <= steps; ++currentStep) {
            Stress::Family& family = *families[context.Bounded(0, int(families.size()) - 1)];
            currentFamily = family.Name();
            noteWhere(QStringLiteral("(no operation logged)"));
            family.Step(context);
            if (!context.Failed())
                processALittle();
            QString checker;
            for (const auto& checked : families) {
                if (context.Failed())
                    break;
                checked->Check(context);
                if (context.Failed() && checked.get() != &family)
                    checker = QStringLiteral(" (found by %1)").arg(QString::fromLatin1(checked->Name()));
            }
            if (context.Failed()) {
                std::printf("seed %u step %d family %s: %s: %s%s\n", currentSeed, currentStep,
                            currentFamily.constData(), context.LastLog().toUtf8().constData(),
                            context.Failure().toUtf8().constData(), checker.toUtf8().constData());
                return 1;
            }
        }

        // The families delete what they own; nothing may be left on screen.
        currentFamily = "(cleanup)";
        families.clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList leftovers;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            leftovers << QString::fromLatin1(widget->metaObject()->className());
            delete widget;
        }
        if (!leftovers.isEmpty()) {
            std::printf("seed %u: top-level widgets left after the families were deleted: %s\n", currentSeed,
                        leftovers.join(QStringLiteral(", ")).toUtf8().constData());
            return 1;
        }
    }

    std::printf("zb_stress: %lld seed(s) from %lld, %lld steps each, families %s: no invariant broken "
                "(%.1f s)\n",
                seeds, firstSeed, steps, familyNames.join(QStringLiteral(", ")).toUtf8().constData(),
                clock.elapsed() / 1000.0);
    return 0;
}
