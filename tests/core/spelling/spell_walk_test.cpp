#include "core/spelling/spell_walk.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tarvellite;

namespace {

class StringText : public SpellText {
  public:
    explicit StringText(std::u16string text) : text(std::move(text)) {}
    int length() override { return static_cast<int>(text.size()); }
    std::u16string read(int from, int to) override {
        return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    }
    void replace(int from, int to, std::u16string_view with) override {
        text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from), with);
    }
    std::u16string text;
};

// Words holding an "x" are misspelled.
bool noX(std::u16string_view word) {
    return word.find(u'x') == std::u16string_view::npos;
}

std::string narrow(const std::u16string &s) {
    return std::string(s.begin(), s.end());
}

// Ignores every rejected word and lists them in the order the walk offered them.
std::vector<std::string> offered(SpellWalk &walk) {
    std::vector<std::string> words;
    for (int guard = 0; guard < 1000; ++guard) {
        if (walk.next() != SpellWalk::Step::Found)
            return words;
        words.push_back(narrow(walk.currentWord()));
    }
    ADD_FAILURE() << "the walk did not end";
    return words;
}

} // namespace

TEST(SpellWalk, EveryDirectionOffersTheWordsOfItsRange) {
    // Selection: "cx dd" (positions 6 to 11); the caret cases use its ends.
    const std::u16string text = u"ax bb cx dd ex ff gx";
    struct Case {
        SpellDirection direction;
        int selStart, selEnd;
        std::vector<std::string> words;
    } cases[] = {
        {SpellDirection::BeginToEnd, 6, 11, {"ax", "cx", "ex", "gx"}},
        {SpellDirection::BeginToCursor, 6, 11, {"ax", "cx"}},
        {SpellDirection::CursorToEnd, 6, 11, {"cx", "ex", "gx"}},
        {SpellDirection::SelectedOnly, 6, 11, {"cx"}},
        {SpellDirection::SelectedOnly, 9, 9, {}},
        {SpellDirection::EndToBegin, 6, 11, {"gx", "ex", "cx", "ax"}},
        {SpellDirection::EndToCursor, 6, 11, {"gx", "ex", "cx"}},
        {SpellDirection::CursorToBegin, 6, 11, {"ax"}},
        // A caret inside a word takes that whole word.
        {SpellDirection::CursorToEnd, 7, 7, {"cx", "ex", "gx"}},
        {SpellDirection::CursorToBegin, 7, 7, {"cx", "ax"}},
    };
    for (const Case &c : cases) {
        StringText t(text);
        SpellWalk walk(t, noX);
        walk.start(c.direction, c.selStart, c.selEnd);
        EXPECT_EQ(offered(walk), c.words) << narrow(std::u16string(spellDirectionText(c.direction)))
                                          << " " << c.selStart << "-" << c.selEnd;
        EXPECT_FALSE(walk.running());
    }
}

TEST(SpellWalk, CountsWordsAndMovesProgressWithinItsRangeBothWays) {
    for (SpellDirection d : {SpellDirection::BeginToEnd, SpellDirection::EndToBegin}) {
        StringText t(u"aa, bx. \u0B95\u0BA3\u0BCD\u0BA3\u0BBF\u0BB2\u0BCD\nxx dd");
        SpellWalk walk(t, noX);
        walk.start(d, 0, 0);
        int last = -1;
        while (walk.next() == SpellWalk::Step::Found) {
            EXPECT_GE(walk.progress(), 0);
            EXPECT_LE(walk.progress(), walk.progressMaximum());
            EXPECT_GT(walk.progress(), last);
            last = walk.progress();
        }
        // The Tamil word with its vowel signs and viramas is one word: five words in all.
        EXPECT_EQ(walk.wordsChecked(), 5);
    }
}

TEST(SpellWalk, ChangeKeepsTheRangeInStepWithTheText) {
    struct Case {
        SpellDirection direction;
        std::u16string replacement;
        std::vector<std::string> after; // words offered after the change
        std::string text;
    } cases[] = {
        // Shrinking: the range end moves back with the text and the walk still ends.
        {SpellDirection::BeginToEnd, u"a", {"cx", "dx"}, "a cx dx"},
        // Growing: the word pushed past the old end is still checked.
        {SpellDirection::BeginToEnd, u"long long long", {"cx", "dx"}, "long long long cx dx"},
        // A replacement that is itself rejected is not offered again.
        {SpellDirection::BeginToEnd, u"bxx", {"cx", "dx"}, "bxx cx dx"},
        {SpellDirection::EndToBegin, u"qq", {"cx", "ax"}, "ax cx qq"},
        {SpellDirection::EndToBegin, u"", {"cx", "ax"}, "ax cx "},
    };
    for (const Case &c : cases) {
        const bool forward = c.direction == SpellDirection::BeginToEnd;
        StringText t(u"ax cx dx");
        SpellWalk walk(t, noX);
        walk.start(c.direction, 0, 0);
        ASSERT_EQ(walk.next(), SpellWalk::Step::Found);
        EXPECT_EQ(walk.currentWord(), forward ? u"ax" : u"dx");
        walk.change(c.replacement);
        EXPECT_EQ(offered(walk), c.after) << narrow(c.replacement);
        EXPECT_EQ(narrow(t.text), c.text);
    }
}

TEST(SpellWalk, ChangeAllReplacesWholeWordsInTheRangeAndEnds) {
    struct Case {
        std::u16string text;
        SpellDirection direction;
        int selStart, selEnd;
        std::u16string replacement;
        int count;
        std::u16string result;
        std::vector<std::string> after;
    } cases[] = {
        // Case of A to Z is ignored; parts of longer words are not occurrences.
        {u"tamx, Tamx tamxes tamx",
         SpellDirection::BeginToEnd,
         0,
         0,
         u"Tamil",
         3,
         u"Tamil, Tamil tamxes Tamil",
         {"tamxes"}},
        // The replacement holds the word itself: every search resumes after it.
        {u"bx bx", SpellDirection::BeginToEnd, 0, 0, u"bx bx", 2, u"bx bx bx bx", {}},
        {u"tamx tamx", SpellDirection::BeginToEnd, 0, 0, u"tamx", 2, u"tamx tamx", {}},
        // Backward: the whole range, below and above the current word.
        {u"ax qx ax qx ax",
         SpellDirection::EndToBegin,
         0,
         0,
         u"a",
         3,
         u"a qx a qx a",
         {"qx", "qx"}},
        // Only inside the range.
        {u"ax ax ax", SpellDirection::SelectedOnly, 3, 5, u"zz", 1, u"ax zz ax", {}},
    };
    for (const Case &c : cases) {
        StringText t(c.text);
        // As the pane does, an accepted replacement is from then on ignored.
        std::u16string accepted;
        SpellWalk walk(t, [&](std::u16string_view w) { return noX(w) || w == accepted; });
        walk.start(c.direction, c.selStart, c.selEnd);
        ASSERT_EQ(walk.next(), SpellWalk::Step::Found);
        accepted = c.replacement == u"bx bx" ? u"bx" : c.replacement;
        EXPECT_EQ(walk.changeAll(c.replacement), c.count) << narrow(c.text);
        EXPECT_EQ(t.text, c.result);
        EXPECT_EQ(offered(walk), c.after) << narrow(c.text);
    }
}

TEST(SpellWalk, SurvivesTextEditedBehindItsBack) {
    StringText t(u"ax bx cx dx");
    SpellWalk walk(t, noX);
    walk.start(SpellDirection::BeginToEnd, 0, 0);
    ASSERT_EQ(walk.next(), SpellWalk::Step::Found);
    t.text = u"ax";     // most of the document was deleted elsewhere
    walk.change(u"zz"); // the word is still there: changed
    EXPECT_EQ(t.text, u"zz");
    EXPECT_EQ(offered(walk), std::vector<std::string>{});

    StringText u(u"ax bx");
    SpellWalk second(u, noX);
    second.start(SpellDirection::BeginToEnd, 0, 0);
    ASSERT_EQ(second.next(), SpellWalk::Step::Found);
    u.text = u"ay bx"; // the word itself changed: Change leaves the text alone
    second.change(u"zz");
    EXPECT_EQ(u.text, u"ay bx");
}

TEST(SpellWalk, BudgetPausesALongCleanWalk) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i)
        text += u"ok ";
    text += u"bx";
    StringText t(text);
    SpellWalk walk(t, noX);
    walk.start(SpellDirection::BeginToEnd, 0, 0);
    int pauses = 0;
    SpellWalk::Step step;
    while ((step = walk.next(100)) == SpellWalk::Step::Paused)
        ++pauses;
    EXPECT_EQ(pauses, 10);
    EXPECT_EQ(step, SpellWalk::Step::Found);
    EXPECT_EQ(walk.wordStart(), 3000);
    EXPECT_EQ(walk.next(100), SpellWalk::Step::Done);
    EXPECT_EQ(walk.wordsChecked(), 1001);
}
