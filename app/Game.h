// The program's glue between the engine, the rules, the GUI and its screens: the state
// that lives for the whole run (current player, program object, target screen, aiming),
// the switches between the menus and the game inside the fade, the player's save, and
// the steps the program object runs at start-up and shut-down.
#pragma once
#include <cstdint>

#include "EngTypes.h"

class Program;
class UserClass;
struct _EngCreateWindowParms;

typedef void (*GameSwitchFn)();

enum
{
    GAME_TARGET_NONE = -1,
    GAME_TARGET_FIRST_SCREEN = -2, // start the GUI with its first screen
};

const float GAME_VERSION = 2.42f;
const float GAME_FILE_VERSION = 2.2f;

struct _GameProgramState
{
    uint8_t setupDone;
    uint8_t configurationForced;
    Program *program;
    ScreenId targetScreen;  // after a switch to the menus; GAME_TARGET_*
    float lastMouseX;       // windowed aiming; -1000 not set
    uint8_t gameRunning;    // a started game is being played (not the splash, not menus)
    uint8_t gameOverButtonHeld;
    uint8_t gameOverButtonHover;
    int32_t shots;          // fired in the game being played
    // The start's work that the splash does not need (the GUI font, the play screen's
    // textures, the sounds) waits until the splash has put its black first frame on the
    // screen.
    uint8_t startPending;
};
extern _GameProgramState game_program;

// ---- Main functions (the engine's application operations) ----
// The table handed to the engine's entry (EngMainRunProgram).
const struct _EngMainApplication *GameGetApplication();
signed char MainCreateAndInitMainProgram(void *instance, const char *commandLine, int *exitCode);
void MainDeleteMainProgram();
const char *MainGetProgramTitle();
const char *MainGetWindowClassName();
float MainGetGameVersion();
float MainGetFileVersion();
_EngCreateWindowParms *MainGetWindowSettings();
// 1 the home page, 2 the forum; NULL otherwise.
const char *MainGetWebPageUrl(int page);
// The one-time set-up: encryption key, per-user folder and log, start-up settings.
void GameOneTimeSetup();
// Hands the rules and the player module the program's answers (AppHooks.h).
void GameRegisterHooks();
// The GUI's host table: the program's window, clock, redraws and fade frames.
void GameRegisterGuiHost();
void GameUnregisterGuiHost();

// ---- Player (the rules keep the player object: GameGetUser) ----
void GameAfterUserCreatedOrLoaded();
// Saves a loaded player: a running game first, the working options, the player file,
// the start-up settings.
void GameSaveUser(char warn);

// ---- Switching ----
bool GameIsGuiOn();
// `now` switches at once; otherwise at the end of a fade-out. A switch asked for while
// a fade-out runs is refused (logged).
void GameGoFromGameToMenus(ScreenId screen, GameSwitchFn callback, char now);
void GameGoFromMenusToGame(GameSwitchFn callback, char now);
void GameSwitchToMenus();
void GameSwitchToGame();
void GameAfterSplashCB(void *context);
ScreenId GameGetTargetScreen();

// ---- Per frame ----
void GameTick();
void GameMenuTick();
void GameRender();
void GameMenuRender();
// Input with the GUI off: mouse moves aim, buttons shoot.
bool GameMouseMove(float x, float y);
bool GameMouseButton(int button, bool pressed);

// Windowed aiming: how a pointer move at (x, y) in a window of w x h turns the turret.
struct _GameAim
{
    uint8_t turn;        // the turret turns by `angle`
    uint8_t relative;    // `angle` adds to the current angle
    float angle;         // radians
    uint8_t warp;        // the pointer is put at (warpX, warpY)
    int32_t warpX, warpY;
};
// The pure rule, with the last x of a windowed aim kept in *lastX (-1000 none).
_GameAim GameComputeAim(float x, float y, int w, int h, bool windowed, float *lastX);

// ---- Start-up and shut-down steps ----
void GameLogRes(int step);
void GameGuiSettings();
bool GameCreateFreeTypeFont();
bool GameMenuCreateGraphics();
void GameMenuReleaseGraphics();
void GameAfterCreateStep();
// The part of the start that waits behind the splash; see Program.cpp.
bool GameFinishStart();
void GameEndFailedStart();
void GameShutdownStep();
