#include "ZBResource.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QTest>
#include <QToolButton>

using TestUtil::CellOf;

namespace {

const QPair<int, int> Nowhere(-1, -1);

// Reads the parts of the title line: the background and its grid, which holds the icon label at (0, 0),
// the title label at (0, 1), the buttons' grid at (0, 3) and the bottom row's grid at (1, 0).
class Bar : public ZBTitleBar
{
public:
    using ZBTitleBar::ZBTitleBar;
    QWidget* Background() const { return findChild<QWidget*>("TITLECONTENT", Qt::FindDirectChildrenOnly); }
    QGridLayout* Grid() const { return qobject_cast<QGridLayout*>(Background()->layout()); }
    QLayoutItem* Item(int row, int column) const { return Grid()->itemAtPosition(row, column); }
    QGridLayout* Buttons() const { return qobject_cast<QGridLayout*>(Item(0, 3)->layout()); }
    QGridLayout* Bottom() const { return qobject_cast<QGridLayout*>(Item(1, 0)->layout()); }
    QLabel* Label(int column) const { return qobject_cast<QLabel*>(Item(0, column)->widget()); }
};

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

    void marginsComeFromTheTheme()
    {
        ZBResource::SetData(ZBResource::TitleBarMargins, ZBResource::MarginsRect(7, 2, 9, 4));
        Bar bar;
        QCOMPARE(bar.Grid()->contentsMargins(), QMargins(7, 2, 9, 4));
        bar.SetContentsMargins(1, 1, 1, 1);
        QCOMPARE(bar.Grid()->contentsMargins(), QMargins(1, 1, 1, 1));
        ZBResource::SetData(ZBResource::TitleBarMargins, ZBResource::MarginsRect(3, 4, 5, 6));
        bar.ReplaceBackground(new QWidget);
        QCOMPARE(bar.Grid()->contentsMargins(), QMargins(3, 4, 5, 6));
    }

    void placement_data()
    {
        QTest::addColumn<QList<int>>("alignments");
        // Per added widget: the grid it lands in (0 buttons, 1 bottom, -1 none), row and column.
        QTest::addColumn<QList<int>>("expected");
        const int left = Qt::AlignLeft, right = Qt::AlignRight, bottom = Qt::AlignBottom;
        QTest::newRow("each side counts its own")
            << QList<int>{left, right, left, bottom, right, bottom}
            << QList<int>{0, 0, 0, 0, 0, 1000, 0, 0, 1, 1, 0, 0, 0, 0, 999, 1, 1, 0};
        QTest::newRow("anything but exact left or bottom is right")
            << QList<int>{int(Qt::AlignLeft | Qt::AlignTop), int(Qt::AlignHCenter),
                          int(Qt::AlignBottom | Qt::AlignRight)}
            << QList<int>{0, 0, 1000, 0, 0, 999, 0, 0, 998};
        QTest::newRow("zero is nowhere") << QList<int>{0, right} << QList<int>{-1, -1, -1, 0, 0, 1000};
    }

    void placement()
    {
        QFETCH(QList<int>, alignments);
        QFETCH(QList<int>, expected);
        Bar bar;
        bar.setCursor(Qt::SizeHorCursor); // as a frame's resize band sets it
        QWidget owner;
        for (int i = 0; i < alignments.size(); ++i) {
            auto* w = new QWidget(&owner);
            bar.AddWidget(w, Qt::Alignment(alignments[i]));
            const int where = expected[3 * i];
            const QPair<int, int> cell(expected[3 * i + 1], expected[3 * i + 2]);
            QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
            QCOMPARE(CellOf(bar.Buttons(), w), where == 0 ? cell : Nowhere);
            QCOMPARE(CellOf(bar.Bottom(), w), where == 1 ? cell : Nowhere);
            QCOMPARE(w->parentWidget(), where < 0 ? &owner : bar.Background());
        }
    }

    void titleLineReadsIconTitleGapLeftRight()
    {
        QWidget window;
        auto* bar = new Bar(&window);
        QPixmap big(64, 64);
        big.fill(Qt::blue);
        bar->SetIcon(QIcon(big));
        const int n = bar->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, bar);
        QCOMPARE(bar->Label(0)->pixmap(Qt::ReturnByValue).size(), QSize(n, n));
        bar->SetTitle(QStringLiteral("Title"));
        QToolButton* r1 = bar->AddButton(Qt::AlignRight, QStringLiteral("r1"));
        QToolButton* r2 = bar->AddButton(Qt::AlignRight, QString());
        QToolButton* l1 = bar->AddButton(QIcon(big), Qt::AlignLeft, QStringLiteral("l1"));
        QToolButton* l2 = bar->AddButton(Qt::AlignLeft, QString());
        QVERIFY(r1->toolTip() == QStringLiteral("r1") && l1->toolTip() == QStringLiteral("l1"));
        QVERIFY(!l1->icon().isNull());
        bar->setGeometry(0, 0, 500, 30);
        window.resize(500, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QLabel* title = bar->Label(1);
        QVERIFY(bar->Label(0)->x() < title->x() && title->geometry().right() < l1->x());
        QVERIFY(l1->x() < l2->x() && l2->x() < r2->x() && r2->x() < r1->x());
        // The gap takes the slack: the buttons sit at the right end.
        QVERIFY(r1->geometry().right() >= bar->width() - 20 && l1->x() > bar->width() / 2);
        bar->SetIcon(QIcon());
        QVERIFY(bar->Label(0)->isHidden() && bar->Label(0)->pixmap(Qt::ReturnByValue).isNull());
    }

    void replaceBackgroundMovesEverything()
    {
        QWidget window;
        auto* bar = new Bar(&window);
        bar->SetTitle(QStringLiteral("Moved"));
        QToolButton* left = bar->AddButton(Qt::AlignLeft, QString());
        QToolButton* right = bar->AddButton(Qt::AlignRight, QString());
        QToolButton* hidden = bar->AddButton(Qt::AlignRight, QString());
        hidden->hide();
        auto* below = new QLabel(QStringLiteral("below"));
        bar->AddWidget(below, Qt::AlignBottom);
        QPointer<QWidget> old = bar->Background();
        auto* replacement = new QWidget;
        new QGridLayout(replacement); // a layout of its own, which must go
        bar->ReplaceBackground(replacement);
        QVERIFY(old.isNull() && bar->Background() == replacement);
        QCOMPARE(bar->Grid()->verticalSpacing(), 1);
        QCOMPARE(CellOf(bar->Buttons(), left), qMakePair(0, 0));
        QCOMPARE(CellOf(bar->Buttons(), hidden), qMakePair(0, 999));
        QCOMPARE(CellOf(bar->Bottom(), below), qMakePair(0, 0));
        QCOMPARE(bar->Label(1)->text(), QStringLiteral("Moved"));

        window.resize(300, 60);
        bar->setGeometry(0, 0, 300, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (QWidget* w : QWidgetList{replacement, bar->Label(1), left, right, below})
            QVERIFY(w->isVisible());
        QVERIFY(!hidden->isVisible() && !bar->Label(0)->isVisible()); // no icon set

        // Later buttons go onto the new background, in the next free cells.
        QToolButton* later = bar->AddButton(Qt::AlignRight, QString());
        QCOMPARE(later->parentWidget(), replacement);
        QCOMPARE(CellOf(bar->Buttons(), later), qMakePair(0, 998));
    }

    void replaceBackgroundOnAShownBar()
    {
        QWidget window;
        auto* bar = new Bar(&window);
        bar->SetTitle(QStringLiteral("Shown"));
        QToolButton* shown = bar->AddButton(Qt::AlignRight, QString());
        QToolButton* hidden = bar->AddButton(Qt::AlignLeft, QString());
        hidden->hide();
        bar->setGeometry(0, 0, 300, 40);
        window.resize(300, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* replacement = new QWidget;
        bar->ReplaceBackground(replacement);
        QCoreApplication::processEvents();
        for (QWidget* w : QWidgetList{replacement, bar->Label(1), shown})
            QVERIFY2(w->isVisible(), qPrintable(w->metaObject()->className()));
        QVERIFY(hidden->isHidden());
    }

    void badInputReturnsQuietly()
    {
        QWidget window;
        auto* bar = new Bar(&window);
        bar->AddWidget(nullptr, Qt::AlignLeft);
        bar->AddWidget(nullptr, Qt::AlignBottom);
        QWidget* bg = bar->Background();
        bar->ReplaceBackground(nullptr);
        bar->ReplaceBackground(bg);
        QCOMPARE(bar->Background(), bg);

        // A placed widget deleted by its owner must not trouble a later replacement.
        QToolButton* doomed = bar->AddButton(Qt::AlignLeft, QString());
        QToolButton* kept = bar->AddButton(Qt::AlignLeft, QString());
        delete doomed;
        delete bar->AddButton(Qt::AlignRight, QString());
        bar->ReplaceBackground(new QWidget);
        QCOMPARE(kept->parentWidget(), bar->Background());
        QCOMPARE(CellOf(bar->Buttons(), kept), qMakePair(0, 1));

        // SetContentsMargins on a background whose layout is not a grid does nothing.
        auto* plain = new QWidget;
        bar->ReplaceBackground(plain);
        delete plain->layout();
        new QHBoxLayout(plain);
        bar->SetContentsMargins(17, 17, 17, 17);
        QVERIFY(plain->layout()->contentsMargins() != QMargins(17, 17, 17, 17));
    }

    void mouseEvents()
    {
        MouseSink sink;
        auto* bar = new Bar(&sink);
        bar->setGeometry(0, 0, 200, 30);
        sink.resize(200, 100);
        sink.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sink));
        QList<int> emitted;
        connect(bar, &ZBTitleBar::DoubleClicked, this, [&](Qt::MouseButton b) { emitted << int(b); });
        // On the background: the child passes the event up to the title bar.
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton})
            QTest::mouseDClick(bar->Background(), b, Qt::NoModifier, QPoint(100, 15));
        QCOMPARE(emitted, (QList<int>{Qt::LeftButton, Qt::RightButton}));

        // Presses, moves and releases go on to the parent.
        sink.seen.clear();
        const QPoint at(100, 10);
        TestUtil::SendMouse(bar, QEvent::MouseButtonPress, at);
        TestUtil::SendMouse(bar, QEvent::MouseMove, at + QPoint(5, 0), Qt::NoButton);
        TestUtil::SendMouse(bar, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        TestUtil::SendMouse(bar->Background(), QEvent::MouseButtonPress, at);
        QCOMPARE(sink.seen, (QList<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseMove,
                                                 QEvent::MouseButtonRelease, QEvent::MouseButtonPress}));
    }
};

QTEST_MAIN(tst_ZBTitleBar)
#include "tst_zbtitlebar.moc"
