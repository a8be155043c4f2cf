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
        const auto row = [](const char* name, bool inArea, int alignment, const QPoint& topLeft) {
            QTest::newRow(name) << inArea << alignment << topLeft;
        };
        // A 200 by 50 popup with its named point on (500, 400), or kept inside (100, 100) to (499, 399).
        row("point: right|bottom", false, Qt::AlignRight | Qt::AlignBottom, {300, 350});
        row("point: hcenter|top centres both ways", false, Qt::AlignHCenter | Qt::AlignTop, {400, 375});
        row("point: left|vcenter", false, Qt::AlignLeft | Qt::AlignVCenter, {500, 375});
        row("area: none", true, 0, {100, 100});
        row("area: right|bottom", true, Qt::AlignRight | Qt::AlignBottom, {299, 349});
        row("area: hcenter centres both ways", true, Qt::AlignHCenter, {199, 224});
        row("area: top wins over hcenter", true, Qt::AlignHCenter | Qt::AlignTop, {199, 100});
        row("area: left wins over right", true, Qt::AlignLeft | Qt::AlignRight | Qt::AlignBottom, {100, 349});
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
        // In the screen's work area without a parent; a label for the picture and one for the text.
        QPixmap picture(24, 24);
        picture.fill(Qt::red);
        const int corner = Qt::AlignRight | Qt::AlignBottom;
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Saved"), picture, corner, nullptr, 60000, 0, 0);
        QCOMPARE(popups().size(), 1);
        const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(popups().first()->frameGeometry().bottomRight(), desk.bottomRight() - QPoint(1, 1));
        QCOMPARE(popups().first()->Content()->findChildren<QLabel*>().size(), 2);
        qDeleteAll(popups());

        // Inside a parent widget, in global coordinates; no text and no picture, no labels.
        std::unique_ptr<QWidget> window = shownWindow(QRect(desk.x() + 50, desk.y() + 60, 400, 300));
        auto* inner = new QWidget(window.get());
        inner->setGeometry(50, 40, 300, 200);
        ZBPopupInfo::ShowTextPopup(QString(), QPixmap(), corner, inner, 60000, 0, 0);
        QCOMPARE(popups().first()->frameGeometry().bottomRight(), desk.topLeft() + QPoint(398, 298));
        QVERIFY(popups().first()->Content()->findChildren<QLabel*>().isEmpty());
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
        delete popup.data();

        // Hidden before the popup became visible: it closes and goes.
        window->show();
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Early"), QPixmap(), 0, window.get(), 60000, 400, 0);
        popup = popups().value(0);
        window->hide();
        QTRY_VERIFY(popup.isNull());
    }
};

QTEST_MAIN(tst_ZBPopupInfo)
#include "tst_zbpopupinfo.moc"
