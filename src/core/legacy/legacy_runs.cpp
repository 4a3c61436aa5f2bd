#include "core/legacy/legacy_runs.h"

#include "core/document/legacy_fonts.h"
#include "core/legacy/legacy_converter.h"
#include "core/legacy/legacy_words.h"

#include <map>

namespace tarvellite {

namespace {

// Where a legacy run's text ends with a word that may go on in the next run: the start of its
// last stretch of word characters (the size of `text` when it ends with a break).
std::size_t trailingWordStart(std::u16string_view text) {
    std::size_t k = text.size();
    while (k > 0 && !isLegacyTextBreak(text[k - 1]))
        --k;
    return k;
}

// The length of the word characters that `text` starts with.
std::size_t leadingWordLength(std::u16string_view text) {
    std::size_t k = 0;
    while (k < text.size() && !isLegacyTextBreak(text[k]))
        ++k;
    return k;
}

// Converts the legacy runs of one paragraph. Runs of one encoding that follow each other form
// a stretch in which a word may cross from one run into the next; such a word is converted
// whole and placed in the run where it starts.
class ParagraphConverter {
  public:
    ParagraphConverter(const LegacyConversionOptions &options,
                       std::map<std::u16string, std::u16string> &targets)
        : options_(options), targets_(targets) {}

    std::size_t words = 0;
    std::size_t unitsDone = 0;

    bool convert(Paragraph &paragraph, std::size_t unitsTotal) {
        bool changed = false;
        int stretchKind = 0;
        Run *pendingRun = nullptr; // the run whose last word may go on in the next run
        std::u16string pendingWord;
        const auto flush = [&] {
            if (pendingRun != nullptr && !pendingWord.empty())
                words += appendLegacyWords(pendingWord, stretchKind == tabKind, pendingRun->text);
            pendingRun = nullptr;
            pendingWord.clear();
        };
        for (Run &run : paragraph.runs) {
            const int kind = run.isPicture() ? 0 : legacyKindOfFace(run.format.faceName);
            if (kind != stretchKind)
                flush();
            stretchKind = kind;
            if (kind == 0)
                continue;
            changed = true;
            const bool isTab = kind == tabKind;
            const std::u16string text = std::move(run.text);
            run.text.clear();
            std::u16string_view rest(text);
            if (pendingRun != nullptr) {
                const std::size_t lead = leadingWordLength(rest);
                pendingWord.append(rest.substr(0, lead));
                rest.remove_prefix(lead);
                if (!rest.empty())
                    flush();
            }
            if (!rest.empty()) {
                const std::size_t tail = trailingWordStart(rest);
                words += appendLegacyWords(rest.substr(0, tail), isTab, run.text);
                if (tail < rest.size()) {
                    pendingRun = &run;
                    pendingWord.assign(rest.substr(tail));
                }
            }
            run.format.faceName = targetOf(run.format.faceName);
            run.format.charset = 0;
            unitsDone += text.size();
            if (options_.progress)
                options_.progress(unitsDone, unitsTotal);
        }
        flush();
        return changed;
    }

  private:
    static constexpr int tabKind = static_cast<int>(LegacyFontKind::Tab);

    const std::u16string &targetOf(const std::u16string &legacyFace) {
        auto it = targets_.find(legacyFace);
        if (it == targets_.end())
            it = targets_
                     .emplace(legacyFace, legacyTargetFont(legacyFace, options_.defaultUnicodeFont,
                                                           options_.isFontInstalled))
                     .first;
        return it->second;
    }

    const LegacyConversionOptions &options_;
    std::map<std::u16string, std::u16string> &targets_;
};

} // namespace

LegacyOnOpen legacyOnOpenAction(int tamTabConversion) {
    switch (tamTabConversion) {
    case 1: return LegacyOnOpen::Convert;
    case 2: return LegacyOnOpen::Leave;
    default: return LegacyOnOpen::Ask;
    }
}

std::u16string legacyTargetFont(std::u16string_view legacyFace,
                                std::u16string_view defaultUnicodeFont,
                                const FontInstalledFn &isFontInstalled) {
    const std::u16string_view stripped =
        legacyFace.size() > 3 ? legacyFace.substr(3, legacyTargetFaceLimit) : std::u16string_view();
    if (!stripped.empty() && isFontInstalled && isFontInstalled(stripped))
        return std::u16string(stripped);
    if (!defaultUnicodeFont.empty())
        return std::u16string(defaultUnicodeFont.substr(0, legacyTargetFaceLimit));
    if (!stripped.empty())
        return std::u16string(stripped);
    return std::u16string(legacyFace);
}

int ConvertLegacyRuns(RichDocument &document, const LegacyConversionOptions &options) {
    std::size_t unitsTotal = 0;
    for (const Paragraph &p : document.paragraphs)
        for (const Run &r : p.runs)
            if (!r.isPicture() && legacyKindOfFace(r.format.faceName) != 0)
                unitsTotal += r.text.size();
    if (unitsTotal == 0)
        return 0;

    std::map<std::u16string, std::u16string> targets;
    ParagraphConverter converter(options, targets);
    bool changed = false;
    for (Paragraph &p : document.paragraphs)
        changed = converter.convert(p, unitsTotal) || changed;
    if (changed)
        document.normalize();
    return static_cast<int>(converter.words);
}

} // namespace tarvellite
