// Level captions (see LevelsRender.h): text in the game font over the play screen.
#include "LevelsRender.h"

#include <cmath>
#include <cstdio>

#include "EngDevice.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngTexture.h"
#include "GameState.h"
#include "Levels.h"
#include "PlayScreen.h"
#include "PlayScreenInternal.h"
#include "TextEffects.h"

namespace
{
struct
{
    _CaptionPlaces places;
    _Dimension menuBox;
    float mouseX, mouseY;
    float livesAngle; // the lives caption's colour swing, its own clock
    bool placesSet;
} s_captions;

void EnsurePlaces()
{
    if (!s_captions.placesSet)
        LevelsSetupCaptionPlaces();
}

// A caption line with a soft drop shadow.
void DrawCaption(const char *text, float y, float scale, const _ColourRGB &colour, float alpha)
{
    if (scale >= 1.0f)
    {
        float shadow = GameState.captionSize * 0.15f * 0.2f;
        PlayScreenDrawText(text, s_captions.places.x + shadow, y + shadow, scale, 0.0f, 0.0f, 0.0f, alpha * 0.6f);
    }
    PlayScreenDrawText(text, s_captions.places.x, y, scale, colour.r, colour.g, colour.b, alpha);
}
} // namespace

void LevelsSetupCaptionPlaces()
{
    s_captions.places = {320.0f, 200.0f, 200.0f, 200.0f};
    s_captions.menuBox = {575.0f, 4.0f, 60.0f, 30.0f};
    s_captions.placesSet = true;
}

const _CaptionPlaces *LevelsGetCaptionPlaces()
{
    EnsurePlaces();
    return &s_captions.places;
}

const _Dimension *LevelsGetMenuBox()
{
    EnsurePlaces();
    return &s_captions.menuBox;
}

void LevelsSetMousePosition(float x, float y)
{
    s_captions.mouseX = x;
    s_captions.mouseY = y;
}

void LevelsRender()
{
    const _GameState &gs = GameState;
    EnsurePlaces();
    EngFont *font = PlayScreenGetGameFont();
    if (!font)
        return;
    const float lineHeight = font->GetHeight(false);
    switch (gs.levelState)
    {
    case LEVEL_STATE_INTRO:
    case LEVEL_STATE_COUNTDOWN:
    {
        char first[64], second[64];
        int lines = LevelsGetCaptionLines(first, second, sizeof(first));
        float scale = gs.captionSize / 25.0f;
        if (lines == 0 || !(scale > 0.0f))
            break;
        float alpha = std::fmin(1.0f, std::fmax(0.0f, gs.captionAlpha));
        if (lines == 1)
            DrawCaption(first, s_captions.places.singleY, scale, gs.levelTint, alpha);
        else
        {
            float gap = lineHeight * scale * 0.55f;
            DrawCaption(first, s_captions.places.firstY - gap, scale, gs.levelTint, alpha);
            DrawCaption(second, s_captions.places.secondY + gap, scale, gs.levelTint, alpha);
        }
        break;
    }
    case LEVEL_STATE_LIFE_LOST:
    {
        char first[64], second[64];
        if (LevelsGetCaptionLines(first, second, sizeof(first)) == 0)
            break;
        float dt = EngFrameTiming.frameTime > 0.0f && EngFrameTiming.frameTime < 1.0f ? EngFrameTiming.frameTime : 0.0f;
        s_captions.livesAngle = std::fmod(s_captions.livesAngle + dt * 4.0f, 6.2831853f);
        float scale = gs.captionSize / 50.0f;
        float alpha = std::fmin(1.0f, std::fmax(0.0f, gs.captionAlpha));
        float w = std::fabs(sinf(s_captions.livesAngle)) / 5.0f + 0.8f;
        PlayScreenDrawText(first, 323.0f, 243.0f, scale, 0.0f, 0.0f, 0.0f, alpha);
        PlayScreenDrawText(first, 317.0f, 237.0f, scale, 0.0f, 0.0f, 0.0f, alpha);
        PlayScreenDrawText(first, 320.0f, 240.0f, scale, 0.2f, 0.1f, w, alpha);
        break;
    }
    case LEVEL_STATE_GAME_OVER:
        if (game_text_effects.GetNumLines() > 0)
        {
            if (game_text_effects.GetFont() != font)
                game_text_effects.SetFont(font);
            game_text_effects.RenderFrame();
        }
        LevelsRenderDim();
        break;
    default:
        break;
    }
}

void LevelsRenderDim()
{
    EnsurePlaces();
    const _Dimension &box = s_captions.menuBox;
    bool over = s_captions.mouseX >= box.x && s_captions.mouseX < box.x + box.w && s_captions.mouseY >= box.y &&
                s_captions.mouseY < box.y + box.h;
    PlayScreenDrawPanel(&box, over ? 0.8f : 0.5f);
    PlayScreenDrawText("MENU", box.x + box.w * 0.5f, box.y + box.h * 0.5f, 1.3f, 1.0f, 1.0f, 1.0f,
                       over ? 1.0f : 0.5f);
}

char LevelsStartBannerText(const char *banner)
{
    TextEffects &text = game_text_effects;
    text.Clear();
    if (EngFont *font = PlayScreenGetGameFont())
        text.SetFont(font);
    text.SetScale(5.0f, 5.0f, 1.0f);
    text.SetColour(1.0f, 0.35f, 0.2f);
    text.SetPosition(320.0f, 200.0f);
    if (TextEffectsEffect *fade = text.AddFadeIn(1.0f, 1))
        fade->SetTiming(0.0f, 1.0f, 0.0f);
    if (TextEffectsEffect *colour = text.AddColourEffect(1.0f, 0.8f, 0.25f, 1.0f))
    {
        colour->SetTiming(0.0f, 0.6f, 0.0f);
        colour->SetWaitForPrevious(true);
    }
    if (TextEffectsEffect *wobble = text.AddWobble(0.08f, 0.5f))
    {
        wobble->SetTiming(0.0f, 2.0f, 0.0f);
        wobble->SetWaitForPrevious(true);
        wobble->SetRepeat(true);
    }
    return text.SetText(banner);
}
