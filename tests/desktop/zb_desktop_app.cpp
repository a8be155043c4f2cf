// The application that desktop_test.py drives on X11 and Wayland: it reports its screens ("screen x y w h")
// and where its widgets sit in their windows ("at NAME x y w h"); --still turns animations off, --own
// moves and resizes by the library's own arithmetic.
#include "ZBComboBox.h"
#include "ZBComboBoxItemDelegate.h"
#include "ZBDialog.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBMessageBox.h"
#include "ZBPopupInfo.h"
#include "ZBTheme.h"
#include "ZBTitleBar.h"
#include "ZBWidget.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QStyleFactory>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>
#include <functional>

namespace {

class Delegate : public ZBComboBoxItemDelegate
{
public:
    using ZBComboBoxItemDelegate::ZBComboBoxItemDelegate;
    void PaintCurrentItem(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        painter->drawText(option.rect.adjusted(8, 0, 0, 0), Qt::AlignVCenter, index.data().toString());
    }
    QSize ItemSizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {200, 30}; }
    QSize MinimumSizeHint(const QStyleOptionViewItem&) const override { return {200, 30}; }
};

// A style with animations off, as desktops set it for reduced motion.
class Still : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        return hint == SH_Widget_Animate ? 0 : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

class Window : public ZBWidget
{
public:
    Window(QWidget* parent, const char* name, const char* colour) : ZBWidget(parent, Qt::Window)
    {
        setWindowTitle(QLatin1String(name));
        setObjectName(QLatin1String(name));
        // Only this window's own content: the combo box's list is a window inside it.
        setStyleSheet(QStringLiteral("#%1 > #ZBWIDGETMAINCONTENT > #ZBWIDGETCONTENT { background: %2 }")
                          .arg(QLatin1String(name), QLatin1String(colour)));
        SetIntensifyTime(400);
        SetFadeTime(200);
    }
    using ZBWidget::CloseButton, ZBWidget::MaximizeButton, ZBWidget::MinimizeButton, ZBWidget::RestoreButton;
};

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void at(const char* name, const QWidget* widget, const QWidget* window)
{
    const QPoint p = widget->mapTo(window, QPoint(0, 0));
    say(QString::asprintf("at %s %d %d %d %d", name, p.x(), p.y(), widget->width(), widget->height()));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(app.arguments().contains(QStringLiteral("--still")) ? new Still(fusion) : fusion);
    ZBTheme::Install(&app);
    ZBTheme::SetAccentColor(
        QColor(0x2f, 0x62, 0xd6)); // dark enough for white text: the selection shows it as it is
    app.setStyleSheet(app.styleSheet() +
                      QStringLiteral("ZBMessageBox #ZBWIDGETCONTENT { background: #a0e0f0 }"));

    Window main(nullptr, "zb-main", "#20c040");
    main.AddRestoreButton();
    main.AddMaximizeButton();
    main.AddMinimizeButton();
    main.RestoreButton()->hide();
    main.Content()->setMinimumSize(360, 260); // the window's minimum size and size hint follow
    main.resize(480, 360);
    main.move(120, 100);
    main.SetSystemMoveEnabled(!app.arguments().contains(QStringLiteral("--own"))); // own arithmetic
    ZBDialog::SetTopLevelWidget(&main);

    auto* layout = new QVBoxLayout(main.Content());
    auto* combo = new ZBComboBox(main.Content());
    combo->SetItemDelegate(new Delegate(combo));
    combo->HidePopupTitleBar();
    combo->HidePopupFooterBar();
    for (int i = 0; i < 3; ++i) {
        combo->InsertItem(i);
        combo->SetItemData(i, QStringLiteral("Item %1").arg(i + 1), Qt::DisplayRole);
    }
    combo->SetCurrentIndex(0);
    layout->addWidget(combo, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    auto* child = new Window(&main, "zb-child", "#c04020");
    child->resize(240, 180);
    child->SetIntensifyTime(1500); // long enough to be watched from outside from its first steps

    const auto key = [&main](const char* sequence, std::function<void()> action) {
        QObject::connect(new QShortcut(QKeySequence(QLatin1String(sequence)), &main), &QShortcut::activated,
                         &main, action);
    };
    key("D", [] {
        ZBDialog dialog;
        dialog.setWindowTitle(QStringLiteral("zb-dialog"));
        dialog.Content()->setStyleSheet(QStringLiteral("background: #d020d0"));
        dialog.resize(240, 160);
        say(QStringLiteral("dialog %1").arg(dialog.Exec()));
    });
    key("M", [&main] { // without the application's top-level widget
        ZBDialog::SetTopLevelWidget(nullptr);
        say(QStringLiteral("message %1")
                .arg(ZBMessageBox::Information(&main, QStringLiteral("zb-message"),
                                               QStringLiteral("A short text."), ZBMessageBox::Ok,
                                               ZBMessageBox::Ok)));
        ZBDialog::SetTopLevelWidget(&main);
    });
    key("P", [&main] {
        QPixmap mark(24, 24);
        mark.fill(QColor(0xf0, 0xe0, 0x20));
        ZBPopupInfo::ShowTextPopup(QStringLiteral("zb popup"), mark, Qt::AlignCenter, &main, 3000, 0, 0);
        QPointer<ZBPopupInfo> popup = main.findChildren<ZBPopupInfo*>().last();
        QTimer::singleShot(100, popup, [popup] { // laid out by then
            at("popup", popup, popup);
            at("mark", popup->Content()->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly), popup);
        });
    });
    key("W", [child] { child->show(); });
    // Three documents; F5 tiles, F6 cascades them, each reporting their places in the area's viewport.
    key("T", [&main] {
        auto* documents = new QWidget(&main, Qt::Window);
        documents->setWindowTitle(QStringLiteral("zb-documents"));
        auto* area = new ZBMdiAreaWidget(documents);
        (new QVBoxLayout(documents))->addWidget(area);
        for (int i = 1; i <= 3; ++i) {
            auto* document = new ZBMdiSubWindow;
            document->setObjectName(QStringLiteral("doc%1").arg(i));
            document->SetWidget(new QTextEdit);
            document->setGeometry(40 * i, 30 * i, 300, 200);
            area->AddSubWindow(document);
        }
        for (const auto& [keys, arrange] : {std::pair{Qt::Key_F5, &ZBMdiAreaWidget::TileSubWindows},
                                            std::pair{Qt::Key_F6, &ZBMdiAreaWidget::CascadeSubWindows}}) {
            QObject::connect(
                new QShortcut(keys, documents), &QShortcut::activated, area, [area, arrange = arrange] {
                    (area->*arrange)();
                    at("viewport", area->viewport(), area->viewport());
                    for (const char* name : {"doc1", "doc2", "doc3"})
                        at(name, area->findChild<ZBMdiSubWindow*>(QLatin1String(name)), area->viewport());
                });
        }
        documents->setGeometry(100, 100, 600, 420);
        documents->show();
    });

    QObject::connect(&main, &ZBWidget::FadeStateChanged, &main, [&](int state) {
        if (state != 2 || !main.isVisible())
            return;
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect r = screen->availableGeometry();
            say(QString::asprintf("screen %d %d %d %d", r.x(), r.y(), r.width(), r.height()));
        }
        const QSize least = main.minimumSizeHint();
        say(QStringLiteral("minimum %1 %2").arg(least.width()).arg(least.height()));
        at("window", &main, &main);
        at("title", main.TitleBar(), &main);
        at("content", main.Content(), &main);
        at("close", main.CloseButton(), &main);
        at("maximize", main.MaximizeButton(), &main);
        at("minimize", main.MinimizeButton(), &main);
        at("combo", combo, &main);
        say(QStringLiteral("ready"));
    });
    main.show();
    const int code = app.exec();
    say(QStringLiteral("quit %1").arg(code));
    return code;
}
