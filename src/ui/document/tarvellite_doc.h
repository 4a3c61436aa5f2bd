#pragma once

#include "core/document/document_header.h"
#include "core/document/file_kind.h"
#include "ui/document/file_hold.h"
#include "ui/document/text_file_format.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QTextDocument;

namespace tarvellite::ui {

/// A document: its path, title, modified flag, the hold on its file and what the readers and
/// writers keep beside the text (kind, page layout, the file a recovery copy protects). The
/// text itself lives in the view's QTextDocument, which the document consults for the modified
/// flag.
class CTarvelLiteDoc : public QObject {
    Q_OBJECT
  public:
    /// The name new untitled documents take, followed by a number ("TarvelLite1").
    static constexpr const char *documentName = "TarvelLite";

    explicit CTarvelLiteDoc(QObject *parent = nullptr);
    ~CTarvelLiteDoc() override;

    /// The full path; empty for an untitled document.
    const QString &path() const { return path_; }
    void setPath(const QString &path);
    /// The window title without the modified marker.
    const QString &title() const { return title_; }
    void setTitle(const QString &title);
    /// The title with "*" when modified.
    QString displayTitle() const;

    bool isModified() const;
    void setModified(bool modified);

    /// Ties the modified flag to the view's text.
    void attachText(QTextDocument *text);

    FileHold &fileHold() { return fileHold_; }
    /// Takes the hold on `path` (an empty path only releases it). A failure is not an error.
    bool holdFile(const QString &path) { return fileHold_.take(path); }

    /// The kind of file the document was read from or last written as.
    FileKind fileKind() const { return fileKind_; }
    void setFileKind(FileKind kind) { fileKind_ = kind; }
    /// The page layout of the document's own header; unset for other files and new documents.
    const PageLayout &pageLayout() const { return pageLayout_; }
    void setPageLayout(const PageLayout &layout) { pageLayout_ = layout; }
    /// For a recovery copy just read: the path of the document it protects.
    const QString &recoveredPath() const { return recoveredPath_; }
    void setRecoveredPath(const QString &path) { recoveredPath_ = path; }
    /// While set, the view leaves the status panes and the title alone (a file operation runs).
    bool viewBusy() const { return viewBusy_; }
    void setViewBusy(bool busy) { viewBusy_ = busy; }
    /// Legacy text was converted when the document was read: it starts modified.
    bool convertedOnLoad() const { return convertedOnLoad_; }
    void setConvertedOnLoad(bool converted) { convertedOnLoad_ = converted; }
    /// The encoding and line breaks of the text file the document was read from or last saved
    /// as; plain-text saves keep them.
    const TextFileFormat &textFormat() const { return textFormat_; }
    void setTextFormat(const TextFileFormat &format) { textFormat_ = format; }
    /// Set on a recovered document whose path had no file when it was recovered (an untitled
    /// document's made-up path): a file found there at its first save is not replaced unasked.
    bool pathUnconfirmed() const { return pathUnconfirmed_; }
    void setPathUnconfirmed(bool unconfirmed) { pathUnconfirmed_ = unconfirmed; }

    /// The next default title: "TarvelLite1", "TarvelLite2", ...
    static QString nextUntitledTitle();

  signals:
    void titleChanged();
    void modifiedChanged(bool modified);
    void pathChanged(const QString &path);

  private:
    QString path_;
    QString title_;
    bool modified_ = false;
    QPointer<QTextDocument> text_;
    FileKind fileKind_ = FileKind::Txt;
    PageLayout pageLayout_;
    QString recoveredPath_;
    bool viewBusy_ = false;
    bool convertedOnLoad_ = false;
    TextFileFormat textFormat_;
    bool pathUnconfirmed_ = false;
    FileHold fileHold_;
};

} // namespace tarvellite::ui
