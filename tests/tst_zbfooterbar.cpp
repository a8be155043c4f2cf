#include "ZBFooterBar.h"
#include "testutil.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QTest>

class tst_ZBFooterBar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void structure()
    {
        QWidget parent;
        auto* bar = new ZBFooterBar(&parent);
        const auto children = bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(children.size(), 1);
        QCOMPARE(children.first()->objectName(), QStringLiteral("ZBFOOTERBARCONTENT"));
        QCOMPARE(bar->Content(), children.first());
        QVERIFY(bar->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(bar->layout());
        QCOMPARE(bar->layout()->spacing(), 0);
        QCOMPARE(bar->layout()->contentsMargins(), QMargins());
        QVERIFY(!bar->Content()->layout());
    }

    void contentFillsTheBarAndStaysTheSame()
    {
        QWidget parent;
        auto* bar = new ZBFooterBar(&parent);
        QWidget* content = bar->Content();
        auto* layout = new QHBoxLayout(content);
        layout->addWidget(new QLabel(QStringLiteral("status")));
        bar->resize(200, 30);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QCOMPARE(bar->Content(), content);
        QCOMPARE(content->geometry(), bar->rect());
    }

    void contentDiesWithTheBar()
    {
        auto* bar = new ZBFooterBar(nullptr);
        QPointer<QWidget> content = bar->Content();
        delete bar;
        QVERIFY(content.isNull());
    }
};

QTEST_MAIN(tst_ZBFooterBar)
#include "tst_zbfooterbar.moc"
