// The optional default theme: its images, its style sheet and how it is installed.
#include "ZBTheme.h"
#include "ZBWidget.h"
#include "testutil.h"

#include <QDir>
#include <QTemporaryDir>

class tst_ZBTheme : public QObject
{
    Q_OBJECT

private slots:
    // Nothing is registered before Install(); the application's rules and images come first after it.
    void install()
    {
        delete new ZBWidget;
        QVERIFY(QImage(QStringLiteral("theme:infoicon.png")).isNull());
        const QString own = QStringLiteral("QLabel { color: #123456; }");
        qApp->setStyleSheet(own);
        ZBTheme::Install(qApp);
        const QStringList saved = QDir::searchPaths(QStringLiteral("theme"));
        ZBTheme::Install(); // again: changes nothing
        QVERIFY(qApp->styleSheet() == ZBTheme::StyleSheet() + QLatin1Char('\n') + own &&
                QDir::searchPaths(QStringLiteral("theme")) == saved);
        QTemporaryDir dir;
        QImage mine(5, 5, QImage::Format_ARGB32);
        mine.fill(Qt::red);
        QVERIFY(mine.save(dir.filePath(QStringLiteral("infoicon.png"))));
        QDir::setSearchPaths(QStringLiteral("theme"), {dir.path()});
        ZBTheme::Install();
        QCOMPARE(QImage(QStringLiteral("theme:infoicon.png")).size(), QSize(5, 5));
        QCOMPARE(QImage(QStringLiteral("theme:warningicon.png")).size(), QSize(96, 96));
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(tst_ZBTheme)
#include "tst_zbtheme.moc"
