#include "ZBMdiSubWindow.h"
#include "ZBMdiSubWindow_p.h"

#include "ZBDeferredDelete_p.h"
#include "ZBMdiAreaWidget_p.h"
#include "ZBTitleBar.h"
#include "ZBWidgetTree_p.h"
#include "ZBWidget_p.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QToolButton>
#include <utility>

namespace {

constexpr int MinimizedWidth = 300;

// Hears the application's focus changes once for all sub-windows and hands each change to those
// that hold the new focus widget, outermost first, the only ones for which it changes anything: a
// connection per sub-window cost every focus change a call per sub-window, closed ones waiting for
// their deletion included.
class FocusTracker : public QObject
{
public:
    static void Start()
    {
        static QPointer<FocusTracker> instance;
        if (!instance && qApp) {
            instance = new FocusTracker(qApp);
            QObject::connect(qApp, &QApplication::focusChanged, instance.data(), &FocusTracker::Changed);
        }
    }

private:
    using QObject::QObject;

    static void Changed(QWidget* old, QWidget* now)
    {
        // A sub-window past its own destructor no longer casts: its private object, gone by then, is
        // not reached.
        QList<QPointer<ZBMdiSubWindow>> holders;
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (auto* subWindow = qobject_cast<ZBMdiSubWindow*>(w))
                holders.prepend(subWindow);
        }
        for (const QPointer<ZBMdiSubWindow>& holder : std::as_const(holders)) {
            if (holder)
                ZBMdiSubWindowPrivate::FocusEntered(holder, old, now);
        }
    }
};

} // namespace

ZBMdiSubWindowPrivate::ZBMdiSubWindowPrivate(ZBMdiSubWindow* q) : q(q) {}

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
    FocusTracker::Start();
}

void ZBMdiSubWindowPrivate::FocusEntered(ZBMdiSubWindow* subWindow, QWidget* old, QWidget* now)
{
    if (subWindow->d->registry && now != subWindow)
        subWindow->d->lastFocus = now;
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

void ZBMdiSubWindowPrivate::LeaveArea()
{
    if (registry)
        registry->SubWindowLeaving(q);
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

ZBMdiSubWindow::ZBMdiSubWindow(QWidget* parent)
    : ZBWidget(parent, Qt::WindowFlags()), d(new ZBMdiSubWindowPrivate(this))
{
    d->Init();
}

ZBMdiSubWindow::~ZBMdiSubWindow()
{
    // The area drops the sub-window while it is still whole.
    if (d->registry)
        d->registry->SubWindowDestroyed(this);
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
    if (d->registry && ((state ^ current) & Qt::WindowMinimized))
        d->registry->SubWindowMinimizedChanged(this);
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
    if (alive && event->isAccepted())
        d->LeaveArea();
    return result;
}

void ZBMdiSubWindow::closeEvent(QCloseEvent* event)
{
    QPointer<ZBMdiSubWindow> alive(this);
    // The frame's own close, once it is done with the window, was agreed to before.
    if (!ZBWidgetPrivate::Get(this)->IsClosingItself()) {
        const bool agreed = d->WidgetAgreesToClose();
        if (!alive)
            return;
        if (!agreed) {
            event->ignore();
            return;
        }
        // Out of the area the frame closes it as a window of its own.
        d->LeaveArea();
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
