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
#include <QPointer>
#include <QResizeEvent>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

using namespace TestUtil;

namespace {

// Besides positions in the row's table: Twice adds widget 1 again at 10, Remove + k takes widget k out.
constexpr int End = -1, Twice = INT_MIN + 1, Remove = INT_MIN + 2;

// Row 0 of the grid of `host` by column: object names, "-" if empty, "?" for other items but the end spacer.
QString columns(QWidget* host)
{
    auto* grid = qobject_cast<QGridLayout*>(host->layout());
    QStringList names;
    for (int i = 0, r, column, span; i < grid->count(); ++i) {
        grid->getItemPosition(i, &r, &column, &span, &span);
        QWidget* w = grid->itemAt(i)->widget();
        while (!(!w && column == 1000) && names.size() <= column)
            names << QStringLiteral("-");
        if (w || column != 1000)
            names[column] =
                w && r == 0 && names[column] == QLatin1String("-") ? w->objectName() : QStringLiteral("?");
    }
    return names.join(QLatin1Char(' '));
}

// Records the width change of the last resize of the widgets it filters.
struct ResizeLog : QObject
{
    int change = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (auto* resize = e->type() == QEvent::Resize ? static_cast<QResizeEvent*>(e) : nullptr)
            change = resize->size().width() - resize->oldSize().width();
        return false;
    }
};

template <typename T = QWidget>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

class tst_ZBDockToolBars : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { CheckNoLeftoverWindows(); }

    void positionRow_data()
    {
        QTest::addColumn<QList<int>>("positions"); // widget i is added at positions[i]
        QTest::addColumn<QString>("expected");
        QTest::newRow("equal positions keep the order of adding") << QList<int>{End, End, 0} << "0 2 1";
        QTest::newRow("end after a high position") << QList<int>{5, End, 6, 5} << "0 3 1 2";
        QTest::newRow("negative positions sort before 0") << QList<int>{0, -3, -2, -4} << "3 1 2 0";
        QTest::newRow("extremes") << QList<int>{INT_MAX, End, INT_MIN, End} << "2 0 1 3";
        QTest::newRow("removal closes the gap")
            << QList<int>{0, 10, 20, 30, 15, Remove + 1, 25} << "0 4 2 6 3";
        QTest::newRow("twice: stands at its first place") << QList<int>{0, 10, Twice, 20, 5} << "0 4 1 - 3";
        QTest::newRow("twice, removed: every entry goes")
            << QList<int>{0, 10, Twice, 20, Remove + 1, 5} << "0 5 3";
        QTest::newRow("twice, another removed: the second entry's column empty")
            << QList<int>{0, 10, 10, Twice, 20, Remove + 2} << "0 1 - 4";
    }

    void positionRow()
    {
        QFETCH(QList<int>, positions);
        QWidget host;
        ZBPositionRow row(&host, new QGridLayout(&host), true);
        for (int i = 0; i < positions.size(); ++i) {
            QWidget* one = Named(&host, "1");
            if (const qint64 k = qint64(positions[i]) - Remove; k >= 0 && k < 10) {
                QWidget* gone = Named(&host, qPrintable(QString::number(k)));
                QVERIFY(row.Remove(gone) && !row.Remove(gone));
            } else
                row.Insert(positions[i] == Twice ? one
                                                 : named(new QWidget(&host), qPrintable(QString::number(i))),
                           positions[i] == Twice ? 10 : positions[i]);
        }
        QVERIFY(row.Insert(&host, 0) < 0 && row.Insert(nullptr, 0) < 0);
        QTEST(columns(&host), "expected");
        qDeleteAll(host.findChildren<QWidget*>()); // destroyed: out of the row at once
        QVERIFY(row.Entries().isEmpty() && columns(&host).isEmpty());
    }

    void toolBar()
    {
        QAction outside(QStringLiteral("Print"));
        QPointer<ZBToolBar> bar = new ZBToolBar;
        QWidget* content = Named(bar, "ZBTOOLBARCONTENT");
        bar->setIconSize(QSize(20, 20)), bar->show();
        bar->AddSeparator(5);
        bar->AddWidget(named(new QWidget, "w")); // position 6
        QWidget* hidden = named(new QWidget(bar), "hidden");
        hidden->hide(); // on purpose: stays hidden
        bar->AddWidget(hidden, 6);
        bar->AddSpacer(5);
        QAction* own = bar->AddAction(QIcon(), QStringLiteral("Save"), QStringLiteral("tip")); // at 7
        bar->AddAction(&outside, -5);
        bar->AddAction(&outside, 0); // already there
        for (QToolButton* b : content->findChildren<QToolButton*>())
            b->setObjectName(b->defaultAction()->text());
        QCOMPARE(columns(content),
                 "Print ZBTOOLBARSEPARATOR  w hidden Save"); // the spacer: no name
        QVERIFY(Named(bar, "ZBTOOLBARSEPARATOR")->maximumWidth() == 1 &&
                bar->Actions() == (QList<QAction*>{own, &outside}));
        auto* b = Named<QToolButton>(bar, "Save");
        QTRY_VERIFY(b->isVisible() && hidden->isHidden() && b->iconSize() == QSize(20, 20));
        delete own;
        QVERIFY(bar->Actions() == QList<QAction*>{&outside} &&
                columns(content) == "Print ZBTOOLBARSEPARATOR  w hidden");
        delete bar; // the surviving action must not reach it afterwards (ASan build)
        outside.setText(QStringLiteral("Print all"));
    }

    void container()
    {
        QWidget window;
        auto* c = new ZBToolBarContainer(&window);
        (new QVBoxLayout(&window))->addWidget(c);
        window.setGeometry(60, 60, 320, 200);
        QWidget* row = Named(c, "CONTAINER");
        auto *a = named(new QLabel(QStringLiteral("A")), "a"), *b = named(new QLabel, "b");
        a->setWindowTitle(QStringLiteral("A"));
        c->AddWidget(a, 5), c->AddWidget(b, 0);
        named(c->AddButton(QStringLiteral("Go"), QIcon(), QString(), 5), "Go");
        QAction action(QStringLiteral("Act"));
        c->AddAction(&action, 1);
        c->AddWidget(a, 0), c->AddWidget(c, 0); // added before, or the container itself: ignored
        named(c->findChildren<QToolButton*>().last(), "Act");
        QCOMPARE(columns(row), "b Act a Go");
        auto* menu = c->findChild<QMenu*>();
        const QList<QAction*> entries = menu->actions(); // in the order of adding: A, "", Go, Act
        QVERIFY(entries.size() == 4 && entries[0]->text() == "A" && !entries[0]->isChecked());
        window.show();
        QTRY_VERIFY(entries[0]->isChecked() && entries[3]->isChecked());
        // Entry, tool and action follow each other, without echo, also after the window hid and showed.
        QSignalSpy toggled(entries[0], &QAction::toggled), changed(&action, &QAction::changed);
        entries[0]->setChecked(false);
        QVERIFY(a->isHidden());
        a->show();
        QVERIFY(entries[0]->isChecked() && toggled.count() == 2);
        action.setVisible(false);
        QVERIFY(Named(row, "Act")->isHidden() && !entries[3]->isChecked() && changed.count() == 1);
        entries[3]->setChecked(true);
        QVERIFY(action.isVisible() && !Named(row, "Act")->isHidden());
        window.hide();
        QVERIFY(!entries[0]->isChecked() && !action.isVisible() && !a->isHidden());
        window.show(), entries[0]->trigger();
        QVERIFY(entries[3]->isChecked() && action.isVisible() && a->isHidden());
        // Removal closes the gap but keeps the entry; deleted tools and actions take their entries.
        c->RemoveWidget(b);
        entries[1]->setChecked(false);
        QVERIFY(columns(row) == "Act a Go" && b->isHidden());
        delete a;
        c->AddAction(&action, 0); // added before: ignored
        QCOMPARE(menu->actions(), entries.mid(1));
        // The menu opens below the right end; a press that closes it is replayed only outside the container
        // (the offscreen platform never replays, so the flag itself is checked).
        const QPoint global = c->mapToGlobal(QPoint(0, 0));
        QTest::mouseClick(c, Qt::RightButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
        QVERIFY(!menu->isVisible());
        for (const QPoint& at : {global + QPoint(10, 5), global + QPoint(10, -20)}) {
            QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
            QTRY_VERIFY(menu->isVisible());
            QVERIFY(menu->geometry().right() == global.x() + c->width() - 1 &&
                    menu->y() == global.y() + c->height() + 1);
            SendMouse(menu, QEvent::MouseButtonPress, menu->mapFromGlobal(at));
            QCOMPARE(menu->testAttribute(Qt::WA_NoMouseReplay), c->rect().contains(c->mapFromGlobal(at)));
            QTRY_VERIFY(!menu->isVisible());
        }
        delete c; // the surviving action must not reach it afterwards (ASan build)
        action.setVisible(false);
    }

    void dock()
    {
        QMainWindow window;
        auto* dock = new ZBDockWidget(QStringLiteral("Dock"), &window);
        QPointer<QLabel> inner = new QLabel(QStringLiteral("inner"));
        inner->setMinimumSize(120, 120);
        dock->SetWidget(inner), dock->SetWidget(inner);          // the same again: kept
        dock->SetWidget(Named(dock, "ZBDOCKWIDGETMAINCONTENT")); // its own containers are refused
        window.addDockWidget(Qt::LeftDockWidgetArea, dock);
        window.setGeometry(40, 40, 500, 400), window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(CellOf(GridOf(dock, "ZBDOCKWIDGETCONTENT"), inner), qMakePair(0, 0));
        QVERIFY(dock->titleBarWidget() == dock->TitleBar() && TitleText(dock) == "Dock" &&
                dock->FooterBar()->isHidden());
        dock->setWindowTitle(QStringLiteral("Files"));
        QCOMPARE(TitleText(dock), "Files");
        dock->SetTitle(QStringLiteral("Only the bar"));
        QVERIFY(TitleText(dock) == "Only the bar" && dock->windowTitle() == "Files");
        // Floating: margins, mouse tracking, 6 pixels more width, then resize cursors on three borders.
        QWidget* main = Named(dock, "ZBDOCKWIDGETMAINCONTENT");
        const auto cursorAfter = [&](QEvent::Type type, const QPoint& inDock) {
            main->setCursor(Qt::WaitCursor); // a zone that sets nothing leaves it
            SendMouse(main, type, main->mapFrom(dock, inDock), Qt::NoButton, Qt::NoButton);
            return main->cursor().shape();
        };
        QCOMPARE(cursorAfter(QEvent::MouseMove, main->geometry().bottomLeft() + QPoint(1, -1)),
                 Qt::WaitCursor);
        ResizeLog log; // the last resize during the change is the dock's own
        main->installEventFilter(&log);
        for (bool floating : {true, false, true}) {
            dock->setFloating(floating);
            QCOMPARE(main->layout()->contentsMargins(), floating ? QMargins(3, 0, 3, 3) : QMargins());
            QVERIFY(main->hasMouseTracking() == floating && log.change == (floating ? 6 : -6));
        }
        const QPoint edge = main->frameGeometry().bottomLeft() + QPoint(1, -1);
        QCOMPARE(cursorAfter(QEvent::MouseMove, edge), Qt::SizeBDiagCursor);
        QCOMPARE(cursorAfter(QEvent::MouseButtonRelease, edge), Qt::SizeBDiagCursor);
        dock->setFixedWidth(dock->width()); // the zones follow the dock's size limits
        QCOMPARE(cursorAfter(QEvent::MouseMove, edge), Qt::SizeVerCursor);
        Named<QToolButton>(dock->TitleBar(), "CLOSEBUTTON")->click(), dock->SetWidget(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dock->isHidden() && !inner && !dock->GetWidget());
    }
};

QTEST_MAIN(tst_ZBDockToolBars)
#include "tst_zbdocktoolbars.moc"
