// The find and replace form over a document editor: finding Tamil, Hindi and Latin words
// both ways, Change, Change All, Cancel and the search and change fonts.

#include "core/app/messages.h"
#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/input/kbd_fields.h"
#include "ui/search/search_page.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

class StubFrame : public FrameServices {
  public:
    bool SetDictionaryStatus(const QString &) override { return true; }
    void BuildKeyboardMenu() override {}
    int MarkLoadedDictionary(int index) override { return index; }
    QWidget *GetFloatingKeyboardFrame() const override { return nullptr; }
    QTextEdit *activeDocumentEdit() const override { return view; }
    void OpenOrInsertFile(const QString &) override {}
    QFont statusFont() const override { return {}; }
    QTextEdit *view = nullptr;
};

using Sel = std::pair<int, int>;

} // namespace

class SearchPageTest : public QObject {
    Q_OBJECT

    AppContext context_;
    StubFrame frame_;
    std::unique_ptr<QTextEdit> edit_;
    std::unique_ptr<CSearchPage> page_;
    QStringList messages_;
    MessageAnswer answer_ = MessageAnswer::Yes;
    std::unique_ptr<ScopedMessagePresenter> presenter_;

    Sel selection() const {
        const QTextCursor c = edit_->textCursor();
        return {c.selectionStart(), c.selectionEnd()};
    }
    void setText(const QString &text, int caret) {
        edit_->setPlainText(text);
        QTextCursor c = edit_->textCursor();
        c.setPosition(caret);
        edit_->setTextCursor(c);
    }
    void fields(const QString &search, const QString &change = {}) {
        page_->searchField()->setEditText(search);
        page_->changeField()->setEditText(change);
    }

  private slots:
    void init() {
        messages_.clear();
        answer_ = MessageAnswer::Yes;
        presenter_ = std::make_unique<ScopedMessagePresenter>([this](const Message &m) {
            messages_ << QString::fromStdString(m.caption + "|" + m.text);
            return m.buttons == MessageButtons::YesNo ? answer_ : MessageAnswer::Ok;
        });
        edit_ = std::make_unique<QTextEdit>();
        frame_.view = edit_.get();
        page_ = std::make_unique<CSearchPage>(context_, frame_);
        setFontChooser({});
    }

    void cleanup() {
        page_.reset();
        edit_.reset();
        presenter_.reset();
    }

    void findsBothWays_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QList<int>>("forward");
        QTest::addColumn<QList<int>>("backward");
        QTest::newRow("latin") << "xab ab\nab,"
                               << "ab" << false << QList<int>{1, 4, 7} << QList<int>{7, 4, 1};
        QTest::newRow("latinWhole") << "xab ab\nab,\nab"
                                    << "ab" << true << QList<int>{4, 11} << QList<int>{11, 4};
        QTest::newRow("tamilWhole")
            << QStringLiteral("தமிழ் நாடு\nதமிழ்நாடு தமிழ்") << QStringLiteral("தமிழ்") << true
            << QList<int>{0, 21} << QList<int>{21, 0};
        QTest::newRow("tamilInside") << QStringLiteral("கல்வி கல") << QStringLiteral("கல") << false
                                     << QList<int>{0, 6} << QList<int>{6, 0};
        QTest::newRow("hindiWhole")
            << QStringLiteral("हिंदी में\nहिंदीभाषा हिंदी") << QStringLiteral("हिंदी") << true
            << QList<int>{0, 20} << QList<int>{20, 0};
    }

    // Forward from the start and backward from the end select each occurrence in turn, then
    // report the count at the end.
    void findsBothWays() {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(bool, wholeWord);
        QFETCH(QList<int>, forward);
        QFETCH(QList<int>, backward);
        page_->wholeWordBox()->setChecked(wholeWord);
        fields(word);
        for (bool isForward : {true, false}) {
            setText(text, isForward ? 0 : int(text.size()));
            for (int at : isForward ? forward : backward) {
                isForward ? page_->Forward() : page_->Backward();
                QCOMPARE(selection(), Sel(at, at + int(word.size())));
            }
            messages_.clear();
            isForward ? page_->Forward() : page_->Backward();
            QCOMPARE(messages_.size(), 2);
            QVERIFY(messages_[0].startsWith("Search Enquiry|"));
            QCOMPARE(messages_[1], QStringLiteral("Search Routine Completed|End of Document "
                                                  "Reached. Searched for Word: \"%1\"\nTotal "
                                                  "Words Found: %2;")
                                       .arg(word)
                                       .arg(forward.size()));
        }
    }

    void changeReplacesTheFoundWord() {
        setText(QStringLiteral("ab tamil cd"), 0);
        fields("tamil", "Tamil");
        page_->Forward();
        page_->Change();
        QCOMPARE(edit_->toPlainText(), QStringLiteral("ab Tamil cd"));
        QVERIFY(messages_.last().startsWith("Replace Text Query|Do you want to replace Text: "
                                            "\"tamil\" with that of \"Tamil\""));
        edit_->undo();
        QCOMPARE(edit_->toPlainText(), QStringLiteral("ab tamil cd"));
        // No: nothing changes; a selection that is not the search text is left alone.
        page_->Forward();
        answer_ = MessageAnswer::No;
        page_->Change();
        QCOMPARE(edit_->toPlainText(), QStringLiteral("ab tamil cd"));
        answer_ = MessageAnswer::Yes;
        setText(QStringLiteral("ab tamil cd"), 0);
        page_->Change();
        QCOMPARE(edit_->toPlainText(), QStringLiteral("ab tamil cd"));
        // An empty change text deletes the word.
        fields("tamil");
        page_->Forward();
        page_->Change();
        QCOMPARE(edit_->toPlainText(), QStringLiteral("ab  cd"));
    }

    void changeAllIsOneStep() {
        const QString text = QStringLiteral("tamil Tamil tamil,\ntamil tamiltamil tamil");
        setText(text, 3);
        fields("tamil", "Tamil");
        page_->wholeWordBox()->setChecked(true);
        page_->ChangeAll();
        QCOMPARE(edit_->toPlainText(),
                 QStringLiteral("Tamil Tamil tamil,\nTamil tamiltamil Tamil"));
        QCOMPARE(messages_.last(), QStringLiteral("Replace All Routine Completed|End of Document "
                                                  "Reached. Replaced Word: \"tamil\" with: "
                                                  "\"Tamil\"\n Total Words Replaced: 3;"));
        edit_->undo();
        QCOMPARE(edit_->toPlainText(), text);
        // A replacement holding the search text ends.
        page_->wholeWordBox()->setChecked(false);
        fields("tamil", "tamiltamil");
        page_->ChangeAll();
        QVERIFY(messages_.last().endsWith("Total Words Replaced: 6;"));
        // Not found: a message, and the selection stays.
        setText(text, 2);
        fields(QStringLiteral("தமிழ்"), "x");
        page_->ChangeAll();
        QCOMPARE(messages_.last(), QStringLiteral("Search Text Not found|Search text: \"தமிழ்\" "
                                                  "Not found. Nothing to replace"));
        QCOMPARE(selection(), Sel(2, 2));
        QCOMPARE(context_.busy(), false);
    }

    // Cancel restores the selection, empties both fields and ends the session: an empty
    // field then searches for nothing.
    void cancelEndsTheSession() {
        setText(QStringLiteral("one ab two ab"), 2);
        fields("ab");
        page_->Forward();
        QCOMPARE(selection(), Sel(4, 6));
        page_->Cancel();
        QCOMPARE(messages_.last(), QStringLiteral("Search Routine Completed|Search Cancelled. "
                                                  "Searched for Word: \"ab\"\nTotal Words "
                                                  "Found: 1;"));
        QCOMPARE(selection(), Sel(2, 2));
        QCOMPARE(page_->searchField()->currentText(), QString());
        messages_.clear();
        page_->Forward();
        QCOMPARE(selection(), Sel(2, 2));
        QVERIFY(messages_.isEmpty());
        fields("two");
        page_->Forward();
        QCOMPARE(selection(), Sel(7, 10));
        QCOMPARE(page_->searchField()->findText("ab"), 0); // the history keeps it
        // An empty document.
        setText(QString(), 0);
        page_->Forward();
        QCOMPARE(messages_.last(),
                 QStringLiteral("Empty Document Error|Nothing to check. Document is Empty"));
    }

    // The search font matches face, size in twips, style and colour; the change font sets
    // every style, so it can take italic away.
    void fonts() {
        QFont tenAndAHalf(QStringLiteral("Noto Sans"));
        tenAndAHalf.setPointSizeF(10.5);
        setFontChooser([&](const FontChoice &) { return FontChoice{tenAndAHalf, Qt::black}; });
        setText(QStringLiteral("ab ab ab"), 0);
        QTextCursor c(edit_->document());
        c.setPosition(3);
        c.setPosition(5, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setFontFamilies({tenAndAHalf.family()});
        f.setFontPointSize(10.5);
        c.mergeCharFormat(f);
        c.setPosition(6);
        c.setPosition(8, QTextCursor::KeepAnchor);
        f.setFontItalic(true);
        c.mergeCharFormat(f);

        QTest::mouseClick(page_->searchFontBox(), Qt::LeftButton);
        QVERIFY(page_->searchFontBox()->isChecked());
        QCOMPARE(page_->searchFontBox()->text(),
                 QStringLiteral("%1, 11, ...").arg(tenAndAHalf.family()));
        fields("ab", "cd");
        page_->Forward();
        QCOMPARE(selection(), Sel(3, 5));
        messages_.clear();
        page_->Forward();
        QVERIFY(messages_.value(0).startsWith("Search Enquiry|"));

        QFont upright(QStringLiteral("Noto Sans"));
        upright.setPointSizeF(12);
        setFontChooser([&](const FontChoice &) { return FontChoice{upright, Qt::red}; });
        page_->searchFontBox()->click();
        QCOMPARE(page_->searchFontBox()->text(), QStringLiteral("Search Font"));
        QTest::mouseClick(page_->changeFontBox(), Qt::LeftButton);
        // The italic third "ab", selected, changes upright.
        c.setPosition(6);
        c.setPosition(8, QTextCursor::KeepAnchor);
        edit_->setTextCursor(c);
        page_->Change();
        c.setPosition(7);
        QCOMPARE(edit_->toPlainText(), QStringLiteral("ab ab cd"));
        QVERIFY(!c.charFormat().fontItalic());
        QCOMPARE(c.charFormat().fontPointSize(), 12.0);
        QCOMPARE(c.charFormat().foreground().color(), QColor(Qt::red));
        // Cancelled without a font: the box stays unchecked.
        setFontChooser([](const FontChoice &) { return std::nullopt; });
        auto page = std::make_unique<CSearchPage>(context_, frame_);
        page->searchFontBox()->click();
        QVERIFY(!page->searchFontBox()->isChecked());
    }

    void controlsAreNamed() {
        for (QPushButton *b : page_->findChildren<QPushButton *>()) {
            QVERIFY(b->objectName().toInt() > 1000);
            QCOMPARE(b->accessibleName(), b->text());
        }
        QCOMPARE(page_->searchField()->objectName(), QStringLiteral("1107"));
        QCOMPARE(page_->changeField()->objectName(), QStringLiteral("1103"));
        QCOMPARE(page_->wholeWordBox()->accessibleName(), QStringLiteral("Whole word only"));
    }
};

QTEST_MAIN(SearchPageTest)
#include "search_page_test.moc"
