#include "ZBSparseGridLayout_p.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QTest>
#include <QToolButton>

// The sparse grid must lay out exactly as QGridLayout: twin windows, one with each, built from the
// same random cells, spacings, margins, directions, stretches and window sizes.
class tst_ZBSparseGridLayout : public QObject
{
    Q_OBJECT

private slots:
    void laysOutAsQGridLayout()
    {
        for (quint32 seed = 1; seed <= 400; ++seed) {
            QRandomGenerator r(seed);
            QWidget windows[2];
            QGridLayout* grids[2] = {new QGridLayout, new ZBSparseGridLayout};
            const int spacing = r.bounded(6), margin = r.bounded(3), stretch = r.bounded(3);
            const auto corner = Qt::Corner(r.bounded(4));
            const bool rightToLeft = r.bounded(4) == 0, squeezable = r.bounded(2);
            const QSize size(5 + r.bounded(500), 5 + r.bounded(120));
            QList<QWidget*> widgets[2];
            for (int i = 0, n = 1 + r.bounded(6); i < n; ++i) {
                const int row = r.bounded(3) == 0 ? r.bounded(5) : 0;
                const int column = r.bounded(2) ? 1000 - r.bounded(5) : r.bounded(1001);
                const int kind = r.bounded(3), width = 10 + r.bounded(40), policyStretch = r.bounded(3);
                const bool hidden = r.bounded(6) == 0;
                const Qt::Alignment alignment = r.bounded(4) == 0 ? Qt::AlignRight : Qt::Alignment();
                for (int side = 0; side < 2; ++side) {
                    QWidget* w = kind == 0   ? new QToolButton
                                 : kind == 1 ? new QLabel(QString(width / 5, QLatin1Char('x')))
                                             : new QWidget;
                    QSizePolicy policy(kind == 2 ? QSizePolicy::Expanding
                                                 : w->sizePolicy().horizontalPolicy(),
                                       w->sizePolicy().verticalPolicy());
                    policy.setHorizontalStretch(policyStretch);
                    w->setSizePolicy(policy);
                    w->setMinimumWidth(kind == 2 ? width : 0);
                    grids[side]->addWidget(w, row, column, alignment);
                    w->setHidden(hidden);
                    widgets[side] << w;
                }
            }
            for (int side = 0; side < 2; ++side) {
                QGridLayout* grid = grids[side];
                grid->setContentsMargins(margin, 1, 2, 0);
                grid->setHorizontalSpacing(spacing);
                grid->setVerticalSpacing(spacing + 1);
                grid->setOriginCorner(corner);
                int row, column, rowSpan, columnSpan;
                grid->getItemPosition(0, &row, &column, &rowSpan, &columnSpan);
                grid->setColumnStretch(column, stretch);
                grid->setRowMinimumHeight(row, stretch * 10);
                auto* outer = new QGridLayout(&windows[side]);
                outer->addWidget(new QLabel(QStringLiteral("left")), 0, 0);
                outer->addLayout(grid, 0, 1);
                if (squeezable)
                    outer->setSizeConstraint(QLayout::SetNoConstraint);
                windows[side].setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
                windows[side].resize(size);
                windows[side].show(); // a hidden widget's items are empty
                outer->activate();
            }
            const QByteArray where = "seed " + QByteArray::number(seed);
            QVERIFY2(grids[0]->sizeHint() == grids[1]->sizeHint(), where);
            QVERIFY2(grids[0]->minimumSize() == grids[1]->minimumSize(), where);
            QVERIFY2(grids[0]->maximumSize() == grids[1]->maximumSize(), where);
            QVERIFY2(grids[0]->expandingDirections() == grids[1]->expandingDirections(), where);
            for (int i = 0; i < widgets[0].size(); ++i)
                QVERIFY2(widgets[0][i]->geometry() == widgets[1][i]->geometry(),
                         where + " item " + QByteArray::number(i));
        }
    }
};

QTEST_MAIN(tst_ZBSparseGridLayout)
#include "tst_zbsparsegridlayout.moc"
