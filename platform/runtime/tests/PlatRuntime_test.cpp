#include "PlatRuntime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(PlatRuntime, LoadsBySonameOnly)
{
    // The C library is always there: its file is reported.
    PlatLibrary *libc = PlatRuntimeLoadLibrary("libc.so.6");
    ASSERT_NE(libc, nullptr) << PlatRuntimeGetErrorText();
    EXPECT_NE(std::string(PlatRuntimeGetLibraryPath(libc)).find("libc.so.6"), std::string::npos);
    PlatRuntimeFreeLibrary(libc);
    PlatRuntimeFreeLibrary(nullptr);

    struct Row
    {
        const char *name;
        const char *reason; // part of the error text
    } rows[] = {
        {"libNoSuchPlinxLibrary.so.7", "libNoSuchPlinxLibrary.so.7"},
        {"/usr/lib/x86_64-linux-gnu/libc.so.6", "Not a library name"},
        {"./libGL.so.1", "Not a library name"},
        {"", "Not a library name"},
        {nullptr, "Not a library name"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name ? row.name : "NULL");
        EXPECT_EQ(PlatRuntimeLoadLibrary(row.name), nullptr);
        EXPECT_NE(std::string(PlatRuntimeGetErrorText()).find(row.reason), std::string::npos)
            << PlatRuntimeGetErrorText();
    }
}

namespace
{
int s_closed = 0;
void *FakeOpen(const char *soname, char *path, size_t size)
{
    if (strcmp(soname, "libSDL2-2.0.so.0") != 0)
    {
        PlatRuntimeFail("%s: cannot open shared object file", soname);
        return nullptr;
    }
    snprintf(path, size, "/somewhere/%s", soname);
    return (void *)&s_closed;
}
void FakeClose(void *handle)
{
    EXPECT_EQ(handle, (void *)&s_closed);
    s_closed++;
}
bool FakeContext(void *handle, char *version, size_t size)
{
    snprintf(version, size, "3.3 fake");
    return true;
}
} // namespace

TEST(PlatRuntime, SeamReplacesTheSystem)
{
    PlatRuntimeFunctions fake = {FakeOpen, FakeClose, FakeContext};
    PlatRuntimeSetFunctions(&fake);
    EXPECT_EQ(PlatRuntimeLoadLibrary("libGL.so.1"), nullptr);
    EXPECT_STREQ(PlatRuntimeGetErrorText(), "libGL.so.1: cannot open shared object file");
    PlatLibrary *sdl = PlatRuntimeLoadLibrary("libSDL2-2.0.so.0");
    ASSERT_NE(sdl, nullptr);
    EXPECT_STREQ(PlatRuntimeGetLibraryPath(sdl), "/somewhere/libSDL2-2.0.so.0");
    char version[32];
    EXPECT_TRUE(PlatRuntimeCanCreateGLContext(sdl, version, sizeof(version)));
    EXPECT_STREQ(version, "3.3 fake");
    PlatRuntimeFreeLibrary(sdl);
    EXPECT_EQ(s_closed, 1);
    // Without SDL there is nothing to ask.
    EXPECT_FALSE(PlatRuntimeCanCreateGLContext(nullptr, version, sizeof(version)));
    EXPECT_STREQ(version, "");
    PlatRuntimeSetFunctions(nullptr);
}
