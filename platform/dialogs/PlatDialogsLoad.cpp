// The loader of the dialogs' mirror on the display: the GTK module beside the executable
// is opened at the first call that needs the display, so that a start without a dialog
// neither loads nor links the toolkit. Without the module the dialogs run headless.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "PlatDialogsInternal.h"

static struct
{
    bool tried;
    const PlatGtkMirror *mirror;
} s_load = {false, nullptr};

static void SetErrorTextCB(const char *text)
{
    PlatDialogsSetError("%s", text);
}

// The folder of the running executable, with its trailing '/'; empty when unknown.
static std::string ExecutableFolder()
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return std::string();
    path[length] = 0;
    char *slash = strrchr(path, '/');
    return slash ? std::string(path, (size_t)(slash - path + 1)) : std::string();
}

static const PlatGtkMirror *Mirror()
{
    if (s_load.tried)
        return s_load.mirror;
    s_load.tried = true;
    // Beside the executable in the build tree; in lib/plinx next to its bin folder once installed.
    std::string folder = ExecutableFolder();
    std::string file = folder + PLAT_GTK_MODULE_FILE;
    void *module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
    {
        file = folder + "../lib/plinx/" PLAT_GTK_MODULE_FILE;
        module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (!module)
    {
        PlatDialogsSetError("No display for dialogs: %s", dlerror());
        return nullptr;
    }
    PlatGtkOpenMirrorFn open = (PlatGtkOpenMirrorFn)dlsym(module, PLAT_GTK_OPEN_MIRROR);
    static const PlatGtkCore core = {PlatDialogsDeliver, SetErrorTextCB};
    s_load.mirror = open ? open(&core) : nullptr;
    if (!s_load.mirror)
    {
        PlatDialogsSetError("No display for dialogs: <%s> has no usable entry", file.c_str());
        dlclose(module);
        return nullptr;
    }
    // The module stays loaded to the end: the toolkit cannot be unloaded.
    return s_load.mirror;
}

bool PlatGtkStart()
{
    const PlatGtkMirror *mirror = Mirror();
    return mirror && mirror->start();
}

// The rest run only once the start succeeded (the dialogs are then live).
bool PlatGtkCreateWindow(PlatDialog *dialog)
{
    return Mirror()->createWindow(dialog);
}

void PlatGtkDestroyWindow(PlatDialog *dialog)
{
    Mirror()->destroyWindow(dialog);
}

void PlatGtkShowWindow(PlatDialog *dialog)
{
    Mirror()->showWindow(dialog);
}

void PlatGtkSetTitle(PlatDialog *dialog)
{
    Mirror()->setTitle(dialog);
}

bool PlatGtkSetIcon(PlatDialog *dialog, const char *fileName)
{
    return Mirror()->setIcon(dialog, fileName);
}

bool PlatGtkAddControl(PlatDialog *dialog, PlatControl *control)
{
    return Mirror()->addControl(dialog, control);
}

void PlatGtkSyncControl(PlatControl *control)
{
    Mirror()->syncControl(control);
}

void PlatGtkSetDefault(PlatDialog *dialog, PlatControl *control)
{
    Mirror()->setDefault(dialog, control);
}

int PlatGtkPumpOne(bool wait)
{
    return Mirror()->pumpOne(wait);
}

bool PlatGtkGetWorkArea(int *x, int *y, int *width, int *height)
{
    return Mirror()->getWorkArea(x, y, width, height);
}

float PlatGtkGetScreenScale()
{
    return Mirror()->getScreenScale();
}
