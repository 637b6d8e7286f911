// The JSON reader: the whole stream is cut into tokens first, then the tokens are parsed
// into the caller's object. Errors are thrown as ScanException / ParseException with the
// location where they were found.
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <istream>
#include <locale.h>
#include <vector>

#include "EngJson.h"

namespace json
{

namespace
{

enum TokenType
{
    TOKEN_OBJECT_BEGIN = 0,
    TOKEN_OBJECT_END = 1,
    TOKEN_ARRAY_BEGIN = 2,
    TOKEN_ARRAY_END = 3,
    TOKEN_NEXT_ELEMENT = 4,
    TOKEN_MEMBER_ASSIGN = 5,
    TOKEN_STRING = 6,
    TOKEN_NUMBER = 7,
    TOKEN_BOOLEAN = 8,
    TOKEN_NULL = 9,
};

struct Token
{
    TokenType type;
    std::string value;
    Reader::Location begin;
    Reader::Location end;
};

typedef std::vector<Token> Tokens;

// The stream with the location of the next character.
class InputStream
{
public:
    explicit InputStream(std::istream &stream) : stream(stream) {}

    bool AtEnd() { return stream.peek() == std::char_traits<char>::eof(); }
    char Peek() { return (char)stream.peek(); }
    char Get()
    {
        char c = (char)stream.get();
        location.offset++;
        if (c == '\n')
        {
            location.line++;
            location.column = 0;
        }
        else
        {
            location.column++;
        }
        return c;
    }
    const Reader::Location &GetLocation() const { return location; }

private:
    std::istream &stream;
    Reader::Location location;
};

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void SkipWhiteSpace(InputStream &input)
{
    while (!input.AtEnd() && IsWhiteSpace(input.Peek()))
        input.Get();
}

// Takes the characters of word one by one; the end of the stream or another character
// throws "Expected string: <word>".
void MatchExpectedString(InputStream &input, const std::string &word)
{
    for (char expected : word)
        if (input.AtEnd() || input.Get() != expected)
            throw Reader::ScanException("Expected string: " + word, input.GetLocation());
}

void AppendUtf8(std::string &out, unsigned value)
{
    if (value < 0x80)
    {
        out += (char)value;
    }
    else if (value < 0x800)
    {
        out += (char)(0xC0 | (value >> 6));
        out += (char)(0x80 | (value & 0x3F));
    }
    else
    {
        out += (char)(0xE0 | (value >> 12));
        out += (char)(0x80 | ((value >> 6) & 0x3F));
        out += (char)(0x80 | (value & 0x3F));
    }
}

// The next character inside a string; the end of the stream means the closing quote
// is missing.
char GetStringCharacter(InputStream &input)
{
    if (input.AtEnd())
        throw Reader::ScanException("Expected string: \"", input.GetLocation());
    return input.Get();
}

std::string MatchString(InputStream &input)
{
    MatchExpectedString(input, "\"");
    std::string string;
    while (!input.AtEnd() && input.Peek() != '"')
    {
        char c = input.Get();
        if (c != '\\')
        {
            string += c;
            continue;
        }
        char escaped = GetStringCharacter(input);
        switch (escaped)
        {
        case '"': string += '"'; break;
        case '/': string += '/'; break;
        case '\\': string += '\\'; break;
        case 'b': string += '\b'; break;
        case 'f': string += '\f'; break;
        case 'n': string += '\n'; break;
        case 'r': string += '\r'; break;
        case 't': string += '\t'; break;
        case 'u':
        {
            unsigned value = 0;
            for (int i = 0; i < 4; i++)
            {
                char hex = GetStringCharacter(input);
                unsigned digit;
                if (hex >= '0' && hex <= '9')
                    digit = (unsigned)(hex - '0');
                else if (hex >= 'a' && hex <= 'f')
                    digit = (unsigned)(hex - 'a' + 10);
                else if (hex >= 'A' && hex <= 'F')
                    digit = (unsigned)(hex - 'A' + 10);
                else
                    throw Reader::ScanException(
                        std::string("Unrecognized hexadecimal character found in string: ") + hex,
                        input.GetLocation());
                value = value * 16 + digit;
            }
            // Surrogate halves are written on their own, as three bytes each.
            AppendUtf8(string, value);
            break;
        }
        default:
            throw Reader::ScanException(std::string("Unrecognized escape sequence found in string: \\") + escaped,
                                        input.GetLocation());
        }
    }
    MatchExpectedString(input, "\"");
    return string;
}

std::string MatchNumber(InputStream &input)
{
    static const std::string numberCharacters = "0123456789.eE-+";
    std::string number;
    while (!input.AtEnd() && numberCharacters.find(input.Peek()) != std::string::npos)
        number += input.Get();
    return number;
}

void Scan(std::istream &stream, Tokens &tokens)
{
    InputStream input(stream);
    SkipWhiteSpace(input);
    while (!input.AtEnd())
    {
        Token token;
        token.begin = input.GetLocation();
        char c = input.Peek();
        switch (c)
        {
        case '{': token.type = TOKEN_OBJECT_BEGIN; token.value = "{"; break;
        case '}': token.type = TOKEN_OBJECT_END; token.value = "}"; break;
        case '[': token.type = TOKEN_ARRAY_BEGIN; token.value = "["; break;
        case ']': token.type = TOKEN_ARRAY_END; token.value = "]"; break;
        case ',': token.type = TOKEN_NEXT_ELEMENT; token.value = ","; break;
        case ':': token.type = TOKEN_MEMBER_ASSIGN; token.value = ":"; break;
        case '"': token.type = TOKEN_STRING; break;
        case 't': token.type = TOKEN_BOOLEAN; token.value = "true"; break;
        case 'f': token.type = TOKEN_BOOLEAN; token.value = "false"; break;
        case 'n': token.type = TOKEN_NULL; token.value = "null"; break;
        default:
            if (c == '-' || (c >= '0' && c <= '9'))
            {
                token.type = TOKEN_NUMBER;
                break;
            }
            throw Reader::ScanException(std::string("Unexpected character in stream: ") + c, input.GetLocation());
        }
        if (token.type == TOKEN_STRING)
            token.value = MatchString(input);
        else if (token.type == TOKEN_NUMBER)
            token.value = MatchNumber(input);
        else
            MatchExpectedString(input, token.value);
        token.end = input.GetLocation();
        tokens.push_back(std::move(token));
        SkipWhiteSpace(input);
    }
}

class TokenStream
{
public:
    explicit TokenStream(const Tokens &tokens) : tokens(tokens) {}

    bool AtEnd() const { return next >= tokens.size(); }
    const Token &Peek() const
    {
        if (AtEnd())
        {
            Reader::Location none;
            if (tokens.empty())
                throw Reader::ParseException("Unexpected end of token stream", none, none);
            throw Reader::ParseException("Unexpected end of token stream", tokens.back().begin, tokens.back().end);
        }
        return tokens[next];
    }
    const Token &Get()
    {
        const Token &token = Peek();
        next++;
        return token;
    }
    const Token &Match(TokenType type)
    {
        const Token &token = Get();
        if (token.type != type)
            throw Reader::ParseException("Unexpected token: " + token.value, token.begin, token.end);
        return token;
    }

private:
    const Tokens &tokens;
    size_t next = 0;
};

void ParseValue(UnknownElement &element, TokenStream &tokens, int depth);

void CheckDepth(const Token &token, int depth)
{
    if (depth > Reader::MaxDepth)
        throw Reader::ParseException("Nesting deeper than " + std::to_string(Reader::MaxDepth) + " levels",
                                     token.begin, token.end);
}

void ParseObject(Object &object, TokenStream &tokens, int depth)
{
    CheckDepth(tokens.Peek(), depth);
    tokens.Match(TOKEN_OBJECT_BEGIN);
    if (tokens.Peek().type != TOKEN_OBJECT_END)
    {
        while (true)
        {
            const Token &name = tokens.Match(TOKEN_STRING);
            if (object.Find(name.value) != object.End())
                throw Reader::ParseException("Duplicate object member token: " + name.value, name.begin, name.end);
            tokens.Match(TOKEN_MEMBER_ASSIGN);
            Object::Member member(name.value);
            ParseValue(member.element, tokens, depth);
            object.Insert(std::move(member));
            if (tokens.Peek().type != TOKEN_NEXT_ELEMENT)
                break;
            tokens.Get();
        }
    }
    tokens.Match(TOKEN_OBJECT_END);
}

void ParseArray(Array &array, TokenStream &tokens, int depth)
{
    CheckDepth(tokens.Peek(), depth);
    tokens.Match(TOKEN_ARRAY_BEGIN);
    if (tokens.Peek().type != TOKEN_ARRAY_END)
    {
        while (true)
        {
            UnknownElement &element = array.Insert(UnknownElement());
            ParseValue(element, tokens, depth);
            if (tokens.Peek().type != TOKEN_NEXT_ELEMENT)
                break;
            tokens.Get();
        }
    }
    tokens.Match(TOKEN_ARRAY_END);
}

// Numbers are read in the "C" locale whatever the process locale is.
double ParseNumber(const Token &token)
{
    static locale_t classic = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    const char *text = token.value.c_str();
    char *end = nullptr;
    errno = 0;
    double value = strtod_l(text, &end, classic);
    if (end == text)
        throw Reader::ParseException("Invalid NUMBER token: " + token.value, token.begin, token.end);
    if (*end)
        throw Reader::ParseException(std::string("Unexpected character in NUMBER token: ") + *end, token.begin,
                                     token.end);
    if (errno == ERANGE && (value > 1.0 || value < -1.0))
        throw Reader::ParseException("NUMBER token out of range: " + token.value, token.begin, token.end);
    return value;
}

void ParseValue(UnknownElement &element, TokenStream &tokens, int depth)
{
    const Token &token = tokens.Peek();
    switch (token.type)
    {
    case TOKEN_OBJECT_BEGIN:
        ParseObject(element.AsObject(), tokens, depth + 1);
        break;
    case TOKEN_ARRAY_BEGIN:
        ParseArray(element.AsArray(), tokens, depth + 1);
        break;
    case TOKEN_STRING:
        element.AsString() = String(tokens.Get().value);
        break;
    case TOKEN_NUMBER:
    {
        Number &number = element.AsNumber();
        number = Number(ParseNumber(tokens.Get()));
        break;
    }
    case TOKEN_BOOLEAN:
        element.AsBoolean() = Boolean(tokens.Get().value == "true");
        break;
    case TOKEN_NULL:
        element.AsNull();
        tokens.Get();
        break;
    default:
        throw Reader::ParseException("Unexpected token: " + token.value, token.begin, token.end);
    }
}

} // namespace

void Reader::Read(Object &object, std::istream &stream)
{
    Tokens tokens;
    Scan(stream, tokens);
    TokenStream tokenStream(tokens);
    ParseObject(object, tokenStream, 1);
    if (!tokenStream.AtEnd())
    {
        const Token &token = tokenStream.Peek();
        throw ParseException("Expected End of token stream; found " + token.value, token.begin, token.end);
    }
}

} // namespace json
