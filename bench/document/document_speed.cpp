// Whole-document figures for the benchmark script: writes the generated large Tamil RTF, and
// times saving a document read from an RTF file as .tvl and .rtf through the core writer into
// a file (temporary file, then rename), best of three.
//
//   document_speed generate OUT.rtf [BYTES]     (default 10,000,000 bytes)
//   document_speed save IN.rtf FOLDER

#include "core/document/document_io.h"
#include "core/document/file_access.h"
#include "large_document.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace tarvellite;

namespace {

int generate(const std::string &path, std::size_t bytes) {
    const std::string rtf = bench::largeTamilRtf(bytes);
    AtomicFileSink sink(path);
    Status s = sink.open();
    if (s && !sink.write({reinterpret_cast<const std::uint8_t *>(rtf.data()), rtf.size()}))
        s = Error{"write failed"};
    if (s)
        s = sink.commit();
    if (!s) {
        std::fprintf(stderr, "document_speed: %s\n", s.error().describe().c_str());
        return 1;
    }
    return 0;
}

int save(const std::string &in, const std::string &folder) {
    Result<MappedFile> file = MappedFile::open(in, std::size_t(1) << 30);
    if (!file) {
        std::fprintf(stderr, "document_speed: %s\n", file.error().describe().c_str());
        return 1;
    }
    const auto readStart = std::chrono::steady_clock::now();
    Result<LoadedDocument> loaded = LoadDocumentBody(in, file->bytes());
    const double readMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - readStart)
            .count();
    if (!loaded) {
        std::fprintf(stderr, "document_speed: %s\n", loaded.error().describe().c_str());
        return 1;
    }
    std::printf("core read %.1f ms\n", readMs);
    for (const char *name : {"saved.tvl", "saved.rtf"}) {
        const std::string path = folder + "/" + name;
        double best = 1e9;
        for (int round = 0; round < 3; ++round) {
            const auto start = std::chrono::steady_clock::now();
            AtomicFileSink sink(path);
            Status s = sink.open();
            if (s)
                s = StoreDocumentBody(name, loaded->document, PageLayout{}, sink);
            if (s)
                s = sink.commit();
            if (!s) {
                std::fprintf(stderr, "document_speed: %s\n", s.error().describe().c_str());
                return 1;
            }
            best = std::min(best, std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
        }
        std::printf("core save %s %.1f ms\n", name + 6, best);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "generate" && argc >= 3)
        return generate(argv[2], argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 10'000'000);
    if (mode == "save" && argc == 4)
        return save(argv[2], argv[3]);
    std::fputs("usage: document_speed generate OUT.rtf [BYTES] | save IN.rtf FOLDER\n", stderr);
    return 2;
}
