#include "ZBCommonComboBox.h"
#include "testutil.h"

#include <QListView>
#include <QTest>

class tst_ZBCommonComboBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void dropDownIsAPlainListView()
    {
        ZBCommonComboBox box(nullptr);
        box.addItems({QStringLiteral("one"), QStringLiteral("two")});
        QAbstractItemView* view = box.view();
        QCOMPARE(QByteArray(view->metaObject()->className()), QByteArray("QListView"));
        QCOMPARE(view->model()->index(1, 0).data().toString(), QStringLiteral("two"));
    }
};

QTEST_MAIN(tst_ZBCommonComboBox)
#include "tst_zbcommoncombobox.moc"
