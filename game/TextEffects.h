// The animated banner text as the level logic calls it ("GAME  OVER"). The bodies are
// placeholders (TextEffectsPlaceholder.cpp) until the animated-text module lands; the
// class and its operations are its own.
#pragma once

class TextEffects
{
public:
    // Empties the effects and the lines.
    void Clear();
    // Replaces the lines with one line of `text`.
    char SetText(const char *text);
    // Advances the effects; false when no text is set.
    char Tick();
    int GetNumLines() const { return numLines; }
    const char *GetText() const { return text; }

private:
    char text[64] = {};
    int numLines = 0;
};

extern TextEffects game_text_effects;
