#include "ZBSettingsWidget.h"

#include <QComboBox>
#include <QFile>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QTest>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <memory>

namespace {

// Every class the plugin offers, which tst_zbdesigner.ui places by its default object name.
const QStringList classes = {"ZBComboBox",  "ZBCommonComboBox", "ZBFooterBar",
                             "ZBLinkLabel", "ZBMdiAreaWidget",  "ZBSettingsWidget",
                             "ZBTitleBar",  "ZBToolBar",        "ZBToolBarContainer"};

const auto objectNameOf = [](const QString& name) { return name.mid(2, 1).toLower() + name.mid(3); };

} // namespace

class tst_ZBDesigner : public QObject
{
    Q_OBJECT

private slots:
    void collectionDescribesAndCreatesEveryWidget()
    {
        QPluginLoader plugin(QStringLiteral(ZB_DESIGNER_PLUGIN));
        auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(plugin.instance());
        QVERIFY2(collection, qPrintable(plugin.errorString()));
        QStringList names;
        QWidget form;
        for (QDesignerCustomWidgetInterface* entry : collection->customWidgets()) {
            const QString name = entry->name();
            names << name;
            QCOMPARE(entry->group() + ' ' + entry->includeFile(), "ZebGuiCore " + name + ".h");
            QCOMPARE(std::make_tuple(entry->icon().isNull(), entry->toolTip().isEmpty(),
                                     entry->whatsThis().isEmpty()),
                     std::make_tuple(false, false, false));
            QWidget* widget = entry->createWidget(&form);
            QCOMPARE(std::make_pair(QString::fromLatin1(widget->metaObject()->className()),
                                    widget->parentWidget()),
                     std::make_pair(name, &form));
            // The widget box's entry: the class, its default object name and a sensible width.
            const QRegularExpression dom("<widget class=\"(\\w+)\" name=\"(\\w+)\".*<width>(\\d+)<",
                                         QRegularExpression::DotMatchesEverythingOption);
            const QStringList fields = dom.match(entry->domXml()).capturedTexts();
            QCOMPARE(fields.mid(1, 2), QStringList({name, objectNameOf(name)}));
            QVERIFY(fields.value(3).toInt() >= 100);
        }
        names.sort();
        QCOMPARE(names, classes);
    }

    void formLoadsThroughTheUiLoader()
    {
        QUiLoader loader;
        loader.clearPluginPaths();
        loader.addPluginPath(QStringLiteral(ZB_DESIGNER_PLUGIN_DIR));
        QFile file(QStringLiteral(ZB_DESIGNER_FORM));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::unique_ptr<QWidget> form(loader.load(&file));
        QVERIFY2(form, qPrintable(loader.errorString()));
        for (const QString& name : classes) {
            QWidget* widget = form->findChild<QWidget*>(objectNameOf(name));
            QVERIFY2(widget, qPrintable(name));
            QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), name);
        }
        // Properties set by the form.
        QCOMPARE(form->findChild<ZBSettingsWidget*>()->GetPolicy(), ZBSettingsWidget::HideBasicOptions);
        QCOMPARE(form->findChild<QComboBox*>()->count(), 2);
        QCOMPARE(form->findChild<QWidget*>("linkLabel")->toolTip(), QStringLiteral("Opens the manual"));
    }
};

QTEST_MAIN(tst_ZBDesigner)
#include "tst_zbdesigner.moc"
