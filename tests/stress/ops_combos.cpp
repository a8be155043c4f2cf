// Stress family: random calls and input into combo boxes, link labels and settings panels.
#include "stress.h"

#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBCommonComboBox.h"
#include "ZBLinkLabel.h"
#include "ZBSettingsWidget.h"
#include "ZBTitleBar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QWheelEvent>

namespace {

// Items are sized by their Qt::SizeHintRole, so that Check() can work out the expected hints.
class SizedDelegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;

    void PaintCurrentItem(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        painter->drawText(option.rect, Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    }
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        return index.data(Qt::SizeHintRole).toSize();
    }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return QSize(30, 10); }
    bool editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex& index) override
    {
        if (event->type() == QEvent::MouseButtonRelease && clicks)
            Q_EMIT Clicked(index);
        return false;
    }
    bool clicks = false;
};

void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButton button)
{
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void sendWheel(QWidget* widget, int delta)
{
    const QPoint pos(2, 2);
    QWheelEvent event(QPointF(pos), QPointF(widget->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void sendKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class CombosFamily : public Stress::Family
{
public:
    CombosFamily()
    {
        host = new QWidget();
        host->setObjectName(QStringLiteral("StressCombosHost"));
        new QVBoxLayout(host);
        host->resize(320, 400);
    }

    ~CombosFamily() override { delete host.data(); }

    const char* Name() const override { return "combos"; }

    void Step(Stress::Context& c) override
    {
        if (!host)
            return;
        Ensure(c);
        switch (c.Bounded(0, 17)) {
        case 0:
        case 1: {
            const int index = c.Bounded(-1, box->GetItemCount() + 1);
            c.Log(QStringLiteral("combo: insert %1").arg(index));
            box->InsertItem(index);
            const int row = qBound(0, index, box->GetItemCount() - 1);
            box->SetItemData(row, QStringLiteral("item %1").arg(c.Bounded(0, 999)), Qt::DisplayRole);
            box->SetItemData(row, QSize(c.Bounded(0, 300), c.Bounded(0, 40)), Qt::SizeHintRole);
            break;
        }
        case 2: {
            const int index = c.Bounded(-1, box->GetItemCount());
            c.Log(QStringLiteral("combo: remove %1").arg(index));
            box->RemoveItem(index);
            break;
        }
        case 3: {
            const int index = c.Bounded(-1, box->GetItemCount());
            c.Log(QStringLiteral("combo: raise %1").arg(index));
            box->RaiseItem(index);
            break;
        }
        case 4: {
            const int index = c.Bounded(-1, box->GetItemCount());
            c.Log(QStringLiteral("combo: size of %1").arg(index));
            box->SetItemData(index, QSize(c.Bounded(0, 300), c.Bounded(0, 40)), Qt::SizeHintRole);
            break;
        }
        case 5: {
            const int delta = c.Chance(50) ? 120 : -120;
            c.Log(QStringLiteral("combo: wheel %1").arg(delta));
            sendWheel(box, delta);
            break;
        }
        case 6:
            c.Log(QStringLiteral("combo: left press"));
            sendMouse(box, QEvent::MouseButtonPress, c.PointIn(box), Qt::LeftButton);
            sendMouse(box, QEvent::MouseButtonRelease, c.PointIn(box), Qt::LeftButton);
            break;
        case 7:
            PopupInput(c);
            break;
        case 8: {
            const int index = c.Bounded(-2, box->GetItemCount() + 2);
            c.Log(QStringLiteral("combo: set current %1").arg(index));
            box->SetCurrentIndex(index);
            break;
        }
        case 9: {
            c.Log(QStringLiteral("combo: replace the delegate"));
            auto* delegate = new SizedDelegate(box);
            delegate->clicks = c.Chance(50);
            box->SetItemDelegate(delegate);
            break;
        }
        case 10:
            c.Log(QStringLiteral("combo: popup title and footer"));
            c.Chance(50) ? box->ShowPopupTitleBar() : box->HidePopupTitleBar();
            c.Chance(50) ? box->ShowPopupFooterBar() : box->HidePopupFooterBar();
            box->SetPopupTitle(QStringLiteral("title %1").arg(c.Bounded(0, 9)));
            break;
        case 11:
            SettingsStep(c);
            break;
        case 12:
            LabelStep(c);
            break;
        case 13:
            c.Log(QStringLiteral("common combo: add or remove"));
            if (c.Chance(60))
                common->addItem(QStringLiteral("entry %1").arg(c.Bounded(0, 99)));
            else
                common->removeItem(c.Bounded(-1, common->count()));
            break;
        case 14:
            c.Log(QStringLiteral("host: show or hide"));
            host->setVisible(!host->isVisible());
            break;
        case 15: {
            // Deletes one of the widgets, whatever it is doing; Ensure() makes a new one.
            const int which = c.Bounded(0, 3);
            c.Log(QStringLiteral("delete widget %1").arg(which));
            QWidget* victims[] = {box, common, label, panel};
            delete victims[which];
            break;
        }
        case 16:
            c.Log(QStringLiteral("process events"));
            QCoreApplication::processEvents();
            break;
        default:
            c.Log(QStringLiteral("combo: fill 20"));
            for (int i = 0; i < 20; ++i) {
                const int row = box->GetItemCount();
                box->InsertItem(row);
                box->SetItemData(row, QSize(c.Bounded(0, 200), c.Bounded(1, 30)), Qt::SizeHintRole);
            }
            break;
        }
    }

    void Check(Stress::Context& c) override
    {
        if (box) {
            const int count = box->GetItemCount();
            const int current = box->CurrentIndex();
            if (current < -1 || current >= count)
                c.Fail(QStringLiteral("combo: current index %1 with %2 items").arg(current).arg(count));
            auto* list = box->findChild<QListView*>(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETITEMAREA"));
            if (!list || list->model()->rowCount() != count)
                c.Fail(QStringLiteral("combo: the list does not hold the %1 items").arg(count));
            QWidget* popup = list ? list->window() : nullptr;
            if (popup && popup->isVisible() && count == 0)
                c.Fail(QStringLiteral("combo: the list is open without items"));
            if (box->GetItemDelegate()) {
                // The size hint against a fresh walk over the items.
                QSize largest(0, 0);
                for (int i = 0; i < count; ++i)
                    largest = largest.expandedTo(box->GetItemData(i, Qt::SizeHintRole).toSize());
                auto* title = box->findChild<ZBTitleBar*>();
                const int titleWidth = title ? title->sizeHint().width() : 0;
                const QSize expected(qMax(largest.width(), titleWidth), largest.height());
                if (box->sizeHint() != expected)
                    c.Fail(QStringLiteral("combo: size hint %1x%2, items want %3x%4")
                               .arg(box->sizeHint().width())
                               .arg(box->sizeHint().height())
                               .arg(expected.width())
                               .arg(expected.height()));
            }
        }
        if (panel) {
            const ZBSettingsWidget::State state = panel->GetState();
            if (state != ZBSettingsWidget::Basic && state != ZBSettingsWidget::Advanced)
                c.Fail(QStringLiteral("settings: state %1").arg(int(state)));
            QWidget* advanced = panel->GetAdvancedContent();
            // Before the machine first runs, both contents show; from then on they follow the state.
            if (started && advanced && advanced->isHidden() == (state == ZBSettingsWidget::Advanced))
                c.Fail(QStringLiteral("settings: advanced content shown in the wrong state"));
            QWidget* general = panel->GetGeneralContent();
            if (started && general && panel->GetPolicy() == ZBSettingsWidget::HideBasicOptions &&
                general->isHidden() != (state == ZBSettingsWidget::Advanced))
                c.Fail(QStringLiteral("settings: general content against the hide-basic policy"));
        }
        if (label) {
            const QFontMetrics metrics = label->fontMetrics();
            const QMargins m = label->contentsMargins();
            const QSize expected(metrics.horizontalAdvance(label->GetText()) + m.left() + m.right(),
                                 metrics.height() + m.top() + m.bottom());
            if (label->sizeHint() != expected)
                c.Fail(QStringLiteral("link label: size hint does not follow its text"));
            if (label->cursor().shape() != (label->isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor))
                c.Fail(QStringLiteral("link label: cursor does not follow enabled"));
        }
    }

private:
    void Ensure(Stress::Context& c)
    {
        QLayout* layout = host->layout();
        if (!box) {
            c.Log(QStringLiteral("new combo box"));
            box = new ZBComboBox(host);
            layout->addWidget(box);
            if (c.Chance(80))
                box->SetItemDelegate(new SizedDelegate(box));
        }
        if (!common) {
            common = new ZBCommonComboBox(host);
            layout->addWidget(common);
        }
        if (!label) {
            label = new ZBLinkLabel(host);
            layout->addWidget(label);
        }
        if (!panel) {
            panel = new ZBSettingsWidget(host);
            layout->addWidget(panel);
            started = false;
        } else if (!started && panel->GetState() == ZBSettingsWidget::Basic) {
            started = true;
        }
    }

    void PopupInput(Stress::Context& c)
    {
        auto* list = box->findChild<QListView*>(QStringLiteral("ZBCOMBOBOXPOPUPWIDGETITEMAREA"));
        if (!list)
            return;
        QWidget* popup = list->window();
        switch (c.Bounded(0, 4)) {
        case 0:
            c.Log(QStringLiteral("popup: escape"));
            sendKey(list, Qt::Key_Escape);
            break;
        case 1:
            c.Log(QStringLiteral("popup: arrow key"));
            sendKey(list, c.Chance(50) ? Qt::Key_Down : Qt::Key_Up);
            break;
        case 2: {
            c.Log(QStringLiteral("popup: deactivate"));
            QEvent deactivate(QEvent::WindowDeactivate);
            QApplication::sendEvent(popup, &deactivate);
            break;
        }
        case 3: {
            c.Log(QStringLiteral("popup: click in the list"));
            const QPoint pos = c.PointIn(list->viewport());
            sendMouse(list->viewport(), QEvent::MouseButtonPress, pos, Qt::LeftButton);
            if (list)
                sendMouse(list->viewport(), QEvent::MouseButtonRelease, pos, Qt::LeftButton);
            break;
        }
        default:
            c.Log(QStringLiteral("popup: focus the list"));
            if (popup->isVisible())
                list->setFocus(Qt::TabFocusReason);
            break;
        }
    }

    void SettingsStep(Stress::Context& c)
    {
        switch (c.Bounded(0, 5)) {
        case 0:
            c.Log(QStringLiteral("settings: set state"));
            panel->SetState(c.Chance(50) ? ZBSettingsWidget::Basic : ZBSettingsWidget::Advanced);
            break;
        case 1:
            c.Log(QStringLiteral("settings: set policy"));
            panel->SetPolicy(c.Chance(50) ? ZBSettingsWidget::HideBasicOptions
                                          : ZBSettingsWidget::AddAdvancedOptions);
            break;
        case 2:
            c.Log(QStringLiteral("settings: click the state button"));
            if (auto* button = panel->findChild<QPushButton*>(QStringLiteral("ZBSettingsWidgetButton")))
                button->click();
            break;
        case 3:
            c.Log(QStringLiteral("settings: button texts"));
            panel->SetBasicButtonText(QStringLiteral("more %1").arg(c.Bounded(0, 9)));
            panel->SetAdvancedButtonText(QStringLiteral("less %1").arg(c.Bounded(0, 9)));
            break;
        case 4:
            c.Log(QStringLiteral("settings: state button shown or hidden"));
            panel->ShowStateButton(c.Chance(50));
            break;
        default:
            c.Log(QStringLiteral("settings: write the state property"));
            panel->setProperty("state", c.Bounded(0, 1));
            break;
        }
    }

    void LabelStep(Stress::Context& c)
    {
        switch (c.Bounded(0, 3)) {
        case 0:
            c.Log(QStringLiteral("link label: text"));
            label->SetText(QString(c.Bounded(0, 40), QLatin1Char('w')));
            break;
        case 1:
            c.Log(QStringLiteral("link label: data"));
            label->SetData(c.Chance(30) ? QVariant() : QVariant(c.Bounded(0, 3)),
                           Qt::UserRole + c.Bounded(0, 2));
            break;
        case 2:
            c.Log(QStringLiteral("link label: enabled"));
            label->setEnabled(!label->isEnabled());
            break;
        default:
            c.Log(QStringLiteral("link label: font"));
            QFont font = label->font();
            font.setPixelSize(c.Bounded(8, 20));
            label->setFont(font);
            break;
        }
    }

    QPointer<QWidget> host;
    QPointer<ZBComboBox> box;
    QPointer<ZBCommonComboBox> common;
    QPointer<ZBLinkLabel> label;
    QPointer<ZBSettingsWidget> panel;
    bool started = false; // the panel's machine has entered its first state
};

} // namespace

ZB_STRESS_FAMILY(CombosFamily);
