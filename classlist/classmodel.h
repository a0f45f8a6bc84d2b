#pragma once

#include "childrecord.h"
#include "classdata.h"
#include "classsummary.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>
#include <vector>

class ClassDocument;

// The class as the list shows it, in one of its views: every version
// ("ทุกฉบับ"), by roster order and then version, with one empty row for a
// pupil who has no paper yet; or one version, with exactly one row per pupil,
// empty until that version's paper is typed. Papers with no pupil follow, and
// last an empty row where a late pupil's number and name are typed. Each row
// shows its place in the view, the pupil's number and name, the version, the
// 14 results and the remark; copies and the report read their cells here.
class ClassModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassModel)

public:
    enum Column : int {
        OrderColumn,
        NumberColumn,
        NameColumn,
        VersionColumn,
        FirstResultColumn,
        SeverityColumn = FirstResultColumn + kResultFieldCount - 1, // the back side's word, the last result
        RemarkColumn,
        ColumnCount
    };

    // What a row stands for: a pupil, a paper, both, or neither (the row for
    // a late pupil at the end).
    struct Row {
        PupilId pupil = kNoPupil;
        PaperId paper = 0;
    };

    explicit ClassModel(ClassDocument &document, QObject *parent = nullptr);
    ~ClassModel() override;

    static QStringList headings();
    // The class's heading, which the report prints.
    const ClassHeading &heading() const;

    // None: every version.
    std::optional<FormVersion> view() const { return m_view; }
    void setView(std::optional<FormVersion> view);

    // The rows of the view, without the row for a late pupil.
    int count() const { return static_cast<int>(m_rows.size()); }
    Row rowAt(int row) const;
    int rowOfPaper(PaperId paper) const;
    int rowOfPupil(PupilId pupil) const;
    QString field(int row, int column) const;
    QStringList fields(int row) const;
    const ClassSummary::Tallies &tallies() const { return m_tallies; }

    // The paper being mended, marked in its row.
    void setMending(PaperId paper);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // Removes each row's paper; a pupil's empty row removes the pupil.
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

signals:
    // A version typed into a row that its pupil already has.
    void versionTaken(int row, FormVersion version);

private:
    std::vector<Row> rowsOfView() const;
    void refresh();
    const ChildRecord *recordAt(int row) const;

    ClassDocument &m_document;
    std::optional<FormVersion> m_view;
    std::vector<Row> m_rows;
    ClassSummary::Tallies m_tallies;
    PaperId m_mending = 0;
};
