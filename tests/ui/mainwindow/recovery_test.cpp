// Recovery copies and their reopening: written by the auto-save pass for modified documents
// only, through a rename, and all at once when the program is asked to end; left behind by a
// crash and reopened as "(Recovered)" bound to the protected document (paths too long for the
// header never cut, a copy older than its file marked and asked about before it replaces it, a
// made-up path never replacing a file unasked, a text file saved back in its own encoding);
// never taken from another running instance, even by two starting at once; deleted when a
// window closes normally or its document is saved; a ".tmp" opened by hand is an ordinary
// document.

#include "core/app/messages.h"
#include "core/document/rich_text.h"
#include "ui/app/app_context.h"
#include "ui/document/document_io.h"
#include "ui/document/recovery.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/main_frame.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QMdiArea>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

using namespace tarvellite;
using namespace tarvellite::ui;

class RecoveryTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_->path()));
        context_ = std::make_unique<AppContext>();
        Settings &s = context_->mutableSettings();
        s.defaultUserPath = home_->path().toStdString() + "/docs/";
        s.backupPath = home_->path().toStdString() + "/backup/";
        QDir().mkpath(home_->filePath(QStringLiteral("docs")));
        presenter_ = std::make_unique<ScopedMessagePresenter>(
            [](const Message &m) { return m.defaultAnswer; });
    }

    void crashedDocumentsComeBackBoundToTheirFiles() {
        const QString letter = home_->filePath(QStringLiteral("docs/letter.txt"));
        writeFile(letter, "Dear reader,\n");
        QStringList copies;
        {
            auto frame = std::make_unique<CMainFrame>(*context_);
            QVERIFY(frame->OpenDocumentPath(letter));
            frame->activeView()->insertPlainText(QStringLiteral("typed "));
            CTarvelLiteView *untitled = frame->newDocument();
            untitled->insertPlainText(QStringLiteral("a new document"));
            frame->newDocument(); // not modified: no copy
            runPass(*frame);
            copies = recoveryFiles();
            QCOMPARE(copies.size(), 2);
            // The program ends without closing its windows, as a crash does: the copies stay.
            abandon(std::move(frame));
        }
        QCOMPARE(recoveryFiles(), copies);

        CMainFrame frame(*context_);
        QCOMPARE(frame.ReopenRecoveryFiles(), 2);
        QStringList titles;
        CTarvelLiteView *recoveredLetter = nullptr;
        for (QMdiSubWindow *w : frame.documentArea()->subWindowList()) {
            auto *child = qobject_cast<CChildFrame *>(w);
            titles << child->getDocument()->title();
            QVERIFY(child->getDocument()->isModified());
            if (child->getDocument()->path() == letter)
                recoveredLetter = child->view();
        }
        titles.sort();
        QCOMPARE(titles.size(), 2);
        QVERIFY2(QRegularExpression(QStringLiteral("^TarvelLite\\d+ \\(Recovered\\)\\.tvl$"))
                     .match(titles[0])
                     .hasMatch(),
                 qPrintable(titles[0]));
        QCOMPARE(titles[1], QStringLiteral("letter (Recovered).txt"));
        QVERIFY(recoveredLetter);
        QVERIFY(recoveredLetter->toPlainText().contains(QStringLiteral("typed Dear reader,")));
        // A second instance finds nothing left to take: this one holds both.
        QVERIFY(adoptLeftRecoveryFiles(recoveryFolder(context_->settings())).empty());
        // Closing the windows normally deletes their copies.
        for (QMdiSubWindow *w : frame.documentArea()->subWindowList()) {
            qobject_cast<CChildFrame *>(w)->getDocument()->setModified(false);
            w->close();
        }
        QTRY_VERIFY(recoveryFiles().isEmpty());
    }

    void savingDeletesTheCopyAndFailuresAreRetried() {
        CMainFrame frame(*context_);
        CTarvelLiteView *view = frame.newDocument();
        view->insertPlainText(QStringLiteral("text"));
        runPass(frame);
        QCOMPARE(recoveryFiles().size(), 1);
        const QString saved = home_->filePath(QStringLiteral("docs/saved.tvl"));
        setFileNamePrompter([&](QWidget *, QString &name, const QString &, bool) {
            name = saved;
            return true;
        });
        QVERIFY(frame.saveActiveDocument(false));
        setFileNamePrompter({});
        frame.waitForRecoveryCopies();
        QVERIFY(recoveryFiles().isEmpty());
        runPass(frame); // not modified now: nothing written
        QVERIFY(recoveryFiles().isEmpty());

        // A recovery folder that cannot be made: the pass goes on and tries again next time.
        view->insertPlainText(QStringLiteral(" more"));
        QDir(home_->filePath(QStringLiteral("backup"))).removeRecursively();
        writeFile(home_->filePath(QStringLiteral("backup")), "a file where the folder goes");
        runPass(frame);
        QVERIFY(context_->busy() == false);
        QFile::remove(home_->filePath(QStringLiteral("backup")));
        runPass(frame);
        QCOMPARE(recoveryFiles().size(), 1);
    }

    void leftOversAreSortedOut() {
        const QString folder = recoveryFolder(context_->settings());
        QDir().mkpath(folder);
        writeFile(folder + QStringLiteral("/~tv00000001.tmp"), "");            // empty
        writeFile(folder + QStringLiteral("/~tv00000002.tmp.AbC123"), "half"); // interrupted
        writeFile(folder + QStringLiteral("/~tv00000003.tmp"), "{\\rtf1 held}");
        // Another instance's window holds the third.
        const int held = ::open(QFile::encodeName(folder + "/~tv00000003.tmp.lock").constData(),
                                O_RDWR | O_CREAT, 0644);
        struct flock lock = {};
        lock.l_type = F_WRLCK;
        QVERIFY(::fcntl(held, F_OFD_SETLK, &lock) == 0);
        QVERIFY(adoptLeftRecoveryFiles(folder).empty());
        QVERIFY(!QFile::exists(folder + QStringLiteral("/~tv00000001.tmp")));
        QVERIFY(!QFile::exists(folder + QStringLiteral("/~tv00000002.tmp.AbC123")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/~tv00000003.tmp")));
        ::close(held);
        QCOMPARE(adoptLeftRecoveryFiles(folder).size(), std::size_t(1));
    }

    void aTmpFileOpenedByHandIsAnOrdinaryDocument() {
        // Even a recovery copy, with the path it protects in its header.
        const QString letter = home_->filePath(QStringLiteral("docs/letter.tvl"));
        const QString tmp = home_->filePath(QStringLiteral("docs/~tv12345678.tmp"));
        RichDocument words = RichDocument::fromPlainText(u"words");
        QVERIFY(WriteDocumentFile(QFile::encodeName(tmp).toStdString(), words, PageLayout{},
                                  TextFileFormat::unicode(), letter.toStdU16String()));
        CMainFrame frame(*context_);
        QVERIFY(frame.OpenDocumentPath(tmp));
        CTarvelLiteDoc *doc = frame.activeChild()->getDocument();
        QApplication::processEvents(); // the status update of the first idle pass
        QCOMPARE(doc->title(), QStringLiteral("~tv12345678.tmp"));
        QCOMPARE(doc->path(), tmp);
        QVERIFY(!doc->isModified());
        frame.activeChild()->close();
        QTRY_VERIFY(frame.documentArea()->subWindowList().isEmpty());
        frame.waitForRecoveryCopies();
        QVERIFY(QFile::exists(tmp));
    }

    void plainTextAndOtherProgramsFormats() {
        const QString text = home_->filePath(QStringLiteral("docs/notes.txt"));
        const QString word = home_->filePath(QStringLiteral("docs/report.docx"));
        writeFile(text, "plain\n");
        CMainFrame frame(*context_);
        QVERIFY(frame.OpenDocumentPath(text));
        frame.activeView()->insertPlainText(QStringLiteral("more "));
        // The text question, answered No: Save As offers our format beside it.
        std::vector<Message> asked;
        QString offered;
        {
            ScopedMessagePresenter no([&](const Message &m) {
                asked.push_back(m);
                return MessageAnswer::No;
            });
            setFileNamePrompter([&](QWidget *, QString &name, const QString &, bool) {
                offered = name;
                return false; // cancelled
            });
            QVERIFY(!frame.saveActiveDocument(false));
            setFileNamePrompter({});
        }
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].text, std::string("Do you Want to Save the file as Text?\nThis will "
                                            "lose all Formatting characters\n\nFile Name: "
                                            "notes.txt"));
        QCOMPARE(asked[0].caption, std::string("File Save Query"));
        QCOMPARE(offered, home_->filePath(QStringLiteral("docs/notes.tvl")));
        QVERIFY(frame.activeChild()->getDocument()->isModified());
        QCOMPARE(frame.activeChild()->getDocument()->path(), text); // Cancel changed nothing

        // A document read from another program's format is saved as one of ours, never over it.
        writeFile(word, "{\\rtf1 from elsewhere}");
        const QByteArray original = QByteArray("{\\rtf1 from elsewhere}");
        QVERIFY(frame.OpenDocumentPath(word));
        frame.activeView()->insertPlainText(QStringLiteral("edited "));
        setFileNamePrompter([&](QWidget *, QString &name, const QString &, bool) {
            offered = name;
            return true;
        });
        QVERIFY(frame.saveActiveDocument(false));
        setFileNamePrompter({});
        QCOMPARE(offered, home_->filePath(QStringLiteral("docs/report.rtf")));
        QFile kept(word);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), original);
    }

    void openedDocumentsAreBackedUp() {
        Settings &s = context_->mutableSettings();
        s.backupOption.alwaysBackup = 1;
        s.backupOption.uniqueFileName = 0;
        const QString letter = home_->filePath(QStringLiteral("docs/letter.tvl"));
        writeFile(letter, "{\\rtf1 first}");
        CMainFrame frame(*context_);
        QVERIFY(frame.OpenDocumentPath(letter));
        frame.activeChild()->close();
        QTRY_VERIFY(frame.documentArea()->subWindowList().isEmpty());
        QVERIFY(frame.OpenDocumentPath(letter));
        // Two opens, two copies: the earlier one is kept.
        const QString backup = QString::fromStdString(s.backupPath);
        QVERIFY(QFile::exists(backup + QStringLiteral("letter(copy).tvl")));
        QVERIFY(QFile::exists(backup + QStringLiteral("letter(copy)-2.tvl")));
    }

    void recoveryHeaderPaths_data() {
        QTest::addColumn<QString>("document"); // empty: untitled
        QTest::addColumn<bool>("longUserFolder");
        QTest::addColumn<QString>("boundTo"); // "untitled": the user folder + title + ".tvl"
        QTest::addColumn<QString>("title");
        QTest::newRow("opened document") << "docs/letter.tvl" << false << "docs/letter.tvl"
                                         << "letter (Recovered).tvl";
        QTest::newRow("untitled document") << "" << false << "untitled"
                                           << "^TarvelLite\\d+ \\(Recovered\\)\\.tvl$";
        // 4 folders of 200 letters: too long for the header, never cut.
        const QString deep = QStringLiteral("docs/%1/%1/%1/%1/notes.txt").arg(QString(200, 'd'));
        QTest::newRow("path too long for the header") << deep << false << "untitled"
                                                      << "notes.txt (Recovered).tvl";
        QTest::newRow("too long, and the user folder too") << deep << true << ""
                                                           << "^TarvelLite\\d+ \\(Recovered\\)$";
    }
    void recoveryHeaderPaths() {
        QFETCH(QString, document);
        QFETCH(bool, longUserFolder);
        QFETCH(QString, boundTo);
        QFETCH(QString, title);
        if (longUserFolder)
            context_->mutableSettings().defaultUserPath =
                home_->filePath(QString(760, 'u')).toStdString() + "/";
        QString expectedPath;
        {
            auto frame = std::make_unique<CMainFrame>(*context_);
            CTarvelLiteView *view = nullptr;
            if (document.isEmpty()) {
                view = frame->newDocument();
            } else {
                const QString path = home_->filePath(document);
                QVERIFY(QDir().mkpath(QFileInfo(path).path()));
                writeFile(path, "{\\rtf1 words}");
                QVERIFY(frame->OpenDocumentPath(path));
                view = frame->activeView();
            }
            view->insertPlainText(QStringLiteral("typed "));
            const CTarvelLiteDoc &doc = *view->getDocument();
            if (boundTo == QLatin1String("untitled"))
                expectedPath = QString::fromStdString(context_->settings().defaultUserPath) +
                               doc.title() + QStringLiteral(".tvl");
            else if (!boundTo.isEmpty())
                expectedPath = home_->filePath(boundTo);
            frame->writeAllRecoveryCopies();
        }
        CMainFrame frame(*context_);
        QCOMPARE(frame.ReopenRecoveryFiles(), 1);
        CTarvelLiteDoc *doc = frame.activeChild()->getDocument();
        QCOMPARE(doc->path(), expectedPath);
        QVERIFY2(title.startsWith('^') ? QRegularExpression(title).match(doc->title()).hasMatch()
                                       : doc->title() == title,
                 qPrintable(doc->title()));
        QVERIFY(doc->isModified());
        QVERIFY(frame.activeView()->toPlainText().startsWith(QStringLiteral("typed ")));
    }

    void aTerminationRequestWritesEveryCopyAtOnce() {
        CMainFrame frame(*context_);
        frame.newDocument()->insertPlainText(QStringLiteral("first"));
        frame.newDocument()->insertPlainText(QStringLiteral("second"));
        frame.newDocument(); // not modified: no copy
        frame.writeAllRecoveryCopies();
        // On the disk before the event loop runs again (a kill may come next).
        const QStringList copies = recoveryFiles();
        QCOMPARE(copies.size(), 2);
        QByteArray both;
        for (const QString &name : copies)
            both += readAll(recoveryFolder(context_->settings()) + '/' + name);
        QVERIFY(both.contains("first") && both.contains("second"));
    }

    void aCopyOlderThanItsFileSaysSoAndAsksBeforeReplacingIt() {
        const QString letter = home_->filePath(QStringLiteral("docs/letter.tvl"));
        writeFile(letter, "{\\rtf1 Dear reader}");
        leaveTypedCopy(letter);
        // Saved later, by another program or another run.
        QFile file(letter);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
        file.close();
        CMainFrame frame(*context_);
        QCOMPARE(frame.ReopenRecoveryFiles(), 1);
        QCOMPARE(frame.activeChild()->getDocument()->title(),
                 QStringLiteral("letter (Recovered, older than the file).tvl"));
        QVERIFY(frame.statusBar()->currentMessage().contains(letter));

        // Save asks before the older text replaces the file; No goes to Save As (cancelled).
        const QByteArray newer = readAll(letter);
        std::vector<Message> asked;
        QStringList offered;
        setFileNamePrompter([&](QWidget *, QString &name, const QString &, bool) {
            offered << name;
            return false;
        });
        {
            ScopedMessagePresenter no([&](const Message &m) {
                asked.push_back(m);
                return MessageAnswer::No;
            });
            QVERIFY(!frame.saveActiveDocument(false));
        }
        setFileNamePrompter({});
        QCOMPARE(asked.size(), std::size_t(1));
        QVERIFY2(QString::fromStdString(asked[0].text)
                     .startsWith(QStringLiteral("letter.tvl was saved after this recovered text")),
                 asked[0].text.c_str());
        QCOMPARE(offered, QStringList{letter});
        QCOMPARE(readAll(letter), newer);
        // Yes: replaced; the next save asks no more.
        {
            ScopedMessagePresenter yes([&](const Message &m) {
                asked.push_back(m);
                return MessageAnswer::Yes;
            });
            QVERIFY(frame.saveActiveDocument(false));
            QVERIFY(readAll(letter).contains("typed"));
            frame.activeView()->insertPlainText(QStringLiteral("more "));
            QVERIFY(frame.saveActiveDocument(false));
        }
        QCOMPARE(asked.size(), std::size_t(2));
        QVERIFY(readAll(letter).contains("more"));
    }

    void aRecoveredUntitledDocumentNeverReplacesAFileUnasked() {
        QString bound;
        {
            auto frame = std::make_unique<CMainFrame>(*context_);
            CTarvelLiteView *view = frame->newDocument();
            view->insertPlainText(QStringLiteral("recovered text"));
            bound = QString::fromStdString(context_->settings().defaultUserPath) +
                    view->getDocument()->title() + QStringLiteral(".tvl");
            frame->writeAllRecoveryCopies();
        }
        // Meanwhile a document of that name has been saved by someone.
        writeFile(bound, "{\\rtf1 someone else's}");
        CMainFrame frame(*context_);
        QCOMPARE(frame.ReopenRecoveryFiles(), 1);
        QCOMPARE(frame.activeChild()->getDocument()->path(), bound);
        QStringList offered;
        setFileNamePrompter([&](QWidget *, QString &name, const QString &, bool) {
            offered << name;
            return false;
        });
        QVERIFY(!frame.saveActiveDocument(false));
        setFileNamePrompter({});
        QCOMPARE(offered, QStringList{bound});
        QCOMPARE(readAll(bound), QByteArray("{\\rtf1 someone else's}"));
    }

    void savingARecoveredDocumentWritesItsFileAndDropsTheCopy() {
        const QString letter = home_->filePath(QStringLiteral("docs/letter.tvl"));
        writeFile(letter, "{\\rtf1 Dear reader}");
        leaveTypedCopy(letter);
        CMainFrame frame(*context_);
        QCOMPARE(frame.ReopenRecoveryFiles(), 1);
        QVERIFY(frame.saveActiveDocument(false));
        QVERIFY(readAll(letter).contains("typed"));
        QCOMPARE(frame.activeChild()->getDocument()->title(), QStringLiteral("letter.tvl"));
        frame.waitForRecoveryCopies();
        // Nothing older than the saved file is left to come back after a crash.
        QVERIFY(recoveryFiles().isEmpty());
    }

    // The copy is in the program's own format; the text file on the disk still tells how it was
    // written, and the recovered document is saved back the same way.
    void aRecoveredTextFileKeepsItsEncodingAndLineBreaks_data() {
        QTest::addColumn<QString>("lineBreak");
        QTest::newRow("UTF-8, LF") << "\n";
        QTest::newRow("UTF-8, CR LF") << "\r\n";
    }
    void aRecoveredTextFileKeepsItsEncodingAndLineBreaks() {
        QFETCH(QString, lineBreak);
        const QString notes = home_->filePath(QStringLiteral("docs/notes.txt"));
        writeFile(notes, (QStringLiteral("ஒன்று") + lineBreak + QStringLiteral("இரண்டு")).toUtf8());
        leaveTypedCopy(notes);
        CMainFrame frame(*context_);
        QCOMPARE(frame.ReopenRecoveryFiles(), 1);
        QCOMPARE(frame.activeChild()->getDocument()->path(), notes);
        QVERIFY(frame.saveActiveDocument(false)); // the text question answered Yes
        QCOMPARE(readAll(notes),
                 (QStringLiteral("typed ஒன்று") + lineBreak + QStringLiteral("இரண்டு")).toUtf8());
    }

    void twoInstancesStartingAtOnceNeverShareACopy() {
        const QString folder = recoveryFolder(context_->settings());
        QDir().mkpath(folder);
        for (int round = 0; round < 20; ++round) {
            for (int i = 0; i < 8; ++i)
                writeFile(
                    folder +
                        QStringLiteral("/~tv%1.tmp").arg(round * 8 + i, 8, 16, QLatin1Char('0')),
                    "{\\rtf1 x}");
            // Each start-up adopts on a thread (and an open file description) of its own.
            std::vector<std::unique_ptr<RecoveryFile>> first, second;
            std::thread other([&] { first = adoptLeftRecoveryFiles(folder); });
            second = adoptLeftRecoveryFiles(folder);
            other.join();
            QStringList taken;
            for (const auto *list : {&first, &second})
                for (const auto &file : *list)
                    taken << file->path();
            QCOMPARE(taken.size(), 8);
            QCOMPARE(QSet<QString>(taken.begin(), taken.end()).size(), 8);
            for (auto *list : {&first, &second})
                for (auto &file : *list)
                    file->discard();
        }
    }

  private:
    /// Opens `path`, types into it and leaves its recovery copy, as a run that ends before the
    /// document is saved.
    void leaveTypedCopy(const QString &path) {
        auto frame = std::make_unique<CMainFrame>(*context_);
        QVERIFY(frame->OpenDocumentPath(path));
        frame->activeView()->insertPlainText(QStringLiteral("typed "));
        frame->writeAllRecoveryCopies();
    }
    static QByteArray readAll(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void runPass(CMainFrame &frame) {
        const int minutes = context_->settings().backupOption.autoSaveMinutes;
        for (int i = 0; i < minutes; ++i)
            frame.onAutoSaveTick();
        // The copies are written on the writer's thread; the pass ends in the event loop.
        QTRY_VERIFY(!frame.autoSaveRunning());
    }
    QStringList recoveryFiles() const {
        QDir dir(recoveryFolder(context_->settings()));
        QStringList names = dir.entryList({QStringLiteral("~tv*.tmp")}, QDir::Files | QDir::Hidden);
        names.sort();
        return names;
    }
    static void writeFile(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    /// Lets go of a frame as a crash would: its windows are never closed, nothing is deleted.
    static void abandon(std::unique_ptr<CMainFrame> frame) {
        for (QMdiSubWindow *w : frame->documentArea()->subWindowList())
            if (auto *child = qobject_cast<CChildFrame *>(w))
                child->setRecovery(
                    std::make_unique<RecoveryFile>()); // the lock goes, the file stays
        frame.reset();
    }

    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
