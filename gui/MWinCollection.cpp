// A collection: everything one screen shows. Window lists per screen layout, the active
// window chosen by the mouse (modal windows first), Escape through the escape window,
// and the drawing order of its windows.
#include "MWinDesktop.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngGlobals.h"
#include "EngTexture.h"
#include "MWin.h"

static int CheckLayout(int layout)
{
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS)
    {
        DebugError("MWinCollection", "Invalid screen layout %d", layout);
        return 0;
    }
    return layout;
}

MWinCollection::MWinCollection(MWin *mwinPointer, const char *idText, MWinDesktop *desktopPointer)
    : active(false), bgLoad1(0), bgLoad2(0), bgTexture(nullptr), inputEnabled(false), layout(0), layoutSet(false),
      modal(false), dimBelowModal(false), keyHook(nullptr), keyHookUser(0), mwin(mwinPointer),
      desktop(desktopPointer), prev(nullptr), next(nullptr), hasViewport(false), hasArea(false), scaling(true),
      escapeWindow(nullptr)
{
    if (!mwin)
        DebugExitMessage("MWinCollection::MWinCollection", "Internal Error (MWinCollection)");
    bgFile[0] = 0;
    id[0] = 0;
    MWinCopyID(id, idText);
    memset(windows, 0, sizeof windows);
    memset(viewport, 0, sizeof viewport);
    area = {0, 0, 640, 480};
    if (mwin)
        layout = CheckLayout(mwin->GetScreenLayout());
    inputEnabled = true;
}

MWinCollection::~MWinCollection()
{
    for (int l = 0; l < MWIN_NUM_LAYOUTS; l++)
    {
        int keep = layout;
        layout = l;
        RemoveAllWindows();
        layout = keep;
    }
    if (bgTexture)
    {
        bgTexture->Release();
        delete bgTexture;
        bgTexture = nullptr;
    }
    id[0] = 0;
    escapeWindow = nullptr;
    mwin = nullptr;
}

MWinWindow *MWinCollection::AddWindow(const char *windowId, const _MWinWindowCreateInfo *info)
{
    if (MWinIsIDEmpty(windowId))
    {
        DebugError(ENG_FUNC, "No Window ID");
        return nullptr;
    }
    if (GetWindowFromID(windowId, false))
        DebugError(ENG_FUNC, "Window with id [%s] already exists.", windowId);
    MWinWindow *window = new MWinWindow(mwin, windowId, this, info);
    if (!window)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return nullptr;
    }
    if (!windows[layout])
        windows[layout] = window;
    else
    {
        MWinWindow *last = windows[layout];
        while (last->GetNext())
            last = last->GetNext();
        last->SetLinks(last->GetPrev(), window);
        window->SetLinks(last, nullptr);
    }
    for (MWinWindow *other = windows[layout]; other; other = other->GetNext())
        other->Deactivate();
    WindowsChanged();
    if (!modal || window->IsModal())
    {
        for (MWinWindow *other = windows[layout]; other; other = other->GetNext())
            other->Deactivate();
        window->Activate();
    }
    return window;
}

void MWinCollection::ForgetWindow(const MWinWindow *window)
{
    if (escapeWindow == window)
        escapeWindow = nullptr;
}

bool MWinCollection::RemoveWindow(MWinWindow *window)
{
    MWinWindow *found = nullptr;
    for (MWinWindow *w = windows[layout]; w; w = w->GetNext())
        if (w == window)
            found = w;
    if (!found)
    {
        DebugError(ENG_FUNC, "Window not in collection <%s>", id);
        return false;
    }
    if (found->GetPrev())
        found->GetPrev()->SetLinks(found->GetPrev()->GetPrev(), found->GetNext());
    else
        windows[layout] = found->GetNext();
    if (found->GetNext())
        found->GetNext()->SetLinks(found->GetPrev(), found->GetNext()->GetNext());
    ForgetWindow(found);
    delete found;
    WindowsChanged();
    return true;
}

void MWinCollection::RemoveAllWindows()
{
    while (windows[layout])
    {
        MWinWindow *last = windows[layout];
        while (last->GetNext())
            last = last->GetNext();
        if (last->GetPrev())
            last->GetPrev()->SetLinks(last->GetPrev()->GetPrev(), nullptr);
        else
            windows[layout] = nullptr;
        // The escape window is forgotten with its window, whatever state the buttons are in.
        ForgetWindow(last);
        delete last;
    }
    WindowsChanged();
}

MWinWindow *MWinCollection::GetWindowFromID(const char *windowId, bool report)
{
    if (MWinIsIDEmpty(windowId))
    {
        if (report)
            DebugError(ENG_FUNC, "No Window ID");
        return nullptr;
    }
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (MWinIDsEqual(window->GetID(), windowId))
            return window;
    if (report)
        DebugError(ENG_FUNC, "Window <%s> not found in collection <%s>", windowId, id);
    return nullptr;
}

MWinWindow *MWinCollection::GetNthWindow(int n)
{
    int i = 0;
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext(), i++)
        if (i == n)
            return window;
    DebugError(ENG_FUNC, "No %d'th window found.", n);
    return nullptr;
}

int MWinCollection::GetNumWindows()
{
    int count = 0;
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        count++;
    return count;
}

MWinWindow *MWinCollection::GetActiveWindow()
{
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (window->IsActive())
            return window;
    return nullptr;
}

void MWinCollection::Activate()
{
    layout = CheckLayout(layout);
    if (desktop)
        for (MWinCollection *other = desktop->GetFirstCollection(); other; other = other->GetNext())
            if (other != this && other->IsActive())
                other->Deactivate();
    active = true;
}

void MWinCollection::Deactivate()
{
    layout = CheckLayout(layout);
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (window->IsActive())
        {
            window->LoseAllHover();
            window->Deactivate();
        }
    active = false;
}

void MWinCollection::SetScreenLayout(int newLayout)
{
    newLayout = CheckLayout(newLayout);
    bool wasActive = active;
    if (wasActive)
        Deactivate();
    layout = newLayout;
    layoutSet = true;
    if (wasActive)
        Activate();
}

void MWinCollection::WindowsChanged()
{
    modal = false;
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
    {
        window->UpdateLayout();
        window->UpdateHideAndExtraButtons();
        if (window->IsShown() && window->IsModal())
            modal = true;
    }
    if (!modal)
    {
        if (!GetActiveWindow())
            ChooseActiveWindow();
        return;
    }
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (window->IsActive() && !window->IsModal())
        {
            window->LoseAllHover();
            window->Deactivate();
        }
    if (!GetActiveWindow())
        for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
            if (window->IsShown() && window->IsModal())
            {
                window->Activate();
                break;
            }
}

MWinWindow *MWinCollection::WindowUnderMouse(bool modalOnly)
{
    MWinWindow *found = nullptr;
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (window->IsShown() && (!modalOnly || window->IsModal()) && window->IsMouseOver())
            found = window;
    return found;
}

void MWinCollection::ChooseActiveWindow()
{
    MWinWindow *chosen = WindowUnderMouse(modal);
    if (!chosen)
        for (MWinWindow *window = windows[layout]; window && !chosen; window = window->GetNext())
            if (window->IsShown() && (!modal || window->IsModal()))
                chosen = window;
    if (!chosen)
        return;
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (window != chosen && window->IsActive())
            window->Deactivate();
    if (!chosen->IsActive())
        chosen->Activate();
}

bool MWinCollection::Tick()
{
    bool changed = false;
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (window->IsActive() && window->Tick())
            changed = true;
    return changed;
}

bool MWinCollection::CreateGraphics()
{
    bool ok = CreateBgTexture();
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (!window->CreateGraphics())
            ok = false;
    return ok;
}

void MWinCollection::DestroyGraphics()
{
    if (bgTexture)
        bgTexture->Release();
    for (int l = 0; l < MWIN_NUM_LAYOUTS; l++)
        for (MWinWindow *window = windows[l]; window; window = window->GetNext())
            window->DestroyGraphics();
}

void MWinCollection::SetBackgroundImage(const char *file, char loadFlag1, char loadFlag2)
{
    bgFile[0] = 0;
    if (file && strlen(file) < sizeof bgFile)
        strcpy(bgFile, file);
    bgLoad1 = loadFlag1;
    bgLoad2 = loadFlag2;
}

bool MWinCollection::CreateBgTexture()
{
    if (!bgFile[0])
        return true;
    if (!bgTexture)
        bgTexture = new EngTexture(nullptr, 1);
    if (!bgTexture->LoadFromFileUsingExt(bgFile, bgLoad1, bgLoad2, ENG_TEXTURE_EXT_TGA, 0))
    {
        DebugError(ENG_FUNC, "Could not load bg texture file <%s>", bgFile);
        bgFile[0] = 0;
        return false;
    }
    bgTexture->PositionRatioed(0, 0, 640, 480);
    return true;
}

void MWinCollection::SetArea(const _Dimension *newArea)
{
    hasArea = newArea != nullptr;
    area = newArea ? *newArea : _Dimension{0, 0, 640, 480};
}

bool MWinCollection::IsDesignMouseInArea()
{
    return mwin && mwin->IsDesignMouseInArea(&area);
}

void MWinCollection::SetViewport(bool on, const void *viewportRecord)
{
    hasViewport = on && viewportRecord;
    if (hasViewport)
        memcpy(viewport, viewportRecord, sizeof(_EngViewport));
}

void MWinCollection::Render()
{
    if (!EngMainDevice || !windows[layout])
        return;
    _EngViewport previous = {};
    if (hasViewport)
    {
        EngMainDevice->GetViewport(&previous);
        EngMainDevice->SetViewportToViewportStruct((const _EngViewport *)viewport);
    }
    if (bgTexture && bgTexture->IsLoaded())
        bgTexture->Draw();
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (!window->IsModal() && window->IsShown() && !window->IsActive())
            window->Render();
    for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
        if (!window->IsModal() && window->IsShown() && window->IsActive())
            window->Render();
    if (modal)
    {
        if (dimBelowModal)
            EngDimScreen(0.5f);
        for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
            if (window->IsModal() && window->IsShown() && !window->IsActive())
                window->Render();
        for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
            if (window->IsModal() && window->IsShown() && window->IsActive())
                window->Render();
    }
    if (hasViewport)
        EngMainDevice->SetViewportToViewportStruct(&previous);
}

// ---- Input -----------------------------------------------------------------------------------------

bool MWinCollection::HandleMouseMove()
{
    if (!inputEnabled || !mwin)
        return false;
    MWinWindow *activeWindow = GetActiveWindow();
    if (activeWindow && activeWindow->HandleScrollMouseMove())
        return true;
    MWinButton *activeButton = activeWindow ? activeWindow->GetActiveButton() : nullptr;
    bool capturing = activeButton && activeButton->IsCapturingInput();
    if (mwin->GetSettings()->activateWindowUnderMouse && !capturing && !(activeWindow && activeWindow->IsBeingMoved()))
    {
        MWinWindow *under = WindowUnderMouse(modal);
        for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
            if (window != under && window->IsActive())
                window->Deactivate();
        if (under && !under->IsActive())
            under->Activate();
        if (activeWindow && activeWindow != under)
        {
            // Losing hover may call out and change the screen, deleting this collection.
            MWin *root = mwin;
            uint32_t deletions = root->GetDeleteCount();
            activeWindow->LoseAllHover();
            if (root->GetDeleteCount() != deletions)
                return true;
        }
    }
    MWinWindow *now = GetActiveWindow();
    // A modal window keeps the keys even while the mouse is over no window.
    if (modal && (!now || !now->IsModal()))
    {
        MWin *root = mwin;
        uint32_t deletions = root->GetDeleteCount();
        if (now)
            now->LoseAllHover();
        if (root->GetDeleteCount() != deletions)
            return true;
        if (now)
            now->Deactivate();
        for (MWinWindow *window = windows[layout]; window; window = window->GetNext())
            if (window->IsShown() && window->IsModal())
            {
                window->Activate();
                break;
            }
        now = GetActiveWindow();
    }
    return now ? now->HandleMouseMove() : false;
}

bool MWinCollection::HandleButtonPressed(int which, bool pressed, int flag)
{
    if (!inputEnabled || !mwin || !windows[layout])
        return false;
    if (hasArea && !mwin->IsMouseInArea(&area))
        return false;
    MWinWindow *activeWindow = GetActiveWindow();
    // A held scrollbar thumb gets its release wherever the mouse is.
    if (activeWindow && activeWindow->IsScrollDragging())
        return activeWindow->HandleButtonPressed(which, pressed, flag, false);
    if (activeWindow && activeWindow->IsMouseOver() && (!modal || activeWindow->IsModal()))
        return activeWindow->HandleButtonPressed(which, pressed, flag, false);
    if (activeWindow && activeWindow->IsBeingMoved())
        return activeWindow->HandleButtonPressed(which, pressed, flag, true);
    if (activeWindow)
    {
        MWin *root = mwin;
        uint32_t deletions = root->GetDeleteCount();
        activeWindow->LoseAllHover();
        if (root->GetDeleteCount() != deletions)
            return true;
    }
    if (which != 0 || !pressed)
        return false;
    if (activeWindow && !activeWindow->IsModal())
        activeWindow->Deactivate();
    MWinWindow *under = WindowUnderMouse(modal);
    if (under && mwin->IsOn() && under->GetMWin() == mwin)
        under->Activate();
    return true;
}

bool MWinCollection::HandleKeyDown(int key)
{
    if (!mwin)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (!inputEnabled)
        return false;
    if (keyHook && keyHook(key, keyHookUser))
        return true;
    if (key == 27 && escapeWindow && escapeWindow->IsShown())
    {
        MWinButton *escape = escapeWindow->GetEscapeButton();
        MWinWindow *activeWindow = GetActiveWindow();
        MWinButton *activeButton = activeWindow ? activeWindow->GetActiveButton() : nullptr;
        if (escape && escape->IsVisible() && !mwin->IsTextEditActive() &&
            !(activeButton && activeButton->IsCapturingInput()))
        {
            EngKeyStates[27] = 0;
            escapeWindow->SendButtonCallCallbackMessage(escape, true);
            return true;
        }
    }
    MWinWindow *activeWindow = GetActiveWindow();
    return activeWindow ? activeWindow->HandleKeyDown(key) : false;
}

bool MWinCollection::HandleKeyDownChar(unsigned char c)
{
    MWinWindow *activeWindow = inputEnabled ? GetActiveWindow() : nullptr;
    return activeWindow ? activeWindow->HandleKeyDownChar(c) : false;
}

bool MWinCollection::HandleKeyUp(int key)
{
    MWinWindow *activeWindow = inputEnabled ? GetActiveWindow() : nullptr;
    return activeWindow ? activeWindow->HandleKeyUp(key) : false;
}

bool MWinCollection::HandleDoubleClick(int which)
{
    MWinWindow *activeWindow = inputEnabled ? GetActiveWindow() : nullptr;
    return activeWindow ? activeWindow->HandleDoubleClick(which) : true;
}

bool MWinCollection::HandleMouseWheel(int delta)
{
    MWinWindow *activeWindow = inputEnabled ? GetActiveWindow() : nullptr;
    return activeWindow ? activeWindow->HandleMouseWheel(delta) : false;
}
