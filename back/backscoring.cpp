#include "backscoring.h"

namespace Back {

std::optional<Severity> severityFor(int score)
{
    return Scoring::lookup(kSeverityRanges, score);
}

Result interpret(const BoxScores &boxScores)
{
    int sum = 0;
    for (const ScoredBox &scored : kScoredBoxes)
        sum += boxScores[static_cast<std::size_t>(scored.box - 1)];
    return {static_cast<std::int16_t>(sum), severityFor(sum)};
}

} // namespace Back
