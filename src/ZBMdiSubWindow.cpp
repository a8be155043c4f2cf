#include "ZBMdiSubWindow.h"
#include "ZBMdiSubWindow_p.h"

#include "ZBDeferredDelete_p.h"
#include "ZBTitleBar.h"
#include "ZBWidgetTree_p.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QSet>
#include <QToolButton>
#include <utility>

namespace {

constexpr int MinimizedWidth = 300;

// Hears the application's focus changes once for all the sub-windows that track them themselves
// (those outside an area) and hands each change to those that hold the new focus widget, the only
// ones for which it changes anything: a connection per sub-window cost every focus change a call
// per sub-window, closed ones waiting for their deletion included.
class FocusTracker : public QObject
{
public:
    static FocusTracker* Instance(bool create)
    {
        static QPointer<FocusTracker> instance;
        if (!instance && create && qApp) {
            instance = new FocusTracker(qApp);
            QObject::connect(qApp, &QApplication::focusChanged, instance.data(), &FocusTracker::Changed);
        }
        return instance;
    }

    QSet<const QObject*> tracked;

private:
    using QObject::QObject;

    void Changed(QWidget* old, QWidget* now)
    {
        QList<QPointer<ZBMdiSubWindow>> holders;
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (tracked.contains(w))
                holders.prepend(static_cast<ZBMdiSubWindow*>(w)); // outermost first
        }
        for (const QPointer<ZBMdiSubWindow>& holder : std::as_const(holders)) {
            if (holder)
                ZBMdiSubWindowPrivate::FocusChanged(holder, old, now);
        }
    }
};

} // namespace

ZBMdiSubWindowPrivate::ZBMdiSubWindowPrivate(ZBMdiSubWindow* q) : q(q) {}

ZBMdiSubWindowPrivate::~ZBMdiSubWindowPrivate()
{
    // The widget parts are destroyed after this; a focus change on the way must not reach the slot.
    TrackFocus(q, false);
    QObject::disconnect(fadeConnection);
}

QEvent::Type ZBMdiSubWindowPrivate::DestroyingEventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type ZBMdiSubWindowPrivate::LeavingEventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type ZBMdiSubWindowPrivate::MinimizedChangeEventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void ZBMdiSubWindowPrivate::Init()
{
    ignoreAllActions = false;

    auto* grid = ZBWidgetTree::NewGridLayout(q->Content());
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);

    q->setObjectName(QStringLiteral("ZBMdiSubWindow"));

    maximizeButton = MakeButton(QStringLiteral("MAXIMIZEBUTTON"), ZBMdiSubWindow::tr("Maximize"));
    QObject::connect(maximizeButton.data(), &QToolButton::clicked, q, &ZBMdiSubWindow::ShowMaximized);
    restoreButton = MakeButton(QStringLiteral("RESTOREBUTTON"), ZBMdiSubWindow::tr("Restore"));
    QObject::connect(restoreButton.data(), &QToolButton::clicked, q, &ZBMdiSubWindow::ShowNormal);
    minimizeButton = MakeButton(QStringLiteral("MINIMIZEBUTTON"), ZBMdiSubWindow::tr("Minimize"));
    QObject::connect(minimizeButton.data(), &QToolButton::clicked, q, &ZBMdiSubWindow::ShowMinimized);

    q->setFocusPolicy(Qt::StrongFocus);
    normalGeometry = QRect(QPoint(0, 0), q->sizeHint());

    // Starting from a state that differs from "no state" runs the button rules once.
    state = Qt::WindowActive;
    q->SetState(Qt::WindowNoState);

    QObject::connect(q->TitleBar(), &ZBTitleBar::DoubleClicked, q, &ZBMdiSubWindow::OnTitleDoubleClicked);
    TrackFocus(q, true);
    // The frame closes the window once more when its close fade ends; that close was agreed to.
    fadeConnection = QObject::connect(q, &ZBWidget::FadeStateChanged, q,
                                      [this](int state) { fadeEnded = state == ZBWidget::Closed; });
}

void ZBMdiSubWindowPrivate::TrackFocus(ZBMdiSubWindow* subWindow, bool track)
{
    if (FocusTracker* tracker = FocusTracker::Instance(track)) {
        if (track)
            tracker->tracked.insert(subWindow);
        else
            tracker->tracked.remove(subWindow);
    }
}

void ZBMdiSubWindowPrivate::FocusChanged(ZBMdiSubWindow* subWindow, QWidget* old, QWidget* now)
{
    subWindow->OnFocusChanged(old, now);
}

QToolButton* ZBMdiSubWindowPrivate::MakeButton(const QString& objectName, const QString& toolTip)
{
    QToolButton* button = q->TitleBar()->AddButton(Qt::AlignRight, toolTip);
    button->setObjectName(objectName);
    return button;
}

QGridLayout* ZBMdiSubWindowPrivate::ContentGrid() const
{
    QWidget* content = q->Content();
    return content ? qobject_cast<QGridLayout*>(content->layout()) : nullptr;
}

void ZBMdiSubWindowPrivate::TrackNormalGeometry()
{
    if (!(state & (Qt::WindowMinimized | Qt::WindowMaximized)))
        normalGeometry = q->geometry();
}

QSize ZBMdiSubWindowPrivate::FreshSizeHint(ZBMdiSubWindow* subWindow)
{
    // Layouts cache the size hints of their widgets until the next layout pass; drop the caches
    // from the content up to the sub-window so that a widget just added or hidden counts now.
    for (QWidget* w = subWindow->Content(); w && w != subWindow; w = w->parentWidget())
        w->updateGeometry();
    return subWindow->sizeHint();
}

bool ZBMdiSubWindowPrivate::WidgetAgreesToClose()
{
    QWidget* widget = q->GetWidget();
    if (!widget)
        return true;
    if (asking)
        return false;
    // The widget may run a message box here, with an event loop in which anything can happen.
    QPointer<ZBMdiSubWindow> alive(q);
    QCloseEvent ask;
    asking = true;
    QCoreApplication::sendEvent(widget, &ask);
    if (!alive)
        return false;
    asking = false;
    return ask.isAccepted();
}

void ZBMdiSubWindowPrivate::FollowWidget(QWidget* widget, QEvent::Type change)
{
    if (change == QEvent::WindowTitleChange)
        q->setWindowTitle(widget->windowTitle());
    else if (change == QEvent::ModifiedChange)
        q->setWindowModified(widget->isWindowModified());
    else if (change == QEvent::WindowIconChange && widget->testAttribute(Qt::WA_SetWindowIcon))
        q->setWindowIcon(widget->windowIcon());
}

void ZBMdiSubWindowPrivate::GiveFocus(ZBMdiSubWindow* subWindow)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == subWindow || subWindow->isAncestorOf(focus)))
        return;
    const auto takesFocus = [subWindow](QWidget* w) {
        while (w && w->focusProxy())
            w = w->focusProxy();
        return w && subWindow->isAncestorOf(w) && w->isVisibleTo(subWindow) && w->isEnabled() &&
                       w->focusPolicy() != Qt::NoFocus
                   ? w
                   : nullptr;
    };
    QWidget* target = takesFocus(subWindow->d->lastFocus);
    if (QWidget* widget = subWindow->GetWidget(); !target && widget) {
        target = takesFocus(widget);
        // A container that takes no focus itself: its first child in the focus chain that does.
        for (QWidget* w = widget->nextInFocusChain(); !target && w != widget && widget->isAncestorOf(w);
             w = w->nextInFocusChain())
            target = w->focusPolicy() & Qt::TabFocus ? takesFocus(w) : nullptr;
    }
    (target ? target : subWindow)->setFocus(Qt::OtherFocusReason);
}

void ZBMdiSubWindowPrivate::RememberFocus(ZBMdiSubWindow* subWindow, QWidget* widget)
{
    if (widget != subWindow)
        subWindow->d->lastFocus = widget;
}

ZBMdiSubWindow::ZBMdiSubWindow(QWidget* parent)
    : ZBWidget(parent, Qt::WindowFlags()), d(new ZBMdiSubWindowPrivate(this))
{
    d->Init();
}

ZBMdiSubWindow::~ZBMdiSubWindow()
{
    // Lets the area that filters this sub-window drop it while it is still whole.
    QEvent event(ZBMdiSubWindowPrivate::DestroyingEventType());
    QCoreApplication::sendEvent(this, &event);
}

void ZBMdiSubWindow::SetWidget(QWidget* widget)
{
    QGridLayout* grid = d->ContentGrid();
    // The sub-window, its ancestors, its content widget and its title bar's parts cannot be held.
    if (!grid ||
        (widget && (ZBWidgetTree::Within(Content(), widget) || ZBWidgetTree::Within(widget, TitleBar()))))
        return;
    QWidget* previous = GetWidget();
    if (previous == widget)
        return;
    if (previous)
        previous->removeEventFilter(this);
    // The old one leaves the grid now, so that GetWidget() answers the new widget before it dies.
    ZBDeferredDelete::ReplaceInCell(Content(), grid, 0, 0, previous, widget);
    if (!widget)
        return;

    // The layout would show the widget only from the event loop, and count it in the size hint
    // only from then on; show it now unless the application hid it on purpose.
    if (!(widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide)))
        widget->setVisible(true);
    Content()->setWindowTitle(widget->windowTitle());
    // The sub-window's own title is the widget's from the start, as QMdiSubWindow's is, so that
    // window menus listing windowTitle() name the documents.
    d->FollowWidget(widget, QEvent::WindowTitleChange);
    d->FollowWidget(widget, QEvent::ModifiedChange);
    d->FollowWidget(widget, QEvent::WindowIconChange);
    widget->setCursor(Qt::ArrowCursor);
    widget->installEventFilter(this);

    resize(ZBMdiSubWindowPrivate::FreshSizeHint(this).expandedTo(size()));
    d->normalGeometry = QRect(d->normalGeometry.topLeft(), size());
}

QWidget* ZBMdiSubWindow::GetWidget() const
{
    QGridLayout* grid = d->ContentGrid();
    QLayoutItem* item = grid ? grid->itemAtPosition(0, 0) : nullptr;
    return item ? item->widget() : nullptr;
}

void ZBMdiSubWindow::SetState(Qt::WindowStates state)
{
    const Qt::WindowStates current = d->state;
    if (state == current)
        return;
    const auto update = [&](QToolButton* button, Qt::WindowState bit) {
        if (!button)
            return;
        if ((state & bit) && !(current & bit))
            button->hide();
        else if (!(state & bit) && (current & bit))
            button->show();
    };
    update(d->maximizeButton, Qt::WindowMaximized);
    update(d->minimizeButton, Qt::WindowMinimized);
    if (d->restoreButton)
        d->restoreButton->setVisible(state & (Qt::WindowMinimized | Qt::WindowMaximized));

    d->state = state;
    if ((state ^ current) & Qt::WindowMinimized) {
        QPointer<ZBMdiSubWindow> alive(this);
        QEvent change(ZBMdiSubWindowPrivate::MinimizedChangeEventType());
        QCoreApplication::sendEvent(this, &change);
        if (!alive)
            return;
    }
    Q_EMIT StateChanged(current, state);
}

Qt::WindowStates ZBMdiSubWindow::GetState() const
{
    return d->state;
}

bool ZBMdiSubWindow::IsMaximized() const
{
    return d->state & Qt::WindowMaximized;
}

bool ZBMdiSubWindow::IsMinimized() const
{
    return d->state & Qt::WindowMinimized;
}

QRect ZBMdiSubWindow::NormalGeometry() const
{
    return d->normalGeometry;
}

void ZBMdiSubWindow::IgnoreAllActions(bool ignore)
{
    d->ignoreAllActions = ignore;
}

void ZBMdiSubWindow::AddMinimizeButton() {}

void ZBMdiSubWindow::AddMaximizeButton() {}

QToolButton* ZBMdiSubWindow::MinimizeButton() const
{
    return d->minimizeButton;
}

QToolButton* ZBMdiSubWindow::RestoreButton() const
{
    return d->restoreButton;
}

QToolButton* ZBMdiSubWindow::MaximizeButton() const
{
    return d->maximizeButton;
}

void ZBMdiSubWindow::ShowMaximized()
{
    if (d->ignoreAllActions)
        return;
    QPointer<ZBMdiSubWindow> alive(this);
    SetState((d->state & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    if (!alive)
        return;
    IgnoreTitleMove(true);
    IgnoreResize(true);
    SetMainContentMargins(0, 0, 0, 0);
}

void ZBMdiSubWindow::ShowMinimized()
{
    if (d->ignoreAllActions)
        return;
    QPointer<ZBMdiSubWindow> alive(this);
    // The area places the sub-window while this signal is delivered, before the steps below.
    SetState((d->state & ~Qt::WindowMaximized) | Qt::WindowMinimized);
    if (!alive)
        return;
    IgnoreTitleMove(true);
    IgnoreResize(true);
    if (QWidget* content = Content()) {
        content->hide();
        resize(MinimizedWidth, ZBMdiSubWindowPrivate::FreshSizeHint(this).height());
    }
    SetMainContentMargins(0, 0, 0, 0);
}

void ZBMdiSubWindow::ShowNormal()
{
    if (d->ignoreAllActions)
        return;
    QPointer<ZBMdiSubWindow> alive(this);
    SetState(d->state & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (!alive)
        return;
    IgnoreTitleMove(false);
    IgnoreResize(false);
    RestoreMainContentMargins();
}

void ZBMdiSubWindow::OnTitleDoubleClicked(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    if (!(d->state & (Qt::WindowMinimized | Qt::WindowMaximized)))
        ShowMaximized();
    else
        ShowNormal(); // does nothing while actions are ignored
}

void ZBMdiSubWindow::OnFocusChanged(QWidget* /*old*/, QWidget* now)
{
    if (now && (now == this || isAncestorOf(now)))
        setWindowState(windowState() | Qt::WindowActive);
}

bool ZBMdiSubWindow::event(QEvent* event)
{
    if (event->type() != QEvent::Close)
        return ZBWidget::event(event);
    QPointer<ZBMdiSubWindow> alive(this);
    const bool result = ZBWidget::event(event);
    // A subclass that accepted the close without handing it to closeEvent() here leaves the area now.
    if (alive && event->isAccepted()) {
        QEvent leaving(ZBMdiSubWindowPrivate::LeavingEventType());
        QCoreApplication::sendEvent(this, &leaving);
    }
    return result;
}

void ZBMdiSubWindow::closeEvent(QCloseEvent* event)
{
    QPointer<ZBMdiSubWindow> alive(this);
    if (!std::exchange(d->fadeEnded, false)) {
        const bool agreed = d->WidgetAgreesToClose();
        if (!alive)
            return;
        if (!agreed) {
            event->ignore();
            return;
        }
        // Out of the area the frame fades out as a window of its own, then closes for good.
        QEvent leaving(ZBMdiSubWindowPrivate::LeavingEventType());
        QCoreApplication::sendEvent(this, &leaving);
        if (!alive)
            return;
    }
    ZBWidget::closeEvent(event);
}

bool ZBMdiSubWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            // Only the activation bit is raised: the own minimised and maximised bits stay out of
            // the Qt window state, where the frame would read them as "cannot move or resize".
            if (!((windowState() | d->state) & Qt::WindowActive)) {
                QPointer<ZBMdiSubWindow> alive(this);
                overrideWindowState(windowState() | Qt::WindowActive);
                if (!alive)
                    return true;
            }
        }
    } else if (watched && watched == GetWidget()) {
        d->FollowWidget(static_cast<QWidget*>(watched), event->type());
    }
    return ZBWidget::eventFilter(watched, event);
}

void ZBMdiSubWindow::moveEvent(QMoveEvent* event)
{
    d->TrackNormalGeometry();
    QWidget::moveEvent(event);
}

void ZBMdiSubWindow::resizeEvent(QResizeEvent* event)
{
    d->TrackNormalGeometry();
    QWidget::resizeEvent(event);
}
