#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

namespace {

QWidget* background(ZBTitleBar* bar)
{
    return bar->findChild<QWidget*>(QStringLiteral("TITLECONTENT"), Qt::FindDirectChildrenOnly);
}

QGridLayout* innerGrid(ZBTitleBar* bar)
{
    return qobject_cast<QGridLayout*>(background(bar)->layout());
}

QGridLayout* nestedGrid(ZBTitleBar* bar, int row, int column)
{
    QLayoutItem* item = innerGrid(bar)->itemAtPosition(row, column);
    return item ? qobject_cast<QGridLayout*>(item->layout()) : nullptr;
}

QGridLayout* buttonGrid(ZBTitleBar* bar)
{
    return nestedGrid(bar, 0, 3);
}
QGridLayout* bottomGrid(ZBTitleBar* bar)
{
    return nestedGrid(bar, 1, 0);
}

// Records the mouse events that reach it after the title bar left them unaccepted.
class MouseSink : public QWidget
{
public:
    QList<QEvent::Type> seen;

protected:
    void mousePressEvent(QMouseEvent*) override { seen << QEvent::MouseButtonPress; }
    void mouseMoveEvent(QMouseEvent*) override { seen << QEvent::MouseMove; }
    void mouseReleaseEvent(QMouseEvent*) override { seen << QEvent::MouseButtonRelease; }
};

} // namespace

class tst_ZBTitleBar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ZBResource::SetData(ZBResource::TitleBarMargins, QVariant());
        TestUtil::CheckNoLeftoverWindows();
    }

    void structure()
    {
        ZBTitleBar bar;
        QVERIFY(bar.testAttribute(Qt::WA_TranslucentBackground));
        QWidget* bg = background(&bar);
        QVERIFY(bg);
        QVERIFY(bg->hasMouseTracking());
        QGridLayout* grid = innerGrid(&bar);
        QVERIFY(grid);
        QCOMPARE(grid->horizontalSpacing(), 3);
        QCOMPARE(grid->verticalSpacing(), 0);
        QVERIFY(buttonGrid(&bar));
        QVERIFY(bottomGrid(&bar));
        auto* icon = qobject_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget());
        auto* title = qobject_cast<QLabel*>(grid->itemAtPosition(0, 1)->widget());
        QVERIFY(icon && title);
        QVERIFY(icon->isHidden());
        const int small = bar.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &bar);
        QCOMPARE(icon->maximumSize(), QSize(small, small));
        QCOMPARE(icon->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(grid->itemAtPosition(0, 2)->spacerItem());
        QCOMPARE(grid->itemAtPosition(0, 2)->expandingDirections() & Qt::Horizontal, Qt::Horizontal);
    }

    void marginsComeFromTheTheme()
    {
        ZBResource::SetData(ZBResource::TitleBarMargins, ZBResource::MarginsRect(7, 2, 9, 4));
        ZBTitleBar bar;
        QCOMPARE(innerGrid(&bar)->contentsMargins(), QMargins(7, 2, 9, 4));
        bar.SetContentsMargins(1, 1, 1, 1);
        QCOMPARE(innerGrid(&bar)->contentsMargins(), QMargins(1, 1, 1, 1));

        ZBResource::SetData(ZBResource::TitleBarMargins, ZBResource::MarginsRect(3, 4, 5, 6));
        bar.ReplaceBackground(new QWidget);
        QCOMPARE(innerGrid(&bar)->contentsMargins(), QMargins(3, 4, 5, 6));
    }

    void placement_data()
    {
        QTest::addColumn<QList<int>>("alignments");
        // Per added widget: the grid it lands in (0 buttons, 1 bottom, -1 none), row and column.
        QTest::addColumn<QList<int>>("expected");
        const int left = Qt::AlignLeft, right = Qt::AlignRight, bottom = Qt::AlignBottom;
        QTest::newRow("left columns")
            << QList<int>{left, left, left} << QList<int>{0, 0, 0, 0, 0, 1, 0, 0, 2};
        QTest::newRow("right columns")
            << QList<int>{right, right, right} << QList<int>{0, 0, 1000, 0, 0, 999, 0, 0, 998};
        QTest::newRow("bottom rows") << QList<int>{bottom, bottom} << QList<int>{1, 0, 0, 1, 1, 0};
        QTest::newRow("mixed counters") << QList<int>{left, right, left, bottom, right}
                                        << QList<int>{0, 0, 0, 0, 0, 1000, 0, 0, 1, 1, 0, 0, 0, 0, 999};
        QTest::newRow("left|top is right")
            << QList<int>{int(Qt::AlignLeft | Qt::AlignTop)} << QList<int>{0, 0, 1000};
        QTest::newRow("hcenter is right") << QList<int>{int(Qt::AlignHCenter)} << QList<int>{0, 0, 1000};
        QTest::newRow("bottom|right is right")
            << QList<int>{int(Qt::AlignBottom | Qt::AlignRight)} << QList<int>{0, 0, 1000};
        QTest::newRow("zero is nowhere") << QList<int>{0, right} << QList<int>{-1, -1, -1, 0, 0, 1000};
    }

    void placement()
    {
        QFETCH(QList<int>, alignments);
        QFETCH(QList<int>, expected);
        ZBTitleBar bar;
        QWidget owner;
        for (int i = 0; i < alignments.size(); ++i) {
            auto* w = new QWidget(&owner);
            bar.AddWidget(w, Qt::Alignment(alignments[i]));
            const int where = expected[3 * i];
            const QPair<int, int> cell(expected[3 * i + 1], expected[3 * i + 2]);
            QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
            if (where == 0) {
                QCOMPARE(TestUtil::CellOf(buttonGrid(&bar), w), cell);
                QCOMPARE(w->parentWidget(), background(&bar));
            } else if (where == 1) {
                QCOMPARE(TestUtil::CellOf(bottomGrid(&bar), w), cell);
                QCOMPARE(w->parentWidget(), background(&bar));
            } else {
                QCOMPARE(TestUtil::CellOf(buttonGrid(&bar), w), cell);
                QCOMPARE(TestUtil::CellOf(bottomGrid(&bar), w), cell);
                QCOMPARE(w->parentWidget(), &owner); // keeps its parent
            }
        }
    }

    void titleLineReadsIconTitleGapLeftRight()
    {
        QWidget window;
        auto* bar = new ZBTitleBar(&window);
        bar->SetIcon(QIcon(QPixmap(32, 32)));
        bar->SetTitle(QStringLiteral("Title"));
        QToolButton* r1 = bar->AddButton(Qt::AlignRight, QStringLiteral("r1"));
        QToolButton* r2 = bar->AddButton(Qt::AlignRight, QStringLiteral("r2"));
        QToolButton* r3 = bar->AddButton(Qt::AlignRight, QStringLiteral("r3"));
        QToolButton* l1 = bar->AddButton(Qt::AlignLeft, QStringLiteral("l1"));
        QToolButton* l2 = bar->AddButton(Qt::AlignLeft, QStringLiteral("l2"));
        QCOMPARE(r1->toolTip(), QStringLiteral("r1"));
        QCOMPARE(r1->parentWidget(), background(bar));
        bar->setGeometry(0, 0, 500, 30);
        window.resize(500, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* title = qobject_cast<QLabel*>(innerGrid(bar)->itemAtPosition(0, 1)->widget());
        auto* icon = qobject_cast<QLabel*>(innerGrid(bar)->itemAtPosition(0, 0)->widget());
        QVERIFY(icon->x() < title->x());
        QVERIFY(title->geometry().right() < l1->x());
        QVERIFY(l1->x() < l2->x());
        QVERIFY(l2->x() < r3->x());
        QVERIFY(r3->x() < r2->x());
        QVERIFY(r2->x() < r1->x());
        // The gap takes the slack: the buttons sit at the right end.
        QVERIFY(r1->geometry().right() >= bar->width() - 20);
        QVERIFY(l1->x() > bar->width() / 2);
    }

    void addButtonWithIcon()
    {
        ZBTitleBar bar;
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        QToolButton* b = bar.AddButton(QIcon(pixmap), Qt::AlignLeft, QStringLiteral("tip"));
        QVERIFY(!b->icon().isNull());
        QCOMPARE(b->toolTip(), QStringLiteral("tip"));
        QCOMPARE(TestUtil::CellOf(buttonGrid(&bar), b), qMakePair(0, 0));
    }

    void iconShowsAndHides()
    {
        ZBTitleBar bar;
        auto* icon = qobject_cast<QLabel*>(innerGrid(&bar)->itemAtPosition(0, 0)->widget());
        const int n = icon->maximumWidth();
        QPixmap big(64, 64);
        big.fill(Qt::blue);
        bar.SetIcon(QIcon(big));
        QVERIFY(!icon->isHidden());
        QCOMPARE(icon->pixmap(Qt::ReturnByValue).size(), QSize(n, n));
        bar.SetIcon(QIcon());
        QVERIFY(icon->isHidden());
        QVERIFY(icon->pixmap(Qt::ReturnByValue).isNull());
        bar.SetIcon(QIcon(big));
        QVERIFY(!icon->isHidden());
    }

    void replaceBackgroundMovesEverything()
    {
        QWidget window;
        auto* bar = new ZBTitleBar(&window);
        bar->SetTitle(QStringLiteral("Moved"));
        QToolButton* left = bar->AddButton(Qt::AlignLeft, QString());
        QToolButton* right = bar->AddButton(Qt::AlignRight, QString());
        QToolButton* hidden = bar->AddButton(Qt::AlignRight, QString());
        hidden->hide();
        auto* below = new QLabel(QStringLiteral("below"));
        bar->AddWidget(below, Qt::AlignBottom);
        QPointer<QWidget> old = background(bar);
        QPointer<QWidget> oldLayout = nullptr;

        auto* replacement = new QWidget;
        new QGridLayout(replacement); // a layout of its own, which must go
        bar->ReplaceBackground(replacement);
        QVERIFY(old.isNull());
        QCOMPARE(background(bar), replacement);
        QCOMPARE(replacement->objectName(), QStringLiteral("TITLECONTENT"));
        QCOMPARE(replacement->parentWidget(), bar);
        QVERIFY(replacement->hasMouseTracking());
        QCOMPARE(innerGrid(bar)->verticalSpacing(), 1);
        QCOMPARE(innerGrid(bar)->horizontalSpacing(), 3);
        for (QWidget* w : {static_cast<QWidget*>(left), static_cast<QWidget*>(right),
                           static_cast<QWidget*>(hidden), static_cast<QWidget*>(below)})
            QCOMPARE(w->parentWidget(), replacement);
        QCOMPARE(TestUtil::CellOf(buttonGrid(bar), left), qMakePair(0, 0));
        QCOMPARE(TestUtil::CellOf(buttonGrid(bar), hidden), qMakePair(0, 999));
        QCOMPARE(TestUtil::CellOf(bottomGrid(bar), below), qMakePair(0, 0));
        auto* title = qobject_cast<QLabel*>(innerGrid(bar)->itemAtPosition(0, 1)->widget());
        QCOMPARE(title->text(), QStringLiteral("Moved"));

        window.resize(300, 60);
        bar->setGeometry(0, 0, 300, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(replacement->isVisible());
        QVERIFY(title->isVisible());
        QVERIFY(left->isVisible());
        QVERIFY(right->isVisible());
        QVERIFY(!hidden->isVisible());
        QVERIFY(below->isVisible());
        QVERIFY(!innerGrid(bar)->itemAtPosition(0, 0)->widget()->isVisible()); // no icon set

        // Later buttons go onto the new background, in the next free cells.
        QToolButton* later = bar->AddButton(Qt::AlignRight, QString());
        QCOMPARE(later->parentWidget(), replacement);
        QCOMPARE(TestUtil::CellOf(buttonGrid(bar), later), qMakePair(0, 998));
    }

    void badInputReturnsQuietly()
    {
        QWidget window;
        auto* bar = new ZBTitleBar(&window);
        bar->AddWidget(nullptr, Qt::AlignLeft);
        bar->AddWidget(nullptr, Qt::AlignBottom);
        QWidget* bg = background(bar);
        bar->ReplaceBackground(nullptr);
        bar->ReplaceBackground(bg);
        QCOMPARE(background(bar), bg);
        bar->SetIcon(QIcon());

        // A placed widget deleted by its owner must not trouble a later replacement.
        QToolButton* doomed = bar->AddButton(Qt::AlignLeft, QString());
        QToolButton* kept = bar->AddButton(Qt::AlignLeft, QString());
        auto* doomedRight = new QWidget;
        bar->AddWidget(doomedRight, Qt::AlignRight);
        delete doomed;
        delete doomedRight;
        bar->ReplaceBackground(new QWidget);
        QCOMPARE(kept->parentWidget(), background(bar));
        QCOMPARE(TestUtil::CellOf(buttonGrid(bar), kept), qMakePair(0, 1));

        // SetContentsMargins on a background whose layout is not a grid does nothing.
        auto* plain = new QWidget;
        bar->ReplaceBackground(plain);
        delete plain->layout();
        new QHBoxLayout(plain);
        bar->SetContentsMargins(17, 17, 17, 17);
        QVERIFY(plain->layout()->contentsMargins() != QMargins(17, 17, 17, 17));
    }

    void doubleClickEmitsTheButton_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }

    void doubleClickEmitsTheButton()
    {
        QFETCH(int, button);
        QWidget window;
        auto* bar = new ZBTitleBar(&window);
        bar->setGeometry(0, 0, 200, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QList<int> emitted;
        connect(bar, &ZBTitleBar::DoubleClicked, this, [&](Qt::MouseButton b) { emitted << int(b); });
        // On the background: the child passes the event up to the title bar.
        QTest::mouseDClick(background(bar), Qt::MouseButton(button), Qt::NoModifier, QPoint(100, 15));
        QCOMPARE(emitted, QList<int>{button});
    }

    void mouseEventsReachTheParent()
    {
        MouseSink sink;
        auto* bar = new ZBTitleBar(&sink);
        bar->setGeometry(0, 0, 200, 30);
        sink.resize(200, 100);
        sink.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sink));
        const QPoint at(100, 10);
        TestUtil::SendMouse(bar, QEvent::MouseButtonPress, at);
        TestUtil::SendMouse(bar, QEvent::MouseMove, at + QPoint(5, 0), Qt::NoButton);
        TestUtil::SendMouse(bar, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        TestUtil::SendMouse(background(bar), QEvent::MouseButtonPress, at);
        const QList<QEvent::Type> expected{QEvent::MouseButtonPress, QEvent::MouseMove,
                                           QEvent::MouseButtonRelease, QEvent::MouseButtonPress};
        QCOMPARE(sink.seen, expected);
    }
};

QTEST_MAIN(tst_ZBTitleBar)
#include "tst_zbtitlebar.moc"
