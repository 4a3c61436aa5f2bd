// The main frame's document handling: new and open, reuse of an empty untitled window, files
// already open, failed opens, saving, the recent list and the window look.

#include "core/app/messages.h"
#include "ui/app/app_context.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/main_frame.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace tarvellite;
using namespace tarvellite::ui;

class MainFrameTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void commandsCarryTheirIds();
    void emptyUntitledWindowIsReused();
    void rtfGetsAWindowOfItsOwn();
    void fileAlreadyOpen();
    void unreadableFileLeavesNoWindow();
    void saveAsAndTitleMarker();
    void recentListKeepsTheCount();
    void tabbedMode();
    void boxesAndSliderDriveTheView();
    void droppedTextFileOpens();

  private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir dir_;
    QTemporaryDir config_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<CMainFrame> frame_;
    QStringList messages_;
    std::unique_ptr<ScopedMessagePresenter> presenter_;
};

void MainFrameTest::initTestCase() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

void MainFrameTest::init() {
    messages_.clear();
    presenter_ = std::make_unique<ScopedMessagePresenter>([this](const Message &m) {
        messages_ << QString::fromStdString(m.text);
        return m.defaultAnswer == MessageAnswer::Cancel ? MessageAnswer::No : m.defaultAnswer;
    });
    context_ = std::make_unique<AppContext>();
    context_->mutableSettings().defaultUserPath = dir_.path().toStdString();
    frame_ = std::make_unique<CMainFrame>(*context_);
    frame_->show();
}

void MainFrameTest::cleanup() {
    frame_->close();
    frame_.reset();
    context_.reset();
    presenter_.reset();
    setFileNamePrompter({});
}

QString MainFrameTest::write(const QString &name, const QByteArray &bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return path;
}

void MainFrameTest::commandsCarryTheirIds() {
    for (int id : {ID_FILE_NEW,       ID_FILE_OPEN,       ID_FILE_SAVE,          ID_FONTBOLD,
                   ID_FONTITALIC,     ID_FONTUNDERLINE,   ID_FONTSTRIKEOUT,      ID_FORE,
                   ID_BACK,           ID_PARALEFT,        ID_PARACENTRE,         ID_PARARIGHT,
                   ID_PARAJUST,       ID_PARARIGHTINDENT, ID_PARALEFTINDENT,     ID_PARA_BULLET,
                   ID_PARA_NUMBERING, ID_FILE_PRINT,      ID_FILE_PRINT_PREVIEW, ID_EDIT_UNDO,
                   ID_EDIT_REDO}) {
        QAction *action = frame_->findChild<QAction *>(QString::number(id));
        QVERIFY2(action, qPrintable(QString::number(id)));
        QCOMPARE(action, frame_->command(id));
    }
    // Controls are found by id and heard by their caption.
    const std::pair<const char *, const char *> named[] = {{"32782", "Font"},
                                                           {"32783", "Font Size"},
                                                           {"32794", "Zoom Slider"},
                                                           {"32793", "Zoom"},
                                                           {"pane-143", "Language Keyboard"},
                                                           {"pane-146", "Caps"},
                                                           {"32791", "PageView"},
                                                           {"115", "On Screen Keyboard"},
                                                           {"101", "Folder"},
                                                           {"108", "Find / Replace"},
                                                           {"113", "Spell Checker"}};
    for (const auto &[id, caption] : named) {
        QWidget *widget = frame_->findChild<QWidget *>(QString::fromLatin1(id));
        QVERIFY2(widget, id);
        QCOMPARE(widget->accessibleName(), QString::fromUtf8(caption));
    }
    // With no document the document commands are off and the document panes empty; with no
    // dictionary installed the keyboard pane says so.
    QVERIFY(!frame_->command(ID_FONTBOLD)->isEnabled());
    QVERIFY(!frame_->command(ID_VIEW_RULER)->isEnabled());
    for (int pane : {PANE_PAGE, PANE_WORDS, PANE_LINE_COL, PANE_LANGUAGE})
        QCOMPARE(frame_->statusText(pane), QString());
    QCOMPARE(frame_->statusText(PANE_DICTIONARY), QStringLiteral("No Dictionary Loaded..."));
    QTRY_COMPARE(frame_->statusText(PANE_DICTIONARY), QStringLiteral("No Dictionary available..."));
}

void MainFrameTest::emptyUntitledWindowIsReused() {
    CTarvelLiteView *view = frame_->newDocument();
    QVERIFY(view);
    QVERIFY(view->getDocument()->title().startsWith(QLatin1String("TarvelLite")));
    const QString path = write(QStringLiteral("letter.txt"), "Dear friend");
    QVERIFY(frame_->OpenDocumentPath(path));
    QCOMPARE(frame_->documentArea()->subWindowList().size(), 1);
    QCOMPARE(frame_->activeView(), view);
    QCOMPARE(view->toPlainText(), QStringLiteral("Dear friend"));
    QCOMPARE(view->getDocument()->path(), path);
    QCOMPARE(view->getDocument()->title(), QStringLiteral("letter.txt"));
    QVERIFY(view->getDocument()->fileHold().held());
    QCOMPARE(frame_->recentFiles().first(), path);

    // A window that holds text is not reused.
    QVERIFY(frame_->OpenDocumentPath(write(QStringLiteral("second.txt"), "two")));
    QCOMPARE(frame_->documentArea()->subWindowList().size(), 2);
}

void MainFrameTest::rtfGetsAWindowOfItsOwn() {
    frame_->newDocument();
    const QString path = write(QStringLiteral("letter.RTF"), "{\\rtf1\\ansi Hello}");
    QVERIFY(frame_->OpenDocumentPath(path));
    QCOMPARE(frame_->documentArea()->subWindowList().size(), 2);
    QCOMPARE(frame_->activeView()->toPlainText(), QStringLiteral("Hello"));
}

void MainFrameTest::fileAlreadyOpen() {
    const QString path = write(QStringLiteral("once.txt"), "once");
    QVERIFY(frame_->OpenDocumentPath(path));
    CTarvelLiteView *first = frame_->activeView();
    frame_->newDocument();
    QVERIFY(frame_->activeView() != first);
    QVERIFY(!frame_->OpenDocumentPath(path.toUpper())); // paths compare without case
    QCOMPARE(messages_, QStringList{"File Already Open"});
    QCOMPARE(frame_->activeView(), first);
    QCOMPARE(frame_->documentArea()->subWindowList().size(), 2);
}

void MainFrameTest::unreadableFileLeavesNoWindow() {
    QVERIFY(!frame_->OpenDocumentPath(dir_.filePath(QStringLiteral("missing.tvl"))));
    QCOMPARE(frame_->documentArea()->subWindowList().size(), 0);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_.first().startsWith(QLatin1String("Could not open")));

    // In the reuse case the empty window stays as it was.
    CTarvelLiteView *view = frame_->newDocument();
    const QString title = view->getDocument()->title();
    const QString bad =
        write(QStringLiteral("bad.tvl"), QByteArray("PK\x03\x04", 4) + QByteArray(64, '\1'));
    QVERIFY(!frame_->OpenDocumentPath(bad));
    QCOMPARE(frame_->documentArea()->subWindowList().size(), 1);
    QCOMPARE(view->getDocument()->title(), title);
    QVERIFY(view->getDocument()->path().isEmpty());
}

void MainFrameTest::saveAsAndTitleMarker() {
    CTarvelLiteView *view = frame_->newDocument();
    const QString path = dir_.filePath(QStringLiteral("saved.tvl"));
    setFileNamePrompter([&](QWidget *, QString &name, const QString &title, bool forOpen) {
        if (forOpen || title != QLatin1String("Save As"))
            return false;
        name = path;
        return true;
    });
    view->insertPlainText(QStringLiteral("text"));
    QTRY_VERIFY(view->windowTitle().endsWith(QLatin1Char('*')));
    QVERIFY(frame_->saveActiveDocument(false));
    QTRY_COMPARE(view->windowTitle(), QStringLiteral("saved.tvl"));
    QCOMPARE(frame_->activeChild()->windowTitle(), QStringLiteral("saved.tvl"));
    QVERIFY(QFile::exists(path));
    QVERIFY(view->getDocument()->fileHold().held());
    view->insertPlainText(QStringLiteral("more"));
    QTRY_COMPARE(view->windowTitle(), QStringLiteral("saved.tvl*"));
    QVERIFY(frame_->saveActiveDocument(false)); // no dialog: the path is known
    QTRY_COMPARE(view->windowTitle(), QStringLiteral("saved.tvl"));
    QTRY_COMPARE(frame_->statusText(PANE_LINE_COL), QStringLiteral("Line: 1  Col: 9"));
}

void MainFrameTest::recentListKeepsTheCount() {
    context_->changeSettings(GeneralPart, [](Settings &s) { s.general.recentDocuments = 2; });
    for (const char *name : {"r1.txt", "r2.txt", "r3.txt"})
        frame_->addRecentFile(dir_.filePath(QString::fromLatin1(name)));
    QCOMPARE(frame_->recentFiles(), (QStringList{dir_.filePath(QStringLiteral("r3.txt")),
                                                 dir_.filePath(QStringLiteral("r2.txt"))}));
    QVERIFY(frame_->command(ID_FILE_MRU_FILE1));
    QVERIFY(frame_->command(ID_FILE_MRU_FILE1 + 1));
    QVERIFY(!frame_->command(ID_FILE_MRU_FILE1 + 2));
}

void MainFrameTest::tabbedMode() {
    frame_->setTabbedMode(false);
    QCOMPARE(frame_->documentArea()->viewMode(), QMdiArea::SubWindowView);
    frame_->command(IDC_STWLOOK)->trigger();
    QCOMPARE(frame_->documentArea()->viewMode(), QMdiArea::TabbedView);
    QCOMPARE(context_->settings().tabbedMode, 1);
    frame_->command(IDC_STWLOOK)->trigger();
    QCOMPARE(context_->settings().tabbedMode, 0);
    frame_->setTabbedMode(true);
}

void MainFrameTest::boxesAndSliderDriveTheView() {
    CTarvelLiteView *view = frame_->newDocument();
    view->insertPlainText(QStringLiteral("some text"));
    view->selectAll();
    auto *sizeBox = frame_->findChild<QComboBox *>(QStringLiteral("32783"));
    sizeBox->setEditText(QStringLiteral("10.5"));
    emit sizeBox->lineEdit()->returnPressed();
    QCOMPARE(view->selectionTwips(), 210);
    frame_->command(ID_FONTBOLD)->trigger();
    QVERIFY(frame_->command(ID_FONTBOLD)->isChecked());

    auto *slider = frame_->findChild<QSlider *>(QStringLiteral("32794"));
    slider->setValue(101);
    QCOMPARE(view->zoomPercent(), 110);
    QCOMPARE(slider->value(), 102);
    QCOMPARE(frame_->statusText(ID_ZOOM_PANE), QStringLiteral("110%"));
    slider->setValue(200);
    QCOMPARE(view->zoomPercent(), 600);
    frame_->findChild<QToolButton *>(QStringLiteral("32793"))->click();
    QCOMPARE(view->zoomPercent(), 100);
    QCOMPARE(slider->value(), 100);
}

void MainFrameTest::droppedTextFileOpens() {
    CTarvelLiteView *view = frame_->newDocument();
    view->insertPlainText(QStringLiteral("busy"));
    const QString path = write(QStringLiteral("dropped.txt"), "dropped");
    emit view->fileDropped(path);
    QCOMPARE(frame_->documentArea()->subWindowList().size(), 2);
    QCOMPARE(frame_->activeView()->toPlainText(), QStringLiteral("dropped"));
    QVERIFY(!view->getDocument()->viewBusy());

    // A picture goes into the active view.
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString png = dir_.filePath(QStringLiteral("p.png"));
    QVERIFY(image.save(png));
    CTarvelLiteView *target = frame_->activeView();
    frame_->OpenOrInsertFile(png);
    QVERIFY(target->toPlainText().contains(QChar::ObjectReplacementCharacter));
}

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
