#pragma once

#include "core/app/result.h"
#include "core/document/legacy_fonts.h"

#include <QString>
#include <functional>

class QWidget;

namespace tarvellite::ui {

class CTarvelLiteView;

/// The largest document file the program reads.
inline constexpr std::size_t maxDocumentBytes = std::size_t(512) << 20;

/// Reads the file at `path` into `view`: kind from the name, header, body in RTF or plain text.
/// The file is read and parsed completely before the view's text is touched: a failure leaves
/// the view as it was and returns the reason. On success the document's file kind, page
/// layout (from an own header) and recovered path are set, the undo history is empty and, when the
/// font table named legacy TAM/TAB fonts, the legacy conversion hook runs.
Status LoadDocumentBody(CTarvelLiteView &view, const QString &path);

/// Writes the view's text to `path` in the kind of its name, through a temporary file and a
/// rename. After a plain-text save the view shows the text without formatting. The document's
/// modified flag is cleared on success.
Status StoreDocumentBody(CTarvelLiteView &view, const QString &path);

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

/// The name filters of the dialog, in order.
QStringList fileDialogFilters(bool forOpen);

/// Whether `path` ends in `extension` (".rtf"), ignoring case.
bool hasExtension(const QString &path, const char *extension);

} // namespace tarvellite::ui
