#include "ZBResource.h"

#include <QTest>

class tst_ZBResource : public QObject
{
    Q_OBJECT

private slots:
    void marginsRectUsesInclusiveCorners()
    {
        // x 2, y 3, width 5, height 6 reads as margins 2, 3, 6, 8.
        QCOMPARE(ZBResource::MarginsRect(2, 3, 6, 8), QRect(2, 3, 5, 6));
    }

    void overridesFallBackToTheDefaults()
    {
        // The resize band: 5 pixels left, right and bottom, none at the top.
        const QRect content(QPoint(5, 0), QPoint(5, 5));
        QCOMPARE(ZBResource::GetData(ZBResource::MainContentMargins).toRect(), content);
        const QVariant title = ZBResource::GetData(ZBResource::TitleBarMargins);
        QVERIFY(title.canConvert<QRect>());
        ZBResource::SetData(ZBResource::TitleBarMargins, QRect(1, 2, 3, 4));
        QCOMPARE(ZBResource::GetData(ZBResource::TitleBarMargins).toRect(), QRect(1, 2, 3, 4));
        QCOMPARE(ZBResource::GetData(ZBResource::MainContentMargins).toRect(), content);
        ZBResource::SetData(ZBResource::TitleBarMargins, QVariant());
        QCOMPARE(ZBResource::GetData(ZBResource::TitleBarMargins), title);
        QVERIFY(!ZBResource::GetData(static_cast<ZBResource::ConstRole>(7)).isValid());
    }
};

QTEST_GUILESS_MAIN(tst_ZBResource)
#include "tst_zbresource.moc"
