// The small controls, ZBLinkLabel and ZBSettingsWidget; the translations and the optional theme.
#include "ZBLinkLabel.h"
#include "ZBMessageBox.h"
#include "ZBSettingsWidget.h"
#include "ZBTheme.h"
#include "ZBTranslator.h"
#include "testutil.h"

#include <QDir>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTextLayout>
#include <functional>

using namespace TestUtil;

namespace {

struct RecordingStyle : QProxyStyle // remembers the text of the last push button it drew
{
    RecordingStyle() : QProxyStyle(QStringLiteral("Fusion")) {}
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            button && element == CE_PushButton)
            drawn = button->text;
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable QString drawn;
};

} // namespace

class tst_ZBControls : public QObject
{
    Q_OBJECT

    QTemporaryDir themeDir;

private slots:
    void initTestCase()
    {
        QImage arrow(8, 8, QImage::Format_ARGB32);
        for (const auto& [name, colour] :
             {std::pair("arrow-down.png", Qt::red), std::pair("arrow-up.png", Qt::blue)}) {
            arrow.fill(colour);
            QVERIFY(arrow.save(themeDir.filePath(QLatin1String(name))));
        }
        QDir::setSearchPaths(QStringLiteral("theme"), {themeDir.path()});
    }
    void cleanup()
    {
        QVERIFY(!ZBTranslator::Install(QLocale::c())); // nothing left installed
        CheckNoLeftoverWindows();
    }

    void linkLabel()
    {
        QWidget parent;
        auto* label = new ZBLinkLabel(&parent);
        SignalLog log;
        log.Record(label, qOverload<const QString&>(&ZBLinkLabel::TextChanged), QStringLiteral("text"));
        log.Record(label, &ZBLinkLabel::DataChanged, QStringLiteral("data"));
        const std::pair<std::function<void()>, const char*> steps[] = {
            {[&] { label->SetText(QStringLiteral("Details")); }, "text(Details)"},
            {[&] { label->SetData(17, 300); }, "data(300)"},
            {[&] { label->SetData(QVariant(), 300); }, "data(300)"},
        };
        for (const auto& [step, expected] : steps) {
            step();
            ZB_STEP_COMPARE(expected, log.Take(), QString::fromLatin1(expected));
        }
        QCOMPARE(std::make_pair(label->GetData(300).isValid(), label->cursor().shape()),
                 std::make_pair(false, Qt::PointingHandCursor)); // an invalid value removes the role's data
        parent.setEnabled(false); // disabled, also through its parent: the arrow
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        // The size hint follows font and style; a narrow label elides its text inside the margins, the
        // ellipsis where the text is cut when laid out in the label's direction, as the painter does.
        RecordingStyle style;
        const QString text = QStringLiteral("Open the advanced settings");
        label->setContentsMargins(3, 4, 45, 6);
        label->SetText(text);
        label->setFont(QFont(label->font().family(), 22));
        label->setStyle(&style);
        QCOMPARE(label->sizeHint(), QSize(label->fontMetrics().horizontalAdvance(text) + 48,
                                          label->fontMetrics().height() + 10));
        label->resize(348, 50); // 300 pixels inside the margins
        const QString hebrew =
            QString::fromUtf8("\u05d4\u05e6\u05d2 \u05d0\u05ea \u05db\u05dc \u05d4\u05d9\u05d5\u05de\u05df ")
                .repeated(4);
        for (const QString& cutText : {text, hebrew}) {
            for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
                label->setLayoutDirection(direction);
                label->SetText(cutText);
                label->grab();
                const int cut = style.drawn.indexOf(QChar(0x2026));
                QVERIFY2(cut > 0, qPrintable(style.drawn));
                QVERIFY2(label->fontMetrics().horizontalAdvance(style.drawn) <= 300, qPrintable(style.drawn));
                QTextLayout layout(style.drawn, label->font());
                QTextOption option;
                option.setTextDirection(direction);
                layout.setTextOption(option);
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                const auto x = [&](int at) {
                    return layout.glyphRuns(at, 1).value(0).boundingRect().center().x();
                };
                QCOMPARE(x(cut) > x(cut - 1), !cutText.isRightToLeft());
            }
        }
        label->setStyle(nullptr);
    }

    // The button and the slot switch both ways, announced once each; the policy decides the general content.
    void settings_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<QString>("advanced");
        const int add = ZBSettingsWidget::AddAdvancedOptions, hide = ZBSettingsWidget::HideBasicOptions;
        QTest::newRow("add advanced options") << add << "state(1) advanced() GA up Show basic settings|Less";
        QTest::newRow("hide basic options") << hide << "state(1) advanced() A up Show basic settings|Less";
    }

    void settings()
    {
        QFETCH(int, policy);
        QFETCH(QString, advanced);
        ZBSettingsWidget panel;
        auto* button = Named<QPushButton>(&panel, "ZBSettingsWidgetButton");
        SignalLog log;
        log.Record(&panel, &ZBSettingsWidget::StateChanged, QStringLiteral("state"));
        log.Record(&panel, &ZBSettingsWidget::BasicActivated, QStringLiteral("basic"));
        log.Record(&panel, &ZBSettingsWidget::AdvancedActivated, QStringLiteral("advanced"));
        log.Record(&panel, &ZBSettingsWidget::PolicyChanged, QStringLiteral("policy"));
        // Signals so far, contents ("G" general, "A" advanced), arrow (red image "down"), tool tip, text.
        const auto look = [&] {
            return QStringLiteral("%1 %2%3 %4 %5|%6")
                .arg(log.seen.join(QLatin1Char(' ')),
                     QLatin1String(panel.GetGeneralContent()->isHidden() ? "" : "G"),
                     QLatin1String(panel.GetAdvancedContent()->isHidden() ? "" : "A"),
                     QLatin1String(button->icon().pixmap(8, 8).toImage().pixelColor(4, 4) == Qt::red ? "down"
                                                                                                     : "up"),
                     button->toolTip(), button->text());
        };
        QTRY_COMPARE(button->toolTip(), QStringLiteral("Show advanced settings"));
        const QString basic = QStringLiteral("state(0) basic() G down Show advanced settings|");
        QCOMPARE(look(), basic);
        log.Take();
        panel.SetPolicy(ZBSettingsWidget::ContentPolicy(policy)); // basic: changes no content yet
        QCOMPARE(look(), QLatin1String(policy ? "" : "policy(0)") +
                             QStringLiteral(" G down Show advanced settings|"));
        log.Take();
        panel.SetAdvancedButtonText(QStringLiteral("Less")); // basic now: waits for the advanced state
        panel.SetBasicButtonText(QStringLiteral("More"));
        const std::function<void(int)> switches[] = {
            [&](int) { QTest::mouseClick(button, Qt::LeftButton); },
            [&](int s) { panel.SetState(ZBSettingsWidget::State(s)); },
        };
        for (int i = 0; i < 4; ++i) {
            switches[i / 2](1 - i % 2);
            QTRY_COMPARE(look(), i % 2 ? basic + "More" : advanced);
            log.Take();
        }
        panel.SetState(ZBSettingsWidget::Advanced);
        for (int p : {0, 1}) { // advanced: at once
            panel.SetPolicy(ZBSettingsWidget::ContentPolicy(p));
            QTRY_COMPARE(panel.GetGeneralContent()->isHidden(), p == ZBSettingsWidget::HideBasicOptions);
        }
    }

    // A language replaces the one installed before, or removes it when it installs nothing.
    void translations_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("directory"); // empty: the translations built into the library
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("text"); // a Save button's
        const QString qm = QStringLiteral(ZB_QM_DIR);
        QTest::newRow("Swiss German falls back") << "de_CH" << QString() << true << "Speichern";
        QTest::newRow("French from .qm files") << "fr_CA" << qm << true << "Enregistrer";
        QTest::newRow("no files removes") << "de_DE" << qm + "/none" << false << "Save";
    }

    void translations()
    {
        QFETCH(QString, locale);
        QFETCH(QString, directory);
        QFETCH(QString, text);
        QVERIFY(ZBTranslator::Install(QLocale(text.startsWith("Enr") ? "de_DE" : "fr_FR")));
        QTEST(ZBTranslator::Install(QLocale(locale), directory), "installed");
        ZBMessageBox box;
        QCOMPARE(box.AddButton(ZBMessageBox::Save)->text(), text);
    }

    // Nothing is registered before Install(); then the application's rules and images come first. Last.
    void theme()
    {
        delete new ZBWidget;
        QVERIFY(QImage(QStringLiteral("theme:infoicon.png")).isNull());
        QImage mine(5, 5, QImage::Format_ARGB32);
        mine.fill(Qt::red);
        QVERIFY(mine.save(themeDir.filePath(QStringLiteral("infoicon.png"))));
        ZBTheme::Install(qApp);
        QCOMPARE(QImage(QStringLiteral("theme:infoicon.png")).size(), QSize(5, 5));
        QCOMPARE(QImage(QStringLiteral("theme:warningicon.png")).size(), QSize(96, 96));
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(tst_ZBControls)
#include "tst_zbcontrols.moc"
