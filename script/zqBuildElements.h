#pragma once

// Reading the elements of an intermediate program, for the builder: every
// access is checked, since a host may hand in a malformed program.

#include "script/zqMessages.h"
#include "script/zqXML.h"
#include "toolkit/core/Exceptions.h"

#include <QString>

namespace zqBuild {

// Nesting of the intermediate program that the builder follows.
constexpr int maxBuildDepth = 1000;

[[noreturn]] inline void invalidFormat()
{
    throw Exception(SInvalidFileFormat);
}

// The child at index; "Invalid file format" when there is none.
inline TzqXMLItem *child(TzqXMLItem *element, int index)
{
    if (!element || index < 0 || index >= element->Count())
        invalidFormat();
    return element->Items(index);
}

inline bool is(const TzqXMLItem *element, const char *name)
{
    return element && element->Name().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The first child of that name, or nil.
inline TzqXMLItem *childNamed(TzqXMLItem *element, const char *name)
{
    for (int i = 0; i < element->Count(); ++i) {
        if (is(element->Items(i), name))
            return element->Items(i);
    }
    return nullptr;
}

inline QString textOf(const TzqXMLItem *element)
{
    return element->GetProp(QStringLiteral("text"));
}

inline QString posOf(const TzqXMLItem *element)
{
    return element->GetProp(QStringLiteral("pos"));
}

inline QString quoted(const QString &name)
{
    return u'\'' + name + u'\'';
}

// Counts a level of nesting; "Expression too complex" beyond the limit.
class DepthGuard
{
public:
    explicit DepthGuard(int &depth) : m_depth(depth)
    {
        if (++m_depth > maxBuildDepth) {
            --m_depth;
            throw Exception(STooComplex);
        }
    }
    ~DepthGuard() { --m_depth; }

    DepthGuard(const DepthGuard &) = delete;
    DepthGuard &operator=(const DepthGuard &) = delete;

private:
    int &m_depth;
};

} // namespace zqBuild
