// The dialogs: ZBDialog, ZBMessageBox and ZBPopupInfo.
#include "ZBDialog.h"
#include "ZBMessageBox.h"
#include "ZBMessageBox_p.h"
#include "ZBPopupInfo.h"
#include "ZBPopupInfo_p.h"
#include "testutil.h"

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace TestUtil;

namespace {

using Action = std::function<void(ZBDialog*)>;

// Runs Exec() with `action` called inside its loop; a watchdog ends a loop the action failed to end.
int execWith(ZBDialog* dialog, const Action& action)
{
    QTimer::singleShot(0, dialog, [dialog, action] { action(dialog); });
    QTimer::singleShot(10000, dialog, [dialog] { dialog->Done(-999); });
    return dialog->Exec();
}

// What the icon label shows for a standard image: "hidden", or its size and the colour at its centre.
QString icon(ZBMessageBox* box, ZBMessageBox::Icon which)
{
    box->SetIcon(which);
    auto* label = Named<QLabel>(box, "ZBMESSBOXICONLABEL");
    const QImage i = label->pixmap(Qt::ReturnByValue).toImage();
    return label->isHidden() || i.isNull() ? QStringLiteral("hidden")
                                           : QString::asprintf("%dx%d ", i.width(), i.height()) +
                                                 i.pixelColor(i.width() / 2, i.height() / 2).name();
}

void commitDataRequest()
{
    Q_EMIT qApp->commitDataRequest(*qApp->findChild<QSessionManager*>());
}

} // namespace

class tst_ZBDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ZBDialog::SetTopLevelWidget(nullptr);
        CheckNoLeftoverWindows();
    }

    // Each way to end the loop: the result, then the signals. A nested Exec() is refused with RefusedCode
    // (-1), the outer loop still ending, here with that result.
    void endings()
    {
        const QString rejected = QStringLiteral("0: Finished(0) Rejected()");
        const std::pair<Action, QString> table[] = {
            {[](ZBDialog* d) { d->Done(-3); }, "-3: Finished(-3)"},
            {&ZBDialog::Accept, "1: Finished(1) Accepted()"},
            {[](ZBDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, rejected},
            {[](ZBDialog* d) { Named<QToolButton>(d, "CLOSEBUTTON")->click(); }, rejected},
            {[](ZBDialog*) { commitDataRequest(); }, rejected},
            {[](ZBDialog* d) { d->Done(d->Exec()); }, "-1: Finished(-1)"}};
        for (int i = 0; i < int(std::size(table)); ++i) {
            ZBDialog dialog;
            dialog.setAttribute(Qt::WA_ShowModal);
            SignalLog log;
            log.Record(&dialog, &ZBDialog::Finished, QStringLiteral("Finished"));
            log.Record(&dialog, &ZBDialog::Accepted, QStringLiteral("Accepted"));
            log.Record(&dialog, &ZBDialog::Rejected, QStringLiteral("Rejected"));
            const QString result = QString::number(execWith(&dialog, table[i].first)) + QStringLiteral(": ");
            ZB_STEP_COMPARE(i, result + log.Take(), table[i].second);
            // Hidden as the loop ends, modality given back; shown again, it refuses a close while a slot of
            // its rejection shows it again.
            ZB_STEP_COMPARE(i, qMakePair(dialog.isVisible(), dialog.testAttribute(Qt::WA_ShowModal)),
                            qMakePair(false, true));
            dialog.show();
            connect(&dialog, &ZBDialog::Rejected, &dialog, &QWidget::show);
            ZB_STEP_COMPARE(i, dialog.close(), false);
        }
    }

    void execLifetime()
    {
        ZBDialog dialog;
        auto* top = new QWidget; // destroyed while the loop runs, with the top-level widget: RejectedCode
        ZBDialog::SetTopLevelWidget(top);
        QPointer<ZBDialog> doomed = new ZBDialog(&dialog); // the parent given is not used
        QCOMPARE(execWith(doomed, [top](ZBDialog*) { delete top; }), int(ZBDialog::RejectedCode));
        QVERIFY2(!doomed, "deleted with the top-level widget");
        QCOMPARE(ZBDialog::GetTopLevelWidget(), nullptr); // not handed out once destroyed
    }

    // Return and Enter click the first visible default button found by a deep search, Escape rejects; a
    // keypad key counts only with Ctrl, and Escape only without it.
    void keys()
    {
        const int keypad = Qt::KeypadModifier, ctrl = Qt::ControlModifier; // key, modifiers, default clicks
        const int table[][3] = {
            {Qt::Key_Escape, 0, 0},       {Qt::Key_Escape, ctrl, -1},        {Qt::Key_Return, 0, 1},
            {Qt::Key_Return, keypad, -1}, {Qt::Key_Enter, keypad | ctrl, 1}, {Qt::Key_A, 0, -1}};
        for (const auto& [key, modifiers, clicks] : table) {
            ZBDialog dialog;
            auto* hidden = new QPushButton(new QWidget(dialog.Content())); // a hidden default is passed over
            auto* deflt = new QPushButton(hidden->parentWidget());
            hidden->setDefault(true);
            hidden->hide();
            deflt->setDefault(true);
            int clicked = 0;
            connect(deflt, &QPushButton::clicked, [&] { ++clicked; });
            dialog.show();
            QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
            QApplication::sendEvent(&dialog, &event);
            const QString step = QKeySequence(key | modifiers).toString();
            ZB_STEP_COMPARE(step, event.isAccepted() ? clicked : -1, clicks); // -1: not taken
            ZB_STEP_COMPARE(step, dialog.isVisible(), !(event.isAccepted() && key == Qt::Key_Escape));
        }
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
        // A popup in the same window, at its bottom right, vanishes at once with it.
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Hello"), QPixmap(), ZBPopupInfo::AtBottomRight, &top, 300,
                                   0, 0);
        QPointer<ZBPopupInfo> hello = top.findChild<ZBPopupInfo*>();
        QCOMPARE(hello->frameGeometry().bottomRight(), top.geometry().bottomRight() - QPoint(1, 1));
        QTRY_VERIFY(hello->windowOpacity() > 0.99);
        top.hide();
        QCOMPARE(std::make_pair(hello->isVisible(), hello->windowOpacity()), std::make_pair(false, 0.0));
        QTRY_VERIFY(!hello);
    }

    void messageBox()
    {
        QTemporaryDir theme; // the boxes read their images once, at the first use
        QDir::setSearchPaths(QStringLiteral("theme"), {theme.path()});
        const auto writeImage = [&theme](const char* name, const QSize& size, const QColor& colour) {
            QImage image(size, QImage::Format_ARGB32);
            image.fill(colour);
            return image.save(theme.filePath(QLatin1String(name)), "PNG");
        };
        QVERIFY(writeImage("criticalicon.png", {96, 64}, Qt::red)); // no question image yet
        ZBMessageBox box;
        // Scaled, the aspect kept; with no file none.
        QCOMPARE(icon(&box, ZBMessageBox::CriticalIcon), "48x32 #ff0000");
        QCOMPARE(icon(&box, ZBMessageBox::QuestionIcon), "hidden");
        // Buttons stand in ascending value order; a second button of a kind replaces the first.
        QPushButton* yes = box.AddButton(ZBMessageBox::Yes);
        QPushButton* no = box.AddButton(ZBMessageBox::No);
        box.AddButtons(ZBMessageBox::Cancel | ZBMessageBox::Ok);
        box.SetText(QStringLiteral("All 24 pictures were exported."));
        QPointer<QPushButton> first = box.AddButton(QStringLiteral("Stop"), ZBMessageBox::Abort);
        QPushButton* second = box.AddButton(QStringLiteral("Halt"), ZBMessageBox::Abort);
        box.show();
        QMap<int, QString> row; // by place; -1 for the hidden one
        for (QPushButton* b : box.Content()->findChildren<QPushButton*>())
            row.insert(b->isVisible() ? b->x() : -1, b->text());
        QCOMPARE(row.values().join(' '), "Stop OK Yes No Halt Cancel");
        auto* view = Named<QTextBrowser>(&box, "ZBMESSBOXTEXTLABEL"); // sized for its text
        const QSize sized = ZBMessageBoxText::ViewSize(view->font(), view->toPlainText(),
                                                       QGuiApplication::primaryScreen()->availableGeometry());
        QCOMPARE(QSize(view->minimumWidth(), view->maximumHeight()), sized);
        SignalLog log;
        log.Record(&box, &ZBDialog::Finished, QStringLiteral("Finished"));
        first->click(); // the replaced button no longer ends the box and is deleted later
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        second->click();
        QVERIFY2(!first, "the replaced button is deleted");
        QCOMPARE(log.Take(), QStringLiteral("Finished(%1)").arg(ZBMessageBox::Abort));
        box.show();
        // The default button has the focus; Return presses the focused button, elsewhere the default.
        box.SetDefaultButton(ZBMessageBox::Yes);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(yes));
        for (QWidget* w : std::initializer_list<QWidget*>{no, yes, view}) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            box.show();
        }
        QCOMPARE(log.Take(), QStringLiteral("Finished(%1) Finished(%2) Finished(%2)")
                                 .arg(ZBMessageBox::No)
                                 .arg(ZBMessageBox::Yes));
    }

    // The message text's view: within a third of the screen, its own width plus 20 and one line more than
    // it has; wider, a third of the screen wrapped at 20 pixels less, at most a third of its height. A
    // 200 by 50 popup: its named point on (500, 400), or kept inside (100, 100) to (499, 399).
    void sizesAndPlaces()
    {
        const QFontMetrics fm(QApplication::font());
        const int lh = fm.height();
        const QString line = QStringLiteral("A short line"), longLine(60, QLatin1Char('m'));
        const int sw = fm.horizontalAdvance(line), wraps = (fm.horizontalAdvance(longLine) + 59) / 60;
        const std::tuple<QString, QRect, QSize> texts[] = {
            {line, {0, 0, 1920, 1080}, {sw + 20, 2 * lh + 1}},
            {line + "\nxy\n" + line, {0, 0, 1920, 1080}, {sw + 20, 4 * lh + 1}},
            {longLine, {0, 0, 240, 1080}, {80, (1 + wraps) * lh + 1}},
            {longLine, {0, 0, 240, 3 * lh}, {80, lh}},
            {longLine, {0, 0, 60, 1080}, {20, lh}}};
        for (const auto& [text, screen, size] : texts)
            ZB_STEP_COMPARE(text.left(14) + QString::number(screen.height()),
                            ZBMessageBoxText::ViewSize(QApplication::font(), text, screen), size);
        const int leftAndRight = Qt::AlignLeft | ZBPopupInfo::AtBottomRight;
        const std::tuple<bool, int, QPoint> popups[] = {
            // top centres both ways; top wins over hcenter, left over right
            {false, ZBPopupInfo::AtBottomRight, {300, 350}}, {false, ZBPopupInfo::AtTop, {400, 375}},
            {false, ZBPopupInfo::AtLeft, {500, 375}},        {true, 0, {100, 100}},
            {true, ZBPopupInfo::AtBottomRight, {299, 349}},  {true, Qt::AlignHCenter, {199, 224}},
            {true, ZBPopupInfo::AtTop, {199, 100}},          {true, leftAndRight, {100, 349}}};
        for (const auto& [inArea, alignment, topLeft] : popups)
            ZB_STEP_COMPARE(alignment,
                            inArea ? ZBPopupPlacement::InArea(alignment, {100, 100, 400, 300}, {200, 50})
                                   : ZBPopupPlacement::AtPoint(alignment, {500, 400}, {200, 50}),
                            topLeft);
    }
};

QTEST_MAIN(tst_ZBDialogs)
#include "tst_zbdialogs.moc"
