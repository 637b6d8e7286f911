// The main window's desktop side over platform/win: the OS window, the window procedure
// that turns window messages into the engine's input events, the message pump step of
// the main loop, the mouse poll and the cursor.
//
// Sections: OS window; service and messages; window procedure; mouse and cursor;
// texture cursor.
#include <cstring>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "PlatD3d9.h"
#include "PlatWin.h"

// The stand-in hands the window procedure Windows virtual-key codes as plain numbers; the
// engine's own names for them must stay the same numbers.
#define ENG_SAME_KEY(name) static_assert((int)ENG_##name == (int)PLAT_##name, #name)
ENG_SAME_KEY(VK_ADD);
ENG_SAME_KEY(VK_BACK);
ENG_SAME_KEY(VK_CONTROL);
ENG_SAME_KEY(VK_DELETE);
ENG_SAME_KEY(VK_DOWN);
ENG_SAME_KEY(VK_END);
ENG_SAME_KEY(VK_ESCAPE);
ENG_SAME_KEY(VK_F1);
ENG_SAME_KEY(VK_F10);
ENG_SAME_KEY(VK_F11);
ENG_SAME_KEY(VK_F12);
ENG_SAME_KEY(VK_HOME);
ENG_SAME_KEY(VK_INSERT);
ENG_SAME_KEY(VK_LBUTTON);
ENG_SAME_KEY(VK_LEFT);
ENG_SAME_KEY(VK_MBUTTON);
ENG_SAME_KEY(VK_MENU);
ENG_SAME_KEY(VK_NEXT);
ENG_SAME_KEY(VK_NUMPAD0);
ENG_SAME_KEY(VK_PRIOR);
ENG_SAME_KEY(VK_RBUTTON);
ENG_SAME_KEY(VK_RETURN);
ENG_SAME_KEY(VK_RIGHT);
ENG_SAME_KEY(VK_SHIFT);
ENG_SAME_KEY(VK_SPACE);
ENG_SAME_KEY(VK_SUBTRACT);
ENG_SAME_KEY(VK_TAB);
ENG_SAME_KEY(VK_UP);
#undef ENG_SAME_KEY

// The program's icon, in the working folder (the executable's).
static const char *const ICON_FILE = "Data/PlinxIcon.png";

static int s_osWindowCount = 0;

static int32_t EngWindowProc(PlatWindow *window, const PlatMessage *message, void *user)
{
    return ((EngWindow *)user)->HandleMessage(message);
}

// ---- OS window ---------------------------------------------------------------------------------

// Gives the new window the program's icon; windows re-created for another mode get it
// from platform/win. Without a usable picture the window simply has none.
static void EngWindowSetIcon_PC(PlatWindow *window)
{
    int32_t width = 0, height = 0;
    uint8_t *rgba = PlatD3dxLoadImageFile(ICON_FILE, &width, &height);
    if (!rgba)
    {
        DebugError(ENG_FUNC, "No window icon: %s", PlatD3dGetErrorText());
        return;
    }
    if (!PlatWinSetWindowIcon(window, rgba, width, height))
        DebugError(ENG_FUNC, "No window icon: %s", PlatWinGetErrorText());
    PlatD3dxFreeImage(rgba);
}

bool EngWindow::CreateOSWindow()
{
    if (!program)
        return false;
    if (s_osWindowCount > 0)
    {
        EngMiscMessageBox("CreateWindow", "More than one window not supported", ENG_MB_OK, ENG_MB_ICON_ERROR);
        return false;
    }
    // The style the window is made with: a framed, resizable window with minimise and
    // maximise boxes, or a pop-up covering the display.
    style = parms.windowed ? 0x10CF0000u : 0x90000000u;
    PlatWindowParms os = {};
    os.title = title;
    os.x = parms.windowed ? parms.x : -1;
    os.y = parms.windowed ? parms.y : -1;
    os.width = parms.width > 0 ? parms.width : 1;
    os.height = parms.height > 0 ? parms.height : 1;
    os.fullScreen = !parms.windowed;
    os.resizable = parms.windowed != 0;
    os.proc = EngWindowProc;
    os.user = this;
    osWindow = PlatWinCreateWindow(&os);
    if (!osWindow)
    {
        DebugError(ENG_FUNC, "%s", PlatWinGetErrorText());
        EngMiscMessageBox("CreateWindow", "CreateWindow() Failed", ENG_MB_OK, ENG_MB_ICON_ERROR);
        return false;
    }
    s_osWindowCount++;
    if (!recreating)
        EngWindowSetIcon_PC(osWindow);
    minimised = 0;
    maximised = 0;
    mouseOutside = 1;
    int width = 0, height = 0;
    GetClientSize(&width, &height);
    SetScreenSize(parms.windowed ? 1 : 0, width, height, parms.depth, parms.refresh);
    return true;
}

void EngWindow::DestroyOSWindow()
{
    if (!osWindow)
        return;
    PlatWinDestroyWindow(osWindow);
    osWindow = nullptr;
    s_osWindowCount--;
    // A window made later from scratch loads the icon afresh.
    if (!recreating)
        PlatWinSetWindowIcon(nullptr, nullptr, 0, 0);
}

void EngWindow::GetClientSize(int *width, int *height)
{
    int32_t w = 0, h = 0;
    PlatWinGetClientSize(osWindow, &w, &h);
    *width = w;
    *height = h;
}

void EngWindow::MinimiseOSWindow()
{
    PlatWinMinimiseWindow(osWindow);
}

bool EngWindow::GetWindowPos(int *x, int *y)
{
    int32_t left = 0, top = 0;
    bool windowed = EngScreenSettings.windowed != 0;
    if (!windowed)
        DebugError(ENG_FUNC, "Not running in windowed mode");
    else if (osWindow)
        PlatWinGetClientRect(osWindow, &left, &top, nullptr, nullptr);
    if (x)
        *x = left;
    if (y)
        *y = top;
    return windowed;
}

// ---- Service and messages -----------------------------------------------------------------------

void EngWindow::DispatchOneMessage()
{
    PlatMessage message;
    if (PlatWinPeekMessage(&message, true))
        PlatWinDispatchMessage(&message);
}

void EngWindow::Service()
{
    if (recreateRequest)
    {
        recreateRequest = 0;
        DoRecreateDevice(EngProgramGetMainDeviceType());
    }
    else if (resolutionPending)
    {
        resolutionPending = 0;
        DoChangeResolution();
        EngResolutionChangedFn callback = resolutionCallback;
        resolutionCallback = nullptr;
        if (callback)
            callback(resolutionUser);
    }
    DispatchOneMessage();
}

bool EngProgramDiscardPendingInput()
{
    PlatMessage message;
    while (PlatWinPeekMessage(&message, true))
    {
        switch (message.message)
        {
        case PLAT_WM_QUIT:
            return false;
        case PLAT_WM_KEYDOWN:
        case PLAT_WM_CHAR:
        case PLAT_WM_LBUTTONDOWN:
        case PLAT_WM_LBUTTONDBLCLK:
        case PLAT_WM_RBUTTONDOWN:
        case PLAT_WM_MBUTTONDOWN:
        case PLAT_WM_MOUSEWHEEL:
            break;
        default:
            PlatWinDispatchMessage(&message);
            break;
        }
    }
    return false;
}

// ---- Window procedure -------------------------------------------------------------------------

static int32_t EngWindowFloatBits(int32_t pixels)
{
    // Positions arrive as signed 16-bit client coordinates.
    float value = (float)(int16_t)pixels;
    int32_t bits;
    memcpy(&bits, &value, sizeof(bits));
    return bits;
}

static bool EngWindowIsSystemStateKey(int32_t key)
{
    return key == ENG_VK_MENU || key == ENG_VK_F10 || key == ENG_VK_F11 || key == ENG_VK_F12;
}

int32_t EngWindow::HandleMessage(const PlatMessage *message)
{
    int32_t key = message->wParam & 0xFF;
    switch (message->message)
    {
    case PLAT_WM_MOUSEMOVE:
        if (mouseOutside)
        {
            mouseOutside = 0;
            EngKeyStates[ENG_VK_LBUTTON] = PlatWinIsMouseButtonDown(PLAT_VK_LBUTTON) ? 2 : 0;
            EngKeyStates[ENG_VK_RBUTTON] = PlatWinIsMouseButtonDown(PLAT_VK_RBUTTON) ? 2 : 0;
            EngKeyStates[ENG_VK_MBUTTON] = PlatWinIsMouseButtonDown(PLAT_VK_MBUTTON) ? 2 : 0;
            TextureCursorLeavingWindowCB_PC(false);
            PlatWinTrackMouseLeave(osWindow);
        }
        lastCursorX = message->x;
        lastCursorY = message->y;
        textureCursor.x = (float)(int16_t)message->x * EngScreenSettings.scaleToVirtualX;
        textureCursor.y = (float)(int16_t)message->y * EngScreenSettings.scaleToVirtualY;
        SendInput(ENG_INPUT_MOUSE_MOVE, EngWindowFloatBits(message->x), EngWindowFloatBits(message->y), true);
        return 0;
    case PLAT_WM_LBUTTONDOWN:
        EngKeyStates[ENG_VK_LBUTTON] = 2;
        SendInput(ENG_INPUT_BUTTON, 0, 1, false);
        return 0;
    case PLAT_WM_LBUTTONUP:
        EngKeyStates[ENG_VK_LBUTTON] = 0;
        // The release that ends a double click is part of it.
        if (lastDoubleClickTime > 0 && EngMiscGetClock_PC() - lastDoubleClickTime < 0.1)
        {
            lastDoubleClickTime = 0;
            return 0;
        }
        SendInput(ENG_INPUT_BUTTON, 0, 0, false);
        return 0;
    case PLAT_WM_LBUTTONDBLCLK:
        SendInput(ENG_INPUT_DOUBLE_CLICK, 0, 0, false);
        lastDoubleClickTime = EngMiscGetClock_PC();
        return 0;
    case PLAT_WM_RBUTTONDOWN:
    case PLAT_WM_RBUTTONUP:
        EngKeyStates[ENG_VK_RBUTTON] = message->message == PLAT_WM_RBUTTONDOWN ? 2 : 0;
        SendInput(ENG_INPUT_BUTTON, 1, message->message == PLAT_WM_RBUTTONDOWN ? 1 : 0, false);
        return 0;
    case PLAT_WM_MBUTTONDOWN:
    case PLAT_WM_MBUTTONUP:
        EngKeyStates[ENG_VK_MBUTTON] = message->message == PLAT_WM_MBUTTONDOWN ? 2 : 0;
        SendInput(ENG_INPUT_BUTTON, 2, message->message == PLAT_WM_MBUTTONDOWN ? 1 : 0, false);
        return 0;
    case PLAT_WM_MOUSEWHEEL:
        SendInput(ENG_INPUT_WHEEL, (message->wParam / 120) * PlatWinGetWheelScrollLines(), 2, false);
        return 0;
    case PLAT_WM_KEYDOWN:
        EngKeyStates[key] = 2;
        SendInput(ENG_INPUT_KEY_DOWN, message->wParam, 0, false);
        return 0;
    case PLAT_WM_KEYUP:
        EngKeyStates[key] = 0;
        SendInput(ENG_INPUT_KEY_UP, message->wParam, 0, false);
        return 0;
    case PLAT_WM_CHAR:
        SendInput(ENG_INPUT_CHARACTER, message->wParam, 0, false);
        return 0;
    case PLAT_WM_SYSKEYDOWN:
        if (EngWindowIsSystemStateKey(key))
        {
            EngKeyStates[key] = 2;
            return 0;
        }
        if (key == ENG_VK_RETURN)
        {
            // Alt+Enter; a held Enter repeats its key message, but toggles only once.
            if (!message->repeat && !ToggleFullscreenMode())
                DebugFatalIfFalseInFunction(false, ENG_FUNC, "Toggle fullscreen/window mode failed");
            return 0;
        }
        return PlatWinDefWindowProc(message);
    case PLAT_WM_SYSKEYUP:
        if (EngWindowIsSystemStateKey(key))
        {
            EngKeyStates[key] = 0;
            return 0;
        }
        return PlatWinDefWindowProc(message);
    case PLAT_WM_CLOSE:
        program->SetQuitFlag();
        return PlatWinDefWindowProc(message);
    case PLAT_WM_DESTROY:
        program->SetQuitFlag();
        PlatWinPostQuitMessage(0);
        program->QuitMainLoop();
        return 0;
    case PLAT_WM_SIZE:
        HandleSize(message->wParam);
        return 0;
    case PLAT_WM_ACTIVATE:
        HandleActivation(message->wParam != 0);
        return 0;
    case PLAT_WM_PAINT:
        if (program->GetMainLoopMode() == ENG_LOOP_EVENT_DRIVEN)
            program->RequestEventDrivenRedraw(false);
        return PlatWinDefWindowProc(message);
    case PLAT_WM_POWERBROADCAST:
        if (message->wParam == PLAT_POWER_SUSPEND)
            program->Suspend();
        else if (message->wParam == PLAT_POWER_RESUME)
            program->Resume();
        return 0;
    case PLAT_WM_EXITSIZEMOVE:
        HandleResize(false);
        return 0;
    case PLAT_WM_MOUSELEAVE:
        mouseOutside = 1;
        GetMouseCursorPos(&lastCursorX, &lastCursorY);
        leftHeldOnLeave = EngKeyStates[ENG_VK_LBUTTON] == 2 ? 1 : 0;
        TextureCursorLeavingWindowCB_PC(true);
        return 0;
    default:
        return PlatWinDefWindowProc(message);
    }
}

// ---- Mouse and cursor -----------------------------------------------------------------------------

void EngWindow::PollMouse()
{
    if (!mouseOutside || !active || !osWindow)
        return;
    if (leftHeldOnLeave && !PlatWinIsMouseButtonDown(PLAT_VK_LBUTTON))
    {
        EngKeyStates[ENG_VK_LBUTTON] = 0;
        leftHeldOnLeave = 0;
        releasedOutside = 1;
    }
    int x = 0, y = 0;
    GetMouseCursorPos(&x, &y);
    if (x == lastCursorX && y == lastCursorY)
        return;
    lastCursorX = x;
    lastCursorY = y;
    SendInput(ENG_INPUT_MOUSE_MOVE, EngWindowFloatBits(x), EngWindowFloatBits(y), true);
}

void EngWindow::GetMouseCursorPos(int *x, int *y)
{
    int32_t screenX = 0, screenY = 0, left = 0, top = 0;
    if (created && osWindow)
    {
        PlatWinGetCursorPos(&screenX, &screenY);
        PlatWinGetClientRect(osWindow, &left, &top, nullptr, nullptr);
    }
    if (x)
        *x = screenX - left;
    if (y)
        *y = screenY - top;
}

void EngWindow::SetMouseCursorPos(int x, int y)
{
    if (!created || !osWindow)
        return;
    int32_t screenX = x, screenY = y;
    PlatWinClientToScreen(osWindow, &screenX, &screenY);
    PlatWinSetCursorPos(screenX, screenY);
}

void EngWindow::SetMouseCursorPosVirtual(float x, float y)
{
    if (!created || !osWindow)
        return;
    int32_t left = 0, top = 0, width = 0, height = 0;
    PlatWinGetClientRect(osWindow, &left, &top, &width, &height);
    if (!EngScreenSettings.windowed)
    {
        width = EngScreenSettings.width;
        height = EngScreenSettings.height;
    }
    PlatWinSetCursorPos(left + (int32_t)((float)width * x / 640.0f), top + (int32_t)((float)height * y / 480.0f));
}

// ---- Texture cursor ---------------------------------------------------------------------------------

bool EngWindow::SetupTextureCursor_PC(const char *fileName, int hotSpotX, int hotSpotY, int width, int height,
                                      bool useCorrections, void *loadPointer, int loadValue)
{
    if (!fileName || !fileName[0] || strlen(fileName) >= sizeof(textureCursor.fileName))
    {
        DebugError(ENG_FUNC, "Invalid Filename");
        return false;
    }
    EngSafeStrcpy(textureCursor.fileName, fileName, sizeof(textureCursor.fileName));
    textureCursor.hotSpot[0] = hotSpotX;
    textureCursor.hotSpot[1] = hotSpotY;
    textureCursor.size[0] = width;
    textureCursor.size[1] = height;
    textureCursor.useCorrections = useCorrections ? 1 : 0;
    textureCursor.loadPointer = loadPointer;
    textureCursor.loadValue = loadValue;
    // The texture takes the system cursor's place.
    int count = PlatWinShowCursor(false);
    for (int i = 1; i < 100 && count >= 0; i++)
        count = PlatWinShowCursor(false);
    textureCursor.on = 1;
    return true;
}

void EngWindow::TextureCursorLeavingWindowCB_PC(bool leaving)
{
    if (!textureCursor.on)
        return;
    // Outside the window only the system cursor can be seen.
    int count = PlatWinShowCursor(leaving);
    for (int i = 1; i < 100 && (leaving ? count < 0 : count >= 0); i++)
        count = PlatWinShowCursor(leaving);
}

void EngWindow::DrawTextureCursor_PC()
{
    if (!IsMouseOutside())
        EngTextureCursorDraw_DX9(&textureCursor);
}

void EngWindow::ShowMouseCursor()
{
    if (!created)
        return;
    textureCursor.visible = 1;
    if (textureCursor.on)
        return;
    int count = PlatWinShowCursor(true);
    for (int i = 1; i < 100 && count < 0; i++)
        count = PlatWinShowCursor(true);
}

void EngWindow::HideMouseCursor()
{
    if (!created)
        return;
    textureCursor.visible = 0;
    int count = PlatWinShowCursor(false);
    for (int i = 1; i < 100 && count >= 0; i++)
        count = PlatWinShowCursor(false);
}

