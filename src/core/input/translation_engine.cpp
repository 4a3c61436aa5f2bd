#include "core/input/translation_engine.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace tarvellite {

namespace vk {

std::uint32_t forCharacter(char ch) {
    const char key = keyUnshiftedChar(charToKeyTable(static_cast<unsigned char>(ch)));
    if (ch == ' ')
        return Space;
    if (key >= 'a' && key <= 'z')
        return static_cast<std::uint32_t>(key - 'a' + 'A');
    if (key >= '0' && key <= '9')
        return static_cast<std::uint32_t>(key);
    switch (key) {
    case ';': return 0xBA;
    case '=': return 0xBB;
    case ',': return 0xBC;
    case '-': return 0xBD;
    case '.': return 0xBE;
    case '/': return 0xBF;
    case '`': return 0xC0;
    case '[': return 0xDB;
    case '\\': return 0xDC;
    case ']': return 0xDD;
    case '\'': return 0xDE;
    default: return 0;
    }
}

} // namespace vk

namespace {

constexpr std::string_view phoneticVowelKeys = "AeEIoOUY";

int phoneticSection(char32_t ch) {
    switch (ch) {
    case 'h': return PHONETICDATA::SectionH;
    case 'M': return PHONETICDATA::SectionM;
    case 'R': return PHONETICDATA::SectionR;
    case 'u': return PHONETICDATA::SectionU;
    default: return -1;
    }
}

} // namespace

char32_t TranslationEngine::ctrlCharacterOf(std::uint32_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return key;
    switch (key) {
    case 0xBB: return '+';
    case 0xBD: return '-';
    case 0xC0: return '~';
    case 0xDE: return '"';
    case 0xBA:
    case 0xBC:
    case 0xBE:
    case 0xBF:
    case 0xDB:
    case 0xDC:
    case 0xDD: return key - 0x80;
    default: return 0;
    }
}

bool TranslationEngine::ctrlLayerTypes(std::uint32_t key) const {
    const KBDDATA *keys = context_.currentKeyboardData();
    const int k = charToKeyTable(ctrlCharacterOf(key));
    return keys && k >= 0 && keys->unitCount(LayerCtrl, k) > 0;
}

void TranslationEngine::setTarget(TargetKind kind, TextTarget *target) {
    switch (kind) {
    case TargetKind::TargetEdit: edit_ = target; break;
    case TargetKind::TargetCombo: combo_ = target; break;
    case TargetKind::TargetDocument: document_ = target; break;
    }
}

TextTarget *TranslationEngine::target(TargetKind kind) const {
    switch (kind) {
    case TargetKind::TargetEdit: return edit_;
    case TargetKind::TargetCombo: return combo_;
    case TargetKind::TargetDocument: return document_;
    }
    return nullptr;
}

bool TranslationEngine::shifted() const {
    return capsLockHeld_ || (capsLockOn_ != (context_.modifiers().shiftLatch != 0));
}

bool TranslationEngine::TranslateKeyMessage(const KeyMessage &message, TargetKind kind) {
    ModifierState &m = context_.modifiers();
    switch (message.kind) {
    case KeyMessage::Kind::KeyDown: {
        const std::uint32_t key = message.value;
        if (key == vk::Shift) {
            if (m.shiftKeyDown == 0)
                context_.showCaptionsFor(true, false);
            context_.showModifierButtons(true, m.ctrlLatch != 0);
            m.shiftKeyDown = 1;
            m.shiftLatch = 1;
        } else if (key == vk::Control) {
            m.ctrlKeyDown = 1;
            m.ctrlLatch = 1;
            context_.showCaptionsFor(false, true);
            context_.showModifierButtons(m.shiftLatch != 0, true);
        }
        TextTarget *t = target(kind);
        const char32_t ch = ctrlCharacterOf(key);
        if (message.ctrlDown && ch != 0 && t) {
            std::array<char16_t, 4> out{};
            t->beginKeystroke();
            const int count = TranslateCharacter(ch, shifted(), m.ctrlLatch != 0, out, kind);
            if (count > 0) {
                deliver(out, count, kind);
                markComposed(*t);
                context_.ReleaseStickyModifiers();
                t->endKeystroke();
                return true;
            }
            t->endKeystroke();
        }
        context_.ReleaseStickyModifiers();
        return false;
    }
    case KeyMessage::Kind::KeyUp:
        if (message.value == vk::Shift || message.value == vk::Control) {
            m.ctrlKeyDown = 0;
            m.shiftKeyDown = 0;
            context_.ReleaseStickyModifiers();
        }
        return false;
    case KeyMessage::Kind::Character: {
        const std::uint32_t ch = message.value;
        TextTarget *t = target(kind);
        if (ch > 0xFF || !t)
            return false;
        if (ch <= 0x20) {
            t->beginKeystroke();
            wordEndViramaRule(ch, *t);
            t->endKeystroke();
            return false;
        }
        // Only the printable ASCII characters have key positions; the rest pass on untouched.
        if (ch > 0x7E || !context_.currentKeyboardData())
            return false;
        std::array<char16_t, 4> out{};
        t->beginKeystroke();
        // English keeps the system's Caps Lock, which shifts letters only.
        bool shift = shifted();
        const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
        if (context_.currentLanguageIndex() == 0 && !letter && !capsLockHeld_)
            shift = m.shiftLatch != 0;
        int count = TranslateCharacter(ch, shift, m.ctrlLatch != 0, out, kind);
        if (kind != TargetKind::TargetCombo && context_.currentLanguageIndex() != 0 &&
            options_.enhancedEditing && count > 0) {
            if (context_.currentLanguage().isConsonant(out[0]))
                doubledConsonantRule(out, count, *t);
            else
                signReplacementRule(out, *t);
        }
        deliver(out, count, kind);
        markComposed(*t);
        context_.ReleaseStickyModifiers();
        t->endKeystroke();
        return true;
    }
    }
    return false;
}

int TranslationEngine::TranslateCharacter(char32_t ch, bool shifted, bool ctrl,
                                          std::array<char16_t, 4> &out, TargetKind kind) {
    out.fill(emptySlot);
    const int k = charToKeyTable(ch);
    const KBDTYPE *type = context_.currentKeyboardType();
    const KBDDATA *keys = context_.currentKeyboardData();
    TextTarget *t = target(kind);
    if (k < 0 || !type || !keys || !t) {
        context_.ReleaseStickyModifiers();
        return 0;
    }
    prior_ = takeComposed(*t);
    composing_ = Composed::None;
    // A Ctrl combination that the layout gives no units stays the program's shortcut, also on
    // the keys that the phonetic rules treat specially.
    if (ctrl && keys->unitCount(LayerCtrl, k) == 0) {
        context_.ReleaseStickyModifiers();
        return 0;
    }
    const LANGDETAILS &lang = context_.currentLanguage();
    const bool phonetic = type->isPhonetic();
    if (phonetic && (ch == 'a' || ch == 'i'))
        return shortVowelPath(ch, shifted, out, *t);

    const int layer =
        ctrl ? (shifted ? LayerCtrlShift : LayerCtrl) : (shifted ? LayerShift : LayerNormal);
    for (int p = 1; p <= slotCount; ++p)
        out[p - 1] = keys->slot(layer, p, k);
    const int count = keys->unitCount(layer, k);
    context_.ReleaseStickyModifiers();

    const int vowel = lang.vowelIndex(out[0]);
    // The delinker after a consonant confirms its inherent vowel and types nothing; a vowel
    // after a consonant so confirmed stays a letter of its own.
    if (vowel >= 0 && prior_ != Composed::Delinked &&
        ReadContext(*t, false, true, false, false).result == 1) {
        if (out[0] == keys->delinker())
            composing_ = Composed::Delinked;
        out[0] = lang.signOfVowel(vowel);
    }
    if (!phonetic)
        return count;

    const int plainLayer = shifted ? LayerShift : LayerNormal;
    const int section = phoneticSection(ch);
    if (section >= 0) {
        const std::array<char16_t, 4> tableOut = out;
        const int r = ApplyPhoneticRules(ch, out, *t);
        if (r > 0)
            return r;
        out.fill(emptySlot);
        if (r == -1) {
            deleteBeforeCaret(*t);
            out[0] = keys->slot(LayerNormal, 2, k);
            return 1;
        }
        // An h that no rule combines is a consonant key like any other: it types what its
        // table gives (the consonant with its virama), so that a vowel after it is its sign.
        if (ch == 'h') {
            out = tableOut;
            return count;
        }
        out[0] = keys->slot(plainLayer, 1, k);
        if (keys->slot(LayerShift, 2, k) == lang.virama) {
            out[1] = lang.virama;
            return 2;
        }
        return 1;
    }
    if (phoneticVowelKeys.find(static_cast<char>(ch)) != std::string_view::npos) {
        out.fill(emptySlot);
        if (ReadContext(*t, true, false, false, false).result == 0) {
            out[0] = keys->slot(plainLayer, 1, k);
        } else {
            deleteBeforeCaret(*t);
            out[0] = keys->slot(plainLayer, 2, k);
        }
        return 1;
    }
    return count;
}

int TranslationEngine::shortVowelPath(char32_t ch, bool shifted, std::array<char16_t, 4> &out,
                                      TextTarget &t) {
    const KBDDATA &keys = *context_.currentKeyboardData();
    const LANGDETAILS &lang = context_.currentLanguage();
    const int keyA = charToKeyTable('a');
    const int keyI = charToKeyTable('i');
    const int keyY = charToKeyTable('y');
    const int plainLayer = shifted ? LayerShift : LayerNormal;
    const Context c = ReadContext(t, true, false, false, false);
    const char16_t x = c.ctx1;
    int count = 1;
    if (x != 0 && lang.isConsonant(x)) {
        // After a consonant's inherent vowel: "a" lengthens it, "i" makes the ai sign.
        out[0] = keys.slot(LayerShift, 2, ch == 'a' ? keyA : keyY);
    } else if (c.result == 0) {
        if (ch == 'a') {
            out[0] = keys.slot(plainLayer, 1, keyA);
        } else if (!lang.vowels.empty() && x == lang.vowels[0]) {
            // "a" then "i" is the ai vowel.
            deleteBeforeCaret(t);
            out[0] = keys.slot(LayerShift, 1, keyY);
        } else {
            out[0] = keys.slot(plainLayer, 1, keyI);
        }
    } else {
        // After a virama: "i" replaces it with the i sign, "a" just removes it.
        deleteBeforeCaret(t);
        if (ch == 'i')
            out[0] = keys.slot(plainLayer, 2, keyI);
        else
            count = 0;
    }
    context_.ReleaseStickyModifiers();
    return count;
}

TranslationEngine::Context TranslationEngine::ReadContext(TextTarget &t, bool checkVirama,
                                                          bool checkConsonant, bool skipOne,
                                                          bool keepSpace) const {
    const LANGDETAILS &lang = context_.currentLanguage();
    Context r;
    auto [start, end] = t.GetSelection();
    if (start != end) {
        t.DeleteRange(start, end);
        end = start;
    }
    const int c = start;
    if (c == 0)
        return r;
    int p = skipOne ? c - 2 : c - 1;
    if (p < 0)
        return r;
    std::u16string units = t.ReadRange(p, c);
    t.SetCaret(c);
    if (units.empty())
        return r;
    r.ctx1 = units.size() > static_cast<std::size_t>(c - p) ? units.back() : units.front();
    if (r.ctx1 <= 0x20)
        return r;
    if (checkVirama) {
        r.result = r.ctx1 == lang.virama ? 1 : 0;
        return r;
    }
    if (checkConsonant) {
        r.result = lang.isConsonant(r.ctx1) ? 1 : 0;
        return r;
    }
    if (p == 0) {
        r.result = 1;
        return r;
    }
    --p;
    units = t.ReadRange(p, c);
    t.SetCaret(c);
    if (units.size() < 2) {
        r.result = 1;
        return r;
    }
    if (c - p == 2 && units.size() > 2) {
        r.ctx1 = units[units.size() - 2];
        r.ctx2 = units.back();
    } else {
        r.ctx1 = units[0];
        r.ctx2 = units[1];
    }
    if (!keepSpace && r.ctx1 <= 0x20) {
        r.ctx1 = r.ctx2;
        r.result = 1;
        return r;
    }
    r.result = 2;
    return r;
}

int TranslationEngine::ApplyPhoneticRules(char32_t ch, std::array<char16_t, 4> &out,
                                          TextTarget &t) {
    const PHONETICDATA *phonetic = context_.currentPhonetic();
    const int section = phoneticSection(ch);
    if (!phonetic || section < 0)
        return 0;
    const Context c = ReadContext(t, false, false, false, false);
    if (c.result == 0)
        return 0;
    const char16_t virama = context_.currentLanguage().virama;
    const bool sectionU = section == PHONETICDATA::SectionU;
    const std::vector<PhoneticRule> &rules = phonetic->sections[section];

    auto fire = [&](const PhoneticRule &rule, char16_t placeholder) {
        out.fill(emptySlot);
        out[0] = rule.out[0];
        out[1] = rule.out[1] == 0x0020 && rule.out[2] != 0 ? placeholder : rule.out[1];
        out[2] = rule.out[2];
        const auto [start, end] = t.GetSelection();
        const int erase = std::clamp(rule.eraseCount, 0, start);
        t.DeleteRange(start - erase, end);
        if (out[0] == 0)
            return 0;
        if (out[1] == 0)
            return 1;
        return out[2] != 0 ? 3 : 2;
    };

    if (c.result == 1) {
        const char16_t x = c.ctx1;
        for (const PhoneticRule &rule : rules) {
            if (rule.earlier == 0)
                return 0;
            if (rule.earlier == x && rule.later == 0)
                return fire(rule, x);
            if (sectionU && x == virama)
                return -1;
        }
        return 0;
    }
    const char16_t x = c.ctx1;
    const char16_t y = c.ctx2;
    for (const PhoneticRule &rule : rules) {
        if (rule.earlier == 0)
            break;
        if (rule.earlier == x && rule.later == y)
            return fire(rule, x);
    }
    // Matched on the unit before the caret alone: only one-character rules may fire, since a
    // two-character rule's erase count would take away a unit that it never matched.
    for (const PhoneticRule &rule : rules) {
        if (rule.earlier == 0)
            break;
        if (rule.earlier == y && rule.later == 0)
            return fire(rule, y);
    }
    return sectionU && y == virama ? -1 : 0;
}

void TranslationEngine::doubledConsonantRule(std::array<char16_t, 4> &out, int &count,
                                             TextTarget &t) {
    const LANGDETAILS &lang = context_.currentLanguage();
    const KBDTYPE *type = context_.currentKeyboardType();
    // The automatic virama is Tamil's ("Auto Pulli for Tamil"): other scripts spell adjacent
    // equal consonants without one (ममता, ನನಗೆ). Typewriter layouts only, and only keys that
    // type one consonant: a key that types a conjunct or a consonant with its virama is
    // delivered as its table gives it.
    if (!options_.autoPulli || lang.viramaMode == 0 || context_.currentLanguageCode() != "TA" ||
        !type || type->isPhonetic() || count != 1)
        return;
    const char16_t c = out[0];
    const KBDDATA *keys = context_.currentKeyboardData();
    if (keys && keys->hasComposition()) {
        // Tamil99: a consonant typed twice, or a soft consonant followed by its hard partner
        // (ந த), takes the pulli on the first of them, at the start of a word too. Not right
        // after an automatic pulli (h h h gives க்கக) nor after the delinker (h a h gives கக).
        if (prior_ != Composed::None)
            return;
        const Context r = ReadContext(t, false, false, false, true);
        const char16_t before = r.result == 2 ? r.ctx2 : r.result == 1 ? r.ctx1 : 0;
        if (!lang.isConsonant(before) || (before != c && !keys->pulliPair(before, c)))
            return;
        out[0] = lang.virama;
        out[1] = c;
        count = 2;
        composing_ = Composed::AutoPulli;
        return;
    }
    const Context r = ReadContext(t, false, false, false, true);
    if (r.result == 2 && c == r.ctx2) {
        count = 2;
        if (lang.inLetterRange(r.ctx1)) {
            out[0] = lang.virama;
            out[1] = c;
        } else {
            out[1] = lang.virama;
        }
    } else if (r.result == 1 && lang.inLetterRange(r.ctx1) && r.ctx1 == c) {
        count = 2;
        out[1] = lang.virama;
    }
}

void TranslationEngine::signReplacementRule(std::array<char16_t, 4> &out, TextTarget &t) {
    const LANGDETAILS &lang = context_.currentLanguage();
    const char16_t c = out[0];
    const Context r = ReadContext(t, false, true, false, false);
    const char16_t y = r.ctx1;
    if (r.result != 0 || y <= 0xFF || !lang.inLetterRange(c) ||
        !(lang.isVowelSign(y) || y == lang.virama))
        return;
    const int vowel = lang.vowelIndex(c);
    // A vowel letter after a vowel sign is taken as a new syllable (भाई, हुआ, जाए) where the
    // typist could have typed the sign itself: on phonetic layouts, and on typewriter layouts
    // with a key for that sign. Where the letter is the only way to the sign (Tamil99,
    // Wijesekara), it replaces the sign before it. A sign always replaces a sign or a virama.
    if (vowel >= 0 && y != lang.virama) {
        const KBDTYPE *type = context_.currentKeyboardType();
        if (!type || type->isPhonetic() || context_.keyboardTypes(lang.signOfVowel(vowel)))
            return;
    }
    if (vowel >= 0)
        out[0] = lang.signOfVowel(vowel);
    deleteBeforeCaret(t);
}

void TranslationEngine::wordEndViramaRule(std::uint32_t ch, TextTarget &t) {
    const LANGDETAILS &lang = context_.currentLanguage();
    if (lang.viramaMode != 1 || context_.currentLanguageIndex() < 0)
        return;
    const auto [start, end] = t.GetSelection();
    // Backspace over a selection removes the selection and nothing else.
    if (ch == 8 && start != end)
        return;
    // Our fields insert a line break after this runs, so the unit before the caret is the one
    // to examine for Enter too.
    const Context r = ReadContext(t, false, false, false, false);
    if (r.result == 0)
        return;
    if (r.ctx2 == lang.virama) {
        deleteBeforeCaret(t);
    } else if (ch == 8) {
        t.SetCaret(t.GetSelection().second);
    }
}

TranslationEngine::Composed TranslationEngine::takeComposed(TextTarget &t) {
    const ComposedMark m = mark_;
    mark_ = {};
    if (m.what == Composed::None || m.target != &t || m.keyboard != context_.currentKeyboardData())
        return Composed::None;
    const auto [start, end] = t.GetSelection();
    if (start != end || start != m.caret || start == 0)
        return Composed::None;
    const std::u16string before = t.ReadRange(start - 1, start);
    t.SetCaret(start);
    return before.size() == 1 && before[0] == m.before ? m.what : Composed::None;
}

void TranslationEngine::markComposed(TextTarget &t) {
    mark_ = {};
    const Composed what = std::exchange(composing_, Composed::None);
    if (what == Composed::None)
        return;
    const auto [start, end] = t.GetSelection();
    if (start != end || start == 0)
        return;
    const std::u16string before = t.ReadRange(start - 1, start);
    t.SetCaret(start);
    if (before.size() != 1)
        return;
    mark_ = {what, &t, context_.currentKeyboardData(), start, before[0]};
}

void TranslationEngine::deleteBeforeCaret(TextTarget &t) {
    const auto [start, end] = t.GetSelection();
    if (start > 0)
        t.DeleteRange(start - 1, end);
}

void TranslationEngine::deliver(const std::array<char16_t, 4> &out, int count, TargetKind kind) {
    TextTarget *t = target(kind);
    if (!t)
        return;
    count = std::clamp(count, 0, 4);
    for (int i = 0; i < count; ++i)
        if (out[i] != emptySlot && out[i] != 0)
            t->Deliver(out[i]);
}

} // namespace tarvellite
