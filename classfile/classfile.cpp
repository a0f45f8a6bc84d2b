#include "classfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

using namespace ClassFormat;

struct DbCloser {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Format 1. The reader takes a schema only when it is exactly this one, so
// that a file cannot bring views, triggers or tables of its own.
constexpr const char *kSchema[] = {
    "CREATE TABLE heading (id INTEGER PRIMARY KEY, school TEXT NOT NULL, grade TEXT NOT NULL, room TEXT NOT NULL, "
    "term INTEGER NOT NULL, year INTEGER NOT NULL, recorder TEXT NOT NULL)",
    "CREATE TABLE pupils (id INTEGER PRIMARY KEY, number TEXT NOT NULL, name TEXT NOT NULL)",
    "CREATE TABLE papers (id INTEGER PRIMARY KEY, version TEXT NOT NULL, "
    "pupil INTEGER REFERENCES pupils (id) DEFERRABLE INITIALLY DEFERRED, number TEXT NOT NULL, name TEXT NOT NULL, "
    "front TEXT NOT NULL, back TEXT NOT NULL, added TEXT NOT NULL, changed TEXT NOT NULL)",
    "CREATE INDEX papers_by_pupil ON papers (pupil)",
};
struct SchemaEntry {
    const char *type;
    const char *name;
    const char *table;
};
constexpr SchemaEntry kSchemaEntries[] = {
    {"table", "heading", "heading"},
    {"table", "pupils", "pupils"},
    {"table", "papers", "papers"},
    {"index", "papers_by_pupil", "papers"},
};
static_assert(std::size(kSchema) == std::size(kSchemaEntries));

constexpr char kUpsertHeading[] = "INSERT INTO heading (id, school, grade, room, term, year, recorder) "
                                  "VALUES (1, ?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT (id) DO UPDATE SET "
                                  "school = ?1, grade = ?2, room = ?3, term = ?4, year = ?5, recorder = ?6";
constexpr char kUpsertPupil[] = "INSERT INTO pupils (id, number, name) VALUES (?1, ?2, ?3) "
                                "ON CONFLICT (id) DO UPDATE SET number = ?2, name = ?3";
constexpr char kUpsertPaper[]
    = "INSERT INTO papers (id, version, pupil, number, name, front, back, added, changed) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) ON CONFLICT (id) DO UPDATE SET "
      "version = ?2, pupil = ?3, number = ?4, name = ?5, front = ?6, back = ?7, added = ?8, changed = ?9";
constexpr char kRemovePupil[] = "DELETE FROM pupils WHERE id = ?1";
constexpr char kRemovePaper[] = "DELETE FROM papers WHERE id = ?1";

constexpr char kMagic[] = "SQLite format 3"; // and its NUL: the first 16 bytes
constexpr int kHeaderSize = 100;

QString sqliteError(sqlite3 *db)
{
    return u"%1 (SQLite %2)"_s.arg(QString::fromUtf8(sqlite3_errmsg(db))).arg(sqlite3_extended_errcode(db));
}

std::optional<QString> exec(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return sqliteError(db);
    return std::nullopt;
}

Statement prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return Statement(statement);
}

// Settings every connection takes: the schema is data, not code, and no
// write may go around SQLite's own checks.
void harden(sqlite3 *db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
}

quint32 bigEndian(const QByteArray &bytes, int offset, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

// --- The rules each record keeps, for writing and reading alike ---

std::optional<QString> textProblem(const QString &text, const char *what)
{
    if (text.size() > kMaxTextLength)
        return u"%1 is longer than %2 characters"_s.arg(QLatin1StringView(what)).arg(kMaxTextLength);
    if (!text.isValidUtf16() || text.contains(QChar(0)))
        return u"%1 is not valid text"_s.arg(QLatin1StringView(what));
    return std::nullopt;
}

std::optional<QString> headingProblem(const ClassHeading &heading)
{
    for (const auto &[text, what] : {std::pair(&heading.school, "school"), std::pair(&heading.grade, "grade"),
             std::pair(&heading.room, "room"), std::pair(&heading.recorder, "recorder")})
        if (auto problem = textProblem(*text, what))
            return problem;
    if (heading.term != 1 && heading.term != 2)
        return u"term %1 is neither 1 nor 2"_s.arg(heading.term);
    if (heading.year < 0 || heading.year > 9999)
        return u"year %1 is out of range"_s.arg(heading.year);
    return std::nullopt;
}

std::optional<QString> pupilProblem(const Pupil &pupil)
{
    if (pupil.id <= 0)
        return u"pupil id %1 is not positive"_s.arg(pupil.id);
    if (auto problem = textProblem(pupil.number, "pupil's number"))
        return problem;
    return textProblem(pupil.name, "pupil's name");
}

bool writableTime(const QDateTime &time)
{
    if (!time.isValid())
        return false;
    const int year = time.toUTC().date().year();
    return year >= 1 && year <= 9999;
}

std::optional<QString> paperProblem(const Paper &paper)
{
    if (paper.id <= 0)
        return u"paper id %1 is not positive"_s.arg(paper.id);
    if (paper.pupil < 0)
        return u"paper %1 names pupil %2"_s.arg(paper.id).arg(paper.pupil);
    if (auto problem = textProblem(paper.number, "paper's number"))
        return problem;
    if (auto problem = textProblem(paper.name, "paper's name"))
        return problem;
    if (!writableTime(paper.added) || !writableTime(paper.changed))
        return u"paper %1 lacks a valid time"_s.arg(paper.id);
    return std::nullopt;
}

// --- Writing ---

QByteArray timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs).toLatin1();
}

template<std::size_t N> QByteArray tickText(const std::array<bool, N> &ticks)
{
    QByteArray text(static_cast<qsizetype>(N), '0');
    for (std::size_t i = 0; i < N; ++i)
        if (ticks[i])
            text[static_cast<qsizetype>(i)] = '1';
    return text;
}

void bindText(sqlite3_stmt *statement, int index, const QByteArray &text)
{
    sqlite3_bind_text(statement, index, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    bindText(statement, index, text.toUtf8());
}

// The statements that write records, prepared once for a whole class or change.
class RecordWriter final
{
    Q_DISABLE_COPY_MOVE(RecordWriter)

public:
    explicit RecordWriter(sqlite3 *db)
        : m_db(db)
    {
    }

    std::optional<QString> put(const ClassHeading &heading)
    {
        sqlite3_stmt *statement = statementFor(m_heading, kUpsertHeading);
        if (!statement)
            return sqliteError(m_db);
        bindText(statement, 1, heading.school);
        bindText(statement, 2, heading.grade);
        bindText(statement, 3, heading.room);
        sqlite3_bind_int(statement, 4, heading.term);
        sqlite3_bind_int(statement, 5, heading.year);
        bindText(statement, 6, heading.recorder);
        return run(statement);
    }

    std::optional<QString> put(const Pupil &pupil)
    {
        sqlite3_stmt *statement = statementFor(m_pupil, kUpsertPupil);
        if (!statement)
            return sqliteError(m_db);
        sqlite3_bind_int64(statement, 1, pupil.id);
        bindText(statement, 2, pupil.number);
        bindText(statement, 3, pupil.name);
        return run(statement);
    }

    std::optional<QString> put(const Paper &paper)
    {
        sqlite3_stmt *statement = statementFor(m_paper, kUpsertPaper);
        if (!statement)
            return sqliteError(m_db);
        sqlite3_bind_int64(statement, 1, paper.id);
        const std::string_view key = versionKey(paper.version);
        sqlite3_bind_text(statement, 2, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        if (paper.pupil == kNoPupil)
            sqlite3_bind_null(statement, 3);
        else
            sqlite3_bind_int64(statement, 3, paper.pupil);
        bindText(statement, 4, paper.number);
        bindText(statement, 5, paper.name);
        bindText(statement, 6, tickText(paper.ticks.front));
        bindText(statement, 7, tickText(paper.ticks.back));
        bindText(statement, 8, timeText(paper.added));
        bindText(statement, 9, timeText(paper.changed));
        return run(statement);
    }

    std::optional<QString> removePupil(PupilId id) { return remove(m_removePupil, kRemovePupil, id); }
    std::optional<QString> removePaper(PaperId id) { return remove(m_removePaper, kRemovePaper, id); }

private:
    sqlite3_stmt *statementFor(Statement &statement, const char *sql)
    {
        if (!statement)
            statement = prepare(m_db, sql);
        return statement.get();
    }

    std::optional<QString> run(sqlite3_stmt *statement)
    {
        const int status = sqlite3_step(statement);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        if (status != SQLITE_DONE)
            return sqliteError(m_db);
        return std::nullopt;
    }

    std::optional<QString> remove(Statement &statement, const char *sql, qint64 id)
    {
        sqlite3_stmt *prepared = statementFor(statement, sql);
        if (!prepared)
            return sqliteError(m_db);
        sqlite3_bind_int64(prepared, 1, id);
        return run(prepared);
    }

    sqlite3 *m_db;
    Statement m_heading;
    Statement m_pupil;
    Statement m_paper;
    Statement m_removePupil;
    Statement m_removePaper;
};

std::optional<QString> rowCountProblem(sqlite3 *db)
{
    Statement statement = prepare(db, "SELECT (SELECT count(*) FROM pupils), (SELECT count(*) FROM papers)");
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW)
        return sqliteError(db);
    if (sqlite3_column_int64(statement.get(), 0) > kMaxRows || sqlite3_column_int64(statement.get(), 1) > kMaxRows)
        return u"more than %1 pupils or papers"_s.arg(kMaxRows);
    return std::nullopt;
}

std::variant<QByteArray, QString> buildImage(const ClassData &data)
{
    if (auto problem = headingProblem(data.heading))
        return *problem;
    if (data.roster.size() > std::size_t(kMaxRows) || data.papers.size() > std::size_t(kMaxRows))
        return u"more than %1 pupils or papers"_s.arg(kMaxRows);
    for (const Pupil &pupil : data.roster)
        if (auto problem = pupilProblem(pupil))
            return *problem;
    for (const Paper &paper : data.papers)
        if (auto problem = paperProblem(paper))
            return *problem;

    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Db db(raw);
    if (opened != SQLITE_OK)
        return u"cannot make a database in memory"_s;
    harden(db.get());
    const QByteArray pragmas = "PRAGMA foreign_keys = ON; PRAGMA application_id = " + QByteArray::number(kApplicationId)
        + "; PRAGMA user_version = " + QByteArray::number(kVersion) + ";";
    if (auto error = exec(db.get(), pragmas.constData()))
        return *error;
    if (auto error = exec(db.get(), "BEGIN"))
        return *error;
    for (const char *sql : kSchema)
        if (auto error = exec(db.get(), sql))
            return *error;
    {
        RecordWriter writer(db.get());
        if (auto error = writer.put(data.heading))
            return *error;
        for (const Pupil &pupil : data.roster)
            if (auto error = writer.put(pupil))
                return *error;
        for (const Paper &paper : data.papers)
            if (auto error = writer.put(paper))
                return *error;
    }
    if (auto error = exec(db.get(), "COMMIT"))
        return *error;

    sqlite3_int64 size = 0;
    unsigned char *image = sqlite3_serialize(db.get(), "main", &size, 0);
    if (!image)
        return u"out of memory"_s;
    QByteArray bytes(reinterpret_cast<const char *>(image), static_cast<qsizetype>(size));
    sqlite3_free(image);
    return bytes;
}

// --- Reading ---

ReadFailure damaged(const QString &detail)
{
    return {ReadProblem::Damaged, detail};
}

std::optional<ReadFailure> headerProblem(const QByteArray &bytes)
{
    const bool magic = bytes.size() >= 16 && std::memcmp(bytes.constData(), kMagic, 16) == 0;
    if (!magic)
        return ReadFailure {ReadProblem::NotAClassFile, u"not an SQLite database"_s};
    if (bytes.size() < kHeaderSize)
        return damaged(u"shorter than its header"_s);
    if (bigEndian(bytes, 68, 4) != kApplicationId)
        return ReadFailure {ReadProblem::NotAClassFile,
            u"application id 0x%1 is not a class file's"_s.arg(bigEndian(bytes, 68, 4), 8, 16, QChar(u'0'))};
    const quint32 version = bigEndian(bytes, 60, 4);
    if (version > quint32(kVersion))
        return ReadFailure {ReadProblem::TooNew, u"format %1, newer than %2"_s.arg(version).arg(kVersion)};
    if (version < 1)
        return damaged(u"format %1"_s.arg(version));
    if (bytes.size() > kMaxImageSize)
        return damaged(u"larger than %1 bytes"_s.arg(kMaxImageSize));
    quint32 pageSize = bigEndian(bytes, 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return damaged(u"page size %1"_s.arg(pageSize));
    // A rollback journal: a file in WAL mode would bring -wal and -shm files.
    if (bytes[18] != 1 || bytes[19] != 1)
        return damaged(u"not in rollback-journal mode"_s);
    if (bytes.size() % pageSize != 0)
        return damaged(u"%1 bytes are not whole pages of %2"_s.arg(bytes.size()).arg(pageSize));
    // The page count is trusted only when written by the same change.
    const quint32 pages = bigEndian(bytes, 28, 4);
    if (bigEndian(bytes, 24, 4) == bigEndian(bytes, 92, 4) && qint64(pages) * pageSize != bytes.size())
        return damaged(u"%1 bytes for %2 pages of %3"_s.arg(bytes.size()).arg(pages).arg(pageSize));
    return std::nullopt;
}

bool readInteger(sqlite3_stmt *statement, int column, qint64 &value)
{
    if (sqlite3_column_type(statement, column) != SQLITE_INTEGER)
        return false;
    value = sqlite3_column_int64(statement, column);
    return true;
}

bool readText(sqlite3_stmt *statement, int column, QString &text)
{
    if (sqlite3_column_type(statement, column) != SQLITE_TEXT)
        return false;
    const int size = sqlite3_column_bytes(statement, column);
    if (size > kMaxTextLength * 3) // UTF-8 takes at most 3 bytes a UTF-16 unit
        return false;
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    QStringDecoder decoder(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    text = decoder(QByteArrayView(data, size));
    return !decoder.hasError() && !textProblem(text, "text");
}

template<std::size_t N> bool readTicks(sqlite3_stmt *statement, int column, std::array<bool, N> &ticks)
{
    if (sqlite3_column_type(statement, column) != SQLITE_TEXT || sqlite3_column_bytes(statement, column) != int(N))
        return false;
    const unsigned char *text = sqlite3_column_text(statement, column);
    for (std::size_t i = 0; i < N; ++i) {
        if (text[i] != '0' && text[i] != '1')
            return false;
        ticks[i] = text[i] == '1';
    }
    return true;
}

// Only the text this program writes: UTC, with milliseconds.
bool readTime(sqlite3_stmt *statement, int column, QDateTime &time)
{
    QString text;
    if (!readText(statement, column, text) || text.size() != 24)
        return false;
    time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() && time.timeSpec() == Qt::UTC && time.toString(Qt::ISODateWithMs) == text;
}

bool readVersion(sqlite3_stmt *statement, int column, FormVersion &version)
{
    if (sqlite3_column_type(statement, column) != SQLITE_TEXT)
        return false;
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    const auto key = versionFromKey(std::string_view(text, std::size_t(sqlite3_column_bytes(statement, column))));
    if (key)
        version = *key;
    return key.has_value();
}

// Runs a query row by row: a step that fails is a problem of the file.
template<typename Row> std::optional<QString> eachRow(sqlite3 *db, const char *sql, Row row)
{
    Statement statement = prepare(db, sql);
    if (!statement)
        return sqliteError(db);
    int rows = 0;
    for (;;) {
        const int status = sqlite3_step(statement.get());
        if (status == SQLITE_DONE)
            return std::nullopt;
        if (status != SQLITE_ROW)
            return sqliteError(db);
        if (++rows > kMaxRows)
            return u"more than %1 rows"_s.arg(kMaxRows);
        if (auto problem = row(statement.get()))
            return problem;
    }
}

std::optional<QString> schemaProblem(sqlite3 *db)
{
    std::size_t index = 0;
    auto problem = eachRow(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema ORDER BY rowid",
        [&index](sqlite3_stmt *statement) -> std::optional<QString> {
            auto is = [statement](int column, const char *expected) {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
                return text && std::strcmp(text, expected) == 0;
            };
            if (index >= std::size(kSchema))
                return u"more tables than the format has"_s;
            const SchemaEntry &entry = kSchemaEntries[index];
            if (!is(0, entry.type) || !is(1, entry.name) || !is(2, entry.table) || !is(3, kSchema[index]))
                return u"schema differs at %1"_s.arg(QLatin1StringView(entry.name));
            ++index;
            return std::nullopt;
        });
    if (!problem && index != std::size(kSchema))
        return u"tables missing"_s;
    return problem;
}

std::optional<QString> readTables(sqlite3 *db, ClassData &data)
{
    int headings = 0;
    auto problem
        = eachRow(db, "SELECT id, school, grade, room, term, year, recorder FROM heading", [&](sqlite3_stmt *row) {
              ClassHeading &heading = data.heading;
              qint64 id = 0;
              qint64 term = 0;
              qint64 year = 0;
              if (++headings > 1 || !readInteger(row, 0, id) || id != 1 || !readText(row, 1, heading.school)
                  || !readText(row, 2, heading.grade) || !readText(row, 3, heading.room) || !readInteger(row, 4, term)
                  || !readInteger(row, 5, year) || !readText(row, 6, heading.recorder) || term < 1 || term > 2
                  || year < 0 || year > 9999)
                  return std::optional(u"heading is not valid"_s);
              heading.term = int(term);
              heading.year = int(year);
              return std::optional<QString>();
          });
    if (problem)
        return problem;
    if (headings != 1)
        return u"no heading"_s;

    problem = eachRow(db, "SELECT id, number, name FROM pupils ORDER BY id", [&](sqlite3_stmt *row) {
        Pupil pupil;
        if (!readInteger(row, 0, pupil.id) || !readText(row, 1, pupil.number) || !readText(row, 2, pupil.name)
            || pupil.id <= 0 || (!data.roster.empty() && pupil.id <= data.roster.back().id))
            return std::optional(u"pupil after %1 is not valid"_s.arg(data.roster.empty() ? 0 : data.roster.back().id));
        data.roster.push_back(std::move(pupil));
        return std::optional<QString>();
    });
    if (problem)
        return problem;

    return eachRow(db, "SELECT id, version, pupil, number, name, front, back, added, changed FROM papers ORDER BY id",
        [&](sqlite3_stmt *row) {
            Paper paper;
            bool valid = readInteger(row, 0, paper.id) && paper.id > 0
                && (data.papers.empty() || paper.id > data.papers.back().id) && readVersion(row, 1, paper.version)
                && readText(row, 3, paper.number) && readText(row, 4, paper.name)
                && readTicks(row, 5, paper.ticks.front) && readTicks(row, 6, paper.ticks.back)
                && readTime(row, 7, paper.added) && readTime(row, 8, paper.changed);
            if (valid && sqlite3_column_type(row, 2) != SQLITE_NULL) {
                valid = readInteger(row, 2, paper.pupil) && paper.pupil > 0
                    && std::binary_search(data.roster.cbegin(), data.roster.cend(), Pupil {paper.pupil, {}, {}},
                        [](const Pupil &a, const Pupil &b) { return a.id < b.id; });
            }
            if (!valid)
                return std::optional(
                    u"paper after %1 is not valid"_s.arg(data.papers.empty() ? 0 : data.papers.back().id));
            data.papers.push_back(std::move(paper));
            return std::optional<QString>();
        });
}

// --- The file on disk ---

std::unique_ptr<QLockFile> lockFor(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path + u".lock"_s);
    // Only a lock whose owner has died is stale, however old.
    lock->setStaleLockTime(0);
    return lock;
}

QString lockError(const QLockFile &lock)
{
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return u"another copy of the program holds the lock"_s;
    case QLockFile::PermissionError:
        return u"cannot make the lock file beside it"_s;
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    return u"cannot take the lock"_s;
}

// A file without any write permission counts as read-only also for an
// administrator, as it does in Windows.
bool writableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isWritable()
        && (info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

std::variant<QByteArray, QString> readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    QByteArray bytes = file.read(kMaxImageSize + 1);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return bytes;
}

std::variant<Db, QString> connect(const QString &path, int flags)
{
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    Db db(raw);
    if (opened != SQLITE_OK)
        return db ? sqliteError(db.get()) : u"out of memory"_s;
    harden(db.get());
    sqlite3_busy_timeout(db.get(), 500);
    return db;
}

// The database as SQLite sees it under its own lock: with a journal left by
// a power cut rolled back (when writable), and never half a transaction of
// another copy of the program.
std::variant<QByteArray, QString> snapshot(const QString &path, bool writable)
{
    auto connected = connect(path, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    if (auto *error = std::get_if<QString>(&connected))
        return *error;
    const Db file = std::move(std::get<Db>(connected));
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const Db copy(raw);
    if (opened != SQLITE_OK)
        return u"out of memory"_s;
    sqlite3_backup *backup = sqlite3_backup_init(copy.get(), "main", file.get(), "main");
    if (!backup)
        return sqliteError(copy.get());
    const int status = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (status != SQLITE_DONE)
        return sqliteError(file.get());
    sqlite3_int64 size = 0;
    unsigned char *image = sqlite3_serialize(copy.get(), "main", &size, 0);
    if (!image)
        return u"out of memory"_s;
    QByteArray bytes(reinterpret_cast<const char *>(image), static_cast<qsizetype>(size));
    sqlite3_free(image);
    return bytes;
}

std::variant<Db, QString> connectForWriting(const QString &path)
{
    auto connected = connect(path, SQLITE_OPEN_READWRITE);
    if (auto *error = std::get_if<QString>(&connected))
        return *error;
    Db db = std::move(std::get<Db>(connected));
    if (sqlite3_db_readonly(db.get(), "main") != 0)
        return u"the file opens only for reading"_s;
    // Each change on disk before it is reported written; no -wal or -shm file.
    Statement journal = prepare(db.get(), "PRAGMA journal_mode = DELETE");
    if (!journal || sqlite3_step(journal.get()) != SQLITE_ROW
        || std::strcmp(reinterpret_cast<const char *>(sqlite3_column_text(journal.get(), 0)), "delete") != 0)
        return sqliteError(db.get());
    journal.reset();
    if (auto error = exec(db.get(), "PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON;"))
        return *error;
    return db;
}

OpenResult openFailure(OpenFailure failure, const QString &detail)
{
    OpenResult result;
    result.failure = failure;
    result.detail = detail;
    return result;
}

OpenFailure openFailureOf(ReadProblem problem)
{
    switch (problem) {
    case ReadProblem::NotAClassFile:
        return OpenFailure::NotAClassFile;
    case ReadProblem::TooNew:
        return OpenFailure::TooNew;
    case ReadProblem::Damaged:
        break;
    }
    return OpenFailure::Damaged;
}

CreateResult createFailure(CreateFailure failure, const QString &detail)
{
    CreateResult result;
    result.failure = failure;
    result.detail = detail;
    return result;
}

} // namespace

ClassRead readClassImage(const QByteArray &bytes)
{
    if (auto problem = headerProblem(bytes))
        return *problem;

    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const Db db(raw);
    if (opened != SQLITE_OK)
        return damaged(u"cannot make a database in memory"_s);
    harden(db.get());
    // Read-only: SQLite never writes to the caller's bytes.
    auto *image = reinterpret_cast<unsigned char *>(const_cast<char *>(bytes.constData()));
    if (sqlite3_deserialize(db.get(), "main", image, bytes.size(), bytes.size(), SQLITE_DESERIALIZE_READONLY)
        != SQLITE_OK)
        return damaged(sqliteError(db.get()));

    std::optional<QString> problem = eachRow(db.get(), "PRAGMA quick_check", [](sqlite3_stmt *row) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, 0));
        if (text && std::strcmp(text, "ok") == 0)
            return std::optional<QString>();
        return std::optional(text ? QString::fromUtf8(text) : u"quick_check failed"_s);
    });
    if (!problem)
        problem = schemaProblem(db.get());
    ClassData data;
    if (!problem)
        problem = readTables(db.get(), data);
    if (problem)
        return damaged(*problem);
    return data;
}

QByteArray classImage(const ClassData &data)
{
    auto built = buildImage(data);
    if (auto *bytes = std::get_if<QByteArray>(&built))
        return std::move(*bytes);
    return {};
}

ClassFile::ClassFile(const QString &path, std::unique_ptr<QLockFile> lock, sqlite3 *db)
    : m_path(path)
    , m_lock(std::move(lock))
    , m_db(db)
{
}

ClassFile::~ClassFile()
{
    sqlite3_close_v2(m_db);
}

OpenResult ClassFile::open(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return openFailure(OpenFailure::NotFound, u"a folder"_s);
    if (!info.exists())
        return openFailure(OpenFailure::NotFound, u"no such file"_s);

    OpenResult result;
    auto lock = lockFor(path);
    if (!lock->tryLock(0)) {
        result.limit = lock->error() == QLockFile::LockFailedError ? OpenLimit::Busy : OpenLimit::ReadOnly;
        result.detail = lockError(*lock);
        lock.reset();
    } else if (!writableFile(path)) {
        result.limit = OpenLimit::ReadOnly;
        result.detail = u"the file cannot be written"_s;
        lock.reset();
    }

    auto read = readWhole(path);
    if (auto *error = std::get_if<QString>(&read))
        return openFailure(OpenFailure::CannotRead, *error);
    QByteArray bytes = std::move(std::get<QByteArray>(read));
    if (auto problem = headerProblem(bytes); problem && problem->problem != ReadProblem::Damaged)
        return openFailure(openFailureOf(problem->problem), problem->detail);

    // A journal beside it means a change cut short, or one going on in
    // another copy: the bytes as read may hold half of it.
    if (result.limit == OpenLimit::Busy || QFileInfo::exists(path + u"-journal"_s)) {
        auto taken = snapshot(path, result.limit == OpenLimit::None);
        if (auto *error = std::get_if<QString>(&taken))
            return openFailure(OpenFailure::CannotRead, *error);
        bytes = std::move(std::get<QByteArray>(taken));
    }

    ClassRead classRead = readClassImage(bytes);
    if (auto *failure = std::get_if<ReadFailure>(&classRead))
        return openFailure(openFailureOf(failure->problem), failure->detail);
    result.data = std::move(std::get<ClassData>(classRead));

    if (result.limit == OpenLimit::None) {
        auto connected = connectForWriting(path);
        if (auto *error = std::get_if<QString>(&connected)) {
            result.limit = OpenLimit::ReadOnly;
            result.detail = *error;
        } else {
            result.file.reset(new ClassFile(path, std::move(lock), std::get<Db>(connected).release()));
        }
    }
    return result;
}

CreateResult ClassFile::create(const QString &path, const ClassData &data)
{
    auto built = buildImage(data);
    if (auto *error = std::get_if<QString>(&built))
        return createFailure(CreateFailure::CannotWrite, *error);
    const QByteArray &image = std::get<QByteArray>(built);
    // Nothing goes to disk that would not be read back whole.
    const ClassRead check = readClassImage(image);
    if (auto *failure = std::get_if<ReadFailure>(&check))
        return createFailure(CreateFailure::CannotWrite, failure->detail);

    auto lock = lockFor(path);
    if (!lock->tryLock(0))
        return createFailure(
            lock->error() == QLockFile::LockFailedError ? CreateFailure::Busy : CreateFailure::CannotWrite,
            lockError(*lock));

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return createFailure(CreateFailure::CannotWrite, file.errorString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(image) != image.size())
        return createFailure(CreateFailure::CannotWrite, file.errorString());
    // A journal of the file replaced would be rolled back into the new one.
    for (const QString &suffix : {u"-journal"_s, u"-wal"_s, u"-shm"_s}) {
        if (QFileInfo::exists(path + suffix) && !QFile::remove(path + suffix))
            return createFailure(CreateFailure::CannotWrite, u"cannot remove %1"_s.arg(path + suffix));
    }
    if (!file.commit())
        return createFailure(CreateFailure::CannotWrite, file.errorString());

    auto connected = connectForWriting(path);
    if (auto *error = std::get_if<QString>(&connected))
        return createFailure(CreateFailure::CannotWrite, *error);
    CreateResult result;
    result.file.reset(new ClassFile(path, std::move(lock), std::get<Db>(connected).release()));
    return result;
}

std::optional<QString> ClassFile::write(const ClassChange &change)
{
    if (change.heading)
        if (auto problem = headingProblem(*change.heading))
            return problem;
    for (const Pupil &pupil : change.pupils)
        if (auto problem = pupilProblem(pupil))
            return problem;
    for (const Paper &paper : change.papers)
        if (auto problem = paperProblem(paper))
            return problem;

    if (auto error = exec(m_db, "BEGIN IMMEDIATE"))
        return error;
    // Papers leave before pupils; the references are checked at the commit.
    const auto apply = [&]() -> std::optional<QString> {
        RecordWriter writer(m_db);
        if (change.heading)
            if (auto error = writer.put(*change.heading))
                return error;
        for (const Pupil &pupil : change.pupils)
            if (auto error = writer.put(pupil))
                return error;
        for (const Paper &paper : change.papers)
            if (auto error = writer.put(paper))
                return error;
        for (PaperId id : change.removedPapers)
            if (auto error = writer.removePaper(id))
                return error;
        for (PupilId id : change.removedPupils)
            if (auto error = writer.removePupil(id))
                return error;
        return rowCountProblem(m_db);
    };
    std::optional<QString> error = apply();
    if (!error)
        error = exec(m_db, "COMMIT");
    if (error && !sqlite3_get_autocommit(m_db))
        exec(m_db, "ROLLBACK");
    return error;
}
