#include "ZBSettingsWidget.h"
#include "testutil.h"

#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

QPushButton* buttonOf(ZBSettingsWidget* panel)
{
    return panel->findChild<QPushButton*>(QStringLiteral("ZBSettingsWidgetButton"));
}

// What the panel shows: its signals since the last clear (state number, "b", "a", "p" policy), the contents
// ("G" general, "A" advanced), the arrow ("down" red image, "up" blue), the tool tip and the button text.
struct Recorder
{
    explicit Recorder(ZBSettingsWidget* panel) : panel(panel)
    {
        QObject::connect(panel, &ZBSettingsWidget::StateChanged, panel,
                         [this](ZBSettingsWidget::State s) { seen += QString::number(int(s)); });
        QObject::connect(panel, &ZBSettingsWidget::BasicActivated, panel, [this] { seen += 'b'; });
        QObject::connect(panel, &ZBSettingsWidget::AdvancedActivated, panel, [this] { seen += 'a'; });
        QObject::connect(panel, &ZBSettingsWidget::PolicyChanged, panel,
                         [this](ZBSettingsWidget::ContentPolicy p) { seen += QStringLiteral("p%1").arg(p); });
    }
    QString look() const
    {
        const QImage arrow = buttonOf(panel)->icon().pixmap(8, 8).toImage();
        return seen + (panel->GetGeneralContent()->isHidden() ? " " : " G") +
               (panel->GetAdvancedContent()->isHidden() ? " " : "A ") +
               (arrow.isNull()                      ? "none"
                : arrow.pixelColor(4, 4) == Qt::red ? "down"
                                                    : "up") +
               ' ' + buttonOf(panel)->toolTip() + '|' + buttonOf(panel)->text();
    }
    ZBSettingsWidget* panel;
    QString seen;
};

const QString basicLook = QStringLiteral("G down Show advanced settings|");

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

    void switching_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QString>("advancedLook");
        QTest::newRow("add advanced options")
            << int(ZBSettingsWidget::AddAdvancedOptions) << "1a GA up Show basic settings|Less";
        QTest::newRow("hide basic options")
            << int(ZBSettingsWidget::HideBasicOptions) << "1a A up Show basic settings|Less";
    }

    void switching()
    {
        QFETCH(int, policy);
        QFETCH(QString, advancedLook);
        ZBSettingsWidget panel;
        Recorder rec(&panel);
        // Until its machine first runs the panel is Advanced and shows both contents.
        panel.SetState(ZBSettingsWidget::Advanced);
        QCOMPARE(rec.look(), QStringLiteral(" GA none |"));
        waitForBasic(&panel);
        QCOMPARE(rec.look(), QStringLiteral("0b ") + basicLook);
        panel.SetPolicy(ZBSettingsWidget::ContentPolicy(policy)); // basic: changes nothing yet
        rec.seen.clear();
        QCOMPARE(rec.look(), QStringLiteral(" ") + basicLook);
        panel.SetAdvancedButtonText(QStringLiteral("Less")); // basic now: waits for the advanced state
        QVERIFY(buttonOf(&panel)->text().isEmpty());
        panel.SetBasicButtonText(QStringLiteral("More"));
        // The button, the slot and the property each switch both ways, announced once each time.
        const std::function<void(int)> switches[] = {
            [&](int) { QTest::mouseClick(buttonOf(&panel), Qt::LeftButton); },
            [&](int s) { panel.SetState(ZBSettingsWidget::State(s)); },
            [&](int s) { QVERIFY(panel.setProperty("state", s)); },
        };
        for (int i = 0; i < 6; ++i) {
            switches[i / 2](1 - i % 2);
            QTRY_COMPARE(rec.look(), i % 2 ? QStringLiteral("0b ") + basicLook + "More" : advancedLook);
            rec.seen.clear();
        }
        panel.SetState(ZBSettingsWidget::State(7));
        QCOMPARE(panel.GetState(), ZBSettingsWidget::Basic);
    }

    void policyChanges()
    {
        ZBSettingsWidget panel;
        waitForBasic(&panel);
        Recorder rec(&panel);
        panel.SetState(ZBSettingsWidget::Advanced);
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions); // advanced: at once
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        QCOMPARE(rec.look().left(7), QStringLiteral("1ap0 A "));
        panel.SetPolicy(ZBSettingsWidget::AddAdvancedOptions); // brings the general content back
        QCOMPARE(rec.look().left(10), QStringLiteral("1ap0p1 GA "));
        // General content that the application hid itself stays hidden.
        panel.GetGeneralContent()->hide();
        panel.SetPolicy(ZBSettingsWidget::HideBasicOptions);
        panel.SetPolicy(ZBSettingsWidget::AddAdvancedOptions);
        QVERIFY(panel.GetGeneralContent()->isHidden());
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
