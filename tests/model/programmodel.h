#pragma once

// An independent model of the whole program as the user sees it: which
// screens exist and are shown, every box's state, enabled state and score on
// both sides, and the texts of every result control. Written from the paper
// form's tables and the program's rules, without Qt and without the program's
// own code, so that the random test can hold the real screens against it.

#include <array>
#include <optional>
#include <string>
#include <utility>

namespace Model {

enum class ScreenId { Welcome, Menu, Front, Back };
inline constexpr int kScreenCount = 4;

inline constexpr int kFrontBoxCount = 75;
inline constexpr int kBackBoxCount = 36;
inline constexpr int kFrontLineCount = 6;

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
};

std::string describe(const Action &action);
const char *shapeName(KeyShape shape);
const char *answerName(WarningAnswer answer);
const char *screenName(ScreenId screen);

// What an action made happen beyond the states above.
struct Outcome {
    bool warningShown = false;
    bool programEnded = false;
    std::string focus; // after a key: the control of the screen that has the focus; empty when not known
    std::optional<std::string> clipboard; // after a copy
};

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
    Outcome show(ScreenId screen);
    void hide(ScreenId screen);
    void discard(ScreenId screen);
    Outcome endProgram();

    void frontTickRule(int box);
    void setFrontState(int box, BoxState state);
    void clearFrontSheet();
    void interpretFrontSheet();

    Outcome backRule(int box);
    Outcome setBackState(int box, BoxState state);
    void clearBackSheet();
    void interpretBackSheet();

    Outcome pressButton(ScreenId screen, int button);
    Outcome frontKey(int box, int answer);
    Outcome backKey(int box, int answer);
    std::string frontNotice() const;
    std::string backNotice() const;
    std::string resultRow() const;
    Outcome toggleBox(ScreenId screen, int box);

    std::array<ScreenSlot, kScreenCount> m_slots {};
    FrontSide m_front;
    BackSide m_back;
    bool m_ended = false;
    std::optional<KeyFocus> m_keyFocus;
};

} // namespace Model
