// The frame page: a frameless ZBWidget window to move, resize, fade, retitle and refill.
#include "gallery.h"

#include "ZBWidget.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Gallery::hintLabel;

// The window the page drives: a ZBWidget with every window button and a content that can be swapped.
class DemoWindow : public ZBWidget
{
    Q_OBJECT

public:
    explicit DemoWindow(QWidget* parent) : ZBWidget(parent, Qt::Window)
    {
        // Each new button lands left of the earlier ones: this order reads minimize, maximize, close.
        AddRestoreButton();
        AddMaximizeButton();
        AddMinimizeButton();
        RestoreButton()->hide();
        fill(Content(), 0);
        setWindowTitle(tr("Frameless window"));
        resize(440, 300);
    }

    // Puts a freshly built content widget in place of the current one; its window title becomes
    // the title, as with any replaced content.
    void SwapContent()
    {
        ++m_generation;
        auto* content = new QWidget;
        content->setWindowTitle(tr("Content #%1").arg(m_generation + 1));
        fill(content, m_generation);
        ReplaceContent(content);
    }

private:
    void fill(QWidget* content, int generation)
    {
        auto* layout = new QVBoxLayout(content);
        layout->setContentsMargins(20, 16, 20, 16);
        auto* heading = new QLabel(generation == 0 ? tr("Hello from a frameless window")
                                                   : tr("Replacement content #%1").arg(generation + 1),
                                   content);
        QFont font = heading->font();
        font.setPointSizeF(font.pointSizeF() * 1.3);
        font.setWeight(QFont::DemiBold);
        heading->setFont(font);
        layout->addWidget(heading);
        layout->addWidget(hintLabel(tr("Drag the title bar to move this window and any edge or corner to "
                                       "resize it. The close button fades the window out before it closes."),
                                    content));
        layout->addStretch(1);
        auto* input = new QLineEdit(content);
        input->setPlaceholderText(tr("Type here"));
        layout->addWidget(input);
    }

    int m_generation = 0;
};

const char* fadeStateName(int state)
{
    switch (state) {
    case 0:
        return QT_TRANSLATE_NOOP("FramePage", "closed");
    case 1:
        return QT_TRANSLATE_NOOP("FramePage", "fading in");
    case 2:
        return QT_TRANSLATE_NOOP("FramePage", "steady");
    case 3:
        return QT_TRANSLATE_NOOP("FramePage", "hiding");
    case 4:
        return QT_TRANSLATE_NOOP("FramePage", "closing");
    }
    return "";
}

class FramePage : public QWidget
{
    Q_OBJECT

public:
    explicit FramePage(QWidget* parent) : QWidget(parent), m_demo(new DemoWindow(this))
    {
        m_demo->SetIntensifyTime(250);
        m_demo->SetFadeTime(250);
        m_demo->installEventFilter(this);

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 12, 12);
        layout->addWidget(hintLabel(tr("ZBWidget is a frameless window that draws its own title bar and "
                                       "buttons, moves and resizes itself, and fades in and out. Open the "
                                       "demo window and try it."),
                                    this));
        auto* grid = new QGridLayout;
        grid->setSpacing(12);
        grid->addWidget(buildWindowBox(), 0, 0);
        grid->addWidget(buildFadeBox(), 0, 1);
        grid->addWidget(buildContentBox(), 1, 0);
        grid->addWidget(buildMouseBox(), 1, 1);
        grid->setColumnStretch(0, 1);
        grid->setColumnStretch(1, 1);
        layout->addLayout(grid);
        layout->addStretch(1);

        connect(m_demo, &ZBWidget::FadeStateChanged, this, &FramePage::showFadeState);
        showFadeState(0);
        showGeometry();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_demo && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
            showGeometry();
        return QWidget::eventFilter(watched, event);
    }

private:
    QGroupBox* buildWindowBox()
    {
        auto* box = new QGroupBox(tr("Window"), this);
        auto* layout = new QVBoxLayout(box);
        auto* buttons = new QHBoxLayout;
        auto* show = new QPushButton(tr("Show window"), box);
        show->setProperty("accent", true);
        auto* hide = new QPushButton(tr("Hide"), box);
        auto* close = new QPushButton(tr("Close"), box);
        buttons->addWidget(show);
        buttons->addWidget(hide);
        buttons->addWidget(close);
        buttons->addStretch(1);
        layout->addLayout(buttons);
        m_state = new QLabel(box);
        m_geometry = new QLabel(box);
        m_geometry->setProperty("hint", true);
        layout->addWidget(m_state);
        layout->addWidget(m_geometry);

        connect(show, &QPushButton::clicked, m_demo, [this] {
            if (!m_placed) {
                // First time: open over the gallery, a little below and right of its centre.
                m_demo->move(window()->geometry().center() - m_demo->rect().center() + QPoint(40, 40));
                m_placed = true;
            }
            m_demo->show();
            m_demo->raise();
            m_demo->activateWindow();
        });
        connect(hide, &QPushButton::clicked, m_demo, &QWidget::hide);
        connect(close, &QPushButton::clicked, m_demo, &QWidget::close);
        return box;
    }

    QGroupBox* buildFadeBox()
    {
        auto* box = new QGroupBox(tr("Fading"), this);
        auto* form = new QFormLayout(box);
        auto* intensify = timeSpin(box);
        auto* fade = timeSpin(box);
        form->addRow(tr("Intensify time"), intensify);
        form->addRow(tr("Fade time"), fade);
        form->addRow(
            hintLabel(tr("The window steps its opacity every 40 ms; 0 shows or hides it at once."), box));
        connect(intensify, QOverload<int>::of(&QSpinBox::valueChanged), m_demo, &ZBWidget::SetIntensifyTime);
        connect(fade, QOverload<int>::of(&QSpinBox::valueChanged), m_demo, &ZBWidget::SetFadeTime);
        return box;
    }

    QGroupBox* buildContentBox()
    {
        auto* box = new QGroupBox(tr("Title and content"), this);
        auto* form = new QFormLayout(box);
        auto* title = new QLineEdit(m_demo->windowTitle(), box);
        form->addRow(tr("Title"), title);
        auto* replace = new QPushButton(tr("Replace content"), box);
        auto* replaceRow = new QHBoxLayout;
        replaceRow->addWidget(replace);
        replaceRow->addStretch(1);
        form->addRow(QString(), replaceRow);
        form->addRow(hintLabel(tr("New content brings its own window title into the title bar."), box));
        connect(title, &QLineEdit::textEdited, m_demo, &QWidget::setWindowTitle);
        connect(replace, &QPushButton::clicked, m_demo, [this, title] {
            m_demo->SwapContent();
            title->setText(m_demo->Content()->windowTitle());
        });
        return box;
    }

    QGroupBox* buildMouseBox()
    {
        auto* box = new QGroupBox(tr("Moving and resizing"), this);
        auto* layout = new QVBoxLayout(box);
        auto* ignoreMove = new QCheckBox(tr("Ignore title move"), box);
        auto* ignoreResize = new QCheckBox(tr("Ignore resize"), box);
        layout->addWidget(ignoreMove);
        layout->addWidget(ignoreResize);
        layout->addWidget(
            hintLabel(tr("Resize at the 5-pixel band along the edges; the corners resize both ways."), box));
        connect(ignoreMove, &QCheckBox::toggled, m_demo, &ZBWidget::IgnoreTitleMove);
        connect(ignoreResize, &QCheckBox::toggled, m_demo, &ZBWidget::IgnoreResize);
        return box;
    }

    QSpinBox* timeSpin(QWidget* parent)
    {
        auto* spin = new QSpinBox(parent);
        spin->setRange(0, 5000);
        spin->setSingleStep(50);
        spin->setSuffix(tr(" ms"));
        spin->setValue(250);
        return spin;
    }

    void showFadeState(int state)
    {
        m_state->setText(tr("Fade state: %1 (%2)").arg(state).arg(tr(fadeStateName(state))));
    }

    void showGeometry()
    {
        const QRect g = m_demo->geometry();
        m_geometry->setText(
            tr("Geometry: %1 x %2 at %3, %4").arg(g.width()).arg(g.height()).arg(g.x()).arg(g.y()));
    }

    DemoWindow* m_demo;
    QLabel* m_state = nullptr;
    QLabel* m_geometry = nullptr;
    bool m_placed = false;
};

} // namespace

ZB_GALLERY_PAGE(10, "Frame", [](QWidget* parent) { return new FramePage(parent); });

#include "page_frame.moc"
