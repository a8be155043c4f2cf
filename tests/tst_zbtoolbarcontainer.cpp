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

QWidget* rowWidget(ZBToolBarContainer* container)
{
    return container->findChild<QWidget*>(QStringLiteral("CONTAINER"));
}

QMenu* menuOf(ZBToolBarContainer* container)
{
    return container->findChild<QMenu*>();
}

// The tools by column, read from the inner layout; null for an empty column.
QList<QWidget*> columns(ZBToolBarContainer* container)
{
    auto* grid = qobject_cast<QGridLayout*>(rowWidget(container)->layout());
    QList<QWidget*> result;
    for (int i = 0; i < grid->count(); ++i) {
        const QPair<int, int> cell = TestUtil::CellOf(grid, grid->itemAt(i)->widget());
        while (result.size() <= cell.second)
            result.append(nullptr);
        result[cell.second] = grid->itemAt(i)->widget();
    }
    return result;
}

QStringList entryTexts(ZBToolBarContainer* container)
{
    QStringList texts;
    for (QAction* entry : menuOf(container)->actions())
        texts << entry->text();
    return texts;
}

QAction* entryFor(ZBToolBarContainer* container, int index)
{
    return menuOf(container)->actions().value(index);
}

QLabel* label(const QString& title)
{
    auto* l = new QLabel(title);
    l->setWindowTitle(title);
    return l;
}

// A shown window holding a container, placed well inside the screen.
struct Window
{
    QWidget window;
    ZBToolBarContainer* container;

    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        container = new ZBToolBarContainer(&window);
        layout->addWidget(container);
        layout->addStretch();
        window.setGeometry(60, 60, 320, 200);
    }
    bool Show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

} // namespace

class tst_ZBToolBarContainer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void structure()
    {
        ZBToolBarContainer container;
        QCOMPARE(container.layout()->contentsMargins(), QMargins(0, 0, 10, 0));
        QWidget* row = rowWidget(&container);
        QVERIFY(row);
        QCOMPARE(row->parentWidget(), &container);
        QVERIFY(row->testAttribute(Qt::WA_NoMousePropagation));
        auto* grid = qobject_cast<QGridLayout*>(row->layout());
        QVERIFY(grid);
        QCOMPARE(grid->horizontalSpacing(), 5);
        QCOMPARE(grid->count(), 0);
        QVERIFY(menuOf(&container));
        QVERIFY(menuOf(&container)->actions().isEmpty());
    }

    void rowAndMenuEntries()
    {
        ZBToolBarContainer container;
        QLabel* a = label(QStringLiteral("A"));
        QLabel* b = label(QStringLiteral("B"));
        QLabel* untitled = label(QString());
        container.AddWidget(a, 5);
        container.AddWidget(b, 0);
        container.AddWidget(untitled, -1);
        QToolButton* button = container.AddButton(QStringLiteral("Go"), QIcon(), QStringLiteral("tip"), 5);
        container.AddWidget(a, 0); // added before: ignored
        container.AddWidget(nullptr, 0);
        container.AddWidget(&container, 0);

        QCOMPARE(columns(&container), (QList<QWidget*>{b, a, button, untitled}));
        // Entries come in the order of adding, labelled with the window titles.
        QCOMPARE(entryTexts(&container), (QStringList{"A", "B", "", "Go"}));
        QCOMPARE(button->windowTitle(), QStringLiteral("Go"));
        QCOMPARE(button->toolTip(), QStringLiteral("tip"));
        QVERIFY(button->autoRaise());
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        for (QAction* entry : menuOf(&container)->actions()) {
            QVERIFY(entry->isCheckable());
            QVERIFY(!entry->isChecked()); // nothing shown yet
        }

        // Removal closes the gap but keeps the entry, which still shows and hides the widget.
        container.RemoveWidget(a);
        QCOMPARE(columns(&container), (QList<QWidget*>{b, button, untitled}));
        QCOMPARE(entryTexts(&container).size(), 4);
        entryFor(&container, 0)->setChecked(true);
        QVERIFY(!a->isHidden());
        entryFor(&container, 0)->setChecked(false);
        QVERIFY(a->isHidden());
        QLabel* c = label(QStringLiteral("C"));
        container.AddWidget(c, 5);
        QCOMPARE(columns(&container), (QList<QWidget*>{b, button, c, untitled}));

        // A deleted tool takes its entry with it.
        delete b;
        QCOMPARE(entryTexts(&container), (QStringList{"A", "", "Go", "C"}));
        QCOMPARE(columns(&container), (QList<QWidget*>{button, c, untitled}));
    }

    void checkMarksFollowTools()
    {
        Window w;
        QLabel* tool = label(QStringLiteral("Tool"));
        QLabel* hiddenFirst = label(QStringLiteral("Hidden"));
        hiddenFirst->hide();
        w.container->AddWidget(tool, -1);
        w.container->AddWidget(hiddenFirst, -1);
        QAction* entry = entryFor(w.container, 0);
        QVERIFY(!entry->isChecked());
        QVERIFY(w.Show());
        QTRY_VERIFY(entry->isChecked()); // from the tool's show event
        QVERIFY(!entryFor(w.container, 1)->isChecked());

        QSignalSpy toggled(entry, &QAction::toggled);
        entry->setChecked(false);
        QVERIFY(tool->isHidden());
        tool->show();
        QVERIFY(entry->isChecked());
        tool->hide();
        QVERIFY(!entry->isChecked());
        QCOMPARE(toggled.count(), 3); // no echo from the tool back to its entry

        // Hiding the window hides nothing explicitly, and showing it again restores the mark.
        tool->show();
        w.window.hide();
        QVERIFY(!entry->isChecked());
        QVERIFY(!tool->isHidden());
        w.window.show();
        QVERIFY(entry->isChecked());
        QVERIFY(!entryFor(w.container, 1)->isChecked());
    }

    void actionsFollowBothWays()
    {
        Window w;
        QAction outside(QStringLiteral("Print"));
        w.container->AddAction(&outside, 0);
        QAction* own = w.container->AddAction(QIcon(), QStringLiteral("Save"), QStringLiteral("Save it"), -1);
        auto* invisible = new QAction(QStringLiteral("Invisible"), w.container);
        invisible->setVisible(false);
        w.container->AddAction(invisible, -1);
        w.container->AddAction(&outside, 4); // ignored
        w.container->AddAction(nullptr, 4);
        QCOMPARE(own->parent(), w.container);
        QCOMPARE(own->toolTip(), QStringLiteral("Save it"));
        QCOMPARE(entryTexts(w.container), (QStringList{"Print", "Save", "Invisible"}));
        QVERIFY(w.Show());

        const QList<QWidget*> row = columns(w.container);
        QCOMPARE(row.size(), 3);
        auto* printButton = qobject_cast<QToolButton*>(row.at(0));
        auto* saveButton = qobject_cast<QToolButton*>(row.at(1));
        QCOMPARE(printButton->defaultAction(), &outside);
        QCOMPARE(saveButton->defaultAction(), own);
        QVERIFY(row.at(2)->isHidden());
        QAction* printEntry = entryFor(w.container, 0);
        QTRY_VERIFY(printEntry->isChecked());
        QVERIFY(!entryFor(w.container, 2)->isChecked());

        // Action -> button -> entry.
        QSignalSpy changed(&outside, &QAction::changed);
        outside.setVisible(false);
        QVERIFY(printButton->isHidden());
        QVERIFY(!printEntry->isChecked());
        QCOMPARE(changed.count(), 1);
        outside.setVisible(true);
        QVERIFY(printEntry->isChecked());

        // Entry -> button -> action.
        printEntry->setChecked(false);
        QVERIFY(printButton->isHidden());
        QVERIFY(!outside.isVisible());
        printEntry->setChecked(true);
        QVERIFY(outside.isVisible());

        // The window's hide and show reach the action too.
        w.window.hide();
        QVERIFY(!outside.isVisible());
        QVERIFY(!printEntry->isChecked());
        w.window.show();
        QVERIFY(outside.isVisible());
        QVERIFY(!printButton->isHidden());

        // The entry keeps the text of the moment of adding; the button follows the action.
        outside.setText(QStringLiteral("Print all"));
        QCOMPARE(printButton->text(), QStringLiteral("Print all"));
        QCOMPARE(printEntry->text(), QStringLiteral("Print"));
    }

    void destroyedActionsTakeButtonAndEntry()
    {
        ZBToolBarContainer container;
        auto* first = new QAction(QStringLiteral("First"));
        QAction* second = container.AddAction(QIcon(), QStringLiteral("Second"), QString(), 1);
        container.AddAction(first, 0);
        auto* button = qobject_cast<QToolButton*>(columns(&container).at(0));
        QPointer<QToolButton> guard(button);
        delete first;
        QVERIFY(guard.isNull());
        QCOMPARE(entryTexts(&container), QStringList{"Second"});
        QCOMPARE(columns(&container).size(), 1);

        // The application deletes a button; its action goes later.
        delete columns(&container).at(0);
        QVERIFY(entryTexts(&container).isEmpty());
        second->setVisible(false);
        delete second;
        auto* fresh = new QAction(QStringLiteral("Fresh"), &container);
        container.AddAction(fresh, 0);
        QCOMPARE(entryTexts(&container), QStringList{"Fresh"});
    }

    void pressStripOpensMenuBelow()
    {
        Window w;
        QLabel* tool = label(QStringLiteral("Tool"));
        w.container->AddWidget(tool, 0);
        w.container->AddWidget(label(QStringLiteral("Other")), 1);
        QVERIFY(w.Show());
        QMenu* menu = menuOf(w.container);
        ZBToolBarContainer* c = w.container;
        const int y = c->height() / 2;

        // Tools and the gap between them belong to the inner widget: no menu.
        QTest::mouseClick(tool, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(2, 2));
        QWidget* row = rowWidget(c);
        QTest::mouseClick(row, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(row->width() - 1, 1));
        QTest::mouseClick(c, Qt::RightButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, y));
        QVERIFY(!menu->isVisible());

        QTest::mousePress(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, y));
        QTRY_VERIFY(menu->isVisible());
        const QPoint global = c->mapToGlobal(QPoint(0, 0));
        QCOMPARE(menu->geometry().right(), global.x() + c->width() - 1);
        QCOMPARE(menu->y(), global.y() + c->height() + 1);
        QTest::mouseRelease(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, y));

        // A second press through the window system closes the menu without opening it again.
        QWindow* window = w.window.windowHandle();
        const QPoint inWindow = c->mapTo(&w.window, QPoint(c->width() - 5, y));
        QTest::mousePress(window, Qt::LeftButton, Qt::KeyboardModifiers(), inWindow);
        QTRY_VERIFY(!menu->isVisible());
        QTest::mouseRelease(window, Qt::LeftButton, Qt::KeyboardModifiers(), inWindow);
        QCoreApplication::processEvents();
        QVERIFY(!menu->isVisible());

        // Qt replays a press that closes a popup to the widget under it, unless the popup says
        // otherwise; the offscreen platform never replays, so the flag itself is checked.
        const QPoint onContainer = c->mapToGlobal(QPoint(c->width() / 2, y));
        const QPoint aboveContainer = c->mapToGlobal(QPoint(c->width() / 2, -20));
        for (const QPoint& at : {onContainer, aboveContainer}) {
            QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(c->width() - 5, y));
            QTRY_VERIFY(menu->isVisible());
            TestUtil::SendMouse(menu, QEvent::MouseButtonPress, menu->mapFromGlobal(at));
            QCOMPARE(menu->testAttribute(Qt::WA_NoMouseReplay), at == onContainer);
            QTRY_VERIFY(!menu->isVisible());
        }
    }

    void emptyMenuDoesNotOpen()
    {
        Window w;
        QVERIFY(w.Show());
        ZBToolBarContainer* c = w.container;
        QTest::mouseClick(c, Qt::LeftButton, Qt::KeyboardModifiers(),
                          QPoint(c->width() - 5, c->height() / 2));
        QVERIFY(!menuOf(c)->isVisible());
    }

    void destructionWithLiveActionsAndTools()
    {
        QAction survivor(QStringLiteral("Survivor"));
        auto* container = new ZBToolBarContainer;
        container->AddAction(&survivor, 0);
        container->AddAction(QIcon(), QStringLiteral("Own"), QString(), 1);
        container->AddWidget(label(QStringLiteral("L")), 2);
        container->show();
        delete container;
        survivor.setVisible(false); // must not reach the freed container (ASan build)
    }
};

QTEST_MAIN(tst_ZBToolBarContainer)
#include "tst_zbtoolbarcontainer.moc"
