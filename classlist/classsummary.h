#pragma once

#include "childrecord.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

// How the children of a class fall in the bands: for each version of the
// form on its own, since the same child may be in the list once per version.
namespace ClassSummary {

// The six front-side results, then the back side's severity.
inline constexpr int kResultCount = Front::kScaleCount + 1;
// The three bands (or severities) from the mildest, then "no result": a side
// not filled in, or a score beyond every range.
inline constexpr int kOutcomeCount = 4;
inline constexpr int kNoResult = kOutcomeCount - 1;

struct Tally {
    int children = 0;
    std::array<std::array<int, kOutcomeCount>, kResultCount> counts {};
};

// One tally per version, by FormVersion.
class Tallies final
{
public:
    void count(const ChildRecord &record) { add(record, 1); }
    void uncount(const ChildRecord &record) { add(record, -1); }
    void clear() { m_tallies = {}; }

    const Tally &of(FormVersion version) const { return m_tallies[static_cast<std::size_t>(version)]; }
    // The versions that have children, in the menu's order.
    std::vector<FormVersion> versions() const;

private:
    void add(const ChildRecord &record, int step);

    std::array<Tally, kFormVersionCount> m_tallies {};
};

// A line of the summary table, as the window shows it and the report prints
// it: a version's heading, a side's heading with its band words, or one
// result with its counts.
enum class LineKind { Version, Side, Result };
inline constexpr int kCellCount = 1 + kOutcomeCount;
struct Line {
    LineKind kind;
    std::array<QString, kCellCount> cells;
};

// Each version's block: its heading, the front side's heading and six
// results, the back side's heading and its severity.
inline constexpr std::size_t kLinesPerVersion = 2 + Front::kScaleCount + 2;
std::vector<Line> lines(const Tallies &tallies);

// "25 (83.3%)": how many, and their share of the version's children.
QString share(int count, int of);

// "ฉบับผู้ปกครอง 28 คน".
QString versionHeading(FormVersion version, int children);

} // namespace ClassSummary

// The summary's lines as a table for the window.
class SummaryModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SummaryModel)

public:
    explicit SummaryModel(QObject *parent = nullptr);

    // Takes the tallies' new lines; only the cells change unless a version
    // comes or goes.
    void update(const ClassSummary::Tallies &tallies);

    // Whether the row heads a version's block.
    bool isVersionLine(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    std::vector<ClassSummary::Line> m_lines;
};
