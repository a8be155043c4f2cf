#include <ZBFooterBar.h>
#include <ZBResource.h>
#include <ZBSettingsWidget.h>
#include <ZBTheme.h>
#include <ZBTitleBar.h>

#include <QApplication>
#include <QImage>
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
    const bool ok = button && footer.Content() &&
                    ZBResource::GetData(ZBResource::MainContentMargins).toRect().isValid() &&
                    !QImage(QStringLiteral("theme:infoicon.png")).isNull() && !app.styleSheet().isEmpty() &&
                    settings.GetState() == ZBSettingsWidget::Basic;
    return ok ? 0 : 1;
}
