#include "ZBCommonComboBox.h"
#include "testutil.h"

#include <QListView>
#include <QPointer>
#include <QTest>

class tst_ZBCommonComboBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void dropDownIsAPlainListView()
    {
        QPointer<QAbstractItemView> view;
        {
            ZBCommonComboBox box;
            view = box.view();
            QVERIFY(view);
            QCOMPARE(QByteArray(view->metaObject()->className()), QByteArray("QListView"));
            QCOMPARE(QByteArray(box.metaObject()->className()), QByteArray("ZBCommonComboBox"));

            box.addItem(QStringLiteral("one"));
            box.addItem(QStringLiteral("two"), 2);
            QCOMPARE(view->model(), box.model());
            QCOMPARE(view->model()->rowCount(), 2);
            QCOMPARE(box.itemData(1).toInt(), 2);

            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            box.showPopup();
            QTRY_VERIFY(view->isVisible());
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                              view->visualRect(view->model()->index(1, 0)).center());
            QTRY_COMPARE(box.currentIndex(), 1);
        }
        QVERIFY(!view); // owned by the combo box
    }
};

QTEST_MAIN(tst_ZBCommonComboBox)
#include "tst_zbcommoncombobox.moc"
