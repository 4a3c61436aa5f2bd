#include "ui/document/document_io.h"

#include "core/app/file_io.h"
#include "core/document/document_io.h"
#include "core/document/file_access.h"
#include "core/document/file_kind.h"
#include "core/document/output_sink.h"
#include "core/document/plain_text.h"
#include "ui/document/document_settings.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

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

SaveAsPrompter &saveAsPrompter() {
    static SaveAsPrompter p;
    return p;
}

const QString unicodeTextFilter = QStringLiteral("Text Files (*.txt)");
const QString utf8TextFilter = QStringLiteral("UTF-8 Text (*.txt)");

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
    doc.setTextFormat(isRtfKind(loaded->kind) ? TextFileFormat::unicode()
                                              : detectTextFileFormat(std::span(*bytes).subspan(
                                                    loaded->header.bodyOffset)));
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

Status WriteDocumentFile(const std::string &path, const RichDocument &model,
                         const PageLayout &layout, const TextFileFormat &textFormat,
                         std::u16string_view recoveryPath) {
    AtomicFileSink out(path);
    if (Status s = out.open(); !s)
        return s;
    const FileKind kind = ClassifyFileName(path);
    Status written;
    if (!isRtfKind(kind) && textFormat.encoding == TextFileFormat::Encoding::Utf8) {
        static constexpr std::uint8_t signature[] = {0xEF, 0xBB, 0xBF};
        const bool textHasIt = !model.paragraphs.empty() &&
                               !model.paragraphs.front().runs.empty() &&
                               model.paragraphs.front().runs.front().text.starts_with(u'\uFEFF');
        if (textFormat.signature && !textHasIt && !out.write(signature))
            written = Error{"the text could not be written"};
        else
            written = writeUtf8Text(model, out, textFormat.crlf ? "\r\n" : "\n");
    } else
        written = tarvellite::StoreDocumentBody(path, model, layout, out, recoveryPath);
    // A writer stops at the first failed write, whose reason the file keeps; a writer that
    // fails for a reason of its own leaves the file uncommitted, and so the old one in place.
    if (!written)
        return out.file().writeFailed() ? out.commit() : written;
    return out.commit();
}

Status StoreDocumentBody(CTarvelLiteView &view, const QString &path,
                         std::optional<TextFileFormat> textFormat) {
    CTarvelLiteDoc &doc = *view.getDocument();
    const std::string native = nativePath(path);
    const FileKind kind = ClassifyFileName(native);
    TextFileFormat format = textFormat.value_or(doc.textFormat());
    if (!format.writable())
        format = TextFileFormat::unicode();
    const RichDocument model = richDocumentFrom(view.document());
    if (Status s = WriteDocumentFile(native, model, doc.pageLayout(), format); !s) {
        Error e = s.error();
        e.message = "Could not save " + path.toStdString() + ": " + s.error().describe();
        return e;
    }
    doc.setFileKind(kind);
    if (!isRtfKind(kind)) {
        doc.setTextFormat(format);
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
    doc.setModified(false);
    return {};
}

QStringList fileDialogFilters(bool forOpen) {
    QStringList filters{QStringLiteral("TarvelLite Files (*.tvl)")};
    if (forOpen)
        filters << QStringLiteral("Tarvel Files (*.tvp)");
    filters << QStringLiteral("Rich Text Files (*.rtf)") << unicodeTextFilter;
    if (!forOpen)
        filters << utf8TextFilter;
    filters << QStringLiteral("All Files (*)");
    return filters;
}

FileNamePrompter setFileNamePrompter(FileNamePrompter p) {
    FileNamePrompter previous = std::move(prompter());
    prompter() = std::move(p);
    return previous;
}

SaveAsPrompter setSaveAsPrompter(SaveAsPrompter p) {
    SaveAsPrompter previous = std::move(saveAsPrompter());
    saveAsPrompter() = std::move(p);
    return previous;
}

namespace {

/// The program's file dialog; in save mode with `textFormat`, the text filters and the line
/// break choice.
bool runFileDialog(QWidget *parent, QString &name, const QString &title, bool forOpen,
                   const QString &defaultFolder, std::optional<TextFileFormat> *textFormat) {
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
    QComboBox *lineBreaks = nullptr;
    if (!forOpen) {
        const auto suffixOf = [](const QString &filter) {
            const qsizetype star = filter.indexOf(QLatin1String("(*."));
            return star < 0 ? QString() : filter.mid(star + 3).chopped(1);
        };
        QString filter = filters.at(hasExtension(name, ".rtf") ? 1 : 0);
        // A text filter only for a text file's name: "notes.tvl" offered after the user declined
        // to save as text shows our own format.
        const bool textName = !isRtfKind(ClassifyFileName(nativePath(file)));
        if (textName && textFormat && *textFormat && (*textFormat)->writable())
            filter = (*textFormat)->encoding == TextFileFormat::Encoding::Utf8 ? utf8TextFilter
                                                                               : unicodeTextFilter;
        if (textFormat) {
            // UTF-8 text is written with the line breaks chosen here.
            auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
            auto *label = new QLabel(QStringLiteral("Line breaks:"), &dialog);
            lineBreaks = new QComboBox(&dialog);
            lineBreaks->setObjectName(QStringLiteral("line-breaks"));
            lineBreaks->setAccessibleName(QStringLiteral("Line breaks"));
            lineBreaks->addItem(QStringLiteral("LF (Linux, macOS)"));
            lineBreaks->addItem(QStringLiteral("CR LF (Windows)"));
            const bool crlf = *textFormat &&
                              (*textFormat)->encoding == TextFileFormat::Encoding::Utf8 &&
                              (*textFormat)->crlf;
            lineBreaks->setCurrentIndex(crlf ? 1 : 0);
            label->setBuddy(lineBreaks);
            if (grid) {
                const int row = grid->rowCount();
                grid->addWidget(label, row, 0);
                grid->addWidget(lineBreaks, row, 1);
            }
            lineBreaks->setEnabled(filter == utf8TextFilter);
        }
        dialog.selectNameFilter(filter);
        dialog.setDefaultSuffix(suffixOf(filter));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, lineBreaks, suffixOf](const QString &chosen) {
                             dialog.setDefaultSuffix(suffixOf(chosen));
                             if (lineBreaks)
                                 lineBreaks->setEnabled(chosen == utf8TextFilter);
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    name = dialog.selectedFiles().first();
    if (textFormat) {
        const QString chosen = dialog.selectedNameFilter();
        if (chosen == unicodeTextFilter)
            *textFormat = TextFileFormat::unicode();
        else if (chosen == utf8TextFilter)
            *textFormat = TextFileFormat::utf8(lineBreaks && lineBreaks->currentIndex() == 1);
    }
    return true;
}

} // namespace

bool PromptForFileName(QWidget *parent, QString &name, const QString &title, bool forOpen,
                       const QString &defaultFolder) {
    if (prompter())
        return prompter()(parent, name, title, forOpen);
    return runFileDialog(parent, name, title, forOpen, defaultFolder, nullptr);
}

bool PromptForSaveAs(QWidget *parent, QString &name, std::optional<TextFileFormat> &textFormat,
                     const QString &defaultFolder) {
    if (saveAsPrompter())
        return saveAsPrompter()(parent, name, textFormat);
    if (prompter())
        return prompter()(parent, name, QStringLiteral("Save As"), false);
    return runFileDialog(parent, name, QStringLiteral("Save As"), false, defaultFolder,
                         &textFormat);
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
