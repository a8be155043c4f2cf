#include "ZBMessageBox.h"
#include "ZBMessageBox_p.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>

namespace {

QTextBrowser* textView(ZBMessageBox* box)
{
    return box->findChild<QTextBrowser*>(QStringLiteral("ZBMESSBOXTEXTLABEL"));
}

QLabel* iconLabel(ZBMessageBox* box)
{
    return box->findChild<QLabel*>(QStringLiteral("ZBMESSBOXICONLABEL"));
}

QGridLayout* mainLayout(ZBMessageBox* box)
{
    return qobject_cast<QGridLayout*>(box->Content()->layout());
}

QGridLayout* buttonRow(ZBMessageBox* box)
{
    QLayoutItem* item = mainLayout(box)->itemAtPosition(100, 0);
    return item ? qobject_cast<QGridLayout*>(item->layout()) : nullptr;
}

// The visible buttons of the row, left to right as they stand on screen.
QStringList buttonTexts(ZBMessageBox* box)
{
    QList<QPushButton*> buttons;
    for (QPushButton* b : box->Content()->findChildren<QPushButton*>()) {
        if (b->isVisible())
            buttons << b;
    }
    std::sort(buttons.begin(), buttons.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
    QStringList texts;
    for (QPushButton* b : buttons)
        texts << b->text();
    return texts;
}

QPushButton* buttonWithText(ZBMessageBox* box, const QString& text)
{
    for (QPushButton* b : box->Content()->findChildren<QPushButton*>()) {
        if (b->text() == text && b->isVisible())
            return b;
    }
    return nullptr;
}

QColor iconColour(ZBMessageBox* box)
{
    const QImage image = iconLabel(box)->pixmap(Qt::ReturnByValue).toImage();
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

bool writeImage(const QString& path, const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(path, "PNG");
}

ZBMessageBox* visibleBox()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<ZBMessageBox*>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

using StaticFunction = ZBMessageBox::StandardButton (*)(QWidget*, const QString&, const QString&,
                                                        ZBMessageBox::StandardButtons,
                                                        ZBMessageBox::StandardButton);

} // namespace

Q_DECLARE_METATYPE(StaticFunction)

class tst_ZBMessageBox : public QObject
{
    Q_OBJECT

    QTemporaryDir themeDir;

    QString themeFile(const char* name) const { return themeDir.filePath(QString::fromLatin1(name)); }

    void ensureQuestionImage()
    {
        if (!QFile::exists(themeFile("questionicon.png")))
            QVERIFY(writeImage(themeFile("questionicon.png"), QSize(48, 48), Qt::yellow));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(themeDir.isValid());
        // The question image is left out: one test watches it arrive later.
        QVERIFY(writeImage(themeFile("criticalicon.png"), QSize(96, 64), Qt::red));
        QVERIFY(writeImage(themeFile("infoicon.png"), QSize(48, 48), Qt::green));
        QVERIFY(writeImage(themeFile("warningicon.png"), QSize(20, 20), Qt::blue));
        QDir::setSearchPaths(QStringLiteral("theme"), {themeDir.path()});
    }

    void cleanup()
    {
        ZBDialog::SetTopLevelWidget(nullptr);
        TestUtil::CheckNoLeftoverWindows();
    }

    void structure()
    {
        QWidget top;
        ZBDialog::SetTopLevelWidget(&top);
        ZBMessageBox box;
        QCOMPARE(box.parentWidget(), &top);
        QVERIFY(box.findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->isHidden());
        QCOMPARE(box.layout()->sizeConstraint(), QLayout::SetFixedSize);

        QGridLayout* grid = mainLayout(&box);
        QCOMPARE(grid->contentsMargins(), QMargins(13, 20, 13, 10));
        QCOMPARE(grid->spacing(), 6);
        QCOMPARE(TestUtil::CellOf(grid, iconLabel(&box)), qMakePair(0, 0));
        QCOMPARE(TestUtil::CellOf(grid, textView(&box)), qMakePair(0, 1));
        QCOMPARE(iconLabel(&box)->minimumSize(), QSize(48, 48));
        QCOMPARE(iconLabel(&box)->maximumSize(), QSize(48, 48));
        QVERIFY(iconLabel(&box)->isHidden());
        QVERIFY(textView(&box)->openExternalLinks());
        QVERIFY(buttonRow(&box));
        QVERIFY(buttonRow(&box)->itemAtPosition(0, 0)->spacerItem());
    }

    void standardImages()
    {
        const bool questionMissing = !QFile::exists(themeFile("questionicon.png"));
        {
            ZBMessageBox box;
            box.SetIcon(ZBMessageBox::CriticalIcon);
            QVERIFY(!iconLabel(&box)->isHidden());
            QCOMPARE(iconLabel(&box)->pixmap(Qt::ReturnByValue).size(), QSize(48, 32)); // aspect kept
            QCOMPARE(iconColour(&box), QColor(Qt::red));
            box.SetIcon(ZBMessageBox::WarningIcon);
            QCOMPARE(iconLabel(&box)->pixmap(Qt::ReturnByValue).size(), QSize(48, 48)); // scaled up
            QCOMPARE(iconColour(&box), QColor(Qt::blue));
            box.SetIcon(ZBMessageBox::InformationIcon);
            QCOMPARE(iconColour(&box), QColor(Qt::green));
            box.SetIcon(ZBMessageBox::Icon(4));
            QCOMPARE(iconColour(&box), QColor(Qt::green));
            box.SetIcon(ZBMessageBox::Icon(-1));
            QCOMPARE(iconColour(&box), QColor(Qt::green));
            box.SetIcon(QPixmap());
            QVERIFY(iconLabel(&box)->isHidden());
            if (questionMissing) {
                box.SetIcon(ZBMessageBox::QuestionIcon);
                QVERIFY(iconLabel(&box)->isHidden()); // no file: the box works without an icon
            }
        }

        // Read once: a changed file does not reach later boxes. A missing one is tried again.
        QVERIFY(QFile::remove(themeFile("criticalicon.png")));
        QVERIFY(writeImage(themeFile("criticalicon.png"), QSize(48, 48), Qt::black));
        ensureQuestionImage();
        ZBMessageBox box;
        box.SetIcon(ZBMessageBox::CriticalIcon);
        QCOMPARE(iconColour(&box), QColor(Qt::red));
        box.SetIcon(ZBMessageBox::QuestionIcon);
        QVERIFY(!iconLabel(&box)->isHidden());
        QCOMPARE(iconColour(&box), QColor(Qt::yellow));
    }

    void buttonOrder_data()
    {
        QTest::addColumn<QList<int>>("added"); // one AddButton() call per entry; 0 = AddButtons(all)
        const int yes = ZBMessageBox::Yes, no = ZBMessageBox::No, cancel = ZBMessageBox::Cancel;
        QTest::newRow("AddButtons") << QList<int>{0};
        QTest::newRow("ascending") << QList<int>{yes, no, cancel};
        QTest::newRow("descending") << QList<int>{cancel, no, yes};
        QTest::newRow("mixed") << QList<int>{no, cancel, yes};
    }

    void buttonOrder()
    {
        QFETCH(QList<int>, added);
        ZBMessageBox box;
        box.SetText(QStringLiteral("Save the changes?"));
        for (int kind : added) {
            if (kind == 0)
                box.AddButtons(ZBMessageBox::Cancel | ZBMessageBox::No | ZBMessageBox::Yes);
            else
                QVERIFY(box.AddButton(ZBMessageBox::StandardButton(kind)));
        }
        box.show();
        QCOMPARE(buttonTexts(&box),
                 (QStringList{QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel")}));
        // At the right edge of the box, inside the content's right margin.
        QPushButton* cancel = buttonWithText(&box, QStringLiteral("Cancel"));
        QCOMPARE(cancel->geometry().right() + 1 + 13, box.Content()->width());
        QVERIFY(cancel->width() >= 160);
        QVERIFY(cancel->height() >= 32);
    }

    void everyKindHasItsPlace()
    {
        ZBMessageBox box;
        box.AddButtons(ZBMessageBox::StandardButtons(0xffffffff));
        box.AddButton(ZBMessageBox::NoButton);
        box.show();
        QCOMPARE(buttonTexts(&box),
                 (QStringList{QString(), QStringLiteral("OK"), QStringLiteral("Save"),
                              QStringLiteral("Save all"), QStringLiteral("Open"), QStringLiteral("Yes"),
                              QStringLiteral("Yes to all"), QStringLiteral("No"), QStringLiteral("No to all"),
                              QStringLiteral("Abort"), QStringLiteral("Retry"), QStringLiteral("Ignore"),
                              QStringLiteral("Close"), QStringLiteral("Cancel"), QStringLiteral("Discard"),
                              QStringLiteral("Help"), QStringLiteral("Apply"), QStringLiteral("Reset"),
                              QStringLiteral("Restore defaults")}));
    }

    void replacingAButton()
    {
        ZBMessageBox box;
        QList<int> finished;
        connect(&box, &ZBDialog::Finished, [&finished](int r) { finished << r; });
        QPointer<QPushButton> first = box.AddButton(QStringLiteral("First"), ZBMessageBox::Cancel);
        QPushButton* second = box.AddButton(QStringLiteral("Second"), ZBMessageBox::Cancel);
        box.SetDefaultButton(ZBMessageBox::Cancel);
        QVERIFY(second->isDefault());
        box.show();
        QCOMPARE(buttonTexts(&box), QStringList{QStringLiteral("Second")});

        // The replaced button is gone from the row and no longer ends the box, then deleted.
        QVERIFY(first);
        first->click();
        QVERIFY(finished.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        second->click();
        QCOMPARE(finished, QList<int>{ZBMessageBox::Cancel});

        // A button added twice ends the box once; added under another kind, it moves.
        box.show();
        finished.clear();
        auto* own = new QPushButton(QStringLiteral("Own"));
        box.AddButton(own, ZBMessageBox::Ok);
        box.AddButton(own, ZBMessageBox::Ok);
        QCOMPARE(own->parentWidget(), box.Content());
        own->click();
        QCOMPARE(finished, QList<int>{ZBMessageBox::Ok});
        box.show();
        box.AddButton(own, ZBMessageBox::Retry);
        QCOMPARE(TestUtil::CellOf(buttonRow(&box), own).second,
                 TestUtil::CellOf(buttonRow(&box), second).second - 3);
        QVERIFY(!buttonRow(&box)->itemAtPosition(0, 2));
        finished.clear();
        own->click();
        QCOMPARE(finished, QList<int>{ZBMessageBox::Retry});
    }

    void unknownKindsAreRefused()
    {
        ZBMessageBox box;
        const int before = box.findChildren<QPushButton*>().size();
        QCOMPARE(box.AddButton(QStringLiteral("odd"), ZBMessageBox::StandardButton(0x3)), nullptr);
        QCOMPARE(box.AddButton(ZBMessageBox::StandardButton(0xc00)), nullptr);
        QCOMPARE(box.findChildren<QPushButton*>().size(), before);

        QPushButton outside(QStringLiteral("outside"));
        box.AddButton(&outside, ZBMessageBox::StandardButton(0x10));
        QCOMPARE(outside.parentWidget(), nullptr);
        box.AddButton(nullptr, ZBMessageBox::Ok);
        QCOMPARE(buttonRow(&box)->count(), 1); // the spacer alone
    }

    void defaultButton()
    {
        ZBMessageBox box;
        QPushButton* yes = box.AddButton(ZBMessageBox::Yes);
        QPushButton* no = box.AddButton(ZBMessageBox::No);

        box.SetDefaultButton(ZBMessageBox::No);
        QVERIFY(no->isDefault());
        box.SetDefaultButton(yes);
        QVERIFY(yes->isDefault());
        QVERIFY(!no->isDefault());

        box.SetDefaultButton(ZBMessageBox::Cancel); // no such button: none is default
        QVERIFY(!yes->isDefault());
        box.SetDefaultButton(ZBMessageBox::No);
        QPushButton stranger;
        box.SetDefaultButton(&stranger);
        QVERIFY(!no->isDefault());
        QVERIFY(!stranger.isDefault());
        box.SetDefaultButton(ZBMessageBox::StandardButton(0x5));
        box.SetDefaultButton(nullptr);
    }

    void clicksEndTheBoxWithTheirValue_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("Retry") << int(ZBMessageBox::Retry) << false;
        QTest::newRow("Ok") << int(ZBMessageBox::Ok) << false;
        QTest::newRow("NoButton") << int(ZBMessageBox::NoButton) << true;
    }

    void clicksEndTheBoxWithTheirValue()
    {
        QFETCH(int, kind);
        QFETCH(bool, rejected);
        ZBMessageBox box;
        QPushButton* button = box.AddButton(QStringLiteral("Press"), ZBMessageBox::StandardButton(kind));
        box.AddButton(ZBMessageBox::Help);
        bool accepted = false, wasRejected = false;
        connect(&box, &ZBDialog::Accepted, [&] { accepted = true; });
        connect(&box, &ZBDialog::Rejected, [&] { wasRejected = true; });
        QTimer::singleShot(0, button, &QPushButton::click);
        QCOMPARE(box.Exec(), kind);
        QVERIFY(!accepted);
        QCOMPARE(wasRejected, rejected);

        QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Escape); });
        QCOMPARE(box.Exec(), int(ZBMessageBox::NoButton));
    }

    void staticFunctions_data()
    {
        QTest::addColumn<StaticFunction>("function");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("action"); // a button text to click, or "Return" or "Escape"
        QTest::addColumn<int>("result");
        QTest::newRow("Critical, Return presses the default")
            << &ZBMessageBox::Critical << QColor(Qt::red) << int(ZBMessageBox::Ok | ZBMessageBox::Cancel)
            << int(ZBMessageBox::Cancel) << QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}
            << "Return" << int(ZBMessageBox::Cancel);
        QTest::newRow("Information, Escape")
            << &ZBMessageBox::Information << QColor(Qt::green) << int(ZBMessageBox::Ok)
            << int(ZBMessageBox::NoButton) << QStringList{QStringLiteral("OK")} << "Escape"
            << int(ZBMessageBox::NoButton);
        QTest::newRow("Question, click")
            << &ZBMessageBox::Question << QColor(Qt::yellow) << int(ZBMessageBox::No | ZBMessageBox::Yes)
            << int(ZBMessageBox::No) << QStringList{QStringLiteral("Yes"), QStringLiteral("No")} << "Yes"
            << int(ZBMessageBox::Yes);
        QTest::newRow("Warning without buttons")
            << &ZBMessageBox::Warning << QColor(Qt::blue) << 0 << int(ZBMessageBox::Ok) << QStringList()
            << "Escape" << int(ZBMessageBox::NoButton);
    }

    void staticFunctions()
    {
        QFETCH(StaticFunction, function);
        QFETCH(QColor, colour);
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        QFETCH(QStringList, texts);
        QFETCH(QString, action);
        QFETCH(int, result);
        ensureQuestionImage();
        QWidget top;
        ZBDialog::SetTopLevelWidget(&top);

        bool checked = false;
        auto inspect = [&](ZBMessageBox* box) {
            QCOMPARE(box->parentWidget(), &top);
            QVERIFY(box->isModal());
            QCOMPARE(iconColour(box), colour);
            QCOMPARE(box->windowTitle(), QStringLiteral("Title"));
            const QList<QLabel*> labels = box->TitleBar()->findChildren<QLabel*>();
            QVERIFY(std::any_of(labels.begin(), labels.end(),
                                [](QLabel* l) { return l->text() == QLatin1String("Title"); }));
            QCOMPARE(textView(box)->toPlainText(), QStringLiteral("Line one\nLine two"));
            QCOMPARE(buttonTexts(box), texts);
            checked = true;
        };
        QTimer::singleShot(0, &top, [&] {
            ZBMessageBox* box = visibleBox();
            if (!box)
                return;
            inspect(box);
            if (action == QLatin1String("Return"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (action == QLatin1String("Escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else if (QPushButton* button = buttonWithText(box, action))
                button->click();
        });
        // Should the box still run, end it so that the failure shows instead of a hang.
        QTimer::singleShot(10000, &top, [] {
            if (ZBMessageBox* box = visibleBox())
                box->Done(-999);
        });
        const ZBMessageBox::StandardButton returned =
            function(nullptr, QStringLiteral("Title"), QStringLiteral("Line one\nLine two"),
                     ZBMessageBox::StandardButtons(buttons), ZBMessageBox::StandardButton(defaultButton));
        QVERIFY(checked);
        QCOMPARE(int(returned), result);
        QVERIFY(top.findChildren<ZBMessageBox*>().isEmpty()); // the box is gone
    }

    void staticFunctionSurvivesItsParent()
    {
        auto* top = new QWidget;
        ZBDialog::SetTopLevelWidget(top);
        QTimer::singleShot(0, [top] { delete top; });
        QCOMPARE(ZBMessageBox::Question(nullptr, QString(), QStringLiteral("?"), ZBMessageBox::Ok,
                                        ZBMessageBox::Ok),
                 ZBMessageBox::NoButton);
    }

    void textSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("expected");
        const QFontMetrics fm(QApplication::font());
        const int lh = fm.height();
        const QString shortLine = QStringLiteral("A short line");
        const int sw = fm.horizontalAdvance(shortLine);
        const QRect wide(0, 0, 1920, 1080);

        // Narrower than a third of the screen: its own width plus 20, one line more than it has.
        QTest::newRow("one line, wide screen") << shortLine << wide << QSize(sw + 20, 2 * lh + 1);
        QTest::newRow("work area offset")
            << shortLine << QRect(1920, 200, 1920, 1080) << QSize(sw + 20, 2 * lh + 1);
        QTest::newRow("three lines") << shortLine + "\nxy\n" + shortLine << wide
                                     << QSize(sw + 20, 4 * lh + 1);
        QTest::newRow("empty lines add nothing") << "\n" + shortLine + "\n\n"
                                                 << wide << QSize(sw + 20, 2 * lh + 1);

        // Wider than a third: a third of the screen, wrapped at 20 pixels less.
        const QString longLine = QString(60, QLatin1Char('m'));
        const int lw = fm.horizontalAdvance(longLine);
        QVERIFY(lw > 80);
        const int wraps = (lw + 59) / 60;
        QTest::newRow("narrow screen")
            << longLine << QRect(0, 0, 240, 1080) << QSize(80, (1 + wraps) * lh + 1);
        QTest::newRow("narrow screen, short height") << longLine << QRect(0, 0, 240, 3 * lh) << QSize(80, lh);
        QTest::newRow("no wrap width") << longLine << QRect(0, 0, 60, 1080) << QSize(20, lh);
        QTest::newRow("empty text") << QString() << wide << QSize(20, lh);
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
        QTextBrowser* view = textView(&box);
        const QSize size = ZBMessageBoxText::ViewSize(view->font(), view->toPlainText(),
                                                      QGuiApplication::primaryScreen()->availableGeometry());
        QCOMPARE(view->minimumWidth(), size.width());
        QCOMPARE(view->minimumHeight(), size.height());
        QCOMPARE(view->maximumHeight(), size.height());
        box.show();
        QCOMPARE(view->size(), size);

        // A long text is held to a third of the work area.
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        box.SetText(QString(400, QLatin1Char('w')).replace(QLatin1Char('w'), QStringLiteral("w\n")));
        QCOMPARE(view->maximumHeight(), area.height() / 3);
    }
};

QTEST_MAIN(tst_ZBMessageBox)
#include "tst_zbmessagebox.moc"
