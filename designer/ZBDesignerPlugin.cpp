#include "ZBDesignerPlugin.h"

#include "ZBComboBox.h"
#include "ZBCommonComboBox.h"
#include "ZBFooterBar.h"
#include "ZBLinkLabel.h"
#include "ZBMdiAreaWidget.h"
#include "ZBSettingsWidget.h"
#include "ZBTitleBar.h"
#include "ZBToolBar.h"
#include "ZBToolBarContainer.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

template <class T>
QWidget* make(QWidget* parent)
{
    return new T(parent);
}

// Left out: the frame windows (ZBWidget, ZBDialog, ZBMessageBox, ZBPopupInfo, ZBMdiSubWindow), which
// are top-level windows that fade, close and delete themselves rather than parts of a form; and
// ZBDockWidget, whose QDockWidget::widget() Designer takes for a page of its own: a saved form would
// replace the dock's inner content through QDockWidget::setWidget(), dropping its footer bar.
const ZBDesignerEntry entries[] = {
    {"ZBTitleBar", "Title bar: icon, title and buttons",
     "A title bar with an icon, a title and an area for buttons. The title, the icon and the buttons are set "
     "from code (SetTitle, SetIcon, AddButton); style sheets address its background as \"TITLECONTENT\".",
     QSize(240, 30), make<ZBTitleBar>},
    {"ZBFooterBar", "Footer strip with one content widget",
     "A footer strip whose content widget (Content(), \"ZBFOOTERBARCONTENT\") is filled from code.",
     QSize(240, 24), make<ZBFooterBar>},
    {"ZBMdiAreaWidget", "Multi-document area for frameless sub-windows",
     "A scroll area holding frameless ZBMdiSubWindows with their own normal, minimised and maximised states. "
     "Sub-windows are added from code with AddSubWindow().",
     QSize(320, 240), make<ZBMdiAreaWidget>},
    {"ZBToolBar", "Tool bar whose tools are ordered by position numbers",
     "A tool bar whose tools stand in one row ordered by a position number given with each tool. Tools are "
     "added from code (AddButton, AddWidget, AddSeparator, ...).",
     QSize(240, 32), make<ZBToolBar>},
    {"ZBToolBarContainer", "Row of tools with a menu that shows and hides them",
     "A row of tools drawn as one tool button panel; the drop-down menu at its right edge shows and hides "
     "single tools. Tools are added from code with a position number, as in ZBToolBar.",
     QSize(240, 32), make<ZBToolBarContainer>},
    {"ZBComboBox", "Combo box with a frameless popup list (items come from code)",
     "A combo box whose list opens in a frameless popup window. Its items come from code: InsertItem() and "
     "SetItemData() fill the list and a ZBComboBoxItemDelegate subclass paints it, so a form holds an empty "
     "box.",
     QSize(160, 26), make<ZBComboBox>},
    {"ZBCommonComboBox", "Combo box with a plain list view",
     "A QComboBox whose drop-down list is a plain QListView, so that style sheets address an ordinary list. "
     "Everything else, items included, is QComboBox's.",
     QSize(160, 26), make<ZBCommonComboBox>},
    {"ZBLinkLabel", "Push button drawn as a text link",
     "A push button drawn as a text link, elided to its width, with a pointing-hand cursor. The link text is "
     "set from code with SetText(); the button's own text property is not drawn.",
     QSize(100, 20), make<ZBLinkLabel>},
    {"ZBSettingsWidget", "Settings panel with basic and advanced content",
     "A panel with general, advanced and footer content and a button that switches between the basic and "
     "the advanced state. The three content widgets are filled from code; the form sets the content policy "
     "(property \"policy\").",
     QSize(260, 180), make<ZBSettingsWidget>},
};

// A small pictogram per class, drawn in the widget box's icon size.
void paintGlyph(QPainter& p, const QString& name)
{
    const QColor ink(0x2b, 0x3a, 0x55);
    const QColor accent(0x3d, 0x7e, 0xff);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(Qt::white);
    const auto triangle = [&p](qreal x, qreal y) {
        p.setBrush(p.pen().color());
        p.drawPolygon(QPolygonF({QPointF(x, y), QPointF(x + 6, y), QPointF(x + 3, y + 4)}));
    };
    if (name == QLatin1String("ZBMdiAreaWidget")) {
        p.drawRect(QRectF(2.5, 3.5, 18, 14));
        p.fillRect(QRectF(3, 4, 17, 4), accent);
        p.drawRect(QRectF(11.5, 14.5, 18, 14));
        p.fillRect(QRectF(12, 15, 17, 4), accent);
    } else if (name.contains(QLatin1String("ComboBox"))) {
        p.drawRoundedRect(QRectF(2.5, 9.5, 27, 13), 2, 2);
        p.drawLine(QPointF(21.5, 10), QPointF(21.5, 22));
        triangle(23, 14);
    } else if (name.startsWith(QLatin1String("ZBToolBar"))) {
        for (int i = 0; i < 3; ++i)
            p.fillRect(QRectF(3 + 7 * i, 11, 5, 10), i == 0 ? accent : ink);
        if (name == QLatin1String("ZBToolBarContainer"))
            triangle(23, 14);
    } else if (name == QLatin1String("ZBLinkLabel")) {
        p.setPen(QPen(accent, 2));
        p.drawLine(QPointF(4, 20), QPointF(28, 20));
        p.drawLine(QPointF(4, 13), QPointF(22, 13));
    } else {
        // Window-like classes: a frame with its bar at the top or the bottom, or both.
        p.drawRect(QRectF(2.5, 4.5, 27, 23));
        if (name != QLatin1String("ZBFooterBar"))
            p.fillRect(QRectF(3, 5, 26, 6), accent);
        if (name == QLatin1String("ZBFooterBar"))
            p.fillRect(QRectF(3, 22, 26, 5), ink);
        if (name == QLatin1String("ZBSettingsWidget"))
            triangle(13, 18);
    }
}

} // namespace

ZBDesignerWidget::ZBDesignerWidget(const ZBDesignerEntry& entry, QObject* parent)
    : QObject(parent), m_entry(entry)
{}

QString ZBDesignerWidget::name() const
{
    return QString::fromLatin1(m_entry.name);
}

QString ZBDesignerWidget::group() const
{
    return QStringLiteral("ZebGuiCore");
}

QString ZBDesignerWidget::toolTip() const
{
    return QString::fromUtf8(m_entry.toolTip);
}

QString ZBDesignerWidget::whatsThis() const
{
    return QString::fromUtf8(m_entry.whatsThis);
}

QString ZBDesignerWidget::includeFile() const
{
    return name() + QStringLiteral(".h");
}

QIcon ZBDesignerWidget::icon() const
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintGlyph(painter, name());
    painter.end();
    return QIcon(pixmap);
}

bool ZBDesignerWidget::isContainer() const
{
    return false;
}

QWidget* ZBDesignerWidget::createWidget(QWidget* parent)
{
    return m_entry.create(parent);
}

bool ZBDesignerWidget::isInitialized() const
{
    return m_initialized;
}

void ZBDesignerWidget::initialize(QDesignerFormEditorInterface*)
{
    m_initialized = true;
}

QString ZBDesignerWidget::domXml() const
{
    // The object name of a new instance: the class name without its prefix, "ZBTitleBar" -> "titleBar".
    QString objectName = name().mid(2);
    objectName[0] = objectName[0].toLower();
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                          "  </property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(name(), objectName)
        .arg(m_entry.size.width())
        .arg(m_entry.size.height());
}

ZBDesignerCollection::ZBDesignerCollection(QObject* parent) : QObject(parent)
{
    for (const ZBDesignerEntry& entry : entries)
        m_widgets.append(new ZBDesignerWidget(entry, this));
}

QList<QDesignerCustomWidgetInterface*> ZBDesignerCollection::customWidgets() const
{
    return m_widgets;
}
