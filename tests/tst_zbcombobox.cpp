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

// Appends items "A", "B", ... of width 50 and the given heights.
void addItems(ZBComboBox* box, const QVector<int>& heights)
{
    for (int h : heights) {
        const int row = box->GetItemCount();
        box->InsertItem(row);
        box->SetItemData(row, QString(QChar('A' + row)), Qt::DisplayRole);
        box->SetItemData(row, QSize(50, h), Qt::SizeHintRole);
    }
}

// The combo box's signals as short strings, in order.
struct Recorder
{
    explicit Recorder(ZBComboBox* box)
    {
        QObject::connect(box, qOverload<int, int>(&ZBComboBox::CurrentIndexChanged), box,
                         [this](int o, int n) { seen << QStringLiteral("cur(%1,%2)").arg(o).arg(n); });
        QObject::connect(box, qOverload<int>(&ZBComboBox::CurrentIndexChanged), box,
                         [this](int n) { seen << QStringLiteral("cur(%1)").arg(n); });
        QObject::connect(box, &ZBComboBox::ItemInserted, box,
                         [this](int i) { seen << QStringLiteral("ins(%1)").arg(i); });
        QObject::connect(box, &ZBComboBox::ItemRemoved, box,
                         [this](int i) { seen << QStringLiteral("rem(%1)").arg(i); });
        QObject::connect(box, &ZBComboBox::ItemDataChanged, box,
                         [this](int f, int l) { seen << QStringLiteral("data(%1,%2)").arg(f).arg(l); });
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

} // namespace

class tst_ZBComboBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void indexSignals()
    {
        ZBComboBox box;
        addItems(&box, {10, 20, 30, 40});
        box.SetItemData(2, QStringLiteral("payload"), Qt::UserRole + 5);
        Recorder rec(&box);
        QListView* list = listOf(&box);
        const std::pair<std::function<void()>, const char*> steps[] = {
            {[&] { box.InsertItem(9); }, "ins(9)"},         // refused by the model, announced all the same
            {[&] { box.SetItemData(3, 42); }, "data(3,3)"}, // role defaults to Qt::UserRole
            {[&] { box.SetItemData(4, 42); }, ""},
            {[&] { sendWheel(&box, 120); }, ""}, // no current item: the wheel finds nothing
            {[&] { sendWheel(&box, -120); }, "cur(-1,0) cur(0)"},
            {[&] { box.SetCurrentIndex(0); }, ""},
            {[&] { sendWheel(&box, 120); }, ""}, // at the first item
            {[&] { box.SetCurrentIndex(3); }, "cur(0,3) cur(3)"},
            {[&] { sendWheel(&box, -120); }, ""}, // at the last item
            // A change made in the list comes back through the selection model once.
            {[&] { list->setCurrentIndex(list->model()->index(1, 0)); }, "cur(3,1) cur(1)"},
            // One announcement for a raise; the data moved with the row is not reported.
            {[&] { box.RaiseItem(2); }, "cur(0,0) cur(0)"},
            {[&] { box.RaiseItem(4); }, ""},
            // A row that does not exist clears the list's current item, which is announced first.
            {[&] { box.SetCurrentIndex(7); }, "cur(7,-1) cur(-1) cur(0,7) cur(7)"},
        };
        for (const auto& step : steps) {
            step.first();
            QCOMPARE(rec.take(), QString::fromLatin1(step.second));
        }
        QCOMPARE(box.CurrentIndex(), -1);
        QCOMPARE(box.GetItemData(0, Qt::UserRole + 5).toString(), QStringLiteral("payload")); // raised
        QCOMPARE(box.GetItemData(0, Qt::SizeHintRole).toSize(), QSize(50, 30));
        QCOMPARE(box.GetItemData(2, Qt::DisplayRole).toString(), QStringLiteral("B"));
        QCOMPARE(box.GetItemData(3).toInt(), 42);
    }

    void removeItem_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("announced");
        // The current index keeps its number, not its item.
        QTest::newRow("current, in the middle") << 5 << 2 << 2 << 2;
        QTest::newRow("current, last") << 5 << 4 << 4 << 3;
        QTest::newRow("above the current") << 5 << 3 << 1 << 3;
        QTest::newRow("the only item") << 1 << 0 << 0 << -1;
        QTest::newRow("missing row") << 3 << 1 << 7 << 1;
        QTest::newRow("no current item") << 3 << -1 << 1 << -1;
        QTest::newRow("current set below -1") << 3 << -2 << 1 << -1;
    }

    void removeItem()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(int, removed);
        QFETCH(int, announced);
        ZBComboBox box;
        addItems(&box, QVector<int>(count, 20));
        box.SetCurrentIndex(current);
        Recorder rec(&box);
        box.RemoveItem(removed);
        QCOMPARE(rec.take(), QStringLiteral("cur(-2,%1) cur(%1) rem(%2)").arg(announced).arg(removed));
        QCOMPARE(box.CurrentIndex(), announced);
    }

    void sizes_data()
    {
        QTest::addColumn<QVector<int>>("heights");
        QTest::addColumn<int>("tallest");
        QTest::addColumn<int>("listHeight");
        QTest::newRow("empty") << QVector<int>() << 0 << 0;
        QTest::newRow("tallest of three") << QVector<int>{20, 30, 25} << 30 << 90;
        QTest::newRow("eight rows at most") << QVector<int>(12, 20) << 20 << 160;
        QTest::newRow("tallest beyond the eighth row") << (QVector<int>(11, 20) << 35) << 35 << 280;
    }

    void sizes()
    {
        QFETCH(QVector<int>, heights);
        QFETCH(int, tallest);
        QFETCH(int, listHeight);
        ZBComboBox box;
        addItems(&box, heights);
        // The list's own delegate sizes the items until one of the combo box is installed.
        QCOMPARE(popupOf(&box)->ListHeight(), listHeight);
        QCOMPARE(popupOf(&box)->FaceSizeHint(), popupOf(&box)->MaximumItemSize());
        box.SetItemDelegate(new TestDelegate(&box));
        QCOMPARE(popupOf(&box)->ListHeight(), listHeight);
        const int titleWidth = popupOf(&box)->TitleBar()->sizeHint().width();
        QCOMPARE(box.sizeHint(), QSize(qMax(heights.isEmpty() ? 0 : 50, titleWidth), tallest));
        QCOMPARE(box.minimumSizeHint(), QSize(qMax(40, titleWidth), 12));
    }

    void sizesAreAskedForOnce()
    {
        ZBComboBox box;
        QPointer<TestDelegate> delegate = new TestDelegate();
        box.SetItemDelegate(delegate);
        addItems(&box, QVector<int>(200, 20));
        QCOMPARE(box.sizeHint().height(), 20);
        QCOMPARE(std::exchange(delegate->sizeCalls, 0), 200);
        box.SetItemData(150, QSize(50, 21), Qt::SizeHintRole);
        box.InsertItem(7);
        box.RemoveItem(3);
        QCOMPARE(box.sizeHint().height(), 21);
        QCOMPARE(std::exchange(delegate->sizeCalls, 0), 2);
        box.RemoveItem(150); // the tallest
        box.RemoveItem(6);   // the new one, which has no size
        QCOMPARE(box.sizeHint().height(), 20);
        // A new font changes every item's options, and so does a new delegate.
        QFont font = listOf(&box)->font();
        font.setPointSize(font.pointSize() + 3);
        listOf(&box)->setFont(font);
        (void)box.sizeHint();
        QCOMPARE(delegate->sizeCalls, 198);
        QPointer<TestDelegate> other = new TestDelegate();
        box.SetItemDelegate(other);
        (void)box.sizeHint();
        QCOMPARE(other->sizeCalls, 198);
        QVERIFY(delegate); // the replaced one is deleted later, not at once
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!delegate);
        // The application deletes the installed delegate: the list falls back on its own.
        delete other;
        QCOMPARE(box.GetItemDelegate(), nullptr);
        QCOMPARE(popupOf(&box)->MaximumItemSize(), QSize(50, 20));
        popupOf(&box)->grab();
    }

    void openingAndClosing_data()
    {
        QTest::addColumn<bool>("titleShown");
        QTest::addColumn<bool>("footerShown");
        QTest::newRow("title and footer") << true << true;
        QTest::newRow("title only") << true << false;
        QTest::newRow("list only") << false << false;
    }

    void openingAndClosing()
    {
        QFETCH(bool, titleShown);
        QFETCH(bool, footerShown);
        QWidget window;
        auto* box = new ZBComboBox(&window);
        (new QVBoxLayout(&window))->addWidget(box);
        auto* delegate = new TestDelegate(box);
        box->SetItemDelegate(delegate);
        (new QHBoxLayout(box->GetPopupFooter()->Content()))->addWidget(new QLabel(QStringLiteral("6")));
        titleShown ? box->ShowPopupTitleBar() : box->HidePopupTitleBar();
        footerShown ? box->ShowPopupFooterBar() : box->HidePopupFooterBar();
        window.resize(220, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ZBPopupWidget* popup = popupOf(box);
        QListView* list = listOf(box);
        const auto open = [&](Qt::MouseButton button) {
            TestUtil::SendMouse(box, QEvent::MouseButtonPress, {5, 5}, button, button);
            return popup->isVisible() && QTest::qWaitForWindowExposed(popup);
        };
        QVERIFY(!open(Qt::LeftButton)); // nothing to show
        addItems(box, {20, 20, 20, 20, 20, 30});
        QVERIFY(!open(Qt::RightButton) && !open(Qt::MiddleButton));
        QVERIFY(open(Qt::LeftButton));

        // The list lies over the combo box, as wide as it and six rows of the tallest item high,
        // with the title bar above it and the footer below.
        const QPoint topLeft = box->mapToGlobal(QPoint(0, 0));
        QCOMPARE(list->mapToGlobal(QPoint(0, 0)), topLeft);
        QCOMPARE(list->height(), 6 * 30);
        QCOMPARE(popup->width(), box->width());
        QCOMPARE(popup->pos(), topLeft - QPoint(0, titleShown ? popup->TitleBar()->height() : 0));
        const int footerHeight = footerShown ? popup->GetFooter()->height() : 0;
        QCOMPARE(popup->geometry().bottom(), topLeft.y() + 6 * 30 + footerHeight - 1);

        // Opening chooses nothing, even when the list takes the focus without a current item.
        popup->activateWindow();
        QTRY_VERIFY(list->hasFocus());
        QVERIFY(popup->isVisible());
        QCOMPARE(box->CurrentIndex(), -1);
        const auto clickRow = [list](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualRect(list->model()->index(row, 0)).center());
        };
        QEvent deactivate(QEvent::WindowDeactivate);
        const std::function<void()> closers[] = {
            [&] { QTest::keyClick(list, Qt::Key_Down); }, // the user chooses the first item
            [&] { clickRow(3); },
            [&] { Q_EMIT delegate->Clicked(list->currentIndex()); },
            [&] { Q_EMIT delegate->DoubleClicked(list->currentIndex()); },
            [&] { sendWheel(box, -120); },
            [&] { QApplication::sendEvent(popup, &deactivate); },
            [&] { QTest::keyClick(list, Qt::Key_Escape); }, // the popup hides itself
            [&] { QApplication::sendEvent(popup, &deactivate); },
        };
        for (const auto& close : closers) {
            QVERIFY(open(Qt::LeftButton));
            close();
            QVERIFY(!popup->isVisible());
        }
        QCOMPARE(box->CurrentIndex(), 4);
        QVERIFY(open(Qt::LeftButton));
        clickRow(4); // the current item: nothing changes
        QVERIFY(popup->isVisible());
        delete box; // with its list open
    }

    void deletedFromItsOwnSignal()
    {
        QPointer<ZBComboBox> box = new ZBComboBox();
        addItems(box, {20, 20});
        box->SetItemDelegate(nullptr);
        connect(box, qOverload<int, int>(&ZBComboBox::CurrentIndexChanged), box, [&box] { delete box; });
        box->RemoveItem(1);
        QVERIFY(!box);
    }
};

QTEST_MAIN(tst_ZBComboBox)
#include "tst_zbcombobox.moc"
