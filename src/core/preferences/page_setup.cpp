#include "core/preferences/page_setup.h"

#include "core/app/paper_sizes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvellite {

namespace {

// Twips to the shown unit, and typed units to twips.
constexpr double shownPerTwip[] = {0.017638888888888888, 0.0017638888888888888,
                                   0.0006944444444444445};
constexpr double twipsPerShown[] = {56.69291338582678, 566.9291338582677, 1440};

int unitRow(int unit) {
    return unit >= Millimetres && unit <= Inches ? unit : Centimetres;
}

int clampCustom(int twips) {
    return std::clamp(twips, minCustomPaperTwips, maxCustomPaperTwips);
}

} // namespace

std::string lengthText(int twips, int unit) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", twips * shownPerTwip[unitRow(unit)]);
    return text;
}

std::optional<int> lengthFromText(std::string_view text, int unit, int currentTwips) {
    if (text == lengthText(currentTwips, unit))
        return currentTwips;
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    double whole = 0;
    double fraction = 0;
    double scale = 1;
    bool point = false;
    bool digits = false;
    for (char c : text) {
        if (c == '.') {
            if (point)
                return std::nullopt;
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (point) {
                scale /= 10;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    const double twips = std::trunc((whole + fraction) * twipsPerShown[unitRow(unit)]);
    return twips > 1e9 ? 1000000000 : static_cast<int>(twips);
}

int spinMaximum(int unit) {
    return static_cast<int>(maxSpinTwips * shownPerTwip[unitRow(unit)]);
}

const char *unitSentence(int unit) {
    switch (unitRow(unit)) {
    case Millimetres: return "All Measurements are in Millimeters";
    case Inches: return "All Measurements are in Inches";
    default: return "All Measurements are in Centimeters";
    }
}

PageSetup PageSetup::fromDefaults(const PageDimensions &stored) {
    PageSetup page;
    page.pageSizeIndex_ =
        stored.pageSizeIndex >= 0 && stored.pageSizeIndex < static_cast<int>(paperSizeCount)
            ? stored.pageSizeIndex
            : -1;
    page.paperWidth_ = clampCustom(std::min(stored.paperWidth, stored.paperHeight));
    page.paperHeight_ = clampCustom(std::max(stored.paperWidth, stored.paperHeight));
    page.portrait_ = stored.portrait != 0;
    page.margins_ = {stored.marginLeft, stored.marginTop, stored.marginRight, stored.marginBottom};
    if (page.pageSizeIndex_ < 0) {
        page.customWidth_ = page.paperWidth_;
        page.customHeight_ = page.paperHeight_;
    }
    return page;
}

PageSetup PageSetup::fromDocument(int width, int height, int left, int top, int right, int bottom) {
    PageSetup page;
    page.pageSizeIndex_ = FindPageSize(width, height);
    page.portrait_ = width < height;
    page.paperWidth_ = clampCustom(std::min(width, height));
    page.paperHeight_ = clampCustom(std::max(width, height));
    if (page.pageSizeIndex_ < 0) {
        page.customWidth_ = page.paperWidth_;
        page.customHeight_ = page.paperHeight_;
    }
    page.margins_ = {left, top, right, bottom};
    return page;
}

void PageSetup::setPortrait(bool portrait) {
    if (portrait_ == portrait)
        return;
    portrait_ = portrait;
    revalidateMargins();
}

void PageSetup::choosePaperSize(int index) {
    if (index >= 0 && index < static_cast<int>(paperSizeCount)) {
        const PAGESIZE &size = paperSizeTable()[index];
        paperWidth_ = size.width;
        paperHeight_ = size.height;
        pageSizeIndex_ = index;
    } else {
        paperWidth_ = customWidth_;
        paperHeight_ = customHeight_;
        pageSizeIndex_ = -1;
    }
    revalidateMargins();
}

int PageSetup::setCustomWidth(int twips) {
    customWidth_ = clampCustom(twips);
    if (pageSizeIndex_ < 0)
        choosePaperSize(-1);
    return customWidth_;
}

int PageSetup::setCustomHeight(int twips) {
    customHeight_ = clampCustom(twips);
    if (pageSizeIndex_ < 0)
        choosePaperSize(-1);
    return customHeight_;
}

void PageSetup::setMargin(Margin m, int twips) {
    const int edited = static_cast<int>(m);
    const int opposite = (edited + 2) % 4; // left/right and top/bottom face each other
    const bool across = m == Margin::Left || m == Margin::Right;
    const int paper = across ? shownWidth() : shownHeight();
    int margin = std::max(twips, minMarginTwips);
    int other = margins_[opposite];
    const int text = std::max(paper - other - margin, minTextTwips);
    if (margin + text + other > paper) {
        if (margin > minMarginTwips)
            margin = std::max(paper - (other + text), minMarginTwips);
        if (margin + text + other > paper)
            other = std::max(paper - (margin + text), minMarginTwips);
    }
    margins_[edited] = margin;
    margins_[opposite] = other;
}

void PageSetup::revalidateMargins() {
    for (Margin m : {Margin::Left, Margin::Top, Margin::Right, Margin::Bottom})
        setMargin(m, margin(m));
}

PageDimensions PageSetup::toDimensions(const PageDimensions &stored) const {
    PageDimensions d = stored;
    d.pageSizeIndex = pageSizeIndex_;
    d.paperWidth = paperWidth_;
    d.paperHeight = paperHeight_;
    d.marginLeft = margins_[0];
    d.marginTop = margins_[1];
    d.marginRight = margins_[2];
    d.marginBottom = margins_[3];
    d.portrait = portrait_ ? 1 : 0;
    return d;
}

} // namespace tarvellite
