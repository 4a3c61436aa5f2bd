#include "ui/legacy/legacy_on_open.h"

#include "core/app/messages.h"
#include "core/document/legacy_fonts.h"
#include "core/legacy/legacy_runs.h"
#include "ui/app/message_wait_box.h"
#include "ui/document/document_io.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"
#include "ui/legacy/legacy_options.h"

#include <QTextDocument>

namespace tarvellite::ui {

namespace {

// The wait box's range: the conversion fills the first part, replacing the view's text the
// rest.
constexpr int progressSteps = 1000;
constexpr int conversionSteps = 600;

bool hasLegacyRuns(const RichDocument &model) {
    for (const Paragraph &paragraph : model.paragraphs)
        for (const Run &run : paragraph.runs)
            if (!run.isPicture() && !run.text.empty() && legacyKindOfFace(run.format.faceName))
                return true;
    return false;
}

std::u16string toU16(const QString &s) {
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
}

bool userWantsConversion(const LegacyOptions &options) {
    switch (legacyOnOpenAction(options.tamTabConversion)) {
    case LegacyOnOpen::Convert: return true;
    case LegacyOnOpen::Leave: return false;
    case LegacyOnOpen::Ask: break;
    }
    Message question;
    question.text = legacyQuestionText;
    question.caption = legacyQuestionCaption;
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::Yes; // the first button, as message boxes have it
    return showMessage(question) == MessageAnswer::Yes;
}

} // namespace

int ConvertLegacyRuns(CTarvelLiteView &view) {
    QTextDocument *text = view.document();
    RichDocument model = richDocumentFrom(text);
    if (!hasLegacyRuns(model))
        return 0;
    const LegacyOptions options = legacyOptionsFor(&view);
    if (!userWantsConversion(options))
        return 0;

    BusyFlag ownFlag;
    BusyGuard busy(view.host() ? view.host()->busyFlag() : ownFlag);
    CMessageWaitBox wait(QString::fromUtf8(legacyWaitText), &view);
    wait.setRange(0, progressSteps);
    wait.showNow();

    const QSet<QString> installed = installedFontFamilies();
    LegacyConversionOptions conversion;
    conversion.defaultUnicodeFont = toU16(options.defaultUnicodeFont);
    conversion.isFontInstalled = [&installed](std::u16string_view face) {
        return installed.contains(QString::fromUtf16(face.data(), qsizetype(face.size())));
    };
    conversion.progress = [&wait](std::size_t done, std::size_t total) {
        const std::size_t step = total == 0 ? conversionSteps : done * conversionSteps / total;
        wait.setValue(int(step));
    };
    const int words = tarvellite::ConvertLegacyRuns(model, conversion);
    wait.setValue(conversionSteps);

    QTextCursor cursor = view.textCursor();
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    const bool undo = text->isUndoRedoEnabled();
    text->setUndoRedoEnabled(false);
    fillTextDocument(text, model);
    text->setUndoRedoEnabled(undo);
    view.resetUndoHistory();

    // Converted text is longer or shorter than the legacy text: the caret stays within it.
    const int last = text->characterCount() - 1;
    cursor = QTextCursor(text);
    cursor.setPosition(std::min(anchor, last));
    cursor.setPosition(std::min(position, last), QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    view.getDocument()->setConvertedOnLoad(true);
    wait.setValue(progressSteps);
    wait.close();
    return words;
}

void installLegacyConversionOnOpen() {
    setLegacyConversionHook(
        [](CTarvelLiteView &view, const LegacyFontMap &) { ConvertLegacyRuns(view); });
}

} // namespace tarvellite::ui
