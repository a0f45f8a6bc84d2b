#include "words.h"

#include <QTest>

#include <initializer_list>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PaperTicks)
Q_DECLARE_METATYPE(std::optional<FormVersion>)

namespace {

// The front side as its columns are ticked, item 1 first: '0' "ไม่จริง",
// '1' "ค่อนข้างจริง", '2' "จริง", '.' left out; then boxes ticked besides.
Front::BoxTicks front(const char (&columns)[Front::kItemCount + 1], std::initializer_list<int> alsoTicked = {})
{
    Front::BoxTicks ticks {};
    for (int item = 1; item <= Front::kItemCount; ++item)
        if (const char column = columns[item - 1]; column != '.')
            ticks[static_cast<std::size_t>(Front::boxAt(item, column - '0') - 1)] = true;
    for (int box : alsoTicked)
        ticks[static_cast<std::size_t>(box - 1)] = true;
    return ticks;
}

Back::BoxTicks back(std::initializer_list<int> ticked)
{
    Back::BoxTicks ticks {};
    for (int box : ticked)
        ticks[static_cast<std::size_t>(box - 1)] = true;
    return ticks;
}

// Areas 6, 3, 8 and 1, social 4: items 7, 11, 14, 21 and 25 count the other way.
constexpr char kExample[] = "2222212202"
                            "2122200000"
                            "00002";
constexpr char kBlank[] = "........................."; // 25

// Back: "ใช่", then one answer in every later row; upset "มาก" (2) and home
// life "ค่อนข้างมาก" (1).
constexpr std::initializer_list<int> kBackExample {3, 6, 12, 15, 17, 21, 25, 35};

} // namespace

class PaperTest final : public QObject
{
    Q_OBJECT

private slots:
    void interpretPaper_data();
    void interpretPaper();
    void versions_data();
    void versions();
};

void PaperTest::interpretPaper_data()
{
    QTest::addColumn<PaperTicks>("ticks");
    QTest::addColumn<QList<int>>("frontScores"); // empty: no front result
    QTest::addColumn<QStringList>("bandWords");
    QTest::addColumn<int>("backScore"); // -1: no back result
    QTest::addColumn<QString>("severityWord");
    QTest::addColumn<QString>("remark");

    const QString frontLeftOut = u"ด้านหน้า ยังไม่ได้ตอบ ข้อ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, "
                                 u"18, 19, 20, 21, 22, 23, 24, 25"_s;
    QTest::addRow("front complete, back untouched")
        << PaperTicks {front(kExample), {}} << QList<int> {6, 3, 8, 1, 18, 4}
        << QStringList {u"เสี่ยง"_s, u"ปกติ"_s, u"มีปัญหา"_s, u"ปกติ"_s, u"เสี่ยง"_s, u"ปกติ"_s} << -1 << QString() << QString();
    QTest::addRow("back complete, front untouched")
        << PaperTicks {{}, back(kBackExample)} << QList<int> {} << QStringList {} << 3 << u"รุนแรงมาก"_s << frontLeftOut;
    QTest::addRow("no difficulties") << PaperTicks {front(kExample), back({1})} << QList<int> {6, 3, 8, 1, 18, 4}
                                     << QStringList {u"เสี่ยง"_s, u"ปกติ"_s, u"มีปัญหา"_s, u"ปกติ"_s, u"เสี่ยง"_s, u"ปกติ"_s}
                                     << 0 << u"ไม่รุนแรง/รุนแรงเล็กน้อย"_s << QString();
    // Item 3 left out and item 5 also "ไม่จริง"; upset doubled, leisure left out.
    QTest::addRow("left out and doubled on both sides")
        << PaperTicks {front("22.2212202"
                             "2122200000"
                             "00002",
                           {Front::boxAt(5, 0)}),
               back({2, 5, 11, 12, 13, 17, 21, 33})}
        << QList<int> {4, 3, 8, 1, 16, 4} << QStringList {u"ปกติ"_s, u"ปกติ"_s, u"มีปัญหา"_s, u"ปกติ"_s, u"ปกติ"_s, u"ปกติ"_s}
        << 5 << u"รุนแรงมาก"_s
        << u"ด้านหน้า ยังไม่ได้ตอบ ข้อ 3; ตอบเกิน 1 ช่อง ข้อ 5 / "
           u"ด้านหลัง ยังไม่ได้ตอบ: กิจกรรมยามว่าง; ตอบเกิน 1 ช่อง: ความไม่สบายใจของเด็ก"_s;
    QTest::addRow("nothing ticked") << PaperTicks {front(kBlank), {}} << QList<int> {} << QStringList {} << -1
                                    << QString() << frontLeftOut;
}

void PaperTest::interpretPaper()
{
    QFETCH(PaperTicks, ticks);
    QFETCH(QList<int>, frontScores);
    QFETCH(QStringList, bandWords);
    QFETCH(int, backScore);
    QFETCH(QString, severityWord);
    QFETCH(QString, remark);

    const PaperResults results = ::interpretPaper(ticks);
    QCOMPARE(results.front.has_value(), !frontScores.isEmpty());
    if (results.front) {
        QList<int> scores;
        QStringList words;
        for (std::size_t scale = 0; scale < Front::kScaleCount; ++scale) {
            scores << results.front->scores[scale];
            words << Front::bandWord(results.front->bands[scale].value());
        }
        QCOMPARE(scores, frontScores);
        QCOMPARE(words, bandWords);
    }
    QCOMPARE(results.back.has_value(), backScore >= 0);
    if (results.back) {
        QCOMPARE(int(results.back->score), backScore);
        QCOMPARE(Back::severityWord(results.back->severity.value()), severityWord);
    }
    QCOMPARE(paperRemark(ticks), remark);
}

void PaperTest::versions_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<std::optional<FormVersion>>("version");
    QTest::addColumn<QString>("name");

    QTest::addRow("parent") << "parent"_ba << std::optional {FormVersion::Parent} << u"ผู้ปกครอง"_s;
    QTest::addRow("teacher") << "teacher"_ba << std::optional {FormVersion::Teacher} << u"ครูประจำชั้น"_s;
    QTest::addRow("pupil") << "pupil"_ba << std::optional {FormVersion::Pupil} << u"นักเรียน"_s;
    QTest::addRow("another case") << "Parent"_ba << std::optional<FormVersion> {} << QString();
    QTest::addRow("empty") << QByteArray() << std::optional<FormVersion> {} << QString();
}

void PaperTest::versions()
{
    QFETCH(QByteArray, key);
    QFETCH(std::optional<FormVersion>, version);
    QFETCH(QString, name);

    QCOMPARE(versionFromKey(std::string_view(key.constData(), std::size_t(key.size()))), version);
    if (version) {
        QCOMPARE(versionName(*version), name);
        QCOMPARE(QByteArray(versionKey(*version).data(), qsizetype(versionKey(*version).size())), key);
    }
}

QTEST_APPLESS_MAIN(PaperTest)
#include "tst_paper.moc"
