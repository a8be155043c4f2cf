// Internal, not part of the API.
#ifndef ZBTITLEBAR_P_H
#define ZBTITLEBAR_P_H

#include <QList>
#include <QPointer>
#include <QString>

class QGridLayout;
class QLabel;
class QWidget;
class ZBTitleBar;

class ZBTitleBarPrivate
{
public:
    explicit ZBTitleBarPrivate(ZBTitleBar* q);

    void Init();
    // Lays the title line out on the background: icon, title, gap, button grid, bottom grid.
    void FillBackgroundLayout(QGridLayout* grid);
    // The title that \a bar shows; frames and docks are named by it for assistive technology.
    static QString TitleOf(const ZBTitleBar* bar);

    ZBTitleBar* const q;
    QLabel* titleLabel = nullptr;
    QLabel* iconLabel = nullptr;
    QGridLayout* buttonGrid = nullptr; // left- and right-aligned widgets, row 0
    QGridLayout* bottomGrid = nullptr; // bottom-aligned widgets, column 0
    QWidget* background = nullptr;     // "TITLECONTENT"
    // What was added, in order. Entries are never removed; a widget deleted by its owner reads as null.
    QList<QPointer<QWidget>> leftWidgets;
    QList<QPointer<QWidget>> rightWidgets;
    QList<QPointer<QWidget>> bottomWidgets;
};

#endif // ZBTITLEBAR_P_H
