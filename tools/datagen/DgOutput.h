// Writes the generated files under the output folder (pictures as PNG, JPG, BMP or TGA,
// sounds as 16-bit PCM WAV, raw bytes) and keeps a small copy of every picture for the
// contact sheet.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "DgImage.h"

// Sets the output folder (created when missing); false when it cannot be made.
bool OutSetup(const std::string &folder);
// True when any write failed so far (each failure is also printed on stderr).
bool OutFailed();
// Marks the pictures written by this thread from now on as part `group`; the contact
// sheet shows them by group, then in the order each group wrote them (generators may run
// on several threads at once).
void OutBeginGroup(int group);

// Writes a picture; the format follows the extension ("png", "jpg", "bmp" or "tga").
// JPG and BMP files are opaque: the picture is laid over black first.
void OutPicture(const std::string &name, const DgImage &img, int jpgQuality = 92);
// Writes a 32-bit TGA from straight RGBA bytes exactly as given (rows from the top).
void OutTgaBytes(const std::string &name, int width, int height, const std::vector<uint8_t> &rgba,
                 const DgImage *preview = nullptr);
// Writes mono 16-bit PCM at `rate` Hz; samples are clamped to [-1, 1].
void OutSound(const std::string &name, const std::vector<float> &samples, int rate);
void OutBytes(const std::string &name, const std::vector<uint8_t> &bytes);

// The 32-bit TGA file bytes for straight RGBA pixels (rows from the top).
std::vector<uint8_t> TgaEncode(int width, int height, const std::vector<uint8_t> &rgba);
// The PNG file bytes (8-bit RGBA) for straight RGBA pixels, zlib level 0-9.
std::vector<uint8_t> PngEncode(int width, int height, const std::vector<uint8_t> &rgba, int level = 6);
// Appends little-endian 16- and 32-bit values.
void BytesPutU16(std::vector<uint8_t> &out, uint32_t v);
void BytesPutU32(std::vector<uint8_t> &out, uint32_t v);
// The WAV file bytes for mono 16-bit PCM.
std::vector<uint8_t> WavEncode(const std::vector<float> &samples, int rate);

// Writes one PNG showing every picture written so far, each with its name.
bool OutWriteContactSheet(const std::string &path);
