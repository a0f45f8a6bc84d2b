#pragma once

// Scoring of the back side: the weights of the impact levels, the boxes that
// count, and the severity of their sum. Plain C++ so that it can be tested
// without a screen.

#include "scorerange.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace Back {

inline constexpr int kBoxCount = 36;

enum class ImpactLevel { NotAtAll, ALittle, QuiteALot, ALot };

// Only "ค่อนข้างมาก" and "มาก" raise the score.
inline constexpr std::array<int, 4> kImpactWeight {
    0, // NotAtAll  "ไม่เลย" / "ไม่"
    0, // ALittle   "เล็กน้อย"
    1, // QuiteALot "ค่อนข้างมาก"
    2, // ALot      "มาก"
};

constexpr int weightOf(ImpactLevel level)
{
    return kImpactWeight.at(static_cast<std::size_t>(level));
}

enum class Question { Upset, HomeLife, Friendships, ClassroomLearning, LeisureActivities, Burden };

struct ScoredBox {
    int box; // Check9 and so on
    Question question;
    ImpactLevel level;
};

// The 24 boxes that follow the tick rule. Every other box (the "ไม่" and
// "ใช่" answers, the duration, the boxes in front of the area names) never
// counts.
inline constexpr std::array<ScoredBox, 24> kScoredBoxes {{
    {10, Question::Upset, ImpactLevel::NotAtAll},
    {9, Question::Upset, ImpactLevel::ALittle},
    {11, Question::Upset, ImpactLevel::QuiteALot},
    {12, Question::Upset, ImpactLevel::ALot},
    {13, Question::HomeLife, ImpactLevel::NotAtAll},
    {14, Question::HomeLife, ImpactLevel::ALittle},
    {15, Question::HomeLife, ImpactLevel::QuiteALot},
    {16, Question::HomeLife, ImpactLevel::ALot},
    {17, Question::Friendships, ImpactLevel::NotAtAll},
    {18, Question::Friendships, ImpactLevel::ALittle},
    {19, Question::Friendships, ImpactLevel::QuiteALot},
    {20, Question::Friendships, ImpactLevel::ALot},
    {21, Question::ClassroomLearning, ImpactLevel::NotAtAll},
    {22, Question::ClassroomLearning, ImpactLevel::ALittle},
    {23, Question::ClassroomLearning, ImpactLevel::QuiteALot},
    {24, Question::ClassroomLearning, ImpactLevel::ALot},
    {25, Question::LeisureActivities, ImpactLevel::NotAtAll},
    {26, Question::LeisureActivities, ImpactLevel::ALittle},
    {27, Question::LeisureActivities, ImpactLevel::QuiteALot},
    {28, Question::LeisureActivities, ImpactLevel::ALot},
    {35, Question::Burden, ImpactLevel::NotAtAll},
    {36, Question::Burden, ImpactLevel::ALittle},
    {34, Question::Burden, ImpactLevel::QuiteALot},
    {33, Question::Burden, ImpactLevel::ALot},
}};

enum class Severity { Slight, Moderate, Severe };

// The severity words as the back side shows them, by Severity.
inline constexpr std::array<std::u16string_view, 3> kSeverityWords {
    u"ไม่รุนแรง/รุนแรงเล็กน้อย", u"รุนแรงปานกลาง", u"รุนแรงมาก"};

constexpr std::u16string_view severityText(Severity severity)
{
    return kSeverityWords.at(static_cast<std::size_t>(severity));
}

using SeverityRange = Scoring::ScoreRange<Severity>;

// Tested in order; a score of 13 to 18 (several ticks in one question) has none.
inline constexpr std::array<SeverityRange, 3> kSeverityRanges {{
    {0, 0, Severity::Slight},
    {1, 2, Severity::Moderate},
    {3, 12, Severity::Severe},
}};

// Box scores by box number: element 0 is Check1. Boxes that never count hold 0.
using BoxScores = std::array<int, kBoxCount>;

struct Result {
    std::int16_t score = 0;
    std::optional<Severity> severity;
};

std::optional<Severity> severityFor(int score);
Result interpret(const BoxScores &boxScores);

} // namespace Back
