#include "ZBToolBarContainer.h"
#include "testutil.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QMenu* menuOf(ZBToolBarContainer* container)
{
    return container->findChild<QMenu*>();
}

QStringList entryTexts(ZBToolBarContainer* container)
{
    QStringList texts;
    for (QAction* e : menuOf(container)->actions())
        texts << e->text();
    return texts;
}

// The tools by column of the inner row.
QList<QWidget*> columns(ZBToolBarContainer* container)
{
    auto* grid =
        qobject_cast<QGridLayout*>(container->findChild<QWidget*>(QStringLiteral("CONTAINER"))->layout());
    QList<QWidget*> result;
    while (result.size() < grid->count())
        result.append(nullptr);
    for (int i = 0; i < grid->count(); ++i)
        result[TestUtil::CellOf(grid, grid->itemAt(i)->widget()).second] = grid->itemAt(i)->widget();
    return result;
}

QLabel* label(const QString& title)
{
    auto* l = new QLabel(title);
    l->setWindowTitle(title);
    return l;
}

// A window holding a container, well inside the screen.
ZBToolBarContainer* containerIn(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    auto* container = new ZBToolBarContainer(window);
    layout->addWidget(container);
    layout->addStretch();
    window->setGeometry(60, 60, 320, 200);
    return container;
}

} // namespace

class tst_ZBToolBarContainer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void rowAndMenuEntries()
    {
        ZBToolBarContainer container;
        QLabel* a = label(QStringLiteral("A"));
        QLabel* b = label(QStringLiteral("B"));
        QLabel* untitled = label(QString());
        container.AddWidget(a, 5);
        container.AddWidget(b, 0);
        container.AddWidget(untitled, -1);
        QToolButton* go = container.AddButton(QStringLiteral("Go"), QIcon(), QString(), 5);
        container.AddWidget(a, 0); // added before: ignored
        container.AddWidget(&container, 0);
        QCOMPARE(columns(&container), (QList<QWidget*>{b, a, go, untitled}));
        QCOMPARE(entryTexts(&container), (QStringList{"A", "B", "", "Go"})); // in the order of adding

        // Removal closes the gap but keeps the entry, which still shows and hides the widget.
        container.RemoveWidget(a);
        QCOMPARE(columns(&container), (QList<QWidget*>{b, go, untitled}));
        menuOf(&container)->actions().at(0)->setChecked(true);
        menuOf(&container)->actions().at(0)->setChecked(false);
        QVERIFY(a->isHidden());

        // Deleted tools take their entries; deleted actions their buttons, and so their entries.
        auto* action = new QAction(QStringLiteral("Act"));
        container.AddAction(action, 0);
        container.AddAction(action, 1); // ignored
        QPointer<QWidget> button = columns(&container).at(1);
        delete b;
        delete action;
        QVERIFY(button.isNull());
        QCOMPARE(entryTexts(&container), (QStringList{"A", "", "Go"}));
        QCOMPARE(columns(&container), (QList<QWidget*>{go, untitled}));
    }

    void checkMarksFollowToolsAndActions()
    {
        QWidget window;
        ZBToolBarContainer* container = containerIn(&window);
        QLabel* tool = label(QStringLiteral("Tool"));
        QAction action(QStringLiteral("Print"));
        container->AddWidget(tool, -1);
        container->AddAction(&action, -1);
        QAction* toolEntry = menuOf(container)->actions().at(0);
        QAction* actionEntry = menuOf(container)->actions().at(1);
        QVERIFY(!toolEntry->isChecked()); // nothing on screen yet
        window.show();
        QTRY_VERIFY(toolEntry->isChecked() && actionEntry->isChecked());
        auto* button = qobject_cast<QToolButton*>(columns(container).at(1));
        QCOMPARE(button->defaultAction(), &action);

        QSignalSpy toggled(toolEntry, &QAction::toggled);
        toolEntry->setChecked(false);
        QVERIFY(tool->isHidden());
        tool->show();
        QVERIFY(toolEntry->isChecked());
        QCOMPARE(toggled.count(), 2); // no echo from the tool back to its entry

        QSignalSpy changed(&action, &QAction::changed);
        action.setVisible(false);
        QVERIFY(button->isHidden());
        QVERIFY(!actionEntry->isChecked());
        QCOMPARE(changed.count(), 1);
        actionEntry->setChecked(true);
        QVERIFY(action.isVisible() && !button->isHidden());

        // The window's hide and show events reach entries and actions, and hide nothing for good.
        window.hide();
        QVERIFY(!toolEntry->isChecked() && !actionEntry->isChecked());
        QVERIFY(!action.isVisible());
        QVERIFY(!tool->isHidden() && !button->isHidden());
        window.show();
        QVERIFY(toolEntry->isChecked() && actionEntry->isChecked() && action.isVisible());

        // The entry keeps the action's text of the moment of adding.
        action.setText(QStringLiteral("Print all"));
        QCOMPARE(button->text(), QStringLiteral("Print all"));
        QCOMPARE(actionEntry->text(), QStringLiteral("Print"));

        delete container; // the surviving action must not reach it afterwards (ASan build)
        action.setVisible(false);
    }

    void pressStripOpensMenuBelow()
    {
        QWidget window;
        ZBToolBarContainer* c = containerIn(&window);
        QMenu* menu = menuOf(c);
        QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
        QVERIFY(!menu->isVisible()); // an empty menu does not open
        QLabel* tool = label(QStringLiteral("Tool"));
        c->AddWidget(tool, 0);
        c->AddWidget(label(QStringLiteral("Other")), 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* row = c->findChild<QWidget*>(QStringLiteral("CONTAINER"));
        QTest::mouseClick(tool, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(2, 2));
        QTest::mouseClick(row, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(row->width() - 1, 1)); // a gap
        QTest::mouseClick(c, Qt::RightButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
        QVERIFY(!menu->isVisible());

        QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
        QTRY_VERIFY(menu->isVisible());
        const QPoint global = c->mapToGlobal(QPoint(0, 0));
        QCOMPARE(menu->geometry().right(), global.x() + c->width() - 1);
        QCOMPARE(menu->y(), global.y() + c->height() + 1);
        menu->hide();

        // Qt replays a press that closes a popup to the widget under it unless the popup says
        // otherwise; the offscreen platform never replays, so the flag itself is checked.
        for (const QPoint& at : {c->mapToGlobal(QPoint(10, 5)), c->mapToGlobal(QPoint(10, -20))}) {
            QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
            QTRY_VERIFY(menu->isVisible());
            TestUtil::SendMouse(menu, QEvent::MouseButtonPress, menu->mapFromGlobal(at));
            QCOMPARE(menu->testAttribute(Qt::WA_NoMouseReplay), c->rect().contains(c->mapFromGlobal(at)));
            QTRY_VERIFY(!menu->isVisible());
        }
    }
};

QTEST_MAIN(tst_ZBToolBarContainer)
#include "tst_zbtoolbarcontainer.moc"
