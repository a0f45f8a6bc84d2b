#pragma once

// Made-up papers for the class list's tests and benchmark: ticks that give
// chosen scores, and classes built from them.

#include "backanswers.h"
#include "classlist/classdocument.h"
#include "classlist/classlist.h"
#include "frontanswers.h"
#include "paper.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace ClassFixture {

using namespace Qt::StringLiterals;

using FrontScores = std::array<int, Front::kScaleCount>; // Area1 to Area4, Total, Social

// Every result normal, the back side slight.
inline const FrontScores kNormal {1, 1, 1, 1, 4, 8};
// Every result a problem, the back side severe.
inline const FrontScores kProblem {8, 7, 8, 6, 29, 1};
// At risk on each area and on social; the four areas' sum, 21, makes the
// total a problem, since no areas all at risk sum to a total at risk.
inline const FrontScores kAtRisk {6, 5, 6, 4, 21, 3};

namespace Detail {

inline void tick(Front::BoxTicks &ticks, int box)
{
    ticks.at(static_cast<std::size_t>(box - 1)) = true;
}

inline void tick(Back::BoxTicks &ticks, int box)
{
    ticks.at(static_cast<std::size_t>(box - 1)) = true;
}

} // namespace Detail

// One tick per front item and per back row giving these scores: each area
// and social from its own items, up to 2 an item in their order. The back
// side answers "ใช่", a duration, then weights 2, 1, 0 over upset, the four
// areas and burden; beyond 12, a second tick of weight 1 beside a 2 raises
// it (those rows then read doubled).
inline PaperTicks ticksFor(std::optional<FrontScores> frontScores, std::optional<int> backScore)
{
    PaperTicks ticks;
    if (frontScores) {
        int areas = 0;
        for (const Front::SummedScale &scale : Front::kSummedScales) {
            int left = (*frontScores)[static_cast<std::size_t>(Front::index(scale.scale))];
            if (scale.scale != Front::Scale::Social)
                areas += left;
            for (int item : scale.items) {
                const int value = std::min(left, 2);
                left -= value;
                for (const Front::BoxCell &cell : Front::itemRow(item).cells)
                    if (cell.tickedValue == value)
                        Detail::tick(ticks.front, cell.box);
            }
            Q_ASSERT_X(left == 0, "ticksFor", "a scale beyond 10");
        }
        Q_ASSERT_X(areas == (*frontScores)[static_cast<std::size_t>(Front::index(Front::Scale::Total))], "ticksFor",
            "a total other than the four areas' sum");
    }
    if (backScore) {
        using Back::Row;
        Detail::tick(ticks.back, Back::answerRow(Row::Difficulties).answers[1]); // "ใช่ มีปัญหาเล็กน้อย"
        Detail::tick(ticks.back, Back::answerRow(Row::Duration).answers[1]);
        int left = *backScore;
        constexpr std::array<Row, 6> kWeighed {
            Row::Upset, Row::HomeLife, Row::Friendships, Row::ClassroomLearning, Row::LeisureActivities, Row::Burden};
        for (Row row : kWeighed) {
            const int weight = std::min(left, 2);
            left -= weight;
            // The answers run ไม่เลย, เล็กน้อย, ค่อนข้างมาก (1), มาก (2).
            Detail::tick(
                ticks.back, Back::answerRow(row).answers[static_cast<std::size_t>(weight == 0 ? 0 : weight + 1)]);
        }
        for (Row row : kWeighed) {
            if (left == 0)
                break;
            Detail::tick(ticks.back, Back::answerRow(row).answers[2]);
            --left;
        }
        Q_ASSERT_X(left == 0, "ticksFor", "a back score beyond 18");
    }
    return ticks;
}

// The ticks with these front items left blank.
template<typename Items> PaperTicks withItemsLeftOut(PaperTicks ticks, const Items &items)
{
    for (int item : items)
        for (const Front::BoxCell &cell : Front::itemRow(item).cells)
            ticks.front.at(static_cast<std::size_t>(cell.box - 1)) = false;
    return ticks;
}

// A finished paper through the list, to the pupil the list gives it.
inline PaperId addTo(
    ClassList &list, FormVersion version, std::optional<FrontScores> frontScores, std::optional<int> backScore)
{
    return list.addPaper(version, ticksFor(frontScores, backScore));
}

// A roster pupil for each name, numbered 1 on in order.
inline std::vector<PupilId> addRoster(ClassDocument &document, const QStringList &names)
{
    std::vector<PupilId> ids;
    for (qsizetype i = 0; i < names.size(); ++i)
        ids.push_back(document.addPupil(QString::number(i + 1), names[i]));
    return ids;
}

struct MadeUpPaper {
    FormVersion version = FormVersion::Parent;
    PaperTicks ticks;
};

// The n-th paper of a made-up class: versions and bands in turn; every fifth
// leaves one item out, so that its row has a remark.
inline MadeUpPaper madeUp(int n)
{
    static const std::array<FrontScores, 3> scores {kNormal, kAtRisk, kProblem};
    MadeUpPaper paper;
    paper.version = n % 7 == 6 ? FormVersion::Teacher : FormVersion::Parent;
    paper.ticks = ticksFor(scores[static_cast<std::size_t>(n % 3)], n % 4);
    if (n % 5 == 4)
        paper.ticks = withItemsLeftOut(paper.ticks, std::array<int, 1> {n % 25 + 1});
    return paper;
}

} // namespace ClassFixture
