// The window that bench/resize_latency.py resizes with real input on an X11 desktop: an editor-like
// main window with 20 documents, either the library's (--zb, with --own for the library's own move and
// resize arithmetic instead of the window manager's) or a QMainWindow with the window manager's
// decorations (--qt). It reports each frame it has painted and flushed:
//     frame MS WIDTH HEIGHT WORK    MS on CLOCK_MONOTONIC, the clock Python's time.monotonic() reads,
//                                   WORK the processor time in milliseconds that the frame took
// and "shown MS" once the window is fully shown (the library's window fades in).
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBTheme.h"
#include "ZBWidget.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cstdio>
#include <ctime>

namespace {

constexpr int Documents = 20;

double milliseconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double now()
{
    return milliseconds(CLOCK_MONOTONIC);
}

// Counts the paint events of one window's widgets and reports a frame when the event that caused them
// has been handled: by then the backing store has been flushed to the X server. With the frame goes the
// processor time the application spent on it, from the event in which the window's new size arrived to
// the end of the painting, whatever else ran on the machine meanwhile.
class App : public QApplication
{
public:
    using QApplication::QApplication;
    QWidget* top = nullptr;

    bool notify(QObject* receiver, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Paint && top && receiver->isWidgetType() &&
            static_cast<QWidget*>(receiver)->window() == top)
            ++paints;
        if (type == QEvent::Resize && receiver == top)
            resized = true;
        const double start = depth == 0 ? milliseconds(CLOCK_THREAD_CPUTIME_ID) : 0;
        ++depth;
        const bool result = QApplication::notify(receiver, event);
        if (--depth > 0)
            return result;
        if (resized)
            work += milliseconds(CLOCK_THREAD_CPUTIME_ID) - start;
        if (paints > 0) {
            std::printf("frame %.3f %d %d %.3f\n", now(), top->width(), top->height(), work);
            std::fflush(stdout);
            paints = 0;
            work = 0;
            resized = false;
        }
        return result;
    }

private:
    int depth = 0;
    int paints = 0;
    bool resized = false;
    double work = 0;
};

QTextEdit* text(int i)
{
    auto* edit = new QTextEdit;
    QString body;
    for (int line = 0; line < 30; ++line)
        body += QStringLiteral("Document %1, line %2: the quick brown fox jumps over the lazy dog.\n")
                    .arg(i)
                    .arg(line);
    edit->setPlainText(body);
    return edit;
}

void decorate(QMainWindow* window)
{
    for (const char* menu : {"&File", "&Edit", "&View", "&Window", "&Help"})
        window->menuBar()->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("Item"));
    window->statusBar()->showMessage(QStringLiteral("Ready"));
}

} // namespace

int main(int argc, char** argv)
{
    App app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QStringList args = QApplication::arguments();
    const QRect start(60, 60, 800, 500);
    const auto shown = [] {
        std::printf("shown %.3f\n", now());
        std::fflush(stdout);
    };

    if (args.contains(QStringLiteral("--qt"))) {
        auto* window = new QMainWindow;
        window->setWindowTitle(QStringLiteral("zb-resize"));
        decorate(window);
        auto* area = new QMdiArea(window);
        window->setCentralWidget(area);
        for (int i = 1; i <= Documents; ++i)
            area->addSubWindow(text(i))->resize(300, 200);
        area->cascadeSubWindows();
        window->setGeometry(start);
        app.top = window;
        window->show();
        QMetaObject::invokeMethod(window, shown, Qt::QueuedConnection);
        const int code = QApplication::exec();
        delete window;
        return code;
    }

    ZBTheme::Install(&app);
    auto* window = new ZBWidget(nullptr, Qt::Window);
    window->setWindowTitle(QStringLiteral("zb-resize"));
    window->AddMaximizeButton();
    window->AddMinimizeButton();
    window->SetSystemMoveEnabled(!args.contains(QStringLiteral("--own")));
    auto* layout = new QVBoxLayout(window->Content());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* inner = new QMainWindow(window->Content());
    inner->setWindowFlags(Qt::Widget);
    decorate(inner);
    layout->addWidget(inner);
    auto* area = new ZBMdiAreaWidget(inner);
    inner->setCentralWidget(area);
    for (int i = 1; i <= Documents; ++i) {
        auto* document = new ZBMdiSubWindow;
        document->SetWidget(text(i));
        document->resize(300, 200);
        area->AddSubWindow(document);
    }
    area->CascadeSubWindows();
    window->setGeometry(start);
    QObject::connect(window, &ZBWidget::FadeStateChanged, window, [shown](int state) {
        if (state == 2)
            shown();
    });
    app.top = window;
    window->show();
    const int code = QApplication::exec();
    delete window;
    return code;
}
