// On the test display (Mesa): the system's SDL makes an OpenGL 3.3 context; without a
// display it cannot, and says why.
#include "PlatRuntime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(PlatRuntimeDisplay, MakesAnOpenGL33Context)
{
    PlatLibrary *gl = PlatRuntimeLoadLibrary("libGL.so.1");
    PlatLibrary *sdl = PlatRuntimeLoadLibrary("libSDL2-2.0.so.0");
    ASSERT_NE(gl, nullptr) << PlatRuntimeGetErrorText();
    ASSERT_NE(sdl, nullptr) << PlatRuntimeGetErrorText();
    char version[128];
    EXPECT_TRUE(PlatRuntimeCanCreateGLContext(sdl, version, sizeof(version))) << PlatRuntimeGetErrorText();
    int major = 0, minor = 0;
    ASSERT_EQ(sscanf(version, "%d.%d", &major, &minor), 2) << version;
    EXPECT_GE(major * 10 + minor, 33) << version;

    std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_FALSE(PlatRuntimeCanCreateGLContext(sdl, version, sizeof(version)));
    EXPECT_NE(std::string(PlatRuntimeGetErrorText()).find("display"), std::string::npos) << PlatRuntimeGetErrorText();
    setenv("DISPLAY", display.c_str(), 1);
    PlatRuntimeFreeLibrary(sdl);
    PlatRuntimeFreeLibrary(gl);
}
