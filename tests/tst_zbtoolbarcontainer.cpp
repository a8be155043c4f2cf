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

QList<QAction*> entries(ZBToolBarContainer* container)
{
    return container->findChild<QMenu*>()->actions();
}

QStringList entryTexts(ZBToolBarContainer* container)
{
    QStringList texts;
    for (QAction* e : entries(container))
        texts << e->text();
    return texts;
}

// The tools by column of the inner row.
QList<QWidget*> columns(ZBToolBarContainer* container)
{
    auto* grid =
        qobject_cast<QGridLayout*>(container->findChild<QWidget*>(QStringLiteral("CONTAINER"))->layout());
    QList<QWidget*> result;
    for (int i = 0; i < grid->count(); ++i)
        result << (grid->itemAtPosition(0, i) ? grid->itemAtPosition(0, i)->widget() : nullptr);
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
        container.AddWidget(a, 5);
        container.AddWidget(b, 0);
        QToolButton* go = container.AddButton(QStringLiteral("Go"), QIcon(), QString(), 5);
        container.AddWidget(a, 0); // added before: ignored
        container.AddWidget(&container, 0);
        QCOMPARE(columns(&container), (QList<QWidget*>{b, a, go}));
        QCOMPARE(entryTexts(&container), (QStringList{"A", "B", "Go"})); // in the order of adding

        // Removal closes the gap but keeps the entry, which still shows and hides the widget.
        container.RemoveWidget(b);
        QCOMPARE(columns(&container), (QList<QWidget*>{a, go}));
        entries(&container).at(1)->trigger();
        QVERIFY(!b->isHidden());

        // Deleted tools take their entries; deleted actions their buttons, and so their entries.
        auto* action = new QAction(QStringLiteral("Act"));
        container.AddAction(action, 0);
        container.AddAction(action, 1); // ignored
        QCOMPARE(entryTexts(&container), (QStringList{"A", "B", "Go", "Act"}));
        QPointer<QWidget> button = columns(&container).at(0);
        delete a;
        delete action;
        QVERIFY(button.isNull());
        QCOMPARE(entryTexts(&container), (QStringList{"B", "Go"}));
        QCOMPARE(columns(&container), (QList<QWidget*>{go}));
    }

    void checkMarksFollowToolsAndActions()
    {
        QWidget window;
        ZBToolBarContainer* container = containerIn(&window);
        QLabel* tool = label(QStringLiteral("Tool"));
        QAction action(QStringLiteral("Print"));
        container->AddWidget(tool, -1);
        container->AddAction(&action, -1);
        QAction* toolEntry = entries(container).at(0);
        QAction* actionEntry = entries(container).at(1);
        QVERIFY(!toolEntry->isChecked()); // nothing on screen yet
        window.show();
        QTRY_VERIFY(toolEntry->isChecked() && actionEntry->isChecked());
        QWidget* button = columns(container).at(1);

        QSignalSpy toggled(toolEntry, &QAction::toggled);
        toolEntry->setChecked(false);
        QVERIFY(tool->isHidden());
        tool->show();
        QVERIFY(toolEntry->isChecked());
        QCOMPARE(toggled.count(), 2); // no echo from the tool back to its entry

        QSignalSpy changed(&action, &QAction::changed);
        action.setVisible(false);
        QVERIFY(button->isHidden() && !actionEntry->isChecked());
        QCOMPARE(changed.count(), 1);
        actionEntry->setChecked(true);
        QVERIFY(action.isVisible() && !button->isHidden());

        // The window's hide and show events reach entries and actions, and hide nothing for good.
        window.hide();
        QVERIFY(!toolEntry->isChecked() && !actionEntry->isChecked() && !action.isVisible());
        QVERIFY(!tool->isHidden() && !button->isHidden());
        window.show();
        QVERIFY(toolEntry->isChecked() && actionEntry->isChecked() && action.isVisible());

        delete container; // the surviving action must not reach it afterwards (ASan build)
        action.setVisible(false);
    }

    void pressStripOpensMenuBelow()
    {
        QWidget window;
        ZBToolBarContainer* c = containerIn(&window);
        auto* menu = c->findChild<QMenu*>();
        c->AddWidget(label(QStringLiteral("Tool")), 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* row = c->findChild<QWidget*>(QStringLiteral("CONTAINER"));
        QTest::mouseClick(row, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(row->width() - 1, 1)); // a gap
        QTest::mouseClick(c, Qt::RightButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
        QVERIFY(!menu->isVisible());

        // Qt replays a press that closes a popup to the widget under it unless the popup says
        // otherwise; the offscreen platform never replays, so the flag itself is checked.
        const QPoint global = c->mapToGlobal(QPoint(0, 0));
        for (const QPoint& at : {global + QPoint(10, 5), global + QPoint(10, -20)}) {
            QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, 5));
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(menu->geometry().right(), global.x() + c->width() - 1);
            QCOMPARE(menu->y(), global.y() + c->height() + 1);
            TestUtil::SendMouse(menu, QEvent::MouseButtonPress, menu->mapFromGlobal(at));
            QCOMPARE(menu->testAttribute(Qt::WA_NoMouseReplay), c->rect().contains(c->mapFromGlobal(at)));
            QTRY_VERIFY(!menu->isVisible());
        }
    }
};

QTEST_MAIN(tst_ZBToolBarContainer)
#include "tst_zbtoolbarcontainer.moc"
