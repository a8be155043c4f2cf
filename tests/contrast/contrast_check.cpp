// Reads the contrast of every text on every page of the gallery from renderings: exit status 1 when
// one of them is below 4.5:1 (WCAG AA).
//
//   zb_contrast_check light|dark [--variant]
//
// "light" and "dark" give the application Fusion's light palette or a dark one, which the theme
// follows; with --variant the palette stays light and the theme is switched to the named variant.
//
// A widget whose text can be taken away (labels, buttons, group boxes, line edits, tab bars) is
// rendered with and without it: the pixels that differ are the text's, and each is compared with
// the same pixel without the text. Texts that item views and the combo box's delegate paint are read
// from one rendering per row: the background is the row's most frequent colour, the text the colour
// farthest from it. Disabled widgets are skipped, as WCAG exempts them.
#include "window.h"

#include "ZBComboBox.h"
#include "ZBLinkLabel.h"
#include "ZBTheme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTextEdit>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr qreal Required = 4.5;

qreal luminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const qreal c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

qreal contrast(QRgb a, QRgb b)
{
    const qreal la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// What the window shows in \a rect (window coordinates), with everything above the widget painted too.
QImage render(QWidget* window, const QRect& rect)
{
    return window->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
}

// The highest contrast between a pixel of \a with and the same pixel of \a without, over the pixels
// that differ: the text's core against what lies under it. 1 when the text left no trace.
qreal differential(const QImage& with, const QImage& without)
{
    qreal best = 1.0;
    for (int y = 0; y < with.height() && y < without.height(); ++y)
        for (int x = 0; x < with.width() && x < without.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                best = qMax(best, contrast(with.pixel(x, y), without.pixel(x, y)));
    return best;
}

// The most frequent colour of \a image against the colour farthest from it.
qreal dominant(const QImage& image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    qreal best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = qMax(best, contrast(background, it.key()));
    return best;
}

struct Check
{
    QString variant;
    int checked = 0;
    int failed = 0;

    void Report(QWidget* widget, const QString& text, qreal ratio)
    {
        ++checked;
        if (ratio >= Required)
            return;
        ++failed;
        std::printf("FAIL %s: %s \"%s\" (%s) %.2f:1\n", qPrintable(variant),
                    widget->metaObject()->className(), qPrintable(text.left(40)),
                    qPrintable(widget->objectName()), ratio);
    }

    // Renders the widget's rectangle with its text and again without, through \a set.
    void Differential(QWidget* widget, const QString& text, const QRect& area,
                      const std::function<void(const QString&)>& set)
    {
        QWidget* window = widget->window();
        const QRect rect = QRect(widget->mapTo(window, area.topLeft()), area.size()) & window->rect();
        if (text.trimmed().isEmpty() || rect.isEmpty())
            return;
        const QImage with = render(window, rect);
        set(QString());
        const QImage without = render(window, rect);
        set(text);
        Report(widget, text, differential(with, without));
    }

    void Rows(QAbstractItemView* view)
    {
        QAbstractItemModel* model = view->model();
        for (int row = 0; model && row < model->rowCount(view->rootIndex()); ++row) {
            const QModelIndex index = model->index(row, 0, view->rootIndex());
            const QRect visual = view->visualRect(index) & view->viewport()->rect();
            if (visual.height() < 4 || index.data().toString().isEmpty())
                continue;
            // Right of an icon, whose own colours would stand in for the text's.
            const QRect text =
                index.data(Qt::DecorationRole).isNull() ? visual : visual.adjusted(40, 0, 0, 0);
            QWidget* window = view->window();
            const QRect rect(view->viewport()->mapTo(window, text.topLeft()), text.size());
            Report(view, index.data().toString(), dominant(render(window, rect & window->rect())));
        }
    }

    void Widget(QWidget* widget)
    {
        if (!widget->isVisible() || !widget->isEnabled() || widget->visibleRegion().isEmpty())
            return;
        const QRect all = widget->rect();
        if (auto* link = qobject_cast<ZBLinkLabel*>(widget)) {
            Differential(link, link->GetText(), all, [link](const QString& t) { link->SetText(t); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            auto* tool = qobject_cast<QToolButton*>(button);
            if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull())
                return; // its text is a name for tool tips and screen readers, not shown
            Differential(button, button->text(), all, [button](const QString& t) { button->setText(t); });
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            Differential(label, label->text(), all, [label](const QString& t) { label->setText(t); });
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            const QString text = edit->text().isEmpty() ? edit->placeholderText() : edit->text();
            const bool placeholder = edit->text().isEmpty();
            Differential(edit, text, all, [edit, placeholder](const QString& t) {
                placeholder ? edit->setPlaceholderText(t) : edit->setText(t);
            });
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel;
            const QRect title =
                group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            Differential(group, group->title(), title.adjusted(-2, -2, 2, 2),
                         [group](const QString& t) { group->setTitle(t); });
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                Differential(tabs, tabs->tabText(i), tabs->tabRect(i),
                             [tabs, i](const QString& t) { tabs->setTabText(i, t); });
        } else if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
            Rows(view);
        } else if (qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget)) {
            QWidget* viewport = static_cast<QAbstractScrollArea*>(widget)->viewport();
            QWidget* window = widget->window();
            const QRect inner = viewport->rect().adjusted(2, 2, -2, -2);
            Report(widget, QStringLiteral("text"),
                   dominant(render(window, QRect(viewport->mapTo(window, inner.topLeft()), inner.size()))));
        } else if (qobject_cast<ZBComboBox*>(widget)) {
            // The current item as the delegate paints it, left of the arrow and right of the icon.
            QWidget* window = widget->window();
            const QRect face = all.adjusted(40, 3, -26, -3);
            Report(widget, QStringLiteral("current item"),
                   dominant(render(window, QRect(widget->mapTo(window, face.topLeft()), face.size()))));
        }
    }

    void Tree(QWidget* root)
    {
        Widget(root);
        for (QWidget* child : root->findChildren<QWidget*>())
            Widget(child);
    }
};

void settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(35, 35, 35));
    p.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    p.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    p.setColor(QPalette::ToolTipText, Qt::white);
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(42, 130, 218));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, QColor(35, 35, 35));
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool dark = args.contains(QStringLiteral("dark"));
    const bool variant = args.contains(QStringLiteral("--variant"));
    Gallery::InstallLook(app);
    if (variant)
        ZBTheme::SetVariant(dark ? ZBTheme::Dark : ZBTheme::Light);
    else
        QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());

    Check check;
    check.variant = dark ? QStringLiteral("dark") : QStringLiteral("light");
    Gallery::Window window;
    window.resize(1280, 1700); // tall enough that no page needs its scroll bar
    window.show();
    settle();
    for (int page = 0; page < window.PageCount(); ++page) {
        window.ShowPage(page);
        settle();
        check.Tree(&window);
        // The combo boxes' lists, opened from the keyboard one after another.
        for (ZBComboBox* box : window.findChildren<ZBComboBox*>()) {
            if (!box->isVisible())
                continue;
            QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
            QApplication::sendEvent(box, &f4);
            settle();
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top != &window && top->isVisible())
                    check.Tree(top);
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            if (QWidget* focus = QApplication::focusWidget())
                QApplication::sendEvent(focus, &escape);
            settle();
        }
    }
    std::printf("%s: %d texts checked, %d below %.1f:1\n", qPrintable(check.variant), check.checked,
                check.failed, Required);
    return check.checked > 0 && check.failed == 0 ? 0 : 1;
}
