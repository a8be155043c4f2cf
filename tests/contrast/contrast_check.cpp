// Reads the contrast of every text on every page of the gallery from renderings and fails below 4.5:1
// (WCAG AA). "zb_contrast_check light|dark" gives the application Fusion's light palette or a dark
// one, which the theme follows; with "--variant" the palette stays and the theme takes the variant.
//
// Each text is rendered with and without it, as the window shows it: the pixels that differ are the
// text's, and each is compared with the same pixel without the text, so that neither borders nor icons
// nor what covers the widget count. Disabled widgets are skipped, as WCAG exempts them.
#include "window.h"

#include "ZBComboBox.h"
#include "ZBLinkLabel.h"
#include "ZBTheme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

qreal contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb rgb) { // WCAG 2's relative luminance
        const auto channel = [](int value) {
            const qreal c = value / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
    };
    return (qMax(luminance(a), luminance(b)) + 0.05) / (qMin(luminance(a), luminance(b)) + 0.05);
}

int failed = 0;
int checked = 0;

// Renders \a area of \a widget with its text and again after \a set took it away, then gives it back.
void check(QWidget* widget, const QString& text, const QRect& area,
           const std::function<void(const QString&)>& set)
{
    QWidget* window = widget->window();
    const QRect rect = QRect(widget->mapTo(window, area.topLeft()), area.size()) & window->rect();
    if (text.trimmed().isEmpty() || rect.isEmpty())
        return;
    const QImage with = window->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    set(QString());
    const QImage without = window->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
    set(text);
    qreal best = 1.0; // the text's core against what lies under it; 1 when it left no trace
    for (int y = 0; y < qMin(with.height(), without.height()); ++y)
        for (int x = 0; x < qMin(with.width(), without.width()); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                best = qMax(best, contrast(with.pixel(x, y), without.pixel(x, y)));
    ++checked;
    if (best < 4.5) {
        ++failed;
        std::printf("FAIL %s \"%s\" (%s) %.2f:1\n", widget->metaObject()->className(),
                    qPrintable(text.left(40)), qPrintable(widget->objectName()), best);
    }
}

void checkWidget(QWidget* w)
{
    if (!w->isVisible() || !w->isEnabled() || w->visibleRegion().isEmpty())
        return;
    if (auto* link = qobject_cast<ZBLinkLabel*>(w)) {
        check(link, link->GetText(), link->rect(), [link](const QString& t) { link->SetText(t); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        auto* tool = qobject_cast<QToolButton*>(w);
        if (!tool || tool->toolButtonStyle() != Qt::ToolButtonIconOnly ||
            tool->icon().isNull()) // else not shown
            check(button, button->text(), button->rect(), [button](const QString& t) { button->setText(t); });
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        check(label, label->text(), label->rect(), [label](const QString& t) { label->setText(t); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text().isEmpty())
            check(edit, edit->placeholderText(), edit->rect(),
                  [edit](const QString& t) { edit->setPlaceholderText(t); });
        else
            check(edit, edit->text(), edit->rect(), [edit](const QString& t) { edit->setText(t); });
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        check(group, group->title(), group->rect(), [group](const QString& t) { group->setTitle(t); });
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        check(plain, plain->toPlainText(), plain->rect(),
              [plain](const QString& t) { plain->setPlainText(t); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const int i = combo->currentIndex();
        check(combo, combo->currentText(), combo->rect(),
              [combo, i](const QString& t) { combo->setItemText(i, t); });
    } else if (auto* box = qobject_cast<ZBComboBox*>(w)) {
        const int i = box->CurrentIndex();
        const QString text = box->GetItemData(i, Qt::DisplayRole).toString();
        check(box, text, box->rect(),
              [box, i](const QString& t) { box->SetItemData(i, t, Qt::DisplayRole); });
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        QAbstractItemModel* model = view->model();
        for (int row = 0; model && row < model->rowCount(view->rootIndex()); ++row) {
            const QModelIndex index = model->index(row, 0, view->rootIndex());
            const QRect rect(view->viewport()->mapTo(view, view->visualRect(index).topLeft()),
                             view->visualRect(index).size());
            check(view, index.data().toString(), rect & view->viewport()->geometry(),
                  [model, index](const QString& t) { model->setData(index, t, Qt::DisplayRole); });
        }
    }
}

void settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void sendKey(QWidget* to, Qt::Key key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
    settle();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool dark = QApplication::arguments().contains(QStringLiteral("dark"));
    Gallery::InstallLook(app);
    if (QApplication::arguments().contains(QStringLiteral("--variant"))) {
        ZBTheme::SetVariant(dark ? ZBTheme::Dark : ZBTheme::Light);
    } else {
        QPalette palette(QColor(53, 53, 53), QColor(53, 53, 53)); // a dark Fusion palette: white texts
        palette.setColor(QPalette::Base, QColor(35, 35, 35));
        palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
        QApplication::setPalette(dark ? palette : QApplication::style()->standardPalette());
    }
    Gallery::Window window;
    window.resize(1280, 1700); // tall enough that no page needs its scroll bar
    window.show();
    for (int page = 0; page < window.PageCount(); ++page) {
        window.ShowPage(page);
        settle();
        for (QWidget* w : window.findChildren<QWidget*>())
            checkWidget(w);
        // Each combo box's list, opened from the keyboard.
        for (ZBComboBox* box : window.findChildren<ZBComboBox*>()) {
            if (!box->isVisible())
                continue;
            sendKey(box, Qt::Key_F4);
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top == &window || !top->isVisible())
                    continue;
                for (QWidget* w : top->findChildren<QWidget*>())
                    checkWidget(w);
            }
            if (QWidget* focus = QApplication::focusWidget())
                sendKey(focus, Qt::Key_Escape);
        }
    }
    std::printf("%s: %d texts checked, %d below 4.5:1\n", dark ? "dark" : "light", checked, failed);
    return checked > 0 && failed == 0 ? 0 : 1;
}
