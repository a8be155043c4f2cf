// Random operations over live frameless windows: show, hide, close and delete them, cancel and retime
// their fades, add buttons and click them, maximise and minimise them, replace their content, change
// their titles and size limits, and hover, press, drag and release the mouse over their title bars,
// main content and edges.
#include "stress.h"

#include "ZBTitleBar.h"
#include "ZBWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

// An application's subclass reaches the protected parts the same way.
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

// What the fade states announced so far allow next: 0 only after 4, 2 only after 1 or 3.
struct FadeLog
{
    int last = 0;
    QString broken;

    void Record(int state)
    {
        const bool allowed = state == 1 || state == 3 || state == 4 || (state == 0 && last == 4) ||
                             (state == 2 && (last == 1 || last == 3));
        if (!allowed && broken.isEmpty())
            broken = QStringLiteral("FadeStateChanged(%1) after %2").arg(state).arg(last);
        last = state;
    }
};

// One window under test and what the operations so far make it promise.
struct Frame
{
    QPointer<StressFrame> widget;
    QString name;
    QString title; // the text the title label must show
    bool ignoreTitleMove = false;
    bool ignoreResize = false;
    int extraButtons = 0;
    QPointer<QWidget> oldContent; // replaced, waiting for its deferred deletion
    std::shared_ptr<FadeLog> fades = std::make_shared<FadeLog>();
    // Whether the window state changed since the maximize or restore button was made: only then
    // does the button's visibility follow the state, as the last state change announced it (Qt
    // changes the state without a word in places, as resizing a minimised maximised window does).
    bool maximizeFollows = false;
    bool restoreFollows = false;
    bool announcedMaximized = false;
    QSize maximumAtChange; // the maximum size when the state last changed
    QRect normalGeometry;  // the geometry a shown normal window had when it was maximised
    // Whether the frame must be shown once its fades have ended: 1 yes, 0 no, -1 unknown (after
    // operations whose outcome depends on timing, or while a re-entrant slot waits to fire).
    int expectVisible = 0;
    std::shared_ptr<int> waitingSlots = std::make_shared<int>(0);
    // A frame the test deletes (or has a slot delete) may vanish at any time; so may a window with
    // Qt::WA_DeleteOnClose that may have closed: the event loop deletes it later, even if it is
    // shown again in between.
    bool deletedByTest = false;
    bool deleteOnClose = false;
    bool closeRequested = false;

    bool MayVanish() const { return deletedByTest || (deleteOnClose && closeRequested); }
    void Expect(int visible)
    {
        expectVisible = *waitingSlots > 0 || (visible == 1 && MayVanish()) ? -1 : visible;
    }
    void RequestClose()
    {
        closeRequested = true;
        Expect(0);
    }
};

// Notes window-state changes of the frames for the button checks.
class StateWatcher : public QObject
{
public:
    std::function<void(QObject*)> changed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange && changed)
            changed(watched);
        return false;
    }
};

QString describe(const QRect& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString describe(const QSize& s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

QString describe(const QPoint& p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

// The points of a mouse path, as offsets from where it started.
QString describe(const std::vector<QPoint>& path, const QPoint& start)
{
    QStringList steps;
    for (const QPoint& p : path)
        steps << describe(p - start);
    return steps.join(QLatin1Char(' '));
}

// Runs the event loop for about ms milliseconds, as an application's loop would.
void advance(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QLabel* titleLabel(ZBWidget* frame)
{
    ZBTitleBar* bar = frame->TitleBar();
    QWidget* background = bar ? bar->findChild<QWidget*>(QStringLiteral("TITLECONTENT")) : nullptr;
    auto* grid = background ? qobject_cast<QGridLayout*>(background->layout()) : nullptr;
    QLayoutItem* item = grid ? grid->itemAtPosition(0, 1) : nullptr;
    return item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
}

bool maximizedOrMinimized(const QWidget* widget)
{
    return widget->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen);
}

// Qt drops the maximised flag from a widget's state without telling its window when a size limit
// resizes a maximised widget; the platform then keeps the window where it is and ignores new
// geometry. Mouse drags promise nothing on such a window.
bool platformAgrees(QWidget* widget)
{
    QWindow* handle = widget->isWindow() ? widget->windowHandle() : nullptr;
    if (!handle)
        return true;
    const Qt::WindowStates mask = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
    return (widget->windowState() & mask) == (handle->windowStates() & mask);
}

// Whether a press at global would land on a tool button of the frame's window (and so click it).
bool hitsButton(QWidget* widget, const QPoint& global)
{
    QWidget* top = widget->window();
    for (QWidget* hit = top->childAt(top->mapFromGlobal(global)); hit && hit != top;
         hit = hit->parentWidget()) {
        if (qobject_cast<QToolButton*>(hit))
            return true;
    }
    return false;
}

class FrameFamily : public Stress::Family
{
public:
    FrameFamily()
    {
        desk = new QWidget(nullptr, Qt::FramelessWindowHint);
        desk->setObjectName(QStringLiteral("desk"));
        desk->setGeometry(QRect(QPoint(10, 10), QSize(520, 400)));
        desk->show();
        watcher.changed = [this](QObject* watched) {
            for (Frame& frame : frames) {
                if (frame.widget == watched) {
                    frame.maximizeFollows = true;
                    frame.restoreFollows = true;
                    frame.announcedMaximized = frame.widget->windowState() & Qt::WindowMaximized;
                    frame.maximumAtChange = frame.widget->maximumSize();
                    if (!frame.announcedMaximized)
                        frame.normalGeometry = QRect();
                }
            }
        };
    }

    ~FrameFamily() override
    {
        for (Frame& frame : frames)
            delete frame.widget.data();
        delete desk;
    }

    const char* Name() const override { return "frame"; }

    void Step(Stress::Context& context) override;
    void Check(Stress::Context& context) override;

private:
    using Operation = void (FrameFamily::*)(Stress::Context&, Frame&);
    struct Weighted
    {
        int weight;
        Operation operation;
    };

    void Forget();
    Frame* Pick(Stress::Context& context);
    void Create(Stress::Context& context, bool child);
    QString NewTitle(Stress::Context& context);
    QPoint PointOn(Stress::Context& context, StressFrame* w, QString* where, bool edgesOnly = false);
    QPoint Mouse(QEvent::Type type, QWidget* target, const QPoint& global, Qt::MouseButton button);
    void SetWindowTitle(Frame& frame, QWidget* widget, const QString& title);

    enum FadeCall
    {
        CallShow,
        CallHide,
        CallClose,
        CallCancelShown,
        CallCancelHidden
    };
    void Call(Frame& frame, FadeCall call);

    void FadeCallOp(Stress::Context& context, Frame& frame);
    void FadeRaceOp(Stress::Context& context, Frame& frame);
    void DeleteOp(Stress::Context& context, Frame& frame);
    void FadeTimeOp(Stress::Context& context, Frame& frame);
    void AddButtonOp(Stress::Context& context, Frame& frame);
    void ClickButtonOp(Stress::Context& context, Frame& frame);
    void WindowStateOp(Stress::Context& context, Frame& frame);
    void ExpectStateChange(Frame& frame);
    void ReplaceContentOp(Stress::Context& context, Frame& frame);
    void IgnoreOp(Stress::Context& context, Frame& frame);
    void SizeLimitOp(Stress::Context& context, Frame& frame);
    void TitleOp(Stress::Context& context, Frame& frame);
    void HoverOp(Stress::Context& context, Frame& frame);
    void DragOp(Stress::Context& context, Frame& frame);
    void Drag(Stress::Context& context, Frame& frame, const QPoint& press, const std::vector<QPoint>& path,
              Qt::MouseButton button, bool arrive, bool doubleClick);
    void TitleDragOp(Stress::Context& context, Frame& frame);
    void AdvanceOp(Stress::Context& context, Frame& frame);
    void SettleOp(Stress::Context& context, Frame& frame);
    void Settle(Stress::Context& context);
    void ReenterOp(Stress::Context& context, Frame& frame);

    void CheckResize(Stress::Context& context, Frame& frame, const QRect& before, const QPoint& pressGlobal,
                     const QPoint& mouseGlobal);

    QWidget* desk; // holds the child frame and takes mouse events no frame can take; never deleted early
    StateWatcher watcher;
    std::vector<Frame> frames;
    int created = 0;
    int titles = 0;
    int longestFade = 0; // the longest fade or intensify time set, in milliseconds
};

constexpr int MaxTopLevels = 3;

void FrameFamily::Forget()
{
    frames.erase(
        std::remove_if(frames.begin(), frames.end(), [](const Frame& f) { return f.widget.isNull(); }),
        frames.end());
}

QString FrameFamily::NewTitle(Stress::Context& context)
{
    switch (context.Bounded(0, 5)) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("Ünïcödé ✓ %1").arg(++titles);
    case 2:
        return QStringLiteral("A long title that needs more room than a narrow title bar has, number %1")
            .arg(++titles);
    case 3:
        return QStringLiteral("&Window");
    default:
        return QStringLiteral("Window %1").arg(++titles);
    }
}

void FrameFamily::Create(Stress::Context& context, bool child)
{
    Frame frame;
    StressFrame* w = nullptr;
    if (child) {
        w = new StressFrame(desk);
        w->setGeometry(context.Bounded(0, 60), context.Bounded(0, 60), context.Bounded(200, 360),
                       context.Bounded(150, 260));
        frame.name = QStringLiteral("child %1").arg(++created);
    } else {
        const Qt::WindowFlags kinds[] = {Qt::Window, Qt::Tool, Qt::Dialog};
        w = new StressFrame(nullptr, kinds[context.Bounded(0, 2)]);
        if (context.Chance(30)) {
            w->setAttribute(Qt::WA_DeleteOnClose);
            frame.deleteOnClose = true;
        }
        w->setGeometry(context.Bounded(0, 200), context.Bounded(0, 200), context.Bounded(240, 420),
                       context.Bounded(160, 320));
        frame.name = QStringLiteral("frame %1").arg(++created);
    }
    frame.widget = w;
    w->setObjectName(frame.name);
    auto fades = frame.fades;
    QObject::connect(w, &ZBWidget::FadeStateChanged, w, [fades](int state) { fades->Record(state); });
    w->installEventFilter(&watcher);
    const QString title = NewTitle(context);
    context.Log(
        QStringLiteral("create %1 titled \"%2\"%3")
            .arg(frame.name, title,
                 w->testAttribute(Qt::WA_DeleteOnClose) ? QStringLiteral(", deleted on close") : QString()));
    frames.push_back(frame);
    SetWindowTitle(frames.back(), w, title);
    if (child || context.Chance(60)) {
        w->show();
        frames.back().Expect(1);
    }
}

Frame* FrameFamily::Pick(Stress::Context& context)
{
    Forget();
    int topLevels = 0;
    bool haveChild = false;
    for (const Frame& f : frames) {
        if (f.widget->isWindow())
            ++topLevels;
        else
            haveChild = true;
    }
    if (topLevels < MaxTopLevels && (frames.empty() || context.Chance(8))) {
        Create(context, false);
        return nullptr;
    }
    if (!haveChild && context.Chance(5)) {
        Create(context, true);
        return nullptr;
    }
    if (frames.empty())
        return nullptr;
    return &frames[context.Bounded(0, int(frames.size()) - 1)];
}

void FrameFamily::SetWindowTitle(Frame& frame, QWidget* widget, const QString& title)
{
    // QWidget drops a change to the same non-empty title without telling anyone.
    const bool changes = !(widget->windowTitle() == title && !title.isEmpty());
    widget->setWindowTitle(title);
    if (changes)
        frame.title = title;
}

void FrameFamily::Step(Stress::Context& context)
{
    static const Weighted operations[] = {
        {18, &FrameFamily::FadeCallOp},   {5, &FrameFamily::FadeRaceOp},
        {2, &FrameFamily::DeleteOp},      {3, &FrameFamily::FadeTimeOp},
        {2, &FrameFamily::AddButtonOp},   {4, &FrameFamily::ClickButtonOp},
        {4, &FrameFamily::WindowStateOp}, {3, &FrameFamily::ReplaceContentOp},
        {2, &FrameFamily::IgnoreOp},      {3, &FrameFamily::SizeLimitOp},
        {5, &FrameFamily::TitleOp},       {5, &FrameFamily::HoverOp},
        {10, &FrameFamily::DragOp},       {5, &FrameFamily::TitleDragOp},
        {4, &FrameFamily::AdvanceOp},     {2, &FrameFamily::SettleOp},
        {3, &FrameFamily::ReenterOp},
    };
    Frame* frame = Pick(context);
    if (!frame)
        return;
    int total = 0;
    for (const Weighted& w : operations)
        total += w.weight;
    int roll = context.Bounded(0, total - 1);
    for (const Weighted& w : operations) {
        if (roll < w.weight) {
            // Operations may delete widgets but never add or remove entries: the reference stays valid.
            (this->*w.operation)(context, *frame);
            return;
        }
        roll -= w.weight;
    }
}

// Mouse events travel the window-system path of the window under test, as the platform delivers
// them; a window that is gone or hidden hands them to the desk so that no button stays pressed.
// Returns the global position the event carried.
QPoint FrameFamily::Mouse(QEvent::Type type, QWidget* target, const QPoint& global, Qt::MouseButton button)
{
    QWidget* top = target ? target->window() : nullptr;
    if (!top || !top->isVisible() || !top->windowHandle()) {
        // Pressing on the desk could click the child frame's buttons behind the test's back.
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            return global;
        top = desk;
    }
    QWindow* handle = top->windowHandle();
    if (!handle)
        return global;
    QPoint local = handle->mapFromGlobal(global);
    if (local.isNull()) // QTest reads (0, 0) as "the window's centre"
        local = QPoint(0, 1);
    const QPoint delivered = handle->mapToGlobal(local); // before the event moves the window
    switch (type) {
    case QEvent::MouseButtonPress:
        QTest::mousePress(handle, button, Qt::KeyboardModifiers(), local);
        break;
    case QEvent::MouseButtonRelease:
        QTest::mouseRelease(handle, button, Qt::KeyboardModifiers(), local);
        break;
    case QEvent::MouseButtonDblClick:
        QTest::mouseDClick(handle, button, Qt::KeyboardModifiers(), local);
        break;
    default:
        QTest::mouseMove(handle, local);
        break;
    }
    return delivered;
}

// A random point of the frame, in global coordinates: on the title bar, the main content, the
// content, an edge band, a corner, or just outside.
QPoint FrameFamily::PointOn(Stress::Context& context, StressFrame* w, QString* where, bool edgesOnly)
{
    QPoint p;
    const int width = w->width(), height = w->height();
    switch (edgesOnly ? context.Bounded(3, 4) : context.Bounded(0, 6)) {
    case 0:
        *where = QStringLiteral("title bar");
        p = w->TitleBar()->mapTo(w, context.PointIn(w->TitleBar()));
        break;
    case 1:
        if (auto* main = w->findChild<QWidget*>(QStringLiteral("ZBWIDGETMAINCONTENT"))) {
            *where = QStringLiteral("main content");
            p = main->mapTo(w, context.PointIn(main));
            break;
        }
        Q_FALLTHROUGH();
    case 2:
        *where = QStringLiteral("content");
        p = w->Content() ? w->Content()->mapTo(w, context.PointIn(w->Content())) : context.PointIn(w);
        break;
    case 3: {
        *where = QStringLiteral("edge");
        const int depth = context.Bounded(0, 6);
        switch (context.Bounded(0, 3)) {
        case 0:
            p = QPoint(depth, context.Bounded(0, height - 1));
            break;
        case 1:
            p = QPoint(width - 1 - depth, context.Bounded(0, height - 1));
            break;
        case 2:
            p = QPoint(context.Bounded(0, width - 1), depth);
            break;
        default:
            p = QPoint(context.Bounded(0, width - 1), height - 1 - depth);
            break;
        }
        break;
    }
    case 4: {
        *where = QStringLiteral("corner");
        const int dx = context.Bounded(0, 9), dy = context.Bounded(0, 9);
        p = QPoint(context.Chance(50) ? dx : width - 1 - dx, context.Chance(50) ? dy : height - 1 - dy);
        break;
    }
    case 5:
        *where = QStringLiteral("outside");
        p = QPoint(context.Bounded(-4, -1), context.Bounded(0, height - 1));
        break;
    default:
        *where = QStringLiteral("anywhere");
        p = context.PointIn(w);
        break;
    }
    return w->mapToGlobal(p);
}

const char* const FadeCallNames[] = {"show()", "hide()", "close()", "CancelFadeAction(true)",
                                     "CancelFadeAction(false)"};

// Makes one of the calls that start or end fades, and notes what it promises for the frame's
// visibility once the fades have ended.
void FrameFamily::Call(Frame& frame, FadeCall call)
{
    StressFrame* w = frame.widget;
    switch (call) {
    case CallShow:
        // On a shown window that is fading out to close, show() changes nothing: the close goes on.
        if (!w->isVisible())
            frame.Expect(1);
        w->show();
        break;
    case CallHide:
        frame.Expect(0);
        w->hide();
        break;
    case CallClose:
        frame.RequestClose();
        w->close();
        break;
    case CallCancelShown:
    case CallCancelHidden:
        frame.Expect(call == CallCancelShown ? 1 : 0);
        w->CancelFadeAction(call == CallCancelShown);
        break;
    }
}

void FrameFamily::FadeCallOp(Stress::Context& context, Frame& frame)
{
    // Hidden frames would pile up without a bias towards show().
    const auto call = context.Chance(35) ? CallShow : FadeCall(context.Bounded(CallShow, CallCancelHidden));
    context.Log(frame.name + QStringLiteral(": ") + QLatin1String(FadeCallNames[call]));
    Call(frame, call);
}

// Two fade calls in quick succession, so that the second lands while the first one's fade runs.
void FrameFamily::FadeRaceOp(Stress::Context& context, Frame& frame)
{
    const auto first = FadeCall(context.Bounded(CallShow, CallClose));
    const auto second = FadeCall(context.Bounded(CallShow, CallCancelHidden));
    const int gap = context.Bounded(0, 70);
    const bool settle = context.Chance(40);
    context.Log(frame.name + QStringLiteral(": %1, then %2 ms later %3%4")
                                 .arg(QLatin1String(FadeCallNames[first]))
                                 .arg(gap)
                                 .arg(QLatin1String(FadeCallNames[second]),
                                      settle ? QStringLiteral(", then let the fades end") : QString()));
    Call(frame, first);
    advance(gap);
    if (frame.widget)
        Call(frame, second);
    if (settle)
        Settle(context);
}

void FrameFamily::DeleteOp(Stress::Context& context, Frame& frame)
{
    frame.deletedByTest = true;
    if (context.Chance(50)) {
        context.Log(frame.name + QStringLiteral(": delete"));
        delete frame.widget.data();
    } else {
        context.Log(frame.name + QStringLiteral(": deleteLater()"));
        frame.widget->deleteLater();
    }
}

void FrameFamily::FadeTimeOp(Stress::Context& context, Frame& frame)
{
    static const int times[] = {-100, -1, 0, 0, 40, 90, 200};
    const int ms = times[context.Bounded(0, 6)];
    longestFade = qMax(longestFade, ms);
    if (context.Chance(50)) {
        context.Log(frame.name + QStringLiteral(": SetFadeTime(%1)").arg(ms));
        frame.widget->SetFadeTime(ms);
    } else {
        context.Log(frame.name + QStringLiteral(": SetIntensifyTime(%1)").arg(ms));
        frame.widget->SetIntensifyTime(ms);
    }
}

void FrameFamily::AddButtonOp(Stress::Context& context, Frame& frame)
{
    if (frame.extraButtons >= 6)
        return;
    ++frame.extraButtons;
    switch (context.Bounded(0, 2)) {
    case 0:
        context.Log(frame.name + QStringLiteral(": AddMinimizeButton()"));
        frame.widget->AddMinimizeButton();
        break;
    case 1:
        context.Log(frame.name + QStringLiteral(": AddMaximizeButton()"));
        frame.widget->AddMaximizeButton();
        frame.maximizeFollows = false;
        break;
    default:
        context.Log(frame.name + QStringLiteral(": AddRestoreButton()"));
        frame.widget->AddRestoreButton();
        frame.restoreFollows = false;
        break;
    }
}

void FrameFamily::ClickButtonOp(Stress::Context& context, Frame& frame)
{
    StressFrame* w = frame.widget;
    QToolButton* buttons[] = {w->CloseButton(), w->MinimizeButton(), w->MaximizeButton(), w->RestoreButton()};
    QToolButton* button = buttons[context.Bounded(0, 3)];
    if (!button)
        return;
    if (button == w->CloseButton())
        frame.RequestClose();
    else
        ExpectStateChange(frame);
    // The mouse only reaches a button that shows inside its window (a child frame may stick out).
    const QPoint global = button->mapToGlobal(button->rect().center());
    QWidget* top = w->window();
    const bool reachable =
        button->isVisible() && top->isVisible() && top->childAt(top->mapFromGlobal(global)) == button;
    if (reachable && context.Chance(70)) {
        context.Log(frame.name + QStringLiteral(": mouse click on ") + button->objectName());
        Mouse(QEvent::MouseButtonPress, button, global, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, button, global, Qt::LeftButton);
    } else {
        context.Log(frame.name + QStringLiteral(": click() on ") + button->objectName());
        button->click();
    }
}

// A change of window state shows a hidden window. On a shown one, minimising and restoring send
// hide and show events of their own, which end a close fade under way without closing.
void FrameFamily::ExpectStateChange(Frame& frame)
{
    if (!frame.widget->isVisible())
        frame.Expect(1);
    else if (frame.expectVisible != 1)
        frame.expectVisible = -1;
}

void FrameFamily::WindowStateOp(Stress::Context& context, Frame& frame)
{
    ExpectStateChange(frame);
    switch (context.Bounded(0, 2)) {
    case 0: {
        context.Log(frame.name + QStringLiteral(": showMaximized()"));
        StressFrame* w = frame.widget;
        const bool normal =
            w->isWindow() && w->isVisible() && w->windowState() == Qt::WindowNoState && platformAgrees(w);
        const QRect geometry = w->geometry();
        w->showMaximized();
        // QWidget sets the state before showMaximized() returns, whatever the platform does later.
        if (frame.widget && !(w->windowState() & Qt::WindowMaximized)) {
            return context.Fail(QStringLiteral("%1: showMaximized() returned with window state %2")
                                    .arg(frame.name)
                                    .arg(int(w->windowState())));
        }
        frame.normalGeometry = normal ? geometry : QRect();
        break;
    }
    case 1:
        context.Log(frame.name + QStringLiteral(": showMinimized()"));
        frame.widget->showMinimized();
        break;
    default:
        context.Log(frame.name + QStringLiteral(": showNormal()"));
        frame.widget->showNormal();
        break;
    }
}

void FrameFamily::ReplaceContentOp(Stress::Context& context, Frame& frame)
{
    StressFrame* w = frame.widget;
    const int kind = context.Bounded(0, 5);
    if (kind == 0) {
        context.Log(frame.name + QStringLiteral(": ReplaceContent(nullptr)"));
        w->ReplaceContent(nullptr);
        return;
    }
    if (kind == 1) {
        context.Log(frame.name + QStringLiteral(": ReplaceContent(the current content)"));
        w->ReplaceContent(w->Content());
        return;
    }
    if (kind == 2 && w->Content()) {
        context.Log(frame.name + QStringLiteral(": delete the content widget behind the frame's back"));
        delete w->Content();
        return;
    }
    QWidget* content = nullptr;
    QString what;
    if (kind == 3) {
        content = new QLabel(QStringLiteral("A label whose text asks for a wide window, %1").arg(++titles));
        what = QStringLiteral("a wide label");
    } else {
        content = new QWidget;
        content->setMinimumSize(context.Bounded(0, 320), context.Bounded(0, 240));
        what = QStringLiteral("a widget of minimum size ") + describe(content->minimumSize());
    }
    content->setWindowTitle(NewTitle(context));
    context.Log(frame.name +
                QStringLiteral(": ReplaceContent(%1 titled \"%2\")").arg(what, content->windowTitle()));
    frame.oldContent = w->Content();
    w->ReplaceContent(content);
    frame.title = content->windowTitle();
}

void FrameFamily::IgnoreOp(Stress::Context& context, Frame& frame)
{
    const bool ignore = context.Chance(50);
    if (context.Chance(50)) {
        // Now and then the pointer rests on an edge meanwhile and presses there next, without a
        // hover in between: the cursor it shows is stale, the flag is not.
        const bool onEdge = context.Chance(50);
        QString zone;
        const QPoint rest = onEdge ? PointOn(context, frame.widget, &zone, true) : QPoint();
        std::vector<QPoint> path;
        for (int i = context.Bounded(2, 3); onEdge && i > 0; --i)
            path.push_back(rest + QPoint(context.Bounded(-100, 100), context.Bounded(-100, 100)));
        context.Log(
            frame.name + QStringLiteral(": IgnoreResize(%1)").arg(QLatin1String(ignore ? "true" : "false")) +
            (onEdge
                 ? QStringLiteral(" with the pointer resting on the %1 at %2, then a drag from there by %3")
                       .arg(zone, describe(rest), describe(path, rest))
                 : QString()));
        if (onEdge)
            Mouse(QEvent::MouseMove, frame.widget, rest, Qt::NoButton);
        frame.widget->IgnoreResize(ignore);
        frame.ignoreResize = ignore;
        if (onEdge && frame.widget)
            Drag(context, frame, rest, path, Qt::LeftButton, false, false);
    } else {
        context.Log(frame.name +
                    QStringLiteral(": IgnoreTitleMove(%1)").arg(QLatin1String(ignore ? "true" : "false")));
        frame.widget->IgnoreTitleMove(ignore);
        frame.ignoreTitleMove = ignore;
    }
}

void FrameFamily::SizeLimitOp(Stress::Context& context, Frame& frame)
{
    StressFrame* w = frame.widget;
    frame.normalGeometry = QRect(); // Qt resizes a maximised window to its new limits
    switch (context.Bounded(0, 3)) {
    case 0: {
        const QSize size(context.Bounded(0, 420), context.Bounded(0, 320));
        context.Log(frame.name + QStringLiteral(": setMinimumSize(%1)").arg(describe(size)));
        w->setMinimumSize(size);
        break;
    }
    case 1: {
        const int width = context.Bounded(120, 480);
        context.Log(frame.name + QStringLiteral(": setFixedWidth(%1)").arg(width));
        w->setFixedWidth(width);
        break;
    }
    case 2: {
        const int height = context.Bounded(90, 360);
        context.Log(frame.name + QStringLiteral(": setFixedHeight(%1)").arg(height));
        w->setFixedHeight(height);
        break;
    }
    default:
        context.Log(frame.name + QStringLiteral(": setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)"));
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        break;
    }
}

void FrameFamily::TitleOp(Stress::Context& context, Frame& frame)
{
    StressFrame* w = frame.widget;
    const int kind = context.Bounded(0, 5);
    // Now and then the same title again, which QWidget drops.
    const QString title = context.Chance(15) ? w->windowTitle() : NewTitle(context);
    if (kind <= 2) {
        context.Log(frame.name + QStringLiteral(": setWindowTitle(\"%1\")").arg(title));
        SetWindowTitle(frame, w, title);
    } else if (kind <= 4 && w->Content()) {
        context.Log(frame.name + QStringLiteral(": content setWindowTitle(\"%1\")").arg(title));
        SetWindowTitle(frame, w->Content(), title);
    } else if (frame.oldContent) {
        // The replaced content is no longer watched: its title must not reach the title bar.
        context.Log(frame.name + QStringLiteral(": replaced content setWindowTitle(\"%1\")").arg(title));
        frame.oldContent->setWindowTitle(title);
    }
}

void FrameFamily::HoverOp(Stress::Context& context, Frame& frame)
{
    const int moves = context.Bounded(1, 4);
    QStringList where;
    std::vector<QPoint> points;
    for (int i = 0; i < moves; ++i) {
        QString zone;
        points.push_back(PointOn(context, frame.widget, &zone));
        where << zone + describe(points.back());
    }
    context.Log(frame.name + QStringLiteral(": hover over ") + where.join(QStringLiteral(", ")));
    for (const QPoint& p : points)
        Mouse(QEvent::MouseMove, frame.widget, p, Qt::NoButton);
}

// A press somewhere on the frame, a few moves, and a release: a resize when the press hits an edge,
// a title drag on the title bar, nothing much elsewhere.
void FrameFamily::DragOp(Stress::Context& context, Frame& frame)
{
    QPointer<StressFrame> w = frame.widget;
    QString zone;
    // Drags from the edges and corners reach farther, so that they meet the size limits.
    const bool fromEdge = context.Chance(40);
    const QPoint press = PointOn(context, w, &zone, fromEdge);
    static const Qt::MouseButton others[] = {Qt::RightButton, Qt::MiddleButton};
    const Qt::MouseButton button = context.Chance(88) ? Qt::LeftButton : others[context.Bounded(0, 1)];
    const int moves = context.Bounded(1, 5);
    const int reach = fromEdge ? 160 : 60;
    std::vector<QPoint> path;
    QPoint at = press;
    for (int i = 0; i < moves; ++i) {
        at += QPoint(context.Bounded(-reach, reach), context.Bounded(-reach, reach));
        path.push_back(at);
    }
    const bool doubleClick = context.Chance(5);
    // Usually the pointer arrives before it presses; otherwise the press finds the cursor that an
    // earlier hover left, which IgnoreResize() does not change until the next hover.
    const bool arrive = context.Chance(70);
    context.Log(frame.name + QStringLiteral(": %1drag with button %2 from %3 %4%5 by %6")
                                 .arg(doubleClick ? QStringLiteral("double-click and ") : QString())
                                 .arg(int(button))
                                 .arg(zone, describe(press),
                                      arrive ? QString() : QStringLiteral(" (no hover before)"),
                                      describe(path, press)));
    Drag(context, frame, press, path, button, arrive, doubleClick);
}

// Presses at press, moves along path and releases, checking after each move what the drag may do.
void FrameFamily::Drag(Stress::Context& context, Frame& frame, const QPoint& press,
                       const std::vector<QPoint>& path, Qt::MouseButton button, bool arrive, bool doubleClick)
{
    QPointer<StressFrame> w = frame.widget;
    const QRect before = w->geometry();
    const Qt::WindowStates stateBefore = w->windowState();
    if (hitsButton(w, press)) { // which may be the close button
        frame.closeRequested = true;
        frame.expectVisible = -1;
    }
    if (arrive)
        Mouse(QEvent::MouseMove, w, press, Qt::NoButton);
    if (doubleClick) {
        Mouse(QEvent::MouseButtonDblClick, w, press, button);
        return;
    }
    const QPoint pressed = Mouse(QEvent::MouseButtonPress, w, press, button);
    for (const QPoint& p : path) {
        const QPoint mouse = Mouse(QEvent::MouseMove, w, p, Qt::NoButton);
        if (!w || !w->isVisible() || w->windowState() != stateBefore || !platformAgrees(w) ||
            before.size() != before.size().expandedTo(w->minimumSize()).boundedTo(w->maximumSize())) {
            continue; // see platformAgrees() and CheckResize()
        }
        const QString detail = QStringLiteral("%1: geometry %2 -> %3")
                                   .arg(frame.name, describe(before), describe(w->geometry()));
        if ((maximizedOrMinimized(w) || button != Qt::LeftButton) && w->geometry() != before)
            return context.Fail(QStringLiteral("a drag moved a maximised or minimised window, or one dragged "
                                               "with another button than the left: ") +
                                detail);
        if (frame.ignoreResize && w->size() != before.size())
            return context.Fail(QStringLiteral("a drag resized a window that ignores resizing: ") + detail);
        if (button == Qt::LeftButton)
            CheckResize(context, frame, before, pressed, mouse);
    }
    Mouse(QEvent::MouseButtonRelease, w, path.back(), button);
}

// After a move of a drag that began with a press at pressGlobal: an edge drag changes a size but
// never moves both edges of that side, keeps the dragged edge at its distance from the mouse, and
// stops at minimumSizeHint() (or the maximum size, when that is smaller).
void FrameFamily::CheckResize(Stress::Context& context, Frame& frame, const QRect& before,
                              const QPoint& pressGlobal, const QPoint& mouseGlobal)
{
    StressFrame* w = frame.widget;
    QWidget* parent = w->isWindow() ? nullptr : w->parentWidget();
    const QPoint press = parent ? parent->mapFromGlobal(pressGlobal) : pressGlobal;
    const QPoint mouse = parent ? parent->mapFromGlobal(mouseGlobal) : mouseGlobal;
    const QRect now = w->geometry();
    const QSize hint = w->minimumSizeHint();
    const QSize least = w->minimumSize(), most = w->maximumSize();
    // A window whose size already broke its own limits (Qt restores a normal geometry of 1x1 on the
    // offscreen platform after a maximised window was closed and shown again) promises nothing.
    if (before.size() != before.size().expandedTo(least).boundedTo(most))
        return;
    const QString detail =
        QStringLiteral(
            "%1: geometry %2 -> %3 with the mouse moved by %4, minimumSizeHint %5, minimum %6, maximum %7")
            .arg(frame.name, describe(before), describe(now), describe(mouse - press), describe(hint),
                 describe(least), describe(most));

    auto checkAxis = [&](const QString& lowEdge, const QString& highEdge, int lowBefore, int highBefore,
                         int lowNow, int highNow, int pressAt, int mouseAt, int hintSize, int minimum,
                         int maximum) {
        const int sizeBefore = highBefore - lowBefore + 1;
        const int sizeNow = highNow - lowNow + 1;
        if (sizeNow == sizeBefore)
            return;
        if (sizeNow < qMin(hintSize, maximum))
            return context.Fail(QStringLiteral("resized below the minimum size hint: ") + detail);
        // Qt keeps the top-left corner when it enforces the minimum or maximum size on a geometry the
        // window asked for: then the far edge moves too.
        if (minimum > hintSize || maximum < QWIDGETSIZE_MAX)
            return;
        const bool lowMoved = lowNow != lowBefore;
        if (lowMoved && highNow != highBefore) {
            return context.Fail(
                QStringLiteral("a resize moved both the %1 and the %2 edge: ").arg(lowEdge, highEdge) +
                detail);
        }
        if (sizeNow == hintSize) // held back at the hint
            return;
        const int edgeBefore = lowMoved ? lowBefore : highBefore;
        const int edgeNow = lowMoved ? lowNow : highNow;
        if (edgeNow - mouseAt != edgeBefore - pressAt) {
            context.Fail(QStringLiteral("the %1 edge does not keep its distance from the mouse: ")
                             .arg(lowMoved ? lowEdge : highEdge) +
                         detail);
        }
    };
    checkAxis(QStringLiteral("left"), QStringLiteral("right"), before.left(), before.right(), now.left(),
              now.right(), press.x(), mouse.x(), hint.width(), least.width(), most.width());
    checkAxis(QStringLiteral("top"), QStringLiteral("bottom"), before.top(), before.bottom(), now.top(),
              now.bottom(), press.y(), mouse.y(), hint.height(), least.height(), most.height());
}

// A left-button drag from the middle of the title bar: the window follows the mouse exactly, unless
// title moves are switched off or the window is maximised or minimised, when nothing moves at all.
void FrameFamily::TitleDragOp(Stress::Context& context, Frame& frame)
{
    QPointer<StressFrame> w = frame.widget;
    ZBTitleBar* bar = w->TitleBar();
    if (!bar)
        return;
    const QPoint centre = bar->rect().center();
    const QPoint press = bar->mapToGlobal(centre);
    QPoint offset;
    const int moves = context.Bounded(1, 4);
    std::vector<QPoint> path;
    for (int i = 0; i < moves; ++i) {
        offset += QPoint(context.Bounded(-80, 80), context.Bounded(-80, 80));
        path.push_back(press + offset);
    }
    context.Log(frame.name + QStringLiteral(": title drag from the title bar's centre %1 by %2")
                                 .arg(describe(press), describe(offset)));

    // Only a press that lands on the title bar itself, well inside it, promises anything.
    QWidget* top = w->window();
    const QPoint inTop = top->mapFromGlobal(press);
    QWidget* hit = top->isVisible() && top->rect().contains(inTop) ? top->childAt(inTop) : nullptr;
    const bool onBar = hit && (hit == bar || bar->isAncestorOf(hit)) && !qobject_cast<QToolButton*>(hit) &&
                       platformAgrees(w) && bar->width() > 30 && bar->height() > 12 && w->isVisible() &&
                       w->width() > 30;
    const bool expectMove = onBar && !frame.ignoreTitleMove && !maximizedOrMinimized(w);
    const QRect before = w->geometry();
    if (hitsButton(w, press)) { // which may be the close button
        frame.closeRequested = true;
        frame.expectVisible = -1;
    }

    // A fade that ends in a close (or a slot of ReenterOp) may hide the window half-way: then the
    // rest of the drag went elsewhere and promises nothing.
    bool stayedVisible = true;
    Mouse(QEvent::MouseMove, w, press, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, w, press, Qt::LeftButton);
    for (const QPoint& p : path) {
        stayedVisible = stayedVisible && w && w->isVisible();
        Mouse(QEvent::MouseMove, w, p, Qt::NoButton);
    }
    Mouse(QEvent::MouseButtonRelease, w, path.back(), Qt::LeftButton);

    if (!w || !onBar || !stayedVisible || !w->isVisible())
        return;
    QRect expected = expectMove ? before.translated(offset) : before;
    // A window whose size breaks its own limits (a restored normal geometry may) gets them enforced
    // by Qt when it moves: only the position is promised then.
    if (before.size() != before.size().expandedTo(w->minimumSize()).boundedTo(w->maximumSize()))
        expected.setSize(w->size());
    if (w->geometry() != expected) {
        context.Fail(QStringLiteral("%1: after the title drag the geometry is %2, expected %3 (it was %4%5)")
                         .arg(frame.name, describe(w->geometry()), describe(expected), describe(before),
                              expectMove ? QString() : QStringLiteral(", and must not move")));
    }
}

void FrameFamily::AdvanceOp(Stress::Context& context, Frame&)
{
    const int ms = context.Bounded(1, 60);
    context.Log(QStringLiteral("run the event loop for %1 ms").arg(ms));
    advance(ms);
}

// Waits for every fade to end: then each frame is shown or hidden as the operations so far promise,
// each shown top-level frame is fully opaque and each hidden one fully transparent. A minimised
// window gets hide and show events of its own as it is minimised and restored, so its opacity may
// rest at either end.
void FrameFamily::SettleOp(Stress::Context& context, Frame&)
{
    context.Log(QStringLiteral("let the fades end"));
    Settle(context);
}

void FrameFamily::Settle(Stress::Context& context)
{
    const int limit = longestFade + 1000;
    QElapsedTimer clock;
    clock.start();
    QString pending;
    do {
        advance(20);
        pending.clear();
        for (const Frame& f : frames) {
            StressFrame* w = f.widget;
            if (!w)
                continue;
            const QString shown = w->isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden");
            const QString details = QStringLiteral(" (last fade state %1, window state %2, flags 0x%3)")
                                        .arg(f.fades->last)
                                        .arg(int(w->windowState()))
                                        .arg(int(w->windowFlags()), 0, 16);
            if (f.expectVisible >= 0 && w->isVisible() != bool(f.expectVisible)) {
                pending = QStringLiteral("%1 is %2 %3 ms after the last operation, expected %4")
                              .arg(f.name, shown)
                              .arg(clock.elapsed())
                              .arg(f.expectVisible ? QStringLiteral("shown") : QStringLiteral("hidden")) +
                          details;
                break;
            }
            const double want = w->isVisible() ? 1.0 : 0.0;
            if (w->isWindow() && !w->isMinimized() && qAbs(w->windowOpacity() - want) > 0.01) {
                pending = QStringLiteral("%1 is %2 with opacity %3 %4 ms after the last operation")
                              .arg(f.name, shown)
                              .arg(w->windowOpacity())
                              .arg(clock.elapsed()) +
                          details;
                break;
            }
        }
    } while (!pending.isEmpty() && clock.elapsed() < limit);
    if (!pending.isEmpty())
        context.Fail(pending);
}

// Connects a one-shot slot to the frame's fade signal that calls back into the frame (or deletes
// it) while the frame is announcing the state.
void FrameFamily::ReenterOp(Stress::Context& context, Frame& frame)
{
    static const int states[] = {0, 2, 4};
    static const char* const actions[] = {"delete",
                                          "deleteLater()",
                                          "show()",
                                          "hide()",
                                          "close()",
                                          "CancelFadeAction(true)",
                                          "CancelFadeAction(false)"};
    const int state = states[context.Bounded(0, 2)];
    // Deleting the window from inside closeEvent() is left out: QWidget::close() is still on the stack.
    // Elsewhere deleting it at once is the case most worth trying: the frame's own code is still on
    // the stack and must notice.
    const int action = state != 4 && context.Chance(40) ? 0 : context.Bounded(1, 6);
    context.Log(frame.name + QStringLiteral(": on FadeStateChanged(%1) call %2 once")
                                 .arg(state)
                                 .arg(QLatin1String(actions[action])));
    QPointer<StressFrame> w = frame.widget;
    frame.expectVisible = -1;
    frame.closeRequested = frame.closeRequested || action == 4;
    frame.deletedByTest = frame.deletedByTest || action <= 1;
    std::shared_ptr<int> waiting = frame.waitingSlots;
    ++*waiting;
    auto connection = std::make_shared<QMetaObject::Connection>();
    auto slot = [w, state, action, connection, waiting](int announced) {
        if (announced != state || !w)
            return;
        QObject::disconnect(*connection);
        --*waiting;
        switch (action) {
        case 0:
            delete w.data();
            break;
        case 1:
            w->deleteLater();
            break;
        case 2:
            w->show();
            break;
        case 3:
            w->hide();
            break;
        case 4:
            w->close();
            break;
        default:
            w->CancelFadeAction(action == 5);
            break;
        }
    };
    *connection = QObject::connect(w.data(), &ZBWidget::FadeStateChanged, w.data(), slot);
}

void FrameFamily::Check(Stress::Context& context)
{
    for (const Frame& frame : frames) {
        if (!frame.widget && !frame.MayVanish() && frame.expectVisible == 1)
            return context.Fail(frame.name + QStringLiteral(" was deleted while it was to stay shown"));
    }
    Forget();
    for (const Frame& frame : frames) {
        StressFrame* w = frame.widget;
        if (!frame.fades->broken.isEmpty())
            return context.Fail(frame.name + QStringLiteral(": ") + frame.fades->broken);

        QLabel* label = titleLabel(w);
        if (!label)
            return context.Fail(frame.name + QStringLiteral(": no title label"));
        if (label->text() != frame.title) {
            return context.Fail(
                QStringLiteral("%1: the title label shows \"%2\", the last title set was \"%3\"")
                    .arg(frame.name, label->text(), frame.title));
        }

        QToolButton* close = w->CloseButton();
        if (!close || w->findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON")) != close)
            return context.Fail(frame.name + QStringLiteral(": the close button is missing"));

        const double opacity = w->windowOpacity();
        if (!(opacity >= 0.0 && opacity <= 1.0))
            return context.Fail(QStringLiteral("%1: window opacity %2").arg(frame.name).arg(opacity));

        const bool announced = frame.announcedMaximized;
        const QString change = announced ? QStringLiteral("maximised") : QStringLiteral("not maximised");
        if (frame.maximizeFollows && w->MaximizeButton() && w->MaximizeButton()->isHidden() != announced) {
            return context.Fail(
                QStringLiteral("%1: the maximize button is %2 after a change to %3")
                    .arg(frame.name, announced ? QStringLiteral("shown") : QStringLiteral("hidden"), change));
        }
        if (frame.restoreFollows && w->RestoreButton() && w->RestoreButton()->isHidden() == announced) {
            return context.Fail(
                QStringLiteral("%1: the restore button is %2 after a change to %3")
                    .arg(frame.name, announced ? QStringLiteral("hidden") : QStringLiteral("shown"), change));
        }

        const bool maximized = w->windowState() & Qt::WindowMaximized;
        // A maximised window remembers the geometry to restore (saveGeometry() stores it too).
        if (maximized && frame.normalGeometry.isValid() && platformAgrees(w) &&
            w->normalGeometry() != frame.normalGeometry) {
            return context.Fail(
                QStringLiteral("%1: maximised from %2, its normal geometry reads %3")
                    .arg(frame.name, describe(frame.normalGeometry), describe(w->normalGeometry())));
        }
        // A shown maximised top-level frame covers its screen's work area, as far as its maximum
        // size lets it, now and when it was maximised (a limit lifted later has no event to follow).
        if (w->isWindow() && w->isVisible() && maximized && !(w->windowState() & Qt::WindowMinimized) &&
            w->screen() && platformAgrees(w)) {
            const QRect available = w->screen()->availableGeometry();
            const QSize least = available.size().boundedTo(w->maximumSize()).boundedTo(frame.maximumAtChange);
            const QRect g = w->geometry();
            if (g.topLeft() != available.topLeft() || g.width() < least.width() ||
                g.height() < least.height()) {
                return context.Fail(QStringLiteral("%1: maximised at %2, the screen's work area is %3")
                                        .arg(frame.name, describe(g), describe(available)));
            }
        }
    }
}

} // namespace

ZB_STRESS_FAMILY(FrameFamily);
