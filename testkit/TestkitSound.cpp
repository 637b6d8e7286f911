#include "TestkitSound.h"

#include <cmath>

namespace testkit
{

static void PutU16(std::string &bytes, uint16_t value)
{
    bytes += (char)(value & 0xff);
    bytes += (char)(value >> 8);
}

static void PutU32(std::string &bytes, uint32_t value)
{
    PutU16(bytes, (uint16_t)(value & 0xffff));
    PutU16(bytes, (uint16_t)(value >> 16));
}

std::string WaveFile(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits, const std::string &data)
{
    uint16_t blockAlign = (uint16_t)(channels * bits / 8);
    std::string bytes = "RIFF";
    PutU32(bytes, (uint32_t)(4 + 8 + 16 + 8 + data.size() + (data.size() & 1)));
    bytes += "WAVEfmt ";
    PutU32(bytes, 16);
    PutU16(bytes, formatTag);
    PutU16(bytes, channels);
    PutU32(bytes, rate);
    PutU32(bytes, rate * blockAlign);
    PutU16(bytes, blockAlign);
    PutU16(bytes, bits);
    bytes += "data";
    PutU32(bytes, (uint32_t)data.size());
    bytes += data;
    if (data.size() & 1)
        bytes += '\0';
    return bytes;
}

std::string SinePcm(uint16_t bits, uint16_t channels, uint32_t rate, double hertz, double amplitude, uint32_t frames)
{
    std::string bytes;
    for (uint32_t frame = 0; frame < frames; frame++)
    {
        double value = amplitude * std::sin(2.0 * M_PI * hertz * frame / rate);
        for (uint16_t channel = 0; channel < channels; channel++)
        {
            if (bits == 8)
                bytes += (char)(uint8_t)std::lrint(128.0 + 127.0 * value);
            else
                PutU16(bytes, (uint16_t)(int16_t)std::lrint(32767.0 * value));
        }
    }
    return bytes;
}

static const int MODULE_SAMPLE_BYTES = 32;

std::string TrackerModule(const std::vector<int> &notePeriods)
{
    auto putBigU16 = [](std::string &bytes, int value) {
        bytes += (char)((value >> 8) & 0xff);
        bytes += (char)(value & 0xff);
    };
    std::string bytes = "test module";
    bytes.resize(20, '\0');
    // Sample 1: a looped one-period sine; samples 2-31 empty.
    std::string header = "sine";
    header.resize(22, '\0');
    bytes += header;
    putBigU16(bytes, MODULE_SAMPLE_BYTES / 2); // length in words
    bytes += (char)0;                          // finetune
    bytes += (char)64;                         // volume
    putBigU16(bytes, 0);                       // loop start, words
    putBigU16(bytes, MODULE_SAMPLE_BYTES / 2); // loop length, words
    bytes += std::string(30 * 30, '\0');
    bytes += (char)notePeriods.size(); // song length in orders
    bytes += (char)127;
    for (int order = 0; order < 128; order++)
        bytes += (char)(order < (int)notePeriods.size() ? order : 0);
    bytes += "M.K.";
    for (int period : notePeriods)
        for (int row = 0; row < 64; row++)
            for (int channel = 0; channel < 4; channel++)
            {
                uint8_t cell[4] = {0, 0, 0, 0};
                if (row < 8 && channel == 0)
                {
                    // Sample 1, the period, no effect.
                    cell[0] = (uint8_t)((period >> 8) & 0x0f);
                    cell[1] = (uint8_t)(period & 0xff);
                    cell[2] = 0x10;
                }
                if (row == 7 && channel == 1)
                    cell[2] = 0x0d; // pattern break to row 0 of the next order
                bytes.append((const char *)cell, 4);
            }
    for (int i = 0; i < MODULE_SAMPLE_BYTES; i++)
        bytes += (char)(int8_t)std::lrint(100.0 * std::sin(2.0 * M_PI * i / MODULE_SAMPLE_BYTES));
    return bytes;
}

double TrackerModuleHertz(int notePeriod)
{
    // The PAL Amiga's sample clock over the period, through a sample of one sine period.
    return 7093789.2 / (2.0 * notePeriod) / MODULE_SAMPLE_BYTES;
}

std::vector<double> Channel(const std::vector<int16_t> &samples, int channels, int channel)
{
    std::vector<double> signal;
    for (size_t i = (size_t)channel; i < samples.size(); i += (size_t)channels)
        signal.push_back(samples[i] / 32768.0);
    return signal;
}

std::vector<double> Slice(const std::vector<double> &signal, size_t from, size_t count)
{
    if (from >= signal.size())
        return {};
    size_t end = std::min(signal.size(), from + count);
    return std::vector<double>(signal.begin() + (long)from, signal.begin() + (long)end);
}

double Rms(const std::vector<double> &signal)
{
    if (signal.empty())
        return 0.0;
    double sum = 0.0;
    for (double value : signal)
        sum += value * value;
    return std::sqrt(sum / (double)signal.size());
}

double Peak(const std::vector<double> &signal)
{
    double peak = 0.0;
    for (double value : signal)
        peak = std::max(peak, std::fabs(value));
    return peak;
}

double Period(const std::vector<double> &signal)
{
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (size_t i = 1; i < signal.size(); i++)
    {
        if (signal[i - 1] < 0.0 && signal[i] >= 0.0)
        {
            // The crossing between the two samples, interpolated.
            double at = (double)(i - 1) + signal[i - 1] / (signal[i - 1] - signal[i]);
            if (first < 0.0)
                first = at;
            last = at;
            crossings++;
        }
    }
    return crossings < 2 ? 0.0 : (last - first) / (crossings - 1);
}

double MaxStep(const std::vector<double> &signal)
{
    double step = 0.0;
    for (size_t i = 1; i < signal.size(); i++)
        step = std::max(step, std::fabs(signal[i] - signal[i - 1]));
    return step;
}

double SineDistortion(const std::vector<double> &signal, double period)
{
    // Least squares over sin, cos and a constant (the three are nearly orthogonal over whole
    // periods, so projecting is enough).
    double sinSum = 0, cosSum = 0, sinSq = 0, cosSq = 0, mean = 0;
    for (size_t i = 0; i < signal.size(); i++)
        mean += signal[i];
    mean /= (double)std::max<size_t>(1, signal.size());
    for (size_t i = 0; i < signal.size(); i++)
    {
        double angle = 2.0 * M_PI * (double)i / period;
        sinSum += (signal[i] - mean) * std::sin(angle);
        cosSum += (signal[i] - mean) * std::cos(angle);
        sinSq += std::sin(angle) * std::sin(angle);
        cosSq += std::cos(angle) * std::cos(angle);
    }
    double a = sinSum / sinSq, b = cosSum / cosSq;
    double amplitude = std::sqrt(a * a + b * b);
    if (amplitude <= 0.0)
        return 1.0;
    double residual = 0;
    for (size_t i = 0; i < signal.size(); i++)
    {
        double angle = 2.0 * M_PI * (double)i / period;
        double error = signal[i] - mean - a * std::sin(angle) - b * std::cos(angle);
        residual += error * error;
    }
    return std::sqrt(residual / (double)signal.size()) / amplitude;
}

} // namespace testkit
