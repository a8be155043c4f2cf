#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBFooterBar.h"
#include "ZBPopupWidget_p.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// Item sizes come from each item's Qt::SizeHintRole, which the list view reads for its rows too.
class TestDelegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;
    void PaintCurrentItem(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        ++sizeCalls;
        return index.data(Qt::SizeHintRole).toSize();
    }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return QSize(40, 12); }
    mutable int sizeCalls = 0;
};

ZBPopupWidget* popupOf(ZBComboBox* box)
{
    return box->findChild<ZBPopupWidget*>();
}

QListView* listOf(ZBComboBox* box)
{
    return box->findChild<QListView*>(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETITEMAREA"));
}

QList<int> repeated(int count, int height)
{
    QList<int> values;
    for (int i = 0; i < count; ++i)
        values << height;
    return values;
}

// Appends items "A", "B", ... of width 50 and the given heights.
void addItems(ZBComboBox* box, const QList<int>& heights)
{
    for (int h : heights) {
        const int row = box->GetItemCount();
        box->InsertItem(row);
        box->SetItemData(row, QString(QChar('A' + row)), Qt::DisplayRole);
        box->SetItemData(row, QSize(50, h), Qt::SizeHintRole);
    }
}

QString namesOf(ZBComboBox* box)
{
    QString names;
    for (int i = 0; i < box->GetItemCount(); ++i)
        names += box->GetItemData(i, Qt::DisplayRole).toString();
    return names;
}

// The combo box's signals as short strings, in order.
struct Recorder
{
    explicit Recorder(ZBComboBox* box)
    {
        const auto add = [this](const char* format, int a, int b = 0) {
            seen << QString::fromLatin1(format).arg(a).arg(b);
        };
        QObject::connect(box, qOverload<int, int>(&ZBComboBox::CurrentIndexChanged), box,
                         [add](int o, int n) { add("cur(%1,%2)", o, n); });
        QObject::connect(box, qOverload<int>(&ZBComboBox::CurrentIndexChanged), box,
                         [add](int n) { add("cur(%1)", n); });
        QObject::connect(box, &ZBComboBox::ItemInserted, box, [add](int i) { add("ins(%1)", i); });
        QObject::connect(box, &ZBComboBox::ItemRemoved, box, [add](int i) { add("rem(%1)", i); });
        QObject::connect(box, &ZBComboBox::ItemDataChanged, box,
                         [add](int f, int l) { add("data(%1,%2)", f, l); });
    }
    QString take() { return std::exchange(seen, {}).join(QLatin1Char(' ')); }
    QStringList seen;
};

void sendWheel(QWidget* widget, int delta)
{
    const QPoint pos(5, 5);
    QWheelEvent event(QPointF(pos), QPointF(widget->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// A combo box with the test delegate and five items of height 20, in a shown window.
struct Fixture
{
    Fixture()
    {
        window.move(100, 200);
        (new QVBoxLayout(&window))->addWidget(box);
        box->SetItemDelegate(delegate);
        addItems(box, repeated(5, 20));
        window.resize(220, 60);
        window.show();
    }
    bool Open()
    {
        TestUtil::SendMouse(box, QEvent::MouseButtonPress, QPoint(5, 5));
        return popupOf(box)->isVisible() && QTest::qWaitForWindowExposed(popupOf(box));
    }
    QWidget window;
    ZBComboBox* box = new ZBComboBox(&window);
    TestDelegate* delegate = new TestDelegate(box);
};

} // namespace

class tst_ZBComboBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void indexSignals()
    {
        ZBComboBox box;
        Recorder rec(&box);
        box.InsertItem(0);
        box.InsertItem(9);      // refused by the model, announced all the same
        box.SetItemData(0, 42); // role defaults to Qt::UserRole
        box.SetItemData(3, 42);
        QCOMPARE(rec.take(), QStringLiteral("ins(0) ins(9) data(0,0)"));
        QCOMPARE(box.GetItemData(0).toInt(), 42);
        addItems(&box, {20, 20});
        rec.take();
        box.SetCurrentIndex(1);
        box.SetCurrentIndex(1);
        QCOMPARE(rec.take(), QStringLiteral("cur(-1,1) cur(1)"));
        // A change made in the list comes back through the selection model once.
        listOf(&box)->setCurrentIndex(listOf(&box)->model()->index(2, 0));
        QCOMPARE(rec.take(), QStringLiteral("cur(1,2) cur(2)"));
        // A row that does not exist clears the list's current item, which is announced first.
        box.SetCurrentIndex(7);
        QCOMPARE(rec.take(), QStringLiteral("cur(7,-1) cur(-1) cur(2,7) cur(7)"));
        QCOMPARE(box.CurrentIndex(), -1);
    }

    void removeItem_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("announced");
        QTest::addColumn<QString>("outcome"); // the items left, a colon, the current item
        // The current index keeps its number, not its item.
        QTest::newRow("current, in the middle") << 5 << 2 << 2 << 2 << QStringLiteral("ABDE:D");
        QTest::newRow("current, first") << 5 << 0 << 0 << 0 << QStringLiteral("BCDE:B");
        QTest::newRow("current, last") << 5 << 4 << 4 << 3 << QStringLiteral("ABCD:D");
        QTest::newRow("above the current") << 5 << 3 << 1 << 3 << QStringLiteral("ACDE:E");
        QTest::newRow("the only item") << 1 << 0 << 0 << -1 << QStringLiteral(":");
        QTest::newRow("missing row") << 3 << 1 << 7 << 1 << QStringLiteral("ABC:B");
        QTest::newRow("no current item") << 3 << -1 << 1 << -1 << QStringLiteral("AC:");
    }

    void removeItem()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(int, removed);
        QFETCH(int, announced);
        QFETCH(QString, outcome);
        ZBComboBox box;
        addItems(&box, repeated(count, 20));
        box.SetCurrentIndex(current);
        Recorder rec(&box);
        box.RemoveItem(removed);
        QCOMPARE(rec.take(), QStringLiteral("cur(-2,%1) cur(%1) rem(%2)").arg(announced).arg(removed));
        QCOMPARE(namesOf(&box) + ':' + box.GetItemData(announced, Qt::DisplayRole).toString(), outcome);
    }

    void raiseItem()
    {
        ZBComboBox box;
        addItems(&box, {10, 20, 30, 40});
        box.SetItemData(2, QStringLiteral("payload"), Qt::UserRole + 5);
        box.SetCurrentIndex(1);
        Recorder rec(&box);
        box.RaiseItem(2);
        QCOMPARE(namesOf(&box), QStringLiteral("CABD"));
        QCOMPARE(box.GetItemData(0, Qt::UserRole + 5).toString(), QStringLiteral("payload"));
        QCOMPARE(box.GetItemData(0, Qt::SizeHintRole).toSize(), QSize(50, 30));
        // One announcement; the data moved with the row is not reported as a change.
        QCOMPARE(rec.seen.size(), 2);
        QVERIFY(rec.seen.at(0).endsWith(QStringLiteral(",0)")));
        QCOMPARE(rec.seen.at(1), QStringLiteral("cur(0)"));
        rec.take();
        box.RaiseItem(-1);
        box.RaiseItem(4);
        QCOMPARE(rec.take(), QString());
        QCOMPARE(namesOf(&box), QStringLiteral("CABD"));
    }

    void sizes_data()
    {
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<int>("listHeight");
        QTest::newRow("empty") << QList<int>() << 0;
        QTest::newRow("tallest of three") << QList<int>{20, 30, 25} << 90;
        QTest::newRow("eight rows at most") << repeated(12, 20) << 160;
        QTest::newRow("tallest beyond the eighth row") << (repeated(11, 20) << 35) << 280;
    }

    void sizes()
    {
        QFETCH(QList<int>, heights);
        QFETCH(int, listHeight);
        ZBComboBox box;
        addItems(&box, heights);
        // The list's own delegate sizes the items until one of the combo box is installed.
        QCOMPARE(popupOf(&box)->ListHeight(), listHeight);
        QCOMPARE(popupOf(&box)->FaceSizeHint(), popupOf(&box)->MaximumItemSize());
        box.SetItemDelegate(new TestDelegate(&box));
        QCOMPARE(popupOf(&box)->ListHeight(), listHeight);
        const int titleWidth = popupOf(&box)->TitleBar()->sizeHint().width();
        const int tallest = heights.isEmpty() ? 0 : *std::max_element(heights.begin(), heights.end());
        QCOMPARE(box.sizeHint(), QSize(qMax(heights.isEmpty() ? 0 : 50, titleWidth), tallest));
        QCOMPARE(box.minimumSizeHint(), QSize(qMax(40, titleWidth), 12));
    }

    void sizesAreAskedForOnlyOnce()
    {
        ZBComboBox box;
        auto* delegate = new TestDelegate(&box);
        box.SetItemDelegate(delegate);
        addItems(&box, repeated(200, 20));
        QCOMPARE(box.sizeHint().height(), 20);
        QCOMPARE(delegate->sizeCalls, 200);
        delegate->sizeCalls = 0;
        box.SetItemData(150, QSize(50, 21), Qt::SizeHintRole);
        box.InsertItem(7);
        box.RemoveItem(3);
        QCOMPARE(popupOf(&box)->ListHeight(), 8 * 21);
        QCOMPARE(box.sizeHint().height(), 21);
        QCOMPARE(delegate->sizeCalls, 2);

        // A new font changes every item's options, and so does a new delegate.
        delegate->sizeCalls = 0;
        QFont font = listOf(&box)->font();
        font.setPointSize(font.pointSize() + 3);
        listOf(&box)->setFont(font);
        (void)box.sizeHint();
        QCOMPARE(delegate->sizeCalls, 200);
        auto* other = new TestDelegate(&box);
        box.SetItemDelegate(other);
        (void)box.sizeHint();
        QCOMPARE(other->sizeCalls, 200);
    }

    void opening_data()
    {
        QTest::addColumn<bool>("titleShown");
        QTest::addColumn<bool>("footerShown");
        QTest::newRow("title and footer") << true << true;
        QTest::newRow("title only") << true << false;
        QTest::newRow("list only") << false << false;
    }

    void opening()
    {
        QFETCH(bool, titleShown);
        QFETCH(bool, footerShown);
        Fixture f;
        addItems(f.box, {30, 20, 20, 20});
        (new QHBoxLayout(f.box->GetPopupFooter()->Content()))
            ->addWidget(new QLabel(QStringLiteral("9 items")));
        titleShown ? f.box->ShowPopupTitleBar() : f.box->HidePopupTitleBar();
        footerShown ? f.box->ShowPopupFooterBar() : f.box->HidePopupFooterBar();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(f.Open());

        // The list lies over the combo box, as wide as it and eight rows of the tallest item high,
        // with the title bar above it and the footer below.
        ZBPopupWidget* popup = popupOf(f.box);
        QListView* list = listOf(f.box);
        const QPoint topLeft = f.box->mapToGlobal(QPoint(0, 0));
        QCOMPARE(list->mapToGlobal(QPoint(0, 0)), topLeft);
        QCOMPARE(list->height(), 8 * 30);
        QCOMPARE(popup->width(), f.box->width());
        QCOMPARE(popup->pos(), topLeft - QPoint(0, titleShown ? popup->TitleBar()->height() : 0));
        const int footerHeight = footerShown ? popup->GetFooter()->height() : 0;
        QCOMPARE(popup->geometry().bottom(), topLeft.y() + 8 * 30 + footerHeight - 1);
    }

    void openingNeedsItemsAndTheLeftButton()
    {
        Fixture f;
        TestUtil::SendMouse(f.box, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
        TestUtil::SendMouse(f.box, QEvent::MouseButtonPress, QPoint(5, 5), Qt::MiddleButton,
                            Qt::MiddleButton);
        while (f.box->GetItemCount())
            f.box->RemoveItem(0);
        TestUtil::SendMouse(f.box, QEvent::MouseButtonPress, QPoint(5, 5));
        QVERIFY(!popupOf(f.box)->isVisible());
    }

    void openingChoosesNothing()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        Recorder rec(f.box);
        QVERIFY(f.Open());
        popupOf(f.box)->activateWindow();
        QTRY_VERIFY(listOf(f.box)->hasFocus());
        QTest::qWait(50);
        QVERIFY(popupOf(f.box)->isVisible());
        QCOMPARE(f.box->CurrentIndex(), -1);
        // The user chooses: the first arrow key makes the first item current and closes the list.
        QTest::keyClick(listOf(f.box), Qt::Key_Down);
        QCOMPARE(rec.take(), QStringLiteral("cur(-1,0) cur(0)"));
        QVERIFY(!popupOf(f.box)->isVisible());
    }

    void closing()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.box->SetCurrentIndex(1);
        ZBPopupWidget* popup = popupOf(f.box);
        QListView* list = listOf(f.box);
        const auto clickRow = [list](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualRect(list->model()->index(row, 0)).center());
        };
        QVERIFY(f.Open());
        clickRow(1); // the current item: nothing changes
        QVERIFY(popup->isVisible());
        QEvent deactivate(QEvent::WindowDeactivate);
        const std::function<void()> closers[] = {
            [&] { clickRow(3); },
            [&] { Q_EMIT f.delegate->Clicked(list->currentIndex()); },
            [&] { Q_EMIT f.delegate->DoubleClicked(list->currentIndex()); },
            [&] { sendWheel(f.box, -120); },
            [&] { QApplication::sendEvent(popup, &deactivate); },
            [&] { QTest::keyClick(list, Qt::Key_Escape); }, // the popup hides itself
            [&] { QApplication::sendEvent(popup, &deactivate); },
        };
        for (const auto& close : closers) {
            QVERIFY(f.Open());
            close();
            QVERIFY(!popup->isVisible());
        }
        QCOMPARE(f.box->CurrentIndex(), 4);
    }

    void wheelStopsAtBothEnds()
    {
        ZBComboBox box;
        addItems(&box, repeated(2, 20));
        Recorder rec(&box);
        for (int delta : {120, -120, 120, -120, -120, 0}) // the first finds no current item
            sendWheel(&box, delta);
        QCOMPARE(rec.take(), QStringLiteral("cur(-1,0) cur(0) cur(0,1) cur(1)"));
    }

    void lifetimes()
    {
        auto* box = new ZBComboBox();
        addItems(box, repeated(3, 20));
        QPointer<TestDelegate> first = new TestDelegate();
        box->SetItemDelegate(first);
        box->SetItemDelegate(nullptr);
        QPointer<TestDelegate> second = new TestDelegate();
        box->SetItemDelegate(second);
        QVERIFY(first); // deleted later, not at once
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        // The application deletes the installed delegate: the list falls back on its own.
        delete second;
        QCOMPARE(box->GetItemDelegate(), nullptr);
        QCOMPARE(popupOf(box)->MaximumItemSize(), QSize(50, 20));
        popupOf(box)->grab();

        // Deleted from a slot of its own signal, then deleted with its list open.
        QPointer<ZBComboBox> guard = box;
        connect(box, qOverload<int, int>(&ZBComboBox::CurrentIndexChanged), box, [box] { delete box; });
        box->RemoveItem(1);
        QVERIFY(!guard);
        Fixture* f = new Fixture;
        QVERIFY(f->Open());
        delete f;
    }
};

QTEST_MAIN(tst_ZBComboBox)
#include "tst_zbcombobox.moc"
