// tarvellite-cli convert: reads a document by its file kind and writes it by another.

#include "cli/command.h"
#include "core/app/settings_records.h"
#include "core/app/unicode.h"
#include "core/document/document_io.h"
#include "core/document/file_access.h"
#include "core/document/plain_text.h"
#include "core/legacy/legacy_runs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace tarvellite::cli {

namespace {

constexpr const char *convertUsage =
    "usage: tarvellite-cli convert [--quiet] [--legacy auto|never] IN OUT\n"
    "\n"
    "Reads the document IN and writes it as OUT, each by the kind its extension names:\n"
    ".tvl (own header, then RTF), .rtf/.doc/.docx/.htm/.tvx (RTF), .tmp (recovery file),\n"
    ".txt and any other extension (UTF-16LE text, CR LF). OUT \"-\" prints the text as UTF-8.\n"
    "OUT is written through a temporary file and a rename; an existing OUT is replaced only\n"
    "when the conversion succeeds. Warnings about what was recovered from go to standard\n"
    "error unless --quiet is given.\n"
    "With --legacy auto, text in TAM/TAB legacy Tamil fonts of an .rtf/.doc/.docx/.htm IN is\n"
    "converted to Unicode Tamil in the default Unicode font, as on opening; the default,\n"
    "never, keeps it as it is.\n"
    "\n"
    "Exit status: 0 done, 1 IN could not be read or is not a document, or OUT could not be\n"
    "written, 2 bad usage.\n";

// Makes room on the heap for a document model of about `bytes` in one step. The heap only
// grows during a conversion, so what is freed is kept rather than given back and asked for
// again; and the room is made present at once, in large pages where the system allows,
// instead of one page fault for every page the model touches.
void reserveHeap(std::size_t bytes) {
    bytes = std::min<std::size_t>(bytes, std::size_t(256) << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 4 << 20);
    if (bytes < (std::size_t(1) << 20))
        return;
    void *block = std::malloc(bytes);
    if (!block)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
    if (end > begin) {
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
    }
    std::free(block);
}

// Documents larger than this are refused rather than read.
constexpr std::size_t maxDocumentBytes = 512u << 20;

int runConvert(const std::vector<std::string> &args) {
    bool quiet = false;
    bool convertLegacy = false;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(convertUsage, stdout);
            return exitOk;
        }
        if (a == "--quiet" || a == "-q")
            quiet = true;
        else if (a == "--legacy" && i + 1 < args.size() &&
                 (args[i + 1] == "auto" || args[i + 1] == "never"))
            convertLegacy = args[++i] == "auto";
        else if (a.size() > 1 && a[0] == '-' && paths.empty())
            return std::fprintf(stderr, "tarvellite-cli convert: unknown option %s\n%s", a.c_str(),
                                convertUsage),
                   exitUsage;
        else
            paths.push_back(a);
    }
    if (paths.size() != 2) {
        std::fprintf(stderr, "tarvellite-cli convert: give IN and OUT\n%s", convertUsage);
        return exitUsage;
    }
    const std::string &in = paths[0], &out = paths[1];

    // The input is mapped and given back page by page as the reader passes over it, and the
    // output streamed to its file: a large document is never in memory twice.
    Result<MappedFile> file = MappedFile::open(in, maxDocumentBytes);
    if (!file) {
        std::fprintf(stderr, "tarvellite-cli convert: %s\n", file.error().describe().c_str());
        return exitFailed;
    }
    reserveHeap(file->bytes().size());

    Result<LoadedDocument> loaded = LoadDocumentBody(
        in, file->bytes(), RtfReadLimits{}, [&file](std::size_t done) { file->release(done); });
    *file = MappedFile{};
    if (!loaded) {
        std::fprintf(stderr, "tarvellite-cli convert: cannot read %s: %s\n", in.c_str(),
                     loaded.error().describe().c_str());
        return exitFailed;
    }
    if (!quiet)
        for (const ReadWarning &w : loaded->warnings)
            std::fprintf(stderr, "tarvellite-cli convert: %s: warning: %s (at byte %zu)\n",
                         in.c_str(), w.message.c_str(), w.byteOffset);

    if (convertLegacy && loaded->hasLegacyFonts) {
        LegacyConversionOptions options;
        options.defaultUnicodeFont = defaultUnicodeTamilFont;
        ConvertLegacyRuns(loaded->document, options);
    }

    if (out == "-") {
        std::fflush(stdout);
        DescriptorSink sink(STDOUT_FILENO);
        const std::uint8_t newline = '\n';
        return writeUtf8Text(loaded->document, sink, "\n") && sink.write({&newline, 1})
                   ? exitOk
                   : exitFailed;
    }
    AtomicFileSink sink(out);
    const std::u16string recovery =
        ClassifyFileName(out) == FileKind::Tmp ? loaded->header.recoveredPath : u"";
    Status s = sink.open();
    if (s)
        s = StoreDocumentBody(out, loaded->document, loaded->header.pageLayout, sink, recovery);
    if (s)
        s = sink.commit();
    if (!s) {
        std::fprintf(stderr, "tarvellite-cli convert: %s\n", s.error().describe().c_str());
        return exitFailed;
    }
    return exitOk;
}

const Registration registration{
    {"convert", "convert a document between .tvl, .rtf and .txt", runConvert}};

} // namespace

} // namespace tarvellite::cli
