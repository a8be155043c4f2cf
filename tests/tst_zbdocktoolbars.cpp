// The dock widget, the tool bar, the tool bar container and their position-ordered row.
#include "ZBDockWidget.h"
#include "ZBFooterBar.h"
#include "ZBPositionRow_p.h"
#include "ZBTitleBar.h"
#include "ZBToolBar.h"
#include "ZBToolBarContainer.h"
#include "testutil.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QResizeEvent>
#include <QToolButton>
#include <climits>
#include <functional>

using namespace TestUtil;

class tst_ZBDockToolBars : public QObject
{
    Q_OBJECT

    // Besides positions in the row's table: Twice adds widget 1 again at 10, Remove + k takes widget k out.
    static constexpr int End = -1, Twice = INT_MIN + 1, Remove = INT_MIN + 2;

    struct ResizeLog : QObject // the width change of the last resize of the widgets it filters
    {
        int change = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (auto* resize = e->type() == QEvent::Resize ? static_cast<QResizeEvent*>(e) : nullptr)
                change = resize->size().width() - resize->oldSize().width();
            return false;
        }
    };

private slots:
    void cleanup() { CheckNoLeftoverWindows(); }

    void positionRow_data()
    {
        QTest::addColumn<QList<int>>("positions"); // widget i is added at positions[i]
        QTest::addColumn<QString>("expected");
        QTest::newRow("equal: in the order of adding") << QList<int>{End, End, 0} << "0 2 1";
        QTest::newRow("end after a high position") << QList<int>{5, End, 6, 5} << "0 3 1 2";
        QTest::newRow("negative before 0") << QList<int>{0, -3, -2, -4} << "3 1 2 0";
        QTest::newRow("extremes") << QList<int>{INT_MAX, End, INT_MIN, End} << "2 0 1 3";
        QTest::newRow("removal: no gap") << QList<int>{0, 10, 20, 30, 15, Remove + 1, 25} << "0 4 2 6 3";
        QTest::newRow("twice: at its first place") << QList<int>{0, 10, Twice, 20, 5} << "0 4 1 - 3";
    }

    void positionRow()
    {
        QFETCH(QList<int>, positions);
        QWidget host;
        ZBPositionRow row(&host, new QGridLayout(&host), true);
        for (int i = 0; i < positions.size(); ++i) {
            const qint64 k = qint64(positions[i]) - Remove;
            QWidget* gone = k >= 0 && k < 10 ? Named(&host, qPrintable(QString::number(k))) : nullptr;
            if (gone) // removed once; a braced list is read from left to right
                QCOMPARE((std::pair<bool, bool>{row.Remove(gone), row.Remove(gone)}),
                         std::make_pair(true, false));
            else if (positions[i] == Twice)
                row.Insert(Named(&host, "1"), 10);
            else
                row.Insert(Name(new QWidget(&host), qPrintable(QString::number(i))), positions[i]);
        }
        QTEST(RowNames(&host), "expected");
        qDeleteAll(host.findChildren<QWidget*>()); // destroyed: out of the row at once
        QCOMPARE(std::make_pair(row.Entries().isEmpty(), RowNames(&host)), std::make_pair(true, QString()));
    }

    void toolBar()
    {
        QAction outside(QStringLiteral("Print"));
        auto* bar = new ZBToolBar;
        QWidget* content = Named(bar, "ZBTOOLBARCONTENT");
        bar->setIconSize(QSize(20, 20));
        bar->show();
        bar->AddSeparator(5);
        bar->AddWidget(Name(new QWidget, "w")); // position 6
        QWidget* hidden = Name(new QWidget(bar), "hidden");
        hidden->hide(); // on purpose: stays hidden
        bar->AddWidget(hidden, 6);
        bar->AddSpacer(5);
        QAction* own = bar->AddAction(QIcon(), QStringLiteral("Save"), QStringLiteral("tip")); // at 7
        bar->AddAction(&outside, -5);
        for (QToolButton* b : content->findChildren<QToolButton*>())
            b->setObjectName(b->defaultAction()->text());
        QCOMPARE(RowNames(content), "Print ZBTOOLBARSEPARATOR  w hidden Save"); // the spacer: no name
        QCOMPARE(Named(bar, "ZBTOOLBARSEPARATOR")->maximumWidth(), 1);
        QCOMPARE(bar->Actions(), (QList<QAction*>{own, &outside}));
        QTRY_VERIFY(Named(bar, "Save")->isVisible());
        QCOMPARE(std::make_pair(hidden->isHidden(), Named<QToolButton>(bar, "Save")->iconSize()),
                 std::make_pair(true, QSize(20, 20)));
        delete bar; // the surviving action must not reach it afterwards (ASan build)
        outside.setText(QStringLiteral("Print all"));
    }

    void container()
    {
        auto* c = new ZBToolBarContainer;
        c->setGeometry(60, 60, 320, 40);
        QWidget* row = Named(c, "CONTAINER");
        auto *a = Name(new QLabel(QStringLiteral("A")), "a"), *b = Name(new QLabel, "b");
        a->setWindowTitle(QStringLiteral("A"));
        c->AddWidget(a, 5);
        c->AddWidget(b, 0);
        Name(c->AddButton(QStringLiteral("Go"), QIcon(), QString(), 5), "Go");
        QAction action(QStringLiteral("Act"));
        c->AddAction(&action, 1);
        QWidget* act = Name(c->findChildren<QToolButton*>().last(), "Act");
        QCOMPARE(RowNames(row), "b Act a Go");
        auto* menu = c->findChild<QMenu*>();
        const QList<QAction*> entries = menu->actions(); // in the order of adding: A, "", Go, Act
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries[0]->text(), "A");
        // Entries of a and Act checked, a hidden, the tool Act hidden, the action visible, and the signals.
        SignalLog log;
        log.Record(entries[0], &QAction::toggled, QStringLiteral("toggled"));
        log.Record(&action, &QAction::changed, QStringLiteral("changed"));
        const auto state = [&] {
            return QString::asprintf("%d%d%d%d%d %s", entries[0]->isChecked(), entries[3]->isChecked(),
                                     a->isHidden(), act->isHidden(), action.isVisible(),
                                     qPrintable(log.Take()));
        };
        // Entry, tool and action follow each other, without echo, also after the container hid and showed.
        const std::pair<std::function<void()>, const char*> steps[] = {
            {[] {}, "00001 "}, // not shown yet
            {[&] { c->show(); }, "11001 toggled(1)"},
            {[&] { entries[0]->setChecked(false); }, "01101 toggled(0)"},
            {[&] { a->show(); }, "11001 toggled(1)"},
            {[&] { action.setVisible(false); }, "10010 changed()"},
            {[&] { entries[3]->setChecked(true); }, "11001 changed()"},
            {[&] { c->hide(); }, "00000 toggled(0) changed()"},
            {[&] { c->show(); }, "11001 toggled(1) changed()"},
            {[&] { entries[0]->trigger(); }, "01101 toggled(0)"},
        };
        for (const auto& [step, expected] : steps) {
            step();
            ZB_STEP_COMPARE(expected, state(), QString::fromLatin1(expected));
        }
        // Removal closes the gap but keeps the entry; deleted tools and actions take their entries.
        c->RemoveWidget(b);
        entries[1]->setChecked(false);
        QCOMPARE(std::make_pair(RowNames(row), b->isHidden()),
                 std::make_pair(QStringLiteral("Act a Go"), true));
        delete a;
        QCOMPARE(menu->actions(), entries.mid(1));
        // The menu opens below the right end; a press that closes it is replayed (the flag) only outside.
        for (const QPoint& at : {QPoint(10, 5), QPoint(10, -20)}) {
            QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(QPoint(menu->geometry().right(), menu->y()),
                     c->mapToGlobal(QPoint(c->width() - 1, c->height() + 1)));
            SendMouse(menu, QEvent::MouseButtonPress, menu->mapFromGlobal(c->mapToGlobal(at)));
            QCOMPARE(menu->testAttribute(Qt::WA_NoMouseReplay), c->rect().contains(at));
            QTRY_VERIFY(!menu->isVisible());
        }
        delete c; // the surviving action must not reach it afterwards (ASan build)
        action.setVisible(false);
    }

    void dock()
    {
        QMainWindow window;
        auto* dock = new ZBDockWidget(QStringLiteral("Dock"), &window);
        auto* inner = new QLabel(QStringLiteral("inner"));
        inner->setMinimumSize(120, 120);
        dock->SetWidget(inner);
        window.addDockWidget(Qt::LeftDockWidgetArea, dock);
        window.setGeometry(40, 40, 500, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(CellOf(GridOf(dock, "ZBDOCKWIDGETCONTENT"), inner), qMakePair(0, 0));
        QVERIFY(dock->FooterBar()->isHidden());
        QCOMPARE(dock->titleBarWidget(), dock->TitleBar());
        // Floating: margins, mouse tracking, 6 pixels more width and resize cursors; docked: none of them.
        QWidget* main = Named(dock, "ZBDOCKWIDGETMAINCONTENT");
        const auto cursorAfter = [main](QEvent::Type type) { // just inside the bottom-left corner
            main->setCursor(Qt::WaitCursor);                 // a zone that sets nothing leaves it
            SendMouse(main, type, main->rect().bottomLeft() + QPoint(1, -1), Qt::NoButton, Qt::NoButton);
            return main->cursor().shape();
        };
        ResizeLog log; // the last resize during the change is the dock's own
        main->installEventFilter(&log);
        for (bool floating : {true, false, true}) {
            dock->setFloating(floating);
            QCOMPARE(main->layout()->contentsMargins(), floating ? QMargins(3, 0, 3, 3) : QMargins());
            QCOMPARE(std::make_tuple(main->hasMouseTracking(), log.change, cursorAfter(QEvent::MouseMove)),
                     std::make_tuple(floating, floating ? 6 : -6,
                                     floating ? Qt::SizeBDiagCursor : Qt::WaitCursor));
        }
        QCOMPARE(cursorAfter(QEvent::MouseButtonRelease), Qt::SizeBDiagCursor);
        dock->setFixedWidth(dock->width()); // the zones follow the dock's size limits
        QCOMPARE(cursorAfter(QEvent::MouseMove), Qt::SizeVerCursor);
    }
};

QTEST_MAIN(tst_ZBDockToolBars)
#include "tst_zbdocktoolbars.moc"
