#include "ZBDialog.h"
#include "testutil.h"

#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

using Action = std::function<void(ZBDialog*)>;

// Runs Exec() with `action` called inside its loop; a watchdog ends a loop the action failed to end.
int execWith(ZBDialog* dialog, const Action& action)
{
    QTimer::singleShot(0, dialog, [dialog, action] { action(dialog); });
    QTimer::singleShot(10000, dialog, [dialog] { dialog->Done(-999); });
    return dialog->Exec();
}

bool sendKey(QWidget* widget, int key, int modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

} // namespace

Q_DECLARE_METATYPE(Action)

class tst_ZBDialog : public QObject
{
    Q_OBJECT

    QStringList log;
    void record(ZBDialog* dialog)
    {
        connect(dialog, &ZBDialog::Finished, this,
                [this](int r) { log << QStringLiteral("Finished(%1)").arg(r); });
        connect(dialog, &ZBDialog::Accepted, this, [this] { log << QStringLiteral("Accepted"); });
        connect(dialog, &ZBDialog::Rejected, this, [this] { log << QStringLiteral("Rejected"); });
    }

private slots:
    void initTestCase() { QVERIFY(qApp->findChild<QSessionManager*>()); }
    void cleanup()
    {
        log.clear();
        ZBDialog::SetTopLevelWidget(nullptr);
        TestUtil::CheckNoLeftoverWindows();
    }

    void endings_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("emitted");
        QTest::newRow("Done(5)") << Action([](ZBDialog* d) { d->Done(5); }) << 5 << "Finished(5)";
        QTest::newRow("Accept") << Action(&ZBDialog::Accept) << 1 << "Finished(1) Accepted";
        QTest::newRow("Escape") << Action([](ZBDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }) << 0
                                << "Finished(0) Rejected";
        QTest::newRow("close button")
            << Action([](ZBDialog* d) { d->findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->click(); })
            << 0 << "Finished(0) Rejected";
        QTest::newRow("commit request")
            << Action([](ZBDialog*) { Q_EMIT qApp->commitDataRequest(*qApp->findChild<QSessionManager*>()); })
            << 0 << "Finished(0) Rejected";
    }

    void endings()
    {
        QFETCH(Action, action);
        ZBDialog dialog;
        record(&dialog);
        QTEST(execWith(&dialog, action), "result");
        QTEST(log.join(QLatin1Char(' ')), "emitted");
        QVERIFY(!dialog.isVisible() && !dialog.testAttribute(Qt::WA_ShowModal)); // hidden at once, no fade
    }

    void execLifetime()
    {
        // Outside Exec(), closing a hidden dialog or a commit request change nothing.
        ZBDialog dialog;
        record(&dialog);
        QVERIFY(dialog.close());
        dialog.show();
        Q_EMIT qApp->commitDataRequest(*qApp->findChild<QSessionManager*>());
        QVERIFY(dialog.isVisible() && log.isEmpty());

        dialog.setAttribute(Qt::WA_ShowModal);
        QCOMPARE(execWith(&dialog, &ZBDialog::Reject), 0);
        QVERIFY(dialog.testAttribute(Qt::WA_ShowModal)); // restored, not cleared

        // A second Exec() while the loop runs is refused; the first one still ends normally.
        int inner = 0;
        QCOMPARE(execWith(&dialog,
                          [&](ZBDialog* d) {
                              inner = d->Exec();
                              d->Done(8);
                          }),
                 8);
        QCOMPARE(inner, -1);

        // Delete-on-close: the dialog lives until the result is read.
        QPointer<ZBDialog> doomed = new ZBDialog;
        doomed->setAttribute(Qt::WA_DeleteOnClose);
        QCOMPARE(execWith(doomed, [](ZBDialog* d) { d->Done(42); }), 42);
        QVERIFY(doomed.isNull());

        // Destroyed while the loop runs, outright or with the top-level widget: Exec() returns 0.
        doomed = new ZBDialog;
        QCOMPARE(execWith(doomed, [](ZBDialog* d) { delete d; }), 0);
        auto* top = new QWidget;
        ZBDialog::SetTopLevelWidget(top);
        doomed = new ZBDialog(&dialog); // the parent given is not used
        QCOMPARE(doomed->parentWidget(), top);
        QCOMPARE(execWith(doomed, [top](ZBDialog*) { delete top; }), 0);
        QVERIFY(doomed.isNull());
        QCOMPARE(ZBDialog::GetTopLevelWidget(), nullptr); // not handed out once destroyed
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
        auto* nested = new QWidget(dialog.Content()); // found by a deep search
        auto* hidden = new QPushButton(nested);       // a hidden default comes first and is passed over
        auto* deflt = new QPushButton(nested);
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
};

QTEST_MAIN(tst_ZBDialog)
#include "tst_zbdialog.moc"
