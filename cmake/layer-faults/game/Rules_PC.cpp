// A back end may include its stand-in.
#include "PlatWin.h"
