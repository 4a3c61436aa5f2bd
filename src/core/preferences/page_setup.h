#pragma once

// The page setup's arithmetic: paper sizes, orientation and margins in twips, shown and entered
// in the unit chosen in the preferences.

#include "core/app/settings_records.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvellite {

/// The measurement units of the preferences (`General.measureUnit`).
enum MeasureUnit : int { Millimetres = 0, Centimetres = 1, Inches = 2 };

/// Limits of the page setup, twips.
inline constexpr int minCustomPaperTwips = 3118;
inline constexpr int maxCustomPaperTwips = 31181;
inline constexpr int minMarginTwips = 454;
inline constexpr int minTextTwips = 2211;
/// The largest length the spin boxes offer, twips.
inline constexpr int maxSpinTwips = 30273;

/// `twips` as the page setup shows it in `unit`: "%.2f" ("2.54" for 1440 twips in centimetres).
/// An unknown unit counts as centimetres.
std::string lengthText(int twips, int unit);
/// A length typed in `unit` as twips, truncated toward zero; nothing when `text` is not a number
/// of digits with at most one point. When `text` is exactly what `lengthText(currentTwips)` shows,
/// `currentTwips` itself, so that a value is never changed by being read back.
std::optional<int> lengthFromText(std::string_view text, int unit, int currentTwips);
/// The spin boxes' maximum in whole `unit`s (533 mm, 53 cm, 21 in).
int spinMaximum(int unit);
/// "All Measurements are in Millimeters" and the like.
const char *unitSentence(int unit);

enum class Margin { Left, Top, Right, Bottom };

/// The working values of the page setup: a paper size from the table (or a custom size),
/// orientation and four margins. Paper width and height are kept in portrait; the margins belong
/// to the page as it lies (left and right across its shown width).
class PageSetup {
  public:
    /// From the stored defaults of new documents.
    static PageSetup fromDefaults(const PageDimensions &stored);
    /// From a document's page: paper as it lies (width, height) and its margins.
    static PageSetup fromDocument(int width, int height, int left, int top, int right, int bottom);

    int pageSizeIndex() const { return pageSizeIndex_; }
    bool portrait() const { return portrait_; }
    /// Paper in portrait.
    int paperWidth() const { return paperWidth_; }
    int paperHeight() const { return paperHeight_; }
    /// Paper as it lies in the chosen orientation (what the Width and Height fields show).
    int shownWidth() const { return portrait_ ? paperWidth_ : paperHeight_; }
    int shownHeight() const { return portrait_ ? paperHeight_ : paperWidth_; }
    int margin(Margin m) const { return margins_[static_cast<int>(m)]; }
    int customWidth() const { return customWidth_; }
    int customHeight() const { return customHeight_; }

    void setPortrait(bool portrait);
    /// Chooses table size `index`, or the custom size with -1; the margins are validated again.
    void choosePaperSize(int index);
    /// Stores a custom width or height (clamped to the limits) and returns what was stored. The
    /// custom size becomes the paper when "Custom Size" is chosen, or at once when it is chosen
    /// already.
    int setCustomWidth(int twips);
    int setCustomHeight(int twips);
    /// Takes `twips` as margin `m`, keeping it at least the minimum margin and leaving at least
    /// the minimum text width or height between it and its opposite margin on the paper as it
    /// lies; the opposite margin gives way when `m` cannot.
    void setMargin(Margin m, int twips);

    /// The values as stored for new documents (`rulerVisible` kept from `stored`).
    PageDimensions toDimensions(const PageDimensions &stored) const;

  private:
    void revalidateMargins();

    int pageSizeIndex_ = 1;
    int paperWidth_ = 11906;
    int paperHeight_ = 16838;
    bool portrait_ = true;
    std::array<int, 4> margins_{1440, 1440, 1440, 1440};
    int customWidth_ = 11906;
    int customHeight_ = 16838;
};

} // namespace tarvellite
