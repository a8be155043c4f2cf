#include "ZBSettingsWidget.h"
#include "testutil.h"

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QPushButton* buttonOf(ZBSettingsWidget* panel)
{
    return panel->findChild<QPushButton*>(QStringLiteral("ZBSettingsWidgetButton"));
}

// What the panel shows, in order: its signals since the last call, the contents ("G" general,
// "A" advanced), the arrow ("down" red image, "up" blue) and the tool tip.
struct Recorder
{
    explicit Recorder(ZBSettingsWidget* panel) : panel(panel)
    {
        QObject::connect(panel, &ZBSettingsWidget::StateChanged, panel,
                         [this](ZBSettingsWidget::State s) { seen << QString::number(int(s)); });
        QObject::connect(panel, &ZBSettingsWidget::BasicActivated, panel,
                         [this] { seen << QStringLiteral("b"); });
        QObject::connect(panel, &ZBSettingsWidget::AdvancedActivated, panel,
                         [this] { seen << QStringLiteral("a"); });
    }
    QString look() const
    {
        QString s = seen.join(QString()) + QLatin1Char(' ');
        s += QLatin1String(panel->GetGeneralContent()->isHidden() ? "" : "G");
        s += QLatin1String(panel->GetAdvancedContent()->isHidden() ? " " : "A ");
        const QImage arrow = buttonOf(panel)->icon().pixmap(8, 8).toImage();
        s += arrow.isNull()                      ? QStringLiteral("none")
             : arrow.pixelColor(4, 4) == Qt::red ? QStringLiteral("down")
                                                 : QStringLiteral("up");
        return s + QLatin1Char(' ') + buttonOf(panel)->toolTip();
    }
    QString take()
    {
        const QString s = look();
        seen.clear();
        return s;
    }
    ZBSettingsWidget* panel;
    QStringList seen;
};

const QString basicLook = QStringLiteral("G down Show advanced settings");

} // namespace

class tst_ZBSettingsWidget : public QObject
{
    Q_OBJECT

    QTemporaryDir themeDir;

    static void waitForBasic(ZBSettingsWidget* panel)
    {
        QTRY_COMPARE(buttonOf(panel)->toolTip(), QStringLiteral("Show advanced settings"));
    }

private slots:
    void initTestCase()
    {
        QImage arrow(8, 8, QImage::Format_ARGB32);
        arrow.fill(Qt::red);
        QVERIFY(arrow.save(themeDir.filePath(QStringLiteral("arrow-down.png"))));
        arrow.fill(Qt::blue);
        QVERIFY(arrow.save(themeDir.filePath(QStringLiteral("arrow-up.png"))));
        QDir::setSearchPaths(QStringLiteral("theme"), {themeDir.path()});
    }

    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void firstEventLoopPass()
    {
        ZBSettingsWidget panel;
        Recorder rec(&panel);
        panel.SetState(ZBSettingsWidget::Advanced); // the panel is Advanced until the machine runs
        QCOMPARE(panel.GetPolicy(), ZBSettingsWidget::AddAdvancedOptions);
        QCOMPARE(rec.take(), QStringLiteral(" GA none "));
        waitForBasic(&panel);
        QCOMPARE(panel.GetState(), ZBSettingsWidget::Basic);
        QCOMPARE(rec.take(), QStringLiteral("0b ") + basicLook);
        QVERIFY(buttonOf(&panel)->text().isEmpty());
    }

    void clicks_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QString>("advancedLook");
        QTest::newRow("add advanced options")
            << int(ZBSettingsWidget::AddAdvancedOptions) << "GA up Show basic settings";
        QTest::newRow("hide basic options")
            << int(ZBSettingsWidget::HideBasicOptions) << "A up Show basic settings";
    }

    void clicks()
    {
        QFETCH(int, policy);
        QFETCH(QString, advancedLook);
        ZBSettingsWidget panel;
        panel.SetPolicy(ZBSettingsWidget::ContentPolicy(policy));
        waitForBasic(&panel);
        Recorder rec(&panel);
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(buttonOf(&panel), Qt::LeftButton);
            QTRY_COMPARE(rec.look(), QStringLiteral("1a ") + advancedLook);
            rec.take();
            QTest::mouseClick(buttonOf(&panel), Qt::LeftButton);
            QTRY_COMPARE(rec.look(), QStringLiteral("0b ") + basicLook);
            rec.take();
        }
        // Called by the application, the state takes the button along, with one announcement.
        panel.SetState(ZBSettingsWidget::Advanced);
        QTRY_COMPARE(rec.look(), QStringLiteral("1a ") + advancedLook);
        rec.take();
        QVERIFY(panel.setProperty("state", int(ZBSettingsWidget::Basic)));
        QTRY_COMPARE(rec.look(), QStringLiteral("0b ") + basicLook);
        rec.take();
        panel.SetState(ZBSettingsWidget::State(7));
        QCOMPARE(panel.GetState(), ZBSettingsWidget::Basic);
    }

    void policyChanges()
    {
        ZBSettingsWidget panel;
        waitForBasic(&panel);
        Recorder rec(&panel);
        QVector<int> policies;
        connect(&panel, &ZBSettingsWidget::PolicyChanged, &panel,
                [&](ZBSettingsWidget::ContentPolicy p) { policies << p; });
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions); // basic: waits for the next state change
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        QCOMPARE(rec.take(), QStringLiteral(" ") + basicLook);
        panel.SetState(ZBSettingsWidget::Advanced);
        QCOMPARE(rec.take().left(4), QStringLiteral("1a A"));
        panel.SetPolicy(ZBSettingsWidget::AddAdvancedOptions); // brings the general content back
        QCOMPARE(rec.take().left(4), QStringLiteral(" GA "));
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions); // advanced: at once
        QCOMPARE(rec.take().left(3), QStringLiteral(" A "));
        QCOMPARE(policies, (QVector<int>{0, 1, 0}));
        // General content that the application hid itself stays hidden.
        panel.SetPolicy(ZBSettingsWidget::AddAdvancedOptions);
        panel.GetGeneralContent()->hide();
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        panel.SetPolicy(ZBSettingsWidget::AddAdvancedOptions);
        QVERIFY(panel.GetGeneralContent()->isHidden());
    }

    void buttonTexts()
    {
        ZBSettingsWidget panel;
        waitForBasic(&panel);
        QPushButton* button = buttonOf(&panel);
        panel.SetAdvancedButtonText(QStringLiteral("Less")); // basic now: waits
        QVERIFY(button->text().isEmpty());
        panel.SetState(ZBSettingsWidget::Advanced);
        QTRY_COMPARE(button->text(), QStringLiteral("Less"));
        panel.SetBasicButtonText(QStringLiteral("More"));
        QCOMPARE(button->text(), QStringLiteral("Less"));
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(button->text(), QStringLiteral("More"));
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(button->text(), QStringLiteral("Less"));
    }

    void lifetime()
    {
        delete new ZBSettingsWidget; // before its machine ever ran

        // Deleted from a slot while its machine enters a state.
        QPointer<ZBSettingsWidget> panel = new ZBSettingsWidget;
        waitForBasic(panel);
        connect(panel.data(), &ZBSettingsWidget::StateChanged, panel.data(),
                [&panel] { delete panel.data(); });
        QTest::mouseClick(buttonOf(panel), Qt::LeftButton);
        QTRY_VERIFY(!panel);

        // The application deletes the advanced content and the button; the panel carries on.
        panel = new ZBSettingsWidget;
        waitForBasic(panel);
        delete panel->GetAdvancedContent();
        delete buttonOf(panel);
        panel->SetState(ZBSettingsWidget::Advanced);
        panel->SetAdvancedButtonText(QStringLiteral("x"));
        panel->ShowStateButton(false);
        QCoreApplication::processEvents();
        QCOMPARE(panel->GetState(), ZBSettingsWidget::Advanced);
        delete panel;
    }
};

QTEST_MAIN(tst_ZBSettingsWidget)
#include "tst_zbsettingswidget.moc"
