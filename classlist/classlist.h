#pragma once

#include "childrecord.h"
#include "classmodel.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class ClassListWindow;
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
    // beside the sheets without taking the focus from the one typed in (by
    // default the active window).
    void add(ChildRecord record, QWidget *typingIn = nullptr);
    int count() const;

    // Opens the window and brings it forward: the sheets' menu and key.
    void showWindow();

    // Whether the rows may be discarded now: at once when the list is empty
    // or was copied, saved or printed since it last changed; otherwise only
    // if the user, asked in Thai, chooses to leave (staying is the default).
    bool mayDiscard(QWidget *asker);

    // The window, or null until it first opens.
    QWidget *window() const;

    // Whether a child was added, deleted or renamed, or the list emptied,
    // since the list was last copied, saved or printed.
    bool isChanged() const { return m_changed; }

    // The rows as the table shows them.
    const ClassModel &model() const { return m_model; }

    // Copies the heading line and every row, tab-separated, to the clipboard.
    void copyClass();

    // Save the class to the path, whole or not at all: nothing when saved,
    // otherwise what to tell the user, in Thai. The list stays either way.
    std::optional<QString> saveCsv(const QString &path);
    std::optional<QString> savePdf(const QString &path);

private:
    friend class ClassListWindow;

    ClassListWindow &openWindow();
    void markKept() { m_changed = false; }

    ClassModel m_model;
    std::unique_ptr<ClassListWindow> m_window;
    bool m_changed = false;
};
