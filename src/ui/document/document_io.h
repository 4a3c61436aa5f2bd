#pragma once

#include "core/app/result.h"
#include "core/document/document_header.h"
#include "core/document/legacy_fonts.h"
#include "ui/document/text_file_format.h"

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace tarvellite {
struct RichDocument;
}

namespace tarvellite::ui {

class CTarvelLiteView;

/// The largest document file the program reads.
inline constexpr std::size_t maxDocumentBytes = std::size_t(512) << 20;

/// Reads the file at `path` into `view`: kind from the name, header, body in RTF or plain text.
/// The file is read and parsed completely before the view's text is touched: a failure leaves
/// the view as it was and returns the reason. On success the document's file kind, page
/// layout (from an own header), recovered path and, for a text file, its encoding and line
/// breaks are set, the undo history is empty and, when the font table named legacy TAM/TAB
/// fonts, the legacy conversion hook runs.
Status LoadDocumentBody(CTarvelLiteView &view, const QString &path);

/// Writes the view's text to `path` in the kind of its name, whole or not at all (see
/// `WriteDocumentFile`); a plain-text kind in `textFormat`, or the document's own text format
/// when none is given. After a plain-text save the view shows the text without formatting and
/// the document keeps the format written. The document's modified flag is cleared on success;
/// a failure changes nothing and names the path and the reason.
Status StoreDocumentBody(CTarvelLiteView &view, const QString &path,
                         std::optional<TextFileFormat> textFormat = std::nullopt);

/// Writes `model` as a file of the kind of `path`'s name (a native path): through a temporary
/// file beside it that is flushed and renamed over it, so that the file is the old one or the
/// new one, never a part. Plain-text kinds are written in `textFormat` (an unwritable format as
/// UTF-16LE); own-header kinds carry `layout` and, when given, `recoveryPath`. Uses no Qt
/// object: it may run on any thread.
Status WriteDocumentFile(const std::string &path, const RichDocument &model,
                         const PageLayout &layout, const TextFileFormat &textFormat,
                         std::u16string_view recoveryPath = {});

/// Runs after a load that found legacy TAM/TAB fonts (the conversion of legacy text).
using LegacyConversionHook = std::function<void(CTarvelLiteView &, const LegacyFontMap &)>;
void setLegacyConversionHook(LegacyConversionHook hook);

/// The program's file dialog. `name` holds the initial name (a path whose folder part is used
/// as the starting folder, or a bare name started in `defaultFolder`, the user's
/// `DefaultUserPath`) and receives the chosen path. Returns true for OK. Qt's own dialog, so
/// that tests and scripts can drive it.
bool PromptForFileName(QWidget *parent, QString &name, const QString &title, bool forOpen,
                       const QString &defaultFolder = {});

/// The same dialog for choosing an existing file of other kinds: `filters` in order, the one at
/// `selected` chosen first, started in `folder`. The replacement of the dialog (tests) is asked
/// as for opening.
bool PromptForFileName(QWidget *parent, QString &name, const QString &title,
                       const QStringList &filters, int selected, const QString &folder);

/// Replaces the dialog of `PromptForFileName` (tests); an empty function restores it.
using FileNamePrompter =
    std::function<bool(QWidget *parent, QString &name, const QString &title, bool forOpen)>;
FileNamePrompter setFileNamePrompter(FileNamePrompter prompter);

/// The Save As dialog. `name` as for `PromptForFileName`; `textFormat` preselects the text
/// filter it names ("Text Files" for UTF-16LE, "UTF-8 Text" with its line breaks) and receives
/// the format chosen when a text filter is chosen; with no text format the filter follows the
/// name (".rtf": "Rich Text Files", else "TarvelLite Files"). The filter chosen gives a name
/// typed without an extension its extension. Returns true for OK.
bool PromptForSaveAs(QWidget *parent, QString &name, std::optional<TextFileFormat> &textFormat,
                     const QString &defaultFolder = {});

/// Replaces the dialog of `PromptForSaveAs` (tests); an empty function restores it. Without
/// one, a prompter set with `setFileNamePrompter` answers for the name and the format is left as
/// it came.
using SaveAsPrompter =
    std::function<bool(QWidget *parent, QString &name, std::optional<TextFileFormat> &textFormat)>;
SaveAsPrompter setSaveAsPrompter(SaveAsPrompter prompter);

/// The name filters of the dialog, in order. Saving offers "UTF-8 Text (*.txt)" after "Text
/// Files (*.txt)" (UTF-16LE).
QStringList fileDialogFilters(bool forOpen);

/// Whether `path` ends in `extension` (".rtf"), ignoring case.
bool hasExtension(const QString &path, const char *extension);

} // namespace tarvellite::ui
