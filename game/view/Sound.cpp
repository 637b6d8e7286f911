// The game's sound bank and music over EngSound and the music back end. Reads the start-up
// record's sound and music flags, the player's volumes and remembered music position (the
// working copy of the options in GameState) and the level state.
//
// Sections: state, conditions, bank life cycle, slots, special loops, instances, volumes,
// music, state queries.
#include "Sound.h"

#include "EngDebug.h"
#include "EngMath.h"
#include "EngMemory.h"
#include "EngSound.h"
#include "GameState.h"
#include "Platform.h"

// ---- State -------------------------------------------------------------------------------------

static const char kReferenceFile[] = "Data/GridLand.wav";
static const char kGameMusicFile[] = "Data/GameMusic.xm";
static const char kGameOverMusicFile[] = "Data/GameOver.s3m";
static const float kProgressToneShare = 0.4f; // progress tones sound at 0.4 of the level

// The fixed files in load order (the progress tones follow, row by row).
static const struct
{
    int slot;
    const char *file;
} kBankFiles[] = {
    {SOUND_SLOT_GUI_CLICK, "Data/Click_.wav"},
    {SOUND_SLOT_GUI_ON, "Data/On_.wav"},
    {SOUND_SLOT_GUI_PRESS, "Data/Press_.wav"},
    {SOUND_SLOT_GUI_SHORT, "Data/Short_.wav"},
    {0, "Data/GridLand.wav"},
    {1, "Data/GridAlign.wav"},
    {2, "Data/BallRolling.wav"},
    {3, "Data/ArcadeRoll.wav"},
    {4, "Data/StrategicRoll.wav"},
    {5, "Data/LevelStart.wav"},
    {6, "Data/Bounce.wav"},
    {BALL_WILDCARD, "Data/WildCard.wav"},
    {BALL_EXPLODING, "Data/ExplodingBall.wav"},
    {13, "Data/BallLaunch.wav"},
    {14, "Data/Explosion.wav"},
    {15, "Data/LifeOver.wav"},
    {SOUND_SLOT_REMOVE_FIRST + 0, "Data/BallRemove.wav"},
    {SOUND_SLOT_REMOVE_FIRST + 1, "Data/BallRemove.wav"},
    {SOUND_SLOT_REMOVE_FIRST + 2, "Data/BallRemove.wav"},
    {SOUND_SLOT_REMOVE_FIRST + 3, "Data/BallRemove.wav"},
    {SOUND_SLOT_REMOVE_FIRST + 4, "Data/BallRemove.wav"},
    {SOUND_SLOT_FALLING_FIRST + 0, "Data/BallFalling.wav"},
    {SOUND_SLOT_FALLING_FIRST + 1, "Data/BallFalling.wav"},
    {SOUND_SLOT_FALLING_FIRST + 2, "Data/BallFalling.wav"},
    {SOUND_SLOT_FALLING_FIRST + 3, "Data/BallFalling.wav"},
    {SOUND_SLOT_FALLING_FIRST + 4, "Data/BallFalling.wav"},
};

// The slots of the game's ball loops and roll loops.
enum
{
    SLOT_BALL_ROLLING = 2,
    SLOT_ARCADE_ROLL = 3,
    SLOT_STRATEGIC_ROLL = 4,
};

// One table of instances: the slot each instance plays (-1 free) and its base pitch.
struct SoundInstances
{
    int32_t slot[SOUND_NUM_INSTANCES];
    float basePitch[SOUND_NUM_INSTANCES];
};

// The bank: a sound object for each loaded slot, NULL for the others.
static EngSound *s_bank[SOUND_NUM_SLOTS];

struct SoundState
{
    uint8_t loaded;                     // the bank is loaded and the sound system runs
    SoundInstances remove;              // slots 16-20
    SoundInstances falling;             // slots 21-25
    int32_t specialCount[BALL_NUM_TYPES]; // balls of each special type in play
    SoundFadeQueryFn isFading;

    uint8_t musicPlaying;               // the game tune
    uint8_t gameOverPlaying;            // the game-over tune
    uint8_t musicRamping;
    int32_t musicTarget;                // amplification 0-100
    float musicCurrent;                 // amplification 0-100 as it ramps
    int32_t musicApplied;               // amplification last sent (the library got half)
};

// The start value: every instance free, nothing loaded or playing.
static const SoundState kSoundStart = {0, {{-1, -1, -1, -1, -1}, {}}, {{-1, -1, -1, -1, -1}, {}}, {}, NULL,
                                       0, 0, 0, 0, 0.0f, 0};
static SoundState s_sound = kSoundStart;

static void ResetState()
{
    s_sound = kSoundStart;
}

// ---- Conditions --------------------------------------------------------------------------------

static bool SoundFlagOn()
{
    return SoundGetStartupFlag(0) != 0;
}

static bool MusicFlagOn()
{
    return SoundGetStartupFlag(1) != 0;
}

static int ClampVolume(int volume)
{
    return volume < 0 ? 0 : volume > 10 ? 10 : volume;
}

static int GameSoundsVolume()
{
    return ClampVolume(GameState.userOptions.gameSoundsVolume);
}

// Sound is on for the game's own sounds: the flag, a volume of at least 1, and the bank.
static bool GameSoundsOn()
{
    return SoundFlagOn() && GameSoundsVolume() >= 1 && s_sound.loaded;
}

// The slot's sound when it can play; NULL for a slot out of range or not loaded.
static EngSound *LoadedSlot(int slot)
{
    if (slot < 0 || slot >= SOUND_NUM_SLOTS || !s_sound.loaded)
        return NULL;
    return s_bank[slot];
}

static float Clamp01(float value)
{
    // NaN counts as 0.
    return !(value > 0.0f) ? 0.0f : value > 1.0f ? 1.0f : value;
}

// ---- Bank life cycle ---------------------------------------------------------------------------

// Every sound's buffers destroyed, the sound system ended, the tables cleared.
static void ReleaseSounds()
{
    for (int slot = 0; slot < SOUND_NUM_SLOTS; slot++)
    {
        delete s_bank[slot];
        s_bank[slot] = NULL;
    }
    EngSoundDestroy();
    s_sound.loaded = 0;
    for (int i = 0; i < SOUND_NUM_INSTANCES; i++)
    {
        s_sound.remove.slot[i] = -1;
        s_sound.falling.slot[i] = -1;
    }
}

// A slot's sound object with `file` loaded; none when it does not load.
static bool LoadSlot(int slot, const char *file)
{
    delete s_bank[slot];
    s_bank[slot] = new EngSound(file, 0, NULL);
    if (s_bank[slot]->IsLoaded())
        return true;
    delete s_bank[slot];
    s_bank[slot] = NULL;
    return false;
}

// Starts the sound system and loads every slot; on failure nothing is left loaded or running.
static char LoadBank()
{
    const char *function = "SoundInit";
    if (!EngSoundInit(ENG_SOUND_SYSTEM_DX, 0, 1, 0, kReferenceFile, 50))
    {
        DebugError(function, "Could not init");
        ReleaseSounds();
        return 0;
    }
    for (const auto &entry : kBankFiles)
    {
        // EngSound says which file failed and why.
        if (!LoadSlot(entry.slot, entry.file))
        {
            ReleaseSounds();
            return 0;
        }
    }
    // The tones are a nicety: one that does not load stays silent.
    for (int row = 0; row < SOUND_PROGRESS_ROWS; row++)
        for (int column = 0; column < SOUND_PROGRESS_COLUMNS; column++)
        {
            char *file = ProgressSoundsGetFilename(row, column);
            if (file)
            {
                LoadSlot(SOUND_SLOT_PROGRESS_FIRST + SOUND_PROGRESS_COLUMNS * row + column, file);
                EngFree(file, true, "SoundInit");
            }
        }
    for (int i = 0; i < SOUND_NUM_INSTANCES; i++)
    {
        s_sound.remove.slot[i] = -1;
        s_sound.falling.slot[i] = -1;
        s_sound.remove.basePitch[i] = 0.0f;
        s_sound.falling.basePitch[i] = 0.0f;
    }
    s_sound.loaded = 1;
    return 1;
}

char SoundInit()
{
    if (!SoundFlagOn() || GameSoundsVolume() < 1 || s_sound.loaded)
        return 1;
    if (!LoadBank())
        return 0;
    SoundUpdateGameSoundsVolume();
    return 1;
}

void SoundReleaseAll()
{
    SoundStopLoops(1);
    if (s_sound.loaded)
        ReleaseSounds();
    SoundStopMusic();
    ResetState();
}

void SoundAfterUserCreatedOrLoaded()
{
    SoundUpdateGameSoundsVolume();
    SoundUpdateGameMusicVolume(GameState.userOptions.menuMusicVolume);
}

void SoundSetFadeQuery(SoundFadeQueryFn isFading)
{
    s_sound.isFading = isFading;
}

void SoundGuiCB(int event, int userValue)
{
    static const int kEventSlots[] = {SOUND_SLOT_GUI_PRESS, SOUND_SLOT_GUI_SHORT, SOUND_SLOT_GUI_CLICK,
                                      SOUND_SLOT_GUI_ON};
    if (event < 0 || event >= (int)(sizeof(kEventSlots) / sizeof(kEventSlots[0])))
        return;
    if (EngSound *sound = LoadedSlot(kEventSlots[event]))
        sound->Play();
}

// ---- Slots -------------------------------------------------------------------------------------

void SoundPlay(int slot)
{
    if (!GameSoundsOn())
        return;
    if (EngSound *sound = LoadedSlot(slot))
        sound->Play();
}

void SoundPlayLooped(int slot)
{
    if (!GameSoundsOn() || (s_sound.isFading && s_sound.isFading()))
        return;
    if (EngSound *sound = LoadedSlot(slot))
        sound->PlayLooped();
}

void SoundStop(int slot)
{
    if (!GameSoundsOn())
        return;
    if (EngSound *sound = LoadedSlot(slot))
        sound->Stop();
}

void SoundSetLevel(int slot, float level)
{
    if (!GameSoundsOn())
        return;
    if (EngSound *sound = LoadedSlot(slot))
        sound->SetVolume(SoundGetVolumeLevel(GameSoundsVolume()) * Clamp01(level));
}

void SoundPlayProgress(int row, int column, float pitch)
{
    if (row < 0 || row >= SOUND_PROGRESS_ROWS || column < 0 || column >= SOUND_PROGRESS_COLUMNS)
    {
        DebugError(ENG_FUNC, "Bad value [%d:%d]", row, column);
        return;
    }
    if (!GameSoundsOn())
        return;
    if (EngSound *sound = LoadedSlot(SOUND_SLOT_PROGRESS_FIRST + SOUND_PROGRESS_COLUMNS * row + column))
    {
        sound->SetPitch(pitch);
        sound->Play();
    }
}

// ---- Special-ball loops ------------------------------------------------------------------------

void SoundPlaySpecial(int ballType)
{
    if (ballType < BALL_WILDCARD || ballType > BALL_STONE)
    {
        DebugError(ENG_FUNC, "Not a special ball <%d>", ballType);
        return;
    }
    if (ballType == BALL_STONE || GameState.levelState != LEVEL_STATE_PLAY)
        return;
    if (++s_sound.specialCount[ballType] == 1)
        SoundPlayLooped(ballType);
}

void SoundStopSpecial(int ballType, char all)
{
    if (ballType < 0 || ballType >= BALL_NUM_TYPES)
    {
        DebugError(ENG_FUNC, "Not a special ball <%d>", ballType);
        return;
    }
    if (s_sound.specialCount[ballType] == 0)
        return;
    if (all)
        s_sound.specialCount[ballType] = 0;
    else
        s_sound.specialCount[ballType]--;
    if (s_sound.specialCount[ballType] == 0)
        SoundStop(ballType);
}

// ---- Removal and fall instances ----------------------------------------------------------------

// Takes the first free instance of the table, records its slot and base pitch and starts it.
static int PlayInstance(SoundInstances &table, int firstSlot, float pitchScale)
{
    if (!GameSoundsOn())
        return -1;
    for (int i = 0; i < SOUND_NUM_INSTANCES; i++)
    {
        if (table.slot[i] != -1)
            continue;
        table.slot[i] = firstSlot + i;
        table.basePitch[i] = pitchScale * (1.0f - 0.25f * (float)i);
        SoundPlayLooped(firstSlot + i);
        return i;
    }
    return -1;
}

// The instance's slot when it is in use, else -1.
static int InstanceSlot(const SoundInstances &table, int instance)
{
    if (instance < 0 || instance >= SOUND_NUM_INSTANCES)
        return -1;
    return table.slot[instance];
}

static void SetInstancePitch(const SoundInstances &table, int instance, float pitch, float pitchShare)
{
    int slot = InstanceSlot(table, instance);
    if (slot < 0 || !GameSoundsOn())
        return;
    if (EngSound *sound = LoadedSlot(slot))
        sound->SetPitch(0.25f + 1.75f * (table.basePitch[instance] + pitchShare * pitch));
}

static void StopInstance(SoundInstances &table, int instance)
{
    int slot = InstanceSlot(table, instance);
    if (slot < 0)
        return;
    SoundStop(slot);
    table.slot[instance] = -1;
}

int SoundPlayRemove(float pitch)
{
    int instance = PlayInstance(s_sound.remove, SOUND_SLOT_REMOVE_FIRST, 0.3f);
    if (instance >= 0 && pitch > 0.0f)
        SoundSetRemovePitch(instance, pitch);
    return instance;
}

int SoundPlayFalling(float pitch)
{
    int instance = PlayInstance(s_sound.falling, SOUND_SLOT_FALLING_FIRST, 0.2f);
    if (instance >= 0 && pitch > 0.0f)
        SoundSetFallingPitch(instance, pitch);
    return instance;
}

void SoundSetRemovePitch(int instance, float pitch)
{
    SetInstancePitch(s_sound.remove, instance, pitch, 0.7f);
}

void SoundSetFallingPitch(int instance, float pitch)
{
    SetInstancePitch(s_sound.falling, instance, pitch, 0.8f);
}

void SoundStopRemove(int instance)
{
    StopInstance(s_sound.remove, instance);
}

void SoundStopFalling(int instance)
{
    StopInstance(s_sound.falling, instance);
}

void SoundStopLoops(char instancesToo)
{
    // The roll flags are the rules' record of which loop runs; the rules may clear them before
    // calling, so both loops stop whatever the flags say (stopping a silent loop is harmless).
    SoundStop(SLOT_ARCADE_ROLL);
    SoundStop(SLOT_STRATEGIC_ROLL);
    GameState.arcadeRollOn = 0;
    GameState.strategicRollOn = 0;
    SoundStopSpecial(BALL_WILDCARD, 1);
    SoundStopSpecial(BALL_EXPLODING, 1);
    SoundStopSpecial(BALL_STONE, 1);
    if (instancesToo)
        for (int i = 0; i < SOUND_NUM_INSTANCES; i++)
        {
            StopInstance(s_sound.remove, i);
            StopInstance(s_sound.falling, i);
        }
    SoundStop(SLOT_BALL_ROLLING);
}

void SoundStopAll()
{
    SoundStopLoops(1);
    SoundStopGameOverMusic();
}

// ---- Volumes -----------------------------------------------------------------------------------

float SoundGetVolumeLevel(int volume)
{
    return EngMathGetLogarithmicValueRangeZeroToOneTwice((float)ClampVolume(volume) / 10.0f);
}

void SoundUpdateGameSoundsVolume()
{
    if (!SoundFlagOn())
        return;
    int volume = GameSoundsVolume();
    if (volume < 1)
    {
        if (s_sound.loaded)
        {
            SoundStopLoops(1);
            ReleaseSounds();
        }
        return;
    }
    if (!s_sound.loaded && !LoadBank())
        return;
    float level = SoundGetVolumeLevel(volume);
    for (int slot = 0; slot < SOUND_NUM_SLOTS; slot++)
    {
        if (!s_bank[slot])
            continue;
        bool tone = slot >= SOUND_SLOT_PROGRESS_FIRST &&
                    slot < SOUND_SLOT_PROGRESS_FIRST + SOUND_PROGRESS_ROWS * SOUND_PROGRESS_COLUMNS;
        s_bank[slot]->SetVolume(tone ? kProgressToneShare * level : level);
    }
}

// ---- Music -------------------------------------------------------------------------------------

// The game tune's position, kept in the player's options so that it survives in the player file.
static void RememberMusicPosition()
{
    GameState.userOptions.musicPosition = SoundMusicGetPosition();
}

// Frees the game tune (its position remembered) and ends its ramp.
static void StopGameMusic()
{
    if (!s_sound.musicPlaying)
        return;
    RememberMusicPosition();
    SoundMusicFree();
    s_sound.musicPlaying = 0;
    s_sound.musicRamping = 0;
}

void SoundUpdateGameMusicVolume(int volume)
{
    if (!MusicFlagOn())
        return;
    volume = ClampVolume(volume);
    if (volume == 0)
    {
        if (!s_sound.musicPlaying)
            return;
        RememberMusicPosition();
    }
    else if (!s_sound.musicPlaying)
    {
        // The library plays one tune at a time: the game-over tune makes way.
        SoundStopGameOverMusic();
        if (!SoundPlayMusicFile(0, kGameMusicFile, GameState.userOptions.musicPosition))
        {
            DebugError(ENG_FUNC, "Could not start music");
            return;
        }
        s_sound.musicPlaying = 1;
        s_sound.musicCurrent = 0.0f;
        s_sound.musicApplied = 0;
    }
    s_sound.musicTarget = (int32_t)(SoundGetVolumeLevel(volume) * 100.0f);
    if (!s_sound.musicRamping && (float)s_sound.musicTarget != s_sound.musicCurrent)
        s_sound.musicRamping = 1;
}

void SoundTickMusic(float frameSeconds)
{
    if (!s_sound.musicPlaying || !s_sound.musicRamping)
        return;
    if (!(frameSeconds > 0.0f))
        frameSeconds = 0.0f;
    float target = (float)s_sound.musicTarget;
    if (s_sound.musicCurrent < target)
    {
        s_sound.musicCurrent += (float)SOUND_MUSIC_RAMP_UP_PER_SECOND * frameSeconds;
        if (s_sound.musicCurrent > target)
            s_sound.musicCurrent = target;
    }
    else if (s_sound.musicCurrent > target)
    {
        s_sound.musicCurrent -= (float)SOUND_MUSIC_RAMP_DOWN_PER_SECOND * frameSeconds;
        if (s_sound.musicCurrent < target)
            s_sound.musicCurrent = target;
    }
    int32_t amplification = EngMathRoundFloatToInt(s_sound.musicCurrent);
    if (amplification != s_sound.musicApplied)
    {
        s_sound.musicApplied = amplification;
        SoundMusicSetAmplify(amplification);
    }
    if (s_sound.musicCurrent == target)
    {
        if (s_sound.musicTarget == 0)
        {
            SoundMusicFree();
            s_sound.musicPlaying = 0;
        }
        s_sound.musicRamping = 0;
    }
}

void SoundStartGameOverMusic()
{
    if (!MusicFlagOn())
        return;
    int volume = ClampVolume(GameState.userOptions.gameOverMusicVolume);
    if (volume < 1 || s_sound.gameOverPlaying)
        return;
    StopGameMusic();
    if (SoundPlayMusicFile((int32_t)(SoundGetVolumeLevel(volume) * 100.0f), kGameOverMusicFile, 0))
        s_sound.gameOverPlaying = 1;
}

void SoundStopGameOverMusic()
{
    if (!s_sound.gameOverPlaying)
        return;
    SoundMusicFree();
    s_sound.gameOverPlaying = 0;
}

void SoundStopMusic()
{
    if (s_sound.musicPlaying)
        StopGameMusic();
    else if (s_sound.gameOverPlaying)
        SoundMusicFree();
    s_sound.musicPlaying = 0;
    s_sound.gameOverPlaying = 0;
    s_sound.musicRamping = 0;
}

// ---- State queries -----------------------------------------------------------------------------

char SoundIsLoaded()
{
    return s_sound.loaded;
}

EngSound *SoundGetSlot(int slot)
{
    return slot >= 0 && slot < SOUND_NUM_SLOTS ? s_bank[slot] : NULL;
}

char SoundIsMusicPlaying()
{
    return s_sound.musicPlaying;
}

char SoundIsGameOverMusicPlaying()
{
    return s_sound.gameOverPlaying;
}

int SoundGetMusicTarget()
{
    return s_sound.musicTarget;
}

int SoundGetMusicAppliedAmplification()
{
    return s_sound.musicApplied;
}
