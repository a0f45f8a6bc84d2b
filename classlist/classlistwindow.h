#pragma once

#include "classdata.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class ClassList;
class ClassModel;
class SummaryModel;
class QKeyEvent;
class QRect;
class QSize;
namespace Ui {
class ClassListWindow;
}

// The class list's window (ClassList): the class's heading, the table of
// pupils and papers in the view chosen, where the user types each pupil's
// number and name, pastes a roster and picks a paper to mend, the summary,
// and the buttons that keep, open, copy, save, print, delete and empty.
// Closing it hides it; the class stays.
class ClassListWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassListWindow)

public:
    ClassListWindow(ClassList &list, ClassModel &model);
    ~ClassListWindow() override;

    // Beside the sheets when the screen has room for it, else at the screen's
    // right edge.
    void placeBesideSheets();

    // Shows the window without taking the activation from the window the
    // user types in; a window manager that activates new windows anyway is
    // answered by handing it back, for a moment after showing only.
    void showWithoutActivating(QWidget *typingIn);

    // The paper's row made current and scrolled to.
    void showPaper(PaperId paper);
    void showStatus(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setUpTable();
    void setUpSummary();
    void setUpHeading();
    void showHeading();
    void takeHeading();
    void showTitle();
    void showCount();
    void enableButtons();
    void pasteRoster();
    void actOnRow(int row);
    void copyClass();
    void saveCsv();
    void printClass();
    void savePdf();
    void deleteRows();
    void emptyList();
    QString askPath(const QString &caption, const QString &suffix, const QString &filter);
    void reportSaved(const QString &path, const std::optional<QString> &error);

    Ui::ClassListWindow *m_ui;
    ClassList &m_list;
    ClassModel &m_model;
    SummaryModel *m_summary;
    QString m_folder; // where the last file went; Documents at first
    QPointer<QWidget> m_typingIn; // handed the activation back while set
};

// Where the window goes on a screen whose available area is given, its
// frame's parts allowed for: the client area's rectangle.
QRect besideSheets(const QRect &screen, const QRect &available, const QSize &minimum);

// Asks in Thai with two buttons; staying is the default, and Escape or
// closing the box stays too. True when the user chose to go on.
bool askToProceed(QWidget *parent, const QString &text, const QString &proceed, const QString &stay);

// Tells the user in Thai, with one button.
void tell(QWidget *parent, const QString &text);
