// A minimal ZebGuiCore application: a frameless window whose button asks before it closes the window.
#include <ZBDialog.h>
#include <ZBMessageBox.h>
#include <ZBTheme.h>
#include <ZBTranslator.h>
#include <ZBWidget.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ZBTranslator::Install(); // the library's texts in the system's language
    ZBTheme::Install(&app);  // the default look: the "theme:" images and the style sheet

    // A top-level window with its own title bar; it fades in when shown and out when closed.
    ZBWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.AddMinimizeButton();
    // Dialogs and message boxes become children of the window and centre over it.
    ZBDialog::SetTopLevelWidget(&window);

    // The application's widgets go into the window's content widget.
    auto* layout = new QVBoxLayout(window.Content());
    layout->addWidget(new QLabel(QStringLiteral("Hello from ZebGuiCore.")));
    auto* quit = new QPushButton(QStringLiteral("Quit..."));
    layout->addWidget(quit);
    QObject::connect(quit, &QPushButton::clicked, &window, [&window] {
        const ZBMessageBox::StandardButton answer =
            ZBMessageBox::Question(&window, QStringLiteral("Quit"), QStringLiteral("Close the window?"),
                                   ZBMessageBox::Yes | ZBMessageBox::No, ZBMessageBox::No);
        if (answer == ZBMessageBox::Yes)
            window.close();
    });

    window.resize(360, 200);
    window.show();
    return app.exec();
}
