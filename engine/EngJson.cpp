// The JSON access functions: reading a file into an object, printing an object into a
// new text, and typed getters for members. Every json::Exception is caught here and
// logged under the function's name.
#include "EngJson.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <sstream>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"

namespace
{

bool IsEmptyName(const char *name)
{
    return !name || !name[0];
}

// A number for a byte field, truncated toward zero and kept in 8 bits. NaN, the
// infinities and numbers beyond the int range are refused (logged; the field keeps its
// value): converting them would be undefined.
bool NumberToChar(const char *function, const char *name, double value, char *out)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
    {
        DebugError(function, "Number %g of <%s> is out of range.", value, name);
        return false;
    }
    *out = (char)(int32_t)value;
    return true;
}

// A number for a float field; one beyond the float range is refused like the above.
bool NumberToFloat(const char *function, const char *name, double value, float *out)
{
    if (!(value >= -FLT_MAX && value <= FLT_MAX))
    {
        DebugError(function, "Number %g of <%s> is out of range.", value, name);
        return false;
    }
    *out = (float)value;
    return true;
}

// Walks the member's array into the given fields (NULL fields are skipped, but their
// elements must still be numbers). More elements than fields fill every field, then fail.
template <typename FieldT>
int ReadNumberArray(const char *function, const json::Object &object, const char *name, FieldT *const *fields,
                    int fieldCount)
{
    try
    {
        const json::Array &array = object.GetMember(name).AsConstArray();
        // A refused element leaves its field alone; the others are still filled.
        bool refused = false;
        int index = 0;
        for (json::Array::const_iterator it = array.Begin(); it != array.End(); ++it, index++)
        {
            if (index >= fieldCount)
            {
                DebugError(function, "Error during parse.");
                return 0;
            }
            double value = it->AsConstNumber().Value();
            if (!fields[index])
                continue;
            bool stored;
            if constexpr (std::is_same_v<FieldT, float>)
                stored = NumberToFloat(function, name, value, fields[index]);
            else
                stored = NumberToChar(function, name, value, fields[index]);
            if (!stored)
                refused = true;
        }
        return refused ? 0 : 1;
    }
    catch (const json::Exception &exception)
    {
        DebugError(function, "json::Exception <%s> <%s>", name, exception.what());
        return 0;
    }
}

} // namespace

int EngJsonReadObjectFromFile(json::Object *object, const char *fileName)
{
    if (!object || IsEmptyName(fileName))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    if (!EngFileExists(fileName, false))
    {
        DebugError(ENG_FUNC, "File does not exist <%s>", fileName);
        return 0;
    }
    EngFile file;
    if (!file.OpenForReading(fileName, false, true))
        return 0;
    uint32_t size = file.GetSize();
    std::string text;
    if (size > 0)
    {
        text.resize(size);
        if (!file.Read(text.data(), size, true))
            return 0;
    }
    file.Close();
    // Read as text: CR LF line ends arrive as LF whatever the file holds.
    std::string::size_type out = 0;
    for (std::string::size_type in = 0; in < text.size(); in++)
        if (!(text[in] == '\r' && in + 1 < text.size() && text[in + 1] == '\n'))
            text[out++] = text[in];
    text.resize(out);

    std::istringstream stream(text);
    try
    {
        json::Reader::Read(*object, stream);
    }
    catch (const json::Exception &exception)
    {
        DebugError(ENG_FUNC, "json::Exception <%s> in <%s>", exception.what(), fileName);
        return 0;
    }
    return 1;
}

char *EngJsonWriteObjectToString(const json::Object &object)
{
    std::ostringstream stream;
    try
    {
        json::Writer::Write(object, stream);
    }
    catch (const json::Exception &exception)
    {
        DebugError(ENG_FUNC, "json::Exception <%s>", exception.what());
        return nullptr;
    }
    std::string text = stream.str();
    char *copy = (char *)EngMalloc(text.size() + 1, "EngJsonWriteObjectToString", true);
    if (!copy)
        return nullptr;
    memcpy(copy, text.data(), text.size());
    return copy;
}

int EngJsonDoesElementExistInObject(const json::Object &object, const char *name, bool report)
{
    if (IsEmptyName(name))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    try
    {
        object.GetMember(name);
        return 1;
    }
    catch (const json::Exception &exception)
    {
        if (report)
            DebugError(ENG_FUNC, "Exception <%s> for element <%s>", exception.what(), name);
        return 0;
    }
}

int EngJsonGetDimensionFromObject(const json::Object &object, const char *name, _Dimension *out)
{
    if (IsEmptyName(name) || !out)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    float *fields[4] = {&out->x, &out->y, &out->w, &out->h};
    return ReadNumberArray(ENG_FUNC, object, name, fields, 4);
}

int EngJsonGetVector2dFromObject(const json::Object &object, const char *name, _Vector2d *out)
{
    if (IsEmptyName(name) || !out)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    float *fields[2] = {&out->x, &out->y};
    return ReadNumberArray(ENG_FUNC, object, name, fields, 2);
}

int EngJsonGetCharFromObject(const json::Object &object, const char *name, char *out)
{
    if (IsEmptyName(name) || !out)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    try
    {
        return NumberToChar(ENG_FUNC, name, object.GetMember(name).AsConstNumber().Value(), out) ? 1 : 0;
    }
    catch (const json::Exception &exception)
    {
        DebugError(ENG_FUNC, "json::Exception <%s> <%s>", name, exception.what());
        return 0;
    }
}

int EngJsonReadNumbersFromObject(const json::Object &object, const char *name, char *out0, char *out1, char *out2,
                                 char *out3, char *out4)
{
    if (IsEmptyName(name))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    char *fields[5] = {out0, out1, out2, out3, out4};
    return ReadNumberArray(ENG_FUNC, object, name, fields, 5);
}

int EngJsonReadNumbersFromObject(const json::Object &object, const char *name, float *out0, float *out1,
                                 float *out2, float *out3)
{
    if (IsEmptyName(name))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return 0;
    }
    float *fields[4] = {out0, out1, out2, out3};
    return ReadNumberArray(ENG_FUNC, object, name, fields, 4);
}
