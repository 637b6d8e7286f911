// Fuzz target: the wave-file reader of the sound stand-in on any bytes. What it accepts
// has a format and a data block that lie inside the file.
#include "FuzzKit.h"
#include "PlatSound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string path = fuzzkit::Home() + "/input.wav";
    fuzzkit::WriteBytes(path, data, size);
    PlatSoundFormat format;
    void *samples = nullptr;
    uint32_t bytes = 0;
    int result = PlatSoundReadWave(path.c_str(), &format, &samples, &bytes);
    if (result == PLAT_WAVE_OK)
    {
        fuzzkit::Check(bytes <= size && (bytes == 0 || samples), "a wave's data lies outside its file");
        fuzzkit::Touch(samples, bytes);
    }
    PlatSoundFreeWave(samples);
    return 0;
}
