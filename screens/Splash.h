// The splash: a full-screen logo sequence before the first screen. A picture (or four
// quarters of one) fades in out of black, holds and fades out under a sparkle effect,
// with the maker line at the bottom; or a layered picture from a .ttx description runs
// behind a screen. One splash at a time; while it is on, the program hands each frame's
// tick and render to it.
#pragma once

class EngFont;
struct _EngParticleSystemParms;
class EngParticles;
class EngTexture;
struct _Vector3d;

typedef const char *(*SplashTextFn)(void *context);
// Ends the hold when it answers true; `elapsed` in seconds since the hold began.
typedef bool (*SplashHoldFn)(double elapsed, void *context);
typedef void (*SplashFinishedFn)(void *context);

enum
{
    SPLASH_FILE_NAME_SIZE = 128,
    SPLASH_PHASE_IDLE = 0,
    SPLASH_PHASE_FADE_IN = 1,
    SPLASH_PHASE_HOLD = 2,
    SPLASH_PHASE_FADE_OUT = 3,
    SPLASH_PHASE_FINISHED = 4,
};

// The picture kind: file 1 is required; files 2-4, the effect texture, the text picture
// and the sound (checked only; the splash is silent) may be NULL. Text scales count only
// above 0. 1 set up; 0 refused (reported) with the splash left as it was.
char SplashSetup(const char *file1, const char *file2, const char *file3, const char *file4, const char *effectFile,
                 const char *textPictureFile, const char *soundFile, EngFont *font, float textScaleX,
                 float textScaleY, SplashTextFn textCallback, SplashHoldFn holdCallback,
                 SplashFinishedFn finishedCallback, void *context, char blend);
// The described-picture kind: "path/name.ttx" drawn in the picture rectangle.
bool SplashSetupPicture(const char *path, const char *name, const char *soundFile, EngFont *font, float textScaleX,
                        float textScaleY, SplashTextFn textCallback, SplashHoldFn holdCallback,
                        SplashFinishedFn finishedCallback);
char SplashStart();
// One frame; true while a splash is on (also in the frame in which it stops).
char SplashTick();
// clearMode 1 clears the screen first, 2 screen and depth; true while a splash is on.
bool SplashRender(int clearMode);
void SplashStop();
char SplashIsOn();
void SplashSetFullyShown();
// The picture's place in the 640x480 design space; `keepAspect` corrects its height for
// wide screens.
void SplashSetPictureRect(float x, float y, float w, float h, char keepAspect);
bool SplashCreateGraphics();
void SplashReleaseGraphics();
void SplashLayout();
// The current phase and fade (0 black, 1 fully shown), for the tests.
int SplashGetPhase();
float SplashGetFade();
// Everything back to the start state (not set up, nothing loaded).
void SplashShutdown();

// The sparkle effect.
bool SplashEffectsSetupParameters(int budget, float scale, EngTexture *texture, _EngParticleSystemParms *parms);
char SplashEffectsCreate(char initialBurst, char allowRecreation, _EngParticleSystemParms *parms,
                         EngParticles *system);
char SplashEffectsRecreate(_EngParticleSystemParms *parms, EngParticles *system);
void SplashEffectsTick(_EngParticleSystemParms *parms, EngParticles *system);
void SplashEffectsRender(EngParticles *system, char setMatrix, char prepare2D, char useGivenPosition, char useScale,
                         const _Vector3d *position);
