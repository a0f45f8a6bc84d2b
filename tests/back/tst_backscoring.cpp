#include "backscoring.h"

#include <QTest>

#include <initializer_list>

using Back::Severity;

Q_DECLARE_METATYPE(Back::BoxScores)
Q_DECLARE_METATYPE(std::optional<Severity>)

namespace {

// Box scores as the tick rule would leave them: (box number, score) pairs.
Back::BoxScores scores(std::initializer_list<std::pair<int, int>> ticked)
{
    Back::BoxScores result {};
    for (const auto &[box, score] : ticked)
        result[static_cast<std::size_t>(box - 1)] += score;
    return result;
}

} // namespace

class BackScoringTest final : public QObject
{
    Q_OBJECT

private slots:
    void severityEdges_data();
    void severityEdges();
    void sheets_data();
    void sheets();
    void tickedValues_data();
    void tickedValues();
};

void BackScoringTest::severityEdges_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<std::optional<Severity>>("severity");

    QTest::newRow("0") << 0 << std::optional(Severity::Slight);
    QTest::newRow("1") << 1 << std::optional(Severity::Moderate);
    QTest::newRow("2") << 2 << std::optional(Severity::Moderate);
    QTest::newRow("3") << 3 << std::optional(Severity::Severe);
    QTest::newRow("12") << 12 << std::optional(Severity::Severe);
    QTest::newRow("13") << 13 << std::optional<Severity>();
    QTest::newRow("18") << 18 << std::optional<Severity>();
}

void BackScoringTest::severityEdges()
{
    QFETCH(int, score);
    QFETCH(std::optional<Severity>, severity);
    QCOMPARE(Back::severityFor(score), severity);
}

void BackScoringTest::sheets_data()
{
    QTest::addColumn<Back::BoxScores>("boxScores");
    QTest::addColumn<int>("score");

    QTest::newRow("nothing") << scores({}) << 0;
    QTest::newRow("upset quite a lot") << scores({{11, 1}}) << 1;
    QTest::newRow("upset a lot") << scores({{12, 2}}) << 2;
    QTest::newRow("upset and home life") << scores({{11, 1}, {15, 1}}) << 2;
    QTest::newRow("plus burden") << scores({{11, 1}, {15, 1}, {34, 1}}) << 3;
    QTest::newRow("a lot everywhere") << scores({{12, 2}, {16, 2}, {20, 2}, {24, 2}, {28, 2}, {33, 2}}) << 12;
    QTest::newRow("several ticks in one question")
        << scores({{12, 2}, {16, 2}, {20, 2}, {24, 2}, {28, 2}, {33, 2}, {11, 1}}) << 13;
    // Boxes that carry no score never count, whatever they hold.
    QTest::newRow("unscored boxes") << scores({{1, 2}, {2, 2}, {5, 2}, {8, 2}, {29, 2}, {32, 2}}) << 0;
}

void BackScoringTest::sheets()
{
    QFETCH(Back::BoxScores, boxScores);
    QFETCH(int, score);
    QCOMPARE(int(Back::interpret(boxScores).score), score);
}

void BackScoringTest::tickedValues_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("value");

    const std::pair<int, int> expected[] = {
        {10, 0}, {9, 0}, {11, 1}, {12, 2}, // upset
        {13, 0}, {14, 0}, {15, 1}, {16, 2}, {17, 0}, {18, 0}, {19, 1}, {20, 2}, // home life, friendships
        {21, 0}, {22, 0}, {23, 1}, {24, 2}, {25, 0}, {26, 0}, {27, 1}, {28, 2}, // classroom, leisure
        {35, 0}, {36, 0}, {34, 1}, {33, 2}, // burden
    };
    for (const auto &[box, value] : expected)
        QTest::addRow("Check%d", box) << box << value;
}

void BackScoringTest::tickedValues()
{
    QFETCH(int, box);
    QFETCH(int, value);
    int found = 0;
    for (const Back::ScoredBox &scored : Back::kScoredBoxes) {
        if (scored.box == box) {
            ++found;
            QCOMPARE(Back::weightOf(scored.level), value);
        }
    }
    QCOMPARE(found, 1);
}

QTEST_APPLESS_MAIN(BackScoringTest)
#include "tst_backscoring.moc"
