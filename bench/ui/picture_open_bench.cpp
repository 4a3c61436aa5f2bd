// Opening an RTF document with twenty photographs of about 1 MB each, against the same text
// without them: read, decoded and laid out in the editing view.
// Run with QT_QPA_PLATFORM=offscreen.

#include "core/document/rtf_writer.h"
#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

constexpr int photoCount = 20;

// A photograph-like JPEG of about 1 MB: noise does not compress.
QByteArray photo(int seed) {
    QImage image(1400, 1000, QImage::Format_RGB32);
    QRandomGenerator random(quint32(seed + 1));
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

// 400 paragraphs of Tamil text, with a photograph after every 20th when `withPhotos`.
QString writeDocument(bool withPhotos) {
    RichDocument doc;
    doc.paragraphs.clear();
    for (int p = 0; p < 400; ++p) {
        Paragraph paragraph;
        Run run;
        run.format.faceName = u"Noto Sans Tamil";
        for (int w = 0; w < 40; ++w)
            run.text += u"\u0BA4\u0BAE\u0BBF\u0BB4\u0BCD ";
        paragraph.runs.push_back(run);
        if (withPhotos && p % 20 == 0) {
            const QByteArray bytes = photo(p);
            Picture picture;
            picture.format = PictureFormat::Jpeg;
            picture.bytes.assign(bytes.begin(), bytes.end());
            picture.pixelWidth = 1400;
            picture.pixelHeight = 1000;
            picture.widthTwips = 7200;
            picture.heightTwips = 5400;
            doc.pictures.push_back(std::move(picture));
            paragraph.runs.push_back(Run{CharFormat{}, u"\uFFFC", int(doc.pictures.size() - 1)});
        }
        doc.paragraphs.push_back(paragraph);
    }
    doc.normalize();
    const Bytes rtf = writeRtf(doc);
    const QString path = QDir::temp().filePath(withPhotos ? QStringLiteral("tv-bench-photos.rtf")
                                                          : QStringLiteral("tv-bench-text.rtf"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char *>(rtf.data()), qint64(rtf.size()));
    return path;
}

void OpenRtf(benchmark::State &state) {
    const bool withPhotos = state.range(0) != 0;
    const QString path = writeDocument(withPhotos);
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
    for (auto _ : state) {
        BasicViewHost host;
        CTarvelLiteDoc doc;
        CTarvelLiteView view(&doc, &host);
        view.resize(900, 700);
        if (!LoadDocumentBody(view, path)) {
            state.SkipWithError("the document could not be opened");
            break;
        }
        view.initialUpdate();
        view.document()->documentLayout();
        benchmark::DoNotOptimize(view.document()->size());
    }
    QFile::remove(path);
}
BENCHMARK(OpenRtf)->ArgName("photos")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
