#include "back/backsheetscreen.h"
#include "kvttest.h"
#include "tests/common/nativekeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using KvtTest::kBackRows;
using KvtTest::WarningWatch;
using NativeKeys::Key;

namespace {

// A digit-row key on a US layout.
void sendDigit(QWidget *target, int digit)
{
    NativeKeys::send(target, NativeKeys::digitRow(digit));
}

} // namespace

class BackEntryTest final : public KvtTest::SheetTest<BackSheetScreen>
{
    Q_OBJECT

private slots:
    void init() { showSheet(); }
    void cleanup() { m_screen.reset(); }

    void rows_data();
    void rows();
    void leadingBoxOfGrid();
    void noAnswersWithItsRule();
    void yesAfterNoEnablesAgain();
    void disabledRow();
    void clearKeys_data();
    void clearKeys();
    void thaiLayout_data();
    void thaiLayout();
    void readyForTheNextForm_data();
    void readyForTheNextForm();

    void notice_data();
    void notice();
    void noticeEmptiedByClearing_data();
    void noticeEmptiedByClearing();
    void noticeStandsInFreeSpace();

    void toolTipsNameWhatTheKeysTick();

private:
    QList<bool> ticksOf(int row) const;
};

QList<bool> BackEntryTest::ticksOf(int row) const
{
    QList<bool> ticks;
    for (int number : kBackRows[row])
        ticks << (box(number)->checkState() == Qt::Checked);
    return ticks;
}

void BackEntryTest::rows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("focusPlace");
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("nextFocus");

    // Difficulties is answered 2 to 4 here; "ไม่" has a test of its own.
    for (int row = 0; row < 8; ++row)
        for (int digit = row == 0 ? 2 : 1; digit <= 4; ++digit) {
            const int focusPlace = (row + digit) % 4;
            const QString next = row == 7 ? u"Command2"_s : u"Check%1"_s.arg(kBackRows[row + 1][digit - 1]);
            QTest::addRow("row %d, focus on answer %d, key %d", row + 1, focusPlace + 1, digit)
                << row << focusPlace << digit << next;
        }
}

void BackEntryTest::rows()
{
    QFETCH(int, row);
    QFETCH(int, focusPlace);
    QFETCH(int, digit);
    QFETCH(QString, nextFocus);

    WarningWatch watch; // "ไม่" may be the answer to clear
    box(kBackRows[row][digit % 4])->setCheckState(Qt::Checked); // another answer, to be cleared
    if (row != 0)
        box(kBackRows[row][(digit + 1) % 4])->setCheckState(Qt::Checked);
    box(kBackRows[row][focusPlace])->setFocus();
    sendDigit(box(kBackRows[row][focusPlace]), digit);

    QList<bool> expected {false, false, false, false};
    expected[digit - 1] = true;
    QCOMPARE(ticksOf(row), expected);
    QCOMPARE(m_screen->focusWidget()->objectName(), nextFocus);
    // The answered box scores what a click would give it.
    if (row >= 2) {
        const int weights[4] = {0, 0, 1, 2};
        QCOMPARE(m_screen->boxScores()[static_cast<std::size_t>(kBackRows[row][digit - 1] - 1)], weights[digit - 1]);
    }
}

void BackEntryTest::leadingBoxOfGrid()
{
    box(30)->setCheckState(Qt::Checked);
    box(30)->setFocus(); // in front of "การคบเพื่อน"
    sendDigit(box(30), 3);
    QCOMPARE(ticksOf(4), (QList<bool> {false, false, true, false}));
    QCOMPARE(box(30)->checkState(), Qt::Checked); // not one of the answers
    QCOMPARE(m_screen->focusWidget(), box(23));
    QCOMPARE(m_screen->boxScores()[19 - 1], 1);
}

void BackEntryTest::noAnswersWithItsRule()
{
    box(3)->setCheckState(Qt::Checked);
    box(12)->setCheckState(Qt::Checked);
    WarningWatch watch;
    box(4)->setFocus();
    sendDigit(box(4), 1);
    QCOMPARE(watch.count(), 1);
    QCOMPARE(ticksOf(0), (QList<bool> {true, false, false, false}));
    for (int number = 5; number <= 36; ++number)
        QVERIFY(!box(number)->isEnabled());
    QCOMPARE(box(12)->checkState(), Qt::Checked); // kept, disabled
    QCOMPARE(m_screen->focusWidget(), control<QPushButton>(u"Command2"_s));
}

void BackEntryTest::yesAfterNoEnablesAgain()
{
    WarningWatch watch;
    box(1)->setCheckState(Qt::Checked);
    QTRY_COMPARE(watch.count(), 1);
    box(1)->setFocus();
    sendDigit(box(1), 3);
    QCOMPARE(ticksOf(0), (QList<bool> {false, false, true, false}));
    QVERIFY(box(7)->isEnabled());
    QCOMPARE(m_screen->focusWidget(), box(7));
    QCOMPARE(watch.count(), 1);
}

void BackEntryTest::disabledRow()
{
    WarningWatch watch;
    box(11)->setCheckState(Qt::Checked);
    box(1)->setCheckState(Qt::Checked);
    QTRY_COMPARE(watch.count(), 1);
    box(1)->setFocus();
    // Delivered to the disabled box all the same, as a stray event would be.
    sendDigit(box(11), 4);
    sendDigit(box(11), 0);
    QCOMPARE(ticksOf(2), (QList<bool> {false, false, true, false}));
    QCOMPARE(m_screen->boxScores()[11 - 1], 1);
    QCOMPARE(m_screen->focusWidget(), box(1));
}

void BackEntryTest::clearKeys_data()
{
    QTest::addColumn<Key>("key");
    QTest::addRow("0") << NativeKeys::digitRow(0);
    QTest::addRow("Delete") << NativeKeys::deleteKey();
}

void BackEntryTest::clearKeys()
{
    QFETCH(Key, key);

    WarningWatch watch;
    for (int number : {1, 2, 34, 33})
        box(number)->setCheckState(Qt::Checked);
    QTRY_COMPARE(watch.count(), 1);
    for (int row : {0, 7}) {
        QCheckBox *focused = box(kBackRows[row][0]);
        focused->setFocus();
        NativeKeys::send(focused, key);
        QCOMPARE(ticksOf(row), (QList<bool> {false, false, false, false}));
        QCOMPARE(m_screen->focusWidget(), focused);
    }
    QVERIFY(box(36)->isEnabled()); // clearing "ไม่" ran its rule
    QCOMPARE(m_screen->boxScores(), Back::BoxScores {});
}

void BackEntryTest::thaiLayout_data()
{
    QTest::addColumn<Key>("key");
    QTest::addColumn<int>("place");

    QTest::addRow("4 types phosamphao") << NativeKeys::digitRow(4, u"ภ"_s) << 3;
    QTest::addRow("shift 4 types thai three") << NativeKeys::digitRow(4, u"๓"_s, Qt::ShiftModifier) << 3;
    QTest::addRow("thai four typed") << NativeKeys::typedOnly(u"๔"_s) << 3;
    QTest::addRow("keypad 1") << NativeKeys::keypad(1) << 0;
}

void BackEntryTest::thaiLayout()
{
    QFETCH(Key, key);
    QFETCH(int, place);

    box(10)->setFocus();
    NativeKeys::send(box(10), key);
    QList<bool> expected {false, false, false, false};
    expected[place] = true;
    QCOMPARE(ticksOf(2), expected);
    QCOMPARE(m_screen->focusWidget(), box(kBackRows[3][place]));
}

void BackEntryTest::readyForTheNextForm_data()
{
    QTest::addColumn<QString>("button");
    QTest::addRow("เริ่มใหม่") << u"Command3"_s;
    QTest::addRow("ปิดหน้าต่าง, opened again") << u"Command1"_s;
}

void BackEntryTest::readyForTheNextForm()
{
    QFETCH(QString, button);
    box(20)->setFocus();
    press(button);
    m_screen->show();
    QCOMPARE(m_screen->focusWidget(), box(1));
}

void BackEntryTest::notice_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QString>("text");

    QTest::addRow("nothing") << QList<int> {} << QString();
    QTest::addRow("no difficulties") << QList<int> {1} << QString();
    QTest::addRow("yes, every row once") << QList<int> {2, 5, 9, 13, 18, 23, 28, 34} << QString();
    QTest::addRow("yes, nothing more") << QList<int> {4}
                                       << u"ยังไม่ได้ตอบ: ระยะเวลาของปัญหา, ความไม่สบายใจของเด็ก, ความเป็นอยู่ที่บ้าน, การคบเพื่อน, "
                                          u"การเรียนในห้องเรียน, กิจกรรมยามว่าง, ความยุ่งยากของครอบครัว"_s;
    QTest::addRow("friendships skipped, burden doubled") << QList<int> {
        3, 8, 12, 16, 30, 24, 25, 33, 35} << u"ยังไม่ได้ตอบ: การคบเพื่อน\nตอบเกิน 1 ช่อง: ความยุ่งยากของครอบครัว"_s;
    QTest::addRow("no and yes") << QList<int> {2, 1}
                                << u"ยังไม่ได้ตอบ: ระยะเวลาของปัญหา, ความไม่สบายใจของเด็ก, ความเป็นอยู่ที่บ้าน, "
                                   u"การคบเพื่อน, การเรียนในห้องเรียน, กิจกรรมยามว่าง, "
                                   u"ความยุ่งยากของครอบครัว\nตอบเกิน 1 ช่อง: ปัญหาโดยรวม"_s;
}

void BackEntryTest::notice()
{
    QFETCH(QList<int>, ticked);
    QFETCH(QString, text);

    WarningWatch watch;
    for (int number : ticked)
        box(number)->setCheckState(Qt::Checked);
    press(u"Command2"_s);
    QCOMPARE(control<QLabel>(u"Notice1"_s)->text(), text);
}

void BackEntryTest::noticeEmptiedByClearing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addRow("เริ่มใหม่") << u"Command3"_s;
    QTest::addRow("ปิดหน้าต่าง") << u"Command1"_s;
}

void BackEntryTest::noticeEmptiedByClearing()
{
    QFETCH(QString, button);
    box(2)->setCheckState(Qt::Checked);
    press(u"Command2"_s);
    QVERIFY(!control<QLabel>(u"Notice1"_s)->text().isEmpty());
    press(button);
    QVERIFY(control<QLabel>(u"Notice1"_s)->text().isEmpty());
}

void BackEntryTest::noticeStandsInFreeSpace()
{
    auto *label = control<QLabel>(u"Notice1"_s);
    QVERIFY(label);
    QVERIFY(!label->accessibleName().isEmpty());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    const QRect area = label->geometry();
    QVERIFY(m_screen->rect().contains(area));
    const QList<QWidget *> others = m_screen->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *other : others)
        if (other != label)
            QVERIFY2(!other->geometry().intersects(area), qPrintable(other->objectName()));
}

void BackEntryTest::toolTipsNameWhatTheKeysTick()
{
    // Every box tells its keys; each key ticks the answer its tooltip names.
    box(1)->setCheckState(Qt::Unchecked);
    box(2)->setCheckState(Qt::Checked); // "ใช่": the rows after it answer
    for (int number = 5; number <= 36; ++number) {
        const QStringList lines = box(number)->toolTip().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.last(), u"Page Up กลับด้านหน้า · Ctrl+Enter เพิ่มลงรายชื่อ แล้วเริ่มคนถัดไป"_s);
        const QStringList keys = lines.first().split(u" · "_s);
        QCOMPARE(keys.size(), 5);
        QCOMPARE(keys.last(), u"0 ล้างข้อนี้"_s);
        for (int digit = 1; digit <= 4; ++digit) {
            const QString named = keys.at(digit - 1).section(u' ', 1);
            QVERIFY(keys.at(digit - 1).startsWith(QString::number(digit) + u' '));
            box(number)->setFocus();
            QTest::keyClick(box(number), Qt::Key(Qt::Key_0 + digit));
            bool found = false;
            for (const QCheckBox *answer : m_screen->findChildren<QCheckBox *>()) {
                const QString name = answer->accessibleName().isEmpty() ? answer->text() : answer->accessibleName();
                found = found || (answer->isChecked() && answer != box(2) && name.endsWith(named));
            }
            QVERIFY2(found, qPrintable(u"Check%1, key %2: %3"_s.arg(number).arg(digit).arg(named)));
            box(number)->setFocus();
            QTest::keyClick(box(number), Qt::Key_0);
        }
    }
}

KVT_TEST_MAIN(BackEntryTest)

#include "tst_backentry.moc"
