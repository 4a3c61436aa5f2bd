#include "ui/document/document_saving.h"

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/app/settings.h"
#include "core/document/backup_name.h"
#include "core/document/file_kind.h"
#include "ui/document/document_io.h"
#include "ui/document/file_hold.h"
#include "ui/document/recovery.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace tarvellite::ui {

namespace {

FileKind kindOf(const QString &path) {
    return ClassifyFileName(QFile::encodeName(QFileInfo(path).fileName()).toStdString());
}

bool isPlainTextKind(const QString &path) {
    return !isRtfKind(kindOf(path));
}

/// `path` with its extension (from the last full stop of its file name) replaced by `suffix`.
QString withSuffix(const QString &path, const QString &suffix) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return (slash >= 0 ? path.left(slash + 1) : QString()) + stem + suffix;
}

QString defaultFolder(const SaveEnvironment &env) {
    return env.settings ? QString::fromStdString(env.settings->defaultUserPath) : QString();
}

/// The application's busy flag, or one of the call's own without one.
BusyFlag &busyFlagOf(const SaveEnvironment &env, BusyFlag &own) {
    return env.busy ? *env.busy : own;
}

/// Whether the file at `path` exists and has been made read-only (no write permission for
/// anyone, or none for this user): the program does not replace it.
bool isReadOnlyFile(const QString &path) {
    const QFileInfo file(path);
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return file.exists() && file.isFile() &&
           (!file.isWritable() || !(file.permissions() & anyWrite));
}

void reportFailure(const QString &path, const std::string &reason, bool existed) {
    Message message;
    message.text = "Could not save " + QFileInfo(path).fileName().toStdString() + ".\n" + reason +
                   "\n" + (existed ? "The file on the disk was not changed." : "No file was made.");
    message.icon = MessageIcon::Warning;
    showMessage(message);
}

// Asks one of the saving questions (always with the question icon) and returns the answer.
MessageAnswer ask(std::string text, std::string caption, MessageButtons buttons,
                  MessageAnswer defaultAnswer) {
    Message question;
    question.text = std::move(text);
    question.caption = std::move(caption);
    question.icon = MessageIcon::Question;
    question.buttons = buttons;
    question.defaultAnswer = defaultAnswer;
    return showMessage(question);
}

/// Writes the document to `path` and, when that succeeded, binds it to `path`.
SaveResult writeTo(CTarvelLiteView &view, const SaveEnvironment &env, const QString &path,
                   std::optional<TextFileFormat> textFormat) {
    CTarvelLiteDoc &doc = *view.getDocument();
    const bool existed = QFileInfo::exists(path);
    // The program's own hold on the file goes while it writes; another window or instance
    // holding it keeps it from being written at all.
    if (isReadOnlyFile(path)) {
        reportFailure(path, "The file is read-only.", existed);
        return SaveResult::Failed;
    }
    const bool ownFile = doc.fileHold().held() && doc.fileHold().path() == path;
    if (ownFile)
        doc.fileHold().release();
    if (FileHold::heldElsewhere(path)) {
        if (ownFile)
            doc.holdFile(doc.path());
        reportFailure(path, "The file is open in another window or program.", existed);
        return SaveResult::Failed;
    }
    const Status written = StoreDocumentBody(view, path, textFormat);
    if (!written) {
        // The document stays as it was: its path, its title, its hold and its modified flag.
        if (ownFile || !doc.fileHold().held())
            doc.holdFile(doc.path());
        const std::string prefix = "Could not save " + path.toStdString() + ": ";
        std::string reason = written.error().describe();
        if (reason.starts_with(prefix))
            reason.erase(0, prefix.size());
        reportFailure(path, reason, existed);
        return SaveResult::Failed;
    }
    const bool renamed = doc.path() != path;
    doc.setPath(path);
    doc.setTitle(QFileInfo(path).fileName());
    doc.setPathUnconfirmed(false);
    doc.setFileNewerThanText(false);
    doc.holdFile(path);
    if (renamed || !existed) {
        if (env.addRecentFile)
            env.addRecentFile(path);
    }
    // The saved file is the newest copy now: a recovered window never holds older text.
    if (env.recovery)
        env.recovery->discard();
    return SaveResult::Saved;
}

} // namespace

bool isForeignFormat(const QString &path) {
    const FileKind kind = kindOf(path);
    return kind == FileKind::Doc || kind == FileKind::Htm || hasExtension(path, ".html");
}

QString documentFileName(const CTarvelLiteDoc &doc) {
    QString name = QFileInfo(doc.path()).fileName();
    if (name.isEmpty()) {
        name = doc.title();
        if (const qsizetype star = name.lastIndexOf(QLatin1Char('*')); star > 0)
            name = name.left(star);
    }
    return name;
}

bool AskSaveAsText(const QString &fileName) {
    return ask("Do you Want to Save the file as Text?\nThis will lose all Formatting "
               "characters\n\nFile Name: " +
                   fileName.toStdString(),
               "File Save Query", MessageButtons::YesNo, MessageAnswer::Yes) == MessageAnswer::Yes;
}

bool AskReplaceNewerFile(const QString &fileName) {
    return ask(fileName.toStdString() +
                   " was saved after this recovered text was written, and may hold newer "
                   "text.\nReplace it with the recovered text?\n\nYes:  Replace the file.\nNo:   "
                   "Save the recovered text under another name.",
               "File Save Query", MessageButtons::YesNo, MessageAnswer::No) == MessageAnswer::Yes;
}

SaveResult SaveDocument(CTarvelLiteView &view, const SaveEnvironment &env) {
    if (env.printPreviewActive)
        return SaveResult::Cancelled;
    BusyFlag ownFlag;
    const BusyGuard busy(busyFlagOf(env, ownFlag));
    CTarvelLiteDoc &doc = *view.getDocument();
    const QString path = doc.path();
    if (path.isEmpty())
        return SaveDocumentAs(view, env);
    // Never RTF over another program's file: saved as one of ours beside it.
    if (isForeignFormat(path))
        return SaveDocumentAs(view, env, withSuffix(path, QStringLiteral(".rtf")));
    // A recovered untitled document was given a made-up path: a file there (one that has
    // appeared since) is not its own and is not replaced unasked.
    if (doc.pathUnconfirmed())
        return SaveDocumentAs(view, env, path);
    // A text file read in an encoding the program does not write is offered as UTF-8.
    std::optional<TextFileFormat> textFormat;
    if (isPlainTextKind(path))
        textFormat = doc.textFormat().writable() ? doc.textFormat()
                                                 : TextFileFormat::utf8(doc.textFormat().crlf);
    // A file made read-only, or gone, since it was opened: the user names the file to write.
    if (!QFileInfo::exists(path) || isReadOnlyFile(path))
        return SaveDocumentAs(view, env, path, textFormat);
    // Recovered text older than its file: the file is replaced only when the user says so.
    if (doc.fileNewerThanText() && !AskReplaceNewerFile(QFileInfo(path).fileName()))
        return SaveDocumentAs(view, env, path, textFormat);
    if (textFormat) {
        if (!doc.textFormat().writable())
            return SaveDocumentAs(view, env, path, textFormat);
        if (!AskSaveAsText(QFileInfo(path).fileName()))
            return SaveDocumentAs(view, env, withSuffix(path, QStringLiteral(".tvl")),
                                  TextFileFormat::unicode());
        return writeTo(view, env, path, doc.textFormat());
    }
    return writeTo(view, env, path, std::nullopt);
}

SaveResult SaveDocumentAs(CTarvelLiteView &view, const SaveEnvironment &env,
                          const QString &suggestedPath, std::optional<TextFileFormat> textFormat) {
    if (env.printPreviewActive)
        return SaveResult::Cancelled;
    BusyFlag ownFlag;
    const BusyGuard busy(busyFlagOf(env, ownFlag));
    CTarvelLiteDoc &doc = *view.getDocument();
    QString name = suggestedPath;
    if (name.isEmpty()) {
        name = documentFileName(doc);
        if (doc.path().isEmpty() && !name.isEmpty())
            doc.setTitle(name);
    }
    // The dialog offers the text format the document has when it is text.
    std::optional<TextFileFormat> format = textFormat;
    if (!format && !doc.path().isEmpty() && isPlainTextKind(doc.path()))
        format = doc.textFormat();
    for (;;) {
        if (!PromptForSaveAs(env.parent, name, format, defaultFolder(env)))
            return SaveResult::Cancelled;
        if (isForeignFormat(name)) {
            Message refusal;
            refusal.text = "TarvelLite cannot write " + QFileInfo(name).fileName().toStdString() +
                           " in its own format; it saves documents as TarvelLite files, RTF or "
                           "text. Choose another name.";
            refusal.icon = MessageIcon::Warning;
            showMessage(refusal);
            name = withSuffix(name, QStringLiteral(".rtf"));
            continue;
        }
        if (isPlainTextKind(name) && !AskSaveAsText(QFileInfo(name).fileName())) {
            name = withSuffix(name, QStringLiteral(".tvl"));
            continue;
        }
        break;
    }
    std::optional<TextFileFormat> written;
    if (isPlainTextKind(name))
        written = format && format->writable() ? *format : TextFileFormat::unicode();
    return writeTo(view, env, name, written);
}

bool QuerySaveOnClose(CTarvelLiteView &view, const SaveEnvironment &env) {
    CTarvelLiteDoc &doc = *view.getDocument();
    if (!doc.isModified())
        return true;
    const MessageAnswer answer =
        ask("Do you Want to Save this file before closing?\nFile Name: " +
                documentFileName(doc).toStdString() +
                "\nYes:       Save the file and exit.\nNo:        Do not save the file but "
                "exit.\nCancel: Do not close",
            "Window Closing: File Save Query", MessageButtons::YesNoCancel, MessageAnswer::Cancel);
    switch (answer) {
    case MessageAnswer::No: return true;
    case MessageAnswer::Yes: return SaveDocument(view, env) == SaveResult::Saved;
    default: return false;
    }
}

QString MakeBackupCopy(const QString &path, const Settings &settings, bool *failed) {
    if (failed)
        *failed = false;
    const BackupOption &options = settings.backupOption;
    if (!options.alwaysBackup || kindOf(path) == FileKind::Tmp)
        return {};
    const QString folder = QString::fromStdString(withTrailingSlash(settings.backupPath));
    const QDateTime now = QDateTime::currentDateTime();
    const LocalTime time{now.date().year(), now.date().month(),  now.date().day(),
                         now.time().hour(), now.time().minute(), now.time().second()};
    const std::string name = backupFileName(
        QFile::encodeName(QFileInfo(path).fileName()).toStdString(),
        BackupNaming{options.uniqueFileName != 0, options.backupNameFormat}, time,
        QRandomGenerator::global()->generate(), [&folder](const std::string &candidate) {
            return QFileInfo::exists(folder + QFile::decodeName(candidate.c_str()));
        });
    const QString target = folder + QFile::decodeName(name.c_str());
    const Result<Bytes> bytes =
        readWholeFile(QFile::encodeName(path).toStdString(), maxDocumentBytes);
    if (!bytes || !QDir().mkpath(folder) ||
        !writeFileAtomically(QFile::encodeName(target).toStdString(), *bytes)) {
        if (failed)
            *failed = true;
        return {};
    }
    return target;
}

} // namespace tarvellite::ui
