#include "ZBFooterBar.h"
#include "testutil.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTest>

class tst_ZBFooterBar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void contentFillsTheBarAndStaysTheSame()
    {
        QWidget parent;
        auto* bar = new ZBFooterBar(&parent);
        QWidget* content = bar->Content();
        QCOMPARE(bar->findChildren<QWidget*>(), QList<QWidget*>{content});
        QCOMPARE(content->objectName(), QStringLiteral("ZBFOOTERBARCONTENT"));
        (new QHBoxLayout(content))->addWidget(new QLabel(QStringLiteral("status")));
        bar->resize(200, 30);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QCOMPARE(bar->Content(), content);
        QCOMPARE(content->geometry(), bar->rect());
    }
};

QTEST_MAIN(tst_ZBFooterBar)
#include "tst_zbfooterbar.moc"
