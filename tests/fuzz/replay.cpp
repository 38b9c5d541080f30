// Runs the fuzz target once over every file in the folders and files named, as libFuzzer does
// when it replays a corpus: for builds without libFuzzer, and to replay a failing input.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

void runInput(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{ std::istreambuf_iterator<char>(file), {} };
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char *argv[])
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path named(argv[i]);
        if (std::filesystem::is_directory(named)) {
            for (const auto &entry : std::filesystem::directory_iterator(named)) {
                runInput(entry.path());
                ++inputs;
            }
        } else {
            runInput(named);
            ++inputs;
        }
    }
    std::printf("%d inputs\n", inputs);
    return inputs > 0 ? 0 : 1; // nothing replayed is a failure, not a pass
}
