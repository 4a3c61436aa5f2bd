// Legacy Tamil in the editor: conversion when a document with TAM/TAB fonts is opened (the
// preference, the question, the wait box, the target fonts, the modified mark) and the
// conversion dialog over selected text.

#include "core/app/messages.h"
#include "core/app/unicode.h"
#include "core/legacy/legacy_runs.h"
#include "ui/app/app_context.h"
#include "ui/app/message_wait_box.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_settings.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/text_helpers.h"
#include "ui/legacy/convert_dialog.h"
#include "ui/legacy/legacy_options.h"
#include "ui/mainwindow/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <memory>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

// Text as the editor holds legacy bytes: one Windows-1252 character per byte.
QString legacy(const char *bytes) {
    const std::u16string units = cp1252ToUtf16(bytes);
    return QString::fromUtf16(units.data(), qsizetype(units.size()));
}

const QString fixture = QStringLiteral(TARVELLITE_SOURCE_DIR "/tests/data/legacy/open-tam-tab.rtf");

// The fixture's paragraphs before and after conversion.
const QStringList legacyText = {
    legacy("Opening: \xaa\xe8\xa3\x87\xec\xa3\x86\xec\x8b "
           "\xaa\xe8\xf7\xf3\xf5\x8b end."),
    legacy("Tamil Nadu: \xee\xf1\xa4\xf6\xa2 \xef\xa3\xb4"),
    legacy("\xac\xf4 \xee\xf1\xa4\xf6\xa2"),
};
const QStringList unicodeText = {
    QStringLiteral("Opening: கொண்டாட்டம் கௌரவம் end."),
    QStringLiteral("Tamil Nadu: தமிழ் நாடு"),
    QStringLiteral("லை தமிழ்"),
};

QStringList paragraphs(const QTextDocument *document) {
    QStringList texts;
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
        texts << b.text();
    while (!texts.isEmpty() && texts.last().isEmpty())
        texts.removeLast();
    return texts;
}

QTextCharFormat formatOf(const QTextDocument *document, const QString &text) {
    const int at = document->toPlainText().indexOf(text);
    if (at < 0)
        return {};
    QTextCursor c(const_cast<QTextDocument *>(document));
    c.setPosition(at + 1);
    return c.charFormat();
}

// Every character of `text` in `document` has the face `face`.
bool allInFace(const QTextDocument *document, const QString &text, const QString &face) {
    const int at = document->toPlainText().indexOf(text);
    if (at < 0)
        return false;
    bool same = true;
    forEachFormat(document, at, at + int(text.size()), [&](const QTextCharFormat &f) {
        same = same && f.fontFamilies().toStringList().value(0) == face;
    });
    return same;
}

// Records the wait boxes shown: their text, whether they were modal, the last progress.
class WaitBoxWatcher : public QObject {
  public:
    struct Seen {
        QString text;
        bool modal = true;
        bool finished = false;
    };
    QList<Seen> seen;

    bool eventFilter(QObject *object, QEvent *event) override {
        auto *box = qobject_cast<CMessageWaitBox *>(object);
        if (box && event->type() == QEvent::Show)
            seen << Seen{box->text(), box->isModal() || QApplication::activeModalWidget() == box,
                         false};
        if (box && event->type() == QEvent::Hide && !seen.isEmpty())
            seen.last().finished = box->value() == box->maximum();
        return false;
    }
};

} // namespace

class LegacyUiTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void openFollowsThePreference_data();
    void openFollowsThePreference();
    void convertedTextTakesItsFonts();
    void waitBoxShowsWhileConverting();
    void unusedLegacyFontAsksNothing();
    void buttonWithoutSelectionExplains();
    void dialogConvertsTheSelectionWordByWord();
    void dialogTabKeepsAsciiAndUnicode();

  private:
    CTarvelLiteView *documentWith(const QStringList &lines);
    CConvert *openDialog(CTarvelLiteView *view, int from, int to);

    QTemporaryDir config_;
    AppContext context_;
    std::unique_ptr<CMainFrame> frame_;
    QList<Message> messages_;
    MessageAnswer answer_ = MessageAnswer::Yes;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
};

void LegacyUiTest::initTestCase() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    QVERIFY2(installedFontFamilies().contains(QStringLiteral("Noto Sans Tamil")) &&
                 installedFontFamilies().contains(QStringLiteral("Noto Serif Tamil")),
             "the tests need fonts-noto-core");
}

void LegacyUiTest::init() {
    messages_.clear();
    answer_ = MessageAnswer::Yes;
    presenter_ = std::make_unique<ScopedMessagePresenter>([this](const Message &m) {
        messages_ << m;
        return m.buttons == MessageButtons::YesNo ? answer_ : m.defaultAnswer;
    });
    setLegacyOptionsOverride(LegacyOptions{1, QStringLiteral("Noto Serif Tamil")});
    frame_ = std::make_unique<CMainFrame>(context_);
    frame_->show();
}

void LegacyUiTest::cleanup() {
    for (QMdiSubWindow *w : frame_->documentArea()->subWindowList())
        if (auto *child = qobject_cast<CChildFrame *>(w))
            child->getDocument()->setModified(false);
    frame_->close();
    frame_.reset();
    presenter_.reset();
    setLegacyOptionsOverride(std::nullopt);
}

void LegacyUiTest::openFollowsThePreference_data() {
    QTest::addColumn<int>("preference");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("converted");
    QTest::newRow("0 ask | yes") << 0 << true << true << true;
    QTest::newRow("0 ask | no") << 0 << false << true << false;
    QTest::newRow("1 convert") << 1 << false << false << true;
    QTest::newRow("2 do not convert") << 2 << true << false << false;
    QTest::newRow("out of range asks") << 7 << true << true << true;
}

void LegacyUiTest::openFollowsThePreference() {
    QFETCH(int, preference);
    QFETCH(bool, answerYes);
    QFETCH(bool, asked);
    QFETCH(bool, converted);
    setLegacyOptionsOverride(LegacyOptions{preference, QStringLiteral("Noto Serif Tamil")});
    answer_ = answerYes ? MessageAnswer::Yes : MessageAnswer::No;

    QVERIFY(frame_->OpenDocumentPath(fixture));
    CTarvelLiteView *view = frame_->activeView();
    QVERIFY(view);
    QCOMPARE(messages_.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(QString::fromStdString(messages_[0].text),
                 QStringLiteral("TAM / TAB fonts found in the text. Do you want to convert this "
                                "to Unicode"));
        QCOMPARE(QString::fromStdString(messages_[0].caption),
                 QStringLiteral("Always Ask Option selected in Preference for TAM / TAB "
                                "Conversion"));
        QCOMPARE(messages_[0].buttons, MessageButtons::YesNo);
    }
    QCOMPARE(paragraphs(view->document()), converted ? unicodeText : legacyText);
    QCOMPARE(view->getDocument()->isModified(), converted);
    QCOMPARE(view->getDocument()->convertedOnLoad(), converted);
    QVERIFY(!view->canUndo());
    if (!converted)
        QVERIFY(allInFace(view->document(), legacyText[1], QStringLiteral("TABXYZ")));
}

void LegacyUiTest::convertedTextTakesItsFonts() {
    QVERIFY(frame_->OpenDocumentPath(fixture));
    CTarvelLiteView *view = frame_->activeView();
    QTextDocument *text = view->document();
    QCOMPARE(paragraphs(text), unicodeText);

    // "TAMNoto Sans Tamil" names an installed font once its first three letters are gone;
    // "TABXYZ" does not, and takes the default Unicode font. Arial text is not touched.
    QVERIFY(allInFace(text, QStringLiteral("கொண்டாட்டம் கௌரவம்"), QStringLiteral("Noto Sans Tamil")));
    QVERIFY(allInFace(text, unicodeText[1], QStringLiteral("Noto Serif Tamil")));
    QVERIFY(allInFace(text, QStringLiteral("Opening: "), QStringLiteral("Arial")));
    QVERIFY(allInFace(text, QStringLiteral(" end."), QStringLiteral("Arial")));
    QCOMPARE(formatOf(text, QStringLiteral("கொண்டாட்டம்")).fontPointSize(), 16.0);
    QCOMPARE(formatOf(text, QStringLiteral(" end.")).fontPointSize(), 12.0);

    // A word that starts in a bold red run (the prefix sign) is placed there whole; the next
    // word keeps its own format.
    const QTextCharFormat lai = formatOf(text, QStringLiteral("லை"));
    QCOMPARE(lai.fontWeight(), int(QFont::Bold));
    QCOMPARE(lai.foreground().color(), QColor(192, 0, 0));
    QCOMPARE(formatOf(text, QStringLiteral("லை தமிழ்").mid(3)).fontWeight(), int(QFont::Normal));

    // No cluster is split across formats (it would be drawn with a dotted circle).
    QVERIFY(!joinClusterFormats(text, 0, text->characterCount() - 1));
    QCOMPARE(view->getDocument()->title(), QStringLiteral("open-tam-tab.rtf"));
    QCOMPARE(view->textCursor().position(), 0);
}

void LegacyUiTest::waitBoxShowsWhileConverting() {
    WaitBoxWatcher watcher;
    qApp->installEventFilter(&watcher);
    QVERIFY(frame_->OpenDocumentPath(fixture));
    qApp->removeEventFilter(&watcher);
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0].text,
             QStringLiteral("Converting TAM/TAB Fonts to Unicode Font. Please Wait..."));
    QVERIFY(!watcher.seen[0].modal);
    QVERIFY(watcher.seen[0].finished);
    QVERIFY(frame_->findChildren<CMessageWaitBox *>().isEmpty());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<CMessageWaitBox *>(w));
}

void LegacyUiTest::unusedLegacyFontAsksNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unused.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil TAMFONTA;}{\\f1\\fnil Arial;}}\\f1 Plain "
               "text.\\par}");
    file.close();
    setLegacyOptionsOverride(LegacyOptions{0, QStringLiteral("Noto Serif Tamil")});
    WaitBoxWatcher watcher;
    qApp->installEventFilter(&watcher);
    QVERIFY(frame_->OpenDocumentPath(path));
    qApp->removeEventFilter(&watcher);
    QVERIFY(messages_.isEmpty());
    QVERIFY(watcher.seen.isEmpty());
    CTarvelLiteView *view = frame_->activeView();
    QCOMPARE(view->toPlainText(), QStringLiteral("Plain text."));
    QVERIFY(!view->getDocument()->isModified());
}

CTarvelLiteView *LegacyUiTest::documentWith(const QStringList &lines) {
    CTarvelLiteView *view = frame_->newDocument();
    if (!view)
        return nullptr;
    view->setPlainText(lines.join(QLatin1Char('\n')));
    view->resetUndoHistory();
    return view;
}

CConvert *LegacyUiTest::openDialog(CTarvelLiteView *view, int from, int to) {
    QTextCursor c = view->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    view->setTextCursor(c);
    frame_->command(ID_BTNCONV)->trigger();
    return frame_->findChild<CConvert *>();
}

void LegacyUiTest::buttonWithoutSelectionExplains() {
    QAction *button = frame_->command(ID_BTNCONV);
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("TAM / Tab Conversion"));
    CTarvelLiteView *view = documentWith({legacy("\xee\xf1\xa4\xf6\xa2")});
    QVERIFY(button->isEnabled());
    CConvert *dialog = openDialog(view, 2, 2);
    QVERIFY(!dialog);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(QString::fromStdString(messages_[0].text),
             QStringLiteral("To convert TAM / TAB text, please Highlight the text and click this "
                            "button again"));
    QCOMPARE(messages_[0].buttons, MessageButtons::Ok);
    QCOMPARE(view->toPlainText(), legacy("\xee\xf1\xa4\xf6\xa2"));
}

void LegacyUiTest::dialogConvertsTheSelectionWordByWord() {
    // Two paragraphs of TAM text; the selection leaves out the first and the last word.
    const QString first = legacy("\xef\xa3\xb4 \xaa\xe8\xa3\x87\xec\xa3\x86\xec\x8b  "
                                 "\xaa\xe8\xf7\xf3\xf5\x8b");
    const QString second = legacy("\xac\xf4 \xee\xf1\xa4\xf6\xa2 \xef\xa3\xb4");
    CTarvelLiteView *view = documentWith({first, second});
    QTextCursor bold(view->document());
    bold.setPosition(first.size() + 1);
    bold.setPosition(first.size() + 3, QTextCursor::KeepAnchor);
    QTextCharFormat boldFormat;
    boldFormat.setFontWeight(QFont::Bold);
    bold.mergeCharFormat(boldFormat); // லை is bold
    view->resetUndoHistory();
    const int selectionEnd = int(first.size() + 1 + second.indexOf(QLatin1Char(' '), 3));

    CConvert *dialog = openDialog(view, 4, selectionEnd);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Conversion From TAM / TAB Fonts"));
    QVERIFY(dialog->isVisible() && dialog->isModal());
    auto *tam = dialog->findChild<QPushButton *>(QStringLiteral("1233"));
    auto *tab = dialog->findChild<QPushButton *>(QStringLiteral("1235"));
    auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("1"));
    auto *count = dialog->findChild<QLabel *>(QStringLiteral("1234"));
    QVERIFY(tam && tab && ok && count);
    QVERIFY(tam->isChecked() && !tab->isChecked());
    QVERIFY(!count->isVisible());
    QTest::mouseClick(tab, Qt::LeftButton);
    QVERIFY(tab->isChecked() && !tam->isChecked());
    QTest::mouseClick(tab, Qt::LeftButton); // a pair of radio buttons: stays checked
    QVERIFY(tab->isChecked());
    QTest::mouseClick(tam, Qt::LeftButton);
    QVERIFY(tam->isChecked() && !tab->isChecked());

    QTest::mouseClick(ok, Qt::LeftButton);
    const QStringList expected = {legacy("\xef\xa3\xb4 ") + QStringLiteral("கொண்டாட்டம்  கௌரவம்"),
                                  QStringLiteral("லை தமிழ் ") + legacy("\xef\xa3\xb4")};
    QCOMPARE(paragraphs(view->document()), expected);
    QVERIFY(count->isVisible());
    QCOMPARE(count->text(), QStringLiteral("Total Words converted: 4"));
    QVERIFY(!ok->isEnabled());
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->convertSelection(), -1);

    // The converted words take the default Unicode font and keep their weight; the words
    // outside the selection are untouched; the caret sits at the end of the converted text.
    QTextDocument *text = view->document();
    QVERIFY(allInFace(text, QStringLiteral("கொண்டாட்டம்  கௌரவம்"), QStringLiteral("Noto Serif Tamil")));
    QCOMPARE(formatOf(text, QStringLiteral("லை")).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatOf(text, QStringLiteral("லை")).fontFamilies().toStringList().value(0),
             QStringLiteral("Noto Serif Tamil"));
    QCOMPARE(formatOf(text, QStringLiteral(" தமிழ்")).fontWeight(), int(QFont::Normal));
    QVERIFY(!joinClusterFormats(text, 0, text->characterCount() - 1));
    QVERIFY(!view->textCursor().hasSelection());
    QCOMPARE(view->textCursor().position(),
             int(expected[0].size() + 1 + QStringLiteral("லை தமிழ்").size()));
    auto *progress = dialog->findChild<QProgressBar *>(QStringLiteral("1236"));
    QCOMPARE(progress->value(), progress->maximum());

    // One undo step brings the legacy text back.
    view->undo();
    QCOMPARE(paragraphs(view->document()), (QStringList{first, second}));

    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("2")), Qt::LeftButton);
    QTRY_VERIFY(!frame_->findChild<CConvert *>());
}

void LegacyUiTest::dialogTabKeepsAsciiAndUnicode() {
    // TAB leaves U+0041 … U+007E as they are; Unicode Tamil already in the selection stays.
    const QString line = legacy("Tamil Nadu: \xee\xf1\xa4\xf6\xa2 ") + QStringLiteral("நாடு") +
                         legacy(" V\xef\xa3\xb4");
    CTarvelLiteView *view = documentWith({line});
    CConvert *dialog = openDialog(view, 0, int(line.size()));
    QVERIFY(dialog);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("1235")), Qt::LeftButton);
    QVERIFY(dialog->isTab());
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("1")), Qt::LeftButton);
    QCOMPARE(view->toPlainText(), QStringLiteral("Tamil Nadu: தமிழ் நாடு Vநாடு"));
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("1234"))->text(),
             QStringLiteral("Total Words converted: 4"));
    dialog->reject();
}

QTEST_MAIN(LegacyUiTest)
#include "legacy_ui_test.moc"
