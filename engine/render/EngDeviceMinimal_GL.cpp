// A minimal stand-in for the graphics device: a GL context on the main window that can
// clear and present, so that the main loop runs for real before the full device (render
// states, textures, the texture cursor) replaces this file.
#include <cstdint>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "PlatWin.h"

EngDevice *EngMainDevice = nullptr;

typedef void (*GLClearColorFn)(float, float, float, float);
typedef void (*GLClearFn)(uint32_t);
typedef void (*GLViewportFn)(int32_t, int32_t, int32_t, int32_t);
typedef const unsigned char *(*GLGetStringFn)(uint32_t);

enum
{
    GL_DEPTH_BUFFER_BIT = 0x00000100,
    GL_COLOR_BUFFER_BIT = 0x00004000,
    GL_VENDOR = 0x1F00,
    GL_RENDERER = 0x1F01,
    GL_VERSION = 0x1F02,
};

static struct
{
    PlatGLContext *context;
    PlatWindow *window;
    bool rendering;
    float clearColour[3];
    GLClearColorFn clearColor;
    GLClearFn clear;
    GLViewportFn viewport;
} s_device = {nullptr, nullptr, false, {0, 0, 0}, nullptr, nullptr, nullptr};

EngDevice::EngDevice(EngWindow *ownerWindow) : created(false), owner(ownerWindow)
{
}

EngDevice::~EngDevice()
{
    Destroy();
}

bool EngDevice::Create(bool windowed, int width, int height, int depth, int refresh)
{
    EngMainDevice = nullptr;
    if (EngProgramGetMainDeviceType() != ENG_DEVICE_DX9)
        return false;
    PlatWindow *window = owner ? owner->GetOSWindow() : nullptr;
    if (!s_device.context)
    {
        s_device.context = PlatWinGLCreateContext(window);
        if (!s_device.context)
        {
            DebugError(ENG_FUNC, "%s", PlatWinGetErrorText());
            return false;
        }
    }
    if (!PlatWinGLMakeCurrent(window, s_device.context))
    {
        DebugError(ENG_FUNC, "%s", PlatWinGetErrorText());
        return false;
    }
    s_device.window = window;
    s_device.clearColor = (GLClearColorFn)PlatWinGLGetProcAddress("glClearColor");
    s_device.clear = (GLClearFn)PlatWinGLGetProcAddress("glClear");
    s_device.viewport = (GLViewportFn)PlatWinGLGetProcAddress("glViewport");
    GLGetStringFn getString = (GLGetStringFn)PlatWinGLGetProcAddress("glGetString");
    if (getString)
        DebugInfo("GL: %s, %s, %s", (const char *)getString(GL_VENDOR), (const char *)getString(GL_RENDERER),
                  (const char *)getString(GL_VERSION));
    // The main loop keeps the frame rate; the swap waits for the vertical blank only
    // when asked to.
    PlatWinGLSetSwapInterval(EngScreenSettings.verticalSync == 1 ? 1 : 0);
    s_device.rendering = false;
    created = true;
    EngMainDevice = this;
    return true;
}

void EngDevice::Destroy()
{
    if (created)
    {
        PlatWinGLDeleteContext(s_device.context);
        s_device.context = nullptr;
        s_device.window = nullptr;
        s_device.rendering = false;
    }
    created = false;
    if (EngMainDevice == this)
        EngMainDevice = nullptr;
}

bool EngDevice::IsReady()
{
    return created && s_device.context;
}

bool EngDevice::BeginRendering()
{
    if (!IsReady())
        return false;
    if (s_device.rendering)
    {
        DebugError(ENG_FUNC, "Already rendering");
        EndRendering();
    }
    s_device.rendering = true;
    return true;
}

bool EngDevice::BeginRenderingIfNotRendering()
{
    if (s_device.rendering)
        return false;
    BeginRendering();
    return true;
}

void EngDevice::EndRendering()
{
    if (!IsReady())
        return;
    if (!s_device.rendering)
        DebugError(ENG_FUNC, "Not rendering");
    s_device.rendering = false;
}

void EngDevice::SwapBuffers()
{
    if (!IsReady())
    {
        DebugError(ENG_FUNC, "No device");
        return;
    }
    PlatWinGLSwapWindow(s_device.window);
}

void EngDevice::SyncWithGPU()
{
}

void EngDevice::SetClearColour(float red, float green, float blue)
{
    s_device.clearColour[0] = red;
    s_device.clearColour[1] = green;
    s_device.clearColour[2] = blue;
}

void EngDevice::ClearScreen()
{
    ClearScreenAndZBuffer();
}

void EngDevice::ClearScreenAndZBuffer()
{
    if (!IsReady() || !s_device.clear || !s_device.clearColor || !s_device.viewport)
        return;
    s_device.viewport(0, 0, EngScreenSettings.width, EngScreenSettings.height);
    s_device.clearColor(s_device.clearColour[0], s_device.clearColour[1], s_device.clearColour[2], 1.0f);
    s_device.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void EngDevice::UpdateViewportAfterResize()
{
}

void EngWindow::DrawTextureCursor_PC()
{
}
