#include "ZBToolBar.h"
#include "testutil.h"

#include <QAction>
#include <QGridLayout>
#include <QPointer>
#include <QSignalSpy>
#include <QSpacerItem>
#include <QTest>
#include <QToolButton>

namespace {

QWidget* contentOf(ZBToolBar* bar)
{
    return bar->findChild<QWidget*>(QStringLiteral("ZBTOOLBARCONTENT"));
}

QGridLayout* gridOf(ZBToolBar* bar)
{
    return qobject_cast<QGridLayout*>(contentOf(bar)->layout());
}

// The widgets of row 0 by column, read from the layout; null for an empty column before the last
// tool. Fails the test on anything else in the grid but the trailing spacer at column 1000.
QList<QWidget*> columns(ZBToolBar* bar)
{
    QGridLayout* grid = gridOf(bar);
    QList<QWidget*> result;
    for (int i = 0; i < grid->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem* item = grid->itemAt(i);
        if (item->spacerItem()) {
            if (column != 1000)
                qWarning("spacer item at column %d", column);
            continue;
        }
        if (row != 0 || !item->widget() || column >= 1000)
            return {};
        while (result.size() <= column)
            result.append(nullptr);
        if (result.at(column))
            return {}; // two widgets in one cell
        result[column] = item->widget();
    }
    return result;
}

QList<QWidget*> makeWidgets(QObject* owner, int n)
{
    QList<QWidget*> widgets;
    for (int i = 0; i < n; ++i) {
        auto* w = new QWidget;
        w->setObjectName(QString::number(i));
        QObject::connect(owner, &QObject::destroyed, w, [w] { delete w; }); // unplaced ones die too
        widgets.append(w);
    }
    return widgets;
}

QString names(const QList<QWidget*>& widgets)
{
    QStringList list;
    for (QWidget* w : widgets)
        list << (w ? w->objectName() : QStringLiteral("-"));
    return list.join(QLatin1Char(' '));
}

} // namespace

class tst_ZBToolBar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void structure()
    {
        ZBToolBar bar(QStringLiteral("Tools"));
        QCOMPARE(bar.windowTitle(), QStringLiteral("Tools"));
        QVERIFY(bar.testAttribute(Qt::WA_TranslucentBackground));
        QWidget* content = contentOf(&bar);
        QVERIFY(content);
        QCOMPARE(bar.actions().size(), 1); // the content widget is the tool bar's only item
        QCOMPARE(bar.widgetForAction(bar.actions().first()), content);
        QCOMPARE(content->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QGridLayout* grid = gridOf(&bar);
        QCOMPARE(grid->horizontalSpacing(), 3);
        QCOMPARE(grid->contentsMargins(), QMargins());
        QCOMPARE(grid->count(), 1);
        QLayoutItem* spacer = grid->itemAtPosition(0, 1000);
        QVERIFY(spacer && spacer->spacerItem());
        QCOMPARE(spacer->expandingDirections(), Qt::Horizontal);
        QVERIFY(bar.Actions().isEmpty());
    }

    void ordering_data()
    {
        QTest::addColumn<QList<int>>("positions"); // widget i is added with positions[i]
        QTest::addColumn<QString>("expected");     // widget names by column
        QTest::newRow("equal positions keep the order of adding") << QList<int>{-1, -1, 0} << "0 2 1";
        QTest::newRow("end after a high position") << QList<int>{5, -1, 6, 5} << "0 3 1 2";
        QTest::newRow("negative positions sort before 0") << QList<int>{0, -3, -2} << "1 2 0";
        QTest::newRow("end after a negative position") << QList<int>{-3, -1, -2} << "0 1 2";
        QTest::newRow("descending") << QList<int>{3, 2, 1, 0} << "3 2 1 0";
        QTest::newRow("into the middle") << QList<int>{10, 30, 20, 20, 15} << "0 4 2 3 1";
        QTest::newRow("extremes") << QList<int>{INT_MAX, -1, INT_MIN, -1} << "2 0 1 3";
    }

    void ordering()
    {
        QFETCH(QList<int>, positions);
        QFETCH(QString, expected);
        ZBToolBar bar;
        const QList<QWidget*> widgets = makeWidgets(&bar, positions.size());
        for (int i = 0; i < positions.size(); ++i) {
            bar.AddWidget(widgets[i], positions[i]);
            QCOMPARE(widgets[i]->parentWidget(), contentOf(&bar));
        }
        QCOMPARE(names(columns(&bar)), expected);
    }

    void manyFrontInsertions()
    {
        // Every tool is moved on each insertion at the front; the columns must still match.
        ZBToolBar bar;
        const QList<QWidget*> widgets = makeWidgets(&bar, 300);
        for (QWidget* w : widgets)
            bar.AddWidget(w, 1000 - widgets.indexOf(w));
        QList<QWidget*> reversed(widgets.rbegin(), widgets.rend());
        QCOMPARE(columns(&bar), reversed);
    }

    void removalClosesTheGap()
    {
        ZBToolBar bar;
        const QList<QWidget*> w = makeWidgets(&bar, 5);
        for (int i = 0; i < 5; ++i)
            bar.AddWidget(w[i], i * 10); // positions 0 10 20 30 40
        w[4]->show();

        bar.RemoveWidget(w[1]);
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 2 3 4"));
        QCOMPARE(w[1]->parentWidget(), contentOf(&bar)); // not hidden, deleted or reparented
        QVERIFY(!w[1]->isHidden());

        // A later insertion behind the gap lands where its position says.
        auto* x = new QWidget(&bar);
        x->setObjectName(QStringLiteral("x"));
        bar.AddWidget(x, 25);
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 2 x 3 4"));
        bar.AddWidget(w[1], 10);
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 1 2 x 3 4"));

        bar.RemoveWidget(w[0]);
        bar.RemoveWidget(w[4]);
        bar.RemoveWidget(nullptr);
        bar.RemoveWidget(w[4]); // no longer in the row
        QCOMPARE(names(columns(&bar)), QStringLiteral("1 2 x 3"));
        bar.AddWidget(w[0], -1);
        QCOMPARE(names(columns(&bar)), QStringLiteral("1 2 x 3 0"));
    }

    void destroyedOrReparentedToolsLeaveTheRow()
    {
        ZBToolBar bar;
        const QList<QWidget*> w = makeWidgets(&bar, 5);
        for (int i = 0; i < 5; ++i)
            bar.AddWidget(w[i], i);

        delete w[1];
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 2 3 4"));

        w[3]->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 2 4"));

        QWidget elsewhere;
        w[2]->setParent(&elsewhere);
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 4"));
        bar.AddWidget(new QWidget, 0); // re-placing the row must not take the widget back
        QCOMPARE(w[2]->parentWidget(), &elsewhere);
        QCOMPARE(columns(&bar).size(), 3);
        QCOMPARE(columns(&bar).at(2), w[4]);
    }

    void sameWidgetTwice()
    {
        ZBToolBar bar;
        const QList<QWidget*> w = makeWidgets(&bar, 3);
        bar.AddWidget(w[0], 0);
        bar.AddWidget(w[1], 5);
        bar.AddWidget(w[2], 6);
        bar.AddWidget(w[1], 1); // two entries: the widget stands at the first, column 2 stays empty
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 1 - 2"));
        bar.RemoveWidget(w[1]); // removes every entry
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 2"));

        bar.AddWidget(w[1], 7);
        bar.AddWidget(w[1], 8);
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 2 1"));
        delete w[1];
        QCOMPARE(names(columns(&bar)), QStringLiteral("0 2"));
    }

    void refusedWidgets()
    {
        QWidget window;
        auto* bar = new ZBToolBar(&window);
        bar->AddWidget(nullptr);
        bar->AddWidget(bar);
        bar->AddWidget(&window, 3);
        bar->AddWidget(contentOf(bar));
        QVERIFY(columns(bar).isEmpty());
        QCOMPARE(bar->parentWidget(), &window);
    }

    void buttonsFollowIconSizeAndStyle()
    {
        ZBToolBar bar;
        bar.setIconSize(QSize(20, 20));
        bar.setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        QToolButton* first = bar.AddButton(QStringLiteral("Open"), QIcon(), QStringLiteral("Open a file"), 3);
        QToolButton* second = bar.AddButton(QIcon(), QStringLiteral("tip"));
        QCOMPARE(first->text(), QStringLiteral("Open"));
        QCOMPARE(first->toolTip(), QStringLiteral("Open a file"));
        QVERIFY(first->autoRaise());
        QCOMPARE(first->focusPolicy(), Qt::NoFocus);
        QVERIFY(second->text().isEmpty());
        QCOMPARE(columns(&bar), (QList<QWidget*>{first, second})); // -1 after position 3
        QCOMPARE(first->iconSize(), QSize(20, 20));
        // The style reaches the buttons only when it changes.
        QCOMPARE(first->toolButtonStyle(), Qt::ToolButtonIconOnly);

        bar.setIconSize(QSize(32, 32));
        bar.setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        for (QToolButton* b : {first, second}) {
            QCOMPARE(b->iconSize(), QSize(32, 32));
            QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        }
    }

    void separatorsAndSpacers()
    {
        ZBToolBar bar;
        auto* w = new QWidget(&bar);
        bar.AddSeparator(5);
        bar.AddWidget(w);
        bar.AddSpacer(5);
        const QList<QWidget*> row = columns(&bar);
        QCOMPARE(row.size(), 3);
        QWidget* separator = row.at(0);
        QWidget* spacer = row.at(1);
        QCOMPARE(row.at(2), w); // position 6, after both position-5 tools
        QCOMPARE(separator->objectName(), QStringLiteral("ZBTOOLBARSEPARATOR"));
        QCOMPARE(separator->minimumWidth(), 1);
        QCOMPARE(separator->maximumWidth(), 1);
        QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(spacer->maximumHeight(), 1);

        // The spacer shares the free width with the trailing spacer item.
        bar.resize(400, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QTRY_VERIFY(spacer->width() > 50);
        QVERIFY(w->x() > spacer->x() + spacer->width());
    }

    void toolsAddedToAShownBarAppearInOrder()
    {
        ZBToolBar bar;
        bar.resize(600, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QList<QWidget*> w = makeWidgets(&bar, 4);
        w[2]->hide(); // hidden on purpose: stays hidden
        for (int i = 0; i < 4; ++i)
            bar.AddWidget(w[i], 3 - i);
        QTRY_VERIFY(w[0]->isVisible() && w[1]->isVisible() && w[3]->isVisible());
        QVERIFY(w[2]->isHidden());
        QVERIFY(w[3]->geometry().right() < w[1]->geometry().left());
        QVERIFY(w[1]->geometry().right() < w[0]->geometry().left());
    }

    void actions()
    {
        ZBToolBar bar;
        QAction* own = bar.AddAction(QIcon(), QStringLiteral("Save"), QStringLiteral("Save the file"));
        QCOMPARE(own->parent(), &bar);
        QCOMPARE(own->toolTip(), QStringLiteral("Save the file"));
        QAction outside(QStringLiteral("Print"));
        auto* early = new QAction(QStringLiteral("Undo"), &bar);
        bar.AddAction(&outside);
        bar.AddAction(early, -5);
        bar.AddAction(&outside, 0); // already there
        bar.AddAction(nullptr, 0);
        QCOMPARE(bar.Actions(), (QList<QAction*>{own, &outside, early}));

        const QList<QWidget*> row = columns(&bar);
        QCOMPARE(row.size(), 3);
        QList<QToolButton*> buttons;
        for (QWidget* w : row)
            buttons << qobject_cast<QToolButton*>(w);
        QCOMPARE(buttons.at(0)->defaultAction(), early);
        QCOMPARE(buttons.at(1)->defaultAction(), own);
        QCOMPARE(buttons.at(2)->defaultAction(), &outside);
        QCOMPARE(buttons.at(1)->text(), QStringLiteral("Save"));

        // The button follows the action through its default action.
        own->setText(QStringLiteral("Save all"));
        QCOMPARE(buttons.at(1)->text(), QStringLiteral("Save all"));
        QSignalSpy triggered(own, &QAction::triggered);
        buttons.at(1)->click();
        QCOMPARE(triggered.count(), 1);

        // A destroyed action takes its button and its place in Actions() with it.
        QPointer<QToolButton> ownButton = buttons.at(1);
        delete own;
        QVERIFY(ownButton.isNull());
        QCOMPARE(bar.Actions(), (QList<QAction*>{&outside, early}));
        QCOMPARE(columns(&bar), (QList<QWidget*>{buttons.at(0), buttons.at(2)}));

        // A button the application deletes leaves its action behind until the action goes.
        delete buttons.at(0);
        QCOMPARE(columns(&bar), (QList<QWidget*>{buttons.at(2)}));
        delete early;
        QCOMPARE(bar.Actions(), (QList<QAction*>{&outside}));
        // A new action may reuse the address of a deleted one: it must not count as added.
        auto* fresh = new QAction(QStringLiteral("Fresh"), &bar);
        bar.AddAction(fresh, 1);
        QCOMPARE(bar.Actions().size(), 2);
        QCOMPARE(columns(&bar).size(), 2);
    }

    void destructionWithLiveActionsAndTools()
    {
        QAction survivor(QStringLiteral("Survivor"));
        QPointer<QWidget> tool = new QWidget;
        {
            ZBToolBar bar;
            bar.AddAction(&survivor);
            bar.AddAction(QIcon(), QStringLiteral("Own"), QString());
            bar.AddWidget(tool);
            bar.AddButton(QIcon(), QString());
        }
        QVERIFY(tool.isNull());
        // The survivor's destruction below must not reach the tool bar's freed state (ASan build).
    }
};

QTEST_MAIN(tst_ZBToolBar)
#include "tst_zbtoolbar.moc"
