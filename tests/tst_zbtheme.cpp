// The theme's variants, accent and colour roles; pictures on screens of device pixel ratio 2 and 1.
#include "ZBMessageBox.h"
#include "ZBTheme.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QDir>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QWindow>
#include <cmath>

using namespace TestUtil;

namespace {

qreal contrast(const QColor& a, const QColor& b) // WCAG 2
{
    const auto lum = [](const QColor& c) {
        const auto ch = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
    };
    return (qMax(lum(a), lum(b)) + 0.05) / (qMin(lum(a), lum(b)) + 0.05);
}

bool chevronIsDark() // the most opaque pixel of the image the variant registered
{
    const QImage image(QStringLiteral("theme:arrow-down.png"));
    QColor strongest(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() > strongest.alpha())
                strongest = image.pixelColor(x, y);
    return strongest.lightness() < 128;
}

} // namespace

class tst_ZBTheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(QApplication::style()->standardPalette());
        qApp->setStyleSheet(QStringLiteral("QLabel { margin: 1px; }"));
        ZBTheme::Install();
        ZBTheme::SetApplicationStyleSheet(QStringLiteral("QLabel { color: @text; }"));
    }
    void cleanup() { CheckNoLeftoverWindows(); }

    // Whatever the accent, the fragments hold roles only, every role is filled, and selections, links
    // and texts stay readable in both variants.
    void accentStaysReadable_data()
    {
        QTest::addColumn<QColor>("accent");
        for (const char* name : {"#3d7eff", "#ffff00", "#ffffff", "#000000", "#808080", "#ff00ff", "#0000ff"})
            QTest::newRow(name) << QColor(QLatin1String(name));
    }
    void accentStaysReadable()
    {
        QFETCH(QColor, accent);
        const QDir folder(QStringLiteral(":/zebguicore/theme/qss"));
        for (const QString& name : folder.entryList(QDir::Files)) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(!QString::fromUtf8(file.readAll()).contains(QRegularExpression("#[0-9a-fA-F]{3}|rgb")),
                     qPrintable(name));
        }
        ZBTheme::SetAccentColor(accent);
        QCOMPARE(ZBTheme::GetAccentColor(), accent);
        for (const ZBTheme::Variant variant : {ZBTheme::Light, ZBTheme::Dark}) {
            ZBTheme::SetVariant(variant);
            QCOMPARE(ZBTheme::GetEffectiveVariant(), variant);
            QVERIFY(!qApp->styleSheet().contains(QRegularExpression(QStringLiteral("@[a-z]"))));
            QVERIFY(qApp->styleSheet().startsWith(ZBTheme::StyleSheet())); // the theme's, the application's
            QVERIFY(qApp->styleSheet().endsWith(QStringLiteral("\nQLabel { margin: 1px; }")));
            const QPalette p = QApplication::palette();
            QCOMPARE(p.color(QPalette::Window).lightness() < p.color(QPalette::Text).lightness(),
                     variant == ZBTheme::Dark);
            for (const auto& [text, back] :
                 {std::pair(QPalette::HighlightedText, QPalette::Highlight),
                  std::pair(QPalette::Link, QPalette::Window), std::pair(QPalette::Link, QPalette::Base)})
                QVERIFY2(contrast(p.color(text), p.color(back)) >= 4.5, qPrintable(QString::number(text)));
        }
        ZBTheme::SetVariant(ZBTheme::System);
        ZBTheme::SetAccentColor(QColor());
        QCOMPARE(ZBTheme::GetAccentColor(), QApplication::palette().color(QPalette::Highlight));
    }

    // System follows the application's palette as it changes; a chosen variant brings its own palette
    // and gives back the application's, even one set in the meantime.
    void variantsFollowAndRestorePalettes()
    {
        const QPalette light = QApplication::palette();
        QCOMPARE(ZBTheme::GetEffectiveVariant(), ZBTheme::Light);
        QVERIFY(chevronIsDark());
        ZBTheme::SetVariant(ZBTheme::Variant(7));
        QCOMPARE(ZBTheme::GetVariant(), ZBTheme::System);

        QApplication::setPalette(QPalette(QColor(0x40, 0x40, 0x40), QColor(0x30, 0x30, 0x30))); // white text
        QCOMPARE(ZBTheme::GetEffectiveVariant(), ZBTheme::Dark);
        QTRY_VERIFY(!chevronIsDark());
        QLabel label(QStringLiteral("text"));
        label.ensurePolished(); // the application's rule, filled for the dark variant
        QVERIFY(label.palette().color(QPalette::WindowText).lightness() > 200);

        ZBTheme::SetVariant(ZBTheme::Light);
        QPalette own = light;
        own.setColor(QPalette::Highlight, Qt::darkGreen);
        QApplication::setPalette(own); // the application's, while the theme's is in place
        QTRY_VERIFY(QApplication::palette() != own);
        ZBTheme::SetVariant(ZBTheme::System);
        QCOMPARE(QApplication::palette(), own);
        QCOMPARE(ZBTheme::GetAccentColor(), QColor(Qt::darkGreen));
        QApplication::setPalette(light);
        QTRY_VERIFY(chevronIsDark());
    }

    // The message box's and the title bar's pictures are built for the screen the window stands on,
    // and anew on each screen of another density it moves to.
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
            const QPixmap icon = Named<QLabel>(&box, "ZBMESSBOXICONLABEL")->pixmap(Qt::ReturnByValue);
            QCOMPARE(icon.devicePixelRatio(), ratio);
            QCOMPARE(icon.size(), QSize(48, 48) * ratio); // from the file's own pixels
            QCOMPARE(box.TitleBar()->findChild<QLabel*>()->pixmap(Qt::ReturnByValue).devicePixelRatio(),
                     ratio);
        }
    }
};

// CTest runs this on offscreen screens of device pixel ratios 2 and 1 (tst_zbtheme_screen.json, Qt 6).
QTEST_MAIN(tst_ZBTheme)
#include "tst_zbtheme.moc"
