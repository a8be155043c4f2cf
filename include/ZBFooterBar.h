#ifndef ZBFOOTERBAR_H
#define ZBFOOTERBAR_H

#include "zebguicore_export.h"

#include <QWidget>
#include <memory>

class ZBFooterBarPrivate;

/*!
    A footer strip holding one content widget, "ZBFOOTERBARCONTENT", which the owner fills with
    its own layout and widgets.
*/
class ZEBGUICORE_EXPORT ZBFooterBar : public QWidget
{
    Q_OBJECT

public:
    /*! Builds the bar and its empty content widget, a child of \a parent (which may be null). */
    explicit ZBFooterBar(QWidget* parent);
    ~ZBFooterBar() override;

    /*! The content widget, the same for the life of the bar; null only once the application deleted it. */
    QWidget* Content() const;

private:
    std::unique_ptr<ZBFooterBarPrivate> const d;
};

#endif // ZBFOOTERBAR_H
