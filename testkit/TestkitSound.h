// Test helpers for sound: wave-file images written by the tests, PCM test tones, and the
// measurements the sound tests make on 16-bit output (level, period, steps).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testkit
{

// A RIFF/WAVE file image: a "fmt " chunk of 16 bytes with these fields (block align and byte
// rate derived), then a "data" chunk holding `data`.
std::string WaveFile(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits, const std::string &data);
// PCM bytes of a sine tone (same on every channel), 8-bit unsigned or 16-bit signed.
std::string SinePcm(uint16_t bits, uint16_t channels, uint32_t rate, double hertz, double amplitude,
                    uint32_t frames);
// A small 4-channel tracker module (".mod", "M.K."): one order per entry of `notePeriods`, each
// playing pattern n, whose 8 rows (a pattern break follows the 8th) each strike a looped sine
// sample on channel 0 at that Amiga period (428 is middle C, about 259 Hz with this sample).
// Default speed: a row lasts 120 ms.
std::string TrackerModule(const std::vector<int> &notePeriods);
// The tone frequency, in Hz, that a note period of TrackerModule sounds at.
double TrackerModuleHertz(int notePeriod);

// One channel of interleaved 16-bit samples, scaled to -1 .. 1.
std::vector<double> Channel(const std::vector<int16_t> &samples, int channels, int channel);
std::vector<double> Slice(const std::vector<double> &signal, size_t from, size_t count);
double Rms(const std::vector<double> &signal);
double Peak(const std::vector<double> &signal);
// Mean distance in samples between rising zero crossings; 0 with fewer than two.
double Period(const std::vector<double> &signal);
// The largest difference between neighbouring samples.
double MaxStep(const std::vector<double> &signal);
// The residual RMS after the best fit of a sine of `period` samples, relative to its amplitude:
// near 0 for a clean tone, larger when the tone is clipped or distorted.
double SineDistortion(const std::vector<double> &signal, double period);

} // namespace testkit
