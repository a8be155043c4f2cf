#include <ZBFooterBar.h>
#include <ZBMessageBox.h>
#include <ZBResource.h>
#include <ZBSettingsWidget.h>
#include <ZBTheme.h>
#include <ZBTitleBar.h>
#include <ZBTranslator.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QToolButton>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ZBTitleBar bar;
    bar.SetTitle(QStringLiteral("consumer"));
    QToolButton* button = bar.AddButton(Qt::AlignRight, QStringLiteral("Close"));
    ZBFooterBar footer(&bar);
    ZBTheme::Install(&app);
    // The settings panel runs on Qt's state machine, which a static package links privately.
    ZBSettingsWidget settings;
    QCoreApplication::processEvents();
    // The translations built into the library, then the installed ones.
    const bool french = ZBTranslator::Install(QLocale(QLocale::French)) &&
                        ZBMessageBox().AddButton(ZBMessageBox::Save)->text() == QStringLiteral("Enregistrer");
    const bool german =
        ZBTranslator::Install(QLocale(QLocale::German), QStringLiteral(ZB_TRANSLATIONS_DIR)) &&
        ZBMessageBox().AddButton(ZBMessageBox::Save)->text() == QStringLiteral("Speichern");
    const bool ok = french && german && button && footer.Content() &&
                    ZBResource::GetData(ZBResource::MainContentMargins).toRect().isValid() &&
                    !QImage(QStringLiteral("theme:infoicon.png")).isNull() && !app.styleSheet().isEmpty() &&
                    settings.GetState() == ZBSettingsWidget::Basic;
    return ok ? 0 : 1;
}
