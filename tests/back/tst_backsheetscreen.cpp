#include "back/backsheetscreen.h"
#include "front/frontsheetscreen.h"
#include "kvttest.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <array>

using namespace Qt::StringLiterals;
using KvtTest::twips;
using KvtTest::WarningWatch;

Q_DECLARE_METATYPE(Qt::CheckState)

namespace {

const QString kWarningText = u"คุณตอบว่า (ไม่)  ไม่ต้องตอบข้อต่อไป เลือก OK และคลิกที่ปุ่ม แปลผล"_s;
const QString kSlight = u"ไม่รุนแรง/รุนแรงเล็กน้อย"_s;
const QString kModerate = u"รุนแรงปานกลาง"_s;
const QString kSevere = u"รุนแรงมาก"_s;
const QColor kRed(255, 0, 0);

// The Interference grid as the paper form lays it out: one row per area, the
// unscored box in front of the area name first, then the row's answers "ไม่"
// to "มาก".
constexpr int kGridLefts[] = {5880, 8040, 8760, 9600, 10440};
struct GridRow {
    int top;
    const char16_t *area;
    int leading;
    const int (&answers)[4];
    int box(std::size_t column) const { return column == 0 ? leading : answers[column - 1]; }
};
constexpr GridRow kGrid[] = {
    {1080, u"ความเป็นอยู่ที่บ้าน", 29, KvtTest::kBackRows[3]},
    {1560, u"การคบเพื่อน", 30, KvtTest::kBackRows[4]},
    {2040, u"การเรียนในห้องเรียน", 31, KvtTest::kBackRows[5]},
    {2520, u"กิจกรรมยามว่าง", 32, KvtTest::kBackRows[6]},
};
constexpr const char16_t *kGridHeaders[] = {u"ไม่", u"เล็กน้อย", u"ค่อนข้างมาก", u"มาก"};

QString resultText(const QWidget *screen)
{
    return KvtTest::control<QLineEdit>(screen, u"Text1"_s)->text();
}
QString severityText(const QWidget *screen)
{
    return KvtTest::control<QLabel>(screen, u"Label18"_s)->text();
}

// Numbers of the boxes that are disabled right now.
QList<int> disabledBoxes(const QWidget *screen)
{
    QList<int> disabled;
    for (int number = 1; number <= 36; ++number)
        if (!KvtTest::box(screen, number)->isEnabled())
            disabled << number;
    return disabled;
}

QList<int> range(int first, int last)
{
    QList<int> numbers;
    for (int number = first; number <= last; ++number)
        numbers << number;
    return numbers;
}

} // namespace

class BackSheetScreenTest final : public KvtTest::SheetTest<BackSheetScreen>
{
    Q_OBJECT

private slots:
    void init() { showSheet(); }
    void cleanup() { m_screen.reset(); }

    void noDifficultiesRule_data();
    void noDifficultiesRule();
    void warningOnUserTick();
    void boxScores_data();
    void boxScores();
    void interpretation_data();
    void interpretation();
    void scoreAboveEveryRangeEmptiesWord();
    void reset_data();
    void reset();
    void closeLeavesFrontSideAlone();
    void closeBoxGivesNewScreen();
    void layout_data();
    void layout();
    void looks();
    void focusOrder();
    void accessibility();
};

void BackSheetScreenTest::noDifficultiesRule_data()
{
    QTest::addColumn<QList<Qt::CheckState>>("states"); // set on Check1 by code, in turn
    QTest::addColumn<QList<int>>("disabled");
    QTest::addColumn<int>("warnings");

    const QList<int> followUps = range(5, 36);
    QTest::newRow("ticked") << QList {Qt::Checked} << followUps << 1;
    QTest::newRow("ticked, cleared") << QList {Qt::Checked, Qt::Unchecked} << QList<int>() << 1;
    QTest::newRow("ticked twice over") << QList {Qt::Checked, Qt::Unchecked, Qt::Checked} << followUps << 2;
    QTest::newRow("grayed") << QList {Qt::PartiallyChecked} << QList<int>() << 0;
    QTest::newRow("ticked, grayed") << QList {Qt::Checked, Qt::PartiallyChecked} << followUps << 1;
}

void BackSheetScreenTest::noDifficultiesRule()
{
    QFETCH(QList<Qt::CheckState>, states);
    QFETCH(QList<int>, disabled);
    QFETCH(int, warnings);

    for (int number : {11, 12, 2, 5, 29})
        box(number)->click();
    WarningWatch watch;
    for (Qt::CheckState state : states)
        box(1)->setCheckState(state);

    QCOMPARE(disabledBoxes(m_screen.get()), disabled);
    QCOMPARE(watch.seen().size(), warnings);
    // The rule never touches a tick or a score.
    for (int number : {11, 12, 2, 5, 29})
        QVERIFY(box(number)->isChecked());
    QCOMPARE(m_screen->boxScores()[10], 1);
    QCOMPARE(m_screen->boxScores()[11], 2);
}

void BackSheetScreenTest::warningOnUserTick()
{
    WarningWatch watch;
    QCheckBox *no = box(1);
    QTest::mouseClick(no, Qt::LeftButton, {}, no->rect().center());

    QCOMPARE(no->checkState(), Qt::Checked);
    QCOMPARE(watch.seen().size(), 1);
    const WarningWatch::Seen &warning = watch.seen().constFirst();
    QCOMPARE(warning.text, kWarningText);
    QCOMPARE(warning.title, u"คำเตือน"_s);
    QCOMPARE(warning.icon, QMessageBox::Information);
    QCOMPARE(warning.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(disabledBoxes(m_screen.get()), range(5, 36));

    // A disabled box no longer takes the user's click.
    QCheckBox *upset = box(12);
    QTest::mouseClick(upset, Qt::LeftButton, {}, upset->rect().center());
    QVERIFY(!upset->isChecked());

    QTest::mouseClick(no, Qt::LeftButton, {}, no->rect().center());
    QCOMPARE(no->checkState(), Qt::Unchecked);
    QCOMPARE(watch.seen().size(), 1);
    QCOMPARE(disabledBoxes(m_screen.get()), QList<int>());
}

void BackSheetScreenTest::boxScores_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("score");

    // Ticked values of the paper form; every box not listed never scores.
    QMap<int, int> ticked {{10, 0}, {9, 0}, {11, 1}, {12, 2}, {35, 0}, {36, 0}, {34, 1}, {33, 2}};
    for (const GridRow &row : kGrid)
        for (int level = 0; level < 4; ++level)
            ticked[row.answers[level]] = std::array {0, 0, 1, 2}[static_cast<std::size_t>(level)];
    for (int number = 2; number <= 36; ++number)
        QTest::addRow("Check%d", number) << number << ticked.value(number, 0);
}

void BackSheetScreenTest::boxScores()
{
    QFETCH(int, number);
    QFETCH(int, score);

    QCheckBox *answer = box(number);
    QTest::mouseClick(answer, Qt::LeftButton, {}, answer->rect().center());
    QVERIFY(answer->isChecked());
    press(u"Command2"_s);
    QCOMPARE(resultText(m_screen.get()), QString::number(score));

    QTest::mouseClick(answer, Qt::LeftButton, {}, answer->rect().center());
    QVERIFY(!answer->isChecked());
    QCOMPARE(m_screen->boxScores(), Back::BoxScores {});
}

void BackSheetScreenTest::interpretation_data()
{
    QTest::addColumn<QList<int>>("ticks"); // clicked in this order
    QTest::addColumn<QString>("score");
    QTest::addColumn<QString>("word");

    QTest::newRow("nothing ticked") << QList<int>() << u"0"_s << kSlight;
    QTest::newRow("only no") << QList {1} << u"0"_s << kSlight;
    QTest::newRow("yes, duration and area boxes") << QList {2, 3, 4, 5, 6, 7, 8, 29, 30, 31, 32} << u"0"_s << kSlight;
    QTest::newRow("a little everywhere") << QList {9, 14, 18, 22, 26, 36} << u"0"_s << kSlight;
    QTest::newRow("upset quite a lot") << QList {11} << u"1"_s << kModerate;
    QTest::newRow("upset a lot") << QList {12} << u"2"_s << kModerate;
    QTest::newRow("upset and home life") << QList {11, 15} << u"2"_s << kModerate;
    QTest::newRow("and burden") << QList {11, 15, 34} << u"3"_s << kSevere;
    QTest::newRow("a lot everywhere") << QList {12, 16, 20, 24, 28, 33} << u"12"_s << kSevere;
    QTest::newRow("ticked before no") << QList {12, 1} << u"2"_s << kModerate;
    QTest::newRow("after no, boxes are dead") << QList {1, 12, 33} << u"0"_s << kSlight;
}

void BackSheetScreenTest::interpretation()
{
    QFETCH(QList<int>, ticks);
    QFETCH(QString, score);
    QFETCH(QString, word);

    WarningWatch watch;
    for (int number : ticks)
        box(number)->click();
    control<QLineEdit>(u"Text1"_s)->setText(u"99"_s); // typed by the user

    for (int run = 0; run < 2; ++run) {
        press(u"Command2"_s);
        QCOMPARE(resultText(m_screen.get()), score);
        QCOMPARE(severityText(m_screen.get()), word);
    }
}

void BackSheetScreenTest::scoreAboveEveryRangeEmptiesWord()
{
    box(12)->click();
    press(u"Command2"_s);
    QCOMPARE(severityText(m_screen.get()), kModerate);

    for (int number : {16, 20, 24, 28, 33, 11})
        box(number)->click();
    press(u"Command2"_s);
    QCOMPARE(resultText(m_screen.get()), u"13"_s);
    QCOMPARE(severityText(m_screen.get()), QString());
}

void BackSheetScreenTest::reset_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("staysShown");

    QTest::newRow("start again") << QByteArray("Command3") << true;
    QTest::newRow("close") << QByteArray("Command1") << false;
}

void BackSheetScreenTest::reset()
{
    QFETCH(QByteArray, button);
    QFETCH(bool, staysShown);

    WarningWatch watch;
    for (int number : {2, 6, 11, 12, 19, 29, 33, 1})
        box(number)->click();
    press(u"Command2"_s);
    QCOMPARE(watch.seen().size(), 1);

    press(QString::fromLatin1(button));
    QCOMPARE(watch.seen().size(), 1); // clearing "ไม่" warns no one
    QCOMPARE(m_screen->isVisible(), staysShown);
    for (int number = 1; number <= 36; ++number) {
        QCOMPARE(box(number)->checkState(), Qt::Unchecked);
        QVERIFY(box(number)->isEnabled());
    }
    QCOMPARE(m_screen->boxScores(), Back::BoxScores {});
    QCOMPARE(resultText(m_screen.get()), QString());
    QCOMPARE(severityText(m_screen.get()), QString());

    press(u"Command2"_s);
    QCOMPARE(resultText(m_screen.get()), u"0"_s);
    QCOMPARE(severityText(m_screen.get()), kSlight);
}

void BackSheetScreenTest::closeLeavesFrontSideAlone()
{
    m_screen.reset();
    ScreenRegistry screens;
    screens.show(Screen::FrontSheet);
    QWidget *front = screens.screen(Screen::FrontSheet);
    for (int number : {1, 5, 9, 20, 43})
        KvtTest::box(front, number)->click();
    KvtTest::press(front, u"Command1"_s);
    const auto frontState = [front] {
        QStringList texts;
        for (const QLineEdit *field : front->findChildren<QLineEdit *>())
            texts << field->objectName() + u'=' + field->text();
        for (const QLabel *label : front->findChildren<QLabel *>())
            texts << label->objectName() + u'=' + label->text();
        const Front::BoxScores scores = static_cast<FrontSheetScreen *>(front)->boxScores();
        return std::pair(texts, QList<int>(scores.begin(), scores.end()));
    };
    const auto before = frontState();

    KvtTest::press(front, u"Command3"_s); // "ด้านหลัง"
    QWidget *back = screens.screen(Screen::BackSheet);
    QVERIFY(back && back->isVisible());
    WarningWatch watch;
    for (int number : {12, 33, 1})
        KvtTest::box(back, number)->click();
    KvtTest::press(back, u"Command2"_s);
    front->hide(); // so that its coming back shows
    KvtTest::press(back, u"Command1"_s);

    QVERIFY(!back->isVisible());
    QVERIFY(front->isVisible());
    QCOMPARE(frontState(), before);

    screens.show(Screen::BackSheet);
    QCOMPARE(screens.screen(Screen::BackSheet), back);
    QCOMPARE(disabledBoxes(back), QList<int>());
    QVERIFY(!KvtTest::box(back, 12)->isChecked());
    QCOMPARE(static_cast<BackSheetScreen *>(back)->boxScores(), Back::BoxScores {});
}

void BackSheetScreenTest::closeBoxGivesNewScreen()
{
    m_screen.reset();
    ScreenRegistry screens;
    screens.show(Screen::BackSheet);
    QPointer<QWidget> back = screens.screen(Screen::BackSheet);
    WarningWatch watch;
    for (int number : {12, 33, 1})
        KvtTest::box(back, number)->click();
    KvtTest::press(back, u"Command2"_s);

    back->close();
    QTRY_VERIFY(back.isNull());
    screens.show(Screen::BackSheet);
    auto *fresh = static_cast<BackSheetScreen *>(screens.screen(Screen::BackSheet));
    QVERIFY(fresh);
    for (int number = 1; number <= 36; ++number)
        QVERIFY(!KvtTest::box(fresh, number)->isChecked());
    QCOMPARE(disabledBoxes(fresh), QList<int>());
    QCOMPARE(fresh->boxScores(), Back::BoxScores {});
    QCOMPARE(resultText(fresh), QString());
    QCOMPARE(severityText(fresh), QString());
}

void BackSheetScreenTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("paper"); // in twips

    const struct {
        const char *name;
        const char16_t *caption;
        QRect twips;
    } controls[] = {
        {"Label19", u"ด้านหลัง", {1560, 120, 1455, 375}},
        {"Label1", u"โดยรวมคุณคิดว่าเด็กมีปัญหาในด้านใดด้านหนึ่งต่อไปนี้หรือไม่", {360, 600, 4575, 375}},
        {"Label2", u"ด้านอารมณ์ ด้านสมาธิ ด้านพฤติกรรม หรือความสามารถเข้ากับผู้อื่น", {360, 960, 4695, 375}},
        {"Check1", u"ไม่", {600, 1440, 735, 195}},
        {"Check2", u"ใช่ มีปัญหาเล็กน้อย", {2280, 1440, 1815, 255}},
        {"Check3", u"ใช่ มีปัญหาชัดเจน", {600, 1800, 1815, 255}},
        {"Check4", u"ใช่ มีปัญหาอย่างมาก", {2280, 1800, 1815, 255}},
        {"Label3", u"ถ้าตอบว่า \"ไม่\" ไม่ต้องตอบข้อต่อไป", {360, 2160, 4215, 255}},
        {"Label4", u"ถ้าตอบว่า \"ใช่\" กรุณาตอบข้อต่อไปนี้", {360, 2520, 4215, 255}},
        {"Label5", u"ปัญหานี้เกิดขึ้นมานานเท่าใหร่แล้ว", {360, 2880, 4215, 255}},
        {"Check6", u"น้อยกว่า 1 เดือน", {720, 3240, 1455, 195}},
        {"Check5", u"1 - 5 เดือน", {2400, 3240, 1815, 255}},
        {"Check7", u"6 - 12 เดือน", {720, 3600, 1815, 255}},
        {"Check8", u"มากกว่า 1 ปี", {2400, 3600, 1815, 255}},
        {"Label6", u"ปัญหานี้ทำให้เด็กรู้สึกไม่สบายใจหรือไม่", {480, 4200, 4215, 255}},
        {"Check10", u"ไม่เลย", {840, 4560, 1455, 195}},
        {"Check9", u"เล็กน้อย", {2520, 4560, 1815, 255}},
        {"Check11", u"ค่อนข้างมาก", {840, 4920, 1815, 255}},
        {"Check12", u"มาก", {2520, 4920, 1815, 255}},
        {"Label7", u"ปัญหานี้รบกวนชีวิตประจำวันของเด็กในด้านต่าง ๆ ต่อไปนี้หรือไม่", {5280, 120, 5175, 255}},
        {"Label9", u"ไม่", {8040, 600, 375, 255}},
        {"Label10", u"เล็กน้อย", {8520, 600, 855, 255}},
        {"Label11", u"ค่อนข้างมาก", {9360, 600, 975, 255}},
        {"Label12", u"มาก", {10440, 600, 615, 255}},
        {"Label8", u"ความเป็นอยู่ที่บ้าน", {6240, 1080, 1815, 255}},
        {"Label13", u"การคบเพื่อน", {6240, 1560, 1815, 255}},
        {"Label14", u"การเรียนในห้องเรียน", {6240, 2040, 1815, 255}},
        {"Label15", u"กิจกรรมยามว่าง", {6240, 2520, 1815, 255}},
        {"Label16", u"ปัญหานี้ทำให้คุณหรือครอบครัวเกิดความยุ่งยากหรือไม่", {5280, 3120, 4215, 255}},
        {"Check35", u"ไม่เลย", {5640, 3480, 1455, 195}},
        {"Check36", u"เล็กน้อย", {7320, 3480, 1815, 255}},
        {"Check34", u"ค่อนข้างมาก", {5640, 3840, 1455, 255}},
        {"Check33", u"มาก", {7320, 3840, 1815, 255}},
        {"Label17", u"คะแนนรวมแบบประเมินด้านหลัง", {5280, 4560, 2535, 255}},
        {"Text1", u"", {7680, 4440, 735, 495}},
        {"Label18", u"", {8520, 4440, 2775, 375}},
        {"Command2", u"แปลผล", {6480, 5520, 1455, 615}},
        {"Command3", u"เริ่มใหม่", {8040, 5520, 1455, 615}},
        {"Command1", u"ปิดหน้าต่าง", {9600, 5520, 1575, 615}},
    };
    for (const auto &control : controls)
        QTest::newRow(control.name) << QString::fromLatin1(control.name) << QString::fromUtf16(control.caption)
                                    << control.twips;
    for (const GridRow &row : kGrid)
        for (std::size_t column = 0; column < 5; ++column)
            QTest::addRow("Check%d", row.box(column))
                << u"Check%1"_s.arg(row.box(column)) << QString() << QRect(kGridLefts[column], row.top, 255, 255);
}

void BackSheetScreenTest::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, paper);

    QWidget *widget = control(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->geometry(), twips(paper.x(), paper.y(), paper.width(), paper.height()));
    QCOMPARE(widget->property("text").toString(), caption);
}

void BackSheetScreenTest::looks()
{
    QCOMPARE(m_screen->objectName(), u"Form4"_s);
    QCOMPARE(m_screen->windowTitle(), u"ด้านหลัง  แบบประเมินพฤติกรรมเด็ก (KVT)"_s);
    QCOMPARE(m_screen->geometry(), twips(330, 1110, 11415, 6390));
    QCOMPARE(control(u"Line1"_s)->geometry(), QRect(twips(5040) - 1, 0, 2, twips(6240)));

    for (const char *red : {"Label19", "Check1", "Label3", "Label18"})
        QCOMPARE(control(QLatin1String(red))->palette().color(QPalette::WindowText), kRed);
    auto *result = control<QLineEdit>(u"Text1"_s);
    QCOMPARE(result->palette().color(QPalette::Text), kRed);
    QVERIFY(result->isEnabled() && !result->isReadOnly());
    QCOMPARE(result->alignment() & Qt::AlignHorizontal_Mask, Qt::Alignment(Qt::AlignHCenter));
    QCOMPARE(control<QLabel>(u"Label19"_s)->alignment() & Qt::AlignHorizontal_Mask, Qt::Alignment(Qt::AlignHCenter));
    for (const char *bold : {"Label19", "Text1", "Label18"}) {
        const QFont font = control(QLatin1String(bold))->font();
        QVERIFY2(font.bold() && font.pointSize() == 12, bold);
    }
    for (const char *button : {"Command1", "Command2", "Command3"})
        QCOMPARE(control(QLatin1String(button))->palette().color(QPalette::Button), QColor(255, 128, 128));
}

void BackSheetScreenTest::focusOrder()
{
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    QCOMPARE(QApplication::focusWidget(), box(1));

    QStringList expected;
    for (int number = 1; number <= 36; ++number)
        expected << u"Check%1"_s.arg(number);
    expected << u"Text1"_s << u"Command1"_s << u"Command2"_s << u"Command3"_s;
    QStringList order;
    QWidget *widget = box(1);
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != box(1));
    QCOMPARE(order, expected);
}

void BackSheetScreenTest::accessibility()
{
    for (const GridRow &row : kGrid) {
        const QString area = QString::fromUtf16(row.area);
        QCOMPARE(box(row.leading)->accessibleName(), area);
        for (int level = 0; level < 4; ++level)
            QCOMPARE(box(row.answers[level])->accessibleName(), area + u' ' + QString::fromUtf16(kGridHeaders[level]));
    }
    for (int number : {9, 10, 11, 12})
        QCOMPARE(box(number)->accessibleDescription(), u"ปัญหานี้ทำให้เด็กรู้สึกไม่สบายใจหรือไม่"_s);
    for (int number : {33, 34, 35, 36})
        QCOMPARE(box(number)->accessibleDescription(), u"ปัญหานี้ทำให้คุณหรือครอบครัวเกิดความยุ่งยากหรือไม่"_s);
    QCOMPARE(control(u"Text1"_s)->accessibleName(), u"คะแนนรวมแบบประเมินด้านหลัง"_s);
}

KVT_TEST_MAIN(BackSheetScreenTest)

#include "tst_backsheetscreen.moc"
