// The screen stack: EngScreens keeps the registered screens, the current one and where
// each was entered from, and calls the controllers in their order; MWinScreens wraps it
// for the program with fades drawn inside the call.
// Sections: EngScreens / MWinScreens / fades.
#include "MWinScreens.h"

#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngGlobals.h"
#include "EngLists.h"
#include "EngMain.h"
#include "EngMemory.h"
#include "MWin.h"

// ---- EngScreens -------------------------------------------------------------------------------------

static bool ProgramRunning()
{
    const _MWinHost *host = MWinGetHost();
    return !host->isProgramRunning || host->isProgramRunning();
}

EngScreens::EngScreens(MWin *mwinPointer, void *userPointer)
    : mwin(mwinPointer), user(userPointer), list(new EngIndexedList(0)), started(false), currentId(0),
      currentIndex(-1), preChanging(nullptr), postChanging(nullptr), turnedOnMWin(-1)
{
    if (!mwin)
        DebugError(ENG_FUNC, "No mwinp");
}

EngScreens::~EngScreens()
{
    RemoveAllScreens();
    delete list;
}

_EngScreen *EngScreens::GetScreenAt(int index)
{
    if (index < 0 || index >= list->GetNumEntriesRaw())
        return nullptr;
    return (_EngScreen *)list->GetEntryData(index);
}

int EngScreens::GetNumScreens()
{
    return list->GetNumEntriesRaw();
}

_EngScreen *EngScreens::GetScreenFromID(ScreenId id, int *index)
{
    for (int i = 0; i < list->GetNumEntriesRaw(); i++)
    {
        _EngScreen *screen = GetScreenAt(i);
        if (screen && screen->id == id && id != 0)
        {
            if (index)
                *index = i;
            return screen;
        }
    }
    DebugError(ENG_FUNC, "Screen [%s] not found.", EngFourCCToString(id));
    return nullptr;
}

bool EngScreens::Add(ScreenId id, MWinCollectionController *controller)
{
    for (int i = 0; i < list->GetNumEntriesRaw(); i++)
    {
        _EngScreen *screen = GetScreenAt(i);
        if (screen && screen->id == id)
        {
            DebugError(ENG_FUNC, "Screen [%s] already exists.", EngFourCCToString(id));
            return false;
        }
    }
    _EngScreen screen = {};
    screen.id = id;
    screen.controller = controller;
    screen.spare[0] = screen.spare[1] = -1;
    if (list->AddEntry(&screen, sizeof screen) < 0)
    {
        DebugError(ENG_FUNC, "Could not add screen.");
        return false;
    }
    return true;
}

MWinCollectionController *EngScreens::GetController(ScreenId id)
{
    for (int i = 0; i < list->GetNumEntriesRaw(); i++)
    {
        _EngScreen *screen = GetScreenAt(i);
        if (screen && screen->id == id)
            return screen->controller;
    }
    return nullptr;
}

ScreenId EngScreens::GetBackID(ScreenId id)
{
    for (int i = 0; i < list->GetNumEntriesRaw(); i++)
    {
        _EngScreen *screen = GetScreenAt(i);
        if (screen && screen->id == id)
            return screen->backId;
    }
    return 0;
}

bool EngScreens::SetCurrentScreenID(ScreenId id)
{
    int index = -1;
    if (!GetScreenFromID(id, &index))
    {
        currentId = 0;
        currentIndex = -1;
        return false;
    }
    currentId = id;
    currentIndex = index;
    return true;
}

bool EngScreens::StartCurrent(void *data)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    if (!mwin->IsOn())
    {
        DebugError(ENG_FUNC, "MWin is not on");
        return false;
    }
    _EngScreen *screen = GetScreenAt(currentIndex);
    if (!currentId || !screen)
    {
        DebugError(ENG_FUNC, "No start screen set.");
        return false;
    }
    DebugFatalIfFalse(screen->controller != nullptr, "EngScreens::StartCurrent", "No controller");
    if (!screen->controller)
        return false;
    MWinCollectionController *controller = screen->controller;
    bool created = controller->CreateCollection(mwin);
    started = true;
    controller->StartingCB(data);
    mwin->ButtonsChanged();
    return created;
}

bool EngScreens::Goto(ScreenId id, void *data)
{
    int index = -1;
    if (!GetScreenFromID(id, &index))
        return false;
    ScreenId previous = currentId;
    if (_EngScreen *current = GetScreenAt(currentIndex))
        if (current->controller)
            current->controller->ClearButtonPointers();
    currentId = id;
    currentIndex = index;
    _EngScreen *target = GetScreenAt(index);
    bool previousRegistered = false;
    for (int i = 0; i < list->GetNumEntriesRaw(); i++)
        if (GetScreenAt(i) && GetScreenAt(i)->id == previous && previous != 0)
            previousRegistered = true;
    target->backId = previousRegistered ? previous : 0;
    target->cameFromId = target->backId;
    if (preChanging)
        preChanging(mwin, user);
    bool ok = StartCurrent(data);
    if (postChanging)
        postChanging(mwin, user);
    return ok;
}

bool EngScreens::GoBack()
{
    _EngScreen *current = GetScreenAt(currentIndex);
    ScreenId back = current ? current->backId : 0;
    int index = -1;
    if (!GetScreenFromID(back, &index))
        return false;
    ScreenId previous = currentId;
    if (current && current->controller)
        current->controller->ClearButtonPointers();
    currentId = back;
    currentIndex = index;
    GetScreenAt(index)->cameFromId = previous;
    if (preChanging)
        preChanging(mwin, user);
    bool ok = StartCurrent(nullptr);
    if (postChanging)
        postChanging(mwin, user);
    return ok;
}

bool EngScreens::Reload()
{
    if (_EngScreen *current = GetScreenAt(currentIndex))
        if (current->controller)
            current->controller->ClearButtonPointers();
    if (preChanging)
        preChanging(mwin, user);
    bool ok = StartCurrent(nullptr);
    if (postChanging)
        postChanging(mwin, user);
    if (mwin)
        mwin->ButtonsChanged();
    return ok;
}

bool EngScreens::TurnOn(int mode)
{
    if (started || !mwin)
        return false;
    bool start = mode > 0 || (mode < 0 && !mwin->IsOn());
    if (start && !mwin->Startup())
    {
        DebugExitMessage("EngScreens::TurnOn", "Could not start the user interface");
        return false;
    }
    turnedOnMWin = start ? 1 : 0;
    if (preChanging)
        preChanging(mwin, user);
    bool ok = StartCurrent(nullptr);
    if (postChanging)
        postChanging(mwin, user);
    return ok;
}

bool EngScreens::TurnOff(int mode)
{
    if (!started)
        return false;
    if (_EngScreen *current = GetScreenAt(currentIndex))
        if (current->controller)
            current->controller->ClearButtonPointers();
    if (turnedOnMWin < 0)
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
    if (mwin && ((mode < 0 && turnedOnMWin == 1) || mode > 0))
        mwin->Shutdown();
    if (mode == 2)
    {
        currentIndex = -1;
        currentId = 0;
    }
    turnedOnMWin = -1;
    started = false;
    return true;
}

bool EngScreens::Tick()
{
    if (!started)
        return false;
    _EngScreen *current = GetScreenAt(currentIndex);
    if (current && current->controller)
        current->controller->TickCB();
    if (!ProgramRunning() || EngMainIsQuitting() || !started)
        return false;
    if (mwin)
        mwin->Tick();
    return true;
}

void EngScreens::Render(int pass)
{
    if (!started)
        return;
    _EngScreen *current = GetScreenAt(currentIndex);
    if (current && current->controller)
        current->controller->RenderCB(pass);
}

void EngScreens::RemoveScreen(int index)
{
    _EngScreen *screen = GetScreenAt(index);
    if (!screen)
        return;
    if (screen->controller)
    {
        if (screen->controller->GetScreens())
            screen->controller->ClearButtonPointers();
        else
            DebugError(ENG_FUNC, "Bad controller_p");
    }
    memset(screen, 0, sizeof *screen);
}

void EngScreens::RemoveAllScreens()
{
    for (int i = 0; i < list->GetNumEntriesRaw(); i++)
        RemoveScreen(i);
    list->RemoveAllEntries();
    currentIndex = -1;
    currentId = 0;
}

// ---- MWinScreens ----------------------------------------------------------------------------------------

void MWinScreens_PreChangingCB(MWin *mwin, void *user)
{
    if (!user)
    {
        DebugError(ENG_FUNC, "No user data");
        return;
    }
    ((MWinScreens *)user)->PreChangingCB();
}

void MWinScreens_PostChangingCB(MWin *mwin, void *user)
{
    if (!user)
    {
        DebugError(ENG_FUNC, "No user data");
        return;
    }
    ((MWinScreens *)user)->PostChangingCB();
}

MWinScreens::MWinScreens(MWin *mwinPointer, bool fadeOn) : mwin(mwinPointer), engScreens(nullptr), fade(fadeOn)
{
    DebugFatalIfFalse(mwin != nullptr, "MWinScreens::MWinScreens", "No m_mwinp");
    engScreens = new EngScreens(mwin, this);
    // Registration with the root waits for SetupAllScreens: a registry made during static
    // construction must not depend on whether the root was made before it.
}

MWinScreens::~MWinScreens()
{
    RemoveAllScreens();
    delete engScreens;
    engScreens = nullptr;
    if (mwin)
        mwin->ClearScreens(this);
}

bool MWinScreens::AddScreen(ScreenId id, MWinCollectionController *controller)
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (controller)
        controller->SetScreens(this);
    return engScreens->Add(id, controller);
}

bool MWinScreens::SetupAllScreens()
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    mwin->SetScreens(this);
    engScreens->RemoveAllScreens();
    engScreens->SetPreChangingCallback(MWinScreens_PreChangingCB);
    engScreens->SetPostChangingCallback(MWinScreens_PostChangingCB);
    if (!SetupScreens())
    {
        DebugError(ENG_FUNC, "Could not setup program's screens");
        return false;
    }
    return true;
}

void MWinScreens::PreChangingCB()
{
    if (!engScreens || !engScreens->GetCurrentID())
        return;
    PreChanging();
    if (mwin && mwin->GetDesktop())
        mwin->GetDesktop()->RemoveAllCollections();
}

void MWinScreens::PostChangingCB()
{
    PostChanging(engScreens ? engScreens->GetCurrentID() : 0);
}

bool MWinScreens::Start(int mode, bool fadeOutFirst, bool fadeInAfter)
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (fadeOutFirst)
        Fade(true);
    BeforeStart();
    bool ok = engScreens->TurnOn(mode);
    AfterStart(engScreens->GetCurrentID());
    if (fadeInAfter)
        Fade(false);
    return ok;
}

bool MWinScreens::StartScreen(ScreenId id, int mode)
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    engScreens->SetCurrentScreenID(id);
    Fade(true);
    BeforeStart();
    bool ok = engScreens->TurnOn(mode);
    Fade(false);
    return ok;
}

bool MWinScreens::End(int mode)
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    Fade(true);
    bool ok = engScreens->TurnOff(mode);
    if (mwin->IsOn() && mwin->GetDesktop())
        mwin->GetDesktop()->RemoveAllCollections();
    OnEnd();
    Fade(false);
    return ok;
}

bool MWinScreens::GotoScreen(ScreenId id, void *data)
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (mwin->IsPopupOn())
    {
        DebugError(ENG_FUNC, "Called when a popup was on. Turning popup off...");
        mwin->PopupClose();
    }
    Fade(true);
    bool ok = engScreens->Goto(id, data);
    Fade(false);
    return ok;
}

bool MWinScreens::GoBack()
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    Fade(true);
    bool ok = engScreens->GoBack();
    Fade(false);
    return ok;
}

bool MWinScreens::ReloadCurrentScreen()
{
    if (!engScreens)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    return engScreens->Reload();
}

bool MWinScreens::SetCurrentScreen(ScreenId id)
{
    return engScreens && engScreens->SetCurrentScreenID(id);
}

ScreenId MWinScreens::GetCurrentScreen()
{
    return engScreens ? engScreens->GetCurrentID() : 0;
}

bool MWinScreens::IsRunning()
{
    return mwin && mwin->IsOn() && engScreens && engScreens->IsStarted();
}

void MWinScreens::RemoveAllScreens()
{
    if (engScreens)
        engScreens->RemoveAllScreens();
}

bool MWinScreens::Tick()
{
    return engScreens && engScreens->Tick();
}

void MWinScreens::Render(int pass)
{
    if (engScreens)
        engScreens->Render(pass);
}

// ---- Fades --------------------------------------------------------------------------------------------

void MWinScreens::Fade(bool out)
{
    const double duration = 0.15;
    const _MWinHost *host = MWinGetHost();
    float frameRate = host->getFrameRate ? host->getFrameRate() : EngFrameTiming.frameRate;
    if (!fade || !host->drawFadeFrame || frameRate <= 1.0f)
        return;
    auto now = [host]() { return host->getTime ? host->getTime() : EngMainGetTime(); };
    double start = now();
    host->drawFadeFrame(out ? 0.0f : 1.0f);
    double measured = now();
    double frame = measured - start;
    if (frame <= 0.0)
        return;
    double steps = std::floor(duration / frame + 0.5);
    if (steps < 1.0 || steps > 1000000.0)
        return;
    int count = (int)steps;
    float alpha = 0.0f;
    for (int i = 0; i < count; i++)
    {
        alpha += 1.0f / (float)count;
        if (alpha > 1.0f)
            alpha = 1.0f;
        double elapsed = now() - measured;
        if (elapsed > 2.0 * duration)
            alpha = 1.0f;
        host->drawFadeFrame(out ? alpha : 1.0f - alpha);
        // Once the fade is complete (also when slow frames forced it), the loop ends
        // instead of drawing the rest of its steps.
        if (alpha >= 1.0f)
            break;
    }
}
