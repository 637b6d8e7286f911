// The music: "GameMusic.xm", an 84-second tune in C (intro, then A, B and a bridge; the
// song returns to its first A section, so it loops without a break and plays over a
// minute before repeating) with lead, arpeggio, bass, pad chords and drums, all from
// instruments synthesised here; and "GameOver.s3m", a short falling phrase that ends on
// a warm major chord.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "Datagen.h"
#include "DgModule.h"
#include "DgOutput.h"
#include "DgSynth.h"

namespace
{
const double kMiddleC = 261.6255653;
const int kCycle = 128; // samples per cycle of the looped single-cycle waves

// ---- Instruments ------------------------------------------------------------------

std::vector<int16_t> ToPcm(const DgSound &s)
{
    std::vector<int16_t> pcm(s.size());
    for (size_t i = 0; i < s.size(); i++)
        pcm[i] = (int16_t)std::lround(std::clamp(s[i], -1.0f, 1.0f) * 32767.0f);
    return pcm;
}

// A looped wave of `cycles` periods of middle C, made of harmonics (amplitude per
// harmonic number); every harmonic repeats whole times in the loop.
DgModInstrument LoopedWave(const char *name, int cycles, const std::vector<std::pair<int, float>> &detunedVoices,
                           const std::function<float(int)> &harmonic, int harmonics)
{
    DgModInstrument ins;
    ins.name = name;
    int length = kCycle * cycles;
    DgSound s((size_t)length, 0.0f);
    for (const auto &voice : detunedVoices)
    {
        int voiceCycles = voice.first;
        for (int h = 1; h <= harmonics; h++)
        {
            float a = harmonic(h) * voice.second;
            if (a == 0.0f)
                continue;
            // A fixed phase per harmonic and voice keeps the wave from peaking.
            float phase = (float)((h * 7 + voiceCycles * 3) % 13) / 13.0f;
            for (int i = 0; i < length; i++)
                s[i] += a * OscSine((float)h * voiceCycles * i / length + phase);
        }
    }
    SoundNormalise(s, 0.9f);
    ins.sample = ToPcm(s);
    ins.rateAtMiddleC = kMiddleC * kCycle;
    ins.loopStart = 0;
    ins.loopLength = length;
    return ins;
}

DgModInstrument OneShot(const char *name, const DgSound &s, double rateAtMiddleC = kSoundRate)
{
    DgModInstrument ins;
    ins.name = name;
    DgSound copy = s;
    SoundFadeEdges(copy, 0.0005f, 0.01f);
    SoundNormalise(copy, 0.9f);
    ins.sample = ToPcm(copy);
    ins.rateAtMiddleC = rateAtMiddleC;
    return ins;
}

DgSound PianoNote(float seconds, float brightness)
{
    // An electric-piano-like tone at middle C: partials fading faster the higher they are.
    DgSound s = SoundCreate(seconds);
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate, v = 0.0f;
        for (int k = 1; k <= 8; k++)
        {
            float amp = std::pow((float)k, -1.4f) * (k == 1 ? 1.0f : brightness);
            v += OscSine((float)kMiddleC * k * t * (1.0f + 0.0004f * k * k)) * amp * EnvAttackDecay(t, 0.002f, 0.9f / std::pow((float)k, 0.8f));
        }
        s[i] = v;
    }
    return s;
}

DgSound Kick()
{
    DgSound s = SoundCreate(0.42f);
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        phase += (48.0f + 110.0f * std::exp(-t * 30.0f)) / kSoundRate;
        s[i] = OscSine(phase) * EnvAttackDecay(t, 0.001f, 0.14f) + OscSine(1800.0f * t) * EnvAttackDecay(t, 0.0003f, 0.002f) * 0.3f;
    }
    return s;
}

DgSound Snare()
{
    DgSound s = SoundCreate(0.3f);
    DgNoise n(41);
    DgBiquad bp, hp;
    bp.SetBandPass(3200.0f, 0.8f);
    hp.SetHighPass(1200.0f);
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float body = (OscSine(185.0f * t) + 0.5f * OscSine(330.0f * t)) * EnvAttackDecay(t, 0.001f, 0.05f);
        float rattle = hp.Process(bp.Process(n.White())) * EnvAttackDecay(t, 0.001f, 0.09f) * 1.6f;
        s[i] = body * 0.8f + rattle;
    }
    return s;
}

DgSound Hat(float decay, uint64_t seed)
{
    DgSound s = SoundCreate(decay * 5.0f + 0.02f);
    DgNoise n(seed);
    DgBiquad hp, hp2;
    hp.SetHighPass(7000.0f);
    hp2.SetHighPass(5000.0f);
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        float metal = OscSquare(3120.0f * t, 3120.0f / kSoundRate) * 0.2f + OscSquare(4570.0f * t, 4570.0f / kSoundRate) * 0.2f;
        s[i] = hp2.Process(hp.Process(n.White() + metal)) * EnvAttackDecay(t, 0.0005f, decay);
    }
    return s;
}

DgSound Crash()
{
    DgSound s = SoundCreate(1.8f);
    DgNoise n(43);
    DgBiquad hp, bp;
    hp.SetHighPass(3000.0f);
    bp.SetBandPass(6500.0f, 0.6f);
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        s[i] = bp.Process(hp.Process(n.White())) * EnvAttackDecay(t, 0.002f, 0.45f);
    }
    return s;
}

// ---- Writing notes ----------------------------------------------------------------

int ParseNote(const std::string &token)
{
    static const char *names = "C D EF G A B";
    if (token.empty())
        return kNoteNone;
    const char *at = std::strchr(names, token[0]);
    if (!at || token[0] == ' ')
        return kNoteNone;
    int semitone = (int)(at - names);
    size_t i = 1;
    if (i < token.size() && token[i] == '#')
        semitone++, i++;
    else if (i < token.size() && token[i] == 'b')
        semitone--, i++;
    int octave = i < token.size() ? token[i] - '0' : 4;
    return octave * 12 + semitone;
}

// Writes one line of tokens (one per row: a note such as "C5" or "F#4", "." nothing,
// "-" key off) from `row` of a pattern onward.
void PutLine(DgModule &song, int pattern, int channel, int row, const std::string &line, int instrument, int volume)
{
    std::istringstream in(line);
    std::string token;
    while (in >> token && row < song.rows)
    {
        DgModCell &cell = ModuleCell(song, pattern, row, channel);
        if (token == "-")
            cell.note = kNoteOff;
        else if (token != "." && token != "|")
        {
            cell.note = ParseNote(token);
            cell.instrument = instrument;
            cell.volume = volume;
        }
        if (token != "|")
            row++;
    }
}

void PutNote(DgModule &song, int pattern, int row, int channel, int note, int instrument, int volume)
{
    DgModCell &cell = ModuleCell(song, pattern, row, channel);
    cell.note = note;
    cell.instrument = instrument;
    cell.volume = volume;
}

// ---- The game music ---------------------------------------------------------------

enum
{
    INS_LEAD = 1,
    INS_KEYS,
    INS_BASS,
    INS_PAD,
    INS_KICK,
    INS_SNARE,
    INS_HAT,
    INS_OPENHAT,
    INS_CRASH
};
enum
{
    CH_LEAD,
    CH_KEYS,
    CH_BASS,
    CH_PAD1,
    CH_PAD2,
    CH_PAD3,
    CH_KICK,
    CH_SNARE,
    CH_HAT,
    CH_CRASH,
    CH_COUNT
};

struct Chord
{
    int root;  // note of the root in octave 3
    int third; // semitones above the root
};

Chord ChordOf(const std::string &name)
{
    int root = ParseNote(name.substr(0, name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? 2 : 1) + "3");
    bool minor = name.find('m') != std::string::npos;
    return Chord{root, minor ? 3 : 4};
}

struct Section
{
    const char *chords[4];
    const char *melody[4]; // one bar of 16 tokens each, or null
    int drums;             // 0 intro, 1 verse, 2 chorus, 3 bridge
    bool arpeggio;
    bool crash;
    bool fill;
};

const Section kSections[] = {
    // Intro: chords, arpeggio and light drums.
    {{"C", "Am", "F", "G"}, {nullptr, nullptr, nullptr, nullptr}, 0, true, false, true},
    // A
    {{"C", "G", "Am", "F"},
     {"E5 . . . G5 . . . C6 . B5 . G5 . E5 .", "D5 . . . G5 . . . B5 . A5 . G5 . D5 .", "C5 . . . E5 . . . A5 . G5 . E5 . C5 .",
      "D5 . . . F5 . E5 . D5 . C5 . - . . ."},
     1, false, true, false},
    // A2
    {{"C", "G", "F", "G"},
     {"E5 . . . G5 . . . C6 . B5 . C6 . D6 .", "B5 . . . . . G5 . D5 . . . G5 . . .", "A5 . . . C6 . A5 . F5 . . . A5 . G5 .",
      "G5 . . . . . . . D5 . E5 . F5 . G5 ."},
     1, false, false, true},
    // B
    {{"Am", "F", "C", "G"},
     {"A5 . . C6 . . B5 . A5 . . E5 . . G5 .", "F5 . . A5 . . G5 . F5 . . C5 . . E5 .", "E5 . . G5 . . C6 . B5 . . G5 . . E5 .",
      "D5 . . . G5 . . . B5 . . . D6 . . ."},
     2, true, true, false},
    // B2
    {{"Am", "F", "Dm", "G"},
     {"A5 . . C6 . . B5 . A5 . . E5 . . G5 .", "F5 . . A5 . . G5 . F5 . . C5 . . D5 .", "D5 . . F5 . . A5 . D6 . . C6 . . A5 .",
      "B5 . . . . . . . G5 . . . - . . ."},
     2, true, false, true},
    // C (bridge)
    {{"F", "G", "Em", "Am"},
     {"C6 . . . . . . . A5 . . . F5 . . .", "D6 . . . . . . . B5 . . . G5 . . .", "E5 . . . G5 . . . B5 . . . E6 . . .",
      "C6 . . . . . . . . . . . - . . ."},
     3, false, true, false},
    // C2
    {{"Dm", "G", "C", "G"},
     {"F5 . . . A5 . . . D6 . . . C6 . A5 .", "B5 . . . D6 . . . G5 . . . B5 . D6 .", "E6 . . . . . . . C6 . . . G5 . E5 .",
      "D5 . . . . . . . G5 . A5 . B5 . D6 ."},
     3, true, false, true},
};

void WriteSection(DgModule &song, int pattern, const Section &sec)
{
    for (int bar = 0; bar < 4; bar++)
    {
        int base = bar * 16;
        Chord chord = ChordOf(sec.chords[bar]);
        int root = chord.root, third = root + chord.third, fifth = root + 7;
        // Pad: the chord in close position around middle C.
        int padVolume = sec.drums == 3 ? 34 : 26;
        int padNotes[3] = {root + 12 > 55 ? root : root + 12, third + 12 > 60 ? third : third + 12, fifth + 12 > 64 ? fifth : fifth + 12};
        for (int v = 0; v < 3; v++)
            PutNote(song, pattern, base, CH_PAD1 + v, padNotes[v], INS_PAD, padVolume);
        // Bass.
        int b = root - 12;
        const char *bassRhythm = sec.drums == 2 ? "R . R . R . R . R . R . 5 . 8 ." : (sec.drums == 3 ? "R . . . . . . . 5 . . . R . . ." : "R . . . . . R . R . . . 5 . R .");
        std::istringstream in(bassRhythm);
        std::string t;
        for (int row = 0; in >> t; row++)
        {
            if (t == ".")
                continue;
            int note = t == "R" ? b : (t == "5" ? b + 7 : b + 12);
            PutNote(song, pattern, base + row, CH_BASS, note, INS_BASS, row % 4 == 0 ? 54 : 44);
        }
        // Arpeggio up and down the chord.
        if (sec.arpeggio)
        {
            const int steps[8] = {0, 1, 2, 3, 2, 1, 2, 3};
            int tones[4] = {root + 12, third + 12, fifth + 12, root + 24};
            for (int row = 0; row < 16; row++)
                PutNote(song, pattern, base + row, CH_KEYS, tones[steps[row % 8]], INS_KEYS, row % 4 == 0 ? 30 : 22);
        }
        if (sec.melody[bar])
            PutLine(song, pattern, CH_LEAD, base, sec.melody[bar], INS_LEAD, 46);
        // Drums.
        bool lastBar = bar == 3;
        for (int row = 0; row < 16; row++)
        {
            int r = base + row;
            bool fillNow = sec.fill && lastBar && row >= 8;
            switch (sec.drums)
            {
            case 0: // intro: kick on the beat, hats, a snare fill at the end
                if (row % 4 == 0 && !fillNow)
                    PutNote(song, pattern, r, CH_KICK, 48, INS_KICK, 52);
                if (row % 2 == 0)
                    PutNote(song, pattern, r, CH_HAT, 48, INS_HAT, row % 4 == 2 ? 30 : 20);
                break;
            case 1: // verse
                if (row == 0 || row == 8 || row == 10)
                    PutNote(song, pattern, r, CH_KICK, 48, INS_KICK, 60);
                if ((row == 4 || row == 12) && !fillNow)
                    PutNote(song, pattern, r, CH_SNARE, 48, INS_SNARE, 50);
                if (row % 2 == 0)
                    PutNote(song, pattern, r, CH_HAT, 48, row == 14 ? INS_OPENHAT : INS_HAT, row % 4 == 2 ? 32 : 22);
                break;
            case 2: // chorus: busier
                if (row == 0 || row == 6 || row == 8 || row == 11)
                    PutNote(song, pattern, r, CH_KICK, 48, INS_KICK, 62);
                if ((row == 4 || row == 12) && !fillNow)
                    PutNote(song, pattern, r, CH_SNARE, 48, INS_SNARE, 54);
                if (row == 15 && !fillNow)
                    PutNote(song, pattern, r, CH_SNARE, 48, INS_SNARE, 20);
                PutNote(song, pattern, r, CH_HAT, 48, INS_HAT, row % 2 == 0 ? 30 : 16);
                break;
            default: // bridge: light
                if (row == 0 || (row == 8 && bar % 2 == 1))
                    PutNote(song, pattern, r, CH_KICK, 48, INS_KICK, 48);
                if (row % 4 == 2)
                    PutNote(song, pattern, r, CH_HAT, 48, INS_HAT, 18);
                break;
            }
            if (fillNow)
                PutNote(song, pattern, r, CH_SNARE, 48, INS_SNARE, 24 + (row - 8) * 4);
        }
    }
    if (sec.crash)
        PutNote(song, pattern, 0, CH_CRASH, 48, INS_CRASH, 40);
}

DgModule GameMusic()
{
    DgModule song;
    song.name = "Plinx";
    song.channels = CH_COUNT;
    song.rows = 64;
    song.speed = 6;
    song.tempo = 125;

    DgModInstrument lead = LoopedWave("Lead", 1, {{1, 1.0f}}, [](int h) {
        // A pulse wave of 30 % width, softened toward the top.
        return std::sin(3.14159265f * h * 0.3f) / h * (1.0f / (1.0f + (h / 10.0f) * (h / 10.0f)));
    }, 16);
    lead.envelope = {{0, 0}, {2, 64}, {10, 50}, {40, 40}, {80, 34}};
    lead.envelopeSustain = 4;
    lead.fadeout = 1600;
    lead.vibratoDepth = 3, lead.vibratoRate = 12, lead.vibratoSweep = 30;
    DgModInstrument keys = OneShot("Keys", PianoNote(0.9f, 0.7f));
    keys.panning = 96;
    DgModInstrument bass = LoopedWave("Bass", 1, {{1, 1.0f}}, [](int h) {
        return (h == 1 ? 1.6f : 1.0f / h) / (1.0f + (h / 6.0f) * (h / 6.0f));
    }, 24);
    bass.envelope = {{0, 0}, {1, 64}, {12, 46}, {40, 38}};
    bass.envelopeSustain = 3;
    bass.fadeout = 3000;
    DgModInstrument pad = LoopedWave("Pad", 128, {{128, 1.0f}, {129, 0.8f}, {127, 0.8f}}, [](int h) {
        return 1.0f / h / (1.0f + (h / 4.0f) * (h / 4.0f));
    }, 12);
    pad.envelope = {{0, 0}, {30, 52}, {80, 44}, {120, 40}};
    pad.envelopeSustain = 3;
    pad.fadeout = 700;
    DgModInstrument hat = OneShot("Hat", Hat(0.02f, 44));
    hat.panning = 170;
    DgModInstrument openHat = OneShot("Open hat", Hat(0.09f, 45));
    openHat.panning = 170;
    DgModInstrument crash = OneShot("Crash", Crash());
    crash.panning = 100;
    song.instruments = {lead, keys, bass, pad, OneShot("Kick", Kick()), OneShot("Snare", Snare()), hat, openHat, crash};

    for (const Section &sec : kSections)
        WriteSection(song, ModuleAddPattern(song), sec);
    // Intro, then A A2 B B2 A A2 C C2 B B2, and back to the first A.
    song.orders = {0, 1, 2, 3, 4, 1, 2, 5, 6, 3, 4};
    song.restart = 1;
    return song;
}

// ---- The game-over music ----------------------------------------------------------

DgSound DecayingWave(float seconds, float attack, float decay, const std::function<float(float)> &wave)
{
    DgSound s = SoundCreate(seconds);
    for (size_t i = 0; i < s.size(); i++)
    {
        float t = (float)i / kSoundRate;
        s[i] = wave(t) * EnvAttackDecay(t, attack, decay);
    }
    return s;
}

DgModule GameOverMusic()
{
    DgModule song;
    song.name = "Plinx - Game Over";
    song.channels = 6;
    song.rows = 64;
    song.speed = 6;
    song.tempo = 110;
    const float c = (float)kMiddleC;
    DgSound bell = PianoNote(1.6f, 1.0f);
    DgSound bass = DecayingWave(2.5f, 0.005f, 0.9f, [c](float t) {
        return OscSine(c * t) + 0.3f * OscSine(2.0f * c * t) + 0.1f * OscSine(3.0f * c * t);
    });
    DgSound pad = DecayingWave(4.0f, 0.12f, 1.6f, [c](float t) {
        float v = 0.0f;
        for (int h = 1; h <= 8; h++)
            v += (OscSine(c * h * t) + OscSine(c * h * 1.004f * t)) / (h * (1.0f + h * h / 9.0f));
        return v;
    });
    song.instruments = {OneShot("Bell", bell), OneShot("Bass", bass), OneShot("Pad", pad)};
    int p = ModuleAddPattern(song);
    // Falling phrase G F# F, landing on E over C major.
    PutLine(song, p, 0, 0, "G5 . . . . . F#5 . . . . . F5 . . . . . E5 . . . . . . . . . . . . . . . C6", 1, 52);
    PutLine(song, p, 1, 0, "C3 . . . . . . . . . . . Ab2 . . . . . C2", 2, 60);
    // Pad chords on channels 2-5: C minor, A flat, then C major.
    const struct
    {
        int row;
        const char *notes[4];
    } chords[] = {{0, {"C4", "Eb4", "G4", nullptr}}, {12, {"Ab3", "C4", "Eb4", nullptr}}, {18, {"C4", "E4", "G4", "C5"}}};
    for (const auto &chord : chords)
        for (int v = 0; v < 4 && chord.notes[v]; v++)
            PutNote(song, p, chord.row, 2 + v, ParseNote(chord.notes[v]), 3, v == 0 ? 32 : 26);
    // Let the chord ring out, then the tune ends.
    song.rows = 64;
    song.orders = {0};
    return song;
}
} // namespace

void GenMusic()
{
    OutBytes("GameMusic.xm", XmEncode(GameMusic()));
    OutBytes("GameOver.s3m", S3mEncode(GameOverMusic()));
}
