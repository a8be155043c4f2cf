#include "ZBDialog.h"
#include "testutil.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

// Records the ending signals of a dialog in the order they arrive.
struct SignalLog
{
    explicit SignalLog(ZBDialog* dialog)
    {
        QObject::connect(dialog, &ZBDialog::Finished,
                         [this](int r) { entries << QStringLiteral("Finished(%1)").arg(r); });
        QObject::connect(dialog, &ZBDialog::Accepted, [this] { entries << QStringLiteral("Accepted"); });
        QObject::connect(dialog, &ZBDialog::Rejected, [this] { entries << QStringLiteral("Rejected"); });
    }
    QStringList entries;
};

// Runs Exec() with `action` called from a timer inside the dialog's loop. A watchdog ends a loop
// that the action failed to end, so that a broken dialog fails the test instead of hanging it.
int execWith(ZBDialog* dialog, const std::function<void()>& action)
{
    QTimer::singleShot(0, dialog, action);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QPointer<ZBDialog> guard(dialog);
    QObject::connect(&watchdog, &QTimer::timeout, [guard] {
        if (guard)
            guard->Done(-999);
    });
    watchdog.start(10000);
    return dialog->Exec();
}

bool sendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

QRect workArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A dialog whose session-manager reaction is its own.
class CommitRecorder : public ZBDialog
{
public:
    int requests = 0;

private:
    void CommitDataRequest(QSessionManager&) override { ++requests; }
};

} // namespace

class tst_ZBDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ZBDialog::SetTopLevelWidget(nullptr);
        TestUtil::CheckNoLeftoverWindows();
    }

    void parentIsTheTopLevelWidget()
    {
        QWidget other;
        ZBDialog orphan(&other);
        QCOMPARE(orphan.parentWidget(), nullptr); // the parent argument is not used
        QVERIFY(orphan.isWindow());
        const Qt::WindowFlags flags = orphan.windowFlags();
        QVERIFY(flags & Qt::FramelessWindowHint);
        QVERIFY(flags & Qt::CustomizeWindowHint);
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
        QCOMPARE(orphan.windowOpacity(), 1.0);
        QCOMPARE(orphan.Result(), 0);

        auto* top = new QWidget;
        ZBDialog::SetTopLevelWidget(top);
        QCOMPARE(ZBDialog::GetTopLevelWidget(), top);
        QPointer<ZBDialog> child = new ZBDialog(&other);
        QCOMPARE(child->parentWidget(), top);
        QVERIFY(child->isWindow());

        // Changing the setting leaves existing dialogs where they are.
        ZBDialog::SetTopLevelWidget(&other);
        QCOMPARE(child->parentWidget(), top);
        ZBDialog::SetTopLevelWidget(top);

        // A destroyed top-level widget takes its dialogs with it and is not handed out again.
        delete top;
        QVERIFY(child.isNull());
        QCOMPARE(ZBDialog::GetTopLevelWidget(), nullptr);
        ZBDialog later;
        QCOMPARE(later.parentWidget(), nullptr);
    }

    void endings_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("emitted");
        const QString accepted = QStringLiteral("Accepted"), rejected = QStringLiteral("Rejected");
        QTest::newRow("Done(5)") << "done5" << 5 << QStringList{QStringLiteral("Finished(5)")};
        QTest::newRow("Done(-2)") << "done-2" << -2 << QStringList{QStringLiteral("Finished(-2)")};
        QTest::newRow("Done(1)") << "done1" << 1 << QStringList{QStringLiteral("Finished(1)"), accepted};
        QTest::newRow("Accept") << "accept" << 1 << QStringList{QStringLiteral("Finished(1)"), accepted};
        QTest::newRow("Reject") << "reject" << 0 << QStringList{QStringLiteral("Finished(0)"), rejected};
        QTest::newRow("Escape") << "escape" << 0 << QStringList{QStringLiteral("Finished(0)"), rejected};
        QTest::newRow("close()") << "close" << 0 << QStringList{QStringLiteral("Finished(0)"), rejected};
        QTest::newRow("close button")
            << "closeButton" << 0 << QStringList{QStringLiteral("Finished(0)"), rejected};
        QTest::newRow("default button") << "return" << 7 << QStringList{QStringLiteral("Finished(7)")};
    }

    void endings()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        QFETCH(QStringList, emitted);
        ZBDialog dialog;
        auto* ok = new QPushButton(QStringLiteral("OK"), dialog.Content());
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, &dialog, [&dialog] { dialog.Done(7); });
        SignalLog log(&dialog);
        dialog.SetResult(9);
        int resultWhileRunning = -1;
        const int returned = execWith(&dialog, [&] {
            resultWhileRunning = dialog.Result();
            QVERIFY(dialog.isVisible());
            if (how == QLatin1String("done5"))
                dialog.Done(5);
            else if (how == QLatin1String("done-2"))
                dialog.Done(-2);
            else if (how == QLatin1String("done1"))
                dialog.Done(1);
            else if (how == QLatin1String("accept"))
                dialog.Accept();
            else if (how == QLatin1String("reject"))
                dialog.Reject();
            else if (how == QLatin1String("escape"))
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (how == QLatin1String("close"))
                QVERIFY(dialog.close());
            else if (how == QLatin1String("closeButton"))
                dialog.findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->click();
            else if (how == QLatin1String("return"))
                QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QCOMPARE(resultWhileRunning, 0);
        QCOMPARE(returned, result);
        QCOMPARE(dialog.Result(), result);
        QCOMPARE(log.entries, emitted);
        QVERIFY(!dialog.isVisible()); // hidden at once: a dialog runs no close fade
        QVERIFY(!dialog.testAttribute(Qt::WA_ShowModal));

        // The dialog can run again and starts from result 0.
        QCOMPARE(execWith(&dialog, [&] { dialog.Done(3); }), 3);
    }

    void execRestoresAttributes()
    {
        ZBDialog dialog;
        bool modalWhileRunning = false;
        bool deleteOnCloseWhileRunning = true;
        auto probe = [&] {
            modalWhileRunning = dialog.testAttribute(Qt::WA_ShowModal) && dialog.isModal();
            deleteOnCloseWhileRunning = dialog.testAttribute(Qt::WA_DeleteOnClose);
        };
        execWith(&dialog, [&] {
            probe();
            dialog.Reject();
        });
        QVERIFY(modalWhileRunning);
        QVERIFY(!dialog.testAttribute(Qt::WA_ShowModal));

        dialog.setAttribute(Qt::WA_ShowModal);
        execWith(&dialog, [&] { dialog.Reject(); });
        QVERIFY(dialog.testAttribute(Qt::WA_ShowModal));

        // A delete-on-close dialog lives until Exec() has read its result.
        QPointer<ZBDialog> doomed = new ZBDialog;
        doomed->setAttribute(Qt::WA_DeleteOnClose);
        const int returned = execWith(doomed, [&] {
            deleteOnCloseWhileRunning = doomed->testAttribute(Qt::WA_DeleteOnClose);
            doomed->Done(42);
        });
        QCOMPARE(returned, 42);
        QVERIFY(!deleteOnCloseWhileRunning);
        QVERIFY(doomed.isNull());
    }

    void destroyedWhileRunning()
    {
        // Deleted outright, deleted later, and deleted with the top-level widget: Exec() returns 0.
        QPointer<ZBDialog> dialog = new ZBDialog;
        QCOMPARE(execWith(dialog, [&] { delete dialog.data(); }), 0);
        QVERIFY(dialog.isNull());

        dialog = new ZBDialog;
        dialog->SetResult(5);
        QCOMPARE(execWith(dialog, [&] { dialog->deleteLater(); }), 0);
        QVERIFY(dialog.isNull());

        auto* top = new QWidget;
        ZBDialog::SetTopLevelWidget(top);
        dialog = new ZBDialog;
        QCOMPARE(execWith(dialog, [&] { delete top; }), 0);
        QVERIFY(dialog.isNull());
        QCOMPARE(ZBDialog::GetTopLevelWidget(), nullptr);

        // Destroyed from a slot run by an ending signal.
        dialog = new ZBDialog;
        connect(dialog.data(), &ZBDialog::Finished, dialog.data(), [&] { delete dialog.data(); });
        QCOMPARE(execWith(dialog, [&] { dialog->Done(4); }), 0);
        QVERIFY(dialog.isNull());
    }

    void nestedExecIsRefused()
    {
        ZBDialog dialog;
        int inner = 0;
        bool stillRunning = false;
        const int outer = execWith(&dialog, [&] {
            inner = dialog.Exec();
            stillRunning = dialog.isVisible() && dialog.testAttribute(Qt::WA_ShowModal);
            dialog.Done(8); // must still end the outer loop
        });
        QCOMPARE(inner, -1);
        QVERIFY(stillRunning);
        QCOMPARE(outer, 8);
        QVERIFY(!dialog.testAttribute(Qt::WA_ShowModal));

        // A second dialog runs its own loop inside the first one's.
        ZBDialog second;
        int secondResult = 0;
        const int first = execWith(&dialog, [&] {
            secondResult = execWith(&second, [&] { second.Done(2); });
            dialog.Done(3);
        });
        QCOMPARE(secondResult, 2);
        QCOMPARE(first, 3);
    }

    void endedWhileShowing()
    {
        // Ended by a slot before its loop started, the dialog returns at once rather than hang.
        ZBDialog dialog;
        connect(&dialog, &ZBWidget::FadeStateChanged, &dialog, [&](int state) {
            if (state == 1)
                dialog.Accept();
        });
        QCOMPARE(execWith(&dialog, [] {}), 1);
        QVERIFY(!dialog.isVisible());
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("rejected");
        const int none = Qt::NoModifier, keypad = Qt::KeypadModifier;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << none << true << 0 << true;
        QTest::newRow("Ctrl+Escape") << int(Qt::Key_Escape) << int(Qt::ControlModifier) << false << 0
                                     << false;
        QTest::newRow("keypad Escape") << int(Qt::Key_Escape) << keypad << false << 0 << false;
        QTest::newRow("Return") << int(Qt::Key_Return) << none << true << 1 << false;
        QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << false << 0 << false;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << none << true << 1 << false;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << true << 1 << false;
        QTest::newRow("Ctrl+keypad Enter")
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier | Qt::ControlModifier) << true << 1 << false;
        QTest::newRow("keypad Return") << int(Qt::Key_Return) << keypad << false << 0 << false;
        QTest::newRow("letter") << int(Qt::Key_A) << none << false << 0 << false;
        QTest::newRow("arrow") << int(Qt::Key_Down) << none << false << 0 << false;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, accepted);
        QFETCH(int, clicks);
        QFETCH(bool, rejected);
        ZBDialog dialog;
        // The default button sits deep inside the content, after a plain button.
        auto* box = new QWidget(dialog.Content());
        auto* layout = new QGridLayout(box);
        layout->addWidget(new QPushButton(QStringLiteral("plain")), 0, 0);
        auto* deflt = new QPushButton(QStringLiteral("default"));
        deflt->setDefault(true);
        layout->addWidget(deflt, 0, 1);
        int clicked = 0;
        connect(deflt, &QPushButton::clicked, [&] { ++clicked; });
        SignalLog log(&dialog);
        dialog.show();

        QCOMPARE(sendKey(&dialog, key, Qt::KeyboardModifiers(modifiers)), accepted);
        QCOMPARE(clicked, clicks);
        QCOMPARE(log.entries.contains(QStringLiteral("Rejected")), rejected);
        QCOMPARE(dialog.isVisible(), !rejected);
    }

    void returnTakesTheFirstVisibleDefault()
    {
        ZBDialog dialog;
        auto* layout = new QGridLayout(dialog.Content());
        auto* hidden = new QPushButton(QStringLiteral("hidden"));
        auto* disabled = new QPushButton(QStringLiteral("disabled"));
        auto* later = new QPushButton(QStringLiteral("later"));
        layout->addWidget(hidden, 0, 0);
        layout->addWidget(disabled, 0, 1);
        layout->addWidget(later, 0, 2);
        QList<QPushButton*> clicked;
        for (QPushButton* b : {hidden, disabled, later})
            connect(b, &QPushButton::clicked, [&clicked, b] { clicked << b; });
        dialog.show();

        // No default button: nothing happens, and the key is still taken.
        QVERIFY(sendKey(&dialog, Qt::Key_Return, Qt::NoModifier));
        QVERIFY(clicked.isEmpty());

        // A hidden default is passed over; the first visible one decides even when it is disabled.
        hidden->setDefault(true);
        hidden->hide();
        disabled->setDefault(true);
        disabled->setEnabled(false);
        later->setDefault(true);
        QVERIFY(sendKey(&dialog, Qt::Key_Return, Qt::NoModifier));
        QVERIFY(clicked.isEmpty());
        QVERIFY(dialog.isVisible());

        disabled->setDefault(false);
        QVERIFY(sendKey(&dialog, Qt::Key_Return, Qt::NoModifier));
        QCOMPARE(clicked, QList<QPushButton*>{later});
    }

    void centredOverTheTopLevelWindow()
    {
        const QRect desk = workArea();
        QWidget top(nullptr, Qt::FramelessWindowHint);
        top.setGeometry(desk.x() + 100, desk.y() + 100, 400, 300);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));

        // A child widget as the top-level widget counts by its window.
        auto* inner = new QWidget(&top);
        inner->setGeometry(0, 0, 10, 10);
        ZBDialog::SetTopLevelWidget(inner);

        ZBDialog dialog;
        dialog.setFixedSize(200, 100);
        dialog.show();
        // Centre (300, 250) of the window, less half the size, less the default frame allowance.
        QCOMPARE(dialog.pos(), desk.topLeft() + QPoint(300 - 100 - 10, 250 - 50 - 40));
        dialog.hide();

        // Each show centres again, over wherever the window is now.
        top.move(desk.x() + 200, desk.y() + 150);
        dialog.show();
        QCOMPARE(dialog.pos(), desk.topLeft() + QPoint(400 - 100 - 10, 300 - 50 - 40));
        dialog.hide();

        // Over the right edge of the work area: pulled back inside it.
        top.move(desk.right() + 1 - 200, desk.y() + 100);
        dialog.show();
        QCOMPARE(dialog.x(), desk.right() + 1 - 200 - 10);
        dialog.hide();

        // Moved by the application once shown: the next show keeps the position.
        dialog.show();
        dialog.move(desk.x() + 5, desk.y() + 7);
        dialog.hide();
        dialog.show();
        QCOMPARE(dialog.pos(), desk.topLeft() + QPoint(5, 7));
        dialog.hide();

        // Moved before it was ever shown: kept too.
        ZBDialog placed;
        placed.setFixedSize(50, 50);
        placed.move(desk.x() + 11, desk.y() + 13);
        placed.show();
        QCOMPARE(placed.pos(), desk.topLeft() + QPoint(11, 13));
    }

    void frameAllowanceComesFromFramedWindows()
    {
        const QRect desk = workArea();
        QWidget framed;
        framed.setGeometry(desk.x() + 100, desk.y() + 100, 400, 300);
        framed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&framed));
        const QPoint frame = framed.geometry().topLeft() - framed.pos();
        if (frame.x() <= 0 || frame.y() <= 0 || frame.x() >= 10 || frame.y() >= 40)
            QSKIP("the platform gives no window frame in the range the dialog takes over");
        ZBDialog::SetTopLevelWidget(&framed);
        ZBDialog dialog;
        dialog.setFixedSize(200, 100);
        dialog.show();
        const QPoint centre = framed.mapToGlobal(QPoint(200, 150));
        QCOMPARE(dialog.pos(), centre - QPoint(100, 50) - frame);
    }

    void centredOnTheScreenWithoutTopLevel()
    {
        const QRect desk = workArea();
        ZBDialog dialog;
        dialog.setFixedSize(300, 200);
        dialog.show();
        QCOMPARE(dialog.pos(),
                 QPoint(desk.x() + desk.width() / 2 - 150 - 10, desk.y() + desk.height() / 2 - 100 - 40));
        dialog.hide();

        // Larger than the work area: its top-left corner wins.
        dialog.setFixedSize(desk.width() + 100, desk.height() + 50);
        dialog.show();
        QCOMPARE(dialog.pos(), desk.topLeft());
    }

    void closeHandling()
    {
        ZBDialog dialog;
        SignalLog log(&dialog);
        QVERIFY(dialog.close()); // hidden: accepted without a word
        QVERIFY(log.entries.isEmpty());

        dialog.show();
        QVERIFY(dialog.close());
        QCOMPARE(log.entries, (QStringList{QStringLiteral("Finished(0)"), QStringLiteral("Rejected")}));
        QVERIFY(!dialog.isVisible());

        // A slot that shows the dialog again refuses the close.
        connect(&dialog, &ZBDialog::Rejected, &dialog, &QWidget::show);
        dialog.show();
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
    }

    void commitRequestClosesARunningDialog()
    {
        auto* manager = qApp->findChild<QSessionManager*>();
        if (!manager)
            QSKIP("this Qt has no session manager object");
        ZBDialog dialog;
        SignalLog log(&dialog);

        // Only shown: nothing changes.
        dialog.show();
        Q_EMIT qApp->commitDataRequest(*manager);
        QVERIFY(dialog.isVisible());
        QVERIFY(log.entries.isEmpty());
        dialog.hide();

        QCOMPARE(execWith(&dialog, [&] { Q_EMIT qApp->commitDataRequest(*manager); }), 0);
        QCOMPARE(log.entries, (QStringList{QStringLiteral("Finished(0)"), QStringLiteral("Rejected")}));

        // A derived dialog replaces the reaction.
        CommitRecorder recorder;
        recorder.show();
        Q_EMIT qApp->commitDataRequest(*manager);
        QCOMPARE(recorder.requests, 1);
        QVERIFY(recorder.isVisible());
    }
};

QTEST_MAIN(tst_ZBDialog)
#include "tst_zbdialog.moc"
