#include "ZBResource.h"

#include <QTest>

class tst_ZBResource : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ZBResource::SetData(ZBResource::TitleBarMargins, QVariant());
        ZBResource::SetData(ZBResource::MainContentMargins, QVariant());
    }

    void defaultsAreMarginRects()
    {
        const QVariant title = ZBResource::GetData(ZBResource::TitleBarMargins);
        const QVariant content = ZBResource::GetData(ZBResource::MainContentMargins);
        QVERIFY(title.canConvert<QRect>());
        QVERIFY(content.canConvert<QRect>());
        // The resize band: 5 pixels left, right and bottom, none at the top.
        const QRect m = content.toRect();
        QCOMPARE(m.left(), 5);
        QCOMPARE(m.top(), 0);
        QCOMPARE(m.right(), 5);
        QCOMPARE(m.bottom(), 5);
    }

    void marginsRectUsesInclusiveCorners()
    {
        // x 2, y 3, width 5, height 6 reads as margins 2, 3, 6, 8.
        QCOMPARE(ZBResource::MarginsRect(2, 3, 6, 8), QRect(2, 3, 5, 6));
        const QRect zero = ZBResource::MarginsRect(0, 0, 0, 0);
        QCOMPARE(zero.left() + zero.top() + zero.right() + zero.bottom(), 0);
    }

    void setDataOverridesAndInvalidRestores()
    {
        const QRect before = ZBResource::GetData(ZBResource::TitleBarMargins).toRect();
        ZBResource::SetData(ZBResource::TitleBarMargins, QRect(1, 2, 3, 4));
        QCOMPARE(ZBResource::GetData(ZBResource::TitleBarMargins).toRect(), QRect(1, 2, 3, 4));
        QCOMPARE(ZBResource::GetData(ZBResource::MainContentMargins).toRect(), QRect(5, 0, 1, 6));
        ZBResource::SetData(ZBResource::TitleBarMargins, QVariant());
        QCOMPARE(ZBResource::GetData(ZBResource::TitleBarMargins).toRect(), before);
    }

    void unknownRoleIsInvalid()
    {
        QVERIFY(!ZBResource::GetData(static_cast<ZBResource::ConstRole>(7)).isValid());
    }
};

QTEST_GUILESS_MAIN(tst_ZBResource)
#include "tst_zbresource.moc"
