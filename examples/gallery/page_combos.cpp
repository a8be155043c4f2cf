// Gallery page: the popup combo box with a delegate, the common combo box, link labels and
// settings panels.
#include "gallery.h"

#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBCommonComboBox.h"
#include "ZBFooterBar.h"
#include "ZBLinkLabel.h"
#include "ZBSettingsWidget.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>

namespace {

constexpr int DetailRole = Qt::UserRole + 1;
constexpr int IconSize = 28;
constexpr int Padding = 6;

// Contacts with a round initial as icon, a name and a second line.
class ContactDelegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem panel = option;
        initStyleOption(&panel, index);
        panel.text.clear();
        panel.icon = QIcon();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);
        const bool selected = option.state & QStyle::State_Selected;
        Draw(painter, option, index, option.rect, selected);
    }

    // The rows take the list's width and elide their texts, so the list needs no horizontal
    // scroll bar; the combo box still asks for the full width through ItemSizeHint().
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(1, ItemSizeHint(option, index).height());
    }

    // A click chooses the item even when it is the current one, and so closes the list.
    bool editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex& index) override
    {
        if (event->type() == QEvent::MouseButtonRelease)
            Q_EMIT Clicked(index);
        return false;
    }

    void PaintCurrentItem(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        // Leave the style's arrow on the right uncovered.
        const QRect face = option.rect.adjusted(2, 0, -22, 0);
        if (!index.isValid()) {
            painter->save();
            painter->setPen(option.palette.color(QPalette::PlaceholderText));
            painter->drawText(face.adjusted(Padding, 0, 0, 0), Qt::AlignVCenter, tr("Choose a contact"));
            painter->restore();
            return;
        }
        Draw(painter, option, index, face, false);
    }

    QSize ItemSizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QFont bold = option.font;
        bold.setBold(true);
        const QFontMetrics nameMetrics(bold);
        const QFontMetrics detailMetrics(option.font);
        const int textWidth = qMax(nameMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()),
                                   detailMetrics.horizontalAdvance(index.data(DetailRole).toString()));
        const int textHeight = nameMetrics.height() + detailMetrics.height();
        return QSize(Padding * 3 + IconSize + textWidth + 24, qMax(IconSize, textHeight) + Padding * 2);
    }

    QSize MinimumSizeHint(const QStyleOptionViewItem& option) const override
    {
        return QSize(IconSize + 120, qMax(IconSize, 2 * option.fontMetrics.height()) + Padding * 2);
    }

private:
    void Draw(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index,
              const QRect& rect, bool selected) const
    {
        painter->save();
        const QRect iconRect(rect.left() + Padding, rect.center().y() - IconSize / 2, IconSize, IconSize);
        index.data(Qt::DecorationRole).value<QIcon>().paint(painter, iconRect);
        const int textLeft = iconRect.right() + Padding;
        QFont bold = option.font;
        bold.setBold(true);
        const QFontMetrics nameMetrics(bold);
        const int lineTop = rect.center().y() - (nameMetrics.height() + option.fontMetrics.height()) / 2;
        const QRect nameRect(textLeft, lineTop, rect.right() - textLeft, nameMetrics.height());
        const QRect detailRect(textLeft, nameRect.bottom() + 1, nameRect.width(),
                               option.fontMetrics.height());
        painter->setFont(bold);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(
            nameRect, Qt::AlignLeft | Qt::AlignVCenter,
            nameMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, nameRect.width()));
        painter->setFont(option.font);
        const QColor detail = Gallery::secondaryText(option.palette.color(QPalette::Text),
                                                     option.palette.color(QPalette::Base));
        painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : detail);
        painter->drawText(detailRect, Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(index.data(DetailRole).toString(), Qt::ElideRight,
                                                        detailRect.width()));
        painter->restore();
    }
};

QIcon initialIcon(const QString& name, const QColor& colour)
{
    QPixmap pixmap(IconSize * 2, IconSize * 2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(pixmap.rect());
    QFont font = painter.font();
    font.setPixelSize(IconSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, name.left(1));
    return QIcon(pixmap);
}

ZBComboBox* contactBox(QWidget* parent, bool titleAndFooter)
{
    struct Contact
    {
        const char* name;
        const char* detail;
        QRgb colour;
    };
    static const Contact contacts[] = {
        {"Ada Lovelace", "Analytical Engine, London", 0x3d7eff},
        {"Grace Hopper", "Compilers, Arlington", 0x2b3a55},
        {"Edsger Dijkstra", "Shortest paths, Eindhoven", 0x1f9d74},
        {"Barbara Liskov", "Data abstraction, Cambridge", 0xd9822b},
        {"Donald Knuth", "The Art of Computer Programming, Stanford", 0x8e44ad},
        {"Margaret Hamilton", "Apollo guidance software, Boston", 0xc0392b},
        {"Alan Kay", "Object orientation, Los Angeles", 0x16a085},
        {"Frances Allen", "Optimising compilers, New York", 0x7f8c8d},
        {"Ken Thompson", "Unix, Murray Hill", 0x2c3e50},
        {"Radia Perlman", "Spanning trees, Seattle", 0xe67e22},
    };

    auto* box = new ZBComboBox(parent);
    box->setFocusPolicy(Qt::StrongFocus); // reachable and operable from the keyboard
    box->SetItemDelegate(new ContactDelegate(box));
    int row = 0;
    for (const Contact& contact : contacts) {
        const QString name = QString::fromLatin1(contact.name);
        box->InsertItem(row);
        box->SetItemData(row, name, Qt::DisplayRole);
        box->SetItemData(row, QString::fromLatin1(contact.detail), DetailRole);
        box->SetItemData(row, initialIcon(name, QColor(contact.colour)), Qt::DecorationRole);
        ++row;
    }
    box->SetCurrentIndex(0);

    if (!titleAndFooter) {
        box->HidePopupTitleBar();
        box->HidePopupFooterBar();
        return box;
    }
    box->SetPopupTitle(QObject::tr("Contacts"));
    auto* footer = new QHBoxLayout(box->GetPopupFooter()->Content());
    footer->setContentsMargins(8, 4, 8, 4);
    auto* count = new QLabel(QObject::tr("%n contacts", nullptr, box->GetItemCount()));
    footer->addWidget(count);
    footer->addStretch();
    auto* raise = new ZBLinkLabel();
    raise->SetText(QObject::tr("Move the current one to the top"));
    footer->addWidget(raise);
    QObject::connect(raise, &QAbstractButton::clicked, box, [box] { box->RaiseItem(box->CurrentIndex()); });
    return box;
}

QWidget* linkLabelColumn(QWidget* parent)
{
    auto* column = new QWidget(parent);
    column->setFixedWidth(150);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    const char* texts[] = {"Show the full log of this session", "Details",
                           "Reset every setting on this page"};
    for (const char* text : texts) {
        auto* label = new ZBLinkLabel(column);
        label->SetText(QObject::tr(text));
        label->setToolTip(label->GetText());
        layout->addWidget(label);
    }
    auto* disabled = new ZBLinkLabel(column);
    disabled->SetText(QObject::tr("Export (not available here)"));
    disabled->setEnabled(false);
    layout->addWidget(disabled);
    layout->addStretch();
    return column;
}

ZBSettingsWidget* settingsPanel(QWidget* parent, ZBSettingsWidget::ContentPolicy policy)
{
    auto* panel = new ZBSettingsWidget(parent);
    panel->SetPolicy(policy);
    auto* general = new QFormLayout(panel->GetGeneralContent());
    general->addRow(new QCheckBox(QObject::tr("Save automatically")));
    general->addRow(new QCheckBox(QObject::tr("Show line numbers")));
    auto* advanced = new QFormLayout(panel->GetAdvancedContent());
    auto* interval = new QSpinBox();
    interval->setRange(1, 60);
    interval->setSuffix(QObject::tr(" min"));
    advanced->addRow(QObject::tr("Save interval:"), interval);
    advanced->addRow(new QCheckBox(QObject::tr("Keep backup copies")));
    auto* footer = new QHBoxLayout(panel->GetFooterContent());
    footer->setContentsMargins(0, 0, 0, 0);
    auto* stateLabel = new QLabel();
    footer->addWidget(stateLabel);
    const auto showState = [stateLabel](ZBSettingsWidget::State state) {
        stateLabel->setText(state == ZBSettingsWidget::Basic ? QObject::tr("Basic settings")
                                                             : QObject::tr("Advanced settings"));
    };
    QObject::connect(panel, &ZBSettingsWidget::StateChanged, stateLabel, showState);
    showState(panel->GetState());
    if (policy == ZBSettingsWidget::HideBasicOptions) {
        panel->SetBasicButtonText(QObject::tr("More"));
        panel->SetAdvancedButtonText(QObject::tr("Less"));
    }
    return panel;
}

class CombosPage : public QWidget
{
public:
    explicit CombosPage(QWidget* parent) : QWidget(parent)
    {
        auto* layout = new QGridLayout(this);

        auto* combos = new QGroupBox(tr("Combo boxes"), this);
        auto* comboLayout = new QFormLayout(combos);
        comboLayout->addRow(tr("With title and footer:"), contactBox(combos, true));
        comboLayout->addRow(tr("List only:"), contactBox(combos, false));
        auto* common = new ZBCommonComboBox(combos);
        common->addItems({tr("Small"), tr("Medium"), tr("Large"), tr("Extra large")});
        comboLayout->addRow(tr("Common combo box:"), common);
        layout->addWidget(combos, 0, 0);

        auto* links = new QGroupBox(tr("Link labels (150 pixels wide)"), this);
        auto* linkLayout = new QVBoxLayout(links);
        linkLayout->addWidget(linkLabelColumn(links));
        layout->addWidget(links, 0, 1);

        auto* hide = new QGroupBox(tr("Settings: advanced replaces general"), this);
        (new QVBoxLayout(hide))->addWidget(settingsPanel(hide, ZBSettingsWidget::HideBasicOptions));
        layout->addWidget(hide, 1, 0);
        auto* add = new QGroupBox(tr("Settings: advanced added below"), this);
        (new QVBoxLayout(add))->addWidget(settingsPanel(add, ZBSettingsWidget::AddAdvancedOptions));
        layout->addWidget(add, 1, 1);
        layout->setRowStretch(2, 1);
    }
};

} // namespace

ZB_GALLERY_PAGE(50, "Combo boxes and small controls", [](QWidget* parent) { return new CombosPage(parent); });
