// Widgets handed to the wrong holder (itself, an ancestor, a part of another), slots that delete the
// emitter from inside the library's signals, two multi-document areas trading sub-windows.
#include "stress.h"

#include <ZBDockWidget.h>
#include <ZBMdiAreaWidget.h>
#include <ZBMdiSubWindow.h>
#include <ZBPopupInfo.h>
#include <ZBTitleBar.h>

#include <QAbstractButton>
#include <QMainWindow>
#include <QMetaMethod>
#include <QPointer>

namespace {

bool deferKills = false; // while widgets are moved or deleted, their signals come from inside Qt

// Deletes its victim; deleteLater() where the library asks: deferred steps, MDI signals, show/hide fades.
class Killer : public QObject
{
    Q_OBJECT
public:
    explicit Killer(QObject* emitter) : QObject(emitter), victim(emitter) {}
    Q_SLOT void Kill() { Fade(ZBWidget::Steady); }
    Q_SLOT void Fade(int state) // Intensifying and Hiding are odd
    {
        if (!deferKills && !(state % 2) && !qobject_cast<ZBMdiAreaWidget*>(sender()) &&
            !qobject_cast<ZBMdiSubWindow*>(sender()))
            delete victim.data(); // and this killer with it
        else if (victim)
            victim->deleteLater();
    }
    QPointer<QObject> victim;
};

class HostileFamily : public Stress::Family
{
    QPointer<QWidget> host;        // holds the areas and the dock
    QList<QPointer<QWidget>> made; // the host, and sub-windows that may close to a fade outside it
    // The step's picks: a widget, a title bar, a sub-window, an area, and a number from 0 to 9.
    QWidget* w = nullptr;
    ZBTitleBar* title = nullptr;
    ZBMdiSubWindow* sub = nullptr;
    ZBMdiAreaWidget* area = nullptr;
    int how = 0;

    template <typename T, typename F>
    static void With(T* p, F f) // f(p) where there is a p
    {
        if (p)
            f(p);
    }

public:
    HostileFamily()
    {
        const auto op = [this](const char* name, int weight, bool defer,
                               std::function<void(Stress::Context&)> run) {
            ops.push_back({name, weight, [defer, run](Stress::Context& c) {
                               deferKills = defer;
                               run(c);
                               deferKills = false;
                           }});
        };
        op("title bar AddWidget", 2, true, [this](Stress::Context& c) {
            With(title, [&](ZBTitleBar* t) { t->AddWidget(w, Qt::Alignment(1 << c.Bounded(0, 6))); });
        });
        op("ReplaceBackground", 2, true,
           [this](auto&) { With(title, [&](ZBTitleBar* t) { t->ReplaceBackground(w); }); });
        op("dock SetWidget", 6, true, [this](auto&) { host->findChild<ZBDockWidget*>()->SetWidget(w); });
        op("sub-window SetWidget", 6, true,
           [this](auto&) { With(sub, [&](ZBMdiSubWindow* s) { s->SetWidget(w); }); });
        op("AddSubWindow", 4, true, [this](auto&) { area->AddSubWindow(sub); });
        op("delete", 2, true, [this](auto&) { delete w; });
        op("deleteLater()", 2, true, [this](auto&) { w->deleteLater(); });
        op("arm", 10, false, [this](Stress::Context& c) { Arm(c, w); });
        op("text popup", 3, false, [this](auto&) { // over w, at the ends of int
            ZBPopupInfo::ShowTextPopup(QStringLiteral("n"), {}, how, {INT_MIN, INT_MAX}, w, 0, 40, how * 9);
        });
        op("click a button", 8, false,
           [this](Stress::Context& c) { // not Qt's: a closed floating dock is Qt's limit
               QList<QAbstractButton*> buttons;
               for (QAbstractButton* b : host->findChildren<QAbstractButton*>())
                   buttons << (b->objectName().startsWith(QLatin1String("qt_")) ? nullptr : b);
               buttons.removeAll(nullptr);
               With(c.Pick(buttons), [](QAbstractButton* b) { b->click(); });
           });
        op("BlockMdiArea", 2, false, [this](auto&) { area->BlockMdiArea(!area->IsBlocked()); });
        op("SetActiveSubWindow", 2, false, [this](auto&) { area->SetActiveSubWindow(sub); });
        op("SetState", 2, false, [this](Stress::Context& c) {
            With(sub, [&](ZBMdiSubWindow* s) { s->SetState(Qt::WindowStates(c.Bounded(0, 15))); });
        });
        op("tile or cascade", 2, false, [this](Stress::Context& c) {
            if (c.Chance(50))
                area->TileSubWindows();
            else
                area->CascadeSubWindows();
        });
        op("AddWidget", 6, false, [this](auto&) { // a blocked area leaves the widget to host
            made << area->AddWidget(how < 8 ? new QWidget(host) : nullptr);
        });
        op("time", 6, false, [this](auto&) { Stress::Advance(how * 60); });
    }
    ~HostileFamily() override { qDeleteAll(made); }
    const char* Name() const override { return "hostile"; }
    void Check(Stress::Context& c) override
    {
        for (ZBMdiAreaWidget* a : host ? host->findChildren<ZBMdiAreaWidget*>() : QList<ZBMdiAreaWidget*>())
            c.Expect(!a->GetState() || (a->ActiveSubWindow() && a->ActiveSubWindow()->IsMaximized()),
                     "a maximised area has no maximised sub-window"); // Normal is 0
    }

    void Prepare(Stress::Context& c) override
    {
        auto areas = host ? host->findChildren<ZBMdiAreaWidget*>() : QList<ZBMdiAreaWidget*>();
        auto* dock = host ? host->findChild<ZBDockWidget*>() : nullptr;
        if (areas.size() < 2 || !dock) {
            delete host.data();
            made << (host = new QWidget);
            (new QMainWindow(host))->addDockWidget(Qt::LeftDockWidgetArea, dock = new ZBDockWidget(host));
            areas = {new ZBMdiAreaWidget(host), new ZBMdiAreaWidget(host)};
            host->show();
        }
        const QList<ZBMdiSubWindow*> subs = host->findChildren<ZBMdiSubWindow*>();
        QList<QWidget*> pool = {areas[0], areas[1], dock, dock->TitleBar(), dock->GetWidget()};
        for (ZBMdiSubWindow* s : subs)
            pool << s << s->TitleBar() << s->GetWidget();
        pool.removeAll(nullptr);
        w = c.Pick(pool);
        title = c.Pick(host->findChildren<ZBTitleBar*>());
        sub = c.Pick(subs);
        area = c.Pick(areas);
        how = c.Bounded(0, 9);
        c.Log(QStringLiteral("way %1 with a %2").arg(how).arg(QLatin1String(w->metaObject()->className())));
    }

    static void Arm(Stress::Context& c, QObject* w) // a killer of w on some of w's signals
    {
        auto* k = new Killer(w);
        const QMetaMethod kill = k->metaObject()->method(k->metaObject()->indexOfSlot("Kill()")),
                          fade = k->metaObject()->method(k->metaObject()->indexOfSlot("Fade(int)"));
        for (const QMetaObject* m = w->metaObject(); QByteArray(m->className()).startsWith("ZB");
             m = m->superClass())
            for (int i = m->methodOffset(); i < m->methodCount(); ++i)
                if (m->method(i).methodType() == QMetaMethod::Signal && c.Chance(50)) // several may race
                    QObject::connect(w, m->method(i), k,
                                     m->method(i).name() == "FadeStateChanged" ? fade : kill);
    }
};

} // namespace

ZB_STRESS_FAMILY(HostileFamily);

#include "ops_hostile.moc"
