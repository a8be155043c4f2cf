#ifndef ZBTHEME_H
#define ZBTHEME_H

#include "zebguicoretheme_export.h"

#include <QString>

class QApplication;

/*!
    The default look of the ZebGuiCore widgets: a style sheet that addresses their inner widgets by
    object name, and the images that the widgets load through the "theme:" file prefix
    ("theme:infoicon.png", "theme:arrow-down.png", ...). Nothing is applied until Install() is
    called.
*/
class ZEBGUICORETHEME_EXPORT ZBTheme
{
public:
    /*!
        Registers the theme's images under the "theme:" prefix and puts the theme's style sheet in
        front of the style sheet that \a app already has, so that the application's own rules win
        where both set the same thing. Paths that the application registered for "theme:" before
        are searched first. With \a app null, the running QApplication is used; without one, only
        the images are registered. Calling it again changes nothing.
    */
    static void Install(QApplication* app = nullptr);

    /*! The theme's style sheet: its fragments joined in file-name order. */
    static QString StyleSheet();

private:
    ZBTheme() = delete;
};

#endif // ZBTHEME_H
