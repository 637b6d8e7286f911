// The other products screen: the window with its own back button, the catalogue row's
// texts and pictures, the pulsing download button and the stepping by buttons and arrow
// keys.
#include "GameAdsCC.h"

#include <cstring>

#include "EngDebug.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngWindow.h"
#include "GameAds.h"
#include "ScreensBuild.h"

namespace
{

const ScreenId kGameAdsScreen = EngFourCC("GADS");

#define PICTURE(id, kind, texBut, x) {id, kind, texBut, "", x, 0, 0, 0, 0, 0, 0, 0.7f, 1, 1, 1}
#define DESC(id, text, y) {id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, text, 25, y, 590, 16, 0.7f, 0.7f, 0.7f, 1, 1, 1, 1}
#define BUTTON(id, text, x, w) {id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, text, x, 400, w, 30, 1, 1, 1, 0.7f, 1, 1, 1}

// "Pic1" shows its picture as a custom texture: it needs no texture button of its own.
const _ScreensWidgetRow kNormal[GameAdsCollectionController::NUM_WIDGETS] = {
    {"Title", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "GAME TITLE", 150, 0, 341, 35, 1, 1, 1, 0.8f, 1.6f, 1.74f, 1},
    {"Pic1Bg", MWIN_BUTTON_PUSH, "Back1", "", 50, 115, 261, 266, 0, 0, 0, 0.7f, 1, 1, 1},
    {"Pic1", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "", 52, 117, 257, 262, 0, 0, 0, 0.7f, 1, 1, 1},
    {"Pic2Bg", MWIN_BUTTON_PUSH, "Back1", "", 327, 115, 261, 266, 0, 0, 0, 0.7f, 1, 1, 1},
    {"Pic2", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "", 329, 117, 257, 262, 0, 0, 0, 0.7f, 1, 1, 1},
    {"PicCen", MWIN_BUTTON_STATIC, "Back1", "", 125, 102, 390, 290, 0, 0, 0, 0.7f, 1, 1, 1},
    DESC("Desc1", "Line 1 of the game description text.", 40),
    DESC("Desc2", "Line 2 of the game description text.", 60),
    DESC("Desc3", "Line 3 of the game description text.", 80),
    BUTTON("Download", "Instant Download", 77.88f, 130),
    BUTTON("TellAFriend", "Tell A Friend", 219.76f, 130),
    BUTTON("Prev", "Prev", 361.38f, 95),
    BUTTON("Next", "Next", 467.12f, 95),
};
const char *const kTokens[GameAdsCollectionController::NUM_WIDGETS] = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    "GameAds_Download", "GameAds_TellAFriend", "Common_Previous", "Common_Next"};
const char *const kPictureIds[6] = {"Pic1Bg", "Pic1", "Pic2Bg", "Pic2", "PicCenBg", "PicCen"};

#undef PICTURE
#undef DESC
#undef BUTTON

} // namespace

// ---- Layout ---------------------------------------------------------------------------------------

GameAdsCollectionController::GameAdsCollectionController()
{
    GameAdsCollectionController::ClearButtonPointers();
}

void GameAdsCollectionController::ClearButtonPointers()
{
    collection = nullptr;
    window = nullptr;
    for (MWinButton *&widget : widgets)
        widget = nullptr;
}

MWinButton *GameAdsCollectionController::GetWidget(int widget) const
{
    return widget >= 0 && widget < NUM_WIDGETS ? widgets[widget] : nullptr;
}

MWinCollection *GameAdsCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    _MWinWindowCreateInfo info;
    ScreensTitledWindowInfo(&info, "Also by Fernbrooks", "GameAds_AlsoText");
    collection = ScreensBuildCollection(mwin, desktop, "GameAds", kNormal, NUM_WIDGETS, widgets, &window, this, &info);
    if (window)
    {
        window->SetTitleTextColour(1.0f, 1.0f, 1.0f, 0.7f);
        window->SetTextAlign(MWIN_ALIGN_CENTRE);
    }
    ScreensSetWidgetTokens(widgets, kTokens, NUM_WIDGETS);
    return collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

GameAdsCC::GameAdsCC(MWinScreens *screens)
    : prev(nullptr), next(nullptr), back(nullptr), download(nullptr), pictures(), enteredFromMenu(false),
      pending(nullptr), pulse(false), throbAngle(0.0f), remembered()
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

bool GameAdsCC::IsCurrent()
{
    MWinScreens *screens = GetScreens();
    return screens && screens->GetCurrentScreen() == kGameAdsScreen;
}

MWinButton *GameAdsCC::GetPicture(const char *id) const
{
    for (int i = 0; i < PICTURES; i++)
        if (strcmp(kPictureIds[i], id) == 0)
            return pictures[i];
    return nullptr;
}

void GameAdsCC::ReleasePictures()
{
    if (IsCurrent())
        for (MWinButton *picture : {GetWidget(PIC1), GetWidget(PIC2), GetWidget(PIC_CEN)})
            if (picture)
                picture->SetCustomTexButTexture(nullptr);
    GameAdsReleaseGraphics();
}

void GameAdsCC::CreatePictures()
{
    ReleasePictures();
    if (IsCurrent())
        GameAdsCreateGraphics(true);
}

// Each picture widget keeps the area it was built with; a row's size factors scale that
// area about its centre, so that steps between rows never shrink a picture further.
void GameAdsCC::FitPictures()
{
    const _GameAdFilenames *files = GameAdsGetCurrentGameAdFilenames();
    float widthFactor = files->widthFactor > 0.0f && files->widthFactor != 1.0f ? files->widthFactor : 1.0f;
    float heightFactor = files->heightFactor > 0.0f && files->heightFactor != 1.0f ? files->heightFactor : 1.0f;
    MWin *mwin = GetScreens() ? GetScreens()->GetMWin() : nullptr;
    int layout = mwin ? mwin->GetScreenLayout() : 0;
    if (layout < 0 || layout >= LAYOUTS)
        layout = 0;
    for (int i = 0; i < PICTURES; i++)
    {
        MWinButton *picture = pictures[i];
        if (!picture || !picture->IsVisible())
            continue;
        _Dimension &base = remembered[layout][i];
        if (base.w == 0.0f)
            base = *picture->GetAreaP();
        float w = base.w * widthFactor, h = base.h * heightFactor;
        picture->SetArea(base.x + (base.w - w) * 0.5f, base.y + (base.h - h) * 0.5f, w, h);
    }
}

void GameAdsCC::StartingCB(void *data)
{
    GameAdsSetCurGameAd(GameAdsGetCurrentRow());
    const _GameAdTexts *texts = GameAdsGetCurrentGameAdTexts();
    const _GameAdFilenames *files = GameAdsGetCurrentGameAdFilenames();
    const _GameAdVars *vars = GameAdsGetCurrentGameAdVars();
    if (!texts || !files || !vars)
    {
        GoBack();
        return;
    }
    if (GetWidget(TITLE))
        GetWidget(TITLE)->SetText(texts->titleCaps);
    for (int line = 0; line < 3; line++)
        if (GetWidget(DESC1 + line))
            GetWidget(DESC1 + line)->SetText(texts->lines[line]);

    CreatePictures();
    for (int i = 0; i < PICTURES; i++)
        pictures[i] = window ? window->GetButtonFromID(kPictureIds[i], false) : nullptr;
    for (const char *id : {"Pic1Bg", "Pic1", "Pic2Bg", "Pic2"})
        if (MWinButton *picture = GetPicture(id))
            picture->Show();
    for (const char *id : {"PicCen", "PicCenBg"})
        if (MWinButton *picture = GetPicture(id))
            picture->Hide();
    EngTexture *first = GameAdsGetPicTexture1(), *second = GameAdsGetPicTexture2();
    if (GetPicture("Pic1") && first->IsLoaded())
        GetPicture("Pic1")->SetCustomTexButTexture(first);
    if (GetPicture("Pic2") && second->IsLoaded())
        GetPicture("Pic2")->SetCustomTexButTexture(second);

    if (enteredFromMenu)
    {
        prev = GetWidget(PREV);
        next = GetWidget(NEXT);
        back = window ? window->GetButtonFromID("Back", false) : nullptr;
        if (!back && window)
            back = window->GetHideButton();
        if (back)
            back->SetEscapeButtonForParentWindow();
        else
            DebugError(ENG_FUNC, "No back button");
    }

    pulse = false;
    download = GetWidget(DOWNLOAD);
    if (!download && window)
        download = window->GetButtonFromID("HomePage", false);
    if (download)
    {
        // Without the download service a product can only be recommended.
        bool canDownload = GameAdsCanDownload();
        download->SetEnabled(canDownload);
        pulse = canDownload;
        download->SetAlpha(1.0f);
    }

    if (!files->picture2[0])
    {
        for (const char *id : {"Pic1Bg", "Pic1", "Pic2Bg", "Pic2"})
            if (MWinButton *picture = GetPicture(id))
                picture->Hide();
        for (const char *id : {"PicCen", "PicCenBg"})
            if (MWinButton *picture = GetPicture(id))
                picture->Show();
        if (MWinButton *centre = GetPicture("PicCen"))
        {
            if (first->IsLoaded())
                centre->SetCustomTexButTexture(first);
        }
        else
            DebugError(ENG_FUNC, "No center pic button");
    }
    FitPictures();
    if (vars->hasAlpha)
        for (const char *id : {"Pic1Bg", "Pic2Bg", "PicCenBg"})
            if (MWinButton *frame = GetPicture(id))
                frame->Hide();
    if (GameAdsGetNumIncluded() <= 1)
        for (MWinButton *step : {GetWidget(PREV), GetWidget(NEXT)})
            if (step)
                step->Hide();
}

bool GameAdsCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    pending = button;
    return true;
}

void GameAdsCC::TickCB()
{
    if (pending)
    {
        MWinButton *button = pending;
        pending = nullptr;
        HandleButton(button);
        return;
    }
    if (EngKeyStates[ENG_VK_LEFT] > 1)
    {
        EngKeyStates[ENG_VK_LEFT] = 0;
        ShowPrevAd();
        return;
    }
    if (EngKeyStates[ENG_VK_RIGHT] > 1)
    {
        EngKeyStates[ENG_VK_RIGHT] = 0;
        ShowNextAd();
        return;
    }
    if (download && download->IsVisible() && pulse)
    {
        float t = EngMiscThrobTick(&throbAngle, 4.0f * EngFrameTiming.frameTime, nullptr);
        download->SetAlpha(0.7f + 0.3f * t);
    }
}

void GameAdsCC::HandleButton(MWinButton *button)
{
    if (button == GetWidget(PREV))
        ShowPrevAd();
    else if (button == GetWidget(NEXT))
        ShowNextAd();
    else if (button == back || (window && button == window->GetHideButton()))
        GoBack();
    else if (button == GetWidget(TELL_A_FRIEND))
        GameAdsTellAFriend();
    else if (button == download && GameAdsCanDownload())
        GameAdsInstantDownload();
}

void GameAdsCC::ShowPrevAd()
{
    ReleasePictures();
    GameAdsGoToPrevAd();
    StartingCB(nullptr);
}

void GameAdsCC::ShowNextAd()
{
    ReleasePictures();
    GameAdsGoToNextAd();
    StartingCB(nullptr);
}

void GameAdsCC::GoBack()
{
    prev = next = back = download = nullptr;
    for (MWinButton *&picture : pictures)
        picture = nullptr;
    pending = nullptr;
    ReleasePictures();
    if (MWinScreens *screens = GetScreens())
        screens->GoBack();
}
