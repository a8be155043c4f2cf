// Hostile input: widgets handed back and forth, indexes and sizes at the ends of int, huge texts.
#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBDockWidget.h"
#include "ZBFooterBar.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBMessageBox.h"
#include "ZBPopupInfo.h"
#include "ZBSettingsWidget.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <climits>
#include <functional>

namespace {

using TestUtil::OpenFrame;

struct Delegate : ZBComboBoxItemDelegate
{
    Delegate(int extent, QObject* parent) : ZBComboBoxItemDelegate(parent), e(extent) {}
    void PaintCurrentItem(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {e, e}; }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return {e, e}; }
    int e;
};

const char* const holders[] = {"Content", "Dock", "Sub", "Combo"}; // take the widgets handed back and forth
constexpr int Content = 0, Dock = 1, Sub = 2, Combo = 3;

} // namespace

class tst_Hostile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    // a survives set(a), set(b), set(a) ("back"), or a set on a second holder ("on"), before deletions run.
    void handedBack_data()
    {
        QTest::addColumn<int>("holder");
        QTest::addColumn<bool>("toOther");
        for (int h : {Content, Dock, Sub, Combo})
            for (bool toOther : {false, true})
                QTest::addRow("%s %s", holders[h], toOther ? "on" : "back") << h << toOther;
    }
    void handedBack()
    {
        QFETCH(int, holder);
        QFETCH(bool, toOther);
        OpenFrame frames[2];
        ZBDockWidget docks[2];
        ZBMdiSubWindow subs[2];
        ZBComboBox combos[2]; // the last one owns the delegates: installed ones stay the application's
        const auto make = [&]() -> QObject* {
            return holder == Combo ? static_cast<QObject*>(new Delegate(20, &combos[1])) : new QPushButton;
        };
        QPointer<QObject> a = make(), b = make();
        const std::function<void(int, QObject*)> sets[] = {
            [&](int i, QObject* o) { frames[i].ReplaceContent(qobject_cast<QPushButton*>(o)); },
            [&](int i, QObject* o) { docks[i].SetWidget(qobject_cast<QPushButton*>(o)); },
            [&](int i, QObject* o) { subs[i].SetWidget(qobject_cast<QPushButton*>(o)); },
            [&](int i, QObject* o) { combos[i].SetItemDelegate(static_cast<Delegate*>(o)); }};
        sets[holder](0, a);
        sets[holder](toOther ? 1 : 0, toOther ? a : b);
        sets[holder](0, toOther ? b : a);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(a, "a widget in use again was deleted");
        QCOMPARE(b.isNull(), !toOther);
    }

    // Indexes that overflow naive checks on each index-taking call; item sizes and texts that would take all
    // memory or time, sized within the screen; a dock given its own parts; a deleted footer content.
    void extremes()
    {
        ZBComboBox c;
        c.InsertItem(0);
        for (int i : {INT_MIN, -2, 1, 2, 4, INT_MAX}) { // 1 and 2 are the count at the time, 4 one more
            c.RemoveItem(i);
            c.InsertItem(i);
            c.RaiseItem(i);
            c.SetItemData(i, i);
            c.SetCurrentIndex(i);
        }
        QCOMPARE(qMakePair(c.GetItemCount(), c.CurrentIndex()), qMakePair(3, -1)); // count, current
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        for (int extent : {QWIDGETSIZE_MAX, INT_MAX / 2, INT_MAX}) {
            ZBComboBox box;
            box.SetItemDelegate(new Delegate(extent, &box));
            for (int i = 0; i < 9; ++i)
                box.InsertItem(i);
            box.show();
            TestUtil::SendMouse(&box, QEvent::MouseButtonPress, QPoint(1, 1));
            QVERIFY(box.findChild<ZBWidget*>()->height() <= screen.height());
        }
        for (const QString& t : {QString(1000000, QLatin1Char('x')), QStringLiteral("a\n").repeated(20000)}) {
            ZBMessageBox box; // as text and as title
            box.SetText(t);
            ZBWidget frame;
            for (ZBWidget* w : {static_cast<ZBWidget*>(&box), &frame}) {
                w->setWindowTitle(t);
                w->show();
                QCOMPARE(w->size().boundedTo(screen), w->size());
            }
        }
        // a sub-window far at the bottom right, minimised
        ZBMdiAreaWidget area;
        area.show();
        ZBMdiSubWindow* far = area.AddWidget(new QPushButton);
        far->move(INT_MAX - 10, INT_MAX - 10);
        far->ShowMinimized();
        QVERIFY(far->IsMinimized());
        ZBDockWidget dock; // its own parts cannot become its widget
        for (QWidget* part : {static_cast<QWidget*>(dock.TitleBar()), static_cast<QWidget*>(dock.FooterBar()),
                              dock.FooterBar()->Content()}) {
            QWidget* const parent = part->parentWidget();
            dock.SetWidget(part);
            QVERIFY(!dock.GetWidget());
            QCOMPARE(part->parentWidget(), parent);
        }
        ZBTitleBar bar; // a dock, main window or tool bar as a background would lose the layout it runs on
        QMainWindow main;
        QToolBar tools;
        QWidget* const keepLayouts[] = {&dock, &main, &tools};
        for (QWidget* w : keepLayouts) {
            QLayout* const layout = w->layout();
            bar.ReplaceBackground(w);
            QCOMPARE(w->layout(), layout);
            QVERIFY(!w->parentWidget());
        }
        ZBFooterBar footer(nullptr);
        delete footer.Content();
        QVERIFY2(!footer.Content(), "a deleted footer content is still reported");
        ZBSettingsWidget panel; // an enum property written out of range is refused
        const int before = panel.property("state").toInt();
        for (int value : {2, -1, INT_MAX, INT_MIN})
            panel.setProperty("state", value);
        QCOMPARE(panel.property("state").toInt(), before);
    }

    // A popup, or the window it belongs to, deleted from each fade state the popup reaches, with the
    // popup's own timers and the frame's fade timer driving the fades.
    void deletedFromFades_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("parent");
        for (int state : {ZBWidget::Closed, ZBWidget::Intensifying, ZBWidget::Steady, ZBWidget::Hiding,
                          ZBWidget::Closing})
            for (bool parent : {false, true})
                QTest::addRow("%d %s", state, parent ? "parent" : "popup") << state << parent;
    }
    void deletedFromFades()
    {
        QFETCH(int, state);
        QFETCH(bool, parent);
        QPointer<QWidget> window = new QWidget(nullptr, Qt::FramelessWindowHint);
        window->setGeometry(100, 100, 300, 200);
        window->show();
        ZBPopupInfo::ShowTextPopup(QStringLiteral("Saved"), QPixmap(), 0, window, 40, 80, 80);
        QPointer<ZBPopupInfo> popup = window->findChild<ZBPopupInfo*>();
        QVERIFY(popup);
        QWidget* victim = parent ? window.data() : popup.data();
        connect(popup, &ZBWidget::FadeStateChanged, victim, [victim, state](int now) {
            if (now == state)
                delete victim;
        });
        QTRY_VERIFY(!popup);
        delete window.data();
    }
};

QTEST_MAIN(tst_Hostile)
#include "tst_hostile.moc"
