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

// The lowest opaque row of column x, or -1.
int lowestOpaqueRow(const QImage& image, int x)
{
    for (int y = image.height() - 1; y >= 0; --y)
        if (qAlpha(image.pixel(x, y)) > 128)
            return y;
    return -1;
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

        // White glyphs on a transparent ground; the message icons, 96 by 96, on an opaque disc.
        const QStringList messages{"criticalicon.png", "infoicon.png", "warningicon.png", "questionicon.png"};
        for (const QString& name :
             messages + QStringList{"close.png", "minimize.png", "maximize.png", "restore.png"}) {
            const QImage image = themeImage(name);
            QVERIFY2(!image.isNull() && qAlpha(image.pixel(0, 0)) == 0 && hasPixel(image, isWhite),
                     qPrintable(name));
            QVERIFY2(!messages.contains(name) ||
                         (image.size() == QSize(96, 96) &&
                          hasPixel(image, [](QRgb p) { return qAlpha(p) == 255 && !isWhite(p); })),
                     qPrintable(name));
        }

        // Each arrow points the way its name says: the middle column reaches further than the sides.
        const QImage down = themeImage(QStringLiteral("arrow-down.png"));
        const QImage up = themeImage(QStringLiteral("arrow-up.png"));
        QVERIFY(!down.isNull() && !up.isNull());
        const int mid = down.width() / 2, side = down.width() / 4;
        QVERIFY(lowestOpaqueRow(down, mid) > lowestOpaqueRow(down, side));
        QVERIFY(lowestOpaqueRow(up, mid) < lowestOpaqueRow(up, side));
    }

    void applicationChoicesComeFirst()
    {
        // The application's own rules follow the theme's, so they win where both set the same thing.
        const QString own = QStringLiteral("QLabel { color: #123456; }");
        qApp->setStyleSheet(own);
        ZBTheme::Install(qApp);
        const QString sheet = qApp->styleSheet();
        QCOMPARE(sheet, ZBTheme::StyleSheet() + QLatin1Char('\n') + own);
        const QStringList saved = QDir::searchPaths(QStringLiteral("theme"));
        ZBTheme::Install(); // again: changes nothing
        QCOMPARE(qApp->styleSheet(), sheet);
        QCOMPARE(QDir::searchPaths(QStringLiteral("theme")), saved);

        // Images the application registered for "theme:" earlier are found before the theme's.
        QTemporaryDir dir;
        QImage mine(5, 5, QImage::Format_ARGB32);
        mine.fill(Qt::red);
        QVERIFY(mine.save(dir.filePath(QStringLiteral("infoicon.png"))));
        QDir::setSearchPaths(QStringLiteral("theme"), {dir.path()});
        ZBTheme::Install();
        const QSize infoSize = QImage(QStringLiteral("theme:infoicon.png")).size();
        const QSize warningSize = QImage(QStringLiteral("theme:warningicon.png")).size();
        QDir::setSearchPaths(QStringLiteral("theme"), saved);
        QVERIFY(infoSize == QSize(5, 5) && warningSize == QSize(96, 96));
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
        const QImage bar = window.findChild<QWidget*>(QStringLiteral("TITLECONTENT"))->grab().toImage();
        QVERIFY(sameColour(bar.pixel(bar.width() / 2, 2), qRgb(0x2b, 0x3a, 0x55)));
        const QImage content =
            window.findChild<QWidget*>(QStringLiteral("ZBWIDGETCONTENT"))->grab().toImage();
        QVERIFY(sameColour(content.pixel(content.width() / 2, content.height() / 2), qRgb(0xf5, 0xf6, 0xf8)));
        // The close glyph comes through a "theme:" url in the style sheet.
        QVERIFY(hasPixel(window.findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->grab().toImage(),
                         isWhite));
    }
};

QTEST_MAIN(tst_ZBTheme)
#include "tst_zbtheme.moc"
