// The ZebGuiCore gallery: one page per widget family in a frameless main window.
//
// Run with a display, it opens the window. With --tour DIR, on the offscreen platform, or when there
// is no display at all, it renders every page in the light and the dark variant, and right to left, to
// DIR/NN-<title>-<light|dark|rtl>.png and exits.
#include "window.h"

#include "ZBTheme.h"
#include "ZBTranslator.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

// A file-name-safe form of a page title: letters and digits kept, everything else a dash.
QString fileSafe(const QString& title)
{
    QString name;
    for (const QChar c : title)
        name += c.isLetterOrNumber() ? c : QLatin1Char('-');
    return name;
}

// Runs the event loop for a short while, so that posted layout and paint requests settle.
void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Shows the window, waits for the fade-in to end, and saves one screenshot per page in each variant and
// one right to left.
int runTour(Gallery::Window& window, const QString& folder)
{
    const QDir dir(folder);
    if (!QDir().mkpath(dir.absolutePath())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.absolutePath()));
        return 1;
    }
    {
        QEventLoop loop;
        QObject::connect(&window, &ZBWidget::FadeStateChanged, &loop, [&loop](int state) {
            if (state == 2)
                loop.quit();
        });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        window.show();
        loop.exec();
    }
    const ZBTheme::Variant chosen = ZBTheme::GetVariant();
    const Qt::LayoutDirection direction = QApplication::layoutDirection();
    const struct
    {
        ZBTheme::Variant variant;
        Qt::LayoutDirection direction;
        QString name;
    } runs[] = {{ZBTheme::Light, Qt::LeftToRight, QStringLiteral("light")},
                {ZBTheme::Dark, Qt::LeftToRight, QStringLiteral("dark")},
                {ZBTheme::Light, Qt::RightToLeft, QStringLiteral("rtl")}};
    int saved = 0;
    for (const auto& run : runs) {
        ZBTheme::SetVariant(run.variant);
        QApplication::setLayoutDirection(run.direction);
        for (int i = 0; i < window.PageCount(); ++i) {
            window.ShowPage(i);
            settle(150);
            const QString name = QStringLiteral("%1-%2-%3.png")
                                     .arg(i + 1, 2, 10, QLatin1Char('0'))
                                     .arg(fileSafe(window.PageTitle(i)), run.name);
            if (window.grab().save(dir.filePath(name)))
                ++saved;
            else
                std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
        }
    }
    ZBTheme::SetVariant(chosen);
    QApplication::setLayoutDirection(direction);
    std::printf("screenshots: %s\n", qPrintable(QDir::toNativeSeparators(dir.absolutePath())));
    return saved == int(std::size(runs)) * window.PageCount() ? 0 : 1;
}

// The offscreen platform warns about every opacity step of a fade; the tour does not need to hear it.
QtMessageHandler previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Without a display the usual platform plugins cannot start: take the screenshot tour instead.
    bool noDisplay = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                     qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (noDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    previousHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zb_gallery"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZebGuiCore Gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows every ZebGuiCore widget family."));
    parser.addHelpOption();
    const QCommandLineOption tourOption(
        QStringLiteral("tour"), QStringLiteral("Save a screenshot of every page into <dir> and exit."),
        QStringLiteral("dir"));
    parser.addOption(tourOption);
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("The language of the library's texts, such as de or fr (default: the system's)."),
        QStringLiteral("name"));
    parser.addOption(languageOption);
    const QCommandLineOption variantOption(
        QStringLiteral("variant"),
        QStringLiteral("The theme's variant: system (the default), light or dark."), QStringLiteral("name"));
    parser.addOption(variantOption);
    parser.process(app);
    ZBTranslator::Install(parser.isSet(languageOption) ? QLocale(parser.value(languageOption)) : QLocale());

    const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen") ||
                           QGuiApplication::platformName() == QLatin1String("minimal");
    const bool tour = parser.isSet(tourOption) || offscreen;
    const QString tourFolder =
        parser.isSet(tourOption) ? parser.value(tourOption) : QStringLiteral("gallery-screenshots");

    Gallery::InstallLook(app);
    const QString variant = parser.value(variantOption);
    if (variant == QLatin1String("light"))
        ZBTheme::SetVariant(ZBTheme::Light);
    else if (variant == QLatin1String("dark"))
        ZBTheme::SetVariant(ZBTheme::Dark);

    Gallery::Window window;
    window.resize(960, 640);
    if (tour)
        return runTour(window, tourFolder);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window.resize(window.size().boundedTo(available.size()));
        window.move(available.center() - window.rect().center());
    }
    window.show();
    return app.exec();
}
