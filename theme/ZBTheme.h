#ifndef ZBTHEME_H
#define ZBTHEME_H

#include "zebguicoretheme_export.h"

#include <QColor>
#include <QString>

class QApplication;

/*!
    The default look of the ZebGuiCore widgets: a style sheet that addresses their inner widgets by
    object name, and the images that the widgets load through the "theme:" file prefix
    ("theme:infoicon.png", "theme:arrow-down.png", ...). Nothing is applied until Install() is
    called.

    The theme comes in a light and a dark variant. By default it follows the application's palette
    (System): a palette whose window is darker than its text gets the dark variant, and the theme
    switches when the palette or the system's colour scheme changes. Its colours are named roles
    ("@window", "@text", "@accent-fill", ...) that the style-sheet fragments use and the variant
    fills; selections, the active title bar and links follow an accent colour.
*/
class ZEBGUICORETHEME_EXPORT ZBTheme
{
public:
    /*! The theme's variants. */
    enum Variant : int
    {
        Light,  //!< dark text on light fills
        Dark,   //!< light text on dark fills
        System, //!< Light or Dark, whichever the application's palette is (the default)
    };

    /*!
        Registers the theme's images under the "theme:" prefix and puts the theme's style sheet in
        front of the style sheet that \a app already has, so that the application's own rules win
        where both set the same thing. Paths that the application registered for "theme:" before
        are searched first. With \a app null, the running QApplication is used; without one, only
        the images are registered. Calling it again changes nothing.
    */
    static void Install(QApplication* app = nullptr);

    /*! The theme's style sheet: its fragments joined in file-name order, filled for the effective variant. */
    static QString StyleSheet();

    /*!
        Chooses the variant. Light and Dark also give the application a palette of the variant's
        colours, so that widgets the style sheet does not address match; System gives back the
        palette the application had, or the one it set since. Before Install() the choice is kept
        for it; afterwards it applies at once. A value outside the enumeration is ignored.
    */
    static void SetVariant(Variant variant);

    /*! The variant chosen with SetVariant(), System by default. */
    static Variant GetVariant();

    /*! The variant in use: Light or Dark, never System. */
    static Variant GetEffectiveVariant();

    /*!
        Sets the accent colour, which selections, default buttons, the active title bar and links
        are made from (each darkened or lightened as far as its text needs to stay readable). An
        invalid colour goes back to the default, the highlight colour of the application's palette.
    */
    static void SetAccentColor(const QColor& color);

    /*! The accent colour: the one set, else the highlight colour of the application's palette. */
    static QColor GetAccentColor();

    /*!
        The application's own style sheet, placed after the theme's. Its colour roles ("@text", ...)
        are filled like the theme's, again whenever the variant or the accent changes. An empty
        \a sheet removes it.
    */
    static void SetApplicationStyleSheet(const QString& sheet);

private:
    ZBTheme() = delete;
};

#endif // ZBTHEME_H
