// Helpers shared by the unit tests and the stress test: finders, mouse input, a signal log.
#ifndef ZB_TESTUTIL_H
#define ZB_TESTUTIL_H

#include "ZBWidget.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <type_traits>
#include <utility>

namespace TestUtil {

/*! Fails the current test if top-level widgets are left behind, and deletes them. */
inline void CheckNoLeftoverWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        names << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(':') + w->objectName();
        delete w;
    }
    QVERIFY2(names.isEmpty(),
             qPrintable(QStringLiteral("left-over windows: ") + names.join(QLatin1Char(' '))));
}

template <typename T = QWidget>
T* Named(const QObject* root, const char* name)
{
    return root ? root->findChild<T*>(QLatin1String(name)) : nullptr;
}

/*! \a object, named \a name. */
template <typename T>
T* Name(T* object, const char* name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

inline QGridLayout* GridOf(const QObject* root, const char* name)
{
    QWidget* w = Named(root, name);
    return w ? qobject_cast<QGridLayout*>(w->layout()) : nullptr;
}

/*! Where \a widget sits in \a grid, as (row, column); (-1, -1) when it is not there. */
inline QPair<int, int> CellOf(QGridLayout* grid, QWidget* widget)
{
    const int index = grid ? grid->indexOf(widget) : -1;
    int row = -1, column = -1, rowSpan, columnSpan;
    if (index >= 0)
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return {row, column};
}

/*!
    Row 0 of the grid of \a host, column by column: object names, "-" for an empty column, "?" for one that
    holds something else; the end spacer (in column 1000) is left out.
*/
inline QString RowNames(QWidget* host)
{
    auto* grid = qobject_cast<QGridLayout*>(host->layout());
    QStringList names;
    for (int i = 0, r, column, span; i < grid->count(); ++i) {
        grid->getItemPosition(i, &r, &column, &span, &span);
        QWidget* w = grid->itemAt(i)->widget();
        if (!w && column == 1000)
            continue;
        while (names.size() <= column)
            names << QStringLiteral("-");
        names[column] =
            w && r == 0 && names[column] == QLatin1String("-") ? w->objectName() : QStringLiteral("?");
    }
    return names.join(QLatin1Char(' '));
}

/*! The text of the title label in the title bar of \a owner (the bar, or a window or dock with one). */
inline QString TitleText(const QObject* owner)
{
    QGridLayout* grid = GridOf(owner, "TITLECONTENT");
    auto* label = qobject_cast<QLabel*>(
        grid && grid->itemAtPosition(0, 1) ? grid->itemAtPosition(0, 1)->widget() : nullptr);
    return label ? label->text() : QStringLiteral("<no title label>");
}

/*! Sends a mouse event straight to \a widget at \a pos and returns whether it was accepted. */
inline bool SendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos,
                      Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons buttons = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
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
    QWidget* w = ReceiverAt(window, global);
    SendMouse(w, QEvent::MouseMove, w->mapFromGlobal(global), Qt::NoButton, Qt::NoButton);
}

/*!
    A drag with \a button from the global point \a from, half-way first and then by \a delta, sent as
    Qt sends it: to the widget that took the press; with \a oneMove, straight by \a delta in one move.
    Returns the window's geometry after the first move and after the release.
*/
inline QPair<QRect, QRect> Drag(QWidget* window, const QPoint& from, const QPoint& delta, bool hover = true,
                                Qt::MouseButton button = Qt::LeftButton, bool oneMove = false)
{
    QWidget* grab = ReceiverAt(window, from);
    if (hover)
        HoverAt(window, from);
    SendMouse(grab, QEvent::MouseButtonPress, grab->mapFromGlobal(from), button, button);
    SendMouse(grab, QEvent::MouseMove, grab->mapFromGlobal(from + delta / (oneMove ? 1 : 2)), Qt::NoButton,
              button);
    const QRect first = window->geometry();
    if (!oneMove)
        SendMouse(grab, QEvent::MouseMove, grab->mapFromGlobal(from + delta), Qt::NoButton, button);
    SendMouse(grab, QEvent::MouseButtonRelease, grab->mapFromGlobal(from + delta), button, Qt::NoButton);
    return {first, window->geometry()};
}

/*! ZBWidget with its protected interface open. */
class OpenFrame : public ZBWidget
{
public:
    using ZBWidget::CloseButton, ZBWidget::MaximizeButton, ZBWidget::MinimizeButton, ZBWidget::RestoreButton;
    using ZBWidget::ReplaceContent, ZBWidget::RestoreMainContentMargins, ZBWidget::SetMainContentMargins;
    using ZBWidget::ZBWidget;
};

/*! A value as a signal log and a failing step show it: text, an object's name, or a number. */
template <typename T>
QString Text(const T& value)
{
    if constexpr (std::is_convertible_v<T, QString>)
        return QString(value);
    else if constexpr (std::is_pointer_v<T>) // an object's name, else its class
        return !value                          ? QStringLiteral("null")
               : value->objectName().isEmpty() ? QString::fromLatin1(value->metaObject()->className())
                                               : value->objectName();
    else
        return QString::number(qint64(value)); // numbers, enums and flags
}

/*! Records signals as text, "Name(arg,arg)", in the order they come. */
class SignalLog
{
public:
    ~SignalLog()
    {
        for (const QMetaObject::Connection& connection : std::as_const(connections))
            QObject::disconnect(connection);
    }
    template <typename Sender, typename Owner, typename... Args>
    void Record(Sender* sender, void (Owner::*signal)(Args...), const QString& name)
    {
        connections << QObject::connect(sender, signal, sender, [this, name](Args... args) {
            seen << name + QLatin1Char('(') + QStringList{Text(args)...}.join(QLatin1Char(',')) +
                        QLatin1Char(')');
        });
    }
    /*! What was recorded since the last call, joined by spaces. */
    QString Take() { return std::exchange(seen, {}).join(QLatin1Char(' ')); }

    QStringList seen;
    QList<QMetaObject::Connection> connections;
};

} // namespace TestUtil

/*! QCOMPARE inside a loop of steps: a failure names the step. */
#define ZB_STEP_COMPARE(step, actual, expected)                                                              \
    do {                                                                                                     \
        if (!QTest::qCompare(                                                                                \
                actual, expected,                                                                            \
                qPrintable(QStringLiteral("%1, at step %2").arg(#actual, TestUtil::Text(step))), #expected,  \
                __FILE__, __LINE__))                                                                         \
            return;                                                                                          \
    } while (false)

#endif // ZB_TESTUTIL_H
