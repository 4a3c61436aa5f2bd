#include "ui/document/picture_file.h"

#include "core/app/messages.h"
#include "ui/document/document_io.h"
#include "ui/document/document_units.h"
#include "ui/document/model_mapping.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTextCursor>
#include <algorithm>

namespace tarvellite::ui {

namespace {

quint32 le32(const QByteArray &b, qsizetype at) {
    if (at < 0 || at + 4 > b.size())
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(b.constData()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24);
}

qint32 les32(const QByteArray &b, qsizetype at) {
    return qint32(le32(b, at));
}

int le16(const QByteArray &b, qsizetype at) {
    if (at < 0 || at + 2 > b.size())
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(b.constData()) + at;
    return qint16(p[0] | (p[1] << 8));
}

int clampTwips(qint64 twips) {
    return int(std::clamp<qint64>(twips, 1, 31680)); // at most 22 inches
}

// Caps the displayed size at `maxWidth`, keeping the aspect.
void capWidth(Picture &picture, int maxWidth) {
    if (maxWidth > 0 && picture.widthTwips > maxWidth) {
        picture.heightTwips = std::max(
            1, int(qint64(picture.heightTwips) * maxWidth / std::max(1, picture.widthTwips)));
        picture.widthTwips = maxWidth;
    }
}

// An enhanced metafile: record 1 is its header, with the frame in hundredths of a millimetre.
bool readEmf(const QByteArray &bytes, Picture &picture) {
    if (bytes.size() < 88 || le32(bytes, 0) != 1 || le32(bytes, 40) != 0x464D4520)
        return false;
    const qint64 w = qint64(les32(bytes, 32)) - les32(bytes, 24);
    const qint64 h = qint64(les32(bytes, 36)) - les32(bytes, 28);
    picture.format = PictureFormat::Emf;
    picture.pixelWidth =
        int(std::clamp<qint64>(qint64(les32(bytes, 16)) - les32(bytes, 8), 0, 1 << 20));
    picture.pixelHeight =
        int(std::clamp<qint64>(qint64(les32(bytes, 20)) - les32(bytes, 12), 0, 1 << 20));
    picture.widthTwips = clampTwips(w > 0 ? w * 1440 / 2540 : 1440);
    picture.heightTwips = clampTwips(h > 0 ? h * 1440 / 2540 : 1440);
    return true;
}

// A placeable Windows metafile: its bounding box in its own units per inch.
bool readWmf(const QByteArray &bytes, Picture &picture) {
    if (bytes.size() < 22 + 18 || le32(bytes, 0) != 0x9AC6CDD7)
        return false;
    const int w = le16(bytes, 10) - le16(bytes, 6);
    const int h = le16(bytes, 12) - le16(bytes, 8);
    int inch = le16(bytes, 14);
    if (inch <= 0)
        inch = 1440;
    picture.format = PictureFormat::Wmf;
    picture.pixelWidth = std::max(w, 0);
    picture.pixelHeight = std::max(h, 0);
    picture.widthTwips = clampTwips(w > 0 ? qint64(w) * 1440 / inch : 1440);
    picture.heightTwips = clampTwips(h > 0 ? qint64(h) * 1440 / inch : 1440);
    return true;
}

void appendLe32(QByteArray &out, quint32 v) {
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

// The data of a package object holding `bytes` under `label`: an OLE 1 object stream of class
// "Package" whose native data is the package (label, source path, temporary path, contents).
QByteArray packageStream(const QByteArray &label, const QByteArray &bytes) {
    QByteArray native;
    native.append(char(2));
    native.append(char(0));
    native.append(label).append('\0');
    native.append(label).append('\0');
    appendLe32(native, 0x00030000);
    appendLe32(native, quint32(label.size() + 1));
    native.append(label).append('\0');
    appendLe32(native, quint32(bytes.size()));
    native.append(bytes);

    QByteArray stream;
    appendLe32(stream, 0x00000501); // OLE version
    appendLe32(stream, 2);          // embedded
    const QByteArray className("Package");
    appendLe32(stream, quint32(className.size() + 1));
    stream.append(className).append('\0');
    appendLe32(stream, 0); // no topic
    appendLe32(stream, 0); // no item
    appendLe32(stream, quint32(native.size()));
    stream.append(native);
    appendLe32(stream, 0x00000501);
    appendLe32(stream, 0); // no presentation
    return stream;
}

QString tooLarge() {
    return QStringLiteral("file too large");
}

} // namespace

PictureFile pictureFromBytes(const QByteArray &bytes, int maxWidthTwips,
                             const PictureFileLimits &limits) {
    PictureFile out;
    Picture &picture = out.picture;
    if (bytes.isEmpty()) {
        out.error = QStringLiteral("the file is empty");
        return out;
    }
    if (bytes.size() > limits.maxFileBytes) {
        out.error = tooLarge();
        return out;
    }
    if (readEmf(bytes, picture) || readWmf(bytes, picture)) {
        picture.bytes.assign(bytes.begin(), bytes.end());
        capWidth(picture, maxWidthTwips);
        return out;
    }

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const int previousLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(limits.allocationLimitMb);
    const QByteArray kind = reader.format().toLower();
    const QSize claimed = reader.size();
    QImage image;
    if (claimed.isValid() && qint64(claimed.width()) * claimed.height() > limits.maxPixels) {
        out.error = QStringLiteral("the picture is too large (%1 × %2 pixels)")
                        .arg(claimed.width())
                        .arg(claimed.height());
    } else {
        image = reader.read();
        out.notPicture = image.isNull();
        if (image.isNull())
            out.error =
                kind.isEmpty()
                    ? QStringLiteral("it is not a picture this program reads")
                    : QStringLiteral("the picture cannot be read (%1)").arg(reader.errorString());
        else if (qint64(image.width()) * image.height() > limits.maxPixels)
            out.error = QStringLiteral("the picture is too large");
    }
    QImageReader::setAllocationLimit(previousLimit);
    if (!out.ok())
        return out;

    // The picture's own resolution, when it is a believable one.
    const auto dpiOf = [](int dotsPerMetre) {
        const int dpi = qRound(dotsPerMetre * 0.0254);
        return dpi >= minTrustedDpi && dpi <= maxTrustedDpi ? dpi : 96;
    };
    const int dpiX = dpiOf(image.dotsPerMeterX());
    const int dpiY = dpiOf(image.dotsPerMeterY());
    picture.pixelWidth = image.width();
    picture.pixelHeight = image.height();
    picture.widthTwips = clampTwips(qint64(image.width()) * 1440 / dpiX);
    picture.heightTwips = clampTwips(qint64(image.height()) * 1440 / dpiY);
    capWidth(picture, maxWidthTwips);

    if (kind == "png" || kind == "jpeg" || kind == "jpg") {
        picture.format = kind == "png" ? PictureFormat::Png : PictureFormat::Jpeg;
        picture.bytes.assign(bytes.begin(), bytes.end());
    } else {
        // Stored as PNG, which keeps transparency; the page shows through it.
        QByteArray png;
        QBuffer pngBuffer(&png);
        pngBuffer.open(QIODevice::WriteOnly);
        image.save(&pngBuffer, "PNG");
        picture.format = PictureFormat::Png;
        picture.bytes.assign(png.begin(), png.end());
    }
    return out;
}

Picture embeddedFilePicture(const QString &name, const QByteArray &bytes) {
    // The icon: a page with a folded corner and the file's name beside it, framed.
    QFont font;
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const QString shown = metrics.elidedText(name, Qt::ElideMiddle, 320);
    const int width = std::max(120, 48 + metrics.horizontalAdvance(shown) + 12);
    const int height = 48;
    QImage icon(width, height, QImage::Format_RGB32);
    icon.fill(Qt::white);
    {
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(120, 120, 120));
        p.drawRect(0, 0, width - 1, height - 1);
        const QPolygon page(
            {QPoint(12, 8), QPoint(28, 8), QPoint(36, 16), QPoint(36, 40), QPoint(12, 40)});
        p.setBrush(QColor(235, 240, 250));
        p.setPen(QColor(60, 80, 120));
        p.drawPolygon(page);
        p.drawPolyline(QPolygon({QPoint(28, 8), QPoint(28, 16), QPoint(36, 16)}));
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRect(48, 0, width - 54, height), Qt::AlignVCenter | Qt::AlignLeft, shown);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    icon.save(&buffer, "PNG");

    Picture picture;
    picture.format = PictureFormat::Png;
    picture.bytes.assign(png.begin(), png.end());
    picture.pixelWidth = width;
    picture.pixelHeight = height;
    picture.widthTwips = width * twipsPerInch / unitsPerInch;
    picture.heightTwips = height * twipsPerInch / unitsPerInch;
    picture.objectClass = "Package";
    const QByteArray data = packageStream(name.toUtf8(), bytes);
    picture.objectData.assign(data.begin(), data.end());
    return picture;
}

PictureFile readPictureFile(const QString &path, int maxWidthTwips,
                            const PictureFileLimits &limits) {
    PictureFile out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = QStringLiteral("the file cannot be opened (%1)").arg(file.errorString());
        return out;
    }
    if (file.size() > limits.maxFileBytes) {
        out.error = tooLarge();
        return out;
    }
    // One byte more than the cap tells a file that grew while it was read.
    const QByteArray bytes = file.read(limits.maxFileBytes + 1);
    return pictureFromBytes(bytes, maxWidthTwips, limits);
}

bool InsertPictureFile(CTarvelLiteView &view, const QString &path,
                       const PictureFileLimits &limits) {
    const PageLayout layout = view.deviceLayout();
    const int printable = layout.paperWidth - layout.marginLeft - layout.marginRight;
    PictureFile file = readPictureFile(path, std::max(printable, 0), limits);
    if (file.notPicture) {
        // Bytes of another kind: kept whole as an object, shown as its icon.
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.read(limits.maxFileBytes + 1);
            if (bytes.size() <= limits.maxFileBytes && !bytes.isEmpty()) {
                file.picture = embeddedFilePicture(QFileInfo(path).fileName(), bytes);
                file.error.clear();
            }
        }
    }
    if (!file.ok()) {
        showMessage(("Could not insert " + QFileInfo(path).fileName() + ": " + file.error + ".")
                        .toStdString(),
                    MessageIcon::Warning);
        return false;
    }
    QTextCursor cursor = view.textCursor();
    CharFormat format; // the picture's run takes no text format of its own
    cursor.beginEditBlock();
    insertPicture(cursor, file.picture, format);
    cursor.endEditBlock();
    view.setTextCursor(cursor);
    return true;
}

QStringList pictureDialogFilters() {
    return {QStringLiteral("Bitmap Files (*.bmp)"),
            QStringLiteral("Device Independent Bitmap (*.dib)"),
            QStringLiteral("Joint Photographic Experts Group(JPEG) (*.jpg *.jpeg)"),
            QStringLiteral("Windows Meta File (*.wmf)"),
            QStringLiteral("Graphics Interchange Format (*.gif)"),
            QStringLiteral("Portable Network Graphics (*.png)"),
            QStringLiteral("All Files (*)")};
}

bool InsertPictureCommand(CTarvelLiteView &view) {
    const QString folder =
        view.host() ? QString::fromStdString(view.host()->settings().picturePath) : QString();
    QString path;
    if (!PromptForFileName(&view, path,
                           QStringLiteral("Select the picture file for Inserting the Document"),
                           pictureDialogFilters(), pictureDialogFirstFilter, folder))
        return false;
    return InsertPictureFile(view, path);
}

} // namespace tarvellite::ui
