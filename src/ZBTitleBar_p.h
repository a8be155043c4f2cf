// Internal, not part of the API.
#ifndef ZBTITLEBAR_P_H
#define ZBTITLEBAR_P_H

#include <QGridLayout>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QString>

class QWidget;
class ZBTitleBar;

class ZBTitleBarPrivate
{
public:
    explicit ZBTitleBarPrivate(ZBTitleBar* q);

    void Init();
    // Whether a new background would lie among what ReplaceBackground() moves or deletes.
    bool Moves(const QWidget* widget) const;
    // Gives \a widget the background's grid: icon, title, gap and button grid on the title line, the
    // bottom grid under it, \a verticalSpacing apart. The title bar as built keeps the bottom row flush
    // under the title line (0); a replaced background keeps them a pixel apart (1), as
    // ReplaceBackground() documents.
    void LayOutBackground(QWidget* widget, int verticalSpacing);
    // The title that \a bar shows; frames and docks are named by it for assistive technology.
    static QString TitleOf(const ZBTitleBar* bar);

    ZBTitleBar* const q;
    // The application may delete the background it handed in, and everything on it with it.
    QPointer<QLabel> titleLabel;
    QPointer<QLabel> iconLabel;
    QPointer<QGridLayout> buttonGrid; // left- and right-aligned widgets, row 0
    QPointer<QGridLayout> bottomGrid; // bottom-aligned widgets, column 0
    QPointer<QWidget> background;     // "TITLECONTENT"
    // What was added, in order. Entries are never removed; a widget deleted by its owner reads as null.
    QList<QPointer<QWidget>> leftWidgets;
    QList<QPointer<QWidget>> rightWidgets;
    QList<QPointer<QWidget>> bottomWidgets;
};

#endif // ZBTITLEBAR_P_H
