#include "classsummary.h"

#include "backwords.h"
#include "frontwords.h"

#include <QBrush>
#include <QColor>
#include <QFont>

using namespace Qt::StringLiterals;

namespace ClassSummary {

namespace {

constexpr int kBackResult = kResultCount - 1;

int outcome(const std::optional<Front::Band> &band)
{
    return band ? static_cast<int>(*band) : kNoResult;
}

// Slight, Moderate, Severe: mildest first, as the front side's bands.
int outcome(const std::optional<Back::Severity> &severity)
{
    return severity ? static_cast<int>(*severity) : kNoResult;
}

const QString &resultName(int result)
{
    static const std::array<QString, kResultCount> names {
        u"ด้านที่ 1"_s,
        u"ด้านที่ 2"_s,
        u"ด้านที่ 3"_s,
        u"ด้านที่ 4"_s,
        u"รวม 4 ด้าน"_s,
        u"สัมพันธภาพทางสังคม"_s,
        u"ระดับความรุนแรง"_s,
    };
    return names[static_cast<std::size_t>(result)];
}

QString noResult()
{
    return u"ไม่มีผล"_s;
}

Line resultLine(const Tally &tally, int result)
{
    Line line {LineKind::Result, {}};
    line.cells[0] = resultName(result);
    const auto &counts = tally.counts[static_cast<std::size_t>(result)];
    for (int outcome = 0; outcome < kOutcomeCount; ++outcome)
        line.cells[static_cast<std::size_t>(outcome) + 1]
            = share(counts[static_cast<std::size_t>(outcome)], tally.children);
    return line;
}

} // namespace

std::vector<FormVersion> Tallies::versions() const
{
    std::vector<FormVersion> present;
    for (FormVersion version : {FormVersion::Parent, FormVersion::Teacher, FormVersion::Pupil}) {
        if (of(version).children > 0)
            present.push_back(version);
    }
    return present;
}

void Tallies::add(const ChildRecord &record, int step)
{
    Tally &tally = m_tallies[static_cast<std::size_t>(record.version)];
    tally.children += step;
    for (int scale = 0; scale < Front::kScaleCount; ++scale) {
        const int band = record.front ? outcome(record.front->bands[static_cast<std::size_t>(scale)]) : kNoResult;
        tally.counts[static_cast<std::size_t>(scale)][static_cast<std::size_t>(band)] += step;
    }
    const int severity = record.back ? outcome(record.back->severity) : kNoResult;
    tally.counts[kBackResult][static_cast<std::size_t>(severity)] += step;
}

QString share(int count, int of)
{
    const double percent = of > 0 ? 100.0 * count / of : 0.0;
    return u"%1 (%2%)"_s.arg(count).arg(percent, 0, 'f', 1);
}

QString versionHeading(FormVersion version, int children)
{
    return u"ฉบับ%1 %2 คน"_s.arg(versionName(version)).arg(children);
}

std::vector<Line> lines(const Tallies &tallies)
{
    using Back::Severity;
    using Front::Band;
    std::vector<Line> lines;
    for (FormVersion version : tallies.versions()) {
        const Tally &tally = tallies.of(version);
        lines.push_back({LineKind::Version, {versionHeading(version, tally.children)}});
        lines.push_back({LineKind::Side,
            {u"ด้านหน้า"_s, Front::bandWord(Band::Normal), Front::bandWord(Band::AtRisk), Front::bandWord(Band::Problem),
                noResult()}});
        for (int scale = 0; scale < Front::kScaleCount; ++scale)
            lines.push_back(resultLine(tally, scale));
        lines.push_back({LineKind::Side,
            {u"ด้านหลัง"_s, Back::severityWord(Severity::Slight), Back::severityWord(Severity::Moderate),
                Back::severityWord(Severity::Severe), noResult()}});
        lines.push_back(resultLine(tally, kBackResult));
    }
    return lines;
}

} // namespace ClassSummary

SummaryModel::SummaryModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SummaryModel::update(const ClassSummary::Tallies &tallies)
{
    std::vector<ClassSummary::Line> lines = ClassSummary::lines(tallies);
    if (lines.size() != m_lines.size()) {
        beginResetModel();
        m_lines = std::move(lines);
        endResetModel();
        return;
    }
    m_lines = std::move(lines);
    if (!m_lines.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ClassSummary::kCellCount - 1), {Qt::DisplayRole});
}

bool SummaryModel::isVersionLine(int row) const
{
    return m_lines[static_cast<std::size_t>(row)].kind == ClassSummary::LineKind::Version;
}

int SummaryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int SummaryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ClassSummary::kCellCount;
}

QVariant SummaryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const ClassSummary::Line &line = m_lines[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return line.cells[static_cast<std::size_t>(index.column())];
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    case Qt::FontRole:
        if (line.kind != ClassSummary::LineKind::Result) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::BackgroundRole:
        if (line.kind == ClassSummary::LineKind::Version)
            return QBrush(QColor(0xd9, 0xe8, 0xf5));
        if (line.kind == ClassSummary::LineKind::Side)
            return QBrush(QColor(0xf0, 0xf0, 0xf0));
        return {};
    default:
        return {};
    }
}
