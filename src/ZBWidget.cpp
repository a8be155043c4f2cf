#include "ZBWidget.h"
#include "ZBWidget_p.h"

#include "ZBAccessible_p.h"
#include "ZBDeferredDelete_p.h"
#include "ZBFrameGeometry_p.h"
#include "ZBQtCompat_p.h"
#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "ZBWidgetTree_p.h"
#include "ZBWindowSystem_p.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimerEvent>
#include <QToolButton>
#include <QVariant>
#include <QWindow>
#include <utility>

namespace {

QMargins themeContentMargins()
{
    const QRect m = ZBResource::GetData(ZBResource::MainContentMargins).toRect();
    return QMargins(m.left(), m.top(), m.right(), m.bottom());
}

// While the application handles a quit request, it closes every visible window and gives the quit
// up if one of them refuses. A frameless window would refuse, to fade out first, and so keep the
// application alive after its last main window closed: while a quit is handled it closes at once.
class QuitWatcher : public QObject
{
public:
    static void Install()
    {
        static QPointer<QuitWatcher> watcher; // one per application object, deleted with it
        QCoreApplication* app = QCoreApplication::instance();
        if (app && !watcher) {
            watcher = new QuitWatcher(app);
            app->installEventFilter(watcher);
        }
    }

    static bool Quitting() { return quitting; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Quit || quitting || watched != parent())
            return false;
        quitting = true;
        QCoreApplication::sendEvent(watched, event); // Qt's own handling, with the windows closing at once
        quitting = false;
        return true;
    }

private:
    using QObject::QObject;
    static bool quitting;
};

bool QuitWatcher::quitting = false;

} // namespace

void ZBWidgetPrivate::Init()
{
    // The drag and fade fields start cleared (member initialisers); then the tree, in construction order.
    q->setAttribute(Qt::WA_TranslucentBackground);
    auto* outer = ZBWidgetTree::NewGridLayout(q);
    outer->setSpacing(0);
    outer->setContentsMargins(0, 0, 0, 0);
    q->setMouseTracking(true);

    titleBar = new ZBTitleBar(q);
    titleBar->setCursor(Qt::ArrowCursor);
    titleBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    titleBar->setMouseTracking(true);
    titleBar->installEventFilter(q);
    outer->addWidget(titleBar, 0, 0);

    mainContent = new QWidget(q, Qt::WindowFlags());
    mainContent->setObjectName(QStringLiteral("ZBWIDGETMAINCONTENT"));
    mainContent->setCursor(Qt::ArrowCursor);
    auto* grid = ZBWidgetTree::NewGridLayout(mainContent);
    grid->setContentsMargins(themeContentMargins());
    outer->addWidget(mainContent, 1, 0);

    content = new QWidget(mainContent, Qt::WindowFlags());
    content->setObjectName(QStringLiteral("ZBWIDGETCONTENT"));
    content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    content->setAutoFillBackground(true);
    content->setCursor(Qt::ArrowCursor);
    content->installEventFilter(q);
    grid->addWidget(content, 0, 0, Qt::Alignment());

    mainContent->setAutoFillBackground(true);
    mainContent->setMouseTracking(true);
    mainContent->installEventFilter(q);

    closeButton = MakeButton(QStringLiteral("CLOSEBUTTON"), ZBWidget::tr("Close"));
    QObject::connect(closeButton.data(), &QToolButton::clicked, q, [this] { q->close(); });

    q->installEventFilter(q);
    QuitWatcher::Install();

    // The window starts invisible.
    fader.SetOpacity(0.0);
    ZBAccessible::Adopt(q);
}

QToolButton* ZBWidgetPrivate::MakeButton(const QString& objectName, const QString& toolTip)
{
    QToolButton* button = titleBar->AddButton(Qt::AlignRight, toolTip);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Moving and resizing.

void ZBWidgetPrivate::Drag::Press(const QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || d->q->isMaximized() || d->q->isMinimized())
        return;
    const QPoint pos = PullIn(ZBCompat::EventPos(event));
    if (InTitleZone(pos) && !ignoreTitleMove) {
        if (HandOver(event, Qt::Edges()))
            return;
        anchor = pos;
        state = TitlePressed;
        return;
    }
    if (cursor != ZBFrameGeometry::ArrowGroup && !ignoreResize)
        PressEdge(event, pos);
}

bool ZBWidgetPrivate::Drag::InTitleZone(const QPoint& pos) const
{
    // The title zone leaves the resize bands along the title bar's top and sides to resizing. A title
    // bar that the application moved elsewhere has no title zone in this window.
    ZBTitleBar* bar = d->titleBar;
    if (!bar || bar->parentWidget() != d->q)
        return false;
    const int band = ZBFrameGeometry::ResizeBand;
    return bar->rect().adjusted(band, band, -band, 0).contains(bar->mapFrom(d->q, pos));
}

void ZBWidgetPrivate::Drag::PressEdge(const QMouseEvent* event, const QPoint& pos)
{
    const ZBFrameGeometry::Region pressed = RegionAt(d->q->mapToParent(pos));
    if (pressed != ZBFrameGeometry::NoRegion && HandOver(event, ZBFrameGeometry::Edges(pressed)))
        return;
    pressFrame = d->q->geometry();
    region = pressed;
    gripOffset = ZBFrameGeometry::GripOffset(region, pressFrame, ParentPos(ZBCompat::GlobalPos(event)));
    state = region == ZBFrameGeometry::NoRegion ? Idle : ResizeArmed;
}

bool ZBWidgetPrivate::Drag::FrameMove(QObject* watched, const QMouseEvent* move)
{
    // The frame: the title bar, the main content, and the window itself, which gets the moves that
    // no child takes (under a scale factor, those over the outermost device pixels).
    if (watched != d->q && watched != d->mainContent.data() && watched != d->titleBar.data())
        return false;
    switch (state) {
    case TitlePressed:
    case Moving:
        return false; // on to mouseMoveEvent for the title drag
    case ResizeArmed:
        // The first move after the press only arms the resize, and keeps the cursor: the mouse may
        // already have left the band that the edge is dragged by.
        state = Resizing;
        return true;
    case Resizing:
        ResizeTo(ZBCompat::GlobalPos(move));
        return true;
    case Idle:
        break;
    }
    const QPoint pos = watched == d->q
                           ? ZBCompat::EventPos(move)
                           : static_cast<QWidget*>(watched)->mapToParent(ZBCompat::EventPos(move));
    HoverMove(move->buttons() == Qt::NoButton ? PullIn(pos) : pos);
    return true;
}

void ZBWidgetPrivate::Drag::TitleMove(const QMouseEvent* move)
{
    if (state == TitlePressed)
        state = Moving;
    if (state == Moving && Placeable())
        d->q->move(d->q->mapToParent(ZBCompat::EventPos(move)) - anchor);
}

void ZBWidgetPrivate::Drag::Release(const QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A resize that came as a single move armed itself on that move: it ends where the mouse is.
    if (state == Resizing)
        ResizeTo(ZBCompat::GlobalPos(event));
    state = Idle;
    region = ZBFrameGeometry::NoRegion;
}

void ZBWidgetPrivate::Drag::HoverMove(const QPoint& pos)
{
    const ZBFrameGeometry::CursorGroup group = CursorGroupAt(d->q->mapToParent(pos));
    if (group != cursor) {
        cursor = group;
        SetFrameCursor(group);
    }
}

QPoint ZBWidgetPrivate::Drag::PullIn(const QPoint& pos) const
{
    // Qt hands positions to widgets in whole pixels. Under a scale factor the outermost device pixel
    // of the right or bottom edge rounds to one past the window; without a grab the mouse is inside.
    return QPoint(pos.x() == d->q->width() ? pos.x() - 1 : pos.x(),
                  pos.y() == d->q->height() ? pos.y() - 1 : pos.y());
}

QPoint ZBWidgetPrivate::Drag::ParentPos(const QPoint& globalPos) const
{
    // A top-level window's parent coordinates are the global ones: taking the mouse as the event gives
    // it keeps the arithmetic in one system, where a trip through the window's own coordinates would
    // round at a fractional scale.
    QWidget* parent = d->q->isWindow() ? nullptr : d->q->parentWidget();
    return parent ? parent->mapFromGlobal(globalPos) : globalPos;
}

void ZBWidgetPrivate::Drag::ResizeTo(const QPoint& globalPos)
{
    // The edges that do not move keep their place at the press: taken from the geometry of the moment,
    // they would drift with every rounding of it.
    ZBWidget* q = d->q;
    const QSize minimum = q->minimumSizeHint();
    QRect target = ZBFrameGeometry::Resized(region, pressFrame, ParentPos(globalPos), gripOffset, minimum);
    if (!Placeable()) {
        // The window stays where the window system put it, and a position asked for would only move
        // the coordinates that the next step is measured in: the size alone follows the mouse.
        q->resize(target.size());
        return;
    }
    QScreen* screen = q->screen();
    if (q->isWindow() && screen)
        target = ZBFrameGeometry::DeviceExact(region, pressFrame, target, q->devicePixelRatioF(),
                                              screen->geometry().topLeft(), minimum);
    q->setGeometry(target);
}

bool ZBWidgetPrivate::Drag::Placeable() const
{
    return !d->q->isWindow() || ZBWindowSystem::PlacesTopLevels();
}

bool ZBWidgetPrivate::Drag::HandOver(const QMouseEvent* event, Qt::Edges edges) const
{
    QWindow* window = d->q->windowHandle();
    if (!systemMove || !d->q->isWindow() || !window || !(event->buttons() & Qt::LeftButton))
        return false;
    return edges ? window->startSystemResize(edges) : window->startSystemMove();
}

ZBFrameGeometry::Region ZBWidgetPrivate::Drag::RegionAt(const QPoint& parentPos) const
{
    const ZBWidget* q = d->q;
    return ZBFrameGeometry::RegionAt(q->frameGeometry(), parentPos,
                                     ZBFrameGeometry::FixedDimensions(q->minimumSize(), q->maximumSize()),
                                     ZBFrameGeometry::FrameBands());
}

ZBFrameGeometry::CursorGroup ZBWidgetPrivate::Drag::CursorGroupAt(const QPoint& parentPos) const
{
    if (ignoreResize || d->q->isMaximized() || d->q->isMinimized())
        return ZBFrameGeometry::ArrowGroup;
    return ZBFrameGeometry::CursorGroupOf(RegionAt(parentPos));
}

void ZBWidgetPrivate::Drag::SetFrameCursor(ZBFrameGeometry::CursorGroup group)
{
    const Qt::CursorShape shape = ignoreResize ? Qt::ArrowCursor : ZBFrameGeometry::CursorShape(group);
    if (d->mainContent)
        d->mainContent->setCursor(shape);
    if (d->titleBar)
        d->titleBar->setCursor(shape);
}

// The window's state and activation.

void ZBWidgetPrivate::FollowWindow(QEvent::Type type)
{
    if (type == QEvent::ActivationChange) {
        // A sub-window's activation is its area's to show.
        if (q->isWindow())
            ShowActive(q, q->isActiveWindow());
    } else if (type == QEvent::WindowStateChange) {
        const bool maximized = q->windowState() & Qt::WindowMaximized;
        if (restoreButton)
            restoreButton->setVisible(maximized);
        if (maximizeButton)
            maximizeButton->setVisible(!maximized);
        ApplyMaximizedGeometry();
    } else if (type == QEvent::Resize) {
        ApplyMaximizedGeometry();
    }
}

void ZBWidgetPrivate::ApplyMaximizedGeometry()
{
#ifndef Q_OS_WIN
    // Without the native min/max hook the window system places a maximised window on its screen's
    // work area, and may shrink it below the minimum size there: grow it back to that size, and only
    // then, since setGeometry() clears the maximised state. The state is put back without asking the
    // window system to maximise again, which would shrink the window once more.
    if (!q->isWindow() || !q->isMaximized() || q->isMinimized())
        return;
    const QSize minimum = q->minimumSize();
    QScreen* screen = q->screen();
    if (!screen || (q->width() >= minimum.width() && q->height() >= minimum.height()))
        return;
    const Qt::WindowStates state = q->windowState();
    q->setGeometry(ZBFrameGeometry::MaximizedGeometry(screen->availableGeometry(), minimum));
    q->overrideWindowState(state);
#endif
}

void ZBWidgetPrivate::ShowActive(ZBWidget* window, bool active)
{
    const QVariant old = window->property("active");
    if (old.isValid() && old.toBool() == active)
        return;
    window->setProperty("active", active);
    // Only a style sheet reads the property; without one, re-polishing would change nothing.
    if (!window->testAttribute(Qt::WA_StyleSheet))
        return;
    // Rules such as ZBWidget[active="false"] #TITLECONTENT apply to the title bar's widgets.
    QWidgetList polish{window};
    if (ZBTitleBar* bar = window->d->titleBar) {
        polish << bar;
        polish << bar->findChildren<QWidget*>();
    }
    QStyle* style = window->style();
    for (QWidget* w : std::as_const(polish)) {
        style->unpolish(w);
        style->polish(w);
        w->update();
    }
}

// The title line.

QString ZBWidgetPrivate::TitleFollower::DisplayedTitle(const QString& title, bool modified)
{
    const QLatin1String placeholder("[*]");
    QString shown;
    int from = 0;
    for (int at = title.indexOf(placeholder); at >= 0; at = title.indexOf(placeholder, from)) {
        shown += title.mid(from, at - from);
        int run = 0;
        for (from = at; title.mid(from, placeholder.size()) == placeholder; from += placeholder.size())
            ++run;
        for (int i = 0; i < run / 2; ++i)
            shown += placeholder;
        if (run % 2 == 1 && modified)
            shown += QLatin1Char('*');
    }
    return shown + title.mid(from);
}

void ZBWidgetPrivate::TitleFollower::Follow(QObject* watched, QEvent::Type type)
{
    QWidget* source = nullptr;
    if (watched == d->q)
        source = d->q;
    else if (watched == d->content.data())
        source = d->content;
    if (!source)
        return;
    if (type == QEvent::WindowTitleChange)
        ShowTitle(source);
    else if (type == QEvent::ModifiedChange)
        ShowTitle(titleSource ? titleSource.data() : d->q);
    else if (type == QEvent::WindowIconChange)
        ShowIcon(source);
}

void ZBWidgetPrivate::TitleFollower::ShowTitle(QWidget* source)
{
    ZBWidget* q = d->q;
    titleSource = source;
    const bool modified = (q->isWindowModified() || source->isWindowModified()) &&
                          q->style()->styleHint(QStyle::SH_TitleBar_ModifyNotification, nullptr, q);
    q->SetTitleBarText(DisplayedTitle(source->windowTitle(), modified));
}

void ZBWidgetPrivate::TitleFollower::ShowIcon(QWidget* source)
{
    // An icon inherited from a parent or the application is not the frame's own.
    if (!d->titleBar || (!source->testAttribute(Qt::WA_SetWindowIcon) && source != iconSource))
        return;
    iconSource = source->testAttribute(Qt::WA_SetWindowIcon) ? source : nullptr;
    d->titleBar->SetIcon(iconSource ? source->windowIcon() : QIcon());
}

// Fading.

namespace {

constexpr int FadeInterval = 40; // milliseconds per fade tick
// Ten steps of 0.1 add up to just below 1.0; a fade ends when it is this close to its end.
constexpr double OpacityEpsilon = 1e-9;

double stepFor(int milliseconds)
{
    return milliseconds == 0 ? 1.0 : 1.0 / (milliseconds / double(FadeInterval));
}

} // namespace

bool ZBWidgetPrivate::Fader::Shown()
{
    Start();
    return SetState(ZBWidget::Intensifying);
}

bool ZBWidgetPrivate::Fader::Hidden()
{
    state = ZBWidget::Hiding;
    Start();
    if (closingItself) {
        hidingAnnouncementDue = true;
        return true;
    }
    return SetState(ZBWidget::Hiding);
}

bool ZBWidgetPrivate::Fader::RefuseClose(QCloseEvent* event)
{
    // Qt keeps no opacity for child widgets, so a child ZBWidget could never finish a close fade:
    // it closes at once.
    const bool seen = q->isWindow() && WindowOpacity() > 0.0;
    if (!seen || QuitWatcher::Quitting())
        return false;
    Start();
    event->ignore();
    SetState(ZBWidget::Closing);
    return true;
}

bool ZBWidgetPrivate::Fader::Tick(int id)
{
    if (id != timerId || timerId == -1)
        return false;
    Step(false);
    return true;
}

void ZBWidgetPrivate::Fader::Cancel(bool visible)
{
    Stop();
    if (visible) {
        SetOpacity(1.0);
        q->show();
    } else {
        SetOpacity(0.0);
        q->hide();
    }
}

void ZBWidgetPrivate::Fader::SetFadeTime(int milliseconds)
{
    fadeTime = qMax(0, milliseconds);
    fadeStep = stepFor(fadeTime);
}

void ZBWidgetPrivate::Fader::SetIntensifyTime(int milliseconds)
{
    intensifyTime = qMax(0, milliseconds);
    intensifyStep = stepFor(intensifyTime);
}

double ZBWidgetPrivate::Fader::WindowOpacity() const
{
    return ZBWindowSystem::HasWindowOpacity() ? q->windowOpacity() : lastOpacity;
}

double ZBWidgetPrivate::Fader::CurrentOpacity() const
{
    // Qt keeps a window's opacity in truncated steps of 1/255, so a fade step smaller than that would
    // never move it. While the window still reports the value last set (so rounded), go on from that.
    const double reported = WindowOpacity();
    return qAbs(reported - lastOpacity) < 1.0 / 255 ? lastOpacity : reported;
}

void ZBWidgetPrivate::Fader::SetOpacity(double opacity)
{
    lastOpacity = opacity;
    // Where the window system has no window opacity, the fade keeps its states and timing while the
    // window simply shows and hides.
    if (!ZBWindowSystem::HasWindowOpacity())
        return;
    q->setWindowOpacity(opacity);
    if (q->isWindow() && q->isVisible())
        ZBWindowSystem::SendPending(); // each step shows at its tick
}

bool ZBWidgetPrivate::Fader::Animated() const
{
    return q->style()->styleHint(QStyle::SH_Widget_Animate, nullptr, q);
}

void ZBWidgetPrivate::Fader::Start()
{
    Stop();
    if (Animated()) {
        timerId = q->startTimer(FadeInterval);
        return;
    }
    // Not from inside the show, hide or close event that starts the fade: Qt goes on using the window
    // after it, and a slot may delete the window on the state that ends the fade.
    QMetaObject::invokeMethod(
        q,
        [this, started = run] {
            if (started == run)
                Step(true);
        },
        Qt::QueuedConnection);
}

void ZBWidgetPrivate::Fader::Stop()
{
    if (timerId != -1)
        q->killTimer(timerId);
    timerId = -1;
    ++run;
}

void ZBWidgetPrivate::Fader::Step(bool toEnd)
{
    if (state == ZBWidget::Closed || state == ZBWidget::Steady) {
        Stop();
        return;
    }
    // The fade-in rises to 1.0 and ends steady; the hide fade falls to 0.0 and ends steady, the close
    // fade too and ends closed. A child widget reads opacity 1.0 whatever was set: its fades end on the
    // first tick.
    const bool rising = state == ZBWidget::Intensifying;
    const bool closing = state == ZBWidget::Closing;
    double o = CurrentOpacity() + (rising ? intensifyStep : -fadeStep);
    if (toEnd || !q->isWindow() || (rising ? o >= 1.0 - OpacityEpsilon : o <= OpacityEpsilon)) {
        // The close fade's timer is left running: the hide that follows the close replaces it.
        if (!closing)
            Stop();
        o = rising ? 1.0 : 0.0;
        if (!SetState(closing ? ZBWidget::Closed : ZBWidget::Steady))
            return;
    }
    SetOpacity(o);
    if (closing && state == ZBWidget::Closed)
        CloseItself();
}

void ZBWidgetPrivate::Fader::CloseItself()
{
    // Qt's close hides the window and goes on using it after the hide event: the hiding state it
    // causes is announced once close() has returned, in the same order.
    QPointer<ZBWidget> alive(q);
    closingItself = true;
    q->close();
    if (!alive)
        return;
    closingItself = false;
    if (hidingAnnouncementDue) {
        hidingAnnouncementDue = false;
        Q_EMIT q->FadeStateChanged(ZBWidget::Hiding);
    }
}

bool ZBWidgetPrivate::Fader::SetState(ZBWidget::FadeState newState)
{
    state = newState;
    QPointer<ZBWidget> alive(q);
    Q_EMIT q->FadeStateChanged(newState);
    return !alive.isNull();
}

// The window.

ZBWidget::ZBWidget(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags | Qt::FramelessWindowHint | Qt::CustomizeWindowHint), d(new ZBWidgetPrivate(this))
{
    d->Init();
}

ZBWidget::~ZBWidget() = default;

ZBTitleBar* ZBWidget::TitleBar() const
{
    return d->titleBar;
}

QWidget* ZBWidget::Content() const
{
    return d->content;
}

void ZBWidget::AddMinimizeButton()
{
    d->minimizeButton = d->MakeButton(QStringLiteral("MINIMIZEBUTTON"), tr("Minimize"));
    connect(d->minimizeButton.data(), &QToolButton::clicked, this, &QWidget::showMinimized);
}

void ZBWidget::AddMaximizeButton()
{
    d->maximizeButton = d->MakeButton(QStringLiteral("MAXIMIZEBUTTON"), tr("Maximize"));
    connect(d->maximizeButton.data(), &QToolButton::clicked, this, &QWidget::showMaximized);
}

void ZBWidget::AddRestoreButton()
{
    d->restoreButton = d->MakeButton(QStringLiteral("RESTOREBUTTON"), tr("Restore"));
    connect(d->restoreButton.data(), &QToolButton::clicked, this, &QWidget::showNormal);
}

QToolButton* ZBWidget::MinimizeButton() const
{
    return d->minimizeButton;
}

QToolButton* ZBWidget::RestoreButton() const
{
    return d->restoreButton;
}

QToolButton* ZBWidget::MaximizeButton() const
{
    return d->maximizeButton;
}

void ZBWidget::IgnoreResize(bool ignore)
{
    d->drag.ignoreResize = ignore;
}

void ZBWidget::IgnoreTitleMove(bool ignore)
{
    d->drag.ignoreTitleMove = ignore;
}

void ZBWidget::SetSystemMoveEnabled(bool enabled)
{
    d->drag.systemMove = enabled;
}

bool ZBWidget::IsSystemMoveEnabled() const
{
    return d->drag.systemMove;
}

void ZBWidget::SetFadeTime(int milliseconds)
{
    d->fader.SetFadeTime(milliseconds);
}

void ZBWidget::SetIntensifyTime(int milliseconds)
{
    d->fader.SetIntensifyTime(milliseconds);
}

void ZBWidget::CancelFadeAction(bool visible)
{
    d->fader.Cancel(visible);
}

QToolButton* ZBWidget::CloseButton() const
{
    return d->closeButton;
}

void ZBWidget::ReplaceContent(QWidget* content)
{
    if (!content || content == d->content || !d->mainContent)
        return;
    // The window, its ancestors, the main content and the title bar's parts cannot be the content.
    if (ZBWidgetTree::Within(d->mainContent, content) || ZBWidgetTree::Within(content, d->titleBar))
        return;
    auto* grid = qobject_cast<QGridLayout*>(d->mainContent->layout());
    QWidget* old = d->content;
    if (old)
        old->removeEventFilter(this);
    // A content widget that another owner took meanwhile is that owner's now.
    if (old && old->parentWidget() != d->mainContent)
        old = nullptr;
    d->content = content;
    content->setObjectName(QStringLiteral("ZBWIDGETCONTENT"));
    ZBDeferredDelete::ReplaceInCell(d->mainContent, grid, 0, 0, old, content);
    content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    content->setAutoFillBackground(true);
    content->installEventFilter(this);
    d->title.ShowTitle(content);
}

void ZBWidget::SetMainContentMargins(int left, int top, int right, int bottom)
{
    if (d->mainContent && d->mainContent->layout())
        d->mainContent->layout()->setContentsMargins(left, top, right, bottom);
}

void ZBWidget::RestoreMainContentMargins()
{
    if (d->mainContent && d->mainContent->layout())
        d->mainContent->layout()->setContentsMargins(themeContentMargins());
}

void ZBWidget::SetTitleBarText(const QString& text)
{
    if (d->titleBar)
        d->titleBar->SetTitle(text);
}

bool ZBWidget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove && d->drag.FrameMove(watched, static_cast<QMouseEvent*>(event)))
        return true;
    d->title.Follow(watched, type);
    if (watched == this)
        d->FollowWindow(type);
    return QWidget::eventFilter(watched, event);
}

void ZBWidget::mousePressEvent(QMouseEvent* event)
{
    // A popup window closes when the mouse is pressed outside it, as Qt's own popups do.
    if (windowType() == Qt::Popup && !rect().contains(ZBCompat::EventPos(event))) {
        hide();
        return;
    }
    d->drag.Press(event);
}

void ZBWidget::mouseMoveEvent(QMouseEvent* event)
{
    d->drag.TitleMove(event);
}

void ZBWidget::mouseReleaseEvent(QMouseEvent* event)
{
    d->drag.Release(event);
}

void ZBWidget::showEvent(QShowEvent* event)
{
    if (!d->fader.Shown())
        return;
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    QWidget::showEvent(event);
}

void ZBWidget::hideEvent(QHideEvent* event)
{
    if (d->fader.Hidden())
        QWidget::hideEvent(event);
}

void ZBWidget::closeEvent(QCloseEvent* event)
{
    if (!d->fader.RefuseClose(event))
        QWidget::closeEvent(event);
}

void ZBWidget::timerEvent(QTimerEvent* event)
{
    if (!d->fader.Tick(event->timerId()))
        QWidget::timerEvent(event);
}
bool ZBWidget::nativeEvent(const QByteArray& eventType, void* message, ZBCompat::NativeEventResult* result)
{
#ifdef Q_OS_WIN
    if (isWindow() && ZBWidgetPrivate::AnswerMinMaxInfo(this, message))
        return true;
#endif
    return QWidget::nativeEvent(eventType, message, result);
}
