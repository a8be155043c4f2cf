#include "ZBPopupInfo.h"
#include "ZBPopupInfo_p.h"
#include "testutil.h"

#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <memory>

namespace {

QList<ZBPopupInfo*> popups()
{
    QList<ZBPopupInfo*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<ZBPopupInfo*>(w))
            found << popup;
    }
    return found;
}

std::unique_ptr<QWidget> shownWindow(const QRect& geometry)
{
    std::unique_ptr<QWidget> window(new QWidget(nullptr, Qt::FramelessWindowHint));
    window->setGeometry(geometry);
    window->show();
    return window;
}

} // namespace

class tst_ZBPopupInfo : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void placement_data()
    {
        QTest::addColumn<bool>("inArea");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QPoint>("topLeft");
        // A 200 by 50 popup with its named point on (500, 400), or kept inside (100, 100) to (499, 399).
        QTest::newRow("point: none") << false << 0 << QPoint(500, 400);
        QTest::newRow("point: right|bottom")
            << false << int(Qt::AlignRight | Qt::AlignBottom) << QPoint(300, 350);
        QTest::newRow("point: hcenter|top centres both ways")
            << false << int(Qt::AlignHCenter | Qt::AlignTop) << QPoint(400, 375);
        QTest::newRow("point: left|vcenter")
            << false << int(Qt::AlignLeft | Qt::AlignVCenter) << QPoint(500, 375);
        QTest::newRow("area: none") << true << 0 << QPoint(100, 100);
        QTest::newRow("area: right|bottom")
            << true << int(Qt::AlignRight | Qt::AlignBottom) << QPoint(299, 349);
        QTest::newRow("area: hcenter centres both ways") << true << int(Qt::AlignHCenter) << QPoint(199, 224);
        QTest::newRow("area: top wins over hcenter")
            << true << int(Qt::AlignHCenter | Qt::AlignTop) << QPoint(199, 100);
        QTest::newRow("area: left wins over right")
            << true << int(Qt::AlignLeft | Qt::AlignRight | Qt::AlignBottom) << QPoint(100, 349);
    }

    void placement()
    {
        QFETCH(bool, inArea);
        QFETCH(int, alignment);
        QFETCH(QPoint, topLeft);
        const QSize size(200, 50);
        QCOMPARE(inArea ? ZBPopupPlacement::InArea(alignment, QRect(100, 100, 400, 300), size)
                        : ZBPopupPlacement::AtPoint(alignment, QPoint(500, 400), size),
                 topLeft);
    }

    void showTextPopup()
    {
        QPixmap picture(24, 24);
        picture.fill(Qt::red);
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Saved"), picture, Qt::AlignRight | Qt::AlignBottom,
                                   QPoint(500, 400), nullptr, 60000, 0, 0);
        ZBPopupInfo::ShowTextPopup(QString(), QPixmap(), Qt::AlignRight | Qt::AlignBottom, nullptr, 60000, 0,
                                   0);
        QList<ZBPopupInfo*> both = popups();
        QCOMPARE(both.size(), 2);
        if (both.first()->Content()->findChildren<QLabel*>().isEmpty())
            both.swapItemsAt(0, 1);
        // At a point: its lower right corner there, a label for the picture and one for the text.
        QCOMPARE(both.first()->frameGeometry().bottomRight(), QPoint(499, 399));
        QCOMPARE(both.first()->Content()->findChildren<QLabel*>().size(), 2);
        QVERIFY(both.first()->isVisible());
        // Without a parent, in the screen's work area; no text and no picture, no labels.
        const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(both.last()->frameGeometry().bottomRight(), desk.bottomRight() - QPoint(1, 1));
        QVERIFY(both.last()->Content()->findChildren<QLabel*>().isEmpty());
        qDeleteAll(both);

        // Inside a parent widget, in global coordinates.
        std::unique_ptr<QWidget> window = shownWindow(QRect(desk.x() + 50, desk.y() + 60, 400, 300));
        auto* inner = new QWidget(window.get());
        inner->setGeometry(50, 40, 300, 200);
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Inside"), QPixmap(), Qt::AlignRight | Qt::AlignBottom,
                                   inner, 60000, 0, 0);
        QCOMPARE(popups().size(), 1);
        QCOMPARE(popups().first()->frameGeometry().bottomRight(), desk.topLeft() + QPoint(398, 298));
    }

    void lifetime()
    {
        // Two at once, each ending by itself; the display time starts once the fade-in is complete.
        ZBPopupInfo::ShowTextPopup(QStringLiteral("One"), QPixmap(), 0, QPoint(0, 0), nullptr, 0, 200, 80);
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Two"), QPixmap(), 0, QPoint(0, 100), nullptr, 0, 200, 80);
        QPointer<ZBPopupInfo> one = popups().value(0), two = popups().value(1);
        QVERIFY(one && two);
        QList<int> states;
        double opacityWhenClosing = -1.0;
        connect(one.data(), &ZBWidget::FadeStateChanged, [&](int state) {
            states << state;
            if (state == 4)
                opacityWhenClosing = one->windowOpacity();
        });
        QTRY_VERIFY(one.isNull() && two.isNull());
        QCOMPARE(states.mid(0, 3), (QList<int>{2, 4, 0}));
        QVERIFY(qAbs(opacityWhenClosing - 1.0) < 0.01);

        // Built by hand: stays for a few seconds unless told otherwise; closes without deleting itself.
        ZBPopupInfo lasting, brief;
        brief.SetFullIntensifyTime(-5);
        lasting.show();
        brief.show();
        QTRY_VERIFY(!brief.isVisible());
        QVERIFY(lasting.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!lasting.isVisible(), 10000);
    }

    void vanishesWithItsParent()
    {
        std::unique_ptr<QWidget> window = shownWindow(QRect(100, 100, 300, 200));
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Hello"), QPixmap(), Qt::AlignCenter, window.get(), 60000,
                                   0, 0);
        QPointer<ZBPopupInfo> popup = popups().value(0);
        QTRY_VERIFY(popup->windowOpacity() > 0.99);
        window->hide();
        QVERIFY(!popup->isVisible());
        QCOMPARE(popup->windowOpacity(), 0.0);
        window->show(); // does not bring it back
        QVERIFY(!popup->isVisible());
        window.reset();
        QVERIFY(popup.isNull());

        // Hidden before the popup became visible: it closes and goes.
        window = shownWindow(QRect(100, 100, 300, 200));
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Early"), QPixmap(), 0, window.get(), 60000, 400, 0);
        popup = popups().value(0);
        window->hide();
        QTRY_VERIFY(popup.isNull());
    }
};

QTEST_MAIN(tst_ZBPopupInfo)
#include "tst_zbpopupinfo.moc"
