// The randomized stress test: each ops_*.cpp file registers one family of operations.
#pragma once

#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace Stress {

// What an operation draws on: every number comes from Bounded(), seeded in a run, recorded in a replay.
struct Context
{
    int Bounded(int low, int high); // inclusive
    bool Chance(int percent) { return Bounded(0, 99) < percent; }
    template <typename List> // an element, or a default one when there is none
    auto Pick(const List& list)
    {
        return list.value(Bounded(0, int(list.size()) - 1));
    }
    // Describes the step under way; the first broken invariant fails it (it explains the rest).
    void Log(const QString& what) { log += (log.isEmpty() ? QString() : QStringLiteral("; ")) + what; }
    void Expect(bool holds, const QString& otherwise) { failure = holds || Failed() ? failure : otherwise; }
    bool Failed() const { return !failure.isEmpty(); }

    QRandomGenerator rng;
    QList<int> values; // drawn by the step under way, or to be drawn in a replay
    int replayed = -1; // in a replay, how many values were drawn; -1 in a run
    QString log, failure;
};

// Lets `ms` of virtual time pass without an event loop: due timers fire in order, events delivered between.
void Advance(int ms);

// An operation: its name in failure reports and regressions, how often it is chosen, what it does.
struct Op
{
    const char* name;
    int weight;
    std::function<void(Context&)> run;
};

// Operations over live widgets that it owns, run without an event loop; Check() runs after every step.
struct Family
{
    virtual ~Family() = default;
    virtual const char* Name() const = 0;
    virtual void Prepare(Context&) {} // draws what every operation of the family works on, before it
    virtual void Check(Context& context) = 0;
    std::vector<Op> ops;
};

bool Register(std::unique_ptr<Family> (*factory)());

// A family's operation and the numbers it drew: a regression table holds lists of them.
struct Step
{
    const char* family;
    const char* op;
    QList<int> values;
};

} // namespace Stress

// Registers a default-constructible family type.
#define ZB_STRESS_FAMILY(Type)                                                                               \
    static const bool zbStressRegistered =                                                                   \
        Stress::Register([]() -> std::unique_ptr<Stress::Family> { return std::make_unique<Type>(); })
