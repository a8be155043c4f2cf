#include "ZBTheme.h"

#include <QApplication>
#include <QDir>
#include <QFile>

// Q_INIT_RESOURCE must be used outside any namespace. A shared build registers the resources when
// it is loaded; calling it again is harmless and keeps a static build working too.
static void initThemeResources()
{
    Q_INIT_RESOURCE(zebguicoretheme);
}

namespace {

QString imageFolder()
{
    return QStringLiteral(":/zebguicore/theme/images");
}

QString fragmentFolder()
{
    return QStringLiteral(":/zebguicore/theme/qss");
}

} // namespace

void ZBTheme::Install(QApplication* app)
{
    initThemeResources();
    const QString prefix = QStringLiteral("theme");
    if (!QDir::searchPaths(prefix).contains(imageFolder()))
        QDir::addSearchPath(prefix, imageFolder());

    if (!app)
        app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    const QString sheet = StyleSheet();
    const QString current = app->styleSheet();
    if (current.contains(sheet))
        return;
    app->setStyleSheet(current.isEmpty() ? sheet : sheet + QLatin1Char('\n') + current);
}

QString ZBTheme::StyleSheet()
{
    initThemeResources();
    const QDir folder(fragmentFolder());
    QString sheet;
    const QStringList names = folder.entryList(QStringList{QStringLiteral("*.qss")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        sheet += QString::fromUtf8(file.readAll());
        // A fragment without a final line break must not run into the next one.
        if (!sheet.endsWith(QLatin1Char('\n')))
            sheet += QLatin1Char('\n');
    }
    return sheet;
}
