// Placeholder for the animated-text module (see TextEffects.h): keeps the text, animates
// nothing. The animated-text module replaces this file.
#include "TextEffects.h"

#include "EngMemory.h"

TextEffects game_text_effects;

void TextEffects::Clear()
{
    text[0] = 0;
    numLines = 0;
}

char TextEffects::SetText(const char *newText)
{
    EngSafeStrcpy(text, newText ? newText : "", sizeof(text));
    numLines = 1;
    return 1;
}

char TextEffects::Tick()
{
    return numLines > 0;
}
