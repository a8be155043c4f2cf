// zb_stress: random steps of random families on a virtual clock, every family's invariants checked
// after each step. A Qt warning fails a run; a failure prints the steps that led to it.
#include "stress.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QHash>
#include <QTimerEvent>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <qpa/qwindowsysteminterface.h>
#include <tuple>

namespace {

// Runs that once failed, replayed before every run (a failure prints its steps ready to paste here).
const QList<std::pair<const char*, QList<Stress::Step>>> Regressions = {
    {"an area stayed in the maximized mode after its maximised sub-window was handed away",
     {{"hostile", "AddWidget", {2, 0, 0, 0, 9}},
      {"hostile", "dock SetWidget", {5, 0, 0, 0, 3}},
      {"hostile", "click a button", {5, 0, 0, 1, 7, 1}},
      {"hostile", "title bar AddWidget", {5, 0, 0, 0, 1, 0}}}},
    {"a cascade stepped by the height of a title bar that the application had deleted",
     {{"hostile", "AddWidget", {0, 0, 0, 0, 0}},
      {"hostile", "delete", {5, 0, 0, 0, 0}}, // the sub-window's title bar
      {"hostile", "tile or cascade", {0, 0, 0, 0, 0, 99}}}},
};

std::vector<std::unique_ptr<Stress::Family> (*)()>& factories()
{
    static std::vector<std::unique_ptr<Stress::Family> (*)()> list;
    return list;
}

// The run under way, for the message handler and for a report from inside a step or a crash.
Stress::Context* running = nullptr;
QList<std::pair<Stress::Step, QString>> done; // with what each step logged

[[noreturn]] void report(const QString& what)
{
    if (running && !done.isEmpty())
        done.last().first.values = running->values.mid(0, running->replayed < 0 ? -1 : running->replayed);
    std::printf("zb_stress: step %d: %s\nthe steps, for the regression table in stress.cpp:\n",
                int(done.size()), qPrintable(what));
    for (const auto& [step, log] : std::as_const(done)) {
        QStringList values;
        for (int v : step.values)
            values << QString::number(v);
        std::printf("    {\"%s\", \"%s\", {%s}}, // %s\n", step.family, step.op,
                    qPrintable(values.join(QStringLiteral(", "))), qPrintable(log));
    }
    std::fflush(stdout);
    std::_Exit(1);
}

qint64 now = 0;           // virtual time
QHash<int, qint64> dueAt; // by timer id; a timer falls due one interval after it is first seen

// Every warning fails the run but the offscreen platform's and QTest's notes on their own limits.
void onMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    const bool note = type == QtDebugMsg || type == QtInfoMsg ||
                      message.contains(QLatin1String("occurs outside")) ||
                      message.startsWith(QLatin1String("This plugin does not support"));
    if (type == QtFatalMsg)
        report(message);
    if (running && !note)
        running->Expect(false, QStringLiteral("Qt warning: ") + message);
    else if (!note)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Runs the steps of a seed, or replays the given steps, and reports a failure.
void run(quint32 seed, int count, const QList<Stress::Step>* replay, const QString& what)
{
    Stress::Context context;
    context.rng.seed(seed);
    done.clear();
    std::vector<std::unique_ptr<Stress::Family>> families;
    for (auto make : factories())
        families.push_back(make());
    running = &context;
    for (int i = 0; i < (replay ? int(replay->size()) : count) && !context.Failed(); ++i) {
        Stress::Family* family = families[context.rng.bounded(int(families.size()))].get();
        const Stress::Op* op = nullptr;
        if (replay) { // by the names of the family and the operation
            const Stress::Step& step = replay->at(i);
            family = nullptr;
            for (const auto& f : families)
                family = f->Name() == QByteArray(step.family) ? f.get() : family;
            for (size_t o = 0; family && o < family->ops.size(); ++o)
                op = family->ops[o].name == QByteArray(step.op) ? &family->ops[o] : op;
            if (!op)
                report(QStringLiteral("%1: no operation %2/%3").arg(what, step.family, step.op));
        } else {
            int roll = 0;
            for (const Stress::Op& o : family->ops)
                roll += o.weight;
            roll = context.rng.bounded(roll);
            for (op = &family->ops.front(); roll >= op->weight; ++op)
                roll -= op->weight;
        }
        context.values = replay ? replay->at(i).values : QList<int>();
        context.replayed = replay ? 0 : -1;
        context.log.clear();
        done.append({{family->Name(), op->name, {}}, {}});
        family->Prepare(context);
        op->run(context);
        done.last().first.values = context.values.mid(0, replay ? context.replayed : -1);
        Stress::Advance(10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (size_t c = 0; c < families.size() && !context.Failed(); ++c)
            families[c]->Check(context);
        done.last().second = context.log;
    }
    families.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    context.Expect(QApplication::topLevelWidgets().isEmpty(), "windows left after the families were deleted");
    running = nullptr;
    if (context.Failed())
        report(what + QStringLiteral(": ") + context.failure);
}

} // namespace

bool Stress::Register(std::unique_ptr<Family> (*factory)())
{
    factories().push_back(factory);
    return true;
}

int Stress::Context::Bounded(int low, int high)
{
    high = qMax(low, high);
    if (replayed >= 0)
        return replayed < values.size() ? qBound(low, values[replayed++], high) : low;
    values.append(high == low ? low : low + int(rng.bounded(quint32(high) - quint32(low) + 1u)));
    return values.last();
}

void Stress::Advance(int ms)
{
    for (int fired = 0;; ++fired) {
        QCoreApplication::sendPostedEvents(); // and the window system's, as the platform's dispatcher would
        QWindowSystemInterface::sendWindowSystemEvents(QEventLoop::AllEvents);
        QObjectList objects{qApp};
        for (QWidget* w : QApplication::topLevelWidgets())
            objects << w << w->findChildren<QObject*>();
        QHash<int, qint64> seen;
        std::tuple<qint64, int, int, QObject*> next{now + ms + 1, 0, 0, nullptr}; // due, id, interval, object
        for (QObject* o : std::as_const(objects)) {
            for (const auto& t : QAbstractEventDispatcher::instance()->registeredTimers(o)) {
                seen.insert(t.timerId, dueAt.value(t.timerId, now + t.interval));
                next = qMin(next, std::make_tuple(seen[t.timerId], t.timerId, int(t.interval), o));
            }
        }
        dueAt = seen;
        if (!std::get<3>(next))
            return void(now += ms);
        if (fired > 100000)
            report(QStringLiteral("timers keep firing without letting time pass"));
        ms -= int(std::get<0>(next) - now);
        now = std::get<0>(next);
        dueAt[std::get<1>(next)] = now + std::get<2>(next);
        QTimerEvent event(std::get<1>(next));
        QCoreApplication::sendEvent(std::get<3>(next), &event);
    }
}
// zb_stress [--seed N] [--steps S]: the regression table, then S steps from seed N.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(onMessage);
    QApplication app(argc, argv);
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL})
        std::signal(signal, [](int) { report(QStringLiteral("crashed")); });
    const QStringList args = app.arguments();
    const auto arg = [&args](const char* name, int value) {
        const int at = int(args.indexOf(QLatin1String(name)));
        return at > 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : value;
    };
    const int seed = arg("--seed", 1), steps = arg("--steps", 1000);
    for (const auto& [what, regression] : Regressions)
        run(0, 0, &regression, QStringLiteral("regression \"%1\" fails again").arg(QLatin1String(what)));
    run(quint32(seed), steps, nullptr, QStringLiteral("seed %1 (zb_stress --seed %1 replays it)").arg(seed));
    std::printf("zb_stress: the regressions and seed %d, %d steps: no invariant broken\n", seed, steps);
    return 0;
}
