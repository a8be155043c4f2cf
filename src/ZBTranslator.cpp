#include "ZBTranslator.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>
#include <memory>

// Q_INIT_RESOURCE must be used outside any namespace; a static build needs it to link the resource.
static void initTranslationResources()
{
    Q_INIT_RESOURCE(zebguicore_translations);
}

namespace {

// The translator that Install() put on the application; it is a child of the application object.
QPointer<QTranslator>& installedTranslator()
{
    static QPointer<QTranslator> translator;
    return translator;
}

} // namespace

bool ZBTranslator::Install(const QLocale& locale, const QString& directory)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    initTranslationResources();

    if (QTranslator* previous = installedTranslator()) {
        QCoreApplication::removeTranslator(previous);
        delete previous;
    }

    auto translator = std::make_unique<QTranslator>(app);
    const QString folder = directory.isEmpty() ? QStringLiteral(":/zebguicore/translations") : directory;
    if (!translator->load(locale, QStringLiteral("zebguicore"), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator.get()))
        return false;
    installedTranslator() = translator.release();
    return true;
}
