// Replays saved inputs through a fuzz target without libFuzzer: each argument is a
// file, or a folder whose files (not those starting with "." nor notes ending in
// ".md") are replayed in name order. A broken rule stops the program (a trap);
// so does an argument that does not exist, or finding no input at all.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool isInput(const fs::path& path)
{
    const std::string name = path.filename().string();
    return fs::is_regular_file(path) && !name.starts_with(".") && path.extension() != ".md";
}

void replay(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    std::printf("%s (%zu bytes)\n", path.string().c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<fs::path> inputs;
    for (int k = 1; k < argc; ++k) {
        const fs::path argument = argv[k];
        if (fs::is_directory(argument)) {
            std::vector<fs::path> found;
            for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
                if (isInput(entry.path())) {
                    found.push_back(entry.path());
                }
            }
            std::sort(found.begin(), found.end());
            inputs.insert(inputs.end(), found.begin(), found.end());
        } else if (fs::is_regular_file(argument)) {
            inputs.push_back(argument);
        } else {
            std::fprintf(stderr, "no such input: %s\n", argument.string().c_str());
            return 1;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const fs::path& input : inputs) {
        replay(input);
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
