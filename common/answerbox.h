#pragma once

#include <QCheckBox>

// A check box as the paper form's answer boxes behave: the whole rectangle
// takes the click (boxes without a caption are mostly empty space), and a
// user's toggle only ever flips between clear and ticked. Grayed can be set
// by code; a click on a grayed box ticks it, as on a clear one.
class AnswerBox final : public QCheckBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AnswerBox)

public:
    explicit AnswerBox(QWidget *parent = nullptr);
    explicit AnswerBox(const QString &text, QWidget *parent = nullptr);
    ~AnswerBox() override;

protected:
    bool hitButton(const QPoint &pos) const override;
    void nextCheckState() override;
};
