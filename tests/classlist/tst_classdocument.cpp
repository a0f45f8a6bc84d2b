#include "classfile/classfile.h"
#include "classfixture.h"
#include "classlist/classdocument.h"
#include "classlist/classlist.h"
#include "classlist/classmodel.h"
#include "kvttest.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QIdentityProxyModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace ClassFixture;

using Edit = std::function<void(ClassDocument &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

const QStringList kNames {u"ด.ช. กล้า หาญ"_s, u"ด.ญ. ขวัญ ใจ"_s, u"ด.ช. ภูมิ ดี"_s};

// A row as the class shows it: version, results, remark, number and name.
QStringList recordText(const ChildRecord &record)
{
    return QStringList {versionName(record.version)} + resultFields(record.front, record.back)
        + QStringList {record.remark, record.number, record.name};
}

// Keeps the class in a new file at the path, failing the test with the reason it could not.
void keep(ClassDocument &document, const QString &path)
{
    const std::optional<QString> error = document.keepIn(path);
    QVERIFY2(!error, qPrintable(error.value_or(QString())));
    QCOMPARE(document.keeping(), ClassDocument::Keeping::Kept);
}

PaperTicks withItemLeftOut(const PaperTicks &ticks, int item)
{
    return withItemsLeftOut(ticks, std::array<int, 1> {item});
}

// Each row as "number/version/paper" or ".../empty".
QStringList viewRows(const ClassModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.count(); ++row)
        rows << model.field(row, ClassModel::NumberColumn) + u'/' + model.field(row, ClassModel::VersionColumn) + u'/'
                + (model.rowAt(row).paper ? u"paper"_s : u"empty"_s);
    return rows;
}

// The table with its first column, ลำดับ, showing the rest of the row: a
// row's place changes with every row inserted above it, and the model tester
// follows the first column across inserts and removals.
class WithoutOrder final : public QIdentityProxyModel
{
public:
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (index.column() != ClassModel::OrderColumn || role != Qt::DisplayRole)
            return QIdentityProxyModel::data(index, role);
        QStringList cells;
        for (int column = ClassModel::NumberColumn; column < ClassModel::ColumnCount; ++column)
            cells << QIdentityProxyModel::data(index.siblingAtColumn(column), role).toString();
        return cells.join(u'|');
    }
};

} // namespace

class ClassDocumentTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_document.reset(); }

    void roundTrip_data();
    void roundTrip();
    void parseRoster_data();
    void parseRoster();
    void schoolTerm_data();
    void schoolTerm();
    void views_data();
    void views();
    void nextPupil_data();
    void nextPupil();
    void modelFollowsTheClass();
    void badFileLeavesTheClass_data();
    void badFileLeavesTheClass();
    void writeFailure();
    void fileOpenElsewhere();

private:
    QString path(const QString &name = u"ป.4-2.kvt"_s) const { return m_folder->filePath(name); }
    // Three pupils with Thai names, two papers of the first, one of the
    // second with item 12 left out, and one beyond the roster.
    void fillClass();
    std::unique_ptr<ClassDocument> reopen() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ClassDocument> m_document;
    std::vector<PupilId> m_pupils;
    std::vector<PaperId> m_papers;
};

void ClassDocumentTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_document = std::make_unique<ClassDocument>();
    m_pupils.clear();
    m_papers.clear();
}

void ClassDocumentTest::fillClass()
{
    m_document->setHeading({u"โรงเรียนบ้านหนองบัว"_s, u"ป.4"_s, u"2"_s, 2, 2569, u"ครูสมศรี ใจดี"_s});
    m_pupils = addRoster(*m_document, kNames);
    m_papers = {
        m_document->addPaper(FormVersion::Parent, m_pupils[0], ticksFor(kNormal, 0)),
        m_document->addPaper(FormVersion::Teacher, m_pupils[0], ticksFor(kAtRisk, 2)),
        m_document->addPaper(FormVersion::Parent, m_pupils[1], withItemLeftOut(ticksFor(kProblem, 5), 12)),
        m_document->addPaper(FormVersion::Pupil, kNoPupil, ticksFor(std::nullopt, 14)),
    };
    m_document->setPaperNumber(m_papers[3], u"41"_s);
    m_document->setPaperName(m_papers[3], u"ด.ญ. มะลิ นอกรายชื่อ"_s);
}

std::unique_ptr<ClassDocument> ClassDocumentTest::reopen() const
{
    auto fresh = std::make_unique<ClassDocument>();
    const ClassDocument::Opened opened = fresh->open(path());
    if (!opened.ok || fresh->keeping() != ClassDocument::Keeping::Kept)
        qWarning() << "reopened" << opened.ok << opened.message;
    return fresh;
}

void ClassDocumentTest::roundTrip_data()
{
    QTest::addColumn<Edit>("edit");
    const auto paper = [this](std::size_t i) { return m_papers.at(i); };
    const auto pupil = [this](std::size_t i) { return m_pupils.at(i); };
    QTest::addRow("as kept") << Edit([](ClassDocument &) {});
    QTest::addRow("paper added") << Edit(
        [=](ClassDocument &d) { d.addPaper(FormVersion::Pupil, pupil(2), withItemLeftOut(ticksFor(kNormal, 1), 3)); });
    QTest::addRow("ticks replaced") << Edit([=](ClassDocument &d) { d.replaceTicks(paper(0), ticksFor(kProblem, 9)); });
    QTest::addRow("version changed") << Edit(
        [=](ClassDocument &d) { QVERIFY(d.setVersion(paper(2), FormVersion::Pupil)); });
    QTest::addRow("pupil renumbered and renamed") << Edit([=](ClassDocument &d) {
        d.setPupilNumber(pupil(0), u"10"_s);
        d.setPaperName(paper(0), u"ด.ช. กล้าหาญ ชาญชัย"_s); // the pupil's, through the paper
    });
    QTest::addRow("own number and name") << Edit([=](ClassDocument &d) {
        d.setPaperNumber(paper(3), u"42"_s);
        d.setPaperName(paper(3), u"ด.ญ. ดาว ใหม่"_s);
    });
    QTest::addRow("papers removed") << Edit([=](ClassDocument &d) { d.removePapers({paper(1), paper(3)}); });
    QTest::addRow("pupil removed with papers") << Edit([=](ClassDocument &d) { d.removePupils({pupil(0)}); });
    QTest::addRow("heading") << Edit([](ClassDocument &d) {
        d.setHeading({u"โรงเรียนวัดใหม่"_s, u"ม.1"_s, u"5"_s, 1, 2570, u"ครูวิชัย"_s});
    });
    QTest::addRow("roster pasted") << Edit([](ClassDocument &d) {
        QCOMPARE(d.pasteRoster(::parseRoster(u"2\tด.ญ.\tขวัญตา\tใจงาม\n4\tด.ช.\tต้น\tกล้า"_s)), std::make_pair(1, 1));
    });
}

// Kept, then changed: a fresh document opening the file has what the class
// has, the remarks worked out again from the ticks.
void ClassDocumentTest::roundTrip()
{
    QFETCH(Edit, edit);
    fillClass();
    QVERIFY(m_document->record(m_papers[2]).remark.contains(u"12"_s));
    QVERIFY(m_document->hasUnkeptRows());
    keep(*m_document, path());
    edit(*m_document);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!m_document->hasUnkeptRows());

    const ClassData kept = m_document->data();
    std::vector<QStringList> records;
    for (const Paper &paper : kept.papers)
        records.push_back(recordText(m_document->record(paper.id)));
    m_document.reset(); // releases the file

    const std::unique_ptr<ClassDocument> fresh = reopen();
    QCOMPARE(fresh->keeping(), ClassDocument::Keeping::Kept);
    QCOMPARE(fresh->data(), kept);
    for (std::size_t i = 0; i < kept.papers.size(); ++i)
        QCOMPARE(recordText(fresh->record(kept.papers[i].id)), records[i]);
    QVERIFY(!fresh->hasUnkeptRows());
    // Ids go on from the file's: a new paper is not given one the file holds.
    const PaperId next = fresh->addPaper(FormVersion::Parent, kNoPupil, ticksFor(kNormal, 0));
    QVERIFY(kept.papers.empty() || next > kept.papers.back().id);
}

void ClassDocumentTest::parseRoster_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pupils"); // "number|name"
    QTest::addRow("number, title, first and last name")
        << u"1\tด.ช.\tกล้า\tหาญ\n2\tด.ญ.\tขวัญ\tใจ"_s << QStringList {u"1|ด.ช. กล้า หาญ"_s, u"2|ด.ญ. ขวัญ ใจ"_s};
    QTest::addRow("a line of headings") << u"เลขที่\tคำนำหน้า\tชื่อ\tนามสกุล\n1\tด.ช.\tกล้า\tหาญ"_s
                                        << QStringList {u"1|ด.ช. กล้า หาญ"_s};
    QTest::addRow("a second number column") << u"3\t10234\tด.ญ. ขวัญ\tใจ"_s << QStringList {u"3|ด.ญ. ขวัญ ใจ"_s};
    QTest::addRow("CRLF and empty lines")
        << u"\r\n1\tกล้า หาญ\r\n\r\n2\tขวัญ ใจ\r\n"_s << QStringList {u"1|กล้า หาญ"_s, u"2|ขวัญ ใจ"_s};
    QTest::addRow("names only") << u"ด.ช. กล้า หาญ\nด.ญ. ขวัญ ใจ\n"_s
                                << QStringList {u"|ด.ช. กล้า หาญ"_s, u"|ด.ญ. ขวัญ ใจ"_s};
    QTest::addRow("Thai digits, kept as typed") << u"๑๒\tด.ช. กล้า หาญ"_s << QStringList {u"๑๒|ด.ช. กล้า หาญ"_s};
    QTest::addRow("blanks trimmed") << u" 7 \t  ด.ญ.  ขวัญ \t ใจ "_s << QStringList {u"7|ด.ญ. ขวัญ ใจ"_s};
}

void ClassDocumentTest::parseRoster()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pupils);
    QStringList parsed;
    for (const RosterLine &line : ::parseRoster(text))
        parsed << line.number + u'|' + line.name;
    QCOMPARE(parsed, pupils);
}

void ClassDocumentTest::schoolTerm_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("term");
    QTest::addColumn<int>("year");
    QTest::addRow("1 May") << QDate(2026, 5, 1) << 1 << 2569;
    QTest::addRow("31 October") << QDate(2026, 10, 31) << 1 << 2569;
    QTest::addRow("1 November") << QDate(2026, 11, 1) << 2 << 2569;
    QTest::addRow("January, the year before's") << QDate(2027, 1, 15) << 2 << 2569;
    QTest::addRow("30 April") << QDate(2027, 4, 30) << 2 << 2569;
}

void ClassDocumentTest::schoolTerm()
{
    QFETCH(QDate, date);
    QFETCH(int, term);
    QFETCH(int, year);
    const SchoolTerm on = schoolTermOn(date);
    QCOMPARE(on.term, term);
    QCOMPARE(on.year, year);
}

void ClassDocumentTest::views_data()
{
    QTest::addColumn<int>("view"); // -1: every version
    QTest::addColumn<QStringList>("rows");
    QTest::addRow("ทุกฉบับ") << -1
                           << QStringList {u"1/ผู้ปกครอง/paper"_s, u"1/ครูประจำชั้น/paper"_s, u"2//empty"_s,
                                  u"3/ผู้ปกครอง/paper"_s, u"42/ครูประจำชั้น/paper"_s, u"41/ผู้ปกครอง/paper"_s};
    QTest::addRow("ผู้ปกครอง") << int(FormVersion::Parent)
                             << QStringList {u"1/ผู้ปกครอง/paper"_s, u"2/ผู้ปกครอง/empty"_s, u"3/ผู้ปกครอง/paper"_s,
                                    u"41/ผู้ปกครอง/paper"_s};
    QTest::addRow("ครูประจำชั้น") << int(FormVersion::Teacher)
                               << QStringList {u"1/ครูประจำชั้น/paper"_s, u"2/ครูประจำชั้น/empty"_s, u"3/ครูประจำชั้น/empty"_s,
                                      u"42/ครูประจำชั้น/paper"_s};
    QTest::addRow("นักเรียน, no paper yet")
        << int(FormVersion::Pupil) << QStringList {u"1/นักเรียน/empty"_s, u"2/นักเรียน/empty"_s, u"3/นักเรียน/empty"_s};
}

// Pupils in roster order, each once per paper (or once, empty); papers
// beyond the roster after them in the order added, whatever their version.
void ClassDocumentTest::views()
{
    QFETCH(int, view);
    QFETCH(QStringList, rows);
    const std::vector<PupilId> pupils = addRoster(*m_document, kNames);
    m_document->addPaper(FormVersion::Parent, pupils[2], ticksFor(kNormal, 0));
    const PaperId teacher = m_document->addPaper(FormVersion::Teacher, kNoPupil, ticksFor(kAtRisk, 1));
    m_document->addPaper(FormVersion::Teacher, pupils[0], ticksFor(kProblem, 3));
    const PaperId parent = m_document->addPaper(FormVersion::Parent, kNoPupil, ticksFor(kNormal, 0));
    m_document->addPaper(FormVersion::Parent, pupils[0], ticksFor(kNormal, 0));
    m_document->setPaperNumber(teacher, u"42"_s);
    m_document->setPaperNumber(parent, u"41"_s);

    ClassModel model(*m_document);
    model.setView(view < 0 ? std::nullopt : std::optional<FormVersion>(FormVersion(view)));
    QCOMPARE(viewRows(model), rows);
    QCOMPARE(model.rowCount(), int(rows.size()) + 1); // and the row for a late pupil
    int papers = 0;
    for (FormVersion version : kFormVersions)
        papers += model.tallies().of(version).children;
    QCOMPARE(papers, int(rows.filter(u"/paper"_s).size()));
}

void ClassDocumentTest::nextPupil_data()
{
    QTest::addColumn<QList<int>>("parentPapers"); // pupils, 1 to 3, with a parent's paper
    QTest::addColumn<QList<int>>("teacherPapers");
    QTest::addColumn<int>("next"); // for a parent's paper; 0: none left
    QTest::addRow("none yet") << QList<int> {} << QList<int> {} << 1;
    QTest::addRow("the first in roster order") << QList<int> {1, 3} << QList<int> {} << 2;
    QTest::addRow("other versions do not count") << QList<int> {} << QList<int> {1, 2} << 1;
    QTest::addRow("every pupil has one") << QList<int> {2, 1, 3} << QList<int> {} << 0;
}

// The list gives a finished paper to the document's next pupil, and names
// that pupil for the front side.
void ClassDocumentTest::nextPupil()
{
    QFETCH(QList<int>, parentPapers);
    QFETCH(QList<int>, teacherPapers);
    QFETCH(int, next);
    ClassList list;
    const std::vector<PupilId> pupils = addRoster(list.document(), kNames);
    for (int pupil : parentPapers)
        list.document().addPaper(FormVersion::Parent, pupils.at(std::size_t(pupil - 1)), ticksFor(kNormal, 0));
    for (int pupil : teacherPapers)
        list.document().addPaper(FormVersion::Teacher, pupils.at(std::size_t(pupil - 1)), ticksFor(kNormal, 0));

    const PupilId expected = next ? pupils.at(std::size_t(next - 1)) : kNoPupil;
    QCOMPARE(list.document().nextPupil(FormVersion::Parent), expected);
    QCOMPARE(
        list.nextPaperOwner(FormVersion::Parent), next ? u"เลขที่ %1 %2"_s.arg(next).arg(kNames[next - 1]) : QString());
    const PaperId added = addTo(list, FormVersion::Parent, kAtRisk, 1);
    QCOMPARE(list.document().paper(added)->pupil, expected);
    // A pupil keeps one paper of a version: a second goes beyond the roster.
    const PaperId again = list.document().addPaper(FormVersion::Parent, pupils[0], ticksFor(kNormal, 0));
    QCOMPARE(list.document().paper(again)->pupil, kNoPupil);
}

// Rows told as they come and go, whatever the change: the tester fails the
// test at the first signal out of step with the rows.
void ClassDocumentTest::modelFollowsTheClass()
{
    ClassModel model(*m_document);
    WithoutOrder rows;
    rows.setSourceModel(&model);
    QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto rowsAgree = [&model] { QCOMPARE(model.rowCount(), model.count() + 1); };

    fillClass();
    rowsAgree();
    QCOMPARE(model.count(), 5); // pupil 3 waits with an empty row
    for (std::optional<FormVersion> view : {std::optional<FormVersion>(FormVersion::Parent),
             std::optional<FormVersion>(FormVersion::Pupil), std::optional<FormVersion>()}) {
        model.setView(view);
        m_document->addPaper(FormVersion::Pupil, m_pupils[2], ticksFor(kProblem, 4));
        rowsAgree();
    }
    QVERIFY(model.setData(model.index(model.count(), ClassModel::NameColumn), u"ด.ญ. มาใหม่ ล่าสุด"_s, Qt::EditRole));
    QCOMPARE(int(m_document->roster().size()), 4);
    QCOMPARE(
        model.field(model.rowOfPupil(m_document->roster().back().id), ClassModel::NameColumn), u"ด.ญ. มาใหม่ ล่าสุด"_s);
    // A paper's row takes its paper away; a pupil's empty row, the pupil.
    QVERIFY(model.removeRows(0, 2));
    QCOMPARE(int(m_document->papers().size()), 5);
    QVERIFY(model.removeRows(model.rowOfPupil(m_document->roster().back().id), 1));
    QCOMPARE(int(m_document->roster().size()), 3);
    rowsAgree();

    keep(*m_document, path());
    m_document->startNew();
    QCOMPARE(model.count(), 0);
    rowsAgree();
    QVERIFY(m_document->open(path()).ok);
    QCOMPARE(model.count(), 6); // the first pupil's empty row, one each, three beyond
    m_document->removePupils(m_pupils);
    rowsAgree();
}

void ClassDocumentTest::badFileLeavesTheClass_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::addRow("no file") << false << QByteArray() << u"ไม่พบไฟล์"_s;
    QTest::addRow("a CSV file") << true << QByteArray("1,ก,ผู้ปกครอง\n") << u"ไม่ใช่ไฟล์ห้อง"_s;
    QTest::addRow("an empty file") << true << QByteArray() << u"ไม่ใช่ไฟล์ห้อง"_s;
    ClassDocument whole;
    addRoster(whole, kNames);
    whole.addPaper(FormVersion::Parent, kNoPupil, ticksFor(kNormal, 0));
    const QByteArray image = classImage(whole.data());
    QTest::addRow("a class file cut short") << true << image.left(image.size() / 2) << u"เสียหาย"_s;
}

void ClassDocumentTest::badFileLeavesTheClass()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    fillClass();
    keep(*m_document, path());
    const ClassData before = m_document->data();
    const QString bad = path(u"อื่น.kvt"_s);
    if (exists) {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QSignalSpy replaced(m_document.get(), &ClassDocument::classReplaced);
    QSignalSpy rows(m_document.get(), &ClassDocument::rowsChanged);

    const ClassDocument::Opened opened = m_document->open(bad);
    QVERIFY(!opened.ok);
    QVERIFY2(opened.message.contains(says), qPrintable(opened.message));
    QCOMPARE(m_document->data(), before);
    QCOMPARE(replaced.count() + rows.count(), 0);
    QCOMPARE(m_document->filePath(), path());
    // Still in its own file, which goes on taking changes.
    m_document->addPaper(FormVersion::Pupil, m_pupils[2], ticksFor(kNormal, 0));
    QVERIFY(!m_document->hasUnkeptRows());
    const ClassData kept = m_document->data();
    m_document.reset();
    QCOMPARE(reopen()->data(), kept);
}

// The file's folder gone under it: the class goes on in memory, said once,
// and a new file keeps it all again.
void ClassDocumentTest::writeFailure()
{
#ifdef Q_OS_WIN
    QSKIP("Windows keeps a folder whose files are open");
#endif
    fillClass();
    const QString folder = m_folder->filePath(u"แฟลชไดรฟ์"_s);
    QVERIFY(QDir().mkpath(folder));
    keep(*m_document, folder + u"/ห้อง.kvt"_s);
    QSignalSpy failed(m_document.get(), &ClassDocument::writeFailed);
    QSignalSpy keeping(m_document.get(), &ClassDocument::keepingChanged);
    QVERIFY(QDir(folder).removeRecursively());

    m_document->addPaper(FormVersion::Pupil, m_pupils[2], ticksFor(kNormal, 0));
    m_document->setPupilName(m_pupils[0], u"ด.ช. กล้า หาญยิ่ง"_s);
    QCOMPARE(m_document->keeping(), ClassDocument::Keeping::WriteFailed);
    QVERIFY(m_document->hasUnkeptRows());
    QCOMPARE(failed.count(), 1);
    QVERIFY(!failed.front().front().toString().isEmpty());
    QCOMPARE(keeping.count(), 1);

    keep(*m_document, path());
    QVERIFY(!m_document->hasUnkeptRows());
    const ClassData kept = m_document->data();
    m_document.reset();
    QCOMPARE(reopen()->data(), kept);
}

// Another copy has the file: this one shows the class but keeps nothing in it.
void ClassDocumentTest::fileOpenElsewhere()
{
    fillClass();
    keep(*m_document, path());
    ClassDocument second;
    const ClassDocument::Opened opened = second.open(path());
    QVERIFY(opened.ok);
    QVERIFY(!opened.message.isEmpty());
    QCOMPARE(second.keeping(), ClassDocument::Keeping::Busy);
    QCOMPARE(second.data(), m_document->data());
    QVERIFY(second.hasUnkeptRows());
    second.addPaper(FormVersion::Pupil, kNoPupil, ticksFor(kNormal, 0));
    QCOMPARE(int(m_document->papers().size()), 4);
    const ClassData kept = m_document->data();
    m_document.reset();
    QCOMPARE(reopen()->data(), kept);
}

KVT_TEST_MAIN(ClassDocumentTest)

#include "tst_classdocument.moc"
