// Rules that reach the window system directly.
#include <SDL2/SDL.h>
#include "PlatWin.h"
#include "Rules.h"
