// The JSON writer: one member or element per line, indented by one tab per level,
// numbers with up to 20 significant digits, two- and three-byte UTF-8 sequences in
// strings written as \u escapes.
#include <charconv>
#include <cmath>
#include <ostream>

#include "EngJson.h"

namespace json
{

namespace
{

class WriterVisitor : public ConstVisitor
{
public:
    explicit WriterVisitor(std::ostream &stream) : stream(stream) {}

    void Visit(const Null &) override { stream << "null"; }
    void Visit(const Boolean &boolean) override { stream << (boolean.Value() ? "true" : "false"); }

    void Visit(const Number &number) override
    {
        double value = number.Value();
        if (!std::isfinite(value))
            throw Exception("Number is not finite");
        // The same digits as printf's "%.20g", whatever the process locale is.
        char text[64];
        std::to_chars_result result = std::to_chars(text, text + sizeof(text), value, std::chars_format::general, 20);
        stream.write(text, result.ptr - text);
    }

    void Visit(const String &string) override { WriteString(string.Value()); }

    void Visit(const Array &array) override
    {
        if (array.Empty())
        {
            stream << "[]";
            return;
        }
        stream << '[';
        LineEnd();
        level++;
        for (Array::const_iterator it = array.Begin(); it != array.End(); ++it)
        {
            Indent();
            it->Accept(*this);
            if (it + 1 != array.End())
                stream << ',';
            LineEnd();
        }
        level--;
        Indent();
        stream << ']';
    }

    void Visit(const Object &object) override
    {
        if (object.Empty())
        {
            stream << "{}";
            return;
        }
        stream << '{';
        LineEnd();
        level++;
        for (Object::const_iterator it = object.Begin(); it != object.End();)
        {
            Indent();
            WriteString(it->name);
            stream << " : ";
            it->element.Accept(*this);
            if (++it != object.End())
                stream << ',';
            LineEnd();
        }
        level--;
        Indent();
        stream << '}';
    }

private:
    void Indent()
    {
        for (int i = 0; i < level; i++)
            stream << '\t';
    }

    void LineEnd()
    {
        stream << '\n';
        stream.flush();
    }

    static bool IsContinuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

    void WriteHexEscape(unsigned value)
    {
        static const char digits[] = "0123456789abcdef";
        char text[6] = {'\\', 'u', digits[(value >> 12) & 15], digits[(value >> 8) & 15], digits[(value >> 4) & 15],
                        digits[value & 15]};
        stream.write(text, 6);
    }

    void WriteString(const std::string &string)
    {
        stream << '"';
        const size_t length = string.size();
        for (size_t i = 0; i < length; i++)
        {
            unsigned char c = (unsigned char)string[i];
            if (c >= 0xC0 && c <= 0xDF && i + 1 < length && IsContinuation((unsigned char)string[i + 1]))
            {
                WriteHexEscape((unsigned)(c & 0x1F) << 6 | ((unsigned char)string[i + 1] & 0x3F));
                i += 1;
                continue;
            }
            if (c >= 0xE0 && c <= 0xEF && i + 2 < length && IsContinuation((unsigned char)string[i + 1]) &&
                IsContinuation((unsigned char)string[i + 2]))
            {
                WriteHexEscape((unsigned)(c & 0x0F) << 12 | ((unsigned)((unsigned char)string[i + 1] & 0x3F) << 6) |
                               ((unsigned char)string[i + 2] & 0x3F));
                i += 2;
                continue;
            }
            switch (c)
            {
            case '"': stream << "\\\""; break;
            case '\\': stream << "\\\\"; break;
            case '\b': stream << "\\b"; break;
            case '\f': stream << "\\f"; break;
            case '\n': stream << "\\n"; break;
            case '\r': stream << "\\r"; break;
            case '\t': stream << "\\t"; break;
            default: stream << (char)c; break;
            }
        }
        stream << '"';
    }

    std::ostream &stream;
    int level = 0;
};

} // namespace

void Writer::Write(const Object &object, std::ostream &stream)
{
    WriterVisitor visitor(stream);
    visitor.Visit(object);
    stream.flush();
}

} // namespace json
