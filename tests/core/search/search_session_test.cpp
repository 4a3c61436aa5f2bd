// A search session over a small text: forward and backward steps, the second pass from the
// other end, and its summary count.

#include "core/search/search_session.h"

#include <gtest/gtest.h>

using namespace tarvellite::search;

namespace {

/// Lines separated by '\n'.
class StringText : public SearchText {
  public:
    explicit StringText(std::u16string text) : text_(std::move(text)) {
        starts_.push_back(0);
        for (std::size_t i = 0; i < text_.size(); ++i)
            if (text_[i] == u'\n')
                starts_.push_back(int(i) + 1);
    }
    int length() const override { return int(text_.size()); }
    int lineCount() const override { return int(starts_.size()); }
    int lineStart(int line) const override { return starts_.at(std::size_t(line)); }
    int lineOf(int position) const override {
        int line = 0;
        while (line + 1 < lineCount() && starts_[std::size_t(line) + 1] <= position)
            ++line;
        return line;
    }
    std::u16string lineText(int line) const override {
        const int end = line + 1 < lineCount() ? starts_[std::size_t(line) + 1] - 1 : length();
        return text_.substr(std::size_t(lineStart(line)), std::size_t(end - lineStart(line)));
    }
    std::pair<int, int> selection() const override { return selection_; }
    void select(int start, int end) override { selection_ = {start, end}; }

    std::pair<int, int> selection_{0, 0};

  private:
    std::u16string text_;
    std::vector<int> starts_;
};

using Sel = std::pair<int, int>;

TEST(SearchSession, ForwardThenOnFromTheTop) {
    StringText text(u"xab ab");
    SearchSession s;
    s.searchText = u"ab";
    int asked = 0;
    const auto yes = [&asked] { return ++asked, true; };
    ASSERT_EQ(s.find(&text, Direction::Forward, yes), SearchSession::Outcome::Found);
    EXPECT_EQ(text.selection(), Sel(1, 3));
    ASSERT_EQ(s.find(&text, Direction::Forward, yes), SearchSession::Outcome::Found);
    EXPECT_EQ(text.selection(), Sel(4, 6));
    // From the top up to the start nothing more is found: the summary counts two.
    EXPECT_EQ(s.find(&text, Direction::Forward, yes), SearchSession::Outcome::Finished);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(s.foundCount(), 2);
    EXPECT_EQ(text.selection(), Sel(0, 0));
}

TEST(SearchSession, SecondPassFindsWhatLiesBeforeTheStart) {
    StringText text(u"tamil x\nTamil tamil");
    text.select(8, 8);
    SearchSession s;
    s.searchText = u"tamil";
    const auto yes = [] { return true; };
    ASSERT_EQ(s.find(&text, Direction::Forward, yes), SearchSession::Outcome::Found);
    EXPECT_EQ(text.selection(), Sel(14, 19));
    ASSERT_EQ(s.find(&text, Direction::Forward, yes), SearchSession::Outcome::Found);
    EXPECT_EQ(text.selection(), Sel(0, 5));
    EXPECT_EQ(s.find(&text, Direction::Forward, yes), SearchSession::Outcome::Finished);
    EXPECT_EQ(s.foundCount(), 2);
    // "No" ends the search with the count so far, and the next search starts afresh.
    text.select(8, 8);
    ASSERT_EQ(s.find(&text, Direction::Forward, [] { return false; }),
              SearchSession::Outcome::Found);
    EXPECT_EQ(s.find(&text, Direction::Forward, [] { return false; }),
              SearchSession::Outcome::Stopped);
    EXPECT_EQ(s.foundCount(), 1);
    EXPECT_EQ(text.selection(), Sel(8, 8));
}

TEST(SearchSession, Backward) {
    StringText banana(u"banana");
    banana.select(6, 6);
    SearchSession s;
    s.searchText = u"a";
    for (int expected : {5, 3, 1}) {
        ASSERT_EQ(s.find(&banana, Direction::Backward, nullptr), SearchSession::Outcome::Found);
        EXPECT_EQ(banana.selection().first, expected);
    }
    StringText hello(u"hello");
    hello.select(5, 5);
    SearchSession h;
    h.searchText = u"ll";
    ASSERT_EQ(h.find(&hello, Direction::Backward, nullptr), SearchSession::Outcome::Found);
    EXPECT_EQ(hello.selection(), Sel(2, 4));
}

// Going backwards, the second pass starts after the very last unit: a match that ends the
// text is found.
TEST(SearchSession, BackwardSecondPassFindsAMatchAtTheVeryEnd) {
    StringText text(u"ab x\ny ab");
    text.select(3, 3);
    SearchSession s;
    s.searchText = u"ab";
    s.wholeWord = true;
    const auto yes = [] { return true; };
    ASSERT_EQ(s.find(&text, Direction::Backward, yes), SearchSession::Outcome::Found);
    EXPECT_EQ(text.selection(), Sel(0, 2));
    ASSERT_EQ(s.find(&text, Direction::Backward, yes), SearchSession::Outcome::Found);
    EXPECT_EQ(text.selection(), Sel(7, 9));
    EXPECT_EQ(s.find(&text, Direction::Backward, yes), SearchSession::Outcome::Finished);
    EXPECT_EQ(s.foundCount(), 2);
}

TEST(SearchSession, NothingToSearch) {
    StringText text(u"abc");
    SearchSession s;
    EXPECT_EQ(s.find(&text, Direction::Forward, nullptr), SearchSession::Outcome::CannotSearch);
    s.searchText = u"b";
    EXPECT_EQ(s.find(nullptr, Direction::Forward, nullptr), SearchSession::Outcome::CannotSearch);
    // A change of direction starts a new session.
    ASSERT_EQ(s.find(&text, Direction::Forward, nullptr), SearchSession::Outcome::Found);
    text.select(3, 3);
    ASSERT_EQ(s.find(&text, Direction::Backward, nullptr), SearchSession::Outcome::Found);
    EXPECT_EQ(s.foundCount(), 1);
}

} // namespace
