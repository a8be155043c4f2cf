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
        QTest::newRow("always at the front") << QList<int>{-2, -3, -4, -5} << "3 2 1 0";
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

    void leavingTheRowClosesTheGap()
    {
        ZBToolBar bar;
        QWidget* w[6];
        for (int i = 0; i < 6; ++i)
            bar.AddWidget(w[i] = named(&bar, QString::number(i)), i * 10);
        bar.RemoveWidget(w[1]);
        QCOMPARE(w[1]->parentWidget(), contentOf(&bar)); // not deleted or reparented
        w[3]->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidget elsewhere;
        w[4]->setParent(&elsewhere);
        QCOMPARE(row(&bar), QStringLiteral("0 2 5"));

        // Later insertions land where their positions say, and take nothing back.
        bar.AddWidget(w[1], 10);
        bar.AddWidget(named(&bar, QStringLiteral("x")), 15);
        QCOMPARE(row(&bar), QStringLiteral("0 1 x 2 5"));

        bar.AddWidget(w[2], 12);                             // twice: stands at its first entry
        bar.AddWidget(named(&bar, QStringLiteral("z")), 16); // between the two entries
        QCOMPARE(row(&bar), QStringLiteral("0 1 2 x z - 5"));
        bar.RemoveWidget(w[2]); // takes every entry
        bar.AddWidget(&bar);    // refused, as are its ancestors
        QCOMPARE(row(&bar), QStringLiteral("0 1 x z 5"));
    }

    void buttonsFollowIconSizeAndStyle()
    {
        ZBToolBar bar;
        bar.setIconSize(QSize(20, 20));
        bar.setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        bar.show();
        QWidget* hidden = named(&bar, QStringLiteral("hidden"));
        hidden->hide(); // on purpose: stays hidden
        bar.AddWidget(hidden, 1);
        QToolButton* b = bar.AddButton(QStringLiteral("Open"), QIcon(), QStringLiteral("tip"), 3);
        QTRY_VERIFY(b->isVisible());
        QVERIFY(hidden->isHidden());
        QCOMPARE(b->iconSize(), QSize(20, 20)); // the style reaches it only from the next change
        bar.setIconSize(QSize(32, 32));
        bar.setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        QCOMPARE(b->iconSize(), QSize(32, 32));
        QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }

    void separatorsSpacersAndActions()
    {
        QAction outside(QStringLiteral("Print"));
        QPointer<ZBToolBar> bar = new ZBToolBar;
        bar->AddSeparator(5);
        bar->AddWidget(named(bar, QStringLiteral("w"))); // position 6
        bar->AddSpacer(5);
        QAction* own = bar->AddAction(QIcon(), QStringLiteral("Save"), QStringLiteral("tip")); // at 7
        bar->AddAction(&outside, -5);
        bar->AddAction(&outside, 0); // already there
        for (QToolButton* b : contentOf(bar)->findChildren<QToolButton*>())
            b->setObjectName(b->defaultAction()->text());
        QCOMPARE(row(bar), QStringLiteral("Print ZBTOOLBARSEPARATOR  w Save")); // the spacer has no name
        QCOMPARE(bar->findChild<QWidget*>(QStringLiteral("ZBTOOLBARSEPARATOR"))->maximumWidth(), 1);
        QCOMPARE(bar->Actions(), (QList<QAction*>{own, &outside}));

        delete own;
        QCOMPARE(bar->Actions(), QList<QAction*>{&outside});
        QCOMPARE(row(bar), QStringLiteral("Print ZBTOOLBARSEPARATOR  w"));
        QCOMPARE(contentOf(bar)->findChildren<QToolButton*>().size(), 1);

        delete bar; // the surviving action must not reach it afterwards (ASan build)
        outside.setText(QStringLiteral("Print all"));
    }
};

QTEST_MAIN(tst_ZBToolBar)
#include "tst_zbtoolbar.moc"
