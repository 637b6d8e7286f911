// Animated banner text ("GAME  OVER"): one line of letters, each with its own offset,
// scale, colour and alpha, animated by a queue of effects (scale, fade, colour, wobble)
// that run one after another. Drawn letter by letter in the game font over the 640x480
// design space. The game has one instance, game_text_effects, used by the level
// captions. Nothing here calls the engine before a font is set.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class EngFont;
class TextEffects;

// One animation step. Its clock advances by the frame time on each of its ticks; it waits
// `delay`, runs for `run` (its channels move from their start to their target), holds
// for `hold`, then is finished (or starts again when `repeat` is set).
class TextEffectsEffect
{
public:
    enum
    {
        STATE_RUNNING = 0, // waiting or running
        STATE_HELD = 1,    // ran, holding its final values
        STATE_FINISHED = 2,
    };

    void SetTiming(float delaySeconds, float runSeconds, float holdSeconds);
    // Starts only once the effect before it has finished.
    void SetWaitForPrevious(bool wait) { waitForPrevious = wait; }
    void SetRepeat(bool on) { repeat = on; }
    bool HasStarted() const { return started; }
    bool IsFinished() const { return state == STATE_FINISHED; }
    // 0 to 1 through the run.
    float GetProgress() const { return progress; }

    // One tick of the effect's timing and channels.
    void Tick(float frameTime);

    TextEffects *owner = nullptr;
    float delay = 0.0f, run = 0.0f, hold = 0.0f;
    float clock = 0.0f; // seconds since its first tick
    int state = STATE_RUNNING;
    bool started = false;
    bool waitForPrevious = false;
    bool repeat = false;
    float progress = 0.0f;

    bool scaleOn = false;
    _Vector3d scaleTarget = {1.0f, 1.0f, 1.0f};
    bool fadeOn = false;
    bool fadeEased = false; // eased (slow at both ends) rather than linear
    float fadeValue = 0.0f; // 0 to 1 through the fade
    float fadeFrom = 0.0f, fadeTo = 1.0f; // alpha at the run's start and end
    bool colourOn = false;
    _ColourRGBA colourTarget = {1.0f, 1.0f, 1.0f, 1.0f};
    bool wobbleOn = false;
    float wobbleAmount = 0.0f, wobbleSpeed = 0.0f; // fraction of the line height; radians per second
    float wobbleAngle = 0.0f;
};

struct TextEffectsLetter
{
    char character;
    int index, count;
    float place;  // u: 0 at the first letter, 1 at the last (0.5 alone)
    float offsetX; // from the line's centre, design pixels at scale 1
    float width;
    // Results of the effects this frame.
    float alpha;   // -99: none, else 0-1 multiplying the colour's alpha
    float scale;
    float offsetY; // design pixels
    _ColourRGBA colour;
    bool ownColour;
};

class TextEffects
{
public:
    enum
    {
        MAX_LETTERS = 64,
        MAX_EFFECTS = 32,
    };

    TextEffects();
    // Empties the effects and the line; off.
    void Clear();
    // NULL: 'BAPA' and false.
    char SetFont(EngFont *font);
    EngFont *GetFont() const { return font; }
    void SetColour(float r, float g, float b);
    void SetScale(float x, float y, float z);
    // Centre of the line in design pixels (default 320, 200).
    void SetPosition(float x, float y);
    // Replaces the line with `text` (at most 63 letters); false for NULL.
    char SetText(const char *text);
    int GetNumLines() const { return on ? 1 : 0; }
    const char *GetText() const { return text; }

    // Effects are added at the end of the queue; NULL ('IERR') when the queue is full.
    TextEffectsEffect *AddEffect();
    TextEffectsEffect *AddScaleEffect(float x, float y, float z, float factor);
    // Alpha 0 -> 1 over `time` seconds (eased when `eased`).
    TextEffectsEffect *AddFadeIn(float time, char eased);
    // Alpha 1 -> 0 over `time` seconds.
    TextEffectsEffect *AddFadeOut(float time, char eased);
    TextEffectsEffect *AddColourEffect(float r, float g, float b, float a);
    // Letters bob and swell by `amount` of the line height, `factor` times a second.
    TextEffectsEffect *AddWobble(float amount, float factor);
    int GetNumEffects() const { return numEffects; }
    TextEffectsEffect *GetEffect(int index);

    // Advances the effects in order (an effect waiting for its predecessor stops the
    // walk) and updates the letters; false when no text is set.
    char Tick();
    // Draws the letters; false without a font, a text, or set-up for rendering.
    char SetupForRendering();
    void RestoreAfterRendering();
    char Render();
    // Set up, render, restore.
    char RenderFrame();
    // Lays the line out again (after a resolution change).
    void ResolutionChanged();

    int GetNumLetters() const { return numLetters; }
    const TextEffectsLetter *GetLetter(int index) const;

private:
    void LayOut(float extraSpaceWidth);
    void UpdateLetters();

    EngFont *font;
    char text[MAX_LETTERS];
    TextEffectsLetter letters[MAX_LETTERS];
    int numLetters;
    float lineWidth, lineHeight;
    bool on;
    bool setUpForRendering;
    _Vector3d scale;
    _ColourRGBA colour;
    float centreX, centreY;
    TextEffectsEffect effects[MAX_EFFECTS];
    int numEffects;
    int firstUnfinished;
    int lastStarted;
};

extern TextEffects game_text_effects;
