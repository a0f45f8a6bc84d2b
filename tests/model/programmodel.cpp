#include "programmodel.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace Model {

namespace {

// The front of the paper form: each item's boxes from "ไม่จริง" to "จริง".
// An ordinary item gives 0, 1, 2 from left to right; a reversed one 2, 1, 0.
struct FrontItem {
    std::array<int, 3> boxes;
    bool reversed;
};
constexpr std::array<FrontItem, 25> kFrontItems {{
    {{1, 2, 3}, false}, // item 1
    {{6, 5, 4}, false}, {{9, 8, 7}, false}, {{10, 11, 12}, false}, {{15, 14, 13}, false}, // item 5
    {{16, 17, 18}, false}, {{19, 20, 21}, true}, {{22, 23, 24}, false}, {{30, 29, 28}, false},
    {{25, 26, 27}, false}, // item 10
    {{31, 32, 33}, true}, {{34, 35, 36}, false}, {{37, 38, 39}, false}, {{48, 47, 46}, true},
    {{45, 44, 43}, false}, // item 15
    {{75, 74, 73}, false}, {{70, 71, 72}, false}, {{67, 68, 69}, false}, {{66, 65, 64}, false},
    {{61, 62, 63}, false}, // item 20
    {{60, 59, 58}, true}, {{57, 56, 55}, false}, {{54, 53, 52}, false}, {{40, 41, 42}, false},
    {{51, 50, 49}, true}, // item 25
}};

// An inclusive range and the word written for a score inside it.
struct Range {
    int low;
    int high;
    const char *word;
};

const char *const kNormal = "ปกติ";
const char *const kAtRisk = "เสี่ยง";
const char *const kProblem = "มีปัญหา";

// One result line: its items (none for the total) and its ranges in testing order.
struct FrontLine {
    std::array<int, 5> items;
    std::array<Range, 3> ranges;
};
constexpr std::array<FrontLine, kFrontLineCount> kFrontLines {{
    {{3, 8, 13, 16, 24}, {{{0, 5, kNormal}, {6, 6, kAtRisk}, {7, 10, kProblem}}}},
    {{5, 7, 12, 18, 22}, {{{0, 4, kNormal}, {5, 5, kAtRisk}, {6, 10, kProblem}}}},
    {{2, 10, 15, 21, 25}, {{{0, 5, kNormal}, {6, 6, kAtRisk}, {7, 10, kProblem}}}},
    {{6, 11, 14, 19, 23}, {{{0, 3, kNormal}, {4, 4, kAtRisk}, {5, 10, kProblem}}}},
    {{}, {{{0, 16, kNormal}, {17, 18, kAtRisk}, {19, 40, kProblem}}}}, // total of the four areas
    {{1, 4, 9, 17, 20}, {{{0, 2, kProblem}, {3, 3, kAtRisk}, {4, 10, kNormal}}}}, // social, the other way round
}};
constexpr std::size_t kTotalLine = 4;

constexpr std::array<Range, 3> kSeverity {{
    {0, 0, "ไม่รุนแรง/รุนแรงเล็กน้อย"},
    {1, 2, "รุนแรงปานกลาง"},
    {3, 12, "รุนแรงมาก"},
}};

// A score outside every range empties its label rather than keep an old word.
template<std::size_t N> std::string wordFor(const std::array<Range, N> &ranges, int score)
{
    for (const Range &range : ranges)
        if (score >= range.low && score <= range.high)
            return range.word;
    return {};
}

bool isTicked(const Box &box)
{
    return box.state == BoxState::Ticked;
}

// The back side's rows as the keys walk them: four answers each, left to
// right then top to bottom, the grid's uncaptioned box in front of the area
// name (not an answer) and the name the notice gives the row.
struct BackRow {
    std::array<int, 4> answers;
    int leading;
    const char *name;
};
constexpr std::array<BackRow, 8> kBackRows {{
    {{1, 2, 3, 4}, 0, "ปัญหาโดยรวม"},
    {{6, 5, 7, 8}, 0, "ระยะเวลาของปัญหา"},
    {{10, 9, 11, 12}, 0, "ความไม่สบายใจของเด็ก"},
    {{13, 14, 15, 16}, 29, "ความเป็นอยู่ที่บ้าน"},
    {{17, 18, 19, 20}, 30, "การคบเพื่อน"},
    {{21, 22, 23, 24}, 31, "การเรียนในห้องเรียน"},
    {{25, 26, 27, 28}, 32, "กิจกรรมยามว่าง"},
    {{35, 36, 34, 33}, 0, "ความยุ่งยากของครอบครัว"},
}};

std::size_t backRowOf(int box)
{
    for (std::size_t row = 0; row < kBackRows.size(); ++row) {
        if (kBackRows[row].leading == box)
            return row;
        for (int answer : kBackRows[row].answers)
            if (answer == box)
                return row;
    }
    throw std::out_of_range("no such back box");
}

std::string joined(const std::vector<std::string> &parts, const std::string &separator)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? std::string() : separator) + parts[i];
    return text;
}

std::string controlName(const char *kind, int number)
{
    return kind + std::to_string(number);
}

void merge(Outcome &into, const Outcome &from)
{
    into.warningShown = into.warningShown || from.warningShown;
}

const std::vector<std::string> &resultHeadings()
{
    static const std::vector<std::string> headings {"คะแนนด้านที่ 1", "แปลผลด้านที่ 1", "คะแนนด้านที่ 2", "แปลผลด้านที่ 2",
        "คะแนนด้านที่ 3", "แปลผลด้านที่ 3", "คะแนนด้านที่ 4", "แปลผลด้านที่ 4", "รวมคะแนนทั้ง 4 ด้าน", "แปลผลรวม 4 ด้าน",
        "คะแนนสัมพันธภาพทางสังคม", "แปลผลสัมพันธภาพทางสังคม", "คะแนนด้านหลัง", "ระดับความรุนแรง"};
    return headings;
}

std::string replaced(std::string text, char from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, 1, to);
    return text;
}

// The notices of both sides on one line, each after the name of its side.
std::string remarkOf(const std::string &frontNotice, const std::string &backNotice)
{
    std::vector<std::string> sides;
    if (!frontNotice.empty())
        sides.push_back("ด้านหน้า " + replaced(frontNotice, '\n', "; "));
    if (!backNotice.empty())
        sides.push_back("ด้านหลัง " + replaced(backNotice, '\n', "; "));
    return joined(sides, " / ");
}

template<std::size_t N> bool anyTicked(const std::array<Box, N> &boxes)
{
    for (const Box &box : boxes)
        if (isTicked(box))
            return true;
    return false;
}

} // namespace

std::string copyHeader()
{
    return joined(resultHeadings(), "\t") + "\n";
}

std::string classHeader()
{
    std::vector<std::string> headings {"ลำดับ", "เลขที่", "ชื่อ-สกุล", "ฉบับ"};
    headings.insert(headings.end(), resultHeadings().begin(), resultHeadings().end());
    headings.emplace_back("หมายเหตุ");
    return joined(headings, "\t") + "\n";
}

std::string versionName(int menuButton)
{
    static const std::array<const char *, 3> names {"ผู้ปกครอง", "ครูประจำชั้น", "นักเรียน"};
    return names.at(static_cast<std::size_t>(menuButton - 1));
}

int frontItemOf(int box)
{
    for (std::size_t item = 0; item < kFrontItems.size(); ++item)
        for (int candidate : kFrontItems[item].boxes)
            if (candidate == box)
                return static_cast<int>(item) + 1;
    throw std::out_of_range("no such front box");
}

std::array<int, 3> frontItemBoxes(int item)
{
    return kFrontItems.at(static_cast<std::size_t>(item - 1)).boxes;
}

int frontTickedValue(int box)
{
    const FrontItem &item = kFrontItems[static_cast<std::size_t>(frontItemOf(box) - 1)];
    for (int column = 0; column < 3; ++column)
        if (item.boxes[static_cast<std::size_t>(column)] == box)
            return item.reversed ? 2 - column : column;
    return 0;
}

BackRole backRole(int box)
{
    if (box == 1)
        return BackRole::NoDifficulties;
    if ((box >= 2 && box <= 8) || (box >= 29 && box <= 32))
        return BackRole::Unscored;
    return BackRole::Response;
}

int backTickedValue(int box)
{
    switch (box) {
    case 9: // upset: a little
    case 10: // not at all
    case 35: // burden: not at all
    case 36: // a little
        return 0;
    case 11: // upset: quite a lot
    case 34: // burden: quite a lot
        return 1;
    case 12: // upset: a lot
    case 33: // burden: a lot
        return 2;
    default:
        break;
    }
    if (box >= 13 && box <= 28) {
        // Interference grid, four boxes a row: not at all, a little, quite a lot, a lot.
        constexpr std::array<int, 4> kByLevel {0, 0, 1, 2};
        return kByLevel[static_cast<std::size_t>((box - 13) % 4)];
    }
    return 0;
}

bool isFollowUp(int box)
{
    return box >= 5 && box <= kBackBoxCount;
}

int buttonCount(ScreenId screen)
{
    switch (screen) {
    case ScreenId::Welcome:
        return 1;
    case ScreenId::Menu:
    case ScreenId::Front:
        return 4;
    case ScreenId::Back:
        return 3;
    }
    return 0;
}

const char *screenName(ScreenId screen)
{
    switch (screen) {
    case ScreenId::Welcome:
        return "Form1";
    case ScreenId::Menu:
        return "Form2";
    case ScreenId::Front:
        return "Form3";
    case ScreenId::Back:
        return "Form4";
    }
    return "?";
}

std::string windowCaptionPrefix(ScreenId screen)
{
    switch (screen) {
    case ScreenId::Welcome:
        return "โปรแกรมแปลผลการประเมินพฤติกรรม KVT ";
    case ScreenId::Menu:
        return "โปรแกรมแปลผลการประเมินพฤติกรรม (KVT)";
    case ScreenId::Front:
        return "โปรแกรมแปลผลการประเมินพฤติกรรม KVT :: ";
    case ScreenId::Back:
        return "ด้านหลัง  แบบประเมินพฤติกรรมเด็ก (KVT)";
    }
    return {};
}

namespace {

const char *buttonCaption(ScreenId screen, int button)
{
    switch (screen) {
    case ScreenId::Welcome:
        return "เข้าสู่โปรแกรม";
    case ScreenId::Menu: {
        static const std::array<const char *, 4> captions {
            "แปลผลการประเมิน (ฉบับผู้ปกครองประเมิน)",
            "แปลผลการประเมิน (ฉบับครูประจำชั้นประเมิน)",
            "แปลผลการประเมิน (ฉบับนักเรียนประเมินตนเอง)",
            "ออกจากโปรแกรม",
        };
        return captions[static_cast<std::size_t>(button - 1)];
    }
    case ScreenId::Front: {
        static const std::array<const char *, 4> captions {"แปลผล", "ปิดหน้าต่าง", "ด้านหลัง", "เริ่มใหม่"};
        return captions[static_cast<std::size_t>(button - 1)];
    }
    case ScreenId::Back: {
        static const std::array<const char *, 3> captions {"ปิดหน้าต่าง", "แปลผล", "เริ่มใหม่"};
        return captions[static_cast<std::size_t>(button - 1)];
    }
    }
    return "?";
}

} // namespace

const char *replyName(Reply reply)
{
    switch (reply) {
    case Reply::GoOn:
        return "go on";
    case Reply::Stay:
        return "stay";
    case Reply::Enter:
        return "Enter";
    case Reply::Escape:
        return "Escape";
    case Reply::CloseBox:
        return "its close box";
    }
    return "?";
}

const char *sheetKeyName(SheetKey key)
{
    switch (key) {
    case SheetKey::PageDown:
        return "Page Down";
    case SheetKey::PageUp:
        return "Page Up";
    case SheetKey::CtrlReturn:
        return "Ctrl+Enter";
    case SheetKey::CtrlKeypadEnter:
        return "Ctrl+Enter (keypad)";
    case SheetKey::FinishMenu:
        return "menu FinishChild";
    case SheetKey::F2:
        return "F2";
    case SheetKey::ClassListMenu:
        return "menu ShowClassList";
    case SheetKey::Escape:
        return "Escape";
    case SheetKey::Keep:
        return "Ctrl+S";
    }
    return "?";
}

const char *listButtonName(ListButton button)
{
    switch (button) {
    case ListButton::CopyClass:
        return "CopyClass";
    case ListButton::DeleteRows:
        return "DeleteRows";
    case ListButton::EmptyList:
        return "EmptyList";
    }
    return "?";
}

const char *answerName(WarningAnswer answer)
{
    switch (answer) {
    case WarningAnswer::ClickOk:
        return "OK";
    case WarningAnswer::Enter:
        return "Enter";
    case WarningAnswer::Escape:
        return "Escape";
    case WarningAnswer::CloseBox:
        return "its close box";
    }
    return "?";
}

std::string describe(const Action &action)
{
    const std::string where = std::string(screenName(action.screen)) + '.';
    const std::string box = where + "Check" + std::to_string(action.control);
    const std::string warning = action.screen == ScreenId::Back && action.control == 1
        ? std::string(" (warning answered with ") + answerName(action.answer) + ')'
        : std::string();
    const std::string question = std::string(" (a question answered: ") + replyName(action.reply) + ')';
    const bool mayAsk = action.screen == ScreenId::Menu
        && (action.kind == ActionKind::CloseBox || (action.kind == ActionKind::PressButton && action.control == 4));
    const std::string ending = mayAsk ? question : std::string();
    switch (action.kind) {
    case ActionKind::ClickBox:
        return "click " + box + warning;
    case ActionKind::SpaceOnBox:
        return "space bar on " + box + warning;
    case ActionKind::GrayBoxByCode:
        return "code sets " + box + " grayed";
    case ActionKind::PressButton:
        return "press " + where + "Command" + std::to_string(action.control) + " \""
            + buttonCaption(action.screen, action.control) + '"' + ending;
    case ActionKind::CloseBox:
        return std::string("close box of ") + screenName(action.screen) + ending;
    case ActionKind::TypeIntoText:
        return "select all and type \"" + action.text + "\" into " + where + "Text1";
    case ActionKind::KeyOnBox:
        if (action.shape == KeyShape::Delete)
            return "Delete on " + box + warning;
        return "key " + std::to_string(action.digit) + " (" + shapeName(action.shape) + ") on " + box
            + (action.screen == ScreenId::Back && backRowOf(action.control) == 0
                    ? std::string(" (a warning answered with ") + answerName(action.answer) + ')'
                    : std::string());
    case ActionKind::Copy: {
        static const std::array<const char *, 3> ways {"Ctrl+C", "menu \"คัดลอกผล\"", "menu \"คัดลอกหัวตาราง\""};
        return std::string(ways[static_cast<std::size_t>(action.copy)]) + " on " + screenName(action.screen);
    }
    case ActionKind::SheetKey:
        return std::string(sheetKeyName(action.key)) + " on " + screenName(action.screen);
    case ActionKind::ListButton: {
        std::string text = std::string("press ClassList.") + listButtonName(action.listButton);
        if (action.listButton == ListButton::DeleteRows) {
            std::vector<std::string> numbers;
            for (int row : action.rows)
                numbers.push_back(std::to_string(row + 1));
            text += " with rows " + (numbers.empty() ? std::string("none") : joined(numbers, ", ")) + " selected";
        }
        return action.listButton == ListButton::CopyClass ? text : text + question;
    }
    case ActionKind::ListCloseBox:
        return "close box of ClassList";
    case ActionKind::ListEnter:
        return "Enter on ClassList row " + std::to_string(action.rows.empty() ? 0 : action.rows.front() + 1) + question;
    case ActionKind::PasteRoster:
        return "Ctrl+V in ClassList with a roster of " + std::to_string(action.rosterSize);
    case ActionKind::ChooseView:
        return "ClassList.ViewBox " + (action.view == 0 ? std::string("every version") : versionName(action.view));
    }
    return "?";
}

const char *shapeName(KeyShape shape)
{
    switch (shape) {
    case KeyShape::DigitRow:
        return "digit row";
    case KeyShape::Keypad:
        return "keypad";
    case KeyShape::KedmaneeRow:
        return "Kedmanee digit row";
    case KeyShape::KedmaneeShifted:
        return "Kedmanee digit row with Shift";
    case KeyShape::ThaiDigit:
        return "Thai digit typed";
    case KeyShape::Delete:
        return "Delete";
    }
    return "?";
}

Program::Program()
{
    show(ScreenId::Welcome);
}

bool Program::canApply(const Action &action) const
{
    if (m_ended)
        return false;
    const ScreenSlot &target = slot(action.screen);
    switch (action.kind) {
    case ActionKind::ClickBox:
    case ActionKind::SpaceOnBox:
        if (!target.shown)
            return false;
        if (action.screen == ScreenId::Front)
            return action.control >= 1 && action.control <= kFrontBoxCount
                && m_front.boxes[static_cast<std::size_t>(action.control)].enabled;
        if (action.screen == ScreenId::Back)
            return action.control >= 1 && action.control <= kBackBoxCount
                && m_back.boxes[static_cast<std::size_t>(action.control)].enabled;
        return false;
    case ActionKind::GrayBoxByCode:
        if (!target.exists)
            return false;
        return (action.screen == ScreenId::Front && action.control >= 1 && action.control <= kFrontBoxCount)
            || (action.screen == ScreenId::Back && action.control >= 1 && action.control <= kBackBoxCount);
    case ActionKind::PressButton:
        return target.shown && action.control >= 1 && action.control <= buttonCount(action.screen);
    case ActionKind::CloseBox:
        return target.shown;
    case ActionKind::TypeIntoText:
        return target.shown && action.screen == ScreenId::Back;
    case ActionKind::KeyOnBox:
        if (!target.shown || action.digit < 0 || action.digit > 9)
            return false;
        if (action.screen == ScreenId::Front)
            return action.control >= 1 && action.control <= kFrontBoxCount;
        return action.screen == ScreenId::Back && action.control >= 1 && action.control <= kBackBoxCount;
    case ActionKind::Copy:
    case ActionKind::SheetKey:
        return target.shown && (action.screen == ScreenId::Front || action.screen == ScreenId::Back);
    case ActionKind::ListButton:
    case ActionKind::ListCloseBox:
    case ActionKind::PasteRoster:
        return m_list.shown;
    case ActionKind::ListEnter:
        return m_list.shown && action.rows.size() == 1;
    case ActionKind::ChooseView:
        return m_list.shown && action.view >= 0 && action.view <= 3;
    }
    return false;
}

Outcome Program::apply(const Action &action)
{
    if (!canApply(action))
        return {};
    // The label is said again when the class, the paper being mended, the
    // version or the front side changes, not when the view does.
    const auto said = [this] {
        std::string text = std::to_string(m_list.mending) + ' ' + std::to_string(m_list.chosenPupil) + ' '
            + std::to_string(m_version) + ' ' + std::to_string(slot(ScreenId::Front).instance);
        for (const Pupil &pupil : m_list.roster)
            text += ' ' + std::to_string(pupil.id) + pupil.number + pupil.name;
        for (const ClassPaper &paper : m_list.papers)
            text += ' ' + std::to_string(paper.id) + '/' + std::to_string(paper.version) + paper.row.remark;
        return text;
    };
    const std::string before = said();
    const Outcome outcome = applyNow(action);
    if (said() != before || action.kind == ActionKind::ListEnter)
        m_owner = ownerNow();
    return outcome;
}

Outcome Program::applyNow(const Action &action)
{
    m_keyFocus.reset();
    switch (action.kind) {
    case ActionKind::ClickBox:
    case ActionKind::SpaceOnBox:
        return toggleBox(action.screen, action.control);
    case ActionKind::GrayBoxByCode:
        if (action.screen == ScreenId::Front) {
            setFrontState(action.control, BoxState::Grayed);
            return {};
        }
        return setBackState(action.control, BoxState::Grayed);
    case ActionKind::PressButton:
        return pressButton(action.screen, action.control, action.reply);
    case ActionKind::CloseBox: {
        // Closing the menu, or the welcome screen before the menu exists, ends
        // the program; any other close box discards its screen.
        const bool ends
            = action.screen == ScreenId::Menu || (action.screen == ScreenId::Welcome && !slot(ScreenId::Menu).exists);
        if (ends)
            return endProgram(action.reply);
        discard(action.screen);
        return {};
    }
    case ActionKind::TypeIntoText:
        m_back.text1 = action.text; // typed over the whole text
        return {};
    case ActionKind::KeyOnBox: {
        // The physical key counts, whatever the layout typed; Delete is 0.
        const int answer = action.shape == KeyShape::Delete ? 0 : action.digit;
        return action.screen == ScreenId::Front ? frontKey(action.control, answer) : backKey(action.control, answer);
    }
    case ActionKind::Copy: {
        Outcome outcome;
        if (action.copy == CopyWay::MenuHeader) {
            outcome.clipboard = copyHeader();
            return outcome;
        }
        const ChildRow row = childRow();
        outcome.clipboard = joined(std::vector<std::string>(row.results.begin(), row.results.end()), "\t") + '\n';
        return outcome;
    }
    case ActionKind::SheetKey:
        return sheetKey(action.screen, action.key);
    case ActionKind::ListButton:
        return listButton(action);
    case ActionKind::ListCloseBox:
        m_list.shown = false; // the rows stay
        return {};
    case ActionKind::ListEnter:
        return listEnter(action.rows.front(), action.reply);
    case ActionKind::PasteRoster:
        pasteRoster(action.rosterSize);
        return {};
    case ActionKind::ChooseView:
        m_list.view = action.view;
        return {};
    }
    return {};
}

Outcome Program::frontKey(int box, int answer)
{
    Outcome outcome;
    outcome.focus = controlName("Check", box);
    m_keyFocus = KeyFocus {ScreenId::Front, box, 0};
    if (answer > 3)
        return outcome; // three columns only
    const int item = frontItemOf(box);
    const std::array<int, 3> boxes = frontItemBoxes(item);
    for (int column = 0; column < 3; ++column)
        setFrontState(
            boxes[static_cast<std::size_t>(column)], column == answer - 1 ? BoxState::Ticked : BoxState::Clear);
    if (answer == 0)
        return outcome;
    if (item == 25) {
        outcome.focus = "Command1";
        m_keyFocus = KeyFocus {ScreenId::Front, 0, 1};
        return outcome;
    }
    const int next = frontItemBoxes(item + 1)[static_cast<std::size_t>(answer - 1)];
    outcome.focus = controlName("Check", next);
    m_keyFocus = KeyFocus {ScreenId::Front, next, 0};
    return outcome;
}

Outcome Program::backKey(int box, int answer)
{
    if (!m_back.boxes[static_cast<std::size_t>(box)].enabled)
        return {}; // a disabled row takes no key; where the focus is, the key did not change
    Outcome outcome;
    outcome.focus = controlName("Check", box);
    m_keyFocus = KeyFocus {ScreenId::Back, box, 0};
    if (answer > 4)
        return outcome;
    const std::size_t row = backRowOf(box);
    const std::array<int, 4> &answers = kBackRows[row].answers;
    for (int place = 0; place < 4; ++place)
        if (place != answer - 1)
            merge(outcome, setBackState(answers[static_cast<std::size_t>(place)], BoxState::Clear));
    if (answer == 0)
        return outcome;
    merge(outcome, setBackState(answers[static_cast<std::size_t>(answer - 1)], BoxState::Ticked));
    // "ไม่" ends the sheet: on to "แปลผล", as after the last row.
    outcome.focus = "Command2";
    m_keyFocus = KeyFocus {ScreenId::Back, 0, 2};
    if (row == 0 && answer == 1)
        return outcome;
    if (row + 1 < kBackRows.size()) {
        const int below = kBackRows[row + 1].answers[static_cast<std::size_t>(answer - 1)];
        if (m_back.boxes[static_cast<std::size_t>(below)].enabled) {
            outcome.focus = controlName("Check", below);
            m_keyFocus = KeyFocus {ScreenId::Back, below, 0};
        }
    }
    return outcome;
}

namespace {

// Which items of the front side are left out and which have more than one tick.
struct ItemCheck {
    std::vector<int> unanswered;
    std::vector<int> doubled;
};

ItemCheck checkFront(const FrontSide &front)
{
    ItemCheck check;
    for (int item = 1; item <= 25; ++item) {
        int ticks = 0;
        for (int box : frontItemBoxes(item))
            ticks += isTicked(front.boxes[static_cast<std::size_t>(box)]) ? 1 : 0;
        if (ticks == 0)
            check.unanswered.push_back(item);
        if (ticks > 1)
            check.doubled.push_back(item);
    }
    return check;
}

// The same of the back side's rows, by their place from 0. The first row is
// left out when it has no tick under an answered row; the rows after it once
// a "ใช่" is ticked, or when the first row is left out so.
ItemCheck checkBack(const BackSide &back)
{
    std::array<int, kBackRows.size()> counts {};
    for (std::size_t row = 0; row < kBackRows.size(); ++row)
        for (int box : kBackRows[row].answers)
            counts[row] += isTicked(back.boxes[static_cast<std::size_t>(box)]) ? 1 : 0;
    bool laterAnswered = false;
    for (std::size_t row = 1; row < counts.size(); ++row)
        laterAnswered = laterAnswered || counts[row] > 0;
    const bool firstLeftOut = counts[0] == 0 && laterAnswered;
    const bool yes = isTicked(back.boxes[2]) || isTicked(back.boxes[3]) || isTicked(back.boxes[4]);
    ItemCheck check;
    for (std::size_t row = 0; row < counts.size(); ++row) {
        if (counts[row] > 1)
            check.doubled.push_back(static_cast<int>(row));
        const bool expected = row == 0 ? firstLeftOut : yes || firstLeftOut;
        if (counts[row] == 0 && expected)
            check.unanswered.push_back(static_cast<int>(row));
    }
    return check;
}

// The first item or row named, or -1.
int firstOf(const ItemCheck &check)
{
    std::vector<int> all = check.unanswered;
    all.insert(all.end(), check.doubled.begin(), check.doubled.end());
    return all.empty() ? -1 : *std::min_element(all.begin(), all.end());
}

} // namespace

std::string Program::frontNotice() const
{
    const ItemCheck check = checkFront(m_front);
    std::vector<std::string> unanswered;
    std::vector<std::string> doubled;
    for (int item : check.unanswered)
        unanswered.push_back(std::to_string(item));
    for (int item : check.doubled)
        doubled.push_back(std::to_string(item));
    std::vector<std::string> lines;
    if (!unanswered.empty())
        lines.push_back("ยังไม่ได้ตอบ ข้อ " + joined(unanswered, ", "));
    if (!doubled.empty())
        lines.push_back("ตอบเกิน 1 ช่อง ข้อ " + joined(doubled, ", "));
    return joined(lines, "\n");
}

std::string Program::backNotice() const
{
    const ItemCheck check = checkBack(m_back);
    std::vector<std::string> unanswered;
    std::vector<std::string> doubled;
    for (int row : check.unanswered)
        unanswered.emplace_back(kBackRows[static_cast<std::size_t>(row)].name);
    for (int row : check.doubled)
        doubled.emplace_back(kBackRows[static_cast<std::size_t>(row)].name);
    std::vector<std::string> lines;
    if (!unanswered.empty())
        lines.push_back("ยังไม่ได้ตอบ: " + joined(unanswered, ", "));
    if (!doubled.empty())
        lines.push_back("ตอบเกิน 1 ช่อง: " + joined(doubled, ", "));
    return joined(lines, "\n");
}

int Program::frontFirstProblem() const
{
    const int item = firstOf(checkFront(m_front));
    return item < 0 ? 0 : frontItemBoxes(item)[0];
}

int Program::backFirstProblem() const
{
    // The first answer of the row, or "ไม่" while the row is switched off.
    const int row = firstOf(checkBack(m_back));
    if (row < 0)
        return 0;
    const int box = kBackRows[static_cast<std::size_t>(row)].answers[0];
    return m_back.boxes[static_cast<std::size_t>(box)].enabled ? box : 1;
}

// Each side interpreted afresh from its ticks, as "แปลผล" does; a side with
// no tick, or not open, gives empty fields and has its results emptied. What
// was typed into the back side's score box is never taken.
ChildRow Program::childRow()
{
    ChildRow row;
    row.version = versionName(m_version);
    const bool front = slot(ScreenId::Front).exists;
    if (front && anyTicked(m_front.boxes)) {
        interpretFrontSheet();
        for (std::size_t line = 0; line < kFrontLineCount; ++line) {
            row.results[2 * line] = m_front.scores[line];
            row.results[2 * line + 1] = m_front.bands[line];
        }
    } else if (front) {
        m_front.scores = {};
        m_front.bands = {};
        m_front.notice.clear();
    }
    const bool back = slot(ScreenId::Back).exists;
    if (back && anyTicked(m_back.boxes)) {
        interpretBackSheet();
        row.results[2 * kFrontLineCount] = m_back.text1;
        row.results[2 * kFrontLineCount + 1] = m_back.label18;
    } else if (back) {
        m_back.text1.clear();
        m_back.label18.clear();
        m_back.notice.clear();
    }
    return row;
}

Program::Paper Program::paper() const
{
    Paper ticks {};
    if (slot(ScreenId::Front).exists)
        for (int box = 1; box <= kFrontBoxCount; ++box)
            ticks.first[static_cast<std::size_t>(box)] = isTicked(m_front.boxes[static_cast<std::size_t>(box)]);
    if (slot(ScreenId::Back).exists)
        for (int box = 1; box <= kBackBoxCount; ++box)
            ticks.second[static_cast<std::size_t>(box)] = isTicked(m_back.boxes[static_cast<std::size_t>(box)]);
    return ticks;
}

// The finish key: a paper with a notice stops once, shown where its first
// problem is; pressed again with the same ticks, the child goes into the list
// with the notices as its remark. Then both sides start again, the front forward.
Outcome Program::finish()
{
    Outcome outcome;
    const Paper ticks = paper();
    const auto any = [](const auto &boxes) {
        for (bool tick : boxes)
            if (tick)
                return true;
        return false;
    };
    if (!any(ticks.first) && !any(ticks.second))
        return outcome; // nothing to add
    if (!slot(ScreenId::Front).exists)
        show(ScreenId::Front);
    const bool backUsed = any(ticks.second);
    ChildRow row = childRow();
    m_front.notice = frontNotice(); // an empty front side has every item left out
    const std::string frontWords = m_front.notice;
    std::string backWords;
    if (backUsed) {
        m_back.notice = backNotice();
        backWords = m_back.notice;
    }
    if ((!frontWords.empty() || !backWords.empty()) && m_stopped != ticks) {
        m_stopped = ticks;
        const ScreenId side = frontWords.empty() ? ScreenId::Back : ScreenId::Front;
        const int box = side == ScreenId::Front ? frontFirstProblem() : backFirstProblem();
        show(side);
        outcome.focus = controlName("Check", box);
        outcome.focusScreen = side;
        m_keyFocus = KeyFocus {side, box, 0};
        return outcome;
    }
    m_stopped.reset();
    row.remark = remarkOf(frontWords, backWords);
    const int mended = std::exchange(m_list.mending, 0);
    const auto kept = std::find_if(
        m_list.papers.begin(), m_list.papers.end(), [&](const ClassPaper &paper) { return paper.id == mended; });
    if (kept != m_list.papers.end()) {
        // Back in its own row, with its own version.
        row.version = versionName(kept->version);
        kept->row = std::move(row);
        kept->ticks = ticks;
        outcome.paperMended = true;
    } else {
        ClassPaper added;
        added.id = ++m_lastPaper;
        added.pupil = nextPupil(m_version);
        if (added.pupil == m_list.chosenPupil && added.pupil != 0) {
            m_list.chosenPupil = 0;
            m_list.goOnAfter = added.pupil;
        }
        added.version = m_version;
        added.row = std::move(row);
        added.ticks = ticks;
        m_list.papers.push_back(std::move(added));
    }
    emptySheets();
    show(ScreenId::Front);
    outcome.focus = "Check1";
    outcome.focusScreen = ScreenId::Front;
    m_keyFocus = KeyFocus {ScreenId::Front, 1, 0};
    if (!m_list.exists) {
        // The first child opens the list beside the sheets.
        m_list.exists = true;
        m_list.shown = true;
    }
    outcome.childAdded = true;
    return outcome;
}

Outcome Program::sheetKey(ScreenId screen, SheetKey key)
{
    Outcome outcome;
    switch (key) {
    case SheetKey::PageDown:
        if (screen != ScreenId::Front)
            return outcome; // the back side has no page after it
        show(ScreenId::Back);
        outcome.focus = "Check1";
        outcome.focusScreen = ScreenId::Back;
        m_keyFocus = KeyFocus {ScreenId::Back, 1, 0};
        return outcome;
    case SheetKey::PageUp:
        if (screen != ScreenId::Back)
            return outcome;
        if (!slot(ScreenId::Front).exists) {
            outcome.focus = "Check1"; // a new front side starts at item 1
            outcome.focusScreen = ScreenId::Front;
        }
        show(ScreenId::Front);
        return outcome;
    case SheetKey::CtrlReturn:
    case SheetKey::CtrlKeypadEnter:
    case SheetKey::FinishMenu:
        return finish();
    case SheetKey::F2:
    case SheetKey::ClassListMenu:
        m_list.exists = true;
        m_list.shown = true;
        return outcome;
    case SheetKey::Keep:
        outcome.fileDialog = !m_list.inFile; // answered with a new file
        m_list.inFile = true;
        m_list.shown = m_list.shown || !m_list.exists; // the list says where it is kept
        m_list.exists = true;
        return outcome;
    case SheetKey::Escape:
        if (!m_list.mending)
            return outcome;
        stopMending();
        emptySheets();
        show(ScreenId::Front);
        return outcome;
    }
    return outcome;
}

const ClassPaper *Program::findPaper(int id) const
{
    for (const ClassPaper &paper : m_list.papers)
        if (id != 0 && paper.id == id)
            return &paper;
    return nullptr;
}

const Pupil *Program::findPupil(int id) const
{
    for (const Pupil &pupil : m_list.roster)
        if (id != 0 && pupil.id == id)
            return &pupil;
    return nullptr;
}

const ClassPaper *Program::paperOf(int pupil, int version) const
{
    for (const ClassPaper &paper : m_list.papers)
        if (paper.pupil == pupil && paper.version == version)
            return &paper;
    return nullptr;
}

// The pupil chosen in the list, else the first in roster order without this version.
int Program::nextPupil(int version) const
{
    if (findPupil(m_list.chosenPupil) && !paperOf(m_list.chosenPupil, version))
        return m_list.chosenPupil;
    const auto &roster = m_list.roster;
    auto after = std::find_if(
        roster.begin(), roster.end(), [this](const Pupil &pupil) { return pupil.id == m_list.goOnAfter; });
    if (m_list.goOnAfter != 0 && after != roster.end())
        for (++after; after != roster.end(); ++after)
            if (!paperOf(after->id, version))
                return after->id;
    for (const Pupil &pupil : m_list.roster)
        if (!paperOf(pupil.id, version))
            return pupil.id;
    return 0;
}

std::vector<ListRow> Program::listRows() const
{
    std::vector<ListRow> rows;
    for (const Pupil &pupil : m_list.roster) {
        const std::size_t before = rows.size();
        for (int version = 1; version <= 3; ++version)
            if (m_list.view == 0 || m_list.view == version)
                if (const ClassPaper *paper = paperOf(pupil.id, version))
                    rows.push_back({pupil.id, paper->id});
        if (rows.size() == before)
            rows.push_back({pupil.id, 0});
    }
    for (const ClassPaper &paper : m_list.papers)
        if (paper.pupil == 0 && (m_list.view == 0 || m_list.view == paper.version))
            rows.push_back({0, paper.id});
    return rows;
}

namespace {

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string ownerText(const Pupil *pupil)
{
    if (!pupil)
        return {};
    return trimmed(pupil->number.empty() ? pupil->name : "เลขที่ " + pupil->number + ' ' + pupil->name);
}

// Pupils' names as a school system lists them, by number.
std::string rosterName(int number)
{
    static const std::array<const char *, 5> names {
        "ด.ช. กล้า ใจดี", "ด.ญ. ขวัญ ใจ", "ด.ช. ภูมิ รักเรียน", "ด.ญ. น้ำฝน สายสุข", "ด.ช. ต้นกล้า มั่นคง"};
    return names[static_cast<std::size_t>(number - 1) % names.size()];
}

} // namespace

std::string rosterText(int size)
{
    std::string text = "เลขที่\tชื่อ-สกุล\n";
    for (int number = 1; number <= size; ++number)
        text += std::to_string(number) + '\t' + rosterName(number) + '\n';
    return text;
}

std::string Program::paperOwner() const
{
    return m_owner;
}

// Said again after every change.
std::string Program::ownerNow() const
{
    if (m_list.mending) {
        const ClassPaper *paper = findPaper(m_list.mending);
        std::string who = paper ? ownerText(findPupil(paper->pupil)) : std::string();
        if (who.empty() && paper)
            who = "แบบประเมินฉบับ" + versionName(paper->version) + "ที่ยังไม่มีชื่อ";
        return "แก้ไข: " + who;
    }
    return ownerText(findPupil(nextPupil(m_version)));
}

void Program::pasteRoster(int size)
{
    for (int number = 1; number <= size; ++number) {
        const std::string text = std::to_string(number);
        auto found = std::find_if(
            m_list.roster.begin(), m_list.roster.end(), [&](const Pupil &pupil) { return pupil.number == text; });
        if (found != m_list.roster.end())
            found->name = rosterName(number);
        else
            m_list.roster.push_back({++m_lastPupil, text, rosterName(number)});
    }
}

void Program::stopMending()
{
    if (!m_list.mending)
        return;
    m_list.mending = 0;
    m_stopped.reset();
}

void Program::emptySheets()
{
    if (slot(ScreenId::Back).exists) {
        clearBackSheet();
        hide(ScreenId::Back);
    }
    if (slot(ScreenId::Front).exists)
        clearFrontSheet();
}

// "เริ่มใหม่" and "ปิดหน้าต่าง" on either side give up a paper being mended.
void Program::stopMendingByUser()
{
    if (!m_list.mending)
        return;
    stopMending();
    emptySheets();
}

Outcome Program::listEnter(int row, Reply reply)
{
    Outcome outcome;
    const std::vector<ListRow> rows = listRows();
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return outcome;
    const ListRow at = rows[static_cast<std::size_t>(row)];
    if (!at.paper) {
        if (m_list.view != 0)
            m_list.chosenPupil = at.pupil;
        return outcome;
    }
    const ClassPaper mended = *findPaper(at.paper);
    if (m_list.mending != mended.id) {
        const Paper ticks = paper();
        const auto any = [](const auto &boxes) { return std::find(boxes.begin(), boxes.end(), true) != boxes.end(); };
        const ClassPaper *before = findPaper(m_list.mending);
        if ((any(ticks.first) || any(ticks.second)) && !(before && before->ticks == ticks)) {
            outcome.questionShown = true;
            outcome.goOnCaption = "ล้างคำตอบทิ้ง";
            outcome.stayCaption = "ไม่ล้าง";
            if (reply != Reply::GoOn)
                return outcome;
        }
        m_list.mending = mended.id;
        m_stopped.reset();
        // Both sides take the paper's ticks, the back side hidden behind the front.
        show(ScreenId::Back);
        clearBackSheet();
        for (int box = 1; box <= kBackBoxCount; ++box)
            setBackState(box, mended.ticks.second[static_cast<std::size_t>(box)] ? BoxState::Ticked : BoxState::Clear);
        hide(ScreenId::Back);
        show(ScreenId::Front);
        clearFrontSheet();
        for (int box = 1; box <= kFrontBoxCount; ++box)
            setFrontState(box, mended.ticks.first[static_cast<std::size_t>(box)] ? BoxState::Ticked : BoxState::Clear);
    }
    show(ScreenId::Front);
    return outcome;
}

Outcome Program::listButton(const Action &action)
{
    Outcome outcome;
    const std::vector<ListRow> rows = listRows();
    switch (action.listButton) {
    case ListButton::CopyClass:
        outcome.clipboard = std::string(); // nothing to copy: the button is off
        if (rows.empty())
            return outcome;
        outcome.clipboard = classText();
        return outcome;
    case ListButton::DeleteRows: {
        // Rows not in the table select nothing.
        const bool selected = std::any_of(action.rows.begin(), action.rows.end(),
            [&](int row) { return row >= 0 && row < static_cast<int>(rows.size()); });
        if (!selected)
            return outcome; // the button is off
        outcome.questionShown = true;
        outcome.goOnCaption = "ลบ";
        outcome.stayCaption = "ไม่ลบ";
        if (action.reply != Reply::GoOn)
            return outcome;
        // A paper's row takes its paper; a pupil's empty row the pupil and every paper of it.
        std::vector<int> papers;
        std::vector<int> pupils;
        for (int row : action.rows) {
            if (row < 0 || row >= static_cast<int>(rows.size()))
                continue;
            const ListRow &at = rows[static_cast<std::size_t>(row)];
            (at.paper ? papers : pupils).push_back(at.paper ? at.paper : at.pupil);
        }
        const auto in = [](const std::vector<int> &ids, int id) {
            return id != 0 && std::find(ids.begin(), ids.end(), id) != ids.end();
        };
        auto &all = m_list.papers;
        all.erase(std::remove_if(all.begin(), all.end(),
                      [&](const ClassPaper &p) { return in(papers, p.id) || in(pupils, p.pupil); }),
            all.end());
        auto &roster = m_list.roster;
        roster.erase(std::remove_if(roster.begin(), roster.end(), [&](const Pupil &p) { return in(pupils, p.id); }),
            roster.end());
        if (!findPupil(m_list.chosenPupil))
            m_list.chosenPupil = 0;
        return outcome;
    }
    case ListButton::EmptyList:
        if (m_list.empty())
            return outcome;
        outcome.questionShown = true;
        outcome.goOnCaption = "ล้างทั้งหมด";
        outcome.stayCaption = "ไม่ล้าง";
        if (action.reply != Reply::GoOn)
            return outcome;
        m_list.papers.clear();
        m_list.roster.clear();
        m_list.chosenPupil = 0;
        return outcome;
    }
    return outcome;
}

std::string Program::classCell(std::size_t row, int column) const
{
    const std::vector<ListRow> rows = listRows();
    if (row >= rows.size())
        return {}; // the late pupil's row
    const ListRow at = rows[row];
    const ClassPaper *paper = findPaper(at.paper);
    const Pupil *pupil = findPupil(at.pupil);
    switch (column) {
    case 0:
        return (paper && paper->id == m_list.mending ? "แก้ไข " : "") + std::to_string(row + 1);
    case 1:
        return pupil ? pupil->number : std::string();
    case 2:
        return pupil ? pupil->name : std::string();
    case 3:
        return paper ? paper->row.version : m_list.view ? versionName(m_list.view) : std::string();
    case kClassColumnCount - 1:
        return paper ? paper->row.remark : std::string();
    default:
        return paper ? paper->row.results.at(static_cast<std::size_t>(column - 4)) : std::string();
    }
}

// The copy has no marks of mending.
std::string Program::classText() const
{
    std::string text = classHeader();
    const std::size_t count = listRows().size();
    for (std::size_t row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < kClassColumnCount; ++column)
            cells.push_back(column == 0 ? std::to_string(row + 1) : classCell(row, column));
        text += joined(cells, "\t") + '\n';
    }
    return text;
}

Outcome Program::toggleBox(ScreenId screen, int box)
{
    // A user's toggle ticks a clear or grayed box and clears a ticked one.
    if (screen == ScreenId::Front) {
        const Box &current = m_front.boxes[static_cast<std::size_t>(box)];
        setFrontState(box, isTicked(current) ? BoxState::Clear : BoxState::Ticked);
        return {};
    }
    const Box &current = m_back.boxes[static_cast<std::size_t>(box)];
    return setBackState(box, isTicked(current) ? BoxState::Clear : BoxState::Ticked);
}

Outcome Program::show(ScreenId screen)
{
    ScreenSlot &target = slotOf(screen);
    if (!target.exists) {
        target.exists = true;
        ++target.instance;
        if (screen == ScreenId::Front) {
            m_front = FrontSide {};
            clearFrontSheet(); // the front side's load
        }
        if (screen == ScreenId::Back)
            m_back = BackSide {}; // a new back side: all clear, enabled, 0
    }
    target.shown = true;
    return {};
}

void Program::hide(ScreenId screen)
{
    slotOf(screen).shown = false;
}

void Program::discard(ScreenId screen)
{
    ScreenSlot &target = slotOf(screen);
    target.exists = false;
    target.shown = false;
}

// A class in no file makes the program ask first; copies keep nothing.
Outcome Program::endProgram(Reply reply)
{
    Outcome outcome;
    if (!m_list.empty() && !m_list.inFile) {
        outcome.questionShown = true;
        outcome.goOnCaption = "ออกโดยไม่บันทึก";
        outcome.stayCaption = "กลับไปบันทึกก่อน";
        if (reply != Reply::GoOn)
            return outcome;
    }
    for (ScreenSlot &screen : m_slots) {
        screen.exists = false;
        screen.shown = false;
    }
    m_list.shown = false;
    m_ended = true;
    outcome.programEnded = true;
    return outcome;
}

Outcome Program::pressButton(ScreenId screen, int button, Reply reply)
{
    switch (screen) {
    case ScreenId::Welcome: // "เข้าสู่โปรแกรม": the menu first, then hide the welcome screen
        show(ScreenId::Menu);
        hide(ScreenId::Welcome);
        return {};
    case ScreenId::Menu:
        if (button == 4)
            return endProgram(reply);
        if (!m_list.mending)
            m_version = button;
        return show(ScreenId::Front); // all three versions share one front side
    case ScreenId::Front:
        switch (button) {
        case 1:
            interpretFrontSheet();
            return {};
        case 2:
            clearFrontSheet();
            hide(ScreenId::Front);
            stopMendingByUser();
            return {};
        case 3:
            return show(ScreenId::Back);
        case 4:
            clearFrontSheet();
            stopMendingByUser();
            return {};
        default:
            return {};
        }
    case ScreenId::Back:
        switch (button) {
        case 1:
            hide(ScreenId::Back);
            clearBackSheet();
            show(ScreenId::Front);
            stopMendingByUser();
            return {};
        case 2:
            interpretBackSheet();
            return {};
        case 3:
            clearBackSheet();
            stopMendingByUser();
            return {};
        default:
            return {};
        }
    }
    return {};
}

void Program::setFrontState(int box, BoxState state)
{
    Box &target = m_front.boxes[static_cast<std::size_t>(box)];
    if (target.state == state)
        return; // setting the state a box already has reports nothing
    target.state = state;
    frontTickRule(box);
}

void Program::frontTickRule(int box)
{
    Box &target = m_front.boxes[static_cast<std::size_t>(box)];
    if (isTicked(target)) {
        target.score = frontTickedValue(box);
        return;
    }
    target.score = 0;
    setFrontState(box, BoxState::Clear);
}

void Program::clearFrontSheet()
{
    for (int box = 1; box <= kFrontBoxCount; ++box)
        setFrontState(box, BoxState::Clear);
    for (std::string &text : m_front.scores)
        text.clear();
    for (std::string &band : m_front.bands)
        band.clear();
    m_front.notice.clear();
}

void Program::interpretFrontSheet()
{
    std::array<int, kFrontLineCount> sums {};
    for (std::size_t line = 0; line < kFrontLines.size(); ++line) {
        if (line == kTotalLine)
            continue;
        for (int item : kFrontLines[line].items)
            for (int box : frontItemBoxes(item))
                sums[line] += m_front.boxes[static_cast<std::size_t>(box)].score;
    }
    sums[kTotalLine] = sums[0] + sums[1] + sums[2] + sums[3];
    for (std::size_t line = 0; line < kFrontLines.size(); ++line) {
        m_front.scores[line] = std::to_string(sums[line]);
        m_front.bands[line] = wordFor(kFrontLines[line].ranges, sums[line]);
    }
    m_front.notice = frontNotice();
}

Outcome Program::setBackState(int box, BoxState state)
{
    Box &target = m_back.boxes[static_cast<std::size_t>(box)];
    if (target.state == state)
        return {};
    target.state = state;
    return backRule(box);
}

Outcome Program::backRule(int box)
{
    Box &target = m_back.boxes[static_cast<std::size_t>(box)];
    switch (backRole(box)) {
    case BackRole::NoDifficulties: {
        // "ไม่": ticked switches the follow-up questions off and warns; clear
        // switches them on; grayed does nothing.
        Outcome outcome;
        if (target.state == BoxState::Ticked) {
            for (int other = 1; other <= kBackBoxCount; ++other)
                if (isFollowUp(other))
                    m_back.boxes[static_cast<std::size_t>(other)].enabled = false;
            outcome.warningShown = true;
        } else if (target.state == BoxState::Clear) {
            for (int other = 1; other <= kBackBoxCount; ++other)
                if (isFollowUp(other))
                    m_back.boxes[static_cast<std::size_t>(other)].enabled = true;
        }
        return outcome;
    }
    case BackRole::Unscored:
        return {};
    case BackRole::Response:
        if (isTicked(target)) {
            target.score = backTickedValue(box);
            return {};
        }
        target.score = 0;
        return setBackState(box, BoxState::Clear);
    }
    return {};
}

void Program::clearBackSheet()
{
    // "ไม่" first, so every later box is enabled again before it is cleared.
    for (int box = 1; box <= kBackBoxCount; ++box)
        setBackState(box, BoxState::Clear);
    m_back.text1.clear();
    m_back.label18.clear();
    m_back.notice.clear();
}

void Program::interpretBackSheet()
{
    int sum = 0;
    for (int box = 1; box <= kBackBoxCount; ++box)
        if (backRole(box) == BackRole::Response)
            sum += m_back.boxes[static_cast<std::size_t>(box)].score;
    m_back.text1 = std::to_string(sum);
    m_back.label18 = wordFor(kSeverity, sum);
    m_back.notice = backNotice();
}

} // namespace Model
