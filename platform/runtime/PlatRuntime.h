// Stand-in for loading the system's own libraries at run time: the launcher checks with
// it that the libraries the game draws with are installed and can make an OpenGL 3.3
// context, before it starts the game (which links them and would not even load without).
// Libraries are found by soname through the system's search (the dynamic linker's cache
// and folders, LD_LIBRARY_PATH), never by a path the program makes up.
#pragma once
#include <cstddef>

struct PlatLibrary;

// ---- Libraries -----------------------------------------------------------------------
// Loads `soname` ("libGL.so.1"); NULL with the reason when the system has none. A loaded
// library stays mapped until the process ends (drivers keep threads and exit handlers).
PlatLibrary *PlatRuntimeLoadLibrary(const char *soname);
// Gives the handle back; NULL is ignored.
void PlatRuntimeFreeLibrary(PlatLibrary *library);
// The file the library was loaded from ("" when unknown).
const char *PlatRuntimeGetLibraryPath(const PlatLibrary *library);

// ---- OpenGL ---------------------------------------------------------------------------
// With SDL2 loaded: whether SDL can open the display and make a hidden window with an
// OpenGL 3.3 core context there; `version` (may be NULL) receives the GL_VERSION text.
// Everything made is released again before it returns.
bool PlatRuntimeCanCreateGLContext(PlatLibrary *sdl, char *version, size_t size);

// The reason of the last failure of this module ("" when none).
const char *PlatRuntimeGetErrorText();

// ---- Seam -------------------------------------------------------------------------------
// The operations that reach the system; tests swap in versions that find or miss
// libraries at will. Any NULL entry keeps the real operation.
struct PlatRuntimeFunctions
{
    // Loads by soname: an opaque handle and the library file's path; NULL when missing,
    // with the reason left by calling PlatRuntimeFail.
    void *(*openLibrary)(const char *soname, char *path, size_t size);
    void (*closeLibrary)(void *handle);
    bool (*createGLContext)(void *sdlHandle, char *version, size_t size);
};
// NULL restores the real functions.
void PlatRuntimeSetFunctions(const PlatRuntimeFunctions *functions);
// Leaves a reason in the error text and answers false (for the seam's replacements too).
bool PlatRuntimeFail(const char *format, ...) __attribute__((format(printf, 1, 2)));
