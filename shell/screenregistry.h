#pragma once

#include "currentchild.h"
#include "menuscreen.h"

#include "classlist.h"

#include <QObject>
#include <QPointer>

#include <array>

class QWidget;
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

    void show(Screen screen);
    void hide(Screen screen);
    void endProgram();

    // The screen's instance, or nullptr while its slot is empty.
    QWidget *screen(Screen screen) const;

    ClassList &classList() { return m_classList; }
    CurrentChild &currentChild() { return m_child; }

signals:
    void programEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *create(Screen screen);
    void connectSheetKeys(const SheetKeys &keys, Screen turnTo);
    bool mayEnd();
    QPointer<QWidget> &slot(Screen screen);

    std::array<QPointer<QWidget>, 4> m_slots;
    bool m_ending = false;
    // The menu comes next after the welcome screen: its picture is decoded
    // meanwhile.
    MenuBackground m_menuBackground;
    ClassList m_classList;
    CurrentChild m_child {*this, m_classList};
};
