#pragma once

#include <QWidget>

namespace Ui {
class MenuScreen;
}

// The main menu (Form2): the three versions of the form and the exit.
class MenuScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuScreen)

public:
    explicit MenuScreen(QWidget *parent = nullptr);
    ~MenuScreen() override;

signals:
    // Parent, teacher and pupil versions share one front side and one scoring.
    void formVersionChosen();
    void exitRequested();

private:
    Ui::MenuScreen *m_ui;
};
