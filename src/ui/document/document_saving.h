#pragma once

// Saving a document, and the questions around it: Save, Save As, the question asked before a
// modified document closes, the question before a document is written as plain text, and the
// backup copy taken when a document is opened.
//
// Every write goes through a temporary file that is renamed over the target, so a failed save
// leaves the file on the disk as it was; the user is told why, and the document keeps its path,
// its title and its modified flag. After a successful save the document holds its file again
// and its recovery copy is deleted: the file itself is the newest copy.

#include "core/app/busy_flag.h"
#include "ui/document/text_file_format.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace tarvellite {
struct Settings;
}

namespace tarvellite::ui {

class CTarvelLiteDoc;
class CTarvelLiteView;
class RecoveryFile;

/// What saving needs from the window around the document.
struct SaveEnvironment {
    /// The parent of the dialogs.
    QWidget *parent = nullptr;
    /// The settings in memory (`DefaultUserPath` starts the Save As dialog).
    const Settings *settings = nullptr;
    /// The application's busy flag, set while a save runs.
    BusyFlag *busy = nullptr;
    /// Save and Save As do nothing during print preview.
    bool printPreviewActive = false;
    /// Adds a saved path to the recent-document list; may be empty.
    std::function<void(const QString &)> addRecentFile;
    /// The window's recovery copy, deleted after a successful save; may be null.
    RecoveryFile *recovery = nullptr;
};

enum class SaveResult {
    Saved,
    /// The user cancelled a dialog or a question (or print preview is active): nothing changed.
    Cancelled,
    /// The write failed; the user has been told why. Nothing changed.
    Failed
};

/// The Save command: an untitled document, one read from another program's format (".doc",
/// ".docx", ".htm", ".html"), one whose file has been made read-only or is gone, and a
/// recovered untitled document whose path has been taken by a file since go to Save As; a
/// plain-text document asks the text question first (No: Save As with ".tvl") and keeps its
/// encoding and line breaks (one read as Windows-1252 goes to Save As, which offers UTF-8); any
/// other is written to its path.
SaveResult SaveDocument(CTarvelLiteView &view, const SaveEnvironment &env);

/// The Save As command. The dialog starts with the document's file name (an untitled one's
/// title) in `DefaultUserPath`, or with `suggestedPath` when given. A read-only file chosen is
/// not replaced (the save fails with the reason). A name of another
/// program's format is refused and offered again as ".rtf"; a plain-text name asks the text
/// question (No: the dialog again with ".tvl"). Cancel changes nothing.
SaveResult SaveDocumentAs(CTarvelLiteView &view, const SaveEnvironment &env,
                          const QString &suggestedPath = {},
                          std::optional<TextFileFormat> textFormat = std::nullopt);

/// Asks before a modified document's window closes ("Yes" saves it as the Save command does).
/// True when the window may close: not modified, saved, or the user answered No.
bool QuerySaveOnClose(CTarvelLiteView &view, const SaveEnvironment &env);

/// The text question before `fileName` is written as plain text; true for Yes.
bool AskSaveAsText(const QString &fileName);

/// The name the questions show: the file-name part of the path; for an untitled document the
/// title, cut before its last "*" when that is not its first character.
QString documentFileName(const CTarvelLiteDoc &doc);

/// Whether a file of this name is read from another program's format through the RTF reader
/// (".doc", ".docx", ".htm", ".html"): the program never writes over such a file.
bool isForeignFormat(const QString &path);

/// After a document at `path` has been opened: with "Always Backup" set (and unless it is a
/// ".tmp"), copies the file into `BackupPath` under the backup name of the settings, never over
/// an earlier backup. Returns the copy's path; empty when none was asked for or it failed
/// (`failed` is then set), which never stops the open.
QString MakeBackupCopy(const QString &path, const Settings &settings, bool *failed = nullptr);

} // namespace tarvellite::ui
