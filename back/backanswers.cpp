#include "backanswers.h"

#include <algorithm>

namespace Back {

namespace {

// The "ใช่" answers of the difficulties question.
constexpr std::array<int, 3> kYesBoxes {2, 3, 4};

bool ticked(const BoxTicks &ticks, int box)
{
    return ticks.at(static_cast<std::size_t>(box - 1));
}

} // namespace

std::optional<BoxPlace> placeOfBox(int box)
{
    for (const AnswerRow &row : kAnswerRows) {
        if (row.leadingBox == box && box != 0)
            return BoxPlace {row.row, std::nullopt};
        for (std::size_t answer = 0; answer < row.answers.size(); ++answer)
            if (row.answers[answer] == box)
                return BoxPlace {row.row, static_cast<int>(answer)};
    }
    return std::nullopt;
}

bool followsFirstQuestion(int box)
{
    const std::optional<BoxPlace> place = placeOfBox(box);
    return place && place->row != Row::Difficulties;
}

std::optional<Row> rowAfter(Row row)
{
    const int next = static_cast<int>(row) + 1;
    if (next >= kRowCount)
        return std::nullopt;
    return static_cast<Row>(next);
}

AnswerCheck checkAnswers(const BoxTicks &ticks)
{
    std::array<int, kRowCount> tickCounts {};
    for (const AnswerRow &row : kAnswerRows)
        for (int box : row.answers)
            tickCounts[static_cast<std::size_t>(row.row)] += ticked(ticks, box) ? 1 : 0;
    bool yes = false;
    for (int box : kYesBoxes)
        yes = yes || ticked(ticks, box);
    const bool difficultiesBlank = tickCounts[static_cast<std::size_t>(Row::Difficulties)] == 0;
    const bool laterAnswered
        = std::any_of(tickCounts.cbegin() + 1, tickCounts.cend(), [](int count) { return count > 0; });
    // Later rows answered under a blank first question: the paper meant "ใช่".
    const bool followUpsExpected = yes || (difficultiesBlank && laterAnswered);

    AnswerCheck check;
    for (const AnswerRow &row : kAnswerRows) {
        const int tickCount = tickCounts[static_cast<std::size_t>(row.row)];
        const bool first = row.row == Row::Difficulties;
        if (tickCount > 1)
            check.doubled.push_back(row.row);
        else if (tickCount == 0 && (first ? laterAnswered : followUpsExpected))
            check.unanswered.push_back(row.row);
    }
    return check;
}

BoxScores scoresOf(const BoxTicks &ticks)
{
    BoxScores scores {};
    for (const ScoredBox &scored : kScoredBoxes) {
        const auto i = static_cast<std::size_t>(scored.box - 1);
        scores[i] = ticks[i] ? weightOf(scored.level) : 0;
    }
    return scores;
}

} // namespace Back
