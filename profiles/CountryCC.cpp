// The country screen: its layout, the list of countries with a flag left of each row,
// and the choice of the new player's country.
#include "CountryCC.h"

#include <cstring>

#include "Country.h"
#include "EngDebug.h"
#include "EngDevice.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "UserScreens.h"

namespace
{

const float W = 1.0f;
const _UserScreensWidget kWidgets[COUNTRY_NUM_WIDGETS] = {
    {"Title", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "SELECT YOUR COUNTRY", "Country_Title", 189, 18, 262, 18, W, W,
     W, 0.75f, 1.3f, 1.42f, MWIN_ALIGN_CENTRE, 0},
    {"Continue", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Continue", "Common_ButtonContinue", 250, 425, 140, 35, W, W,
     W, 0.7f, 1, 1.1f, MWIN_ALIGN_CENTRE, 0},
    {"Country", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, " unset", nullptr, 169.5f, 50, 301, 323, W, W, W, 0.7f, 1,
     1.1f, MWIN_ALIGN_CENTRE, 0},
    {"Note", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, "Your country is displayed in network games.", "Country_Note", 40,
     380, 560, 33, W, W, W, 0.7f, 1, 1.1f, MWIN_ALIGN_CENTRE, 0},
};

struct CountryScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[COUNTRY_NUM_WIDGETS];
    // The first start's y and height of the title, list, note and Continue, from which
    // the module's insets place them.
    bool remembered;
    float y[COUNTRY_NUM_WIDGETS], h[COUNTRY_NUM_WIDGETS];
};
CountryScreen s_country = {};
const char *s_noteText = nullptr;

MWinButton *Widget(int widget)
{
    return s_country.widgets[widget];
}

const char *CountryRowCB(int row, MWinButton *button, void *user)
{
    const _Country *country = CountryGetCountry(row);
    return country ? country->name : "";
}

} // namespace

MWinButton *CountryGetWidget(int widget)
{
    return widget >= 0 && widget < COUNTRY_NUM_WIDGETS ? s_country.widgets[widget] : nullptr;
}

// ---- Layout -------------------------------------------------------------------------------------

CountryCollectionController::CountryCollectionController()
{
    ClearButtonPointers();
}

void CountryCollectionController::SetScreensVar(MWinScreens *screens)
{
    DebugFatalIfFalseInFunction(screens && screens->GetMWin(), ENG_FUNC, "No screens");
    SetScreens(screens);
}

void CountryCollectionController::ClearButtonPointers()
{
    s_country.collection = nullptr;
    s_country.window = nullptr;
    for (MWinButton *&widget : s_country.widgets)
        widget = nullptr;
}

bool CountryCollectionController::CreateCollection(MWin *mwin)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    return AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection *CountryCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_country.collection = UserScreensBuildScreen(this, mwin, desktop, "Country", kWidgets, COUNTRY_NUM_WIDGETS,
                                                  s_country.widgets, &s_country.window);
    return s_country.collection;
}

// ---- Behaviour -------------------------------------------------------------------------------------

CountryCC::CountryCC(MWinScreens *screens, UserScreens *ownerObject) : owner(ownerObject)
{
    DebugFatalIfFalseInFunction(owner != nullptr, ENG_FUNC, "No user screens");
    ClearButtonPointers();
    SetScreensVar(screens);
}

void CountryCC::SetNoteText(const char *note)
{
    s_noteText = note;
}

void CountryCC::StartingCB(void *data)
{
    MWinButton *list = Widget(COUNTRY_LIST);
    if (!list)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("DNEX"));
        return;
    }
    // No row is chosen until the user's own country is found or a row is pressed.
    list->PanelAllowNoSelection();
    list->PanelSetStringsCallback(COUNTRY_NUM_COUNTRIES, 0, CountryRowCB, nullptr);
    const int local = CountryGetLocalCountryPos();
    if (local >= 0)
    {
        list->PanelSetPos(local, 0, 0);
        list->PanelCenterOnPos();
    }

    if (!s_country.remembered)
    {
        for (int widget = 0; widget < COUNTRY_NUM_WIDGETS; widget++)
            if (Widget(widget))
            {
                s_country.y[widget] = Widget(widget)->GetAreaP()->y;
                s_country.h[widget] = Widget(widget)->GetAreaP()->h;
            }
        s_country.remembered = true;
    }
    float top = 0, bottom = 0;
    CountryGetInsets(&top, &bottom);
    if (top != 0 || bottom != 0)
    {
        auto place = [](int widget, float y, float h) {
            if (MWinButton *button = Widget(widget))
                button->SetArea(button->GetAreaP()->x, y, button->GetAreaP()->w, h);
        };
        place(COUNTRY_TITLE, top + s_country.y[COUNTRY_TITLE], s_country.h[COUNTRY_TITLE]);
        place(COUNTRY_LIST, top + s_country.y[COUNTRY_LIST], s_country.h[COUNTRY_LIST] - top - bottom);
        place(COUNTRY_NOTE, s_country.y[COUNTRY_NOTE] - bottom, s_country.h[COUNTRY_NOTE]);
        place(COUNTRY_CONTINUE, s_country.y[COUNTRY_CONTINUE] - bottom, s_country.h[COUNTRY_CONTINUE]);
    }

    CountryCreateGraphics();
    if (MWinButton *note = Widget(COUNTRY_NOTE))
    {
        if (!s_noteText)
            note->SetText("Your country is used for online scores.");
        else if (!s_noteText[0])
            note->Hide();
        else
            note->SetText(s_noteText);
    }
}

void CountryCC::RenderCB(int pass)
{
    MWinButton *list = Widget(COUNTRY_LIST);
    if (pass != 1 || !EngMainDevice || !list || !CountryIsAtlasLoaded())
        return;
    int first = 0, end = 0;
    list->PanelGetVisibleRange(&first, &end);
    // Flag width, height and extra height by screen layout.
    static const float sizes[5][3] = {{20, 20, -1}, {70, 35, 4}, {40, 40, 4}, {45, 22, 4}, {30, 30, 4}};
    int layout = GetScreens()->GetMWin()->GetScreenLayout();
    if (layout < 0 || layout > 4)
        layout = 0;
    const float width = sizes[layout][0], extra = sizes[layout][2];
    float height = sizes[layout][1];
    const bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    // The flags sit left of the list: its clipping is widened to take them, and rows
    // half scrolled out are cut at the list's top and bottom.
    const _Dimension *area = list->GetScreenAreaP();
    _Dimension clip = {area->x - 1.5f * width, area->y, area->w + 1.5f * width, area->h};
    MWinTurnOnCrop(&clip);
    float row[4];
    if (list->PanelGetRowArea(first, row) && row[3] < height)
        height = row[3];
    for (int index = first; index <= end && index < COUNTRY_NUM_COUNTRIES; index++)
    {
        if (!list->PanelGetRowArea(index, row))
            continue;
        _Dimension flag = {row[0] - width - 1.0f, row[1] + row[3] / 2.0f + extra / 2.0f + 0.5f - height / 2.0f, width,
                           height + extra};
        CountryDrawFlag(index, &flag);
    }
    EngMainDevice->TurnOffCrop();
    EngMainDevice->DisableBlending();
    if (prepared)
        EngMainDevice->RestoreAfter2D();
}

bool CountryCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    if (button == Widget(COUNTRY_CONTINUE))
    {
        ContinueCB();
        return true;
    }
    if (button == Widget(COUNTRY_LIST))
    {
        if (info && info->panelActivated == 1)
            ContinueCB();
        return true;
    }
    return false;
}

bool CountryCC::ContinueCB()
{
    MWinButton *list = Widget(COUNTRY_LIST);
    const _Country *country = list ? CountryGetCountry(list->PanelGetPos()) : nullptr;
    if (!country)
    {
        if (MWin *mwin = GetScreens()->GetMWin())
            mwin->PopupMessageText(
                EngLanguagesGetStringOrDefault("Country_PleaseSelectACountryFirst", "Please select a country first"));
        return false;
    }
    EngSafeStrcpy(CountryGetNewPlayerCountryCode(), country->code, COUNTRY_PLAYER_CODE_SIZE);
    if (CountryReleaseAfterScreen())
        CountryReleaseGraphics();
    void *context = nullptr;
    if (CountryContinueFn callback = CountryGetContinueCallback(&context))
        callback(country->code, context);
    else
        GetScreens()->GoBack();
    return true;
}
