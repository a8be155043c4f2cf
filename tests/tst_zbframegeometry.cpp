#include "ZBFrameGeometry_p.h"

#include <QTest>

using namespace ZBFrameGeometry;

class tst_ZBFrameGeometry : public QObject
{
    Q_OBJECT

private slots:
    void regionAt_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("point");
        // Expected region with both sizes free, the width fixed, the height fixed, both fixed.
        QTest::addColumn<QList<int>>("regions");
        // Pixels 100..299 across and 50..199 down.
        auto row = [](const char* name, QPoint p, QList<int> r, QRect f = QRect(100, 50, 200, 150)) {
            QTest::newRow(name) << f << p << r;
        };
        row("left band, outer pixel", {100, 125}, {1, 0, 1, 0});
        row("left band, inner pixel", {104, 125}, {1, 0, 1, 0});
        row("inside the left band", {105, 125}, {0, 0, 0, 0});
        row("right band, outer pixel", {299, 125}, {2, 0, 2, 0});
        row("right band, inner pixel", {295, 125}, {2, 0, 2, 0});
        row("inside the right band", {294, 125}, {0, 0, 0, 0});
        row("bottom band, inner pixel", {200, 195}, {3, 3, 0, 0});
        row("inside the bottom band", {200, 194}, {0, 0, 0, 0});
        row("top band, inner pixel", {200, 54}, {6, 6, 0, 0});
        row("inside the top band", {200, 55}, {0, 0, 0, 0});
        row("outside left", {99, 125}, {0, 0, 0, 0});
        // Where bands meet, the band tested first decides; a fixed band hands over to the squares.
        row("left band meets top band", {104, 54}, {1, 6, 1, 0});
        row("top band, left end", {104, 53}, {6, 6, 1, 0});
        row("left band meets bottom band", {104, 195}, {1, 3, 1, 0});
        row("right band meets top band", {295, 54}, {2, 6, 2, 0});
        // The corner squares decide only where no band holds.
        row("top-left corner pixel", {100, 50}, {7, 6, 1, 0});
        row("top-left inner block", {105, 55}, {7, 6, 1, 0});
        row("right of the top-left square", {109, 58}, {0, 0, 0, 0});
        row("below the top-left square", {108, 59}, {0, 0, 0, 0});
        row("bottom-left corner pixel", {100, 199}, {4, 3, 1, 0});
        row("bottom-right inner block", {291, 191}, {5, 3, 2, 0});
        row("top-right inner block", {291, 58}, {8, 6, 2, 0});
        // In a 12 by 12 window the squares overlap: bottom-left is tested first.
        row("overlapping squares", {5, 5}, {4, 3, 1, 0}, QRect(0, 0, 12, 12));
    }

    void regionAt()
    {
        QFETCH(QRect, frame);
        QFETCH(QPoint, point);
        QFETCH(QList<int>, regions);
        const Bands& b = FrameBands();
        QCOMPARE((QList<int>{RegionAt(frame, point, {}, b), RegionAt(frame, point, Qt::Horizontal, b),
                             RegionAt(frame, point, Qt::Vertical, b),
                             RegionAt(frame, point, Qt::Horizontal | Qt::Vertical, b)}),
                 regions);
    }

    void resizedAndMaximized()
    {
        const QRect f(100, 50, 200, 150); // right 299, bottom 199
        const QSize m(50, 40);
        QCOMPARE(Resized(Right, f, {110, 0}, {2, 0}, m), QRect(100, 50, 50, 150));
        QCOMPARE(Resized(Bottom, f, {0, 60}, {0, 2}, m), QRect(100, 50, 200, 40));
        QCOMPARE(Resized(TopLeft, f, {290, 190}, {-2, -2}, m), QRect(250, 160, 50, 40));
        QCOMPARE(Resized(NoRegion, f, {0, 0}, {0, 0}, m), f);

        const QRect work(800, 30, 1024, 738);
        const MaxInfo primary = MaximizedInfo(work, true, QSize(120, 80));
        QVERIFY(primary.maxPosition == work.topLeft() && primary.minTrackSize == QSize(120, 80));
        QVERIFY(primary.maxSize == work.size() && primary.maxTrackSize == work.size());
        QCOMPARE(MaximizedInfo(work, false, QSize(120, 80)).maxPosition, QPoint(0, 0));
        QCOMPARE(MaximizedGeometry(work, QSize(120, 80)), work);
        QCOMPARE(MaximizedGeometry(work, QSize(1100, 80)), QRect(800, 30, 1100, 738));
    }
};

QTEST_APPLESS_MAIN(tst_ZBFrameGeometry)
#include "tst_zbframegeometry.moc"
