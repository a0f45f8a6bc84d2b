#include "back/backsheetscreen.h"
#include "front/frontsheetscreen.h"

#include <QCheckBox>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPatterns = 200;

// Ticks each box with the given chance, as the user would, and returns them.
template<typename Ticks> Ticks tickAtRandom(QWidget &sheet, QRandomGenerator &random, double chance, int firstBox = 1)
{
    Ticks ticks {};
    for (int box = firstBox; box <= int(ticks.size()); ++box) {
        const bool tick = random.bounded(1.0) < chance;
        sheet.findChild<QCheckBox *>(u"Check%1"_s.arg(box))->setChecked(tick);
        ticks[std::size_t(box - 1)] = tick;
    }
    return ticks;
}

} // namespace

// The screens' scores, kept by each box as it changes, and the paper core's
// tick rule agree on every pattern of ticks.
class PaperScreensTest final : public QObject
{
    Q_OBJECT

private slots:
    void scoresOfTicks_data();
    void scoresOfTicks();
};

void PaperScreensTest::scoresOfTicks_data()
{
    QTest::addColumn<double>("chance");
    QTest::addRow("a few ticks") << 0.1;
    QTest::addRow("one in three") << 1.0 / 3;
    QTest::addRow("most boxes") << 0.8;
}

void PaperScreensTest::scoresOfTicks()
{
    QFETCH(double, chance);
    QRandomGenerator random(20261210);
    FrontSheetScreen front;
    BackSheetScreen back;
    for (int pattern = 0; pattern < kPatterns; ++pattern) {
        const auto frontTicks = tickAtRandom<Front::BoxTicks>(front, random, chance);
        QCOMPARE(front.ticks(), frontTicks);
        QCOMPARE(front.boxScores(), Front::scoresOf(frontTicks));
        // Box 1 ("ไม่") stays clear: its tick stops for a warning, and it never counts.
        const auto backTicks = tickAtRandom<Back::BoxTicks>(back, random, chance, 2);
        QCOMPARE(back.ticks(), backTicks);
        QCOMPARE(back.boxScores(), Back::scoresOf(backTicks));
    }
}

QTEST_MAIN(PaperScreensTest)
#include "tst_paperscreens.moc"
