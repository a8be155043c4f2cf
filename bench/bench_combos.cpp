// Benchmark rows of the combo boxes and small controls against their nearest Qt widgets.
#include "bench.h"

#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBCommonComboBox.h"
#include "ZBLinkLabel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWheelEvent>
#include <memory>

namespace {

// A delegate as an application would write it: items sized by their text, as QComboBox sizes
// its own, the list's rows as tall as the list's height assumes, and the text painted on the face.
class TextDelegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;

    void PaintCurrentItem(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        painter->drawText(option.rect.adjusted(4, 0, -20, 0), Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
    }
    QSize ItemSizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        return QSize(option.fontMetrics.horizontalAdvance(text) + 8, option.fontMetrics.height() + 4);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return ItemSizeHint(option, index);
    }
    QSize MinimumSizeHint(const QStyleOptionViewItem& option) const override
    {
        return QSize(60, option.fontMetrics.height() + 6);
    }
};

constexpr int HeapItems = 10000;

QString itemText(int i)
{
    return QStringLiteral("Item number %1").arg(i);
}

std::unique_ptr<ZBComboBox> makeZB()
{
    std::unique_ptr<ZBComboBox> box(new ZBComboBox());
    box->SetItemDelegate(new TextDelegate(box.get()));
    box->HidePopupTitleBar();
    box->HidePopupFooterBar();
    return box;
}

void fillZB(ZBComboBox* box, int count)
{
    for (int i = 0; i < count; ++i) {
        box->InsertItem(i);
        box->SetItemData(i, itemText(i), Qt::DisplayRole);
        box->SetItemData(i, i, Qt::UserRole);
    }
}

void fillQt(QComboBox* box, int count)
{
    for (int i = 0; i < count; ++i)
        box->addItem(itemText(i), i);
}

// Runs the posted layouts and paints, so that an opened list has been laid out and drawn.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void pressLeft(QWidget* widget)
{
    const QPointF pos(5, 5);
    const QPointF global(widget->mapToGlobal(QPoint(5, 5)));
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void wheelDown(QWidget* widget)
{
    const QPointF pos(5, 5);
    QWheelEvent event(pos, QPointF(widget->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

QString countLabel(int count)
{
    return QLocale::c().toString(count).replace(QLatin1Char(','), QLatin1Char(' '));
}

// A row of the combo box's scaling series at \a count items; \a what names the series.
Bench::Row comboRow(const QString& what, int count, int runs)
{
    Bench::Row row;
    row.group = QStringLiteral("ZBComboBox");
    row.qtLabel = QStringLiteral("QComboBox");
    row.series = what;
    row.size = count;
    row.runs = runs;
    row.target = 1.0;
    return row;
}

void addComboRows(int count, int runs)
{
    const QString n = countLabel(count);
    Bench::Row fill = comboRow(QStringLiteral("fill + sizeHint"), count, runs);
    fill.name = QStringLiteral("fill %1 items + sizeHint").arg(n);
    fill.zb = [count] {
        auto box = makeZB();
        return Bench::Time([&] {
            fillZB(box.get(), count);
            (void)box->sizeHint();
        });
    };
    fill.qt = [count] {
        QComboBox box;
        return Bench::Time([&] {
            fillQt(&box, count);
            (void)box.sizeHint();
        });
    };
    Bench::AddRow(fill);

    Bench::Row open = comboRow(QStringLiteral("open the list"), count, runs);
    open.name = QStringLiteral("open the list of %1 items").arg(n);
    open.zb = [count] {
        auto box = makeZB();
        fillZB(box.get(), count);
        (void)box->sizeHint(); // as the layout that holds it would ask
        box->resize(200, 28);
        box->show();
        settle();
        return Bench::Time([&] {
            pressLeft(box.get());
            settle();
        });
    };
    open.qt = [count] {
        QComboBox box;
        fillQt(&box, count);
        (void)box.sizeHint();
        box.resize(200, 28);
        box.show();
        settle();
        return Bench::Time([&] {
            box.showPopup();
            settle();
        });
    };
    Bench::AddRow(open);

    const int steps = qMin(count - 1, 2000);
    Bench::Row wheel = comboRow(QStringLiteral("wheel steps"), count, runs);
    wheel.name = QStringLiteral("%1 wheel steps through %2 items").arg(countLabel(steps), n);
    wheel.zb = [count, steps] {
        auto box = makeZB();
        fillZB(box.get(), count);
        box->SetCurrentIndex(0);
        box->show();
        settle();
        return Bench::Time([&] {
            for (int i = 0; i < steps; ++i)
                wheelDown(box.get());
            settle();
        });
    };
    wheel.qt = [count, steps] {
        QComboBox box;
        fillQt(&box, count);
        box.setCurrentIndex(0);
        box.show();
        settle();
        return Bench::Time([&] {
            for (int i = 0; i < steps; ++i)
                wheelDown(&box);
            settle();
        });
    };
    Bench::AddRow(wheel);
}

void addRows()
{
    addComboRows(100, 15);
    addComboRows(10000, 5);
    addComboRows(100000, 3);

    Bench::AddHeapRow(
        QStringLiteral("ZBComboBox"),
        QStringLiteral("heap bytes per item (%1 items)").arg(countLabel(HeapItems)),
        QStringLiteral("QComboBox"),
        [] {
            auto box = makeZB();
            const Bench::HeapMeter meter;
            fillZB(box.get(), HeapItems);
            (void)box->sizeHint();
            return meter.Bytes() / HeapItems;
        },
        [] {
            QComboBox box;
            const Bench::HeapMeter meter;
            fillQt(&box, HeapItems);
            (void)box.sizeHint();
            return meter.Bytes() / HeapItems;
        });

    Bench::Row common;
    common.group = QStringLiteral("ZBCommonComboBox");
    common.name = QStringLiteral("construct + 100 items + open the list");
    common.qtLabel = QStringLiteral("QComboBox");
    common.target = 1.0;
    common.zb = [] {
        return Bench::Time([] {
            ZBCommonComboBox box;
            fillQt(&box, 100);
            box.show();
            box.showPopup();
            settle();
        });
    };
    common.qt = [] {
        return Bench::Time([] {
            QComboBox box;
            fillQt(&box, 100);
            box.show();
            box.showPopup();
            settle();
        });
    };
    Bench::AddRow(common);

    const QString text = QStringLiteral("Open the advanced settings of this page");
    Bench::Row construct;
    construct.group = QStringLiteral("ZBLinkLabel");
    construct.name = QStringLiteral("construct + set text");
    construct.qtLabel = QStringLiteral("QPushButton");
    construct.target = 1.0;
    construct.zb = [text] {
        return Bench::Time([&] {
            ZBLinkLabel label;
            label.SetText(text);
        });
    };
    construct.qt = [text] {
        return Bench::Time([&] {
            QPushButton button;
            button.setText(text);
        });
    };
    Bench::AddRow(construct);

    Bench::Row hint;
    hint.group = QStringLiteral("ZBLinkLabel");
    hint.name = QStringLiteral("1 000 size hints");
    hint.qtLabel = QStringLiteral("QPushButton");
    hint.target = 1.0;
    hint.zb = [text] {
        ZBLinkLabel label;
        label.SetText(text);
        return Bench::Time([&] {
            for (int i = 0; i < 1000; ++i)
                (void)label.sizeHint();
        });
    };
    hint.qt = [text] {
        QPushButton button(text);
        return Bench::Time([&] {
            for (int i = 0; i < 1000; ++i)
                (void)button.sizeHint();
        });
    };
    Bench::AddRow(hint);

    Bench::Row paint;
    paint.group = QStringLiteral("ZBLinkLabel");
    paint.name = QStringLiteral("100 paints, elided");
    paint.qtLabel = QStringLiteral("QPushButton");
    paint.target = 1.0;
    paint.zb = [text] {
        ZBLinkLabel label;
        label.SetText(text);
        label.resize(120, 24);
        QPixmap target(label.size());
        return Bench::Time([&] {
            for (int i = 0; i < 100; ++i)
                label.render(&target);
        });
    };
    paint.qt = [text] {
        QPushButton button(text);
        button.resize(120, 24);
        QPixmap target(button.size());
        return Bench::Time([&] {
            for (int i = 0; i < 100; ++i)
                button.render(&target);
        });
    };
    Bench::AddRow(paint);
}

} // namespace

ZB_BENCH_REGISTER(addRows);
