#include "ZBPopupInfo.h"
#include "ZBPopupInfo_p.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTest>
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

// The popup made by the last ShowTextPopup() call, the only one alive.
ZBPopupInfo* thePopup()
{
    const QList<ZBPopupInfo*> found = popups();
    return found.size() == 1 ? found.first() : nullptr;
}

QWidget* shownWindow(const QRect& geometry)
{
    auto* window = new QWidget(nullptr, Qt::FramelessWindowHint);
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

    void placeAtPoint_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QPoint>("topLeft");
        // A 200 by 50 popup at (500, 400): the alignment names the popup's point that lies there.
        QTest::newRow("none") << 0 << QPoint(500, 400);
        QTest::newRow("left|top") << int(Qt::AlignLeft | Qt::AlignTop) << QPoint(500, 400);
        QTest::newRow("right|bottom") << int(Qt::AlignRight | Qt::AlignBottom) << QPoint(300, 350);
        QTest::newRow("right|vcenter") << int(Qt::AlignRight | Qt::AlignVCenter) << QPoint(300, 375);
        QTest::newRow("center") << int(Qt::AlignCenter) << QPoint(400, 375);
        QTest::newRow("hcenter|top centres both ways")
            << int(Qt::AlignHCenter | Qt::AlignTop) << QPoint(400, 375);
        QTest::newRow("hcenter|bottom centres both ways")
            << int(Qt::AlignHCenter | Qt::AlignBottom) << QPoint(400, 375);
        QTest::newRow("hcenter wins over right")
            << int(Qt::AlignHCenter | Qt::AlignRight) << QPoint(400, 375);
        QTest::newRow("left|bottom") << int(Qt::AlignLeft | Qt::AlignBottom) << QPoint(500, 350);
    }

    void placeAtPoint()
    {
        QFETCH(int, alignment);
        QFETCH(QPoint, topLeft);
        QCOMPARE(ZBPopupPlacement::AtPoint(alignment, QPoint(500, 400), QSize(200, 50)), topLeft);
    }

    void placeInArea_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QPoint>("topLeft");
        // A 200 by 50 popup in the area from (100, 100) to (499, 399).
        const QRect area(100, 100, 400, 300);
        QTest::newRow("none") << area << 0 << QPoint(100, 100);
        QTest::newRow("right|bottom") << area << int(Qt::AlignRight | Qt::AlignBottom) << QPoint(299, 349);
        QTest::newRow("center") << area << int(Qt::AlignCenter) << QPoint(199, 224);
        QTest::newRow("hcenter alone centres both ways") << area << int(Qt::AlignHCenter) << QPoint(199, 224);
        QTest::newRow("hcenter|top keeps to the top")
            << area << int(Qt::AlignHCenter | Qt::AlignTop) << QPoint(199, 100);
        QTest::newRow("hcenter|bottom centres")
            << area << int(Qt::AlignHCenter | Qt::AlignBottom) << QPoint(199, 224);
        QTest::newRow("left wins over right")
            << area << int(Qt::AlignLeft | Qt::AlignRight) << QPoint(100, 100);
        QTest::newRow("top wins over bottom")
            << area << int(Qt::AlignTop | Qt::AlignBottom) << QPoint(100, 100);
        QTest::newRow("vcenter|right") << area << int(Qt::AlignVCenter | Qt::AlignRight) << QPoint(299, 224);
        QTest::newRow("halves truncate")
            << QRect(-11, -11, 8, 8) << int(Qt::AlignCenter) << QPoint(-7 - 100, -7 - 25);
        QTest::newRow("empty area") << QRect() << int(Qt::AlignRight | Qt::AlignBottom) << QPoint(-201, -51);
    }

    void placeInArea()
    {
        QFETCH(QRect, area);
        QFETCH(int, alignment);
        QFETCH(QPoint, topLeft);
        QCOMPARE(ZBPopupPlacement::InArea(alignment, area, QSize(200, 50)), topLeft);
    }

    void showAtAPoint()
    {
        QPixmap picture(24, 24);
        picture.fill(Qt::red);
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Saved"), picture, Qt::AlignRight | Qt::AlignBottom,
                                   QPoint(500, 400), nullptr, 60000, 0, 0);
        QPointer<ZBPopupInfo> popup = thePopup();
        QVERIFY(popup);
        QVERIFY(popup->isVisible());
        QVERIFY(popup->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(popup->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(popup->focusPolicy(), Qt::NoFocus);
        QVERIFY(popup->TitleBar()->isHidden());
        QCOMPARE(popup->size(), popup->sizeHint());
        QCOMPARE(popup->frameGeometry().bottomRight(), QPoint(499, 399));

        // The picture before the text.
        auto* grid = qobject_cast<QGridLayout*>(popup->Content()->layout());
        QVERIFY(grid);
        auto* pictureLabel = qobject_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget());
        auto* textLabel = qobject_cast<QLabel*>(grid->itemAtPosition(0, 1)->widget());
        QVERIFY(pictureLabel && textLabel);
        QCOMPARE(textLabel->text(), QStringLiteral("Saved"));
        QVERIFY(textLabel->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(pictureLabel->pixmap(Qt::ReturnByValue).size(), QSize(24, 24));
        delete popup;

        // No picture, no picture label; no text, no text label.
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Only text"), QPixmap(), Qt::AlignLeft, QPoint(10, 10),
                                   nullptr, 60000, 0, 0);
        popup = thePopup();
        QCOMPARE(popup->Content()->findChildren<QLabel*>().size(), 1);
        QCOMPARE(popup->pos(), QPoint(10, 10));
        delete popup;
        ZBPopupInfo::ShowTextPopup(QString(), QPixmap(), Qt::AlignLeft, QPoint(10, 10), nullptr, 60000, 0, 0);
        popup = thePopup();
        QVERIFY(popup->Content()->findChildren<QLabel*>().isEmpty());
        delete popup;
    }

    void showInsideAnArea()
    {
        const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
        std::unique_ptr<QWidget> window(shownWindow(QRect(desk.x() + 50, desk.y() + 60, 400, 300)));
        auto* inner = new QWidget(window.get());
        inner->setGeometry(50, 40, 300, 200); // global (100, 100) to (399, 299) from the work area
        inner->show();

        ZBPopupInfo::ShowTextPopup(QStringLiteral("Inside"), QPixmap(), Qt::AlignRight | Qt::AlignBottom,
                                   inner, 60000, 0, 0);
        QPointer<ZBPopupInfo> popup = thePopup();
        QVERIFY(popup);
        QCOMPARE(popup->parentWidget(), inner);
        QVERIFY(popup->isWindow());
        const QPoint areaBottomRight = desk.topLeft() + QPoint(399, 299);
        QCOMPARE(popup->pos(), areaBottomRight - QPoint(popup->width(), popup->height()));
        delete popup;

        ZBPopupInfo::ShowTextPopup(QStringLiteral("Top"), QPixmap(), Qt::AlignHCenter | Qt::AlignTop, inner,
                                   60000, 0, 0);
        popup = thePopup();
        QCOMPARE(popup->y(), desk.y() + 100);
        QCOMPARE(popup->x() + popup->width() / 2, desk.x() + (100 + 399) / 2);
        delete popup;

        // Without a parent the area is the work area of the primary screen.
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Screen"), QPixmap(), Qt::AlignRight | Qt::AlignBottom,
                                   nullptr, 60000, 0, 0);
        popup = thePopup();
        QCOMPARE(popup->frameGeometry().bottomRight(), desk.bottomRight() - QPoint(1, 1));
        delete popup;
    }

    void lifetime()
    {
        // The display time starts once the fade-in is complete, not when the popup is shown.
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Bye"), QPixmap(), 0, QPoint(100, 100), nullptr, 0, 200,
                                   80);
        QPointer<ZBPopupInfo> popup = thePopup();
        QVERIFY(popup);
        QList<int> states;
        double opacityAtClosing = -1.0;
        connect(popup.data(), &ZBWidget::FadeStateChanged, [&](int state) {
            states << state;
            if (state == 4)
                opacityAtClosing = popup->windowOpacity();
        });
        QTRY_VERIFY(popup.isNull());
        QCOMPARE(states.mid(0, 3), (QList<int>{2, 4, 0}));
        QVERIFY(qAbs(opacityAtClosing - 1.0) < 0.01);
    }

    void twoPopupsAtOnce()
    {
        ZBPopupInfo::ShowTextPopup(QStringLiteral("One"), QPixmap(), 0, QPoint(0, 0), nullptr, 100, 0, 0);
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Two"), QPixmap(), 0, QPoint(0, 100), nullptr, 100, 0, 0);
        const QList<ZBPopupInfo*> both = popups();
        QCOMPARE(both.size(), 2);
        QPointer<ZBPopupInfo> one = both.at(0), two = both.at(1);
        QTRY_VERIFY(one && two && one->windowOpacity() > 0.99 && two->windowOpacity() > 0.99);
        QTRY_VERIFY(one.isNull() && two.isNull());
    }

    void vanishesWithItsParent()
    {
        std::unique_ptr<QWidget> window(shownWindow(QRect(100, 100, 300, 200)));
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Hello"), QPixmap(), Qt::AlignCenter, window.get(), 60000,
                                   0, 0);
        QPointer<ZBPopupInfo> popup = thePopup();
        QVERIFY(popup);
        QTRY_VERIFY(popup->windowOpacity() > 0.99);

        window->hide();
        QVERIFY(!popup->isVisible());
        QCOMPARE(popup->windowOpacity(), 0.0);

        // Shown again, the parent does not bring the popup back; deleted, it takes the popup along.
        window->show();
        QVERIFY(!popup->isVisible());
        window.reset();
        QVERIFY(popup.isNull());

        // Hidden before the popup ever became visible: the popup closes and is deleted.
        window.reset(shownWindow(QRect(100, 100, 300, 200)));
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Early"), QPixmap(), 0, window.get(), 60000, 400, 0);
        popup = thePopup();
        window->hide();
        QVERIFY(!popup->isVisible());
        QTRY_VERIFY(popup.isNull());
    }

    void builtByHand()
    {
        // Without a display time of its own a popup stays for a few seconds; shown without
        // Qt::WA_DeleteOnClose it closes and lives on.
        ZBPopupInfo lasting;
        ZBPopupInfo brief;
        brief.SetFullIntensifyTime(-5);
        QVERIFY(lasting.TitleBar()->isHidden());
        QCOMPARE(lasting.windowOpacity(), 0.0);
        lasting.show();
        brief.show();
        QTRY_VERIFY(!brief.isVisible());
        QVERIFY(lasting.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!lasting.isVisible(), 10000);
    }
};

QTEST_MAIN(tst_ZBPopupInfo)
#include "tst_zbpopupinfo.moc"
