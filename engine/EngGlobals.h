// The frame clock (EngFrameTiming), the key-state table (EngKeyStates) and the screen
// settings (EngScreenSettings) in one include, for modules that only read them. They
// belong to the program object and the main window.
#pragma once
#include "EngProgram.h"
#include "EngWindow.h"

// Letter keys read by the game.
enum
{
    ENG_VK_U = 'U',
};
