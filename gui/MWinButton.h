// The one widget class of the toolkit: every element a screen places in a window (push
// buttons, labels, pictures, text fields, checkboxes, choices, lists, panels, sliders)
// is an MWinButton whose behaviour is chosen by its kind. The core here does identity,
// geometry, texts, font and colours, the background texture button, drawing, input
// dispatch, firing through the controller or callbacks, and the guard against callbacks
// that delete the button. The kinds with behaviour of their own plug in through
// _MWinButtonKindOps (registered in MWinButtonKinds.cpp).
#pragma once
#include <cstdint>

#include "MWinTypes.h"

class MWinGroup;
class EngFont;
class EngPicture;
struct _MWinLayoutSettings;

// Binding kinds of RegisterXxxVariable.
enum
{
    MWIN_BIND_NONE = 0,
    MWIN_BIND_CHAR = 1,
    MWIN_BIND_INT = 3,
    MWIN_BIND_FLOAT = 10,
    MWIN_BIND_FLOAT3 = 12,
    MWIN_BIND_CHAR_BUFFER = 13,
};

// The still-exists slots: one per kind of call-out.
enum
{
    MWIN_STILL_EXISTS_KEY = 0,
    MWIN_STILL_EXISTS_PANEL = 1,
    MWIN_STILL_EXISTS_FIRE = 2,
    MWIN_STILL_EXISTS_SPARE = 3,
};

// The ids and root of a button about to call out. Each call-out keeps its own record on
// its stack (nested callbacks never overwrite one another's).
struct _MWinStillExistsInfo
{
    char collectionId[MWIN_ID_SIZE];
    char windowId[MWIN_ID_SIZE];
    char buttonId[MWIN_ID_SIZE];
    MWin *mwin;
    const MWinButton *button;
};

// One custom texture-button state.
struct _MWinCustomTexButState
{
    char loadFlag1, loadFlag2, flag;
    char file[MWIN_FILE_NAME_SIZE];
    float left, top, right, bottom;
    float r, g, b, a;
    EngTexture *loaded; // made from the file, owned
    EngTexture *given;  // the caller's, not owned
};

// A kind's handlers; a NULL entry keeps the core's plain behaviour. Each answers as the
// virtual operation of the same name does.
struct _MWinButtonKindOps
{
    void (*init)(MWinButton *button);                 // kind state at construction
    void (*destroy)(MWinButton *button);              // free the kind state
    bool (*updateKind)(MWinButton *button);           // once per frame
    void (*updateLayout)(MWinButton *button);         // screen rectangle changed
    bool (*renderBack)(MWinButton *button, int state); // true: drew its own background
    bool (*renderText)(MWinButton *button, int state); // true: drew its own text
    void (*renderOnTop)(MWinButton *button);          // after the whole group (open lists)
    bool (*mouseButtonPressed)(MWinButton *button, int which, bool down, int flag);
    bool (*mouseDoubleClicked)(MWinButton *button, int which);
    bool (*mouseMove)(MWinButton *button);
    bool (*mouseWheel)(MWinButton *button, int delta);
    bool (*keyDown)(MWinButton *button, int key);
    bool (*keyDownChar)(MWinButton *button, unsigned char c);
    bool (*isCapturingInput)(const MWinButton *button);
    void (*loseHoverOrFocus)(MWinButton *button);     // before the core drops capture and hover
    bool (*canTakeFocus)(const MWinButton *button);   // NULL: IsActionable
    bool (*createGraphics)(MWinButton *button);
    void (*destroyGraphics)(MWinButton *button);
};
void MWinButtonSetKindOps(int kind, const _MWinButtonKindOps *ops);
const _MWinButtonKindOps *MWinButtonGetKindOps(int kind);
// Fills in the handlers of every kind that has them (gui/MWinButtonKinds.cpp); MWin's
// constructor calls it.
void MWinRegisterButtonKinds();

// Live buttons (constructed and not yet destroyed).
int MWinButtonGetLiveCount();

class MWinButton
{
public:
    MWinButton(MWin *mwin, const char *id, MWinGroup *group, _MWinButtonType kind, const char *texButId,
               const char *text, float x, float y, float w, float h);
    virtual ~MWinButton();
    MWinButton(const MWinButton &) = delete;
    MWinButton &operator=(const MWinButton &) = delete;

    // ---- Virtual operations ----
    virtual bool CreateGraphics();
    virtual void DestroyGraphics();
    virtual void UpdateLayout();
    virtual bool UpdateKind();
    virtual void Render();
    virtual bool MouseButtonPressed(int which, bool down, int flag);
    virtual bool MouseDoubleClicked(int which);
    virtual bool ReleaseCapture();
    virtual bool MouseMove();
    virtual bool MouseWheel(int delta);
    virtual bool KeyDown(int key);
    virtual bool KeyDownChar(unsigned char c);
    virtual bool KeyUp(int key);
    virtual bool IsCapturingInput();
    virtual void GainHoverOrFocus();
    virtual void LoseHoverOrFocus();

    // ---- Identity and state ----
    bool IsSetUp() const;
    bool IsReady() const { return IsSetUp() && kindReady; }
    bool IsActive() const { return kindReady && enabled && visible; }
    // Enabled, visible, not a static kind, and a push button only with somewhere to fire.
    bool IsActionable() const;
    // Tab stops here.
    bool CanTakeFocus() const;
    const char *GetID() const { return id; }
    _MWinButtonType GetType() const { return kind; }
    MWin *GetMWin() const { return mwin; }
    MWinWindow *GetWindow() const { return window; }
    MWinGroup *GetGroup() const { return group; }
    MWinButton *GetNext() const { return next; }
    MWinButton *GetPrev() const { return prev; }
    void SetLinks(MWinButton *previous, MWinButton *following) { prev = previous; next = following; }
    bool IsVisible() const { return visible; }
    bool IsEnabled() const { return enabled; }
    bool HasHoverOrFocus() const { return hoverOrFocus; }
    bool IsPressed() const { return pressed; }
    void SetPressed(bool on) { pressed = on; }
    bool IsKindReady() const { return kindReady; }
    void SetKindReady(bool ready) { kindReady = ready; }
    bool IsOnScreen() const { return onScreen; }
    uint8_t GetCaptureState() const { return captureState; }
    void SetCaptureState(uint8_t state) { captureState = state; }
    void Show();
    void Hide();
    void Enable();
    void Disable();
    void SetEnabled(bool on) { on ? Enable() : Disable(); }
    void SetVisible(bool on) { on ? Show() : Hide(); }
    bool SetEscapeButtonForParentWindow();
    bool SetDefaultButtonForParentWindow();
    void SetWobble(float phase, float strength) { wobblePhase = phase; wobbleStrength = strength; }
    void SetWobbleParticipation(bool on) { wobbleParticipation = on; }
    bool GetWobbleParticipation() const { return wobbleParticipation; }

    // ---- Geometry (virtual units, relative to the window's client rectangle) ----
    void GetArea(float *area) const;
    const _Dimension *GetAreaP() const { return &area; }
    void GetScreenArea(float *out) const;
    const _Dimension *GetScreenAreaP() const { return &screenArea; }
    const _Dimension *GetClipAreaP() const { return &clipArea; }
    void GetAreaInts(int *left, int *top, int *right, int *bottom) const;
    void SetArea(float x, float y, float w, float h);
    void SetPosition(float x, float y);
    void SetAreaInts(int left, int top, int right, int bottom);
    // Re-places the screen and clip rectangles (the group calls it after its window moved).
    void CalcScreenArea();
    bool IsMouseOver() const;

    // ---- Texts ----
    bool SetText(const char *text);
    bool SetText2(const char *text);
    bool SetTextF(const char *format, ...) __attribute__((format(printf, 2, 3)));
    bool AllocAndSetText(int n, const char *text);
    bool FreeText(int n);
    void FreeTexts();
    bool HasText(int n = 0) const;
    bool HasText2() const { return HasText(1); }
    const char *GetTextP();
    const char *GetTextP2();
    const char *GetTextP(int n);
    bool SetTextLanguageToken(const char *token);
    void RefreshLanguageText();
    void SetMultiLineText(bool on) { multiLine = on; }
    void SetSqueeze(bool on) { squeeze = on; }
    float GetTextWidth();
    bool GetMultiLineTextSize(float *w, float *h);

    // ---- Font and text style ----
    bool SetFont(const char *fontId);
    int GetFontNum() const { return fontNum; }
    EngFont *GetEngFont();
    // Scale and colour of a style of the button's font (MWinFonts::AddFontStyleToFont).
    bool SetTextStyle(const char *styleName);
    void SetTextColour(const float *rgba);
    void SetTextColourRGBA(float r, float g, float b, float a);
    void SetTextColourRGB(float r, float g, float b);
    void GetTextColour(float *rgba) const;
    void SetTextScale(float sx, float sy);
    void SetTextScaleFromArray(const float *scale);
    void GetTextScale(float *sx, float *sy) const;
    void SetTextAlign(_MWinTextAlign align) { textAlign = align; }
    void SetColourMultiplier(float r, float g, float b, float a);
    void SetAlpha(float a);
    int GetColourMultiplierMode() const { return multiplierMode; }
    void SetExtraRenderCallback(MWinButtonExtraRenderFn hook, int value, void *user);

    // ---- Background texture button ----
    bool SetBackTexButToTexBut(const char *texButId);
    void SetBackTexButToDefault();
    void SetBackTexButToNone();
    int GetBackTexButNum() const { return texButNum; }
    bool SetCustomTexBut(int state, EngTexture *texture, char flag, float left, float top, float right, float bottom,
                         float r, float g, float b, float a);
    bool SetCustomTexButTexture(EngTexture *texture);
    bool CreateCustomTexBut();

    // ---- Callbacks and firing ----
    bool SetCallback(MWinButtonCallbackFn callback, int a, int b, bool check = true);
    bool SetCallback(MWinButtonCallbackUserFn callback, int a, int b, void *user, bool check = true);
    bool SetPlainCallback(MWinButtonPlainCallbackFn callback, void *user);
    bool HasCallback() const;
    bool RegisterIntVariable(int *variable, int multiplier);
    bool RegisterCharVariable(char *variable);
    bool RegisterFloatVariable(float *variable, float multiplier);
    void FillCallbackInfo(_MWinButtonCallbackInfo *info);
    // The window's controller (slot 5) or the button's own callback; false when nothing
    // took it or the button is gone afterwards (then nothing of it was touched).
    bool CallCallback(_MWinButtonCallbackInfo *info);
    bool Fire() { return CallCallback(nullptr); }
    // Queues the button's callback for the next tick (push buttons, Enter, Escape).
    bool QueueFire();
    void FillStillExistsCheckInfo(_MWinStillExistsInfo *record) const;
    // True while the button recorded in `record` is still this very, intact object.
    static bool DoWeStillExist(const _MWinStillExistsInfo *record);

    // ---- Drawing pieces for the kinds ----
    const _MWinLayoutSettings *GetLayoutSettings() const;
    int GetDrawState() const;
    bool IsDrawable();
    bool StartClipping();
    void EndClipping();
    bool StartClippingToWindow();
    bool StartClippingToRect(const float *rect);
    void RenderBack(int state);
    void RenderText(int state);
    void RenderTexButState(int state, const float *rect);
    void RenderTexButStateRect(int state, float x, float y, float w, float h);
    void RenderBackTexBut(int state);
    void RenderTextLines();
    void RenderSingleLine(const char *text, float dy);
    void RenderMultiLine();
    void ApplyFontScale();
    void ApplyFontColour();
    void GetTextRange(float *left, float *right, float margin);
    // Background, text and hook, without wobble or clipping.
    void RenderPlain();
    void RenderOpenListOnTop();
    float GetTextMargin() const { return textMargin; }
    _MWinTextAlign GetTextAlign() const { return textAlign; }

    // ---- Kind state (owned by the kind's handlers) ----
    void *GetKindData() const { return kindData; }
    void SetKindData(void *data) { kindData = data; }
    uint8_t GetCheckboxState() const { return checkboxState; }
    void SetCheckboxState(uint8_t state) { checkboxState = state; }
    int GetIntA() const { return intA; }
    int GetIntB() const { return intB; }
    void *GetStringCallbackUser() const { return stringUser; }
    void SetStringCallbackUser(void *user) { stringUser = user; }
    int GetBindKind() const { return bindKind; }
    void *GetBoundVariable() const { return bindPointer; }
    void SetBinding(int kindOfBinding, void *variable) { bindKind = kindOfBinding; bindPointer = variable; }
    int GetBoundIntMultiplier() const { return bindIntMultiplier; }
    float GetBoundFloatMultiplier() const { return bindFloatMultiplier; }
    bool IsEditing() const { return editing; }
    void SetEditing(bool on) { editing = on; }
    float GetGrabOffset(int axis) const { return grabOffset[axis & 1]; }
    void SetGrabOffset(int axis, float value) { grabOffset[axis & 1] = value; }


    // ---- Kinds (defined in the kinds' own files) ----
    // Checkbox (kind 8): a state other than 0 or 1 is refused; notify fires the change.
    bool CheckboxSet(char state, char notify);
    char CheckboxGet() const;
    // Choice (kind 9): items from an array, a callback or a token's sub-texts; notify 0
    // never fires, 1 always, 2 only on a change.
    bool ChoiceSetStrings(int n, const char **strings);
    bool ChoiceSetStringsCallback(int n, MWinButtonStringsFn callback, void *user);
    bool ChoiceSetStringsLanguageToken(int n, const char *token);
    bool ChoiceSetSel(int index, char notify);
    int ChoiceGetSel() const;
    int ChoiceGetNumItems() const;
    const char *ChoiceGetString(int index);
    void ChoiceSetShowArrows(bool arrows);
    void ChoiceSetWideSelected(bool on);
    void ChoiceSetHoverNotify(bool on);
    bool ChoiceRegisterIntVariable(int *variable, char notify);
    bool ChoiceRegisterCharVariableNotify(char *variable, char notify);
    bool ChoiceRegisterCharVariable(char *variable);
    int ChoiceGetItemFromMousePos(char clamp);
    // Drop-down list (kind 7).
    bool ListSetStrings(int n, const char **strings);
    bool ListSetStringsCallback(int n, MWinButtonStringsFn callback, void *user);
    bool ListSetPos(int item, char notify);
    int ListGetPos();
    const char *ListGetStringAtPos(int item);
    bool ListIsOpen() const;
    bool ListOpen();
    bool ListClose(char accept, char notify);
    bool ListSetHighlight(int item, char moveTop);
    bool ListMoveHighlight(int delta);
    bool ListCalcOpenListVariables();
    bool ListRegisterIntVariable(int *variable, char notify);
    // Panel (kind 10): paged rows from a strings callback.
    bool PanelSetStringsCallback(int rows, int rowsPerPageRule, MWinButtonStringsFn callback, void *user);
    bool PanelSetPos(int row, char notify, char cause);
    int PanelGetPos() const;
    int PanelGetNumRows() const;
    int PanelGetNumPerPage() const;
    float PanelGetScrollPos() const;
    bool PanelSetScrollPos(float scroll);
    void PanelCenterOnPos();
    void PanelClear();
    void PanelAllowNoSelection();
    bool PanelSetMultiSelect(char multi, char clickFlips);
    void PanelClearMultiSelection();
    void PanelSetShowSelection(bool on);
    int PanelGetNumMultiSelected() const;
    int PanelGetNthMultiSelected(int n) const;
    bool PanelIsRowMultiSelected(int row) const;
    void PanelGetVisibleRange(int *first, int *end) const;
    int PanelGetNumVisible() const;
    int PanelGetRowFromVisibleIndex(int n) const;
    bool PanelGetVisibleRowArea(int n, float *area);
    bool PanelGetRowArea(int row, float *area);
    const char *PanelGetString(int row);
    void PanelSetExtraRenderCallback(MWinPanelRowRenderFn hook, void *user);
    bool PanelRegisterIntVariable(int *variable, char notify);
    void PanelUpdateNumPerPageVar(int n);
    bool PanelIsScrollbarShown() const;
    // Text edit (kind 3): input types 0 any, 1 signed number, 2 dotted digit groups,
    // 3 no spaces.
    bool TextEditSetLength(int n);
    int TextEditGetLength() const;
    bool TextEditRegisterBuffer(char *buffer, int size);
    bool TextEditSetText(const char *text);
    const char *TextEditGetTextP();
    const char *TextEditGetTextOrEmpty();
    int TextEditGetNumber();
    bool TextEditIsEditing() const;
    int TextEditGetEditMode() const;
    int TextEditGetCursor() const;
    bool TextEditTurnOnEditing(char mode);
    bool TextEditTurnOffEditing(bool enter);
    bool TextEditUpdateCursor();
    bool TextEditMoveCursorToButtonAndTurnOnEditing();
    void TextEditSetInputType(int type);
    void TextEditSetOptions(bool clearOnEdit, bool notifyChanges, bool password, bool fourth);
    void TextEditSetBeginEditingHook(void (*hook)());
    bool TextEditHandleMousePress();
    bool TextEditHandleKeyDown(int key);
    bool TextEditHandleKeyDownUChar(unsigned char c);
    // Range slider (kind 16).
    bool SliderSetRange(float low, float high, char held, char notify);
    bool SliderGetShownValues(float *a, float *b);
    void SliderGetRange(float *low, float *high) const;
    void SliderSetLimits(float minimum, float maximum, float minimumSpan);
    void SliderSetValueFormat(int format, int labelLength);
    bool SliderRegisterFloatVariables(float *low, float *high, float divisor);
    void SliderUpdateValueText();
    void SliderGetHandleX(float *lowX, float *highX);
    float SliderValueFromMouse(float mouseX, char *part);
    // Picture layer (any kind) and ring indicator (kind 12).
    bool PictureAttachTextureToButton(EngTexture *texture, char blend);
    bool PictureSetTextureCoordinates(float left, float top, float right, float bottom);
    bool PictureSetTextureCoordinatesFromArray(const float *coordinates);
    bool PictureAttachPictureToButton(EngPicture *picture, char animate);
    void PictureSetAreaPercent(float left, float top, float right, float bottom);
    void PictureRemove();
    int PictureGetMode() const;
    void PictureRender();
    bool PictureTick();
    void RingSetValue(float value, float maximum);
    void RingSetColours(const float *pie, const float *disc, const float *rim);
    // The colour multiplier when it is on, else NULL (for the kinds' own drawing).
    const float *KindMultiplierColour() const;

protected:
    void ClearFields();
    void InitKind();
    void ApplyArea(float x, float y, float w, float h);
    void ReleaseCustomTextures();
    void RequestRedraw();
    void RenderTextDefault();

    // Validity tag: flag and two numbers, the second the first plus one.
    uint8_t tagSetUp;
    uint16_t tagFirst, tagSecond;
    bool kindReady;
    bool hoverOrFocus;
    bool pressed;
    bool enabled;
    bool visible;
    bool wobbleParticipation;
    float wobblePhase, wobbleStrength;
    bool onScreen;
    bool editing;
    MWinButtonCallbackFn callback;
    MWinButtonCallbackUserFn callbackUser;
    MWinButtonPlainCallbackFn plainCallback;
    void *callbackUserPointer;
    void *kindData;
    uint8_t checkboxState;
    int bindKind;
    void *bindPointer;
    int bindIntMultiplier;
    float bindFloatMultiplier;
    uint8_t captureState;
    float grabOffset[2];
    bool customTexBut;
    bool standardTexBut;
    _MWinCustomTexButState custom[MWIN_TEXSTATE_COUNT];
    char *texts[2];
    int textLengths[2];
    MWinButtonExtraRenderFn extraRender;
    int extraRenderValue;
    void *extraRenderUser;
    void *stringUser;
    char id[MWIN_ID_SIZE];
    char texButId[MWIN_ID_SIZE];
    MWin *mwin;
    MWinWindow *window;
    MWinGroup *group;
    MWinButton *prev, *next;
    _Dimension area;
    _Dimension screenArea;
    _Dimension clipArea;
    _MWinButtonType kind;
    float textScale[2];
    float textColour[4];
    uint8_t multiplierMode; // 0 off, 1 background and text, 2 background only
    float multiplier[4];
    int texButNum;
    int intA, intB;
    char fontId[MWIN_ID_SIZE];
    int fontNum;
    _MWinTextAlign textAlign;
    bool multiLine;
    bool squeeze;
    float textMargin;
    bool tokenMode;
    char token[MWIN_TOKEN_SIZE];
    int tokenNum;
    int tokenSubTexts;
    bool clippingOn;
};
