#include "backscoring.h"

namespace Back {

std::optional<Severity> severityFor(int score)
{
    for (const SeverityRange &range : kSeverityRanges)
        if (score >= range.low && score <= range.high)
            return range.severity;
    return std::nullopt;
}

Result interpret(const BoxScores &boxScores)
{
    int sum = 0;
    for (const ScoredBox &scored : kScoredBoxes)
        sum += boxScores[static_cast<std::size_t>(scored.box - 1)];
    return {static_cast<std::int16_t>(sum), severityFor(sum)};
}

} // namespace Back
