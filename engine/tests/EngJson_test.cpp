#include "EngJson.h"

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

#include "EngDebug.h"
#include "EngMemory.h"
#include "Testkit.h"

using testkit::TempHomeTest;

namespace
{

// Reads text; the exception's message, or "" on success.
std::string ReadText(const std::string &text, json::Object &object)
{
    std::istringstream stream(text);
    try
    {
        json::Reader::Read(object, stream);
    }
    catch (const json::Exception &exception)
    {
        return exception.what();
    }
    return "";
}

std::string WriteText(const json::Object &object)
{
    std::ostringstream stream;
    json::Writer::Write(object, stream);
    return stream.str();
}

std::string Nested(int arrays)
{
    return "{\"a\":" + std::string(arrays, '[') + std::string(arrays, ']') + "}";
}

} // namespace

TEST(JsonReader, EdgeCases)
{
    struct Row
    {
        std::string text;
        std::string error; // "" when the text reads
    } rows[] = {
        {"{}", ""},
        {"", "Unexpected end of token stream"},
        {" \r\n\t ", "Unexpected end of token stream"},
        {"{", "Unexpected end of token stream"},
        {"[1,2]", "Unexpected token: ["},
        {"{\"a\":1}{", "Expected End of token stream; found {"},
        {"{\"a\":1,\"a\":2}", "Duplicate object member token: a"},
        {"{\"a\":1-2}", "Unexpected character in NUMBER token: -"},
        {"{\"a\":tru}", "Expected string: true"},
        {"{\"a\":nul", "Expected string: null"},
        {"{\"a\":007}", ""},
        {"{\"a\":+1}", "Unexpected character in stream: +"},
        {"{\"a\":.5}", "Unexpected character in stream: ."},
        {"{\"a\" : 1,}", "Unexpected token: }"},
        {"{\"a\":1 \"b\":2}", "Unexpected token: b"},
        {"{\"a\":truefalse}", "Unexpected token: false"},
        {"{\"a\":\"x", "Expected string: \""},
        {"{\"a\":\"x\\", "Expected string: \""},
        {"{\"a\":\"\\q\"}", "Unrecognized escape sequence found in string: \\q"},
        {"{\"a\":\"\\u00g0\"}", "Unrecognized hexadecimal character found in string: g"},
        {"{\"a\":\"\\u00\n0\"}", "Unrecognized hexadecimal character found in string: \n"},
        {"{\"a\":-}", "Invalid NUMBER token: -"},
        {"{\"a\":1e999}", "NUMBER token out of range: 1e999"},
        {"{\"a\":1e-999}", ""},
        {"{\"a\":[1,[true,null,\"s\"],{}],\"b\":{\"c\":[]}}", ""},
        {"{1:2}", "Unexpected token: 1"},
        {"{\"a\":}", "Unexpected token: }"},
        {Nested(255), ""},
        {Nested(256), "Nesting deeper than 256 levels"},
        {Nested(100000), "Nesting deeper than 256 levels"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.text.substr(0, 40));
        json::Object object;
        EXPECT_EQ(ReadText(row.text, object), row.error);
    }
}

TEST(JsonReader, ValuesAndLocations)
{
    json::Object object;
    ASSERT_EQ(ReadText("{\"a\":007, \"e\":\"\\u00e9\\u20AC\\n\\/\", \"t\":true, \"f\":false, \"n\":null,"
                       " \"x\":-2.5E2, \"raw\":\"\t\xE9\"}",
                       object),
              "");
    EXPECT_EQ(object.GetMember("a").AsConstNumber().Value(), 7.0);
    EXPECT_EQ(object.GetMember("e").AsConstString().Value(), "\xC3\xA9\xE2\x82\xAC\n/");
    EXPECT_TRUE(object.GetMember("t").AsConstBoolean().Value());
    EXPECT_FALSE(object.GetMember("f").AsConstBoolean().Value());
    EXPECT_NO_THROW(object.GetMember("n").AsConstNull());
    EXPECT_EQ(object.GetMember("x").AsConstNumber().Value(), -250.0);
    EXPECT_EQ(object.GetMember("raw").AsConstString().Value(), "\t\xE9");

    std::istringstream stream("{\n  \"a\": +}");
    json::Object other;
    try
    {
        json::Reader::Read(other, stream);
        FAIL() << "no exception";
    }
    catch (const json::Reader::ScanException &exception)
    {
        EXPECT_EQ(exception.location.line, 1u);
        EXPECT_EQ(exception.location.column, 7u);
        EXPECT_EQ(exception.location.offset, 9u);
    }

    // Members parsed before the error stay.
    json::Object partial;
    EXPECT_EQ(ReadText("{\"a\":1,\"b\":[1,}", partial), "Unexpected token: }");
    EXPECT_EQ(partial.Size(), 1u);
    EXPECT_NE(partial.Find("a"), partial.End());
}

TEST(JsonModel, ViewsCopiesAndOrder)
{
    json::Object object;
    object["z"] = 1.0;
    object["a"] = "text";
    object.GetOrAddMember("m") = json::Array();
    object["m"].AsArray().Insert(true);
    EXPECT_THROW(object.GetMember("q"), json::Exception);
    EXPECT_THROW(object.Insert(json::Object::Member("a")), json::Exception);
    try
    {
        object.GetMember("a").AsConstNumber();
    }
    catch (const json::Exception &exception)
    {
        EXPECT_STREQ(exception.what(), "Bad cast");
    }
    // A mutable view replaces a value of another type by the default of the asked type.
    json::UnknownElement element = "text";
    EXPECT_EQ(element.AsNumber().Value(), 0.0);

    // Copies are deep.
    json::Object copy = object;
    copy["m"].AsArray().Insert(false);
    EXPECT_EQ(object["m"].AsConstArray().Size(), 1u);
    EXPECT_FALSE(copy == object);

    std::vector<std::string> names;
    for (json::Object::const_iterator it = object.Begin(); it != object.End(); ++it)
        names.push_back(it->name);
    EXPECT_EQ(names, (std::vector<std::string>{"z", "a", "m"}));
    EXPECT_FALSE(json::UnknownElement(1.0) == json::UnknownElement(true));
    EXPECT_TRUE(json::UnknownElement(json::Null()) == json::UnknownElement());
}

TEST(JsonWriter, GoldenText)
{
    json::Object object;
    object["a"] = 1.0;
    json::Array &b = object["b"].AsArray();
    b.Insert(true);
    b.Insert("x");
    EXPECT_EQ(WriteText(object), "{\n\t\"a\" : 1,\n\t\"b\" : [\n\t\ttrue,\n\t\t\"x\"\n\t]\n}");

    json::Object full;
    full["half"] = 0.5;
    full["tenth"] = 0.1;
    full["version"] = 2.42;
    full["negative"] = -3.0;
    full["big"] = 1e21;
    full["tiny"] = 1.5e-7;
    full["none"] = json::Null();
    full["off"] = false;
    full["text"] = "q\"b\\s/\b\f\n\r\t\x01\xC3\xA9\xE2\x82\xAC\xE9!\xF0\x9F\x98\x80";
    full["empty array"] = json::Array();
    full["empty object"] = json::Object();
    json::Object &inner = full["inner"].AsObject();
    inner["list"].AsArray().Insert(json::Array());
    inner["list"].AsArray().Insert(json::Object());
    const char *golden = "{\n"
                         "\t\"half\" : 0.5,\n"
                         "\t\"tenth\" : 0.10000000000000000555,\n"
                         "\t\"version\" : 2.4199999999999999289,\n"
                         "\t\"negative\" : -3,\n"
                         "\t\"big\" : 1e+21,\n"
                         "\t\"tiny\" : 1.4999999999999999321e-07,\n"
                         "\t\"none\" : null,\n"
                         "\t\"off\" : false,\n"
                         "\t\"text\" : \"q\\\"b\\\\s/\\b\\f\\n\\r\\t\x01\\u00e9\\u20ac\xE9!\xF0\x9F\x98\x80\",\n"
                         "\t\"empty array\" : [],\n"
                         "\t\"empty object\" : {},\n"
                         "\t\"inner\" : {\n"
                         "\t\t\"list\" : [\n"
                         "\t\t\t[],\n"
                         "\t\t\t{}\n"
                         "\t\t]\n"
                         "\t}\n"
                         "}";
    EXPECT_EQ(WriteText(full), golden);
}

TEST(JsonWriter, LeadBytesWithoutContinuation)
{
    struct Row
    {
        const char *value;
        const char *written;
    } rows[] = {
        {"\xE9", "\"\xE9\""},
        {"\xC3", "\"\xC3\""},
        {"\xC3" "A", "\"\xC3" "A\""},
        {"\xE2\x82", "\"\xE2\x82\""},
        {"\xE2\x82" "A", "\"\xE2\x82" "A\""},
        {"\xC3\xC3\xA9", "\"\xC3\\u00e9\""},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.written);
        json::Object object;
        object["s"] = row.value;
        EXPECT_EQ(WriteText(object), std::string("{\n\t\"s\" : ") + row.written + "\n}");
    }
}

namespace
{

// Random documents whose strings the writer and reader carry unchanged: ASCII with the
// escaped characters, whole two- to four-byte UTF-8 sequences and lone high bytes
// followed by ASCII.
class DocumentMaker
{
public:
    explicit DocumentMaker(unsigned seed) : random(seed) {}

    json::Object MakeObject(int depth)
    {
        json::Object object;
        int members = Pick(0, 5);
        for (int i = 0; i < members; i++)
            object[MakeString() + std::to_string(i)] = MakeValue(depth + 1);
        return object;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    std::string MakeString()
    {
        static const char *pieces[] = {"a", "Z", " ", "\"", "\\", "/", "\b", "\f", "\n", "\r", "\t", "\x01",
                                       "\x7f", "\xC3\xA9", "\xC2\xA0", "\xDF\xBF", "\xE2\x82\xAC", "\xEF\xBF\xBD",
                                       "\xED\xA0\x80", "\xF0\x9F\x98\x80", "\xE9" "a", "\xC3" "b", "\x80", "\xFF"};
        std::string text;
        int count = Pick(0, 8);
        for (int i = 0; i < count; i++)
            text += pieces[Pick(0, (int)(sizeof(pieces) / sizeof(pieces[0])) - 1)];
        return text;
    }

    double MakeNumber()
    {
        static const double fixed[] = {0.0, -0.0, 0.1, 2.42, 1.0, -1.0, 1e21, 5e-324, 1.7976931348623157e308};
        switch (Pick(0, 2))
        {
        case 0:
            return fixed[Pick(0, 8)];
        case 1:
            return Pick(-100000, 100000);
        default:
            while (true)
            {
                uint64_t bits = ((uint64_t)random() << 32) ^ random();
                double value;
                memcpy(&value, &bits, sizeof(value));
                if (std::isfinite(value))
                    return value;
            }
        }
    }

    json::UnknownElement MakeValue(int depth)
    {
        int kind = Pick(0, depth > 6 ? 3 : 5);
        switch (kind)
        {
        case 0: return json::UnknownElement(MakeNumber());
        case 1: return json::UnknownElement(MakeString());
        case 2: return Pick(0, 1) ? json::UnknownElement(Pick(0, 1) == 1) : json::UnknownElement();
        case 3: return json::UnknownElement(MakeNumber());
        case 4:
        {
            json::Array array;
            int count = Pick(0, 4);
            for (int i = 0; i < count; i++)
                array.Insert(MakeValue(depth + 1));
            return array;
        }
        default: return MakeObject(depth);
        }
    }

    std::mt19937 random;
};

} // namespace

TEST(JsonWriter, RoundTripsOverGeneratedDocuments)
{
    DocumentMaker maker(20240611);
    for (int i = 0; i < 300; i++)
    {
        SCOPED_TRACE(i);
        json::Object original = maker.MakeObject(0);
        std::string text = WriteText(original);
        json::Object read;
        ASSERT_EQ(ReadText(text, read), "") << text;
        EXPECT_TRUE(read == original) << text;
        EXPECT_EQ(WriteText(read), text);
    }
}

class JsonAccessTest : public TempHomeTest
{
};

TEST_F(JsonAccessTest, TypedGetters)
{
    json::Object object;
    ASSERT_EQ(ReadText("{\"two\":[1,2], \"three\":[1,2,3], \"five\":[1,2,3,4,5], \"six\":[1,2,3,4,5,6],"
                       " \"c\":3.9, \"nc\":-3.9, \"s\":\"x\", \"mixed\":[1,\"x\"], \"big\":1e30}",
                       object),
              "");

    _Dimension dimension = {9, 9, 9, 9};
    EXPECT_EQ(EngJsonGetDimensionFromObject(object, "two", &dimension), 1);
    EXPECT_EQ(dimension.x, 1.0f);
    EXPECT_EQ(dimension.y, 2.0f);
    EXPECT_EQ(dimension.w, 9.0f);
    EXPECT_EQ(dimension.h, 9.0f);

    _Vector2d vector = {0, 0};
    EXPECT_EQ(EngJsonGetVector2dFromObject(object, "three", &vector), 0);
    EXPECT_EQ(vector.x, 1.0f);
    EXPECT_EQ(vector.y, 2.0f);
    EXPECT_TRUE(LogHas("Error during parse."));

    EXPECT_EQ(EngJsonGetVector2dFromObject(object, "s", &vector), 0);
    EXPECT_TRUE(LogHas("json::Exception <s> <Bad cast>"));
    EXPECT_EQ(EngJsonGetVector2dFromObject(object, "missing", &vector), 0);
    EXPECT_TRUE(LogHas("json::Exception <missing> <Object member not found: missing>"));
    EXPECT_EQ(EngJsonGetVector2dFromObject(object, "", &vector), 0);
    EXPECT_EQ(EngJsonGetVector2dFromObject(object, "two", nullptr), 0);
    EXPECT_TRUE(LogHas("Bad parameters."));

    char value = 0;
    EXPECT_EQ(EngJsonGetCharFromObject(object, "c", &value), 1);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(EngJsonGetCharFromObject(object, "nc", &value), 1);
    EXPECT_EQ(value, -3);
    // Beyond the int range the number is refused and the field keeps its value.
    EXPECT_EQ(EngJsonGetCharFromObject(object, "big", &value), 0);
    EXPECT_EQ(value, -3);
    EXPECT_TRUE(LogHas("Number 1e+30 of <big> is out of range."));
    EXPECT_EQ(EngJsonGetCharFromObject(object, "two", &value), 0);

    char n[5] = {0, 0, 0, 0, 0};
    EXPECT_EQ(EngJsonReadNumbersFromObject(object, "five", &n[0], nullptr, &n[2], &n[3], &n[4]), 1);
    EXPECT_EQ(std::string(n, 5), std::string("\x01\x00\x03\x04\x05", 5));
    EXPECT_EQ(EngJsonReadNumbersFromObject(object, "six", &n[0], &n[1], &n[2], &n[3], &n[4]), 0);
    EXPECT_EQ(n[1], 2);
    // A skipped field's element must still be a number; fields before it keep their values.
    float f[4] = {0, 0, 0, 0};
    EXPECT_EQ(EngJsonReadNumbersFromObject(object, "mixed", &f[0], (float *)nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(f[0], 1.0f);
    EXPECT_EQ(EngJsonReadNumbersFromObject(object, "three", &f[0], &f[1], &f[2], &f[3]), 1);
    EXPECT_EQ(f[2], 3.0f);

    EXPECT_EQ(EngJsonDoesElementExistInObject(object, "c", true), 1);
    int before = DebugGetNumMessages();
    EXPECT_EQ(EngJsonDoesElementExistInObject(object, "q", false), 0);
    EXPECT_EQ(DebugGetNumMessages(), before);
    EXPECT_EQ(EngJsonDoesElementExistInObject(object, "q", true), 0);
    EXPECT_TRUE(LogHas("Exception <Object member not found: q> for element <q>"));
}

TEST_F(JsonAccessTest, FilesAndStrings)
{
    json::Object empty;
    char *text = EngJsonWriteObjectToString(empty);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "{}");
    EngFree(text, true, nullptr);

    json::Object object;
    std::string missing = Home() + "/missing.ttx";
    EXPECT_EQ(EngJsonReadObjectFromFile(&object, missing.c_str()), 0);
    EXPECT_TRUE(LogHas("File does not exist <" + missing + ">"));
    EXPECT_EQ(EngJsonReadObjectFromFile(nullptr, missing.c_str()), 0);

    std::string path = Home() + "/picture.ttx";
    testkit::WriteFile(path, "{\r\n\t\"Name\" : \"a\r\nb\",\r\n\t\"Size\" : [1, 2]\r\n}\r\n");
    ASSERT_EQ(EngJsonReadObjectFromFile(&object, path.c_str()), 1);
    EXPECT_EQ(object.GetMember("Name").AsConstString().Value(), "a\nb");

    testkit::WriteFile(path, "{\"a\":1,\"b\":tru}");
    json::Object broken;
    EXPECT_EQ(EngJsonReadObjectFromFile(&broken, path.c_str()), 0);
    EXPECT_TRUE(LogHas("json::Exception <Expected string: true> in <" + path + ">"));
    // Scanning comes first: a parse error keeps the members read before it.
    testkit::WriteFile(path, "{\"a\":1,\"b\":[1,}");
    EXPECT_EQ(EngJsonReadObjectFromFile(&broken, path.c_str()), 0);
    EXPECT_EQ(broken.Size(), 1u);

    testkit::WriteFile(path, "");
    EXPECT_EQ(EngJsonReadObjectFromFile(&broken, path.c_str()), 0);
    EXPECT_TRUE(LogHas("Unexpected end of token stream"));

    json::Object infinite;
    infinite["x"] = INFINITY;
    EXPECT_EQ(EngJsonWriteObjectToString(infinite), nullptr);
    EXPECT_TRUE(LogHas("json::Exception <Number is not finite>"));
}
