// The play screen (see PlayScreen.h): its textures and font, the balls, turret, next
// balls, lives and texts of one frame, the menu background and the online place box.
//
// Sections: graphics, game font, texts, balls and turret, the frame, menu background,
// place box.
#include "PlayScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngMath.h"
#include "EngTexture.h"
#include "GameState.h"
#include "Levels.h"
#include "LevelsRender.h"
#include "Platform.h"
#include "Plinx.h"
#include "PlayScreenInternal.h"
#include "Puzzles.h"
#include "Rolls.h"

namespace
{
const float kTwoPi = 6.2831853f;
// The game font: rendered large and drawn small, so that the big captions stay sharp.
// At scale 1 its em is 11 design pixels.
const int kFontRenderSize = 44;
const float kFontEm = 11.0f;
// The score and caption texts at their normal scale, per bar height / 640.
const float kBarTextScale = 13.0f;
const int kSpecialTypes = 3; // wildcard, exploding, stone

struct
{
    bool created;
    EngTexture *bottom, *textBack, *boxBg, *turret, *turretEnd, *lives, *alpha;
    EngTexture *balls[ROLL_COLOURS][ROLL_FRAMES];
    EngTexture *special[kSpecialTypes];
    EngFont *ownFont;
    EngFont *givenFont;

    char scoreText[16];
    char captionText[64];
    float scoreScale, captionScale;

    // Looks of the next ball and the exploding ball's pulse: the view's own clocks.
    float nextFrame, nextAngle, pulseAngle;

    EngTexture *menuBg, *menuTitle, *menuLogo;
    _Dimension menuBgBox, menuTitleBox, menuLogoBox;

    _PlaceFinder finder;
    void (*playTone)(int a, int b, float pitch);
    int placeDisplay;    // 0 full box, 1 short box, 2 off
    int place;           // position (from 0) in its online list; -1 none
    char placeText[128];
    float placeTime;     // seconds since the box was (re)started
    bool placeShown;
} s_play;

const float kPlaceFadeIn = 0.5f, kPlaceHold = 3.0f, kPlaceFadeOut = 0.5f;

EngTexture *NewTexture()
{
    return new (std::nothrow) EngTexture(nullptr, 1);
}

void FreeTexture(EngTexture *&texture)
{
    delete texture;
    texture = nullptr;
}

// Loads `file` into a new texture in `slot`; reports `message` on failure.
bool Load(EngTexture *&slot, const char *file, char alpha, const char *message)
{
    if (!slot)
        slot = NewTexture();
    if (slot && slot->LoadFromFile(file, alpha, alpha ? ENG_ALPHA_FROM_FILE : ENG_ALPHA_OPAQUE, 0))
        return true;
    DebugError(ENG_FUNC, "%s", message);
    return false;
}

// A roll frame that loads and has the frame size.
bool LoadFrame(EngTexture *&slot, const char *file)
{
    if (!slot)
        slot = NewTexture();
    if (!slot || !slot->LoadFromFile(file, 1, ENG_ALPHA_FROM_FILE, 0))
        return false;
    if (slot->GetWidth() != ROLL_SIZE || slot->GetHeight() != ROLL_SIZE)
    {
        slot->Release();
        return false;
    }
    slot->PositionPure(-0.5f, -0.5f, 1.0f, 1.0f);
    return true;
}

// Every frame, read once. A frame that does not load is made (again) from the packed
// sheets and loaded once more: a fresh per-user folder gets all of its frames made at the
// first miss, and one damaged file does not stop every later start.
bool LoadBallTextures()
{
    for (int colour = 0; colour < ROLL_COLOURS; colour++)
    {
        for (int frame = 0; frame < ROLL_FRAMES; frame++)
        {
            const char *name = TexGenMakeRollFilename(colour, frame);
            if (!name)
                return false;
            char file[1024];
            snprintf(file, sizeof(file), "%s", name);
            if (LoadFrame(s_play.balls[colour][frame], file))
                continue;
            if (EngFileExists(file, false))
            {
                DebugError(ENG_FUNC, "Remaking damaged roll texture <%s>", file);
                EngFileDelete(file, false);
            }
            if (TexGenShowWindowAndCreateRolls() && LoadFrame(s_play.balls[colour][frame], file))
                continue;
            DebugError(ENG_FUNC, "Could not load ball textures");
            return false;
        }
    }
    return true;
}

bool BuildOwnFont()
{
    if (!s_play.ownFont)
        s_play.ownFont = new (std::nothrow) EngFont();
    if (!s_play.ownFont)
        return false;
    if (s_play.ownFont->IsCreated())
        return true;
    EngFontGlyphEffects shadow = {};
    shadow.border = 2;
    shadow.extraWidth = 5;
    shadow.extraHeight = 5;
    shadow.shadowFactor0 = 0.0f;
    shadow.shadowFactor1 = 0.85f;
    shadow.blurPasses1 = 3;
    s_play.ownFont->SetGlyphEffects(&shadow);
    // Glyphs of `kFontRenderSize` points at 150 dpi, shown with an em of kFontEm; lines
    // 1.2 em apart, the baseline 0.8 em down.
    const float scale = kFontEm / (float)kFontRenderSize * (72.0f / 150.0f);
    if (!s_play.ownFont->CreateFromFontFile("Data/VeraBd.ttf", 1, 0, kFontRenderSize, 32, 127, nullptr, 0, scale,
                                            scale, 0.4f * kFontEm, 0.2f * kFontEm, 0, 0, 0, 0, 1))
    {
        DebugError(ENG_FUNC, "Could not build the game font from <Data/VeraBd.ttf>");
        return false;
    }
    return true;
}

float TextScaleForLength(const char *text)
{
    int length = (int)strlen(text);
    float scale = length <= 7 ? 1.0f : 1.0f - (float)(length - 7) * 0.05f;
    return std::max(0.3f, scale);
}

// The world transform of a square of `pixels` design pixels turned by `angle` (radians,
// counter-clockwise on the screen) centred on field position (x, y).
void SetSquareTransform(float x, float y, float pixelsWide, float pixelsHigh, float angle)
{
    const _GameState &gs = GameState;
    float c = cosf(angle), s = sinf(angle);
    EngMatrix m;
    m.m[0] = pixelsWide * c / 320.0f;
    m.m[1] = pixelsWide * s / 240.0f;
    m.m[4] = -pixelsHigh * s / 320.0f;
    m.m[5] = pixelsHigh * c / 240.0f;
    m.m[12] = PLAY_PIXELS_PER_UNIT / 320.0f * gs.fieldScale * x;
    m.m[13] = -y * PLAY_PIXELS_PER_UNIT / 240.0f;
    EngMainDevice->SetTransformMatrix(&m);
}
} // namespace

// ---- Graphics -------------------------------------------------------------------------------------

char PlinxCreateGraphics()
{
    if (s_play.created)
        return 1;
    bool ok = Load(s_play.bottom, "Data/Bottom.jpg", 0, "Could not load bottom back texture") &&
              Load(s_play.textBack, "Data/TextBack.bmp", 0, "Could not load text back texture") &&
              Load(s_play.boxBg, "Data/BoxBg.png", 1, "Could not load box bg texture") &&
              Load(s_play.turret, "Data/Turret.png", 1, "Could not load turret texture") &&
              Load(s_play.turretEnd, "Data/TurretEnd.tga", 1, "Could not load turret end texture") &&
              Load(s_play.lives, "Data/Turret.png", 1, "Could not load lives texture") && BordersCreateGraphics() &&
              Load(s_play.alpha, "Data/RollAlpha.tga", 1, "Could not load ball alpha texture") &&
              LoadBallTextures();
    for (int i = 0; ok && i < kSpecialTypes; i++)
    {
        char file[32];
        snprintf(file, sizeof(file), "Data/%d.tga", i + 1);
        if (!s_play.special[i])
            s_play.special[i] = NewTexture();
        ok = s_play.special[i] && s_play.special[i]->LoadFromFile(file, 1, ENG_ALPHA_FROM_FILE, 0) &&
             s_play.special[i]->CopyAlphaChannelFromAnotherTexture(s_play.alpha, 0, 0, -1, -1, 0, 0, -1, -1);
        if (!ok)
            DebugError(ENG_FUNC, "Could not load special textures");
        else
            s_play.special[i]->PositionPure(-0.5f, -0.5f, 1.0f, 1.0f);
    }
    if (ok)
    {
        s_play.turret->PositionPure(-0.5f, -1.0f, 1.0f, 1.0f);
        s_play.turretEnd->PositionPure(-0.5f, -0.5f, 1.0f, 1.0f);
    }
    // The font is not a texture of the table: without it the texts are left out.
    if (ok && !s_play.givenFont)
        BuildOwnFont();
    if (!ok)
    {
        PlinxReleaseGraphics();
        return 0;
    }
    s_play.created = true;
    return 1;
}

void PlinxReleaseGraphics()
{
    for (EngTexture **slot : {&s_play.bottom, &s_play.textBack, &s_play.boxBg, &s_play.turret, &s_play.turretEnd,
                              &s_play.lives, &s_play.alpha})
        FreeTexture(*slot);
    for (auto &colour : s_play.balls)
        for (EngTexture *&frame : colour)
            FreeTexture(frame);
    for (EngTexture *&special : s_play.special)
        FreeTexture(special);
    BordersReleaseGraphics();
    if (s_play.ownFont)
    {
        s_play.ownFont->Destroy();
        delete s_play.ownFont;
        s_play.ownFont = nullptr;
    }
    s_play.created = false;
}

bool PlayScreenGraphicsCreated()
{
    return s_play.created;
}

// ---- Game font --------------------------------------------------------------------------------------

EngFont *PlayScreenGetGameFont()
{
    if (s_play.givenFont)
        return s_play.givenFont;
    return s_play.ownFont && s_play.ownFont->IsCreated() ? s_play.ownFont : nullptr;
}

void PlayScreenSetGameFont(EngFont *font)
{
    s_play.givenFont = font;
}

void PlayScreenDrawText(const char *text, float x, float y, float scale, float r, float g, float b, float a)
{
    EngFont *font = PlayScreenGetGameFont();
    if (!font || !text || !text[0] || !(scale > 0.0f))
        return;
    char didPrepare = 0;
    EngFontPrepareForDrawingWithOrientationIfNeeded(ENG_FONT_RATIO_DESIGN, &didPrepare);
    font->SetScale(scale, scale);
    font->SetColour(r, g, b, a);
    font->DrawString(x, y, 1, 1, text, 0);
    font->SetScale(1.0f, 1.0f);
    font->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    if (didPrepare)
        EngFontRestoreAfterDrawing();
}

// ---- Texts ------------------------------------------------------------------------------------------

void PlinxRefreshScoreText()
{
    snprintf(s_play.scoreText, sizeof(s_play.scoreText), "%d", (int)GameState.score);
    s_play.scoreScale = TextScaleForLength(s_play.scoreText);
}

void PlinxRefreshCaptionText()
{
    LevelsFormatCaptionText(s_play.captionText, sizeof(s_play.captionText));
    s_play.captionScale = TextScaleForLength(s_play.captionText);
}

const char *PlayScreenGetScoreText()
{
    return s_play.scoreText;
}

const char *PlayScreenGetCaptionText()
{
    return s_play.captionText;
}

float PlayScreenGetScoreScale()
{
    return s_play.scoreScale;
}

float PlayScreenGetCaptionScale()
{
    return s_play.captionScale;
}

// ---- Balls and turret -----------------------------------------------------------------------------

float PlayScreenPixelX(float x)
{
    return 320.0f + PLAY_PIXELS_PER_UNIT * GameState.fieldScale * x;
}

float PlayScreenPixelY(float y)
{
    return 240.0f + PLAY_PIXELS_PER_UNIT * y;
}

void PlayScreenResetTransform()
{
    if (EngMainDevice)
        EngMainDevice->ResetTransformMatrix();
}

void RenderGetRollFrame(float frame, int *stored, bool *mirrored)
{
    // Wrapped before the conversion: a huge value or NaN must not reach the int.
    float wrapped = std::isfinite(frame) ? std::fmod(frame, 70.0f) : 0.0f;
    int f = (int)wrapped;
    if (f < 0)
        f += 70;
    f = std::min(69, std::max(0, f));
    bool mirror = f >= 35;
    if (mirror)
        f = 69 - f;
    *stored = f;
    *mirrored = mirror;
}

float RenderGetBallDiameter()
{
    const _GameState &gs = GameState;
    return 2.0f * gs.ballRadius * PLAY_PIXELS_PER_UNIT * gs.fieldScale;
}

void RenderDrawBall(float x, float y, float size, int type, float frame, float spin, char pulse)
{
    if (!(size > 0.0f) || type < 0 || type >= BALL_NUM_TYPES || !s_play.created || !EngMainDevice)
        return;
    const _GameState &gs = GameState;
    EngTexture *texture;
    bool mirrored = false;
    float turn = -spin;
    if (type < BALL_NUM_COLOURS)
    {
        int stored;
        RenderGetRollFrame(frame, &stored, &mirrored);
        texture = s_play.balls[type][stored];
    }
    else
    {
        texture = s_play.special[type - BALL_NUM_COLOURS];
        turn -= type == BALL_STONE ? gs.slowAngle : gs.throbAngle;
    }
    if (!texture)
        return;
    float pixels = RenderGetBallDiameter() * std::min(size, 4.0f);
    SetSquareTransform(x, y, pixels, pixels, turn);
    static const _Dimension kMirrored = {0.0f, 1.0f, 1.0f, 0.0f};
    texture->SetTextureCoordinatesFromDimension(mirrored ? &kMirrored : nullptr);
    if (type == BALL_EXPLODING && pulse)
    {
        float light = 0.5f + 0.5f * std::fabs(sinf(s_play.pulseAngle));
        texture->SetColour(light, light, light, 1.0f);
        texture->Draw();
        texture->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    }
    else
        texture->Draw();
}

void RenderDrawTurret()
{
    const _GameState &gs = GameState;
    if (!s_play.created || !EngMainDevice)
        return;
    // The barrel's quad reaches 0.31 up from the pivot and 0.1 across; the cap is 32 x 24.
    const float unit = PLAY_PIXELS_PER_UNIT * gs.fieldScale;
    SetSquareTransform(gs.turretX, gs.turretY, 0.1f * unit, 0.31f * unit, -gs.turretAngle);
    s_play.turret->Draw();
    SetSquareTransform(gs.turretX, gs.turretY, 32.0f * gs.fieldScale, 24.0f * gs.fieldScale, -gs.turretAngle);
    s_play.turretEnd->Draw();
}

void RenderGridBalls()
{
    const _GameState &gs = GameState;
    const int columns = std::min((int)gs.gridColumns, (int)GRID_MAX_COLUMNS);
    for (int column = 0; column < columns; column++)
    {
        for (int row = 0; row < GRID_ROWS; row++)
        {
            const _GridCell &cell = gs.grid[column][row];
            if (cell.type != BALL_EMPTY)
                RenderDrawBall(cell.x, cell.y + gs.scroll, gs.gridBallScale, cell.type, cell.rollPhase + gs.rollAngle,
                               cell.spin, 1);
        }
    }
    const int removing = std::min((int)gs.removingCount, (int)MAX_ANIMATED_BALLS);
    for (int i = 0; i < removing; i++)
    {
        const _RemovingBall &ball = gs.removingList[i];
        RenderDrawBall(ball.x, ball.y + gs.scroll, ball.timer, ball.type, ball.rollPhase + gs.rollAngle, ball.spin, 1);
    }
    const int moving = std::min((int)gs.movingCount, (int)MAX_MOVING_BALLS);
    for (int i = 0; i < moving; i++)
    {
        const _MovingBall &ball = gs.movingList[i];
        RenderDrawBall(ball.x, ball.y, 1.0f, ball.type, ball.rollPhase, ball.angle, 1);
    }
}

// ---- The frame --------------------------------------------------------------------------------------

void PlayScreenDrawBar(const _Dimension *bar)
{
    if (PuzzlesIsEditing() && !GameState.testMode && EditorViewDrawBar(bar))
        return;
    if (!s_play.bottom || bar->w <= 0.0f)
        return;
    s_play.bottom->PositionRatioed(bar->x, bar->y, bar->w, bar->h);
    s_play.bottom->Draw();
}

namespace
{
void DrawBarText(const _Dimension &box, const char *text, float scale)
{
    if (box.w <= 0.0f)
        return;
    s_play.textBack->PositionRatioed(box.x + 2.0f, box.y + 2.0f, box.w - 4.0f, box.h - 4.0f);
    s_play.textBack->Draw();
    EngFont *font = PlayScreenGetGameFont();
    if (!font || !text[0])
        return;
    // The normal scale follows the bar's height; a text too wide for a narrow field's
    // box is made to fit.
    float textScale = kBarTextScale * BordersGetLayout()->bar.h / 640.0f * scale;
    float width = font->GetStringWidth(text) * textScale;
    if (width > box.w * 0.88f)
        textScale *= box.w * 0.88f / width;
    PlayScreenDrawText(text, box.x + box.w * 0.5f, box.y + box.h * 0.5f, textScale, 1.0f, 0.93f, 0.75f, 1.0f);
}

// The puzzle's remaining next balls in a row left of the turret, sliding right while the
// next ball loads, and shrinking past the field's left edge.
void DrawNextBallStrip()
{
    const _GameState &gs = GameState;
    const float r = gs.ballRadius;
    const int count = std::min((int)gs.nextBallCount, (int)PUZZLE_MAX_NEXT_BALLS);
    for (int i = 1; i <= count; i++)
    {
        float x = gs.turretX - (float)i * r - (1.0f - gs.turretLoad) * r;
        float size = 0.45f;
        float inside = (x - gs.leftWall) / (0.45f * r);
        if (inside < 1.0f)
            size *= std::max(0.0f, inside);
        if (size <= 0.0f)
            break;
        RenderDrawBall(x, 1.05f * r + gs.turretY, size, gs.nextBallList[i - 1], s_play.nextFrame,
                       s_play.nextAngle, 0);
    }
}

void DrawTurretBalls()
{
    const _GameState &gs = GameState;
    const float r = gs.ballRadius;
    const float load = std::min(1.0f, std::max(0.0f, gs.turretLoad));
    const bool strip = gs.nextListInUse && gs.nextBallCount > 0;
    if (strip)
        DrawNextBallStrip();
    if (gs.nextBall != BALL_EMPTY)
    {
        if (!gs.nextListInUse || load >= 1.0f)
            RenderDrawBall(gs.turretX, gs.turretY, 0.6f * load, gs.nextBall, s_play.nextFrame, s_play.nextAngle, 1);
        else
            RenderDrawBall(gs.turretX - r * (1.0f - load), gs.turretY + 1.05f * r * (1.0f - load),
                           (1.0f - load) * 0.45f + load * 0.6f, gs.nextBall, s_play.nextFrame, s_play.nextAngle, 1);
    }
    if (gs.currentBall != BALL_EMPTY)
        RenderDrawBall(gs.turretBallX, gs.turretBallY, load < 1.0f ? 0.6f + 0.4f * load : 1.0f, gs.currentBall,
                       gs.turretBallPhase, gs.turretAngle, 1);
}

void DrawLives()
{
    const _GameState &gs = GameState;
    const _Dimension &bar = BordersGetLayout()->bar;
    for (int i = 0; i < std::min((int)gs.lives, 20); i++)
    {
        s_play.lives->PositionRatioed(bar.x + bar.w - 12.0f * (float)(i + 1), bar.y + bar.h - 22.0f, 7.0f, 20.0f);
        s_play.lives->Draw();
    }
}

// The view's own clocks: frame time, never the game's.
void AdvanceLooks()
{
    float dt = EngFrameTiming.frameTime;
    if (!(dt > 0.0f) || dt > 1.0f)
        dt = dt > 1.0f ? 1.0f : 0.0f;
    s_play.nextFrame = std::fmod(s_play.nextFrame + dt * 25.0f, 69.999f);
    s_play.nextAngle = std::fmod(s_play.nextAngle + dt, kTwoPi);
    s_play.pulseAngle = std::fmod(s_play.pulseAngle + dt * 3.0f, kTwoPi);
}
} // namespace

void RenderPlayScreen()
{
    if (!s_play.created || !EngMainDevice)
        return;
    const _GameState &gs = GameState;
    const bool editing = PuzzlesIsEditing() && !gs.testMode;
    AdvanceLooks();
    bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    EngMainDevice->EnsureAlphaModulateDiffuse(nullptr);

    BordersRender();
    const _BordersLayout *layout = BordersGetLayout();
    if (!editing)
    {
        DrawBarText(layout->scoreBox, s_play.scoreText, s_play.scoreScale);
        DrawBarText(layout->captionBox, s_play.captionText, s_play.captionScale);
    }
    RenderGridBalls();
    if (editing)
    {
        PlayScreenResetTransform();
        EditorViewRender();
    }
    else
    {
        RenderDrawTurret();
        PlayScreenResetTransform();
        DrawLives();
        if (gs.levelState == LEVEL_STATE_PLAY)
        {
            DrawTurretBalls();
            const int falling = std::min((int)gs.fallingCount, (int)MAX_ANIMATED_BALLS);
            for (int i = 0; i < falling; i++)
            {
                const _FallingBall &ball = gs.fallingList[i];
                RenderDrawBall(ball.x, ball.y + gs.scroll, 1.0f, ball.type, ball.rollPhase + gs.rollAngle, ball.spin,
                               1);
            }
        }
    }
    PlayScreenResetTransform();
    if (!editing && PuzzlesIsEditing())
        EditorViewRenderKeyHelp();
    PlinxRenderPlace();
    LevelsRender();
    PlayScreenResetTransform();
    if (prepared)
        EngMainDevice->RestoreAfter2D();
}

// ---- Menu background ------------------------------------------------------------------------------

char PlinxMenuCreateGraphics()
{
    struct
    {
        EngTexture **slot;
        const char *file;
        char alpha;
    } pictures[] = {{&s_play.menuBg, "Data/MenuBg.jpg", 0},
                    {&s_play.menuTitle, "Data/PlinxText.png", 1},
                    {&s_play.menuLogo, "Data/FbLogo.png", 1}};
    for (auto &picture : pictures)
    {
        if (!*picture.slot)
            *picture.slot = NewTexture();
        if (!*picture.slot)
            return 0;
        if (!(*picture.slot)->IsLoaded() &&
            !(*picture.slot)->LoadFromFile(picture.file, picture.alpha,
                                           picture.alpha ? ENG_ALPHA_FROM_FILE : ENG_ALPHA_OPAQUE, 0))
            return 0;
    }
    PlinxMenuLayout();
    return 1;
}

void PlinxMenuReleaseGraphics()
{
    FreeTexture(s_play.menuBg);
    FreeTexture(s_play.menuTitle);
    FreeTexture(s_play.menuLogo);
}

void PlinxMenuLayout()
{
    s_play.menuBgBox = {0.0f, 0.0f, 640.0f, 480.0f};
    // The title across the top, the logo at the foot of the screen in the middle (the
    // corners hold the menus' buttons), each keeping its picture's proportions on the
    // screen whatever its shape.
    const float widthCorrection = EngScreenSettings.widthCorrection > 0.0f ? EngScreenSettings.widthCorrection : 1.0f;
    auto fit = [&](EngTexture *texture, float maxWidth, float maxHeight) {
        float w = texture && texture->GetWidth() > 0 ? (float)texture->GetWidth() : maxWidth;
        float h = texture && texture->GetHeight() > 0 ? (float)texture->GetHeight() : maxHeight;
        float scale = std::min(maxWidth / (w * widthCorrection), maxHeight / h);
        return _Dimension{0.0f, 0.0f, w * scale * widthCorrection, h * scale};
    };
    _Dimension title = fit(s_play.menuTitle, 440.0f, 110.0f);
    s_play.menuTitleBox = {320.0f - title.w * 0.5f, 18.0f, title.w, title.h};
    _Dimension logo = fit(s_play.menuLogo, 110.0f, 40.0f);
    s_play.menuLogoBox = {320.0f - logo.w * 0.5f, 480.0f - logo.h - 6.0f, logo.w, logo.h};
}

void PlinxMenuRender(float alpha)
{
    if (!EngMainDevice || !s_play.menuBg || !s_play.menuBg->IsLoaded())
        return;
    bool prepared = EngMainDevice->PrepareFor2DIfNotPrepared(true);
    EngMainDevice->EnableBlendingType(ENG_BLEND_ALPHA);
    EngMainDevice->EnsureAlphaModulateDiffuse(nullptr);
    const struct
    {
        EngTexture *texture;
        const _Dimension *box;
        float alpha;
    } pictures[] = {{s_play.menuBg, &s_play.menuBgBox, 1.0f},
                    {s_play.menuTitle, &s_play.menuTitleBox, alpha},
                    {s_play.menuLogo, &s_play.menuLogoBox, alpha}};
    for (const auto &picture : pictures)
    {
        if (!picture.texture || !picture.texture->IsLoaded() || picture.box->w <= 0.0f)
            continue;
        picture.texture->PositionRatioedFromDimension(picture.box);
        picture.texture->SetColour(1.0f, 1.0f, 1.0f, picture.alpha);
        picture.texture->Draw();
        picture.texture->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (prepared)
        EngMainDevice->RestoreAfter2D();
}

// ---- Place box --------------------------------------------------------------------------------------

void PlayScreenSetPlaceFinder(const _PlaceFinder *finder)
{
    s_play.finder = finder ? *finder : _PlaceFinder{};
}

void PlayScreenSetToneHook(void (*playTone)(int a, int b, float pitch))
{
    s_play.playTone = playTone;
}

void PlinxSetupPlaceFinder()
{
    const _GameState &gs = GameState;
    // The option as the options screen sets it; anything else means off.
    const int mode = gs.userOptions.onlinePositionMode;
    s_play.placeDisplay = mode >= 0 && mode <= 2 ? mode : 2;
    s_play.place = -1;
    s_play.placeText[0] = 0;
    s_play.placeShown = false;
    s_play.placeTime = 0.0f;
    if (s_play.finder.setup)
        s_play.finder.setup(gs.gameType, PlinxGetDifficulty(), s_play.placeDisplay);
}

void PlinxUpdatePlace(int points, char force)
{
    // Unless forced (the finder has just built it), only a new place is news.
    if (!force && (!s_play.finder.findPlace || !s_play.finder.findPlace(points)))
        return;
    int position = -1;
    const char *text = s_play.finder.getPlace ? s_play.finder.getPlace(&position) : nullptr;
    // No tone and no box without a place: a failed lookup says nothing about the rank.
    if (!text || !text[0] || position < 0)
        return;
    s_play.place = position;
    snprintf(s_play.placeText, sizeof(s_play.placeText), "%s", text);
    DebugInfo("Online place: %s", s_play.placeText);
    int a = 0, b = 0;
    float pitch = 1.0f;
    int value = std::min(100, std::max(0, 100 - position));
    if (ProgressGetNumbersFromRangeOfZeroToOneHundred(value, &a, &b, &pitch, 0) && s_play.playTone)
        s_play.playTone(a, b, pitch);
    s_play.placeTime = 0.0f;
    s_play.placeShown = true;
}

void PlinxTickPlace()
{
    const _GameState &gs = GameState;
    const float dt = std::max(0.0f, gs.timeStep);
    if (s_play.finder.tick && s_play.finder.tick(gs.score))
        PlinxUpdatePlace(gs.score, 1);
    if (s_play.placeShown)
    {
        s_play.placeTime += dt;
        if (s_play.placeTime >= kPlaceFadeIn + kPlaceHold + kPlaceFadeOut)
            s_play.placeShown = false;
    }
}

const char *PlayScreenGetPlaceText()
{
    return s_play.placeText;
}

int PlayScreenGetPlace(float *blend)
{
    if (blend)
    {
        float t = s_play.placeTime;
        float value = 0.0f;
        if (s_play.placeShown)
        {
            if (t < kPlaceFadeIn)
                value = t / kPlaceFadeIn;
            else if (t < kPlaceFadeIn + kPlaceHold)
                value = 1.0f;
            else
                value = std::max(0.0f, 1.0f - (t - kPlaceFadeIn - kPlaceHold) / kPlaceFadeOut);
        }
        *blend = value;
    }
    return s_play.place;
}

void PlinxRenderPlace()
{
    const _GameState &gs = GameState;
    if (!s_play.placeShown || s_play.placeDisplay == 2 || gs.gameType == GAME_TYPE_MY_PUZZLES || !s_play.boxBg ||
        s_play.place < 0)
        return;
    float blend;
    PlayScreenGetPlace(&blend);
    const bool shortBox = s_play.placeDisplay == 1;
    const float boxWidth = shortBox ? 200.0f : 400.0f;
    s_play.boxBg->PositionRatioed(shortBox ? 220.0f : 120.0f, 0.0f, boxWidth, 40.0f);
    s_play.boxBg->SetColour(1.0f, 1.0f, 1.0f, 0.6f * blend);
    s_play.boxBg->Draw();
    s_play.boxBg->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    const char *text = s_play.placeText;
    EngFont *font = PlayScreenGetGameFont();
    if (!font || !text[0])
        return;
    char didPrepare = 0;
    EngFontPrepareForDrawingWithOrientationIfNeeded(ENG_FONT_RATIO_DESIGN, &didPrepare);
    // A long text (a long player name) is narrowed to stay inside its box.
    font->SetScale(1.2f, 1.9f);
    const float width = font->GetStringWidth(text), room = boxWidth - 16.0f;
    if (width > room && width > 0.0f)
        font->SetScale(1.2f * room / width, 1.9f);
    font->SetColour(1.0f, 0.9255f, 0.8902f, blend);
    font->DrawString(320.0f, 20.0f, 1, 1, text, 0);
    font->SetScale(1.0f, 1.0f);
    font->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    if (didPrepare)
        EngFontRestoreAfterDrawing();
}

// ---- Helpers of the other play-screen files ---------------------------------------------------------

void PlayScreenDrawPanel(const _Dimension *box, float alpha)
{
    if (!s_play.boxBg || !s_play.boxBg->IsLoaded() || !box || box->w <= 0.0f || box->h <= 0.0f)
        return;
    s_play.boxBg->PositionRatioedFromDimension(box);
    s_play.boxBg->SetColour(1.0f, 1.0f, 1.0f, alpha);
    s_play.boxBg->Draw();
    s_play.boxBg->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
}

void PlayScreenDrawHighlight(float x, float y, float pixels, float r, float g, float b, float a)
{
    if (!s_play.alpha || !s_play.alpha->IsLoaded() || !EngMainDevice || !(pixels > 0.0f))
        return;
    s_play.alpha->PositionPure(-0.5f, -0.5f, 1.0f, 1.0f);
    SetSquareTransform(x, y, pixels, pixels, 0.0f);
    s_play.alpha->SetColour(r, g, b, a);
    s_play.alpha->Draw();
    s_play.alpha->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    PlayScreenResetTransform();
}
