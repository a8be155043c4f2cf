// Internal, not part of the API.
#ifndef ZBDOCKWIDGET_P_H
#define ZBDOCKWIDGET_P_H

#include <QPoint>
#include <QPointer>
#include <QRect>

class QGridLayout;
class QWidget;
class ZBDockWidget;
class ZBFooterBar;
class ZBTitleBar;

class ZBDockWidgetPrivate
{
public:
    explicit ZBDockWidgetPrivate(ZBDockWidget* q);
    ~ZBDockWidgetPrivate();

    void Init();
    void UpdateResizeCursor(const QPoint& globalPos);

    ZBDockWidget* const q;
    QPointer<QWidget> mainContent; // "ZBDOCKWIDGETMAINCONTENT"
    QPointer<QWidget> content;     // "ZBDOCKWIDGETCONTENT"
    QPointer<QWidget> widget;      // the application widget
    QPointer<ZBTitleBar> titleBar;
    QPointer<ZBFooterBar> footerBar;
    QPointer<QGridLayout> mainLayout;
    QPointer<QGridLayout> contentLayout;
};

#endif // ZBDOCKWIDGET_P_H
