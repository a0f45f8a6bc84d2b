#include "frontscoring.h"

namespace Front {

namespace {

constexpr bool itemTableIsSound()
{
    std::array<int, kBoxCount + 1> uses {};
    for (std::size_t i = 0; i < kItemTable.size(); ++i) {
        const ItemRow &row = kItemTable[i];
        if (row.item != static_cast<int>(i) + 1)
            return false;
        int valuesSeen = 0;
        for (const BoxCell &cell : row.cells) {
            if (cell.box < 1 || cell.box > kBoxCount || cell.tickedValue < 0 || cell.tickedValue > 2)
                return false;
            ++uses[static_cast<std::size_t>(cell.box)];
            valuesSeen |= 1 << cell.tickedValue;
        }
        if (valuesSeen != 0b111) // one box of each value 0, 1 and 2
            return false;
    }
    for (std::size_t box = 1; box < uses.size(); ++box)
        if (uses[box] != 1)
            return false;
    return true;
}
static_assert(itemTableIsSound(), "every box belongs to one item, and every item gives 0, 1 and 2 once");

constexpr bool everyItemInOneScale()
{
    std::array<int, kItemCount + 1> uses {};
    for (const SummedScale &scale : kSummedScales)
        for (int item : scale.items)
            ++uses[static_cast<std::size_t>(item)];
    for (std::size_t item = 1; item < uses.size(); ++item)
        if (uses[item] != 1)
            return false;
    return true;
}
static_assert(everyItemInOneScale(), "each item is counted in exactly one scale");

int itemSum(const BoxScores &boxScores, int item)
{
    int sum = 0;
    for (const BoxCell &cell : itemRow(item).cells)
        sum += boxScores[static_cast<std::size_t>(cell.box - 1)];
    return sum;
}

} // namespace

std::optional<Band> bandFor(const BandRule &rule, int score)
{
    return Scoring::lookup(rule, score);
}

Result interpret(const BoxScores &boxScores)
{
    Result result;
    std::int16_t total = 0;
    for (const SummedScale &scale : kSummedScales) {
        int sum = 0;
        for (int item : scale.items)
            sum += itemSum(boxScores, item);
        const auto slot = static_cast<std::size_t>(index(scale.scale));
        result.scores[slot] = static_cast<std::int16_t>(sum);
        result.bands[slot] = bandFor(scale.rule, sum);
        if (scale.scale != Scale::Social)
            total = static_cast<std::int16_t>(total + sum);
    }
    const auto totalSlot = static_cast<std::size_t>(index(Scale::Total));
    result.scores[totalSlot] = total;
    result.bands[totalSlot] = bandFor(kTotalRule, total);
    return result;
}

} // namespace Front
