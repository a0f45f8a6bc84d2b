#include "classtest.h"

#include "classlist/classexport.h"
#include "classlist/classlistwindow.h"

#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QScreen>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace ClassFixture;

namespace {

const QString kHeading = u"ลำดับ,เลขที่,ชื่อ-สกุล,ฉบับ,คะแนนด้านที่ 1,แปลผลด้านที่ 1,คะแนนด้านที่ 2,แปลผลด้านที่ 2,"
                         u"คะแนนด้านที่ 3,แปลผลด้านที่ 3,คะแนนด้านที่ 4,แปลผลด้านที่ 4,รวมคะแนนทั้ง 4 ด้าน,"
                         u"แปลผลรวม 4 ด้าน,คะแนนสัมพันธภาพทางสังคม,แปลผลสัมพันธภาพทางสังคม,คะแนนด้านหลัง,"
                         u"ระดับความรุนแรง,หมายเหตุ"_s;

// The results of kNormal, kAtRisk and kProblem as a row writes them.
const QString kNormalFields = u"1,ปกติ,1,ปกติ,1,ปกติ,1,ปกติ,4,ปกติ,8,ปกติ"_s;
const QString kAtRiskFields = u"6,เสี่ยง,5,เสี่ยง,6,เสี่ยง,4,เสี่ยง,21,มีปัญหา,3,เสี่ยง"_s;
const QString kProblemFields = u"8,มีปัญหา,7,มีปัญหา,8,มีปัญหา,6,มีปัญหา,29,มีปัญหา,1,มีปัญหา"_s;
const QString kNoFront = u",,,,,,,,,,,"_s;

// A paper to add: its version, scores and the front items it leaves blank.
struct MadePaper {
    FormVersion version = FormVersion::Parent;
    std::optional<FrontScores> front;
    std::optional<int> back;
    QList<int> leftOut;
};

// The remark of a back side alone, 14 by two rows ticked twice, as CSV quotes it.
const QString kBackOnlyRemark = [] {
    QStringList items;
    for (int item = 1; item <= 25; ++item)
        items << QString::number(item);
    return u"\"ด้านหน้า ยังไม่ได้ตอบ ข้อ "_s + items.join(u", "_s)
        + u" / ด้านหลัง ตอบเกิน 1 ช่อง: ความไม่สบายใจของเด็ก, ความเป็นอยู่ที่บ้าน\""_s;
}();

MadePaper made(FormVersion version, std::optional<FrontScores> front, std::optional<int> back, QList<int> leftOut = {})
{
    return {version, front, back, std::move(leftOut)};
}

// The summary's lines that the cases check: each version's heading, the
// first area, the social score (which runs the other way) and the severity.
bool checked(const QString &firstCell)
{
    return firstCell.startsWith(u"ฉบับ"_s) || firstCell == u"ด้านที่ 1"_s || firstCell == u"สัมพันธภาพทางสังคม"_s
        || firstCell == u"ระดับความรุนแรง"_s;
}

} // namespace

Q_DECLARE_METATYPE(MadePaper)

class ClassListTest final : public ClassTest::ListTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { dropList(); }

    void list_data();
    void list();
    void keeping_data();
    void keeping();
    void placement_data();
    void placement();
    void opensWithoutTakingFocus();

private:
    QStringList summaryLines() const;
};

void ClassListTest::init()
{
    QApplication::clipboard()->clear();
    makeList();
}

QStringList ClassListTest::summaryLines() const
{
    const auto *view = KvtTest::control<QTableView>(m_list->window(), u"ClassSummary"_s);
    const QAbstractItemModel *model = view->model();
    QStringList lines;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        if (checked(cells.front()))
            lines << cells.join(u'|');
    }
    return lines;
}

void ClassListTest::list_data()
{
    QTest::addColumn<QStringList>("roster"); // numbered from 1
    QTest::addColumn<QList<MadePaper>>("papers");
    QTest::addColumn<QStringList>("names"); // typed into the rows in turn; empty: none typed
    QTest::addColumn<QList<int>>("deleted");
    QTest::addColumn<QStringList>("csvRows");
    QTest::addColumn<QStringList>("copiedNames");
    QTest::addColumn<QStringList>("summary");

    QTest::addRow("a Thai name") << QStringList {} << QList<MadePaper> {made(FormVersion::Parent, kNormal, 0)}
                                 << QStringList {u"ด.ญ.สมหญิง ใจดี"_s} << QList<int> {}
                                 << QStringList {u"1,,ด.ญ.สมหญิง ใจดี,ผู้ปกครอง,"_s + kNormalFields
                                        + u",0,ไม่รุนแรง/รุนแรงเล็กน้อย,"_s}
                                 << QStringList {u"ด.ญ.สมหญิง ใจดี"_s}
                                 << QStringList {u"ฉบับผู้ปกครอง 1 คน||||"_s,
                                        u"ด้านที่ 1|1 (100.0%)|0 (0.0%)|0 (0.0%)|0 (0.0%)"_s,
                                        u"สัมพันธภาพทางสังคม|1 (100.0%)|0 (0.0%)|0 (0.0%)|0 (0.0%)"_s,
                                        u"ระดับความรุนแรง|1 (100.0%)|0 (0.0%)|0 (0.0%)|0 (0.0%)"_s};

    // Pupils in roster order with their number and name, one waiting for a
    // paper, and a paper beyond the roster last; the summary counts papers.
    QTest::addRow("a roster") << QStringList {u"ด.ช. กล้า หาญ"_s, u"ด.ญ. ขวัญ ใจ"_s, u"ด.ช. ภูมิ ดี"_s}
                              << QList<MadePaper> {made(FormVersion::Parent, kNormal, 0),
                                     made(FormVersion::Parent, kProblem, 3), made(FormVersion::Teacher, kAtRisk, 1)}
                              << QStringList {} << QList<int> {}
                              << QStringList {u"1,1,ด.ช. กล้า หาญ,ผู้ปกครอง,"_s + kNormalFields
                                         + u",0,ไม่รุนแรง/รุนแรงเล็กน้อย,"_s,
                                     u"2,1,ด.ช. กล้า หาญ,ครูประจำชั้น,"_s + kAtRiskFields + u",1,รุนแรงปานกลาง,"_s,
                                     u"3,2,ด.ญ. ขวัญ ใจ,ผู้ปกครอง,"_s + kProblemFields + u",3,รุนแรงมาก,"_s,
                                     u"4,3,ด.ช. ภูมิ ดี,,"_s + kNoFront + u",,,"_s}
                              << QStringList {u"ด.ช. กล้า หาญ"_s, u"ด.ช. กล้า หาญ"_s, u"ด.ญ. ขวัญ ใจ"_s, u"ด.ช. ภูมิ ดี"_s}
                              << QStringList {u"ฉบับผู้ปกครอง 2 คน||||"_s,
                                     u"ด้านที่ 1|1 (50.0%)|0 (0.0%)|1 (50.0%)|0 (0.0%)"_s,
                                     u"สัมพันธภาพทางสังคม|1 (50.0%)|0 (0.0%)|1 (50.0%)|0 (0.0%)"_s,
                                     u"ระดับความรุนแรง|1 (50.0%)|0 (0.0%)|1 (50.0%)|0 (0.0%)"_s,
                                     u"ฉบับครูประจำชั้น 1 คน||||"_s, u"ด้านที่ 1|0 (0.0%)|1 (100.0%)|0 (0.0%)|0 (0.0%)"_s,
                                     u"สัมพันธภาพทางสังคม|0 (0.0%)|1 (100.0%)|0 (0.0%)|0 (0.0%)"_s,
                                     u"ระดับความรุนแรง|0 (0.0%)|1 (100.0%)|0 (0.0%)|0 (0.0%)"_s};

    // Names a spreadsheet would take as formulas, commas, quotes and blanks;
    // a remark with a comma. Items 4 and 9 give nothing to kProblem's scores.
    QTest::addRow("quoted and guarded")
        << QStringList {}
        << QList<MadePaper> {made(FormVersion::Teacher, kProblem, 2, {4, 9}), made(FormVersion::Teacher, kAtRisk, 5),
               made(FormVersion::Teacher, kNormal, 0), made(FormVersion::Teacher, kNormal, 0),
               made(FormVersion::Teacher, kNormal, 0)}
        << QStringList {u"=1+1"_s, u"สมชาย \"ต้น\""_s, u"-5"_s, u"@SUM(A1)"_s, u"+66 81"_s} << QList<int> {}
        << QStringList {u"1,,'=1+1,ครูประจำชั้น,"_s + kProblemFields + u",2,รุนแรงปานกลาง,\"ด้านหน้า ยังไม่ได้ตอบ ข้อ 4, 9\""_s,
               u"2,,\"สมชาย \"\"ต้น\"\"\",ครูประจำชั้น,"_s + kAtRiskFields + u",5,รุนแรงมาก,"_s,
               u"3,,'-5,ครูประจำชั้น,"_s + kNormalFields + u",0,ไม่รุนแรง/รุนแรงเล็กน้อย,"_s,
               u"4,,'@SUM(A1),ครูประจำชั้น,"_s + kNormalFields + u",0,ไม่รุนแรง/รุนแรงเล็กน้อย,"_s,
               u"5,,'+66 81,ครูประจำชั้น,"_s + kNormalFields + u",0,ไม่รุนแรง/รุนแรงเล็กน้อย,"_s}
        << QStringList {u"'=1+1"_s, u"สมชาย \"ต้น\""_s, u"'-5"_s, u"'@SUM(A1)"_s, u"'+66 81"_s}
        << QStringList {u"ฉบับครูประจำชั้น 5 คน||||"_s, u"ด้านที่ 1|3 (60.0%)|1 (20.0%)|1 (20.0%)|0 (0.0%)"_s,
               u"สัมพันธภาพทางสังคม|3 (60.0%)|1 (20.0%)|1 (20.0%)|0 (0.0%)"_s,
               u"ระดับความรุนแรง|3 (60.0%)|1 (20.0%)|1 (20.0%)|0 (0.0%)"_s};

    // A leading quote would make the spreadsheet join the fields after it.
    QTest::addRow("begins with a quote") << QStringList {} << QList<MadePaper> {made(FormVersion::Parent, kNormal, 0)}
                                         << QStringList {u"\"ต้น\" สมชาย"_s} << QList<int> {}
                                         << QStringList {u"1,,\"'\"\"ต้น\"\" สมชาย\",ผู้ปกครอง,"_s + kNormalFields
                                                + u",0,ไม่รุนแรง/รุนแรงเล็กน้อย,"_s}
                                         << QStringList {u"'\"ต้น\" สมชาย"_s}
                                         << QStringList {u"ฉบับผู้ปกครอง 1 คน||||"_s,
                                                u"ด้านที่ 1|1 (100.0%)|0 (0.0%)|0 (0.0%)|0 (0.0%)"_s,
                                                u"สัมพันธภาพทางสังคม|1 (100.0%)|0 (0.0%)|0 (0.0%)|0 (0.0%)"_s,
                                                u"ระดับความรุนแรง|1 (100.0%)|0 (0.0%)|0 (0.0%)|0 (0.0%)"_s};

    QTest::addRow("renumbered after a delete")
        << QStringList {}
        << QList<MadePaper> {made(FormVersion::Parent, kNormal, 0), made(FormVersion::Parent, kProblem, 3),
               made(FormVersion::Parent, kAtRisk, 1), made(FormVersion::Parent, kProblem, 4)}
        << QStringList {u"ก"_s, u"ข"_s, u"ค"_s, u"ง"_s} << QList<int> {2, 0}
        << QStringList {u"1,,ข,ผู้ปกครอง,"_s + kProblemFields + u",3,รุนแรงมาก,"_s,
               u"2,,ง,ผู้ปกครอง,"_s + kProblemFields + u",4,รุนแรงมาก,"_s}
        << QStringList {u"ข"_s, u"ง"_s}
        << QStringList {u"ฉบับผู้ปกครอง 2 คน||||"_s, u"ด้านที่ 1|0 (0.0%)|0 (0.0%)|2 (100.0%)|0 (0.0%)"_s,
               u"สัมพันธภาพทางสังคม|0 (0.0%)|0 (0.0%)|2 (100.0%)|0 (0.0%)"_s,
               u"ระดับความรุนแรง|0 (0.0%)|0 (0.0%)|2 (100.0%)|0 (0.0%)"_s};

    // Each version's shares of its own rows; a side not filled in, or a score
    // beyond every range (two ticks in a row of the back side), has no result.
    QTest::addRow("versions apart")
        << QStringList {}
        << QList<MadePaper> {made(FormVersion::Pupil, std::nullopt, 14), made(FormVersion::Parent, kNormal, 0),
               made(FormVersion::Parent, kProblem, std::nullopt), made(FormVersion::Teacher, kAtRisk, 1)}
        << QStringList {} << QList<int> {}
        << QStringList {u"1,,,นักเรียน,"_s + kNoFront + u",14,,"_s + kBackOnlyRemark,
               u"2,,,ผู้ปกครอง,"_s + kNormalFields + u",0,ไม่รุนแรง/รุนแรงเล็กน้อย,"_s,
               u"3,,,ผู้ปกครอง,"_s + kProblemFields + u",,,"_s,
               u"4,,,ครูประจำชั้น,"_s + kAtRiskFields + u",1,รุนแรงปานกลาง,"_s}
        << QStringList {QString(), QString(), QString(), QString()}
        << QStringList {u"ฉบับผู้ปกครอง 2 คน||||"_s, u"ด้านที่ 1|1 (50.0%)|0 (0.0%)|1 (50.0%)|0 (0.0%)"_s,
               u"สัมพันธภาพทางสังคม|1 (50.0%)|0 (0.0%)|1 (50.0%)|0 (0.0%)"_s,
               u"ระดับความรุนแรง|1 (50.0%)|0 (0.0%)|0 (0.0%)|1 (50.0%)"_s, u"ฉบับครูประจำชั้น 1 คน||||"_s,
               u"ด้านที่ 1|0 (0.0%)|1 (100.0%)|0 (0.0%)|0 (0.0%)"_s,
               u"สัมพันธภาพทางสังคม|0 (0.0%)|1 (100.0%)|0 (0.0%)|0 (0.0%)"_s,
               u"ระดับความรุนแรง|0 (0.0%)|1 (100.0%)|0 (0.0%)|0 (0.0%)"_s, u"ฉบับนักเรียน 1 คน||||"_s,
               u"ด้านที่ 1|0 (0.0%)|0 (0.0%)|0 (0.0%)|1 (100.0%)"_s,
               u"สัมพันธภาพทางสังคม|0 (0.0%)|0 (0.0%)|0 (0.0%)|1 (100.0%)"_s,
               u"ระดับความรุนแรง|0 (0.0%)|0 (0.0%)|0 (0.0%)|1 (100.0%)"_s};

    QTest::addRow("every row deleted") << QStringList {}
                                       << QList<MadePaper> {made(FormVersion::Parent, kNormal, 0),
                                              made(FormVersion::Pupil, kNormal, 0)}
                                       << QStringList {} << QList<int> {0, 1} << QStringList {} << QStringList {}
                                       << QStringList {};
}

void ClassListTest::list()
{
    QFETCH(QStringList, roster);
    QFETCH(QList<MadePaper>, papers);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, deleted);
    QFETCH(QStringList, csvRows);
    QFETCH(QStringList, copiedNames);
    QFETCH(QStringList, summary);

    addRoster(m_list->document(), roster);
    for (const MadePaper &paper : papers)
        m_list->addPaper(paper.version, withItemsLeftOut(ticksFor(paper.front, paper.back), paper.leftOut));
    m_list->showWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_list->window()));
    for (int row = 0; row < names.size(); ++row)
        typeName(row, names[row]);
    if (!deleted.isEmpty()) {
        const ClassTest::Answer answer(u"ลบ"_s);
        deleteRows(deleted);
        QCOMPARE(answer.answered(), 1);
    }
    QCOMPARE(m_list->model().count(), csvRows.size());
    // The last row, empty, takes a late pupil; it is neither copied nor saved.
    QCOMPARE(table()->model()->rowCount(), csvRows.size() + 1);
    QCOMPARE(table()->model()->columnCount(), 19);
    QCOMPARE(summaryLines(), summary);

    const QByteArray csv = ClassExport::csv(m_list->model());
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    QVERIFY(csv.endsWith("\r\n"));
    QCOMPARE(csv.count('\n'), csv.count("\r\n"));
    const QStringList lines = QString::fromUtf8(csv.mid(3).chopped(2)).split(u"\r\n"_s);
    QCOMPARE(lines.front(), kHeading);
    QCOMPARE(lines.mid(1), csvRows);
    QStringList shown;
    for (int column = 0; column < ClassModel::ColumnCount; ++column)
        shown << table()->model()->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(shown.join(u','), kHeading);

    if (csvRows.isEmpty()) {
        QVERIFY(!KvtTest::control(m_list->window(), u"CopyClass"_s)->isEnabled());
        return;
    }
    press(u"CopyClass"_s);
    QVERIFY(m_list->document().hasUnkeptRows()); // a copy does not keep the class
    const QStringList copied = QApplication::clipboard()->text().split(u'\n');
    QCOMPARE(copied.size(), csvRows.size() + 2); // and a new line at the end
    QCOMPARE(copied.front(), QString(kHeading).replace(u',', u'\t'));
    for (int row = 0; row < copiedNames.size(); ++row)
        QCOMPARE(copied[row + 1].split(u'\t').value(ClassModel::NameColumn), copiedNames[row]);
}

void ClassListTest::keeping_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("unkeptAfterEach");
    QTest::addColumn<bool>("asked"); // whether leaving asks first

    const auto row = [](const char *name, const QStringList &actions, const QString &unkept, bool asked) {
        QTest::addRow("%s", name) << actions << unkept << asked;
    };
    row("nothing added", {}, QString(), false);
    row("added", {u"add"_s, u"add"_s}, u"11"_s, true);
    row("copied, saved as CSV and as PDF", {u"add"_s, u"copy"_s, u"csv"_s, u"pdf"_s}, u"1111"_s, true);
    row("saving failed", {u"add"_s, u"failed csv"_s}, u"11"_s, true);
    row("kept in its file", {u"add"_s, u"keep"_s}, u"10"_s, false);
    row("kept before the first paper", {u"keep"_s, u"add"_s, u"rename"_s}, u"000"_s, false);
    row("changed after keeping", {u"add"_s, u"keep"_s, u"add"_s, u"rename"_s, u"delete"_s}, u"10000"_s, false);
    row("file gone after keeping", {u"add"_s, u"keep"_s, u"unplug"_s, u"add"_s}, u"1001"_s, true);
    row("delete refused", {u"add"_s, u"keep"_s, u"refuse delete"_s}, u"100"_s, false);
    row("emptied", {u"add"_s, u"empty"_s}, u"10"_s, false);
    row("empty refused", {u"add"_s, u"copy"_s, u"refuse empty"_s}, u"111"_s, true);
}

void ClassListTest::keeping()
{
    QFETCH(QStringList, actions);
    QFETCH(QString, unkeptAfterEach);
    QFETCH(bool, asked);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString stick = folder.filePath(u"แฟลชไดรฟ์"_s);
    QVERIFY(QDir().mkpath(stick));
    m_list->showWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_list->window()));
    QString unkept;
    bool unplugged = false;
    for (const QString &action : actions) {
        if (action == u"add"_s) {
            const KvtTest::WarningWatch failure; // said when the file stops taking changes
            addTo(*m_list, FormVersion::Parent, kNormal, 0);
            QCOMPARE(failure.count(), unplugged ? 1 : 0);
            unplugged = false;
        } else if (action == u"copy"_s) {
            press(u"CopyClass"_s);
        } else if (action == u"csv"_s) {
            QCOMPARE(m_list->saveCsv(folder.filePath(u"ห้อง 1.csv"_s)), std::nullopt);
        } else if (action == u"pdf"_s) {
            QCOMPARE(m_list->savePdf(folder.filePath(u"ห้อง 1.pdf"_s)), std::nullopt);
        } else if (action == u"failed csv"_s) {
            QVERIFY(m_list->saveCsv(folder.filePath(u"ไม่มีโฟลเดอร์นี้/ห้อง 1.csv"_s)));
        } else if (action == u"keep"_s) {
            QCOMPARE(m_list->document().keepIn(stick + u"/ห้อง.kvt"_s), std::nullopt);
        } else if (action == u"unplug"_s) {
#ifdef Q_OS_WIN
            QSKIP("Windows keeps a folder whose files are open");
#endif
            QVERIFY(QDir(stick).removeRecursively());
            unplugged = true;
        } else if (action == u"rename"_s) {
            typeName(0, u"ด.ญ. ขวัญ ใจ"_s);
        } else if (action == u"delete"_s || action == u"empty"_s) {
            const ClassTest::Answer answer(action == u"delete"_s ? u"ลบ"_s : u"ล้างทั้งหมด"_s);
            if (action == u"delete"_s)
                deleteRows({0});
            else
                press(u"EmptyList"_s);
            QCOMPARE(answer.answered(), 1);
        } else {
            const KvtTest::WarningWatch watch;
            if (action == u"refuse delete"_s)
                deleteRows({0});
            else
                press(u"EmptyList"_s);
            QCOMPARE(watch.count(), 1);
            QCOMPARE(m_list->count(), 1);
        }
        unkept += m_list->document().hasUnkeptRows() ? u'1' : u'0';
    }
    QCOMPARE(unkept, unkeptAfterEach);

    {
        const KvtTest::WarningWatch watch;
        QCOMPARE(m_list->mayDiscard(m_list->window()), !asked); // closing the question stays
        QCOMPARE(watch.count(), asked ? 1 : 0);
        if (asked)
            QVERIFY(watch.seen().front().text.contains(u"%1 แถว"_s.arg(m_list->count())));
    }
    const ClassTest::Answer leave(u"ออกโดยไม่บันทึก"_s);
    QVERIFY(m_list->mayDiscard(m_list->window()));
    QCOMPARE(leave.answered(), asked ? 1 : 0);
}

void ClassListTest::placement_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<bool>("besideSheets");

    QTest::addRow("1366x768 at 100 %%") << QRect(0, 0, 1366, 768) << QRect(0, 0, 1366, 728) << true;
    QTest::addRow("taskbar on the left") << QRect(0, 0, 1366, 768) << QRect(62, 0, 1304, 768) << true;
    QTest::addRow("1920x1080") << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1040) << true;
    QTest::addRow("1366x768 at 125 %%") << QRect(0, 0, 1093, 614) << QRect(0, 0, 1093, 582) << false;
    QTest::addRow("1024x768") << QRect(0, 0, 1024, 768) << QRect(0, 0, 1024, 728) << false;
    QTest::addRow("second screen on the left") << QRect(-1280, 0, 1280, 1024) << QRect(-1280, 0, 1280, 984) << false;
}

void ClassListTest::placement()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, available);
    QFETCH(bool, besideSheets);

    const QSize minimum(480, 400);
    const QRect client = ::besideSheets(screen, available, minimum);
    // Its frame on the screen: 8 pixels a side, the title bar 31.
    QVERIFY2(available.contains(client.adjusted(-8, -31, 8, 8)),
        qPrintable(u"%1,%2 %3x%4"_s.arg(client.x()).arg(client.y()).arg(client.width()).arg(client.height())));
    QVERIFY(client.width() >= minimum.width());
    QVERIFY(client.height() >= minimum.height());
    if (besideSheets) {
        QVERIFY(client.left() - 8 > screen.left() + 786 + 8);
    } else {
        QCOMPARE(client.right() + 8, available.right());
        QCOMPARE(client.width(), minimum.width());
    }
}

void ClassListTest::opensWithoutTakingFocus()
{
    QWidget sheet;
    sheet.setWindowTitle(u"sheet"_s);
    sheet.show();
    sheet.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    QCOMPARE(m_list->window(), nullptr); // not made before it is needed

    addTo(*m_list, FormVersion::Parent, kNormal, 0);
    m_list->showBesideSheets(&sheet);
    QVERIFY(m_list->window());
    QVERIFY(QTest::qWaitForWindowExposed(m_list->window()));
    QTest::qWait(50);
    // The offscreen platform activates every window it shows.
    if (QGuiApplication::platformName() == u"offscreen"_s)
        QVERIFY(m_list->window()->testAttribute(Qt::WA_ShowWithoutActivating));
    else
        QCOMPARE(QApplication::activeWindow(), &sheet);
    QCOMPARE(m_list->window()->windowFlags() & Qt::Window, Qt::Window);
    QCOMPARE(m_list->window()->parentWidget(), nullptr);

    // Closing hides it and keeps the rows; the sheets' key brings it back.
    m_list->window()->close();
    QVERIFY(!m_list->window()->isVisible());
    addTo(*m_list, FormVersion::Parent, kNormal, 0);
    m_list->showBesideSheets(&sheet);
    QVERIFY(!m_list->window()->isVisible());
    m_list->showWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_list->window()));
    QCOMPARE(m_list->model().count(), 2);
}

KVT_TEST_MAIN(ClassListTest)

#include "tst_classlist.moc"
