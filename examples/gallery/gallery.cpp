#include "gallery.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace Gallery {
namespace {

// A function-local list, so that pages registering from static initialisers in other files find it
// built whatever the order of those initialisers.
QList<Page>& registry()
{
    static QList<Page> pages;
    return pages;
}

} // namespace

QList<Page> Pages()
{
    QList<Page> pages = registry();
    std::stable_sort(pages.begin(), pages.end(),
                     [](const Page& a, const Page& b) { return a.order < b.order; });
    return pages;
}

PageRegistrar::PageRegistrar(int order, const char* title, std::function<QWidget*(QWidget* parent)> make)
{
    if (make)
        registry().append(Page{order, QString::fromUtf8(title), std::move(make)});
}

} // namespace Gallery

QLabel* Gallery::hintLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setProperty("hint", true);
    label->setWordWrap(true);
    return label;
}

QColor Gallery::secondaryText(const QColor& text, const QColor& background)
{
    return QColor::fromRgbF(text.redF() * 0.7 + background.redF() * 0.3,
                            text.greenF() * 0.7 + background.greenF() * 0.3,
                            text.blueF() * 0.7 + background.blueF() * 0.3);
}

namespace {

class PlaceholderFilter : public QObject
{
public:
    using QObject::QObject;

    static void Update(QLineEdit* edit)
    {
        const QColor wanted = Gallery::secondaryText(edit->palette().color(QPalette::Text),
                                                     edit->palette().color(QPalette::Base));
        if (edit->palette().color(QPalette::PlaceholderText) == wanted)
            return;       // also ends the palette change that setting it causes
        QPalette palette; // only this role, so that the others keep following the application's
        palette.setColor(QPalette::PlaceholderText, wanted);
        edit->setPalette(palette);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::Polish)
            Update(static_cast<QLineEdit*>(watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void Gallery::readablePlaceholder(QLineEdit* edit)
{
    edit->installEventFilter(new PlaceholderFilter(edit));
    PlaceholderFilter::Update(edit);
}
