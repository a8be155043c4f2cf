// Gallery page: a multi-document area with a few documents and buttons that drive it.
#include "gallery.h"

#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

class MdiPage : public QWidget
{
public:
    explicit MdiPage(QWidget* parent) : QWidget(parent)
    {
        area = new ZBMdiAreaWidget(this);
        status = new QLabel(this);

        auto* buttons = new QHBoxLayout;
        const auto add = [&](const QString& text, auto slot) {
            auto* button = new QPushButton(text, this);
            connect(button, &QPushButton::clicked, this, slot);
            buttons->addWidget(button);
            return button;
        };
        add(tr("New"), [this] { NewDocument(); });
        add(tr("Next"), [this] { area->ActivateNextSubWindow(); });
        add(tr("Previous"), [this] { area->ActivatePreviousSubWindow(); });
        add(tr("Maximize"), [this] {
            if (ZBMdiSubWindow* active = area->ActiveSubWindow())
                active->ShowMaximized();
        });
        add(tr("Minimize"), [this] {
            if (ZBMdiSubWindow* active = area->ActiveSubWindow())
                active->ShowMinimized();
        });
        add(tr("Close"), [this] { area->CloseActiveSubWindow(); });
        add(tr("Close all"), [this] { area->CloseAllSubWindows(); });
        QPushButton* block = add(tr("Block"), [] {});
        block->setCheckable(true);
        connect(block, &QPushButton::toggled, this, [this](bool on) {
            area->BlockMdiArea(on);
            ShowStatus();
        });
        buttons->addStretch();

        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(area, 1);
        layout->addWidget(status);

        connect(area, &ZBMdiAreaWidget::SubWindowActivated, this, [this] { ShowStatus(); });
        for (int i = 0; i < 4; ++i)
            NewDocument();
        ShowStatus();
    }

private:
    void NewDocument()
    {
        ++count;
        auto* text = new QTextEdit;
        text->setWindowTitle(tr("Document %1").arg(count));
        text->setPlainText(tr("Document %1.\n\nClick a window or its text to activate it; drag its title to "
                              "move it; double-click the title to maximise or restore it.")
                               .arg(count));
        ZBMdiSubWindow* sub = area->AddWidget(text);
        if (!sub) { // the area is blocked and said so in the log
            delete text;
            return;
        }
        sub->setGeometry(30 * ((count - 1) % 8), 25 * ((count - 1) % 8), 320, 220);
    }

    void ShowStatus()
    {
        ZBMdiSubWindow* active = area->ActiveSubWindow();
        const QString name = active && active->GetWidget() ? active->GetWidget()->windowTitle() : tr("none");
        status->setText(tr("Active: %1. Documents: %2.%3")
                            .arg(name)
                            .arg(area->SubWindowsCount())
                            .arg(area->IsBlocked() ? tr(" The area is blocked.") : QString()));
    }

    ZBMdiAreaWidget* area = nullptr;
    QLabel* status = nullptr;
    int count = 0;
};

} // namespace

ZB_GALLERY_PAGE(30, "Multi-document area", [](QWidget* parent) -> QWidget* { return new MdiPage(parent); });
