// Internal, not part of the API.
#ifndef ZBLINKLABEL_P_H
#define ZBLINKLABEL_P_H

#include <QMap>
#include <QSize>
#include <QString>
#include <QVariant>

class ZBLinkLabel;

class ZBLinkLabelPrivate
{
public:
    explicit ZBLinkLabelPrivate(ZBLinkLabel* q);

    // The text's width and the font's height, measured once per text, font and style.
    QSize TextSize() const;

    ZBLinkLabel* const q;
    QString text;
    QMap<int, QVariant> data; // by role
    // The text's width and the font's height; invalid until asked for, and again after a change of
    // the text, the font or the style.
    mutable QSize textSize;
};

#endif // ZBLINKLABEL_P_H
