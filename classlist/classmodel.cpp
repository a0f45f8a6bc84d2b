#include "classmodel.h"

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

ClassModel::ClassModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

ClassModel::~ClassModel() = default;

QStringList ClassModel::headings()
{
    return QStringList {u"ลำดับ"_s, u"ชื่อหรือเลขที่"_s, u"ฉบับ"_s} + resultHeadings() + QStringList {u"หมายเหตุ"_s};
}

void ClassModel::append(ChildRecord record)
{
    const int row = count();
    beginInsertRows({}, row, row);
    m_tallies.count(record);
    m_rows.push_back(std::move(record));
    endInsertRows();
    emit changed();
}

void ClassModel::removeRowList(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return;
    // From the bottom up, each run of neighbouring rows at once.
    for (qsizetype i = 0; i < rows.size();) {
        const int last = rows[i];
        int first = last;
        while (++i < rows.size() && rows[i] == first - 1)
            first = rows[i];
        if (first < 0 || last >= count())
            continue;
        beginRemoveRows({}, first, last);
        const auto begin = m_rows.begin() + first;
        const auto end = m_rows.begin() + last + 1;
        std::for_each(begin, end, [this](const ChildRecord &record) { m_tallies.uncount(record); });
        m_rows.erase(begin, end);
        endRemoveRows();
    }
    // The numbers below the removed rows are one row on.
    if (count() > 0)
        emit dataChanged(index(0, NumberColumn), index(count() - 1, NumberColumn), {Qt::DisplayRole});
    emit changed();
}

void ClassModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_tallies.clear();
    endResetModel();
    emit changed();
}

QString ClassModel::field(int row, int column) const
{
    const ChildRecord &child = record(row);
    switch (column) {
    case NumberColumn:
        return QString::number(row + 1);
    case NameColumn:
        return child.name;
    case VersionColumn:
        return versionName(child.version);
    case RemarkColumn:
        return child.remark;
    default:
        return resultField(child.front, child.back, column - FirstResultColumn);
    }
}

QStringList ClassModel::fields(int row) const
{
    QStringList fields;
    fields.reserve(ColumnCount);
    for (int column = 0; column < ColumnCount; ++column)
        fields << field(row, column);
    return fields;
}

int ClassModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int ClassModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClassModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return field(index.row(), index.column());
    case Qt::ToolTipRole:
        if (index.column() == RemarkColumn || index.column() == NameColumn)
            return field(index.row(), index.column());
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == NameColumn || index.column() == RemarkColumn)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant ClassModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        static const QStringList names = headings();
        return names[section];
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter | Qt::TextWordWrap);
    return {};
}

Qt::ItemFlags ClassModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == NameColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ClassModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != NameColumn || role != Qt::EditRole || index.row() >= count())
        return false;
    // Blanks typed by chance around a name or a number would make the cell
    // text in a spreadsheet.
    QString name = value.toString().trimmed();
    ChildRecord &child = m_rows[static_cast<std::size_t>(index.row())];
    if (name == child.name)
        return true;
    child.name = std::move(name);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit changed();
    return true;
}
