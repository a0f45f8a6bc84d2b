#include "answerbox.h"

AnswerBox::AnswerBox(QWidget *parent)
    : QCheckBox(parent)
{
}

AnswerBox::AnswerBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
}

AnswerBox::~AnswerBox() = default;

bool AnswerBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void AnswerBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
