#include "kvttest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

// Takes the addresses the program would open in the browser.
class UrlCatcher final : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void openUrl(const QUrl &url) { urls << url; }
};

class ScreenFlowTest final : public KvtTest::RegistryTest
{
    Q_OBJECT

private slots:
    void init() { openScreens({Screen::Welcome}); }
    void cleanup() { closeScreens(); }

    void startsOnWelcomeOnly();
    void enterShowsMenuAndHidesWelcome();
    void menuDrawsItsPicture();
    void versionButtonsShareOneFrontSide_data();
    void versionButtonsShareOneFrontSide();
    void frontSideTicksOnReturn_data();
    void frontSideTicksOnReturn();
    void closeBoxDiscardsFrontSide();
    void backSideOpensOverFrontSide();
    void backSideCloseReturnsToUntouchedFrontSide();
    void frontSideCloseLeavesBackSideAlone();
    void closeBoxDiscardsBackSide();
    void programEnds_data();
    void programEnds();
    void pageKeysTurnThePaper();
    void finishKey_data();
    void finishKey();
    void endingAsksWhileListUnkept_data();
    void endingAsksWhileListUnkept();
    void f1OpensGuide();
    void f1TellsWhyNoGuide_data();
    void f1TellsWhyNoGuide();

private:
    void enter();
    // Ticks each item's column (0 to 2), leaving out and doubling the items named.
    void answerFront(int column, std::initializer_list<int> skipped = {}, std::initializer_list<int> doubled = {});
    void answerBack(int firstRowAnswer, int laterRowsAnswer);
    void pressFinish(Screen on);
    QList<QWidget *> visibleScreens() const;
};

void ScreenFlowTest::enter()
{
    press(Screen::Welcome, u"Command1"_s);
}

QList<QWidget *> ScreenFlowTest::visibleScreens() const
{
    QList<QWidget *> visible;
    for (Screen which : KvtTest::kScreens)
        if (screen(which) && screen(which)->isVisible())
            visible << screen(which);
    return visible;
}

void ScreenFlowTest::startsOnWelcomeOnly()
{
    QCOMPARE(visibleScreens(), QList<QWidget *> {screen(Screen::Welcome)});
    QCOMPARE(screen(Screen::Welcome)->objectName(), u"Form1"_s);
    QCOMPARE(screen(Screen::Welcome)->windowTitle(), u"โปรแกรมแปลผลการประเมินพฤติกรรม KVT "_s);
    QVERIFY(!screen(Screen::Menu));
    QVERIFY(!screen(Screen::FrontSheet));
}

void ScreenFlowTest::enterShowsMenuAndHidesWelcome()
{
    QWidget *welcome = screen(Screen::Welcome);
    enter();
    QCOMPARE(visibleScreens(), QList<QWidget *> {screen(Screen::Menu)});
    QCOMPARE(screen(Screen::Menu)->objectName(), u"Form2"_s);
    QCOMPARE(screen(Screen::Menu)->windowTitle(), u"โปรแกรมแปลผลการประเมินพฤติกรรม (KVT)"_s);
    QCOMPARE(screen(Screen::Welcome), welcome); // kept, hidden
}

void ScreenFlowTest::menuDrawsItsPicture()
{
    // The picture is decoded on another thread before the menu is made.
    enter();
    QWidget *menu = screen(Screen::Menu);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QImage picture(u":/pictures/menu-background.jpg"_s);
    // In logical pixels: at 125 % or 150 % the picture scales with the window.
    const QImage shot = menu->grab().toImage().scaled(menu->size());
    int compared = 0;
    for (int y = 5; y < std::min(shot.height(), picture.height()); y += 47) {
        for (int x = 5; x < std::min(shot.width(), picture.width()); x += 53) {
            if (menu->childAt(x, y))
                continue;
            QCOMPARE(shot.pixelColor(x, y), picture.pixelColor(x, y));
            ++compared;
        }
    }
    QVERIFY(compared > 50);
}

void ScreenFlowTest::versionButtonsShareOneFrontSide_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("parent then teacher") << u"Command1"_s << u"Command2"_s;
    QTest::newRow("teacher then pupil") << u"Command2"_s << u"Command3"_s;
    QTest::newRow("pupil then parent") << u"Command3"_s << u"Command1"_s;
}

void ScreenFlowTest::versionButtonsShareOneFrontSide()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    enter();
    press(Screen::Menu, first);
    QWidget *front = screen(Screen::FrontSheet);
    QVERIFY(front && front->isVisible());
    QCOMPARE(front->objectName(), u"Form3"_s);
    const QString caption = front->windowTitle();

    press(Screen::FrontSheet, u"Command2"_s);
    QVERIFY(!front->isVisible());
    press(Screen::Menu, second);
    QCOMPARE(screen(Screen::FrontSheet), front);
    QVERIFY(front->isVisible());
    QCOMPARE(front->windowTitle(), caption);
    QVERIFY(screen(Screen::Menu)->isVisible());
}

void ScreenFlowTest::frontSideTicksOnReturn_data()
{
    QTest::addColumn<bool>("closedByButton");
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("score");
    QTest::newRow("kept while shown") << false << u"Command2"_s << true << u"2"_s;
    QTest::newRow("closed by its button, reopens empty") << true << u"Command3"_s << false << QString();
}

void ScreenFlowTest::frontSideTicksOnReturn()
{
    QFETCH(bool, closedByButton);
    QFETCH(QString, menuButton);
    QFETCH(bool, ticked);
    QFETCH(QString, score);
    enter();
    press(Screen::Menu, u"Command1"_s);
    QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
    press(Screen::FrontSheet, u"Command1"_s);
    if (closedByButton)
        press(Screen::FrontSheet, u"Command2"_s);
    press(Screen::Menu, menuButton);
    QCOMPARE(box(Screen::FrontSheet, 19)->isChecked(), ticked);
    QCOMPARE(screen(Screen::FrontSheet)->findChild<QLineEdit *>(u"Text2"_s)->text(), score);
}

void ScreenFlowTest::closeBoxDiscardsFrontSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    QPointer<QWidget> first = screen(Screen::FrontSheet);
    QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
    QVERIFY(first->close());
    QVERIFY(!screen(Screen::FrontSheet));
    QVERIFY(screen(Screen::Menu)->isVisible()); // the program goes on

    press(Screen::Menu, u"Command1"_s);
    QVERIFY(screen(Screen::FrontSheet) && screen(Screen::FrontSheet)->isVisible());
    QVERIFY(screen(Screen::FrontSheet) != first.data());
    QVERIFY(!box(Screen::FrontSheet, 19)->isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
}

void ScreenFlowTest::backSideOpensOverFrontSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QWidget *back = screen(Screen::BackSheet);
    QVERIFY(back && back->isVisible());
    QCOMPARE(back->objectName(), u"Form4"_s);
    QCOMPARE(back->windowTitle(), u"ด้านหลัง  แบบประเมินพฤติกรรมเด็ก (KVT)"_s);
    QVERIFY(screen(Screen::FrontSheet)->isVisible());

    press(Screen::FrontSheet, u"Command3"_s); // only brings it to the front
    QCOMPARE(screen(Screen::BackSheet), back);
}

void ScreenFlowTest::backSideCloseReturnsToUntouchedFrontSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
    press(Screen::FrontSheet, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QTest::mouseClick(box(Screen::BackSheet, 12), Qt::LeftButton);
    press(Screen::BackSheet, u"Command1"_s);

    QVERIFY(!screen(Screen::BackSheet)->isVisible());
    QVERIFY(!box(Screen::BackSheet, 12)->isChecked());
    QVERIFY(screen(Screen::FrontSheet)->isVisible());
    QVERIFY(box(Screen::FrontSheet, 19)->isChecked());
    QCOMPARE(screen(Screen::FrontSheet)->findChild<QLineEdit *>(u"Text2"_s)->text(), u"2"_s);
}

void ScreenFlowTest::frontSideCloseLeavesBackSideAlone()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QTest::mouseClick(box(Screen::BackSheet, 12), Qt::LeftButton);
    press(Screen::FrontSheet, u"Command2"_s);
    QVERIFY(!screen(Screen::FrontSheet)->isVisible());
    QVERIFY(screen(Screen::BackSheet)->isVisible());
    QVERIFY(box(Screen::BackSheet, 12)->isChecked());

    // Its own close shows the front side again, empty.
    press(Screen::BackSheet, u"Command1"_s);
    QVERIFY(screen(Screen::FrontSheet)->isVisible());
    QVERIFY(!box(Screen::FrontSheet, 19)->isChecked());
}

void ScreenFlowTest::closeBoxDiscardsBackSide()
{
    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    QWidget *first = screen(Screen::BackSheet);
    QTest::mouseClick(box(Screen::BackSheet, 12), Qt::LeftButton);
    QVERIFY(first->close());
    QVERIFY(!screen(Screen::BackSheet));
    QVERIFY(screen(Screen::FrontSheet)->isVisible());

    press(Screen::FrontSheet, u"Command3"_s);
    QVERIFY(screen(Screen::BackSheet) != first);
    QVERIFY(!box(Screen::BackSheet, 12)->isChecked());
    for (int number = 1; number <= 36; ++number)
        QVERIFY(box(Screen::BackSheet, number)->isEnabled());
}

void ScreenFlowTest::programEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button with both sides open") << u"exit"_s;
    QTest::newRow("menu closed") << u"close menu"_s;
    QTest::newRow("welcome closed before entering") << u"close welcome"_s;
}

void ScreenFlowTest::programEnds()
{
    QFETCH(QString, how);
    QSignalSpy ended(m_screens.get(), &ScreenRegistry::programEnded);
    if (how == u"close welcome"_s) {
        QVERIFY(screen(Screen::Welcome)->close());
    } else {
        enter();
        press(Screen::Menu, u"Command1"_s);
        QTest::mouseClick(box(Screen::FrontSheet, 19), Qt::LeftButton);
        press(Screen::FrontSheet, u"Command3"_s);
        if (how == u"exit"_s)
            press(Screen::Menu, u"Command4"_s);
        else
            QVERIFY(screen(Screen::Menu)->close());
    }
    QCOMPARE(ended.count(), 1);
    QVERIFY(visibleScreens().isEmpty());
    for (Screen which : KvtTest::kScreens)
        QVERIFY(!screen(which));
}

void ScreenFlowTest::endingAsksWhileListUnkept_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("ออกจากโปรแกรม") << u"exit"_s;
    QTest::addRow("the menu's close box") << u"close menu"_s;
    QTest::addRow("the welcome screen's close box") << u"close welcome"_s;
}

// A class in no file: ending asks, and staying (the answer of Escape and of
// the question's close box) keeps everything. A copy does not keep it; once
// it is in its file, the program ends at once.
void ScreenFlowTest::endingAsksWhileListUnkept()
{
    QFETCH(QString, how);
    QSignalSpy ended(m_screens.get(), &ScreenRegistry::programEnded);
    ClassList &list = m_screens->classList();
    if (how == u"close welcome"_s) {
        list.document().addPupil(u"1"_s, u"ด.ญ. ขวัญ ใจ"_s);
    } else {
        enter();
        press(Screen::Menu, u"Command3"_s);
        answerFront(0);
        pressFinish(Screen::FrontSheet);
        QCOMPARE(list.count(), 1);
    }
    const auto end = [&] {
        if (how == u"exit"_s)
            press(Screen::Menu, u"Command4"_s);
        else
            screen(how == u"close menu"_s ? Screen::Menu : Screen::Welcome)->close();
    };
    for (bool copied : {false, true}) {
        if (copied)
            list.copyClass();
        const KvtTest::WarningWatch question;
        end();
        QCOMPARE(question.count(), 1);
        QCOMPARE(ended.count(), 0);
    }
    QVERIFY(screen(how == u"close welcome"_s ? Screen::Welcome : Screen::Menu)->isVisible());
    QCOMPARE(list.document().isEmpty(), false);

    const QTemporaryDir folder;
    QCOMPARE(list.document().keepIn(folder.filePath(u"ห้อง.kvt"_s)), std::nullopt);
    end();
    QCOMPARE(ended.count(), 1);
}

void ScreenFlowTest::f1OpensGuide()
{
    // A guide beside this program, as the packages put it beside the real one.
    const QString folder = QCoreApplication::applicationDirPath() + u"/guide"_s;
    QVERIFY(QDir().mkpath(folder));
    QFile page(folder + u"/kvt-guide.html"_s);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(u"file"_s, &browser, "openUrl");
    const auto restore = qScopeGuard([&] {
        QDesktopServices::unsetUrlHandler(u"file"_s);
        page.remove();
        QDir().rmdir(folder);
    });

    enter();
    press(Screen::Menu, u"Command1"_s);
    press(Screen::FrontSheet, u"Command3"_s);
    for (Screen which : KvtTest::kScreens)
        QTest::keyClick(screen(which), Qt::Key_F1);
    QCOMPARE(browser.urls, QList<QUrl>(4, QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath())));
}

// Where there is no guide, or no browser takes it, F1 says so and names the place.
void ScreenFlowTest::f1TellsWhyNoGuide_data()
{
    QTest::addColumn<bool>("guideThere");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("no guide") << false << u"ไม่พบคู่มือการใช้งาน"_s;
    if (QGuiApplication::platformName() == u"offscreen"_s) // the one platform that opens no file
        QTest::newRow("no browser") << true << u"เปิดคู่มือการใช้งานไม่ได้"_s;
}

void ScreenFlowTest::f1TellsWhyNoGuide()
{
    QFETCH(bool, guideThere);
    QFETCH(QString, firstLine);
    const QString folder = QCoreApplication::applicationDirPath() + u"/guide"_s;
    QFile page(folder + u"/kvt-guide.html"_s);
    if (guideThere) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
    }
    const auto restore = qScopeGuard([&] {
        page.remove();
        QDir().rmdir(folder);
    });

    const KvtTest::WarningWatch watch;
    QTest::keyClick(screen(Screen::Welcome), Qt::Key_F1);
    QCOMPARE(watch.count(), 1);
    const KvtTest::WarningWatch::Seen &said = watch.seen().front();
    QCOMPARE(said.text.section(u'\n', 0, 0), firstLine);
    QVERIFY2(said.text.contains(QDir::toNativeSeparators(QFileInfo(page).absoluteFilePath())), qPrintable(said.text));
    QCOMPARE(said.icon, QMessageBox::Warning);
}

void ScreenFlowTest::answerFront(int column, std::initializer_list<int> skipped, std::initializer_list<int> doubled)
{
    for (int item = 1; item <= 25; ++item) {
        const auto *boxes = KvtTest::kFrontBoxesOfItem[item - 1];
        if (std::find(skipped.begin(), skipped.end(), item) == skipped.end())
            box(Screen::FrontSheet, boxes[column])->setCheckState(Qt::Checked);
        if (std::find(doubled.begin(), doubled.end(), item) != doubled.end())
            box(Screen::FrontSheet, boxes[(column + 1) % 3])->setCheckState(Qt::Checked);
    }
}

// The first row's answer and every later row's, by place in the row (0 to 3); -1 leaves them blank.
void ScreenFlowTest::answerBack(int firstRowAnswer, int laterRowsAnswer)
{
    for (int row = 0; row < 8; ++row) {
        const int answer = row == 0 ? firstRowAnswer : laterRowsAnswer;
        if (answer >= 0)
            box(Screen::BackSheet, KvtTest::kBackRows[row][answer])->setCheckState(Qt::Checked);
    }
}

void ScreenFlowTest::pressFinish(Screen on)
{
    QWidget *focus = screen(on)->focusWidget();
    QTest::keyClick(focus ? focus : screen(on), Qt::Key_Return, Qt::ControlModifier);
}

// Page Down does what "ด้านหลัง" does and starts at the back side's first
// row; Page Up brings the front side forward. Neither empties a side.
void ScreenFlowTest::pageKeysTurnThePaper()
{
    enter();
    press(Screen::Menu, u"Command2"_s);
    answerFront(1);
    QTest::keyClick(box(Screen::FrontSheet, 1), Qt::Key_PageDown);
    QVERIFY(screen(Screen::BackSheet) && screen(Screen::BackSheet)->isVisible());
    QCOMPARE(screen(Screen::BackSheet)->focusWidget(), box(Screen::BackSheet, 1));
    box(Screen::BackSheet, 2)->setCheckState(Qt::Checked);
    QTest::keyClick(box(Screen::BackSheet, 2), Qt::Key_PageUp);
    QVERIFY(QTest::qWaitForWindowActive(screen(Screen::FrontSheet)));
    QVERIFY(screen(Screen::BackSheet)->isVisible());
    QVERIFY(box(Screen::BackSheet, 2)->isChecked());
    QVERIFY(box(Screen::FrontSheet, 2)->isChecked());
}

void ScreenFlowTest::finishKey_data()
{
    QTest::addColumn<int>("frontColumn"); // -1: the front side left empty
    QTest::addColumn<QList<int>>("skipped");
    QTest::addColumn<QList<int>>("doubled");
    QTest::addColumn<int>("backFirstRow"); // -2: the back side never opened
    QTest::addColumn<int>("backLaterRows");
    QTest::addColumn<int>("stopsOn"); // the screen whose notice stops the first press; -1 for none
    QTest::addColumn<int>("focusBox"); // the box that then has the focus
    QTest::addColumn<int>("added"); // children in the list after a second press

    const int front = int(Screen::FrontSheet);
    const int back = int(Screen::BackSheet);
    QTest::addRow("front side complete, back never opened")
        << 0 << QList<int> {} << QList<int> {} << -2 << -1 << -1 << 1 << 2;
    QTest::addRow("both sides complete") << 2 << QList<int> {} << QList<int> {} << 1 << 2 << -1 << 1 << 2;
    QTest::addRow("back opened, left empty") << 1 << QList<int> {} << QList<int> {} << -1 << -1 << -1 << 1 << 2;
    QTest::addRow("no difficulties") << 0 << QList<int> {} << QList<int> {} << 0 << -1 << -1 << 1 << 2;
    QTest::addRow("item 4 left out") << 0 << QList<int> {4} << QList<int> {} << -2 << -1 << front << 10 << 1;
    QTest::addRow("items 9 and 2 doubled") << 1 << QList<int> {} << QList<int> {9, 2} << 1 << 0 << front << 6 << 1;
    QTest::addRow("back's first question blank") << 0 << QList<int> {} << QList<int> {} << -1 << 1 << back << 1 << 1;
    QTest::addRow("back's rows left out") << 0 << QList<int> {} << QList<int> {} << 3 << -1 << back << 6 << 1;
    QTest::addRow("front empty, back answered") << -1 << QList<int> {} << QList<int> {} << 1 << 0 << front << 1 << 1;
    QTest::addRow("nothing ticked") << -1 << QList<int> {} << QList<int> {} << -1 << -1 << -1 << 1 << 0;
}

// Ctrl+Enter adds the child and readies both sides for the next paper; a
// notice stops it once, with the focus on the first place named.
void ScreenFlowTest::finishKey()
{
    QFETCH(int, frontColumn);
    QFETCH(QList<int>, skipped);
    QFETCH(QList<int>, doubled);
    QFETCH(int, backFirstRow);
    QFETCH(int, backLaterRows);
    QFETCH(int, stopsOn);
    QFETCH(int, focusBox);
    QFETCH(int, added);
    const KvtTest::WarningWatch warnings; // "ไม่" warns

    enter();
    press(Screen::Menu, u"Command2"_s);
    if (frontColumn >= 0) {
        for (int item = 1; item <= 25; ++item) {
            const auto *boxes = KvtTest::kFrontBoxesOfItem[item - 1];
            if (!skipped.contains(item))
                box(Screen::FrontSheet, boxes[frontColumn])->setCheckState(Qt::Checked);
            if (doubled.contains(item))
                box(Screen::FrontSheet, boxes[(frontColumn + 1) % 3])->setCheckState(Qt::Checked);
        }
    }
    Screen finishOn = Screen::FrontSheet;
    if (backFirstRow > -2) {
        press(Screen::FrontSheet, u"Command3"_s);
        answerBack(backFirstRow, backLaterRows);
        finishOn = Screen::BackSheet;
    }
    const ClassList &list = m_screens->classList();

    pressFinish(finishOn);
    if (stopsOn >= 0) {
        QCOMPARE(list.count(), 0);
        QVERIFY(screen(Screen(stopsOn))->isVisible());
        QVERIFY(!KvtTest::control<QLabel>(screen(Screen(stopsOn)), u"Notice1"_s)->text().isEmpty());
        QCOMPARE(screen(Screen(stopsOn))->focusWidget(), box(Screen(stopsOn), focusBox));
        pressFinish(Screen(stopsOn)); // nothing changed: added as it is
    }
    QCOMPARE(list.count(), std::min(added, 1));
    if (added == 0)
        return;
    const ChildRecord &child = list.document().record(list.document().papers().front().id);
    QCOMPARE(child.version, FormVersion::Teacher);
    QCOMPARE(child.remark.isEmpty(), stopsOn < 0); // the notice's words
    QCOMPARE(child.front.has_value(), frontColumn >= 0);
    QCOMPARE(child.back.has_value(), backFirstRow >= 0 || backLaterRows >= 0);
    // Ready for the next paper: both sides empty, the back side hidden, the focus on item 1.
    QVERIFY(screen(Screen::FrontSheet)->isVisible());
    QCOMPARE(screen(Screen::FrontSheet)->focusWidget(), box(Screen::FrontSheet, 1));
    for (Screen side : {Screen::FrontSheet, Screen::BackSheet}) {
        if (!screen(side))
            continue;
        for (QCheckBox *answer : screen(side)->findChildren<QCheckBox *>())
            QVERIFY(!answer->isChecked());
        QVERIFY(KvtTest::control<QLabel>(screen(side), u"Notice1"_s)->text().isEmpty());
    }
    if (screen(Screen::BackSheet))
        QVERIFY(!screen(Screen::BackSheet)->isVisible());
    if (added > 1) {
        // The next child the same way: a complete paper goes in at the first press.
        answerFront(0);
        pressFinish(Screen::FrontSheet);
        QCOMPARE(list.count(), 2);
    }
}

KVT_TEST_MAIN(ScreenFlowTest)

#include "tst_screenflow.moc"
