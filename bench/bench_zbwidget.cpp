// Rows for the frameless window: building and showing it, one step of an edge drag, one fade tick.
#include "bench.h"

#include "ZBResource.h"
#include "ZBWidget.h"

#include <QAbstractEventDispatcher>
#include <QDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QSizeGrip>
#include <QTest>
#include <QTimerEvent>
#include <QToolButton>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

const QRect StartGeometry(100, 100, 400, 300);
// A drag inward from the bottom-right corner: two untimed moves (the first move after a press only
// arms the library's resize, and the first resize of a shown window allocates its backing store),
// then DragSteps timed moves of two pixels each; the row shows the time of one.
const QPoint DragWarmUp[] = {QPoint(-5, -5), QPoint(-10, -10)};
constexpr int DragSteps = 20;
constexpr int FadeTicks = 64; // ticks timed together; the row shows the time of one
constexpr int Runs = 25;      // each row takes well under a second
constexpr double FadeStep = 0.01;

using Bench::complain;
using Bench::PaintWatcher;
using Bench::waitForPaint;

bool showAndWait(QWidget* window)
{
    window->show();
    return QTest::qWaitForWindowExposed(window);
}

// The library's window with as many title buttons as the dialog below.
ZBWidget* makeFrame()
{
    auto* frame = new ZBWidget;
    frame->AddMinimizeButton();
    frame->AddMaximizeButton();
    frame->setWindowTitle(QStringLiteral("Window"));
    frame->setGeometry(StartGeometry);
    return frame;
}

// Qt's nearest counterpart: a frameless dialog with a title row (a label and three tool buttons) over
// a content widget held inside the same margins.
QDialog* makeDialog(QWidget** content)
{
    auto* dialog = new QDialog(nullptr, Qt::FramelessWindowHint);
    auto* grid = new QGridLayout(dialog);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* title = new QWidget(dialog);
    auto* row = new QHBoxLayout(title);
    row->addWidget(new QLabel(QStringLiteral("Window"), title));
    row->addStretch();
    for (int i = 0; i < 3; ++i) {
        auto* button = new QToolButton(title);
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
    }
    grid->addWidget(title, 0, 0);

    auto* main = new QWidget(dialog);
    main->setAutoFillBackground(true);
    auto* inner = new QGridLayout(main);
    const QRect m = ZBResource::GetData(ZBResource::MainContentMargins).toRect();
    inner->setContentsMargins(m.left(), m.top(), m.right(), m.bottom());
    auto* body = new QWidget(main);
    body->setAutoFillBackground(true);
    inner->addWidget(body, 0, 0);
    grid->addWidget(main, 1, 0);

    dialog->setWindowTitle(QStringLiteral("Window"));
    dialog->setGeometry(StartGeometry);
    if (content)
        *content = body;
    return dialog;
}

qint64 frameConstructShowPaint()
{
    PaintWatcher watcher;
    std::unique_ptr<ZBWidget> frame;
    bool painted = false;
    const qint64 ns = Bench::Time([&] {
        frame.reset(makeFrame());
        frame->Content()->installEventFilter(&watcher);
        frame->show();
        painted = waitForPaint(watcher);
    });
    if (!painted)
        complain("the frameless window was not painted");
    return painted ? ns : -1;
}

qint64 dialogConstructShowPaint()
{
    PaintWatcher watcher;
    std::unique_ptr<QDialog> dialog;
    bool painted = false;
    const qint64 ns = Bench::Time([&] {
        QWidget* content = nullptr;
        dialog.reset(makeDialog(&content));
        content->installEventFilter(&watcher);
        dialog->show();
        painted = waitForPaint(watcher);
    });
    if (!painted)
        complain("the dialog was not painted");
    return painted ? ns : -1;
}

// Presses at press (window coordinates) and drags inward. Each move travels the window-system path
// (QWindow, then the widget under the mouse) and the events it posts (layout, repaint) are processed
// within the timed part.
qint64 timeDragStep(QWidget* window, const QPoint& press)
{
    QWindow* handle = window->windowHandle();
    QTest::mouseMove(handle, press);
    QTest::mousePress(handle, Qt::LeftButton, Qt::KeyboardModifiers(), press);
    for (const QPoint& offset : DragWarmUp)
        QTest::mouseMove(handle, press + offset);
    QCoreApplication::processEvents();
    // Positions are window coordinates, and the window shrinks under the mouse: keep the target in
    // global coordinates.
    const QPoint globalPress = window->mapToGlobal(press);
    QPoint last = DragWarmUp[1];
    const qint64 ns = Bench::Time([&] {
        for (int i = 1; i <= DragSteps; ++i) {
            last = DragWarmUp[1] - QPoint(2 * i, 2 * i);
            QTest::mouseMove(handle, handle->mapFromGlobal(globalPress + last));
        }
    });
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::KeyboardModifiers(),
                        handle->mapFromGlobal(globalPress + last));
    const QRect expected = StartGeometry.adjusted(0, 0, last.x(), last.y());
    if (window->geometry() != expected) {
        complain("the drag did not reach the expected rectangle");
        return -1;
    }
    return ns / DragSteps;
}

qint64 frameResizeStep()
{
    std::unique_ptr<ZBWidget> frame(makeFrame());
    if (!showAndWait(frame.get()))
        return -1;
    // Two pixels inside the bottom-right corner: the corner region that moves the right and bottom edges.
    return timeDragStep(frame.get(), QPoint(frame->width() - 2, frame->height() - 2));
}

qint64 dialogSizeGripStep()
{
    std::unique_ptr<QDialog> dialog(makeDialog(nullptr));
    dialog->setSizeGripEnabled(true);
    if (!showAndWait(dialog.get()))
        return -1;
    auto* grip = dialog->findChild<QSizeGrip*>();
    if (!grip) {
        complain("the dialog has no size grip");
        return -1;
    }
    return timeDragStep(dialog.get(), grip->geometry().center());
}

// The fade timer is the only timer a shown frame runs while it fades in.
int fadeTimerId(QObject* frame)
{
    const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(frame);
    return timers.size() == 1 ? timers.first().timerId : -1;
}

qint64 frameFadeTick()
{
    std::unique_ptr<ZBWidget> frame(makeFrame());
    frame->SetIntensifyTime(int(40 / FadeStep)); // small steps: the fade outlasts the timed ticks
    if (!showAndWait(frame.get()))
        return -1;
    const int id = fadeTimerId(frame.get());
    if (id < 0) {
        complain("no fade timer runs after show()");
        return -1;
    }
    const double before = frame->windowOpacity();
    const qint64 ns = Bench::Time([&] {
        for (int i = 0; i < FadeTicks; ++i) {
            QTimerEvent tick(id);
            QCoreApplication::sendEvent(frame.get(), &tick);
        }
    });
    if (frame->windowOpacity() <= before) {
        complain("the fade ticks did not raise the opacity");
        return -1;
    }
    return ns / FadeTicks;
}

// Qt's own way to fade a window: a property animation on windowOpacity, advanced one tick at a time.
qint64 animationOpacityStep()
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(StartGeometry);
    window.setWindowOpacity(0.0);
    if (!showAndWait(&window))
        return -1;
    QPropertyAnimation fade(&window, "windowOpacity");
    fade.setStartValue(0.0);
    fade.setEndValue(1.0);
    fade.setDuration(int(40 / FadeStep));
    fade.start();
    fade.pause(); // the steps below set the time; a paused animation still writes the property
    const qint64 ns = Bench::Time([&] {
        for (int i = 1; i <= FadeTicks; ++i)
            fade.setCurrentTime(40 * i);
    });
    if (window.windowOpacity() <= 0.0) {
        complain("the animation did not raise the opacity");
        return -1;
    }
    return ns / FadeTicks;
}

void addRows()
{
    const auto add = [](const QString& name, const QString& qtLabel, Bench::Measure zb, Bench::Measure qt,
                        double target) {
        Bench::AddRow(Bench::MakeRow(QStringLiteral("ZBWidget"), name, qtLabel, std::move(zb), std::move(qt),
                                     Runs, target));
    };
    add(QStringLiteral("construct + show + first paint"), QStringLiteral("QDialog, same layout"),
        frameConstructShowPaint, dialogConstructShowPaint, 1.2);
    add(QStringLiteral("resize-drag step (move, relayout, repaint)"),
        QStringLiteral("QDialog size grip drag"), frameResizeStep, dialogSizeGripStep, 0);
    add(QStringLiteral("fade tick"), QStringLiteral("QPropertyAnimation on windowOpacity"), frameFadeTick,
        animationOpacityStep, 0);
}

} // namespace

ZB_BENCH_REGISTER(addRows);
