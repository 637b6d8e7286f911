// What the rules ask of the layer that shows and sounds the game (game/view: play-screen
// drawing, game sound, particle effects, animated text). The rules link the engine core
// only, so that layer hands its functions over at start-up with ViewSetHooks; the rules
// call them through the View* functions below. A member left NULL does nothing and
// answers the default given in its contract, so the rules run headless without any of it.
//
// Contract of each member (positions are play-field units, _GameState's space; a pointer
// handed over stays valid until the matching Stop or Set call moves it):
//
// Play-screen drawing
//   refreshScoreText()          the score changed: re-make the score bar's text.
//   refreshCaptionText()        the level, lives or game type changed: re-make the caption.
//   bordersNewTint(atOnce)      the level's tint (GameState.levelTint) changed: blend the
//                               border to it, or with `atOnce` take it at once.
//   bordersTick(force)          once per tick while the game runs (border animation).
//   bordersComputeLayout()      the grid's layout (walls, field scale) changed.
//   setupPlaceFinder()          a new game starts: set up the online place box.
//   updatePlace(score, force)   after a score change: refresh the place box when the place
//                               changed (always with `force`).
//   tickPlace()                 once per tick of play.
//   editorLoadPicture()         the puzzle editor opens: load the picture under its grid.
//                               Answers false when it cannot (logged by the rules).
//                               Default: true (nothing to load).
//   editorReleasePicture()      the editor closes: release that picture.
//
// Game sound (slots: _GameSoundSlot below)
//   soundPlay(slot)             play a slot once.
//   soundPlayLooped(slot)       start a slot's loop; soundStop(slot) ends it.
//   soundSetLevel(slot, level)  the level (0 to 1) the slot plays at from now on.
//   soundPlaySpecial(ballType)  the loop of a wildcard or exploding ball in play; counted,
//                               so two balls of a type start it once and it stops with the
//                               last soundStopSpecial(ballType, all = 0); `all` stops it
//                               whatever the count.
//   soundPlayRemove(pitch),     a removal / fall sound on an instance of its own: its
//   soundPlayFalling(pitch)     number (>= 0). Default: -1 (none free), which the rules
//                               store and never pass on.
//   soundSetRemovePitch(instance, pitch), soundSetFallingPitch(instance, pitch),
//   soundStopRemove(instance), soundStopFalling(instance)
//                               act on an instance from the two calls above.
//   soundStopLoops(instancesToo) stop the roll loops and the special-ball loops; with
//                               `instancesToo` the removal and fall instances as well. (The
//                               rules clear their own roll flags before calling.)
//   soundStopAll()              every game sound: loops, instances, game-over music.
//   soundUpdateGameSoundsVolume() the player's game-sounds volume (GameState.userOptions)
//                               may have changed.
//   soundStartGameOverMusic(), soundStopGameOverMusic()
//
// Particle effects
//   effectsStartExplosionBall(position), effectsStartWildcardBall(position)
//                               an effect that follows a special ball's position (x, y, z
//                               of a _MovingBall or of the turret ball, see GameState.h):
//                               its number 0 to 4 (VIEW_NUM_BALL_EFFECTS), which the rules
//                               store in the ball's record and saved games. Default: -1
//                               (effects off or none free).
//   effectsSetExplosionBallPosition(number, position), effectsSetWildcardBallPosition(...)
//                               the followed ball's record moved (list shifted, shot
//                               fired, game restored); numbers outside 0-4 are ignored.
//   effectsStopExplosionBall(number), effectsStopWildcardBall(number)
//                               likewise ignore a number outside 0-4 (the rules pass -1).
//   effectsStartExplosion(centre, scale)          an exploding ball's blast.
//   effectsStartRemoveEffect(centre, scale, colour) a group removed, tinted `colour`.
//   effectsStartGameOverEffect(x, y, z), effectsSetGameOverStrength(turretAngle),
//   effectsStopGameOverEffect()
//   effectsStopAllBallEffects() the ball effects and the removal effect stop.
//   effectsResetGameEffects()   every in-game effect stops (a new game starts).
//
// Animated text (the "GAME  OVER" banner)
//   textClear()                 empty the effects and the lines.
//   textSetText(text)           replace the lines with one line of `text`; true when set.
//                               Default: false.
//   textTick()                  advance the animation; false when no text is set.
//                               Default: false.
//   textGetNumLines()           the lines shown now. Default: 0.
#pragma once
#include "EngTypes.h"

// The game sound slots the rules play: the sound module loads its sounds under these
// numbers.
enum _GameSoundSlot
{
    SOUND_GRID_LAND = 0,      // a ball lands
    SOUND_GRID_ALIGN = 1,     // a ball bounces off a wall
    SOUND_BALL_ROLLING = 2,   // loop while balls fly
    SOUND_ARCADE_ROLL = 3,    // loop of the continuous descent
    SOUND_STRATEGIC_ROLL = 4, // loop while the grid moves in per-shot mode
    SOUND_LEVEL_START = 5,
    SOUND_BOUNCE = 6,         // a group removed by a bank shot
    SOUND_BALL_LAUNCH = 13,
    SOUND_EXPLOSION = 14,
    SOUND_LIFE_OVER = 15,
};

enum
{
    VIEW_NUM_BALL_EFFECTS = 5, // effects that follow balls, per kind (exploding, wildcard)
};

struct _ViewHooks
{
    // Play-screen drawing
    void (*refreshScoreText)();
    void (*refreshCaptionText)();
    void (*bordersNewTint)(char atOnce);
    void (*bordersTick)(char force);
    void (*bordersComputeLayout)();
    void (*setupPlaceFinder)();
    void (*updatePlace)(int score, char force);
    void (*tickPlace)();
    bool (*editorLoadPicture)();
    void (*editorReleasePicture)();

    // Game sound
    void (*soundPlay)(int slot);
    void (*soundPlayLooped)(int slot);
    void (*soundStop)(int slot);
    void (*soundSetLevel)(int slot, float level);
    void (*soundPlaySpecial)(int ballType);
    void (*soundStopSpecial)(int ballType, char all);
    int (*soundPlayRemove)(float pitch);
    int (*soundPlayFalling)(float pitch);
    void (*soundSetRemovePitch)(int instance, float pitch);
    void (*soundSetFallingPitch)(int instance, float pitch);
    void (*soundStopRemove)(int instance);
    void (*soundStopFalling)(int instance);
    void (*soundStopLoops)(char instancesToo);
    void (*soundStopAll)();
    void (*soundUpdateGameSoundsVolume)();
    void (*soundStartGameOverMusic)();
    void (*soundStopGameOverMusic)();

    // Particle effects
    int (*effectsStartExplosionBall)(_Vector3d *position);
    void (*effectsSetExplosionBallPosition)(int number, _Vector3d *position);
    void (*effectsStopExplosionBall)(int number);
    int (*effectsStartWildcardBall)(_Vector3d *position);
    void (*effectsSetWildcardBallPosition)(int number, _Vector3d *position);
    void (*effectsStopWildcardBall)(int number);
    void (*effectsStartExplosion)(const _Vector3d *centre, const _Vector3d *scale);
    void (*effectsStartRemoveEffect)(const _Vector3d *centre, const _Vector3d *scale, const _ColourRGB *colour);
    void (*effectsStartGameOverEffect)(float x, float y, float z);
    void (*effectsSetGameOverStrength)(float turretAngle);
    void (*effectsStopGameOverEffect)();
    void (*effectsStopAllBallEffects)();
    void (*effectsResetGameEffects)();

    // Animated text
    void (*textClear)();
    char (*textSetText)(const char *text);
    char (*textTick)();
    int (*textGetNumLines)();
};

// Copies `hooks` (NULL: every member unset). The view layer calls it once at start-up,
// before the first game; a test may swap in a recorder.
void ViewSetHooks(const _ViewHooks *hooks);

// ---- The rules' side: each calls its member or answers the member's default ----------

void ViewRefreshScoreText();
void ViewRefreshCaptionText();
void ViewBordersNewTint(char atOnce);
void ViewBordersTick(char force);
void ViewBordersComputeLayout();
void ViewSetupPlaceFinder();
void ViewUpdatePlace(int score, char force);
void ViewTickPlace();
bool ViewEditorLoadPicture();
void ViewEditorReleasePicture();

void ViewSoundPlay(int slot);
void ViewSoundPlayLooped(int slot);
void ViewSoundStop(int slot);
void ViewSoundSetLevel(int slot, float level);
void ViewSoundPlaySpecial(int ballType);
void ViewSoundStopSpecial(int ballType, char all);
int ViewSoundPlayRemove(float pitch);
int ViewSoundPlayFalling(float pitch);
void ViewSoundSetRemovePitch(int instance, float pitch);
void ViewSoundSetFallingPitch(int instance, float pitch);
void ViewSoundStopRemove(int instance);
void ViewSoundStopFalling(int instance);
// Also clears the game state's roll flags (arcadeRollOn, strategicRollOn).
void ViewSoundStopLoops(char instancesToo);
// Also clears the game state's roll flags.
void ViewSoundStopAll();
void ViewSoundUpdateGameSoundsVolume();
void ViewSoundStartGameOverMusic();
void ViewSoundStopGameOverMusic();

int ViewEffectsStartExplosionBall(_Vector3d *position);
void ViewEffectsSetExplosionBallPosition(int number, _Vector3d *position);
void ViewEffectsStopExplosionBall(int number);
int ViewEffectsStartWildcardBall(_Vector3d *position);
void ViewEffectsSetWildcardBallPosition(int number, _Vector3d *position);
void ViewEffectsStopWildcardBall(int number);
void ViewEffectsStartExplosion(const _Vector3d *centre, const _Vector3d *scale);
void ViewEffectsStartRemoveEffect(const _Vector3d *centre, const _Vector3d *scale, const _ColourRGB *colour);
void ViewEffectsStartGameOverEffect(float x, float y, float z);
void ViewEffectsSetGameOverStrength(float turretAngle);
void ViewEffectsStopGameOverEffect();
void ViewEffectsStopAllBallEffects();
void ViewEffectsResetGameEffects();

void ViewTextClear();
char ViewTextSetText(const char *text);
char ViewTextTick();
int ViewTextGetNumLines();
