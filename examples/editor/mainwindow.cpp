#include "mainwindow.h"

#include "document.h"

#include "ZBDockWidget.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBMessageBox.h"
#include "ZBTitleBar.h"
#include "ZBToolBar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int MaxRecentFiles = 5;
const QString RecentFilesKey = QStringLiteral("recentFiles");

Document* documentOf(ZBMdiSubWindow* subWindow)
{
    return subWindow ? qobject_cast<Document*>(subWindow->GetWidget()) : nullptr;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : ZBWidget(parent)
{
    setObjectName(QStringLiteral("EditorWindow"));
    // Each button lands left of the ones before: restore, maximize, minimize, close. Restore shows
    // once the window is maximised.
    AddRestoreButton();
    AddMaximizeButton();
    AddMinimizeButton();
    RestoreButton()->hide();
    SetIntensifyTime(120);
    SetFadeTime(120);

    // The frame's content holds a QMainWindow as a plain child: it brings the menu bar, tool bar
    // and dock areas and the status bar.
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    m_inner = new QMainWindow(Content());
    m_inner->setWindowFlags(Qt::Widget); // QMainWindow's constructor always makes a window
    layout->addWidget(m_inner);

    m_area = new ZBMdiAreaWidget(m_inner);
    m_inner->setCentralWidget(m_area);
    connect(m_area, &ZBMdiAreaWidget::SubWindowActivated, this, [this] {
        UpdateActions();
        UpdateTitle();
        UpdateDocumentList();
    });
    // The list is up to date once the closed sub-window has left the area.
    connect(m_area, &ZBMdiAreaWidget::SubWindowAboutClose, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { UpdateDocumentList(); }, Qt::QueuedConnection);
    });

    CreateActions();
    CreateToolBars();
    CreateDock();
    CreateMenus();
    m_inner->statusBar()->showMessage(tr("Ready"), 2000);

    ReadSettings();
    UpdateActions();
    UpdateTitle();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::MakeAction(const char* name, const QString& text, const QString& statusTip,
                                const QKeySequence& keys)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(statusTip);
    action->setShortcut(keys);
    return action;
}

QAction* MainWindow::Action(const char* name) const
{
    return findChild<QAction*>(QLatin1String(name));
}

void MainWindow::CreateActions()
{
    QStyle* s = style();
    QAction* action = MakeAction("new", tr("&New"), tr("Create a new document"), QKeySequence::New);
    action->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    connect(action, &QAction::triggered, this, &MainWindow::NewDocument);
    action = MakeAction("open", tr("&Open..."), tr("Open a text file"), QKeySequence::Open);
    action->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    connect(action, &QAction::triggered, this, &MainWindow::Open);
    action = MakeAction("save", tr("&Save"), tr("Save the document"), QKeySequence::Save);
    action->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    connect(action, &QAction::triggered, this, [this] { ActiveDocument()->Save(); });
    m_documentActions << action;
    action = MakeAction("saveAs", tr("Save &As..."), tr("Save the document under a new name"),
                        QKeySequence::SaveAs);
    connect(action, &QAction::triggered, this, [this] { ActiveDocument()->SaveAs(); });
    m_documentActions << action;
    action = MakeAction("exit", tr("E&xit"), tr("Close every document and quit"), QKeySequence::Quit);
    connect(action, &QAction::triggered, this, &QWidget::close);

    const struct
    {
        const char* name;
        QString text, tip;
        QKeySequence keys;
        void (QPlainTextEdit::*slot)();
    } edits[] = {
        {"cut", tr("Cu&t"), tr("Cut the selection to the clipboard"), QKeySequence::Cut,
         &QPlainTextEdit::cut},
        {"copy", tr("&Copy"), tr("Copy the selection to the clipboard"), QKeySequence::Copy,
         &QPlainTextEdit::copy},
        {"paste", tr("&Paste"), tr("Paste the clipboard"), QKeySequence::Paste, &QPlainTextEdit::paste},
    };
    for (const auto& edit : edits) {
        action = MakeAction(edit.name, edit.text, edit.tip, edit.keys);
        connect(action, &QAction::triggered, this, [this, slot = edit.slot] { (ActiveDocument()->*slot)(); });
        m_documentActions << action;
    }

    // As in Qt's multi-document example, Next and Previous carry the standard keys: an application
    // shortcut takes the key before the area would, and the area's own keys stay for the rest. Next
    // goes to the document used before, as the area's own Ctrl+Tab does; Close leaves its keys (Ctrl+W
    // or Ctrl+F4) to the area.
    const struct
    {
        const char* name;
        QString text, tip;
        void (ZBMdiAreaWidget::*slot)();
        QKeySequence keys = {};
    } windows[] = {
        {"close", tr("Cl&ose"), tr("Close the document"), &ZBMdiAreaWidget::CloseActiveSubWindow},
        {"closeAll", tr("Close &All"), tr("Close every document"), &ZBMdiAreaWidget::CloseAllSubWindows},
        {"tile", tr("&Tile"), tr("Arrange the documents side by side"), &ZBMdiAreaWidget::TileSubWindows},
        {"cascade", tr("&Cascade"), tr("Arrange the documents in a cascade"),
         &ZBMdiAreaWidget::CascadeSubWindows},
        {"next", tr("Ne&xt"), tr("Go to the document used before"),
         &ZBMdiAreaWidget::ActivatePreviousSubWindow, QKeySequence::NextChild},
        {"previous", tr("Pre&vious"), tr("Go back the other way"), &ZBMdiAreaWidget::ActivateNextSubWindow,
         QKeySequence::PreviousChild},
    };
    for (const auto& window : windows) {
        action = MakeAction(window.name, window.text, window.tip, window.keys);
        connect(action, &QAction::triggered, m_area, window.slot);
        m_documentActions << action;
    }

    action = MakeAction("about", tr("&About"), tr("Show the editor's about box"));
    connect(action, &QAction::triggered, this, &MainWindow::About);
    action = MakeAction("aboutQt", tr("About &Qt"), tr("Show the Qt library's about box"));
    connect(action, &QAction::triggered, qApp, &QApplication::aboutQt);
}

void MainWindow::CreateMenus()
{
    QMenuBar* bar = m_inner->menuBar();
    QMenu* file = bar->addMenu(tr("&File"));
    file->addActions({Action("new"), Action("open"), Action("save"), Action("saveAs")});
    file->addSeparator();
    m_recentMenu = file->addMenu(tr("&Recent Files"));
    file->addSeparator();
    file->addAction(Action("exit"));

    bar->addMenu(tr("&Edit"))->addActions({Action("cut"), Action("copy"), Action("paste")});
    bar->addMenu(tr("&View"))
        ->addActions({m_dock->toggleViewAction(), m_fileToolBar->toggleViewAction(),
                      m_editToolBar->toggleViewAction()});

    m_windowMenu = bar->addMenu(tr("&Window"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::UpdateWindowMenu);
    UpdateWindowMenu();

    QMenu* help = bar->addMenu(tr("&Help"));
    help->addActions({Action("about"), Action("aboutQt")});
}

void MainWindow::CreateToolBars()
{
    // Qt's own calls work on the library's tool bar: the file tools come in through addAction().
    m_fileToolBar = new ZBToolBar(tr("File"), m_inner);
    m_fileToolBar->setObjectName(QStringLiteral("FileToolBar"));
    m_fileToolBar->addAction(Action("new"));
    m_fileToolBar->addAction(Action("open"));
    m_fileToolBar->addAction(Action("save"));
    m_inner->addToolBar(m_fileToolBar);

    // The library's own calls, with positions: paste first in the code, last in the row.
    m_editToolBar = new ZBToolBar(tr("Edit"), m_inner);
    m_editToolBar->setObjectName(QStringLiteral("EditToolBar"));
    m_editToolBar->AddAction(Action("paste"), 30);
    m_editToolBar->AddAction(Action("cut"), 10);
    m_editToolBar->AddAction(Action("copy"), 20);
    m_inner->addToolBar(m_editToolBar);
}

void MainWindow::CreateDock()
{
    m_dock = new ZBDockWidget(tr("Documents"), m_inner);
    m_dock->setObjectName(QStringLiteral("DocumentsDock"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("DocumentList"));
    m_dock->setWidget(m_list); // the QDockWidget habit keeps the dock's own frame
    m_inner->addDockWidget(Qt::LeftDockWidgetArea, m_dock);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_area->SetActiveSubWindow(m_area->SubWindowList().value(m_list->row(item)));
    });
}

Document* MainWindow::NewDocument()
{
    auto* document = new Document;
    document->NewFile();
    AddDocument(document);
    return document;
}

bool MainWindow::OpenFile(const QString& path)
{
    if (ZBMdiSubWindow* open = SubWindowOf(path)) {
        m_area->SetActiveSubWindow(open);
        return true;
    }
    auto* document = new Document;
    if (!document->Load(path)) {
        delete document;
        return false;
    }
    AddDocument(document);
    m_inner->statusBar()->showMessage(tr("Opened %1").arg(document->DisplayName()), 2000);
    return true;
}

Document* MainWindow::ActiveDocument() const
{
    return documentOf(m_area->ActiveSubWindow());
}

void MainWindow::AddDocument(Document* document)
{
    connect(document, &Document::FileUsed, this, &MainWindow::AddRecentFile);
    connect(document, &QWidget::windowTitleChanged, this, [this] {
        UpdateTitle();
        UpdateDocumentList();
    });
    connect(document->document(), &QTextDocument::modificationChanged, this, [this] {
        UpdateTitle();
        UpdateDocumentList();
    });
    // New documents step down from the corner; the area itself places them all at (0, 0).
    const int n = m_area->SubWindowsCount() % 8;
    ZBMdiSubWindow* subWindow = m_area->AddWidget(document);
    if (!subWindow)
        return;
    const QSize size = m_area->viewport()->size() * 2 / 3;
    subWindow->setGeometry(QRect(QPoint(n, n) * subWindow->TitleBar()->sizeHint().height(),
                                 size.expandedTo(subWindow->minimumSizeHint())));
}

ZBMdiSubWindow* MainWindow::SubWindowOf(const QString& path) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (ZBMdiSubWindow* subWindow : m_area->SubWindowList()) {
        if (Document* document = documentOf(subWindow); document && document->FilePath() == canonical)
            return subWindow;
    }
    return nullptr;
}

void MainWindow::Open()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Open"));
    if (!path.isEmpty())
        OpenFile(path);
}

void MainWindow::About()
{
    ZBMessageBox::About(this, tr("About the Editor"),
                        tr("<b>ZebGuiCore Editor</b><p>A multi-document text editor built on the ZebGuiCore "
                           "widgets: a frameless main window, documents as sub-windows, a dock and tool "
                           "bars.</p>"));
}

void MainWindow::UpdateActions()
{
    const bool hasDocument = ActiveDocument() != nullptr;
    for (QAction* action : std::as_const(m_documentActions))
        action->setEnabled(hasDocument);
}

void MainWindow::UpdateTitle()
{
    // "[*]" in the frame's title: the title bar shows "*" while the active document is modified.
    Document* document = ActiveDocument();
    setWindowModified(document && document->document()->isModified());
    setWindowTitle(document ? tr("%1[*] - ZebGuiCore Editor").arg(document->DisplayName())
                            : tr("ZebGuiCore Editor"));
}

void MainWindow::UpdateWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addActions({Action("close"), Action("closeAll")});
    m_windowMenu->addSeparator();
    m_windowMenu->addActions({Action("tile"), Action("cascade")});
    m_windowMenu->addSeparator();
    m_windowMenu->addActions({Action("next"), Action("previous")});
    const QList<ZBMdiSubWindow*> subWindows = m_area->SubWindowList();
    if (!subWindows.isEmpty())
        m_windowMenu->addSeparator();
    for (int i = 0; i < subWindows.size(); ++i) {
        ZBMdiSubWindow* subWindow = subWindows.at(i);
        const QString text = documentOf(subWindow)->DisplayName();
        QAction* action =
            m_windowMenu->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(text) : text);
        action->setCheckable(true);
        action->setChecked(subWindow == m_area->ActiveSubWindow());
        connect(action, &QAction::triggered, m_area,
                [this, subWindow] { m_area->SetActiveSubWindow(subWindow); });
    }
}

void MainWindow::UpdateDocumentList()
{
    m_list->clear();
    for (ZBMdiSubWindow* subWindow : m_area->SubWindowList()) {
        Document* document = documentOf(subWindow);
        if (!document)
            continue;
        const bool modified = document->document()->isModified();
        m_list->addItem(document->DisplayName() + (modified ? QStringLiteral(" *") : QString()));
        if (subWindow == m_area->ActiveSubWindow())
            m_list->setCurrentRow(m_list->count() - 1);
    }
}

void MainWindow::AddRecentFile(const QString& path)
{
    QSettings settings;
    QStringList files = settings.value(RecentFilesKey).toStringList();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    settings.setValue(RecentFilesKey, files);
    UpdateRecentFiles();
}

void MainWindow::UpdateRecentFiles()
{
    m_recentMenu->clear();
    const QStringList files = QSettings().value(RecentFilesKey).toStringList();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        QAction* action =
            m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setStatusTip(path);
        connect(action, &QAction::triggered, this, [this, path] { OpenFile(path); });
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

void MainWindow::ReadSettings()
{
    QSettings settings;
    if (!restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray()))
        resize(960, 640);
    m_inner->restoreState(settings.value(QStringLiteral("state")).toByteArray());
    UpdateRecentFiles();
}

void MainWindow::WriteSettings() const
{
    QSettings settings;
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("state"), m_inner->saveState());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_area->CloseAllSubWindows();
    if (m_area->SubWindowsCount() > 0) {
        event->ignore();
        return;
    }
    WriteSettings();
    ZBWidget::closeEvent(event); // fades out, then closes
}
