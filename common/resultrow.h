#pragma once

#include <QStringList>

#include <vector>

class QLabel;
class QLineEdit;
class QWidget;

// One child's results as one spreadsheet row, so that the rows of a whole
// class pasted one under another give one row per child: the six front-side
// scores each followed by its band word, then the back side's score and its
// severity word, separated by tabs. Nothing is written anywhere but the
// clipboard.
namespace ResultRow {

inline constexpr int kFieldCount = 14;

// The two sides, in the row's order, and how many results each adds.
enum class Side { Front, Back };
inline constexpr int kFrontResults = 6;
inline constexpr int kBackResults = 1;

// One result as a sheet shows it: the score box and the label of its word.
struct Result {
    QLineEdit *score;
    QLabel *word;
};

// A sheet's results, bound once by the sheet and reported to the row while
// the sheet exists: the same list shows, clears and copies them.
class Results final
{
    Q_DISABLE_COPY_MOVE(Results)

public:
    Results(Side side, std::vector<Result> results);
    ~Results();

    const std::vector<Result> &list() const { return m_results; }
    void clear() const;
    QStringList fields() const; // score, word, score, word, ...

private:
    Side m_side;
    std::vector<Result> m_results;
};

// The column names, in the order of the fields.
QStringList headerNames();

// The fields joined by tabs, ending with a new line.
QString line(const QStringList &fields);

// The fields as the sheets show them now; those of a sheet that does not
// exist are empty.
QStringList currentFields();

void copyResults();
void copyHeader();

// Ctrl+C anywhere on a sheet copies the row (in a score box, only while no
// text is selected there), and the sheet's menu offers "คัดลอกผล" and
// "คัดลอกหัวตาราง", on the sheet and on its score boxes alike.
void addCopyKeyAndMenu(QWidget *sheet);

} // namespace ResultRow
