#pragma once

// Made-up children for the class list's tests and benchmark: results from
// scores, as the sheets' scoring would give them.

#include "classlist/childrecord.h"

#include <QString>

#include <array>
#include <optional>

namespace ClassFixture {

using namespace Qt::StringLiterals;

// A front side with these six scores (Area1 to Area4, Total, Social), each
// with the band its rule gives.
inline Front::Result front(const std::array<int, Front::kScaleCount> &scores)
{
    Front::Result result;
    for (int scale = 0; scale < Front::kScaleCount; ++scale) {
        const auto i = static_cast<std::size_t>(scale);
        result.scores[i] = static_cast<std::int16_t>(scores[i]);
        if (scale == Front::index(Front::Scale::Total)) {
            result.bands[i] = Front::bandFor(Front::kTotalRule, scores[i]);
            continue;
        }
        for (const Front::SummedScale &summed : Front::kSummedScales) {
            if (Front::index(summed.scale) == scale)
                result.bands[i] = Front::bandFor(summed.rule, scores[i]);
        }
    }
    return result;
}

inline Back::Result back(int score)
{
    return {static_cast<std::int16_t>(score), Back::severityFor(score)};
}

// Every result normal, the back side slight.
inline const std::array<int, Front::kScaleCount> kNormal {1, 1, 1, 1, 4, 8};
// Every result a problem, the back side severe.
inline const std::array<int, Front::kScaleCount> kProblem {8, 7, 8, 6, 29, 1};
// At risk on each scale.
inline const std::array<int, Front::kScaleCount> kAtRisk {6, 5, 6, 4, 17, 3};

inline ChildRecord child(FormVersion version, std::optional<std::array<int, Front::kScaleCount>> scores,
    std::optional<int> backScore, const QString &remark = {})
{
    ChildRecord record;
    record.version = version;
    if (scores)
        record.front = front(*scores);
    if (backScore)
        record.back = back(*backScore);
    record.remark = remark;
    return record;
}

// The n-th of a made-up class: versions, bands and remarks in turn.
inline ChildRecord madeUp(int n)
{
    static const std::array<std::array<int, Front::kScaleCount>, 3> scores {kNormal, kAtRisk, kProblem};
    const auto which = static_cast<std::size_t>(n % 3);
    ChildRecord record = child(n % 7 == 6 ? FormVersion::Teacher : FormVersion::Parent, scores[which], n % 4);
    if (n % 5 == 4)
        record.remark = u"ยังไม่ได้ตอบ ข้อ %1"_s.arg(n % 25 + 1);
    return record;
}

} // namespace ClassFixture
