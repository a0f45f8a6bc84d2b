#pragma once

#include <QObject>
#include <QString>

class QKeyEvent;
class QWidget;

// The keys and the right-click menu both sheets share, so that a whole class
// can be copied from the keyboard: Ctrl+C copies the child's row, Ctrl+Enter
// finishes the child, Page Down on the front side and Page Up on the back
// side turn the paper over, F2 opens the class list, Ctrl+S keeps the class
// in its file, Escape gives up mending a paper. The sheets' owner
// connects the signals; the sheet itself only carries the keys.
class SheetKeys final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SheetKeys)

public:
    // Which way this sheet's page key turns the paper.
    enum class Turn { ToBack, ToFront };

    SheetKeys(QWidget *sheet, Turn turn);

    // The line the answer boxes' tooltips add under their answer keys.
    static QString toolTipLine(Turn turn);

    static bool isFinish(const QKeyEvent &event);
    bool isTurn(const QKeyEvent &event) const;

signals:
    void copyRequested();
    void copyHeaderRequested();
    void finishRequested();
    void turnRequested();
    void classListRequested();
    void keepRequested();
    void escapeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Turn m_turn;
};
