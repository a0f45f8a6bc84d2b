#pragma once

#include "common/answerkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaType>
#include <QString>
#include <Qt>

#include <array>

// Key presses for tests, shaped as the platform the tests are built for
// delivers them: on Windows the set-1 scan code and the virtual key, on X11
// (and wherever else) the XKB keycode and the keysym. A key is named by where
// it is on the keyboard and by what the active layout types with it, so that
// one test sends the same key press everywhere.
namespace NativeKeys {

// One key press, ready for a QKeyEvent: the fields the program reads of one.
using Key = AnswerKeys::KeyPress;

namespace Detail {

// Where a key is on the keyboard: X keycode, Windows scan code and virtual key.
struct Place {
    quint32 xKeycode;
    quint32 windowsScanCode;
    quint32 windowsVirtualKey;
};

// The keysym X gives a character: Latin-1 its own code, Thai its legacy
// keysym (0xda1 is U+0E01), anything else the Unicode keysym.
inline quint32 keysymOf(const QString &character)
{
    if (character.size() != 1)
        return 0;
    const char16_t code = character.front().unicode();
    if (code < 0x100)
        return code;
    if (code >= 0x0E01 && code <= 0x0E5B)
        return code - 0x0E01u + 0xda1u;
    return 0x01000000u + code;
}

// keysymCharacter names the keysym on X, the character the key stands for
// even where it types nothing; keysym, when not 0, is a key's own keysym.
inline Key make(int key, Qt::KeyboardModifiers modifiers, const QString &text, const Place &place,
    [[maybe_unused]] const QString &keysymCharacter, [[maybe_unused]] quint32 keysym = 0)
{
#if defined(Q_OS_WIN)
    return {key, modifiers, text, place.windowsScanCode, place.windowsVirtualKey};
#else
    return {key, modifiers, text, place.xKeycode, keysym != 0 ? keysym : keysymOf(keysymCharacter)};
#endif
}

// The digit row, 0 first: the 0 key is the tenth.
inline Place digitRowPlace(int digit)
{
    const auto position = static_cast<quint32>(digit == 0 ? 9 : digit - 1);
    return {10 + position, 0x02 + position, static_cast<quint32>('0' + digit)};
}

} // namespace Detail

// Qt's key for a character typed by a key that has no key code of its own:
// the digits of every script are Key_0 to Key_9, anything else its upper case.
inline int keyOfText(const QString &typed)
{
    if (typed.isEmpty())
        return 0;
    const QChar character = typed.front();
    if (character.isDigit())
        return Qt::Key_0 + character.digitValue();
    return character.toUpper().unicode();
}

// The digit-row key of digit (1 to 9, then 0) on a US layout.
inline Key digitRow(int digit)
{
    const QString typed = QString::number(digit);
    return Detail::make(Qt::Key_0 + digit, {}, typed, Detail::digitRowPlace(digit), typed);
}

// The digit-row key of digit typing what the active layout types there, with
// Shift or without; Windows keeps the digit as the virtual key whatever it types.
inline Key digitRow(int digit, const QString &typed, Qt::KeyboardModifiers modifiers = {})
{
    return Detail::make(keyOfText(typed), modifiers, typed, Detail::digitRowPlace(digit), typed);
}

// The digit-row key of digit held with Ctrl, which types nothing.
inline Key digitRowWithCtrl(int digit)
{
    return Detail::make(
        Qt::Key_0 + digit, Qt::ControlModifier, QString(), Detail::digitRowPlace(digit), QString::number(digit));
}

// The keypad key of digit, Num Lock on.
inline Key keypad(int digit)
{
    // X keycodes and set-1 scan codes of the keypad, 0 first.
    static constexpr std::array<quint32, 10> kXKeycodes {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};
    static constexpr std::array<quint32, 10> kScanCodes {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    const auto index = static_cast<std::size_t>(digit);
    const QString typed = QString::number(digit);
    const auto offset = static_cast<quint32>(digit);
    return Detail::make(Qt::Key_0 + digit, Qt::KeypadModifier, typed,
        {kXKeycodes[index], kScanCodes[index], 0x60u + offset}, QString(), 0xffb0u + offset);
}

// Delete, the key beside Insert: Windows sends it with the extended bit of its scan code.
inline Key deleteKey()
{
    return Detail::make(Qt::Key_Delete, {}, QString(QChar(0x7f)), {119, 0x153, 0x2E}, QString(), 0xffff);
}

// Delete on the keypad, Num Lock off. X types nothing with it; Windows gives
// every VK_DELETE the text of Delete.
inline Key keypadDelete()
{
#if defined(Q_OS_WIN)
    const QString text(QChar(0x7f));
#else
    const QString text;
#endif
    return Detail::make(Qt::Key_Delete, Qt::KeypadModifier, text, {91, 0x53, 0x2E}, QString(), 0xff9f);
}

// The key right of 0 on a US layout, typing "-".
inline Key usMinus()
{
    const QString typed(QChar(u'-'));
    return Detail::make(Qt::Key_Minus, {}, typed, {20, 0x0C, 0xBD}, typed);
}

// The A key on a US layout.
inline Key letterA()
{
    const QString typed(QChar(u'a'));
    return Detail::make(Qt::Key_A, {}, typed, {38, 0x1E, 0x41}, typed);
}

// The C key held with Ctrl, on a layout where it types typed ("c", or "แ" on Kedmanee).
inline Key ctrlC(const QString &typed)
{
    return Detail::make(keyOfText(typed), Qt::ControlModifier, QString(), {54, 0x2E, 0x43}, typed);
}

// A character that comes from no key the program knows (an input method, a
// layout with the character elsewhere): no scan code, no virtual key; X still
// names its keysym.
inline Key typedOnly(const QString &typed)
{
    return Detail::make(keyOfText(typed), {}, typed, {0, 0, 0}, typed);
}

// Presses and releases the key on target, as the window system hands it to the focused control.
inline void send(QObject *target, const Key &key)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key.key, key.modifiers, key.nativeScanCode, key.nativeVirtualKey, 0, key.text);
        QCoreApplication::sendEvent(target, &event);
    }
}

} // namespace NativeKeys

Q_DECLARE_METATYPE(NativeKeys::Key) // a column of test data
