#pragma once

#include <QPixmap>
#include <QWidget>

namespace Ui {
class MenuScreen;
}

// The main menu (Form2): the three versions of the form and the exit, over
// the menu's background picture.
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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void placeOnScreen();

    Ui::MenuScreen *m_ui;
    QPixmap m_background;
};
