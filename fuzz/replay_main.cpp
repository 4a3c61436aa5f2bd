// Runs a fuzz target over its saved corpus as an ordinary test, for builds without libFuzzer.
// Arguments are files or folders of inputs.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

int runFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    int count = 0;
    // The empty input first: every reader must survive it.
    LLVMFuzzerTestOneInput(nullptr, 0);
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto &entry : std::filesystem::recursive_directory_iterator(p))
                if (entry.is_regular_file())
                    count += runFile(entry.path());
        } else if (std::filesystem::exists(p)) {
            count += runFile(p);
        }
    }
    std::printf("replayed %d inputs\n", count + 1);
    return 0;
}
