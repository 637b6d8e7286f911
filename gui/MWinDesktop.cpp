// The desktop: the list of collections, which of them is active, input forwarding to a
// capturing button or the active collections, ticking and the drawing order (inactive
// collections, the dimming, the active ones; the popup collection on its own pass).
#include "MWinDesktop.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "MWin.h"

MWinDesktop::MWinDesktop(MWin *mwinPointer) : state(1), mwin(mwinPointer), first(nullptr), dim(false), dimAlpha(0.5f)
{
    if (!mwin)
        DebugExitMessage("MWinDesktop::MWinDesktop", "Internal Error (MWinDesktop)");
}

MWinDesktop::~MWinDesktop()
{
    // Collections go without the popup step: the popup module is shut down by the root.
    while (first)
    {
        MWinCollection *last = first;
        while (last->GetNext())
            last = last->GetNext();
        if (last->GetPrev())
            last->GetPrev()->SetLinks(last->GetPrev()->GetPrev(), nullptr);
        else
            first = nullptr;
        delete last;
    }
}

MWinCollection *MWinDesktop::AddCollection(const char *id)
{
    if (MWinIsIDEmpty(id))
    {
        DebugError(ENG_FUNC, "No Collection ID");
        return nullptr;
    }
    if (GetCollectionFromID(id, false))
    {
        DebugError(ENG_FUNC, "Collection already exists <%s>", id);
        return nullptr;
    }
    MWinCollection *collection = new MWinCollection(mwin, id, this);
    if (!collection)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return nullptr;
    }
    for (MWinCollection *other = first; other; other = other->GetNext())
        other->Deactivate();
    if (!first)
        first = collection;
    else
    {
        MWinCollection *last = first;
        while (last->GetNext())
            last = last->GetNext();
        last->SetLinks(last->GetPrev(), collection);
        collection->SetLinks(last, nullptr);
    }
    if (mwin)
        collection->SetScreenLayout(mwin->GetScreenLayout());
    collection->Activate();
    state++;
    return collection;
}

bool MWinDesktop::RemoveCollection(const char *id)
{
    MWinCollection *collection = GetCollectionFromID(id, false);
    if (!collection)
    {
        DebugError(ENG_FUNC, "Could not find collection");
        return false;
    }
    if (collection->GetPrev())
        collection->GetPrev()->SetLinks(collection->GetPrev()->GetPrev(), collection->GetNext());
    else
        first = collection->GetNext();
    if (collection->GetNext())
        collection->GetNext()->SetLinks(collection->GetPrev(), collection->GetNext()->GetNext());
    if (mwin && mwin->GetPopupCollection() == collection)
        mwin->SetPopupCollection(nullptr);
    collection->DestroyGraphics();
    delete collection;
    state++;
    return true;
}

void MWinDesktop::RemoveAllCollections()
{
    if (mwin && mwin->IsPopupOn())
    {
        DebugError(ENG_FUNC, "Popup was on - turning it off");
        mwin->PopupClose();
    }
    while (first)
    {
        MWinCollection *last = first;
        while (last->GetNext())
            last = last->GetNext();
        if (last->GetPrev())
            last->GetPrev()->SetLinks(last->GetPrev()->GetPrev(), nullptr);
        else
            first = nullptr;
        if (mwin && mwin->GetPopupCollection() == last)
            mwin->SetPopupCollection(nullptr);
        last->DestroyGraphics();
        delete last;
    }
    state++;
    if (mwin)
        mwin->RequestRedraw();
}

MWinCollection *MWinDesktop::GetCollectionFromID(const char *id, bool report)
{
    if (MWinIsIDEmpty(id))
    {
        if (report)
            DebugError(ENG_FUNC, "No Collection ID");
        return nullptr;
    }
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        if (MWinIDsEqual(collection->GetID(), id))
            return collection;
    if (report)
        DebugError(ENG_FUNC, "ID <%s> not found", id);
    return nullptr;
}

MWinCollection *MWinDesktop::GetActiveCollection()
{
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        if (collection->IsActive())
            return collection;
    return nullptr;
}

MWinWindow *MWinDesktop::GetActiveWindow()
{
    MWinCollection *collection = GetActiveCollection();
    return collection ? collection->GetActiveWindow() : nullptr;
}

MWinButton *MWinDesktop::GetActiveButton()
{
    MWinWindow *window = GetActiveWindow();
    return window ? window->GetActiveButton() : nullptr;
}

MWinButton *MWinDesktop::CapturingButton()
{
    MWinButton *button = GetActiveButton();
    return button && button->IsCapturingInput() ? button : nullptr;
}

bool MWinDesktop::Tick()
{
    bool changed = false;
    uint32_t before = state;
    for (MWinCollection *collection = first; collection && state == before; collection = collection->GetNext())
        if (collection->IsActive() && collection->Tick())
            changed = true;
    return changed;
}

bool MWinDesktop::CreateGraphics()
{
    bool ok = true;
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        if (!collection->CreateGraphics())
            ok = false;
    return ok;
}

void MWinDesktop::DestroyGraphics()
{
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        collection->DestroyGraphics();
}

void MWinDesktop::Render()
{
    MWinCollection *popup = mwin ? mwin->GetPopupCollection() : nullptr;
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        if (!collection->IsActive() && collection != popup)
            collection->Render();
    if (first && dim)
        EngDimScreen(dimAlpha);
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        if (collection->IsActive() && collection != popup)
            collection->Render();
}

bool MWinDesktop::RenderPopupCollection(MWinCollection *popup)
{
    if (!popup)
        return false;
    if (popup->GetID()[0] != 'M')
    {
        DebugError(ENG_FUNC, "Invalid popup collection");
        return false;
    }
    popup->Render();
    return true;
}

void MWinDesktop::ReselectActiveCollection()
{
    MWinCollection *chosen = nullptr;
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        if (!collection->HasArea() || collection->IsDesignMouseInArea())
            chosen = collection;
    if (chosen && !chosen->IsActive())
    {
        chosen->Activate();
        chosen->ChooseActiveWindow();
    }
}

void MWinDesktop::SetScreenLayout(int layout)
{
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        collection->SetScreenLayout(layout);
}

// ---- Input forwarders ----------------------------------------------------------------------------

bool MWinDesktop::MouseMove()
{
    if (MWinButton *capturing = CapturingButton())
        return capturing->MouseMove();
    if (mwin && mwin->GetSettings()->activateCollectionUnderMouse)
    {
        MWinCollection *chosen = nullptr;
        for (MWinCollection *collection = first; collection; collection = collection->GetNext())
            if (!collection->HasArea() || collection->IsDesignMouseInArea())
                chosen = collection;
        if (!chosen)
        {
            for (MWinCollection *collection = first; collection; collection = collection->GetNext())
                collection->Deactivate();
            return false;
        }
        if (!chosen->IsActive())
        {
            chosen->Activate();
            chosen->ChooseActiveWindow();
        }
    }
    MWinCollection *active = GetActiveCollection();
    return active ? active->HandleMouseMove() : false;
}

bool MWinDesktop::ButtonPressed(int which, bool pressed, int flag)
{
    if (MWinButton *capturing = CapturingButton())
        return capturing->MouseButtonPressed(which, pressed, flag);
    MWinCollection *chosen = nullptr;
    for (MWinCollection *collection = first; collection; collection = collection->GetNext())
        if (!collection->HasArea() || collection->IsDesignMouseInArea())
            chosen = collection;
    if (!chosen)
        return false;
    if (!chosen->IsActive())
        chosen->Activate();
    return chosen->HandleButtonPressed(which, pressed, flag);
}

template <typename F> bool MWinDesktop::ForwardToActive(F send, bool lastAnswer)
{
    bool taken = false;
    uint32_t before = state;
    for (MWinCollection *collection = first; collection;)
    {
        if (!collection->IsActive())
        {
            collection = collection->GetNext();
            continue;
        }
        char id[MWIN_ID_SIZE];
        strcpy(id, collection->GetID());
        bool answer = send(collection);
        taken = lastAnswer ? answer : (taken || answer);
        // A controller may have changed the screen from inside the event: stop at once.
        if (state != before || !mwin || !mwin->IsOn() || GetCollectionFromID(id, false) != collection)
            return true;
        collection = collection->GetNext();
    }
    return taken;
}

bool MWinDesktop::ButtonDoubleClicked(int which)
{
    if (MWinButton *capturing = CapturingButton())
        return capturing->MouseDoubleClicked(which);
    return ForwardToActive([which](MWinCollection *c) { return c->HandleDoubleClick(which); }, true);
}

bool MWinDesktop::MouseWheelMoved(int delta)
{
    if (MWinButton *capturing = CapturingButton())
        return capturing->MouseWheel(delta);
    return ForwardToActive([delta](MWinCollection *c) { return c->HandleMouseWheel(delta); }, false);
}

bool MWinDesktop::KeyDown(int key)
{
    if (MWinButton *capturing = CapturingButton())
        return capturing->KeyDown(key);
    return ForwardToActive([key](MWinCollection *c) { return c->HandleKeyDown(key); }, false);
}

bool MWinDesktop::KeyDownChar(unsigned char c)
{
    if (MWinButton *capturing = CapturingButton())
        return capturing->KeyDownChar(c);
    return ForwardToActive([c](MWinCollection *collection) { return collection->HandleKeyDownChar(c); }, false);
}

bool MWinDesktop::KeyUp(int key)
{
    if (MWinButton *capturing = CapturingButton())
        return capturing->KeyUp(key);
    return ForwardToActive([key](MWinCollection *c) { return c->HandleKeyUp(key); }, false);
}
