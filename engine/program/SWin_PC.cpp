// SWin over the dialogs stand-in: window placement inside the work area, controls kept
// inside the client area, and the routing of clicks, selections, menu commands and
// Escape to the callbacks.
#include "SWin.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "PlatDialogs.h"

enum
{
    SWIN_RADIO_ID_BASE = 10000, // ids of radio buttons; controls use index + 1
};

static int s_swinClassCounter = 0;

SWin::SWin()
    : created(false), x(0), y(0), width(0), height(0), screenScale(1.0f), quit(false), className(""),
      window(nullptr), colour{0, 0, 0}, userValue(nullptr), commandCB(nullptr)
{
}

SWin::~SWin()
{
    if (window)
        PlatDialogsDestroy(window);
}

bool SWin::CreateMainWindow(const SWinCreateInfo *info)
{
    if (!info)
    {
        DebugError(ENG_FUNC, "No info specified");
        return false;
    }
    if (created)
    {
        DebugError(ENG_FUNC, "Window already created");
        return false;
    }
    int areaX, areaY, areaWidth, areaHeight;
    PlatDialogsGetWorkArea(&areaX, &areaY, &areaWidth, &areaHeight);
    screenScale = PlatDialogsGetScreenScale();

    // The window stays inside the work area, at the scale of the screen.
    float wantedWidth = (float)info->width, wantedHeight = (float)info->height;
    width = wantedWidth > areaWidth / screenScale ? areaWidth / screenScale : wantedWidth;
    height = wantedHeight > areaHeight / screenScale ? areaHeight / screenScale : wantedHeight;
    int pixelWidth = (int)(width * screenScale), pixelHeight = (int)(height * screenScale);
    if (info->x < 0 || info->y < 0)
    {
        x = (float)(areaX + (areaWidth - pixelWidth) / 2);
        y = (float)(areaY + (areaHeight - pixelHeight) / 2);
    }
    else
    {
        x = (float)info->x;
        y = (float)info->y;
    }
    if (x + pixelWidth > areaX + areaWidth)
        x = (float)(areaX + areaWidth - pixelWidth);
    if (y + pixelHeight > areaY + areaHeight)
        y = (float)(areaY + areaHeight - pixelHeight);
    if (x < areaX)
        x = (float)areaX;
    if (y < areaY)
        y = (float)areaY;

    colour[0] = info->red;
    colour[1] = info->green;
    colour[2] = info->blue;
    snprintf(className, sizeof(className), "SWinClass%d", s_swinClassCounter++);

    menus.clear();
    std::vector<PlatDialogMenu> platMenus;
    std::vector<std::vector<PlatDialogMenuItem>> platItems;
    for (int m = 0; info->menus && m < info->menuCount; m++)
    {
        menus.push_back(info->menus[m]);
        platItems.emplace_back();
        for (int i = 0; i < info->menus[m].itemCount; i++)
            platItems.back().push_back({info->menus[m].items[i].text, info->menus[m].items[i].command});
    }
    for (size_t m = 0; m < platItems.size(); m++)
        platMenus.push_back({menus[m].title, platItems[m].data(), (int)platItems[m].size()});

    PlatDialogInfo platInfo = {info->title, (int)x, (int)y, pixelWidth, pixelHeight,
                               colour[0], colour[1], colour[2], platMenus.data(), (int)platMenus.size(),
                               MsgRouter, this};
    window = PlatDialogsCreate(&platInfo);
    if (!window)
    {
        DebugError(ENG_FUNC, "CreateWindow() Failed");
        DebugError(ENG_FUNC, "CreateWindow(): %s", PlatDialogsGetErrorText());
        return false;
    }
    PlatDialogsShow(window);
    created = true;
    quit = false;
    buttons.clear();
    return true;
}

const _SWinButton *SWin::GetButton(int index) const
{
    return index >= 0 && index < (int)buttons.size() ? &buttons[(size_t)index] : nullptr;
}

bool SWin::ValidIndex(int index, const char *function) const
{
    if (index < 0 || index >= (int)buttons.size())
    {
        DebugError(function, "Bad button index %d (%d)", index, (int)buttons.size());
        return false;
    }
    if (!window || !created || buttons[(size_t)index].control == 0)
    {
        DebugError(function, "No window");
        return false;
    }
    return true;
}

// Places a control inside the client area: limited to its size, centred for a negative
// position, moved back inside when it would stick out; then scaled for the screen.
static void PlaceControl(float clientWidth, float clientHeight, float scale, int *x, int *y, int *width, int *height)
{
    int maxWidth = (int)clientWidth, maxHeight = (int)clientHeight;
    if (*width > maxWidth)
        *width = maxWidth;
    if (*height > maxHeight)
        *height = maxHeight;
    if (*x < 0)
        *x = (maxWidth - *width) / 2;
    if (*y < 0)
        *y = (maxHeight - *height) / 2;
    if (*x + *width > maxWidth)
        *x = maxWidth - *width;
    if (*y + *height > maxHeight)
        *y = maxHeight - *height;
    *x = (int)(*x * scale);
    *y = (int)(*y * scale);
    *width = (int)(*width * scale);
    *height = (int)(*height * scale);
}

int SWin::AddButtonToWindow(int type, int x, int y, int width, int height, const char *text)
{
    if (!window || !created)
    {
        DebugError(ENG_FUNC, "No window");
        return -1;
    }
    int kind;
    switch (type)
    {
    case SWIN_GROUP_BOX: kind = PLAT_CONTROL_GROUP_BOX; break;
    case SWIN_LABEL: kind = PLAT_CONTROL_LABEL; break;
    case SWIN_PUSH_BUTTON: kind = PLAT_CONTROL_PUSH_BUTTON; break;
    case SWIN_EDIT: kind = PLAT_CONTROL_EDIT; break;
    case SWIN_RADIO_GROUP: kind = -1; break;
    case SWIN_DROP_LIST: kind = PLAT_CONTROL_DROP_LIST; break;
    case SWIN_PICTURE: kind = PLAT_CONTROL_PICTURE; break;
    default:
        DebugError(ENG_FUNC, "Unknown button type %d", type);
        return -1;
    }
    _SWinButton button = {};
    button.type = type;
    button.selected = -1;
    PlaceControl(this->width, this->height, screenScale, &x, &y, &width, &height);
    button.x = x;
    button.y = y;
    button.width = width;
    button.height = height;
    int index = (int)buttons.size();
    if (kind >= 0)
    {
        button.control = index + 1;
        // A drop-down list reaches to the bottom of the window (the open list's room).
        PlatControlInfo control = {kind, button.control, x, y, width, height,
                                   type == SWIN_PICTURE ? "" : text, PLAT_ALIGN_LEFT, 0};
        if (!PlatDialogsAddControl(window, &control))
        {
            DebugError(ENG_FUNC, "Could not create control: %s", PlatDialogsGetErrorText());
            return -1;
        }
    }
    buttons.push_back(button);
    return index;
}

int SWin::AddPushButtonWithCallback(int x, int y, int width, int height, const char *text, SWinClickCB callback)
{
    int index = AddButtonToWindow(SWIN_PUSH_BUTTON, x, y, width, height, text);
    if (index >= 0)
        PushButtonSetCallback(index, callback);
    return index;
}

bool SWin::PushButtonSetCallback(int index, SWinClickCB callback)
{
    if (index < 0 || index >= (int)buttons.size())
    {
        DebugError(ENG_FUNC, "Bad button index %d (%d)", index, (int)buttons.size());
        return false;
    }
    if (buttons[(size_t)index].type != SWIN_PUSH_BUTTON)
    {
        DebugError(ENG_FUNC, "Not a push button");
        return false;
    }
    buttons[(size_t)index].clickCB = callback;
    return true;
}

bool SWin::SetButtonText(int index, const char *text)
{
    if (!ValidIndex(index, ENG_FUNC))
        return false;
    return PlatDialogsSetText(window, buttons[(size_t)index].control, text);
}

bool SWin::GetButtonText(int index, char *buffer, int size)
{
    if (!ValidIndex(index, ENG_FUNC))
        return false;
    return PlatDialogsGetText(window, buttons[(size_t)index].control, buffer, size);
}

bool SWin::SetButtonTextAlign(int index, int align)
{
    if (!ValidIndex(index, ENG_FUNC))
        return false;
    int platAlign = align == SWIN_ALIGN_CENTRE ? PLAT_ALIGN_CENTRE
                    : align == SWIN_ALIGN_RIGHT ? PLAT_ALIGN_RIGHT
                                                : PLAT_ALIGN_LEFT;
    return PlatDialogsSetAlign(window, buttons[(size_t)index].control, platAlign);
}

int SWin::AddRadioButton(int groupIndex, int x, int y, int width, int height, const char *text)
{
    if (!window || !created)
    {
        DebugError(ENG_FUNC, "No window");
        return -1;
    }
    if (groupIndex < 0 || groupIndex >= (int)buttons.size() || buttons[(size_t)groupIndex].type != SWIN_RADIO_GROUP)
    {
        DebugError(ENG_FUNC, "Not a radio group %d", groupIndex);
        return -1;
    }
    _SWinButton &group = buttons[(size_t)groupIndex];
    PlaceControl(this->width, this->height, screenScale, &x, &y, &width, &height);
    int id = SWIN_RADIO_ID_BASE + groupIndex * 100 + (int)group.radioControls.size();
    PlatControlInfo control = {PLAT_CONTROL_RADIO_BUTTON, id, x, y, width, height, text, PLAT_ALIGN_LEFT,
                               groupIndex + 1};
    if (!PlatDialogsAddControl(window, &control))
    {
        DebugError(ENG_FUNC, "Could not create control: %s", PlatDialogsGetErrorText());
        return -1;
    }
    group.radioControls.push_back(id);
    return (int)group.radioControls.size() - 1;
}

bool SWin::AddListItem(int index, const char *text)
{
    if (!ValidIndex(index, ENG_FUNC))
        return false;
    return PlatDialogsListAdd(window, buttons[(size_t)index].control, text);
}

bool SWin::SetSelection(int index, int selection)
{
    if (index < 0 || index >= (int)buttons.size() || !window)
    {
        DebugError(ENG_FUNC, "Bad button index %d (%d)", index, (int)buttons.size());
        return false;
    }
    _SWinButton &button = buttons[(size_t)index];
    bool done = false;
    if (button.type == SWIN_RADIO_GROUP)
    {
        if (selection >= 0 && selection < (int)button.radioControls.size())
            done = PlatDialogsSetChecked(window, button.radioControls[(size_t)selection], true);
    }
    else
        done = PlatDialogsListSelect(window, button.control, selection);
    if (done)
        button.selected = selection;
    return done;
}

bool SWin::SetChangeCallback(int index, SWinChangeCB callback, int *selectedInt, uint8_t *selectedByte)
{
    if (index < 0 || index >= (int)buttons.size())
    {
        DebugError(ENG_FUNC, "Bad button index %d (%d)", index, (int)buttons.size());
        return false;
    }
    _SWinButton &button = buttons[(size_t)index];
    button.changeCB = callback;
    button.selectedInt = selectedInt;
    button.selectedByte = selectedByte;
    return true;
}

bool SWin::SetPicture(int index, const char *fileName)
{
    if (!ValidIndex(index, ENG_FUNC))
        return false;
    if (buttons[(size_t)index].type != SWIN_PICTURE)
    {
        DebugError(ENG_FUNC, "Not a picture");
        return false;
    }
    return PlatDialogsSetText(window, buttons[(size_t)index].control, fileName);
}

int SWin::ProcessAnyWindowsMessages()
{
    // A window that has been closed simply ends the caller's loop.
    if (quit)
        return 0;
    if (!created || !window)
    {
        DebugError(ENG_FUNC, "No window");
        return 0;
    }
    if (!PlatDialogsPumpOne())
        return 1;
    return quit ? 0 : 2;
}

bool SWin::RunWindowLoop()
{
    if (!created || !window)
    {
        DebugError(ENG_FUNC, "No window");
        return false;
    }
    if (quit)
        return true;
    PlatDialogsRunModal(window);
    return true;
}

void SWin::QuitWindowLoop()
{
    if (!created)
    {
        DebugError(ENG_FUNC, "No window");
        return;
    }
    quit = true;
    PlatDialogsEndModal(window, 0);
}

void SWin::DestroyMainWindow()
{
    if (!created || !window)
    {
        DebugError(ENG_FUNC, "No window");
        return;
    }
    PlatDialogsDestroy(window);
    Destroyed();
}

// What the window's destruction does, however it came about.
void SWin::Destroyed()
{
    window = nullptr;
    quit = true;
    created = false;
}

void SWin::MsgRouter(PlatDialog *dialog, int control, int event, int value, void *user)
{
    SWin *object = (SWin *)user;
    if (!object)
    {
        DebugError("SWin::MsgRouter", "Could not get wnd.");
        return;
    }
    object->HandleEvent(control, event, value);
}

void SWin::HandleEvent(int control, int event, int value)
{
    if (event == PLAT_DIALOG_ESCAPE || event == PLAT_DIALOG_CLOSE)
    {
        DestroyMainWindow();
        return;
    }
    for (size_t index = 0; index < buttons.size(); index++)
    {
        _SWinButton &button = buttons[index];
        if (event == PLAT_DIALOG_CLICKED && button.control == control && button.type == SWIN_PUSH_BUTTON)
        {
            if (button.clickCB)
                button.clickCB(this, userValue);
            return;
        }
        if (event == PLAT_DIALOG_SELECTED && button.control == control && button.type == SWIN_DROP_LIST)
        {
            button.selected = value;
            if (button.selectedInt)
                *button.selectedInt = value;
            if (button.selectedByte)
                *button.selectedByte = (uint8_t)value;
            if (button.changeCB)
                button.changeCB(this, value, userValue);
            return;
        }
        if (event == PLAT_DIALOG_CHECKED && button.type == SWIN_RADIO_GROUP)
            for (size_t radio = 0; radio < button.radioControls.size(); radio++)
                if (button.radioControls[radio] == control)
                {
                    button.selected = (int)radio;
                    if (button.selectedByte)
                        *button.selectedByte = (uint8_t)radio;
                    if (button.changeCB)
                        button.changeCB(this, (int)radio, userValue);
                    return;
                }
    }
    if (commandCB && (event == PLAT_DIALOG_MENU || event == PLAT_DIALOG_CLICKED))
        commandCB(this, control, userValue);
}
