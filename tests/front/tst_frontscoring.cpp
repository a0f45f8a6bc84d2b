#include "frontscoring.h"

#include <QTest>

#include <initializer_list>
#include <utility>

using Front::Band;
using Front::Scale;

Q_DECLARE_METATYPE(Front::BoxScores)
Q_DECLARE_METATYPE(std::optional<Band>)

namespace {

// Box scores as the tick rule would leave them: (box number, score) pairs.
Front::BoxScores scores(std::initializer_list<std::pair<int, int>> ticked)
{
    Front::BoxScores result {};
    for (const auto &[box, score] : ticked)
        result[static_cast<std::size_t>(box - 1)] += score;
    return result;
}

// "จริง" (worth 2) and "ค่อนข้างจริง" (worth 1) boxes of each area's items.
constexpr std::pair<int, int> kArea1Two[] = {{7, 2}, {24, 2}, {39, 2}, {73, 2}, {42, 2}};
constexpr std::pair<int, int> kArea1One[] = {{8, 1}, {23, 1}, {38, 1}, {74, 1}, {41, 1}};

Front::BoxScores area1Scoring(int score)
{
    Front::BoxScores result {};
    for (std::size_t i = 0; i < 5 && score > 0; ++i) {
        const auto &[box, value] = score >= 2 ? kArea1Two[i] : kArea1One[i];
        result[static_cast<std::size_t>(box - 1)] = value;
        score -= value;
    }
    return result;
}

} // namespace

class FrontScoringTest final : public QObject
{
    Q_OBJECT

private slots:
    void bandEdges_data();
    void bandEdges();
    void sheets_data();
    void sheets();
    void itemTable_data();
    void itemTable();
    void areaOneThroughTheSheet_data();
    void areaOneThroughTheSheet();
};

void FrontScoringTest::bandEdges_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("score");
    QTest::addColumn<std::optional<Band>>("band");

    struct Edge {
        Scale scale;
        int score;
        std::optional<Band> band;
    };
    const Edge edges[] = {
        {Scale::Area1, 0, Band::Normal},
        {Scale::Area1, 5, Band::Normal},
        {Scale::Area1, 6, Band::AtRisk},
        {Scale::Area1, 7, Band::Problem},
        {Scale::Area1, 10, Band::Problem},
        {Scale::Area1, 11, std::nullopt},
        {Scale::Area2, 4, Band::Normal},
        {Scale::Area2, 5, Band::AtRisk},
        {Scale::Area2, 6, Band::Problem},
        {Scale::Area2, 15, std::nullopt},
        {Scale::Area3, 5, Band::Normal},
        {Scale::Area3, 6, Band::AtRisk},
        {Scale::Area3, 7, Band::Problem},
        {Scale::Area3, 11, std::nullopt},
        {Scale::Area4, 3, Band::Normal},
        {Scale::Area4, 4, Band::AtRisk},
        {Scale::Area4, 5, Band::Problem},
        {Scale::Area4, 10, Band::Problem},
        {Scale::Area4, 11, std::nullopt},
        {Scale::Total, 0, Band::Normal},
        {Scale::Total, 16, Band::Normal},
        {Scale::Total, 17, Band::AtRisk},
        {Scale::Total, 18, Band::AtRisk},
        {Scale::Total, 19, Band::Problem},
        {Scale::Total, 40, Band::Problem},
        {Scale::Total, 41, std::nullopt},
        {Scale::Total, 60, std::nullopt},
        {Scale::Social, 0, Band::Problem},
        {Scale::Social, 2, Band::Problem},
        {Scale::Social, 3, Band::AtRisk},
        {Scale::Social, 4, Band::Normal},
        {Scale::Social, 10, Band::Normal},
        {Scale::Social, 11, std::nullopt},
    };
    for (const Edge &edge : edges)
        QTest::addRow("scale %d score %d", Front::index(edge.scale), edge.score)
            << Front::index(edge.scale) << edge.score << edge.band;
}

void FrontScoringTest::bandEdges()
{
    QFETCH(int, scale);
    QFETCH(int, score);
    QFETCH(std::optional<Band>, band);

    const Front::BandRule *rule = &Front::kTotalRule;
    for (const Front::SummedScale &summed : Front::kSummedScales)
        if (Front::index(summed.scale) == scale)
            rule = &summed.rule;
    QCOMPARE(Front::bandFor(*rule, score), band);
}

void FrontScoringTest::sheets_data()
{
    QTest::addColumn<Front::BoxScores>("boxScores");
    QTest::addColumn<QList<int>>("expected"); // Area1..4, Total, Social

    QTest::newRow("empty sheet") << scores({}) << QList<int> {0, 0, 0, 0, 0, 0};
    // Item 7 is reverse-scored: its "ไม่จริง" box counts 2 in area 2 and the total.
    QTest::newRow("item 7 not true") << scores({{19, 2}}) << QList<int> {0, 2, 0, 0, 2, 0};
    QTest::newRow("item 7 certainly true") << scores({{21, 0}}) << QList<int> {0, 0, 0, 0, 0, 0};
    QTest::newRow("reverse items 11 and 14") << scores({{31, 2}, {48, 2}}) << QList<int> {0, 0, 0, 4, 4, 0};
    QTest::newRow("reverse items 21 and 25") << scores({{60, 2}, {51, 2}}) << QList<int> {0, 0, 4, 0, 4, 0};
    // The social scale stays out of the total.
    QTest::newRow("item 1 certainly true") << scores({{3, 2}}) << QList<int> {0, 0, 0, 0, 0, 2};
    QTest::newRow("all three boxes of item 3") << scores({{9, 0}, {8, 1}, {7, 2}}) << QList<int> {3, 0, 0, 0, 3, 0};
    QTest::newRow("two boxes of item 1") << scores({{2, 1}, {3, 2}}) << QList<int> {0, 0, 0, 0, 0, 3};
    QTest::newRow("overview example") << scores({{7, 2}, {24, 2}, {38, 1}, {74, 1}, // area 1: 6
        {14, 1}, {20, 1}, {35, 1}, // area 2: 3
        {4, 2}, {27, 2}, {43, 2}, {60, 2}, // area 3: 8
        {17, 1}, // area 4: 1
        {3, 2}, {11, 1}, {29, 1}}) // social: 4
                                      << QList<int> {6, 3, 8, 1, 18, 4};
}

void FrontScoringTest::sheets()
{
    QFETCH(Front::BoxScores, boxScores);
    QFETCH(QList<int>, expected);

    const Front::Result result = Front::interpret(boxScores);
    for (int line = 0; line < Front::kScaleCount; ++line)
        QCOMPARE(result.scores[static_cast<std::size_t>(line)], expected[line]);
}

void FrontScoringTest::itemTable_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QList<int>>("boxes"); // NotTrue, SomewhatTrue, CertainlyTrue
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("item 1") << 1 << QList<int> {1, 2, 3} << QList<int> {0, 1, 2};
    QTest::newRow("item 2") << 2 << QList<int> {6, 5, 4} << QList<int> {0, 1, 2};
    QTest::newRow("item 7") << 7 << QList<int> {19, 20, 21} << QList<int> {2, 1, 0};
    QTest::newRow("item 9") << 9 << QList<int> {30, 29, 28} << QList<int> {0, 1, 2};
    QTest::newRow("item 14") << 14 << QList<int> {48, 47, 46} << QList<int> {2, 1, 0};
    QTest::newRow("item 16") << 16 << QList<int> {75, 74, 73} << QList<int> {0, 1, 2};
    QTest::newRow("item 24") << 24 << QList<int> {40, 41, 42} << QList<int> {0, 1, 2};
    QTest::newRow("item 25") << 25 << QList<int> {51, 50, 49} << QList<int> {2, 1, 0};
}

void FrontScoringTest::itemTable()
{
    QFETCH(int, item);
    QFETCH(QList<int>, boxes);
    QFETCH(QList<int>, values);

    const Front::ItemRow &row = Front::itemRow(item);
    for (int column = 0; column < Front::kColumnCount; ++column) {
        QCOMPARE(row.cells[static_cast<std::size_t>(column)].box, boxes[column]);
        QCOMPARE(row.cells[static_cast<std::size_t>(column)].tickedValue, values[column]);
    }
}

void FrontScoringTest::areaOneThroughTheSheet_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<std::optional<Band>>("band");

    QTest::newRow("5") << 5 << std::optional<Band>(Band::Normal);
    QTest::newRow("6") << 6 << std::optional<Band>(Band::AtRisk);
    QTest::newRow("7") << 7 << std::optional<Band>(Band::Problem);
    QTest::newRow("10") << 10 << std::optional<Band>(Band::Problem);
}

void FrontScoringTest::areaOneThroughTheSheet()
{
    QFETCH(int, score);
    QFETCH(std::optional<Band>, band);

    const Front::Result result = Front::interpret(area1Scoring(score));
    QCOMPARE(int(result.scores[0]), score);
    QCOMPARE(result.bands[0], band);
    QCOMPARE(int(result.scores[4]), score);
    // Nothing ticked on the social scale reads as a problem.
    QCOMPARE(result.bands[5], std::optional<Band>(Band::Problem));
}

QTEST_APPLESS_MAIN(FrontScoringTest)
#include "tst_frontscoring.moc"
