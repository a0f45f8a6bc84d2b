#pragma once

#include "frontanswers.h"
#include "frontscoring.h"

#include "resultlines.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class ResponseBox;
class SheetKeys;
namespace Ui {
class Form3;
}

// The front side of the paper form (Form3): 25 items of three answer boxes,
// the six results and their band words.
class FrontSheetScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrontSheetScreen)

public:
    explicit FrontSheetScreen(QWidget *parent = nullptr);
    ~FrontSheetScreen() override;

    Front::BoxScores boxScores() const;
    Front::BoxTicks ticks() const;

    // The keys and menu the sheets share.
    SheetKeys *keys() const { return m_keys; }

    // The results a child's row takes: the sheet interpreted afresh from its
    // ticks, as "แปลผล" does; none, with the results and notice emptied,
    // while no box is ticked.
    std::optional<Front::Result> resultsForRow();
    // Before a child is added: the notice of items left out or doubled
    // (an empty sheet has all 25 left out); its words, empty when complete.
    QString finishNotice();
    void focusFirstProblem();
    // As "เริ่มใหม่": empty, with the focus on item 1.
    void startAgain();
    // A kept paper back on the sheet: each box set as a click would set it,
    // the results and notice left empty, the focus on item 1.
    void loadTicks(const Front::BoxTicks &ticks);
    // Whose paper is being copied ("เลขที่ 5 ด.ญ. ขวัญ ใจ"), cut short when
    // long; empty hides it.
    void setPaperOwner(const QString &owner);

signals:
    void backSideRequested();
    // "เริ่มใหม่" or "ปิดหน้าต่าง" emptied the sheet.
    void emptiedByUser();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeItems();
    void setFocusOrder();
    Front::Result interpretFrontSheet();
    void clearFrontSheet();
    void closeSheet();
    void focusFirstItem();
    void answerByKey(QCheckBox *focused, int answer);
    QString showNotice();

    Ui::Form3 *m_ui;
    std::array<ResponseBox *, Front::kBoxCount> m_boxes {}; // by box number, Check1 first
    ResultLines m_lines; // the six lines, by Front::Scale
    SheetKeys *m_keys = nullptr;
    QLabel *m_paperOwner = nullptr;
};
