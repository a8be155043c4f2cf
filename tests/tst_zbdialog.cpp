#include "ZBDialog.h"
#include "testutil.h"

#include <QGridLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

QStringList* recordEndings(ZBDialog* dialog)
{
    auto* log = new QStringList;
    QObject::connect(dialog, &QObject::destroyed, [log] { delete log; });
    QObject::connect(dialog, &ZBDialog::Finished,
                     [log](int r) { *log << QStringLiteral("Finished(%1)").arg(r); });
    QObject::connect(dialog, &ZBDialog::Accepted, [log] { *log << QStringLiteral("Accepted"); });
    QObject::connect(dialog, &ZBDialog::Rejected, [log] { *log << QStringLiteral("Rejected"); });
    return log;
}

// Runs Exec() with `action` called inside its loop; a watchdog ends a loop the action failed to end.
int execWith(ZBDialog* dialog, const std::function<void()>& action)
{
    QTimer::singleShot(0, dialog, action);
    QPointer<ZBDialog> guard(dialog);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [guard] {
        if (guard)
            guard->Done(-999);
    });
    watchdog.start(10000);
    return dialog->Exec();
}

bool sendKey(QWidget* widget, int key, int modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

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
        auto* top = new QWidget;
        ZBDialog::SetTopLevelWidget(top);
        QPointer<ZBDialog> child = new ZBDialog(&other);
        QCOMPARE(child->parentWidget(), top);
        QVERIFY(child->isWindow());
        delete top; // takes its dialogs along and is not handed out again
        QVERIFY(child.isNull());
        QCOMPARE(ZBDialog::GetTopLevelWidget(), nullptr);
    }

    void endings_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("emitted");
        QTest::newRow("Done(5)") << 0 << 5 << "Finished(5)";
        QTest::newRow("Done(1)") << 1 << 1 << "Finished(1) Accepted";
        QTest::newRow("Reject") << 2 << 0 << "Finished(0) Rejected";
        QTest::newRow("Escape") << 3 << 0 << "Finished(0) Rejected";
        QTest::newRow("close button") << 4 << 0 << "Finished(0) Rejected";
        QTest::newRow("Return clicks the default") << 5 << 7 << "Finished(7)";
        QTest::newRow("commit request") << 6 << 0 << "Finished(0) Rejected";
    }

    void endings()
    {
        QFETCH(int, how);
        QFETCH(int, result);
        QFETCH(QString, emitted);
        ZBDialog dialog;
        auto* ok = new QPushButton(QStringLiteral("OK"), dialog.Content());
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, &dialog, [&dialog] { dialog.Done(7); });
        QStringList* log = recordEndings(&dialog);
        auto* manager = qApp->findChild<QSessionManager*>();
        if (how == 6 && !manager)
            QSKIP("no session manager object");
        dialog.SetResult(9);
        int resultWhileRunning = -1;
        const std::function<void()> endings[] = {
            [&] { dialog.Done(5); },
            [&] { dialog.Done(1); },
            [&] { dialog.Reject(); },
            [&] { QTest::keyClick(&dialog, Qt::Key_Escape); },
            [&] { dialog.findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->click(); },
            [&] { QTest::keyClick(&dialog, Qt::Key_Return); },
            [&] { Q_EMIT qApp->commitDataRequest(*manager); },
        };
        const int returned = execWith(&dialog, [&] {
            resultWhileRunning = dialog.Result();
            endings[how]();
        });
        QCOMPARE(resultWhileRunning, 0);
        QCOMPARE(returned, result);
        QCOMPARE(log->join(QLatin1Char(' ')), emitted);
        QVERIFY(!dialog.isVisible()); // at once: a dialog runs no close fade
        QVERIFY(!dialog.testAttribute(Qt::WA_ShowModal));
        if (manager) { // only a running dialog answers the session manager
            dialog.show();
            Q_EMIT qApp->commitDataRequest(*manager);
            QVERIFY(dialog.isVisible());
        }
    }

    void execLifetime()
    {
        ZBDialog dialog;
        dialog.setAttribute(Qt::WA_ShowModal);
        QCOMPARE(execWith(&dialog, [&] { dialog.Reject(); }), 0);
        QVERIFY(dialog.testAttribute(Qt::WA_ShowModal)); // restored, not cleared

        // A second Exec() while the loop runs is refused; the first one still ends normally.
        int inner = 0;
        QCOMPARE(execWith(&dialog,
                          [&] {
                              inner = dialog.Exec();
                              dialog.Done(8);
                          }),
                 8);
        QCOMPARE(inner, -1);

        // Delete-on-close: the dialog lives until the result is read.
        QPointer<ZBDialog> doomed = new ZBDialog;
        doomed->setAttribute(Qt::WA_DeleteOnClose);
        QCOMPARE(execWith(doomed, [&] { doomed->Done(42); }), 42);
        QVERIFY(doomed.isNull());

        // Destroyed while the loop runs, outright or with the top-level widget: Exec() returns 0.
        doomed = new ZBDialog;
        QCOMPARE(execWith(doomed, [&] { delete doomed.data(); }), 0);
        auto* top = new QWidget;
        ZBDialog::SetTopLevelWidget(top);
        doomed = new ZBDialog;
        QCOMPARE(execWith(doomed, [&] { delete top; }), 0);
        QVERIFY(doomed.isNull());
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("accepted"); // Return and Enter, when taken, click the default button
        const int ret = Qt::Key_Return, enter = Qt::Key_Enter, keypad = Qt::KeypadModifier;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << true;
        QTest::newRow("Ctrl+Escape") << int(Qt::Key_Escape) << int(Qt::ControlModifier) << false;
        QTest::newRow("Return") << ret << 0 << true;
        QTest::newRow("Shift+Return") << ret << int(Qt::ShiftModifier) << false;
        QTest::newRow("keypad Return") << ret << keypad << false;
        QTest::newRow("keypad Enter") << enter << keypad << true;
        QTest::newRow("Ctrl+keypad Enter") << enter << int(keypad | Qt::ControlModifier) << true;
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << false;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, accepted);
        ZBDialog dialog;
        auto* grid = new QGridLayout(new QWidget(dialog.Content())); // nested: found by a deep search
        auto* hidden = new QPushButton(QStringLiteral("hidden"));    // a hidden default is passed over
        auto* deflt = new QPushButton(QStringLiteral("default"));
        grid->addWidget(hidden, 0, 0);
        grid->addWidget(deflt, 0, 1);
        hidden->setDefault(true);
        hidden->hide();
        deflt->setDefault(true);
        int clicked = 0;
        connect(deflt, &QPushButton::clicked, [&] { ++clicked; });
        dialog.show();
        QCOMPARE(sendKey(&dialog, key, modifiers), accepted);
        const bool escape = key == Qt::Key_Escape;
        QCOMPARE(clicked, accepted && !escape ? 1 : 0);
        QCOMPARE(dialog.isVisible(), !(accepted && escape));

        // The first visible default button decides, even when disabled; the key stays taken.
        hidden->show();
        hidden->setEnabled(false);
        dialog.show();
        clicked = 0;
        QVERIFY(sendKey(&dialog, Qt::Key_Return, 0));
        QCOMPARE(clicked, 0);
    }

    void placement()
    {
        const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget top(nullptr, Qt::FramelessWindowHint); // no window frame anywhere: the allowance is 10, 40
        top.setGeometry(desk.x() + 100, desk.y() + 100, 400, 300);
        top.show();
        ZBDialog::SetTopLevelWidget(new QWidget(&top)); // a child counts by its window
        ZBDialog dialog;
        dialog.setFixedSize(200, 100);
        dialog.show();
        QCOMPARE(dialog.pos() - desk.topLeft(), QPoint(300 - 100 - 10, 250 - 50 - 40));
        dialog.hide();
        top.move(desk.right() + 1 - 200, desk.y() + 100); // each show centres again, inside the work area
        dialog.show();
        QCOMPARE(dialog.pos() - desk.topLeft(), QPoint(desk.width() - 200 - 10, 250 - 50 - 40));
        dialog.move(desk.x() + 5, desk.y() + 7); // moved by the application: kept
        dialog.hide();
        dialog.show();
        QCOMPARE(dialog.pos() - desk.topLeft(), QPoint(5, 7));
        dialog.close();

        ZBDialog::SetTopLevelWidget(nullptr); // on the screen; too large, pinned to its top-left
        ZBDialog big;
        big.setFixedSize(desk.width() + 100, desk.height() + 50);
        big.show();
        QCOMPARE(big.pos(), desk.topLeft());
    }

    void closeRefusedWhenShownAgain()
    {
        ZBDialog dialog;
        QStringList* log = recordEndings(&dialog);
        QVERIFY(dialog.close()); // hidden: accepted without a word
        QVERIFY(log->isEmpty());
        connect(&dialog, &ZBDialog::Rejected, &dialog, &QWidget::show);
        dialog.show();
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(tst_ZBDialog)
#include "tst_zbdialog.moc"
