// The puzzle editor's drawing: its own bottom bar with the next-ball list in a groove,
// the cursor on the grid or on a slot of the list, the editor's message and the key
// help beside the field. The editor's state is the rules' (Puzzles.h).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngTexture.h"
#include "GameState.h"
#include "LevelsRender.h"
#include "PlayScreen.h"
#include "PlayScreenInternal.h"
#include "Puzzles.h"

namespace
{
struct
{
    EngTexture *bottom;
    float cursorAngle; // the cursor's throb, its own clock
} s_editor;

// The groove of the editor's bar: where the next-ball slots go.
_Dimension Groove(const _Dimension &bar)
{
    return {bar.x + bar.w * 0.04f, bar.y + bar.h * 0.16f, bar.w * 0.92f, bar.h * 0.34f};
}

float FieldX(float pixelX)
{
    float fieldScale = GameState.fieldScale > 0.0f ? GameState.fieldScale : 1.0f;
    return (pixelX - 320.0f) / (PLAY_PIXELS_PER_UNIT * fieldScale);
}

float FieldY(float pixelY)
{
    return (pixelY - 240.0f) / PLAY_PIXELS_PER_UNIT;
}
} // namespace

bool EditorViewLoadPicture()
{
    if (!s_editor.bottom)
        s_editor.bottom = new (std::nothrow) EngTexture(nullptr, 1);
    if (!s_editor.bottom)
        return false;
    return s_editor.bottom->IsLoaded() || s_editor.bottom->LoadFromFile("Data/CpBottom.bmp", 0, ENG_ALPHA_OPAQUE, 0);
}

void EditorViewReleasePicture()
{
    delete s_editor.bottom;
    s_editor.bottom = nullptr;
}

bool EditorViewDrawBar(const _Dimension *bar)
{
    if (!s_editor.bottom || !s_editor.bottom->IsLoaded() || bar->w <= 0.0f)
        return false;
    s_editor.bottom->PositionRatioed(bar->x, bar->y, bar->w, bar->h);
    s_editor.bottom->Draw();
    return true;
}

void EditorViewRender()
{
    const _GameState &gs = GameState;
    const _BordersLayout *layout = BordersGetLayout();
    float dt = EngFrameTiming.frameTime > 0.0f && EngFrameTiming.frameTime < 1.0f ? EngFrameTiming.frameTime : 0.0f;
    s_editor.cursorAngle = std::fmod(s_editor.cursorAngle + dt * 5.0f, 6.2831853f);
    const float throb = 0.45f + 0.35f * std::fabs(sinf(s_editor.cursorAngle));
    int column = 0, row = 0, slot = 0;
    bool listTarget = false;
    PuzzlesGetEditorCursor(&column, &row, &slot, &listTarget);

    // The next-ball list: a window of slots round the cursor.
    const _Dimension groove = Groove(layout->bar);
    const float slotPixels = std::max(8.0f, groove.h);
    const int visible = std::max(1, (int)(groove.w / slotPixels));
    const int total = PUZZLE_MAX_NEXT_BALLS;
    int first = std::min(std::max(0, slot - visible / 2), std::max(0, total - visible));
    const float diameter = RenderGetBallDiameter();
    for (int i = first; i < std::min(total, first + visible); i++)
    {
        float px = groove.x + ((float)(i - first) + 0.5f) * (groove.w / (float)visible);
        float py = groove.y + groove.h * 0.5f;
        if (listTarget && i == slot)
            PlayScreenDrawHighlight(FieldX(px), FieldY(py), slotPixels * 1.1f, 1.0f, 0.9f, 0.3f, throb);
        if (i < gs.puzzle.numNextBalls && diameter > 0.0f)
            RenderDrawBall(FieldX(px), FieldY(py), slotPixels * 0.8f / diameter, gs.puzzle.nextBalls[i], 0.0f, 0.0f, 0);
    }
    PlayScreenResetTransform();
    // The grid cursor.
    if (!listTarget && column >= 0 && column < GRID_MAX_COLUMNS && row >= 0 && row < GRID_ROWS)
    {
        const _GridCell &cell = gs.grid[column][row];
        PlayScreenDrawHighlight(cell.x, cell.y + gs.scroll, diameter * 1.15f, 1.0f, 0.9f, 0.3f, throb);
    }
    char counts[48];
    snprintf(counts, sizeof(counts), "%d / %d", (int)gs.puzzle.numNextBalls, (int)PUZZLE_MAX_NEXT_BALLS);
    const _Dimension &bar = layout->bar;
    float boxScale = bar.w / 640.0f;
    PlayScreenDrawText(counts, bar.x + bar.w * (27.0f + 68.0f) / 640.0f, bar.y + bar.h * 0.75f, 1.4f * boxScale + 0.3f,
                       0.8f, 0.9f, 1.0f, 1.0f);
    PlayScreenDrawText(gs.puzzle.name, bar.x + bar.w * (479.0f + 68.0f) / 640.0f, bar.y + bar.h * 0.75f,
                       1.4f * boxScale + 0.3f, 1.0f, 0.93f, 0.75f, 1.0f);
    if (const char *message = PuzzlesGetEditorMessage())
        PlayScreenDrawText(message, 320.0f, 300.0f, 0.9f, 1.0f, 0.85f, 0.3f, 1.0f);
    EditorViewRenderKeyHelp();
}

void EditorViewRenderKeyHelp()
{
    EngFont *font = PlayScreenGetGameFont();
    if (!font)
        return;
    const bool testing = GameState.testMode != 0;
    int count = 0;
    const _PuzzleKeyHelp *rows = PuzzlesGetKeyHelp(testing ? 1 : 0, &count);
    if (!rows)
        return;
    // Beside the field on the left; the width left over by the field, at most 200.
    const _BordersLayout *layout = BordersGetLayout();
    float width = std::min(200.0f, std::max(90.0f, layout->outerX - 16.0f));
    float x = 8.0f, y = 12.0f;
    char didPrepare = 0;
    EngFontPrepareForDrawingWithOrientationIfNeeded(ENG_FONT_RATIO_DESIGN, &didPrepare);
    if (testing)
    {
        font->SetScale(0.9f, 0.9f);
        font->SetColour(1.0f, 0.6f, 0.3f, 1.0f);
        font->DrawString(x, y, 0, 0, "TEST MODE KEYS", 0);
        y += 11.0f * 0.9f * 1.6f;
    }
    for (int i = 0; i < count; i++)
    {
        font->SetScale(0.85f, 0.85f);
        font->SetColour(1.0f, 0.85f, 0.35f, 1.0f);
        font->DrawString(x, y, 0, 0, rows[i].key, 0);
        // Line steps from the font's em (11 design pixels at scale 1).
        y += 11.0f * 0.85f * 1.3f;
        font->SetScale(0.7f, 0.7f);
        font->SetColour(0.85f, 0.92f, 1.0f, 1.0f);
        int lines = 1;
        // Wrapped lines a fixed step apart, whatever the font's own line height.
        font->SetLineSpacing(11.0f * 0.7f * 1.3f);
        font->DrawMultilineText(x + 6.0f, y, width - 6.0f, 200.0f, 0, 0, rows[i].action, 1, 0, nullptr, nullptr,
                                &lines, nullptr);
        font->SetLineSpacing(0.0f);
        y += (float)std::max(1, lines) * 11.0f * 0.7f * 1.3f + 6.0f;
    }
    font->SetScale(1.0f, 1.0f);
    font->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    if (didPrepare)
        EngFontRestoreAfterDrawing();
}
