#pragma once

// A class's own file (.kvt): an SQLite database that holds the heading, the
// roster and the papers, written as the class grows (docs/classfile.md).

#include "classdata.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <variant>

class QLockFile;
struct sqlite3;

namespace ClassFormat {
// "KVTC" at byte 68 of the file: tells a class file from any other database.
inline constexpr quint32 kApplicationId = 0x4B565443;
// The format this build writes and the newest it reads.
inline constexpr int kVersion = 1;
// Far beyond any class, so that a file this large is not one.
inline constexpr qint64 kMaxImageSize = 64 * 1024 * 1024;
inline constexpr int kMaxRows = 100000; // of pupils, and of papers
inline constexpr int kMaxTextLength = 1000; // of each text, in UTF-16 units
} // namespace ClassFormat

enum class ReadProblem { NotAClassFile, Damaged, TooNew };

struct ReadFailure {
    ReadProblem problem = ReadProblem::Damaged;
    QString detail; // for the log, in English
};

using ClassRead = std::variant<ClassData, ReadFailure>;

// The class a file's bytes hold, checked in full; never a part of it.
ClassRead readClassImage(const QByteArray &bytes);

// A whole file holding the class, or an empty array when the class breaks a
// rule of the format (a text too long, an id not positive, a time missing...)
// or memory runs out. Pupils and papers are kept by id.
QByteArray classImage(const ClassData &data);

// Why a file opened only for reading.
enum class OpenLimit {
    None,
    ReadOnly, // the file, its folder or its medium cannot be written
    Busy, // another copy of the program has it open
};

enum class OpenFailure { None, NotFound, CannotRead, NotAClassFile, Damaged, TooNew };

class ClassFile;

struct OpenResult {
    OpenFailure failure = OpenFailure::None;
    ClassData data; // when failure is None
    std::unique_ptr<ClassFile> file; // when failure and limit are None
    OpenLimit limit = OpenLimit::None;
    QString detail; // for the log: the cause of a failure or of a limit
};

enum class CreateFailure { None, Busy, CannotWrite };

struct CreateResult {
    CreateFailure failure = CreateFailure::None;
    std::unique_ptr<ClassFile> file; // when failure is None
    QString detail; // for the log: the cause of a failure
};

// One class file, locked against other copies of the program and open for
// writing; the lock is released when it is destroyed.
class ClassFile final
{
    Q_DISABLE_COPY_MOVE(ClassFile)

public:
    ~ClassFile();

    static OpenResult open(const QString &path);
    // Writes the whole class to path, replacing any file there, and opens it.
    static CreateResult create(const QString &path, const ClassData &data);

    // Writes one change in one transaction, on disk before it returns; on
    // failure nothing of it is written and the cause is returned.
    std::optional<QString> write(const ClassChange &change);

    QString path() const { return m_path; }

private:
    ClassFile(const QString &path, std::unique_ptr<QLockFile> lock, sqlite3 *db);

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    sqlite3 *m_db = nullptr;
};
