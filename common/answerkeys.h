#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>

class QKeyEvent;

// Keys that answer the focused question by the number of its answer, as a
// teacher copying a pile of paper forms types them: the digit row, the
// numeric keypad and the Thai digits, whatever keyboard layout is active.
namespace AnswerKeys {

// What the platform's native key fields mean.
enum class NativeCodes {
    None, // nothing to go by but Qt's key and text
    Xkb, // X11 and Wayland: nativeScanCode() is the XKB keycode, the digit row 1 to 0 is 10 to 19
    Windows, // nativeScanCode() is the set-1 scan code (digit row 0x02 to 0x0B); nativeVirtualKey() '0' to '9'
};

// The convention of the platform the program was built for.
NativeCodes platformCodes();

// One key press as Qt delivers it.
struct KeyPress {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
    quint32 nativeScanCode = 0;
    quint32 nativeVirtualKey = 0;
};
KeyPress keyPressOf(const QKeyEvent &event);

// The answer a key stands for: 1 to 9 for the answer of that number, 0 to
// clear the question (the 0 key and Delete); nothing for any other key and
// for digits held with Ctrl, Alt or Meta.
//
// The physical key decides where it is known: on the Thai Kedmanee layout
// Shift+2 types "๑", which is still the key 2. Without a native code, Qt's
// key and the typed character decide: a Thai digit counts its own value, and
// the Kedmanee digit-row characters "ๅ/-ภ" and "+" count as 1 to 4 and 1.
std::optional<int> answerOf(const KeyPress &press, NativeCodes codes);
std::optional<int> answerOf(const QKeyEvent &event);

// Ctrl+C, also on a layout whose C key types no Latin letter.
bool isCopy(const KeyPress &press, NativeCodes codes);
bool isCopy(const QKeyEvent &event);

// The command keys the class list uses, known by the key's place as Ctrl+C is.
enum class Command { Copy, Keep, Open, NewClass, Paste };
bool isCommand(const KeyPress &press, NativeCodes codes, Command command);
bool isCommand(const QKeyEvent &event, Command command);

// The tooltip of a question's boxes: the keys and what each answers, so that
// the keyboard is found where it is used ("1 ไม่จริง · 2 ค่อนข้างจริง · 3 จริง · 0 ล้างข้อนี้").
QString toolTip(const QStringList &answers);

} // namespace AnswerKeys
