// Pictures inserted from files: kept through saving and reopening in both document formats,
// sized from their resolution and the page, and hostile files refused with a message.

#include "core/app/messages.h"
#include "core/document/rich_text.h"
#include "message_log.h"
#include "ui/document/document_io.h"
#include "ui/document/model_mapping.h"
#include "ui/document/picture_file.h"
#include "ui/document/picture_handles.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

struct Fixture {
    Fixture() : view(&doc, &host) { view.initialUpdate(); }
    BasicViewHost host;
    CTarvelLiteDoc doc;
    CTarvelLiteView view;
};

QByteArray encode(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

quint32 crc32(const QByteArray &data) {
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A valid small PNG whose header claims `w` × `h` pixels.
QByteArray pngClaiming(quint32 w, quint32 h) {
    QByteArray png = encode(QImage(4, 4, QImage::Format_RGB32), "PNG");
    auto put = [&png](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = char((v >> (24 - 8 * i)) & 0xFF);
    };
    put(16, w);
    put(20, h);
    put(29, crc32(png.mid(12, 17)));
    return png;
}

QList<Picture> picturesOf(const CTarvelLiteView &view) {
    const RichDocument model = richDocumentFrom(view.document());
    return QList<Picture>(model.pictures.begin(), model.pictures.end());
}

} // namespace

class PictureTest : public QObject {
    Q_OBJECT
  private slots:
    void insertedPicturesSurviveSavingInBothFormats();
    void hostileFilesAreRefusedWithAMessage();
    void sizeFollowsTrustedResolutionAndThePage();
    void otherFilesAreEmbeddedAsObjectsAndKept();
    void cornerHandlesResizeAsOneStepAtEveryZoom_data();
    void cornerHandlesResizeAsOneStepAtEveryZoom();
};

void PictureTest::insertedPicturesSurviveSavingInBothFormats() {
    QTemporaryDir dir;
    QImage photo(120, 60, QImage::Format_ARGB32);
    photo.fill(QColor(200, 30, 30, 128)); // half transparent
    photo.setDotsPerMeterX(qRound(192 / 0.0254));
    photo.setDotsPerMeterY(qRound(192 / 0.0254));
    const QString png = dir.filePath("photo.png");
    const QString jpeg = dir.filePath("photo.jpg");
    QVERIFY(writeFile(png, encode(photo, "PNG")));
    QVERIFY(writeFile(jpeg, encode(photo.convertToFormat(QImage::Format_RGB32), "JPEG")));

    Fixture f;
    f.view.setPlainText(QString::fromUtf8("தமிழ் உரை"));
    f.view.resetUndoHistory();
    QTextCursor c = f.view.textCursor();
    c.setPosition(3);
    f.view.setTextCursor(c);
    MessageLog log;
    QVERIFY(InsertPictureFile(f.view, png));
    QVERIFY(InsertPictureFile(f.view, jpeg));
    QVERIFY(log.texts.isEmpty());
    const QList<Picture> inserted = picturesOf(f.view);
    QCOMPARE(inserted.size(), 2);
    QCOMPARE(inserted[0].format, PictureFormat::Png);
    QCOMPARE(inserted[1].format, PictureFormat::Jpeg);
    // 120 pixels at 192 dpi are 900 twips; both files carry that resolution.
    QCOMPARE(inserted[0].widthTwips, 900);
    QCOMPARE(inserted[0].heightTwips, 450);
    QCOMPARE(inserted[1].widthTwips, 900);
    // The PNG keeps its bytes, transparency and all.
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(inserted[0].bytes.data()),
                        qsizetype(inserted[0].bytes.size())),
             encode(photo, "PNG"));

    // Each insertion is one undo step.
    f.view.undo();
    QCOMPARE(picturesOf(f.view).size(), 1);
    f.view.redo();
    QCOMPARE(picturesOf(f.view).size(), 2);

    for (const char *name : {"saved.tvl", "saved.rtf"}) {
        const QString path = dir.filePath(name);
        QVERIFY(StoreDocumentBody(f.view, path));
        Fixture reopened;
        QVERIFY(LoadDocumentBody(reopened.view, path));
        const QList<Picture> back = picturesOf(reopened.view);
        QCOMPARE(back.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(back[i].format, inserted[i].format);
            QCOMPARE(back[i].bytes, inserted[i].bytes);
            QCOMPARE(back[i].widthTwips, inserted[i].widthTwips);
            QCOMPARE(back[i].heightTwips, inserted[i].heightTwips);
        }
        QVERIFY(reopened.view.toPlainText().startsWith(QString::fromUtf8("தமி")));
    }
}

void PictureTest::hostileFilesAreRefusedWithAMessage() {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.png");
    QVERIFY(writeFile(empty, {}));
    const QString bomb = dir.filePath("bomb.png");
    QVERIFY(writeFile(bomb, pngClaiming(60000, 60000)));
    const QString huge = dir.filePath("huge.bmp");
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize((qint64(64) << 20) + 1)); // sparse: costs no disk
    }
    const struct {
        QString path;
        const char *reason;
    } cases[] = {
        {dir.filePath("missing.png"), "cannot be opened"},
        {empty, "empty"},
        {huge, "file too large"},
        {bomb, "too large"},
    };
    Fixture f;
    f.view.setPlainText(QString::fromUtf8("உரை"));
    for (const auto &c : cases) {
        MessageLog log;
        QVERIFY2(!InsertPictureFile(f.view, c.path), qPrintable(c.path));
        QCOMPARE(log.texts.size(), 1);
        QVERIFY2(log.texts[0].startsWith("Could not insert ") && log.texts[0].contains(c.reason),
                 qPrintable(log.texts[0]));
        QCOMPARE(f.view.toPlainText(), QString::fromUtf8("உரை"));
        QVERIFY(picturesOf(f.view).isEmpty());
        QVERIFY(!f.view.canUndo());
    }
}

void PictureTest::otherFilesAreEmbeddedAsObjectsAndKept() {
    QTemporaryDir dir;
    QByteArray pdf("%PDF-1.4\n");
    for (int i = 0; i < 256; ++i)
        pdf.append(char(i));
    const QString path = dir.filePath(QString::fromUtf8("குறிப்பு.pdf"));
    QVERIFY(writeFile(path, pdf));
    Fixture f;
    f.view.setPlainText(QString::fromUtf8("உரை"));
    f.view.resetUndoHistory();
    MessageLog log;
    QVERIFY(InsertPictureFile(f.view, path));
    QVERIFY(log.texts.isEmpty());
    const QList<Picture> inserted = picturesOf(f.view);
    QCOMPARE(inserted.size(), 1);
    const Picture &object = inserted[0];
    QVERIFY(object.isObject());
    QCOMPARE(object.objectClass, std::string("Package"));
    // The file's bytes are in the object's data, under its name.
    const QByteArray data(reinterpret_cast<const char *>(object.objectData.data()),
                          qsizetype(object.objectData.size()));
    QVERIFY(data.contains(pdf));
    QVERIFY(data.contains(QString::fromUtf8("குறிப்பு.pdf").toUtf8()));
    // It shows as a framed icon at its size.
    QImage icon;
    QVERIFY(icon.loadFromData(object.bytes.data(), int(object.bytes.size()), "PNG"));
    QCOMPARE(icon.width() * 15, object.widthTwips);
    f.view.undo();
    QVERIFY(picturesOf(f.view).isEmpty());
    f.view.redo();

    for (const char *name : {"object.tvl", "object.rtf"}) {
        const QString saved = dir.filePath(name);
        QVERIFY(StoreDocumentBody(f.view, saved));
        Fixture reopened;
        QVERIFY(LoadDocumentBody(reopened.view, saved));
        const QList<Picture> back = picturesOf(reopened.view);
        QCOMPARE(back.size(), 1);
        QVERIFY(back[0] == object);
    }
}

void PictureTest::sizeFollowsTrustedResolutionAndThePage() {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const struct {
        double dpi;
        int maxWidth;
        int width;
        int height;
    } cases[] = {
        {96, 0, 3000, 1500},    {300, 0, 960, 480},
        {2400, 0, 120, 60},     {10, 0, 3000, 1500}, // unbelievable: 96 dpi
        {30000, 0, 3000, 1500},                      // unbelievable: 96 dpi
        {96, 1500, 1500, 750},                       // capped at the printable width, aspect kept
    };
    for (const auto &c : cases) {
        image.setDotsPerMeterX(qRound(c.dpi / 0.0254));
        image.setDotsPerMeterY(qRound(c.dpi / 0.0254));
        const PictureFile file = pictureFromBytes(encode(image, "PNG"), c.maxWidth);
        QVERIFY(file.ok());
        QCOMPARE(file.picture.widthTwips, c.width);
        QCOMPARE(file.picture.heightTwips, c.height);
    }
    // A GIF is kept as PNG; a placeable metafile is kept byte for byte at its own size.
    QVERIFY(pictureFromBytes(encode(image, "BMP"), 0).picture.format == PictureFormat::Png);
    QByteArray wmf(40, '\0');
    const uchar header[] = {0xD7, 0xCD, 0xC6, 0x9A, 0,    0,    0,    0,
                            0,    0,    0xA0, 0x05, 0xD0, 0x02, 0xA0, 0x05};
    std::copy(std::begin(header), std::end(header), wmf.begin());
    const PictureFile meta = pictureFromBytes(wmf, 0);
    QVERIFY(meta.ok());
    QCOMPARE(meta.picture.format, PictureFormat::Wmf);
    QCOMPARE(meta.picture.widthTwips, 1440);
    QCOMPARE(meta.picture.heightTwips, 720);
    QCOMPARE(int(meta.picture.bytes.size()), 40);
}

void PictureTest::cornerHandlesResizeAsOneStepAtEveryZoom_data() {
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("corner"); // 0 top left, 1 top right, 2 bottom right, 3 bottom left
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("widthTwips"); // after the drag
    QTest::newRow("100%, bottom right, wider") << 100 << 2 << 60 << 2700;
    QTest::newRow("100%, top left, narrower") << 100 << 0 << 30 << 1350;
    QTest::newRow("150%, bottom right, wider") << 150 << 2 << 90 << 2700;
    QTest::newRow("100%, past the page") << 100 << 1 << 5000 << 0; // the printable width
}

void PictureTest::cornerHandlesResizeAsOneStepAtEveryZoom() {
    QFETCH(int, zoom);
    QFETCH(int, corner);
    QFETCH(int, dx);
    QFETCH(int, widthTwips);
    QTemporaryDir dir;
    QImage image(120, 60, QImage::Format_RGB32); // 96 dpi: 1800 × 900 twips
    image.fill(Qt::darkGreen);
    image.setDotsPerMeterX(qRound(96 / 0.0254));
    image.setDotsPerMeterY(qRound(96 / 0.0254));
    const QString png = dir.filePath("p.png");
    QVERIFY(writeFile(png, encode(image, "PNG")));
    Fixture f;
    f.view.resize(900, 500);
    f.view.show();
    f.view.setPlainText(QString::fromUtf8("தமிழ் "));
    f.view.moveCursor(QTextCursor::End);
    if (zoom != 100) {
        f.view.zoomFromSlider(102);
        f.view.zoomFromSlider(zoom / 5 + 80);
    }
    QCOMPARE(f.view.zoomPercent(), zoom);
    QVERIFY(InsertPictureFile(f.view, png));
    f.view.resetUndoHistory();
    auto *handles = f.view.findChild<PictureHandles *>();
    QVERIFY(handles);
    const int at = f.view.document()->characterCount() - 2;
    const QRect shown = handles->pictureRect(at);
    QCOMPARE(shown.size(), QSize(120, 60) * zoom / 100);
    QVERIFY(handles->handleRects().isEmpty());

    // A click on the picture selects it and shows its corner handles.
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, shown.center());
    QCOMPARE(handles->selectedPicture(), at);
    const QList<QRect> corners = handles->handleRects();
    QCOMPARE(corners.size(), 4);
    QCOMPARE(corners[2].center(), shown.bottomRight() + QPoint(1, 1));

    // A drag outward on the right (inward on the left) resizes, the aspect kept.
    const QPoint from = corners[corner].center();
    const QPoint to = from + QPoint(dx, 0);
    QTest::mousePress(f.view.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(f.view.viewport(), to);
    QTest::mouseRelease(f.view.viewport(), Qt::LeftButton, {}, to);
    if (widthTwips == 0) {
        const PageLayout page = f.view.deviceLayout();
        widthTwips = page.paperWidth - page.marginLeft - page.marginRight;
    }
    QList<Picture> pictures = picturesOf(f.view);
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(pictures[0].widthTwips, widthTwips);
    QCOMPARE(pictures[0].heightTwips, widthTwips / 2);
    // Drawn at the new size.
    QVERIFY(std::abs(handles->pictureRect(at).width() - widthTwips / 15.0 * zoom / 100) <= 1);
    QCOMPARE(f.view.toPlainText().size(), 7); // nothing else changed
    // One undo step gives the old size back.
    QVERIFY(f.view.canUndo());
    f.view.undo();
    QCOMPARE(picturesOf(f.view)[0].widthTwips, 1800);
    QVERIFY(!f.view.canUndo());
}

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
