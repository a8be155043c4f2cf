// A document of the editor: a plain text editor that knows its file and asks before it closes with
// unsaved changes.
#ifndef EDITOR_DOCUMENT_H
#define EDITOR_DOCUMENT_H

#include <QPlainTextEdit>
#include <functional>

class Document : public QPlainTextEdit
{
    Q_OBJECT

public:
    // Asks for a file name to save to, starting from a suggestion; empty when the user cancels. The
    // editor sets it to a file dialog; its scripted session answers by itself.
    static std::function<QString(QWidget* parent, const QString& suggested)> AskSaveFileName;

    explicit Document(QWidget* parent = nullptr);

    // A new, empty document named "untitledN.txt".
    void NewFile();
    bool Load(const QString& path);
    // Saves to the document's file, asking for a name the first time; false when not saved.
    bool Save();
    bool SaveAs();

    QString FilePath() const { return m_path; }
    // The file name without its folder, as the title and the document list show it.
    QString DisplayName() const;

Q_SIGNALS:
    // The document was saved to \a path or loaded from it (for the recent files).
    void FileUsed(const QString& path);

protected:
    // Offers to save unsaved changes; Cancel, or Escape on the question, keeps the document open.
    void closeEvent(QCloseEvent* event) override;

private:
    bool MaybeSave();
    bool SaveFile(const QString& path);
    void SetFilePath(const QString& path);

    QString m_path;
    bool m_untitled = true;
};

#endif // EDITOR_DOCUMENT_H
