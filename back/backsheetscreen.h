#pragma once

#include "backscoring.h"

#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class ResponseBox;
namespace ResultRow {
class Results;
}
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

signals:
    void frontSideRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QCheckBox *box(int number) const;
    void attachResponseBoxes();
    void describeBoxes();
    void applyNoDifficultiesRule();
    void interpretBackSheet();
    void clearBackSheet();
    void closeSheet();
    void answerByKey(int boxNumber, int answer);
    void showNotice();

    Ui::Form4 *m_ui;
    std::array<QCheckBox *, Back::kBoxCount> m_boxes {}; // by box number, Check1 first
    std::array<ResponseBox *, Back::kBoxCount> m_responses {}; // null for the unscored boxes
    std::unique_ptr<ResultRow::Results> m_results;
};
