#include "classfile/classfile.h"
#include "classsample.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ClassData)
Q_DECLARE_METATYPE(ClassChange)

namespace {

// The class a change leaves, as the file should hold it.
template<typename Record>
void apply(std::vector<Record> &records, const std::vector<Record> &put, const std::vector<qint64> &removed)
{
    for (const Record &record : put) {
        auto it = std::find_if(records.begin(), records.end(), [&](const Record &r) { return r.id == record.id; });
        if (it != records.end())
            *it = record;
        else
            records.push_back(record);
    }
    records.erase(std::remove_if(records.begin(), records.end(),
                      [&](const Record &r) { return std::count(removed.cbegin(), removed.cend(), r.id) > 0; }),
        records.end());
    std::sort(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.id < b.id; });
}

ClassData applied(ClassData data, const ClassChange &change)
{
    if (change.heading)
        data.heading = *change.heading;
    apply(data.roster, change.pupils, change.removedPupils);
    apply(data.papers, change.papers, change.removedPapers);
    return data;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void setBigEndian(QByteArray &bytes, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * (3 - i))) & 0xFF);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The pid of a process that has ended: this test, listing its functions.
qint64 deadPid()
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), {u"-functions"_s});
    process.waitForStarted();
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}

} // namespace

class TestClassFile final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void roundTrip_data();
    void roundTrip();
    void badFiles_data();
    void badFiles();
    void leavesNothingBeside();
    void failedWrite_data();
    void failedWrite();
    void createRefusesAFileInUse();

private:
    QString path(const QString &name = u"ป4-2.kvt"_s) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir; // anew for each case
};

void TestClassFile::roundTrip_data()
{
    QTest::addColumn<ClassData>("data");
    QTest::addColumn<ClassChange>("change");

    ClassChange heading;
    heading.heading = ClassHeading {u"โรงเรียนวัดใหม่"_s, u"ม.1"_s, u"3/1"_s, 1, 2570, u"ครูสมชาย"_s};
    QTest::newRow("empty class, then a heading") << ClassData() << heading;

    ClassChange grows;
    grows.pupils = {{4, u"4"_s, u"เด็กหญิงกุหลาบ ใหม่"_s}, {2, u"2ก"_s, u"เด็กชายภูมิ เปลี่ยนชื่อ"_s}};
    grows.papers
        = {ClassSample::paper(3, FormVersion::Teacher, 4, 50), ClassSample::paper(20, FormVersion::Parent, 4, 7)};
    grows.removedPapers = {1, 999};
    QTest::newRow("whole class grows") << ClassSample::whole() << grows;

    // Its paper leaves the roster in the same change: references hold at the commit.
    ClassChange leaves;
    leaves.removedPupils = {1};
    leaves.removedPapers = {1, 2};
    Paper kept = ClassSample::whole().papers[2];
    kept.pupil = kNoPupil;
    kept.number = u"1"_s;
    kept.name = u"เด็กชายภูมิ ทดสอบ 1"_s;
    leaves.papers = {kept};
    QTest::newRow("pupil leaves the roster") << ClassSample::whole() << leaves;

    QTest::newRow("large class, no change") << ClassSample::whole(60) << ClassChange();
}

void TestClassFile::roundTrip()
{
    QFETCH(ClassData, data);
    QFETCH(ClassChange, change);

    const QByteArray image = classImage(data);
    const ClassRead fromImage = readClassImage(image);
    QVERIFY(std::holds_alternative<ClassData>(fromImage));
    QVERIFY(std::get<ClassData>(fromImage) == data);

    CreateResult created = ClassFile::create(path(), data);
    QVERIFY2(created.file, qPrintable(created.detail));
    QCOMPARE(created.file->path(), path());
    QCOMPARE(created.file->write(change).value_or(QString()), QString());
    created.file.reset();

    const OpenResult opened = ClassFile::open(path());
    QCOMPARE(opened.failure, OpenFailure::None);
    QCOMPARE(opened.limit, OpenLimit::None);
    QVERIFY(opened.file);
    QVERIFY(opened.data == applied(data, change));
}

enum class Setup { Bytes, ReadOnly, Locked, StaleLock, JournalBeside, Folder, Missing };

void TestClassFile::badFiles_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<OpenFailure>("failure");
    QTest::addColumn<OpenLimit>("limit");

    const QByteArray image = classImage(ClassSample::whole());
    const int pageSize = 4096;
    QCOMPARE(image.size() % pageSize, 0);

    QTest::newRow("CSV renamed") << Setup::Bytes << u"เลขที่,ชื่อ-สกุล\n1,ภูมิ\n"_s.toUtf8() << OpenFailure::NotAClassFile
                                 << OpenLimit::None;
    QTest::newRow("PNG") << Setup::Bytes << QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, '\0')
                         << OpenFailure::NotAClassFile << OpenLimit::None;
    QTest::newRow("empty") << Setup::Bytes << QByteArray() << OpenFailure::NotAClassFile << OpenLimit::None;
    QTest::newRow("truncated") << Setup::Bytes << image.left(image.size() - pageSize) << OpenFailure::Damaged
                               << OpenLimit::None;
    QTest::newRow("header only") << Setup::Bytes << image.left(100) << OpenFailure::Damaged << OpenLimit::None;
    QByteArray flipped = image;
    flipped[3 * pageSize] = char(~flipped[3 * pageSize]); // the papers table's page type
    QTest::newRow("flipped byte in a page") << Setup::Bytes << flipped << OpenFailure::Damaged << OpenLimit::None;
    QByteArray newer = image;
    setBigEndian(newer, 60, ClassFormat::kVersion + 1);
    QTest::newRow("newer format") << Setup::Bytes << newer << OpenFailure::TooNew << OpenLimit::None;
    QByteArray foreign = image;
    setBigEndian(foreign, 68, 0);
    QTest::newRow("other database") << Setup::Bytes << foreign << OpenFailure::NotAClassFile << OpenLimit::None;

    QTest::newRow("read-only file") << Setup::ReadOnly << image << OpenFailure::None << OpenLimit::ReadOnly;
    QTest::newRow("lock held") << Setup::Locked << image << OpenFailure::None << OpenLimit::Busy;
    QTest::newRow("stale lock") << Setup::StaleLock << image << OpenFailure::None << OpenLimit::None;
    QTest::newRow("journal not hot beside") << Setup::JournalBeside << image << OpenFailure::None << OpenLimit::None;
    QTest::newRow("folder") << Setup::Folder << QByteArray() << OpenFailure::NotFound << OpenLimit::None;
    QTest::newRow("missing") << Setup::Missing << QByteArray() << OpenFailure::NotFound << OpenLimit::None;
}

void TestClassFile::badFiles()
{
    QFETCH(Setup, setup);
    QFETCH(QByteArray, bytes);
    QFETCH(OpenFailure, failure);
    QFETCH(OpenLimit, limit);

    const QString file = path(QString::fromLatin1(QTest::currentDataTag()));
    QLockFile other(file + u".lock"_s);
    if (setup == Setup::Folder)
        QVERIFY(QDir(m_dir->path()).mkdir(QFileInfo(file).fileName()));
    else if (setup != Setup::Missing)
        writeFile(file, bytes);
    if (setup == Setup::ReadOnly)
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
    if (setup == Setup::Locked)
        QVERIFY(other.tryLock(0));
    if (setup == Setup::StaleLock) {
#ifdef Q_OS_WIN
        QSKIP("Under wine a dead process's lock cannot be told from a live one's");
#endif
        const QByteArray owner = QByteArray::number(deadPid()) + '\n' + QCoreApplication::applicationName().toUtf8()
            + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
        writeFile(file + u".lock"_s, owner);
    }

    if (setup == Setup::JournalBeside)
        writeFile(file + u"-journal"_s, QByteArray(512, '\x5a'));

    const OpenResult opened = ClassFile::open(file);
    QCOMPARE(opened.failure, failure);
    QCOMPARE(opened.limit, limit);
    if (failure != OpenFailure::None) {
        QVERIFY(!opened.detail.isEmpty());
        return;
    }
    QVERIFY(opened.data == ClassSample::whole());
    QCOMPARE(bool(opened.file), limit == OpenLimit::None);
}

void TestClassFile::leavesNothingBeside()
{
    CreateResult created = ClassFile::create(path(), ClassSample::whole());
    QVERIFY(created.file);
    ClassChange change;
    change.papers = {ClassSample::paper(30, FormVersion::Parent, 2, 3)};
    QCOMPARE(created.file->write(change).value_or(QString()), QString());
    QCOMPARE(filesIn(m_dir->path()), QStringList({u"ป4-2.kvt"_s, u"ป4-2.kvt.lock"_s}));
#ifdef Q_OS_UNIX
    QCOMPARE(QFile::permissions(path()),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
#endif
    created.file.reset();
    QCOMPARE(filesIn(m_dir->path()), QStringList({u"ป4-2.kvt"_s}));
}

enum class Fault { JournalBlocked, FolderRemoved, TextTooLong, PupilMissing };

void TestClassFile::failedWrite_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::newRow("journal cannot be made") << Fault::JournalBlocked;
    QTest::newRow("folder removed") << Fault::FolderRemoved;
    QTest::newRow("name too long") << Fault::TextTooLong;
    QTest::newRow("paper of no pupil") << Fault::PupilMissing;
}

void TestClassFile::failedWrite()
{
    QFETCH(Fault, fault);
    const QString folder = path(u"ห้อง"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + u"/class.kvt"_s;
    const ClassData data = ClassSample::whole();
    CreateResult created = ClassFile::create(file, data);
    QVERIFY(created.file);

    ClassChange change;
    change.removedPupils = {1};
    change.papers = {ClassSample::paper(40, FormVersion::Pupil, 2, 5)};
    if (fault == Fault::JournalBlocked)
        QVERIFY(QDir().mkdir(file + u"-journal"_s));
    if (fault == Fault::FolderRemoved) {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps a folder with open files");
#endif
        QVERIFY(QDir(folder).removeRecursively());
    }
    if (fault == Fault::TextTooLong)
        change.papers[0].name = QString(ClassFormat::kMaxTextLength + 1, u'ก');
    if (fault == Fault::PupilMissing)
        change.papers[0].pupil = 77;

    const std::optional<QString> error = created.file->write(change);
    QVERIFY(error);
    qInfo("%s", qPrintable(*error));
    if (fault == Fault::FolderRemoved)
        return;
    QVERIFY(QDir().rmdir(file + u"-journal"_s) || fault != Fault::JournalBlocked);
    // Still in order for the next change, and on disk as before.
    QCOMPARE(created.file->write(ClassChange()).value_or(QString()), QString());
    created.file.reset();
    const OpenResult opened = ClassFile::open(file);
    QCOMPARE(opened.failure, OpenFailure::None);
    QVERIFY(opened.data == data);
}

void TestClassFile::createRefusesAFileInUse()
{
    QVERIFY(ClassFile::create(path(), ClassSample::whole()).file);
    OpenResult first = ClassFile::open(path());
    QVERIFY(first.file);
    const CreateResult second = ClassFile::create(path(), ClassData());
    QCOMPARE(second.failure, CreateFailure::Busy);
    QVERIFY(!second.file);
    first.file.reset();
    QVERIFY(ClassFile::open(path()).data == ClassSample::whole());
}

QTEST_GUILESS_MAIN(TestClassFile)
#include "tst_classfile.moc"
