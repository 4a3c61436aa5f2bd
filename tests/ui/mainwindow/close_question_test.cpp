// The question before modified documents close: its exact text, a window closed by itself, and
// Exit with one or several documents, where every document is asked before any window closes,
// so that Cancel (or a save that fails) leaves everything open as it was.

#include "core/app/messages.h"
#include "ui/app/app_context.h"
#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/main_frame.h"

#include <QDir>
#include <QMdiArea>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

std::string closeQuestion(const QString &name) {
    return "Do you Want to Save this file before closing?\nFile Name: " + name.toStdString() +
           "\nYes:       Save the file and exit.\nNo:        Do not save the file but "
           "exit.\nCancel: Do not close";
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CloseQuestionTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_->path()));
        context_ = std::make_unique<AppContext>();
        Settings &s = context_->mutableSettings();
        s.defaultUserPath = home_->path().toStdString() + "/";
        s.backupPath = home_->path().toStdString() + "/backup/";
        frame_ = std::make_unique<CMainFrame>(*context_);
        asked_.clear();
    }
    void cleanup() {
        frame_.reset();
        context_.reset();
    }

    void untitledDocumentClosedByItself() {
        CTarvelLiteView *view = frame_->newDocument();
        view->insertPlainText(QStringLiteral("text"));
        const QString title = view->getDocument()->title();
        CChildFrame *child = frame_->activeChild();
        ScopedMessagePresenter cancel([&](const Message &m) {
            asked_ << m;
            return MessageAnswer::Cancel;
        });
        QVERIFY(!child->close());
        QCOMPARE(asked_.size(), 1);
        QCOMPARE(asked_[0].text, closeQuestion(title));
        QCOMPARE(asked_[0].caption, std::string("Window Closing: File Save Query"));
        QCOMPARE(asked_[0].buttons, MessageButtons::YesNoCancel);
        QVERIFY(QRegularExpression(QStringLiteral("^TarvelLite\\d+$")).match(title).hasMatch());

        // Not modified: closes without a word.
        view->getDocument()->setModified(false);
        QVERIFY(child->close());
        QCOMPARE(asked_.size(), 1);
    }

    void exitAsksEveryDocumentFirst_data() {
        QTest::addColumn<QStringList>("modified");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("exits");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<QStringList>("stillModified");
        QTest::newRow("one, Yes") << QStringList{"a"} << QStringList{"Yes"} << true
                                  << QStringList{"a"} << QStringList{};
        QTest::newRow("one, No") << QStringList{"a"} << QStringList{"No"} << true << QStringList{}
                                 << QStringList{};
        QTest::newRow("one, Cancel") << QStringList{"a"} << QStringList{"Cancel"} << false
                                     << QStringList{} << QStringList{"a"};
        QTest::newRow("several, Yes and Yes") << QStringList{"a", "b"} << QStringList{"Yes", "Yes"}
                                              << true << QStringList{"a", "b"} << QStringList{};
        // b is above a: asked first.
        QTest::newRow("several, No then Cancel")
            << QStringList{"a", "b"} << QStringList{"Cancel", "No"} << false << QStringList{}
            << QStringList{"a", "b"};
        QTest::newRow("several, Yes then Cancel")
            << QStringList{"a", "b"} << QStringList{"Cancel", "Yes"} << false << QStringList{"b"}
            << QStringList{"a"};
        QTest::newRow("several, one not modified")
            << QStringList{"a", "c"} << QStringList{"Yes", "No"} << true << QStringList{"a"}
            << QStringList{};
        QTest::newRow("a save that fails stops the exit")
            << QStringList{"a", "b", "broken"} << QStringList{"No", "No", "Yes"} << false
            << QStringList{} << QStringList{"a", "b", "broken"};
    }
    void exitAsksEveryDocumentFirst() {
        QFETCH(QStringList, modified);
        QFETCH(QStringList, answers);
        QFETCH(bool, exits);
        QFETCH(QStringList, saved);
        QFETCH(QStringList, stillModified);
        // Three documents a.tvl, b.tvl, c.tvl (and broken.tvl when asked for), opened in turn.
        QStringList names{"a", "b", "c"};
        if (modified.contains(QStringLiteral("broken")))
            names << QStringLiteral("broken");
        for (const QString &name : names) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("{\\rtf1 " + name.toLatin1() + "}");
            file.close();
            QVERIFY(frame_->OpenDocumentPath(path(name)));
            if (modified.contains(name))
                frame_->activeView()->insertPlainText(QStringLiteral("typed "));
        }
        if (modified.contains(QStringLiteral("broken"))) {
            // Its file has become a folder: saving it fails.
            QFile::remove(path(QStringLiteral("broken")));
            QVERIFY(QDir().mkdir(path(QStringLiteral("broken"))));
        }
        // The answers go to the documents in the order the questions come.
        QStringList order;
        ScopedMessagePresenter answer([&](const Message &m) {
            asked_ << m;
            if (m.caption != "Window Closing: File Save Query")
                return MessageAnswer::Ok; // the reason a save failed
            const QString text = QString::fromStdString(m.text);
            const QString name = text.section(QStringLiteral("File Name: "), 1).section('.', 0, 0);
            order << name;
            const QString reply = answers.value(modified.indexOf(name));
            return reply == QLatin1String("Yes")  ? MessageAnswer::Yes
                   : reply == QLatin1String("No") ? MessageAnswer::No
                                                  : MessageAnswer::Cancel;
        });
        QCOMPARE(frame_->close(), exits);
        // Top to bottom: the last opened first; Cancel, or a save that fails, ends the questions.
        QStringList expectedOrder;
        for (auto it = names.rbegin(); it != names.rend(); ++it) {
            if (!modified.contains(*it))
                continue;
            expectedOrder << *it;
            const QString reply = answers.value(modified.indexOf(*it));
            if (reply == QLatin1String("Cancel") ||
                (reply == QLatin1String("Yes") && *it == QLatin1String("broken")))
                break;
        }
        QCOMPARE(order, expectedOrder);

        QApplication::processEvents();
        const QList<QMdiSubWindow *> left = frame_->documentArea()->subWindowList();
        QCOMPARE(left.isEmpty(), exits);
        if (!exits)
            QCOMPARE(left.size(), names.size());
        for (const QString &name : names) {
            if (name == QLatin1String("broken"))
                continue;
            QCOMPARE(readAll(path(name)).contains("typed"), saved.contains(name));
        }
        for (QMdiSubWindow *w : left) {
            CTarvelLiteDoc *doc = qobject_cast<CChildFrame *>(w)->getDocument();
            const QString name = QFileInfo(doc->path()).completeBaseName();
            QCOMPARE(doc->isModified(), stillModified.contains(name));
        }
    }

  private:
    QString path(const QString &name) const { return home_->filePath(name + ".tvl"); }

    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<CMainFrame> frame_;
    QList<Message> asked_;
};

QTEST_MAIN(CloseQuestionTest)
#include "close_question_test.moc"
