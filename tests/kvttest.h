#pragma once

// What the tests share: their main(), the paper form's units and box tables,
// and the fixtures of the tests that open screens.

#include "shell/application.h"
#include "shell/screenregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRect>
#include <QTest>
#include <QTimer>

#include <initializer_list>
#include <memory>

namespace KvtTest {

using namespace Qt::StringLiterals;

// Runs the test object in a QApplication set up as the program sets up its
// own: name, style, the Thai font, the window icon and the keys every screen
// shares. The bare kind leaves the application as Qt makes it.
enum class SetUp { Program, Bare };

template<typename Test> int run(int argc, char *argv[], SetUp setUp)
{
    QApplication app(argc, argv);
    if (setUp == SetUp::Program)
        Application::setUp(app);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

// The paper form is laid out in twips, 15 to a logical pixel.
constexpr int twips(int length)
{
    return length / 15;
}

constexpr QRect twips(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

// The front side's items as the paper numbers their boxes: each item's
// "ไม่จริง", "ค่อนข้างจริง" and "จริง" box.
constexpr int kFrontBoxesOfItem[25][3] = {{1, 2, 3}, {6, 5, 4}, {9, 8, 7}, {10, 11, 12}, {15, 14, 13}, {16, 17, 18},
    {19, 20, 21}, {22, 23, 24}, {30, 29, 28}, {25, 26, 27}, {31, 32, 33}, {34, 35, 36}, {37, 38, 39}, {48, 47, 46},
    {45, 44, 43}, {75, 74, 73}, {70, 71, 72}, {67, 68, 69}, {66, 65, 64}, {61, 62, 63}, {60, 59, 58}, {57, 56, 55},
    {54, 53, 52}, {40, 41, 42}, {51, 50, 49}};

// The back side's rows in the order the keys walk them, each row's answers
// left to right, then top to bottom: difficulties, duration, upset, the four
// areas of the grid (home life, friendships, classroom, leisure) and burden.
constexpr int kBackRows[8][4] = {{1, 2, 3, 4}, {6, 5, 7, 8}, {10, 9, 11, 12}, {13, 14, 15, 16}, {17, 18, 19, 20},
    {21, 22, 23, 24}, {25, 26, 27, 28}, {35, 36, 34, 33}};

// The program's screens in the order it opens them.
constexpr Screen kScreens[] = {Screen::Welcome, Screen::Menu, Screen::FrontSheet, Screen::BackSheet};

// A window's control by its object name, or null.
template<typename T = QWidget>
T *control(const QWidget *window, const QString &name, Qt::FindChildOptions options = Qt::FindChildrenRecursively)
{
    return window->findChild<T *>(name, options);
}

inline QCheckBox *box(const QWidget *sheet, int number)
{
    return control<QCheckBox>(sheet, u"Check%1"_s.arg(number));
}

// Presses a window's button with the mouse.
inline void press(const QWidget *window, const QString &button)
{
    auto *target = control<QPushButton>(window, button);
    QVERIFY2(target, qPrintable(button));
    QTest::mouseClick(target, Qt::LeftButton);
}

// One sheet made and shown afresh for each test function.
template<typename Sheet> class SheetTest : public QObject
{
protected:
    void showSheet()
    {
        m_screen = std::make_unique<Sheet>();
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
    }
    QCheckBox *box(int number) const { return KvtTest::box(m_screen.get(), number); }
    template<typename T = QWidget> T *control(const QString &name) const
    {
        return KvtTest::control<T>(m_screen.get(), name);
    }
    void press(const QString &button) const { KvtTest::press(m_screen.get(), button); }

    std::unique_ptr<Sheet> m_screen;
};

// The program's screens as the program holds them.
class RegistryTest : public QObject
{
protected:
    template<typename Screens = std::initializer_list<Screen>> void openScreens(const Screens &shown)
    {
        m_screens = std::make_unique<ScreenRegistry>();
        for (Screen which : shown)
            m_screens->show(which);
    }
    void closeScreens()
    {
        m_screens.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QWidget *screen(Screen which) const { return m_screens->screen(which); }
    QCheckBox *box(Screen which, int number) const { return KvtTest::box(screen(which), number); }
    void press(Screen which, const QString &button) const { KvtTest::press(screen(which), button); }

    std::unique_ptr<ScreenRegistry> m_screens;
};

// Closes every modal message box as soon as it is up and remembers what it said.
class WarningWatch final
{
public:
    struct Seen {
        QString text;
        QString title;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    WarningWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_seen.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
                box->close();
            }
        });
        m_timer.start(5);
    }

    const QList<Seen> &seen() const { return m_seen; }
    int count() const { return int(m_seen.size()); }

private:
    QTimer m_timer;
    QList<Seen> m_seen;
};

} // namespace KvtTest

#define KVT_TEST_MAIN(TestClass)                                                                                       \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        return KvtTest::run<TestClass>(argc, argv, KvtTest::SetUp::Program);                                           \
    }

#define KVT_TEST_MAIN_BARE(TestClass)                                                                                  \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        return KvtTest::run<TestClass>(argc, argv, KvtTest::SetUp::Bare);                                              \
    }
