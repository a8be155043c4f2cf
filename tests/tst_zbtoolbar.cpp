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

// Object names of row 0 by column, "-" for an empty column, "?" for anything else in the grid but
// the trailing spacer at column 1000.
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

QWidget* named(ZBToolBar* bar, const QString& name)
{
    auto* w = new QWidget(bar); // owned by the bar until placed
    w->setObjectName(name);
    return w;
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
        for (int i = 0; i < positions.size(); ++i)
            bar.AddWidget(named(&bar, QString::number(i)), positions[i]);
        QCOMPARE(row(&bar), expected);
    }

    void separatorsSpacersAndFrontInsertions()
    {
        ZBToolBar bar;
        bar.AddSeparator(5);
        bar.AddWidget(named(&bar, QStringLiteral("w"))); // position 6
        bar.AddSpacer(5);
        QCOMPARE(row(&bar), QStringLiteral("ZBTOOLBARSEPARATOR  w")); // the spacer has no name
        QCOMPARE(bar.findChild<QWidget*>(QStringLiteral("ZBTOOLBARSEPARATOR"))->maximumWidth(), 1);

        // Insertions at the front move every tool each time.
        QStringList expected;
        for (int i = 0; i < 100; ++i) {
            bar.AddWidget(named(&bar, QString::number(i)), -2 - i);
            expected.prepend(QString::number(i));
        }
        QCOMPARE(row(&bar), expected.join(QLatin1Char(' ')) + QStringLiteral(" ZBTOOLBARSEPARATOR  w"));
    }

    void leavingTheRowClosesTheGap()
    {
        ZBToolBar bar;
        QList<QWidget*> w;
        for (int i = 0; i < 6; ++i) {
            w << named(&bar, QString::number(i));
            bar.AddWidget(w[i], i * 10);
        }
        bar.RemoveWidget(w[1]);
        QCOMPARE(w[1]->parentWidget(), contentOf(&bar)); // not deleted or reparented
        delete w[3];
        w[4]->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidget elsewhere;
        w[5]->setParent(&elsewhere);
        QCOMPARE(row(&bar), QStringLiteral("0 2"));

        // Later insertions land where their positions say, and take nothing back.
        bar.AddWidget(w[1], 10);
        bar.AddWidget(named(&bar, QStringLiteral("x")), 15);
        QCOMPARE(row(&bar), QStringLiteral("0 1 x 2"));
        QCOMPARE(w[5]->parentWidget(), &elsewhere);

        // A widget added twice stands at its first entry; RemoveWidget takes every entry.
        bar.AddWidget(w[2], 12);
        bar.AddWidget(named(&bar, QStringLiteral("y")), -1);
        bar.AddWidget(named(&bar, QStringLiteral("z")), 16); // between the two entries
        QCOMPARE(row(&bar), QStringLiteral("0 1 2 x z - y"));
        bar.RemoveWidget(w[2]);
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
        bar.show();
        QWidget* hidden = named(&bar, QStringLiteral("hidden"));
        hidden->hide(); // on purpose: stays hidden
        bar.AddWidget(hidden, 1);
        QWidget* b = bar.AddButton(QIcon(), QString());
        QTRY_VERIFY(b->isVisible());
        QVERIFY(hidden->isHidden());
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
        for (QToolButton* b : contentOf(bar)->findChildren<QToolButton*>())
            b->setObjectName(b->defaultAction()->text());
        QCOMPARE(row(bar), QStringLiteral("Undo Save Print"));

        QPointer<QToolButton> button = contentOf(bar)->findChild<QToolButton*>(QStringLiteral("Save"));
        delete own;
        QVERIFY(button.isNull());
        QCOMPARE(bar->Actions(), (QList<QAction*>{&outside, early}));
        QCOMPARE(row(bar), QStringLiteral("Undo Print"));

        delete bar; // the surviving action must not reach it afterwards (ASan build)
        outside.setText(QStringLiteral("Print all"));
    }
};

QTEST_MAIN(tst_ZBToolBar)
#include "tst_zbtoolbar.moc"
