// The fuzz targets' shared set-up (see FuzzKit.h).
#include "FuzzKit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "EngDebug.h"

namespace fuzzkit
{

// Where Touch leaves its sum, so that the reads are not left out.
volatile uint8_t touched;

const std::string &Home()
{
    static const std::string home = [] {
        char pattern[] = "/tmp/plinx-fuzz-XXXXXX";
        const char *made = mkdtemp(pattern);
        if (!made)
            abort();
        std::string path = made;
        setenv("HOME", path.c_str(), 1);
        setenv("XDG_DATA_HOME", (path + "/.local/share").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (path + "/.config").c_str(), 1);
        DebugSetLogFilename("/dev/null", false);
        // Gone again when the program ends normally (a finding keeps it for a look). The
        // name is kept apart: the string itself is destroyed before the handler runs.
        static char kept[sizeof(pattern)];
        memcpy(kept, pattern, sizeof(pattern));
        atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(kept, ignored);
        });
        return path;
    }();
    return home;
}

std::string UserFolder()
{
    return Home() + "/.local/share/Fernbrooks/Plinx";
}

void WriteBytes(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file || (size && fwrite(data, 1, size, file) != size))
    {
        fprintf(stderr, "fuzz: cannot write <%s>\n", path.c_str());
        abort();
    }
    fclose(file);
}

std::string ReadBytes(const std::string &path)
{
    std::string bytes;
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[65536];
    size_t read;
    while ((read = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, read);
    fclose(file);
    return bytes;
}

void Check(bool condition, const char *what)
{
    if (condition)
        return;
    fprintf(stderr, "fuzz: %s\n", what);
    abort();
}

void CheckSame(const void *expected, const void *actual, size_t size, const char *what)
{
    const uint8_t *a = (const uint8_t *)expected, *b = (const uint8_t *)actual;
    for (size_t i = 0; i < size; i++)
        if (a[i] != b[i])
        {
            fprintf(stderr, "fuzz: %s: offset %zu is %u, not %u\n", what, i, b[i], a[i]);
            abort();
        }
}

void Touch(const void *bytes, size_t size)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < size; i++)
        sum = (uint8_t)(sum + ((const uint8_t *)bytes)[i]);
    touched = sum;
}

void ClearLog()
{
    DebugClearMessages();
}

} // namespace fuzzkit
