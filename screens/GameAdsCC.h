// The other products screen ('GADS', collection "GameAds"): one row of the product
// catalogue at a time with its title, three lines of description and one or two
// pictures, and buttons to download the product, recommend it to a friend and step to the
// previous or next product. Unlike the other screens it keeps its widgets as members, and
// acts on a pressed button one tick later.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class GameAdsCollectionController : public ScreensCollectionController
{
public:
    enum Widget
    {
        TITLE,
        PIC1_BG,
        PIC1,
        PIC2_BG,
        PIC2,
        PIC_CEN,
        DESC1,
        DESC2,
        DESC3,
        DOWNLOAD,
        TELL_A_FRIEND,
        PREV,
        NEXT,
        NUM_WIDGETS,
    };

    GameAdsCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
    MWinButton *GetWidget(int widget) const;
    MWinWindow *GetWindow() const { return window; }

protected:
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[NUM_WIDGETS];
};

class GameAdsCC : public GameAdsCollectionController
{
public:
    explicit GameAdsCC(MWinScreens *screens);
    void SetEnteredFromMenu() { enteredFromMenu = true; }
    void StartingCB(void *data) override;
    void TickCB() override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
    void CreatePictures();
    void ReleasePictures();
    // The shown picture widgets, looked up by StartingCB ("PicCenBg" may be missing).
    MWinButton *GetPicture(const char *id) const;
    MWinButton *GetBackButton() const { return back; }

private:
    enum
    {
        PICTURES = 6,
        LAYOUTS = 5,
    };
    void HandleButton(MWinButton *button);
    void ShowPrevAd();
    void ShowNextAd();
    void GoBack();
    void FitPictures();
    bool IsCurrent();

    MWinButton *prev, *next, *back, *download;
    MWinButton *pictures[PICTURES]; // Pic1Bg, Pic1, Pic2Bg, Pic2, PicCenBg, PicCen
    bool enteredFromMenu;
    MWinButton *pending;
    bool pulse;
    float throbAngle;
    _Dimension remembered[LAYOUTS][PICTURES]; // a width of 0: not yet seen
};
