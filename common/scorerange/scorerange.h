#pragma once

// A score's place in a short table of ranges, as both sides' scoring looks it
// up. Plain C++, so that the scoring stays free of Qt.

#include <array>
#include <cstddef>
#include <optional>

namespace Scoring {

template<typename Value> struct ScoreRange {
    int low; // inclusive
    int high; // inclusive
    Value value;
};

// The value of the first range that holds the score, in the table's order;
// nothing where none does.
template<typename Value, std::size_t Count>
constexpr std::optional<Value> lookup(const std::array<ScoreRange<Value>, Count> &ranges, int score)
{
    for (const ScoreRange<Value> &range : ranges)
        if (score >= range.low && score <= range.high)
            return range.value;
    return std::nullopt;
}

} // namespace Scoring
