#include "ZBSettingsWidget.h"

#include <QComboBox>
#include <QFile>
#include <QPluginLoader>
#include <QRegularExpression>
#include <QTest>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <memory>

class tst_ZBDesigner : public QObject
{
    Q_OBJECT

private slots:
    // Every class the plugin offers describes itself, creates its widget and has a widget box entry with
    // its default object name, which tst_zbdesigner.ui uses: the form loads through QUiLoader.
    void pluginAndForm()
    {
        QPluginLoader plugin(QStringLiteral(ZB_DESIGNER_PLUGIN));
        auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(plugin.instance());
        QVERIFY2(collection, qPrintable(plugin.errorString()));
        QUiLoader loader;
        loader.clearPluginPaths();
        loader.addPluginPath(QStringLiteral(ZB_DESIGNER_PLUGIN_DIR));
        QFile file(QStringLiteral(ZB_DESIGNER_FORM));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::unique_ptr<QWidget> form(loader.load(&file));
        QVERIFY2(form, qPrintable(loader.errorString()));
        QStringList names;
        for (QDesignerCustomWidgetInterface* entry : collection->customWidgets()) {
            const QString name = entry->name();
            names << name;
            const QString described = entry->group() + ' ' + entry->includeFile() + ' ' +
                                      QString::number(entry->icon().isNull() || entry->toolTip().isEmpty() ||
                                                      entry->whatsThis().isEmpty());
            QCOMPARE(described, "ZebGuiCore " + name + ".h 0"); // 1: no icon, tool tip or "What's this?"
            QWidget* widget = entry->createWidget(form.get());
            QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), name);
            QCOMPARE(widget->parentWidget(), form.get());
            // The widget box's entry: the class, its default object name and a sensible width.
            const QRegularExpression dom("<widget class=\"(\\w+)\" name=\"(\\w+)\".*<width>(\\d+)<",
                                         QRegularExpression::DotMatchesEverythingOption);
            const QStringList fields = dom.match(entry->domXml()).capturedTexts();
            const QString objectName = name.mid(2, 1).toLower() + name.mid(3);
            QCOMPARE(fields.mid(1, 2), QStringList({name, objectName}));
            QVERIFY2(fields.value(3).toInt() >= 100, qPrintable(name));
            QWidget* loaded = form->findChild<QWidget*>(objectName);
            QCOMPARE(loaded ? QString::fromLatin1(loaded->metaObject()->className()) : "none", name);
        }
        names.sort();
        QCOMPARE(names.join(' '), "ZBComboBox ZBCommonComboBox ZBFooterBar ZBLinkLabel ZBMdiAreaWidget "
                                  "ZBSettingsWidget ZBTitleBar ZBToolBar ZBToolBarContainer");
        // Properties set by the form.
        QCOMPARE(form->findChild<ZBSettingsWidget*>()->GetPolicy(), ZBSettingsWidget::HideBasicOptions);
        QCOMPARE(form->findChild<QComboBox*>()->count(), 2);
        QCOMPARE(form->findChild<QWidget*>("linkLabel")->toolTip(), QStringLiteral("Opens the manual"));
    }
};

QTEST_MAIN(tst_ZBDesigner)
#include "tst_zbdesigner.moc"
