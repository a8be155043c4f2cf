// The ZebGuiCore editor: a multi-document text editor written for the library, and the README's
// recipe for a main window.
//
//   zb_editor [files...]              opens the editor (with the files)
//   zb_editor --script [--screenshot FILE]
//                                     drives the editor through a scripted session on the offscreen
//                                     platform and exits with the number of failed steps
#include "mainwindow.h"
#include "session.h"

#include "ZBDialog.h"
#include "ZBTheme.h"
#include "ZBTranslator.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QPainter>
#include <QStyleFactory>

namespace {

// The editor's icon: a page with lines of text, in the theme's colours.
QIcon editorIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3d, 0x7e, 0xff));
        p.drawRoundedRect(QRectF(5, 2, 22, 28), 3, 3);
        p.setBrush(Qt::white);
        for (int line = 0; line < 4; ++line)
            p.drawRect(QRectF(9, 8 + line * 5, line == 3 ? 8 : 14, 2));
        icon.addPixmap(pixmap);
    }
    return icon;
}

// The offscreen platform warns about every opacity step of a fade; nobody needs to hear it.
QtMessageHandler previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")) && previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    previousHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("ZebGuiCore"));
    QApplication::setApplicationName(QStringLiteral("Editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZebGuiCore Editor"));
    QApplication::setWindowIcon(editorIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A multi-document text editor built on ZebGuiCore."));
    parser.addHelpOption();
    // Not "--session": QApplication takes that, with the argument after it, for the session manager.
    const QCommandLineOption scriptOption(QStringLiteral("script"),
                                          QStringLiteral("Run the scripted session and exit."));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                              QStringLiteral("Save a screenshot of the session into <file>."),
                                              QStringLiteral("file"));
    const QCommandLineOption languageOption(
        QStringLiteral("language"), QStringLiteral("The language of the library's texts, such as de."),
        QStringLiteral("name"));
    parser.addOptions({scriptOption, screenshotOption, languageOption});
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to open."));
    parser.process(app);

    // The recipe: translations and the theme before any widget, then the main window, which is
    // also the parent of every dialog.
    ZBTranslator::Install(parser.isSet(languageOption) ? QLocale(parser.value(languageOption)) : QLocale());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    ZBTheme::Install(&app);

    if (parser.isSet(scriptOption))
        return RunSession(parser.value(screenshotOption));

    MainWindow window;
    ZBDialog::SetTopLevelWidget(&window);
    for (const QString& path : parser.positionalArguments())
        window.OpenFile(path);
    window.show();
    return app.exec();
}
