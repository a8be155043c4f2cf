#include "document.h"

#include "ZBMessageBox.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

std::function<QString(QWidget*, const QString&)> Document::AskSaveFileName = [](QWidget* parent,
                                                                                const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, Document::tr("Save As"), suggested);
};

Document::Document(QWidget* parent) : QPlainTextEdit(parent)
{
    // "[*]" in the title: the sub-window's title bar shows "*" there while the text is modified.
    connect(document(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
}

void Document::NewFile()
{
    static int sequence = 0;
    m_untitled = true;
    m_path = tr("untitled%1.txt").arg(++sequence);
    setWindowTitle(m_path + QStringLiteral("[*]"));
}

bool Document::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ZBMessageBox::Warning(this, tr("Editor"),
                              tr("Cannot read %1:\n%2.").arg(QFileInfo(path).fileName(), file.errorString()),
                              ZBMessageBox::Ok, ZBMessageBox::Ok);
        return false;
    }
    setPlainText(QTextStream(&file).readAll());
    SetFilePath(path);
    Q_EMIT FileUsed(m_path);
    return true;
}

bool Document::Save()
{
    return m_untitled ? SaveAs() : SaveFile(m_path);
}

bool Document::SaveAs()
{
    const QString path = AskSaveFileName ? AskSaveFileName(this, m_path) : QString();
    return !path.isEmpty() && SaveFile(path);
}

QString Document::DisplayName() const
{
    return QFileInfo(m_path).fileName();
}

void Document::closeEvent(QCloseEvent* event)
{
    event->setAccepted(MaybeSave());
}

bool Document::MaybeSave()
{
    if (!document()->isModified())
        return true;
    const ZBMessageBox::StandardButton answer = ZBMessageBox::Warning(
        this, tr("Editor"),
        tr("'%1' has been modified.\nDo you want to save your changes?").arg(DisplayName()),
        ZBMessageBox::Save | ZBMessageBox::Discard | ZBMessageBox::Cancel, ZBMessageBox::Save);
    switch (answer) {
    case ZBMessageBox::Save:
        return Save();
    case ZBMessageBox::Discard:
        return true;
    default: // Cancel, and NoButton when the question was closed with Escape
        return false;
    }
}

bool Document::SaveFile(const QString& path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream(&file) << toPlainText();
        if (file.commit()) {
            SetFilePath(path);
            Q_EMIT FileUsed(m_path);
            return true;
        }
    }
    ZBMessageBox::Warning(this, tr("Editor"),
                          tr("Cannot write %1:\n%2.").arg(QFileInfo(path).fileName(), file.errorString()),
                          ZBMessageBox::Ok, ZBMessageBox::Ok);
    return false;
}

void Document::SetFilePath(const QString& path)
{
    m_path = QFileInfo(path).canonicalFilePath();
    m_untitled = false;
    document()->setModified(false);
    setWindowTitle(DisplayName() + QStringLiteral("[*]"));
}
