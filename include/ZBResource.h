#ifndef ZBRESOURCE_H
#define ZBRESOURCE_H

#include "zebresource_export.h"

#include <QRect>
#include <QVariant>

/*!
    Theme constants shared by the ZebGuiCore widgets.

    Each margin role holds a QRect whose four coordinates are read as four layout margins:
    left() is the left margin, top() the top one, right() (x + width - 1) the right one and
    bottom() (y + height - 1) the bottom one. MarginsRect() builds such a rectangle.

    Widgets read the values when they are built, so an application changes them with SetData()
    before it creates its widgets.
*/
class ZEBRESOURCE_EXPORT ZBResource
{
public:
    /*! The theme constants. Each is a QRect whose four coordinates are four margins (see MarginsRect()). */
    enum ConstRole : int
    {
        TitleBarMargins = 31,   //!< contents margins of the title bar's layout
        MainContentMargins = 32 //!< margins around a frameless window's content (the resize band)
    };

    /*! The value of \a role; an invalid QVariant for a role with no value. */
    static QVariant GetData(ConstRole role);

    /*! Replaces the value of \a role; an invalid \a value restores the default. */
    static void SetData(ConstRole role, const QVariant& value);

    /*! A rectangle whose left, top, right and bottom coordinates are the four given margins. */
    static QRect MarginsRect(int left, int top, int right, int bottom);

private:
    ZBResource() = delete;
};

#endif // ZBRESOURCE_H
