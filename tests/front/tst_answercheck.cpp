#include "backanswers.h"
#include "frontanswers.h"

#include <QTest>

#include <initializer_list>
#include <vector>

using Back::Row;

Q_DECLARE_METATYPE(Front::BoxTicks)
Q_DECLARE_METATYPE(Back::BoxTicks)
Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<Back::Row>)

namespace {

template<typename Ticks> Ticks ticked(std::initializer_list<int> boxes)
{
    Ticks ticks {};
    for (int box : boxes)
        ticks[static_cast<std::size_t>(box - 1)] = true;
    return ticks;
}

// One tick on every item: the SomewhatTrue box, from the paper's table.
Front::BoxTicks everyItemOnce()
{
    Front::BoxTicks ticks {};
    for (const Front::ItemRow &row : Front::kItemTable)
        ticks[static_cast<std::size_t>(row.cells[1].box - 1)] = true;
    return ticks;
}

std::vector<int> allItems()
{
    std::vector<int> items;
    for (int item = 1; item <= 25; ++item)
        items.push_back(item);
    return items;
}

} // namespace

class AnswerCheckTest final : public QObject
{
    Q_OBJECT

private slots:
    void front_data();
    void front();
    void frontPlaces_data();
    void frontPlaces();
    void back_data();
    void back();
    void backPlaces_data();
    void backPlaces();
    void noDifficultiesGreysLaterQuestions();
};

void AnswerCheckTest::front_data()
{
    QTest::addColumn<Front::BoxTicks>("ticks");
    QTest::addColumn<std::vector<int>>("unanswered");
    QTest::addColumn<std::vector<int>>("doubled");

    QTest::addRow("nothing ticked") << Front::BoxTicks {} << allItems() << std::vector<int> {};
    QTest::addRow("every item once") << everyItemOnce() << std::vector<int> {} << std::vector<int> {};

    Front::BoxTicks skipped = everyItemOnce();
    skipped[74 - 1] = false; // item 16, in the right block
    skipped[20 - 1] = false; // item 7
    QTest::addRow("two skipped") << skipped << std::vector<int> {7, 16} << std::vector<int> {};

    Front::BoxTicks doubled = everyItemOnce();
    doubled[40 - 1] = true; // item 24, whose boxes are numbered out of the blocks' order
    doubled[49 - 1] = doubled[51 - 1] = true; // all three of item 25
    QTest::addRow("doubled and tripled") << doubled << std::vector<int> {} << std::vector<int> {24, 25};

    Front::BoxTicks both = everyItemOnce();
    both[2 - 1] = false;
    both[1 - 1] = both[3 - 1] = true; // item 1: two ticks, not its middle one
    both[44 - 1] = false; // item 15 skipped
    QTest::addRow("skipped and doubled") << both << std::vector<int> {15} << std::vector<int> {1};
    QTest::addRow("one tick only") << ticked<Front::BoxTicks>({60}) << [] {
        std::vector<int> items = allItems();
        items.erase(items.begin() + 20); // item 21
        return items;
    }() << std::vector<int> {};
}

void AnswerCheckTest::front()
{
    QFETCH(Front::BoxTicks, ticks);
    QFETCH(std::vector<int>, unanswered);
    QFETCH(std::vector<int>, doubled);

    const Front::AnswerCheck check = Front::checkAnswers(ticks);
    QCOMPARE(check.unanswered, unanswered);
    QCOMPARE(check.doubled, doubled);
}

void AnswerCheckTest::frontPlaces_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("itemAfter"); // 0: none

    QTest::addRow("Check1") << 1 << 1 << 0 << 2;
    QTest::addRow("Check4") << 4 << 2 << 2 << 3;
    QTest::addRow("Check43, item 15 to 16") << 43 << 15 << 2 << 16;
    QTest::addRow("Check75, item 16") << 75 << 16 << 0 << 17;
    QTest::addRow("Check40, item 24") << 40 << 24 << 0 << 25;
    QTest::addRow("Check49, item 25 last") << 49 << 25 << 2 << 0;
}

void AnswerCheckTest::frontPlaces()
{
    QFETCH(int, box);
    QFETCH(int, item);
    QFETCH(int, column);
    QFETCH(int, itemAfter);

    const std::optional<Front::BoxPlace> place = Front::placeOfBox(box);
    QVERIFY(place);
    QCOMPARE(place->item, item);
    QCOMPARE(place->column, column);
    QCOMPARE(Front::boxAt(item, column), box);
    QCOMPARE(Front::itemAfter(item).value_or(0), itemAfter);
}

void AnswerCheckTest::back_data()
{
    QTest::addColumn<Back::BoxTicks>("ticks");
    QTest::addColumn<std::vector<Row>>("unanswered");
    QTest::addColumn<std::vector<Row>>("doubled");

    using Rows = std::vector<Row>;
    const Rows followUps {Row::Duration, Row::Upset, Row::HomeLife, Row::Friendships, Row::ClassroomLearning,
        Row::LeisureActivities, Row::Burden};
    QTest::addRow("nothing ticked") << Back::BoxTicks {} << Rows {} << Rows {};
    QTest::addRow("no difficulties") << ticked<Back::BoxTicks>({1}) << Rows {} << Rows {};
    QTest::addRow("yes, nothing more") << ticked<Back::BoxTicks>({3}) << followUps << Rows {};
    QTest::addRow("yes, every row once") << ticked<Back::BoxTicks>({4, 8, 12, 16, 20, 24, 28, 33}) << Rows {}
                                         << Rows {};
    // The boxes in front of the area names are not answers.
    QTest::addRow("yes, leading boxes only") << ticked<Back::BoxTicks>({2, 29, 30, 31, 32}) << followUps << Rows {};
    QTest::addRow("yes, friendships skipped, upset doubled")
        << ticked<Back::BoxTicks>({2, 5, 9, 12, 13, 22, 27, 36}) << Rows {Row::Friendships} << Rows {Row::Upset};
    QTest::addRow("no and yes") << ticked<Back::BoxTicks>({1, 2, 5, 6, 10, 13, 17, 21, 25, 35}) << Rows {}
                                << Rows {Row::Difficulties, Row::Duration};
    // Later rows answered under a blank first question: it and the blank rows are named.
    QTest::addRow("doubled without yes") << ticked<Back::BoxTicks>({14, 15, 34, 33})
                                         << Rows {Row::Difficulties, Row::Duration, Row::Upset, Row::Friendships,
                                                Row::ClassroomLearning, Row::LeisureActivities}
                                         << Rows {Row::HomeLife, Row::Burden};
    QTest::addRow("first question blank, every later row once")
        << ticked<Back::BoxTicks>({5, 9, 13, 17, 21, 25, 35}) << Rows {Row::Difficulties} << Rows {};
    QTest::addRow("leading box only") << ticked<Back::BoxTicks>({29}) << Rows {} << Rows {};
}

void AnswerCheckTest::back()
{
    QFETCH(Back::BoxTicks, ticks);
    QFETCH(std::vector<Row>, unanswered);
    QFETCH(std::vector<Row>, doubled);

    const Back::AnswerCheck check = Back::checkAnswers(ticks);
    QVERIFY(check.unanswered == unanswered);
    QVERIFY(check.doubled == doubled);
}

void AnswerCheckTest::backPlaces_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer"); // -1: not an answer

    QTest::addRow("Check1") << 1 << int(Row::Difficulties) << 0;
    QTest::addRow("Check6 first of duration") << 6 << int(Row::Duration) << 0;
    QTest::addRow("Check5 second of duration") << 5 << int(Row::Duration) << 1;
    QTest::addRow("Check9 second of upset") << 9 << int(Row::Upset) << 1;
    QTest::addRow("Check29 leading box") << 29 << int(Row::HomeLife) << -1;
    QTest::addRow("Check20") << 20 << int(Row::Friendships) << 3;
    QTest::addRow("Check33 last of burden") << 33 << int(Row::Burden) << 3;
}

void AnswerCheckTest::backPlaces()
{
    QFETCH(int, box);
    QFETCH(int, row);
    QFETCH(int, answer);

    const std::optional<Back::BoxPlace> place = Back::placeOfBox(box);
    QVERIFY(place);
    QCOMPARE(int(place->row), row);
    QCOMPARE(place->answer.value_or(-1), answer);
    QVERIFY(!Back::placeOfBox(0));
    QCOMPARE(Back::rowAfter(Row::Burden), std::nullopt);
    QCOMPARE(Back::rowAfter(Row::Upset), std::optional(Row::HomeLife));
}

// "ไม่" greys out every box after the first question's: Check5 to Check36.
void AnswerCheckTest::noDifficultiesGreysLaterQuestions()
{
    for (int box = 1; box <= Back::kBoxCount; ++box)
        QVERIFY2(Back::followsFirstQuestion(box) == (box >= 5), qPrintable(QString::number(box)));
}

QTEST_APPLESS_MAIN(AnswerCheckTest)
#include "tst_answercheck.moc"
