#pragma once

#include "backanswers.h"
#include "backscoring.h"

#include "resultlines.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class ResponseBox;
class SheetKeys;
namespace Ui {
class Form4;
}

// The back side of the paper form (Form4): the impact questions, their score
// and its severity word.
class BackSheetScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackSheetScreen)

public:
    explicit BackSheetScreen(QWidget *parent = nullptr);
    ~BackSheetScreen() override;

    // Zero for the boxes that carry no score.
    Back::BoxScores boxScores() const;
    Back::BoxTicks ticks() const;
    bool anyTicked() const;

    // The keys and menu the sheets share.
    SheetKeys *keys() const { return m_keys; }

    // The result a child's row takes: the sheet interpreted afresh from its
    // ticks, as "แปลผล" does; none, with the result and notice emptied,
    // while no box is ticked.
    std::optional<Back::Result> resultsForRow();
    // Before a child is added: the notice of rows left out or doubled; its
    // words, empty when complete.
    QString finishNotice();
    void focusFirstProblem();
    void focusFirstRow();
    // As "เริ่มใหม่": empty, with the focus on the first row.
    void startAgain();
    // A kept paper back on the sheet: each box set as a click would set it,
    // without the warning that answering "ไม่" gives, the results left empty.
    void loadTicks(const Back::BoxTicks &ticks);

signals:
    void frontSideRequested();
    // "เริ่มใหม่" or "ปิดหน้าต่าง" emptied the sheet.
    void emptiedByUser();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QCheckBox *box(int number) const;
    void attachResponseBoxes();
    void describeBoxes();
    void applyNoDifficultiesRule();
    Back::Result interpretBackSheet();
    void clearBackSheet();
    void closeSheet();
    void answerByKey(int boxNumber, int answer);
    QString showNotice();

    Ui::Form4 *m_ui;
    std::array<QCheckBox *, Back::kBoxCount> m_boxes {}; // by box number, Check1 first
    std::array<ResponseBox *, Back::kBoxCount> m_responses {}; // null for the unscored boxes
    ResultLines m_lines;
    SheetKeys *m_keys = nullptr;
    bool m_loading = false; // ticks set from a kept paper: no warning
};
