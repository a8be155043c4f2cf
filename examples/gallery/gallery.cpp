#include "gallery.h"

#include <QLabel>
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
