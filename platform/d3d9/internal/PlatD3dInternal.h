// What the stand-in's own files share: the error text, the display snapshot of a
// device object, and the resource bookkeeping between devices and their resources.
#pragma once
#include "PlatD3d9.h"

void PlatD3dSetErrorText(const char *format, ...) __attribute__((format(printf, 1, 2)));
// The file name with Windows separators turned into ours.
void PlatD3dxImagePath(const char *file, char *path, size_t size);

// The adapters and modes a device object sees, taken when it is created.
struct PlatD3d
{
    uint32_t references;
    bool holdsVideo; // a holder of the window stand-in's video
    PlatD3dFakeDisplay display;
};

bool PlatD3dIsOfferedMultiSample(const PlatD3dFakeAdapter &adapter, uint32_t type, uint32_t *levels);

// The GL executor's programs, for tests that compare them: on, every executor draws
// through its general program alone; off (the default), through programs specialised to
// the state of each draw. The count is of specialised programs built in this process.
void PlatD3dGLSetGeneralOnly(bool on);
uint32_t PlatD3dGLGetSpecialisedCount();
