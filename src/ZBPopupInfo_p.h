// Internal, not part of the API.
#ifndef ZBPOPUPINFO_P_H
#define ZBPOPUPINFO_P_H

#include <QPoint>
#include <QRect>
#include <QSize>

class QPixmap;
class QString;
class ZBPopupInfo;

namespace ZBPopupPlacement {

/*! The top-left corner of a popup of \a size whose point named by \a alignment lies on \a pos. */
QPoint AtPoint(int alignment, const QPoint& pos, const QSize& size);

/*! The top-left corner of a popup of \a size kept to the side of \a area named by \a alignment. */
QPoint InArea(int alignment, const QRect& area, const QSize& size);

} // namespace ZBPopupPlacement

class ZBPopupInfoPrivate
{
public:
    explicit ZBPopupInfoPrivate(ZBPopupInfo* q);

    void Init();
    void KillDisplayTimer();
    // Builds a popup with its times and content, sized to its content and not yet shown.
    static ZBPopupInfo* Create(const QString& text, const QPixmap& pixmap, QWidget* parent,
                               int fullIntensifyTime, int intensifyTime, int fadeTime);
    static void Show(ZBPopupInfo* popup, const QPoint& topLeft);

    ZBPopupInfo* const q;
    int displayTimerId = -1;
    int fullIntensifyTime = 3000; // a popup built by hand stays this long unless told otherwise
};

#endif // ZBPOPUPINFO_P_H
