#ifndef ZBPOPUPINFO_H
#define ZBPOPUPINFO_H

#include "ZBWidget.h"

#include <memory>

class QPixmap;
class ZBPopupInfoPrivate;

/*!
    A small frameless notification: a text and an optional pixmap that fade in, stay fully visible
    for a while, fade out and close. It has no title bar, takes no mouse input or focus, cannot be
    moved or resized, and vanishes at once when its parent widget is hidden.

    ShowTextPopup() builds, places and shows a new popup on each call; the popup deletes itself
    when it has closed. Several popups can be on screen at once.
*/
class ZEBGUICORE_EXPORT ZBPopupInfo : public ZBWidget
{
    Q_OBJECT

public:
    /*!
        Named values for the alignment argument of ShowTextPopup(), which takes any Qt::Alignment
        flags as an int. Each value names the part of the popup that lies on the given point, or the
        part of the area that the popup keeps to. At a point, a horizontally centred value centres
        the popup vertically too.
    */
    enum PopupAlignment : int
    {
        AtTopLeft = Qt::AlignTop | Qt::AlignLeft,        //!< top-left corner
        AtTop = Qt::AlignTop | Qt::AlignHCenter,         //!< middle of the top edge
        AtTopRight = Qt::AlignTop | Qt::AlignRight,      //!< top-right corner
        AtLeft = Qt::AlignVCenter | Qt::AlignLeft,       //!< middle of the left edge
        AtCenter = Qt::AlignVCenter | Qt::AlignHCenter,  //!< centre
        AtRight = Qt::AlignVCenter | Qt::AlignRight,     //!< middle of the right edge
        AtBottomLeft = Qt::AlignBottom | Qt::AlignLeft,  //!< bottom-left corner
        AtBottom = Qt::AlignBottom | Qt::AlignHCenter,   //!< middle of the bottom edge
        AtBottomRight = Qt::AlignBottom | Qt::AlignRight //!< bottom-right corner
    };
    Q_ENUM(PopupAlignment)

    /*!
        Builds a hidden, transparent popup window that watches \a parent, if any, to vanish when it
        is hidden. Once shown, it stays fully visible for 3000 milliseconds unless
        SetFullIntensifyTime() says otherwise.
    */
    explicit ZBPopupInfo(QWidget* parent = nullptr);
    ~ZBPopupInfo() override;

    /*!
        How long the popup stays fully visible after fading in, in milliseconds; negative values
        count as 0. A display time already under way keeps its length.
    */
    void SetFullIntensifyTime(int ms);

    /*!
        Shows a new popup with \a text (plain or rich, as QLabel decides) and \a pixmap (none when
        null), child of \a parent. It fades in for \a intensifyTime, stays for \a fullIntensifyTime,
        fades out for \a fadeTime (milliseconds; negative times count as 0) and deletes itself.
        \a alignment, Qt::Alignment flags, names the point of the popup that lies on the global
        point \a pos: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter horizontally, Qt::AlignTop,
        Qt::AlignBottom or Qt::AlignVCenter vertically; Qt::AlignHCenter centres the popup
        vertically too. The popup is not kept on the screen.
    */
    static void ShowTextPopup(const QString& text, const QPixmap& pixmap, int alignment, const QPoint& pos,
                              QWidget* parent, int fullIntensifyTime, int intensifyTime, int fadeTime);
    /*!
        As above, placed inside the area of \a parent, or inside the primary screen's work area when
        \a parent is null: \a alignment names the side or centre of the area the popup keeps to.
        Qt::AlignLeft wins over the other horizontal flags and Qt::AlignTop over the other vertical
        ones; Qt::AlignHCenter centres the popup vertically unless Qt::AlignTop is given.
    */
    static void ShowTextPopup(const QString& text, const QPixmap& pixmap, int alignment, QWidget* parent,
                              int fullIntensifyTime, int intensifyTime, int fadeTime);

protected:
    /*! Closes the popup at once, without a fade, when its parent widget is hidden. */
    bool eventFilter(QObject* watched, QEvent* event) override;
    /*!
        Ends the display time: the popup fades out, closes and deletes itself. Fade ticks go to
        ZBWidget::timerEvent().
    */
    void timerEvent(QTimerEvent* event) override;
    /*! Only passes the event on: hovering does not keep a popup open. */
    void enterEvent(EnterEvent* event) override;
    /*! Only passes the event on. */
    void leaveEvent(QEvent* event) override;

private Q_SLOTS:
    void OnFadeStateChanged(int state);

private:
    friend class ZBPopupInfoPrivate;
    std::unique_ptr<ZBPopupInfoPrivate> const d;
};

#endif // ZBPOPUPINFO_H
