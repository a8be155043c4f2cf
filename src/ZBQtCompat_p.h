// Internal, not part of the API: every difference between Qt 5.15 and Qt 6 lives here.
#ifndef ZBQTCOMPAT_P_H
#define ZBQTCOMPAT_P_H

#include <QIcon>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPixmap>
#include <QPoint>
#include <QStyleOptionViewItem>
#include <QtGlobal>

namespace ZBCompat {

/*! The event's position in the receiving widget's coordinates. */
inline QPoint EventPos(const QMouseEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position().toPoint();
#else
    return event->pos();
#endif
}

/*! The event's position in global (screen) coordinates. */
inline QPoint GlobalPos(const QMouseEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->globalPosition().toPoint();
#else
    return event->globalPos();
#endif
}

/*! Key \a i of \a sequence as one int, the key code or'ed with its modifiers. */
inline int KeyCombined(const QKeySequence& sequence, int i)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return sequence[uint(i)].toCombined();
#else
    return sequence[uint(i)];
#endif
}

/*!
    \a icon as a pixmap of \a size by \a size device-independent pixels for a device pixel ratio of
    \a dpr: sharp on a high-density screen. Qt 5's QIcon takes the ratio from a window only.
*/
inline QPixmap IconPixmap(const QIcon& icon, int size, qreal dpr, QIcon::Mode mode = QIcon::Normal,
                          QIcon::State state = QIcon::Off)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return icon.pixmap(QSize(size, size), dpr, mode, state);
#else
    const int physical = qRound(size * dpr);
    QPixmap pixmap = icon.pixmap(QSize(physical, physical), mode, state);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
#endif
}

/*!
    Whether \a event tells a widget that its window moved to another screen, or (Qt 6.6 and later)
    that the device pixel ratio of its screen changed: what may call for pixmaps of another density.
*/
inline bool IsScreenOrRatioChange(const QEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event->type() == QEvent::DevicePixelRatioChange)
        return true;
#endif
    return event->type() == QEvent::ScreenChangeInternal;
}

/*! The type of QWidget::nativeEvent's result argument. */
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using NativeEventResult = qintptr;
#else
using NativeEventResult = long;
#endif

} // namespace ZBCompat

/*! QLayoutItem::widget() is const from Qt 6 on: `QWidget* widget() ZB_LAYOUT_ITEM_WIDGET_CONST override`. */
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#define ZB_LAYOUT_ITEM_WIDGET_CONST const
#else
#define ZB_LAYOUT_ITEM_WIDGET_CONST
#endif

/*!
    Fills the QStyleOptionViewItem \a option with the options that the item view paints its items
    with. Expands inside a member function of a QAbstractItemView subclass: Qt 6 replaced the
    protected viewOptions() by initViewItemOption().
*/
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#define ZB_INIT_VIEW_ITEM_OPTION(option) initViewItemOption(&(option))
#else
#define ZB_INIT_VIEW_ITEM_OPTION(option) ((option) = viewOptions())
#endif

/*! QStyleHints::colorSchemeChanged, the system's switch between light and dark, exists from Qt 6.5 on. */
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#define ZB_HAVE_COLOR_SCHEME_SIGNAL 1
#else
#define ZB_HAVE_COLOR_SCHEME_SIGNAL 0
#endif

#endif // ZBQTCOMPAT_P_H
