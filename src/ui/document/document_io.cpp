#include "ui/document/document_io.h"

#include "core/app/file_io.h"
#include "core/document/document_io.h"
#include "core/document/file_kind.h"
#include "ui/document/document_settings.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tarvellite::ui {

namespace {

LegacyConversionHook &legacyHook() {
    static LegacyConversionHook hook;
    return hook;
}

FileNamePrompter &prompter() {
    static FileNamePrompter p;
    return p;
}

std::string nativePath(const QString &path) {
    return QFile::encodeName(path).toStdString();
}

Error withPath(const QString &path, const Error &error) {
    Error e = error;
    e.message = "Could not open " + path.toStdString() + ": " + error.describe();
    e.byteOffset = Error::noOffset;
    e.line = 0;
    return e;
}

} // namespace

void setLegacyConversionHook(LegacyConversionHook hook) {
    legacyHook() = std::move(hook);
}

bool hasExtension(const QString &path, const char *extension) {
    return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

Status LoadDocumentBody(CTarvelLiteView &view, const QString &path) {
    Result<Bytes> bytes = readWholeFile(nativePath(path), maxDocumentBytes);
    if (!bytes)
        return withPath(path, bytes.error());
    const std::string name = nativePath(QFileInfo(path).fileName());
    Result<LoadedDocument> loaded = tarvellite::LoadDocumentBody(name, *bytes);
    if (!loaded)
        return withPath(path, loaded.error());

    CTarvelLiteDoc &doc = *view.getDocument();
    doc.setFileKind(loaded->kind);
    if (loaded->header.kind == HeaderKind::Own) {
        doc.setPageLayout(loaded->header.pageLayout);
        doc.setRecoveredPath(QString::fromUtf16(loaded->header.recoveredPath.data(),
                                                qsizetype(loaded->header.recoveredPath.size())));
    } else {
        doc.setRecoveredPath(QString());
    }
    QTextDocument *text = view.document();
    const bool undo = text->isUndoRedoEnabled();
    text->setUndoRedoEnabled(false);
    fillTextDocument(text, loaded->document);
    text->setUndoRedoEnabled(undo);
    view.resetUndoHistory();
    view.moveCursor(QTextCursor::Start);
    if (loaded->hasLegacyFonts && legacyHook())
        legacyHook()(view, loaded->legacyFonts);
    view.viewport()->update();
    ReportReadWarnings(name, loaded->warnings);
    return {};
}

Status StoreDocumentBody(CTarvelLiteView &view, const QString &path) {
    const std::string name = nativePath(QFileInfo(path).fileName());
    view.getDocument()->setFileKind(ClassifyFileName(name));
    const RichDocument model = richDocumentFrom(view.document());
    Bytes out;
    BytesSink sink(out);
    if (Status s =
            tarvellite::StoreDocumentBody(name, model, view.getDocument()->pageLayout(), sink);
        !s)
        return s;
    if (Status s = writeFileAtomically(nativePath(path), out); !s) {
        Error e = s.error();
        e.message = "Could not save " + path.toStdString() + ": " + s.error().describe();
        return e;
    }
    if (!isRtfKind(view.getDocument()->fileKind())) {
        // A plain-text file keeps no formatting; the view shows what was written.
        QTextDocument *text = view.document();
        const int position = view.textCursor().position();
        const bool undo = text->isUndoRedoEnabled();
        text->setUndoRedoEnabled(false);
        fillTextDocument(text, RichDocument::fromPlainText(model.plainText(u"\n", u"\n", true)));
        text->setUndoRedoEnabled(undo);
        view.resetUndoHistory();
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(std::min(position, text->characterCount() - 1));
        view.setTextCursor(cursor);
    }
    view.getDocument()->setModified(false);
    return {};
}

QStringList fileDialogFilters(bool forOpen) {
    QStringList filters{QStringLiteral("TarvelLite Files (*.tvl)")};
    if (forOpen)
        filters << QStringLiteral("Tarvel Files (*.tvp)");
    filters << QStringLiteral("Rich Text Files (*.rtf)") << QStringLiteral("Text Files (*.txt)")
            << QStringLiteral("All Files (*)");
    return filters;
}

FileNamePrompter setFileNamePrompter(FileNamePrompter p) {
    FileNamePrompter previous = std::move(prompter());
    prompter() = std::move(p);
    return previous;
}

bool PromptForFileName(QWidget *parent, QString &name, const QString &title, bool forOpen,
                       const QString &defaultFolder) {
    if (prompter())
        return prompter()(parent, name, title, forOpen);

    QFileDialog dialog(parent, title);
    dialog.setObjectName(QStringLiteral("file-dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(forOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(forOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = fileDialogFilters(forOpen);
    dialog.setNameFilters(filters);
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    QString folder;
    QString file = name;
    if (slash >= 1) {
        folder = name.left(slash + 1);
        file = name.mid(slash + 1);
    } else {
        folder = defaultFolder;
    }
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.selectFile(file);
    if (!forOpen) {
        const bool rtf = hasExtension(name, ".rtf");
        dialog.selectNameFilter(filters.at(rtf ? 1 : 0));
        dialog.setDefaultSuffix(rtf ? QStringLiteral("rtf") : QStringLiteral("tvl"));
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
                const qsizetype star = filter.indexOf(QLatin1String("(*."));
                const QString suffix = star < 0 ? QString() : filter.mid(star + 3).chopped(1);
                dialog.setDefaultSuffix(suffix);
            });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    name = dialog.selectedFiles().first();
    return true;
}

bool PromptForFileName(QWidget *parent, QString &name, const QString &title,
                       const QStringList &filters, int selected, const QString &folder) {
    if (prompter())
        return prompter()(parent, name, title, true);

    QFileDialog dialog(parent, title);
    dialog.setObjectName(QStringLiteral("file-dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (selected >= 0 && selected < filters.size())
        dialog.selectNameFilter(filters.at(selected));
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    name = dialog.selectedFiles().first();
    return true;
}

} // namespace tarvellite::ui
