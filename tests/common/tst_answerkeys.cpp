#include "answerkeys.h"

#include <QKeyEvent>
#include <QTest>

using AnswerKeys::NativeCodes;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(AnswerKeys::NativeCodes)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

constexpr std::optional<int> kNone = std::nullopt;

// X keycodes and Windows set-1 scan codes of the keys used below.
constexpr quint32 kX1 = 10, kX2 = 11, kX3 = 12, kX4 = 13, kX0 = 19, kXMinus = 20, kXSlash = 61, kXC = 54;
constexpr quint32 kXKp1 = 87, kXKp0 = 90, kXKpDivide = 106, kXDelete = 119;
constexpr quint32 kWin1 = 0x02, kWin2 = 0x03, kWin4 = 0x05, kWinMinus = 0x0C, kWinC = 0x2E, kWinKp1 = 0x4F;
constexpr quint32 kVkNumpad1 = 0x61, kVkC = 0x43, kVkOemMinus = 0xBD;
constexpr quint32 kXShift = 0x1, kXNumLock = 0x10; // X modifier state bits

// The key() Qt gives a character that has no key of its own: its upper-case code.
int keyOf(const QString &text)
{
    return text.toUpper().front().unicode();
}

} // namespace

class AnswerKeysTest final : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void copy_data();
    void copy();
};

void AnswerKeysTest::answers_data()
{
    QTest::addColumn<NativeCodes>("codes");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<quint32>("virtualKey");
    QTest::addColumn<quint32>("nativeModifiers");
    QTest::addColumn<std::optional<int>>("answer");

    const auto x = NativeCodes::Xkb;
    const auto win = NativeCodes::Windows;
    const auto none = NativeCodes::None;
    const int shift = Qt::ShiftModifier;
    const int keypad = Qt::KeypadModifier;

    // X11, US layout.
    QTest::addRow("xcb us 1") << x << int(Qt::Key_1) << 0 << u"1"_s << kX1 << 0x31u << 0u << std::optional(1);
    QTest::addRow("xcb us 4") << x << int(Qt::Key_4) << 0 << u"4"_s << kX4 << 0x34u << 0u << std::optional(4);
    QTest::addRow("xcb us 0") << x << int(Qt::Key_0) << 0 << u"0"_s << kX0 << 0x30u << 0u << std::optional(0);
    QTest::addRow("xcb delete") << x << int(Qt::Key_Delete) << 0 << u"\x7f"_s << kXDelete << 0xffffu << 0u
                                << std::optional(0);
    QTest::addRow("xcb us minus") << x << int(Qt::Key_Minus) << 0 << u"-"_s << kXMinus << 0x2du << 0u << kNone;
    QTest::addRow("xcb us slash") << x << int(Qt::Key_Slash) << 0 << u"/"_s << kXSlash << 0x2fu << 0u << kNone;
    QTest::addRow("xcb us shift 1") << x << int(Qt::Key_Exclam) << shift << u"!"_s << kX1 << 0x21u << kXShift
                                    << std::optional(1);
    QTest::addRow("xcb ctrl 1") << x << int(Qt::Key_1) << int(Qt::ControlModifier) << QString() << kX1 << 0x31u << 0x4u
                                << kNone;
    QTest::addRow("xcb alt 2") << x << int(Qt::Key_2) << int(Qt::AltModifier) << u"2"_s << kX2 << 0x32u << 0x8u
                               << kNone;
    // X11, keypad with Num Lock.
    QTest::addRow("xcb keypad 1") << x << int(Qt::Key_1) << keypad << u"1"_s << kXKp1 << 0xffb1u << kXNumLock
                                  << std::optional(1);
    QTest::addRow("xcb keypad 0") << x << int(Qt::Key_0) << keypad << u"0"_s << kXKp0 << 0xffb0u << kXNumLock
                                  << std::optional(0);
    QTest::addRow("xcb keypad divide") << x << int(Qt::Key_Slash) << keypad << u"/"_s << kXKpDivide << 0xffafu
                                       << kXNumLock << kNone;
    // X11, Thai Kedmanee: Qt's key is the character's code, or for a Thai digit the Latin digit.
    QTest::addRow("xcb th 1 lakkhangyao")
        << x << keyOf(u"ๅ"_s) << 0 << u"ๅ"_s << kX1 << 0xde5u << 0u << std::optional(1);
    QTest::addRow("xcb th 2 slash") << x << int(Qt::Key_Slash) << 0 << u"/"_s << kX2 << 0x2fu << 0u << std::optional(2);
    QTest::addRow("xcb th 3 minus") << x << int(Qt::Key_Minus) << 0 << u"-"_s << kX3 << 0x2du << 0u << std::optional(3);
    QTest::addRow("xcb th 4 phosamphao") << x << keyOf(u"ภ"_s) << 0 << u"ภ"_s << kX4 << 0xdc0u << 0u
                                         << std::optional(4);
    QTest::addRow("xcb th shift 1 plus") << x << int(Qt::Key_Plus) << shift << u"+"_s << kX1 << 0x2bu << kXShift
                                         << std::optional(1);
    // Shift+2 types "๑", which Qt reports as Key_1: the key is still 2.
    QTest::addRow("xcb th shift 2 thai one")
        << x << int(Qt::Key_1) << shift << u"๑"_s << kX2 << 0xdf1u << kXShift << std::optional(2);
    QTest::addRow("xcb th shift 4 thai three")
        << x << int(Qt::Key_3) << shift << u"๓"_s << kX4 << 0xdf3u << kXShift << std::optional(4);
    QTest::addRow("xcb th keypad 3") << x << int(Qt::Key_3) << keypad << u"3"_s << 89u << 0xffb3u << kXNumLock
                                     << std::optional(3);
    // A Thai digit from a key off the digit row (another layout) counts its own value.
    QTest::addRow("xcb thai four elsewhere")
        << x << int(Qt::Key_4) << 0 << u"๔"_s << 35u << 0xdf4u << 0u << std::optional(4);

    // Windows: the scan code and the virtual key of the digit row do not depend on the layout.
    QTest::addRow("win us 1") << win << int(Qt::Key_1) << 0 << u"1"_s << kWin1 << 0x31u << 0u << std::optional(1);
    QTest::addRow("win us minus") << win << int(Qt::Key_Minus) << 0 << u"-"_s << kWinMinus << kVkOemMinus << 0u
                                  << kNone;
    QTest::addRow("win th 1 lakkhangyao")
        << win << keyOf(u"ๅ"_s) << 0 << u"ๅ"_s << kWin1 << 0x31u << 0u << std::optional(1);
    QTest::addRow("win th 2 slash") << win << int(Qt::Key_Slash) << 0 << u"/"_s << kWin2 << 0x32u << 0u
                                    << std::optional(2);
    QTest::addRow("win th shift 2 thai one")
        << win << int(Qt::Key_1) << shift << u"๑"_s << kWin2 << 0x32u << 0u << std::optional(2);
    QTest::addRow("win th 4 by virtual key only")
        << win << keyOf(u"ภ"_s) << 0 << u"ภ"_s << 0u << 0x34u << 0u << std::optional(4);
    QTest::addRow("win th shift 4") << win << int(Qt::Key_3) << shift << u"๓"_s << kWin4 << 0x34u << 0u
                                    << std::optional(4);
    QTest::addRow("win keypad 1") << win << int(Qt::Key_1) << keypad << u"1"_s << kWinKp1 << kVkNumpad1 << 0u
                                  << std::optional(1);
    QTest::addRow("win keypad 1 virtual key")
        << win << 0 << keypad << QString() << kWinKp1 << kVkNumpad1 << 0u << std::optional(1);
    QTest::addRow("win ctrl 2") << win << int(Qt::Key_2) << int(Qt::ControlModifier) << QString() << kWin2 << 0x32u
                                << 0u << kNone;

    // No native code (synthesized events, platforms without one): key and character decide.
    QTest::addRow("plain 3") << none << int(Qt::Key_3) << 0 << u"3"_s << 0u << 0u << 0u << std::optional(3);
    QTest::addRow("plain thai two") << none << int(Qt::Key_2) << 0 << u"๒"_s << 0u << 0u << 0u << std::optional(2);
    QTest::addRow("plain kedmanee slash")
        << none << int(Qt::Key_Slash) << 0 << u"/"_s << 0u << 0u << 0u << std::optional(2);
    QTest::addRow("plain kedmanee phosamphao")
        << none << keyOf(u"ภ"_s) << 0 << u"ภ"_s << 0u << 0u << 0u << std::optional(4);
    QTest::addRow("plain kedmanee plus") << none << int(Qt::Key_Plus) << shift << u"+"_s << 0u << 0u << 0u
                                         << std::optional(1);
    QTest::addRow("plain letter") << none << int(Qt::Key_A) << 0 << u"a"_s << 0u << 0u << 0u << kNone;
    QTest::addRow("plain thai letter") << none << keyOf(u"ก"_s) << 0 << u"ก"_s << 0u << 0u << 0u << kNone;
    QTest::addRow("xcb synthesized 2") << x << int(Qt::Key_2) << 0 << u"2"_s << 0u << 0u << 0u << std::optional(2);
}

void AnswerKeysTest::answers()
{
    QFETCH(NativeCodes, codes);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(quint32, scanCode);
    QFETCH(quint32, virtualKey);
    QFETCH(quint32, nativeModifiers);
    QFETCH(std::optional<int>, answer);

    const QKeyEvent event(
        QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), scanCode, virtualKey, nativeModifiers, text);
    QCOMPARE(AnswerKeys::answerOf(AnswerKeys::keyPressOf(event), codes), answer);
}

void AnswerKeysTest::copy_data()
{
    QTest::addColumn<NativeCodes>("codes");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<quint32>("virtualKey");
    QTest::addColumn<bool>("copy");

    const int ctrl = Qt::ControlModifier;
    QTest::addRow("ctrl c") << NativeCodes::None << int(Qt::Key_C) << ctrl << 0u << 0u << true;
    QTest::addRow("c") << NativeCodes::None << int(Qt::Key_C) << 0 << 0u << 0u << false;
    QTest::addRow("ctrl shift c") << NativeCodes::Xkb << int(Qt::Key_C) << ctrl + int(Qt::ShiftModifier) << kXC << 0u
                                  << false;
    // Thai layout without a Latin one beside it: the C key types "แ".
    QTest::addRow("xcb th ctrl c") << NativeCodes::Xkb << keyOf(u"แ"_s) << ctrl << kXC << 0xdc1u << true;
    QTest::addRow("xcb th ctrl v") << NativeCodes::Xkb << keyOf(u"อ"_s) << ctrl << 55u << 0xdcdu << false;
    QTest::addRow("win th ctrl c") << NativeCodes::Windows << keyOf(u"แ"_s) << ctrl << kWinC << kVkC << true;
    QTest::addRow("none th ctrl c") << NativeCodes::None << keyOf(u"แ"_s) << ctrl << kXC << 0u << false;
}

void AnswerKeysTest::copy()
{
    QFETCH(NativeCodes, codes);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(quint32, scanCode);
    QFETCH(quint32, virtualKey);
    QFETCH(bool, copy);

    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), scanCode, virtualKey, 0);
    QCOMPARE(AnswerKeys::isCopy(AnswerKeys::keyPressOf(event), codes), copy);
}

QTEST_MAIN(AnswerKeysTest)
#include "tst_answerkeys.moc"
