// Stress family: random calls and input into combo boxes, link labels and settings panels.
#include "stress.h"

#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBLinkLabel.h"
#include "ZBSettingsWidget.h"
#include "ZBTitleBar.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QWheelEvent>

#include <functional>
#include <iterator>

namespace {

// Sizes items by their Qt::SizeHintRole, so that Check() can walk the items for the expected hint.
class SizedDelegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;
    void PaintCurrentItem(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        return index.data(Qt::SizeHintRole).toSize();
    }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return QSize(30, 10); }
};

// A left click; the press may close the popup, and a slot may delete the widget.
void click(QWidget* widget, const QPoint& pos)
{
    const QPointer<QWidget> alive(widget);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        if (!alive)
            return;
        QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// Draws a number from low to high and logs it with what it is for.
int pick(Stress::Context& c, const char* what, int low, int high)
{
    const int value = c.Bounded(low, high);
    c.Log(QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(value));
    return value;
}

class CombosFamily : public Stress::Family
{
public:
    CombosFamily()
    {
        host->setObjectName(QStringLiteral("StressCombosHost"));
        new QVBoxLayout(host);
    }
    ~CombosFamily() override { delete host.data(); }
    const char* Name() const override { return "combos"; }

    void Step(Stress::Context& c) override
    {
        if (!box)
            host->layout()->addWidget(box = new ZBComboBox(host));
        if (!label)
            host->layout()->addWidget(label = new ZBLinkLabel(host));
        if (!panel)
            host->layout()->addWidget(panel = new ZBSettingsWidget(host));
        const int count = box->GetItemCount();
        auto* list = box->findChild<QListView*>(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETITEMAREA"));
        const QSize size(c.Bounded(0, 300), c.Bounded(0, 40));
        const std::function<void()> operations[] = {
            [&] {
                const int row = pick(c, "combo: insert", -1, count + 1);
                box->InsertItem(row);
                box->SetItemData(row, size, Qt::SizeHintRole);
            },
            [&] { box->RemoveItem(pick(c, "combo: remove", -1, count)); },
            [&] { box->RaiseItem(pick(c, "combo: raise", -1, count)); },
            [&] { box->SetItemData(pick(c, "combo: resize", -1, count), size, Qt::SizeHintRole); },
            [&] { box->SetCurrentIndex(pick(c, "combo: set current", -2, count + 1)); },
            [&] {
                const QPoint pos(2, 2);
                QWheelEvent wheel(QPointF(pos), QPointF(box->mapToGlobal(pos)), QPoint(),
                                  QPoint(0, 120 * pick(c, "combo: wheel", -1, 1)), Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(box, &wheel);
            },
            [&] {
                QWidget* target = pick(c, "click the combo box or the list", 0, 1) ? list->viewport() : box;
                click(target, c.PointIn(target));
            },
            [&] {
                const int what = pick(c, "popup: focus, then key up, down, escape or deactivation", 0, 3);
                if (list->window()->isVisible())
                    list->setFocus(Qt::TabFocusReason);
                const int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Escape};
                QKeyEvent key(QEvent::KeyPress, keys[what % 3], Qt::NoModifier);
                QEvent deactivate(QEvent::WindowDeactivate);
                QApplication::sendEvent(what < 3 ? list : list->window(), what < 3 ? &key : &deactivate);
            },
            [&] {
                c.Log(QStringLiteral("combo: new delegate, popup title and footer"));
                box->SetItemDelegate(c.Chance(90) ? new SizedDelegate(box) : nullptr);
                c.Chance(50) ? box->ShowPopupTitleBar() : box->HidePopupTitleBar();
                c.Chance(50) ? box->ShowPopupFooterBar() : box->HidePopupFooterBar();
                box->SetPopupTitle(QString(c.Bounded(0, 30), QLatin1Char('t')));
            },
            [&] {
                panel->SetState(ZBSettingsWidget::State(pick(c, "settings: state, policy, property", 0, 2)));
                panel->SetPolicy(ZBSettingsWidget::ContentPolicy(c.Bounded(0, 1)));
                panel->setProperty("state", c.Bounded(0, 1));
            },
            [&] {
                c.Log(QStringLiteral("settings: click, button texts"));
                if (auto* button = panel->findChild<QPushButton*>(QStringLiteral("ZBSettingsWidgetButton")))
                    button->click();
                panel->SetBasicButtonText(QStringLiteral("more %1").arg(c.Bounded(0, 9)));
                panel->SetAdvancedButtonText(QStringLiteral("less %1").arg(c.Bounded(0, 9)));
            },
            [&] {
                label->SetText(QString(pick(c, "link label: text, data, font, enabled", 0, 40), 'w'));
                label->SetData(c.Chance(30) ? QVariant() : QVariant(c.Bounded(0, 3)),
                               Qt::UserRole + c.Bounded(0, 2));
                QFont font = label->font();
                font.setPixelSize(c.Bounded(8, 20));
                label->setFont(font);
                label->setEnabled(c.Chance(50));
            },
            [&] {
                c.Log(QStringLiteral("host: show or hide, process events"));
                host->setVisible(c.Chance(70));
                QCoreApplication::processEvents();
            },
            [&] {
                // Deletes a widget whatever it is doing; the next step makes a new one.
                QWidget* victims[] = {box, label, panel};
                delete victims[pick(c, "delete widget", 0, 2)];
            },
            [&] {
                c.Log(QStringLiteral("combo: fill 20"));
                for (int i = 0; i < 20; ++i) {
                    box->InsertItem(count + i);
                    box->SetItemData(count + i, QSize(c.Bounded(0, 200), c.Bounded(1, 30)), Qt::SizeHintRole);
                }
            },
        };
        operations[c.Bounded(0, int(std::size(operations)) - 1)]();
    }

    void Check(Stress::Context& c) override
    {
        if (box) {
            const int count = box->GetItemCount();
            auto* list = box->findChild<QListView*>(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETITEMAREA"));
            if (count == 0 && list->window()->isVisible())
                c.Fail(QStringLiteral("combo: the list is open without items"));
            // The cached size hint against a fresh walk over the items.
            QSize expected(0, 0);
            for (int i = 0; i < count; ++i)
                expected = expected.expandedTo(box->GetItemData(i, Qt::SizeHintRole).toSize());
            expected.setWidth(qMax(expected.width(), box->findChild<ZBTitleBar*>()->sizeHint().width()));
            if (box->sizeHint() != expected)
                c.Fail(QStringLiteral("combo: size hint differs from the largest item"));
        }
        if (panel) {
            const bool advanced = panel->GetState() == ZBSettingsWidget::Advanced;
            if (panel->GetAdvancedContent()->isHidden() == advanced)
                c.Fail(QStringLiteral("settings: advanced content against the state"));
            if (panel->GetPolicy() == ZBSettingsWidget::HideBasicOptions &&
                panel->GetGeneralContent()->isHidden() != advanced)
                c.Fail(QStringLiteral("settings: general content against the hide-basic policy"));
        }
        if (label) {
            const QFontMetrics metrics = label->fontMetrics();
            if (label->sizeHint() != QSize(metrics.horizontalAdvance(label->GetText()), metrics.height()))
                c.Fail(QStringLiteral("link label: size hint does not follow its text and font"));
            if (label->cursor().shape() != (label->isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor))
                c.Fail(QStringLiteral("link label: cursor does not follow enabled"));
        }
    }

private:
    QPointer<QWidget> host = new QWidget();
    QPointer<ZBComboBox> box;
    QPointer<ZBLinkLabel> label;
    QPointer<ZBSettingsWidget> panel;
};

} // namespace

ZB_STRESS_FAMILY(CombosFamily);
