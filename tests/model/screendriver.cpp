#include "screendriver.h"

#include "shell/screenregistry.h"
#include "tests/common/nativekeys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegion>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;
using Model::ScreenId;

namespace {

Screen registrySlot(ScreenId screen)
{
    switch (screen) {
    case ScreenId::Welcome:
        return Screen::Welcome;
    case ScreenId::Menu:
        return Screen::Menu;
    case ScreenId::Front:
        return Screen::FrontSheet;
    case ScreenId::Back:
        return Screen::BackSheet;
    }
    return Screen::Welcome;
}

constexpr std::array<ScreenId, Model::kScreenCount> kScreens {
    ScreenId::Welcome, ScreenId::Menu, ScreenId::Front, ScreenId::Back};

QString name(ScreenId screen)
{
    return QString::fromLatin1(Model::screenName(screen));
}

QString str(const std::string &text)
{
    return QString::fromStdString(text);
}

// In the model's numbering: 0 clear, 1 ticked, 2 grayed.
int stateOf(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return -1;
}

template<typename T> T *find(QWidget *window, const QString &objectName, QStringList &missing)
{
    auto *control = window->findChild<T *>(objectName);
    if (!control)
        missing << u"%1.%2 not found"_s.arg(window->objectName(), objectName);
    return control;
}

// The part of a control the user can click: inside the window, and not under
// another control drawn above it (check boxes of the back side overlap their
// neighbours by a few pixels, as on the form they were copied from). Labels
// drawn above a box are not taken away: a box must stay above its label.
QRegion clickableRegion(QWidget *control)
{
    QWidget *window = control->window();
    QRegion region
        = QRegion(control->rect()).intersected(QRect(control->mapFrom(window, QPoint(0, 0)), window->size()));
    QWidget *parent = control->parentWidget();
    if (!parent)
        return region;
    const QObjectList &siblings = parent->children();
    for (qsizetype index = siblings.indexOf(control) + 1; index < siblings.size(); ++index) {
        auto *above = qobject_cast<QWidget *>(siblings[index]);
        const bool clickable = qobject_cast<QAbstractButton *>(above) || qobject_cast<QLineEdit *>(above);
        if (clickable && above->isVisible())
            region -= QRegion(above->geometry()).translated(-control->pos());
    }
    return region;
}

// A click as the window system delivers it: to the window, at a point that
// the window hands to whatever control lies on top there. False when the
// control has no place left to click.
bool clickInWindow(QWidget *control, double fx, double fy)
{
    const QRegion region = clickableRegion(control);
    qint64 total = 0;
    for (const QRect &rect : region)
        total += qint64(rect.width()) * rect.height();
    if (total == 0)
        return false;
    auto target = static_cast<qint64>(fx * static_cast<double>(total));
    for (const QRect &rect : region) {
        const qint64 area = qint64(rect.width()) * rect.height();
        if (target >= area) {
            target -= area;
            continue;
        }
        const QPoint at(rect.left() + static_cast<int>(target % rect.width()),
            rect.top() + static_cast<int>(fy * (rect.height() - 1)));
        QWidget *window = control->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, control->mapTo(window, at));
        return true;
    }
    return false;
}

// A key of the shape the model names, as the platform delivers it.
NativeKeys::Key keyOf(Model::KeyShape shape, int digit)
{
    // What the Kedmanee layout types on the digit row, 0 first.
    static const QString kedmanee = u"จๅ/-ภถุึคต"_s;
    static const QString kedmaneeShifted = u"๗+๑๒๓๔ู฿๕๖"_s;
    const auto index = static_cast<qsizetype>(digit);
    switch (shape) {
    case Model::KeyShape::DigitRow:
        return NativeKeys::digitRow(digit);
    case Model::KeyShape::Keypad:
        return NativeKeys::keypad(digit);
    case Model::KeyShape::KedmaneeRow:
        return NativeKeys::digitRow(digit, kedmanee.mid(index, 1));
    case Model::KeyShape::KedmaneeShifted:
        return NativeKeys::digitRow(digit, kedmaneeShifted.mid(index, 1), Qt::ShiftModifier);
    case Model::KeyShape::ThaiDigit:
        return NativeKeys::typedOnly(QString(QChar(u'๐' + digit)));
    case Model::KeyShape::Delete:
        return NativeKeys::deleteKey();
    }
    return {};
}

// Keys go to the active window's focused control first: a user who sees the
// class list in front clicks the sheet before typing there. (The list opens
// beside the sheets without taking the front, but a platform without a
// window manager gives the front to every window shown.)
bool typedInto(const Model::Action &action)
{
    switch (action.kind) {
    case Model::ActionKind::SpaceOnBox:
    case Model::ActionKind::TypeIntoText:
    case Model::ActionKind::KeyOnBox:
        return true;
    case Model::ActionKind::Copy:
        return action.copy == Model::CopyWay::CtrlC;
    case Model::ActionKind::SheetKey:
        return action.key != Model::SheetKey::FinishMenu && action.key != Model::SheetKey::ClassListMenu;
    default:
        return false;
    }
}

void bringToFront(QWidget *window)
{
    window->activateWindow();
    QCoreApplication::processEvents(); // enough for most platforms; no wait then
    if (!window->isActiveWindow() && !QTest::qWaitForWindowActive(window, 1000))
        qWarning("%s could not be made the active window", qPrintable(window->objectName()));
}

// One of the screen's right-click menu entries, as the user chooses it.
void chooseEntry(QWidget *screen, const QString &name)
{
    for (QAction *entry : screen->actions())
        if (entry->objectName() == name && entry->isEnabled() && entry->isVisible())
            entry->trigger();
}

QString listButtonObjectName(Model::ListButton button)
{
    return QString::fromLatin1(Model::listButtonName(button));
}

} // namespace

ScreenDriver::ScreenDriver(Sabotage sabotage)
    : m_registry(std::make_unique<ScreenRegistry>())
    , m_sabotage(std::move(sabotage))
{
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(0);
    connect(&m_answerTimer, &QTimer::timeout, this, &ScreenDriver::answerWarning);
    connect(m_registry.get(), &ScreenRegistry::programEnded, this, [this] { ++m_programEnded; });
    m_registry->show(Screen::Welcome);
}

ScreenDriver::~ScreenDriver()
{
    m_answerTimer.stop();
    m_registry.reset();
    // A warning left open by a faulty program must not leak into the next run.
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox *>(widget))
            widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget *ScreenDriver::window(ScreenId screen) const
{
    return m_registry->screen(registrySlot(screen));
}

QWidget *ScreenDriver::listWindow() const
{
    return m_registry->classList().window();
}

QAbstractItemView *ScreenDriver::classTable() const
{
    QWidget *list = listWindow();
    return list ? list->findChild<QAbstractItemView *>(u"ClassTable"_s) : nullptr;
}

void ScreenDriver::perform(const Model::Action &action)
{
    m_warnings.clear();
    m_lastScreen = action.screen;
    m_answer = action.answer;
    m_reply = action.reply;
    // Only ending the program, the list's buttons that lose rows and
    // mending over an unfinished paper ask.
    const bool endsOrLoses
        = action.kind == Model::ActionKind::PressButton || action.kind == Model::ActionKind::CloseBox;
    m_mayAsk = action.kind == Model::ActionKind::ListButton || action.kind == Model::ActionKind::ListEnter
        || (action.screen == ScreenId::Menu && endsOrLoses)
        || (action.screen == ScreenId::Welcome && action.kind == Model::ActionKind::CloseBox);
    m_answerTries = 0;
    QWidget *list = listWindow();
    if (typedInto(action) && list && list->isActiveWindow() && window(action.screen))
        bringToFront(window(action.screen));
    // The warning is modal and comes up inside the click; this timer fires in
    // its event loop and answers it.
    m_answerTimer.start();

    const Controls &screen = controls(action.screen);
    switch (action.kind) {
    case Model::ActionKind::ClickBox:
        if (!clickInWindow(screen.boxes.at(static_cast<std::size_t>(action.control)), action.x, action.y))
            m_unclickable << u"%1.Check%2"_s.arg(name(action.screen)).arg(action.control);
        break;
    case Model::ActionKind::SpaceOnBox:
        QTest::keyClick(screen.boxes.at(static_cast<std::size_t>(action.control)), Qt::Key_Space);
        break;
    case Model::ActionKind::GrayBoxByCode:
        screen.boxes.at(static_cast<std::size_t>(action.control))->setCheckState(Qt::PartiallyChecked);
        break;
    case Model::ActionKind::PressButton:
        if (!clickInWindow(screen.buttons.at(static_cast<std::size_t>(action.control)), 0.5, 0.5))
            m_unclickable << u"%1.Command%2"_s.arg(name(action.screen)).arg(action.control);
        break;
    case Model::ActionKind::CloseBox:
        if (QWidget *target = window(action.screen)) {
            m_discarded.emplace_back(target);
            target->close();
        }
        break;
    case Model::ActionKind::TypeIntoText:
        // Over whatever was there, key by key, Thai letters too.
        QTest::keyClick(screen.texts.at(0), Qt::Key_A, Qt::ControlModifier);
        for (const QChar letter : str(action.text)) {
            const auto key = letter.isDigit() ? Qt::Key(Qt::Key_0 + letter.digitValue()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, screen.texts.at(0), key, QString(letter), Qt::NoModifier);
        }
        break;
    case Model::ActionKind::KeyOnBox:
        pressKey(action);
        break;
    case Model::ActionKind::Copy:
        copy(action);
        break;
    case Model::ActionKind::SheetKey:
        sheetKey(action);
        break;
    case Model::ActionKind::ListButton:
        pressListButton(action);
        break;
    case Model::ActionKind::ListCloseBox:
        if (QWidget *list = listWindow())
            list->close();
        break;
    case Model::ActionKind::ListEnter:
    case Model::ActionKind::PasteRoster:
    case Model::ActionKind::ChooseView:
        actInList(action);
        break;
    }

    m_answerTimer.stop();
    // What the event loop does between two clicks: paint, and delete what was discarded.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ScreenDriver::pressKey(const Model::Action &action)
{
    // The user moves the focus to the box first; a disabled box cannot take
    // it, and the key reaches it all the same, as a stray event would.
    QCheckBox *box = controls(action.screen).boxes.at(static_cast<std::size_t>(action.control));
    if (box->isEnabled())
        box->setFocus(Qt::TabFocusReason);
    NativeKeys::send(box, keyOf(action.shape, action.digit));
}

void ScreenDriver::copy(const Model::Action &action)
{
    QApplication::clipboard()->clear();
    QWidget *screen = window(action.screen);
    if (!screen)
        return;
    if (action.copy == Model::CopyWay::CtrlC) {
        // A selection in the text box (the focus landing there selects its
        // text) is copied as in any text box; the model knows no selection,
        // so such a key goes to the screen around it.
        QWidget *focus = screen->focusWidget();
        const auto *text = qobject_cast<const QLineEdit *>(focus);
        if (!focus || (text && text->hasSelectedText()))
            focus = screen;
        QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
        return;
    }
    chooseEntry(screen, action.copy == Model::CopyWay::MenuResults ? u"CopyResults"_s : u"CopyHeader"_s);
}

// The keys go where the user's keys go: to the control with the focus.
void ScreenDriver::sheetKey(const Model::Action &action)
{
    QWidget *screen = window(action.screen);
    if (!screen)
        return;
    QWidget *focus = screen->focusWidget() ? screen->focusWidget() : screen;
    switch (action.key) {
    case Model::SheetKey::PageDown:
        QTest::keyClick(focus, Qt::Key_PageDown);
        break;
    case Model::SheetKey::PageUp:
        QTest::keyClick(focus, Qt::Key_PageUp);
        break;
    case Model::SheetKey::CtrlReturn:
        QTest::keyClick(focus, Qt::Key_Return, Qt::ControlModifier);
        break;
    case Model::SheetKey::CtrlKeypadEnter:
        QTest::keyClick(focus, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        break;
    case Model::SheetKey::FinishMenu:
        chooseEntry(screen, u"FinishChild"_s);
        break;
    case Model::SheetKey::F2:
        QTest::keyClick(focus, Qt::Key_F2);
        break;
    case Model::SheetKey::ClassListMenu:
        chooseEntry(screen, u"ShowClassList"_s);
        break;
    case Model::SheetKey::Escape:
        QTest::keyClick(focus, Qt::Key_Escape);
        break;
    case Model::SheetKey::Keep:
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
        break;
    }
}

// Rows are selected as a user selects them: a click on the first, Ctrl and a
// click on each of the others.
void ScreenDriver::pressListButton(const Model::Action &action)
{
    QWidget *list = listWindow();
    QAbstractItemView *table = classTable();
    if (!list || !table)
        return; // the model's list is shown: the difference is reported
    if (action.listButton == Model::ListButton::CopyClass)
        QApplication::clipboard()->clear();
    if (action.listButton == Model::ListButton::DeleteRows) {
        table->clearSelection();
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        for (int row : action.rows) {
            const QModelIndex cell = table->model()->index(row, 0);
            if (!cell.isValid())
                continue;
            table->scrollTo(cell);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, table->visualRect(cell).center());
            modifiers = Qt::ControlModifier;
        }
    }
    const QString name = listButtonObjectName(action.listButton);
    auto *button = list->findChild<QPushButton *>(name);
    if (!button || !clickInWindow(button, 0.5, 0.5))
        m_unclickable << u"ClassList.%1"_s.arg(name);
}

// The table's keys go to it as the user's do: the list in front, the table focused.
void ScreenDriver::actInList(const Model::Action &action)
{
    QWidget *list = listWindow();
    QAbstractItemView *table = classTable();
    if (!list || !table)
        return;
    if (action.kind == Model::ActionKind::ChooseView) {
        if (auto *views = list->findChild<QComboBox *>(u"ViewBox"_s))
            views->setCurrentIndex(action.view);
        else
            m_unclickable << u"ClassList.ViewBox"_s;
        return;
    }
    bringToFront(list);
    table->setFocus(Qt::OtherFocusReason);
    if (action.kind == Model::ActionKind::PasteRoster) {
        const QString roster = str(Model::rosterText(action.rosterSize));
        QApplication::clipboard()->setText(roster);
        // Windows' clipboard, under wine at least, takes the text a moment later.
        for (int wait = 0; wait < 200 && QApplication::clipboard()->text() != roster; ++wait)
            QTest::qWait(5);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    const QModelIndex cell = table->model()->index(action.rows.front(), 0);
    if (!cell.isValid())
        return; // a row no longer there: nothing to press Enter on
    table->scrollTo(cell);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualRect(cell).center());
    QTest::keyClick(table, Qt::Key_Return);
}

void ScreenDriver::answerWarning()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal) {
        // Not up yet, or nothing to answer; a warning cannot outlive the action anyway.
        if (++m_answerTries < 20)
            m_answerTimer.start();
        return;
    }
    if (auto *files = qobject_cast<QFileDialog *>(modal)) {
        // Where to keep the class: a new file of its own.
        ++m_fileDialogs;
        files->selectFile(m_folder.filePath(u"ห้อง %1.kvt"_s.arg(++m_classFiles)));
        static_cast<QDialog *>(files)->accept(); // public there, and the dialog's own
        return;
    }
    WarningSeen seen;
    seen.title = modal->windowTitle();
    seen.modal = modal->isModal();
    auto *box = qobject_cast<QMessageBox *>(modal);
    if (box) {
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = static_cast<int>(box->standardButtons());
    }
    if (m_mayAsk) {
        answerQuestion(modal, seen);
        return;
    }
    seen.followUpsDisabled = true;
    if (QWidget *back = window(ScreenId::Back)) {
        for (int number = 1; number <= Model::kBackBoxCount; ++number) {
            auto *check = back->findChild<QCheckBox *>(u"Check%1"_s.arg(number));
            if (check && Model::isFollowUp(number) && check->isEnabled())
                seen.followUpsDisabled = false;
        }
    }

    switch (m_answer) {
    case Model::WarningAnswer::ClickOk:
        if (box && box->button(QMessageBox::Ok))
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        break;
    case Model::WarningAnswer::Enter:
        QTest::keyClick(modal, Qt::Key_Return);
        break;
    case Model::WarningAnswer::Escape:
        QTest::keyClick(modal, Qt::Key_Escape);
        break;
    case Model::WarningAnswer::CloseBox:
        modal->close();
        break;
    }
    noteAnswered(modal, seen);
}

void ScreenDriver::noteAnswered(QWidget *modal, WarningSeen &seen)
{
    seen.closed = !modal->isVisible();
    if (!seen.closed) {
        // Still open: end it anyway so that the run can report it and go on.
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        modal->hide();
    }
    m_warnings.push_back(seen);
}

// Two buttons, staying the default: the user leaves by the other one only.
void ScreenDriver::answerQuestion(QWidget *modal, WarningSeen &seen)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    QAbstractButton *stay = box ? box->defaultButton() : nullptr;
    QAbstractButton *goOn = nullptr;
    if (box)
        for (QAbstractButton *button : box->buttons())
            if (button != stay)
                goOn = button;
    seen.staysByDefault = stay && box->escapeButton() == stay && box->buttons().size() == 2;
    seen.goOnCaption = goOn ? goOn->text() : QString();
    seen.stayCaption = stay ? stay->text() : QString();
    QWidget *keys = modal->focusWidget() ? modal->focusWidget() : modal;
    switch (m_reply) {
    case Model::Reply::GoOn:
        if (goOn)
            QTest::mouseClick(goOn, Qt::LeftButton);
        break;
    case Model::Reply::Stay:
        if (stay)
            QTest::mouseClick(stay, Qt::LeftButton);
        break;
    case Model::Reply::Enter:
        QTest::keyClick(keys, Qt::Key_Return);
        break;
    case Model::Reply::Escape:
        QTest::keyClick(keys, Qt::Key_Escape);
        break;
    case Model::Reply::CloseBox:
        modal->close();
        break;
    }
    noteAnswered(modal, seen);
}

QStringList ScreenDriver::adopt(ScreenId screen, QWidget *window, int instance)
{
    QStringList missing;
    Controls &known = controls(screen);
    known = Controls {};
    known.window = window;
    known.instance = instance;
    if (window->objectName() != name(screen))
        missing << u"%1 has the objectName %2"_s.arg(name(screen), window->objectName());

    int boxCount = 0;
    if (screen == ScreenId::Front)
        boxCount = Model::kFrontBoxCount;
    if (screen == ScreenId::Back)
        boxCount = Model::kBackBoxCount;
    known.boxes.assign(static_cast<std::size_t>(boxCount) + 1, nullptr);
    for (int number = 1; number <= boxCount; ++number)
        known.boxes[static_cast<std::size_t>(number)] = find<QCheckBox>(window, u"Check%1"_s.arg(number), missing);

    const int buttonCount = Model::buttonCount(screen);
    known.buttons.assign(static_cast<std::size_t>(buttonCount) + 1, nullptr);
    for (int number = 1; number <= buttonCount; ++number)
        known.buttons[static_cast<std::size_t>(number)]
            = find<QPushButton>(window, u"Command%1"_s.arg(number), missing);

    if (screen == ScreenId::Front) {
        for (int number = 1; number <= Model::kFrontLineCount; ++number)
            known.texts.push_back(find<QLineEdit>(window, u"Text%1"_s.arg(number), missing));
        for (int number : {36, 38, 40, 42, 44, 46})
            known.labels.push_back(find<QLabel>(window, u"Label%1"_s.arg(number), missing));
    }
    if (screen == ScreenId::Back) {
        known.texts.push_back(find<QLineEdit>(window, u"Text1"_s, missing));
        known.labels.push_back(find<QLabel>(window, u"Label18"_s, missing));
    }
    if (screen == ScreenId::Front || screen == ScreenId::Back)
        known.notice = find<QLabel>(window, u"Notice1"_s, missing);
    if (screen == ScreenId::Front)
        known.owner = find<QLabel>(window, u"PaperOwner"_s, missing);
    if (!missing.isEmpty())
        known.window.clear(); // cannot be compared; the run stops here
    else if (m_sabotage)
        m_sabotage(screen, window);
    return missing;
}

QStringList ScreenDriver::differences(const Model::Program &model, const Model::Outcome &expected)
{
    QStringList out;
    for (const QString &control : std::exchange(m_unclickable, {}))
        out << u"%1 has no place left to click"_s.arg(control);

    compareModals(expected, out);
    if (QApplication::activeModalWidget())
        out << u"a modal window is still open after the action"_s;

    if (!expected.focus.empty()) {
        const ScreenId focused = expected.focusScreen.value_or(m_lastScreen);
        QWidget *screen = window(focused);
        QWidget *focus = screen ? screen->focusWidget() : nullptr;
        const QString focusName = focus ? focus->objectName() : u"nothing"_s;
        if (focusName != str(expected.focus))
            out << u"%1: the focus is on %2, model %3"_s.arg(name(focused), focusName, str(expected.focus));
    }
    if (expected.clipboard) {
        const QString copied = QApplication::clipboard()->text();
        if (copied != str(*expected.clipboard))
            out << u"the clipboard holds \"%1\", model \"%2\""_s.arg(copied, str(*expected.clipboard));
    }

    const int fileDialogs = std::exchange(m_fileDialogs, 0);
    if (fileDialogs != (expected.fileDialog ? 1 : 0))
        out << u"asked %1 times for a file to keep the class in, model %2"_s.arg(fileDialogs)
                   .arg(expected.fileDialog ? 1 : 0);
    const int endedSignals = std::exchange(m_programEnded, 0);
    if (endedSignals != (expected.programEnded ? 1 : 0))
        out << u"programEnded emitted %1 times, model %2"_s.arg(endedSignals).arg(expected.programEnded ? 1 : 0);

    // Every screen: exists, the same window as before or a new one, shown or hidden.
    for (ScreenId screen : kScreens) {
        const Model::ScreenSlot &slot = model.slot(screen);
        Controls &known = controls(screen);
        QWidget *real = window(screen);
        if (known.window && (!slot.exists || slot.instance != known.instance)) {
            if (known.window == real)
                out << u"%1 is still the same window, model discarded it"_s.arg(name(screen));
            else
                out << u"the discarded %1 window still exists"_s.arg(name(screen));
            known.window.clear();
        }
        if (!slot.exists) {
            if (real)
                out << u"%1 exists, model has none"_s.arg(name(screen));
            continue;
        }
        if (!real) {
            out << u"%1 does not exist, model shows it"_s.arg(name(screen));
            continue;
        }
        if (!known.window) {
            out << adopt(screen, real, slot.instance);
            if (!known.window)
                continue;
        } else if (known.window != real) {
            out << u"%1 is a new window, model kept the old one"_s.arg(name(screen));
            continue;
        }
        if (real->isVisible() != slot.shown)
            out << u"%1 visible %2, model %3"_s.arg(name(screen)).arg(real->isVisible()).arg(slot.shown);
        if (!real->windowTitle().startsWith(str(Model::windowCaptionPrefix(screen))))
            out << u"%1 caption \"%2\""_s.arg(name(screen), real->windowTitle());
        if (screen == ScreenId::Front)
            compareFront(model.front(), model.paperOwner(), out);
        if (screen == ScreenId::Back)
            compareBack(model.back(), out);
    }

    // The list's window outlives an ended program only in this test's process.
    if (!model.ended())
        compareClassList(model, out);

    // No window beyond the model's screens and the class list is shown.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible())
            continue;
        bool known = widget == listWindow();
        for (ScreenId screen : kScreens)
            known = known || widget == window(screen);
        if (!known)
            out << u"an unexpected window \"%1\" (%2) is shown"_s.arg(widget->windowTitle(), widget->objectName());
    }
    for (const QPointer<QWidget> &gone : m_discarded) {
        bool current = false;
        for (ScreenId screen : kScreens)
            current = current || gone == window(screen);
        if (gone && !current)
            out << u"a window closed by its close box was not deleted: %1"_s.arg(gone->objectName());
    }
    m_discarded.clear();
    return out;
}

void ScreenDriver::compareFront(const Model::FrontSide &model, const std::string &owner, QStringList &out) const
{
    const Controls &known = m_controls[static_cast<std::size_t>(ScreenId::Front)];
    if (known.owner->toolTip() != str(owner) || known.owner->isHidden() != owner.empty())
        out << u"Form3.PaperOwner \"%1\" (hidden %2), model \"%3\""_s.arg(known.owner->toolTip())
                   .arg(known.owner->isHidden())
                   .arg(str(owner));
    for (int number = 1; number <= Model::kFrontBoxCount; ++number) {
        const QCheckBox *box = known.boxes[static_cast<std::size_t>(number)];
        const Model::Box &expected = model.boxes[static_cast<std::size_t>(number)];
        if (stateOf(box) != static_cast<int>(expected.state))
            out << u"Form3.Check%1 state %2, model %3"_s.arg(number).arg(stateOf(box)).arg(int(expected.state));
        if (!box->isEnabled())
            out << u"Form3.Check%1 is disabled"_s.arg(number);
    }
    for (std::size_t line = 0; line < known.texts.size(); ++line) {
        const QLineEdit *text = known.texts[line];
        if (text->text() != str(model.scores[line]))
            out << u"Form3.%1 \"%2\", model \"%3\""_s.arg(text->objectName(), text->text(), str(model.scores[line]));
        if (text->isEnabled())
            out << u"Form3.%1 is enabled; the score boxes take no typing"_s.arg(text->objectName());
        const QLabel *band = known.labels[line];
        if (band->text() != str(model.bands[line]))
            out << u"Form3.%1 \"%2\", model \"%3\""_s.arg(band->objectName(), band->text(), str(model.bands[line]));
    }
    if (known.notice->text() != str(model.notice))
        out << u"Form3.Notice1 \"%1\", model \"%2\""_s.arg(known.notice->text(), str(model.notice));
}

void ScreenDriver::compareBack(const Model::BackSide &model, QStringList &out) const
{
    const Controls &known = m_controls[static_cast<std::size_t>(ScreenId::Back)];
    for (int number = 1; number <= Model::kBackBoxCount; ++number) {
        const QCheckBox *box = known.boxes[static_cast<std::size_t>(number)];
        const Model::Box &expected = model.boxes[static_cast<std::size_t>(number)];
        if (stateOf(box) != static_cast<int>(expected.state))
            out << u"Form4.Check%1 state %2, model %3"_s.arg(number).arg(stateOf(box)).arg(int(expected.state));
        if (box->isEnabled() != expected.enabled)
            out << u"Form4.Check%1 enabled %2, model %3"_s.arg(number).arg(box->isEnabled()).arg(expected.enabled);
    }
    if (known.texts[0]->text() != str(model.text1))
        out << u"Form4.Text1 \"%1\", model \"%2\""_s.arg(known.texts[0]->text(), str(model.text1));
    if (known.labels[0]->text() != str(model.label18))
        out << u"Form4.Label18 \"%1\", model \"%2\""_s.arg(known.labels[0]->text(), str(model.label18));
    if (known.notice->text() != str(model.notice))
        out << u"Form4.Notice1 \"%1\", model \"%2\""_s.arg(known.notice->text(), str(model.notice));
}

void ScreenDriver::compareClassList(const Model::Program &model, QStringList &out) const
{
    const Model::ClassListSide &list = model.classList();
    QWidget *real = listWindow();
    if (!real) {
        if (list.exists)
            out << u"the class list has no window, model has one"_s;
        return;
    }
    if (!list.exists) {
        out << u"the class list's window exists, model has none"_s;
        return;
    }
    if (real->isVisible() != list.shown)
        out << u"ClassList visible %1, model %2"_s.arg(real->isVisible()).arg(list.shown);
    if (real->objectName() != u"ClassList"_s)
        out << u"the class list's window has the objectName %1"_s.arg(real->objectName());
    const QAbstractItemView *table = classTable();
    if (!table || !table->model()) {
        out << u"ClassList.ClassTable not found"_s;
        return;
    }
    const QAbstractItemModel &rows = *table->model();
    if (rows.columnCount() != Model::kClassColumnCount)
        out << u"ClassList.ClassTable has %1 columns"_s.arg(rows.columnCount());
    // One more than the view's: the late pupil's row.
    const int expectedRows = static_cast<int>(model.listRows().size()) + 1;
    if (rows.rowCount() != expectedRows) {
        out << u"ClassList.ClassTable has %1 rows, model %2"_s.arg(rows.rowCount()).arg(expectedRows);
        return;
    }
    for (int row = 0; row < rows.rowCount(); ++row) {
        for (int column = 0; column < std::min(rows.columnCount(), Model::kClassColumnCount); ++column) {
            const QString cell = rows.data(rows.index(row, column)).toString();
            const QString expected = str(model.classCell(static_cast<std::size_t>(row), column));
            if (cell != expected)
                out << u"ClassList.ClassTable row %1 column %2 \"%3\", model \"%4\""_s.arg(row + 1)
                           .arg(column + 1)
                           .arg(cell, expected);
        }
    }
}

void ScreenDriver::compareModals(const Model::Outcome &expected, QStringList &out) const
{
    const int seenCount = static_cast<int>(m_warnings.size());
    if (m_mayAsk) {
        const int questions = expected.questionShown ? 1 : 0;
        if (seenCount != questions)
            out << u"a question came up %1 times, model %2"_s.arg(seenCount).arg(questions);
        for (const WarningSeen &seen : m_warnings) {
            if (seen.icon != QMessageBox::Question)
                out << u"question icon %1, not the question icon: \"%2\""_s.arg(seen.icon).arg(seen.text);
            if (!seen.staysByDefault)
                out << u"the question has not two buttons with staying the default: \"%1\""_s.arg(seen.text);
            if (!seen.modal)
                out << u"question is not modal"_s;
            if (!seen.closed)
                out << u"question did not close when answered"_s;
            if (!expected.goOnCaption.empty()
                && (seen.goOnCaption != str(expected.goOnCaption) || seen.stayCaption != str(expected.stayCaption)))
                out << u"the question's buttons \"%1\" and \"%2\", model \"%3\" and \"%4\""_s.arg(
                    seen.goOnCaption, seen.stayCaption, str(expected.goOnCaption), str(expected.stayCaption));
        }
        return;
    }
    const int warnings = expected.warningShown ? 1 : 0;
    if (seenCount != warnings)
        out << u"the warning came up %1 times, model %2"_s.arg(seenCount).arg(warnings);
    for (const WarningSeen &seen : m_warnings) {
        if (seen.text != str(Model::kWarningText))
            out << u"warning text \"%1\""_s.arg(seen.text);
        if (seen.title != str(Model::kWarningTitle))
            out << u"warning title \"%1\""_s.arg(seen.title);
        if (seen.icon != QMessageBox::Information)
            out << u"warning icon %1, not the information icon"_s.arg(seen.icon);
        if (seen.buttons != QMessageBox::Ok)
            out << u"warning buttons %1, not OK alone"_s.arg(seen.buttons, 0, 16);
        if (!seen.modal)
            out << u"warning is not modal"_s;
        if (!seen.followUpsDisabled)
            out << u"warning came up before every follow-up box was disabled"_s;
        if (!seen.closed)
            out << u"warning did not close when answered"_s;
    }
}
