#pragma once

#include <QLabel>
#include <QLineEdit>

#include <vector>

// A sheet's result lines, bound once by the sheet: the score box and the
// label of its word, top to bottom. The same list shows and clears them.
struct ResultLine {
    QLineEdit *score;
    QLabel *word;
};
using ResultLines = std::vector<ResultLine>;

inline void clearResults(const ResultLines &lines)
{
    for (const ResultLine &line : lines) {
        line.score->clear();
        line.word->clear();
    }
}
