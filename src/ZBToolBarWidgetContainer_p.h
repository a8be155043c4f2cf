// Internal, not part of the API.
#ifndef ZBTOOLBARWIDGETCONTAINER_P_H
#define ZBTOOLBARWIDGETCONTAINER_P_H

#include <QWidget>
#include <memory>

class QPaintEvent;
class ZBPositionRow;
class ZBToolBarWidgetContainerPrivate;

// The row of a ZBToolBarContainer: tools ordered by position, one per column, spacing 5.
class ZBToolBarWidgetContainer : public QWidget
{
    Q_OBJECT

public:
    explicit ZBToolBarWidgetContainer(QWidget* parent);
    ~ZBToolBarWidgetContainer() override;

    // Places \a widget at \a position; false if it cannot stand in the row.
    bool AddWidget(QWidget* widget, int position);
    void RemoveWidget(QWidget* widget);

protected:
    void paintEvent(QPaintEvent* event) override;

private Q_SLOTS:
    void OnWidgetDestroyed(QObject* object);

private:
    friend class ZBToolBarWidgetContainerPrivate;
    std::unique_ptr<ZBToolBarWidgetContainerPrivate> const d;
};

class ZBToolBarWidgetContainerPrivate
{
public:
    explicit ZBToolBarWidgetContainerPrivate(ZBToolBarWidgetContainer* q);
    ~ZBToolBarWidgetContainerPrivate();

    void Init();

    ZBToolBarWidgetContainer* const q;
    std::unique_ptr<ZBPositionRow> row; // the position list and the layout it drives
};

#endif // ZBTOOLBARWIDGETCONTAINER_P_H
