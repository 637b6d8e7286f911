// JSON documents: a small value model (json::UnknownElement over Null, Number, Boolean,
// String, Array and Object), a reader from a text stream and an indenting writer.
// Inside namespace json failures are thrown as json::Exception; the EngJson* access
// functions at the end catch them, log them and answer 0 or NULL.
#pragma once
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <list>
#include <stdexcept>
#include <string>

#include "EngTypes.h"

namespace json
{

class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string &message) : std::runtime_error(message) {}
};

class Null
{
public:
    bool operator==(const Null &) const { return true; }
};

// A plain value (number, bool or text) with the conversions a caller expects.
template <typename T> class TrivialType_T
{
public:
    TrivialType_T(const T &value = T()) : value(value) {}
    operator T &() { return value; }
    operator const T &() const { return value; }
    T &Value() { return value; }
    const T &Value() const { return value; }
    bool operator==(const TrivialType_T &other) const { return value == other.value; }

private:
    T value;
};

typedef TrivialType_T<double> Number;
typedef TrivialType_T<bool> Boolean;
typedef TrivialType_T<std::string> String;

class Array;
class Object;
class Visitor;
class ConstVisitor;

// Any JSON value. Copies are deep; a new element holds Null.
class UnknownElement
{
public:
    UnknownElement();
    UnknownElement(const UnknownElement &other);
    UnknownElement(UnknownElement &&other) noexcept;
    UnknownElement(const Object &object);
    UnknownElement(const Array &array);
    UnknownElement(const Number &number);
    UnknownElement(double number);
    UnknownElement(const Boolean &boolean);
    UnknownElement(bool boolean);
    UnknownElement(const String &string);
    UnknownElement(const std::string &string);
    UnknownElement(const char *string);
    UnknownElement(const Null &null);
    ~UnknownElement();

    UnknownElement &operator=(const UnknownElement &other);
    UnknownElement &operator=(UnknownElement &&other) noexcept;

    // Views of the held value; another type throws Exception("Bad cast").
    const Object &AsConstObject() const;
    const Array &AsConstArray() const;
    const Number &AsConstNumber() const;
    const Boolean &AsConstBoolean() const;
    const String &AsConstString() const;
    const Null &AsConstNull() const;

    // Mutable views: another type is first replaced by the asked type's default value.
    Object &AsObject();
    Array &AsArray();
    Number &AsNumber();
    Boolean &AsBoolean();
    String &AsString();
    Null &AsNull();

    void Accept(Visitor &visitor);
    void Accept(ConstVisitor &visitor) const;

    bool operator==(const UnknownElement &other) const;

    class Imp;

private:
    template <typename ElementTypeT> class Imp_T;
    template <typename ElementTypeT> class CastVisitor_T;
    template <typename ElementTypeT> class ConstCastVisitor_T;
    template <typename ElementTypeT> const ElementTypeT &CastTo() const;
    template <typename ElementTypeT> ElementTypeT &ConvertTo();

    Imp *imp;
};

class Array
{
public:
    typedef std::deque<UnknownElement> Elements;
    typedef Elements::iterator iterator;
    typedef Elements::const_iterator const_iterator;

    iterator Begin() { return elements.begin(); }
    iterator End() { return elements.end(); }
    const_iterator Begin() const { return elements.begin(); }
    const_iterator End() const { return elements.end(); }
    // Appends element and returns the copy held by the array.
    UnknownElement &Insert(const UnknownElement &element);
    size_t Size() const { return elements.size(); }
    bool Empty() const { return elements.empty(); }
    UnknownElement &operator[](size_t index) { return elements[index]; }
    const UnknownElement &operator[](size_t index) const { return elements[index]; }
    bool operator==(const Array &other) const { return elements == other.elements; }

private:
    Elements elements;
};

class Object
{
public:
    struct Member
    {
        Member(const std::string &name = std::string(), const UnknownElement &element = UnknownElement())
            : name(name), element(element)
        {
        }
        bool operator==(const Member &other) const { return name == other.name && element == other.element; }
        std::string name;
        UnknownElement element;
    };
    typedef std::list<Member> Members;
    typedef Members::iterator iterator;
    typedef Members::const_iterator const_iterator;

    Object() = default;
    ~Object() = default;

    iterator Begin() { return members.begin(); }
    iterator End() { return members.end(); }
    const_iterator Begin() const { return members.begin(); }
    const_iterator End() const { return members.end(); }
    size_t Size() const { return members.size(); }
    bool Empty() const { return members.empty(); }

    // The first member of that exact name, or End().
    iterator Find(const std::string &name);
    const_iterator Find(const std::string &name) const;
    // Throws "Object member not found: <name>".
    const UnknownElement &GetMember(const std::string &name) const;
    UnknownElement &GetMember(const std::string &name);
    // Appends {name, Null} first when the name is missing.
    UnknownElement &GetOrAddMember(const std::string &name);
    UnknownElement &operator[](const std::string &name) { return GetOrAddMember(name); }
    // Inserts before position; throws "Object member already exists: <name>".
    iterator Insert(const Member &member, iterator position);
    iterator Insert(const Member &member) { return Insert(member, End()); }
    iterator Insert(Member &&member, iterator position);
    iterator Insert(Member &&member) { return Insert(std::move(member), End()); }
    void Clear() { members.clear(); }
    bool operator==(const Object &other) const { return members == other.members; }

private:
    Members members;
};

class Visitor
{
public:
    virtual ~Visitor() {}
    virtual void Visit(Null &null) = 0;
    virtual void Visit(Boolean &boolean) = 0;
    virtual void Visit(String &string) = 0;
    virtual void Visit(Number &number) = 0;
    virtual void Visit(Object &object) = 0;
    virtual void Visit(Array &array) = 0;
};

class ConstVisitor
{
public:
    virtual ~ConstVisitor() {}
    virtual void Visit(const Null &null) = 0;
    virtual void Visit(const Boolean &boolean) = 0;
    virtual void Visit(const String &string) = 0;
    virtual void Visit(const Number &number) = 0;
    virtual void Visit(const Object &object) = 0;
    virtual void Visit(const Array &array) = 0;
};

class Reader
{
public:
    // Place in the text; all counts from 0.
    struct Location
    {
        uint32_t line = 0;
        uint32_t column = 0;
        uint32_t offset = 0;
    };

    class ScanException : public Exception
    {
    public:
        ScanException(const std::string &message, const Location &location)
            : Exception(message), location(location)
        {
        }
        Location location;
    };

    class ParseException : public Exception
    {
    public:
        ParseException(const std::string &message, const Location &begin, const Location &end)
            : Exception(message), begin(begin), end(end)
        {
        }
        Location begin;
        Location end;
    };

    // Objects and arrays nested deeper than this are refused.
    static constexpr int MaxDepth = 256;

    // Parses the whole stream into object; members parsed before an error stay in it.
    static void Read(Object &object, std::istream &stream);
};

class Writer
{
public:
    // Writes object as tab-indented text, then flushes the stream. A number that is not
    // finite throws: it has no JSON form.
    static void Write(const Object &object, std::ostream &stream);
};

} // namespace json

// ---- Access functions: no exception leaves these ------------------------------------

// Parses the file (CR LF read as LF) into object. 1 on success.
int EngJsonReadObjectFromFile(json::Object *object, const char *fileName);
// A new EngMalloc text of the object (the caller frees it with EngFree), or NULL.
char *EngJsonWriteObjectToString(const json::Object &object);
int EngJsonDoesElementExistInObject(const json::Object &object, const char *name, bool report);
// Array members of up to 4 (2) numbers into x, y, w, h (x, y); more elements fail after
// filling every field; fewer leave the rest unchanged.
int EngJsonGetDimensionFromObject(const json::Object &object, const char *name, _Dimension *out);
int EngJsonGetVector2dFromObject(const json::Object &object, const char *name, _Vector2d *out);
// A number member truncated toward zero into 8 bits. Numbers whose conversion would be
// undefined (beyond the int range here, beyond the float range for float fields) are
// refused with a logged error: the field keeps its value and the result is 0.
int EngJsonGetCharFromObject(const json::Object &object, const char *name, char *out);
// An array of up to five numbers, each truncated into 8 bits; a NULL field is skipped.
int EngJsonReadNumbersFromObject(const json::Object &object, const char *name, char *out0, char *out1,
                                 char *out2, char *out3, char *out4);
// An array of up to four numbers as floats; a NULL field is skipped.
int EngJsonReadNumbersFromObject(const json::Object &object, const char *name, float *out0, float *out1,
                                 float *out2, float *out3);
