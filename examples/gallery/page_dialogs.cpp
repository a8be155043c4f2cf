// Gallery page: the modal dialog, the message box and the text popup.
#include "gallery.h"

#include <ZBDialog.h>
#include <ZBMessageBox.h>
#include <ZBPopupInfo.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// An application's own dialog: a name to enter, OK and Cancel.
class NameDialog : public ZBDialog
{
public:
    NameDialog()
    {
        setWindowTitle(QObject::tr("Rename layer"));
        auto* grid = new QGridLayout(Content());
        grid->addWidget(new QLabel(QObject::tr("New name:")), 0, 0);
        edit = new QLineEdit(QObject::tr("Layer 1"));
        grid->addWidget(edit, 0, 1, 1, 2);
        auto* ok = new QPushButton(QObject::tr("OK"));
        ok->setDefault(true);
        auto* cancel = new QPushButton(QObject::tr("Cancel"));
        grid->addWidget(ok, 1, 1);
        grid->addWidget(cancel, 1, 2);
        QObject::connect(ok, &QPushButton::clicked, this, &ZBDialog::Accept);
        QObject::connect(cancel, &QPushButton::clicked, this, &ZBDialog::Reject);
        resize(360, 140);
    }

    QLineEdit* edit;
};

// A check mark 24 pixels wide on a screen of any density: the pixmap has the widget's device pixel ratio.
QPixmap popupPicture(qreal ratio)
{
    QPixmap pixmap(qRound(24 * ratio), qRound(24 * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x3d, 0x7e, 0xff));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(2, 2, 20, 20);
    painter.setPen(QPen(Qt::white, 2.5));
    painter.drawLine(7, 12, 11, 16);
    painter.drawLine(11, 16, 17, 8);
    return pixmap;
}

QString resultText(ZBMessageBox::StandardButton button)
{
    return button == ZBMessageBox::NoButton ? QObject::tr("rejected")
                                            : QObject::tr("button 0x%1").arg(int(button), 0, 16);
}

class DialogsPage : public QWidget
{
public:
    explicit DialogsPage(QWidget* parent) : QWidget(parent)
    {
        auto* column = new QVBoxLayout(this);
        column->addWidget(MessageBoxes());
        column->addWidget(CustomDialog());
        column->addWidget(Popups());
        result = new QLabel(tr("Results appear here."));
        column->addWidget(result);
        column->addStretch(1);
    }

private:
    // Dialogs need the application's top-level widget; the gallery's window will do.
    void EnsureTopLevel()
    {
        if (!ZBDialog::GetTopLevelWidget())
            ZBDialog::SetTopLevelWidget(window());
    }

    QGroupBox* MessageBoxes()
    {
        auto* box = new QGroupBox(tr("Message boxes"));
        auto* grid = new QGridLayout(box);
        using Function =
            ZBMessageBox::StandardButton (*)(QWidget*, const QString&, const QString&,
                                             ZBMessageBox::StandardButtons, ZBMessageBox::StandardButton);
        struct Kind
        {
            const char* name;
            Function function;
            ZBMessageBox::StandardButtons buttons;
            ZBMessageBox::StandardButton defaultButton;
            const char* text;
        };
        const Kind kinds[] = {
            {"Critical", &ZBMessageBox::Critical,
             ZBMessageBox::Abort | ZBMessageBox::Retry | ZBMessageBox::Ignore, ZBMessageBox::Retry,
             "The disk is not responding.\nThe file could not be written."},
            {"Information", &ZBMessageBox::Information, ZBMessageBox::Ok, ZBMessageBox::Ok,
             "All 24 pictures were exported."},
            {"Question", &ZBMessageBox::Question, ZBMessageBox::Yes | ZBMessageBox::No | ZBMessageBox::Cancel,
             ZBMessageBox::Yes, "Save the changes to \"Untitled\" before closing?"},
            {"Warning", &ZBMessageBox::Warning, ZBMessageBox::Ok | ZBMessageBox::Cancel, ZBMessageBox::Cancel,
             "This replaces the existing layout. A long line shows how the text is wrapped at a third of the "
             "screen's width and scrolls when it grows taller than a third of its height."},
        };
        int i = 0;
        for (const Kind& kind : kinds) {
            auto* button = new QPushButton(tr(kind.name));
            grid->addWidget(button, 0, i++);
            connect(button, &QPushButton::clicked, this, [this, kind] {
                EnsureTopLevel();
                const auto pressed =
                    kind.function(this, tr(kind.name), tr(kind.text), kind.buttons, kind.defaultButton);
                result->setText(tr("%1: %2").arg(tr(kind.name), resultText(pressed)));
            });
        }

        auto* custom = new QPushButton(tr("Built by hand"));
        grid->addWidget(custom, 1, 0);
        connect(custom, &QPushButton::clicked, this, [this] {
            EnsureTopLevel();
            ZBMessageBox update;
            update.setWindowTitle(tr("Update"));
            update.SetIcon(ZBMessageBox::InformationIcon);
            update.SetText(
                tr("<b>Version 2.4</b> is ready.<br>See the <a href=\"https://www.qt.io\">notes</a>."));
            update.AddButton(tr("Install now"), ZBMessageBox::Apply);
            update.AddButton(tr("Later"), ZBMessageBox::Close);
            update.AddButton(ZBMessageBox::Help);
            update.SetDefaultButton(ZBMessageBox::Apply);
            result->setText(
                tr("Built by hand: %1").arg(resultText(ZBMessageBox::StandardButton(update.Exec()))));
        });
        return box;
    }

    QGroupBox* CustomDialog()
    {
        auto* box = new QGroupBox(tr("Custom dialog"));
        auto* row = new QGridLayout(box);
        auto* open = new QPushButton(tr("Rename..."));
        row->addWidget(open, 0, 0);
        row->setColumnStretch(1, 1);
        connect(open, &QPushButton::clicked, this, [this] {
            EnsureTopLevel();
            NameDialog dialog;
            const int code = dialog.Exec();
            result->setText(code == 1 ? tr("Renamed to \"%1\"").arg(dialog.edit->text())
                                      : tr("Rename cancelled (%1)").arg(code));
        });
        return box;
    }

    QGroupBox* Popups()
    {
        auto* box = new QGroupBox(tr("Popups"));
        auto* grid = new QGridLayout(box);
        auto* atPoint = new QCheckBox(tr("At the button (first form) instead of inside this page"));
        auto* withPicture = new QCheckBox(tr("With a picture"));
        withPicture->setChecked(true);
        grid->addWidget(atPoint, 0, 0, 1, 3);
        grid->addWidget(withPicture, 1, 0, 1, 3);

        const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
        const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        const char* names[3][3] = {{"Top left", "Top", "Top right"},
                                   {"Left", "Centre", "Right"},
                                   {"Bottom left", "Bottom", "Bottom right"}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                const int alignment = int(vertical[r] | horizontal[c]);
                auto* button = new QPushButton(tr(names[r][c]));
                grid->addWidget(button, 2 + r, c);
                connect(button, &QPushButton::clicked, this, [=] {
                    const QString text = tr("%1 popup").arg(button->text());
                    const QPixmap picture =
                        withPicture->isChecked() ? popupPicture(devicePixelRatioF()) : QPixmap();
                    if (atPoint->isChecked())
                        ZBPopupInfo::ShowTextPopup(text, picture, alignment,
                                                   button->mapToGlobal(button->rect().center()), this, 2000,
                                                   300, 600);
                    else
                        ZBPopupInfo::ShowTextPopup(text, picture, alignment, this, 2000, 300, 600);
                });
            }
        }
        return box;
    }

    QLabel* result;
};

} // namespace

ZB_GALLERY_PAGE(20, "Dialogs", [](QWidget* parent) { return new DialogsPage(parent); });
