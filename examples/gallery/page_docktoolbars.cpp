// The docking and tool bar page: a main window inside the page with a position-ordered tool bar, a
// docked and a floating dock widget, and a tool bar container whose menu shows and hides tools.
#include "gallery.h"

#include "ZBDockWidget.h"
#include "ZBFooterBar.h"
#include "ZBToolBar.h"
#include "ZBToolBarContainer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Gallery::hintLabel;

class DockToolbarsPage : public QWidget
{
public:
    explicit DockToolbarsPage(QWidget* parent) : QWidget(parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(hintLabel(
            tr("The tool bar below was filled out of order: every tool carries a position and stands after "
               "the tools with lower or equal positions. The container in the middle hides and shows single "
               "tools from the menu behind the strip at its right edge. The Properties dock floats; its "
               "borders show resize cursors."),
            this));

        window = new QMainWindow(this);
        window->setWindowFlags(Qt::Widget); // QMainWindow makes itself a window; this one lives in the page
        window->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
        window->addToolBar(makeToolBar());
        window->setCentralWidget(makeCentral());
        explorer = makeExplorer();
        properties = makeProperties();
        window->addDockWidget(Qt::LeftDockWidgetArea, explorer);
        window->addDockWidget(Qt::RightDockWidgetArea, properties);
        layout->addWidget(window, 1);
        layout->addLayout(makeControls());
    }

protected:
    // A floating dock is a window of its own: it floats only while the page is on screen.
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        if (!propertiesFloat)
            return;
        // Once the page is laid out, so that the dock lands over the main window's right side.
        QTimer::singleShot(0, this, [this] {
            if (!isVisible())
                return;
            properties->setFloating(true);
            properties->resize(240, 200);
            properties->move(window->mapToGlobal(QPoint(window->width() - 260, 80)));
        });
    }
    void hideEvent(QHideEvent* event) override
    {
        propertiesFloat = properties->isFloating();
        properties->setFloating(false);
        QWidget::hideEvent(event);
    }

private:
    QIcon icon(QStyle::StandardPixmap pixmap) const { return style()->standardIcon(pixmap); }

    ZBToolBar* makeToolBar()
    {
        toolBar = new ZBToolBar(tr("Main tools"), window);
        // Added in this order, they read: New, Open, |, Save, Save all, |, search, spacer, Help.
        toolBar->AddButton(tr("Open"), icon(QStyle::SP_DialogOpenButton), tr("Open a file"), 10);
        toolBar->AddButton(tr("New"), icon(QStyle::SP_FileIcon), tr("New file"), 0);
        toolBar->AddSeparator(10);
        auto* save = new QAction(icon(QStyle::SP_DialogSaveButton), tr("Save"), toolBar);
        save->setToolTip(tr("Save the file"));
        toolBar->AddAction(save, 20);
        toolBar->AddSeparator(30);
        auto* search = new QLineEdit;
        search->setPlaceholderText(tr("Search"));
        Gallery::readablePlaceholder(search);
        search->setMaximumWidth(160);
        toolBar->AddWidget(search, 30);
        toolBar->AddSpacer(80);
        auto* saveAll = new QAction(icon(QStyle::SP_DriveFDIcon), tr("Save all"), toolBar);
        toolBar->AddAction(saveAll, 20);
        toolBar->AddButton(icon(QStyle::SP_MessageBoxInformation), tr("Help")); // at the end
        return toolBar;
    }

    QWidget* makeCentral()
    {
        auto* central = new QWidget(window);
        auto* layout = new QVBoxLayout(central);
        auto* row = new QHBoxLayout;
        container = new ZBToolBarContainer(central);
        container->setFocusPolicy(Qt::StrongFocus); // its menu opens with Space, too
        container->AddButton(tr("Bold"), QIcon(), tr("Bold"), 0);
        container->AddButton(tr("Italic"), QIcon(), tr("Italic"), 1);
        QAction* underline = container->AddAction(QIcon(), tr("Underline"), tr("Underline"), 2);
        underline->setCheckable(true);
        auto* size = new QComboBox;
        size->addItems(
            {QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14")});
        size->setWindowTitle(tr("Font size"));
        container->AddWidget(size, 5);
        auto* note = new QLabel(tr("added first, stands last"));
        note->setWindowTitle(tr("Note"));
        container->AddWidget(note, 9);
        row->addWidget(container);
        row->addStretch();
        layout->addLayout(row);
        auto* text = new QPlainTextEdit(central);
        text->setPlainText(
            tr("Open the container's menu with the strip at its right edge and uncheck a tool."));
        layout->addWidget(text, 1);
        return central;
    }

    ZBDockWidget* makeExplorer()
    {
        auto* dock = new ZBDockWidget(tr("Explorer"), window);
        auto* list = new QListWidget;
        for (const QString& name : {QStringLiteral("main.cpp"), QStringLiteral("window.cpp"),
                                    QStringLiteral("window.h"), QStringLiteral("CMakeLists.txt")})
            list->addItem(name);
        dock->SetWidget(list);
        auto* footer = new QHBoxLayout(dock->FooterBar()->Content());
        footer->setContentsMargins(4, 2, 4, 2);
        footer->addWidget(new QLabel(tr("4 files")));
        dock->FooterBar()->show();
        return dock;
    }

    ZBDockWidget* makeProperties()
    {
        auto* dock = new ZBDockWidget(tr("Properties"), window);
        auto* panel = new QWidget;
        auto* layout = new QVBoxLayout(panel);
        layout->addWidget(new QCheckBox(tr("Read only")));
        layout->addWidget(new QCheckBox(tr("Word wrap")));
        layout->addStretch();
        dock->SetWidget(panel);
        return dock;
    }

    QHBoxLayout* makeControls()
    {
        auto* controls = new QHBoxLayout;
        auto* floatButton = new QPushButton(tr("Float or dock Properties"), this);
        connect(floatButton, &QPushButton::clicked, this,
                [this] { properties->setFloating(!properties->isFloating()); });
        auto* showDocks = new QPushButton(tr("Show hidden docks"), this);
        connect(showDocks, &QPushButton::clicked, this, [this] {
            explorer->show();
            properties->show();
        });
        auto* textBeside = new QCheckBox(tr("Text beside icons"), this);
        connect(textBeside, &QCheckBox::toggled, this, [this](bool on) {
            toolBar->setToolButtonStyle(on ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
        });
        auto* iconSize = new QSpinBox(this);
        iconSize->setRange(12, 48);
        iconSize->setValue(toolBar->iconSize().width());
        iconSize->setPrefix(tr("Icon size "));
        connect(iconSize, QOverload<int>::of(&QSpinBox::valueChanged), this,
                [this](int value) { toolBar->setIconSize(QSize(value, value)); });
        controls->addWidget(floatButton);
        controls->addWidget(showDocks);
        controls->addWidget(textBeside);
        controls->addWidget(iconSize);
        controls->addStretch();
        return controls;
    }

    QMainWindow* window = nullptr;
    ZBToolBar* toolBar = nullptr;
    ZBToolBarContainer* container = nullptr;
    ZBDockWidget* explorer = nullptr;
    ZBDockWidget* properties = nullptr;
    bool propertiesFloat = true;
};

} // namespace

ZB_GALLERY_PAGE(40, "Docking and tool bars", [](QWidget* parent) { return new DockToolbarsPage(parent); });
