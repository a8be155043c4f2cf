// Widgets handed to the wrong holder (itself, an ancestor, a part of another), slots that delete the
// emitter or an ancestor from inside the library's signals, two multi-document areas trading sub-windows.
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
#include <QTest>

namespace {

bool deferKills = false; // while widgets are moved or deleted, their signals come from inside Qt

// Deletes its victim; deleteLater() where the library asks: deferred steps, MDI signals, show/hide fades.
class Killer : public QObject
{
    Q_OBJECT
public:
    Killer(QObject* emitter, QObject* victim) : QObject(emitter), victim(victim) {}
    Q_SLOT void Kill() { Fade(ZBWidget::Steady); }
    Q_SLOT void Fade(int state) // Intensifying and Hiding are odd
    {
        const bool later = deferKills || state % 2 || qobject_cast<ZBMdiAreaWidget*>(sender()) ||
                           qobject_cast<ZBMdiSubWindow*>(sender());
        (later && victim) ? victim->deleteLater() : delete victim.data(); // a delete may take this killer too
    }
    QPointer<QObject> victim;
};

class HostileFamily : public Stress::Family
{
    QPointer<QWidget> host;        // holds the areas and the dock
    QList<QPointer<QWidget>> made; // the host, and sub-windows that may close to a fade outside it

public:
    ~HostileFamily() override { qDeleteAll(made); }
    const char* Name() const override { return "hostile"; }
    const char* Ops() const override { return "hand over:20|delete:4|arm:10|input:16|area:16|time:6"; }
    void Check(Stress::Context& c) override
    {
        for (ZBMdiAreaWidget* a : host ? host->findChildren<ZBMdiAreaWidget*>() : QList<ZBMdiAreaWidget*>()) {
            const ZBMdiSubWindow* s = a->ActiveSubWindow(); // Normal is 0
            c.Expect(!a->GetState() || (s && s->IsMaximized()),
                     "a maximised area has no maximised sub-window");
        }
    }

    void Run(Stress::Context& c, int op) override
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
        const auto pick = [&c](const auto& list) { return list.value(c.Bounded(0, int(list.size()) - 1)); };
        const QList<ZBMdiSubWindow*> subs = host->findChildren<ZBMdiSubWindow*>();
        QList<QAbstractButton*> buttons; // not Qt's hidden dock buttons: a closed floating dock is Qt's limit
        for (QAbstractButton* b : host->findChildren<QAbstractButton*>())
            buttons << (b->objectName().startsWith(QLatin1String("qt_")) ? nullptr : b);
        buttons.removeAll(nullptr);
        QList<QWidget*> pool = {areas[0], areas[1], dock, dock->TitleBar(), dock->GetWidget()};
        for (ZBMdiSubWindow* s : subs)
            pool << s << s->TitleBar() << s->GetWidget();
        pool.removeAll(nullptr);
        QWidget* w = pick(pool);
        ZBTitleBar* title = pick(host->findChildren<ZBTitleBar*>());
        ZBMdiSubWindow* sub = pick(subs);
        ZBMdiAreaWidget* area = pick(areas);
        const int how = c.Bounded(0, 9);
        c.Log(QStringLiteral("way %1 with a %2").arg(how).arg(QLatin1String(w->metaObject()->className())));
        deferKills = op < 2;
        if (op == 0 && how < 2 && title)
            how ? title->AddWidget(w, Qt::Alignment(1 << c.Bounded(0, 6))) : title->ReplaceBackground(w);
        else if (op == 0)
            how < 5 ? dock->SetWidget(w) : how < 8 && sub ? sub->SetWidget(w) : area->AddSubWindow(sub);
        else if (op == 1)
            how < 5 ? delete w : w->deleteLater();
        else if (op == 2)
            Arm(c, w);
        else if (op == 3 && how < 3 && title) // a double click, a text popup over w, or a button's click
            QTest::mouseDClick(title, Qt::LeftButton, {}, QPoint(5, 5));
        else if (op == 3 && how < 5) // at the ends of int too, like the sub-windows below: both saturate
            ZBPopupInfo::ShowTextPopup(QStringLiteral("n"), {}, how, {INT_MIN, INT_MAX}, w, 0, 40, how * 9);
        else if (QAbstractButton* b = op == 3 ? pick(buttons) : nullptr)
            b->click();
        else if (op == 4 && how < 5 && sub)
            how == 0   ? area->BlockMdiArea(!area->IsBlocked())
            : how == 1 ? area->SetActiveSubWindow(sub)
            : how == 2 ? sub->SetState(Qt::WindowStates(c.Bounded(0, 15)))
            : how == 3 ? (c.Chance(50) ? area->TileSubWindows() : area->CascadeSubWindows())
                       : sub->move(c.Chance(50) ? INT_MAX / 2 : INT_MIN / 2, INT_MIN / 2);
        else if (op == 4)
            made << area->AddWidget(how < 8 ? new QWidget(host)
                                            : nullptr); // a blocked area leaves it to host
        else if (op == 5)
            Stress::Advance(how * 60);
        deferKills = false;
    }

    static void Arm(Stress::Context& c, QObject* w) // a killer of w or an ancestor on some of w's signals
    {
        QObject* v = w; // Qt's own parts, like a scroll area's viewport, are spared
        for (int up = c.Bounded(0, 3); up-- > 0 && v->parent();)
            v = v->parent()->objectName().startsWith(QLatin1String("qt_")) ? v : v->parent();
        auto* k = new Killer(w, v);
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
