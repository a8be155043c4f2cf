#include "session.h"

#include "document.h"
#include "mainwindow.h"

#include "ZBDialog.h"
#include "ZBDockWidget.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBMessageBox.h"
#include "ZBTitleBar.h"
#include "ZBToolBar.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

int failures = 0;

void Check(const char* step, bool ok, const QString& detail = QString())
{
    std::printf("%s %s%s\n", ok ? "ok    " : "FAILED", step,
                detail.isEmpty() ? "" : qPrintable(": " + detail));
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

void Pump(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitFor(const std::function<bool()>& done, int milliseconds = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        Pump(10);
    return done();
}

// Types \a text into the widget that has the keyboard focus, as the keyboard would. The window comes
// to the front first, as a window manager would bring it back after a message box.
void Type(QWidget* window, const QString& text)
{
    window->activateWindow();
    WaitFor([window] { return window->isActiveWindow(); });
    for (const QChar c : text) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus)
            return;
        const int key = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(focus, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(focus, &release);
    }
}

// Answers the message boxes that come up next, in order: a button's text, or "Escape". Each box's
// text is kept in \a asked, after "[icon] " when the box shows its icon and after "[off centre] "
// when it does not stand over the editor's centre.
class Answerer : public QObject
{
public:
    Answerer(const QStringList& answers, QStringList* asked) : m_answers(answers), m_asked(asked)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, &Answerer::Look);
        m_timer.start();
    }
    bool Done() const { return m_answers.isEmpty(); }

private:
    void Look()
    {
        ZBMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* candidate = qobject_cast<ZBMessageBox*>(w);
            if (candidate && candidate->isVisible() && candidate != m_last)
                box = candidate;
        }
        if (!box || m_answers.isEmpty())
            return;
        m_last = box;
        const bool icon = box->findChild<QLabel*>(QStringLiteral("ZBMESSBOXICONLABEL"))->isVisibleTo(box);
        // Centred over the editor at its final size, give or take the room kept for a native frame.
        const QPoint off = box->geometry().center() - ZBDialog::GetTopLevelWidget()->geometry().center();
        const bool centred = qAbs(off.x()) <= 10 && qAbs(off.y()) <= 40;
        m_asked->append((centred ? QString() : QStringLiteral("[off centre] ")) +
                        (icon ? QStringLiteral("[icon] ") : QString()) +
                        box->findChild<QTextBrowser*>(QStringLiteral("ZBMESSBOXTEXTLABEL"))->toPlainText());
        const QString answer = m_answers.takeFirst();
        if (answer == QLatin1String("Escape")) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
            return;
        }
        const QString text = QCoreApplication::translate("ZBMessageBox", qPrintable(answer));
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        std::printf("no button %s in the box\n", qPrintable(answer));
    }

    QStringList m_answers;
    QStringList* m_asked;
    QPointer<ZBMessageBox> m_last;
    QTimer m_timer;
};

// Triggers \a action while the boxes that come up are answered with \a answers; the boxes' texts.
QStringList TriggerAnswering(QAction* action, const QStringList& answers)
{
    QStringList asked;
    Answerer answerer(answers, &asked);
    action->trigger();
    WaitFor([&] { return answerer.Done(); }, 1000);
    return asked;
}

// The title line of a frame, as the title bar shows it.
QString TitleLine(ZBWidget* frame)
{
    const QList<QLabel*> labels = frame->TitleBar()->findChildren<QLabel*>();
    return labels.size() > 1 ? labels.at(1)->text() : QString();
}

std::unique_ptr<MainWindow> OpenWindow()
{
    std::unique_ptr<MainWindow> window(new MainWindow);
    ZBDialog::SetTopLevelWidget(window.get());
    window->show();
    window->activateWindow();
    WaitFor([&] { return window->isActiveWindow() && window->windowOpacity() >= 1.0; });
    return window;
}

} // namespace

int RunSession(const QString& screenshot)
{
    // Files and settings live in a folder of their own; the session closes windows and goes on.
    QTemporaryDir folder;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    QApplication::setQuitOnLastWindowClosed(false);
    const QString firstPath = QDir(folder.path()).filePath(QStringLiteral("first.txt"));
    Document::AskSaveFileName = [&](QWidget*, const QString&) { return firstPath; };

    std::unique_ptr<MainWindow> window = OpenWindow();
    ZBMdiAreaWidget* area = window->Area();
    Check("the editor opens", window->isActiveWindow(), TitleLine(window.get()));

    // New: each document takes the keyboard focus, so typing goes into it.
    Document* first = window->NewDocument();
    Document* second = window->NewDocument();
    Check("two new documents", area->SubWindowsCount() == 2 && window->DocumentList()->count() == 2);
    Check("the new document has the focus", QApplication::focusWidget() == second);
    Type(window.get(), QStringLiteral("hello"));
    ZBMdiSubWindow* secondWindow = area->ActiveSubWindow();
    Check("typing goes into it", second->toPlainText() == QLatin1String("hello"));
    Check("its title shows it modified", TitleLine(secondWindow).endsWith(QLatin1Char('*')),
          TitleLine(secondWindow));
    Check("so does the main window's", TitleLine(window.get()).contains(QLatin1String("* - ")),
          TitleLine(window.get()));

    // A status tip from a tool bar button reaches the status bar.
    QToolButton* newButton = nullptr;
    for (QToolButton* button : window->FileToolBar()->findChildren<QToolButton*>()) {
        if (button->defaultAction() == window->Action("new"))
            newButton = button;
    }
    if (newButton)
        window->Action("new")->showStatusText(newButton);
    Check("status tips", window->Inner()->statusBar()->currentMessage() == window->Action("new")->statusTip(),
          window->Inner()->statusBar()->currentMessage());

    // Switch, type into the other one.
    window->Action("next")->trigger();
    Check("next document", window->ActiveDocument() == first && QApplication::focusWidget() == first);
    Type(window.get(), QStringLiteral("world"));
    Check("typing goes into it", first->toPlainText() == QLatin1String("world"));

    // Close it: the save prompt is answered with Save, the name comes from the session.
    QPointer<Document> guardFirst = first;
    QStringList asked = TriggerAnswering(window->Action("close"), {QStringLiteral("Save")});
    Check("asked before closing, with the warning icon",
          asked.size() == 1 && asked.value(0).startsWith(QLatin1String("[icon] 'untitled1.txt'")),
          asked.join(QLatin1Char('|')));
    QFile saved(firstPath);
    Check("saved and closed",
          area->SubWindowsCount() == 1 && saved.open(QIODevice::ReadOnly) && saved.readAll() == "world");
    Check("the other document is active again", window->ActiveDocument() == second);
    Check("recent files", window->RecentFilesMenu()->actions().size() == 1);

    // Refuse: Cancel, and Escape on the question, keep the document.
    asked = TriggerAnswering(window->Action("close"), {QStringLiteral("Cancel")});
    Check("Cancel keeps it open", asked.size() == 1 && area->SubWindowsCount() == 1 &&
                                      window->ActiveDocument() == second && second->document()->isModified());
    asked = TriggerAnswering(window->Action("close"), {QStringLiteral("Escape")});
    Check("Escape keeps it open", asked.size() == 1 && area->SubWindowsCount() == 1);

    // Open the saved file again from the recent files; a third document; tile and cascade.
    window->RecentFilesMenu()->actions().value(0)->trigger();
    Check("opened from the recent files",
          window->ActiveDocument() && window->ActiveDocument()->toPlainText() == QLatin1String("world"));
    window->NewDocument();
    window->Action("tile")->trigger();
    const QList<ZBMdiSubWindow*> subWindows = area->SubWindowList();
    bool apart = subWindows.size() == 3;
    for (int i = 0; apart && i < 3; ++i)
        apart = !subWindows.at(i)->geometry().intersects(subWindows.at((i + 1) % 3)->geometry());
    Check("tiled", apart);
    if (!screenshot.isEmpty()) {
        window->activateWindow();
        WaitFor([&] { return window->isActiveWindow(); });
        Check("screenshot", window->grab().save(screenshot), screenshot);
    }
    window->Action("cascade")->trigger();
    Check("cascaded", subWindows.size() == 3 && subWindows.at(0)->pos() != subWindows.at(1)->pos());

    // The about box: the application's icon, the text and one OK button, the default.
    QStringList buttons;
    QTimer::singleShot(100, [&buttons] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<ZBMessageBox*>(w);
            if (!box || !box->isVisible())
                continue;
            if (box->findChild<QLabel*>(QStringLiteral("ZBMESSBOXICONLABEL"))->isVisibleTo(box))
                buttons << QStringLiteral("icon");
            for (QPushButton* button : box->findChildren<QPushButton*>())
                buttons << button->text() + (button->isDefault() ? QStringLiteral(" (default)") : QString());
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
        }
    });
    window->Action("about")->trigger();
    Check("about box", buttons == QStringList{QStringLiteral("icon"), QStringLiteral("OK (default)")},
          buttons.join(QLatin1Char('|')));

    // Close all: the modified one asks; Discard lets it go.
    asked = TriggerAnswering(window->Action("closeAll"), {QStringLiteral("Discard")});
    Check("close all", asked.size() == 1 && area->SubWindowsCount() == 0, asked.join(QLatin1Char('|')));
    Check("nothing to save, nothing to do", !window->Action("save")->isEnabled());

    // Closing the editor refuses while a document refuses; then it closes and keeps its settings.
    window->NewDocument();
    Type(window.get(), QStringLiteral("unsaved"));
    Answerer cancel({QStringLiteral("Cancel")}, &asked);
    window->close();
    Check("the editor stays open for an unsaved document",
          window->isVisible() && area->SubWindowsCount() == 1);
    window->DocumentsDock()->hide();
    window->setGeometry(40, 30, 700, 500);
    Answerer discard({QStringLiteral("Discard")}, &asked);
    window->close();
    Check("the editor closes", WaitFor([&] { return !window->isVisible(); }));
    window.reset();

    window = OpenWindow();
    Check("geometry restored", window->geometry() == QRect(40, 30, 700, 500),
          QStringLiteral("%1,%2 %3x%4")
              .arg(window->x())
              .arg(window->y())
              .arg(window->width())
              .arg(window->height()));
    Check("dock state restored", window->DocumentsDock()->isHidden());
    Check("recent files kept", window->RecentFilesMenu()->actions().size() == 1);
    window->close();
    WaitFor([&] { return !window->isVisible(); });
    window.reset();

    std::printf("%s\n", failures == 0 ? "session passed" : "session FAILED");
    return failures;
}
