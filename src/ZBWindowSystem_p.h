// Internal, not part of the API: what the window system under the application lets a window do,
// decided at run time from Qt's platform plugin. Every check of the platform's name is here.
#ifndef ZBWINDOWSYSTEM_P_H
#define ZBWINDOWSYSTEM_P_H

#include <QCursor>
#include <QGuiApplication>
#include <QString>

namespace ZBWindowSystem {

/*! True when the platform plugin's name starts with \a name ("wayland" covers "wayland-egl"). */
inline bool Is(const char* name)
{
    return QGuiApplication::platformName().startsWith(QLatin1String(name));
}

/*!
    True where an owned frameless Qt::Window already stays out of task bars and leaves its main
    window active (Windows), and on the platforms without a window system (offscreen, minimal):
    there the combo box's list and the text popup keep the plain window kind.
*/
inline bool KeepsPlainWindows()
{
    return Is("offscreen") || Is("minimal") || Is("windows") || Is("direct2d");
}

/*!
    The kind of window for a combo box's list: elsewhere a popup, which the window system places
    relative to its parent, keeps out of task bars and closes on a click outside it.
*/
inline Qt::WindowType ListWindowKind()
{
    return KeepsPlainWindows() ? Qt::Window : Qt::Popup;
}

/*! The kind of window for a text popup: elsewhere a tool tip, placed like a popup, never activated. */
inline Qt::WindowType NoteWindowKind()
{
    return KeepsPlainWindows() ? Qt::Window : Qt::ToolTip;
}

/*! False where a client cannot place its own top-level windows (Wayland): the compositor does. */
inline bool PlacesTopLevels()
{
    return !Is("wayland");
}

/*! False where Qt's platform plugin cannot set a window's opacity and warns at every try (Wayland). */
inline bool HasWindowOpacity()
{
    return !Is("wayland");
}

/*!
    Sends what the connection to the window system holds back. On X11, Qt buffers requests such as a
    change of window opacity until other traffic goes out; asking the server for the pointer position
    waits for its answer, and so sends everything queued before it.
*/
inline void SendPending()
{
    if (Is("xcb"))
        (void)QCursor::pos();
}

} // namespace ZBWindowSystem

#endif // ZBWINDOWSYSTEM_P_H
