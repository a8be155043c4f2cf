// The randomized stress test: each ops_*.cpp file registers one family of operations.
#ifndef ZB_STRESS_H
#define ZB_STRESS_H

#include <QPoint>
#include <QRandomGenerator>
#include <QString>
#include <memory>

class QWidget;

namespace Stress {

/*! What a family's operations draw on: the seeded generator, and a log of the current step. */
class Context
{
public:
    explicit Context(quint32 seed);

    int Bounded(int low, int high); // inclusive
    bool Chance(int percent);
    QPoint PointIn(const QWidget* widget); // a random point inside the widget's rect()

    /*! Describes the operation under way; printed with the seed and step number on a failure. */
    void Log(const QString& what);
    /*! Records a broken invariant. */
    void Fail(const QString& why);

    bool Failed() const { return !failure.isEmpty(); }
    QString LastLog() const { return lastLog; }
    QString Failure() const { return failure; }

    QRandomGenerator rng;

private:
    QString lastLog;
    QString failure;
};

/*!
    A family of random operations over live widgets. Step() performs one random public call or
    input event; Check() verifies the family's invariants after every step of any family. The
    family owns its widgets and deletes what is left in its destructor.
*/
class Family
{
public:
    virtual ~Family() = default;
    virtual const char* Name() const = 0;
    virtual void Step(Context& context) = 0;
    virtual void Check(Context& context) = 0;
};

using FamilyFactory = std::unique_ptr<Family> (*)();

struct Registrar
{
    explicit Registrar(FamilyFactory factory);
};

} // namespace Stress

#define ZB_STRESS_CONCAT_(a, b) a##b
#define ZB_STRESS_CONCAT(a, b) ZB_STRESS_CONCAT_(a, b)
/*! Registers a family: ZB_STRESS_FAMILY(FrameFamily); the type must be default-constructible. */
#define ZB_STRESS_FAMILY(Type)                                                                               \
    static const Stress::Registrar ZB_STRESS_CONCAT(zbStress_, __LINE__)(                                    \
        []() -> std::unique_ptr<Stress::Family> { return std::unique_ptr<Stress::Family>(new Type); })

#endif // ZB_STRESS_H
