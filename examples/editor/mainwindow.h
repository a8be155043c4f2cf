// The editor's main window: a frameless window that holds a QMainWindow with the menu bar, the tool
// bars, the multi-document area, a dock with the list of open documents and the status bar.
#ifndef EDITOR_MAINWINDOW_H
#define EDITOR_MAINWINDOW_H

#include "ZBWidget.h"

class Document;
class QListWidget;
class QMainWindow;
class QMenu;
class ZBDockWidget;
class ZBMdiAreaWidget;
class ZBMdiSubWindow;
class ZBToolBar;

class MainWindow : public ZBWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    Document* NewDocument();
    // Opens \a path in a new document, or activates the document that has it open already.
    bool OpenFile(const QString& path);
    Document* ActiveDocument() const;

    ZBMdiAreaWidget* Area() const { return m_area; }
    QMainWindow* Inner() const { return m_inner; }
    ZBDockWidget* DocumentsDock() const { return m_dock; }
    QListWidget* DocumentList() const { return m_list; }
    ZBToolBar* FileToolBar() const { return m_fileToolBar; }
    QMenu* RecentFilesMenu() const { return m_recentMenu; }
    // The action with the object name \a name ("new", "save", "closeAll", "tile", ...).
    QAction* Action(const char* name) const;

protected:
    // Closes every document first; one that refuses keeps the editor open.
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(const char* name, const QString& text, const QString& statusTip,
                        const QKeySequence& keys = QKeySequence());
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateDock();
    void AddDocument(Document* document);
    ZBMdiSubWindow* SubWindowOf(const QString& path) const;
    void Open();
    void About();
    void UpdateActions();
    void UpdateTitle();
    void UpdateWindowMenu();
    void UpdateDocumentList();
    void AddRecentFile(const QString& path);
    void UpdateRecentFiles();
    void ReadSettings();
    void WriteSettings() const;

    QMainWindow* m_inner = nullptr;
    ZBMdiAreaWidget* m_area = nullptr;
    ZBDockWidget* m_dock = nullptr;
    QListWidget* m_list = nullptr;
    ZBToolBar* m_fileToolBar = nullptr;
    ZBToolBar* m_editToolBar = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QList<QAction*> m_documentActions; // enabled only while a document is active
};

#endif // EDITOR_MAINWINDOW_H
