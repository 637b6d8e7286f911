// The portable half of the dialogs: every window's controls and their state, the events a
// person (or a test) causes, and modal runs. The window system only mirrors this state.
// Sections: set-up and screen, windows, controls, events, running.
#include "PlatDialogs.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "PlatDialogsInternal.h"

enum
{
    DIALOG_BASE_X = 7,  // pixels of an average character of the dialog font
    DIALOG_BASE_Y = 16, // pixels of a character height
    HEADLESS_MAX_TURNS = 1000,
};

static struct
{
    bool forceHeadless;
    PlatDialogsScriptFn script;
    void *scriptUser;
    char error[256];
} s_dialogs = {false, nullptr, nullptr, ""};

void PlatDialogsSetError(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(s_dialogs.error, sizeof(s_dialogs.error), format, args);
    va_end(args);
}

const char *PlatDialogsGetErrorText()
{
    return s_dialogs.error;
}

// ---- Set-up and screen ------------------------------------------------------------------

bool PlatDialogsHaveDisplay()
{
    return !s_dialogs.forceHeadless && PlatGtkStart();
}

void PlatDialogsForceHeadless(bool headless)
{
    s_dialogs.forceHeadless = headless;
}

void PlatDialogsGetWorkArea(int *x, int *y, int *width, int *height)
{
    int areaX = 0, areaY = 0, areaWidth = 1280, areaHeight = 1024;
    if (PlatDialogsHaveDisplay())
        PlatGtkGetWorkArea(&areaX, &areaY, &areaWidth, &areaHeight);
    if (x)
        *x = areaX;
    if (y)
        *y = areaY;
    if (width)
        *width = areaWidth;
    if (height)
        *height = areaHeight;
}

float PlatDialogsGetScreenScale()
{
    return PlatDialogsHaveDisplay() ? PlatGtkGetScreenScale() : 1.0f;
}

int PlatDialogsUnitsToPixelsX(int units)
{
    return (units * DIALOG_BASE_X + 2) / 4;
}

int PlatDialogsUnitsToPixelsY(int units)
{
    return (units * DIALOG_BASE_Y + 4) / 8;
}

// ---- Windows ------------------------------------------------------------------------------

PlatDialog *PlatDialogsCreate(const PlatDialogInfo *info)
{
    if (!info || info->width <= 0 || info->height <= 0)
    {
        PlatDialogsSetError("Bad window description");
        return nullptr;
    }
    PlatDialog *dialog = new PlatDialog();
    dialog->title = info->title ? info->title : "";
    dialog->x = info->x;
    dialog->y = info->y;
    dialog->width = info->width;
    dialog->height = info->height;
    dialog->red = info->red;
    dialog->green = info->green;
    dialog->blue = info->blue;
    for (int m = 0; info->menus && m < info->menuCount; m++)
    {
        PlatMenuCopy menu;
        menu.title = info->menus[m].title ? info->menus[m].title : "";
        for (int i = 0; i < info->menus[m].itemCount; i++)
        {
            const PlatDialogMenuItem &item = info->menus[m].items[i];
            menu.items.push_back({item.text ? item.text : "", item.text == nullptr, item.id});
        }
        dialog->menus.push_back(menu);
    }
    dialog->callback = info->callback;
    dialog->user = info->user;
    dialog->modalResult = 0;
    dialog->live = PlatDialogsHaveDisplay();
    if (dialog->live && !PlatGtkCreateWindow(dialog))
    {
        delete dialog;
        return nullptr;
    }
    return dialog;
}

static void FreeDialog(PlatDialog *dialog)
{
    if (dialog->live)
        PlatGtkDestroyWindow(dialog);
    for (PlatControl *control : dialog->controls)
        delete control;
    delete dialog;
}

void PlatDialogsDestroy(PlatDialog *dialog)
{
    if (!dialog)
        return;
    if (dialog->busy > 0)
    {
        // Freed when the running delivery or modal loop returns; end the loop now.
        dialog->destroyRequested = true;
        dialog->modalEnded = true;
        return;
    }
    FreeDialog(dialog);
}

// Ends a stretch in which the dialog must stay allocated; frees it when that was asked for.
static void ReleaseDialog(PlatDialog *dialog)
{
    dialog->busy--;
    if (dialog->busy == 0 && dialog->destroyRequested)
        FreeDialog(dialog);
}

void PlatDialogsShow(PlatDialog *dialog)
{
    if (!dialog || dialog->destroyRequested)
        return;
    dialog->shown = true;
    if (dialog->live)
        PlatGtkShowWindow(dialog);
}

void PlatDialogsSetTitle(PlatDialog *dialog, const char *title)
{
    if (!dialog)
        return;
    dialog->title = title ? title : "";
    if (dialog->live)
        PlatGtkSetTitle(dialog);
}

bool PlatDialogsSetIcon(PlatDialog *dialog, const char *fileName)
{
    if (!dialog || !fileName)
        return false;
    return dialog->live ? PlatGtkSetIcon(dialog, fileName) : true;
}

// ---- Controls -----------------------------------------------------------------------------

static PlatControl *FindControl(PlatDialog *dialog, int id)
{
    if (!dialog || dialog->destroyRequested)
        return nullptr;
    for (PlatControl *control : dialog->controls)
        if (control->id == id)
            return control;
    return nullptr;
}

static PlatControl *FindControlOfKind(PlatDialog *dialog, int id, int kind)
{
    PlatControl *control = FindControl(dialog, id);
    return control && control->kind == kind ? control : nullptr;
}

static void Sync(PlatControl *control)
{
    if (control->dialog->live)
        PlatGtkSyncControl(control);
}

bool PlatDialogsAddControl(PlatDialog *dialog, const PlatControlInfo *info)
{
    if (!dialog || dialog->destroyRequested || !info)
    {
        PlatDialogsSetError("No window");
        return false;
    }
    if (info->kind < PLAT_CONTROL_GROUP_BOX || info->kind > PLAT_CONTROL_PICTURE)
    {
        PlatDialogsSetError("Unknown control kind %d", info->kind);
        return false;
    }
    if (info->id <= 0 || FindControl(dialog, info->id))
    {
        PlatDialogsSetError("Bad or repeated control id %d", info->id);
        return false;
    }
    PlatControl *control = new PlatControl();
    control->dialog = dialog;
    control->kind = info->kind;
    control->id = info->id;
    control->x = info->x;
    control->y = info->y;
    control->width = info->width;
    control->height = info->height;
    control->text = info->text ? info->text : "";
    control->align = info->align;
    control->group = info->group;
    control->selection = -1;
    control->enabled = true;
    if (dialog->live && !PlatGtkAddControl(dialog, control))
    {
        delete control;
        return false;
    }
    dialog->controls.push_back(control);
    return true;
}

bool PlatDialogsHasControl(PlatDialog *dialog, int id)
{
    return FindControl(dialog, id) != nullptr;
}

bool PlatDialogsSetText(PlatDialog *dialog, int id, const char *text)
{
    PlatControl *control = FindControl(dialog, id);
    if (!control)
        return false;
    control->text = text ? text : "";
    Sync(control);
    return true;
}

static void CopyOut(const std::string &text, char *buffer, int size)
{
    if (!buffer || size <= 0)
        return;
    size_t length = text.size() < (size_t)size - 1 ? text.size() : (size_t)size - 1;
    memcpy(buffer, text.data(), length);
    buffer[length] = 0;
}

bool PlatDialogsGetText(PlatDialog *dialog, int id, char *buffer, int size)
{
    PlatControl *control = FindControl(dialog, id);
    if (!control || !buffer || size <= 0)
        return false;
    CopyOut(control->text, buffer, size);
    return true;
}

bool PlatDialogsSetAlign(PlatDialog *dialog, int id, int align)
{
    PlatControl *control = FindControl(dialog, id);
    if (!control || align < PLAT_ALIGN_LEFT || align > PLAT_ALIGN_RIGHT)
        return false;
    control->align = align;
    Sync(control);
    return true;
}

bool PlatDialogsSetEnabled(PlatDialog *dialog, int id, bool enabled)
{
    PlatControl *control = FindControl(dialog, id);
    if (!control)
        return false;
    control->enabled = enabled;
    Sync(control);
    return true;
}

bool PlatDialogsIsEnabled(PlatDialog *dialog, int id)
{
    PlatControl *control = FindControl(dialog, id);
    return control && control->enabled;
}

// Checks one radio button and unchecks the others of its group (state only).
static void CheckRadio(PlatControl *control, bool checked)
{
    if (checked)
        for (PlatControl *other : control->dialog->controls)
            if (other != control && other->kind == PLAT_CONTROL_RADIO_BUTTON && other->group == control->group &&
                other->checked)
            {
                other->checked = false;
                Sync(other);
            }
    control->checked = checked;
    Sync(control);
}

bool PlatDialogsSetChecked(PlatDialog *dialog, int id, bool checked)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_RADIO_BUTTON);
    if (!control)
        return false;
    CheckRadio(control, checked);
    return true;
}

bool PlatDialogsIsChecked(PlatDialog *dialog, int id)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_RADIO_BUTTON);
    return control && control->checked;
}

bool PlatDialogsListClear(PlatDialog *dialog, int id)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
    if (!control)
        return false;
    control->items.clear();
    control->selection = -1;
    Sync(control);
    return true;
}

bool PlatDialogsListAdd(PlatDialog *dialog, int id, const char *text)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
    if (!control)
        return false;
    control->items.push_back(text ? text : "");
    Sync(control);
    return true;
}

int PlatDialogsListGetCount(PlatDialog *dialog, int id)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
    return control ? (int)control->items.size() : 0;
}

bool PlatDialogsListGetItem(PlatDialog *dialog, int id, int index, char *buffer, int size)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
    if (!control || index < 0 || index >= (int)control->items.size())
        return false;
    CopyOut(control->items[(size_t)index], buffer, size);
    return true;
}

bool PlatDialogsListSelect(PlatDialog *dialog, int id, int index)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
    if (!control || index < -1 || index >= (int)control->items.size())
        return false;
    control->selection = index;
    Sync(control);
    return true;
}

int PlatDialogsListGetSelection(PlatDialog *dialog, int id)
{
    PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
    return control ? control->selection : -1;
}

bool PlatDialogsSetDefaultButton(PlatDialog *dialog, int id)
{
    if (!dialog)
        return false;
    PlatControl *control = nullptr;
    if (id != 0 && !(control = FindControlOfKind(dialog, id, PLAT_CONTROL_PUSH_BUTTON)))
        return false;
    dialog->defaultId = id;
    if (dialog->live)
        PlatGtkSetDefault(dialog, control);
    return true;
}

// ---- Events ---------------------------------------------------------------------------------

void PlatDialogsDeliver(PlatDialog *dialog, int id, int event, int value)
{
    if (!dialog || dialog->destroyRequested)
        return;
    PlatControl *control = nullptr;
    switch (event)
    {
    case PLAT_DIALOG_CLICKED:
        control = FindControlOfKind(dialog, id, PLAT_CONTROL_PUSH_BUTTON);
        if (!control || !control->enabled)
            return;
        break;
    case PLAT_DIALOG_SELECTED:
        control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
        if (!control || !control->enabled || value < 0 || value >= (int)control->items.size())
            return;
        if (control->selection == value)
            return;
        control->selection = value;
        break;
    case PLAT_DIALOG_CHECKED:
        control = FindControlOfKind(dialog, id, PLAT_CONTROL_RADIO_BUTTON);
        if (!control || !control->enabled)
            return;
        CheckRadio(control, true);
        value = 1;
        break;
    case PLAT_DIALOG_ENTER:
        if (dialog->defaultId != 0)
        {
            PlatDialogsDeliver(dialog, dialog->defaultId, PLAT_DIALOG_CLICKED, 0);
            return;
        }
        id = 0;
        break;
    case PLAT_DIALOG_MENU:
        break;
    case PLAT_DIALOG_CLOSE:
    case PLAT_DIALOG_ESCAPE:
        id = 0;
        break;
    default:
        return;
    }
    if (!dialog->callback)
        return;
    dialog->busy++;
    dialog->callback(dialog, id, event, value, dialog->user);
    ReleaseDialog(dialog);
}

bool PlatDialogsSimulate(PlatDialog *dialog, int id, int event, int value)
{
    if (!dialog || dialog->destroyRequested)
        return false;
    if (event == PLAT_DIALOG_SELECTED)
    {
        // The list shows the new choice before the program hears of it, as on screen.
        PlatControl *control = FindControlOfKind(dialog, id, PLAT_CONTROL_DROP_LIST);
        if (!control || !control->enabled || value < 0 || value >= (int)control->items.size())
            return false;
        if (control->selection != value && dialog->live)
        {
            int old = control->selection;
            control->selection = value;
            Sync(control);
            control->selection = old;
        }
    }
    else if (event == PLAT_DIALOG_CLICKED || event == PLAT_DIALOG_CHECKED)
    {
        PlatControl *control = FindControl(dialog, id);
        if (!control || !control->enabled)
            return false;
    }
    PlatDialogsDeliver(dialog, id, event, value);
    return true;
}

// ---- Running --------------------------------------------------------------------------------

int PlatDialogsPumpOne()
{
    if (s_dialogs.forceHeadless || !PlatGtkStart())
        return 0;
    return PlatGtkPumpOne(false);
}

void PlatDialogsSetScript(PlatDialogsScriptFn script, void *user)
{
    s_dialogs.script = script;
    s_dialogs.scriptUser = user;
}

void PlatDialogsEndModal(PlatDialog *dialog, int result)
{
    if (!dialog)
        return;
    dialog->modalEnded = true;
    dialog->modalResult = result;
}

int PlatDialogsRunModal(PlatDialog *dialog)
{
    if (!dialog || dialog->destroyRequested)
        return 0;
    dialog->busy++;
    dialog->modalEnded = false;
    dialog->modalResult = 0;
    PlatDialogsShow(dialog);
    for (int turn = 0; !dialog->modalEnded; turn++)
    {
        if (dialog->live)
        {
            PlatGtkPumpOne(true);
            continue;
        }
        if (s_dialogs.script && turn < HEADLESS_MAX_TURNS)
        {
            s_dialogs.script(dialog, s_dialogs.scriptUser);
            continue;
        }
        // Nobody there to answer: press Enter, as a message box answers its default.
        PlatDialogsDeliver(dialog, 0, PLAT_DIALOG_ENTER, 0);
        if (!dialog->modalEnded)
            dialog->modalEnded = true;
    }
    int result = dialog->modalResult;
    ReleaseDialog(dialog);
    return result;
}
