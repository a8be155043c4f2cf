#include "ZBSettingsWidget.h"
#include "testutil.h"

#include <QDir>
#include <QImage>
#include <QMetaEnum>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QPushButton* buttonOf(ZBSettingsWidget* panel)
{
    return panel->findChild<QPushButton*>(QStringLiteral("ZBSettingsWidgetButton"));
}

// The colour in the middle of the button's icon: the arrow images are filled plain red (down)
// and plain blue (up).
QColor arrowColour(ZBSettingsWidget* panel)
{
    const QIcon icon = buttonOf(panel)->icon();
    if (icon.isNull())
        return QColor();
    const QImage image = icon.pixmap(16, 16).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// Records the panel's signals as short strings, in order.
struct Recorder
{
    explicit Recorder(ZBSettingsWidget* panel)
    {
        QObject::connect(panel, &ZBSettingsWidget::StateChanged, panel, [this](ZBSettingsWidget::State s) {
            seen << (s == ZBSettingsWidget::Basic ? QStringLiteral("state:basic")
                                                  : QStringLiteral("state:advanced"));
        });
        QObject::connect(panel, &ZBSettingsWidget::PolicyChanged, panel,
                         [this](ZBSettingsWidget::ContentPolicy p) {
                             seen << (p == ZBSettingsWidget::HideBasicOptions ? QStringLiteral("policy:hide")
                                                                              : QStringLiteral("policy:add"));
                         });
        QObject::connect(panel, &ZBSettingsWidget::BasicActivated, panel,
                         [this] { seen << QStringLiteral("basic"); });
        QObject::connect(panel, &ZBSettingsWidget::AdvancedActivated, panel,
                         [this] { seen << QStringLiteral("advanced"); });
    }
    QString take()
    {
        const QString all = seen.join(QLatin1Char(' '));
        seen.clear();
        return all;
    }
    QStringList seen;
};

// What is shown: "G" general content, "A" advanced content, in that order.
QString shown(ZBSettingsWidget* panel)
{
    QString s;
    if (!panel->GetGeneralContent()->isHidden())
        s += QLatin1Char('G');
    if (!panel->GetAdvancedContent()->isHidden())
        s += QLatin1Char('A');
    return s;
}

} // namespace

class tst_ZBSettingsWidget : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir themeDir;

    void waitForBasic(ZBSettingsWidget* panel)
    {
        QTRY_COMPARE(panel->GetState(), ZBSettingsWidget::Basic);
        QTRY_COMPARE(buttonOf(panel)->toolTip(), QStringLiteral("Show advanced settings"));
    }

    void click(ZBSettingsWidget* panel) { QTest::mouseClick(buttonOf(panel), Qt::LeftButton); }

private slots:
    void initTestCase()
    {
        QVERIFY(themeDir.isValid());
        QImage down(16, 16, QImage::Format_ARGB32);
        down.fill(Qt::red);
        QVERIFY(down.save(themeDir.filePath(QStringLiteral("arrow-down.png"))));
        QImage up(16, 16, QImage::Format_ARGB32);
        up.fill(Qt::blue);
        QVERIFY(up.save(themeDir.filePath(QStringLiteral("arrow-up.png"))));
        QDir::setSearchPaths(QStringLiteral("theme"), {themeDir.path()});
    }

    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void structure()
    {
        ZBSettingsWidget panel;
        auto* grid = qobject_cast<QGridLayout*>(panel.layout());
        QVERIFY(grid);
        QCOMPARE(grid->contentsMargins(), QMargins());
        QPushButton* button = buttonOf(&panel);
        QVERIFY(button);
        QCOMPARE(TestUtil::CellOf(grid, panel.GetGeneralContent()), qMakePair(0, 0));
        QCOMPARE(TestUtil::CellOf(grid, button), qMakePair(0, 1));
        QCOMPARE(TestUtil::CellOf(grid, panel.GetAdvancedContent()), qMakePair(2, 0));
        QCOMPARE(TestUtil::CellOf(grid, panel.GetFooterContent()), qMakePair(3, 0));
        QCOMPARE(grid->itemAt(grid->indexOf(button))->alignment(), Qt::AlignRight | Qt::AlignTop);
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(grid->indexOf(panel.GetAdvancedContent()), &row, &column, &rowSpan,
                              &columnSpan);
        QCOMPARE(columnSpan, 2);

        const QMetaObject* meta = panel.metaObject();
        const QMetaProperty state = meta->property(meta->indexOfProperty("state"));
        QVERIFY(state.isEnumType() && state.isWritable() && state.hasNotifySignal());
        QCOMPARE(QByteArray(state.enumerator().valueToKey(1)), QByteArray("Advanced"));
        const QMetaProperty policy = meta->property(meta->indexOfProperty("policy"));
        QCOMPARE(QByteArray(policy.enumerator().valueToKey(0)), QByteArray("HideBasicOptions"));
    }

    void firstEventLoopPass()
    {
        ZBSettingsWidget panel;
        Recorder rec(&panel);
        QCOMPARE(panel.GetState(), ZBSettingsWidget::Advanced);
        QCOMPARE(panel.GetPolicy(), ZBSettingsWidget::AddAdvancedOptions);
        QCOMPARE(shown(&panel), QStringLiteral("GA"));
        QVERIFY(buttonOf(&panel)->icon().isNull());

        // Before the machine runs, the panel is Advanced already: nothing happens.
        panel.SetState(ZBSettingsWidget::Advanced);
        QCOMPARE(rec.take(), QString());

        waitForBasic(&panel);
        QCOMPARE(rec.take(), QStringLiteral("state:basic basic"));
        QCOMPARE(shown(&panel), QStringLiteral("G"));
        QCOMPARE(arrowColour(&panel), QColor(Qt::red));
        QVERIFY(buttonOf(&panel)->text().isEmpty());
    }

    void clicksWithBothPolicies_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QString>("basicShows");
        QTest::addColumn<QString>("advancedShows");
        QTest::newRow("add advanced options") << int(ZBSettingsWidget::AddAdvancedOptions) << "G"
                                              << "GA";
        QTest::newRow("hide basic options") << int(ZBSettingsWidget::HideBasicOptions) << "G"
                                            << "A";
    }

    void clicksWithBothPolicies()
    {
        QFETCH(int, policy);
        QFETCH(QString, basicShows);
        QFETCH(QString, advancedShows);
        ZBSettingsWidget panel;
        panel.SetPolicy(ZBSettingsWidget::ContentPolicy(policy));
        panel.show();
        waitForBasic(&panel);
        Recorder rec(&panel);

        for (int round = 0; round < 2; ++round) {
            click(&panel);
            QTRY_COMPARE(panel.GetState(), ZBSettingsWidget::Advanced);
            QTRY_COMPARE(buttonOf(&panel)->toolTip(), QStringLiteral("Show basic settings"));
            QCOMPARE(arrowColour(&panel), QColor(Qt::blue));
            QCOMPARE(shown(&panel), advancedShows);
            QCOMPARE(rec.take(), QStringLiteral("state:advanced advanced"));

            click(&panel);
            waitForBasic(&panel);
            QCOMPARE(arrowColour(&panel), QColor(Qt::red));
            QCOMPARE(shown(&panel), basicShows);
            QCOMPARE(rec.take(), QStringLiteral("state:basic basic"));
        }
    }

    void setStateDrivesTheButton()
    {
        ZBSettingsWidget panel;
        waitForBasic(&panel);
        Recorder rec(&panel);

        panel.SetState(ZBSettingsWidget::Advanced);
        QCOMPARE(panel.GetState(), ZBSettingsWidget::Advanced);
        QCOMPARE(shown(&panel), QStringLiteral("GA"));
        QTRY_COMPARE(buttonOf(&panel)->toolTip(), QStringLiteral("Show basic settings"));
        QCOMPARE(arrowColour(&panel), QColor(Qt::blue));
        QTest::qWait(20);
        QCOMPARE(rec.take(), QStringLiteral("state:advanced advanced"));

        // The button still toggles from the state the machine followed into.
        click(&panel);
        waitForBasic(&panel);
        QCOMPARE(rec.take(), QStringLiteral("state:basic basic"));

        // Through the property system, and with values that are no state.
        QVERIFY(panel.setProperty("state", int(ZBSettingsWidget::Advanced)));
        QCOMPARE(panel.GetState(), ZBSettingsWidget::Advanced);
        rec.take();
        panel.SetState(ZBSettingsWidget::State(7));
        panel.SetPolicy(ZBSettingsWidget::ContentPolicy(-1));
        panel.SetState(ZBSettingsWidget::Advanced);
        QCOMPARE(panel.GetState(), ZBSettingsWidget::Advanced);
        QCOMPARE(panel.GetPolicy(), ZBSettingsWidget::AddAdvancedOptions);
        QCOMPARE(rec.take(), QString());
    }

    void policyChanges()
    {
        ZBSettingsWidget panel;
        waitForBasic(&panel);
        Recorder rec(&panel);

        // In the basic state a new policy waits for the next state change.
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        QCOMPARE(rec.take(), QStringLiteral("policy:hide"));
        QCOMPARE(shown(&panel), QStringLiteral("G"));
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        QCOMPARE(rec.take(), QString());

        panel.SetState(ZBSettingsWidget::Advanced);
        QCOMPARE(shown(&panel), QStringLiteral("A"));
        // Adding the advanced options again brings the general content back at once.
        panel.SetPolicy(ZBSettingsWidget::AddAdvancedOptions);
        QCOMPARE(shown(&panel), QStringLiteral("GA"));
        // In the advanced state a new policy applies at once.
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        QCOMPARE(shown(&panel), QStringLiteral("A"));
        QVERIFY(panel.setProperty("policy", int(ZBSettingsWidget::AddAdvancedOptions)));
        QCOMPARE(shown(&panel), QStringLiteral("GA"));

        // General content that the application hid itself stays hidden.
        panel.GetGeneralContent()->hide();
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        panel.SetPolicy(ZBSettingsWidget::AddAdvancedOptions);
        QCOMPARE(shown(&panel), QStringLiteral("A"));
    }

    void buttonTexts()
    {
        ZBSettingsWidget panel;
        waitForBasic(&panel);
        QPushButton* button = buttonOf(&panel);

        panel.SetAdvancedButtonText(QStringLiteral("Less"));
        QVERIFY(button->text().isEmpty());
        click(&panel);
        QTRY_COMPARE(button->text(), QStringLiteral("Less"));

        panel.SetBasicButtonText(QStringLiteral("More")); // not basic now: waits
        QCOMPARE(button->text(), QStringLiteral("Less"));
        click(&panel);
        QTRY_COMPARE(button->text(), QStringLiteral("More"));
        panel.SetBasicButtonText(QStringLiteral("More options")); // basic now: at once
        QCOMPARE(button->text(), QStringLiteral("More options"));

        panel.SetState(ZBSettingsWidget::Advanced);
        QTRY_COMPARE(button->text(), QStringLiteral("Less"));
        panel.SetState(ZBSettingsWidget::Basic);
        QTRY_COMPARE(button->text(), QStringLiteral("More options"));
    }

    void hiddenStateButton()
    {
        ZBSettingsWidget panel;
        panel.show();
        waitForBasic(&panel);
        panel.ShowStateButton(false);
        QVERIFY(buttonOf(&panel)->isHidden());
        panel.SetState(ZBSettingsWidget::Advanced);
        QCOMPARE(shown(&panel), QStringLiteral("GA"));
        panel.ShowStateButton(true);
        QVERIFY(!buttonOf(&panel)->isHidden());
    }

    void missingArrowImages()
    {
        const QStringList saved = QDir::searchPaths(QStringLiteral("theme"));
        QDir::setSearchPaths(QStringLiteral("theme"), {});
        {
            ZBSettingsWidget panel;
            waitForBasic(&panel);
            QVERIFY(buttonOf(&panel)->icon().isNull());
            click(&panel);
            QTRY_COMPARE(panel.GetState(), ZBSettingsWidget::Advanced);
        }
        QDir::setSearchPaths(QStringLiteral("theme"), saved);
    }

    void lifetime()
    {
        // Deleted before its machine ever ran.
        delete new ZBSettingsWidget;

        // Deleted from a slot while its machine is entering a state.
        QPointer<ZBSettingsWidget> panel = new ZBSettingsWidget;
        waitForBasic(panel);
        connect(panel.data(), &ZBSettingsWidget::StateChanged, panel.data(),
                [&panel] { delete panel.data(); });
        click(panel);
        QTRY_VERIFY(!panel);

        // The application deletes the content and the button; the panel carries on.
        panel = new ZBSettingsWidget;
        waitForBasic(panel);
        delete panel->GetAdvancedContent();
        delete buttonOf(panel);
        panel->SetState(ZBSettingsWidget::Advanced);
        panel->SetAdvancedButtonText(QStringLiteral("x"));
        panel->ShowStateButton(true);
        QCoreApplication::processEvents();
        QCOMPARE(panel->GetState(), ZBSettingsWidget::Advanced);
        QCOMPARE(panel->GetAdvancedContent(), nullptr);
        delete panel;
    }
};

QTEST_MAIN(tst_ZBSettingsWidget)
#include "tst_zbsettingswidget.moc"
