// The main() of a fuzz target outside the sanitized tree: feeds the target
// the empty input and then every file of the folders (or the files) named on
// the command line, once each, in name order. A property the target checks
// aborts the program; the exit status is 0 when every input went through.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

bool runFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    static const uint8_t empty[1] = {0};
    LLVMFuzzerTestOneInput(empty, 0);
    int inputs = 1;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(given)) {
            for (const auto &entry : std::filesystem::directory_iterator(given)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else {
            files.push_back(given);
        }
        std::sort(files.begin(), files.end());
        for (const auto &file : files) {
            if (!runFile(file))
                return 1;
            ++inputs;
        }
    }
    std::printf("replay: %d inputs, no failure\n", inputs);
    return 0;
}
