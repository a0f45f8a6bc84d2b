#pragma once

// An independent model of the whole program as the user sees it: which
// screens exist and are shown, every box's state, enabled state and score on
// both sides, the texts of every result control, and the class list's rows.
// Written from the paper form's tables and the program's rules, without Qt
// and without the program's own code, so that the random test can hold the
// real screens against it.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Model {

enum class ScreenId { Welcome, Menu, Front, Back };
inline constexpr int kScreenCount = 4;

inline constexpr int kFrontBoxCount = 75;
inline constexpr int kBackBoxCount = 36;
inline constexpr int kFrontLineCount = 6;
inline constexpr int kResultFieldCount = 14; // a child's row: six front lines and the back, score and word each

enum class BoxState { Clear = 0, Ticked = 1, Grayed = 2 };

struct Box {
    BoxState state = BoxState::Clear;
    bool enabled = true;
    int score = 0;
};

struct ScreenSlot {
    bool exists = false;
    bool shown = false;
    int instance = 0; // counts creations: a new number means a new window
};

// The six result lines, top to bottom: areas 1 to 4, the total, the social scale.
struct FrontSide {
    std::array<Box, kFrontBoxCount + 1> boxes {}; // by box number; element 0 unused
    std::array<std::string, kFrontLineCount> scores; // Text1 to Text6
    std::array<std::string, kFrontLineCount> bands; // Label36, 38, 40, 42, 44, 46
    std::string notice; // Notice1
};

struct BackSide {
    std::array<Box, kBackBoxCount + 1> boxes {}; // by box number; element 0 unused
    std::string text1;
    std::string label18;
    std::string notice; // Notice1
};

enum class ActionKind {
    ClickBox, // a mouse click somewhere inside the box
    SpaceOnBox, // the space bar on the box
    GrayBoxByCode, // code sets the box grayed
    PressButton,
    CloseBox, // the window's close box
    TypeIntoText, // select all of the back side's Text1 and type
    KeyOnBox, // a key on the box, which has the focus unless it is disabled
    Copy, // Ctrl+C on the screen's focused control, or one of its context menu's two entries
    SheetKey, // a key both sheets share, on the focused control, or its menu entry
    ListButton, // a button of the class list's window, rows selected first for DeleteRows
    ListCloseBox, // the class list window's close box
    ListEnter, // a click on a row of the class list, then Enter: mends its paper, or chooses its pupil
    PasteRoster, // a roster of numbers and names put on the clipboard, then Ctrl+V in the class list
    ChooseView, // the class list's ViewBox: 0 every version, else a menu button's version
};

// How a key is typed: the digit row of a Latin layout, the keypad, the digit
// row of the Thai Kedmanee layout without and with Shift, a Thai digit from
// no key the program knows (an input method), and Delete.
enum class KeyShape { DigitRow, Keypad, KedmaneeRow, KedmaneeShifted, ThaiDigit, Delete };
inline constexpr int kKeyShapeCount = 6;

// The three ways to copy.
enum class CopyWay { CtrlC, MenuResults, MenuHeader };

// How the user answers the back side's warning.
enum class WarningAnswer { ClickOk, Enter, Escape, CloseBox };

// The keys both sheets share and their menu entries: Page Down and Page Up
// (each turns the paper on one side only), the finish key with either Enter
// key or from the menu, and the class list by F2 or from the menu.
// Escape gives up mending a paper and does nothing otherwise.
// Ctrl+S asks for a file while the class is in none.
enum class SheetKey { PageDown, PageUp, CtrlReturn, CtrlKeypadEnter, FinishMenu, F2, ClassListMenu, Escape, Keep };
inline bool finishes(SheetKey key)
{
    return key == SheetKey::CtrlReturn || key == SheetKey::CtrlKeypadEnter || key == SheetKey::FinishMenu;
}

// The class list's buttons the random test presses; the file and print
// dialogs are tested elsewhere.
enum class ListButton { CopyClass, DeleteRows, EmptyList };

// How the user answers a question that asks before rows are lost: go on, or
// stay by the button, Enter (staying is the default), Escape or the close box.
enum class Reply { GoOn, Stay, Enter, Escape, CloseBox };
inline constexpr int kReplyCount = 5;

struct Action {
    ActionKind kind = ActionKind::PressButton;
    ScreenId screen = ScreenId::Welcome;
    int control = 0; // box or button number; unused for CloseBox and TypeIntoText
    double x = 0.5; // click point inside the control, as a fraction of its size
    double y = 0.5;
    std::string text; // TypeIntoText
    WarningAnswer answer = WarningAnswer::ClickOk;
    int digit = 0; // KeyOnBox: the digit key, 0 to 9, on its place on the keyboard
    KeyShape shape = KeyShape::DigitRow;
    CopyWay copy = CopyWay::CtrlC;
    SheetKey key = SheetKey::PageDown;
    ListButton listButton = ListButton::CopyClass;
    std::vector<int> rows; // DeleteRows: the rows selected, from 0; ListEnter: the row
    int view = 0; // ChooseView
    int rosterSize = 0; // PasteRoster: pupils numbered 1 to this
    Reply reply = Reply::GoOn; // a question before rows are lost
};

std::string describe(const Action &action);
const char *shapeName(KeyShape shape);
const char *answerName(WarningAnswer answer);
const char *replyName(Reply reply);
const char *sheetKeyName(SheetKey key);
const char *listButtonName(ListButton button);
const char *screenName(ScreenId screen);

// What an action made happen beyond the states above.
struct Outcome {
    bool warningShown = false;
    bool questionShown = false; // asked before rows are lost
    std::string goOnCaption; // the question's two buttons
    std::string stayCaption;
    bool programEnded = false;
    bool childAdded = false; // the finish key put a child into the class list
    bool fileDialog = false; // asked where to keep the class
    bool paperMended = false; // ... back into the row of the paper it mended
    std::string focus; // the control of focusScreen that has the focus; empty when not known
    std::optional<ScreenId> focusScreen; // none: the action's screen
    std::optional<std::string> clipboard; // after a copy
};

// The ticks of both sides, as the finish key takes them; a side not open has none.
using PaperTicks = std::pair<std::array<bool, kFrontBoxCount + 1>, std::array<bool, kBackBoxCount + 1>>;

// One paper in the class: the version it was typed under, its 14 result
// fields and the remark made of the notices, and the pupil it went to.
struct ChildRow {
    std::string version;
    std::array<std::string, kResultFieldCount> results;
    std::string remark;
};
struct ClassPaper {
    int id = 0;
    int pupil = 0; // none
    int version = 1; // the menu button
    ChildRow row;
    PaperTicks ticks {};
};
struct Pupil {
    int id = 0;
    std::string number;
    std::string name;
};
// A row of the list's table: a pupil, a paper, or both.
struct ListRow {
    int pupil = 0;
    int paper = 0;
};

struct ClassListSide {
    bool exists = false; // the window is made once and then only hidden
    bool shown = false;
    std::vector<Pupil> roster;
    std::vector<ClassPaper> papers; // in the order added
    int view = 0; // 0 every version, else a menu button's version
    int chosenPupil = 0; // by Enter on the pupil's empty row in one version's view
    int goOnAfter = 0; // the last chosen pupil given a paper: the next go on from there
    int mending = 0; // the paper back on the sheets
    bool inFile = false; // every change goes to the class file
    bool empty() const { return roster.empty() && papers.empty(); }
};
// Order, number, name, version, the results, remark; the table has one more
// row than the view, empty, for a late pupil.
inline constexpr int kClassColumnCount = 19;

// Tables of the paper form.
int frontTickedValue(int box);
int frontItemOf(int box);
std::array<int, 3> frontItemBoxes(int item); // NotTrue, SomewhatTrue, CertainlyTrue
enum class BackRole { NoDifficulties, Unscored, Response };
BackRole backRole(int box);
int backTickedValue(int box);
bool isFollowUp(int box);
int buttonCount(ScreenId screen);

inline const std::string kWarningText = "คุณตอบว่า (ไม่)  ไม่ต้องตอบข้อต่อไป เลือก OK และคลิกที่ปุ่ม แปลผล";
inline const std::string kWarningTitle = "คำเตือน";
std::string copyHeader(); // the header line, ending with a new line
std::string classHeader(); // the class list's column headings, one line
std::string versionName(int menuButton);
std::string rosterText(int size); // a roster as copied from a spreadsheet: a heading line, then number and name
std::string windowCaptionPrefix(ScreenId screen); // the front side's caption ends with the school's name

class Program final
{
public:
    Program(); // the program has just started: the welcome screen is shown

    // Whether a user (or, for GrayBoxByCode, code) can do this now.
    bool canApply(const Action &action) const;
    Outcome apply(const Action &action);

    const ScreenSlot &slot(ScreenId screen) const { return m_slots[static_cast<std::size_t>(screen)]; }
    const FrontSide &front() const { return m_front; }
    const BackSide &back() const { return m_back; }
    const ClassListSide &classList() const { return m_list; }
    std::vector<ListRow> listRows() const; // the view's rows, without the late pupil's
    // "เลขที่ 5 ชื่อ", what the front side's PaperOwner says; empty: hidden.
    std::string paperOwner() const;
    // The list as "CopyClass" copies it: the headings, then a line a row of the view.
    std::string classText() const;
    // A cell of the list's table as it shows it; the row after the view's is empty.
    std::string classCell(std::size_t row, int column) const;
    bool ended() const { return m_ended; }
    // Where the last action's key put the focus: a box or a button.
    struct KeyFocus {
        ScreenId screen;
        int box; // 0: a button
        int button;
    };
    std::optional<KeyFocus> keyFocus() const { return m_keyFocus; }

private:
    ScreenSlot &slotOf(ScreenId screen) { return m_slots[static_cast<std::size_t>(screen)]; }
    Outcome applyNow(const Action &action);
    std::string ownerNow() const;
    Outcome show(ScreenId screen);
    void hide(ScreenId screen);
    void discard(ScreenId screen);
    Outcome endProgram(Reply reply);

    void frontTickRule(int box);
    void setFrontState(int box, BoxState state);
    void clearFrontSheet();
    void interpretFrontSheet();

    Outcome backRule(int box);
    Outcome setBackState(int box, BoxState state);
    void clearBackSheet();
    void interpretBackSheet();

    Outcome pressButton(ScreenId screen, int button, Reply reply);
    Outcome frontKey(int box, int answer);
    Outcome backKey(int box, int answer);
    Outcome sheetKey(ScreenId screen, SheetKey key);
    Outcome finish();
    Outcome listButton(const Action &action);
    std::string frontNotice() const;
    std::string backNotice() const;
    int frontFirstProblem() const;
    int backFirstProblem() const;
    ChildRow childRow();
    Outcome toggleBox(ScreenId screen, int box);
    Outcome listEnter(int row, Reply reply);
    void stopMendingByUser();
    void pasteRoster(int size);
    void stopMending();
    void emptySheets();
    const ClassPaper *paperOf(int pupil, int version) const;
    const ClassPaper *findPaper(int id) const;
    const Pupil *findPupil(int id) const;
    int nextPupil(int version) const;

    using Paper = PaperTicks;
    Paper paper() const;

    std::array<ScreenSlot, kScreenCount> m_slots {};
    FrontSide m_front;
    BackSide m_back;
    ClassListSide m_list;
    int m_version = 1; // the menu button that last opened the front side, or the mended paper's
    std::optional<Paper> m_stopped; // the paper as it was when a notice stopped the finish key
    bool m_ended = false;
    std::optional<KeyFocus> m_keyFocus;
    std::string m_owner; // the front side's PaperOwner
    int m_lastPupil = 0;
    int m_lastPaper = 0;
};

} // namespace Model
