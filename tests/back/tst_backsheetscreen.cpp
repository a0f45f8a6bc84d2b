#include "back/backsheetscreen.h"
#include "front/frontsheetscreen.h"
#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Qt::CheckState)

namespace {

const QString kWarningText = u"คุณตอบว่า (ไม่)  ไม่ต้องตอบข้อต่อไป เลือก OK และคลิกที่ปุ่ม แปลผล"_s;
const QString kSlight = u"ไม่รุนแรง/รุนแรงเล็กน้อย"_s;
const QString kModerate = u"รุนแรงปานกลาง"_s;
const QString kSevere = u"รุนแรงมาก"_s;
const QColor kRed(255, 0, 0);

constexpr int px(int twips)
{
    return twips / 15;
}

// The Interference grid as the paper form lays it out: one row per area, the
// unscored box in front of the area name first, then "ไม่" to "มาก".
constexpr int kGridLefts[] = {5880, 8040, 8760, 9600, 10440};
struct GridRow {
    int top;
    const char16_t *area;
    int boxes[5];
};
constexpr GridRow kGrid[] = {
    {1080, u"ความเป็นอยู่ที่บ้าน", {29, 13, 14, 15, 16}},
    {1560, u"การคบเพื่อน", {30, 17, 18, 19, 20}},
    {2040, u"การเรียนในห้องเรียน", {31, 21, 22, 23, 24}},
    {2520, u"กิจกรรมยามว่าง", {32, 25, 26, 27, 28}},
};
constexpr const char16_t *kGridHeaders[] = {u"ไม่", u"เล็กน้อย", u"ค่อนข้างมาก", u"มาก"};

template<typename T = QWidget> T *child(const QWidget *screen, const QString &name)
{
    T *found = screen->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

QCheckBox *box(const QWidget *screen, int number)
{
    return child<QCheckBox>(screen, u"Check%1"_s.arg(number));
}
QString resultText(const QWidget *screen)
{
    return child<QLineEdit>(screen, u"Text1"_s)->text();
}
QString severityText(const QWidget *screen)
{
    return child<QLabel>(screen, u"Label18"_s)->text();
}
void press(const QWidget *screen, const char *button)
{
    child<QPushButton>(screen, QLatin1String(button))->click();
}

// Numbers of the boxes that are disabled right now.
QList<int> disabledBoxes(const QWidget *screen)
{
    QList<int> disabled;
    for (int number = 1; number <= 36; ++number)
        if (!box(screen, number)->isEnabled())
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

// Closes every modal message box as soon as it is up and remembers what it said.
class WarningWatch final
{
public:
    struct Seen {
        QString text;
        QString title;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    WarningWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_seen.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
                box->close();
            }
        });
        m_timer.start(5);
    }

    const QList<Seen> &seen() const { return m_seen; }

private:
    QTimer m_timer;
    QList<Seen> m_seen;
};

} // namespace

class BackSheetScreenTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

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

private:
    std::unique_ptr<BackSheetScreen> m_screen;
};

void BackSheetScreenTest::init()
{
    m_screen = std::make_unique<BackSheetScreen>();
    m_screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
}

void BackSheetScreenTest::cleanup()
{
    m_screen.reset();
}

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
        box(m_screen.get(), number)->click();
    WarningWatch watch;
    for (Qt::CheckState state : states)
        box(m_screen.get(), 1)->setCheckState(state);

    QCOMPARE(disabledBoxes(m_screen.get()), disabled);
    QCOMPARE(watch.seen().size(), warnings);
    // The rule never touches a tick or a score.
    for (int number : {11, 12, 2, 5, 29})
        QVERIFY(box(m_screen.get(), number)->isChecked());
    QCOMPARE(m_screen->boxScores()[10], 1);
    QCOMPARE(m_screen->boxScores()[11], 2);
}

void BackSheetScreenTest::warningOnUserTick()
{
    WarningWatch watch;
    QCheckBox *no = box(m_screen.get(), 1);
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
    QCheckBox *upset = box(m_screen.get(), 12);
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
            ticked[row.boxes[level + 1]] = std::array {0, 0, 1, 2}[static_cast<std::size_t>(level)];
    for (int number = 2; number <= 36; ++number)
        QTest::addRow("Check%d", number) << number << ticked.value(number, 0);
}

void BackSheetScreenTest::boxScores()
{
    QFETCH(int, number);
    QFETCH(int, score);

    QCheckBox *answer = box(m_screen.get(), number);
    QTest::mouseClick(answer, Qt::LeftButton, {}, answer->rect().center());
    QVERIFY(answer->isChecked());
    press(m_screen.get(), "Command2");
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
        box(m_screen.get(), number)->click();
    child<QLineEdit>(m_screen.get(), u"Text1"_s)->setText(u"99"_s); // typed by the user

    for (int run = 0; run < 2; ++run) {
        press(m_screen.get(), "Command2");
        QCOMPARE(resultText(m_screen.get()), score);
        QCOMPARE(severityText(m_screen.get()), word);
    }
}

void BackSheetScreenTest::scoreAboveEveryRangeEmptiesWord()
{
    box(m_screen.get(), 12)->click();
    press(m_screen.get(), "Command2");
    QCOMPARE(severityText(m_screen.get()), kModerate);

    for (int number : {16, 20, 24, 28, 33, 11})
        box(m_screen.get(), number)->click();
    press(m_screen.get(), "Command2");
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
        box(m_screen.get(), number)->click();
    press(m_screen.get(), "Command2");
    QCOMPARE(watch.seen().size(), 1);

    press(m_screen.get(), button.constData());
    QCOMPARE(watch.seen().size(), 1); // clearing "ไม่" warns no one
    QCOMPARE(m_screen->isVisible(), staysShown);
    for (int number = 1; number <= 36; ++number) {
        QCOMPARE(box(m_screen.get(), number)->checkState(), Qt::Unchecked);
        QVERIFY(box(m_screen.get(), number)->isEnabled());
    }
    QCOMPARE(m_screen->boxScores(), Back::BoxScores {});
    QCOMPARE(resultText(m_screen.get()), QString());
    QCOMPARE(severityText(m_screen.get()), QString());

    press(m_screen.get(), "Command2");
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
        box(front, number)->click();
    press(front, "Command1");
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

    press(front, "Command3"); // "ด้านหลัง"
    QWidget *back = screens.screen(Screen::BackSheet);
    QVERIFY(back && back->isVisible());
    WarningWatch watch;
    for (int number : {12, 33, 1})
        box(back, number)->click();
    press(back, "Command2");
    front->hide(); // so that its coming back shows
    press(back, "Command1");

    QVERIFY(!back->isVisible());
    QVERIFY(front->isVisible());
    QCOMPARE(frontState(), before);

    screens.show(Screen::BackSheet);
    QCOMPARE(screens.screen(Screen::BackSheet), back);
    QCOMPARE(disabledBoxes(back), QList<int>());
    QVERIFY(!box(back, 12)->isChecked());
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
        box(back, number)->click();
    press(back, "Command2");

    back->close();
    QTRY_VERIFY(back.isNull());
    screens.show(Screen::BackSheet);
    auto *fresh = static_cast<BackSheetScreen *>(screens.screen(Screen::BackSheet));
    QVERIFY(fresh);
    for (int number = 1; number <= 36; ++number)
        QVERIFY(!box(fresh, number)->isChecked());
    QCOMPARE(disabledBoxes(fresh), QList<int>());
    QCOMPARE(fresh->boxScores(), Back::BoxScores {});
    QCOMPARE(resultText(fresh), QString());
    QCOMPARE(severityText(fresh), QString());
}

void BackSheetScreenTest::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");

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
            QTest::addRow("Check%d", row.boxes[column])
                << u"Check%1"_s.arg(row.boxes[column]) << QString() << QRect(kGridLefts[column], row.top, 255, 255);
}

void BackSheetScreenTest::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);

    QWidget *control = child(m_screen.get(), name);
    QCOMPARE(control->geometry(), QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
    QCOMPARE(control->property("text").toString(), caption);
}

void BackSheetScreenTest::looks()
{
    QCOMPARE(m_screen->objectName(), u"Form4"_s);
    QCOMPARE(m_screen->windowTitle(), u"ด้านหลัง  แบบประเมินพฤติกรรมเด็ก (KVT)"_s);
    QCOMPARE(m_screen->geometry(), QRect(px(330), px(1110), px(11415), px(6390)));
    QCOMPARE(child(m_screen.get(), u"Line1"_s)->geometry(), QRect(px(5040) - 1, 0, 2, px(6240)));

    for (const char *red : {"Label19", "Check1", "Label3", "Label18"})
        QCOMPARE(child(m_screen.get(), QLatin1String(red))->palette().color(QPalette::WindowText), kRed);
    auto *result = child<QLineEdit>(m_screen.get(), u"Text1"_s);
    QCOMPARE(result->palette().color(QPalette::Text), kRed);
    QVERIFY(result->isEnabled() && !result->isReadOnly());
    QCOMPARE(result->alignment() & Qt::AlignHorizontal_Mask, Qt::Alignment(Qt::AlignHCenter));
    QCOMPARE(child<QLabel>(m_screen.get(), u"Label19"_s)->alignment() & Qt::AlignHorizontal_Mask,
        Qt::Alignment(Qt::AlignHCenter));
    for (const char *bold : {"Label19", "Text1", "Label18"}) {
        const QFont font = child(m_screen.get(), QLatin1String(bold))->font();
        QVERIFY2(font.bold() && font.pointSize() == 12, bold);
    }
    for (const char *button : {"Command1", "Command2", "Command3"})
        QCOMPARE(
            child(m_screen.get(), QLatin1String(button))->palette().color(QPalette::Button), QColor(255, 128, 128));
}

void BackSheetScreenTest::focusOrder()
{
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    QCOMPARE(QApplication::focusWidget(), box(m_screen.get(), 1));

    QStringList expected;
    for (int number = 1; number <= 36; ++number)
        expected << u"Check%1"_s.arg(number);
    expected << u"Text1"_s << u"Command1"_s << u"Command2"_s << u"Command3"_s;
    QStringList order;
    QWidget *widget = box(m_screen.get(), 1);
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != box(m_screen.get(), 1));
    QCOMPARE(order, expected);
}

void BackSheetScreenTest::accessibility()
{
    for (const GridRow &row : kGrid) {
        const QString area = QString::fromUtf16(row.area);
        QCOMPARE(box(m_screen.get(), row.boxes[0])->accessibleName(), area);
        for (int level = 0; level < 4; ++level)
            QCOMPARE(box(m_screen.get(), row.boxes[level + 1])->accessibleName(),
                area + u' ' + QString::fromUtf16(kGridHeaders[level]));
    }
    for (int number : {9, 10, 11, 12})
        QCOMPARE(box(m_screen.get(), number)->accessibleDescription(), u"ปัญหานี้ทำให้เด็กรู้สึกไม่สบายใจหรือไม่"_s);
    for (int number : {33, 34, 35, 36})
        QCOMPARE(box(m_screen.get(), number)->accessibleDescription(), u"ปัญหานี้ทำให้คุณหรือครอบครัวเกิดความยุ่งยากหรือไม่"_s);
    QCOMPARE(child(m_screen.get(), u"Text1"_s)->accessibleName(), u"คะแนนรวมแบบประเมินด้านหลัง"_s);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Application::setUp(app);
    BackSheetScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backsheetscreen.moc"
