#include "paper.h"

#include <algorithm>

namespace {

template<typename Ticks> bool anyOf(const Ticks &ticks)
{
    return std::find(ticks.cbegin(), ticks.cend(), true) != ticks.cend();
}

} // namespace

std::optional<FormVersion> versionFromKey(std::string_view key)
{
    for (FormVersion version : kFormVersions)
        if (versionKey(version) == key)
            return version;
    return std::nullopt;
}

bool operator==(const PaperTicks &a, const PaperTicks &b)
{
    return a.front == b.front && a.back == b.back;
}

bool operator!=(const PaperTicks &a, const PaperTicks &b)
{
    return !(a == b);
}

bool anyTick(const Front::BoxTicks &ticks)
{
    return anyOf(ticks);
}

bool anyTick(const Back::BoxTicks &ticks)
{
    return anyOf(ticks);
}

PaperResults interpretPaper(const PaperTicks &ticks)
{
    PaperResults results;
    if (anyTick(ticks.front))
        results.front = Front::interpret(Front::scoresOf(ticks.front));
    if (anyTick(ticks.back))
        results.back = Back::interpret(Back::scoresOf(ticks.back));
    return results;
}
