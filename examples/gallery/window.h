// The gallery's main window and look, shared by the gallery and the contrast check of its texts.
#ifndef ZB_GALLERY_WINDOW_H
#define ZB_GALLERY_WINDOW_H

#include "gallery.h"

#include "ZBWidget.h"

class QApplication;
class QListWidget;
class QStackedWidget;

namespace Gallery {

/*! Fusion, the default theme and the gallery's own rules on top of it. */
void InstallLook(QApplication& app);

/*! A frameless main window: the page list on the left, the current page beside it. */
class Window : public ZBWidget
{
    Q_OBJECT

public:
    Window();

    int PageCount() const;
    QString PageTitle(int index) const;
    void ShowPage(int index);

private:
    QWidget* WrapPage(const Page& page);

    QListWidget* m_list = nullptr;
    QStackedWidget* m_stack = nullptr;
};

} // namespace Gallery

#endif // ZB_GALLERY_WINDOW_H
