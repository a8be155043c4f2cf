#include "ZBToolBar.h"
#include "testutil.h"

#include <QAction>
#include <QGridLayout>
#include <QPointer>
#include <QTest>
#include <QToolButton>

namespace {

QWidget* contentOf(ZBToolBar* bar)
{
    return bar->findChild<QWidget*>(QStringLiteral("ZBTOOLBARCONTENT"));
}

// Object names of the widgets in row 0 by column, "-" for an empty column; "?" marks anything else
// in the grid but the trailing spacer at column 1000.
QString row(ZBToolBar* bar)
{
    auto* grid = qobject_cast<QGridLayout*>(contentOf(bar)->layout());
    QStringList names;
    for (int i = 0; i < grid->count(); ++i) {
        int r, column, rs, cs;
        grid->getItemPosition(i, &r, &column, &rs, &cs);
        QWidget* w = grid->itemAt(i)->widget();
        if (!w && column == 1000)
            continue;
        while (names.size() <= column)
            names << QStringLiteral("-");
        names[column] =
            w && r == 0 && names[column] == QLatin1String("-") ? w->objectName() : QStringLiteral("?");
    }
    return names.join(QLatin1Char(' '));
}

QList<QWidget*> named(ZBToolBar* bar, int n)
{
    QList<QWidget*> widgets;
    for (int i = 0; i < n; ++i) {
        widgets << new QWidget(bar); // owned by the bar until placed
        widgets.last()->setObjectName(QString::number(i));
    }
    return widgets;
}

} // namespace

class tst_ZBToolBar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void ordering_data()
    {
        QTest::addColumn<QList<int>>("positions"); // widget i is added with positions[i]
        QTest::addColumn<QString>("expected");
        QTest::newRow("equal positions keep the order of adding") << QList<int>{-1, -1, 0} << "0 2 1";
        QTest::newRow("end after a high position") << QList<int>{5, -1, 6, 5} << "0 3 1 2";
        QTest::newRow("negative positions sort before 0") << QList<int>{0, -3, -2} << "1 2 0";
        QTest::newRow("end after a negative position") << QList<int>{-3, -1, -2} << "0 1 2";
        QTest::newRow("into the middle") << QList<int>{10, 30, 20, 20, 15} << "0 4 2 3 1";
        QTest::newRow("extremes") << QList<int>{INT_MAX, -1, INT_MIN, -1} << "2 0 1 3";
    }

    void ordering()
    {
        QFETCH(QList<int>, positions);
        QFETCH(QString, expected);
        ZBToolBar bar;
        const QList<QWidget*> w = named(&bar, positions.size());
        for (int i = 0; i < positions.size(); ++i)
            bar.AddWidget(w[i], positions[i]);
        QCOMPARE(row(&bar), expected);
    }

    void separatorsSpacersAndFrontInsertions()
    {
        ZBToolBar bar;
        QWidget* w = named(&bar, 1).first();
        bar.AddSeparator(5);
        bar.AddWidget(w); // position 6
        bar.AddSpacer(5);
        auto* separator = bar.findChild<QWidget*>(QStringLiteral("ZBTOOLBARSEPARATOR"));
        QCOMPARE(separator->maximumWidth(), 1);
        QCOMPARE(row(&bar), QStringLiteral("ZBTOOLBARSEPARATOR  0")); // the spacer has no name

        // Many insertions at the front move every tool each time.
        const QList<QWidget*> more = named(&bar, 200);
        for (int i = 0; i < more.size(); ++i)
            bar.AddWidget(more[i], -10 - i);
        QVERIFY(row(&bar).startsWith(QStringLiteral("199 198 197")));
        QVERIFY(row(&bar).endsWith(QStringLiteral("1 0 ZBTOOLBARSEPARATOR  0")));
    }

    void leavingTheRowClosesTheGap()
    {
        ZBToolBar bar;
        const QList<QWidget*> w = named(&bar, 6);
        for (int i = 0; i < 6; ++i)
            bar.AddWidget(w[i], i * 10);

        bar.RemoveWidget(w[1]);
        QCOMPARE(row(&bar), QStringLiteral("0 2 3 4 5"));
        QCOMPARE(w[1]->parentWidget(), contentOf(&bar)); // not deleted or reparented
        delete w[3];
        w[4]->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidget elsewhere;
        w[5]->setParent(&elsewhere);
        QCOMPARE(row(&bar), QStringLiteral("0 2"));

        // Later insertions land where their positions say, and take nothing back.
        bar.AddWidget(w[1], 10);
        QWidget* x = named(&bar, 1).first();
        x->setObjectName(QStringLiteral("x"));
        bar.AddWidget(x, 15);
        QCOMPARE(row(&bar), QStringLiteral("0 1 x 2"));
        QCOMPARE(w[5]->parentWidget(), &elsewhere);

        // A widget added twice stands at its first entry; RemoveWidget takes every entry.
        bar.AddWidget(w[2], 12);
        QWidget* y = named(&bar, 1).first();
        y->setObjectName(QStringLiteral("y"));
        bar.AddWidget(y, -1);
        QCOMPARE(row(&bar), QStringLiteral("0 1 2 x - y"));
        QWidget* z = named(&bar, 1).first();
        z->setObjectName(QStringLiteral("z"));
        bar.AddWidget(z, 16); // between the two entries
        QCOMPARE(row(&bar), QStringLiteral("0 1 2 x z - y"));
        bar.RemoveWidget(w[2]);
        QCOMPARE(row(&bar), QStringLiteral("0 1 x z y"));
        bar.AddWidget(&bar); // refused, as are its ancestors
        QCOMPARE(row(&bar), QStringLiteral("0 1 x z y"));
    }

    void buttonsFollowIconSizeAndStyle()
    {
        ZBToolBar bar;
        bar.setIconSize(QSize(20, 20));
        bar.setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        QToolButton* first = bar.AddButton(QStringLiteral("Open"), QIcon(), QStringLiteral("tip"), 3);
        QToolButton* second = bar.AddButton(QIcon(), QString());
        QCOMPARE(first->iconSize(), QSize(20, 20));
        QCOMPARE(first->toolButtonStyle(), Qt::ToolButtonIconOnly); // only later changes reach it

        bar.setIconSize(QSize(32, 32));
        bar.setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        for (QToolButton* b : {first, second}) {
            QCOMPARE(b->iconSize(), QSize(32, 32));
            QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        }
    }

    void toolsAddedToAShownBarAppear()
    {
        ZBToolBar bar;
        bar.resize(600, 40);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QList<QWidget*> w = named(&bar, 3);
        w[1]->hide(); // hidden on purpose: stays hidden
        for (int i = 0; i < 3; ++i)
            bar.AddWidget(w[i], 3 - i);
        QTRY_VERIFY(w[0]->isVisible() && w[2]->isVisible());
        QVERIFY(w[1]->isHidden());
        QVERIFY(w[2]->geometry().right() < w[0]->geometry().left());
    }

    void actions()
    {
        QAction outside(QStringLiteral("Print"));
        QPointer<ZBToolBar> bar = new ZBToolBar;
        QAction* own = bar->AddAction(QIcon(), QStringLiteral("Save"), QStringLiteral("tip"));
        auto* early = new QAction(QStringLiteral("Undo"), bar);
        bar->AddAction(&outside);
        bar->AddAction(early, -5);
        bar->AddAction(&outside, 0); // already there
        QCOMPARE(bar->Actions(), (QList<QAction*>{own, &outside, early}));
        const auto buttons = contentOf(bar)->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), 3);
        QToolButton* ownButton = nullptr;
        for (QToolButton* b : buttons) {
            b->setObjectName(b->defaultAction()->text());
            if (b->defaultAction() == own)
                ownButton = b;
        }
        QCOMPARE(row(bar), QStringLiteral("Undo Save Print"));

        QPointer<QToolButton> guard(ownButton);
        delete own;
        QVERIFY(guard.isNull());
        QCOMPARE(bar->Actions(), (QList<QAction*>{&outside, early}));
        QCOMPARE(row(bar), QStringLiteral("Undo Print"));

        delete bar; // the surviving action must not reach it afterwards (ASan build)
        outside.setText(QStringLiteral("Print all"));
    }
};

QTEST_MAIN(tst_ZBToolBar)
#include "tst_zbtoolbar.moc"
