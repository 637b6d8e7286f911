// The GUI root: life cycle, input flow, tick and drawing passes, the one-slot message
// queue, lookups by ids, settings and layouts. Relies on the desktop for everything
// below it and on the host table for the program's window, clock and redraws.
// Sections: host and helpers / construction / life cycle / input / queue / tick and
// drawing / lookups / settings and layout / mouse.
#include "MWin.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngGlobals.h"
#include "EngMain.h"
#include "EngMisc.h"
#include "EngTexture.h"

// ---- Host and helpers ----------------------------------------------------------------------

static struct
{
    bool set;
    _MWinHost host;
    _MWinPopupOps popupOps;
} mwinRoot;

void MWinSetHost(const _MWinHost *host)
{
    if (host)
        mwinRoot.host = *host;
    else
        memset(&mwinRoot.host, 0, sizeof mwinRoot.host);
    mwinRoot.set = host != nullptr;
}

const _MWinHost *MWinGetHost()
{
    return &mwinRoot.host;
}

void MWinSetPopupOps(const _MWinPopupOps *ops)
{
    if (ops)
        mwinRoot.popupOps = *ops;
    else
        memset(&mwinRoot.popupOps, 0, sizeof mwinRoot.popupOps);
}

const _MWinPopupOps *MWinGetPopupOps()
{
    return &mwinRoot.popupOps;
}

bool MWinCopyID(char *destination, const char *source)
{
    if (!destination)
    {
        DebugError(ENG_FUNC, "No Dest ID");
        return false;
    }
    if (!source)
    {
        DebugError(ENG_FUNC, "No Source ID");
        return false;
    }
    if (strlen(source) >= MWIN_ID_SIZE)
    {
        DebugError(ENG_FUNC, "Source string Too Long <%s>", source);
        return false;
    }
    strcpy(destination, source);
    return true;
}

bool MWinIsIDEmpty(const char *id)
{
    return !id || !id[0];
}

bool MWinIDsEqual(const char *a, const char *b)
{
    if (MWinIsIDEmpty(a) || MWinIsIDEmpty(b))
        return false;
    return strcmp(a, b) == 0;
}

bool MWinCopyArea(_Dimension *destination, const _Dimension *source)
{
    if (!destination || !source)
    {
        DebugError(ENG_FUNC, "Parameter Error");
        return false;
    }
    *destination = *source;
    return true;
}

bool MWinSetArea(_Dimension *destination, float x, float y, float w, float h)
{
    if (!destination)
    {
        DebugError(ENG_FUNC, "Parameter Error");
        return false;
    }
    *destination = {x, y, w, h};
    return true;
}

float MWinCentreOffsetX(float position, float size)
{
    float factor = EngScreenSettings.widthCorrection;
    if (factor <= 0.0f || factor == 1.0f)
        return position;
    return position + (size - factor * size) / 2.0f;
}

float MWinCentreOffsetY(float position, float size)
{
    float factor = EngScreenSettings.heightCorrection;
    if (factor <= 0.0f || factor == 1.0f)
        return position;
    return position + (size - factor * size) / 2.0f;
}

void MWinTurnOnCrop(float x, float y, float w, float h)
{
    if (EngMainDevice)
        EngMainDevice->TurnOnCrop(x, y, w, h);
}

void MWinTurnOnCrop(const _Dimension *area)
{
    if (area)
        MWinTurnOnCrop(area->x, area->y, area->w, area->h);
}

// ---- Construction ------------------------------------------------------------------------------

MWin &MWinGetObject()
{
    static MWin object(nullptr);
    return object;
}

MWin::MWin(Game *gamePointer)
    : game(gamePointer), queueObject(nullptr), queueNumber(MWIN_MSG_CALL_CALLBACK), queueCount(0), allowInput(true),
      keyInput(true), screenLayout(0), soundCallback(nullptr), soundUser(0), screens(nullptr), on(false),
      desktop(nullptr), textures(nullptr), fonts(nullptr), bgClearImage(nullptr), virtualMapping(false),
      scaling(true), textureLoadOption(2), mousePosCallback(nullptr), mousePosA(0), mousePosB(0),
      popupCollection(nullptr), popupState(nullptr), deleteCount(0)
{
    queueCollection[0] = queueWindow[0] = queueButton[0] = 0;
    memset(&settings, 0, sizeof settings);
    memset(layoutSettings, 0, sizeof layoutSettings);
    mouseDesign[0] = mouseDesign[1] = -1.0f;
    mouseVirtual[0] = mouseVirtual[1] = -1.0f;
    virtualArea = {0, 0, 640, 480};
    for (auto &size : virtualSize)
    {
        size[0] = 640.0f;
        size[1] = 480.0f;
    }
    baseMetrics[0] = 12.0f;
    baseMetrics[1] = 12.0f;
    baseMetrics[2] = 3.0f;
    baseMetrics[3] = 3.0f;
    InitDefaultSettings(true);
    MWinRegisterButtonKinds();
    desktop = new MWinDesktop(this);
    DebugFatalIfFalse(desktop != nullptr, "MWin::MWin", "Could not create desktop");
    textures = new MWinTextures(this);
    DebugFatalIfFalse(textures != nullptr, "MWin::MWin", "Could not create textures");
    fonts = new MWinFonts(this);
    DebugFatalIfFalse(fonts != nullptr, "MWin::MWin", "Could not create fonts");
    bgClearImage = new EngTexture(nullptr, 1);
    ApplyLayoutSettings();
    if (mwinRoot.popupOps.init)
        mwinRoot.popupOps.init(this);
}

MWin::~MWin()
{
    if (on)
        Shutdown();
    if (mwinRoot.popupOps.shutdown)
        mwinRoot.popupOps.shutdown(this);
    delete desktop;
    desktop = nullptr;
    screens = nullptr;
    delete textures;
    textures = nullptr;
    delete fonts;
    fonts = nullptr;
    delete bgClearImage;
    bgClearImage = nullptr;
}

Game *MWin::GetGame(bool quiet)
{
    if (!game && !quiet)
        DebugFatalIfFalse(false, "MWin::GetGame", "No game");
    return game;
}

// ---- Life cycle ----------------------------------------------------------------------------------

bool MWin::Startup()
{
    if (on)
        DebugError(ENG_FUNC, "MWin already on");
    on = true;
    allowInput = true;
    if (EngMainDevice && !CreateGraphicsObjects())
        DebugError(ENG_FUNC, "Could not create graphics objects");
    SelectScreenLayout();
    return true;
}

bool MWin::Shutdown()
{
    if (!on)
        DebugError(ENG_FUNC, "MWin not on");
    if (IsPopupOn())
        PopupClose();
    if (desktop)
        desktop->RemoveAllCollections();
    DestroyGraphicsObjects();
    mouseDesign[0] = mouseDesign[1] = -1.0f;
    on = false;
    queueCount = 0;
    queueObject = nullptr;
    RequestRedraw();
    return true;
}

bool MWin::IsOn()
{
    return on;
}

bool MWin::CreateGraphicsObjects()
{
    if (!on)
        return true;
    bool ok = true;
    if (textures && !textures->CreateTextures())
    {
        DebugError(ENG_FUNC, "Could not load textures");
        ok = false;
    }
    if (fonts && !fonts->CreateFonts())
    {
        DebugError(ENG_FUNC, "Could not load fonts");
        ok = false;
    }
    if (desktop && !desktop->CreateGraphics())
        ok = false;
    if (!CreateBgClearImage())
        ok = false;
    ButtonsChanged();
    return ok;
}

void MWin::DestroyGraphicsObjects()
{
    if (textures)
    {
        if (textures->AreTexturesLoaded())
            textures->DestroyTextures();
        textures->ReleaseColourPickerTextures();
    }
    if (fonts && fonts->AreFontsCreated())
        fonts->DestroyFonts();
    if (desktop)
        desktop->DestroyGraphics();
    if (bgClearImage)
        bgClearImage->Release();
}

bool MWin::CreateBgClearImage()
{
    if (settings.bgClearMode != 3)
    {
        bgClearImage->Release();
        return true;
    }
    if (settings.bgTexture)
        return true;
    if (!bgClearImage->LoadFromFileUsingExt(settings.bgImageFile, 0, 0, ENG_TEXTURE_EXT_TGA, 0))
    {
        DebugError(ENG_FUNC, "Could not load background image <%s>", settings.bgImageFile);
        settings.bgClearMode = 1;
        return false;
    }
    bgClearImage->PositionRatioed(0, 0, 640, 480);
    return true;
}

// ---- Input ---------------------------------------------------------------------------------------

bool MWin::HandleInput(int event, int a, int b)
{
    if (!on || !allowInput || event < MWIN_INPUT_MOUSE_MOVE || event > MWIN_INPUT_CHARACTER)
        return false;
    if (!desktop)
    {
        DebugError(ENG_FUNC, "No desktop");
        return false;
    }
    switch (event)
    {
    case MWIN_INPUT_MOUSE_MOVE:
    {
        float x, y;
        memcpy(&x, &a, sizeof x);
        memcpy(&y, &b, sizeof y);
        float designX = x, designY = y;
        const _MWinHost *host = MWinGetHost();
        if (host->convertScreenToDesign)
        {
            if (!host->convertScreenToDesign(x, y, &designX, &designY))
                return false;
        }
        else if (EngScreenSettings.width > 0 && EngScreenSettings.height > 0)
        {
            designX = x * 640.0f / (float)EngScreenSettings.width;
            designY = y * 480.0f / (float)EngScreenSettings.height;
        }
        return HandleMouseMoveDesign(designX, designY);
    }
    case MWIN_INPUT_BUTTON:
        return desktop->ButtonPressed(a, b != 0, 0);
    case MWIN_INPUT_DOUBLE_CLICK:
        return desktop->ButtonDoubleClicked(a);
    case MWIN_INPUT_WHEEL:
        return desktop->MouseWheelMoved(a);
    case MWIN_INPUT_KEY_DOWN:
        return keyInput && desktop->KeyDown(a);
    case MWIN_INPUT_KEY_UP:
        return keyInput && desktop->KeyUp(a);
    case MWIN_INPUT_CHARACTER:
        return keyInput && desktop->KeyDownChar((unsigned char)a);
    }
    return false;
}

bool MWin::HandleMouseMoveDesign(float x, float y)
{
    if (!on || !allowInput || !desktop)
        return false;
    mouseDesign[0] = x;
    mouseDesign[1] = y;
    UpdateVirtualMousePos();
    return desktop->MouseMove();
}

void MWin::AllowInput(bool allow)
{
    if (!allow && !allowInput)
        DebugError(ENG_FUNC, "Already disallowed.");
    allowInput = allow;
}

void MWin::PlaySound(int event)
{
    if (soundCallback)
        soundCallback(event, soundUser);
}

void MWin::SetSoundCallback(MWinSoundCallbackFn callback, int user)
{
    soundCallback = callback;
    soundUser = user;
}

void MWin::RequestRedraw()
{
    const _MWinHost *host = MWinGetHost();
    if (host->requestRedraw)
        host->requestRedraw();
}

// ---- Queue ---------------------------------------------------------------------------------------

bool MWin::AddMessageToQueue(const char *collectionId, const char *windowId, const char *buttonId,
                             _MWinMessageNum number, const MWinButton *button)
{
    if (MWinIsIDEmpty(collectionId) || MWinIsIDEmpty(windowId) || MWinIsIDEmpty(buttonId))
    {
        DebugError(ENG_FUNC, "ID(s) invalid");
        return false;
    }
    if (queueCount > 0)
    {
        DebugError(ENG_FUNC, "Queue not empty");
        return false;
    }
    if (!MWinCopyID(queueCollection, collectionId) || !MWinCopyID(queueWindow, windowId) ||
        !MWinCopyID(queueButton, buttonId))
        return false;
    queueObject = button;
    queueNumber = number;
    queueCount = 1;
    return true;
}

bool MWin::ProcessQueueMessages()
{
    if (queueCount < 1)
        return false;
    if (queueCount != 1)
        DebugError(ENG_FUNC, "Num messages != 1");
    // The button the message came from, found again by its ids; with the object recorded,
    // only that very object answers (a twin with the same id is never fired).
    MWinButton *button = queueObject ? FindButton(queueCollection, queueWindow, queueButton, queueObject)
                                     : GetButtonFromIDs(queueCollection, queueWindow, queueButton, true);
    queueCount = 0;
    queueObject = nullptr;
    if (!button)
    {
        DebugError(ENG_FUNC, "mwinp->GetButtonFromIDs() failed [%s, %s, %s]", queueCollection, queueWindow,
                   queueButton);
        return false;
    }
    if (queueNumber == MWIN_MSG_CALL_CALLBACK)
        button->CallCallback(nullptr);
    return true;
}

void MWin::RemoveAnyQueuedMessagesForButton(MWinButton *button, MWinWindow *window, MWinCollection *collection)
{
    if (!button || !window || !collection)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    if (queueCount < 1)
        return;
    if (queueObject == button || (!queueObject && MWinIDsEqual(queueButton, button->GetID()) &&
                                  MWinIDsEqual(queueWindow, window->GetID()) &&
                                  MWinIDsEqual(queueCollection, collection->GetID())))
    {
        queueCount = 0;
        queueObject = nullptr;
    }
}

// ---- Tick and drawing ----------------------------------------------------------------------------

bool MWin::Tick()
{
    if (mwinRoot.popupOps.tick)
        mwinRoot.popupOps.tick(this);
    if (ProcessQueueMessages())
        return true;
    if (!desktop)
    {
        DebugError(ENG_FUNC, "No desktop");
        return false;
    }
    return desktop->Tick();
}

void MWin::RenderMain()
{
    if (!EngMainDevice || !on)
        return;
    if (!desktop)
    {
        DebugError(ENG_FUNC, "No desktop");
        return;
    }
    switch (settings.bgClearMode)
    {
    case 1:
        EngMainDevice->ClearScreen();
        break;
    case 2:
        EngMainDevice->ClearScreenAndZBuffer();
        break;
    case 3:
    {
        bool began = EngMainDevice->BeginRenderingIfNotRendering();
        bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
        EngTexture *image = settings.bgTexture ? settings.bgTexture : bgClearImage;
        if (image && image->IsLoaded())
        {
            if (settings.bgTexture)
                image->PositionRatioed(0, 0, 640, 480);
            image->Draw();
        }
        if (prepared)
            EngMainDevice->RestoreAfter2D();
        if (began)
            EngMainDevice->EndRendering();
        break;
    }
    }
    bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    bool began = EngMainDevice->BeginRenderingIfNotRendering();
    bool zSuspended = EngMainDevice->SuspendZBufferIfOn();
    bool blendEnabled = false;
    int blendSource = 0, blendDestination = 0;
    EngMainDevice->GetBlendingState(&blendEnabled, &blendSource, &blendDestination);
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    desktop->Render();
    EngMainDevice->SetBlendingState(blendEnabled, blendSource, blendDestination);
    if (zSuspended)
        EngMainDevice->ResumeZBuffer();
    if (began)
        EngMainDevice->EndRendering();
    if (prepared)
        EngMainDevice->RestoreAfter2D();
}

bool MWin::RenderPopups()
{
    if (!EngMainDevice || !on || !popupCollection || !desktop)
        return false;
    bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    bool began = EngMainDevice->BeginRenderingIfNotRendering();
    bool zSuspended = EngMainDevice->SuspendZBufferIfOn();
    bool blendEnabled = false;
    int blendSource = 0, blendDestination = 0;
    EngMainDevice->GetBlendingState(&blendEnabled, &blendSource, &blendDestination);
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    bool drew = desktop->RenderPopupCollection(popupCollection);
    EngMainDevice->SetBlendingState(blendEnabled, blendSource, blendDestination);
    if (zSuspended)
        EngMainDevice->ResumeZBuffer();
    if (began)
        EngMainDevice->EndRendering();
    if (prepared)
        EngMainDevice->RestoreAfter2D();
    return drew;
}

bool MWin::MouseMovePath()
{
    if (!desktop)
        return false;
    UpdateVirtualMousePos();
    return desktop->MouseMove();
}

void MWin::ButtonsChanged()
{
    if (!desktop)
        return;
    const _MWinHost *host = MWinGetHost();
    ApplyLayoutSettings();
    float x = mouseDesign[0], y = mouseDesign[1];
    if (mousePosCallback)
        mousePosCallback(&x, &y, mousePosA, mousePosB);
    else if (host->getMouseDesignPos && !host->getMouseDesignPos(&x, &y))
    {
        x = mouseDesign[0];
        y = mouseDesign[1];
    }
    mouseDesign[0] = x;
    mouseDesign[1] = y;
    if (on)
    {
        MouseMovePath();
        desktop->ReselectActiveCollection();
        MouseMovePath();
    }
    RequestRedraw();
}

// ---- Lookups -------------------------------------------------------------------------------------

MWinCollection *MWin::GetCollectionFromID(const char *id, bool report)
{
    if (!desktop)
    {
        DebugError(ENG_FUNC, "No desktop");
        return nullptr;
    }
    return desktop->GetCollectionFromID(id, report);
}

MWinWindow *MWin::GetWindowFromIDs(const char *collectionId, const char *windowId, bool report)
{
    if (MWinIsIDEmpty(windowId))
    {
        if (report)
            DebugError(ENG_FUNC, "No Window ID");
        return nullptr;
    }
    MWinCollection *collection = GetCollectionFromID(collectionId, report);
    return collection ? collection->GetWindowFromID(windowId, report) : nullptr;
}

MWinButton *MWin::GetButtonFromIDs(const char *collectionId, const char *windowId, const char *buttonId, bool report)
{
    if (MWinIsIDEmpty(buttonId))
    {
        if (report)
            DebugError(ENG_FUNC, "No Button ID");
        return nullptr;
    }
    MWinWindow *window = GetWindowFromIDs(collectionId, windowId, report);
    return window ? window->GetButtonFromID(buttonId, report) : nullptr;
}

MWinButton *MWin::FindButton(const char *collectionId, const char *windowId, const char *buttonId,
                             const MWinButton *object)
{
    if (!object || MWinIsIDEmpty(buttonId))
        return nullptr;
    MWinWindow *window = GetWindowFromIDs(collectionId, windowId, false);
    if (!window)
        return nullptr;
    if (window->GetHideButton() == object || window->GetExtraButton() == object)
        return const_cast<MWinButton *>(object);
    for (MWinGroup *group = window->GetFirstGroup(); group; group = group->GetNext())
        for (MWinButton *button = group->GetFirstButton(); button; button = button->GetNext())
            if (button == object)
                return button->IsSetUp() && MWinIDsEqual(button->GetID(), buttonId) ? button : nullptr;
    return nullptr;
}

MWinScreens *MWin::GetScreens()
{
    DebugFatalIfFalse(screens != nullptr, "MWin::GetScreens", "No screens");
    return screens;
}

void MWin::SetScreens(MWinScreens *screensObject)
{
    if (screens == screensObject)
        return;
    DebugFatalIfFalse(screens == nullptr, "MWin::SetScreens", "Screens already set");
    screens = screensObject;
}

void MWin::ClearScreens(MWinScreens *screensObject)
{
    if (screens == screensObject)
        screens = nullptr;
}

ScreenId MWin::GetCurrentScreen()
{
    return screens ? screens->GetCurrentScreen() : 0;
}

bool MWin::IsTextEditActive()
{
    if (!desktop)
        return false;
    for (MWinCollection *collection = desktop->GetFirstCollection(); collection; collection = collection->GetNext())
    {
        if (!collection->IsActive())
            continue;
        for (MWinWindow *window = collection->GetFirstWindow(); window; window = window->GetNext())
        {
            if (!window->IsActive())
                continue;
            MWinButton *button = window->GetActiveButton();
            if (button && button->GetType() == MWIN_BUTTON_TEXT_EDIT && button->IsEditing())
                return true;
        }
    }
    return false;
}

void MWin::RefreshLanguageTexts()
{
    if (!desktop)
        return;
    for (MWinCollection *collection = desktop->GetFirstCollection(); collection; collection = collection->GetNext())
        for (MWinWindow *window = collection->GetFirstWindow(); window; window = window->GetNext())
            window->RefreshLanguageTexts();
}

bool MWin::IsPopupOn()
{
    return mwinRoot.popupOps.isOn && mwinRoot.popupOps.isOn(this);
}

void MWin::PopupClose()
{
    if (mwinRoot.popupOps.close)
        mwinRoot.popupOps.close(this);
}

// ---- Settings and layout -----------------------------------------------------------------------

void MWin::InitDefaultSettings(bool full)
{
    if (full)
    {
        settings.activateCollectionUnderMouse = true;
        settings.activateWindowUnderMouse = true;
        settings.bgClearMode = 0;
        settings.bgImageFile[0] = 0;
        settings.disabledAlphaFactor = 1.0f;
    }
    for (float &grey : settings.greyColour)
        grey = 0.3984f;
    settings.greyAlpha = 0.8f;
    settings.desktopByte = EngMiscIsDesktopPlatform() ? 2 : 0;
    for (float &value : settings.kindValues)
        value = 0.6f;
    settings.squeezeText = true;
    settings.clipButtons = true;
    settings.wobble = true;
    settings.textureQuality = -1;
    static const float normal[MWIN_LAYOUT_FIELD_COUNT] = {
        30, 7,  50, 22, 5,  0,  0,  60, 20, 3,  3,    30, 28, 30, 28, 0,  0, 3, 0,  10, 3,  12,
        12, 3,  12, 24, 12, 24, 15, 3,  3,  3,  12,   12, 3,  12, 12, 3,  3, 3, 5,  5,  20, 2,
        1,  0,  0,  0.05f, 0, 4, 2, 2, 8, 8, 8, 24, 0, 0, 1, 0, 0, 12, 4, 30, 30, 3, 5};
    for (_MWinLayoutSettings &layout : settings.layoutDefaults)
    {
        uint32_t words[MWIN_LAYOUT_FIELD_COUNT];
        for (int i = 0; i < MWIN_LAYOUT_FIELD_COUNT; i++)
            memcpy(&words[i], &normal[i], 4);
        // Field 6 is a byte flag, fields 59 and 60 are integers.
        words[6] = 0;
        words[59] = 2;
        words[60] = 2;
        memcpy(&layout, words, sizeof layout);
    }
}

void MWin::GetDefaultSettings(_MWinSettings *out) const
{
    if (out)
        *out = settings;
}

void MWin::SetDefaultSettings(const _MWinSettings *in)
{
    if (in)
        settings = *in;
}

_MWinLayoutSettings *MWin::GetLayoutSettings(int layout)
{
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS)
        layout = 0;
    return &layoutSettings[layout];
}

void MWin::ApplyLayoutSettings()
{
    // Fields multiplied by the horizontal screen-scale factor.
    static const int scaledFields[] = {1,  4,  11, 12, 17, 20, 21, 23, 26, 28, 32, 34, 35, 37,
                                       38, 39, 40, 43, 49, 50, 51, 53, 54, 55, 56, 58, 61, 64, 65};
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++)
        layoutSettings[layout] = settings.layoutDefaults[layout];
    float factor = EngScreenSettings.widthCorrection;
    if (!scaling || factor <= 0.0f || factor == 1.0f)
        return;
    for (_MWinLayoutSettings &layout : layoutSettings)
    {
        float fields[MWIN_LAYOUT_FIELD_COUNT];
        memcpy(fields, &layout, sizeof fields);
        for (int index : scaledFields)
            fields[index] *= factor;
        memcpy(&layout, fields, sizeof fields);
        // The integer field 59 becomes the nearest integer to factor x default, times the
        // default (kept as found; nothing reads it by name).
        layout.kind59 = (int32_t)(factor * layout.kind59 + 0.5f) * layout.kind59;
    }
}

void MWin::SelectScreenLayout()
{
    int layout = SCREEN_LAYOUT_NORMAL;
    if (!EngMiscIsDesktopPlatform())
    {
        bool portrait = EngMainIsOrientationPortrait();
        if (EngMiscIsLargeScreenDevice())
            layout = portrait ? SCREEN_LAYOUT_IPAD_PORTRAIT : SCREEN_LAYOUT_IPAD_LANDSCAPE;
        else
            layout = portrait ? SCREEN_LAYOUT_IPHONE_PORTRAIT : SCREEN_LAYOUT_IPHONE_LANDSCAPE;
    }
    SetScreenLayout(layout);
}

void MWin::SetScreenLayout(int layout)
{
    if (layout < 0 || layout >= MWIN_NUM_LAYOUTS)
        layout = 0;
    if (mwinRoot.popupOps.setupSizes)
        mwinRoot.popupOps.setupSizes(this);
    ApplyLayoutSettings();
    MWinCollection *wasActive = desktop ? desktop->GetActiveCollection() : nullptr;
    if (wasActive)
        wasActive->Deactivate();
    screenLayout = layout;
    if (desktop)
        desktop->SetScreenLayout(layout);
    if (wasActive)
        wasActive->Activate();
}

float MWin::GetHorizontalScaleIfScaled() const
{
    float factor = EngScreenSettings.widthCorrection;
    return scaling && factor > 0.0f ? factor : 1.0f;
}

float MWin::GetVerticalScaleIfScaled() const
{
    float factor = EngScreenSettings.heightCorrection;
    return scaling && factor > 0.0f ? factor : 1.0f;
}

void MWin::GetVirtualSize(float *w, float *h) const
{
    int layout = screenLayout >= 0 && screenLayout < MWIN_NUM_LAYOUTS ? screenLayout : 0;
    if (w)
        *w = virtualSize[layout][0];
    if (h)
        *h = virtualSize[layout][1];
}

void MWin::SetMousePosCallback(MWinMousePosCallbackFn callback, int a, int b)
{
    mousePosCallback = callback;
    mousePosA = a;
    mousePosB = b;
}

// ---- Mouse ----------------------------------------------------------------------------------------

void MWin::UpdateVirtualMousePos()
{
    if (!virtualMapping || virtualArea.w <= 0.0f || virtualArea.h <= 0.0f)
    {
        mouseVirtual[0] = mouseDesign[0];
        mouseVirtual[1] = mouseDesign[1];
        return;
    }
    mouseVirtual[0] = (mouseDesign[0] - virtualArea.x) * 640.0f / virtualArea.w;
    mouseVirtual[1] = (mouseDesign[1] - virtualArea.y) * 480.0f / virtualArea.h;
}

static bool PointInArea(float x, float y, const _Dimension *area, const float *offset)
{
    if (!area)
        return false;
    float left = area->x + (offset ? offset[0] : 0.0f);
    float top = area->y + (offset ? offset[1] : 0.0f);
    return left <= x && x < left + area->w && top <= y && y < top + area->h;
}

bool MWin::IsMouseInArea(const _Dimension *area, const float *offset) const
{
    return PointInArea(mouseVirtual[0], mouseVirtual[1], area, offset);
}

bool MWin::IsDesignMouseInArea(const _Dimension *area, const float *offset) const
{
    return PointInArea(mouseDesign[0], mouseDesign[1], area, offset);
}

void MWin::MoveMouseToVirtual(float x, float y)
{
    const _MWinHost *host = MWinGetHost();
    if (host->setMouseCursorVirtual)
        host->setMouseCursorVirtual(x, y);
    // Hover and focus follow at once, without waiting for the window's own move event.
    HandleMouseMoveDesign(x, y);
}
