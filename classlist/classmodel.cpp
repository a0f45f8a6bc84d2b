#include "classmodel.h"

#include "classdocument.h"

#include <QBrush>
#include <QFont>
#include <QPalette>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool sameRow(const ClassModel::Row &a, const ClassModel::Row &b)
{
    return a.pupil == b.pupil && a.paper == b.paper;
}

} // namespace

ClassModel::ClassModel(ClassDocument &document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    connect(&m_document, &ClassDocument::rowsChanged, this, &ClassModel::refresh);
    refresh();
}

ClassModel::~ClassModel() = default;

QStringList ClassModel::headings()
{
    return QStringList {u"ลำดับ"_s, u"เลขที่"_s, u"ชื่อ-สกุล"_s, u"ฉบับ"_s} + resultHeadings() + QStringList {u"หมายเหตุ"_s};
}

const ClassHeading &ClassModel::heading() const
{
    return m_document.heading();
}

void ClassModel::setView(std::optional<FormVersion> view)
{
    if (view == m_view)
        return;
    beginResetModel();
    m_view = view;
    m_rows = rowsOfView();
    m_tallies.clear();
    for (const Row &row : m_rows)
        if (row.paper)
            m_tallies.count(m_document.record(row.paper));
    endResetModel();
}

std::vector<ClassModel::Row> ClassModel::rowsOfView() const
{
    std::vector<Row> rows;
    rows.reserve(m_document.papers().size() + m_document.roster().size());
    const auto versions = m_view ? std::vector<FormVersion> {*m_view}
                                 : std::vector<FormVersion>(kFormVersions.cbegin(), kFormVersions.cend());
    for (const Pupil &pupil : m_document.roster()) {
        const std::size_t before = rows.size();
        for (FormVersion version : versions)
            if (const Paper *paper = m_document.paperOf(pupil.id, version))
                rows.push_back({pupil.id, paper->id});
        if (rows.size() == before)
            rows.push_back({pupil.id, 0});
    }
    for (const Paper &paper : m_document.papers())
        if (paper.pupil == kNoPupil && (!m_view || paper.version == *m_view))
            rows.push_back({kNoPupil, paper.id});
    return rows;
}

// Rows that came or went are told as such, so that the table keeps its
// selection and scrolling; a change that moved no row tells every cell it
// may have changed, which repaints only what shows.
void ClassModel::refresh()
{
    std::vector<Row> next = rowsOfView();
    const std::size_t oldSize = m_rows.size();
    const std::size_t newSize = next.size();
    std::size_t head = 0;
    while (head < oldSize && head < newSize && sameRow(m_rows[head], next[head]))
        ++head;
    std::size_t tail = 0;
    while (
        tail < oldSize - head && tail < newSize - head && sameRow(m_rows[oldSize - 1 - tail], next[newSize - 1 - tail]))
        ++tail;
    const int first = static_cast<int>(head);
    const int oldLast = static_cast<int>(oldSize - tail) - 1;
    const int newLast = static_cast<int>(newSize - tail) - 1;
    if (oldLast >= first) {
        beginRemoveRows({}, first, oldLast);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + oldLast + 1);
        endRemoveRows();
    }
    if (newLast >= first) {
        beginInsertRows({}, first, newLast);
        m_rows.insert(m_rows.begin() + first, next.begin() + first, next.begin() + newLast + 1);
        endInsertRows();
    }
    m_tallies.clear();
    for (const Row &row : m_rows)
        if (row.paper)
            m_tallies.count(m_document.record(row.paper));
    // Rows that stayed in place may show new names, ticks or versions.
    if (oldLast < first && newLast < first && !m_rows.empty())
        emit dataChanged(index(0, 0), index(count() - 1, ColumnCount - 1));
}

ClassModel::Row ClassModel::rowAt(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return m_rows[static_cast<std::size_t>(row)];
}

int ClassModel::rowOfPaper(PaperId paper) const
{
    const auto found
        = std::find_if(m_rows.cbegin(), m_rows.cend(), [paper](const Row &row) { return row.paper == paper; });
    return found == m_rows.cend() ? -1 : static_cast<int>(found - m_rows.cbegin());
}

int ClassModel::rowOfPupil(PupilId pupil) const
{
    const auto found
        = std::find_if(m_rows.cbegin(), m_rows.cend(), [pupil](const Row &row) { return row.pupil == pupil; });
    return found == m_rows.cend() ? -1 : static_cast<int>(found - m_rows.cbegin());
}

const ChildRecord *ClassModel::recordAt(int row) const
{
    const Row at = rowAt(row);
    return at.paper ? &m_document.record(at.paper) : nullptr;
}

QString ClassModel::field(int row, int column) const
{
    const Row at = rowAt(row);
    if (row < 0 || row >= count())
        return {};
    const ChildRecord *child = recordAt(row);
    const Pupil *pupil = m_document.pupil(at.pupil);
    switch (column) {
    case OrderColumn:
        return QString::number(row + 1);
    case NumberColumn:
        return pupil ? pupil->number : child ? child->number : QString();
    case NameColumn:
        return pupil ? pupil->name : child ? child->name : QString();
    case VersionColumn:
        if (child)
            return versionName(child->version);
        return m_view ? versionName(*m_view) : QString();
    case RemarkColumn:
        return child ? child->remark : QString();
    default:
        return child ? resultField(child->front, child->back, column - FirstResultColumn) : QString();
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

void ClassModel::setMending(PaperId paper)
{
    const int before = rowOfPaper(m_mending);
    m_mending = paper;
    for (int row : {before, rowOfPaper(paper)})
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ClassModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count() + 1;
}

int ClassModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClassModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    const int column = index.column();
    const bool lateRow = row == count();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (lateRow)
            return {};
        if (column == OrderColumn && m_mending && rowAt(row).paper == m_mending)
            return u"แก้ไข %1"_s.arg(row + 1);
        return field(row, column);
    case Qt::ToolTipRole:
        if (lateRow)
            return u"พิมพ์เลขที่และชื่อ-สกุลของนักเรียนที่มาเพิ่มในแถวนี้"_s;
        if (column == RemarkColumn || column == NameColumn)
            return field(row, column);
        return {};
    case Qt::TextAlignmentRole:
        if (column == NameColumn || column == RemarkColumn)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignCenter);
    case Qt::FontRole:
        if (!lateRow && m_mending && rowAt(row).paper == m_mending) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        // A pupil still waiting for a paper reads paler than the copied ones.
        if (!lateRow && !rowAt(row).paper && column != NumberColumn && column != NameColumn)
            return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
        return {};
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
    if (!index.isValid())
        return flags;
    const int column = index.column();
    if (column == NumberColumn || column == NameColumn)
        flags |= Qt::ItemIsEditable;
    else if (column == VersionColumn && rowAt(index.row()).paper)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ClassModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole)
        return false;
    const int row = index.row();
    const Row at = rowAt(row);
    const QString text = value.toString();
    switch (index.column()) {
    case NumberColumn:
    case NameColumn: {
        const bool number = index.column() == NumberColumn;
        if (row == count()) {
            if (!keptText(text).isEmpty())
                m_document.addPupil(number ? text : QString(), number ? QString() : text);
        } else if (at.pupil) {
            number ? m_document.setPupilNumber(at.pupil, text) : m_document.setPupilName(at.pupil, text);
        } else if (at.paper) {
            number ? m_document.setPaperNumber(at.paper, text) : m_document.setPaperName(at.paper, text);
        }
        return true;
    }
    case VersionColumn: {
        if (!at.paper)
            return false;
        for (FormVersion version : kFormVersions) {
            if (versionName(version) != text && QString::number(static_cast<int>(version)) != text)
                continue;
            if (!m_document.setVersion(at.paper, version)) {
                emit versionTaken(row, version);
                return false;
            }
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool ClassModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > this->count())
        return false;
    std::vector<PaperId> papers;
    std::vector<PupilId> pupils;
    for (int i = row; i < row + count; ++i) {
        const Row at = rowAt(i);
        if (at.paper)
            papers.push_back(at.paper);
        else if (at.pupil)
            pupils.push_back(at.pupil);
    }
    m_document.removePapers(papers);
    m_document.removePupils(pupils);
    return true;
}
