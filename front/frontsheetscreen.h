#pragma once

#include "frontscoring.h"

#include <QWidget>

#include <array>

class ResponseBox;
namespace Ui {
class FrontSheetScreen;
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

private:
    void placeItems();
    void setFocusOrder();
    void interpretFrontSheet();
    void clearFrontSheet();
    void closeSheet();

    Ui::FrontSheetScreen *m_ui;
    std::array<ResponseBox *, Front::kBoxCount> m_boxes {}; // by box number, Check1 first
};
