// Pictures reach a document from the main window: the Insert Picture command through the file
// dialog, a file dropped on a view, and a file chosen in the explorer.

#include "core/app/messages.h"
#include "core/document/rich_text.h"
#include "ui/app/app_context.h"
#include "ui/document/command_ids.h"
#include "ui/document/document_io.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_view.h"
#include "ui/mainwindow/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDropEvent>
#include <QImage>
#include <QMdiArea>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace tarvellite;
using namespace tarvellite::ui;

class PictureFrameTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void commandDropAndExplorerInsertPictures();

  private:
    QTemporaryDir config_;
};

namespace {

int pictureCount(const CTarvelLiteView *view) {
    return int(richDocumentFrom(view->document()).pictures.size());
}

} // namespace

void PictureFrameTest::initTestCase() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

void PictureFrameTest::commandDropAndExplorerInsertPictures() {
    QTemporaryDir dir;
    const QString png = dir.filePath("leaf.png");
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(png, "PNG"));
    }
    QStringList messages;
    ScopedMessagePresenter answers([&messages](const Message &m) {
        messages << QString::fromStdString(m.text);
        return MessageAnswer::No;
    });
    AppContext context;
    context.mutableSettings().picturePath = dir.path().toStdString();
    CMainFrame frame(context);
    frame.show();
    QAction *insert = frame.command(ID_INSERT_PICTURE);
    QVERIFY(insert);
    QCOMPARE(insert->text(), QStringLiteral("Picture"));
    QVERIFY(!insert->isEnabled()); // no document

    CTarvelLiteView *view = frame.newDocument();
    view->insertPlainText(QString::fromUtf8("தமிழ்"));
    QVERIFY(insert->isEnabled());
    // Cancelled: nothing.
    QString asked;
    setFileNamePrompter([&](QWidget *, QString &, const QString &title, bool forOpen) {
        asked = title;
        return !forOpen;
    });
    insert->trigger();
    QCOMPARE(asked, QStringLiteral("Select the picture file for Inserting the Document"));
    QCOMPARE(pictureCount(view), 0);
    // Chosen: inserted at the caret.
    setFileNamePrompter([&](QWidget *, QString &name, const QString &, bool) {
        name = png;
        return true;
    });
    insert->trigger();
    setFileNamePrompter({});
    QCOMPARE(pictureCount(view), 1);

    // Dropped on the view.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(png)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
    QCOMPARE(pictureCount(view), 2);
    // Chosen in the explorer (which hands the file to the frame), and a file that is no
    // picture.
    frame.OpenOrInsertFile(png);
    QCOMPARE(pictureCount(view), 3);
    QVERIFY(messages.isEmpty());
    const QString notPicture = dir.filePath("notes.bin");
    {
        QFile f(notPicture);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01\x02 not a picture");
    }
    frame.OpenOrInsertFile(notPicture);
    QVERIFY(messages.isEmpty());
    QCOMPARE(pictureCount(view), 4); // embedded as an object
    QCOMPARE(frame.documentArea()->subWindowList().size(), 1);
    view->document()->setModified(false);
}

QTEST_MAIN(PictureFrameTest)
#include "picture_frame_test.moc"
