#include "ZBMessageBox.h"
#include "ZBMessageBox_p.h"
#include "testutil.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

namespace {

// What the icon label shows: "hidden", or the image's size and the colour at its centre.
QString icon(ZBMessageBox* box)
{
    auto* label = box->findChild<QLabel*>(QStringLiteral("ZBMESSBOXICONLABEL"));
    const QImage image = label->pixmap(Qt::ReturnByValue).toImage();
    if (label->isHidden() || image.isNull())
        return label->isHidden() ? QStringLiteral("hidden") : QStringLiteral("empty");
    const QString colour = image.pixelColor(image.width() / 2, image.height() / 2).name();
    return QStringLiteral("%1x%2 %3").arg(image.width()).arg(image.height()).arg(colour);
}

// The visible buttons, left to right as they stand on screen.
QMap<int, QPushButton*> shownButtons(ZBMessageBox* box)
{
    QMap<int, QPushButton*> buttons;
    for (QPushButton* b : box->Content()->findChildren<QPushButton*>()) {
        if (b->isVisible())
            buttons.insert(b->x(), b);
    }
    return buttons;
}

QString shownTexts(ZBMessageBox* box)
{
    QStringList texts;
    for (QPushButton* b : shownButtons(box))
        texts << b->text();
    return texts.join(QLatin1Char(','));
}

using Run = ZBMessageBox::StandardButton (*)(QWidget*, const QString&, const QString&,
                                             ZBMessageBox::StandardButtons, ZBMessageBox::StandardButton);

} // namespace

Q_DECLARE_METATYPE(Run)

class tst_ZBMessageBox : public QObject
{
    Q_OBJECT

    QTemporaryDir themeDir;
    bool writeImage(const char* name, const QSize& size, const QColor& colour)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(colour);
        return image.save(themeDir.filePath(QString::fromLatin1(name)), "PNG");
    }

private slots:
    void initTestCase()
    {
        // No question image yet: standardImages() watches it arrive.
        QVERIFY(writeImage("criticalicon.png", QSize(96, 64), Qt::red));
        QVERIFY(writeImage("infoicon.png", QSize(48, 48), Qt::green));
        QVERIFY(writeImage("warningicon.png", QSize(20, 20), Qt::blue));
        QDir::setSearchPaths(QStringLiteral("theme"), {themeDir.path()});
    }

    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void standardImages()
    {
        ZBMessageBox box;
        box.SetIcon(ZBMessageBox::CriticalIcon);
        QCOMPARE(icon(&box), QStringLiteral("48x32 #ff0000")); // scaled, aspect kept
        box.SetIcon(ZBMessageBox::Icon(4));                    // not an icon: nothing changes
        QCOMPARE(icon(&box), QStringLiteral("48x32 #ff0000"));
        box.SetIcon(QPixmap());
        QCOMPARE(icon(&box), QStringLiteral("hidden"));
        box.SetIcon(ZBMessageBox::QuestionIcon); // no file: no icon
        QCOMPARE(icon(&box), QStringLiteral("hidden"));

        // Read once and shared: a changed file does not reach later boxes; a missing one is tried again.
        QVERIFY(writeImage("criticalicon.png", QSize(48, 48), Qt::black));
        QVERIFY(writeImage("questionicon.png", QSize(48, 48), Qt::yellow));
        ZBMessageBox later;
        later.SetIcon(ZBMessageBox::CriticalIcon);
        QCOMPARE(icon(&later), QStringLiteral("48x32 #ff0000"));
        later.SetIcon(ZBMessageBox::QuestionIcon);
        QCOMPARE(icon(&later), QStringLiteral("48x48 #ffff00"));
    }

    void buttonRow()
    {
        ZBMessageBox box;
        box.AddButton(ZBMessageBox::Cancel);
        box.AddButtons(ZBMessageBox::No | ZBMessageBox::Yes);
        QPointer<QPushButton> first = box.AddButton(QStringLiteral("Stop"), ZBMessageBox::Abort);
        QPushButton* second = box.AddButton(QStringLiteral("Halt"), ZBMessageBox::Abort);
        QCOMPARE(box.AddButton(QStringLiteral("odd"), ZBMessageBox::StandardButton(0x3)), nullptr);
        QPushButton outside;
        box.AddButton(&outside, ZBMessageBox::StandardButton(0x10));
        QCOMPARE(outside.parentWidget(), nullptr); // refused, untouched
        box.show();
        QCOMPARE(shownTexts(&box), QStringLiteral("Yes,No,Halt,Cancel"));
        QCOMPARE(shownButtons(&box).last()->geometry().right() + 1 + 13,
                 box.Content()->width()); // right edge
        QCOMPARE(box.findChildren<QPushButton*>().size(), 5);

        // The replaced button no longer ends the box and is deleted later; the new one does.
        QList<int> finished;
        connect(&box, &ZBDialog::Finished, [&finished](int r) { finished << r; });
        box.SetDefaultButton(ZBMessageBox::Abort);
        QVERIFY(second->isDefault());
        box.SetDefaultButton(&outside); // not in the row: no default at all
        QVERIFY(!second->isDefault() && !outside.isDefault());
        first->click();
        QVERIFY(finished.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        second->click();
        QCOMPARE(finished, QList<int>{ZBMessageBox::Abort});
    }

    void staticFunctions_data()
    {
        QTest::addColumn<Run>("run");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("key"); // 0: click the last button
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("shown"); // the buttons and the icon
        const auto row = [](const char* name, Run run, int buttons, int key, int result, const char* shown) {
            QTest::newRow(name) << run << buttons << key << result << QString::fromLatin1(shown);
        };
        const int ok = ZBMessageBox::Ok, cancel = ZBMessageBox::Cancel, retry = ZBMessageBox::Retry;
        row("Critical, Return presses the default", &ZBMessageBox::Critical, ok | cancel, Qt::Key_Return,
            cancel, "OK,Cancel 48x32 #ff0000");
        row("Information, Escape", &ZBMessageBox::Information, ok, Qt::Key_Escape, 0, "OK 48x48 #00ff00");
        row("Question, click", &ZBMessageBox::Question, retry | ZBMessageBox::Yes, 0, retry,
            "Yes,Retry 48x48 #ffff00");
        row("Warning, no buttons", &ZBMessageBox::Warning, 0, Qt::Key_Escape, 0, " 48x48 #0000ff");
    }

    void staticFunctions()
    {
        QFETCH(Run, run);
        QFETCH(int, buttons);
        QFETCH(int, key);
        QVERIFY(writeImage("questionicon.png", QSize(48, 48), Qt::yellow)); // also when run alone
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<ZBMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = box->windowTitle() + QLatin1Char(' ') + shownTexts(box) + QLatin1Char(' ') + icon(box);
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            else
                shownButtons(box).last()->click();
        });
        QTEST(int(run(nullptr, QStringLiteral("Title"), QStringLiteral("Text"),
                      ZBMessageBox::StandardButtons(buttons), ZBMessageBox::Cancel)),
              "result");
        QFETCH(QString, shown);
        QCOMPARE(seen, QStringLiteral("Title ") + shown);
    }

    void textSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("expected");
        const QFontMetrics fm(QApplication::font());
        const int lh = fm.height();
        const QString line = QStringLiteral("A short line");
        const int sw = fm.horizontalAdvance(line);
        const QRect wide(1920, 200, 1920, 1080);
        // Within a third of the screen: its own width plus 20, and one line more than it has.
        QTest::newRow("one line") << line << wide << QSize(sw + 20, 2 * lh + 1);
        QTest::newRow("three lines") << line + "\nxy\n" + line << wide << QSize(sw + 20, 4 * lh + 1);
        // Wider: a third of the screen, wrapped at 20 pixels less, at most a third of its height.
        const QString longLine(60, QLatin1Char('m'));
        const int wraps = (fm.horizontalAdvance(longLine) + 59) / 60;
        QTest::newRow("narrow screen")
            << longLine << QRect(0, 0, 240, 1080) << QSize(80, (1 + wraps) * lh + 1);
        QTest::newRow("short screen") << longLine << QRect(0, 0, 240, 3 * lh) << QSize(80, lh);
        QTest::newRow("no wrap width") << longLine << QRect(0, 0, 60, 1080) << QSize(20, lh);
    }

    void textSize()
    {
        QFETCH(QString, text);
        QFETCH(QRect, available);
        QTEST(ZBMessageBoxText::ViewSize(QApplication::font(), text, available), "expected");
    }

    void textViewTakesItsSize()
    {
        ZBMessageBox box;
        box.SetText(QStringLiteral("All 24 pictures were exported."));
        auto* view = box.findChild<QTextBrowser*>(QStringLiteral("ZBMESSBOXTEXTLABEL"));
        const QSize size =
            ZBMessageBoxText::ViewSize(view->font(), QStringLiteral("All 24 pictures were exported."),
                                       QGuiApplication::primaryScreen()->availableGeometry());
        box.show();
        QCOMPARE(view->height(), size.height()); // and wide enough that the text neither wraps nor scrolls
        QVERIFY(view->document()->lineCount() == 1 && !view->verticalScrollBar()->isVisible());
        QCOMPARE(view->maximumHeight(), size.height());
    }
};

QTEST_MAIN(tst_ZBMessageBox)
#include "tst_zbmessagebox.moc"
