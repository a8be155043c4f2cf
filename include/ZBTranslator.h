#ifndef ZBTRANSLATOR_H
#define ZBTRANSLATOR_H

#include "zebguicore_export.h"

#include <QLocale>
#include <QString>

/*!
    The library's own translations: the texts of its buttons and tool tips ("Close", "Save",
    "Show advanced settings", ...) in German and French. They are built into the library and also
    installed as zebguicore_<language>.qm files under share/ZebGuiCore/translations of the prefix
    (share/ZebGuiCore-qt5/translations for the Qt 5 build).

    \code
    QApplication app(argc, argv);
    ZBTranslator::Install(); // the system's language
    \endcode
*/
class ZEBGUICORE_EXPORT ZBTranslator
{
public:
    /*!
        Installs on the running application the library's translation for the first of \a locale's
        user-interface languages that has one (QLocale::uiLanguages(); "de_CH" falls back to "de"),
        replacing the one an earlier call installed, and returns true. Widgets take their texts when
        they are built, so call it before building them. The translation belongs to the application
        object and dies with it.

        With \a directory empty, the translations built into the library are used; otherwise the
        zebguicore_<language>.qm files in \a directory, such as the installed ones.

        Returns false and leaves the library's texts in English (removing a translation installed
        before) when no translation matches \a locale, for example for English, or when
        \a directory holds none. Returns false and does nothing without a QCoreApplication.
    */
    static bool Install(const QLocale& locale = QLocale(), const QString& directory = QString());

private:
    ZBTranslator() = delete;
};

#endif // ZBTRANSLATOR_H
