// Random operations over live frameless windows: fades, deletion (also from fade slots), window
// buttons and states, content, size limits, titles, and mouse sequences over title bars, main
// content and edges.
#include "stress.h"

#include "ZBTitleBar.h"
#include "ZBWidget.h"

#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

class StressFrame : public ZBWidget
{
public:
    using ZBWidget::CloseButton;
    using ZBWidget::MaximizeButton;
    using ZBWidget::MinimizeButton;
    using ZBWidget::ReplaceContent;
    using ZBWidget::RestoreButton;
    using ZBWidget::ZBWidget;
};

struct Frame
{
    QPointer<StressFrame> widget;
    QString name;
    QString title;                // the text the title label must show
    QPointer<QWidget> oldContent; // replaced: its title must no longer reach the title bar
    bool ignoreTitleMove = false;
    bool ignoreResize = false;
    bool limited = false; // ever had a maximum size: Qt places such windows its own way
};

QString str(const QRect& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void advance(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QLabel* titleLabel(ZBWidget* frame)
{
    auto* background = frame->TitleBar()->findChild<QWidget*>(QStringLiteral("TITLECONTENT"));
    auto* grid = background ? qobject_cast<QGridLayout*>(background->layout()) : nullptr;
    QLayoutItem* item = grid ? grid->itemAtPosition(0, 1) : nullptr;
    return item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
}

Qt::WindowStates sizeState(const QWidget* w)
{
    return w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen);
}

// Qt drops the maximised flag from a widget without telling its window when a size limit resizes
// it, and restores a 1x1 normal geometry on the offscreen platform in places: such a window
// promises nothing about drags.
bool promising(QWidget* w, const QSize& size)
{
    QWindow* handle = w->isWindow() ? w->windowHandle() : nullptr;
    const auto mask = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
    return (!handle || sizeState(w) == (handle->windowStates() & mask)) &&
           size == size.expandedTo(w->minimumSize()).boundedTo(w->maximumSize());
}

QWidget* hitAt(QWidget* w, const QPoint& global)
{
    QWidget* top = w->window();
    const QPoint local = top->mapFromGlobal(global);
    return top->isVisible() && top->rect().contains(local) ? top->childAt(local) : nullptr;
}

QRect flip(const QRect& r)
{
    return QRect(r.y(), r.x(), r.height(), r.width());
}

// Along x: an edge drag never moves both edges, keeps the dragged edge at its distance from the
// mouse and stops at the minimum size hint (or a smaller maximum).
QString resizeFault(const QRect& a, const QRect& b, int move, int hint, int minimum, int maximum)
{
    if (b.width() == a.width())
        return QString();
    if (b.width() < qMin(hint, maximum))
        return QStringLiteral("resized below the minimum size hint");
    if (minimum > hint || maximum < QWIDGETSIZE_MAX)
        return QString(); // Qt enforces such limits keeping the top-left corner
    if (b.left() != a.left() && b.right() != a.right())
        return QStringLiteral("both edges of a side moved");
    const int edgeMove = b.left() != a.left() ? b.left() - a.left() : b.right() - a.right();
    if (b.width() != hint && edgeMove != move)
        return QStringLiteral("the dragged edge lost its distance from the mouse");
    return QString();
}

// What the fade calls and the re-entrant fade slots do to a frame.
const struct
{
    const char* name;
    void (*run)(StressFrame*);
} actions[] = {
    {"delete", [](StressFrame* w) { delete w; }},
    {"deleteLater()", [](StressFrame* w) { w->deleteLater(); }},
    {"show()", [](StressFrame* w) { w->show(); }},
    {"hide()", [](StressFrame* w) { w->hide(); }},
    {"close()", [](StressFrame* w) { w->close(); }},
    {"CancelFadeAction(true)", [](StressFrame* w) { w->CancelFadeAction(true); }},
    {"CancelFadeAction(false)", [](StressFrame* w) { w->CancelFadeAction(false); }},
};

class FrameFamily : public Stress::Family
{
public:
    FrameFamily()
    {
        desk = new QWidget(nullptr, Qt::FramelessWindowHint);
        desk->setGeometry(10, 10, 520, 400);
        desk->show();
    }
    ~FrameFamily() override
    {
        for (Frame& frame : frames)
            delete frame.widget.data();
        delete desk;
    }
    const char* Name() const override { return "frame"; }

    void Step(Stress::Context& context) override
    {
        using T = FrameFamily;
        using C = Stress::Context;
        static const struct
        {
            int weight;
            const char* name;
            void (*run)(T&, C&, Frame&);
        } ops[] = {
            {20, "fade calls", [](T& t, C& c, Frame& f) { t.FadeCalls(c, f); }},
            {3, "SetFadeTime/SetIntensifyTime",
             [](T&, C& c, Frame& f) {
                 static const int times[] = {-100, -1, 0, 0, 40, 90, 200};
                 const int ms = times[c.Bounded(0, 6)];
                 c.Chance(50) ? f.widget->SetFadeTime(ms) : f.widget->SetIntensifyTime(ms);
             }},
            {1, "AddMinimizeButton()", [](T&, C&, Frame& f) { f.widget->AddMinimizeButton(); }},
            {1, "AddMaximizeButton()", [](T&, C&, Frame& f) { f.widget->AddMaximizeButton(); }},
            {1, "AddRestoreButton()", [](T&, C&, Frame& f) { f.widget->AddRestoreButton(); }},
            {4, "click a window button", [](T& t, C& c, Frame& f) { t.ClickButton(c, f); }},
            {2, "showMaximized()", [](T&, C&, Frame& f) { f.widget->showMaximized(); }},
            {1, "showMinimized()", [](T&, C&, Frame& f) { f.widget->showMinimized(); }},
            {2, "showNormal()", [](T&, C&, Frame& f) { f.widget->showNormal(); }},
            {1, "ReplaceContent(nullptr)", [](T&, C&, Frame& f) { f.widget->ReplaceContent(nullptr); }},
            {1, "ReplaceContent(the same)",
             [](T&, C&, Frame& f) { f.widget->ReplaceContent(f.widget->Content()); }},
            {1, "delete the content behind the frame's back",
             [](T&, C&, Frame& f) { delete f.widget->Content(); }},
            {2, "ReplaceContent(a new titled widget)",
             [](T& t, C& c, Frame& f) {
                 QWidget* content = c.Chance(50)
                                        ? new QLabel(QStringLiteral("A label wider than a narrow window"))
                                        : new QWidget;
                 content->setMinimumSize(c.Bounded(0, 320), c.Bounded(0, 240));
                 content->setWindowTitle(f.title = t.NewTitle(c));
                 f.oldContent = f.widget->Content();
                 f.widget->ReplaceContent(content);
             }},
            {1, "IgnoreTitleMove(toggle)",
             [](T&, C&, Frame& f) { f.widget->IgnoreTitleMove(f.ignoreTitleMove = !f.ignoreTitleMove); }},
            {2, "IgnoreResize(toggle), maybe with the pointer resting on an edge",
             [](T& t, C& c, Frame& f) { t.Ignore(c, f); }},
            {1, "setMinimumSize",
             [](T&, C& c, Frame& f) { f.widget->setMinimumSize(c.Bounded(0, 420), c.Bounded(0, 320)); }},
            {1, "setFixedWidth", [](T&, C& c, Frame& f) { f.widget->setFixedWidth(c.Bounded(120, 480)); }},
            {1, "setFixedHeight", [](T&, C& c, Frame& f) { f.widget->setFixedHeight(c.Bounded(90, 360)); }},
            {1, "lift the maximum size",
             [](T&, C&, Frame& f) { f.widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }},
            {5, "set a title", [](T& t, C& c, Frame& f) { t.Title(c, f); }},
            {4, "hover",
             [](T& t, C& c, Frame& f) {
                 for (int i = c.Bounded(1, 4); i > 0 && f.widget; --i)
                     t.Mouse(QTest::MouseMove, f.widget, t.PointOn(c, f.widget, c.Bounded(0, 5)));
             }},
            {15, "drag", [](T& t, C& c, Frame& f) { t.DragOp(c, f); }},
            {4, "run the event loop", [](T&, C& c, Frame&) { advance(c.Bounded(1, 60)); }},
            {3, "connect a one-shot re-entrant fade slot", [](T& t, C& c, Frame& f) { t.Reenter(c, f); }},
        };
        frames.erase(std::remove_if(frames.begin(), frames.end(), [](const Frame& f) { return !f.widget; }),
                     frames.end());
        const auto topLevels =
            std::count_if(frames.begin(), frames.end(), [](const Frame& f) { return f.widget->isWindow(); });
        if (topLevels < 3 && (frames.empty() || context.Chance(8)))
            return Create(context, false);
        if (size_t(topLevels) == frames.size() && context.Chance(5))
            return Create(context, true);
        int total = 0;
        for (const auto& op : ops)
            total += op.weight;
        Frame& frame = frames[context.Bounded(0, int(frames.size()) - 1)];
        for (int roll = context.Bounded(0, total - 1), i = 0;; roll -= ops[i++].weight) {
            if (roll < ops[i].weight) {
                context.Log(frame.name + QStringLiteral(": ") + QLatin1String(ops[i].name));
                return ops[i].run(*this, context, frame); // operations never add or remove frames
            }
        }
    }

    void Check(Stress::Context& c) override
    {
        for (Frame& f : frames) {
            StressFrame* w = f.widget;
            if (!w)
                continue;
            f.limited = f.limited || w->maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            QLabel* label = titleLabel(w);
            if (!label || label->text() != f.title)
                return c.Fail(
                    QStringLiteral("%1: the title label shows \"%2\", the last title set was \"%3\"")
                        .arg(f.name, label ? label->text() : QStringLiteral("<none>"), f.title));
            if (!w->CloseButton() ||
                w->findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON")) != w->CloseButton())
                return c.Fail(f.name + QStringLiteral(": the close button is missing"));
            if (!(w->windowOpacity() >= 0.0 && w->windowOpacity() <= 1.0))
                return c.Fail(f.name + QStringLiteral(": opacity %1").arg(w->windowOpacity()));
            if (f.limited || !w->isWindow() || !w->isVisible() || sizeState(w) != Qt::WindowMaximized ||
                !w->screen() || !promising(w, w->size()))
                continue;
            const QRect available = w->screen()->availableGeometry(), g = w->geometry();
            if (g.topLeft() != available.topLeft() || g.size() != g.size().expandedTo(available.size()))
                return c.Fail(
                    f.name +
                    QStringLiteral(": maximised at %1 on a work area of %2").arg(str(g), str(available)));
        }
    }

private:
    void Create(Stress::Context& c, bool child)
    {
        const Qt::WindowFlags kinds[] = {Qt::Window, Qt::Tool, Qt::Dialog};
        auto* w = child ? new StressFrame(desk) : new StressFrame(nullptr, kinds[c.Bounded(0, 2)]);
        w->setAttribute(Qt::WA_DeleteOnClose, !child && c.Chance(30));
        w->setGeometry(c.Bounded(0, 200), c.Bounded(0, 200), c.Bounded(240, 420), c.Bounded(160, 320));
        frames.emplace_back();
        frames.back().widget = w;
        frames.back().name = QStringLiteral("frame %1").arg(++created);
        c.Log(QStringLiteral("create %1%2")
                  .arg(frames.back().name, child ? QStringLiteral(" in the desk") : QString()));
        SetTitle(frames.back(), w, NewTitle(c));
        if (child || c.Chance(60))
            w->show();
    }

    QString NewTitle(Stress::Context& c)
    {
        const QString titles[] = {
            QStringLiteral("Ünïcödé ✓ %1"), QStringLiteral("&Window %1"),
            QStringLiteral("A title much longer than a narrow title bar has room for, %1"),
            QStringLiteral("Window %1"), QString()};
        const int which = c.Bounded(0, 4);
        return which == 4 ? QString() : titles[which].arg(++titleCount);
    }

    void SetTitle(Frame& f, QWidget* target, const QString& title)
    {
        if (target->windowTitle() != title || title.isEmpty()) // QWidget drops the same title silently
            f.title = title;
        target->setWindowTitle(title);
    }

    // Delivers a mouse event through the window system to target's window, or to the desk when
    // that is gone or hidden so that no button stays pressed. Returns the global position used.
    QPoint Mouse(QTest::MouseAction action, QWidget* target, const QPoint& global,
                 Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* top = target && target->window()->isVisible() ? target->window() : nullptr;
        QWindow* handle = (top ? top : desk)->windowHandle();
        if (!handle || (!top && action != QTest::MouseMove && action != QTest::MouseRelease))
            return global;
        QPoint local = handle->mapFromGlobal(global);
        if (local.isNull()) // QTest reads (0, 0) as the window's centre
            local = QPoint(0, 1);
        const QPoint delivered = handle->mapToGlobal(local);
        QTest::mouseEvent(action, handle, action == QTest::MouseMove ? Qt::NoButton : button, Qt::NoModifier,
                          local);
        return delivered;
    }

    // A random global point: 0 title bar, 1 main content, 2 edge band, 3 corner, 4 outside, 5 anywhere.
    QPoint PointOn(Stress::Context& c, StressFrame* w, int zone)
    {
        const int width = w->width(), height = w->height(), depth = c.Bounded(0, 6);
        const int x = c.Chance(50) ? depth : width - 1 - depth, y = c.Chance(50) ? depth : height - 1 - depth;
        auto* main = w->findChild<QWidget*>(QStringLiteral("ZBWIDGETMAINCONTENT"));
        QPoint p = c.PointIn(w);
        if (zone == 0)
            p = w->TitleBar()->mapTo(w, w->TitleBar()->rect().center());
        else if (zone == 1 && main)
            p = main->mapTo(w, c.PointIn(main));
        else if (zone == 2)
            p = c.Chance(50) ? QPoint(x, p.y()) : QPoint(p.x(), y);
        else if (zone == 3)
            p = QPoint(x, y);
        else if (zone == 4)
            p = QPoint(-1 - depth, p.y());
        return w->mapToGlobal(p);
    }

    // One fade call, or two with the second landing while the first one's fade runs; show() is
    // favoured or hidden frames would pile up.
    void FadeCalls(Stress::Context& c, Frame& f)
    {
        const int first = c.Chance(35) ? 2 : c.Bounded(c.Chance(90) ? 2 : 0, 6), second = c.Bounded(0, 20);
        const int gap = c.Bounded(0, 70);
        c.Log(c.LastLog() + QStringLiteral(": %1, then %2 ms later %3")
                                .arg(QLatin1String(actions[first].name))
                                .arg(gap)
                                .arg(QLatin1String(second > 6 ? "nothing" : actions[second].name)));
        actions[first].run(f.widget);
        if (second > 6 || !f.widget)
            return;
        advance(gap);
        if (f.widget)
            actions[second].run(f.widget);
    }

    void ClickButton(Stress::Context& c, Frame& f)
    {
        StressFrame* w = f.widget;
        QToolButton* buttons[] = {w->CloseButton(), w->MinimizeButton(), w->MaximizeButton(),
                                  w->RestoreButton()};
        QToolButton* button = buttons[c.Bounded(0, 3)];
        if (!button)
            return;
        const QPoint global = button->mapToGlobal(button->rect().center());
        if (button->isVisible() && hitAt(w, global) == button && c.Chance(70)) {
            Mouse(QTest::MousePress, button, global);
            Mouse(QTest::MouseRelease, button, global);
        } else {
            button->click();
        }
    }

    // With the pointer resting on an edge and pressing there next, the cursor it shows is stale
    // while the flag is not.
    void Ignore(Stress::Context& c, Frame& f)
    {
        const QPoint rest = PointOn(c, f.widget, 2);
        const bool drag = c.Chance(50);
        if (drag)
            Mouse(QTest::MouseMove, f.widget, rest);
        f.widget->IgnoreResize(f.ignoreResize = !f.ignoreResize);
        if (drag && f.widget)
            Drag(c, f, rest, Qt::LeftButton, false, 160);
    }

    void Title(Stress::Context& c, Frame& f)
    {
        const QString title = c.Chance(15) ? f.widget->windowTitle() : NewTitle(c);
        const int target = c.Bounded(0, 5);
        if (target <= 2)
            SetTitle(f, f.widget, title);
        else if (target <= 4 && f.widget->Content())
            SetTitle(f, f.widget->Content(), title);
        else if (target == 5 && f.oldContent)
            f.oldContent->setWindowTitle(title);
    }

    void DragOp(Stress::Context& c, Frame& f)
    {
        const int zone = c.Bounded(0, 5);
        if (c.Chance(5))
            return void(Mouse(QTest::MouseDClick, f.widget, PointOn(c, f.widget, zone)));
        const Qt::MouseButton button = c.Chance(88)   ? Qt::LeftButton
                                       : c.Chance(50) ? Qt::RightButton
                                                      : Qt::MiddleButton;
        Drag(c, f, PointOn(c, f.widget, zone), button, c.Chance(70), zone == 2 || zone == 3 ? 160 : 60);
    }

    // Presses at press (after a hover there, or finding the cursor an earlier hover left), moves
    // randomly and releases, checking after each move what the drag may do.
    void Drag(Stress::Context& c, Frame& f, const QPoint& press, Qt::MouseButton button, bool arrive,
              int reach)
    {
        QPointer<StressFrame> w = f.widget;
        const QRect before = w->geometry();
        const Qt::WindowStates state = w->windowState();
        QWidget* hit = hitAt(w, press);
        ZBTitleBar* bar = w->TitleBar();
        // A press well inside the title bar, off its buttons, after a hover there starts a title drag.
        bool onBar = arrive && button == Qt::LeftButton && hit && (hit == bar || bar->isAncestorOf(hit)) &&
                     bar->rect().adjusted(8, 8, -8, -8).contains(bar->mapFromGlobal(press));
        for (QWidget* h = hit; h; h = h->parentWidget())
            onBar = onBar && !qobject_cast<QToolButton*>(h);
        if (arrive)
            Mouse(QTest::MouseMove, w, press);
        const QPoint pressed = Mouse(QTest::MousePress, w, press, button);
        QPoint at = press;
        bool promises = promising(w, before.size());
        for (int i = c.Bounded(1, 5); i > 0; --i) {
            at += QPoint(c.Bounded(-reach, reach), c.Bounded(-reach, reach));
            const QPoint mouse = Mouse(QTest::MouseMove, w, at);
            promises =
                promises && w && w->isVisible() && w->windowState() == state && promising(w, before.size());
            if (!promises || c.Failed())
                continue;
            QWidget* parent = w->isWindow() ? nullptr : w->parentWidget();
            const QPoint move =
                parent ? parent->mapFromGlobal(mouse) - parent->mapFromGlobal(pressed) : mouse - pressed;
            const QRect now = w->geometry();
            const QSize hint = w->minimumSizeHint(), least = w->minimumSize(), most = w->maximumSize();
            QString fault;
            if ((sizeState(w) || button != Qt::LeftButton) && now != before)
                fault = QStringLiteral("a maximised or minimised window, or a non-left drag, moved");
            else if (f.ignoreResize && now.size() != before.size())
                fault = QStringLiteral("a window that ignores resizing was resized");
            else if (onBar && !sizeState(w) && now != (f.ignoreTitleMove ? before : before.translated(move)))
                fault = QStringLiteral("a title drag did not follow the mouse, or moved while ignoring");
            else if (button == Qt::LeftButton)
                fault = resizeFault(before, now, move.x(), hint.width(), least.width(), most.width()) +
                        resizeFault(flip(before), flip(now), move.y(), hint.height(), least.height(),
                                    most.height());
            if (!fault.isEmpty())
                c.Fail(QStringLiteral("%1: %2: %3 -> %4 with the mouse moved by (%5,%6)")
                           .arg(f.name, fault, str(before), str(now))
                           .arg(move.x())
                           .arg(move.y()));
        }
        Mouse(QTest::MouseRelease, w, at, button);
    }

    // A one-shot slot on the fade signal that calls back into the frame, or deletes it, while the
    // frame's own code is still on the stack (deleting at once from closeEvent(), state 4, is left
    // out: QWidget::close() is still running).
    void Reenter(Stress::Context& c, Frame& f)
    {
        const int state = 2 * c.Bounded(0, 2);
        const int action = state != 4 && c.Chance(40) ? 0 : c.Bounded(1, 6);
        c.Log(c.LastLog() +
              QStringLiteral(": on state %1 do %2").arg(state).arg(QLatin1String(actions[action].name)));
        QPointer<StressFrame> w = f.widget;
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection =
            QObject::connect(w, &ZBWidget::FadeStateChanged, w, [w, state, action, connection](int now) {
                if (now != state || !w)
                    return;
                QObject::disconnect(*connection);
                actions[action].run(w);
            });
    }

    QWidget* desk; // holds the child frame and takes mouse events no frame can take
    std::vector<Frame> frames;
    int created = 0;
    int titleCount = 0;
};

} // namespace

ZB_STRESS_FAMILY(FrameFamily);
