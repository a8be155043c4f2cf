#include "ZBTheme.h"
#include "ZBTitleBar.h"
#include "ZBWidget.h"
#include "testutil.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const QStringList MessageImages = {QStringLiteral("criticalicon.png"), QStringLiteral("infoicon.png"),
                                   QStringLiteral("warningicon.png"), QStringLiteral("questionicon.png")};
const QStringList ButtonImages = {QStringLiteral("close.png"), QStringLiteral("minimize.png"),
                                  QStringLiteral("maximize.png"), QStringLiteral("restore.png")};

QImage themeImage(const QString& name)
{
    return QImage(QStringLiteral("theme:") + name).convertToFormat(QImage::Format_ARGB32);
}

bool hasPixel(const QImage& image, const std::function<bool(QRgb)>& test)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(image.pixel(x, y)))
                return true;
    return false;
}

bool isWhite(QRgb p)
{
    return qAlpha(p) > 200 && qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) > 230;
}

bool transparentCorners(const QImage& image)
{
    const int r = image.width() - 1, b = image.height() - 1;
    return qAlpha(image.pixel(0, 0)) == 0 && qAlpha(image.pixel(r, 0)) == 0 &&
           qAlpha(image.pixel(0, b)) == 0 && qAlpha(image.pixel(r, b)) == 0;
}

// The lowest opaque row of column x, or -1.
int lowestOpaqueRow(const QImage& image, int x)
{
    for (int y = image.height() - 1; y >= 0; --y)
        if (qAlpha(image.pixel(x, y)) > 128)
            return y;
    return -1;
}

QRgb pixelAtCentre(QWidget* widget)
{
    const QImage shot = widget->grab().toImage();
    return shot.pixel(shot.width() / 2, shot.height() / 2);
}

bool sameColour(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 2 && qAbs(qGreen(a) - qGreen(b)) <= 2 && qAbs(qBlue(a) - qBlue(b)) <= 2;
}

} // namespace

class tst_ZBTheme : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qApp->setStyleSheet(QString());
        TestUtil::CheckNoLeftoverWindows();
    }

    // Runs first: nothing may be registered before Install().
    void imagesLoadThroughPrefixAfterInstall()
    {
        {
            ZBWidget window;
            QVERIFY(QImage(QStringLiteral("theme:infoicon.png")).isNull());
        }
        ZBTheme::Install();

        for (const QString& name : MessageImages) {
            const QImage image = themeImage(name);
            QVERIFY2(!image.isNull(), qPrintable(name));
            QCOMPARE(image.size(), QSize(96, 96));
            QVERIFY2(transparentCorners(image), qPrintable(name));
            QVERIFY2(hasPixel(image, isWhite), qPrintable(name)); // the glyph
            QVERIFY2(hasPixel(image, [](QRgb p) { return qAlpha(p) == 255 && !isWhite(p); }),
                     qPrintable(name));
        }
        for (const QString& name : ButtonImages) {
            const QImage image = themeImage(name);
            QVERIFY2(!image.isNull(), qPrintable(name));
            QVERIFY2(transparentCorners(image), qPrintable(name));
            QVERIFY2(hasPixel(image, isWhite), qPrintable(name));
        }

        // Each arrow points the way its name says: the middle column reaches further than the sides.
        const QImage down = themeImage(QStringLiteral("arrow-down.png"));
        const QImage up = themeImage(QStringLiteral("arrow-up.png"));
        QVERIFY(!down.isNull() && !up.isNull());
        const int mid = down.width() / 2, side = down.width() / 4;
        QVERIFY(lowestOpaqueRow(down, mid) > lowestOpaqueRow(down, side));
        QVERIFY(lowestOpaqueRow(up, mid) < lowestOpaqueRow(up, side));
    }

    void installAgainChangesNothing()
    {
        ZBTheme::Install(qApp);
        const QString sheet = qApp->styleSheet();
        const QStringList paths = QDir::searchPaths(QStringLiteral("theme"));
        QVERIFY(sheet.startsWith(ZBTheme::StyleSheet()));

        ZBTheme::Install();
        QCOMPARE(qApp->styleSheet(), sheet);
        QCOMPARE(QDir::searchPaths(QStringLiteral("theme")), paths);
    }

    void applicationChoicesComeFirst()
    {
        // The application's own rules follow the theme's, so they win where both set the same thing.
        const QString own = QStringLiteral("QLabel { color: #123456; }");
        qApp->setStyleSheet(own);
        ZBTheme::Install();
        QCOMPARE(qApp->styleSheet(), ZBTheme::StyleSheet() + QLatin1Char('\n') + own);

        // Images the application registered for "theme:" earlier are found before the theme's.
        const QStringList saved = QDir::searchPaths(QStringLiteral("theme"));
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QImage mine(5, 5, QImage::Format_ARGB32);
        mine.fill(Qt::red);
        QVERIFY(mine.save(dir.filePath(QStringLiteral("infoicon.png"))));
        QDir::setSearchPaths(QStringLiteral("theme"), {dir.path()});
        ZBTheme::Install();
        const QSize infoSize = QImage(QStringLiteral("theme:infoicon.png")).size();
        const QSize warningSize = QImage(QStringLiteral("theme:warningicon.png")).size();
        QDir::setSearchPaths(QStringLiteral("theme"), saved);
        QCOMPARE(infoSize, QSize(5, 5));
        QCOMPARE(warningSize, QSize(96, 96));
    }

    void styleSheetJoinsEveryFragmentInNameOrder()
    {
        QDir source(QStringLiteral(ZB_THEME_QSS_DIR));
        QStringList names = source.entryList({QStringLiteral("*.qss")}, QDir::Files);
        std::sort(names.begin(), names.end());
        QVERIFY(!names.isEmpty());

        const QString sheet = ZBTheme::StyleSheet();
        int from = 0;
        for (const QString& name : names) {
            QFile file(source.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
            const QString fragment = QString::fromUtf8(file.readAll());
            const int at = sheet.indexOf(fragment, from);
            QVERIFY2(at >= 0, qPrintable(name + QStringLiteral(" missing or out of order")));
            from = at + fragment.size();
        }
    }

    void frameTakesTheThemeColours()
    {
        ZBTheme::Install();
        ZBWidget window;
        window.resize(320, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        auto* title = window.findChild<QWidget*>(QStringLiteral("TITLECONTENT"));
        auto* content = window.findChild<QWidget*>(QStringLiteral("ZBWIDGETCONTENT"));
        auto* close = window.findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"));
        QVERIFY(title && content && close);
        const QImage bar = title->grab().toImage();
        QVERIFY(sameColour(bar.pixel(bar.width() / 2, 2), qRgb(0x2b, 0x3a, 0x55)));
        QVERIFY(sameColour(pixelAtCentre(content), qRgb(0xf5, 0xf6, 0xf8)));
        // The close glyph comes through a "theme:" url in the style sheet.
        QVERIFY(hasPixel(close->grab().toImage(), isWhite));
    }
};

QTEST_MAIN(tst_ZBTheme)
#include "tst_zbtheme.moc"
