// The shared collection builder of the simpler menu screens (ScreensBuild.h).
#include "ScreensBuild.h"

#include "EngDebug.h"

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
        MWinButton *button = window->AddButton(row.id, (_MWinButtonType)row.kind, row.texBut, row.text, row.x, row.y,
                                               row.w, row.h);
        if (!button)
        {
            ok = false;
            continue;
        }
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

MWinCollection *ScreensBuildCollection(MWin *mwin, MWinDesktop *desktop, const char *collectionId,
                                       const _ScreensWidgetRow *rows, int count, MWinButton **widgets,
                                       MWinWindow **window, MWinCollectionController *controller)
{
    *window = nullptr;
    for (int i = 0; i < count; i++)
        widgets[i] = nullptr;
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
    // The desktop build has one geometry; every layout value builds it.
    collection->SetScreenLayout(mwin->GetScreenLayout());
    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_ORDINARY;
    info.w = 640.0f;
    info.h = 480.0f;
    MWinCopyID(info.titleTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.bodyTexBut, MWIN_TEXBUT_NONE);
    MWinCopyID(info.font, MWIN_FONT_DEFAULT);
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
