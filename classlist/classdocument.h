#pragma once

#include "childrecord.h"
#include "classdata.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class ClassFile;

// The term and Buddhist-era year a date falls in: the first term runs May to
// October, the second November to April, in the year of the May that began it.
struct SchoolTerm {
    int term = 1;
    int year = 0;
};
SchoolTerm schoolTermOn(const QDate &date);

// "ป.4-2 ภาคเรียนที่ 2 ปีการศึกษา 2569": the class as its file names and
// list titles name it.
QString classTitle(const ClassHeading &heading);

// One pupil of a pasted roster: a number where the line began with one.
struct RosterLine {
    QString number;
    QString name;
};
// Lines copied from a spreadsheet or a school system: a first column that is
// a number is the pupil's number, the text columns after it joined by blanks
// the name; a line of headings and empty lines are skipped.
std::vector<RosterLine> parseRoster(const QString &text);

// A name or number as the class keeps it: on one line, trimmed, at most this long.
inline constexpr int kLongestName = 100;
QString keptText(const QString &typed);

// The class being copied, apart from any window: its heading, roster and
// papers, each paper's results worked out once from its ticks, and the file
// that keeps it. Every change is written to that file before the call returns;
// without a file, or once a write failed, the class lives in memory only.
class ClassDocument final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassDocument)

public:
    // How the class stands against its file.
    enum class Keeping {
        NoFile, // never kept
        Kept, // every change is in the file
        ReadOnly, // opened from a file that cannot be written
        Busy, // opened from a file another copy of the program has open
        WriteFailed, // the file stopped taking changes
    };

    explicit ClassDocument(QObject *parent = nullptr);
    ~ClassDocument() override;

    const ClassData &data() const { return m_data; }
    const ClassHeading &heading() const { return m_data.heading; }
    const std::vector<Pupil> &roster() const { return m_data.roster; }
    const std::vector<Paper> &papers() const { return m_data.papers; }
    const Pupil *pupil(PupilId id) const;
    const Paper *paper(PaperId id) const;
    // The row a paper gives: its results and remark worked out from its ticks,
    // with the pupil's number and name (or the paper's own).
    const ChildRecord &record(PaperId id) const;
    bool isEmpty() const { return m_data.roster.empty() && m_data.papers.empty(); }

    // The paper of this version the pupil has, if any.
    const Paper *paperOf(PupilId pupil, FormVersion version) const;
    // The first pupil, in roster order, with no paper of this version yet.
    PupilId nextPupil(FormVersion version) const;
    // Every pupil with no paper of this version, in roster order.
    std::vector<PupilId> missing(FormVersion version) const;

    void setHeading(const ClassHeading &heading);
    // A finished paper for the pupil (or none). Returns its id.
    PaperId addPaper(FormVersion version, PupilId pupil, const PaperTicks &ticks);
    void replaceTicks(PaperId id, const PaperTicks &ticks);
    // False when the pupil already has a paper of that version.
    bool setVersion(PaperId id, FormVersion version);
    // The number or name of a paper's row: the pupil's where it has one.
    void setPaperNumber(PaperId id, const QString &number);
    void setPaperName(PaperId id, const QString &name);
    void setPupilNumber(PupilId id, const QString &number);
    void setPupilName(PupilId id, const QString &name);
    PupilId addPupil(const QString &number, const QString &name);
    // A number already in the roster takes the pasted name; a new one is
    // added at the end. Returns how many pupils were added and renamed.
    std::pair<int, int> pasteRoster(const std::vector<RosterLine> &lines);
    void removePapers(const std::vector<PaperId> &ids);
    // A pupil's papers go with the pupil.
    void removePupils(const std::vector<PupilId> &ids);

    Keeping keeping() const { return m_keeping; }
    QString filePath() const { return m_path; }
    // Whether the class holds anything its file does not.
    bool hasUnkeptRows() const;

    // Keeps the whole class in a new file at the path and goes on in it.
    // Returns what to tell the user when it could not.
    std::optional<QString> keepIn(const QString &path);

    struct Opened {
        bool ok = false;
        QString message; // what to tell the user: the failure, or why it opened read-only
    };
    // Replaces the class by the one in the file; a file that cannot be read
    // whole leaves the class as it was.
    Opened open(const QString &path);
    // An empty class with the same school, term, year and recorder.
    void startNew();

signals:
    // Pupils or papers came, went or changed.
    void rowsChanged();
    void headingChanged();
    // The whole class was replaced: opened or started anew.
    void classReplaced();
    void keepingChanged();
    // A write to the file failed; said once, with the system's cause.
    void writeFailed(const QString &cause);

private:
    Paper *findPaper(PaperId id);
    Pupil *findPupil(PupilId id);
    void remember(const Paper &paper);
    void refreshRecordsOf(PupilId pupil);
    void setPaperText(PaperId id, const QString &text, QString Paper::*field,
        void (ClassDocument::*forPupil)(PupilId, const QString &));
    void setPupilText(PupilId id, const QString &text, QString Pupil::*field);
    void write(const ClassChange &change);
    void setKeeping(Keeping keeping);
    void replaceClass(ClassData data);

    ClassData m_data;
    QHash<PaperId, ChildRecord> m_records;
    // Each pupil's paper of each version, made again after papers change:
    // the views and the next pupil look papers up once per pupil and version.
    mutable QHash<qint64, PaperId> m_paperOf;
    mutable bool m_paperOfStale = true;
    std::unique_ptr<ClassFile> m_file;
    QString m_path;
    Keeping m_keeping = Keeping::NoFile;
    bool m_unkept = false; // a change came while the file could not take it
    PupilId m_lastPupil = 0;
    PaperId m_lastPaper = 0;
};
