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
        auto* box = new ZBCommonComboBox(nullptr);
        QPointer<QAbstractItemView> view = box->view();
        QCOMPARE(QByteArray(view->metaObject()->className()), QByteArray("QListView"));
        box->addItems({QStringLiteral("one"), QStringLiteral("two")});
        box->show();
        box->showPopup();
        QTRY_VERIFY(view->isVisible());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->visualRect(view->model()->index(1, 0)).center());
        QTRY_COMPARE(box->currentIndex(), 1);
        delete box;
        QVERIFY(!view); // owned by the combo box
    }
};

QTEST_MAIN(tst_ZBCommonComboBox)
#include "tst_zbcommoncombobox.moc"
