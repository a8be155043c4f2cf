#include "ZBMdiAreaWidget.h"
#include "ZBMdiAreaWidget_p.h"

#include "ZBMdiSubWindow.h"
#include "ZBMdiSubWindow_p.h"
#include "ZBTitleBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWindowStateChangeEvent>
#include <utility>

namespace {

constexpr int MinimizedGap = 2; // pixels between minimised sub-windows and between their rows

void ShowContent(ZBMdiSubWindow* subWindow)
{
    if (QWidget* content = subWindow->Content())
        content->show();
}

} // namespace

ZBMdiAreaWidgetPrivate::ZBMdiAreaWidgetPrivate(ZBMdiAreaWidget* q) : q(q) {}

bool ZBMdiAreaWidgetPrivate::IsRegistered(ZBMdiSubWindow* subWindow) const
{
    return subWindow && subWindows.contains(subWindow);
}

QList<QPointer<ZBMdiSubWindow>> ZBMdiAreaWidgetPrivate::Guarded(const QList<ZBMdiSubWindow*>& list) const
{
    QList<QPointer<ZBMdiSubWindow>> guarded;
    guarded.reserve(list.size());
    for (ZBMdiSubWindow* subWindow : list)
        guarded.append(subWindow);
    return guarded;
}

void ZBMdiAreaWidgetPrivate::LogFailure(int line, const char* file, const QString& message) const
{
    const QString text = QStringLiteral("Build date=%1, time=%2. Line=%3, file=\"%4\". %5")
                             .arg(QString::fromLatin1(__DATE__))
                             .arg(QString::fromLatin1(__TIME__))
                             .arg(line)
                             .arg(QString::fromLocal8Bit(file))
                             .arg(message);
    qDebug().noquote() << text;
}

void ZBMdiAreaWidgetPrivate::SendClose(ZBMdiSubWindow* subWindow, QCloseEvent* event)
{
    // A sub-window that was built as a window keeps its opacity of 0.0 once it is a window again,
    // so its frame accepts the close without the fade that would otherwise end in its deletion.
    QPointer<ZBMdiSubWindow> guard(subWindow);
    event->accept();
    QCoreApplication::sendEvent(subWindow, event);
    if (guard && event->isAccepted() && !IsRegistered(guard) && guard->testAttribute(Qt::WA_DeleteOnClose))
        guard->deleteLater();
}

void ZBMdiAreaWidgetPrivate::RegisterSubWindow(ZBMdiSubWindow* subWindow)
{
    if (!subWindow || subWindows.contains(subWindow))
        return;
    subWindows.append(subWindow);
    zOrder.append(subWindow);
    cycle.append(subWindow);
    subWindow->installEventFilter(q);
    Activate(subWindow);
}

bool ZBMdiAreaWidgetPrivate::Activate(ZBMdiSubWindow* subWindow)
{
    if (subWindow == active)
        return true;
    if (ZBMdiSubWindow* old = active) {
        // The focus goes first: hiding a widget that holds it would hand it to the next one, and
        // that could be another sub-window asking to be activated in the middle of this.
        QWidget* focus = QApplication::focusWidget();
        if (focus && (focus == subWindow || old->isAncestorOf(focus)))
            focus->clearFocus();
        if (mode == ZBMdiAreaWidget::Maximized && subWindow)
            old->hide();
        QObject::disconnect(activeConnection);
        old->overrideWindowState(old->windowState() & ~Qt::WindowStates(Qt::WindowActive));
    }
    active = subWindow;
    if (subWindow) {
        zOrder.removeOne(subWindow);
        zOrder.prepend(subWindow);
        subWindow->raise();
        q->update();
        cycle.removeOne(subWindow);
        cycle.prepend(subWindow);
        if (mode == ZBMdiAreaWidget::Maximized) {
            if (subWindow->IsMinimized())
                minimized.removeOne(subWindow);
            subWindow->ShowMaximized();
            subWindow->show();
            ShowContent(subWindow);
            subWindow->setGeometry(q->viewport()->rect());
        }
        activeConnection =
            QObject::connect(subWindow, &ZBMdiSubWindow::StateChanged, q, &ZBMdiAreaWidget::OnStateChanged);
    }
    QPointer<ZBMdiAreaWidget> alive(q);
    Q_EMIT q->SubWindowActivated(active);
    return !alive.isNull();
}

void ZBMdiAreaWidgetPrivate::Unlist(ZBMdiSubWindow* subWindow)
{
    subWindows.removeOne(subWindow);
    zOrder.removeOne(subWindow);
    cycle.removeOne(subWindow);
    minimized.removeAll(subWindow);
    if (subWindow != active)
        return;
    if (!zOrder.isEmpty()) {
        Activate(zOrder.first());
        return;
    }
    QObject::disconnect(activeConnection);
    subWindow->overrideWindowState(subWindow->windowState() & ~Qt::WindowStates(Qt::WindowActive));
    QWidget* focus = QApplication::focusWidget();
    if (focus && subWindow->isAncestorOf(focus))
        focus->clearFocus();
    active = nullptr;
    Q_EMIT q->SubWindowActivated(nullptr);
}

void ZBMdiAreaWidgetPrivate::ForgetSubWindow(ZBMdiSubWindow* subWindow)
{
    subWindow->removeEventFilter(q);
    subWindow->setParent(nullptr);
    Unlist(subWindow);
}

void ZBMdiAreaWidgetPrivate::DropSubWindow(ZBMdiSubWindow* subWindow)
{
    subWindow->removeEventFilter(q);
    Unlist(subWindow);
}

ZBMdiAreaWidget::ZBMdiAreaWidget(QWidget* parent)
    : QAbstractScrollArea(parent), d(new ZBMdiAreaWidgetPrivate(this))
{
    setObjectName(QStringLiteral("ZBMDIAREAWIDGET"));
    setCursor(Qt::ArrowCursor);
}

ZBMdiAreaWidget::~ZBMdiAreaWidget()
{
    // The sub-windows die with the viewport after this; none of their events may reach the lists.
    QObject::disconnect(d->activeConnection);
    for (ZBMdiSubWindow* subWindow : std::as_const(d->subWindows))
        subWindow->removeEventFilter(this);
}

void ZBMdiAreaWidget::AddSubWindow(ZBMdiSubWindow* subWindow)
{
    if (IsBlocked()) {
        d->LogFailure(__LINE__, __FILE__, QStringLiteral("Failed to add new subwindow."));
        return;
    }
    if (!subWindow || d->IsRegistered(subWindow))
        return;
    subWindow->setParent(viewport());
    subWindow->setWindowFlags(Qt::SubWindow);
    subWindow->move(QPoint(0, 0));
    QPointer<ZBMdiAreaWidget> alive(this);
    QPointer<ZBMdiSubWindow> guard(subWindow);
    d->RegisterSubWindow(subWindow);
    if (!alive || !guard)
        return;
    subWindow->setVisible(true);
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    viewport()->update();
}

ZBMdiSubWindow* ZBMdiAreaWidget::AddWidget(QWidget* widget)
{
    if (IsBlocked()) {
        d->LogFailure(__LINE__, __FILE__, QStringLiteral("Failed to add new subwindow."));
        return nullptr;
    }
    QPointer<ZBMdiSubWindow> subWindow = new ZBMdiSubWindow(viewport());
    subWindow->SetWidget(widget);
    AddSubWindow(subWindow);
    return subWindow;
}

ZBMdiSubWindow* ZBMdiAreaWidget::ActiveSubWindow() const
{
    return d->active;
}

ZBMdiSubWindow* ZBMdiAreaWidget::CurrentSubWindow() const
{
    return d->active;
}

QList<ZBMdiSubWindow*> ZBMdiAreaWidget::SubWindows() const
{
    return d->zOrder;
}

int ZBMdiAreaWidget::SubWindowsCount() const
{
    return d->subWindows.size();
}

ZBMdiAreaWidget::MdiState ZBMdiAreaWidget::GetState() const
{
    return d->mode;
}

void ZBMdiAreaWidget::BlockMdiArea(bool block) const
{
    if (block)
        d->flags |= ZBMdiAreaWidgetPrivate::Blocked;
    else
        d->flags &= ~ZBMdiAreaWidgetPrivate::Blocked;
    for (ZBMdiSubWindow* subWindow : std::as_const(d->subWindows))
        subWindow->IgnoreAllActions(block);
}

bool ZBMdiAreaWidget::IsBlocked() const
{
    return d->flags & ZBMdiAreaWidgetPrivate::Blocked;
}

void ZBMdiAreaWidget::ActivateNextSubWindow()
{
    if (IsBlocked() || d->cycle.isEmpty())
        return;
    d->Activate(d->cycle.last());
}

void ZBMdiAreaWidget::ActivatePreviousSubWindow()
{
    if (IsBlocked() || d->cycle.size() < 2)
        return;
    if (!d->Activate(d->cycle.at(1)))
        return;
    // The one that was active before goes to the end, so that repeated calls walk the ring backwards.
    if (d->cycle.size() >= 2)
        d->cycle.append(d->cycle.takeAt(1));
}

void ZBMdiAreaWidget::CloseActiveSubWindow()
{
    if (IsBlocked() || !d->active)
        return;
    QCloseEvent event;
    d->SendClose(d->active, &event);
}

void ZBMdiAreaWidget::CloseAllSubWindows()
{
    if (IsBlocked())
        return;
    QPointer<ZBMdiAreaWidget> alive(this);
    const QList<QPointer<ZBMdiSubWindow>> all = d->Guarded(d->zOrder);
    QCloseEvent event;
    for (const QPointer<ZBMdiSubWindow>& subWindow : all) {
        if (!subWindow || !d->IsRegistered(subWindow))
            continue;
        if (!d->Activate(subWindow))
            return;
        if (subWindow)
            d->SendClose(subWindow, &event);
        if (!alive)
            return;
    }
}

void ZBMdiAreaWidget::SetActiveSubWindow(ZBMdiSubWindow* subWindow)
{
    if (d->IsRegistered(subWindow))
        d->Activate(subWindow);
}

void ZBMdiAreaWidget::DetachWindow(ZBMdiSubWindow* /*subWindow*/) {}

void ZBMdiAreaWidget::AttachWindow(ZBMdiSubWindow* /*subWindow*/) {}

bool ZBMdiAreaWidget::eventFilter(QObject* watched, QEvent* event)
{
    auto* subWindow = qobject_cast<ZBMdiSubWindow*>(watched);
    if (!subWindow)
        return QAbstractScrollArea::eventFilter(watched, event);

    QPointer<ZBMdiAreaWidget> alive(this);
    QPointer<ZBMdiSubWindow> guard(subWindow);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (!(d->flags & (ZBMdiAreaWidgetPrivate::ScrollMoving | ZBMdiAreaWidgetPrivate::MaximizedHold))) {
            d->subWindowsRect = d->SubWindowsRect();
            d->UpdateScrollBars();
        }
        break;
    case QEvent::Close:
        if (!d->IsRegistered(subWindow))
            break;
        if (IsBlocked()) {
            event->ignore();
            return true;
        }
        Q_EMIT SubWindowAboutClose(subWindow);
        if (!alive || !guard)
            return true;
        if (d->IsRegistered(subWindow))
            d->ForgetSubWindow(subWindow);
        break;
    case QEvent::WindowStateChange: {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (!(change->oldState() & Qt::WindowActive) && (subWindow->windowState() & Qt::WindowActive) &&
            subWindow != d->active && d->IsRegistered(subWindow)) {
            if (IsBlocked())
                subWindow->overrideWindowState(subWindow->windowState() &
                                               ~Qt::WindowStates(Qt::WindowActive));
            else
                d->Activate(subWindow);
        }
        break;
    }
    case QEvent::ParentChange:
        if (subWindow->parentWidget() != viewport() && d->IsRegistered(subWindow))
            d->DropSubWindow(subWindow);
        break;
    default:
        if (event->type() == ZBMdiSubWindowPrivate::DestroyingEventType() && d->IsRegistered(subWindow))
            d->DropSubWindow(subWindow);
        break;
    }
    if (!alive || !guard)
        return true; // the receiver or this area is gone: the event must go no further
    return QObject::eventFilter(watched, event);
}

// Layout and scrolling.

void ZBMdiAreaWidget::OnStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState)
{
    QPointer<ZBMdiAreaWidget> alive(this);
    const bool maximized = newState & Qt::WindowMaximized;
    const bool minimized = newState & Qt::WindowMinimized;
    if (maximized) {
        if (d->mode == Normal)
            d->EnterMaximizedMode();
        else if (minimized)
            d->MinimizeActive();
    } else if (minimized) {
        d->MinimizeActive();
    } else if (d->mode == Maximized) {
        d->LeaveMaximizedMode();
    } else if (d->active && d->active->Content()) {
        d->active->setGeometry(d->active->NormalGeometry());
        ShowContent(d->active);
    }
    if (!alive || !d->active)
        return;

    const bool wasMinimized = oldState & Qt::WindowMinimized;
    if (wasMinimized && !minimized) {
        d->minimized.removeOne(d->active);
        d->ArrangeMinimized();
    } else if (!wasMinimized && minimized && !d->minimized.contains(d->active)) {
        d->minimized.append(d->active);
        d->ArrangeMinimized();
    }
}

void ZBMdiAreaWidgetPrivate::EnterMaximizedMode()
{
    mode = ZBMdiAreaWidget::Maximized;
    UpdateScrollBars();
    flags |= ScrollMoving | MaximizedHold;
    if (active) {
        ShowContent(active);
        active->setGeometry(q->viewport()->rect());
    }
    for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(subWindows)) {
        if (subWindow)
            subWindow->setVisible(subWindow == active);
    }
}

void ZBMdiAreaWidgetPrivate::LeaveMaximizedMode()
{
    for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(subWindows)) {
        if (subWindow && !subWindow->IsMinimized()) {
            subWindow->setGeometry(subWindow->NormalGeometry());
            ShowContent(subWindow);
            subWindow->ShowNormal();
        }
        if (subWindow)
            subWindow->show();
    }
    mode = ZBMdiAreaWidget::Normal;
    flags &= ~(ScrollMoving | MaximizedHold);
    subWindowsRect = SubWindowsRect();
    viewportRect = QRect(QPoint(0, 0), q->viewport()->size());
    UpdateScrollBars();
    ArrangeMinimized();
}

void ZBMdiAreaWidgetPrivate::MinimizeActive()
{
    if (mode == ZBMdiAreaWidget::Maximized) {
        for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(subWindows)) {
            if (!subWindow || subWindow == active)
                continue;
            if (!subWindow->IsMinimized()) {
                ShowContent(subWindow);
                subWindow->setGeometry(subWindow->NormalGeometry());
                subWindow->ShowNormal();
            } else {
                subWindow->ShowMinimized();
            }
            if (subWindow)
                subWindow->show();
        }
    }
    if (active && active->Content()) {
        const QRect normal = active->NormalGeometry();
        active->Content()->hide();
        // Hiding the content changes the size hint only once the layouts hear of it.
        active->setGeometry(QRect(normal.topLeft(), active->sizeHint()));
    }
    mode = ZBMdiAreaWidget::Normal;
    flags &= ~(ScrollMoving | MaximizedHold);
    subWindowsRect = SubWindowsRect();
    viewportRect = QRect(QPoint(0, 0), q->viewport()->size());
    UpdateScrollBars();
}

void ZBMdiAreaWidgetPrivate::ArrangeMinimized()
{
    if (mode == ZBMdiAreaWidget::Maximized)
        return;
    // A sub-window restored while another was active did not tell the area; it leaves the row now
    // instead of being pulled back to the bottom.
    QList<ZBMdiSubWindow*> stillMinimized;
    for (ZBMdiSubWindow* subWindow : std::as_const(minimized)) {
        if (subWindow->IsMinimized())
            stillMinimized.append(subWindow);
    }
    minimized = stillMinimized;
    const QRect vr = q->viewport()->rect();
    int rowBottom = vr.bottom() - 1;
    int nextRowBottom = rowBottom;
    int x = 0;
    for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(minimized)) {
        if (!subWindow || !subWindow->TitleBar())
            continue;
        const QRect title = subWindow->TitleBar()->geometry();
        const int w = title.width();
        const int h = title.height();
        if (x != 0 && x + w > vr.right()) {
            rowBottom = nextRowBottom;
            x = 0;
        }
        subWindow->move(x, rowBottom - h);
        x += w + MinimizedGap;
        nextRowBottom = qMin(nextRowBottom, rowBottom - h - MinimizedGap);
    }
}

QRect ZBMdiAreaWidgetPrivate::SubWindowsRect() const
{
    int left = 0, top = 0, right = -1, bottom = -1;
    for (ZBMdiSubWindow* subWindow : subWindows) {
        if (subWindow->IsMinimized() || subWindow->windowType() != Qt::SubWindow)
            continue;
        const QRect g = subWindow->geometry();
        left = qMin(left, g.left());
        top = qMin(top, g.top());
        right = qMax(right, g.right());
        bottom = qMax(bottom, g.bottom());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void ZBMdiAreaWidgetPrivate::UpdateScrollBars()
{
    QScrollBar* horizontal = q->horizontalScrollBar();
    QScrollBar* vertical = q->verticalScrollBar();
    // Range changes move the slider values; the scrolls they cause must not move sub-windows.
    flags |= UpdatingScrollBars;
    if (mode == ZBMdiAreaWidget::Maximized) {
        horizontal->setRange(0, 0);
        vertical->setRange(0, 0);
        flags &= ~UpdatingScrollBars;
        return;
    }
    const QRect u = viewportRect | subWindowsRect;
    if (viewportRect.width() < u.width()) {
        horizontal->setRange(u.left(), u.right() - viewportRect.width());
        horizontal->setPageStep(viewportRect.width());
    } else {
        horizontal->setRange(0, 0);
    }
    if (viewportRect.height() < u.height()) {
        vertical->setRange(u.top(), u.bottom() - viewportRect.height());
        vertical->setPageStep(viewportRect.height());
    } else {
        vertical->setRange(0, 0);
    }
    flags &= ~UpdatingScrollBars;
}

void ZBMdiAreaWidget::resizeEvent(QResizeEvent* event)
{
    if (d->mode != Maximized) {
        d->viewportRect = QRect(QPoint(0, 0), viewport()->size());
        d->UpdateScrollBars();
    } else if (d->active) {
        d->active->setGeometry(viewport()->rect());
    }
    d->ArrangeMinimized();
    QAbstractScrollArea::resizeEvent(event);
}

void ZBMdiAreaWidget::scrollContentsBy(int dx, int dy)
{
    if ((dx == 0 && dy == 0) || (d->flags & ZBMdiAreaWidgetPrivate::UpdatingScrollBars))
        return;
    d->flags |= ZBMdiAreaWidgetPrivate::ScrollMoving;
    for (const QPointer<ZBMdiSubWindow>& subWindow : d->Guarded(d->subWindows)) {
        if (subWindow && !subWindow->IsMinimized())
            subWindow->move(subWindow->pos() + QPoint(dx, dy));
    }
    d->flags &= ~ZBMdiAreaWidgetPrivate::ScrollMoving;
}
