// The country screen ('mCTY', collection "Country"): the 222 countries with their flags,
// the user's own country selected; Continue (or Enter, or a double click on a row) makes
// the chosen country the new player's and goes back, or runs the module's continue
// callback when one is set.
#pragma once
#include "MWin.h"

class UserScreens;

class CountryCollectionController : public MWinCollectionController
{
public:
    CountryCollectionController();
    void SetScreensVar(MWinScreens *screens);
    bool CreateCollection(MWin *mwin) override;
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop);
};

class CountryCC : public CountryCollectionController
{
public:
    CountryCC(MWinScreens *screens, UserScreens *owner);
    void StartingCB(void *data) override;
    void RenderCB(int pass) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
    // The chosen row becomes the new player's country; false (with a message) when no
    // row is chosen.
    bool ContinueCB();
    // The screen's own note ("" hides the note; NULL shows the standard note).
    static void SetNoteText(const char *note);

private:
    UserScreens *owner;
};

enum _CountryWidget
{
    COUNTRY_TITLE,
    COUNTRY_CONTINUE,
    COUNTRY_LIST,
    COUNTRY_NOTE,
    COUNTRY_NUM_WIDGETS,
};
MWinButton *CountryGetWidget(int widget);
