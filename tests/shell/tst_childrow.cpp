#include "kvttest.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The row of one child's results gathers both sides from their ticks, as the
// program has them, whatever the screens showed before.
class ChildRowTest final : public KvtTest::RegistryTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { closeScreens(); }

    void rowOfBothSides_data();
    void rowOfBothSides();
    void rowFollowsTicksNotScreen_data();
    void rowFollowsTicksNotScreen();
    void selectionInTextBoxCopiesText();
    void headerFromMenu();

private:
    void tick(Screen which, std::initializer_list<int> boxes)
    {
        for (int number : boxes)
            box(which, number)->setCheckState(Qt::Checked);
    }
    QStringList copiedFields(Screen from, const QString &way);
};

void ChildRowTest::init()
{
    QApplication::clipboard()->clear();
    openScreens({Screen::Welcome, Screen::Menu, Screen::FrontSheet});
}

// Ctrl+C on the focused control, or the menu's entry.
QStringList ChildRowTest::copiedFields(Screen from, const QString &way)
{
    QApplication::clipboard()->clear();
    if (way == u"CopyResults"_s) {
        KvtTest::control<QAction>(screen(from), way)->trigger();
    } else {
        QWidget *focus = way.isEmpty() ? screen(from)->focusWidget() : KvtTest::control<QWidget>(screen(from), way);
        QTest::keyClick(focus ? focus : screen(from), Qt::Key_C, Qt::ControlModifier);
    }
    const QString text = QApplication::clipboard()->text();
    if (!text.endsWith(u'\n'))
        return {u"no new line at the end: "_s + text};
    return text.chopped(1).split(u'\t');
}

void ChildRowTest::rowOfBothSides_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("way"); // empty: Ctrl+C where the focus is
    for (const auto &[side, name] : {std::pair {Screen::FrontSheet, "front"}, std::pair {Screen::BackSheet, "back"}}) {
        QTest::addRow("Ctrl+C on the %s side", name) << int(side) << QString();
        QTest::addRow("menu on the %s side", name) << int(side) << u"CopyResults"_s;
    }
    QTest::addRow("Ctrl+C on the front side's แปลผล") << int(Screen::FrontSheet) << u"Command1"_s;
    QTest::addRow("Ctrl+C in the back side's score box") << int(Screen::BackSheet) << u"Text1"_s;
}

void ChildRowTest::rowOfBothSides()
{
    QFETCH(int, from);
    QFETCH(QString, way);

    // Item 3 "จริง" and item 8 "จริง" (area 1), item 1 "จริง" (social), item 7 "ไม่จริง" (area 2, reversed).
    tick(Screen::FrontSheet, {7, 24, 3, 19});
    press(Screen::FrontSheet, u"Command3"_s);
    tick(Screen::BackSheet, {2, 11});

    const QStringList expected {u"4"_s, u"ปกติ"_s, u"2"_s, u"ปกติ"_s, u"0"_s, u"ปกติ"_s, u"0"_s, u"ปกติ"_s, u"6"_s,
        u"ปกติ"_s, u"2"_s, u"มีปัญหา"_s, u"1"_s, u"รุนแรงปานกลาง"_s};
    QCOMPARE(copiedFields(Screen(from), way), expected);
    // Both sides show what was copied, though "แปลผล" was never pressed.
    QCOMPARE(KvtTest::control<QLineEdit>(screen(Screen::FrontSheet), u"Text5"_s)->text(), u"6"_s);
    QCOMPARE(KvtTest::control<QLabel>(screen(Screen::BackSheet), u"Label18"_s)->text(), u"รุนแรงปานกลาง"_s);
}

void ChildRowTest::rowFollowsTicksNotScreen_data()
{
    QTest::addColumn<bool>("openBack");
    QTest::addColumn<bool>("discardBack");
    QTest::addColumn<QString>("typedScore"); // typed into the back side's score box
    QTest::addRow("back side never opened") << false << false << QString();
    QTest::addRow("back side open, no tick, score typed") << true << false << u"12"_s;
    QTest::addRow("back side discarded by its close box") << true << true << QString();
}

// A side with no tick gives empty fields, whatever its boxes show; an answer
// changed after "แปลผล" is copied as it is now.
void ChildRowTest::rowFollowsTicksNotScreen()
{
    QFETCH(bool, openBack);
    QFETCH(bool, discardBack);
    QFETCH(QString, typedScore);

    press(Screen::FrontSheet, u"Command1"_s); // an empty sheet shows 0 and its words
    QCOMPARE(copiedFields(Screen::FrontSheet, {}), QStringList(14, QString()));
    QVERIFY(KvtTest::control<QLineEdit>(screen(Screen::FrontSheet), u"Text5"_s)->text().isEmpty());

    tick(Screen::FrontSheet, {3});
    press(Screen::FrontSheet, u"Command1"_s);
    box(Screen::FrontSheet, 3)->setCheckState(Qt::Unchecked);
    tick(Screen::FrontSheet, {2}); // item 1 now "ค่อนข้างจริง"
    if (openBack) {
        press(Screen::FrontSheet, u"Command3"_s);
        press(Screen::BackSheet, u"Command2"_s); // 0 and its word on an empty back side
        KvtTest::control<QLineEdit>(screen(Screen::BackSheet), u"Text1"_s)->setText(typedScore);
    }
    if (discardBack) {
        screen(Screen::BackSheet)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QStringList fields = copiedFields(Screen::FrontSheet, u"CopyResults"_s);
    QCOMPARE(fields.size(), 14);
    QCOMPARE(fields.mid(10, 2), (QStringList {u"1"_s, u"มีปัญหา"_s}));
    QCOMPARE(fields.mid(12), (QStringList {QString(), QString()}));
}

void ChildRowTest::selectionInTextBoxCopiesText()
{
    press(Screen::FrontSheet, u"Command3"_s);
    auto *text = KvtTest::control<QLineEdit>(screen(Screen::BackSheet), u"Text1"_s);
    text->setText(u"12"_s);
    text->setFocus();
    text->selectAll();
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), u"12"_s);
}

void ChildRowTest::headerFromMenu()
{
    KvtTest::control<QAction>(screen(Screen::FrontSheet), u"CopyHeader"_s)->trigger();
    const QString header = QApplication::clipboard()->text();
    QVERIFY(header.endsWith(u'\n'));
    const QStringList names = header.chopped(1).split(u'\t');
    QCOMPARE(names.size(), 14);
    QCOMPARE(names.first(), u"คะแนนด้านที่ 1"_s);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 14);
}

KVT_TEST_MAIN(ChildRowTest)

#include "tst_childrow.moc"
