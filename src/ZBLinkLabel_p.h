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

    // The text's width and the font's height with the contents margins, measured once per text,
    // font, style and margins.
    QSize SizeHint() const;
    // Drops what was measured: the text, font, style or margins changed.
    void Forget();

    ZBLinkLabel* const q;
    QString text;
    QMap<int, QVariant> data; // by role
    // Invalid until asked for, and again after a change of the text, font, style or margins.
    mutable QSize sizeHint;
    QString elided;       // the text as last painted,
    int elidedWidth = -1; // elided to this width; -1 when it has to be elided again
};

#endif // ZBLINKLABEL_P_H
