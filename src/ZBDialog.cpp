#include "ZBDialog.h"

#include "ZBWidget_p.h"
#include "ZBWindowSystem_p.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QWindow>

namespace {

// Watches the top-level widget so that a destroyed one is not handed to later dialogs.
QMetaObject::Connection topLevelWatch;

QScreen* screenForDialog(const QWidget* dialog, const QWidget* window)
{
    if (window)
        return window->screen();
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary && primary->virtualSiblings().size() > 1) {
        if (QScreen* underCursor = QGuiApplication::screenAt(QCursor::pos()))
            return underCursor;
    }
    return dialog->screen();
}

// The size of the window frame the platform draws around top-level windows, from the first visible
// ones that have any; a default when none does or the value looks unreasonable.
QSize frameAllowance()
{
    int extraW = 0;
    int extraH = 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (int i = 0; i < windows.size() && (extraW == 0 || extraH == 0); ++i) {
        const QWidget* window = windows.at(i);
        if (!window->isVisible())
            continue;
        extraW = qMax(extraW, window->geometry().x() - window->x());
        extraH = qMax(extraH, window->geometry().y() - window->y());
    }
    if (extraW == 0 || extraH == 0 || extraW >= 10 || extraH >= 40) {
        extraW = 10;
        extraH = 40;
    }
    return QSize(extraW, extraH);
}

} // namespace

QWidget* ZBDialog::m_pTopLevel = nullptr;

ZBDialog::ZBDialog(QWidget* /*parent*/, Qt::WindowFlags f)
    : ZBWidget(m_pTopLevel, f | Qt::Dialog | Qt::FramelessWindowHint | Qt::CustomizeWindowHint),
      m_nResult(RejectedCode), m_pEventLoop(nullptr)
{
    ZBWidgetPrivate::Get(this)->fader.SetOpacity(1.0);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &ZBDialog::OnCommitDataRequest);
}

ZBDialog::~ZBDialog()
{
    // Nothing else would ever leave the loop: Exec() sees the dialog gone and returns 0.
    if (m_pEventLoop)
        m_pEventLoop->exit(0);
}

void ZBDialog::SetResult(int r)
{
    m_nResult = r;
}

int ZBDialog::Result() const
{
    return m_nResult;
}

void ZBDialog::SetTopLevelWidget(QWidget* w)
{
    QObject::disconnect(topLevelWatch);
    m_pTopLevel = w;
    if (w) {
        topLevelWatch = QObject::connect(w, &QObject::destroyed, [w] {
            if (m_pTopLevel == w)
                m_pTopLevel = nullptr;
        });
    }
}

QWidget* ZBDialog::GetTopLevelWidget()
{
    return m_pTopLevel;
}

int ZBDialog::Exec()
{
    if (m_pEventLoop)
        return RefusedCode;

    const bool wasShowModal = testAttribute(Qt::WA_ShowModal);
    setAttribute(Qt::WA_ShowModal, true);
    m_nResult = RejectedCode;
    const bool deleteOnClose = testAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_DeleteOnClose, false);

    QPointer<ZBDialog> guard(this);
    show();
    if (!guard)
        return RejectedCode;

    QEventLoop loop;
    // A slot run by show() may already have ended the dialog; a loop started now would never end.
    if (isVisible()) {
        m_pEventLoop = &loop;
        loop.exec(QEventLoop::AllEvents);
        if (!guard)
            return RejectedCode;
    }

    m_pEventLoop = nullptr;
    setAttribute(Qt::WA_ShowModal, wasShowModal);
    const int result = m_nResult;
    if (deleteOnClose)
        delete this;
    return result;
}

void ZBDialog::Accept()
{
    Done(AcceptedCode);
}

void ZBDialog::Reject()
{
    Done(RejectedCode);
}

void ZBDialog::Done(int r)
{
    QPointer<ZBDialog> guard(this);
    hide();
    if (!guard)
        return;
    if (m_pEventLoop)
        m_pEventLoop->exit(0);
    m_nResult = r;
    Q_EMIT Finished(r);
    if (!guard)
        return;
    if (r == AcceptedCode)
        Q_EMIT Accepted();
    else if (r == RejectedCode)
        Q_EMIT Rejected();
}

void ZBDialog::timerEvent(QTimerEvent* event)
{
    ZBWidget::timerEvent(event);
}

void ZBDialog::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() != Qt::NoModifier &&
        !(event->modifiers().testFlag(Qt::KeypadModifier) && key == Qt::Key_Enter)) {
        event->ignore();
        return;
    }
    switch (key) {
    case Qt::Key_Escape:
        event->accept();
        Reject();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        event->accept();
        // A focused push button is the one the user means, as with Qt's auto-default buttons;
        // elsewhere the default button answers.
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (focused && isAncestorOf(focused) && focused->isVisible()) {
            if (focused->isEnabled())
                focused->click();
            break;
        }
        const QList<QPushButton*> buttons = findChildren<QPushButton*>();
        for (QPushButton* button : buttons) {
            if (button->isDefault() && button->isVisible()) {
                if (button->isEnabled())
                    button->click();
                break;
            }
        }
        break;
    }
    default:
        event->ignore();
        break;
    }
}

void ZBDialog::closeEvent(QCloseEvent* event)
{
    if (!isVisible()) {
        event->accept();
        return;
    }
    QPointer<ZBDialog> guard(this);
    Reject();
    // A slot connected to Finished() or Rejected() may have shown the dialog again.
    if (guard && isVisible())
        event->ignore();
    else
        event->accept();
}

void ZBDialog::showEvent(QShowEvent* event)
{
    if (!ZBWindowSystem::PlacesTopLevels()) {
        // The compositor places the dialog, over the window it belongs to: without a top-level
        // widget that is the window the user works in.
        QWidget* active = QApplication::activeWindow();
        if (!parentWidget() && windowHandle() && active && active != this && active->windowHandle())
            windowHandle()->setTransientParent(active->windowHandle());
    } else if (!event->spontaneous() && !testAttribute(Qt::WA_Moved)) {
        const Qt::WindowStates state = windowState();
        AdjustPosition(parentWidget());
        // The computed position is not the application's: the next show centres the dialog again.
        setAttribute(Qt::WA_Moved, false);
        if (windowState() != state)
            setWindowState(state);
    }
    ZBWidget::showEvent(event);
}

void ZBDialog::AdjustPosition(QWidget* w)
{
    if (w)
        w = w->window();
    QScreen* screen = screenForDialog(this, w);
    const QRect desk = screen ? screen->availableGeometry() : QRect();
    const QSize extra = frameAllowance();

    QPoint centre;
    if (w) {
        const QPoint pp = w->mapToGlobal(QPoint(0, 0));
        centre = QPoint(pp.x() + w->width() / 2, pp.y() + w->height() / 2);
    } else {
        centre = QPoint(desk.x() + desk.width() / 2, desk.y() + desk.height() / 2);
    }
    QPoint p(centre.x() - width() / 2 - extra.width(), centre.y() - height() / 2 - extra.height());

    // Keep the frame inside the work area; when it cannot fit, its top-left corner wins.
    if (p.x() + extra.width() + width() > desk.x() + desk.width())
        p.setX(desk.x() + desk.width() - width() - extra.width());
    if (p.x() < desk.x())
        p.setX(desk.x());
    if (p.y() + extra.height() + height() > desk.y() + desk.height())
        p.setY(desk.y() + desk.height() - height() - extra.height());
    if (p.y() < desk.y())
        p.setY(desk.y());

    move(p);
}

void ZBDialog::CommitDataRequest(QSessionManager& /*manager*/)
{
    if (m_pEventLoop)
        close();
}

void ZBDialog::OnCommitDataRequest(QSessionManager& manager)
{
    CommitDataRequest(manager);
}
