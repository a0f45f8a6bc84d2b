#include "answerkeys.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <array>

using namespace Qt::StringLiterals;

namespace AnswerKeys {

namespace {

constexpr quint32 kXkbDigitRowFirst = 10; // the 1 key; 0 is the tenth
constexpr quint32 kXkbKeyC = 54;
constexpr quint32 kWindowsDigitRowFirst = 0x02;
constexpr quint32 kWindowsScanC = 0x2E;
constexpr quint32 kWindowsVirtualC = 0x43;
constexpr quint32 kWindowsNumpad0 = 0x60; // VK_NUMPAD0 to VK_NUMPAD9
constexpr int kDigitRowLength = 10;

// The digit row's position 0 to 9 read as an answer: 1 to 9, then 0.
int digitOfRowPosition(quint32 position)
{
    return position == 9 ? 0 : static_cast<int>(position) + 1;
}

bool commandModifiers(Qt::KeyboardModifiers modifiers)
{
    return modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// The physical digit-row key, where the native fields say which one it is.
std::optional<int> digitRowKey(const KeyPress &press, NativeCodes codes)
{
    switch (codes) {
    case NativeCodes::Xkb:
        if (press.nativeScanCode >= kXkbDigitRowFirst && press.nativeScanCode < kXkbDigitRowFirst + kDigitRowLength)
            return digitOfRowPosition(press.nativeScanCode - kXkbDigitRowFirst);
        break;
    case NativeCodes::Windows:
        if (press.nativeScanCode >= kWindowsDigitRowFirst
            && press.nativeScanCode < kWindowsDigitRowFirst + kDigitRowLength)
            return digitOfRowPosition(press.nativeScanCode - kWindowsDigitRowFirst);
        if (press.nativeVirtualKey >= '0' && press.nativeVirtualKey <= '9')
            return static_cast<int>(press.nativeVirtualKey - '0');
        break;
    case NativeCodes::None:
        break;
    }
    return std::nullopt;
}

bool hasNativeCode(const KeyPress &press, NativeCodes codes)
{
    return codes != NativeCodes::None && (press.nativeScanCode != 0 || press.nativeVirtualKey != 0);
}

// The Kedmanee digit row, unshifted 1 to 4 and shifted 1; shifted 2 to 4 type
// Thai digits, which count their own value where the key is not known.
std::optional<int> kedmaneeAnswer(const QString &text)
{
    static constexpr std::array<char16_t, 5> kTyped {u'ๅ', u'/', u'-', u'ภ', u'+'};
    static constexpr std::array<int, 5> kAnswer {1, 2, 3, 4, 1};
    for (std::size_t i = 0; i < kTyped.size(); ++i)
        if (text == QChar(kTyped[i]))
            return kAnswer[i];
    return std::nullopt;
}

// A digit of any script, Thai "๑" as Latin "1".
std::optional<int> typedDigit(const QString &text)
{
    if (text.size() != 1 || !text.front().isDigit())
        return std::nullopt;
    return text.front().digitValue();
}

} // namespace

NativeCodes platformCodes()
{
#if defined(Q_OS_WIN)
    return NativeCodes::Windows;
#elif defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD) || defined(Q_OS_NETBSD) || defined(Q_OS_OPENBSD)
    return NativeCodes::Xkb;
#else
    return NativeCodes::None;
#endif
}

KeyPress keyPressOf(const QKeyEvent &event)
{
    return {event.key(), event.modifiers(), event.text(), event.nativeScanCode(), event.nativeVirtualKey()};
}

std::optional<int> answerOf(const KeyPress &press, NativeCodes codes)
{
    if (commandModifiers(press.modifiers))
        return std::nullopt;
    if (press.key == Qt::Key_Delete)
        return 0;
    if (press.modifiers & Qt::KeypadModifier) {
        if (press.key >= Qt::Key_0 && press.key <= Qt::Key_9)
            return press.key - Qt::Key_0;
        if (codes == NativeCodes::Windows && press.nativeVirtualKey >= kWindowsNumpad0
            && press.nativeVirtualKey < kWindowsNumpad0 + 10)
            return static_cast<int>(press.nativeVirtualKey - kWindowsNumpad0);
        return std::nullopt; // the keypad's own "/" and "-" are not the digit row's
    }
    if (const std::optional<int> physical = digitRowKey(press, codes))
        return physical;
    if (const std::optional<int> digit = typedDigit(press.text))
        return digit;
    if (hasNativeCode(press, codes))
        return std::nullopt; // a known key elsewhere: "/" and "-" are not answers there
    if (const std::optional<int> kedmanee = kedmaneeAnswer(press.text))
        return kedmanee;
    if (press.key >= Qt::Key_0 && press.key <= Qt::Key_9)
        return press.key - Qt::Key_0;
    return std::nullopt;
}

std::optional<int> answerOf(const QKeyEvent &event)
{
    return answerOf(keyPressOf(event), platformCodes());
}

bool isCopy(const KeyPress &press, NativeCodes codes)
{
    return isCommand(press, codes, Command::Copy);
}

bool isCommand(const KeyPress &press, NativeCodes codes, Command command)
{
    struct Place {
        QKeySequence::StandardKey standard;
        quint32 xkb;
        quint32 windowsScan;
        quint32 windowsVirtual; // the letter itself
    };
    static constexpr std::array<Place, 5> kPlaces {{
        {QKeySequence::Copy, kXkbKeyC, kWindowsScanC, kWindowsVirtualC},
        {QKeySequence::Save, 39, 0x1F, 'S'},
        {QKeySequence::Open, 32, 0x18, 'O'},
        {QKeySequence::New, 57, 0x31, 'N'},
        {QKeySequence::Paste, 55, 0x2F, 'V'},
    }};
    const Place &place = kPlaces.at(static_cast<std::size_t>(command));
    const Qt::KeyboardModifiers held = press.modifiers & ~Qt::KeypadModifier;
    const QKeyCombination combination(held, static_cast<Qt::Key>(press.key));
    if (QKeySequence::keyBindings(place.standard).contains(QKeySequence(combination)))
        return true;
    if (held != Qt::ControlModifier)
        return false;
    switch (codes) {
    case NativeCodes::Xkb:
        return press.nativeScanCode == place.xkb;
    case NativeCodes::Windows:
        return press.nativeScanCode == place.windowsScan || press.nativeVirtualKey == place.windowsVirtual;
    case NativeCodes::None:
        break;
    }
    return false;
}

bool isCommand(const QKeyEvent &event, Command command)
{
    return isCommand(keyPressOf(event), platformCodes(), command);
}

bool isCopy(const QKeyEvent &event)
{
    return isCopy(keyPressOf(event), platformCodes());
}

QString toolTip(const QStringList &answers)
{
    QStringList keys;
    for (qsizetype i = 0; i < answers.size(); ++i)
        keys << QString::number(i + 1) + u' ' + answers.at(i);
    keys << QStringLiteral(u"0 ล้างข้อนี้");
    return keys.join(QStringLiteral(u" · "));
}

} // namespace AnswerKeys
