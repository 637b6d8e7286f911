// Animated banner text (see TextEffects.h). Effects run in queue order; each applies its
// channels to every letter, later effects over earlier ones, and a finished effect keeps
// its final values (a faded-out text stays faded out).
#include "TextEffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngGlobals.h"

TextEffects game_text_effects;

namespace
{
const float kNoAlpha = -99.0f;
// Floating sums of frame times land a hair short of a whole second.
const float kTimeSlack = 1e-4f;
} // namespace

// ---- Effects ----------------------------------------------------------------------------------------

void TextEffectsEffect::SetTiming(float delaySeconds, float runSeconds, float holdSeconds)
{
    delay = std::max(0.0f, delaySeconds);
    run = std::max(0.0f, runSeconds);
    hold = std::max(0.0f, holdSeconds);
}

void TextEffectsEffect::Tick(float frameTime)
{
    if (state == STATE_FINISHED)
        return;
    clock += std::max(0.0f, frameTime);
    if (clock + kTimeSlack < delay)
        return;
    started = true;
    float running = clock - delay;
    progress = run > 0.0f ? std::min(1.0f, running / run) : 1.0f;
    if (running + kTimeSlack >= run)
        progress = 1.0f;
    if (fadeOn)
    {
        fadeValue = fadeEased ? 0.5f - 0.5f * cosf(progress * 3.14159265f) : progress;
    }
    if (wobbleOn)
        wobbleAngle = running * wobbleSpeed;
    if (progress >= 1.0f)
    {
        state = STATE_HELD;
        if (running + kTimeSlack >= run + hold)
        {
            state = STATE_FINISHED;
            if (repeat)
            {
                clock = 0.0f;
                started = false;
                progress = 0.0f;
                state = STATE_RUNNING;
            }
        }
    }
}

// ---- Text -----------------------------------------------------------------------------------------

TextEffects::TextEffects()
    : font(nullptr), text{}, letters{}, numLetters(0), lineWidth(0), lineHeight(0), on(false),
      setUpForRendering(false), scale{1.0f, 1.0f, 1.0f}, colour{1.0f, 1.0f, 1.0f, 1.0f}, centreX(320.0f),
      centreY(200.0f), numEffects(0), firstUnfinished(0), lastStarted(-1)
{
}

void TextEffects::Clear()
{
    for (TextEffectsEffect &effect : effects)
        effect = TextEffectsEffect();
    numEffects = 0;
    firstUnfinished = 0;
    lastStarted = -1;
    text[0] = 0;
    numLetters = 0;
    lineWidth = 0.0f;
    on = false;
}

char TextEffects::SetFont(EngFont *newFont)
{
    if (!newFont)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    font = newFont;
    lineHeight = font->GetHeight(false);
    if (on)
        LayOut(1.0f);
    return 1;
}

void TextEffects::SetColour(float r, float g, float b)
{
    colour = {r, g, b, 1.0f};
}

void TextEffects::SetScale(float x, float y, float z)
{
    scale = {x, y, z};
    if (on)
        LayOut(1.0f);
}

void TextEffects::SetPosition(float x, float y)
{
    centreX = x;
    centreY = y;
}

char TextEffects::SetText(const char *newText)
{
    numLetters = 0;
    text[0] = 0;
    on = false;
    if (!newText)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    size_t length = std::min(strlen(newText), (size_t)MAX_LETTERS - 1);
    memcpy(text, newText, length);
    text[length] = 0;
    on = true;
    LayOut(1.0f);
    UpdateLetters();
    return 1;
}

void TextEffects::LayOut(float extraSpaceWidth)
{
    numLetters = (int)strlen(text);
    int spaces = 0;
    lineWidth = 0.0f;
    for (int i = 0; i < numLetters; i++)
    {
        TextEffectsLetter &letter = letters[i];
        letter = TextEffectsLetter{};
        letter.character = text[i];
        letter.index = i;
        letter.count = numLetters;
        letter.place = numLetters < 2 ? 0.5f : (float)i / (float)(numLetters - 1);
        letter.width = font ? font->GetCharWidth((unsigned char)text[i]) : 1.0f;
        letter.alpha = kNoAlpha;
        letter.scale = 1.0f;
        letter.colour = colour;
        lineWidth += letter.width;
        if (text[i] == ' ')
            spaces++;
    }
    // The extra width is shared by the spaces; a line without spaces gets none.
    if (spaces > 0)
        lineWidth += extraSpaceWidth;
    if (numLetters == 0)
        return;
    // Letters at equal steps, centred on the line.
    const float spacing = lineWidth / (float)numLetters;
    for (int i = 0; i < numLetters; i++)
        letters[i].offsetX = (letters[i].place - 0.5f) * (float)(numLetters - 1) * spacing;
}

void TextEffects::ResolutionChanged()
{
    if (on && font)
        LayOut(1.0f);
}

const TextEffectsLetter *TextEffects::GetLetter(int index) const
{
    return index >= 0 && index < numLetters ? &letters[index] : nullptr;
}

// ---- Effects queue ----------------------------------------------------------------------------------

TextEffectsEffect *TextEffects::AddEffect()
{
    if (numEffects >= MAX_EFFECTS)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return nullptr;
    }
    TextEffectsEffect *effect = &effects[numEffects++];
    *effect = TextEffectsEffect();
    effect->owner = this;
    return effect;
}

TextEffectsEffect *TextEffects::GetEffect(int index)
{
    return index >= 0 && index < numEffects ? &effects[index] : nullptr;
}

TextEffectsEffect *TextEffects::AddScaleEffect(float x, float y, float z, float factor)
{
    TextEffectsEffect *effect = AddEffect();
    if (effect)
    {
        effect->scaleTarget = {x * factor, y * factor, z * factor};
        effect->scaleOn = !(x == 0.0f && y == 0.0f && z == 0.0f);
    }
    return effect;
}

TextEffectsEffect *TextEffects::AddFadeIn(float time, char eased)
{
    TextEffectsEffect *effect = AddEffect();
    if (effect)
    {
        effect->fadeEased = eased != 0;
        effect->fadeOn = true;
        effect->fadeFrom = 0.0f;
        effect->fadeTo = 1.0f;
        effect->run = std::max(0.0f, time);
    }
    return effect;
}

TextEffectsEffect *TextEffects::AddFadeOut(float time, char eased)
{
    TextEffectsEffect *effect = AddFadeIn(time, eased);
    if (effect)
    {
        effect->fadeFrom = 1.0f;
        effect->fadeTo = 0.0f;
    }
    return effect;
}

TextEffectsEffect *TextEffects::AddColourEffect(float r, float g, float b, float a)
{
    TextEffectsEffect *effect = AddEffect();
    if (effect)
    {
        effect->colourTarget = {r, g, b, a};
        effect->colourOn = true;
    }
    return effect;
}

TextEffectsEffect *TextEffects::AddWobble(float amount, float factor)
{
    TextEffectsEffect *effect = AddEffect();
    if (effect)
    {
        effect->wobbleOn = true;
        effect->wobbleAmount = amount;
        effect->wobbleSpeed = 8.0f * factor;
    }
    return effect;
}

// ---- Tick ---------------------------------------------------------------------------------------------

char TextEffects::Tick()
{
    if (!on)
        return 0;
    const float frameTime = EngFrameTiming.frameTime;
    for (int i = firstUnfinished; i < numEffects; i++)
    {
        TextEffectsEffect &effect = effects[i];
        if (effect.waitForPrevious && i > 0 && !effects[i - 1].IsFinished())
            break;
        effect.Tick(frameTime);
        if (effect.started)
            lastStarted = std::max(lastStarted, i);
    }
    while (firstUnfinished < numEffects && effects[firstUnfinished].IsFinished())
        firstUnfinished++;
    UpdateLetters();
    return 1;
}

void TextEffects::UpdateLetters()
{
    for (int l = 0; l < numLetters; l++)
    {
        TextEffectsLetter &letter = letters[l];
        letter.alpha = kNoAlpha;
        letter.scale = 1.0f;
        letter.offsetY = 0.0f;
        letter.colour = colour;
        letter.ownColour = false;
        // Every effect that has run applies, in order; a finished one at its end values.
        for (int i = 0; i <= lastStarted && i < numEffects; i++)
        {
            const TextEffectsEffect &effect = effects[i];
            if (!effect.started && !effect.IsFinished())
                continue;
            const float t = effect.progress;
            if (effect.fadeOn)
                letter.alpha = effect.fadeFrom + (effect.fadeTo - effect.fadeFrom) * effect.fadeValue;
            if (effect.scaleOn)
                letter.scale = 1.0f + (effect.scaleTarget.x - 1.0f) * t;
            if (effect.colourOn)
            {
                const _ColourRGBA &to = effect.colourTarget;
                letter.colour = {letter.colour.r + (to.r - letter.colour.r) * t,
                                 letter.colour.g + (to.g - letter.colour.g) * t,
                                 letter.colour.b + (to.b - letter.colour.b) * t,
                                 letter.colour.a + (to.a - letter.colour.a) * t};
                letter.ownColour = true;
            }
            if (effect.wobbleOn && !effect.IsFinished())
            {
                // Each letter a little behind its left neighbour: a wave along the line.
                float wave = sinf(effect.wobbleAngle - letter.place * 6.2831853f);
                letter.offsetY += wave * effect.wobbleAmount * lineHeight * scale.y;
                letter.scale *= 1.0f + 0.5f * effect.wobbleAmount * wave;
            }
        }
    }
}

// ---- Drawing ------------------------------------------------------------------------------------------

char TextEffects::SetupForRendering()
{
    if (setUpForRendering)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("ALSU"));
        return 1;
    }
    if (!EngMainDevice)
        return 0;
    EngFontPrepareForDrawing(ENG_FONT_RATIO_DESIGN);
    EngMainDevice->ResetTransformMatrix();
    setUpForRendering = true;
    return 1;
}

void TextEffects::RestoreAfterRendering()
{
    if (!EngMainDevice)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return;
    }
    if (!setUpForRendering)
        return;
    EngFontRestoreAfterDrawing();
    EngMainDevice->ResetTransformMatrix();
    setUpForRendering = false;
}

char TextEffects::Render()
{
    if (!font || !on || !setUpForRendering)
    {
        if (!EngMainDevice)
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return 0;
    }
    char one[2] = {0, 0};
    for (int i = 0; i < numLetters; i++)
    {
        const TextEffectsLetter &letter = letters[i];
        if (letter.character == ' ')
            continue;
        float alpha = letter.colour.a;
        // An override of 0 is a letter faded out, not "no override".
        if (letter.alpha != kNoAlpha)
            alpha *= std::max(0.0f, std::min(1.0f, letter.alpha));
        if (alpha <= 0.0f)
            continue;
        float letterScale = std::max(0.0f, letter.scale);
        font->SetScale(scale.x * letterScale, scale.y * letterScale);
        font->SetColour(letter.colour.r, letter.colour.g, letter.colour.b, alpha);
        one[0] = letter.character;
        font->DrawString(centreX + letter.offsetX * scale.x, centreY + letter.offsetY, 1, 1, one, 0);
    }
    font->SetScale(1.0f, 1.0f);
    font->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    return 1;
}

char TextEffects::RenderFrame()
{
    if (!font || !on)
        return 0;
    if (!SetupForRendering())
        return 0;
    char drawn = Render();
    RestoreAfterRendering();
    return drawn;
}
