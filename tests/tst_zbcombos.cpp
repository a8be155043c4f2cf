// The combo box ZBComboBox with its popup and item size cache.
#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBFooterBar.h"
#include "ZBItemSizeCache_p.h"
#include "ZBPopupWidget_p.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QBoxLayout>
#include <QListView>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

using namespace TestUtil;

namespace {

// Item sizes come from each item's Qt::SizeHintRole, which the list view reads for its rows too.
struct TestDelegate : ZBComboBoxItemDelegate
{
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;
    void PaintCurrentItem(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        ++sizeCalls;
        return index.data(Qt::SizeHintRole).toSize();
    }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return {40, 12}; }
    mutable int sizeCalls = 0;
};

// A combo box with items "A", "B", ... of width 50 and the given heights, and a log of its signals.
struct Box : ZBComboBox
{
    explicit Box(const QVector<int>& heights, QWidget* parent = nullptr) : ZBComboBox(parent)
    {
        for (int i = 0; i < heights.size(); ++i) {
            InsertItem(i);
            SetItemData(i, QString(QChar('A' + i)), Qt::DisplayRole);
            SetItemData(i, QSize(50, heights[i]), Qt::SizeHintRole);
        }
        log.Record(this, qOverload<int, int>(&ZBComboBox::CurrentIndexChanged), QStringLiteral("cur"));
        log.Record(this, qOverload<int>(&ZBComboBox::CurrentIndexChanged), QStringLiteral("cur"));
        log.Record(this, &ZBComboBox::ItemInserted, QStringLiteral("ins"));
        log.Record(this, &ZBComboBox::ItemRemoved, QStringLiteral("rem"));
        log.Record(this, &ZBComboBox::ItemDataChanged, QStringLiteral("data"));
    }
    ZBPopupWidget* Popup() const { return findChild<ZBPopupWidget*>(); }
    QListView* List() const { return Named<QListView>(this, "ZBCOMBOBOXPOPUPWIDGETITEMAREA"); }
    void Wheel(int delta)
    {
        QWheelEvent event(QPointF(5, 5), QPointF(mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(this, &event);
    }
    SignalLog log;
};

} // namespace

class tst_ZBCombos : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CheckNoLeftoverWindows(); }

    // Steps: "+first,count,height" inserts rows, "-first,count" removes rows, "~first,count" forgets sizes,
    // "?" asks for the largest size.
    void sizeCache_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<int>>("asked"); // how many sizes each "?" asked for
        QTest::newRow("the tallest removed") << "+0,2,10 +2,1,30 ? -2,1 ? -0,2 ?" << QList<int>{3, 0, 0};
        QTest::newRow("rows inserted before a forgotten one")
            << "+0,2,10 +2,1,30 ? ~2,1 +0,2,5 ?" << QList<int>{3, 3};
        QTest::newRow("rows removed across forgotten ones")
            << "+0,2,10 +2,1,40 +3,2,10 ? ~1,3 -0,2 ?" << QList<int>{5, 2};
    }

    void sizeCache()
    {
        QFETCH(QString, steps);
        QList<int> model, asked; // the rows' heights, and how many a step asked for
        ZBItemSizeCache cache;
        const ZBItemSizeCache::SizeOf sizeOf = [&](int row) {
            ++asked.last();
            return QSize(model.at(row), model.at(row));
        };
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            const QStringList n = step.mid(1).split(QLatin1Char(','));
            const int first = n.value(0).toInt(), count = n.value(1).toInt(),
                      end = qMin(first + count, int(model.size()));
            if (step[0] == QLatin1Char('+')) {
                for (int i = 0; first >= 0 && first <= model.size() && i < count; ++i)
                    model.insert(first, n.value(2).toInt());
                cache.InsertRows(first, count);
            } else if (step[0] == QLatin1Char('-')) {
                model.erase(model.begin() + qMin(first, int(model.size())), model.begin() + end);
                cache.RemoveRows(first, count);
            } else if (step[0] == QLatin1Char('~')) {
                cache.Invalidate(first, first + count - 1);
            } else {
                asked << 0;
                const int tallest = model.isEmpty() ? 0 : *std::max_element(model.begin(), model.end());
                ZB_STEP_COMPARE(asked.size(), cache.Maximum(sizeOf), QSize(tallest, tallest));
            }
        }
        QCOMPARE(cache.RowCount(), model.size());
        QTEST(asked, "asked");
    }

    // Each change of the current index is announced once, both indexes first; a removal announces the
    // current index again (by number, not by item) and then itself.
    void indexSignals()
    {
        Box box({10, 20, 30, 40});
        box.SetItemData(2, QStringLiteral("payload"), Qt::UserRole + 5);
        QListView* list = box.List();
        box.log.Take();
        const std::pair<std::function<void()>, const char*> steps[] = {
            {[&] { box.SetItemData(3, 42); }, "data(3,3)"}, // role defaults to Qt::UserRole
            {[&] { box.Wheel(120); }, ""},                  // no current item: the wheel finds nothing
            {[&] { box.Wheel(-120); }, "cur(-1,0) cur(0)"},
            {[&] { box.SetCurrentIndex(3); }, "cur(0,3) cur(3)"},
            {[&] { list->setCurrentIndex(list->model()->index(1, 0)); }, "cur(3,1) cur(1)"},
            {[&] {
                 box.RaiseItem(2); // one announcement; the data moves with the row
                 box.log.seen << box.GetItemData(0, Qt::UserRole + 5).toString();
             },
             "cur(0,0) cur(0) payload"},
            // A row that does not exist clears the list's current item, which is announced first.
            {[&] { box.SetCurrentIndex(7); }, "cur(7,-1) cur(-1) cur(0,7) cur(7)"},
            {[&] { box.InsertItem(0); }, "ins(0)"},
            {[&] { box.SetCurrentIndex(2); }, "cur(-1,2) cur(2)"},
            {[&] { box.RemoveItem(0); }, "cur(-2,2) cur(2) rem(0)"}, // above the current one
            {[&] { box.RemoveItem(3); }, "cur(-2,2) cur(2) rem(3)"},
            {[&] { box.RemoveItem(2); }, "cur(-2,1) cur(1) rem(2)"}, // the current one, last
        };
        for (const auto& [step, expected] : steps) {
            step();
            ZB_STEP_COMPARE(expected, box.log.Take(), QString::fromLatin1(expected));
        }
    }

    void sizes()
    {
        Box box(QVector<int>(11, 20) << 35);
        box.SetPopupTitle(QStringLiteral("A title wider than the items"));
        // The list's own delegate sizes the items until the box's is installed; eight rows of the tallest.
        QCOMPARE(box.Popup()->ListHeight(), 280);
        auto* delegate = new TestDelegate(&box);
        box.SetItemDelegate(delegate);
        const int titleWidth = box.Popup()->TitleBar()->sizeHint().width();
        QCOMPARE(box.sizeHint(), QSize(qMax(50, titleWidth), 35));
        QCOMPARE(box.minimumSizeHint(), QSize(qMax(40, titleWidth), 12));
        QCOMPARE(delegate->sizeCalls, 12); // each item asked once
    }

    void popup()
    {
        QWidget window;
        auto* box = new Box({20, 20, 20, 20, 20, 30}, &window);
        (new QVBoxLayout(&window))->addWidget(box);
        box->SetItemDelegate(new TestDelegate(box));
        (new QHBoxLayout(box->GetPopupFooter()->Content()))->addWidget(new QLabel(QStringLiteral("6")));
        box->ShowPopupFooterBar();
        window.setGeometry(100, 100, 220, 60); // room for the title bar above the box
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ZBPopupWidget* popup = box->Popup();
        QListView* list = box->List();
        const auto open = [&](Qt::MouseButton button) {
            SendMouse(box, QEvent::MouseButtonPress, {5, 5}, button, button);
            return QLatin1String(popup->isVisible() && QTest::qWaitForWindowExposed(popup) ? "open"
                                                                                           : "closed");
        };
        QCOMPARE(open(Qt::RightButton), "closed");
        QCOMPARE(open(Qt::MiddleButton), "closed");
        QCOMPARE(open(Qt::LeftButton), "open");
        // The list lies over the box, as wide, six rows of the tallest high; title bar above, footer below.
        const QPoint topLeft = box->mapToGlobal(QPoint(0, 0));
        QCOMPARE(QRect(list->mapToGlobal(QPoint(0, 0)), QSize(popup->width(), list->height())),
                 QRect(topLeft, QSize(box->width(), 6 * 30)));
        QCOMPARE(popup->geometry().bottom(), topLeft.y() + 6 * 30 + popup->GetFooter()->height() - 1);
        // Opening chooses nothing, even when the list takes the focus without a current item.
        popup->activateWindow();
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(std::make_pair(popup->isVisible(), box->CurrentIndex()), std::make_pair(true, -1));
        QEvent deactivate(QEvent::WindowDeactivate);
        const std::function<void()> closers[] = {
            [&] { QTest::keyClick(list, Qt::Key_Down); }, // the user chooses the first item
            [&] {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list->visualRect(list->model()->index(3, 0)).center());
            },
            [&] { box->Wheel(-120); },
            [&] { QTest::keyClick(list, Qt::Key_Escape); }, // the popup hides itself
            [&] { QApplication::sendEvent(popup, &deactivate); },
        };
        for (int i = 0; i < int(std::size(closers)); ++i) {
            QCOMPARE(open(Qt::LeftButton), "open");
            closers[i]();
            ZB_STEP_COMPARE(i, popup->isVisible(), false);
        }
        QCOMPARE(box->CurrentIndex(), 4);
        // Over the box wherever it fits on the box's screen, elsewhere moved onto its work area: the
        // window in the middle, top-left, at the bottom, over the right edge, over the bottom-right corner.
        const QRect available = window.screen()->availableGeometry();
        const QSize room = available.size() - window.size();
        const QPointF places[] = {{0.5, 0.3}, {0, 0}, {0.5, 1}, {1.2, 0.5}, {1.1, 1.1}};
        for (int i = 0; i < int(std::size(places)); ++i) {
            QTest::keyClick(list, Qt::Key_Escape);
            window.move(available.topLeft() +
                        QPoint(room.width() * places[i].x(), room.height() * places[i].y()));
            ZB_STEP_COMPARE(i, open(Qt::LeftButton), "open");
            const QRect place(box->mapToGlobal(QPoint(0, -popup->TitleBar()->height())), popup->size());
            ZB_STEP_COMPARE(i, available.intersected(popup->geometry()), popup->geometry());
            ZB_STEP_COMPARE(i, popup->geometry() == place, available.contains(place));
        }
        delete box; // with its list open
    }
};

QTEST_MAIN(tst_ZBCombos)
#include "tst_zbcombos.moc"
