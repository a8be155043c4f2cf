// Fails when a gallery text reads below 4.5:1 (WCAG AA) with Fusion's light or a dark palette ("light|dark",
// followed by the theme) or in the theme's own variant ("--variant"). Each text is grabbed with and without
// it; each differing pixel is measured against itself without the text, so borders and icons never count.
#include "window.h"

#include "ZBComboBox.h"
#include "ZBLinkLabel.h"
#include "ZBTheme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

qreal contrast(const QColor& a, const QColor& b) // WCAG 2, from the relative luminances
{
    const auto ch = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const auto lum = [&](const QColor& c) {
        return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
    };
    return (qMax(lum(a), lum(b)) + 0.05) / (qMin(lum(a), lum(b)) + 0.05);
}

int failed = 0, checked = 0;

// Renders \a area of \a widget with its text and again after \a set took it away, then gives it back.
void check(QWidget* widget, const QString& text, QRect area, const std::function<void(QString)>& set)
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
    failed += best < 4.5 ? 1 : 0;
    if (best < 4.5)
        std::printf("FAIL %s '%s' %.2f:1\n", widget->metaObject()->className(), qPrintable(text), best);
}

void checkWidget(QWidget* w)
{
    if (!w->isVisible() || !w->isEnabled() || w->visibleRegion().isEmpty())
        return;
    const auto byProperty = [w](const char* name) { // where most kinds of widget keep their text
        check(w, w->property(name).toString(), w->rect(), [w, name](QString t) { w->setProperty(name, t); });
    };
    auto* tool = qobject_cast<QToolButton*>(w);
    if (auto* link = qobject_cast<ZBLinkLabel*>(w)) {
        check(link, link->GetText(), link->rect(), [link](QString t) { link->SetText(t); });
    } else if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull()) {
        return; // its text is not shown
    } else if (w->inherits("QAbstractButton") || w->inherits("QLabel") || w->inherits("QLineEdit")) {
        byProperty(w->property("text").toString().isEmpty() ? "placeholderText" : "text"); // an empty edit's
    } else if (w->inherits("QGroupBox") || w->inherits("QPlainTextEdit")) {
        byProperty(w->inherits("QGroupBox") ? "title" : "plainText");
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        check(combo, combo->currentText(), combo->rect(),
              [combo, i = combo->currentIndex()](QString t) { combo->setItemText(i, t); });
    } else if (auto* box = qobject_cast<ZBComboBox*>(w)) {
        check(box, box->GetItemData(box->CurrentIndex(), Qt::DisplayRole).toString(), box->rect(),
              [box, i = box->CurrentIndex()](QString t) { box->SetItemData(i, t, Qt::DisplayRole); });
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        QAbstractItemModel* model = view->model();
        for (int row = 0; model && row < model->rowCount(view->rootIndex()); ++row) {
            const QModelIndex index = model->index(row, 0, view->rootIndex());
            const QRect rect = view->visualRect(index).translated(view->viewport()->pos());
            check(view, index.data().toString(), rect & view->viewport()->geometry(),
                  [model, index](QString t) { model->setData(index, t, Qt::DisplayRole); });
        }
    }
}

// Sends \a key to \a to, if there is one, and lets the application settle for 200 ms.
void settle(QWidget* to = nullptr, Qt::Key key = Qt::Key_unknown)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    if (to)
        QApplication::sendEvent(to, &event);
    for (QDeadlineTimer deadline(200); !deadline.hasExpired();)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool dark = QApplication::arguments().contains(QStringLiteral("dark"));
    Gallery::InstallLook(app);
    QPalette palette(QColor(53, 53, 53), QColor(53, 53, 53)); // a dark Fusion palette: white texts
    palette.setColor(QPalette::Base, QColor(35, 35, 35));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    if (QApplication::arguments().contains(QStringLiteral("--variant")))
        ZBTheme::SetVariant(dark ? ZBTheme::Dark : ZBTheme::Light);
    else
        QApplication::setPalette(dark ? palette : QApplication::style()->standardPalette());
    Gallery::Window window;
    window.resize(1280, 1700); // tall enough that no page needs its scroll bar
    window.show();
    for (int page = 0; page < window.PageCount(); ++page) {
        window.ShowPage(page);
        settle();
        for (QWidget* w : window.findChildren<QWidget*>())
            checkWidget(w);
        for (ZBComboBox* box : window.findChildren<ZBComboBox*>()) {
            if (!box->isVisible())
                continue;
            settle(box, Qt::Key_F4);                             // its list, opened from the keyboard
            for (QWidget* top : QApplication::topLevelWidgets()) // hidden ones have no visible children
                for (QWidget* w : top == &window ? QList<QWidget*>() : top->findChildren<QWidget*>())
                    checkWidget(w);
            settle(QApplication::focusWidget(), Qt::Key_Escape);
        }
    }
    std::printf("%s: %d texts checked, %d below 4.5:1\n", dark ? "dark" : "light", checked, failed);
    return checked > 0 && failed == 0 ? 0 : 1;
}
