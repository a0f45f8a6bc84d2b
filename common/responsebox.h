#pragma once

#include <QObject>

class QCheckBox;

// The tick rule of one scored answer box, the same on both sides of the form.
// It runs on every change of the box's state, a user's toggle or a change made
// by code, synchronously inside that change: ticked gives the box's ticked
// value; anything else (clear or grayed) forces the box clear and gives 0.
class ResponseBox final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResponseBox)

public:
    // Owned by the box it watches.
    ResponseBox(QCheckBox *box, int tickedValue);
    ~ResponseBox() override;

    QCheckBox *box() const { return m_box; }
    int tickedValue() const { return m_tickedValue; }
    int boxScore() const { return m_boxScore; }

private:
    void applyTickRule();

    QCheckBox *m_box;
    int m_tickedValue;
    int m_boxScore = 0;
};
