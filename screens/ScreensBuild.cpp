// The shared collection builder of the simpler menu screens (ScreensBuild.h).
#include "ScreensBuild.h"

#include <cstring>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "MWinTabPanel.h"
#include "PlinxScreens.h"

namespace
{

bool AddWidgets(MWinWindow *window, const _ScreensWidgetRow *rows, int count, MWinButton **widgets)
{
    for (int i = 0; i < count; i++)
        widgets[i] = nullptr;
    if (!window)
    {
        DebugError(ENG_FUNC, "No window");
        return false;
    }
    bool ok = true;
    for (int i = 0; i < count; i++)
    {
        const _ScreensWidgetRow &row = rows[i];
        // A table is a button of its own class; every other kind is made by the window.
        MWinButton *button =
            row.kind == MWIN_BUTTON_TAB_PANEL
                ? MWinTabPanel::Add(window, row.id, row.x, row.y, row.w, row.h)
                : window->AddButton(row.id, (_MWinButtonType)row.kind, row.texBut, row.text, row.x, row.y, row.w, row.h);
        if (!button)
        {
            ok = false;
            continue;
        }
        if (row.kind == MWIN_BUTTON_TAB_PANEL && strcmp(row.texBut, MWIN_TEXBUT_NONE) == 0)
            button->SetBackTexButToNone();
        button->SetFont("Main");
        button->SetTextColourRGBA(row.r, row.g, row.b, row.a);
        button->SetTextScale(row.scaleX, row.scaleY);
        button->SetTextAlign((_MWinTextAlign)row.align);
        if (row.ma > 0.0f)
            button->SetColourMultiplier(row.mr, row.mg, row.mb, row.ma);
        widgets[i] = button;
    }
    if (!ok)
        DebugError(ENG_FUNC, "Could not add button(s) to window");
    return ok;
}

} // namespace

void ScreensCollectionController::SetScreensVar(MWinScreens *screens)
{
    DebugFatalIfFalseInFunction(screens && screens->GetMWin(), ENG_FUNC, "No screens");
    SetScreens(screens);
}

bool ScreensCollectionController::CreateCollection(MWin *mwin)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return false;
    }
    return AddCollectionToDesktop(mwin, mwin->GetDesktop()) != nullptr;
}

MWinCollection *ScreensAddCollection(MWin *mwin, MWinDesktop *desktop, const char *collectionId)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwinp");
        return nullptr;
    }
    if (!desktop)
        desktop = mwin->GetDesktop();
    if (!desktop)
    {
        DebugError(ENG_FUNC, "Could not get default desktop");
        return nullptr;
    }
    MWinCollection *collection = desktop->AddCollection(collectionId);
    if (!collection)
    {
        DebugError(ENG_FUNC, "Could not create collection <%s>", collectionId);
        return nullptr;
    }
    collection->SetScreenLayout(mwin->GetScreenLayout());
    return collection;
}

MWinCollection *ScreensBuildCollection(MWin *mwin, MWinDesktop *desktop, const char *collectionId,
                                       const _ScreensWidgetRow *rows, int count, MWinButton **widgets,
                                       MWinWindow **window, MWinCollectionController *controller,
                                       const _MWinWindowCreateInfo *windowInfo)
{
    *window = nullptr;
    for (int i = 0; i < count; i++)
        widgets[i] = nullptr;
    // The desktop build has one geometry; every layout value builds it.
    MWinCollection *collection = ScreensAddCollection(mwin, desktop, collectionId);
    if (!collection)
        return nullptr;
    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_ORDINARY;
    info.w = 640.0f;
    info.h = 480.0f;
    MWinCopyID(info.titleTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.bodyTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.font, MWIN_FONT_DEFAULT);
    if (windowInfo)
        info = *windowInfo;
    MWinWindow *win = collection->AddWindow("MainWin", &info);
    if (!win)
    {
        DebugError(ENG_FUNC, "Could not add window");
        return collection;
    }
    win->SetTitleTextColour(1.0f, 1.0f, 1.0f, 1.0f);
    win->SetTitleTextScale(1.0f, 1.0f);
    win->SetTextAlign(MWIN_ALIGN_LEFT);
    win->SetScrollSize(0.0f, 0.0f);
    if (!AddWidgets(win, rows, count, widgets))
        DebugError(ENG_FUNC, "Could not add buttons to window");
    win->SetController(controller);
    *window = win;
    return collection;
}

void ScreensTitledWindowInfo(_MWinWindowCreateInfo *info, const char *title, const char *titleToken)
{
    *info = {};
    info->kind = MWIN_WINDOW_ORDINARY;
    info->x = 0;
    info->y = 30;
    info->w = 640;
    info->h = 450;
    info->hasTitleBar = 1;
    info->hasHideButton = 1;
    MWinCopyID(info->title, title);
    MWinCopyID(info->titleToken, titleToken);
    MWinCopyID(info->hideText, "Back");
    MWinCopyID(info->hideToken, "Common_ButtonGoBack");
    MWinCopyID(info->titleTexBut, MWIN_TEXBUT_DEFAULT);
    MWinCopyID(info->bodyTexBut, MWIN_TEXBUT_DEFAULT);
    MWinCopyID(info->font, "Main");
}

void ScreensSetWidgetTokens(MWinButton **widgets, const char *const *tokens, int count)
{
    for (int i = 0; i < count; i++)
        if (widgets[i] && tokens[i])
            widgets[i]->SetTextLanguageToken(tokens[i]);
}

bool ScreensBindOptionChoice(MWinButton *choice, int8_t *option, int count, const char *token, const char **words,
                             const char *name)
{
    if (!choice || !option || count < 1)
        return false;
    choice->ChoiceSetShowArrows(true);
    int subTexts = 0;
    bool fromToken = token && EngLanguagesDoesTokenExist(token) &&
                     EngLanguagesGetTokenNumAndNumSubTextsForToken(token, &subTexts) >= 0 && subTexts >= count;
    bool itemsSet = fromToken ? choice->ChoiceSetStringsLanguageToken(count, token)
                              : words && choice->ChoiceSetStrings(count, words);
    if (!itemsSet)
    {
        DebugError(ENG_FUNC, "No items for %s", name);
        return false;
    }
    // A player file from elsewhere may hold any byte; the widget can only show its items.
    if (*option < 0 || *option >= count)
    {
        int8_t nearest = *option < 0 ? 0 : (int8_t)(count - 1);
        DebugError(ENG_FUNC, "Option %s out of range (%d): %d used", name, *option, nearest);
        *option = nearest;
    }
    return choice->ChoiceRegisterCharVariable(reinterpret_cast<char *>(option));
}

void ScreensEnableWhenRegistered(MWinScreens *screens, MWinButton *button, ScreenId id)
{
    PlinxScreens *registry = static_cast<PlinxScreens *>(screens);
    if (button)
        button->SetEnabled(registry && registry->HasScreen(id));
}
