#include "front/frontsheetscreen.h"
#include "kvttest.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using KvtTest::kFrontBoxesOfItem;
using KvtTest::twips;

namespace {

constexpr int kLabelOfItem[25]
    = {1, 5, 7, 8, 9, 10, 15, 14, 13, 12, 11, 16, 17, 18, 19, 33, 29, 27, 26, 25, 24, 20, 21, 22, 23};

const QStringList kScoreBoxes {u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s, u"Text5"_s, u"Text6"_s};
const QStringList kBandLabels {u"Label36"_s, u"Label38"_s, u"Label40"_s, u"Label42"_s, u"Label44"_s, u"Label46"_s};

} // namespace

class FrontSheetTest final : public KvtTest::SheetTest<FrontSheetScreen>
{
    Q_OBJECT

private slots:
    void init() { showSheet(); }
    void cleanup() { m_screen.reset(); }

    void itemRows_data();
    void itemRows();
    void fixedControls_data();
    void fixedControls();
    void window();
    void focusOrder();
    void clickAnywhereOnBox_data();
    void clickAnywhereOnBox();

    void tickRule();
    void results_data();
    void results();
    void scoreBeyondEveryBandEmptiesItsLabel();
    void restartEmptiesEverything();
    void closeEmptiesAndHides();
    void backSideButton();

private:
    void tick(std::initializer_list<int> boxes);
    QStringList texts(const QStringList &names) const;
};

void FrontSheetTest::tick(std::initializer_list<int> boxes)
{
    for (int number : boxes) {
        QCheckBox *target = box(number);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }
}

QStringList FrontSheetTest::texts(const QStringList &names) const
{
    QStringList result;
    for (const QString &name : names) {
        if (auto *edit = control<QLineEdit>(name))
            result << edit->text();
        else
            result << control<QLabel>(name)->text();
    }
    return result;
}

void FrontSheetTest::itemRows_data()
{
    QTest::addColumn<int>("item");
    for (int item = 1; item <= 25; ++item)
        QTest::addRow("item %d", item) << item;
}

void FrontSheetTest::itemRows()
{
    QFETCH(int, item);
    const bool left = item <= 15;
    const int row = left ? item - 1 : item - 16;
    const int boxTop = 720 + 360 * row;

    auto *label = control<QLabel>(u"Label%1"_s.arg(kLabelOfItem[item - 1]));
    QVERIFY(label);
    QCOMPARE(label->text(), u"ข้อที่ %1"_s.arg(item));
    QCOMPARE(label->geometry(), twips(left ? 120 : 3240, boxTop + 120, 855, 375));
    const QColor expectedColour
        = item % 5 == 0 ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::WindowText);
    QCOMPARE(label->palette().color(QPalette::WindowText), expectedColour);

    const int lefts[2][3] = {{720, 1560, 2400}, {3840, 4680, 5520}};
    const QString headings[3] = {u"ไม่จริง"_s, u"ค่อนข้างจริง"_s, u"จริง"_s};
    for (int column = 0; column < 3; ++column) {
        QCheckBox *answer = box(kFrontBoxesOfItem[item - 1][column]);
        QVERIFY(answer);
        QCOMPARE(answer->geometry(), twips(lefts[left ? 0 : 1][column], boxTop, 375, 375));
        QVERIFY(answer->text().isEmpty());
        QCOMPARE(answer->accessibleName(), u"ข้อที่ %1 %2"_s.arg(item).arg(headings[column]));
        // Above its row's label, which reaches into the first column.
        QVERIFY(m_screen->childAt(answer->geometry().center()) == answer);
    }
}

void FrontSheetTest::fixedControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("colour"); // text colour; invalid where the default
    QTest::addColumn<qreal>("points"); // 0 where the default font
    QTest::addColumn<bool>("bold");

    const QColor red(255, 0, 0);
    const QColor none;
    struct Row {
        const char *name;
        QString caption;
        QRect geometry;
        QColor colour;
        qreal points;
        bool bold;
    };
    const Row rows[] = {
        {"Label6", u"ด้านหน้า"_s, twips(840, 120, 1815, 375), red, 8.25, true},
        {"Label2", u"ไม่จริง"_s, twips(600, 360, 735, 375), none, 0, false},
        {"Label3", u"ค่อนข้างจริง"_s, twips(1320, 360, 1095, 375), none, 0, false},
        {"Label4", u"จริง"_s, twips(2400, 360, 735, 375), none, 0, false},
        {"Label28", u"ด้านหน้า"_s, twips(3960, 120, 1815, 375), red, 8.25, true},
        {"Label32", u"ไม่จริง"_s, twips(3720, 360, 735, 375), none, 0, false},
        {"Label31", u"ค่อนข้างจริง"_s, twips(4440, 360, 1095, 375), none, 0, false},
        {"Label30", u"จริง"_s, twips(5520, 360, 735, 375), none, 0, false},
        {"Label34", u"แปลผลการประเมินพฤติกรรม"_s, twips(6480, 120, 2655, 375), red, 8.25, true},
        {"Label35", u"คะแนนด้านที่ 1 "_s, twips(6720, 720, 1335, 375), none, 0, false},
        {"Label37", u"คะแนนด้านที่ 2"_s, twips(6720, 1200, 1335, 375), none, 0, false},
        {"Label39", u"คะแนนด้านที่ 3"_s, twips(6720, 1680, 1335, 375), none, 0, false},
        {"Label41", u"คะแนนด้านที่ 4"_s, twips(6720, 2160, 1335, 375), none, 0, false},
        {"Label43", u"รวมคะแนนทั้ง 4 ด้าน"_s, twips(6720, 2640, 1815, 375), none, 0, false},
        {"Label45", u"คะแนนสัมพันธภาพททางสังคม"_s, twips(6240, 3120, 2295, 375), none, 0, false},
        {"Text1", {}, twips(8520, 600, 1335, 375), red, 12, true},
        {"Text2", {}, twips(8520, 1080, 1335, 375), red, 12, true},
        {"Text3", {}, twips(8520, 1560, 1335, 375), red, 12, true},
        {"Text4", {}, twips(8520, 2040, 1335, 375), red, 12, true},
        {"Text5", {}, twips(8520, 2520, 1335, 375), red, 12, true},
        {"Text6", {}, twips(8520, 3000, 1335, 375), red, 12, true},
        {"Label36", {}, twips(10080, 600, 1335, 375), red, 12, true},
        {"Label38", {}, twips(10080, 1080, 1335, 375), red, 12, true},
        {"Label40", {}, twips(10080, 1560, 1335, 375), red, 12, true},
        {"Label42", {}, twips(10080, 2040, 1335, 375), red, 12, true},
        {"Label44", {}, twips(10080, 2520, 1335, 375), red, 12, true},
        {"Label46", {}, twips(10080, 3000, 1335, 375), red, 12, true},
        {"Command1", u"แปลผล"_s, twips(3840, 4560, 1575, 615), none, 0, false},
        {"Command3", u"ด้านหลัง"_s, twips(6480, 3840, 1455, 615), none, 0, false},
        {"Command4", u"เริ่มใหม่"_s, twips(8040, 3840, 1575, 615), none, 0, false},
        {"Command2", u"ปิดหน้าต่าง"_s, twips(9720, 3840, 1455, 615), none, 0, false},
        {"Frame1", u"ข้อควรระวัง"_s, twips(6480, 4680, 4815, 1455), none, 0, false},
        {"Label47", u"ใน 1 ข้อ โปรดทำเครื่องหมายถูกเพียงตัวเลือกเดียวเท่านั้น เพื่อการแปลผลที่ถูกต้อง"_s, twips(240, 360, 4455, 495),
            none, 0, false},
        {"Label48", {}, twips(6720, 6240, 4335, 255), QColor(0, 0, 255), 0, false},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.caption << row.geometry << row.colour
                                << row.points << row.bold;
}

void FrontSheetTest::fixedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QColor, colour);
    QFETCH(qreal, points);
    QFETCH(bool, bold);

    auto *widget = control<QWidget>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);
    if (auto *label = qobject_cast<QLabel *>(widget); label && !caption.isEmpty())
        QCOMPARE(label->text(), caption);
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->palette().color(QPalette::Button), QColor(255, 128, 128));
        QVERIFY(!button->autoDefault() && !button->isDefault());
    }
    if (auto *frame = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(frame->title(), caption);
    if (auto *scoreBox = qobject_cast<QLineEdit *>(widget)) {
        QVERIFY(!scoreBox->isEnabled());
        QCOMPARE(scoreBox->alignment(), Qt::AlignCenter);
        QCOMPARE(scoreBox->palette().color(QPalette::Active, QPalette::Text), colour);
        QCOMPARE(scoreBox->accessibleName(),
            m_screen->findChild<QLabel *>(u"Label%1"_s.arg(35 + 2 * kScoreBoxes.indexOf(name)))->text().trimmed());
    } else if (colour.isValid()) {
        QCOMPARE(widget->palette().color(QPalette::WindowText), colour);
    }
    if (points > 0)
        QCOMPARE(widget->font().pointSizeF(), points);
    QCOMPARE(widget->font().bold(), bold);
}

void FrontSheetTest::window()
{
    QCOMPARE(m_screen->objectName(), u"Form3"_s);
    QVERIFY(m_screen->windowTitle().startsWith(u"โปรแกรมแปลผลการประเมินพฤติกรรม KVT :: "_s));
    QVERIFY(m_screen->windowTitle().size() > 39);
    QCOMPARE(m_screen->size(), QSize(11475 / 15, 6720 / 15));
    QCOMPARE(m_screen->geometry().topLeft(), QPoint(315 / 15, 1080 / 15));
    QVERIFY(control<QLabel>(u"Label48"_s)->text().startsWith(u":: "_s));
    QCOMPARE(control<QLabel>(u"Label47"_s)->parentWidget(), control<QWidget>(u"Frame1"_s));
    for (const QString &line : {u"Line1"_s, u"Line2"_s}) {
        auto *frame = control<QFrame>(line);
        QVERIFY(frame);
        QCOMPARE(frame->frameShape(), QFrame::VLine);
        QCOMPARE(frame->height(), (6360 - 240) / 15);
    }
    // Two pixels wide, straddling the laid-out x.
    QCOMPARE(control<QFrame>(u"Line1"_s)->geometry(), QRect(3000 / 15 - 1, 240 / 15, 2, 6120 / 15));
    QCOMPARE(control<QFrame>(u"Line2"_s)->geometry(), QRect(6120 / 15 - 1, 240 / 15, 2, 6120 / 15));
}

void FrontSheetTest::focusOrder()
{
    QList<QWidget *> expected;
    const auto addBoxes = [&](int first, int last) {
        for (int number = first; number <= last; ++number)
            expected << box(number);
    };
    addBoxes(1, 39);
    addBoxes(43, 48);
    addBoxes(40, 42);
    addBoxes(49, 75);
    for (const char *name : {"Command1", "Command2", "Command3", "Command4"})
        expected << control<QWidget>(QString::fromLatin1(name));

    QList<QWidget *> visited;
    QWidget *current = box(1);
    do {
        if (current->focusPolicy() & Qt::TabFocus && current->isEnabled())
            visited << current;
        current = current->nextInFocusChain();
    } while (current != box(1));
    QCOMPARE(visited, expected);

    // The disabled score boxes stand between Command1 and Command2 in the chain.
    QWidget *afterCommand1 = control<QWidget>(u"Command1"_s)->nextInFocusChain();
    QCOMPARE(afterCommand1, control<QWidget>(u"Text1"_s));
}

void FrontSheetTest::clickAnywhereOnBox_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("top left") << QPoint(1, 1);
    QTest::newRow("centre") << QPoint(12, 12);
    QTest::newRow("bottom right") << QPoint(23, 23);
}

void FrontSheetTest::clickAnywhereOnBox()
{
    QFETCH(QPoint, offset);
    // Check19 shares its area with the item 7 label, which reaches under it.
    QCheckBox *target = box(19);
    QCOMPARE(m_screen->childAt(target->geometry().topLeft() + offset), target);
    QTest::mouseClick(target, Qt::LeftButton, {}, offset);
    QVERIFY(target->isChecked());
    QCOMPARE(m_screen->boxScores()[18], 2);
}

void FrontSheetTest::tickRule()
{
    // A user's toggle.
    tick({2, 3});
    QCOMPARE(m_screen->boxScores()[1], 1);
    QCOMPARE(m_screen->boxScores()[2], 2);
    tick({3});
    QCOMPARE(box(3)->checkState(), Qt::Unchecked);
    QCOMPARE(m_screen->boxScores()[2], 0);

    // Changes made by code run the rule too; grayed is forced clear.
    box(7)->setCheckState(Qt::Checked);
    QCOMPARE(m_screen->boxScores()[6], 2);
    box(7)->setCheckState(Qt::PartiallyChecked);
    QCOMPARE(box(7)->checkState(), Qt::Unchecked);
    QCOMPARE(m_screen->boxScores()[6], 0);

    // A user's click after a grayed spell still ticks it.
    tick({7});
    QCOMPARE(box(7)->checkState(), Qt::Checked);
    QCOMPARE(m_screen->boxScores()[6], 2);
}

void FrontSheetTest::results_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QStringList>("scores");
    QTest::addColumn<QStringList>("bands");

    const QString normal = u"ปกติ"_s, atRisk = u"เสี่ยง"_s, problem = u"มีปัญหา"_s;
    QTest::newRow("nothing ticked") << QList<int> {} << QStringList {u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}
                                    << QStringList {normal, normal, normal, normal, normal, problem};
    QTest::newRow("overview example") << QList<int> {7, 24, 38, 74, 14, 20, 35, 4, 27, 43, 60, 17, 3, 11, 29}
                                      << QStringList {u"6"_s, u"3"_s, u"8"_s, u"1"_s, u"18"_s, u"4"_s}
                                      << QStringList {atRisk, normal, problem, normal, atRisk, normal};
    QTest::newRow("item 7 not true") << QList<int> {19} << QStringList {u"0"_s, u"2"_s, u"0"_s, u"0"_s, u"2"_s, u"0"_s}
                                     << QStringList {normal, normal, normal, normal, normal, problem};
    QTest::newRow("all worth two") << QList<int> {3, 4, 7, 12, 13, 18, 19, 24, 28, 27, 31, 36, 39, 48, 43, 73, 72, 69,
        64, 63, 60, 55, 52, 42, 51} << QStringList {u"10"_s, u"10"_s, u"10"_s, u"10"_s, u"40"_s, u"10"_s}
                                   << QStringList {problem, problem, problem, problem, problem, normal};
    QTest::newRow("all of item 3") << QList<int> {7, 8, 9}
                                   << QStringList {u"3"_s, u"0"_s, u"0"_s, u"0"_s, u"3"_s, u"0"_s}
                                   << QStringList {normal, normal, normal, normal, normal, problem};
}

void FrontSheetTest::results()
{
    QFETCH(QList<int>, ticked);
    QFETCH(QStringList, scores);
    QFETCH(QStringList, bands);

    for (int number : ticked)
        tick({number});
    press(u"Command1"_s);
    QCOMPARE(texts(kScoreBoxes), scores);
    QCOMPARE(texts(kBandLabels), bands);
    press(u"Command1"_s); // a second press shows the same
    QCOMPARE(texts(kScoreBoxes), scores);
    QCOMPARE(texts(kBandLabels), bands);
}

void FrontSheetTest::scoreBeyondEveryBandEmptiesItsLabel()
{
    tick({7, 24, 39, 73}); // items 3, 8, 13, 16 "จริง": area 1 is 8
    press(u"Command1"_s);
    QCOMPARE(control<QLineEdit>(u"Text1"_s)->text(), u"8"_s);
    QCOMPARE(control<QLabel>(u"Label36"_s)->text(), u"มีปัญหา"_s);

    tick({40, 41, 42}); // all three boxes of item 24: area 1 is 11, beyond every band
    press(u"Command1"_s);
    QCOMPARE(control<QLineEdit>(u"Text1"_s)->text(), u"11"_s);
    QCOMPARE(control<QLabel>(u"Label36"_s)->text(), QString());
    QCOMPARE(control<QLabel>(u"Label38"_s)->text(), u"ปกติ"_s);
}

void FrontSheetTest::restartEmptiesEverything()
{
    tick({1, 3, 19, 51, 75});
    press(u"Command1"_s);
    press(u"Command4"_s);
    for (int number = 1; number <= 75; ++number)
        QVERIFY(!box(number)->isChecked());
    QCOMPARE(m_screen->boxScores(), Front::BoxScores {});
    QCOMPARE(texts(kScoreBoxes), QStringList(6));
    QCOMPARE(texts(kBandLabels), QStringList(6));
    QVERIFY(m_screen->isVisible());
}

void FrontSheetTest::closeEmptiesAndHides()
{
    tick({19});
    press(u"Command1"_s);
    press(u"Command2"_s);
    QVERIFY(!m_screen->isVisible());
    QVERIFY(!box(19)->isChecked());
    QCOMPARE(m_screen->boxScores(), Front::BoxScores {});
    QCOMPARE(texts(kScoreBoxes) + texts(kBandLabels), QStringList(12));
}

void FrontSheetTest::backSideButton()
{
    int requests = 0;
    connect(m_screen.get(), &FrontSheetScreen::backSideRequested, this, [&] { ++requests; });
    tick({19});
    press(u"Command1"_s);
    press(u"Command3"_s);
    QCOMPARE(requests, 1);
    // Enter on the focused button presses it, as the space bar does.
    auto *backButton = control<QPushButton>(u"Command3"_s);
    backButton->setFocus();
    QTest::keyClick(backButton, Qt::Key_Return);
    QTRY_COMPARE(requests, 2);
    QVERIFY(box(19)->isChecked());
    QCOMPARE(control<QLineEdit>(u"Text2"_s)->text(), u"2"_s);
}

KVT_TEST_MAIN(FrontSheetTest)

#include "tst_frontsheet.moc"
