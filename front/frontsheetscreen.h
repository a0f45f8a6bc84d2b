#pragma once

#include "frontscoring.h"

#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class ResponseBox;
namespace ResultRow {
class Results;
}
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

signals:
    void backSideRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeItems();
    void setFocusOrder();
    void interpretFrontSheet();
    void clearFrontSheet();
    void closeSheet();
    void focusFirstItem();
    void answerByKey(QCheckBox *focused, int answer);
    void showNotice();

    Ui::Form3 *m_ui;
    std::array<ResponseBox *, Front::kBoxCount> m_boxes {}; // by box number, Check1 first
    std::unique_ptr<ResultRow::Results> m_results; // the six lines, by Front::Scale
};
