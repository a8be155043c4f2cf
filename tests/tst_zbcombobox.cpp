#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBFooterBar.h"
#include "ZBItemSizeCache_p.h"
#include "ZBPopupWidget_p.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// Item sizes come from each item's Qt::SizeHintRole, so that every test chooses them; the list
// view reads the same role for its rows.
class TestDelegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;

    void PaintCurrentItem(QPainter*, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        paintedRows << index.row();
        paintedRect = option.rect;
    }
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        ++sizeCalls;
        return index.data(Qt::SizeHintRole).toSize();
    }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return minimum; }

    bool editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex& index) override
    {
        if (emitClicks && event->type() == QEvent::MouseButtonRelease)
            Q_EMIT Clicked(index);
        return false;
    }

    mutable int sizeCalls = 0;
    mutable QList<int> paintedRows;
    mutable QRect paintedRect;
    QSize minimum{40, 12};
    bool emitClicks = false;
};

ZBPopupWidget* popupOf(ZBComboBox* box)
{
    return box->findChild<ZBPopupWidget*>();
}

QListView* listOf(ZBComboBox* box)
{
    return box->findChild<QListView*>(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETITEMAREA"));
}

// Appends one item per size, named "A", "B", ...
void addItems(ZBComboBox* box, const QList<QSize>& sizes)
{
    for (const QSize& size : sizes) {
        const int row = box->GetItemCount();
        box->InsertItem(row);
        box->SetItemData(row, QString(QChar('A' + row)), Qt::DisplayRole);
        box->SetItemData(row, size, Qt::SizeHintRole);
    }
}

QList<int> repeated(int count, int height)
{
    QList<int> values;
    for (int i = 0; i < count; ++i)
        values << height;
    return values;
}

QList<QSize> heights(const QList<int>& values, int width = 50)
{
    QList<QSize> sizes;
    for (int h : values)
        sizes << QSize(width, h);
    return sizes;
}

QString namesOf(ZBComboBox* box)
{
    QString names;
    for (int i = 0; i < box->GetItemCount(); ++i)
        names += box->GetItemData(i, Qt::DisplayRole).toString();
    return names;
}

// Records the signals of a combo box and of its popup as short strings, in order.
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
        ZBPopupWidget* popup = popupOf(box);
        QObject::connect(popup, qOverload<int, int>(&ZBPopupWidget::CurrentIndexChanged), box,
                         [this](int o, int n) { popupSeen << QStringLiteral("(%1,%2)").arg(o).arg(n); });
    }
    QString take()
    {
        const QString all = seen.join(QLatin1Char(' '));
        seen.clear();
        popupSeen.clear();
        return all;
    }
    QStringList seen;
    QStringList popupSeen;
};

void sendWheel(QWidget* widget, int delta)
{
    const QPoint pos(5, 5);
    QWheelEvent event(QPointF(pos), QPointF(widget->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// A combo box in a shown window, with the test delegate and five items of height 20.
struct Fixture
{
    Fixture()
    {
        window.move(100, 200);
        auto* layout = new QVBoxLayout(&window);
        box = new ZBComboBox(&window);
        layout->addWidget(box);
        delegate = new TestDelegate(box);
        box->SetItemDelegate(delegate);
        addItems(box, heights({20, 20, 20, 20, 20}));
        window.resize(220, 60);
        window.show();
    }
    QWidget window;
    ZBComboBox* box = nullptr;
    TestDelegate* delegate = nullptr;
};

} // namespace

class tst_ZBComboBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void popupStructure()
    {
        ZBComboBox box;
        ZBPopupWidget* popup = popupOf(&box);
        QVERIFY(popup);
        QVERIFY(popup->isWindow());
        QVERIFY(popup->isHidden());
        QCOMPARE(popup->parentWidget(), &box);
        QCOMPARE(QByteArray(ZBPopupWidget::ZBPopupItemArea::staticMetaObject.className()),
                 QByteArray("ZBPopupWidget::ZBPopupItemArea"));

        QListView* list = listOf(&box);
        QVERIFY(qobject_cast<ZBPopupWidget::ZBPopupItemArea*>(list));
        QCOMPARE(list->model()->columnCount(), 1);
        QCOMPARE(list->minimumSize(), QSize(0, 0));
        ZBFooterBar* footer = box.GetPopupFooter();
        QVERIFY(footer);
        QCOMPARE(footer->objectName(), QStringLiteral("ZBCOMBOBOXPOPUPWIDGETFOOTER"));

        auto* grid = qobject_cast<QGridLayout*>(list->parentWidget()->layout());
        QVERIFY(grid);
        QCOMPARE(TestUtil::CellOf(grid, list), qMakePair(0, 0));
        QCOMPARE(TestUtil::CellOf(grid, footer), qMakePair(1, 0));

        auto* close = popup->TitleBar()->findChild<QToolButton*>(QStringLiteral("CLOSEBUTTON"));
        QVERIFY(close && close->isHidden());
        QCOMPARE(box.GetItemDelegate(), nullptr);
        QCOMPARE(box.CurrentIndex(), -1);
    }

    void setCurrentIndexAnnouncesOnce()
    {
        ZBComboBox box;
        addItems(&box, heights({20, 20, 20}));
        Recorder rec(&box);

        box.SetCurrentIndex(1);
        QCOMPARE(rec.popupSeen, QStringList{QStringLiteral("(-1,1)")});
        QCOMPARE(rec.take(), QStringLiteral("cur(-1,1) cur(1)"));
        QCOMPARE(box.CurrentIndex(), 1);

        box.SetCurrentIndex(1);
        QCOMPARE(rec.take(), QString());

        // A change made in the list itself comes back through the selection model once.
        listOf(&box)->setCurrentIndex(listOf(&box)->model()->index(2, 0));
        QCOMPARE(rec.take(), QStringLiteral("cur(1,2) cur(2)"));

        // A row that does not exist clears the list's current item, announced first.
        box.SetCurrentIndex(7);
        QCOMPARE(rec.take(), QStringLiteral("cur(7,-1) cur(-1) cur(2,7) cur(7)"));
        QCOMPARE(box.CurrentIndex(), -1);

        box.SetCurrentIndex(0);
        QCOMPARE(rec.take(), QStringLiteral("cur(-1,0) cur(0)"));
        box.SetCurrentIndex(-1);
        QCOMPARE(rec.take(), QStringLiteral("cur(0,-1) cur(-1)"));
    }

    void removeItem_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("announced");
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("currentName");

        QTest::newRow("current, in the middle") << 5 << 2 << 2 << 2 << "ABDE"
                                                << "D";
        QTest::newRow("current, first") << 5 << 0 << 0 << 0 << "BCDE"
                                        << "B";
        QTest::newRow("current, last") << 5 << 4 << 4 << 3 << "ABCD"
                                       << "D";
        QTest::newRow("above the current") << 5 << 3 << 1 << 3 << "ACDE"
                                           << "E";
        QTest::newRow("below the current") << 5 << 1 << 3 << 1 << "ABCE"
                                           << "B";
        QTest::newRow("the only item") << 1 << 0 << 0 << -1 << ""
                                       << "";
        QTest::newRow("missing row") << 3 << 1 << 7 << 1 << "ABC"
                                     << "B";
        QTest::newRow("negative row") << 3 << 1 << -1 << 1 << "ABC"
                                      << "B";
        QTest::newRow("no current item") << 3 << -1 << 1 << -1 << "AC"
                                         << "";
    }

    void removeItem()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(int, removed);
        QFETCH(int, announced);
        QFETCH(QString, names);
        QFETCH(QString, currentName);

        ZBComboBox box;
        addItems(&box, heights(repeated(count, 20)));
        box.SetCurrentIndex(current);
        Recorder rec(&box);

        box.RemoveItem(removed);
        QCOMPARE(rec.popupSeen, QStringList{QStringLiteral("(-2,%1)").arg(announced)});
        QCOMPARE(rec.take(), QStringLiteral("cur(-2,%1) cur(%1) rem(%2)").arg(announced).arg(removed));
        QCOMPARE(namesOf(&box), names);
        QCOMPARE(box.CurrentIndex(), announced);
        QCOMPARE(box.GetItemData(box.CurrentIndex(), Qt::DisplayRole).toString(), currentName);
    }

    void raiseItem()
    {
        ZBComboBox box;
        addItems(&box, heights({10, 20, 30, 40}));
        box.SetItemData(2, QStringLiteral("payload"), Qt::UserRole + 5);
        box.SetCurrentIndex(1);
        Recorder rec(&box);

        box.RaiseItem(2);
        QCOMPARE(namesOf(&box), QStringLiteral("CABD"));
        QCOMPARE(box.CurrentIndex(), 0);
        QCOMPARE(box.GetItemData(0, Qt::UserRole + 5).toString(), QStringLiteral("payload"));
        QCOMPARE(box.GetItemData(0, Qt::SizeHintRole).toSize(), QSize(50, 30));
        // The popup's signals are blocked while the rows move: one announcement, no data change.
        QCOMPARE(rec.popupSeen.size(), 1);
        QCOMPARE(rec.seen.size(), 2);
        QVERIFY(rec.seen.at(0).startsWith(QStringLiteral("cur(")) &&
                rec.seen.at(0).endsWith(QStringLiteral(",0)")));
        QCOMPARE(rec.seen.at(1), QStringLiteral("cur(0)"));
        rec.take();

        // The current first item raised onto itself keeps everything.
        box.RaiseItem(0);
        QCOMPARE(namesOf(&box), QStringLiteral("CABD"));
        QCOMPARE(box.GetItemData(0, Qt::UserRole + 5).toString(), QStringLiteral("payload"));
        QCOMPARE(rec.seen.size(), 2);
        QCOMPARE(rec.seen.at(1), QStringLiteral("cur(0)"));
        rec.take();

        box.RaiseItem(-1);
        box.RaiseItem(box.GetItemCount());
        QCOMPARE(rec.take(), QString());
        QCOMPARE(namesOf(&box), QStringLiteral("CABD"));
    }

    void insertAndDataSignals()
    {
        ZBComboBox box;
        Recorder rec(&box);
        box.InsertItem(0);
        box.InsertItem(0);
        QCOMPARE(rec.take(), QStringLiteral("ins(0) ins(0)"));
        // Refused by the model, announced all the same.
        box.InsertItem(5);
        box.InsertItem(-1);
        QCOMPARE(rec.take(), QStringLiteral("ins(5) ins(-1)"));
        QCOMPARE(box.GetItemCount(), 2);

        box.SetItemData(1, 42);
        QCOMPARE(rec.take(), QStringLiteral("data(1,1)"));
        QCOMPARE(box.GetItemData(1).toInt(), 42); // role defaults to Qt::UserRole
        QCOMPARE(box.GetItemData(1, Qt::UserRole).toInt(), 42);
        box.SetItemData(9, 1);
        box.SetItemData(-1, 1);
        QCOMPARE(rec.take(), QString());
        QVERIFY(!box.GetItemData(9).isValid());
        QVERIFY(!box.GetItemData(-1, Qt::DisplayRole).isValid());
    }

    void listHeight_data()
    {
        QTest::addColumn<QList<int>>("itemHeights");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QList<int>() << 0;
        QTest::newRow("tallest of three") << QList<int>{20, 30, 25} << 90;
        QTest::newRow("eight rows at most") << repeated(12, 20) << 160;
        QTest::newRow("tallest beyond the eighth row counts") << (repeated(11, 20) << 35) << 280;
    }

    void listHeight()
    {
        QFETCH(QList<int>, itemHeights);
        QFETCH(int, expected);
        ZBComboBox box;
        box.SetItemDelegate(new TestDelegate(&box));
        addItems(&box, heights(itemHeights));
        QCOMPARE(popupOf(&box)->ListHeight(), expected);
    }

    void sizes()
    {
        ZBComboBox box;
        ZBPopupWidget* popup = popupOf(&box);
        QCOMPARE(popup->MaximumItemSize(), QSize(0, 0));

        // Without a delegate of the combo box, the list's own delegate sizes the items.
        addItems(&box, {QSize(70, 10), QSize(30, 25)});
        QCOMPARE(popup->MaximumItemSize(), QSize(70, 25));
        QCOMPARE(popup->FaceSizeHint(), popup->MaximumItemSize());

        auto* delegate = new TestDelegate(&box);
        delegate->minimum = QSize(33, 11);
        box.SetItemDelegate(delegate);
        QCOMPARE(popup->FaceSizeHint(), QSize(33, 11));

        const int titleWidth = popup->TitleBar()->sizeHint().width();
        QCOMPARE(box.sizeHint(), QSize(qMax(70, titleWidth), 25));
        QCOMPARE(box.minimumSizeHint(), QSize(qMax(33, titleWidth), 11));
        box.SetItemData(0, QSize(titleWidth + 40, 10), Qt::SizeHintRole);
        QCOMPARE(box.sizeHint(), QSize(titleWidth + 40, 25));
    }

    void sizesFollowEveryChange()
    {
        ZBComboBox box;
        auto* delegate = new TestDelegate(&box);
        box.SetItemDelegate(delegate);
        ZBPopupWidget* popup = popupOf(&box);
        addItems(&box, {QSize(10, 10), QSize(90, 20), QSize(30, 50)});
        QCOMPARE(popup->MaximumItemSize(), QSize(90, 50));

        box.RemoveItem(2);
        QCOMPARE(popup->MaximumItemSize(), QSize(90, 20));
        box.SetItemData(1, QSize(15, 5), Qt::SizeHintRole);
        QCOMPARE(popup->MaximumItemSize(), QSize(15, 10));
        box.InsertItem(0);
        box.SetItemData(0, QSize(12, 70), Qt::SizeHintRole);
        QCOMPARE(popup->MaximumItemSize(), QSize(15, 70));
        box.RaiseItem(2);
        QCOMPARE(popup->MaximumItemSize(), QSize(15, 70));
        QCOMPARE(box.GetItemData(0, Qt::SizeHintRole).toSize(), QSize(15, 5));

        // The delegate reports that it sizes an item differently now.
        box.SetItemData(1, QSize(12, 80), Qt::UserRole + 1);
        QCOMPARE(popup->MaximumItemSize(), QSize(15, 70));
        auto* model = qobject_cast<QStandardItemModel*>(listOf(&box)->model());
        QVERIFY(model);
        const QSignalBlocker blocker(model);
        model->setData(model->index(1, 0), QSize(12, 80), Qt::SizeHintRole);
        Q_EMIT delegate->sizeHintChanged(model->index(1, 0));
        QCOMPARE(popup->MaximumItemSize(), QSize(15, 80));
    }

    void sizesAreAskedForOnlyOnce()
    {
        ZBComboBox box;
        auto* delegate = new TestDelegate(&box);
        box.SetItemDelegate(delegate);
        ZBPopupWidget* popup = popupOf(&box);
        addItems(&box, heights(repeated(200, 20)));
        (void)popup->MaximumItemSize();
        QCOMPARE(delegate->sizeCalls, 200);

        delegate->sizeCalls = 0;
        (void)box.sizeHint();
        (void)popup->ListHeight();
        QCOMPARE(delegate->sizeCalls, 0);

        box.SetItemData(150, QSize(50, 21), Qt::SizeHintRole);
        box.InsertItem(7);
        box.RemoveItem(3);
        QCOMPARE(popup->ListHeight(), 8 * 21);
        QCOMPARE(delegate->sizeCalls, 2);

        // A new font changes every item's options.
        delegate->sizeCalls = 0;
        QFont font = listOf(&box)->font();
        font.setPointSize(font.pointSize() + 3);
        listOf(&box)->setFont(font);
        (void)popup->MaximumItemSize();
        QCOMPARE(delegate->sizeCalls, 200);

        // So does a new delegate.
        auto* other = new TestDelegate(&box);
        box.SetItemDelegate(other);
        (void)popup->MaximumItemSize();
        QCOMPARE(other->sizeCalls, 200);
    }

    void sizeCacheAgreesWithAFreshWalk()
    {
        // Random inserts, removals and changes against a plain vector of sizes.
        QRandomGenerator rng(20240611);
        ZBItemSizeCache cache;
        QVector<QSize> truth;
        QVector<int> askedFor;
        const ZBItemSizeCache::SizeOf sizeOf = [&](int row) {
            askedFor << row;
            return truth.at(row);
        };
        const auto randomSize = [&] { return QSize(rng.bounded(-3, 60), rng.bounded(-3, 60)); };
        for (int step = 0; step < 4000; ++step) {
            const int op = rng.bounded(5);
            const int n = truth.size();
            if (op == 0 || n == 0) {
                const int first = rng.bounded(n + 1), count = rng.bounded(1, 4);
                for (int i = 0; i < count; ++i)
                    truth.insert(first, randomSize());
                cache.InsertRows(first, count);
            } else if (op == 1) {
                const int first = rng.bounded(n), count = rng.bounded(1, 4);
                truth.remove(first, qMin(count, n - first));
                cache.RemoveRows(first, count);
            } else if (op == 2) {
                const int first = rng.bounded(n), last = qMin(n - 1, first + rng.bounded(3));
                for (int row = first; row <= last; ++row)
                    truth[row] = randomSize();
                cache.Invalidate(first, last);
            } else if (op == 3) {
                // Rows outside the list and empty spans are ignored.
                cache.Invalidate(n, n + 5);
                cache.RemoveRows(n, 2);
                cache.InsertRows(n + 1, 1);
                cache.Invalidate(3, 1);
            }
            if (!rng.bounded(3)) {
                askedFor.clear();
                QSize expected(0, 0);
                for (const QSize& s : truth)
                    expected = expected.expandedTo(s);
                QCOMPARE(cache.Maximum(sizeOf), expected);
                QCOMPARE(cache.RowCount(), truth.size());
                // A second question asks the delegate nothing.
                askedFor.clear();
                QCOMPARE(cache.Maximum(sizeOf), expected);
                QVERIFY(askedFor.isEmpty());
            }
        }
    }

    void opening_data()
    {
        QTest::addColumn<bool>("titleShown");
        QTest::addColumn<bool>("footerShown");
        QTest::newRow("title and footer") << true << true;
        QTest::newRow("title only") << true << false;
        QTest::newRow("footer only") << false << true;
        QTest::newRow("list only") << false << false;
    }

    void opening()
    {
        QFETCH(bool, titleShown);
        QFETCH(bool, footerShown);
        Fixture f;
        addItems(f.box, heights({30, 20, 20, 20, 20, 20, 20}));
        f.box->SetPopupTitle(QStringLiteral("Choose"));
        auto* footerLayout = new QHBoxLayout(f.box->GetPopupFooter()->Content());
        footerLayout->addWidget(new QLabel(QStringLiteral("12 items")));
        titleShown ? f.box->ShowPopupTitleBar() : f.box->HidePopupTitleBar();
        footerShown ? f.box->ShowPopupFooterBar() : f.box->HidePopupFooterBar();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));

        ZBPopupWidget* popup = popupOf(f.box);
        QVERIFY(TestUtil::SendMouse(f.box, QEvent::MouseButtonPress, QPoint(5, 5)));
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->TitleBar()->isVisible(), titleShown);
        QCOMPARE(popup->GetFooter()->isVisible(), footerShown);
        bool titled = false;
        for (QLabel* label : popup->TitleBar()->findChildren<QLabel*>())
            titled = titled || label->text() == QStringLiteral("Choose");
        QVERIFY(titled);

        // The list lies over the combo box, as wide as it and eight rows of the tallest item high.
        QListView* list = listOf(f.box);
        const QPoint boxTopLeft = f.box->mapToGlobal(QPoint(0, 0));
        QCOMPARE(popup->width(), f.box->width());
        QCOMPARE(list->mapToGlobal(QPoint(0, 0)), boxTopLeft);
        QCOMPARE(list->height(), 8 * 30);
        QCOMPARE(popup->x(), boxTopLeft.x());
        QCOMPARE(popup->y(), boxTopLeft.y() - (titleShown ? popup->TitleBar()->height() : 0));
        if (footerShown) {
            QVERIFY(popup->GetFooter()->height() > 0);
            QCOMPARE(popup->GetFooter()->mapToGlobal(QPoint(0, 0)).y(), boxTopLeft.y() + 8 * 30);
        }
        QCOMPARE(popup->geometry().bottom(), list->mapToGlobal(QPoint(0, list->height() - 1)).y() +
                                                 (footerShown ? popup->GetFooter()->height() : 0));
    }

    void noPopupWithoutItemsOrForOtherButtons()
    {
        QWidget window;
        auto* box = new ZBComboBox(&window);
        box->resize(120, 24);
        window.show();
        ZBPopupWidget* popup = popupOf(box);
        TestUtil::SendMouse(box, QEvent::MouseButtonPress, QPoint(5, 5));
        QVERIFY(!popup->isVisible());

        addItems(box, heights({20}));
        TestUtil::SendMouse(box, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
        TestUtil::SendMouse(box, QEvent::MouseButtonPress, QPoint(5, 5), Qt::MiddleButton, Qt::MiddleButton);
        QVERIFY(!popup->isVisible());
        TestUtil::SendMouse(box, QEvent::MouseButtonPress, QPoint(5, 5));
        QVERIFY(popup->isVisible());
    }

    void openingChoosesNothing()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        Recorder rec(f.box);
        ZBPopupWidget* popup = popupOf(f.box);
        TestUtil::SendMouse(f.box, QEvent::MouseButtonPress, QPoint(5, 5));
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        popup->activateWindow();
        QTRY_VERIFY(listOf(f.box)->hasFocus());
        QTest::qWait(50);
        QVERIFY(popup->isVisible());
        QCOMPARE(f.box->CurrentIndex(), -1);
        QCOMPARE(rec.take(), QString());

        // The user chooses: the first step of the arrow keys makes the first item current.
        QTest::keyClick(listOf(f.box), Qt::Key_Down);
        QCOMPARE(f.box->CurrentIndex(), 0);
        QCOMPARE(rec.take(), QStringLiteral("cur(-1,0) cur(0)"));
        QVERIFY(!popup->isVisible());
    }

    void closing()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.box->SetCurrentIndex(1);
        ZBPopupWidget* popup = popupOf(f.box);
        QListView* list = listOf(f.box);
        const auto open = [&] {
            TestUtil::SendMouse(f.box, QEvent::MouseButtonPress, QPoint(5, 5));
            QVERIFY(popup->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(popup));
        };

        // A click on the current item changes nothing and leaves the list open.
        open();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->currentIndex()).center());
        QVERIFY(popup->isVisible());
        // A click on another item makes it current and closes the list.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->model()->index(3, 0)).center());
        QCOMPARE(f.box->CurrentIndex(), 3);
        QVERIFY(!popup->isVisible());

        // A delegate that reports clicks closes it on the current item too.
        open();
        f.delegate->emitClicks = true;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->currentIndex()).center());
        QVERIFY(!popup->isVisible());
        f.delegate->emitClicks = false;

        open();
        Q_EMIT f.delegate->DoubleClicked(list->model()->index(0, 0));
        QVERIFY(!popup->isVisible());

        // The wheel steps and closes.
        open();
        sendWheel(f.box, -120);
        QCOMPARE(f.box->CurrentIndex(), 4);
        QVERIFY(!popup->isVisible());

        // Another window becomes active.
        open();
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(popup, &deactivate);
        QVERIFY(!popup->isVisible());

        // Escape hides the popup itself; the next opening works as before.
        open();
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!popup->isVisible());
        QTest::keyClick(popup, Qt::Key_Escape); // on a hidden popup: passed on only
        open();
        QApplication::sendEvent(popup, &deactivate);
        QVERIFY(!popup->isVisible());
    }

    void wheel()
    {
        ZBComboBox box;
        addItems(&box, heights({20, 20, 20}));
        Recorder rec(&box);

        // No current item: away from the user stays at -1, towards the user starts at the first.
        sendWheel(&box, 120);
        QCOMPARE(rec.take(), QString());
        sendWheel(&box, -120);
        QCOMPARE(rec.take(), QStringLiteral("cur(-1,0) cur(0)"));
        sendWheel(&box, 120);
        QCOMPARE(rec.take(), QString());
        sendWheel(&box, -120);
        sendWheel(&box, -240);
        QCOMPARE(box.CurrentIndex(), 2);
        rec.take();
        sendWheel(&box, -120);
        QCOMPARE(rec.take(), QString());
        sendWheel(&box, 120);
        QCOMPARE(rec.take(), QStringLiteral("cur(2,1) cur(1)"));
        sendWheel(&box, 0);
        QCOMPARE(rec.take(), QString());

        ZBComboBox empty;
        sendWheel(&empty, -120);
        sendWheel(&empty, 120);
        QCOMPARE(empty.CurrentIndex(), -1);
    }

    void paintsTheCurrentItemThroughTheDelegate()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.delegate->paintedRows.clear();
        f.box->grab();
        QCOMPARE(f.delegate->paintedRows, QList<int>{-1});
        QCOMPARE(f.delegate->paintedRect, f.box->rect());

        f.box->SetCurrentIndex(3);
        f.delegate->paintedRows.clear();
        f.box->grab();
        QCOMPARE(f.delegate->paintedRows, QList<int>{3});

        // The face follows a data change at once.
        f.delegate->paintedRows.clear();
        f.box->SetItemData(3, QStringLiteral("changed"), Qt::DisplayRole);
        QTRY_VERIFY(!f.delegate->paintedRows.isEmpty());
    }

    void layoutFollowsTheItems()
    {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        auto* box = new ZBComboBox(&window);
        box->SetItemDelegate(new TestDelegate(box));
        box->HidePopupTitleBar();
        layout->addWidget(box);
        addItems(box, {QSize(300, 30)});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(box->size(), QSize(qMax(300, popupOf(box)->TitleBar()->sizeHint().width()), 30));
        box->SetItemData(0, QSize(400, 35), Qt::SizeHintRole);
        QTRY_COMPARE(box->size(), QSize(qMax(400, popupOf(box)->TitleBar()->sizeHint().width()), 35));
        // An empty list still leaves the delegate's smallest face.
        box->RemoveItem(0);
        QTRY_COMPARE(box->height(), 12);
    }

    void delegateLifetime()
    {
        ZBComboBox box;
        addItems(&box, heights({20, 20}));
        QPointer<TestDelegate> first = new TestDelegate();
        box.SetItemDelegate(first);
        QCOMPARE(box.GetItemDelegate(), first.data());
        QCOMPARE(listOf(&box)->itemDelegate(), first.data());
        box.SetItemDelegate(first);
        box.SetItemDelegate(nullptr);
        QCOMPARE(box.GetItemDelegate(), first.data());

        QPointer<TestDelegate> second = new TestDelegate();
        box.SetItemDelegate(second);
        QCOMPARE(box.GetItemDelegate(), second.data());
        QVERIFY(first); // deleted later, not at once
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);

        // The replaced delegate's signals no longer reach the combo box.
        Recorder rec(&box);
        box.SetCurrentIndex(0);
        rec.take();

        // The application deletes the installed delegate: the list falls back on its own.
        delete second;
        QCOMPARE(box.GetItemDelegate(), nullptr);
        QVERIFY(listOf(&box)->itemDelegate());
        QCOMPARE(popupOf(&box)->MaximumItemSize(), QSize(50, 20));
        box.grab();
        popupOf(&box)->grab();
    }

    void iconSizeIsTheListsDecorationSize()
    {
        ZBComboBox box;
        auto* delegate = new TestDelegate(&box);
        box.SetItemDelegate(delegate);
        addItems(&box, heights({20}));
        (void)popupOf(&box)->MaximumItemSize();
        delegate->sizeCalls = 0;
        listOf(&box)->setIconSize(QSize(40, 41));
        QCOMPARE(box.GetIconSize(), QSize(40, 41));
        (void)popupOf(&box)->MaximumItemSize();
        QCOMPARE(delegate->sizeCalls, 1);
    }

    void deletionFromSlots()
    {
        // Slots that delete the combo box in the middle of its own signals.
        QPointer<ZBComboBox> box = new ZBComboBox();
        addItems(box, heights({20, 20, 20}));
        box->SetCurrentIndex(1);
        connect(box.data(), qOverload<int, int>(&ZBComboBox::CurrentIndexChanged), box.data(),
                [&box] { delete box.data(); });
        box->RemoveItem(1);
        QVERIFY(!box);

        box = new ZBComboBox();
        addItems(box, heights({20, 20}));
        connect(box.data(), &ZBComboBox::ItemDataChanged, box.data(), [&box] { delete box.data(); });
        box->SetItemData(0, 5);
        QVERIFY(!box);

        // Deleted while its list is open.
        auto* window = new QWidget;
        auto* owned = new ZBComboBox(window);
        addItems(owned, heights({20}));
        window->show();
        TestUtil::SendMouse(owned, QEvent::MouseButtonPress, QPoint(2, 2));
        QVERIFY(popupOf(owned)->isVisible());
        delete window;
    }
};

QTEST_MAIN(tst_ZBComboBox)
#include "tst_zbcombobox.moc"
