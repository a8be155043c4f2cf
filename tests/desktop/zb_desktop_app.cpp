// What desktop_test.py drives on X11 and Wayland: it reports its screens and where its widgets sit in their
// windows ("at NAME x y w h"); --still turns animations off, --own moves and resizes by its own arithmetic.
#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBMessageBox.h" // and the dialog and frame it derives from
#include "ZBPopupInfo.h"
#include "ZBTheme.h"
#include "ZBTitleBar.h"

#include <QApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

class Delegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;
    void PaintCurrentItem(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {200, 30}; }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return {200, 30}; }
};

// Fusion; still: with animations off, as desktops set it for reduced motion.
class Style : public QProxyStyle
{
public:
    explicit Style(bool still) : QProxyStyle(QStringLiteral("Fusion")), still(still) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        return hint == SH_Widget_Animate && still ? 0 : QProxyStyle::styleHint(hint, option, widget, data);
    }
    const bool still;
};

// Names a top-level frame; only its own content shows colour (the combo box's list is a window inside it).
ZBWidget* dressed(ZBWidget* window, const char* name, const char* colour, int intensifyTime = 400)
{
    window->setWindowTitle(QLatin1String(name));
    window->setObjectName(QLatin1String(name));
    window->setStyleSheet(QStringLiteral("#%1 > #ZBWIDGETMAINCONTENT > #ZBWIDGETCONTENT { background: %2 }")
                              .arg(QLatin1String(name), QLatin1String(colour)));
    window->SetIntensifyTime(intensifyTime);
    window->SetFadeTime(200);
    return window;
}

void at(const char* name, const QWidget* widget, const QWidget* window)
{
    const QPoint p = widget->mapTo(window, QPoint(0, 0));
    std::printf("at %s %d %d %d %d\n", name, p.x(), p.y(), widget->width(), widget->height());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ); // each line reaches the test as it is printed
    QApplication::setStyle(new Style(app.arguments().contains(QStringLiteral("--still"))));
    ZBTheme::Install(&app);
    // Dark enough for white text: the selection shows it as it is.
    ZBTheme::SetAccentColor(QColor(0x2f, 0x62, 0xd6));

    ZBWidget main(nullptr, Qt::Window);
    dressed(&main, "zb-main", "#20c040");
    main.AddRestoreButton();
    main.AddMaximizeButton();
    main.AddMinimizeButton();
    main.findChild<QToolButton*>(QStringLiteral("RESTOREBUTTON"))->hide();
    main.Content()->setMinimumSize(360, 260); // the window's minimum size and size hint follow
    main.setGeometry(120, 100, 480, 360);
    main.SetSystemMoveEnabled(!app.arguments().contains(QStringLiteral("--own"))); // own arithmetic
    ZBDialog::SetTopLevelWidget(&main);

    auto* combo = new ZBComboBox(main.Content());
    combo->SetItemDelegate(new Delegate(combo));
    combo->HidePopupTitleBar();
    combo->HidePopupFooterBar();
    for (int i = 0; i < 3; ++i)
        combo->InsertItem(i); // three empty rows: the list's place and its selection are what is watched
    combo->SetCurrentIndex(0);
    // The child's fade-in is long enough to be watched from outside from its first steps.
    ZBWidget* child = dressed(new ZBWidget(&main, Qt::Window), "zb-child", "#c04020", 1500);
    child->resize(240, 180);

    const auto key = [&main](const char* sequence, auto action) {
        QObject::connect(new QShortcut(QKeySequence(QLatin1String(sequence)), &main), &QShortcut::activated,
                         &main, action);
    };

    key("D", [] {
        ZBDialog dialog;
        dialog.setWindowTitle(QStringLiteral("zb-dialog"));
        dialog.resize(240, 160);
        std::printf("dialog %d\n", dialog.Exec());
    });
    key("M", [&main] { // without the application's top-level widget
        ZBDialog::SetTopLevelWidget(nullptr);
        std::printf("message %d\n", ZBMessageBox::Information(&main, QStringLiteral("zb-message"),
                                                              QStringLiteral("A short text."),
                                                              ZBMessageBox::Ok, ZBMessageBox::Ok));
        ZBDialog::SetTopLevelWidget(&main);
    });
    key("P", [&main] {
        QPixmap mark(24, 24);
        mark.fill(QColor(0xf0, 0xe0, 0x20));
        ZBPopupInfo::ShowTextPopup(QStringLiteral("zb popup"), mark, Qt::AlignCenter, &main, 3000, 0, 0);
        ZBPopupInfo* popup = main.findChildren<ZBPopupInfo*>().last();
        QTimer::singleShot(100, popup, [popup] { // laid out by then
            at("popup", popup, popup);
            at("mark", popup->Content()->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly), popup);
        });
    });
    key("W", [child] { child->show(); });
    QObject::connect(&main, &ZBWidget::FadeStateChanged, &main, [&](int state) {
        if (state != 2 || !main.isVisible())
            return;
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect r = screen->availableGeometry();
            std::printf("screen %d %d %d %d\n", r.x(), r.y(), r.width(), r.height());
        }
        std::printf("minimum %d %d\n", main.minimumSizeHint().width(), main.minimumSizeHint().height());
        at("window", &main, &main);
        at("title", main.TitleBar(), &main);
        at("content", main.Content(), &main);
        at("combo", combo, &main);
        for (const QToolButton* button : main.TitleBar()->findChildren<QToolButton*>())
            at(qPrintable(button->objectName()), button, &main);
        std::puts("ready");
    });
    main.show();
    return app.exec();
}
