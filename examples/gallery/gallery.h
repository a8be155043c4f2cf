// The gallery's page registry: each page_*.cpp file registers one page with ZB_GALLERY_PAGE.
#ifndef ZB_GALLERY_H
#define ZB_GALLERY_H

#include <QList>
#include <QString>
#include <functional>

class QColor;
class QLabel;
class QLineEdit;
class QWidget;

namespace Gallery {

/*! A word-wrapped explanatory label, styled by the gallery's "hint" property. */
QLabel* hintLabel(const QString& text, QWidget* parent);

/*! \a text moved towards \a background by a third: a secondary text that stays readable. */
QColor secondaryText(const QColor& text, const QColor& background);

/*!
    Gives \a edit a secondary-text placeholder that follows its palette: Fusion's own, the text at
    half strength, is too faint on a light background.
*/
void readablePlaceholder(QLineEdit* edit);

struct Page
{
    int order;                                     // pages are listed in ascending order
    QString title;                                 // shown in the page list and used for screenshot names
    std::function<QWidget*(QWidget* parent)> make; // builds the page's widget
};

/*! Every registered page, in ascending order. */
QList<Page> Pages();

struct PageRegistrar
{
    PageRegistrar(int order, const char* title, std::function<QWidget*(QWidget* parent)> make);
};

} // namespace Gallery

#define ZB_GALLERY_CONCAT_(a, b) a##b
#define ZB_GALLERY_CONCAT(a, b) ZB_GALLERY_CONCAT_(a, b)
/*! Registers a page: ZB_GALLERY_PAGE(10, "Frame", [](QWidget* parent) { return new FramePage(parent); }) */
#define ZB_GALLERY_PAGE(order, title, make)                                                                  \
    static const Gallery::PageRegistrar ZB_GALLERY_CONCAT(zbGalleryPage_, __LINE__)(order, title, make)

#endif // ZB_GALLERY_H
