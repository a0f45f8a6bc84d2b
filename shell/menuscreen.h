#pragma once

#include <QImage>
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
    // With its background already decoded, as decodeBackground() gives it.
    explicit MenuScreen(QImage background, QWidget *parent = nullptr);
    ~MenuScreen() override;

    // Safe on any thread, so that the picture can be decoded before the menu opens.
    static QImage decodeBackground();

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
