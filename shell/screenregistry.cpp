#include "screenregistry.h"

#include "backsheetscreen.h"
#include "frontsheetscreen.h"
#include "menuscreen.h"
#include "sheetkeys.h"
#include "welcomescreen.h"

#include "classlistwindow.h"
#include "instancehandoff.h"
#include "sessionend.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>

#include <utility>

using namespace Qt::StringLiterals;

ScreenRegistry::ScreenRegistry(QObject *parent)
    : QObject(parent)
{
    connect(&m_classList, &ClassList::mendRequested, this, &ScreenRegistry::mendPaper);
    connect(&m_classList, &ClassList::nextPaperOwnerChanged, this, &ScreenRegistry::showNextPaperOwner);
    connect(&m_classList, &ClassList::classReplaced, this, [this] {
        stopMending();
        emptySheets();
    });
    m_classList.setSheetsGuard([this](QWidget *asker) { return maySetSheetsAside(asker); });
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

void ScreenRegistry::start(const QStringList &classFiles)
{
    show(Screen::Welcome);
    m_sessionEnd = std::make_unique<SessionEnd>([this] { return mayEnd(); }, [this] { endProgram(); });
    m_instances = std::make_unique<InstanceListener>();
    connect(m_instances.get(), &InstanceListener::fileHandedOver, this, [this](const QString &path) {
        m_classList.openFile(path, m_classList.window() ? m_classList.window() : QApplication::activeWindow());
    });
    if (classFiles.isEmpty())
        return;
    QWidget *welcome = screen(Screen::Welcome);
    m_classList.showBesideSheets(welcome);
    m_classList.openFile(classFiles.front(), m_classList.window(), ClassList::Forward::No);
    if (classFiles.size() > 1) {
        tell(m_classList.window(),
            u"โปรแกรมเปิดไฟล์ห้องได้ครั้งละหนึ่งไฟล์ จึงเปิดเฉพาะไฟล์ %1\nไฟล์อื่นอีก %2 ไฟล์ยังไม่ได้เปิด เปิดต่อได้ทีละไฟล์ด้วยปุ่ม \"เปิดไฟล์ห้อง…\" (Ctrl+O)"_s
                .arg(QDir::toNativeSeparators(classFiles.front()))
                .arg(classFiles.size() - 1));
    }
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
            if (!m_child.mending())
                m_child.setVersion(version);
            show(Screen::FrontSheet);
            showNextPaperOwner();
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
        connect(front, &FrontSheetScreen::emptiedByUser, this, [this] {
            if (m_child.mending()) {
                stopMending();
                emptySheets();
            }
        });
        connectSheetKeys(*front->keys(), Screen::BackSheet);
        window = front;
        break;
    }
    case Screen::BackSheet: {
        auto *back = new BackSheetScreen;
        connect(back, &BackSheetScreen::frontSideRequested, this, [this] { show(Screen::FrontSheet); });
        connect(back, &BackSheetScreen::emptiedByUser, this, [this] {
            if (m_child.mending()) {
                stopMending();
                emptySheets();
            }
        });
        connectSheetKeys(*back->keys(), Screen::FrontSheet);
        window = back;
        break;
    }
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    slot(screen) = window;
    if (screen == Screen::FrontSheet)
        showNextPaperOwner();
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
    connect(&keys, &SheetKeys::copyRequested, this, [this] {
        const PaperTicks ticks = sheetTicks();
        // The sheets show the results the row holds.
        if (auto *front = qobject_cast<FrontSheetScreen *>(screen(Screen::FrontSheet)))
            front->resultsForRow();
        if (auto *back = qobject_cast<BackSheetScreen *>(screen(Screen::BackSheet)))
            back->resultsForRow();
        QGuiApplication::clipboard()->setText(CurrentChild::row(ticks));
    });
    connect(&keys, &SheetKeys::copyHeaderRequested, this,
        [] { QGuiApplication::clipboard()->setText(CurrentChild::header()); });
    connect(&keys, &SheetKeys::finishRequested, this, &ScreenRegistry::finishPaper);
    connect(&keys, &SheetKeys::classListRequested, &m_classList, &ClassList::showWindow);
    connect(&keys, &SheetKeys::keepRequested, this,
        [this] { m_classList.keep(QApplication::activeWindow(), paperOnSheets()); });
    connect(&keys, &SheetKeys::escapeRequested, this, [this] {
        if (!m_child.mending())
            return;
        stopMending();
        emptySheets();
        show(Screen::FrontSheet);
    });
}

PaperTicks ScreenRegistry::sheetTicks() const
{
    PaperTicks ticks;
    if (const auto *front = qobject_cast<FrontSheetScreen *>(screen(Screen::FrontSheet)))
        ticks.front = front->ticks();
    if (const auto *back = qobject_cast<BackSheetScreen *>(screen(Screen::BackSheet)))
        ticks.back = back->ticks();
    return ticks;
}

bool ScreenRegistry::paperOnSheets() const
{
    const PaperTicks ticks = sheetTicks();
    return anyTick(ticks.front) || anyTick(ticks.back);
}

void ScreenRegistry::finishPaper()
{
    const PaperTicks ticks = sheetTicks();
    const CurrentChild::Outcome outcome = m_child.finish(ticks);
    if (outcome == CurrentChild::Outcome::NothingToAdd) {
        QApplication::beep();
        return;
    }
    if (!screen(Screen::FrontSheet))
        show(Screen::FrontSheet); // discarded by its close box: an empty front side
    auto *front = qobject_cast<FrontSheetScreen *>(screen(Screen::FrontSheet));
    auto *back = qobject_cast<BackSheetScreen *>(screen(Screen::BackSheet));
    // The sheets show what the row holds, and the notices of what is left out.
    front->resultsForRow();
    front->finishNotice();
    if (back) {
        back->resultsForRow();
        if (anyTick(ticks.back))
            back->finishNotice();
    }
    switch (outcome) {
    case CurrentChild::Outcome::StopAtFront:
        show(Screen::FrontSheet);
        front->focusFirstProblem();
        return;
    case CurrentChild::Outcome::StopAtBack:
        show(Screen::BackSheet);
        back->focusFirstProblem();
        return;
    case CurrentChild::Outcome::Added:
    case CurrentChild::Outcome::Replaced:
    case CurrentChild::Outcome::NothingToAdd:
        break;
    }
    emptySheets();
    show(Screen::FrontSheet);
    showNextPaperOwner();
    m_classList.showBesideSheets(front); // the list opens without taking the focus from the front side
}

void ScreenRegistry::emptySheets()
{
    if (auto *back = qobject_cast<BackSheetScreen *>(screen(Screen::BackSheet))) {
        back->startAgain();
        hide(Screen::BackSheet);
    }
    if (auto *front = qobject_cast<FrontSheetScreen *>(screen(Screen::FrontSheet)))
        front->startAgain();
}

bool ScreenRegistry::maySetSheetsAside(QWidget *asker)
{
    if (!paperOnSheets())
        return true;
    if (const std::optional<PaperId> mending = m_child.mending()) {
        const Paper *paper = m_classList.document().paper(*mending);
        if (paper && paper->ticks == sheetTicks())
            return true; // nothing changed since it came back
    }
    return askToProceed(asker,
        u"ด้านหน้าหรือด้านหลังยังมีคำตอบของแบบประเมินที่ยังไม่ได้กด Ctrl+Enter เพิ่มลงรายชื่อ\n\n"
        u"ต้องการล้างคำตอบนี้ทิ้งใช่หรือไม่"_s,
        u"ล้างคำตอบทิ้ง"_s, u"ไม่ล้าง"_s);
}

void ScreenRegistry::mendPaper(PaperId id)
{
    const Paper *paper = m_classList.document().paper(id);
    if (!paper)
        return;
    if (m_child.mending() != id) {
        if (!maySetSheetsAside(m_classList.window()))
            return;
        paper = m_classList.document().paper(id);
        if (!paper)
            return;
        const PaperTicks ticks = paper->ticks;
        m_child.startMending(id);
        if (!screen(Screen::BackSheet))
            create(Screen::BackSheet);
        if (!screen(Screen::FrontSheet))
            create(Screen::FrontSheet);
        qobject_cast<BackSheetScreen *>(screen(Screen::BackSheet))->loadTicks(ticks.back);
        hide(Screen::BackSheet);
        qobject_cast<FrontSheetScreen *>(screen(Screen::FrontSheet))->loadTicks(ticks.front);
    }
    show(Screen::FrontSheet);
    showNextPaperOwner();
}

void ScreenRegistry::stopMending()
{
    m_child.stopMending();
    showNextPaperOwner();
}

void ScreenRegistry::showNextPaperOwner()
{
    auto *front = qobject_cast<FrontSheetScreen *>(screen(Screen::FrontSheet));
    if (!front)
        return;
    if (const std::optional<PaperId> mending = m_child.mending()) {
        front->setPaperOwner(m_classList.mendingOwner(*mending));
        return;
    }
    front->setPaperOwner(m_classList.nextPaperOwner(m_child.version()));
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
    if ((menuClosed || welcomeClosedFirst) && !mayEnd()) {
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
