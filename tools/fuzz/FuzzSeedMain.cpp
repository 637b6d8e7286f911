// The driver of the fuzz targets when they are built without libFuzzer (g++, the normal
// build): every file named, or found in a folder named, is run once through the target.
// Used by the tests so that each target keeps compiling and its seeds keep passing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    std::vector<std::string> files;
    for (int i = 1; i < argc; i++)
    {
        std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path))
        {
            for (const auto &entry : std::filesystem::recursive_directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path().string());
        }
        else
            files.push_back(path.string());
    }
    std::sort(files.begin(), files.end());
    for (const std::string &file : files)
    {
        std::ifstream stream(file, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    printf("%zu inputs run\n", files.size());
    // A run over no input at all means the seeds are missing: that is a failure too.
    return files.empty() ? 1 : 0;
}
