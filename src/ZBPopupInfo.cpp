#include "ZBPopupInfo.h"
#include "ZBPopupInfo_p.h"

#include "ZBAccessible_p.h"
#include "ZBQtCompat_p.h"
#include "ZBSaturate_p.h"
#include "ZBTitleBar.h"
#include "ZBWidgetTree_p.h"
#include "ZBWidget_p.h"
#include "ZBWindowSystem_p.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimerEvent>

// Both placements work in 64 bits: a point or an area at the ends of int must not wrap round.
QPoint ZBPopupPlacement::AtPoint(int alignment, const QPoint& pos, const QSize& size)
{
    const qint64 w = size.width();
    const qint64 h = size.height();
    qint64 x = pos.x();
    qint64 y = pos.y();
    if (alignment & Qt::AlignHCenter)
        x -= w / 2;
    else if (alignment & Qt::AlignRight)
        x -= w;
    // Qt::AlignHCenter centres vertically as well.
    if (alignment & Qt::AlignCenter)
        y -= h / 2;
    else if (alignment & Qt::AlignBottom)
        y -= h;
    return QPoint(ZBSaturate::ToInt(x), ZBSaturate::ToInt(y));
}

QPoint ZBPopupPlacement::InArea(int alignment, const QRect& area, const QSize& size)
{
    const qint64 w = size.width();
    const qint64 h = size.height();
    const qint64 left = area.left(), top = area.top(), right = area.right(), bottom = area.bottom();
    qint64 x = left;
    qint64 y = top;
    if (alignment & Qt::AlignLeft)
        x = left;
    else if (alignment & Qt::AlignHCenter)
        x = (left + right) / 2 - w / 2;
    else if (alignment & Qt::AlignRight)
        x = right - w;
    if (alignment & Qt::AlignTop)
        y = top;
    else if (alignment & Qt::AlignCenter)
        y = (top + bottom) / 2 - h / 2;
    else if (alignment & Qt::AlignBottom)
        y = bottom - h;
    return QPoint(ZBSaturate::ToInt(x), ZBSaturate::ToInt(y));
}

ZBPopupInfoPrivate::ZBPopupInfoPrivate(ZBPopupInfo* q) : q(q) {}

void ZBPopupInfoPrivate::Init()
{
    if (q->TitleBar())
        q->TitleBar()->hide();
    displayTimerId = -1;
    ZBAccessible::AnnounceOnShow(q);
    QObject::connect(q, &ZBWidget::FadeStateChanged, q, &ZBPopupInfo::OnFadeStateChanged);
    q->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A notification must not take the keyboard away from the window the user works in.
    q->setAttribute(Qt::WA_ShowWithoutActivating);
    q->setFocusPolicy(Qt::NoFocus);
    q->IgnoreTitleMove(true);
    q->IgnoreResize(true);
    ZBWidgetPrivate::Get(q)->fader.SetOpacity(0.0);
    if (QWidget* parent = q->parentWidget())
        parent->installEventFilter(q);
}

void ZBPopupInfoPrivate::KillDisplayTimer()
{
    if (displayTimerId != -1)
        q->killTimer(displayTimerId);
    displayTimerId = -1;
}

ZBPopupInfo* ZBPopupInfoPrivate::Create(const QString& text, const QPixmap& pixmap, QWidget* parent,
                                        int fullIntensifyTime, int intensifyTime, int fadeTime)
{
    auto* popup = new ZBPopupInfo(parent);
    popup->SetIntensifyTime(intensifyTime);
    popup->SetFadeTime(fadeTime);
    popup->SetFullIntensifyTime(fullIntensifyTime);
    popup->setAttribute(Qt::WA_DeleteOnClose);

    QWidget* content = popup->Content();
    auto* grid = ZBWidgetTree::NewGridLayout(content);
    if (!pixmap.isNull()) {
        auto* picture = new QLabel(content);
        picture->setPixmap(pixmap);
        grid->addWidget(picture, 0, 0, Qt::Alignment());
    }
    if (!text.isEmpty()) {
        auto* label = new QLabel(content);
        label->setText(text);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        grid->addWidget(label, 0, 1, Qt::Alignment());
    }
    popup->resize(popup->sizeHint());
    return popup;
}

void ZBPopupInfoPrivate::Show(ZBPopupInfo* popup, const QPoint& topLeft)
{
    QPointer<ZBPopupInfo> alive(popup);
    popup->move(topLeft);
    popup->show();
    if (alive)
        popup->raise();
}

ZBPopupInfo::ZBPopupInfo(QWidget* parent)
    : ZBWidget(parent, ZBWindowSystem::NoteWindowKind()), d(new ZBPopupInfoPrivate(this))
{
    d->Init();
}

ZBPopupInfo::~ZBPopupInfo()
{
    d->KillDisplayTimer();
}

void ZBPopupInfo::SetFullIntensifyTime(int ms)
{
    d->fullIntensifyTime = qMax(0, ms);
}

void ZBPopupInfo::ShowTextPopup(const QString& text, const QPixmap& pixmap, int alignment, const QPoint& pos,
                                QWidget* parent, int fullIntensifyTime, int intensifyTime, int fadeTime)
{
    ZBPopupInfo* popup =
        ZBPopupInfoPrivate::Create(text, pixmap, parent, fullIntensifyTime, intensifyTime, fadeTime);
    ZBPopupInfoPrivate::Show(popup, ZBPopupPlacement::AtPoint(alignment, pos, popup->size()));
}

void ZBPopupInfo::ShowTextPopup(const QString& text, const QPixmap& pixmap, int alignment, QWidget* parent,
                                int fullIntensifyTime, int intensifyTime, int fadeTime)
{
    ZBPopupInfo* popup =
        ZBPopupInfoPrivate::Create(text, pixmap, parent, fullIntensifyTime, intensifyTime, fadeTime);
    QRect area; // left 0, top 0, right -1, bottom -1 when there is nothing to place in
    if (parent) {
        const QRect r = parent->rect();
        area = QRect(parent->mapToGlobal(r.topLeft()), parent->mapToGlobal(r.bottomRight()));
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    ZBPopupInfoPrivate::Show(popup, ZBPopupPlacement::InArea(alignment, area, popup->size()));
}

bool ZBPopupInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched && watched == parentWidget()) {
        // Vanish with the parent: no close fade, straight to opacity 0 and hidden.
        QPointer<ZBPopupInfo> alive(this);
        close();
        if (!alive)
            return false;
        CancelFadeAction(false);
        if (!alive)
            return false;
    }
    return ZBWidget::eventFilter(watched, event);
}

void ZBPopupInfo::timerEvent(QTimerEvent* event)
{
    if (d->displayTimerId != -1 && event->timerId() == d->displayTimerId) {
        d->KillDisplayTimer();
        QPointer<ZBPopupInfo> alive(this);
        close(); // fades out, then closes for good
        if (!alive)
            return;
    }
    ZBWidget::timerEvent(event);
}

void ZBPopupInfo::enterEvent(EnterEvent* event)
{
    // Hovering does not keep the popup open.
    QWidget::enterEvent(event);
}

void ZBPopupInfo::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
}

void ZBPopupInfo::OnFadeStateChanged(int state)
{
    // Steady comes at the end of the fade-in, and also at the end of a hide fade.
    if (state != Steady)
        return;
    d->KillDisplayTimer();
    d->displayTimerId = startTimer(d->fullIntensifyTime);
    if (d->displayTimerId == 0)
        d->displayTimerId = -1;
}
