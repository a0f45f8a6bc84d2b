#include "front/frontsheetscreen.h"
#include "kvttest.h"
#include "tests/common/nativekeys.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using KvtTest::kFrontBoxesOfItem;
using NativeKeys::Key;

namespace {

QString noticeText(const QString &unanswered, const QString &doubled)
{
    QStringList lines;
    if (!unanswered.isEmpty())
        lines << u"ยังไม่ได้ตอบ ข้อ "_s + unanswered;
    if (!doubled.isEmpty())
        lines << u"ตอบเกิน 1 ช่อง ข้อ "_s + doubled;
    return lines.join(u'\n');
}

} // namespace

class FrontEntryTest final : public KvtTest::SheetTest<FrontSheetScreen>
{
    Q_OBJECT

private slots:
    void init() { showSheet(); }
    void cleanup() { m_screen.reset(); }

    void digits_data();
    void digits();
    void clearKeys_data();
    void clearKeys();
    void thaiLayout_data();
    void thaiLayout();
    void otherKeysChangeNothing_data();
    void otherKeysChangeNothing();
    void wholeFormByKeys();
    void readyForTheNextForm_data();
    void readyForTheNextForm();

    void notice_data();
    void notice();
    void noticeEmptiedByClearing_data();
    void noticeEmptiedByClearing();
    void noticeStandsInFreeSpace();

    void copyMenu();
    void toolTipsNameTheKeys();

private:
    QCheckBox *itemBox(int item, int column) const { return box(kFrontBoxesOfItem[item - 1][column]); }
    QList<bool> ticksOf(int item) const;
    void tickItems(int column, const QList<int> &skip = {});
};

QList<bool> FrontEntryTest::ticksOf(int item) const
{
    QList<bool> ticks;
    for (int column = 0; column < 3; ++column)
        ticks << (itemBox(item, column)->checkState() == Qt::Checked);
    return ticks;
}

void FrontEntryTest::tickItems(int column, const QList<int> &skip)
{
    for (int item = 1; item <= 25; ++item)
        if (!skip.contains(item))
            itemBox(item, column)->setCheckState(Qt::Checked);
}

void FrontEntryTest::digits_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("focusColumn");
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("nextFocus");

    // Item 7 is reverse-scored; 15 ends the left block; 24's boxes are numbered out of order; 25 is the last.
    for (int item : {1, 7, 15, 16, 24, 25})
        for (int focusColumn = 0; focusColumn < 3; ++focusColumn)
            for (int digit = 1; digit <= 3; ++digit) {
                const QString next = item == 25 ? u"Command1"_s : u"Check%1"_s.arg(kFrontBoxesOfItem[item][digit - 1]);
                QTest::addRow("item %d, focus in column %d, key %d", item, focusColumn + 1, digit)
                    << item << focusColumn << digit << next;
            }
}

void FrontEntryTest::digits()
{
    QFETCH(int, item);
    QFETCH(int, focusColumn);
    QFETCH(int, digit);
    QFETCH(QString, nextFocus);

    // Start from a doubled item, so that the key must clear as well as tick.
    const int other = (digit % 3);
    itemBox(item, other)->setCheckState(Qt::Checked);
    itemBox(item, (digit + 1) % 3)->setCheckState(Qt::Checked);
    QCheckBox *focused = itemBox(item, focusColumn);
    focused->setFocus();
    NativeKeys::send(focused, NativeKeys::digitRow(digit));

    QList<bool> expected {false, false, false};
    expected[digit - 1] = true;
    QCOMPARE(ticksOf(item), expected);
    // Through the tick rule: the scores follow the states.
    const Front::BoxScores scores = m_screen->boxScores();
    for (int column = 0; column < 3; ++column) {
        const int number = kFrontBoxesOfItem[item - 1][column];
        const int tickedValue
            = (item == 7 || item == 11 || item == 14 || item == 21 || item == 25) ? 2 - column : column;
        QCOMPARE(scores[static_cast<std::size_t>(number - 1)], column == digit - 1 ? tickedValue : 0);
    }
    QCOMPARE(m_screen->focusWidget()->objectName(), nextFocus);
    // No other item changed.
    for (int otherItem = 1; otherItem <= 25; ++otherItem)
        if (otherItem != item)
            QCOMPARE(ticksOf(otherItem), (QList<bool> {false, false, false}));
}

void FrontEntryTest::clearKeys_data()
{
    QTest::addColumn<Key>("key");

    QTest::addRow("0") << NativeKeys::digitRow(0);
    QTest::addRow("Delete") << NativeKeys::deleteKey();
    QTest::addRow("keypad 0") << NativeKeys::keypad(0);
    QTest::addRow("keypad Delete") << NativeKeys::keypadDelete();
    QTest::addRow("thai zero") << NativeKeys::typedOnly(u"๐"_s);
}

void FrontEntryTest::clearKeys()
{
    QFETCH(Key, key);

    for (int column = 0; column < 3; ++column)
        itemBox(12, column)->setCheckState(Qt::Checked);
    itemBox(13, 0)->setCheckState(Qt::Checked);
    itemBox(12, 1)->setFocus();
    NativeKeys::send(itemBox(12, 1), key);

    QCOMPARE(ticksOf(12), (QList<bool> {false, false, false}));
    QCOMPARE(ticksOf(13), (QList<bool> {true, false, false}));
    QCOMPARE(m_screen->boxScores()[36 - 1], 0);
    QCOMPARE(m_screen->focusWidget(), itemBox(12, 1));
}

void FrontEntryTest::thaiLayout_data()
{
    QTest::addColumn<Key>("key");
    QTest::addColumn<int>("column");

    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    QTest::addRow("1 types lakkhangyao") << NativeKeys::digitRow(1, u"ๅ"_s) << 0;
    QTest::addRow("2 types slash") << NativeKeys::digitRow(2, u"/"_s) << 1;
    QTest::addRow("3 types minus") << NativeKeys::digitRow(3, u"-"_s) << 2;
    QTest::addRow("shift 1 types plus") << NativeKeys::digitRow(1, u"+"_s, shift) << 0;
    QTest::addRow("shift 2 types thai one") << NativeKeys::digitRow(2, u"๑"_s, shift) << 1;
    QTest::addRow("shift 3 types thai two") << NativeKeys::digitRow(3, u"๒"_s, shift) << 2;
    QTest::addRow("keypad 2") << NativeKeys::keypad(2) << 1;
    QTest::addRow("thai three from elsewhere") << NativeKeys::typedOnly(u"๓"_s) << 2;
}

void FrontEntryTest::thaiLayout()
{
    QFETCH(Key, key);
    QFETCH(int, column);

    itemBox(5, 0)->setFocus();
    NativeKeys::send(itemBox(5, 0), key);

    QList<bool> expected {false, false, false};
    expected[column] = true;
    QCOMPARE(ticksOf(5), expected);
    QCOMPARE(m_screen->focusWidget(), itemBox(6, column));
}

void FrontEntryTest::otherKeysChangeNothing_data()
{
    QTest::addColumn<Key>("key");

    QTest::addRow("4, no fourth column") << NativeKeys::digitRow(4);
    QTest::addRow("9") << NativeKeys::digitRow(9);
    QTest::addRow("ctrl 1") << NativeKeys::digitRowWithCtrl(1);
    QTest::addRow("minus key of a us layout") << NativeKeys::usMinus();
    QTest::addRow("letter") << NativeKeys::letterA();
}

void FrontEntryTest::otherKeysChangeNothing()
{
    QFETCH(Key, key);

    itemBox(3, 1)->setCheckState(Qt::Checked);
    itemBox(3, 2)->setFocus();
    NativeKeys::send(itemBox(3, 2), key);
    QCOMPARE(ticksOf(3), (QList<bool> {false, true, false}));
    QCOMPARE(m_screen->focusWidget(), itemBox(3, 2));
}

void FrontEntryTest::wholeFormByKeys()
{
    // Areas 6, 3, 8 and 1 and social 4, as on the worked example of the paper.
    const int columns[25] = {1, 2, 2, 1, 1, 0, 2, 2, 1, 2, 2, 1, 1, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0, 0, 2};
    m_screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    itemBox(1, 0)->setFocus();
    for (int item = 1; item <= 25; ++item)
        QTest::keyClick(QApplication::focusWidget(), char('1' + columns[item - 1]));
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(u"Command1"_s));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!control<QLineEdit>(u"Text1"_s)->text().isEmpty());

    for (int item = 1; item <= 25; ++item) {
        QList<bool> expected {false, false, false};
        expected[columns[item - 1]] = true;
        QCOMPARE(ticksOf(item), expected);
    }
    QStringList scores;
    for (int line = 1; line <= 6; ++line)
        scores << control<QLineEdit>(u"Text%1"_s.arg(line))->text();
    QCOMPARE(scores, (QStringList {u"6"_s, u"3"_s, u"8"_s, u"1"_s, u"18"_s, u"4"_s}));
    QVERIFY(control<QLabel>(u"Notice1"_s)->text().isEmpty());
}

void FrontEntryTest::readyForTheNextForm_data()
{
    QTest::addColumn<QString>("button"); // empty: as the screen opens
    QTest::addRow("opened") << QString();
    QTest::addRow("เริ่มใหม่") << u"Command4"_s;
    QTest::addRow("ปิดหน้าต่าง, opened again") << u"Command2"_s;
}

void FrontEntryTest::readyForTheNextForm()
{
    QFETCH(QString, button);
    if (!button.isEmpty()) {
        itemBox(20, 2)->setFocus();
        press(button);
        m_screen->show();
    }
    QCOMPARE(m_screen->focusWidget(), box(1));
}

void FrontEntryTest::notice_data()
{
    QTest::addColumn<QList<int>>("skipped");
    QTest::addColumn<QList<int>>("doubled");
    QTest::addColumn<QString>("text");

    QList<int> all;
    for (int item = 1; item <= 25; ++item)
        all << item;
    const QString allItems
        = u"1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25"_s;
    QTest::addRow("nothing ticked") << all << QList<int> {} << noticeText(allItems, {});
    QTest::addRow("one skipped") << QList<int> {16} << QList<int> {} << noticeText(u"16"_s, {});
    QTest::addRow("one doubled") << QList<int> {} << QList<int> {24} << noticeText({}, u"24"_s);
    QTest::addRow("skipped and doubled") << QList<int> {25, 3} << QList<int> {15, 1}
                                         << noticeText(u"3, 25"_s, u"1, 15"_s);
    QTest::addRow("all answered") << QList<int> {} << QList<int> {} << QString();
}

void FrontEntryTest::notice()
{
    QFETCH(QList<int>, skipped);
    QFETCH(QList<int>, doubled);
    QFETCH(QString, text);

    tickItems(1, skipped);
    for (int item : doubled)
        itemBox(item, 2)->setCheckState(Qt::Checked);
    auto *label = control<QLabel>(u"Notice1"_s);
    QVERIFY(label->text().isEmpty());
    press(u"Command1"_s);
    QCOMPARE(label->text(), text);
    // The scores still count every tick.
    QCOMPARE(control<QLineEdit>(u"Text1"_s)->text().isEmpty(), false);
}

void FrontEntryTest::noticeEmptiedByClearing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addRow("เริ่มใหม่") << u"Command4"_s;
    QTest::addRow("ปิดหน้าต่าง") << u"Command2"_s;
}

void FrontEntryTest::noticeEmptiedByClearing()
{
    QFETCH(QString, button);
    press(u"Command1"_s);
    QVERIFY(!control<QLabel>(u"Notice1"_s)->text().isEmpty());
    press(button);
    QVERIFY(control<QLabel>(u"Notice1"_s)->text().isEmpty());
}

void FrontEntryTest::noticeStandsInFreeSpace()
{
    auto *label = control<QLabel>(u"Notice1"_s);
    QVERIFY(label);
    QVERIFY(!label->accessibleName().isEmpty());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    const QRect area = label->geometry();
    // Below "แปลผล", between the two dividing lines.
    QVERIFY(area.top() > control<QPushButton>(u"Command1"_s)->geometry().bottom());
    QVERIFY(area.left() > control<QWidget>(u"Line1"_s)->geometry().right());
    QVERIFY(area.right() < control<QWidget>(u"Line2"_s)->geometry().left());
    QVERIFY(m_screen->rect().contains(area));
    const QList<QWidget *> others = m_screen->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *other : others)
        if (other != label)
            QVERIFY2(!other->geometry().intersects(area), qPrintable(other->objectName()));
}

void FrontEntryTest::copyMenu()
{
    QCOMPARE(m_screen->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList captions;
    for (const QAction *action : m_screen->actions())
        captions << action->text();
    QCOMPARE(captions,
        (QStringList {u"คัดลอกผล\tCtrl+C"_s, u"คัดลอกหัวตาราง"_s, u"เพิ่มลงรายชื่อ แล้วเริ่มคนถัดไป\tCtrl+Enter"_s,
            u"รายชื่อทั้งห้อง\tF2"_s, u"บันทึกรายชื่อทั้งห้องลงไฟล์\tCtrl+S"_s}));
    // A right click on a score box opens this menu, not the box's own.
    for (const QLineEdit *box : m_screen->findChildren<QLineEdit *>())
        QCOMPARE(box->contextMenuPolicy(), Qt::NoContextMenu);
}

void FrontEntryTest::toolTipsNameTheKeys()
{
    const QList<QCheckBox *> boxes = m_screen->findChildren<QCheckBox *>();
    QCOMPARE(boxes.size(), 75);
    for (const QCheckBox *box : boxes)
        QCOMPARE(box->toolTip(),
            u"1 ไม่จริง · 2 ค่อนข้างจริง · 3 จริง · 0 ล้างข้อนี้\n"
            u"Page Down ไปด้านหลัง · Ctrl+Enter เพิ่มลงรายชื่อ แล้วเริ่มคนถัดไป"_s);
}

KVT_TEST_MAIN(FrontEntryTest)

#include "tst_frontentry.moc"
