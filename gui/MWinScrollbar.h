// A vertical scrollbar widget: a track with an optional arrow at each end and a knob
// whose position shows a value within a range. A button of kind 5; it fires its
// callback with the drag flag as event value, and writes a bound variable.
#pragma once
#include "MWinButton.h"

class MWinVertScrollbar : public MWinButton
{
public:
    MWinVertScrollbar(MWin *mwin, const char *id, MWinGroup *group, const char *texButId, MWinWindow *window, float x,
                      float y, float w, float h);
    ~MWinVertScrollbar() override;

    void Render() override;
    bool MouseButtonPressed(int which, bool down, int flag) override;
    bool MouseDoubleClicked(int which) override;
    bool ReleaseCapture() override;
    bool MouseMove() override;
    bool MouseWheel(int delta) override;
    bool KeyDown(int key) override;
    bool IsCapturingInput() override;
    void LoseHoverOrFocus() override;

    // Ignored when maximum < minimum; a page (step) not above 0 becomes a tenth (a
    // hundredth) of the range; the value goes back to the minimum.
    void SetRange(double minimum, double maximum, double page, double step);
    void SetRange(int minimum, int maximum, int page, int step);
    // Clamps to the range; an unchanged value without force only fires (when asked).
    bool SetPosDouble(double value, bool drag, bool force, bool fire);
    bool SetPosFloat(float value, bool drag, bool force, bool fire) { return SetPosDouble(value, drag, force, fire); }
    bool SetPosInt(int value, bool drag, bool force, bool fire) { return SetPosDouble(value, drag, force, fire); }
    // Reads the bound variable back into the value (no firing).
    bool SetPosFromVariable();
    double GetPos() const;
    double GetMinimum() const { return minimum; }
    double GetMaximum() const { return maximum; }
    double GetPage() const { return page; }
    double GetStep() const { return step; }
    void SetArrows(bool up, bool down);
    // A scrollbar owned by another widget (the tab panel's) fires nothing: its owner reads
    // the value, and no controller ever hears of it.
    void SetOwned(bool on) { owned = on; }
    // Binds a float that receives value / divisor (divisor above 0).
    void RegisterFloatDivisor(float *variable, float divisor);

    // Geometry in design units (for drawing and tests).
    float GetKnobTop();
    float GetKnobHeight();
    double ValueAtY(float y);

private:
    float TrackStart();
    float TrackLength();
    bool StepBy(int direction);
    bool PageBy(int direction);
    void EndDrag();

    double value, minimum, maximum, page, step;
    float grab;
    bool changedDuringDrag;
    bool keyboardMoved;
    bool upArrow, downArrow;
    float floatDivisor;
    bool owned;
};
