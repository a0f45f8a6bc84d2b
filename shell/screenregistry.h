#pragma once

#include "currentchild.h"
#include "menuscreen.h"

#include "classlist.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <array>
#include <memory>

class InstanceListener;
class QWidget;
class SessionEnd;
class SheetKeys;

enum class Screen { Welcome, Menu, FrontSheet, BackSheet };

// One slot per screen: a screen is created when first shown and is then the
// only instance for the rest of the run. Every navigation is made of show,
// hide and end program. Screens are modeless and have no owner.
//
// A window's close box discards its screen; the next show creates it anew.
// Closing the menu, or the welcome screen before the menu exists, ends the
// program rather than leave it running with no window. Ending asks first
// while the class list holds rows not yet copied, saved or printed.
class ScreenRegistry final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScreenRegistry)

public:
    explicit ScreenRegistry(QObject *parent = nullptr);
    ~ScreenRegistry() override;

    // The program's start: the welcome screen, and beside it the class of the
    // first class file named on the command line (a double-click on one).
    // While it runs, a class file opened again from the desktop comes here,
    // and the session's end asks as the menu's button does.
    void start(const QStringList &classFiles);

    void show(Screen screen);
    void hide(Screen screen);
    void endProgram();

    // The screen's instance, or nullptr while its slot is empty.
    QWidget *screen(Screen screen) const;

    ClassList &classList() { return m_classList; }
    CurrentChild &currentChild() { return m_child; }

    // The finish key on either sheet: the paper goes into the class, or its
    // notice stops it at the side that names what is left out.
    void finishPaper();
    // A paper of the class back on the sheets, after asking before an
    // unfinished one there is replaced.
    void mendPaper(PaperId paper);
    // Whether the sheets hold ticks of a paper not yet finished.
    bool paperOnSheets() const;

signals:
    void programEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *create(Screen screen);
    void connectSheetKeys(const SheetKeys &keys, Screen turnTo);
    bool mayEnd();
    PaperTicks sheetTicks() const;
    bool maySetSheetsAside(QWidget *asker);
    void emptySheets();
    void stopMending();
    void showNextPaperOwner();
    QPointer<QWidget> &slot(Screen screen);

    std::array<QPointer<QWidget>, 4> m_slots;
    bool m_ending = false;
    // The menu comes next after the welcome screen: its picture is decoded
    // meanwhile.
    MenuBackground m_menuBackground;
    ClassList m_classList;
    CurrentChild m_child {m_classList};
    std::unique_ptr<SessionEnd> m_sessionEnd;
    std::unique_ptr<InstanceListener> m_instances;
};
