#include "answerbox.h"
#include "responsebox.h"

#include <QApplication>
#include <QTest>

class ResponseBoxTest final : public QObject
{
    Q_OBJECT

private slots:
    void stateChangesByCode_data();
    void stateChangesByCode();
    void userToggles_data();
    void userToggles();
    void ruleRunsInsideTheChange();
};

void ResponseBoxTest::stateChangesByCode_data()
{
    QTest::addColumn<int>("tickedValue");
    QTest::addColumn<Qt::CheckState>("setTo");
    QTest::addColumn<Qt::CheckState>("state");
    QTest::addColumn<int>("score");

    for (int value : {0, 1, 2}) {
        QTest::addRow("worth %d ticked", value) << value << Qt::Checked << Qt::Checked << value;
        QTest::addRow("worth %d cleared", value) << value << Qt::Unchecked << Qt::Unchecked << 0;
        QTest::addRow("worth %d grayed", value) << value << Qt::PartiallyChecked << Qt::Unchecked << 0;
    }
}

void ResponseBoxTest::stateChangesByCode()
{
    QFETCH(int, tickedValue);
    QFETCH(Qt::CheckState, setTo);
    QFETCH(Qt::CheckState, state);
    QFETCH(int, score);

    AnswerBox box;
    auto *response = new ResponseBox(&box, tickedValue);
    QCOMPARE(response->boxScore(), 0);
    box.setCheckState(Qt::Checked); // start from a ticked box, so that every change is a change
    box.setCheckState(setTo);
    QCOMPARE(box.checkState(), state);
    QCOMPARE(response->boxScore(), score);
}

void ResponseBoxTest::userToggles_data()
{
    QTest::addColumn<Qt::CheckState>("before");
    QTest::addColumn<Qt::CheckState>("after");
    QTest::newRow("clear") << Qt::Unchecked << Qt::Checked;
    QTest::newRow("ticked") << Qt::Checked << Qt::Unchecked;
    QTest::newRow("grayed") << Qt::PartiallyChecked << Qt::Checked;
}

void ResponseBoxTest::userToggles()
{
    QFETCH(Qt::CheckState, before);
    QFETCH(Qt::CheckState, after);

    // An unscored box keeps a grayed state; a click then ticks it as if clear.
    AnswerBox box;
    box.resize(25, 25);
    box.setCheckState(before);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(20, 20)); // away from the indicator
    QCOMPARE(box.checkState(), after);
    QTest::keyClick(&box, Qt::Key_Space);
    QCOMPARE(box.checkState(), after == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void ResponseBoxTest::ruleRunsInsideTheChange()
{
    AnswerBox box;
    auto *response = new ResponseBox(&box, 2);
    int seenInsideChange = -1;
    // Connected after the rule, so it runs after it within the same change.
    connect(&box, &QCheckBox::stateChanged, &box, [&] { seenInsideChange = response->boxScore(); });
    box.setCheckState(Qt::Checked);
    QCOMPARE(seenInsideChange, 2);
    box.setCheckState(Qt::Unchecked);
    QCOMPARE(seenInsideChange, 0);
}

QTEST_MAIN(ResponseBoxTest)
#include "tst_responsebox.moc"
