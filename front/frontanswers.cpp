#include "frontanswers.h"

namespace Front {

AnswerCheck checkAnswers(const BoxTicks &ticks)
{
    AnswerCheck check;
    for (const ItemRow &row : kItemTable) {
        int tickCount = 0;
        for (const BoxCell &cell : row.cells)
            tickCount += ticks[static_cast<std::size_t>(cell.box - 1)] ? 1 : 0;
        if (tickCount == 0)
            check.unanswered.push_back(row.item);
        else if (tickCount > 1)
            check.doubled.push_back(row.item);
    }
    return check;
}

std::optional<BoxPlace> placeOfBox(int box)
{
    for (const ItemRow &row : kItemTable)
        for (std::size_t column = 0; column < row.cells.size(); ++column)
            if (row.cells[column].box == box)
                return BoxPlace {row.item, static_cast<int>(column)};
    return std::nullopt;
}

std::optional<int> itemAfter(int item)
{
    if (item < 1 || item >= kItemCount)
        return std::nullopt;
    return item + 1;
}

BoxScores scoresOf(const BoxTicks &ticks)
{
    BoxScores scores {};
    for (const ItemRow &row : kItemTable)
        for (const BoxCell &cell : row.cells) {
            const auto i = static_cast<std::size_t>(cell.box - 1);
            scores[i] = ticks[i] ? cell.tickedValue : 0;
        }
    return scores;
}

} // namespace Front
