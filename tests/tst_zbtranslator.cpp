#include "ZBMessageBox.h"
#include "ZBTranslator.h"
#include "ZBWidget.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

class tst_ZBTranslator : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(!ZBTranslator::Install(QLocale::c())); }

    void textsFollowTheInstalledLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("save");
        QTest::addColumn<QString>("close");
        const QString builtIn;
        const QString built = QStringLiteral(ZB_QM_DIR);
        QTest::newRow("German") << "de_DE" << builtIn << true << "Speichern"
                                << "Schließen";
        QTest::newRow("Swiss German falls back") << "de_CH" << builtIn << true << "Speichern"
                                                 << "Schließen";
        QTest::newRow("French") << "fr_FR" << builtIn << true << "Enregistrer"
                                << "Fermer";
        QTest::newRow("French from .qm files") << "fr_CA" << built << true << "Enregistrer"
                                               << "Fermer";
        QTest::newRow("English removes") << "en_US" << builtIn << false << "Save"
                                         << "Close";
        QTest::newRow("no files removes") << "de_DE" << built + "/none" << false << "Save"
                                          << "Close";
    }

    void textsFollowTheInstalledLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, directory);
        QFETCH(bool, installed);
        QFETCH(QString, save);
        QFETCH(QString, close);
        // Another language first: the call must replace it, or remove it when it installs nothing.
        QVERIFY(ZBTranslator::Install(QLocale(save == "Enregistrer" ? "de_DE" : "fr_FR")));
        QCOMPARE(ZBTranslator::Install(QLocale(locale), directory), installed);

        ZBMessageBox box;
        QCOMPARE(box.AddButton(ZBMessageBox::Save)->text(), save);
        ZBWidget window;
        QCOMPARE(window.findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"))->toolTip(), close);
    }
};

QTEST_MAIN(tst_ZBTranslator)
#include "tst_zbtranslator.moc"
