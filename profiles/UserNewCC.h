// The new-player screen ('uNEW', collection "UserNew"): a name (entered in a popup and
// checked five ticks after it closes) and a country (from the country screen); Continue
// creates the player file and goes on to the main menu. After a reset on the load screen
// it creates the fresh player of the old name at once.
#pragma once
#include "MWin.h"
#include "UserName.h"

class UserScreens;

class UserNewCollectionController : public MWinCollectionController
{
public:
    UserNewCollectionController();
    void SetScreensVar(MWinScreens *screens);
    bool CreateCollection(MWin *mwin) override;
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop);
};

class UserNewCC : public UserNewCollectionController
{
public:
    UserNewCC(MWinScreens *screens, UserScreens *owner);
    void StartingCB(void *data) override;
    void TickCB() override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // Whether `name` fits the name buffer whole (a cut name would be another player).
    static bool CanHoldName(const char *name);
    // Shows `name` and creates the player in reset mode; NULL reports 'BAPA' and gives
    // false, as does a name the buffer cannot hold.
    bool ResetAndLoadUser(const char *name);
    // Opens the name popup.
    void OpenNamePopup();
    // Creates the player from the name and the chosen country; false when refused.
    bool CreateAction(bool reset);

    const char *GetName() const { return name; }
    int GetCountryIndex() const { return countryIndex; }
    int GetValidationCountdown() const { return validationCountdown; }
    // Tests: a fresh screen that proposes the login name again.
    static void ResetProposeLoginName();

    static void AfterNamePopupCB(MWin *mwin, char value, void *user);

private:
    void ShowName();
    void ValidateName();

    UserScreens *owner;
    char name[USER_NAME_MAX_LENGTH_RULE];
    char savedName[USER_NAME_MAX_LENGTH_RULE];
    bool started;
    int countryIndex;
    int validationCountdown;
};

enum _UserNewWidget
{
    USER_NEW_NAME,
    USER_NEW_BACK,
    USER_NEW_NAME_TEXT,
    USER_NEW_COUNTRY,
    USER_NEW_COUNTRY_TEXT,
    USER_NEW_CONTINUE,
    USER_NEW_TITLE_PIC,
    USER_NEW_NUM_WIDGETS,
};
MWinButton *UserNewGetWidget(int widget);
