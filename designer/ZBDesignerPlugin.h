// The Qt Designer plugin of ZebGuiCore: the library's widgets in a "ZebGuiCore" group of the widget box.
#ifndef ZBDESIGNERPLUGIN_H
#define ZBDESIGNERPLUGIN_H

#include <QList>
#include <QObject>
#include <QSize>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

/*! What the widget box shows of one class and how a form gets an instance. */
struct ZBDesignerEntry
{
    const char* name;      //!< the class, also its header's base name
    const char* toolTip;   //!< one line
    const char* whatsThis; //!< a few sentences
    QSize size;            //!< the geometry a new instance gets in a form
    QWidget* (*create)(QWidget* parent);
};

/*! One class of the library in Designer's widget box. */
class ZBDesignerWidget : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    ZBDesignerWidget(const ZBDesignerEntry& entry, QObject* parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    const ZBDesignerEntry m_entry;
    bool m_initialized = false;
};

/*! The plugin's entry point: one ZBDesignerWidget per class, owned as children. */
class ZBDesignerCollection : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QDesignerCustomWidgetCollectionInterface_iid)
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit ZBDesignerCollection(QObject* parent = nullptr);

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
    QList<QDesignerCustomWidgetInterface*> m_widgets;
};

#endif // ZBDESIGNERPLUGIN_H
