// Helpers shared by the unit tests.
#ifndef ZB_TESTUTIL_H
#define ZB_TESTUTIL_H

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace TestUtil {

/*! Fails the current test if top-level widgets are left behind, and deletes them. */
inline void CheckNoLeftoverWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QWidgetList leftovers = QApplication::topLevelWidgets();
    QStringList names;
    for (QWidget* w : leftovers) {
        names << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(':') + w->objectName();
        delete w;
    }
    QVERIFY2(names.isEmpty(),
             qPrintable(QStringLiteral("left-over top-level widgets: ") + names.join(QStringLiteral(", "))));
}

/*! Where \a widget sits in \a grid, as (row, column); (-1, -1) when it is not there. */
inline QPair<int, int> CellOf(QGridLayout* grid, QWidget* widget)
{
    const int index = grid ? grid->indexOf(widget) : -1;
    if (index < 0)
        return {-1, -1};
    int row, column, rowSpan, columnSpan;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return {row, column};
}

/*! Sends a mouse event straight to \a widget and returns whether it was accepted. */
inline bool SendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos,
                      Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons buttons = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

/*! Sends a mouse event to \a widget at the screen position \a global and returns whether it was accepted. */
inline bool SendMouseAt(QWidget* widget, QEvent::Type type, const QPoint& global, Qt::MouseButton button,
                        Qt::MouseButtons buttons)
{
    return SendMouse(widget, type, widget->mapFromGlobal(global), button, buttons);
}

/*! The widget that Qt hands a mouse event at \a global over \a window: the child under it, or the window. */
inline QWidget* ReceiverAt(QWidget* window, const QPoint& global)
{
    QWidget* child = window->childAt(window->mapFromGlobal(global));
    return child ? child : window;
}

/*! A hover move (no button held) at \a global, sent to the widget under it. */
inline void HoverAt(QWidget* window, const QPoint& global)
{
    SendMouseAt(ReceiverAt(window, global), QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton);
}

/*! A move with the left button held, to the widget \a grab that got the press (Qt's implicit grab). */
inline void DragTo(QWidget* grab, const QPoint& global)
{
    SendMouseAt(grab, QEvent::MouseMove, global, Qt::NoButton, Qt::LeftButton);
}

/*! Releases the left button over the widget \a grab that got the press. */
inline void ReleaseAt(QWidget* grab, const QPoint& global)
{
    SendMouseAt(grab, QEvent::MouseButtonRelease, global, Qt::LeftButton, Qt::NoButton);
}

/*! The number of Qt object timers that run for \a object. */
inline int TimerCount(QObject* object)
{
    return QAbstractEventDispatcher::instance()->registeredTimers(object).size();
}

} // namespace TestUtil

#endif // ZB_TESTUTIL_H
