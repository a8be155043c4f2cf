// The ZebGuiCore gallery: one page per widget family in a frameless main window.
//
// Run with a display, it opens the window. With --tour DIR, on the offscreen platform, or when there
// is no display at all, it renders every page to DIR/NN-<title>.png and exits.
#include "gallery.h"

#include "ZBTheme.h"
#include "ZBTitleBar.h"
#include "ZBTranslator.h"
#include "ZBWidget.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

// The gallery's icon: a small window in the theme's colours.
QIcon galleryIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size / 32.0;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3d, 0x7e, 0xff));
        p.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 7 * s, 7 * s);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(7 * s, 8 * s, 18 * s, 16 * s), 2.5 * s, 2.5 * s);
        p.setBrush(QColor(0x2b, 0x3a, 0x55));
        QPainterPath bar;
        bar.addRoundedRect(QRectF(7 * s, 8 * s, 18 * s, 5 * s), 2.5 * s, 2.5 * s);
        p.drawPath(bar);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString readResource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

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

class GalleryWindow : public ZBWidget
{
    Q_OBJECT

public:
    GalleryWindow() : ZBWidget(nullptr)
    {
        setObjectName(QStringLiteral("GalleryWindow"));
        // Each new button lands left of the earlier ones: this order reads minimize, maximize, close.
        AddRestoreButton();
        AddMaximizeButton();
        AddMinimizeButton();
        // The frame shows Restore only once the window has been maximised.
        RestoreButton()->hide();
        setWindowTitle(tr("ZebGuiCore Gallery"));
        setWindowIcon(galleryIcon());
        TitleBar()->SetIcon(galleryIcon());
        SetIntensifyTime(160);
        SetFadeTime(160);

        auto* layout = new QHBoxLayout(Content());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        m_list = new QListWidget(Content());
        m_list->setObjectName(QStringLiteral("GalleryPageList"));
        m_list->setFixedWidth(230);
        m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_list->setTextElideMode(Qt::ElideRight);
        m_list->setFrameShape(QFrame::NoFrame);
        m_stack = new QStackedWidget(Content());
        m_stack->setObjectName(QStringLiteral("GalleryPages"));
        layout->addWidget(m_list);
        layout->addWidget(m_stack, 1);

        for (const Gallery::Page& page : Gallery::Pages()) {
            m_list->addItem(page.title);
            m_stack->addWidget(wrapPage(page));
        }
        connect(m_list, &QListWidget::currentRowChanged, m_stack, &QStackedWidget::setCurrentIndex);
        if (m_list->count() > 0)
            m_list->setCurrentRow(0);
    }

    int PageCount() const { return m_list->count(); }
    QString PageTitle(int index) const { return m_list->item(index)->text(); }
    void ShowPage(int index) { m_list->setCurrentRow(index); }

private:
    // Each page sits under a heading in a scroll area, so that long pages stay usable.
    QWidget* wrapPage(const Gallery::Page& page)
    {
        auto* holder = new QWidget(m_stack);
        auto* layout = new QVBoxLayout(holder);
        layout->setContentsMargins(24, 18, 12, 0);
        layout->setSpacing(10);
        auto* heading = new QLabel(page.title, holder);
        heading->setObjectName(QStringLiteral("GalleryPageTitle"));
        layout->addWidget(heading);

        auto* scroll = new QScrollArea(holder);
        scroll->setObjectName(QStringLiteral("GalleryPageScroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        QWidget* content = page.make(scroll);
        if (!content)
            content = new QWidget(scroll);
        scroll->setWidget(content);
        layout->addWidget(scroll, 1);
        return holder;
    }

    QListWidget* m_list = nullptr;
    QStackedWidget* m_stack = nullptr;
};

// Shows the window, waits for the fade-in to end, and saves one screenshot per page.
int runTour(GalleryWindow& window, const QString& folder)
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
    int saved = 0;
    for (int i = 0; i < window.PageCount(); ++i) {
        window.ShowPage(i);
        settle(150);
        const QString name = QStringLiteral("%1-%2.png")
                                 .arg(i + 1, 2, 10, QLatin1Char('0'))
                                 .arg(fileSafe(window.PageTitle(i)));
        if (window.grab().save(dir.filePath(name)))
            ++saved;
        else
            std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
    }
    std::printf("screenshots: %s\n", qPrintable(QDir::toNativeSeparators(dir.absolutePath())));
    return saved == window.PageCount() ? 0 : 1;
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
    parser.process(app);
    ZBTranslator::Install(parser.isSet(languageOption) ? QLocale(parser.value(languageOption)) : QLocale());

    const bool offscreen = QGuiApplication::platformName() == QLatin1String("offscreen") ||
                           QGuiApplication::platformName() == QLatin1String("minimal");
    const bool tour = parser.isSet(tourOption) || offscreen;
    const QString tourFolder =
        parser.isSet(tourOption) ? parser.value(tourOption) : QStringLiteral("gallery-screenshots");

    // The same look everywhere: Fusion with the theme's colours, the theme, then the gallery's own rules.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(0xf5, 0xf6, 0xf8));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xf0, 0xf2, 0xf5));
    palette.setColor(QPalette::Button, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x7e, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::WindowText, QColor(0x1f, 0x26, 0x33));
    palette.setColor(QPalette::Text, QColor(0x1f, 0x26, 0x33));
    palette.setColor(QPalette::ButtonText, QColor(0x1f, 0x26, 0x33));
    QApplication::setPalette(palette);
    ZBTheme::Install(&app);
    app.setStyleSheet(app.styleSheet() + QLatin1Char('\n') +
                      readResource(QStringLiteral(":/gallery/gallery.qss")));

    GalleryWindow window;
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

#include "main.moc"
