// The spell checker pane, the user dictionary editor and the marks made while typing, driven
// through the main window's real widgets.
#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/spelling/dictionary_file.h"
#include "core/spelling/ignore_list.h"
#include "ui/app/app_context.h"
#include "ui/document/tarvellite_view.h"
#include "ui/input/kbd_fields.h"
#include "ui/mainwindow/main_frame.h"
#include "ui/spelling/spell_check_dialog.h"
#include "ui/spelling/spell_marker.h"
#include "ui/spelling/user_dict.h"
#include "ui/spelling/user_words.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <algorithm>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

// Three misspellings, each one edit away from a dictionary word.
const QString clean1 = QStringLiteral("அம்மா");
const QString wrong1 = QStringLiteral("நன்றீ");  // நன்றி
const QString wrong2 = QStringLiteral("தமிழ"); // தமிழ்
const QString wrong3 = QStringLiteral("பள்ளீ");  // பள்ளி
const QString text = clean1 + " " + wrong1 + " " + wrong2 + ", வணக்கம் " + wrong3 + " அப்பா";

} // namespace

class SpellingUiTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void walksEveryDirection();
    void changeChangeAllAndTheirQuestion();
    void ignoreAllAndAddTakeTheRejectedWord();
    void refusesADictionaryThatDidNotLoad();
    void anotherDocumentInterrupts();
    void marksFollowTypingAndTheContextMenu();
    void marksInEveryLanguage();
    void editorEditsAndSavesSafely();

  private:
    QWidget *control(const char *id) const {
        return pane_->findChild<QWidget *>(QString::fromLatin1(id));
    }
    void click(const char *id) { QTest::mouseClick(control(id), Qt::LeftButton); }
    QString rejected() const { return static_cast<QLineEdit *>(control("1070"))->text(); }
    // Starts a walk in `direction` and ignores every word offered; returns them in order.
    QStringList walk(int direction);
    QString userFile() const { return dir_.filePath(QStringLiteral("user/ta-Te.usr")); }

    QTemporaryDir dir_;
    QTemporaryDir config_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<CMainFrame> frame_;
    CTarvelLiteView *view_ = nullptr;
    CSpellCheckDialog *pane_ = nullptr;
    QStringList messages_;
    QStringList captions_;
    MessageAnswer answer_ = MessageAnswer::Yes;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
};

void SpellingUiTest::initTestCase() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("dic")));
    DictionaryFileData data;
    data.minChar = 0x0B80;
    data.maxChar = 0x0BFF;
    for (const char *w : {"அம்மா", "அப்பா", "தமிழ்", "நன்றி", "வணக்கம்", "பள்ளி"}) {
        const QString word = QString::fromUtf8(w);
        data.words.push_back(toU16(word));
    }
    std::sort(data.words.begin(), data.words.end());
    buildDictionaryIndexes(data);
    QVERIFY(writeFileAtomically(dir_.filePath("dic/ta-Test.dic").toStdString(),
                                writeDictionaryFile(data))
                .ok());
}

void SpellingUiTest::init() {
    messages_.clear();
    captions_.clear();
    answer_ = MessageAnswer::Yes;
    clearIgnoreList();
    QFile::remove(userFile());
    presenter_ = std::make_unique<ScopedMessagePresenter>([this](const Message &m) {
        messages_ << QString::fromStdString(m.text);
        captions_ << QString::fromStdString(m.caption);
        return m.buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer_;
    });
    context_ = std::make_unique<AppContext>();
    Settings &settings = context_->mutableSettings();
    settings.defaultUserPath = dir_.path().toStdString() + "/";
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("user")));
    settings.userDictionaryPath = dir_.filePath(QStringLiteral("user/")).toStdString();
    QCOMPARE(context_->dictionaries().ScanDictionaries(dir_.filePath("dic/").toStdString()), 1);
    frame_ = std::make_unique<CMainFrame>(*context_);
    frame_->show();
    pane_ = frame_->findChild<CSpellCheckDialog *>();
    QVERIFY(pane_);
    view_ = frame_->newDocument();
    view_->setPlainText(text);
}

void SpellingUiTest::cleanup() {
    answer_ = MessageAnswer::No;
    frame_->close();
    frame_.reset();
    context_.reset();
    presenter_.reset();
}

QStringList SpellingUiTest::walk(int direction) {
    static_cast<QComboBox *>(control("1078"))->setCurrentIndex(direction);
    messages_.clear();
    QStringList words;
    click("1073");
    for (int guard = 0; guard < 20 && !pane_->idle(); ++guard) {
        words << rejected();
        // The word is selected in the document.
        if (view_->textCursor().selectedText() != rejected())
            words << QStringLiteral("<not selected>");
        click("1073");
    }
    return words;
}

void SpellingUiTest::walksEveryDirection() {
    const int afterSecond = static_cast<int>(text.indexOf(wrong2) + wrong2.size());
    struct Case {
        int direction;
        int selStart, selEnd;
        QStringList words;
        int checked;
    } cases[] = {
        {0, 0, 0, {wrong1, wrong2, wrong3}, 6},
        {1, afterSecond, afterSecond, {wrong1, wrong2}, 3},
        {2, afterSecond, afterSecond, {wrong3}, 3},
        {3, 0, afterSecond, {wrong1, wrong2}, 3},
        {3, 5, 5, {}, 0},
        {4, 0, 0, {wrong3, wrong2, wrong1}, 6},
        {5, afterSecond, afterSecond, {wrong3}, 3},
        {6, afterSecond, afterSecond, {wrong2, wrong1}, 3},
    };
    for (const Case &c : cases) {
        QTextCursor cursor(view_->document());
        cursor.setPosition(c.selStart);
        cursor.setPosition(c.selEnd, QTextCursor::KeepAnchor);
        view_->setTextCursor(cursor);
        QCOMPARE(walk(c.direction), c.words);
        // The completion message comes once, with the count; the pane is ready again.
        QCOMPARE(
            messages_,
            QStringList{
                QStringLiteral("Spell check completed. Total words checked: %1").arg(c.checked)});
        QCOMPARE(static_cast<QPushButton *>(control("1073"))->text(), QStringLiteral("Start"));
        QVERIFY(control("1236")->isHidden());
    }
}

void SpellingUiTest::changeChangeAllAndTheirQuestion() {
    // A second copy of the first misspelling, in another letter case is impossible in Tamil:
    // Change All must meet both copies and nothing inside longer words.
    view_->setPlainText(text + " " + wrong1 + " " + wrong1 + "ம்");
    click("1073");
    QCOMPARE(rejected(), wrong1);
    auto *list = static_cast<QListWidget *>(control("1071"));
    QVERIFY(!list->findItems(QStringLiteral("நன்றி"), Qt::MatchExactly).isEmpty());
    list->setCurrentItem(list->findItems(QStringLiteral("நன்றி"), Qt::MatchExactly).first());
    QCOMPARE(rejected(), QStringLiteral("நன்றி"));
    messages_.clear();
    click("1077"); // Change All
    QCOMPARE(messages_, QStringList{QStringLiteral("Total 2 words changed")});
    QVERIFY(view_->toPlainText().startsWith(clean1 + " நன்றி " + wrong2));
    QVERIFY(view_->toPlainText().endsWith(" நன்றி " + wrong1 + "ம்"));
    QCOMPARE(rejected(), wrong2);

    // A replacement the dictionary rejects is asked about; No leaves the text as it was.
    static_cast<QLineEdit *>(control("1070"))->setText(QStringLiteral("தமிழா"));
    messages_.clear();
    answer_ = MessageAnswer::No;
    click("1076");
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(captions_.last(), QStringLiteral("Dictionary Error"));
    QVERIFY(view_->toPlainText().contains(wrong2 + ","));
    // Yes changes it and ignores it from then on; the walk goes on to the next word.
    answer_ = MessageAnswer::Yes;
    click("1076");
    QVERIFY(view_->toPlainText().contains(QStringLiteral("தமிழா,")));
    QVERIFY(isIgnoredWord(u"தமிழா"));
    QCOMPARE(rejected(), wrong3);
    click("1227"); // Cancel ends the session
    QVERIFY(pane_->idle());
    QVERIFY(messages_.last().startsWith("Spell check completed."));
}

void SpellingUiTest::ignoreAllAndAddTakeTheRejectedWord() {
    click("1073");
    QCOMPARE(rejected(), wrong1);
    // A suggestion clicked into the field does not change what Ignore All ignores.
    static_cast<QLineEdit *>(control("1070"))->setText(QStringLiteral("நன்றி"));
    click("1074");
    QVERIFY(isIgnoredWord(toU16(wrong1)));
    QVERIFY(!isIgnoredWord(u"நன்றி"));
    QCOMPARE(rejected(), wrong2);
    click("1075"); // Add to Dictionary
    QCOMPARE(rejected(), wrong3);
    // The word is in the user file and counts at once, in this pane and the next walk.
    std::vector<std::u16string> words;
    QCOMPARE(readUserWords(userFile().toStdString(), words), UserFileState::Read);
    QCOMPARE(words, std::vector<std::u16string>{toU16(wrong2)});
    QVERIFY(pane_->dictionary().CheckWord(toU16(wrong2)));
    click("1227");
    QCOMPARE(walk(0), QStringList{wrong3});
}

void SpellingUiTest::refusesADictionaryThatDidNotLoad() {
    QFile::copy(dir_.filePath("dic/ta-Test.dic"), dir_.filePath("bad.tmp"));
    QFile bad(dir_.filePath("dic/ta-Test.dic"));
    QVERIFY(bad.open(QIODevice::ReadWrite));
    bad.resize(40); // the header passes; the rest is missing
    bad.close();
    click("1073");
    QVERIFY(pane_->idle());
    QVERIFY(!pane_->dictionary().loaded());
    QVERIFY(messages_.contains(QStringLiteral("Unable to load the dictionary")));
    // Pressing Start again tries again and still refuses.
    messages_.clear();
    click("1073");
    QVERIFY(pane_->idle());
    QVERIFY(messages_.contains(QStringLiteral("Unable to load the dictionary")));
    QFile::remove(dir_.filePath("dic/ta-Test.dic"));
    QVERIFY(QFile::rename(dir_.filePath("bad.tmp"), dir_.filePath("dic/ta-Test.dic")));
}

void SpellingUiTest::anotherDocumentInterrupts() {
    click("1073");
    QCOMPARE(rejected(), wrong1);
    frame_->newDocument();
    messages_.clear();
    click("1073");
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(captions_.at(captions_.size() - 2),
             QStringLiteral("Spell Checking Session Interrupted"));
    QVERIFY(messages_.last().startsWith("Spell check completed."));
    QVERIFY(pane_->idle());
}

void SpellingUiTest::marksFollowTypingAndTheContextMenu() {
    view_->clear();
    QTextCursor cursor = view_->textCursor();
    cursor.insertText(clean1 + " " + wrong1);
    view_->setTextCursor(cursor);
    auto *marker = view_->findChild<SpellMarker *>();
    QVERIFY(marker);
    marker->markVisible();
    // The word still being typed is not marked; after the space it is.
    QVERIFY(SpellMarker::marksOf(view_->document()->firstBlock()).isEmpty());
    cursor.insertText(QStringLiteral(" "));
    view_->setTextCursor(cursor);
    QTRY_COMPARE(SpellMarker::marksOf(view_->document()->firstBlock()).size(), 1);
    const auto mark = SpellMarker::marksOf(view_->document()->firstBlock()).first();
    QCOMPARE(mark.start, clean1.size() + 1);
    QCOMPARE(mark.length, wrong1.size());
    QVERIFY(!view_->document()->isModified() || view_->document()->isUndoAvailable());

    // The context menu offers the correction.
    QTextCursor at(view_->document());
    at.setPosition(mark.start + 1);
    const QPoint point = view_->cursorRect(at).center();
    QMenu menu;
    menu.addAction(QStringLiteral("Cut"));
    marker->extendMenu(&menu, point);
    QAction *fix = menu.findChild<QAction *>(QStringLiteral("நன்றி"));
    QVERIFY(fix);
    QVERIFY(menu.findChild<QAction *>(QStringLiteral("Ignore All")));
    QVERIFY(menu.findChild<QAction *>(QStringLiteral("Add to Dictionary")));
    fix->trigger();
    QCOMPARE(view_->toPlainText(), clean1 + " நன்றி ");
    QTRY_VERIFY(SpellMarker::marksOf(view_->document()->firstBlock()).isEmpty());

    // A word added in the pane loses its mark without a restart.
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(wrong2 + " ");
    view_->setTextCursor(cursor);
    QTRY_COMPARE(SpellMarker::marksOf(view_->document()->firstBlock()).size(), 1);
    click("1073");
    QCOMPARE(rejected(), wrong2);
    click("1075");
    QTRY_VERIFY(SpellMarker::marksOf(view_->document()->firstBlock()).isEmpty());

    // Switched off, nothing is marked; the choice is kept.
    cursor.insertText(wrong3 + " ");
    QTRY_COMPARE(SpellMarker::marksOf(view_->document()->firstBlock()).size(), 1);
    static_cast<QAbstractButton *>(control("spellMarks"))->click();
    QVERIFY(!MarkDictionaries::of(*context_).enabled());
    QVERIFY(SpellMarker::marksOf(view_->document()->firstBlock()).isEmpty());
    static_cast<QAbstractButton *>(control("spellMarks"))->click();
    QTRY_COMPARE(SpellMarker::marksOf(view_->document()->firstBlock()).size(), 1);
}

void SpellingUiTest::marksInEveryLanguage() {
    // The shipped dictionaries: in each language a dictionary word stays clean and the same
    // word with a stray letter doubled at its end is marked.
    AppContext context;
    QVERIFY(context.dictionaries().ScanDictionaries(TARVELLITE_PROGRAM_DIR "/DictionaryFiles/") >=
            7);
    CMainFrame frame(context);
    frame.show();
    CTarvelLiteView *view = frame.newDocument();
    auto *marker = view->findChild<SpellMarker *>();
    const char16_t samples[] = {u'a', 0x0915, 0x0C95, 0x0B95, 0x0C15, 0x0D15, 0x0D9A};
    for (char16_t sample : samples) {
        CDictionary *dictionary = MarkDictionaries::of(context).forUnit(sample);
        QVERIFY2(dictionary && dictionary->loaded(),
                 std::string(languageCodeOfUnit(sample)).c_str());
        std::u16string good(dictionary->word(dictionary->wordCount() / 2));
        std::u16string bad = good + good.substr(0, 2) + good.substr(0, 2);
        QVERIFY(dictionary->CheckWord(good));
        QVERIFY2(!dictionary->CheckWord(bad), std::string(languageCodeOfUnit(sample)).c_str());
        view->clear();
        QTextCursor cursor = view->textCursor();
        cursor.insertText(toQString(good) + " " + toQString(bad) + " ");
        view->setTextCursor(cursor);
        QTRY_COMPARE(SpellMarker::marksOf(view->document()->firstBlock()).size(), 1);
        QCOMPARE(SpellMarker::marksOf(view->document()->firstBlock()).first().start,
                 static_cast<int>(good.size() + 1));
        Q_UNUSED(marker);
    }
    view->document()->setModified(false);
    answer_ = MessageAnswer::No;
    frame.close();
}

void SpellingUiTest::editorEditsAndSavesSafely() {
    // Write a second dictionary sharing nothing with the first: its words never reach ta-Te.usr.
    QVERIFY(QFile::copy(dir_.filePath("dic/ta-Test.dic"), dir_.filePath("dic/ta-Other.dic")));
    QVERIFY(writeUserWords(userFile().toStdString(), {u"ஒன்று", u"இரண்டு"}));
    context_->dictionaries().clear();
    QCOMPARE(context_->dictionaries().ScanDictionaries(dir_.filePath("dic/").toStdString()), 2);
    const int test = 1; // names sort: ta-Other, ta-Test
    {
        CUserDict editor(*context_);
        auto *combo = editor.findChild<QComboBox *>(QStringLiteral("1225"));
        auto *list = editor.findChild<QListWidget *>(QStringLiteral("1232"));
        auto *edit = editor.findChild<QLineEdit *>(QStringLiteral("1231"));
        auto *save = editor.findChild<QPushButton *>(QStringLiteral("1"));
        auto press = [&](const char *id) {
            QTest::mouseClick(editor.findChild<QPushButton *>(QString::fromLatin1(id)),
                              Qt::LeftButton);
        };
        combo->setCurrentIndex(test);
        emit combo->activated(test);
        QCOMPARE(list->count(), 2);
        QVERIFY(!save->isEnabled());
        // Add, an existing word changes nothing but enables Save.
        edit->setText(QStringLiteral(" மூன்று "));
        press("1228");
        edit->setText(QStringLiteral("ஒன்று"));
        press("1228");
        QCOMPARE(list->count(), 3);
        QVERIFY(save->isEnabled());
        // Delete removes the selected entry from the list box and the saved words.
        list->setCurrentItem(list->findItems(QStringLiteral("இரண்டு"), Qt::MatchExactly).first());
        press("1097");
        QCOMPARE(list->count(), 2);
        // Edit replaces the selected entry.
        list->setCurrentItem(list->findItems(QStringLiteral("ஒன்று"), Qt::MatchExactly).first());
        edit->setText(QStringLiteral("நான்கு"));
        press("1093");
        QVERIFY(editor.save());
        std::vector<std::u16string> words;
        QCOMPARE(readUserWords(userFile().toStdString(), words), UserFileState::Read);
        QCOMPARE(words, (std::vector<std::u16string>{u"மூன்று", u"நான்கு"}));
        QVERIFY(!save->isEnabled());

        // A failed save is reported and keeps the changes and the window.
        press("1230"); // Delete All
        const QString folder = dir_.filePath(QStringLiteral("user"));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool writable = QFileInfo(folder).isWritable();
        messages_.clear();
        answer_ = MessageAnswer::Yes;
        if (!writable) {
            editor.show();
            editor.reject();
            QVERIFY(editor.isVisible());
            QVERIFY(messages_.contains("Unable to open the user dictionary file for Editing"));
            QVERIFY(editor.modified());
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QVERIFY(editor.save());
        QCOMPARE(readUserWords(userFile().toStdString(), words), UserFileState::Read);
        QVERIFY(words.empty());
    }
    // A user file that cannot be read is kept as a backup before it is written over.
    QFile damaged(userFile());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a user dictionary");
    damaged.close();
    messages_.clear();
    QVERIFY(UserWordsHub::of(*context_).addWord(userFile().toStdString(), u"ஐந்து"));
    QVERIFY(QFile::exists(userFile() + ".bak"));
    QCOMPARE(messages_.size(), 1);
    QFile::remove(dir_.filePath("dic/ta-Other.dic"));
    QFile::remove(userFile() + ".bak");
}

QTEST_MAIN(SpellingUiTest)
#include "spelling_ui_test.moc"
