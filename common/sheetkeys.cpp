#include "sheetkeys.h"

#include "answerkeys.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

QString nativeText(const QKeySequence &keys)
{
    return keys.toString(QKeySequence::NativeText);
}

Qt::KeyboardModifiers heldModifiers(const QKeyEvent &event)
{
    return event.modifiers() & ~Qt::KeypadModifier;
}

Qt::Key turnKey(SheetKeys::Turn turn)
{
    return turn == SheetKeys::Turn::ToBack ? Qt::Key_PageDown : Qt::Key_PageUp;
}

// The keys named as they are printed on a keyboard, not as Qt spells them
// ("PgDown", "Ctrl+Return").
QString turnKeyName(SheetKeys::Turn turn)
{
    return turn == SheetKeys::Turn::ToBack ? u"Page Down"_s : u"Page Up"_s;
}
constexpr Qt::Key kClassListKey = Qt::Key_F2;
const QString kClassListKeyName = u"F2"_s;
const QString kFinishKeyName = u"Ctrl+Enter"_s;

} // namespace

SheetKeys::SheetKeys(QWidget *sheet, Turn turn)
    : QObject(sheet)
    , m_turn(turn)
{
    // The keys are shown beside the entries only: the filter below handles them.
    const auto addEntry = [this, sheet](const QString &objectName, const QString &text, const QString &keys,
                              void (SheetKeys::*request)()) {
        auto *entry = new QAction(keys.isEmpty() ? text : text + u'\t' + keys, sheet);
        entry->setObjectName(objectName);
        connect(entry, &QAction::triggered, this, request);
        sheet->addAction(entry);
    };
    addEntry(u"CopyResults"_s, u"คัดลอกผล"_s, nativeText(QKeySequence::Copy), &SheetKeys::copyRequested);
    addEntry(u"CopyHeader"_s, u"คัดลอกหัวตาราง"_s, {}, &SheetKeys::copyHeaderRequested);
    addEntry(u"FinishChild"_s, u"เพิ่มลงรายชื่อ แล้วเริ่มคนถัดไป"_s, kFinishKeyName, &SheetKeys::finishRequested);
    addEntry(u"ShowClassList"_s, u"รายชื่อทั้งห้อง"_s, kClassListKeyName, &SheetKeys::classListRequested);
    addEntry(u"KeepClass"_s, u"บันทึกรายชื่อทั้งห้องลงไฟล์"_s, nativeText(QKeySequence::Save), &SheetKeys::keepRequested);
    sheet->setContextMenuPolicy(Qt::ActionsContextMenu);

    sheet->installEventFilter(this); // keys the focused control leaves to its sheet
    for (QLineEdit *box : sheet->findChildren<QLineEdit *>()) {
        box->setContextMenuPolicy(Qt::NoContextMenu); // the sheet's menu, not the box's English one
        box->installEventFilter(this); // a text box keeps Ctrl+C and the page keys to itself
    }
}

QString SheetKeys::toolTipLine(Turn turn)
{
    const QString turnText = turn == Turn::ToBack ? u"ไปด้านหลัง"_s : u"กลับด้านหน้า"_s;
    return turnKeyName(turn) + u' ' + turnText + u" · "_s + kFinishKeyName + u" เพิ่มลงรายชื่อ แล้วเริ่มคนถัดไป"_s;
}

bool SheetKeys::isFinish(const QKeyEvent &event)
{
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        && heldModifiers(event) == Qt::ControlModifier;
}

bool SheetKeys::isTurn(const QKeyEvent &event) const
{
    return heldModifiers(event) == Qt::NoModifier && event.key() == turnKey(m_turn);
}

bool SheetKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto &key = *static_cast<QKeyEvent *>(event);
    if (AnswerKeys::isCopy(key)) {
        // In a text box with text selected, Ctrl+C copies that text.
        const auto *box = qobject_cast<const QLineEdit *>(watched);
        if (box && box->hasSelectedText())
            return false;
        emit copyRequested();
    } else if (isFinish(key)) {
        emit finishRequested();
    } else if (isTurn(key)) {
        emit turnRequested();
    } else if (key.key() == kClassListKey && heldModifiers(key) == Qt::NoModifier) {
        emit classListRequested();
    } else if (AnswerKeys::isCommand(key, AnswerKeys::Command::Keep)) {
        emit keepRequested();
    } else if (key.key() == Qt::Key_Escape && heldModifiers(key) == Qt::NoModifier) {
        emit escapeRequested();
    } else {
        return false;
    }
    return true;
}
