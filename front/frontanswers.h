#pragma once

// Which items of the front side are answered once, left out or answered in
// more than one column, and where each box stands on the paper; plain C++ so
// that it can be tested without a screen.

#include "frontscoring.h"

#include <array>
#include <optional>
#include <vector>

namespace Front {

// The ticks of the 75 boxes by box number: element 0 is Check1.
using BoxTicks = std::array<bool, kBoxCount>;

// The tick rule: a ticked box gives its ticked value, a clear box 0.
BoxScores scoresOf(const BoxTicks &ticks);

struct AnswerCheck {
    std::vector<int> unanswered; // items with no tick, ascending
    std::vector<int> doubled; // items with two or three ticks, ascending
};
AnswerCheck checkAnswers(const BoxTicks &ticks);

// A box's item and column (0 NotTrue, 1 SomewhatTrue, 2 CertainlyTrue).
struct BoxPlace {
    int item;
    int column;
};
std::optional<BoxPlace> placeOfBox(int box);

// The box of an item's column.
constexpr int boxAt(int item, int column)
{
    return itemRow(item).cells.at(static_cast<std::size_t>(column)).box;
}

// The item after this one on paper (items 1 to 15 on the left, then 16 to
// 25), or nothing after the last.
std::optional<int> itemAfter(int item);

} // namespace Front
