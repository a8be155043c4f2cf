// The theme's variants, accent and colour roles; pictures on screens of device pixel ratio 2 and 1.
#include "ZBMessageBox.h"
#include "ZBTheme.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QDir>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <cmath>

static qreal contrast(const QColor& a, const QColor& b) // WCAG 2
{
    const auto ch = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const auto lum = [&](const QColor& c) {
        return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
    };
    return (qMax(lum(a), lum(b)) + 0.05) / (qMin(lum(a), lum(b)) + 0.05);
}

class tst_ZBTheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(QApplication::style()->standardPalette());
        qApp->setStyleSheet(QStringLiteral("QLabel { margin: 1px; }"));
        ZBTheme::Install();
        ZBTheme::SetApplicationStyleSheet(QStringLiteral("QLabel { color: @text; }"));
    }
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    // The fragments hold roles only; for any accent all are filled and texts readable in both variants.
    void accentStaysReadable()
    {
        for (const QString& name : QDir(QStringLiteral(":/zebguicore/theme/qss")).entryList(QDir::Files)) {
            QFile file(QStringLiteral(":/zebguicore/theme/qss/") + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(!QString::fromUtf8(file.readAll()).contains(QRegularExpression("#[0-9a-fA-F]{3}|rgb")),
                     qPrintable(name));
        }
        for (auto name : {"#3d7eff", "#ffff00", "#ffffff", "#000000", "#808080", "#ff00ff", "#0000ff"}) {
            ZBTheme::SetAccentColor(QColor(QLatin1String(name)));
            for (const ZBTheme::Variant variant : {ZBTheme::Light, ZBTheme::Dark}) {
                ZBTheme::SetVariant(variant);
                QVERIFY(!qApp->styleSheet().contains(QRegularExpression(QStringLiteral("@[a-z]"))));
                QVERIFY(qApp->styleSheet().startsWith(ZBTheme::StyleSheet()));
                QVERIFY(qApp->styleSheet().endsWith(QStringLiteral("\nQLabel { margin: 1px; }")));
                const QPalette p = QApplication::palette();
                QCOMPARE(p.color(QPalette::Window).lightness() < p.color(QPalette::Text).lightness(),
                         variant == ZBTheme::Dark);
                for (const auto& [text, back] :
                     {std::pair(QPalette::HighlightedText, QPalette::Highlight),
                      std::pair(QPalette::Link, QPalette::Window), std::pair(QPalette::Link, QPalette::Base)})
                    QVERIFY2(contrast(p.color(text), p.color(back)) >= 4.5, name);
            }
        }
        ZBTheme::SetVariant(ZBTheme::System);
        ZBTheme::SetAccentColor(QColor());
        QCOMPARE(ZBTheme::GetAccentColor(), QApplication::palette().color(QPalette::Highlight));
    }

    // System follows the application's palette; a chosen variant brings its own and gives back the last one.
    void variantsFollowAndRestorePalettes()
    {
        const auto look = [] { // the effective variant; whether its chevron is dark (on average)
            const QImage chevron = QImage(QStringLiteral("theme:arrow-down.png"))
                                       .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            return std::make_pair(ZBTheme::GetEffectiveVariant(), chevron.pixelColor(0, 0).lightness() < 128);
        };
        QApplication::setPalette(QPalette(QColor(0x40, 0x40, 0x40), QColor(0x30, 0x30, 0x30))); // white text
        QTRY_COMPARE(look(), std::make_pair(ZBTheme::Dark, false));
        QLabel label(QStringLiteral("text"));
        label.ensurePolished(); // the application's rule, filled for the dark variant
        QVERIFY(label.palette().color(QPalette::WindowText).lightness() > 200);

        ZBTheme::SetVariant(ZBTheme::Light);
        QPalette own = QApplication::style()->standardPalette(); // the light one all tests start with
        QApplication::setPalette(own); // the application's, while the theme's is in place
        QTRY_VERIFY(QApplication::palette() != own);
        ZBTheme::SetVariant(ZBTheme::System);
        QCOMPARE(QApplication::palette(), own);
        QApplication::setPalette(QApplication::style()->standardPalette());
        QTRY_COMPARE(look(), std::make_pair(ZBTheme::Light, true));
    }

    // The message box's and the title bar's pictures are built anew for each screen density the box meets.
    void picturesFollowTheScreen()
    {
        if (QGuiApplication::screens().size() != 2)
            QSKIP("needs Qt 6's offscreen platform with configured screens");
        ZBMessageBox box;
        box.SetIcon(ZBMessageBox::WarningIcon);
        box.TitleBar()->SetIcon(QIcon(QStringLiteral("theme:infoicon.png")));
        box.show();
        for (QScreen* screen : {QGuiApplication::screens().at(1), QGuiApplication::screens().at(0)}) {
            const qreal ratio = screen->devicePixelRatio();
            box.windowHandle()->setScreen(screen);
            const auto icon = TestUtil::Named<QLabel>(&box, "ZBMESSBOXICONLABEL")->pixmap(Qt::ReturnByValue);
            const QPixmap title = box.TitleBar()->findChild<QLabel*>()->pixmap(Qt::ReturnByValue);
            QCOMPARE(std::make_tuple(icon.devicePixelRatio(), icon.size(), title.devicePixelRatio()),
                     std::make_tuple(ratio, QSize(48, 48) * ratio, ratio)); // the icon from the file's pixels
        }
    }
};

// CTest runs this on offscreen screens of device pixel ratios 2 and 1 (tst_zbtheme_screen.json, Qt 6).
QTEST_MAIN(tst_ZBTheme)
#include "tst_zbtheme.moc"
