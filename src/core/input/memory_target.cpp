#include "core/input/text_target.h"

#include <algorithm>

namespace tarvellite {

int MemoryTarget::clamp(int position) const {
    return std::clamp(position, 0, static_cast<int>(text_.size()));
}

std::pair<int, int> MemoryTarget::GetSelection() {
    return {std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

std::u16string MemoryTarget::ReadRange(int from, int to) {
    from = clamp(from);
    to = clamp(to);
    if (to <= from)
        return {};
    return text_.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

void MemoryTarget::DeleteRange(int from, int to) {
    from = clamp(from);
    to = clamp(to);
    if (to < from)
        std::swap(from, to);
    text_.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    anchor_ = caret_ = from;
}

void MemoryTarget::SetCaret(int position) {
    anchor_ = caret_ = clamp(position);
}

void MemoryTarget::setSelection(int anchor, int caret) {
    anchor_ = clamp(anchor);
    caret_ = clamp(caret);
}

void MemoryTarget::replaceSelection(std::u16string_view units) {
    const auto [start, end] = GetSelection();
    text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), units);
    anchor_ = caret_ = start + static_cast<int>(units.size());
}

void MemoryTarget::Deliver(char16_t unit) {
    replaceSelection(std::u16string_view(&unit, 1));
}

void MemoryTarget::performCharacter(char16_t ch) {
    if (ch == 8) {
        const auto [start, end] = GetSelection();
        if (start != end)
            DeleteRange(start, end);
        else if (start > 0)
            DeleteRange(start - 1, start);
        return;
    }
    if (ch == u'\r')
        ch = u'\n';
    if (ch == u'\n' || ch == u'\t' || ch >= 0x20)
        replaceSelection(std::u16string_view(&ch, 1));
}

} // namespace tarvellite
