#pragma once

#include "childrecord.h"

#include <QObject>

#include <vector>

class QWidget;

// The class being copied: every child added with the finish key, in memory
// only, and the window that shows it. Nothing is written unless the user
// saves or prints, and nothing is read at start-up.
class ClassList final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassList)

public:
    explicit ClassList(QObject *parent = nullptr);
    ~ClassList() override;

    // Adds the child's row at the end. The first time, the window opens
    // beside the sheets without taking the focus from them.
    void add(ChildRecord record);
    int count() const;

    // Opens the window and brings it forward: the sheets' menu and key.
    void showWindow();

    // Whether the rows may be discarded now: at once when the list is empty
    // or was copied, saved or printed since it last changed; otherwise only
    // if the user, asked in Thai, chooses to leave (staying is the default).
    bool mayDiscard(QWidget *asker);

    // The window, or null until it first opens.
    QWidget *window() const;

private:
    // Stand-in until the list's window is written.
    std::vector<ChildRecord> m_rows;
};
