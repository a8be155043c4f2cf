#include "ZBMdiAreaWidget.h"
#include "ZBMdiAreaWidget_p.h"

#include "ZBAccessible_p.h"
#include "ZBFocusChain_p.h"
#include "ZBMdiSubWindow.h"
#include "ZBMdiSubWindow_p.h"
#include "ZBQtCompat_p.h"
#include "ZBSaturate_p.h"
#include "ZBTitleBar.h"
#include "ZBWidgetTree_p.h"
#include "ZBWidget_p.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <utility>

namespace {

constexpr int MinimizedGap = 2; // pixels between minimised sub-windows and between their rows

void ShowContent(ZBMdiSubWindow* subWindow)
{
    if (QWidget* content = subWindow->Content())
        content->show();
}

// Whether subWindow widens the bounding rectangle of the sub-windows.
bool WidensBounds(const ZBMdiSubWindow* subWindow)
{
    return !subWindow->IsMinimized() && subWindow->windowType() == Qt::SubWindow;
}

void TakeActiveFlag(ZBMdiSubWindow* subWindow)
{
    subWindow->overrideWindowState(subWindow->windowState() & ~Qt::WindowStates(Qt::WindowActive));
}

// A key with Backtab written as Shift+Tab: window systems send Shift+Tab either way.
int Normalized(int combined)
{
    int key = combined & ~int(Qt::KeyboardModifierMask);
    int modifiers = combined & int(Qt::KeyboardModifierMask) & ~int(Qt::KeypadModifier);
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        modifiers |= int(Qt::ShiftModifier);
    }
    return key | modifiers;
}

bool IsStandardKey(int pressed, QKeySequence::StandardKey standard)
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(standard);
    return std::any_of(bindings.begin(), bindings.end(), [pressed](const QKeySequence& binding) {
        return binding.count() == 1 && Normalized(ZBCompat::KeyCombined(binding, 0)) == pressed;
    });
}

// The keys of QMdiArea, taken as QMdiArea takes them: from the key presses that reach a widget inside
// the area, which come only when no shortcut of the application claimed the key first. The platform's
// next-child key (Ctrl+Tab) goes back through the activation history, the previous-child key
// (Ctrl+Shift+Tab) the other way, and the close key (Ctrl+W on X11, Ctrl+F4 on Windows; Ctrl+F4 on
// every platform) closes the active sub-window. Activation takes the focus along.
class KeyListener : public QObject
{
public:
    explicit KeyListener(ZBMdiAreaWidget* area);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void (ZBMdiAreaWidget::*ActionFor(int pressed))();
    // The innermost area that holds the widget within its window.
    static ZBMdiAreaWidget* NearestArea(QWidget* widget);

    ZBMdiAreaWidget* const area;
};

KeyListener::KeyListener(ZBMdiAreaWidget* area) : QObject(area), area(area)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

bool KeyListener::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!(key->modifiers() & Qt::ControlModifier))
        return false;
    void (ZBMdiAreaWidget::*action)() = ActionFor(Normalized(key->key() | int(key->modifiers())));
    if (!action || NearestArea(static_cast<QWidget*>(watched)) != area)
        return false;
    (area->*action)();
    return true;
}

void (ZBMdiAreaWidget::*KeyListener::ActionFor(int pressed))()
{
    if (IsStandardKey(pressed, QKeySequence::NextChild))
        return &ZBMdiAreaWidget::ActivatePreviousSubWindow;
    if (IsStandardKey(pressed, QKeySequence::PreviousChild))
        return &ZBMdiAreaWidget::ActivateNextSubWindow;
    if (IsStandardKey(pressed, QKeySequence::Close) || pressed == (Qt::Key_F4 | int(Qt::ControlModifier)))
        return &ZBMdiAreaWidget::CloseActiveSubWindow;
    return nullptr;
}

ZBMdiAreaWidget* KeyListener::NearestArea(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* found = qobject_cast<ZBMdiAreaWidget*>(w))
            return found;
        if (w->isWindow())
            return nullptr;
    }
    return nullptr;
}

// The sub-windows as guarded pointers, for loops that call out to them.
QList<QPointer<ZBMdiSubWindow>> Guarded(const QList<ZBMdiSubWindow*>& list)
{
    QList<QPointer<ZBMdiSubWindow>> guarded;
    guarded.reserve(list.size());
    for (ZBMdiSubWindow* subWindow : list)
        guarded.append(subWindow);
    return guarded;
}

} // namespace

// Registration and activation.

ZBMdiRegistry::ZBMdiRegistry(ZBMdiAreaWidget* area, ZBMdiLayout* layout) : area(area), layout(layout) {}

bool ZBMdiRegistry::IsRegistered(const QObject* subWindow) const
{
    return subWindow && records.contains(subWindow);
}

ZBMdiRecord* ZBMdiRegistry::RecordOf(const QObject* subWindow)
{
    const auto record = records.find(subWindow);
    return record == records.end() ? nullptr : &*record;
}

void ZBMdiRegistry::Register(ZBMdiSubWindow* subWindow)
{
    if (!subWindow || records.contains(subWindow))
        return;
    records.insert(subWindow, ZBMdiRecord());
    subWindows.append(subWindow);
    layout->Track(subWindow);
    zOrder.append(subWindow);
    cycle.append(subWindow);
    subWindow->installEventFilter(area);
    ZBMdiSubWindowPrivate::Get(subWindow)->registry = this;
    Activate(subWindow);
}

void ZBMdiRegistry::Deactivate(ZBMdiSubWindow* subWindow)
{
    QObject::disconnect(activeConnection);
    TakeActiveFlag(subWindow);
    ZBWidgetPrivate::ShowActive(subWindow, false);
}

bool ZBMdiRegistry::Activate(ZBMdiSubWindow* subWindow)
{
    if (subWindow == active)
        return true;
    if (ZBMdiSubWindow* old = active) {
        // The focus goes first: hiding a widget that holds it would hand it to the next one, and
        // that could be another sub-window asking to be activated in the middle of this.
        QWidget* focus = QApplication::focusWidget();
        if (focus && (focus == subWindow || old->isAncestorOf(focus)))
            focus->clearFocus();
        if (subWindow)
            layout->Withdraw(old);
        Deactivate(old);
    }
    active = subWindow;
    QPointer<ZBMdiAreaWidget> alive(area);
    if (subWindow) {
        zOrder.removeOne(subWindow);
        zOrder.prepend(subWindow);
        subWindow->raise();
        area->update();
        cycle.removeOne(subWindow);
        cycle.prepend(subWindow);
        if (!layout->Present(subWindow))
            return !alive.isNull();
        ZBWidgetPrivate::ShowActive(subWindow, true);
        activeConnection = QObject::connect(subWindow, &ZBMdiSubWindow::StateChanged, area,
                                            &ZBMdiAreaWidget::OnStateChanged);
        // A slot of the StateChanged that presenting emitted may have restored or minimised it again
        // before the area listened: the area follows the state it ended in. The slots of what that
        // drives may delete the area or the sub-window; a deleted one has handed activation on.
        QPointer<ZBMdiSubWindow> guard(subWindow);
        if (!layout->FollowUnheardState(subWindow))
            return false;
        if (!guard || guard != active)
            return true;
        // Typing goes to the document just activated; one not shown yet gets it once it is.
        if (!subWindow->isHidden())
            ZBMdiSubWindowPrivate::GiveFocus(subWindow);
    }
    Q_EMIT area->SubWindowActivated(active);
    return !alive.isNull();
}

void ZBMdiRegistry::Forget(ZBMdiSubWindow* subWindow, bool unparent)
{
    subWindow->removeEventFilter(area);
    subWindow->IgnoreAllActions(false); // the area's blocking stays behind
    if (unparent) {
        // Losing its parent ends with the focus taken out of it. Hidden with the focus, it would first
        // look for a successor among its own children, walking the focus chain of the whole window.
        QWidget* focus = QApplication::focusWidget();
        if (focus && subWindow->isAncestorOf(focus))
            focus->clearFocus();
        ZBFocusChain::Detach(subWindow);
        subWindow->setParent(nullptr);
    }
    subWindows.removeOne(subWindow);
    zOrder.removeOne(subWindow);
    cycle.removeOne(subWindow);
    layout->Forget(subWindow);
    records.remove(subWindow);
    ZBMdiSubWindowPrivate::Get(subWindow)->registry = nullptr;
    if (subWindow != active)
        return;
    if (!zOrder.isEmpty()) {
        Activate(zOrder.first());
        return;
    }
    Deactivate(subWindow);
    QWidget* focus = QApplication::focusWidget();
    if (focus && subWindow->isAncestorOf(focus))
        focus->clearFocus();
    active = nullptr;
    layout->Emptied();
    Q_EMIT area->SubWindowActivated(nullptr);
}

void ZBMdiRegistry::SendClose(ZBMdiSubWindow* subWindow, QCloseEvent* event)
{
    // A sent close event neither hides nor deletes: as QWidget::close() would, the sub-window that
    // agreed and has left the area goes.
    QPointer<ZBMdiSubWindow> guard(subWindow);
    event->accept();
    QCoreApplication::sendEvent(subWindow, event);
    if (guard && event->isAccepted() && !IsRegistered(guard) && guard->testAttribute(Qt::WA_DeleteOnClose))
        guard->deleteLater();
}

void ZBMdiRegistry::Release()
{
    QObject::disconnect(activeConnection);
    for (ZBMdiSubWindow* subWindow : std::as_const(subWindows)) {
        subWindow->removeEventFilter(area);
        ZBMdiSubWindowPrivate::Get(subWindow)->registry = nullptr;
    }
}

void ZBMdiRegistry::WindowStateChanged(ZBMdiSubWindow* subWindow, Qt::WindowStates oldState)
{
    // The sub-window raised Qt::WindowActive on itself: a click or the focus asks for its activation.
    if ((oldState & Qt::WindowActive) || !(subWindow->windowState() & Qt::WindowActive) ||
        subWindow == active || !IsRegistered(subWindow))
        return;
    if (blocked)
        TakeActiveFlag(subWindow);
    else
        Activate(subWindow);
}

void ZBMdiRegistry::ParentChanged(ZBMdiSubWindow* subWindow)
{
    layout->RecountUntilShown(subWindow);
    if (subWindow->parentWidget() != area->viewport() && IsRegistered(subWindow))
        Forget(subWindow, false);
}

void ZBMdiRegistry::SubWindowLeaving(ZBMdiSubWindow* subWindow)
{
    QPointer<ZBMdiAreaWidget> alive(area);
    QPointer<ZBMdiSubWindow> guard(subWindow);
    Q_EMIT area->SubWindowAboutClose(subWindow);
    if (alive && guard && IsRegistered(subWindow))
        Forget(subWindow, true);
}

void ZBMdiRegistry::SubWindowDestroyed(ZBMdiSubWindow* subWindow)
{
    Forget(subWindow, false);
}

void ZBMdiRegistry::SubWindowMinimizedChanged(ZBMdiSubWindow* subWindow)
{
    layout->RecountUntilShown(subWindow);
}

// Layout and scrolling.

ZBMdiLayout::ZBMdiLayout(ZBMdiAreaWidget* area, ZBMdiRegistry* registry) : area(area), registry(registry) {}

void ZBMdiLayout::StateChanged(Qt::WindowStates oldState, Qt::WindowStates newState)
{
    QPointer<ZBMdiAreaWidget> alive(area);
    ZBMdiSubWindow* active = registry->active;
    const bool maximized = newState & Qt::WindowMaximized;
    const bool minimizedNow = newState & Qt::WindowMinimized;
    if (maximized) {
        if (mode == ZBMdiAreaWidget::Normal)
            EnterMaximizedMode();
        else if (minimizedNow)
            MinimizeActive();
    } else if (minimizedNow) {
        MinimizeActive();
    } else if (mode == ZBMdiAreaWidget::Maximized) {
        LeaveMaximizedMode();
    } else if (active && active->Content()) {
        active->setGeometry(active->NormalGeometry());
        ShowContent(active);
    }
    if (!alive || !(active = registry->active))
        return;

    const bool wasMinimized = oldState & Qt::WindowMinimized;
    if (wasMinimized && !minimizedNow) {
        minimized.removeOne(active);
        ArrangeMinimized();
    } else if (!wasMinimized && minimizedNow && !minimized.contains(active)) {
        minimized.append(active);
        ArrangeMinimized();
    }
}

void ZBMdiLayout::Withdraw(ZBMdiSubWindow* old)
{
    if (mode == ZBMdiAreaWidget::Maximized)
        old->hide();
}

bool ZBMdiLayout::FollowUnheardState(ZBMdiSubWindow* subWindow)
{
    if (mode != ZBMdiAreaWidget::Maximized || subWindow->IsMaximized())
        return true;
    QPointer<ZBMdiAreaWidget> alive(area);
    StateChanged(Qt::WindowMaximized, subWindow->GetState());
    return !alive.isNull();
}

void ZBMdiLayout::Emptied()
{
    // Nothing is left to cover the viewport: the next sub-window comes as it is, as in QMdiArea.
    if (mode == ZBMdiAreaWidget::Maximized)
        LeaveMaximizedMode();
}

bool ZBMdiLayout::Present(ZBMdiSubWindow* subWindow)
{
    if (mode != ZBMdiAreaWidget::Maximized)
        return true;
    if (subWindow->IsMinimized())
        minimized.removeOne(subWindow);
    QPointer<ZBMdiSubWindow> guard(subWindow);
    if (!ShowAs(subWindow, &ZBMdiSubWindow::ShowMaximized) || !guard)
        return false;
    subWindow->show();
    ShowContent(subWindow);
    if (subWindow->IsMaximized()) // else a slot restored or minimised it: FollowUnheardState() places it
        subWindow->setGeometry(area->viewport()->rect());
    return true;
}

bool ZBMdiLayout::ShowAs(ZBMdiSubWindow* subWindow, void (ZBMdiSubWindow::*show)())
{
    QPointer<ZBMdiSubWindow> guard(subWindow);
    QPointer<ZBMdiAreaWidget> alive(area);
    subWindow->IgnoreAllActions(false);
    (subWindow->*show)(); // emits StateChanged, whose slots may delete anything
    if (guard && alive)
        guard->IgnoreAllActions(registry->blocked);
    return !alive.isNull();
}

void ZBMdiLayout::Track(ZBMdiSubWindow* subWindow)
{
    toRecount.append(subWindow); // its record is new: counted at the next read
}

void ZBMdiLayout::Forget(ZBMdiSubWindow* subWindow)
{
    minimized.removeAll(subWindow);
    if (const ZBMdiRecord* record = registry->RecordOf(subWindow)) {
        if (record->counted)
            bounds.Remove(record->share);
        if (record->pendingRecount)
            toRecount.removeOne(subWindow);
    }
}

void ZBMdiLayout::RecountUntilShown(ZBMdiSubWindow* subWindow)
{
    ZBMdiRecord* record = registry->RecordOf(subWindow);
    if (record && !record->pendingRecount) {
        record->pendingRecount = true;
        toRecount.append(subWindow);
    }
}

void ZBMdiLayout::SubWindowMoved(ZBMdiSubWindow* subWindow)
{
    // Counted also while scrolling or maximised: later reads see where it is.
    if (ZBMdiRecord* record = registry->RecordOf(subWindow))
        Recount(subWindow, *record);
    // While scrolling moves them, the ranges stay those from before the scroll; maximised, they are 0.
    if (scrolling || mode == ZBMdiAreaWidget::Maximized)
        return;
    subWindowsRect = SubWindowsRect();
    UpdateScrollBars();
}

void ZBMdiLayout::Resized()
{
    if (mode != ZBMdiAreaWidget::Maximized) {
        viewportRect = QRect(QPoint(0, 0), area->viewport()->size());
        UpdateScrollBars();
    } else if (registry->active) {
        registry->active->setGeometry(area->viewport()->rect());
    }
    ArrangeMinimized();
}

void ZBMdiLayout::ScrollBy(int dx, int dy)
{
    if ((dx == 0 && dy == 0) || updatingScrollBars)
        return;
    scrolling = true;
    for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(registry->subWindows)) {
        if (subWindow && !subWindow->IsMinimized())
            subWindow->move(ZBSaturate::ToInt(qint64(subWindow->x()) + dx),
                            ZBSaturate::ToInt(qint64(subWindow->y()) + dy));
    }
    scrolling = false;
}

void ZBMdiLayout::Arrange(bool tile)
{
    ZBMdiSubWindow* active = registry->active;
    QPointer<ZBMdiAreaWidget> alive(area);
    if (mode == ZBMdiAreaWidget::Maximized && active)
        active->ShowNormal(); // emits StateChanged, whose slots may delete the area
    if (!alive || mode == ZBMdiAreaWidget::Maximized)
        return;
    QList<QPointer<ZBMdiSubWindow>> subWindows;
    for (ZBMdiSubWindow* subWindow : registry->subWindows) {
        if (!subWindow->IsMinimized() && !subWindow->isHidden())
            subWindows.append(subWindow);
    }
    // The cascade ends with the active one, on top.
    if (!tile && subWindows.removeOne(registry->active))
        subWindows.append(registry->active);

    // The row of minimised sub-windows along the bottom stays clear.
    QRect domain = area->viewport()->rect();
    for (ZBMdiSubWindow* subWindow : std::as_const(minimized)) {
        if (subWindow->IsMinimized() && subWindow->y() - MinimizedGap > domain.top())
            domain.setBottom(qMin(domain.bottom(), subWindow->y() - MinimizedGap - 1));
    }
    // The cascade steps by a title bar's height; the application may have deleted the title bar.
    ZBTitleBar* bar = subWindows.isEmpty() ? nullptr : subWindows.first()->TitleBar();
    const int step = bar ? bar->height() : 0;
    const QList<QRect> places =
        tile ? Tiled(subWindows.size(), domain) : Cascaded(subWindows.size(), domain, step);
    // Right to left, the arrangement is mirrored: it starts at the viewport's right edge.
    const Qt::LayoutDirection direction = area->layoutDirection();
    for (int i = 0; i < subWindows.size(); ++i) {
        if (ZBMdiSubWindow* subWindow = subWindows.at(i)) {
            subWindow->setGeometry(QStyle::visualRect(direction, domain, places.at(i)));
            subWindow->raise();
        }
    }
}

QList<QRect> ZBMdiLayout::Tiled(int count, const QRect& domain)
{
    QList<QRect> places;
    const int columns = int(std::ceil(std::sqrt(double(qMax(count, 0)))));
    for (int c = 0; c < columns; ++c) {
        // The columns on the right take the windows left over.
        const int rows = count / columns + (c >= columns - count % columns ? 1 : 0);
        const int left = domain.left() + c * domain.width() / columns;
        const int right = domain.left() + (c + 1) * domain.width() / columns - 1;
        for (int r = 0; r < rows; ++r) {
            const int top = domain.top() + r * domain.height() / rows;
            const int bottom = domain.top() + (r + 1) * domain.height() / rows - 1;
            places.append(QRect(QPoint(left, top), QPoint(right, bottom)));
        }
    }
    return places;
}

QList<QRect> ZBMdiLayout::Cascaded(int count, const QRect& domain, int step)
{
    const QSize size = (domain.size() * 2 / 3).expandedTo(QSize(1, 1));
    step = qMax(step, 1);
    const int run = qMax(1, qMin(domain.width() - size.width(), domain.height() - size.height()) / step + 1);
    QList<QRect> places;
    for (int i = 0; i < count; ++i)
        places.append(QRect(domain.topLeft() + QPoint(i % run, i % run) * step, size));
    return places;
}

void ZBMdiLayout::EnterMaximizedMode()
{
    mode = ZBMdiAreaWidget::Maximized;
    UpdateScrollBars();
    ZBMdiSubWindow* active = registry->active;
    if (active) {
        ShowContent(active);
        active->setGeometry(area->viewport()->rect());
    }
    for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(registry->subWindows)) {
        if (subWindow)
            subWindow->setVisible(subWindow == active);
    }
}

void ZBMdiLayout::LeaveMaximizedMode()
{
    for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(registry->subWindows)) {
        if (subWindow && !subWindow->IsMinimized()) {
            subWindow->setGeometry(subWindow->NormalGeometry());
            ShowContent(subWindow);
            if (!ShowAs(subWindow, &ZBMdiSubWindow::ShowNormal))
                return;
        }
        if (subWindow)
            subWindow->show();
    }
    ReturnToNormal();
    ArrangeMinimized();
}

void ZBMdiLayout::MinimizeActive()
{
    ZBMdiSubWindow* active = registry->active;
    if (mode == ZBMdiAreaWidget::Maximized) {
        for (const QPointer<ZBMdiSubWindow>& subWindow : Guarded(registry->subWindows)) {
            if (!subWindow || subWindow == active)
                continue;
            if (!subWindow->IsMinimized()) {
                ShowContent(subWindow);
                subWindow->setGeometry(subWindow->NormalGeometry());
                if (!ShowAs(subWindow, &ZBMdiSubWindow::ShowNormal))
                    return;
            } else if (!ShowAs(subWindow, &ZBMdiSubWindow::ShowMinimized)) {
                return;
            }
            if (subWindow)
                subWindow->show();
        }
        active = registry->active;
    }
    if (active && active->Content()) {
        const QRect normal = active->NormalGeometry();
        active->Content()->hide();
        // Hiding the content changes the size hint only once the layouts hear of it.
        active->setGeometry(ZBSaturate::Rect(normal.topLeft(), active->sizeHint()));
    }
    ReturnToNormal();
}

void ZBMdiLayout::ReturnToNormal()
{
    mode = ZBMdiAreaWidget::Normal;
    RecountAll();
    subWindowsRect = SubWindowsRect();
    viewportRect = QRect(QPoint(0, 0), area->viewport()->size());
    UpdateScrollBars();
}

void ZBMdiLayout::ArrangeMinimized()
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
    const QRect vr = area->viewport()->rect();
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

QRect ZBMdiLayout::SubWindowsRect()
{
    // A hidden sub-window moves without telling the area, and a state change says nothing of the
    // geometry: those are counted anew here, until they are seen shown.
    const auto settled = [this](ZBMdiSubWindow* subWindow) {
        ZBMdiRecord* record = registry->RecordOf(subWindow);
        if (!record)
            return true;
        Recount(subWindow, *record);
        record->pendingRecount = !subWindow->isVisible();
        return !record->pendingRecount;
    };
    toRecount.erase(std::remove_if(toRecount.begin(), toRecount.end(), settled), toRecount.end());
    if (bounds.stale)
        RecountAll();
    return bounds.Rect();
}

void ZBMdiLayout::Recount(ZBMdiSubWindow* subWindow, ZBMdiRecord& record)
{
    const bool counted = WidensBounds(subWindow);
    const QRect g = subWindow->geometry();
    if (record.counted == counted && (!counted || record.share == g))
        return;
    // The new share first: a sub-window that moves outwards keeps the edge it held.
    if (counted)
        bounds.Add(g);
    if (record.counted)
        bounds.Remove(record.share);
    record.share = g;
    record.counted = counted;
}

void ZBMdiLayout::RecountAll()
{
    bounds = Bounds();
    toRecount.clear();
    for (ZBMdiSubWindow* subWindow : registry->subWindows) {
        ZBMdiRecord* record = registry->RecordOf(subWindow);
        record->counted = WidensBounds(subWindow);
        record->share = subWindow->geometry();
        if (record->counted)
            bounds.Add(record->share);
        record->pendingRecount = !subWindow->isVisible();
        if (record->pendingRecount)
            toRecount.append(subWindow);
    }
}

void ZBMdiLayout::Edge::Add(int side)
{
    if (side == at) {
        ++holders;
    } else if (lowest ? side < at : side > at) {
        at = side;
        holders = 1;
    }
}

bool ZBMdiLayout::Edge::Remove(int side)
{
    return side == at && --holders == 0;
}

void ZBMdiLayout::Bounds::Add(const QRect& share)
{
    left.Add(share.left());
    top.Add(share.top());
    right.Add(share.right());
    bottom.Add(share.bottom());
}

void ZBMdiLayout::Bounds::Remove(const QRect& share)
{
    // Every edge counts down, also once one has gone stale.
    const bool lost[] = {left.Remove(share.left()), top.Remove(share.top()), right.Remove(share.right()),
                         bottom.Remove(share.bottom())};
    stale = stale || std::find(std::begin(lost), std::end(lost), true) != std::end(lost);
}

QRect ZBMdiLayout::Bounds::Rect() const
{
    return QRect(QPoint(left.at, top.at), QPoint(right.at, bottom.at));
}

void ZBMdiLayout::UpdateScrollBars()
{
    QScrollBar* horizontal = area->horizontalScrollBar();
    QScrollBar* vertical = area->verticalScrollBar();
    // Range changes move the slider values; the scrolls they cause must not move sub-windows.
    updatingScrollBars = true;
    if (mode == ZBMdiAreaWidget::Maximized) {
        horizontal->setRange(0, 0);
        vertical->setRange(0, 0);
        updatingScrollBars = false;
        return;
    }
    // The viewport united with the sub-windows' rectangle (none while that is null), axis by axis:
    // QRect's own union would overflow for sub-windows at the ends of int.
    const QRect& s = subWindowsRect == QRect() ? viewportRect : subWindowsRect;
    SetRange(horizontal, qMin(viewportRect.left(), s.left()), qMax(viewportRect.right(), s.right()),
             viewportRect.width());
    SetRange(vertical, qMin(viewportRect.top(), s.top()), qMax(viewportRect.bottom(), s.bottom()),
             viewportRect.height());
    updatingScrollBars = false;
}

void ZBMdiLayout::SetRange(QScrollBar* bar, qint64 first, qint64 last, int page)
{
    // In 64 bits: sub-windows far outside the viewport span more than an int. The range is kept
    // within half of int either way, so that a scroll across it is a distance an int can hold.
    if (page < last - first + 1) {
        bar->setRange(ZBSaturate::ToInt(qMax(first, qint64(-INT_MAX / 2))),
                      ZBSaturate::ToInt(qMin(last - page, qint64(INT_MAX / 2))));
        bar->setPageStep(page);
    } else {
        bar->setRange(0, 0);
    }
}

// The area.

ZBMdiAreaWidgetPrivate::ZBMdiAreaWidgetPrivate(ZBMdiAreaWidget* q)
    : q(q), layout(q, &registry), registry(q, &layout)
{}

void ZBMdiAreaWidgetPrivate::Init()
{
    q->setObjectName(QStringLiteral("ZBMDIAREAWIDGET"));
    q->setCursor(Qt::ArrowCursor);
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

ZBMdiAreaWidget::ZBMdiAreaWidget(QWidget* parent)
    : QAbstractScrollArea(parent), d(new ZBMdiAreaWidgetPrivate(this))
{
    d->Init();
    new KeyListener(this);
    ZBAccessible::FollowActivation(this);
}

ZBMdiAreaWidget::~ZBMdiAreaWidget()
{
    // The sub-windows die with the viewport after this; nothing of them on the way may reach the lists.
    d->registry.Release();
}

void ZBMdiAreaWidget::AddSubWindow(ZBMdiSubWindow* subWindow)
{
    if (IsBlocked()) {
        d->LogFailure(__LINE__, __FILE__, QStringLiteral("Failed to add new subwindow."));
        return;
    }
    // An ancestor of the area cannot live inside it.
    if (!subWindow || d->registry.IsRegistered(subWindow) || ZBWidgetTree::Within(this, subWindow))
        return;
    subWindow->IgnoreAllActions(false); // it may come from another area that was blocked
    subWindow->setParent(viewport());
    subWindow->setWindowFlags(Qt::SubWindow);
    subWindow->move(QPoint(0, 0));
    QPointer<ZBMdiAreaWidget> alive(this);
    QPointer<ZBMdiSubWindow> guard(subWindow);
    d->registry.Register(subWindow);
    if (!alive || !guard)
        return;
    if (subWindow->isHidden())
        ZBWidgetTree::ActivateLayouts(subWindow);
    subWindow->setVisible(true);
    subWindow->setAttribute(Qt::WA_DeleteOnClose);
    viewport()->update();
    if (subWindow == d->registry.active)
        ZBMdiSubWindowPrivate::GiveFocus(subWindow);
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
    return d->registry.active;
}

ZBMdiSubWindow* ZBMdiAreaWidget::CurrentSubWindow() const
{
    return d->registry.active;
}

QList<ZBMdiSubWindow*> ZBMdiAreaWidget::SubWindows() const
{
    return d->registry.zOrder;
}

QList<ZBMdiSubWindow*> ZBMdiAreaWidget::SubWindowList(WindowOrder order) const
{
    const ZBMdiRegistry& registry = d->registry;
    QList<ZBMdiSubWindow*> list;
    if (order == StackingOrder) {
        // The viewport keeps its children from the bottom of the stack to the top.
        for (QObject* child : viewport()->children()) {
            if (registry.IsRegistered(child))
                list.append(static_cast<ZBMdiSubWindow*>(child));
        }
    } else if (order == ActivationHistoryOrder) {
        std::copy(registry.zOrder.crbegin(), registry.zOrder.crend(), std::back_inserter(list));
    } else {
        list = registry.subWindows;
    }
    return list;
}

int ZBMdiAreaWidget::SubWindowsCount() const
{
    return d->registry.subWindows.size();
}

ZBMdiAreaWidget::MdiState ZBMdiAreaWidget::GetState() const
{
    return d->layout.mode;
}

void ZBMdiAreaWidget::BlockMdiArea(bool block) const
{
    d->registry.blocked = block;
    for (ZBMdiSubWindow* subWindow : std::as_const(d->registry.subWindows))
        subWindow->IgnoreAllActions(block);
}

bool ZBMdiAreaWidget::IsBlocked() const
{
    return d->registry.blocked;
}

void ZBMdiAreaWidget::ActivateNextSubWindow()
{
    if (IsBlocked() || d->registry.cycle.isEmpty())
        return;
    d->registry.Activate(d->registry.cycle.last());
}

void ZBMdiAreaWidget::ActivatePreviousSubWindow()
{
    QList<ZBMdiSubWindow*>& cycle = d->registry.cycle;
    if (IsBlocked() || cycle.size() < 2)
        return;
    if (!d->registry.Activate(cycle.at(1)))
        return;
    // The one that was active before goes to the end, so that repeated calls walk the ring backwards.
    if (cycle.size() >= 2)
        cycle.append(cycle.takeAt(1));
}

void ZBMdiAreaWidget::CloseActiveSubWindow()
{
    if (IsBlocked() || !d->registry.active)
        return;
    QCloseEvent event;
    d->registry.SendClose(d->registry.active, &event);
}

void ZBMdiAreaWidget::CloseAllSubWindows()
{
    if (IsBlocked())
        return;
    QPointer<ZBMdiAreaWidget> alive(this);
    const QList<QPointer<ZBMdiSubWindow>> all = Guarded(d->registry.zOrder);
    QCloseEvent event;
    for (const QPointer<ZBMdiSubWindow>& subWindow : all) {
        if (!subWindow || !d->registry.IsRegistered(subWindow))
            continue;
        if (!d->registry.Activate(subWindow))
            return;
        if (subWindow)
            d->registry.SendClose(subWindow, &event);
        if (!alive)
            return;
    }
}

void ZBMdiAreaWidget::SetActiveSubWindow(ZBMdiSubWindow* subWindow)
{
    if (d->registry.IsRegistered(subWindow))
        d->registry.Activate(subWindow);
}

void ZBMdiAreaWidget::TileSubWindows()
{
    if (!IsBlocked())
        d->layout.Arrange(true);
}

void ZBMdiAreaWidget::CascadeSubWindows()
{
    if (!IsBlocked())
        d->layout.Arrange(false);
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
        d->layout.SubWindowMoved(subWindow);
        break;
    case QEvent::Hide:
        d->layout.RecountUntilShown(subWindow);
        break;
    case QEvent::Close:
        // The sub-window's own close handling asks its widget and, once agreed, tells the area.
        if (IsBlocked() && d->registry.IsRegistered(subWindow)) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::WindowStateChange:
        d->registry.WindowStateChanged(subWindow, static_cast<QWindowStateChangeEvent*>(event)->oldState());
        break;
    case QEvent::ParentChange:
        d->registry.ParentChanged(subWindow);
        break;
    default:
        break;
    }
    if (!alive || !guard)
        return true; // the receiver or this area is gone: the event must go no further
    return QObject::eventFilter(watched, event);
}

void ZBMdiAreaWidget::OnStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState)
{
    d->layout.StateChanged(oldState, newState);
}

void ZBMdiAreaWidget::resizeEvent(QResizeEvent* event)
{
    d->layout.Resized();
    QAbstractScrollArea::resizeEvent(event);
}

void ZBMdiAreaWidget::scrollContentsBy(int dx, int dy)
{
    d->layout.ScrollBy(dx, dy);
}
