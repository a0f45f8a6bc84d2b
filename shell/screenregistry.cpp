#include "screenregistry.h"

#include "backsheetscreen.h"
#include "frontsheetscreen.h"
#include "menuscreen.h"
#include "sheetkeys.h"
#include "welcomescreen.h"

#include <QCoreApplication>
#include <QEvent>

#include <utility>

ScreenRegistry::ScreenRegistry(QObject *parent)
    : QObject(parent)
{
}

ScreenRegistry::~ScreenRegistry()
{
    m_ending = true;
    for (QPointer<QWidget> &screen : m_slots)
        delete screen.data();
}

QPointer<QWidget> &ScreenRegistry::slot(Screen screen)
{
    return m_slots[static_cast<std::size_t>(screen)];
}

QWidget *ScreenRegistry::screen(Screen screen) const
{
    return m_slots[static_cast<std::size_t>(screen)];
}

void ScreenRegistry::show(Screen screen)
{
    QWidget *window = slot(screen);
    if (!window)
        window = create(screen);
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void ScreenRegistry::hide(Screen screen)
{
    if (QWidget *window = slot(screen))
        window->hide();
}

void ScreenRegistry::endProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    for (QPointer<QWidget> &window : m_slots) {
        if (window) {
            window->hide();
            window->deleteLater();
        }
        window.clear();
    }
    emit programEnded();
    QCoreApplication::quit();
}

QWidget *ScreenRegistry::create(Screen screen)
{
    QWidget *window = nullptr;
    switch (screen) {
    case Screen::Welcome: {
        auto *welcome = new WelcomeScreen;
        connect(welcome, &WelcomeScreen::enterRequested, this, [this] {
            show(Screen::Menu);
            hide(Screen::Welcome);
        });
        window = welcome;
        break;
    }
    case Screen::Menu: {
        auto *menu = new MenuScreen(m_menuBackground);
        connect(menu, &MenuScreen::formVersionChosen, this, [this](FormVersion version) {
            m_child.setVersion(version);
            show(Screen::FrontSheet);
        });
        connect(menu, &MenuScreen::exitRequested, this, [this] {
            if (mayEnd())
                endProgram();
        });
        window = menu;
        break;
    }
    case Screen::FrontSheet: {
        auto *front = new FrontSheetScreen;
        connect(front, &FrontSheetScreen::backSideRequested, this, [this] { show(Screen::BackSheet); });
        connectSheetKeys(*front->keys(), Screen::BackSheet);
        window = front;
        break;
    }
    case Screen::BackSheet: {
        auto *back = new BackSheetScreen;
        connect(back, &BackSheetScreen::frontSideRequested, this, [this] { show(Screen::FrontSheet); });
        connectSheetKeys(*back->keys(), Screen::FrontSheet);
        window = back;
        break;
    }
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    slot(screen) = window;
    return window;
}

// Page Down on the front side does what "ด้านหลัง" does and starts at the
// back side's first row; Page Up on the back side brings the front forward.
void ScreenRegistry::connectSheetKeys(const SheetKeys &keys, Screen turnTo)
{
    connect(&keys, &SheetKeys::turnRequested, this, [this, turnTo] {
        show(turnTo);
        if (auto *back = qobject_cast<BackSheetScreen *>(screen(turnTo)))
            back->focusFirstRow();
    });
    connect(&keys, &SheetKeys::copyRequested, &m_child, &CurrentChild::copyRow);
    connect(&keys, &SheetKeys::copyHeaderRequested, &m_child, &CurrentChild::copyHeader);
    connect(&keys, &SheetKeys::finishRequested, &m_child, &CurrentChild::finish);
    connect(&keys, &SheetKeys::classListRequested, &m_classList, &ClassList::showWindow);
}

bool ScreenRegistry::mayEnd()
{
    return m_classList.mayDiscard(screen(Screen::Menu));
}

bool ScreenRegistry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Close || m_ending)
        return QObject::eventFilter(watched, event);

    const bool menuClosed = watched == screen(Screen::Menu);
    const bool welcomeClosedFirst = watched == screen(Screen::Welcome) && !screen(Screen::Menu);
    if (menuClosed && !mayEnd()) {
        event->ignore();
        return true;
    }
    if (menuClosed || welcomeClosedFirst) {
        endProgram();
        return false;
    }
    // The window deletes itself; free its slot now so the next show makes a new one.
    for (QPointer<QWidget> &window : m_slots)
        if (window == watched)
            window.clear();
    return QObject::eventFilter(watched, event);
}
