#include "ZBMessageBox.h"
#include "ZBMessageBox_p.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>

namespace {

QLabel* iconLabel(ZBMessageBox* box)
{
    return box->findChild<QLabel*>(QStringLiteral("ZBMESSBOXICONLABEL"));
}

QColor iconColour(ZBMessageBox* box)
{
    const QImage image = iconLabel(box)->pixmap(Qt::ReturnByValue).toImage();
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

// The visible buttons, left to right as they stand on screen.
QList<QPushButton*> shownButtons(ZBMessageBox* box)
{
    QList<QPushButton*> buttons = box->Content()->findChildren<QPushButton*>();
    buttons.erase(
        std::remove_if(buttons.begin(), buttons.end(), [](QPushButton* b) { return !b->isVisible(); }),
        buttons.end());
    std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    return buttons;
}

QString shownTexts(ZBMessageBox* box)
{
    QStringList texts;
    for (QPushButton* b : shownButtons(box))
        texts << b->text();
    return texts.join(QLatin1Char(','));
}

bool writeImage(const QString& path, const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(path, "PNG");
}

} // namespace

class tst_ZBMessageBox : public QObject
{
    Q_OBJECT

    QTemporaryDir themeDir;
    QString file(const char* name) const { return themeDir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        // No question image yet: standardImages() watches it arrive.
        QVERIFY(writeImage(file("criticalicon.png"), QSize(96, 64), Qt::red));
        QVERIFY(writeImage(file("infoicon.png"), QSize(48, 48), Qt::green));
        QVERIFY(writeImage(file("warningicon.png"), QSize(20, 20), Qt::blue));
        QDir::setSearchPaths(QStringLiteral("theme"), {themeDir.path()});
    }

    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void standardImages()
    {
        ZBMessageBox box;
        box.SetIcon(ZBMessageBox::CriticalIcon);
        QCOMPARE(iconLabel(&box)->pixmap(Qt::ReturnByValue).size(), QSize(48, 32)); // aspect kept
        QCOMPARE(iconColour(&box), QColor(Qt::red));
        box.SetIcon(ZBMessageBox::Icon(4)); // not an icon: nothing changes
        QCOMPARE(iconColour(&box), QColor(Qt::red));
        box.SetIcon(QPixmap());
        QVERIFY(iconLabel(&box)->isHidden());
        box.SetIcon(ZBMessageBox::QuestionIcon); // no file: no icon
        QVERIFY(iconLabel(&box)->isHidden());

        // Read once and shared: a changed file does not reach later boxes; a missing one is tried again.
        QVERIFY(QFile::remove(file("criticalicon.png")));
        QVERIFY(writeImage(file("criticalicon.png"), QSize(48, 48), Qt::black));
        QVERIFY(writeImage(file("questionicon.png"), QSize(48, 48), Qt::yellow));
        ZBMessageBox later;
        later.SetIcon(ZBMessageBox::CriticalIcon);
        QCOMPARE(iconColour(&later), QColor(Qt::red));
        later.SetIcon(ZBMessageBox::QuestionIcon);
        QCOMPARE(iconColour(&later), QColor(Qt::yellow));
        QVERIFY(!iconLabel(&later)->isHidden());
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

        // Added again, a button moves and still ends the box once.
        box.AddButton(second, ZBMessageBox::Ok);
        box.AddButton(second, ZBMessageBox::Ok);
        box.show();
        QCOMPARE(shownTexts(&box), QStringLiteral("Halt,Yes,No,Cancel"));
        finished.clear();
        second->click();
        QCOMPARE(finished, QList<int>{ZBMessageBox::Ok});
    }

    void staticFunctions_data()
    {
        QTest::addColumn<int>("function");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("action"); // a button to click, or a key
        QTest::addColumn<int>("result");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("texts");
        QTest::newRow("Critical, Return presses the default")
            << 0 << int(ZBMessageBox::Ok | ZBMessageBox::Cancel) << "Return" << int(ZBMessageBox::Cancel)
            << QColor(Qt::red) << "OK,Cancel";
        QTest::newRow("Information, Escape")
            << 1 << int(ZBMessageBox::Ok) << "Escape" << 0 << QColor(Qt::green) << "OK";
        QTest::newRow("Question, click") << 2 << int(ZBMessageBox::Retry | ZBMessageBox::Yes) << "Retry"
                                         << int(ZBMessageBox::Retry) << QColor(Qt::yellow) << "Yes,Retry";
        QTest::newRow("Warning, no buttons") << 3 << 0 << "Escape" << 0 << QColor(Qt::blue) << "";
    }

    void staticFunctions()
    {
        QFETCH(int, function);
        QFETCH(int, buttons);
        QFETCH(QString, action);
        QFETCH(int, result);
        QFETCH(QColor, colour);
        QFETCH(QString, texts);
        if (!QFile::exists(file("questionicon.png")))
            QVERIFY(writeImage(file("questionicon.png"), QSize(48, 48), Qt::yellow));
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<ZBMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen =
                QStringLiteral("%1 %2 %3").arg(box->windowTitle(), shownTexts(box), iconColour(box).name());
            if (action == QLatin1String("Return") || action == QLatin1String("Escape"))
                QTest::keyClick(box, action == QLatin1String("Return") ? Qt::Key_Return : Qt::Key_Escape);
            else
                shownButtons(box).last()->click();
        });
        const auto run = function == 0   ? &ZBMessageBox::Critical
                         : function == 1 ? &ZBMessageBox::Information
                         : function == 2 ? &ZBMessageBox::Question
                                         : &ZBMessageBox::Warning;
        const auto buttonSet = ZBMessageBox::StandardButtons(buttons);
        QCOMPARE(int(run(nullptr, QStringLiteral("Title"), QStringLiteral("Text"), buttonSet,
                         ZBMessageBox::Cancel)),
                 result);
        QCOMPARE(seen, QStringLiteral("Title %1 %2").arg(texts, colour.name()));
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
        QTest::newRow("empty lines add nothing") << "\n" + line + "\n\n"
                                                 << wide << QSize(sw + 20, 2 * lh + 1);
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
        QFETCH(QSize, expected);
        QCOMPARE(ZBMessageBoxText::ViewSize(QApplication::font(), text, available), expected);
    }

    void textViewTakesItsSize()
    {
        ZBMessageBox box;
        box.SetText(QStringLiteral("<b>Saved.</b> Done."));
        auto* view = box.findChild<QTextBrowser*>(QStringLiteral("ZBMESSBOXTEXTLABEL"));
        const QSize size = ZBMessageBoxText::ViewSize(view->font(), QStringLiteral("Saved. Done."),
                                                      QGuiApplication::primaryScreen()->availableGeometry());
        box.show();
        QCOMPARE(view->size(), size);
        QCOMPARE(view->maximumHeight(), size.height());
    }
};

QTEST_MAIN(tst_ZBMessageBox)
#include "tst_zbmessagebox.moc"
