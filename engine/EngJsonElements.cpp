// The JSON value model: each UnknownElement owns one implementation object of its
// value type; casts are done by visitors that record the value when the type matches.
#include "EngJson.h"

namespace json
{

class UnknownElement::Imp
{
public:
    virtual ~Imp() {}
    virtual Imp *Clone() const = 0;
    virtual bool Compare(const Imp &other) const = 0;
    virtual void Accept(Visitor &visitor) = 0;
    virtual void Accept(ConstVisitor &visitor) const = 0;
};

template <typename ElementTypeT> class UnknownElement::CastVisitor_T : public Visitor
{
public:
    ElementTypeT *element = nullptr;
    void Visit(Null &value) override { Record(value); }
    void Visit(Boolean &value) override { Record(value); }
    void Visit(String &value) override { Record(value); }
    void Visit(Number &value) override { Record(value); }
    void Visit(Object &value) override { Record(value); }
    void Visit(Array &value) override { Record(value); }

private:
    template <typename VisitedT> void Record(VisitedT &value)
    {
        if constexpr (std::is_same_v<VisitedT, ElementTypeT>)
            element = &value;
        else
            element = nullptr;
    }
};

template <typename ElementTypeT> class UnknownElement::ConstCastVisitor_T : public ConstVisitor
{
public:
    const ElementTypeT *element = nullptr;
    void Visit(const Null &value) override { Record(value); }
    void Visit(const Boolean &value) override { Record(value); }
    void Visit(const String &value) override { Record(value); }
    void Visit(const Number &value) override { Record(value); }
    void Visit(const Object &value) override { Record(value); }
    void Visit(const Array &value) override { Record(value); }

private:
    template <typename VisitedT> void Record(const VisitedT &value)
    {
        if constexpr (std::is_same_v<VisitedT, ElementTypeT>)
            element = &value;
        else
            element = nullptr;
    }
};

template <typename ElementTypeT> class UnknownElement::Imp_T : public UnknownElement::Imp
{
public:
    explicit Imp_T(const ElementTypeT &element) : element(element) {}
    Imp *Clone() const override { return new Imp_T<ElementTypeT>(*this); }
    bool Compare(const Imp &other) const override
    {
        ConstCastVisitor_T<ElementTypeT> castVisitor;
        other.Accept(castVisitor);
        return castVisitor.element && element == *castVisitor.element;
    }
    void Accept(Visitor &visitor) override { visitor.Visit(element); }
    void Accept(ConstVisitor &visitor) const override { visitor.Visit(element); }

private:
    ElementTypeT element;
};

UnknownElement::UnknownElement() : imp(new Imp_T<Null>(Null()))
{
}

UnknownElement::UnknownElement(const UnknownElement &other) : imp(other.imp->Clone())
{
}

UnknownElement::UnknownElement(UnknownElement &&other) noexcept : imp(other.imp)
{
    // The moved-from element is left holding Null.
    other.imp = new Imp_T<Null>(Null());
}

UnknownElement::UnknownElement(const Object &object) : imp(new Imp_T<Object>(object))
{
}

UnknownElement::UnknownElement(const Array &array) : imp(new Imp_T<Array>(array))
{
}

UnknownElement::UnknownElement(const Number &number) : imp(new Imp_T<Number>(number))
{
}

UnknownElement::UnknownElement(double number) : imp(new Imp_T<Number>(Number(number)))
{
}

UnknownElement::UnknownElement(const Boolean &boolean) : imp(new Imp_T<Boolean>(boolean))
{
}

UnknownElement::UnknownElement(bool boolean) : imp(new Imp_T<Boolean>(Boolean(boolean)))
{
}

UnknownElement::UnknownElement(const String &string) : imp(new Imp_T<String>(string))
{
}

UnknownElement::UnknownElement(const std::string &string) : imp(new Imp_T<String>(String(string)))
{
}

UnknownElement::UnknownElement(const char *string) : imp(new Imp_T<String>(String(string ? string : "")))
{
}

UnknownElement::UnknownElement(const Null &null) : imp(new Imp_T<Null>(null))
{
}

UnknownElement::~UnknownElement()
{
    delete imp;
}

UnknownElement &UnknownElement::operator=(const UnknownElement &other)
{
    if (this != &other)
    {
        // Clone first: other may live inside the value this element holds.
        Imp *copy = other.imp->Clone();
        delete imp;
        imp = copy;
    }
    return *this;
}

UnknownElement &UnknownElement::operator=(UnknownElement &&other) noexcept
{
    if (this != &other)
    {
        Imp *taken = other.imp;
        other.imp = imp;
        imp = taken;
    }
    return *this;
}

template <typename ElementTypeT> const ElementTypeT &UnknownElement::CastTo() const
{
    ConstCastVisitor_T<ElementTypeT> castVisitor;
    imp->Accept(castVisitor);
    if (!castVisitor.element)
        throw Exception("Bad cast");
    return *castVisitor.element;
}

template <typename ElementTypeT> ElementTypeT &UnknownElement::ConvertTo()
{
    CastVisitor_T<ElementTypeT> castVisitor;
    imp->Accept(castVisitor);
    if (!castVisitor.element)
    {
        *this = ElementTypeT();
        imp->Accept(castVisitor);
    }
    return *castVisitor.element;
}

const Object &UnknownElement::AsConstObject() const { return CastTo<Object>(); }
const Array &UnknownElement::AsConstArray() const { return CastTo<Array>(); }
const Number &UnknownElement::AsConstNumber() const { return CastTo<Number>(); }
const Boolean &UnknownElement::AsConstBoolean() const { return CastTo<Boolean>(); }
const String &UnknownElement::AsConstString() const { return CastTo<String>(); }
const Null &UnknownElement::AsConstNull() const { return CastTo<Null>(); }

Object &UnknownElement::AsObject() { return ConvertTo<Object>(); }
Array &UnknownElement::AsArray() { return ConvertTo<Array>(); }
Number &UnknownElement::AsNumber() { return ConvertTo<Number>(); }
Boolean &UnknownElement::AsBoolean() { return ConvertTo<Boolean>(); }
String &UnknownElement::AsString() { return ConvertTo<String>(); }
Null &UnknownElement::AsNull() { return ConvertTo<Null>(); }

void UnknownElement::Accept(Visitor &visitor)
{
    imp->Accept(visitor);
}

void UnknownElement::Accept(ConstVisitor &visitor) const
{
    imp->Accept(visitor);
}

bool UnknownElement::operator==(const UnknownElement &other) const
{
    return imp->Compare(*other.imp);
}

// ---- Array and Object --------------------------------------------------------------

UnknownElement &Array::Insert(const UnknownElement &element)
{
    elements.push_back(element);
    return elements.back();
}

Object::iterator Object::Find(const std::string &name)
{
    for (iterator it = members.begin(); it != members.end(); ++it)
        if (it->name == name)
            return it;
    return members.end();
}

Object::const_iterator Object::Find(const std::string &name) const
{
    for (const_iterator it = members.begin(); it != members.end(); ++it)
        if (it->name == name)
            return it;
    return members.end();
}

const UnknownElement &Object::GetMember(const std::string &name) const
{
    const_iterator it = Find(name);
    if (it == members.end())
        throw Exception("Object member not found: " + name);
    return it->element;
}

UnknownElement &Object::GetMember(const std::string &name)
{
    iterator it = Find(name);
    if (it == members.end())
        throw Exception("Object member not found: " + name);
    return it->element;
}

UnknownElement &Object::GetOrAddMember(const std::string &name)
{
    iterator it = Find(name);
    if (it == members.end())
        it = members.insert(members.end(), Member(name));
    return it->element;
}

Object::iterator Object::Insert(const Member &member, iterator position)
{
    if (Find(member.name) != members.end())
        throw Exception("Object member already exists: " + member.name);
    return members.insert(position, member);
}

Object::iterator Object::Insert(Member &&member, iterator position)
{
    if (Find(member.name) != members.end())
        throw Exception("Object member already exists: " + member.name);
    return members.insert(position, std::move(member));
}

} // namespace json
