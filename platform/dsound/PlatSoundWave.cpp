// The checked RIFF/WAVE reader: the whole file is read into memory, then every chunk is walked
// within its bounds. Only what the mixer can play passes: PCM, 8 or 16 bits, 1 or 2 channels.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PlatSoundMixer.h"

// Larger files are not sound effects; refusing them keeps a bad size from exhausting memory.
static const long MAX_WAVE_FILE_BYTES = 64L * 1024 * 1024;

static uint32_t ReadU32(const uint8_t *bytes)
{
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16) | ((uint32_t)bytes[3] << 24);
}

static uint16_t ReadU16(const uint8_t *bytes)
{
    return (uint16_t)(bytes[0] | (bytes[1] << 8));
}

void *PlatSoundReadFile(const char *path, long maxBytes, long *size)
{
    FILE *file = fopen(path, "rb");
    if (!file)
    {
        PlatSoundSetError("Cannot open <%s>: %s", path, strerror(errno));
        return NULL;
    }
    long length = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        length = ftell(file);
    if (length < 0 || fseek(file, 0, SEEK_SET) != 0)
    {
        PlatSoundSetError("Cannot read <%s>: %s", path, strerror(errno));
        fclose(file);
        return NULL;
    }
    if (length > maxBytes)
    {
        PlatSoundSetError("<%s> is too large (%ld bytes)", path, length);
        fclose(file);
        return NULL;
    }
    void *bytes = malloc(length > 0 ? (size_t)length : 1);
    if (!bytes)
    {
        PlatSoundSetError("Out of memory reading <%s>", path);
        fclose(file);
        return NULL;
    }
    size_t got = fread(bytes, 1, (size_t)length, file);
    fclose(file);
    if (got != (size_t)length)
    {
        PlatSoundSetError("Short read of <%s>: %zu of %ld bytes", path, got, length);
        free(bytes);
        return NULL;
    }
    *size = length;
    return bytes;
}

int PlatSoundCheckFormat(const PlatSoundFormat *format, const char *source)
{
    if (format->channels == 0 || format->bitsPerSample == 0 || format->samplesPerSecond == 0)
    {
        PlatSoundSetError("%s has %u channels, %u bits, %u Hz", source, format->channels,
                          format->bitsPerSample, format->samplesPerSecond);
        return 0;
    }
    if (format->channels > 2 || (format->bitsPerSample != 8 && format->bitsPerSample != 16))
    {
        PlatSoundSetError("%s: %u channels of %u bits cannot be played", source, format->channels,
                          format->bitsPerSample);
        return 0;
    }
    if (format->samplesPerSecond < PLAT_SOUND_FREQUENCY_MIN || format->samplesPerSecond > PLAT_SOUND_FREQUENCY_MAX)
    {
        PlatSoundSetError("%s: rate %u Hz out of range", source, format->samplesPerSecond);
        return 0;
    }
    if (format->blockAlign != format->channels * format->bitsPerSample / 8)
    {
        PlatSoundSetError("%s: block align %u does not match the format", source, format->blockAlign);
        return 0;
    }
    return 1;
}

int PlatSoundReadWave(const char *path, PlatSoundFormat *format, void **data, uint32_t *dataBytes)
{
    if (data)
        *data = NULL;
    if (dataBytes)
        *dataBytes = 0;
    if (!path || !*path || !format || !data || !dataBytes)
    {
        PlatSoundSetError("Bad parameters");
        return PLAT_WAVE_CANNOT_OPEN;
    }
    memset(format, 0, sizeof(*format));
    long size = 0;
    uint8_t *bytes = (uint8_t *)PlatSoundReadFile(path, MAX_WAVE_FILE_BYTES, &size);
    if (!bytes)
        return PLAT_WAVE_CANNOT_OPEN;

    int result = PLAT_WAVE_BAD_FILE;
    const uint8_t *formatChunk = NULL;
    uint32_t formatSize = 0;
    const uint8_t *dataChunk = NULL;
    uint32_t dataSize = 0;

    if (size < 12 || memcmp(bytes, "RIFF", 4) != 0)
        PlatSoundSetError("No RIFF chunk in <%s>", path);
    else if (ReadU32(bytes + 4) > (uint64_t)size - 8)
        PlatSoundSetError("RIFF chunk of <%s> is larger than the file", path);
    else if (memcmp(bytes + 8, "WAVE", 4) != 0)
        PlatSoundSetError("<%s> is not a WAVE file", path);
    else
    {
        uint64_t end = 8 + (uint64_t)ReadU32(bytes + 4);
        uint64_t offset = 12;
        result = PLAT_WAVE_OK;
        while (offset + 8 <= end)
        {
            uint32_t chunkSize = ReadU32(bytes + offset + 4);
            if (chunkSize > end - offset - 8)
            {
                PlatSoundSetError("Chunk '%.4s' of <%s> is larger than the file", (const char *)bytes + offset, path);
                result = PLAT_WAVE_BAD_FILE;
                break;
            }
            const uint8_t *body = bytes + offset + 8;
            if (!formatChunk && memcmp(bytes + offset, "fmt ", 4) == 0)
            {
                formatChunk = body;
                formatSize = chunkSize;
            }
            else if (!dataChunk && memcmp(bytes + offset, "data", 4) == 0)
            {
                dataChunk = body;
                dataSize = chunkSize;
            }
            // Chunks are word aligned: an odd size is followed by a pad byte.
            offset += 8 + (uint64_t)chunkSize + (chunkSize & 1);
        }
        if (result == PLAT_WAVE_OK)
        {
            if (!formatChunk)
            {
                PlatSoundSetError("No \"fmt \" chunk in <%s>", path);
                result = PLAT_WAVE_BAD_FILE;
            }
            else if (formatSize < 16)
            {
                PlatSoundSetError("The \"fmt \" chunk of <%s> is too short (%u bytes)", path, formatSize);
                result = PLAT_WAVE_BAD_FILE;
            }
            else if (!dataChunk)
            {
                PlatSoundSetError("No \"data\" chunk in <%s>", path);
                result = PLAT_WAVE_BAD_FILE;
            }
        }
    }

    if (result == PLAT_WAVE_OK)
    {
        format->formatTag = ReadU16(formatChunk);
        format->channels = ReadU16(formatChunk + 2);
        format->samplesPerSecond = ReadU32(formatChunk + 4);
        format->averageBytesPerSecond = ReadU32(formatChunk + 8);
        format->blockAlign = ReadU16(formatChunk + 12);
        format->bitsPerSample = ReadU16(formatChunk + 14);
        format->extraSize = formatSize >= 18 ? ReadU16(formatChunk + 16) : 0;
        if (format->formatTag != 1)
        {
            PlatSoundSetError("Format tag %u of <%s> is not PCM", format->formatTag, path);
            result = PLAT_WAVE_NOT_PCM;
        }
        else if (!PlatSoundCheckFormat(format, "Wave file"))
            result = PLAT_WAVE_BAD_FILE;
        else
        {
            dataSize -= dataSize % format->blockAlign;
            if (dataSize == 0)
            {
                PlatSoundSetError("The \"data\" chunk of <%s> holds no whole frame", path);
                result = PLAT_WAVE_BAD_FILE;
            }
        }
    }

    if (result == PLAT_WAVE_OK)
    {
        void *copy = malloc(dataSize);
        if (!copy)
        {
            PlatSoundSetError("Out of memory reading <%s>", path);
            result = PLAT_WAVE_BAD_FILE;
        }
        else
        {
            memcpy(copy, dataChunk, dataSize);
            *data = copy;
            *dataBytes = dataSize;
        }
    }
    free(bytes);
    return result;
}

void PlatSoundFreeWave(void *data)
{
    free(data);
}
