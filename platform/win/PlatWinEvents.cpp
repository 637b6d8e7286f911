// The message queue: SDL events become window messages with Windows semantics (virtual
// keys, Windows-1252 characters with the control characters of an edit field, double
// clicks, wheel deltas of 120 per notch, one mouse-leave per request), mouse motion is
// coalesced, and messages are handed out one at a time.
#include <cstring>

#include "PlatClock.h"
#include "PlatWinInternal.h"

enum
{
    QUEUE_SIZE = 4096,
    DOUBLE_CLICK_DISTANCE = 2, // pixels either way, as a 4x4 double-click rectangle
};

static struct
{
    PlatMessage queue[QUEUE_SIZE];
    int32_t head;  // index of the oldest message
    int32_t count;
    uint16_t modifiers; // SDL modifier state of the last key event
    uint32_t doubleClickTime;
    // The last left press: a second one close in time and place is a double click,
    // and the press after a double click starts afresh.
    PlatWindow *lastLeftWindow;
    uint32_t lastLeftTime;
    int32_t lastLeftX, lastLeftY;
    bool lastLeftWasDouble;
    bool haveLastLeft;
} s_events = {{}, 0, 0, 0, 500, nullptr, 0, 0, 0, false, false};

// ---- Queue -----------------------------------------------------------------------------

static PlatMessage *PlatWinQueueAt(int32_t index)
{
    return &s_events.queue[(s_events.head + index) % QUEUE_SIZE];
}

static void PlatWinQueueAdd(PlatWindow *window, int32_t message, int32_t wParam, int32_t x, int32_t y,
                            uint32_t time, bool repeat = false)
{
    // A full queue loses the newest message, as Windows does.
    if (s_events.count >= QUEUE_SIZE)
        return;
    PlatMessage *slot = PlatWinQueueAt(s_events.count++);
    slot->window = window;
    slot->message = message;
    slot->wParam = wParam;
    slot->x = x;
    slot->y = y;
    slot->time = time;
    slot->repeat = repeat;
}

static PlatMessage *PlatWinQueueTail()
{
    return s_events.count > 0 ? PlatWinQueueAt(s_events.count - 1) : nullptr;
}

void PlatWinDropMessagesOf(PlatWindow *window)
{
    int32_t kept = 0;
    for (int32_t i = 0; i < s_events.count; i++)
    {
        PlatMessage message = *PlatWinQueueAt(i);
        if (message.window != window || !window)
            *PlatWinQueueAt(kept++) = message;
    }
    s_events.count = kept;
    if (s_events.lastLeftWindow == window)
        s_events.haveLastLeft = false;
}

// ---- Translation -------------------------------------------------------------------------

// The character a Windows edit field would get for a key press, or 0.
static int32_t PlatWinControlCharacter(int32_t virtualKey, uint16_t modifiers)
{
    bool ctrl = (modifiers & KMOD_CTRL) != 0;
    bool alt = (modifiers & KMOD_ALT) != 0;
    switch (virtualKey)
    {
    case PLAT_VK_BACK:
        return ctrl ? 127 : 8;
    case PLAT_VK_TAB:
        return ctrl ? 0 : 9;
    case PLAT_VK_RETURN:
        return ctrl ? 10 : 13;
    case PLAT_VK_ESCAPE:
        return 27;
    default:
        break;
    }
    if (ctrl && !alt && virtualKey >= 'A' && virtualKey <= 'Z')
        return virtualKey - 'A' + 1;
    return 0;
}

static void PlatWinTranslateKey(PlatWindow *window, const SDL_KeyboardEvent &key)
{
    s_events.modifiers = key.keysym.mod;
    int32_t virtualKey = PlatWinVirtualKeyFromSdl(key.keysym.sym, key.keysym.scancode);
    if (virtualKey == 0)
        return;
    bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    // Alt itself, F10, and keys pressed while Alt (but not AltGr, which Windows sees as
    // Ctrl+Alt) is held are system keys.
    bool system = virtualKey == PLAT_VK_MENU || virtualKey == PLAT_VK_F10 || (alt && !ctrl);
    bool down = key.type == SDL_KEYDOWN;
    int32_t message = down ? (system ? PLAT_WM_SYSKEYDOWN : PLAT_WM_KEYDOWN)
                           : (system ? PLAT_WM_SYSKEYUP : PLAT_WM_KEYUP);
    PlatWinQueueAdd(window, message, virtualKey, 0, 0, key.timestamp, key.repeat != 0);
    if (down && !system)
    {
        int32_t character = PlatWinControlCharacter(virtualKey, key.keysym.mod);
        if (character)
            PlatWinQueueAdd(window, PLAT_WM_CHAR, character, 0, 0, key.timestamp, key.repeat != 0);
    }
}

static void PlatWinTranslateText(PlatWindow *window, const SDL_TextInputEvent &input)
{
    // Alt with a letter is a menu key on Windows, not text.
    if ((s_events.modifiers & KMOD_ALT) && !(s_events.modifiers & KMOD_CTRL))
        return;
    const unsigned char *text = (const unsigned char *)input.text;
    size_t length = strnlen(input.text, sizeof(input.text));
    size_t at = 0;
    while (at < length)
    {
        uint32_t codePoint;
        at += (size_t)PlatWinDecodeUtf8(text + at, &codePoint);
        int32_t character = PlatWinCp1252FromCodePoint(codePoint);
        if (character >= 32 && character != 127)
            PlatWinQueueAdd(window, PLAT_WM_CHAR, character, 0, 0, input.timestamp);
    }
}

static void PlatWinTranslateMotion(PlatWindow *window, const SDL_MouseMotionEvent &motion)
{
    // Only the newest position of a run of moves matters, so a slow frame never leaves a
    // backlog of moves behind it.
    PlatMessage *tail = PlatWinQueueTail();
    if (tail && tail->message == PLAT_WM_MOUSEMOVE && tail->window == window)
    {
        tail->x = motion.x;
        tail->y = motion.y;
        tail->time = motion.timestamp;
        return;
    }
    PlatWinQueueAdd(window, PLAT_WM_MOUSEMOVE, 0, motion.x, motion.y, motion.timestamp);
}

static void PlatWinTranslateButton(PlatWindow *window, const SDL_MouseButtonEvent &button)
{
    bool down = button.type == SDL_MOUSEBUTTONDOWN;
    int32_t message;
    switch (button.button)
    {
    case SDL_BUTTON_LEFT:
        message = down ? PLAT_WM_LBUTTONDOWN : PLAT_WM_LBUTTONUP;
        if (down)
        {
            bool isDouble = s_events.haveLastLeft && !s_events.lastLeftWasDouble &&
                            s_events.lastLeftWindow == window &&
                            button.timestamp - s_events.lastLeftTime < s_events.doubleClickTime &&
                            SDL_abs(button.x - s_events.lastLeftX) <= DOUBLE_CLICK_DISTANCE &&
                            SDL_abs(button.y - s_events.lastLeftY) <= DOUBLE_CLICK_DISTANCE;
            if (isDouble)
                message = PLAT_WM_LBUTTONDBLCLK;
            s_events.haveLastLeft = true;
            s_events.lastLeftWasDouble = isDouble;
            s_events.lastLeftWindow = window;
            s_events.lastLeftTime = button.timestamp;
            s_events.lastLeftX = button.x;
            s_events.lastLeftY = button.y;
        }
        break;
    case SDL_BUTTON_RIGHT:
        message = down ? PLAT_WM_RBUTTONDOWN : PLAT_WM_RBUTTONUP;
        break;
    case SDL_BUTTON_MIDDLE:
        message = down ? PLAT_WM_MBUTTONDOWN : PLAT_WM_MBUTTONUP;
        break;
    default:
        return;
    }
    PlatWinQueueAdd(window, message, 0, button.x, button.y, button.timestamp);
}

static void PlatWinTranslateWindowEvent(PlatWindow *window, const SDL_WindowEvent &event)
{
    int32_t width = 0, height = 0;
    switch (event.event)
    {
    case SDL_WINDOWEVENT_CLOSE:
        PlatWinQueueAdd(window, PLAT_WM_CLOSE, 0, 0, 0, event.timestamp);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        PlatWinQueueAdd(window, PLAT_WM_ACTIVATE, 1, 0, 0, event.timestamp);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        PlatWinQueueAdd(window, PLAT_WM_ACTIVATE, 0, 0, 0, event.timestamp);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        PlatWinQueueAdd(window, PLAT_WM_SIZE, PLAT_SIZE_MINIMISED, 0, 0, event.timestamp);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
        PlatWinGetClientSize(window, &width, &height);
        PlatWinQueueAdd(window, PLAT_WM_SIZE,
                        event.event == SDL_WINDOWEVENT_MAXIMIZED ? PLAT_SIZE_MAXIMISED : PLAT_SIZE_RESTORED,
                        width, height, event.timestamp);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MOVED:
        PlatWinQueueAdd(window, PLAT_WM_EXITSIZEMOVE, 0, 0, 0, event.timestamp);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        PlatWinQueueAdd(window, PLAT_WM_PAINT, 0, 0, 0, event.timestamp);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        if (window->trackLeave)
        {
            window->trackLeave = false;
            PlatWinQueueAdd(window, PLAT_WM_MOUSELEAVE, 0, 0, 0, event.timestamp);
        }
        break;
    default:
        break;
    }
}

void PlatWinFeedSdlEvent(const SDL_Event *event)
{
    if (!event)
        return;
    switch (event->type)
    {
    case SDL_QUIT:
        // The session is ending: ask the main window to close.
        if (PlatWindow *window = PlatWinFirstWindow())
            PlatWinQueueAdd(window, PLAT_WM_CLOSE, 0, 0, 0, event->quit.timestamp);
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (PlatWindow *window = PlatWinFindWindow(event->key.windowID))
            PlatWinTranslateKey(window, event->key);
        return;
    case SDL_TEXTINPUT:
        if (PlatWindow *window = PlatWinFindWindow(event->text.windowID))
            PlatWinTranslateText(window, event->text);
        return;
    case SDL_MOUSEMOTION:
        if (PlatWindow *window = PlatWinFindWindow(event->motion.windowID))
            PlatWinTranslateMotion(window, event->motion);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (PlatWindow *window = PlatWinFindWindow(event->button.windowID))
            PlatWinTranslateButton(window, event->button);
        return;
    case SDL_MOUSEWHEEL:
        if (PlatWindow *window = PlatWinFindWindow(event->wheel.windowID))
        {
            int32_t notches = event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event->wheel.y : event->wheel.y;
            if (notches != 0)
                PlatWinQueueAdd(window, PLAT_WM_MOUSEWHEEL, notches * 120, 0, 0, event->wheel.timestamp);
        }
        return;
    case SDL_WINDOWEVENT:
        if (PlatWindow *window = PlatWinFindWindow(event->window.windowID))
            PlatWinTranslateWindowEvent(window, event->window);
        return;
    default:
        return;
    }
}

void PlatWinSetDoubleClickTime(uint32_t milliseconds)
{
    s_events.doubleClickTime = milliseconds;
}

// ---- Pump and dispatch -------------------------------------------------------------------

static void PlatWinPumpEvents()
{
    if (!PlatWinIsVideoUp())
        return;
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        PlatWinFeedSdlEvent(&event);
}

bool PlatWinPeekMessage(PlatMessage *message, bool remove)
{
    if (s_events.count == 0)
        PlatWinPumpEvents();
    if (s_events.count == 0)
        return false;
    if (message)
        *message = *PlatWinQueueAt(0);
    if (remove)
    {
        s_events.head = (s_events.head + 1) % QUEUE_SIZE;
        s_events.count--;
    }
    return true;
}

int32_t PlatWinDispatchMessage(const PlatMessage *message)
{
    if (!message || !message->window || message->window->closed || !message->window->proc)
        return 0;
    return message->window->proc(message->window, message, message->window->user);
}

int32_t PlatWinSendMessage(PlatWindow *window, int32_t message, int32_t wParam)
{
    PlatMessage sent = {window, message, wParam, 0, 0, SDL_GetTicks(), false};
    return PlatWinDispatchMessage(&sent);
}

int32_t PlatWinDefWindowProc(const PlatMessage *message)
{
    if (!message || !message->window || message->window->closed)
        return 0;
    PlatWindow *window = message->window;
    switch (message->message)
    {
    case PLAT_WM_SYSKEYDOWN:
        // Alt+F4 asks to close the window.
        if (message->wParam == PLAT_VK_F1 + 3)
            PlatWinSendMessage(window, PLAT_WM_CLOSE, 0);
        return 0;
    case PLAT_WM_CLOSE:
        // Closing destroys the window: it disappears, gets its destroy message, and
        // receives nothing more; the handle stays valid until PlatWinDestroyWindow.
        SDL_HideWindow(window->sdl);
        PlatWinSendMessage(window, PLAT_WM_DESTROY, 0);
        window->closed = true;
        PlatWinDropMessagesOf(window);
        return 0;
    default:
        return 0;
    }
}

void PlatWinPostQuitMessage(int32_t exitCode)
{
    PlatWinQueueAdd(nullptr, PLAT_WM_QUIT, exitCode, 0, 0, PlatClockGetMilliseconds());
}

bool PlatWinWaitMessage(uint32_t milliseconds)
{
    if (s_events.count > 0)
        return true;
    if (!PlatWinIsVideoUp())
    {
        PlatClockSleep(milliseconds);
        return s_events.count > 0;
    }
    // SDL sleeps on the window system's connection; events it brings in are translated
    // at once, so that a message queued by them ends the wait too.
    uint32_t end = SDL_GetTicks() + milliseconds;
    for (;;)
    {
        PlatWinPumpEvents();
        if (s_events.count > 0)
            return true;
        uint32_t now = SDL_GetTicks();
        if ((int32_t)(end - now) <= 0)
            return false;
        SDL_WaitEventTimeout(nullptr, (int)(end - now));
    }
}
