// Tracker modules for the data generator: one in-memory song (instruments with their
// samples, patterns, order list, speed and tempo) and encoders for the two file formats
// the game plays, FastTracker 2 (.xm) and Scream Tracker 3 (.s3m).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Notes count semitones from C-0: 48 is middle C (C-4, about 261.6 Hz).
const int kNoteNone = -1;
const int kNoteOff = 200; // key off (XM) / note cut (S3M)

struct DgModCell
{
    int note = kNoteNone;
    int instrument = 0; // 1-based, 0 = none
    int volume = -1;    // 0-64, -1 = none
};

struct DgModInstrument
{
    std::string name;
    std::vector<int16_t> sample;
    // Playback rate (Hz) at which the sample sounds at its written pitch on middle C.
    double rateAtMiddleC = 44100.0;
    int loopStart = -1; // sample index of a forward loop, -1 = no loop
    int loopLength = 0;
    int volume = 64;
    int panning = 128;
    // Volume envelope (XM only): (tick, level 0-64) points, a sustain point index or -1,
    // and the fade-out speed after a key off.
    std::vector<std::pair<int, int>> envelope;
    int envelopeSustain = -1;
    int fadeout = 0;
    // Automatic vibrato (XM only): depth 0-15, rate 0-63, sweep in ticks.
    int vibratoDepth = 0, vibratoRate = 0, vibratoSweep = 0;
};

struct DgModule
{
    std::string name;
    int channels = 8;
    int rows = 64;   // rows in every pattern
    int speed = 6;   // ticks per row
    int tempo = 125; // beats per minute
    int restart = 0; // order the song goes back to at its end
    int globalVolume = 64;
    std::vector<DgModInstrument> instruments;
    std::vector<std::vector<DgModCell>> patterns; // rows x channels, row by row
    std::vector<int> orders;
};

// Appends an empty pattern and returns its number.
int ModuleAddPattern(DgModule &song);
DgModCell &ModuleCell(DgModule &song, int pattern, int row, int channel);

std::vector<uint8_t> XmEncode(const DgModule &song);
std::vector<uint8_t> S3mEncode(const DgModule &song);
