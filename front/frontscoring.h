#pragma once

// Scoring of the front side: the item table, the scale table with its band
// rules, and the sums. Plain C++ so that it can be tested without a screen.

#include "scorerange.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace Front {

inline constexpr int kItemCount = 25;
inline constexpr int kBoxCount = 75;

enum class Column { NotTrue, SomewhatTrue, CertainlyTrue };
inline constexpr int kColumnCount = 3;

// One answer box: its number (Check1 to Check75) and what it gives while ticked.
struct BoxCell {
    int box;
    int tickedValue;
};

struct ItemRow {
    int item;
    std::array<BoxCell, kColumnCount> cells; // NotTrue, SomewhatTrue, CertainlyTrue
};

// The box numbers do not follow the grid; this table is the only mapping.
// Items 7, 11, 14, 21 and 25 are reverse-scored: 2, 1, 0 from NotTrue.
inline constexpr std::array<ItemRow, kItemCount> kItemTable {{
    {1, {{{1, 0}, {2, 1}, {3, 2}}}},
    {2, {{{6, 0}, {5, 1}, {4, 2}}}},
    {3, {{{9, 0}, {8, 1}, {7, 2}}}},
    {4, {{{10, 0}, {11, 1}, {12, 2}}}},
    {5, {{{15, 0}, {14, 1}, {13, 2}}}},
    {6, {{{16, 0}, {17, 1}, {18, 2}}}},
    {7, {{{19, 2}, {20, 1}, {21, 0}}}},
    {8, {{{22, 0}, {23, 1}, {24, 2}}}},
    {9, {{{30, 0}, {29, 1}, {28, 2}}}},
    {10, {{{25, 0}, {26, 1}, {27, 2}}}},
    {11, {{{31, 2}, {32, 1}, {33, 0}}}},
    {12, {{{34, 0}, {35, 1}, {36, 2}}}},
    {13, {{{37, 0}, {38, 1}, {39, 2}}}},
    {14, {{{48, 2}, {47, 1}, {46, 0}}}},
    {15, {{{45, 0}, {44, 1}, {43, 2}}}},
    {16, {{{75, 0}, {74, 1}, {73, 2}}}},
    {17, {{{70, 0}, {71, 1}, {72, 2}}}},
    {18, {{{67, 0}, {68, 1}, {69, 2}}}},
    {19, {{{66, 0}, {65, 1}, {64, 2}}}},
    {20, {{{61, 0}, {62, 1}, {63, 2}}}},
    {21, {{{60, 2}, {59, 1}, {58, 0}}}},
    {22, {{{57, 0}, {56, 1}, {55, 2}}}},
    {23, {{{54, 0}, {53, 1}, {52, 2}}}},
    {24, {{{40, 0}, {41, 1}, {42, 2}}}},
    {25, {{{51, 2}, {50, 1}, {49, 0}}}},
}};

constexpr const ItemRow &itemRow(int item)
{
    return kItemTable.at(static_cast<std::size_t>(item - 1));
}

enum class Band { Normal, AtRisk, Problem };

// The band words as the front side shows them, by Band.
inline constexpr std::array<std::u16string_view, 3> kBandWords {u"ปกติ", u"เสี่ยง", u"มีปัญหา"};

constexpr std::u16string_view bandText(Band band)
{
    return kBandWords.at(static_cast<std::size_t>(band));
}

using BandRange = Scoring::ScoreRange<Band>;

// Three ranges, tested in the order given; a score in none of them has no band.
using BandRule = std::array<BandRange, 3>;

// The six result lines, top to bottom as the screen shows them.
enum class Scale { Area1, Area2, Area3, Area4, Total, Social };
inline constexpr int kScaleCount = 6;

struct SummedScale {
    Scale scale;
    std::array<int, 5> items;
    BandRule rule;
};

// The five scales that sum their own items. Social runs the other way: a low
// score is a problem, so its rule tests the Problem range first.
inline constexpr std::array<SummedScale, 5> kSummedScales {{
    {Scale::Area1, {3, 8, 13, 16, 24}, {{{0, 5, Band::Normal}, {6, 6, Band::AtRisk}, {7, 10, Band::Problem}}}},
    {Scale::Area2, {5, 7, 12, 18, 22}, {{{0, 4, Band::Normal}, {5, 5, Band::AtRisk}, {6, 10, Band::Problem}}}},
    {Scale::Area3, {2, 10, 15, 21, 25}, {{{0, 5, Band::Normal}, {6, 6, Band::AtRisk}, {7, 10, Band::Problem}}}},
    {Scale::Area4, {6, 11, 14, 19, 23}, {{{0, 3, Band::Normal}, {4, 4, Band::AtRisk}, {5, 10, Band::Problem}}}},
    {Scale::Social, {1, 4, 9, 17, 20}, {{{0, 2, Band::Problem}, {3, 3, Band::AtRisk}, {4, 10, Band::Normal}}}},
}};

// The total of the four areas; the social scale stays out of it.
inline constexpr BandRule kTotalRule {{{0, 16, Band::Normal}, {17, 18, Band::AtRisk}, {19, 40, Band::Problem}}};

// Box scores by box number: element 0 is Check1.
using BoxScores = std::array<int, kBoxCount>;

struct Result {
    std::array<std::int16_t, kScaleCount> scores {}; // by Scale
    std::array<std::optional<Band>, kScaleCount> bands {}; // empty where no range holds the score
};

std::optional<Band> bandFor(const BandRule &rule, int score);
Result interpret(const BoxScores &boxScores);

constexpr int index(Scale scale)
{
    return static_cast<int>(scale);
}

} // namespace Front
