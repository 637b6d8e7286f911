// The run-time library loader over dlopen, and the OpenGL check through SDL's own
// functions looked up in the loaded library. Sections: error text and seam, libraries,
// OpenGL.
#include "PlatRuntime.h"

#include <dlfcn.h>
#include <link.h>

#include <SDL.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---- Error text and seam -----------------------------------------------------------------

namespace
{

thread_local char t_errorText[512];

void *RealOpenLibrary(const char *soname, char *path, size_t size);
void RealCloseLibrary(void *handle);
bool RealCreateGLContext(void *sdlHandle, char *version, size_t size);

const PlatRuntimeFunctions kRealFunctions = {RealOpenLibrary, RealCloseLibrary, RealCreateGLContext};
PlatRuntimeFunctions s_functions = kRealFunctions;

} // namespace

struct PlatLibrary
{
    void *handle;
    char path[4096];
};

bool PlatRuntimeFail(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(t_errorText, sizeof(t_errorText), format, args);
    va_end(args);
    return false;
}

const char *PlatRuntimeGetErrorText()
{
    return t_errorText;
}

void PlatRuntimeSetFunctions(const PlatRuntimeFunctions *functions)
{
    s_functions = kRealFunctions;
    if (!functions)
        return;
    if (functions->openLibrary)
        s_functions.openLibrary = functions->openLibrary;
    if (functions->closeLibrary)
        s_functions.closeLibrary = functions->closeLibrary;
    if (functions->createGLContext)
        s_functions.createGLContext = functions->createGLContext;
}

// ---- Libraries -----------------------------------------------------------------------------

namespace
{

void *RealOpenLibrary(const char *soname, char *path, size_t size)
{
    // NODELETE: a GL driver keeps worker threads and exit handlers that must not outlive
    // its code.
    void *handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle)
    {
        const char *reason = dlerror();
        PlatRuntimeFail("%s", reason ? reason : "dlopen failed");
        return nullptr;
    }
    struct link_map *map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
        snprintf(path, size, "%s", map->l_name);
    return handle;
}

void RealCloseLibrary(void *handle)
{
    dlclose(handle);
}

} // namespace

PlatLibrary *PlatRuntimeLoadLibrary(const char *soname)
{
    // A name with a separator would be taken as a path.
    if (!soname || !soname[0] || strchr(soname, '/'))
    {
        PlatRuntimeFail("Not a library name: <%s>", soname ? soname : "");
        return nullptr;
    }
    PlatLibrary *library = (PlatLibrary *)calloc(1, sizeof(PlatLibrary));
    if (!library)
    {
        PlatRuntimeFail("Out of memory");
        return nullptr;
    }
    library->handle = s_functions.openLibrary(soname, library->path, sizeof(library->path));
    if (!library->handle)
    {
        free(library);
        return nullptr;
    }
    return library;
}

void PlatRuntimeFreeLibrary(PlatLibrary *library)
{
    if (!library)
        return;
    s_functions.closeLibrary(library->handle);
    free(library);
}

const char *PlatRuntimeGetLibraryPath(const PlatLibrary *library)
{
    return library ? library->path : "";
}

// ---- OpenGL ---------------------------------------------------------------------------------

namespace
{

// SDL's functions as the loaded library has them; the header gives their types.
struct SdlFunctions
{
    decltype(&SDL_Init) init;
    decltype(&SDL_Quit) quit;
    decltype(&SDL_GetError) getError;
    decltype(&SDL_SetHint) setHint;
    decltype(&SDL_GetCurrentVideoDriver) getVideoDriver;
    decltype(&SDL_GL_SetAttribute) setAttribute;
    decltype(&SDL_CreateWindow) createWindow;
    decltype(&SDL_DestroyWindow) destroyWindow;
    decltype(&SDL_GL_CreateContext) createContext;
    decltype(&SDL_GL_DeleteContext) deleteContext;
    decltype(&SDL_GL_GetProcAddress) getProcAddress;
};

template <typename T> bool Find(void *handle, const char *name, T *out)
{
    *out = (T)dlsym(handle, name);
    return *out != nullptr || PlatRuntimeFail("SDL has no %s", name);
}

bool FindSdlFunctions(void *handle, SdlFunctions *sdl)
{
    return Find(handle, "SDL_Init", &sdl->init) && Find(handle, "SDL_Quit", &sdl->quit) &&
           Find(handle, "SDL_GetError", &sdl->getError) && Find(handle, "SDL_SetHint", &sdl->setHint) &&
           Find(handle, "SDL_GetCurrentVideoDriver", &sdl->getVideoDriver) && Find(handle, "SDL_GL_SetAttribute", &sdl->setAttribute) &&
           Find(handle, "SDL_CreateWindow", &sdl->createWindow) &&
           Find(handle, "SDL_DestroyWindow", &sdl->destroyWindow) &&
           Find(handle, "SDL_GL_CreateContext", &sdl->createContext) &&
           Find(handle, "SDL_GL_DeleteContext", &sdl->deleteContext) &&
           Find(handle, "SDL_GL_GetProcAddress", &sdl->getProcAddress);
}

bool RealCreateGLContext(void *sdlHandle, char *version, size_t size)
{
    SdlFunctions sdl;
    if (!FindSdlFunctions(sdlHandle, &sdl))
        return false;
    sdl.setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl.init(SDL_INIT_VIDEO) != 0)
        return PlatRuntimeFail("SDL cannot open the display: %s", sdl.getError());
    // Without a display SDL falls back to drivers that draw nowhere; as for the game, they
    // count only when asked for by name.
    const char *driver = sdl.getVideoDriver();
    const char *requested = getenv("SDL_VIDEODRIVER");
    if (driver && (strcmp(driver, "offscreen") == 0 || strcmp(driver, "dummy") == 0) && !(requested && requested[0]))
    {
        sdl.quit();
        return PlatRuntimeFail("SDL cannot open the display: only its %s driver is there", driver);
    }
    // The context the game asks for.
    sdl.setAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    sdl.setAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    sdl.setAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    bool made = false;
    SDL_Window *window = sdl.createWindow("Plinx check", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
        PlatRuntimeFail("No OpenGL window: %s", sdl.getError());
    else
    {
        SDL_GLContext context = sdl.createContext(window);
        if (!context)
            PlatRuntimeFail("No OpenGL 3.3 context: %s", sdl.getError());
        else
        {
            typedef const unsigned char *(*GetStringFn)(unsigned int name);
            const unsigned int kGlVersion = 0x1F02;
            GetStringFn getString = (GetStringFn)sdl.getProcAddress("glGetString");
            const char *text = getString ? (const char *)getString(kGlVersion) : nullptr;
            int major = 0, minor = 0;
            // "3.3 (Core Profile) Mesa 22.3.6", "4.6.0 NVIDIA 535.54"
            if (!text || sscanf(text, "%d.%d", &major, &minor) != 2)
                PlatRuntimeFail("The OpenGL context gives no version");
            else if (major < 3 || (major == 3 && minor < 3))
                PlatRuntimeFail("OpenGL %d.%d is older than 3.3", major, minor);
            else
                made = true;
            if (text && version && size)
                snprintf(version, size, "%s", text);
            sdl.deleteContext(context);
        }
        sdl.destroyWindow(window);
    }
    sdl.quit();
    return made;
}

} // namespace

bool PlatRuntimeCanCreateGLContext(PlatLibrary *sdl, char *version, size_t size)
{
    if (version && size)
        version[0] = 0;
    if (!sdl)
        return PlatRuntimeFail("SDL is not loaded");
    return s_functions.createGLContext(sdl->handle, version, size);
}
