#include "kvttest.h"
#include "shell/menuscreen.h"
#include "shell/welcomescreen.h"

#include "schooltexts.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using KvtTest::twips;

namespace {

// The screens' controls stand directly on them.
template<typename T> T *control(QWidget *window, const QString &name)
{
    return KvtTest::control<T>(window, name, Qt::FindDirectChildrenOnly);
}

const QColor kDefault; // the control keeps the platform's colour

} // namespace

class WelcomeMenuTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void welcomeControls_data();
    void welcomeControls();
    void welcomeWindow();
    void welcomeTexts();
    void welcomeFocus();
    void welcomeKeys_data();
    void welcomeKeys();

    void menuControls_data();
    void menuControls();
    void menuHeading();
    void menuFocusAndTabOrder();
    void menuEnterPressesFocusedButton_data();
    void menuEnterPressesFocusedButton();
    void menuOpening();
    void menuBackgroundUnscaled();

    void labelsAndPictures_data();
    void labelsAndPictures();

private:
    std::unique_ptr<WelcomeScreen> m_welcome;
    std::unique_ptr<MenuScreen> m_menu;
};

void WelcomeMenuTest::init()
{
    m_welcome = std::make_unique<WelcomeScreen>();
    m_menu = std::make_unique<MenuScreen>();
}

void WelcomeMenuTest::cleanup()
{
    m_welcome.reset();
    m_menu.reset();
}

void WelcomeMenuTest::welcomeControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<qreal>("points"); // 0: the screen's default font
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("horizontal");

    const int centre = Qt::AlignHCenter;
    const int left = Qt::AlignLeft;
    QTest::newRow("title") << u"Label3"_s << twips(120, 240, 5175, 855) << 14.25 << false << QColor(0, 0, 192)
                           << centre;
    QTest::newRow("enter") << u"Command1"_s << twips(1440, 2400, 2295, 615) << 12.0 << false << kDefault << 0;
    QTest::newRow("organisation") << u"Label4"_s << twips(360, 3480, 4695, 375) << 9.75 << true << kDefault << centre;
    QTest::newRow("version and rights") << u"Label1"_s << twips(240, 720, 4815, 735) << 9.75 << false
                                        << QColor(0, 0, 255) << centre;
    QTest::newRow("developer") << u"Label2"_s << twips(1320, 3120, 2535, 255) << 9.75 << true << kDefault << left;
    QTest::newRow("web") << u"Label5"_s << twips(240, 3840, 4935, 255) << 0.0 << false << QColor(0, 0, 255) << left;
    QTest::newRow("icon") << u"Image1"_s << twips(2280, 1560, 720, 720) << 0.0 << false << kDefault << left;
}

void WelcomeMenuTest::welcomeControls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);
    QFETCH(int, horizontal);

    auto *widget = control<QWidget>(m_welcome.get(), name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    // The school's names are drawn smaller where they are longer than their box.
    if (name == u"Label4"_s)
        QVERIFY(widget->font().pointSizeF() <= points && widget->font().pointSizeF() >= 7);
    else if (points > 0)
        QCOMPARE(widget->font().pointSizeF(), points);
    else
        QCOMPARE(widget->font(), m_welcome->font());
    QCOMPARE(widget->font().bold(), bold);
    if (colour.isValid())
        QCOMPARE(widget->palette().color(QPalette::WindowText), colour);
    else
        QCOMPARE(widget->palette().color(QPalette::WindowText), m_welcome->palette().color(QPalette::WindowText));
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), horizontal);
}

void WelcomeMenuTest::welcomeWindow()
{
    QCOMPARE(m_welcome->objectName(), u"Form1"_s);
    QCOMPARE(m_welcome->windowTitle(), u"โปรแกรมแปลผลการประเมินพฤติกรรม KVT "_s);
    QCOMPARE(m_welcome->size(), QSize(5340 / 15, 4320 / 15));
    // Where it was laid out, from the screen's corner: 3600, 1845 twips.
    QCOMPARE(m_welcome->pos() - m_welcome->screen()->geometry().topLeft(), QPoint(240, 123));
    QVERIFY(!m_welcome->windowIcon().isNull());
    QVERIFY(m_welcome->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

void WelcomeMenuTest::welcomeTexts()
{
    QCOMPARE(control<QLabel>(m_welcome.get(), u"Label3"_s)->text(), u"โปรแกรมแปลผลการประเมินพฤติกรรม (KVT)"_s);

    // One wrapping text: the title, the version, the owner and the date, in that order.
    auto *rights = control<QLabel>(m_welcome.get(), u"Label1"_s);
    QVERIFY(rights->wordWrap());
    const QString text = rights->text();
    qsizetype from = 0;
    for (const QString &part : {u"โปรแกรมแปลผลการประเมินพฤติกรรม (KVT)"_s, u"เวอร์ชั่น 1.0"_s,
             SchoolTexts::ownershipStatement(), u"พัฒนาขึ้นเมื่อวันที่ 26 กันยายน 2548"_s}) {
        const qsizetype at = text.indexOf(part.toHtmlEscaped(), from);
        QVERIFY2(at >= from, qPrintable(part));
        from = at + part.size();
    }
    QVERIFY(SchoolTexts::ownershipStatement().contains(SchoolTexts::schoolName()));

    QCOMPARE(control<QLabel>(m_welcome.get(), u"Label2"_s)->text(), u"พัฒนาโดย "_s + SchoolTexts::developer());
    const QString organisation = control<QLabel>(m_welcome.get(), u"Label4"_s)->text();
    for (const QString &part :
        {SchoolTexts::division(), SchoolTexts::schoolName(), SchoolTexts::district(), SchoolTexts::province()})
        QVERIFY2(organisation.contains(part), qPrintable(part));
    const QString web = control<QLabel>(m_welcome.get(), u"Label5"_s)->text();
    QVERIFY(web.startsWith(u"เว็บไซต์โรงเรียน "_s));
    QVERIFY(web.contains(SchoolTexts::webAddress1()));
    QVERIFY(web.contains(SchoolTexts::webAddress2()));
}

void WelcomeMenuTest::welcomeFocus()
{
    auto *enter = control<QPushButton>(m_welcome.get(), u"Command1"_s);
    QCOMPARE(enter->text(), u"เข้าสู่โปรแกรม"_s);
    QVERIFY(!enter->autoDefault());
    QVERIFY(!enter->isDefault());

    m_welcome->show();
    QVERIFY(QTest::qWaitForWindowActive(m_welcome.get()));
    QCOMPARE(QApplication::focusWidget(), enter);
    // The only control that takes the focus: Tab stays on it.
    QTest::keyClick(m_welcome.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), enter);
}

void WelcomeMenuTest::welcomeKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("presses");

    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("space bar") << int(Qt::Key_Space) << int(Qt::NoModifier) << 1;
    QTest::newRow("Escape: no cancel button") << int(Qt::Key_Escape) << int(Qt::NoModifier) << 0;
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
}

void WelcomeMenuTest::welcomeKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, presses);

    m_welcome->show();
    QVERIFY(QTest::qWaitForWindowActive(m_welcome.get()));
    QSignalSpy entered(m_welcome.get(), &WelcomeScreen::enterRequested);
    // To the focused button, which passes on what it does not take.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (presses > 0)
        QVERIFY(entered.count() == presses || entered.wait(1000));
    else
        QTest::qWait(300); // longer than a button's animated press
    QCOMPARE(entered.count(), presses);
}

void WelcomeMenuTest::menuControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("face");

    const QColor version(0, 192, 192);
    QTest::newRow("parent") << u"Command1"_s << u"แปลผลการประเมิน (ฉบับผู้ปกครองประเมิน)"_s << twips(1800, 3360, 4095, 855)
                            << version;
    QTest::newRow("teacher") << u"Command2"_s << u"แปลผลการประเมิน (ฉบับครูประจำชั้นประเมิน)"_s
                             << twips(6120, 3360, 4095, 855) << version;
    QTest::newRow("pupil") << u"Command3"_s << u"แปลผลการประเมิน (ฉบับนักเรียนประเมินตนเอง)"_s
                           << twips(3840, 4560, 4095, 855) << version;
    QTest::newRow("exit") << u"Command4"_s << u"ออกจากโปรแกรม"_s << twips(5040, 6120, 2055, 855)
                          << QColor(255, 128, 255);
}

void WelcomeMenuTest::menuControls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QColor, face);

    auto *button = control<QPushButton>(m_menu.get(), name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->geometry(), geometry);
    QCOMPARE(button->palette().color(QPalette::Button), face);
    QCOMPARE(button->palette().color(QPalette::ButtonText), m_menu->palette().color(QPalette::ButtonText));
    QCOMPARE(button->font(), m_menu->font());
    QVERIFY(!button->autoDefault());
    QVERIFY(!button->isDefault());
}

void WelcomeMenuTest::menuHeading()
{
    auto *heading = control<QLabel>(m_menu.get(), u"Label1"_s);
    QCOMPARE(heading->geometry(), twips(1560, 240, 8895, 615));
    QVERIFY(heading->font().pointSizeF() <= 24.0 && heading->font().pointSizeF() >= 7); // smaller for long names
    QVERIFY(heading->font().bold());
    QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(int(heading->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
    for (const QString &part : {SchoolTexts::schoolName(), SchoolTexts::district(), SchoolTexts::province()})
        QVERIFY2(heading->text().contains(part), qPrintable(part));
    QCOMPARE(control<QLabel>(m_menu.get(), u"Image1"_s)->geometry(), twips(5280, 1560, 1500, 1500));
}

void WelcomeMenuTest::menuFocusAndTabOrder()
{
    m_menu->show();
    QVERIFY(QTest::qWaitForWindowActive(m_menu.get()));
    for (const QString &name : {u"Command1"_s, u"Command2"_s, u"Command3"_s, u"Command4"_s, u"Command1"_s}) {
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(m_menu.get(), name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

void WelcomeMenuTest::menuEnterPressesFocusedButton_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exits");

    QTest::newRow("parent") << u"Command1"_s << false;
    QTest::newRow("pupil") << u"Command3"_s << false;
    QTest::newRow("exit") << u"Command4"_s << true;
}

void WelcomeMenuTest::menuEnterPressesFocusedButton()
{
    QFETCH(QString, name);
    QFETCH(bool, exits);

    m_menu->show();
    QVERIFY(QTest::qWaitForWindowActive(m_menu.get()));
    control<QWidget>(m_menu.get(), name)->setFocus();
    QSignalSpy chosen(m_menu.get(), &MenuScreen::formVersionChosen);
    QSignalSpy exited(m_menu.get(), &MenuScreen::exitRequested);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QSignalSpy &expected = exits ? exited : chosen;
    QVERIFY(expected.count() == 1 || expected.wait(1000));
    QCOMPARE(chosen.count() + exited.count(), 1);
}

void WelcomeMenuTest::menuOpening()
{
    m_menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_menu.get()));
    QCOMPARE(m_menu->objectName(), u"Form2"_s);
    QCOMPARE(m_menu->windowTitle(), u"โปรแกรมแปลผลการประเมินพฤติกรรม (KVT)"_s);
    QVERIFY(!m_menu->windowIcon().isNull());

    const QRect available = m_menu->screen()->availableGeometry();
    const int titleBar = m_menu->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    if (available.width() >= 800 && available.height() >= 600 + titleBar) {
        QVERIFY(!m_menu->isMaximized());
        QCOMPARE(m_menu->size(), QSize(800, 600)); // the background picture's size
        QVERIFY(qAbs(m_menu->geometry().center().x() - available.center().x()) <= 1);
        QVERIFY(qAbs(m_menu->geometry().center().y() - available.center().y()) <= titleBar);
    } else {
        QVERIFY(m_menu->isMaximized());
    }
    // Every control shows whole, the exit button too, whose lower edge lies
    // below the laid-out client area.
    for (QWidget *child : m_menu->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(m_menu->rect().contains(child->geometry()), qPrintable(child->objectName()));
}

void WelcomeMenuTest::menuBackgroundUnscaled()
{
    const QImage picture(u":/pictures/menu-background.jpg"_s);
    QCOMPARE(picture.size(), QSize(800, 600));

    m_menu->showNormal();
    m_menu->resize(900, 700); // beyond the picture on both sides
    QVERIFY(QTest::qWaitForWindowExposed(m_menu.get()));
    // In logical pixels: at 125 % or 150 % the picture scales with the window.
    const QImage shot = m_menu->grab().toImage().scaled(m_menu->size());
    QCOMPARE(shot.size(), QSize(900, 700));
    const QColor plain = m_menu->palette().color(QPalette::Window);

    int sampled = 0;
    for (int y = 3; y < 700; y += 37) {
        for (int x = 5; x < 900; x += 41) {
            if (m_menu->childAt(x, y))
                continue;
            const QColor expected = x < 800 && y < 600 ? picture.pixelColor(x, y) : plain;
            QVERIFY2(shot.pixelColor(x, y) == expected,
                qPrintable(
                    u"%1,%2: %3 instead of %4"_s.arg(x).arg(y).arg(shot.pixelColor(x, y).name(), expected.name())));
            ++sampled;
        }
    }
    QVERIFY(sampled > 200);
}

void WelcomeMenuTest::labelsAndPictures_data()
{
    QTest::addColumn<bool>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("picture"); // empty for a text label

    QTest::newRow("welcome title") << false << u"Label3"_s << QSize();
    QTest::newRow("welcome version") << false << u"Label1"_s << QSize();
    QTest::newRow("welcome developer") << false << u"Label2"_s << QSize();
    QTest::newRow("welcome organisation") << false << u"Label4"_s << QSize();
    QTest::newRow("welcome web") << false << u"Label5"_s << QSize();
    QTest::newRow("welcome icon") << false << u"Image1"_s << QSize(48, 48);
    QTest::newRow("menu heading") << true << u"Label1"_s << QSize();
    QTest::newRow("menu picture") << true << u"Image1"_s << QSize(100, 100);
}

void WelcomeMenuTest::labelsAndPictures()
{
    QFETCH(bool, menu);
    QFETCH(QString, name);
    QFETCH(QSize, picture);

    QWidget *window = menu ? static_cast<QWidget *>(m_menu.get()) : m_welcome.get();
    auto *label = control<QLabel>(window, name);
    QVERIFY(label);
    // Transparent: the screen, or the menu's picture, shows between the letters.
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    if (!picture.isValid())
        return;
    // At its own size in a box of that size, never stretched.
    QCOMPARE(label->pixmap().size(), picture);
    QCOMPARE(label->size(), picture);
    QVERIFY(!label->hasScaledContents());
}

KVT_TEST_MAIN(WelcomeMenuTest)

#include "tst_welcomemenu.moc"
