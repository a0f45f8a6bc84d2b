#pragma once

// The back side's questions as rows of four answers in screen order, and
// which rows are answered more than once or left out; plain C++ so that it can
// be tested without a screen.

#include "backscoring.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace Back {

// The rows a teacher answers one after the other: the difficulties question,
// duration, upset, the four areas of the interference grid, burden.
enum class Row { Difficulties, Duration, Upset, HomeLife, Friendships, ClassroomLearning, LeisureActivities, Burden };
inline constexpr int kRowCount = 8;
inline constexpr int kAnswersPerRow = 4;

struct AnswerRow {
    Row row;
    std::array<int, kAnswersPerRow> answers; // box numbers, left to right then top to bottom
    int leadingBox; // the grid's box without caption in front of the area name; 0 elsewhere
};

inline constexpr std::array<AnswerRow, kRowCount> kAnswerRows {{
    {Row::Difficulties, {1, 2, 3, 4}, 0},
    {Row::Duration, {6, 5, 7, 8}, 0},
    {Row::Upset, {10, 9, 11, 12}, 0},
    {Row::HomeLife, {13, 14, 15, 16}, 29},
    {Row::Friendships, {17, 18, 19, 20}, 30},
    {Row::ClassroomLearning, {21, 22, 23, 24}, 31},
    {Row::LeisureActivities, {25, 26, 27, 28}, 32},
    {Row::Burden, {35, 36, 34, 33}, 0},
}};

// The short name of each row, as the notice names it, by Row.
inline constexpr std::array<std::u16string_view, kRowCount> kRowNames {u"ปัญหาโดยรวม", u"ระยะเวลาของปัญหา",
    u"ความไม่สบายใจของเด็ก", u"ความเป็นอยู่ที่บ้าน", u"การคบเพื่อน", u"การเรียนในห้องเรียน", u"กิจกรรมยามว่าง",
    u"ความยุ่งยากของครอบครัว"};

constexpr std::u16string_view rowText(Row row)
{
    return kRowNames.at(static_cast<std::size_t>(row));
}

constexpr const AnswerRow &answerRow(Row row)
{
    return kAnswerRows.at(static_cast<std::size_t>(row));
}

// The row a box belongs to (the grid's leading boxes included), and the
// place of the box among the row's answers (none for a leading box).
struct BoxPlace {
    Row row;
    std::optional<int> answer; // 0 to 3
};
std::optional<BoxPlace> placeOfBox(int box);

// Whether the box answers a question after the first (the grid's leading
// boxes included): "ไม่" to the first question greys these out.
bool followsFirstQuestion(int box);

// The row after this one, or nothing after burden.
std::optional<Row> rowAfter(Row row);

// The ticks of the 36 boxes by box number: element 0 is Check1.
using BoxTicks = std::array<bool, kBoxCount>;

// The tick rule: a ticked scored box gives its level's weight; a clear box,
// and every box that never counts, 0.
BoxScores scoresOf(const BoxTicks &ticks);

struct AnswerCheck {
    // The first question with no tick while a later row has one; the follow-up
    // rows with no tick, once a "ใช่" answer is ticked or the first question
    // is blank under answered rows.
    std::vector<Row> unanswered;
    std::vector<Row> doubled; // rows with more than one tick
};
AnswerCheck checkAnswers(const BoxTicks &ticks);

} // namespace Back
