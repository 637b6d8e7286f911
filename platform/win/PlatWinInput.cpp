// Posted input: a platform-neutral record becomes the SDL event the window system would
// have delivered, and takes the pump's own translation from there.
#include <cstring>

#include "PlatWinInternal.h"

// The SDL key of a virtual key: the first scancode (in SDL's order, so the main block
// before the keypad) whose key translates to it.
static bool PlatWinSdlKeyFromVirtualKey(int32_t virtualKey, SDL_Keycode *keycode, SDL_Scancode *scancode)
{
    for (int code = SDL_SCANCODE_A; code < SDL_NUM_SCANCODES; code++)
    {
        SDL_Keycode key = SDL_GetKeyFromScancode((SDL_Scancode)code);
        if (key == SDLK_UNKNOWN)
            key = SDL_SCANCODE_TO_KEYCODE(code);
        if (PlatWinVirtualKeyFromSdl(key, code) == virtualKey)
        {
            *keycode = key;
            *scancode = (SDL_Scancode)code;
            return true;
        }
    }
    return false;
}

static uint16_t PlatWinSdlModifiers(int32_t modifiers)
{
    uint16_t mod = 0;
    if (modifiers & PLAT_MOD_SHIFT)
        mod |= KMOD_LSHIFT;
    if (modifiers & PLAT_MOD_CTRL)
        mod |= KMOD_LCTRL;
    if (modifiers & PLAT_MOD_ALT)
        mod |= KMOD_LALT;
    if (modifiers & PLAT_MOD_ALTGR)
        mod |= KMOD_LCTRL | KMOD_RALT;
    return mod;
}

static bool PlatWinSdlWindowEvent(int32_t change, uint8_t *event)
{
    static const struct
    {
        int32_t change;
        uint8_t event;
    } kChanges[] = {
        {PLAT_CHANGE_CLOSE, SDL_WINDOWEVENT_CLOSE},
        {PLAT_CHANGE_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_GAINED},
        {PLAT_CHANGE_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_LOST},
        {PLAT_CHANGE_MINIMISED, SDL_WINDOWEVENT_MINIMIZED},
        {PLAT_CHANGE_RESTORED, SDL_WINDOWEVENT_RESTORED},
        {PLAT_CHANGE_MAXIMISED, SDL_WINDOWEVENT_MAXIMIZED},
        {PLAT_CHANGE_SIZE_CHANGED, SDL_WINDOWEVENT_SIZE_CHANGED},
        {PLAT_CHANGE_EXPOSED, SDL_WINDOWEVENT_EXPOSED},
        {PLAT_CHANGE_MOUSE_LEFT, SDL_WINDOWEVENT_LEAVE},
    };
    for (const auto &entry : kChanges)
        if (entry.change == change)
        {
            *event = entry.event;
            return true;
        }
    return false;
}

bool PlatWinPostInput(const PlatInputEvent *input)
{
    if (!input || !input->window || input->window->closed)
        return false;
    static const uint8_t kButtons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    SDL_Event event = {};
    Uint32 windowId = input->window->id;
    switch (input->kind)
    {
    case PLAT_INPUT_KEY_DOWN:
    case PLAT_INPUT_KEY_UP:
        if (!PlatWinSdlKeyFromVirtualKey(input->key, &event.key.keysym.sym, &event.key.keysym.scancode))
            return false;
        event.type = input->kind == PLAT_INPUT_KEY_DOWN ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = input->kind == PLAT_INPUT_KEY_DOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = input->repeat ? 1 : 0;
        event.key.keysym.mod = PlatWinSdlModifiers(input->modifiers);
        event.key.windowID = windowId;
        event.key.timestamp = input->time;
        break;
    case PLAT_INPUT_TEXT:
        event.type = SDL_TEXTINPUT;
        event.text.windowID = windowId;
        event.text.timestamp = input->time;
        static_assert(sizeof(event.text.text) == sizeof(input->text), "text sizes agree");
        memcpy(event.text.text, input->text, sizeof(event.text.text));
        event.text.text[sizeof(event.text.text) - 1] = 0;
        break;
    case PLAT_INPUT_MOUSE_MOVE:
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = windowId;
        event.motion.timestamp = input->time;
        event.motion.x = input->x;
        event.motion.y = input->y;
        break;
    case PLAT_INPUT_BUTTON_DOWN:
    case PLAT_INPUT_BUTTON_UP:
        if (input->button < 0 || input->button > 2)
            return false;
        event.type = input->kind == PLAT_INPUT_BUTTON_DOWN ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.state = input->kind == PLAT_INPUT_BUTTON_DOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.button = kButtons[input->button];
        event.button.windowID = windowId;
        event.button.timestamp = input->time;
        event.button.x = input->x;
        event.button.y = input->y;
        break;
    case PLAT_INPUT_WHEEL:
        event.type = SDL_MOUSEWHEEL;
        event.wheel.windowID = windowId;
        event.wheel.timestamp = input->time;
        event.wheel.y = input->y;
        event.wheel.direction = input->flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        break;
    case PLAT_INPUT_WINDOW:
        if (!PlatWinSdlWindowEvent(input->change, &event.window.event))
            return false;
        // The player's resize: the window has its new size before the event tells of it.
        if (input->change == PLAT_CHANGE_SIZE_CHANGED && input->x > 0 && input->y > 0)
            SDL_SetWindowSize(input->window->sdl, input->x, input->y);
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = windowId;
        event.window.timestamp = input->time;
        break;
    default:
        return false;
    }
    PlatWinFeedSdlEvent(&event);
    return true;
}
