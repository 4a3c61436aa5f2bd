#pragma once

#include "ui/document/file_hold.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QTextDocument;

namespace tarvellite::ui {

/// A document: its path, title, modified flag and the hold on its file. The text itself lives
/// in the view's QTextDocument, which the document consults for the modified flag.
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
    FileHold fileHold_;
};

} // namespace tarvellite::ui
