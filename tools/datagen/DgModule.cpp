// XM and S3M encoders of the data generator.
#include "DgModule.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "DgOutput.h"

namespace
{
void PutU8(std::vector<uint8_t> &out, int v)
{
    out.push_back((uint8_t)(v & 255));
}

void PutText(std::vector<uint8_t> &out, const std::string &text, size_t size, char fill = 0)
{
    for (size_t i = 0; i < size; i++)
        out.push_back((uint8_t)(i < text.size() ? text[i] : fill));
}

void SetU16(std::vector<uint8_t> &out, size_t at, uint32_t v)
{
    out[at] = (uint8_t)(v & 255);
    out[at + 1] = (uint8_t)((v >> 8) & 255);
}

void PadTo16(std::vector<uint8_t> &out)
{
    while (out.size() % 16)
        out.push_back(0);
}

} // namespace

int ModuleAddPattern(DgModule &song)
{
    song.patterns.emplace_back((size_t)song.rows * song.channels);
    return (int)song.patterns.size() - 1;
}

DgModCell &ModuleCell(DgModule &song, int pattern, int row, int channel)
{
    return song.patterns[pattern][(size_t)row * song.channels + channel];
}

std::vector<uint8_t> XmEncode(const DgModule &song)
{
    std::vector<uint8_t> out;
    PutText(out, "Extended Module: ", 17);
    PutText(out, song.name, 20);
    PutU8(out, 0x1A);
    PutText(out, "Plinx datagen", 20);
    BytesPutU16(out, 0x0104);
    BytesPutU32(out, 276);
    BytesPutU16(out, (uint32_t)song.orders.size());
    BytesPutU16(out, (uint32_t)song.restart);
    BytesPutU16(out, (uint32_t)song.channels);
    BytesPutU16(out, (uint32_t)song.patterns.size());
    BytesPutU16(out, (uint32_t)song.instruments.size());
    BytesPutU16(out, 1); // linear frequency table
    BytesPutU16(out, (uint32_t)song.speed);
    BytesPutU16(out, (uint32_t)song.tempo);
    for (int i = 0; i < 256; i++)
        PutU8(out, i < (int)song.orders.size() ? song.orders[i] : 0);

    for (const std::vector<DgModCell> &pattern : song.patterns)
    {
        std::vector<uint8_t> data;
        for (const DgModCell &c : pattern)
        {
            int note = c.note == kNoteOff ? 97 : (c.note >= 0 ? std::clamp(c.note, 0, 95) + 1 : 0);
            int volume = c.volume >= 0 ? 0x10 + std::clamp(c.volume, 0, 64) : 0;
            uint8_t flags = 0x80;
            if (note)
                flags |= 1;
            if (c.instrument)
                flags |= 2;
            if (volume)
                flags |= 4;
            data.push_back(flags);
            if (note)
                data.push_back((uint8_t)note);
            if (c.instrument)
                data.push_back((uint8_t)c.instrument);
            if (volume)
                data.push_back((uint8_t)volume);
        }
        BytesPutU32(out, 9);
        PutU8(out, 0);
        BytesPutU16(out, (uint32_t)song.rows);
        BytesPutU16(out, (uint32_t)data.size());
        out.insert(out.end(), data.begin(), data.end());
    }

    for (const DgModInstrument &ins : song.instruments)
    {
        size_t start = out.size();
        BytesPutU32(out, 263);
        PutText(out, ins.name, 22);
        PutU8(out, 0);
        BytesPutU16(out, 1);
        BytesPutU32(out, 40);
        for (int i = 0; i < 96; i++)
            PutU8(out, 0);
        for (int i = 0; i < 12; i++)
        {
            bool used = i < (int)ins.envelope.size();
            BytesPutU16(out, used ? (uint32_t)ins.envelope[i].first : 0);
            BytesPutU16(out, used ? (uint32_t)std::clamp(ins.envelope[i].second, 0, 64) : 0);
        }
        for (int i = 0; i < 24; i++)
            BytesPutU16(out, 0);
        PutU8(out, (int)std::min<size_t>(12, ins.envelope.size()));
        PutU8(out, 0);
        PutU8(out, std::max(0, ins.envelopeSustain));
        PutU8(out, 0);
        PutU8(out, 0);
        PutU8(out, 0);
        PutU8(out, 0);
        PutU8(out, 0);
        int volumeType = ins.envelope.empty() ? 0 : (1 | (ins.envelopeSustain >= 0 ? 2 : 0));
        PutU8(out, volumeType);
        PutU8(out, 0);
        PutU8(out, 0); // vibrato wave: sine
        PutU8(out, ins.vibratoSweep);
        PutU8(out, ins.vibratoDepth);
        PutU8(out, ins.vibratoRate);
        BytesPutU16(out, (uint32_t)ins.fadeout);
        while (out.size() - start < 263)
            PutU8(out, 0);

        // Pitch: the rate on middle C as a whole number of semitones plus 1/128ths.
        double semitones = 12.0 * std::log2(ins.rateAtMiddleC / 8363.0);
        int relative = (int)std::floor(semitones);
        int finetune = (int)std::lround((semitones - relative) * 128.0);
        if (finetune > 127)
            finetune -= 128, relative++;
        bool loop = ins.loopStart >= 0 && ins.loopLength > 0;
        BytesPutU32(out, (uint32_t)ins.sample.size() * 2);
        BytesPutU32(out, loop ? (uint32_t)ins.loopStart * 2 : 0);
        BytesPutU32(out, loop ? (uint32_t)ins.loopLength * 2 : 0);
        PutU8(out, std::clamp(ins.volume, 0, 64));
        PutU8(out, (uint8_t)(int8_t)finetune);
        PutU8(out, (loop ? 1 : 0) | 0x10);
        PutU8(out, std::clamp(ins.panning, 0, 255));
        PutU8(out, (uint8_t)(int8_t)relative);
        PutU8(out, 0);
        PutText(out, ins.name, 22);
        int16_t previous = 0;
        for (int16_t s : ins.sample)
        {
            BytesPutU16(out, (uint16_t)(int16_t)(s - previous));
            previous = s;
        }
    }
    return out;
}

std::vector<uint8_t> S3mEncode(const DgModule &song)
{
    std::vector<uint8_t> out;
    int orderCount = (int)song.orders.size() + 1; // with the end mark
    if (orderCount % 2)
        orderCount++;
    int instrumentCount = (int)song.instruments.size();
    int patternCount = (int)song.patterns.size();
    PutText(out, song.name, 28);
    PutU8(out, 0x1A);
    PutU8(out, 16);
    BytesPutU16(out, 0);
    BytesPutU16(out, (uint32_t)orderCount);
    BytesPutU16(out, (uint32_t)instrumentCount);
    BytesPutU16(out, (uint32_t)patternCount);
    BytesPutU16(out, 0);
    BytesPutU16(out, 0x1320);
    BytesPutU16(out, 2); // unsigned samples
    PutText(out, "SCRM", 4);
    PutU8(out, song.globalVolume);
    PutU8(out, song.speed);
    PutU8(out, song.tempo);
    PutU8(out, 0x80 | 48); // stereo, mixing volume 48
    PutU8(out, 16);        // click removal channels, as Scream Tracker writes
    PutU8(out, 0);
    for (int i = 0; i < 8; i++)
        PutU8(out, 0);
    BytesPutU16(out, 0);
    for (int ch = 0; ch < 32; ch++)
        PutU8(out, ch < song.channels ? ((ch & 1) ? 8 + ch / 2 : ch / 2) : 255);
    for (int i = 0; i < orderCount; i++)
        PutU8(out, i < (int)song.orders.size() ? song.orders[i] : 255);
    size_t instrumentPointers = out.size();
    for (int i = 0; i < instrumentCount + patternCount; i++)
        BytesPutU16(out, 0);
    PadTo16(out);

    std::vector<size_t> instrumentAt;
    for (const DgModInstrument &ins : song.instruments)
    {
        PadTo16(out);
        instrumentAt.push_back(out.size());
        bool loop = ins.loopStart >= 0 && ins.loopLength > 0;
        PutU8(out, 1);
        PutText(out, ins.name.substr(0, 12), 12);
        PutU8(out, 0);
        BytesPutU16(out, 0); // sample data pointer, filled below
        BytesPutU32(out, (uint32_t)ins.sample.size());
        BytesPutU32(out, loop ? (uint32_t)ins.loopStart : 0);
        BytesPutU32(out, loop ? (uint32_t)(ins.loopStart + ins.loopLength) : 0);
        PutU8(out, std::clamp(ins.volume, 0, 64));
        PutU8(out, 0);
        PutU8(out, 0);
        PutU8(out, (loop ? 1 : 0) | 4);
        BytesPutU32(out, (uint32_t)std::lround(ins.rateAtMiddleC));
        for (int i = 0; i < 12; i++)
            PutU8(out, 0);
        PutText(out, ins.name, 28);
        PutText(out, "SCRS", 4);
    }
    for (int p = 0; p < patternCount; p++)
    {
        PadTo16(out);
        SetU16(out, instrumentPointers + (instrumentCount + p) * 2, (uint32_t)(out.size() / 16));
        std::vector<uint8_t> data;
        for (int row = 0; row < 64; row++)
        {
            for (int ch = 0; ch < song.channels && row < song.rows; ch++)
            {
                const DgModCell &c = song.patterns[p][(size_t)row * song.channels + ch];
                bool hasNote = c.note != kNoteNone || c.instrument;
                uint8_t what = (uint8_t)ch;
                if (hasNote)
                    what |= 32;
                if (c.volume >= 0)
                    what |= 64;
                if (what == ch)
                    continue;
                data.push_back(what);
                if (hasNote)
                {
                    int note = 255;
                    if (c.note == kNoteOff)
                        note = 254;
                    else if (c.note >= 0)
                        note = ((c.note / 12) << 4) | (c.note % 12);
                    data.push_back((uint8_t)note);
                    data.push_back((uint8_t)c.instrument);
                }
                if (c.volume >= 0)
                    data.push_back((uint8_t)std::clamp(c.volume, 0, 64));
            }
            data.push_back(0);
        }
        BytesPutU16(out, (uint32_t)data.size() + 2);
        out.insert(out.end(), data.begin(), data.end());
    }
    for (int i = 0; i < instrumentCount; i++)
    {
        PadTo16(out);
        size_t para = out.size() / 16;
        size_t at = instrumentAt[i];
        out[at + 13] = (uint8_t)((para >> 16) & 255);
        SetU16(out, at + 14, (uint32_t)(para & 0xFFFF));
        SetU16(out, instrumentPointers + i * 2, (uint32_t)(at / 16));
        for (int16_t s : song.instruments[i].sample)
            BytesPutU16(out, (uint16_t)(s + 32768));
    }
    return out;
}
