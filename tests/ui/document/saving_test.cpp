// Saving a document: the text question for every plain-text kind, files of other programs'
// formats never written over, Save As that is cancelled or fails changing nothing, text files
// keeping their encoding and line breaks, the UTF-8 choice of the Save As dialog, a full disk,
// a save killed at random moments, and backup copies.

#include "core/app/file_io.h"
#include "core/app/messages.h"
#include "core/document/document_io.h"
#include "core/document/rich_text.h"
#include "ui/document/document_io.h"
#include "ui/document/document_saving.h"
#include "ui/document/file_hold.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <memory>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tarvellite;
using namespace tarvellite::ui;

Q_DECLARE_METATYPE(TextFileFormat)

namespace {

QByteArray utf16(const QString &text) {
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// A document window without a main window, with scripted answers to the questions and the
/// Save As dialog.
struct Window {
    QTemporaryDir dir;
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view{&doc, &host};
    QStringList recent;
    std::vector<Message> asked;
    QList<MessageAnswer> answers;
    /// What the Save As dialog was offered (name and text format), and what it answers.
    QStringList offered;
    QList<std::optional<TextFileFormat>> offeredFormats;
    QStringList chosen; // empty entry: Cancel
    QList<std::optional<TextFileFormat>> chosenFormats;
    ScopedMessagePresenter presenter{[this](const Message &m) {
        asked.push_back(m);
        return answers.isEmpty() ? m.defaultAnswer : answers.takeFirst();
    }};

    Window() {
        host.appSettings.defaultUserPath = path(QStringLiteral("docs/")).toStdString();
        host.appSettings.backupPath = path(QStringLiteral("backup/")).toStdString();
        QDir().mkpath(path(QStringLiteral("docs")));
        view.initialUpdate();
        setSaveAsPrompter([this](QWidget *, QString &name, std::optional<TextFileFormat> &format) {
            offered << name;
            offeredFormats << format;
            if (chosen.isEmpty() || chosen.first().isEmpty()) {
                if (!chosen.isEmpty())
                    chosen.removeFirst();
                return false;
            }
            name = chosen.takeFirst();
            if (!chosenFormats.isEmpty())
                format = chosenFormats.takeFirst();
            return true;
        });
    }
    ~Window() { setSaveAsPrompter({}); }

    QString path(const QString &name) const { return dir.filePath(name); }

    SaveEnvironment environment() {
        SaveEnvironment env;
        env.settings = &host.appSettings;
        env.busy = &host.busy;
        env.addRecentFile = [this](const QString &p) { recent << p; };
        return env;
    }

    /// Opens `path` as the main window does.
    bool open(const QString &file) {
        if (!LoadDocumentBody(view, file))
            return false;
        view.initialUpdate();
        doc.setPath(file);
        doc.setTitle(QFileInfo(file).fileName());
        doc.holdFile(file);
        return true;
    }
    void type(const QString &text) {
        view.textCursor().insertText(text);
        QVERIFY(doc.isModified());
    }
    SaveResult save() { return SaveDocument(view, environment()); }
    SaveResult saveAs() { return SaveDocumentAs(view, environment()); }
};

const std::string textQuestion = "Do you Want to Save the file as Text?\nThis will lose all "
                                 "Formatting characters\n\nFile Name: ";

} // namespace

class SavingTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path())); }

    void textQuestionForEveryPlainTextKind_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("asks");
        QTest::newRow("txt") << "notes.txt" << true;
        QTest::newRow("upper case") << "NOTES.TXT" << true;
        QTest::newRow("unlisted extension") << "table.csv" << true;
        QTest::newRow("no extension") << "README" << true;
        QTest::newRow("ued") << "words.ued" << true;
        QTest::newRow("def") << "layout.def" << true;
        QTest::newRow("tvp") << "old.tvp" << true;
        QTest::newRow("tvl") << "letter.tvl" << false;
        QTest::newRow("rtf") << "letter.rtf" << false;
    }
    void textQuestionForEveryPlainTextKind() {
        QFETCH(QString, name);
        QFETCH(bool, asks);
        Window w;
        const QString file = w.path(name);
        writeFile(file, asks ? QByteArray("line one\n") : QByteArray("{\\rtf1 line one}"));
        QVERIFY(w.open(file));
        w.type(QStringLiteral("new "));

        // Yes: written to its own path, as text.
        w.answers = {MessageAnswer::Yes};
        QCOMPARE(w.save(), SaveResult::Saved);
        QCOMPARE(w.asked.size(), std::size_t(asks ? 1 : 0));
        if (asks) {
            QCOMPARE(w.asked[0].text, textQuestion + name.toStdString());
            QCOMPARE(w.asked[0].caption, std::string("File Save Query"));
            QCOMPARE(readAll(file), QByteArray("new line one\n"));
        } else {
            QVERIFY(readAll(file).contains("new") && readAll(file).contains("line one"));
        }
        QVERIFY(!w.doc.isModified());
        QVERIFY(w.offered.isEmpty());
        if (!asks)
            return;

        // No: Save As offers our format beside it; cancelled, nothing changes.
        w.type(QStringLiteral("more "));
        w.answers = {MessageAnswer::No};
        QCOMPARE(w.save(), SaveResult::Cancelled);
        const QString stem = name.contains('.') ? name.left(name.lastIndexOf('.')) : name;
        QCOMPARE(w.offered, QStringList{w.path(stem + QStringLiteral(".tvl"))});
        QCOMPARE(readAll(file), QByteArray("new line one\n"));
        QCOMPARE(w.doc.path(), file);
        QVERIFY(w.doc.isModified());
    }

    void otherProgramsFormatsAreNeverWrittenOver_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("doc") << "report.doc";
        QTest::newRow("docx") << "report.docx";
        QTest::newRow("htm") << "page.htm";
        QTest::newRow("html") << "page.html";
    }
    void otherProgramsFormatsAreNeverWrittenOver() {
        QFETCH(QString, name);
        Window w;
        const QString file = w.path(name);
        const QByteArray original("{\\rtf1 from elsewhere}");
        writeFile(file, original);
        QVERIFY(w.open(file));
        w.type(QStringLiteral("edited "));
        const QString rtf = w.path(name.left(name.lastIndexOf('.')) + QStringLiteral(".rtf"));
        // The user names the original file again: refused, and offered as RTF once more.
        w.chosen = {file, rtf};
        QCOMPARE(w.save(), SaveResult::Saved);
        QCOMPARE(w.offered, (QStringList{rtf, rtf}));
        QCOMPARE(w.asked.size(), std::size_t(1));
        QCOMPARE(w.asked[0].icon, MessageIcon::Warning);
        QCOMPARE(readAll(file), original);
        QVERIFY(readAll(rtf).startsWith("{\\rtf"));
        QCOMPARE(w.doc.path(), rtf);
    }

    void saveAsCancelledOrFailedChangesNothing() {
        Window w;
        const QString letter = w.path(QStringLiteral("docs/letter.tvl"));
        writeFile(letter, "{\\rtf1 Dear reader}");
        QVERIFY(w.open(letter));
        // The dialog starts with the file name alone, in the user's document folder.
        QCOMPARE(w.saveAs(), SaveResult::Cancelled);
        QCOMPARE(w.offered, QStringList{QStringLiteral("letter.tvl")});
        QVERIFY(!w.doc.isModified());
        QCOMPARE(w.doc.path(), letter);

        // A folder that does not exist: the reason, and the document as it was.
        w.type(QStringLiteral("typed "));
        w.chosen = {w.path(QStringLiteral("gone/letter.tvl"))};
        QCOMPARE(w.saveAs(), SaveResult::Failed);
        QCOMPARE(w.asked.size(), std::size_t(1));
        const QString message = QString::fromStdString(w.asked[0].text);
        QVERIFY2(message.startsWith(QStringLiteral("Could not save letter.tvl.\n")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("No file was made.")), qPrintable(message));
        QCOMPARE(w.doc.path(), letter);
        QCOMPARE(w.doc.title(), QStringLiteral("letter.tvl"));
        QVERIFY(w.doc.isModified());
        QVERIFY(w.recent.isEmpty());
        QVERIFY(FileHold::heldElsewhere(letter));

        // Saved under a new name: bound to it, held, remembered.
        const QString copy = w.path(QStringLiteral("docs/copy.tvl"));
        w.chosen = {copy};
        QCOMPARE(w.saveAs(), SaveResult::Saved);
        QCOMPARE(w.doc.path(), copy);
        QCOMPARE(w.doc.title(), QStringLiteral("copy.tvl"));
        QCOMPARE(w.recent, QStringList{copy});
        QVERIFY(FileHold::heldElsewhere(copy));
        QVERIFY(!FileHold::heldElsewhere(letter));
        QCOMPARE(readAll(letter), QByteArray("{\\rtf1 Dear reader}"));
    }

    // Save does not write a file made read-only, or gone, since it was opened: Save As offers
    // its name; a read-only file named there is refused with the reason.
    void aFileMadeReadOnlyOrGoneGoesToSaveAs_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only") << true;
        QTest::newRow("deleted") << false;
    }
    void aFileMadeReadOnlyOrGoneGoesToSaveAs() {
        QFETCH(bool, readOnly);
        Window w;
        const QString letter = w.path(QStringLiteral("letter.tvl"));
        writeFile(letter, "{\\rtf1 Dear reader}");
        QVERIFY(w.open(letter));
        w.type(QStringLiteral("typed "));
        if (readOnly)
            QVERIFY(QFile::setPermissions(letter, QFile::ReadOwner | QFile::ReadGroup));
        else
            QVERIFY(QFile::remove(letter));
        const QByteArray before = readAll(letter);

        w.chosen = {QString()}; // Cancel
        QCOMPARE(w.save(), SaveResult::Cancelled);
        QCOMPARE(w.offered, QStringList{letter});
        QCOMPARE(readAll(letter), before);
        QVERIFY(w.doc.isModified());

        w.chosen = {letter}; // the same name again
        QCOMPARE(w.save(), readOnly ? SaveResult::Failed : SaveResult::Saved);
        if (readOnly) {
            QCOMPARE(readAll(letter), before);
            QCOMPARE(w.asked.size(), std::size_t(1));
            QVERIFY(QString::fromStdString(w.asked[0].text).contains(QStringLiteral("read-only")));
            QVERIFY(w.doc.isModified());
            QCOMPARE(w.doc.path(), letter);
        } else {
            QVERIFY(readAll(letter).contains("typed"));
            QVERIFY(!w.doc.isModified());
        }
    }

    void textFilesKeepTheirEncodingAndLineBreaks_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");
        const QString tamil = QStringLiteral("ஒன்று\nஇரண்டு\n");
        QString crlf = tamil;
        crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        QTest::newRow("UTF-8, LF") << tamil.toUtf8() << (QStringLiteral("அ") + tamil).toUtf8();
        QTest::newRow("UTF-8, CR LF") << crlf.toUtf8() << (QStringLiteral("அ") + crlf).toUtf8();
        QTest::newRow("UTF-8 with signature")
            << QByteArray("\xEF\xBB\xBF") + crlf.toUtf8()
            << QByteArray("\xEF\xBB\xBF") + (QStringLiteral("அ") + crlf).toUtf8();
        QTest::newRow("ASCII") << QByteArray("one\ntwo\n")
                               << (QStringLiteral("அone\ntwo\n")).toUtf8();
        QTest::newRow("UTF-16LE") << utf16(crlf) << utf16(QStringLiteral("அ") + crlf);
        // Text Files are written with CR LF, whatever the file had.
        QTest::newRow("UTF-16LE, LF") << utf16(tamil) << utf16(QStringLiteral("அ") + crlf);
    }
    void textFilesKeepTheirEncodingAndLineBreaks() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        Window w;
        const QString path = w.path(QStringLiteral("notes.txt"));
        writeFile(path, file);
        QVERIFY(w.open(path));
        QTextCursor start(w.view.document());
        if (w.view.document()->characterAt(0) == QChar(0xFEFF))
            start.setPosition(1); // after the signature
        start.insertText(QStringLiteral("அ"));
        w.answers = {MessageAnswer::Yes};
        QCOMPARE(w.save(), SaveResult::Saved);
        QCOMPARE(readAll(path), saved);
    }

    void windows1252TextIsSavedOnlyInAnEncodingTheUserChooses() {
        Window w;
        const QString path = w.path(QStringLiteral("old.txt"));
        writeFile(path, "caf\xE9\r\n");
        QVERIFY(w.open(path));
        w.type(QStringLiteral("a "));
        // Save goes to Save As, which offers UTF-8 with the file's line breaks.
        w.chosen = {path};
        w.answers = {MessageAnswer::Yes};
        QCOMPARE(w.save(), SaveResult::Saved);
        QCOMPARE(w.offeredFormats.size(), 1);
        QCOMPARE(w.offeredFormats[0], std::optional(TextFileFormat::utf8(true)));
        // Read as Windows reads it, with the accent apart from its letter.
        QCOMPARE(readAll(path), QStringLiteral("a cafe\u0301\r\n").toUtf8());
    }

    void saveAsChoosesTheTextFormat_data() {
        QTest::addColumn<TextFileFormat>("format");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("UTF-8, LF")
            << TextFileFormat::utf8(false) << QStringLiteral("தமிழ்\nஇரண்டு").toUtf8();
        QTest::newRow("UTF-8, CR LF")
            << TextFileFormat::utf8(true) << QStringLiteral("தமிழ்\r\nஇரண்டு").toUtf8();
        QTest::newRow("Text Files")
            << TextFileFormat::unicode() << utf16(QStringLiteral("தமிழ்\r\nஇரண்டு"));
    }
    void saveAsChoosesTheTextFormat() {
        QFETCH(TextFileFormat, format);
        QFETCH(QByteArray, saved);
        Window w;
        w.type(QStringLiteral("தமிழ்\nஇரண்டு"));
        const QString path = w.path(QStringLiteral("docs/t.txt"));
        w.chosen = {path};
        w.chosenFormats = {format};
        w.answers = {MessageAnswer::Yes};
        QCOMPARE(w.saveAs(), SaveResult::Saved);
        QCOMPARE(readAll(path), saved);
        QCOMPARE(w.doc.textFormat(), format);
        // Save keeps what Save As chose.
        w.type(QStringLiteral("!"));
        w.answers = {MessageAnswer::Yes};
        QCOMPARE(w.save(), SaveResult::Saved);
        QVERIFY(readAll(path).size() > saved.size());
        const QByteArray crlf = format.encoding == TextFileFormat::Encoding::Utf8
                                    ? QByteArray("\r\n")
                                    : utf16(QStringLiteral("\r\n"));
        QCOMPARE(readAll(path).contains(crlf), format.crlf);
    }

    void theDialogOffersUtf8WithLineBreaks() {
        Window w;
        setSaveAsPrompter({});
        const QString path = w.path(QStringLiteral("docs/chosen.txt"));
        bool lineBreaksFollowTheFilter = false;
        QStringList filters;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            auto *breaks = dialog->findChild<QComboBox *>(QStringLiteral("line-breaks"));
            QVERIFY(types && breaks);
            const bool offAtFirst = !breaks->isEnabled() && breaks->currentIndex() == 0;
            const int utf8 = filters.indexOf(QStringLiteral("UTF-8 Text (*.txt)"));
            types->setCurrentIndex(utf8);
            emit types->activated(utf8);
            emit types->textActivated(types->itemText(utf8));
            lineBreaksFollowTheFilter = offAtFirst && breaks->isEnabled();
            breaks->setCurrentIndex(1);
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QString name = QStringLiteral("chosen");
        std::optional<TextFileFormat> format;
        QVERIFY(PromptForSaveAs(nullptr, name, format, w.path(QStringLiteral("docs"))));
        QCOMPARE(filters,
                 (QStringList{"TarvelLite Files (*.tvl)", "Rich Text Files (*.rtf)",
                              "Text Files (*.txt)", "UTF-8 Text (*.txt)", "All Files (*)"}));
        QVERIFY(lineBreaksFollowTheFilter);
        QCOMPARE(name, path);
        QCOMPARE(format, std::optional(TextFileFormat::utf8(true)));
    }

    // A child process saves a large document over and over, alternating two versions, with the
    // writer a save uses, and is killed at a random moment, many times: the file always reads
    // back as one of the two versions, whole.
    void killedDuringASaveLeavesTheOldOrTheNewDocument_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<TextFileFormat>("format");
        QTest::newRow("own format") << "letter.tvl" << TextFileFormat::unicode();
        QTest::newRow("UTF-8 text") << "letter.txt" << TextFileFormat::utf8(false);
    }
    void killedDuringASaveLeavesTheOldOrTheNewDocument() {
        QFETCH(QString, name);
        QFETCH(TextFileFormat, format);
        Window w;
        // Two versions of a few megabytes each, taken from the view as a save takes them.
        QString text;
        while (text.size() < 400'000)
            text += QStringLiteral("வணக்கம் தமிழ் மொழி\n");
        w.type(text);
        const RichDocument first = richDocumentFrom(w.view.document());
        w.type(QStringLiteral("இரண்டாவது "));
        const RichDocument second = richDocumentFrom(w.view.document());
        const std::u16string firstText = first.plainText(), secondText = second.plainText();
        QVERIFY(firstText != secondText);

        const QString path = w.path(QStringLiteral("docs/") + name);
        const std::string native = QFile::encodeName(path).toStdString();
        QVERIFY(WriteDocumentFile(native, first, PageLayout{}, format));
        std::mt19937 random(20241211);
        int interrupted = 0;
        for (int round = 0; round < 30; ++round) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (int i = 0;; ++i)
                    (void)WriteDocumentFile(native, i % 2 ? first : second, PageLayout{}, format);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 150'000));
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            QVERIFY(WIFSIGNALED(status));

            const Result<Bytes> bytes = readWholeFile(native, maxDocumentBytes);
            QVERIFY(bytes);
            const Result<LoadedDocument> read =
                tarvellite::LoadDocumentBody(QFileInfo(path).fileName().toStdString(), *bytes);
            QVERIFY2(read, qPrintable(QStringLiteral("round %1").arg(round)));
            const std::u16string now = read->document.plainText();
            QVERIFY2(now == firstText || now == secondText,
                     qPrintable(QStringLiteral("round %1: %2 units").arg(round).arg(now.size())));
            // A killed save leaves at most its temporary file beside the document.
            for (const QString &left : QDir(QFileInfo(path).path()).entryList(QDir::Files)) {
                if (left == name)
                    continue;
                QVERIFY2(left.startsWith(name), qPrintable(left));
                QVERIFY(QFile::remove(QFileInfo(path).path() + '/' + left));
                ++interrupted;
            }
        }
        // Some kills landed inside a save, not only between two.
        QVERIFY(interrupted > 0);
    }

    // Run by the small-disk wrapper with a small file system at TARVELLITE_TEST_SMALL_DISK.
    void aFullDiskKeepsTheOldFile() {
        const QString disk = qEnvironmentVariable("TARVELLITE_TEST_SMALL_DISK");
        if (disk.isEmpty())
            QSKIP("needs a small file system (the full-disk test run sets one up)");
        Window w;
        const QString letter = disk + QStringLiteral("/letter.tvl");
        writeFile(letter, "{\\rtf1 the old letter}");
        const QByteArray old = readAll(letter);
        QVERIFY(w.open(letter));
        // Far more than the disk holds: a few megabytes of Tamil text.
        QString text;
        while (text.size() < 2'000'000)
            text += QStringLiteral("வணக்கம் தமிழ் மொழி ");
        w.type(text);
        QCOMPARE(w.save(), SaveResult::Failed);
        QCOMPARE(w.asked.size(), std::size_t(1));
        const QString message = QString::fromStdString(w.asked[0].text);
        QVERIFY2(message.contains(QStringLiteral("the disk is full")) ||
                     message.contains(QStringLiteral("larger than this system allows")),
                 qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("The file on the disk was not changed.")));
        QCOMPARE(readAll(letter), old);
        QVERIFY(w.doc.isModified());
        QCOMPARE(w.doc.path(), letter);
        QCOMPARE(QDir(disk).entryList(QDir::Files), QStringList{QStringLiteral("letter.tvl")});
    }

    void backupCopies_data() {
        QTest::addColumn<bool>("unique");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("copy");
        QTest::newRow("copy") << false << 0 << "Letter.tvl"
                              << "^Letter\\(copy\\)\\.tvl$";
        QTest::newRow("date and time") << true << 1 << "Letter.tvl"
                                       << "^Letter\\d{9,14}\\.tvl$";
        QTest::newRow("unique number") << true << 0 << "Letter.tvl"
                                       << "^Letter[0-9A-F]+\\.tvl$";
        QTest::newRow("dot in the folder") << false << 0 << "v1.2/notes"
                                           << "^notes\\(copy\\)$";
        QTest::newRow("recovery file") << false << 0 << "~tv0000abcd.tmp"
                                       << "";
    }
    void backupCopies() {
        QFETCH(bool, unique);
        QFETCH(int, format);
        QFETCH(QString, document);
        QFETCH(QString, copy);
        Window w;
        Settings &s = w.host.appSettings;
        s.backupOption.alwaysBackup = 1;
        s.backupOption.uniqueFileName = unique;
        s.backupOption.backupNameFormat = format;
        const QString path = w.path(document);
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, "contents");
        const QString first = MakeBackupCopy(path, s);
        if (copy.isEmpty()) {
            QVERIFY(first.isEmpty());
            QVERIFY(!QDir(w.path(QStringLiteral("backup"))).exists());
            return;
        }
        QVERIFY2(QRegularExpression(copy).match(QFileInfo(first).fileName()).hasMatch(),
                 qPrintable(first));
        QCOMPARE(readAll(first), QByteArray("contents"));
        // A second copy never replaces the first.
        writeFile(path, "changed");
        const QString second = MakeBackupCopy(path, s);
        QVERIFY(second != first);
        QCOMPARE(readAll(first), QByteArray("contents"));
        QCOMPARE(readAll(second), QByteArray("changed"));
    }

  private:
    QTemporaryDir config_;
};

QTEST_MAIN(SavingTest)
#include "saving_test.moc"
