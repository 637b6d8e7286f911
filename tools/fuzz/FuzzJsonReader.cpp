// Fuzz target: the JSON reader on any bytes. Whatever it accepts, the writer must print
// as text the reader accepts again, with the same number of members.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "EngJson.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::istringstream input(std::string((const char *)data, size));
    json::Object object;
    try
    {
        json::Reader::Read(object, input);
    }
    catch (const json::Exception &)
    {
        return 0;
    }
    std::ostringstream output;
    json::Writer::Write(object, output);
    std::istringstream again(output.str());
    json::Object reread;
    try
    {
        json::Reader::Read(reread, again);
    }
    catch (const json::Exception &)
    {
        abort();
    }
    if (reread.Size() != object.Size())
        abort();
    return 0;
}
