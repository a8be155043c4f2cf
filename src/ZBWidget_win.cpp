// Windows only: answers WM_GETMINMAXINFO so that a maximised frameless window covers its work area.
#include <QtGlobal>

#ifdef Q_OS_WIN

#include "ZBFrameGeometry_p.h"
#include "ZBWidget.h"
#include "ZBWidget_p.h"

#include <QGuiApplication>
#include <QScreen>

#include <windows.h>

bool ZBWidgetPrivate::AnswerMinMaxInfo(ZBWidget* window, void* message)
{
    auto* msg = static_cast<MSG*>(message);
    if (!msg || msg->message != WM_GETMINMAXINFO)
        return false;
    QScreen* screen = window->screen();
    if (!screen)
        return false;
    const ZBFrameGeometry::MaxInfo info = ZBFrameGeometry::MaximizedInfo(
        screen->availableGeometry(), screen->geometry(), screen == QGuiApplication::primaryScreen(),
        window->minimumSize(), screen->devicePixelRatio());
    auto* mmi = reinterpret_cast<MINMAXINFO*>(msg->lParam);
    mmi->ptMaxSize.x = info.maxSize.width();
    mmi->ptMaxSize.y = info.maxSize.height();
    mmi->ptMaxPosition.x = info.maxPosition.x();
    mmi->ptMaxPosition.y = info.maxPosition.y();
    mmi->ptMinTrackSize.x = info.minTrackSize.width();
    mmi->ptMinTrackSize.y = info.minTrackSize.height();
    mmi->ptMaxTrackSize.x = info.maxTrackSize.width();
    mmi->ptMaxTrackSize.y = info.maxTrackSize.height();
    return true;
}

#endif // Q_OS_WIN
