// Fuzz target: the picture-description reader (".ttx" JSON) on any bytes, then a few ticks
// of the loaded picture. Bad descriptions must leave an empty picture, never a crash.
#include "EngPicture.h"
#include "FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string &home = fuzzkit::Home();
    fuzzkit::ClearLog();
    fuzzkit::WriteBytes(home + "/fuzz.ttx", data, size);
    EngPicture picture;
    if (!picture.LoadFromFile(home.c_str(), "fuzz", true, true))
    {
        fuzzkit::Check(picture.GetNumSets() == 0 && picture.GetNumTextures() == 0,
                       "a refused description left sets or textures");
        return 0;
    }
    for (int i = 0; i < 3; i++)
        picture.Tick(1.0f);
    return 0;
}
