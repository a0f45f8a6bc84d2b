#include "backanswers.h"

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

std::optional<Row> rowAfter(Row row)
{
    const int next = static_cast<int>(row) + 1;
    if (next >= kRowCount)
        return std::nullopt;
    return static_cast<Row>(next);
}

AnswerCheck checkAnswers(const BoxTicks &ticks)
{
    bool yes = false;
    for (int box : kYesBoxes)
        yes = yes || ticked(ticks, box);
    AnswerCheck check;
    for (const AnswerRow &row : kAnswerRows) {
        int tickCount = 0;
        for (int box : row.answers)
            tickCount += ticked(ticks, box) ? 1 : 0;
        if (tickCount > 1)
            check.doubled.push_back(row.row);
        else if (tickCount == 0 && yes && row.row != Row::Difficulties)
            check.unanswered.push_back(row.row);
    }
    return check;
}

} // namespace Back
