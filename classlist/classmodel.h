#pragma once

#include "childrecord.h"
#include "classsummary.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <vector>

// The children of the class in the order they were added, one row each: the
// row's number, the name the user types, the version, the 14 results and the
// remark. The table, the copies and the report all read their cells here.
class ClassModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassModel)

public:
    enum Column : int {
        NumberColumn,
        NameColumn,
        VersionColumn,
        FirstResultColumn,
        RemarkColumn = FirstResultColumn + kResultFieldCount,
        ColumnCount
    };

    explicit ClassModel(QObject *parent = nullptr);
    ~ClassModel() override;

    static QStringList headings();

    void append(ChildRecord record);
    // Rows in any order; each row once.
    void removeRowList(QList<int> rows);
    void clear();

    const ChildRecord &record(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    int count() const { return static_cast<int>(m_rows.size()); }
    QString field(int row, int column) const;
    QStringList fields(int row) const;
    const ClassSummary::Tallies &tallies() const { return m_tallies; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

signals:
    // A child added, removed or renamed: the list differs from any copy made.
    void changed();

private:
    std::vector<ChildRecord> m_rows;
    ClassSummary::Tallies m_tallies;
};
