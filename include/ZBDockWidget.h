#ifndef ZBDOCKWIDGET_H
#define ZBDOCKWIDGET_H

#include "zebguicore_export.h"

#include <QDockWidget>
#include <memory>

class ZBDockWidgetPrivate;
class ZBFooterBar;
class ZBTitleBar;

/*!
    A dock widget with the library's title bar, a "Hide" button, a footer bar below its content,
    and resize cursors over its left, right and bottom borders while it floats.

    The application widget sits in "ZBDOCKWIDGETCONTENT" inside "ZBDOCKWIDGETMAINCONTENT", the
    widget handed to QDockWidget. Docking, floating, moving and resizing are QDockWidget's own.
    While floating, the main content gets a 3-pixel band on its left, right and bottom sides.

    Like a QDockWidget with a title bar widget, the dock cannot be deleted, nor its main window, from
    a slot connected to topLevelChanged() or visibilityChanged() (which the Hide button causes): Qt
    goes on using them after the signal. Use deleteLater() there.

    A floating dock that was closed (by close() or QDockWidget's own close button) must not be moved
    into another widget: Qt (6.4 at least) keeps its old native window under the new window, deletes
    it with that window, and crashes when the dock is deleted.
*/
class ZEBGUICORE_EXPORT ZBDockWidget : public QDockWidget
{
    Q_OBJECT

public:
    /*!
        Builds the dock widget with \a title as its window title and title bar text; \a parent and
        \a flags go to QDockWidget.
    */
    explicit ZBDockWidget(const QString& title, QWidget* parent = nullptr,
                          Qt::WindowFlags flags = Qt::WindowFlags());
    /*! Builds the dock widget without a title; \a parent and \a flags go to QDockWidget. */
    explicit ZBDockWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~ZBDockWidget() override;

    /*! Sets the title bar's text; the dock widget's window title is not changed. Changing the
        window title, on the other hand, updates the title bar. */
    void SetTitle(const QString& title);

    /*!
        Makes \a widget the application widget, a child of the content widget. The widget held
        before is scheduled for deletion. Null empties the content; the widget already held, or one
        of the dock's own containers, is ignored.
    */
    void SetWidget(QWidget* widget);

    /*! The application widget last set, or null. */
    QWidget* GetWidget() const;

    /*!
        The same as SetWidget(), so that QDockWidget's own call through a ZBDockWidget keeps the
        dock's containers, its footer bar and its styling. Called through a QDockWidget pointer,
        QDockWidget::setWidget() replaces all of them. QDockWidget::widget() stays QDockWidget's own:
        it returns "ZBDOCKWIDGETMAINCONTENT", the frame around the content and the footer bar; the
        application widget is GetWidget().
    */
    void setWidget(QWidget* widget);

    /*! The title bar, which holds the title and the Hide button ("CLOSEBUTTON"). */
    ZBTitleBar* TitleBar() const;

    /*! The footer bar below the content, hidden until the application shows it. */
    ZBFooterBar* FooterBar() const;

    /*!
        Copies a new window title into the title bar and, while the dock floats, sets the resize
        cursor over the borders of the main content. Consumes nothing.
    */
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void OnTopLevelChanged(bool isFloating);

private:
    friend class ZBDockWidgetPrivate;
    std::unique_ptr<ZBDockWidgetPrivate> const d;
};

#endif // ZBDOCKWIDGET_H
