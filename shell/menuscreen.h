#pragma once

#include "childrecord.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <future>
#include <memory>

class QThread;

namespace Ui {
class Form2;
}

// The menu's background picture, decoded on another thread at idle priority
// from the moment this is made, so that the menu opens without the wait.
class MenuBackground final
{
    Q_DISABLE_COPY_MOVE(MenuBackground)

public:
    MenuBackground();
    ~MenuBackground();

    // The picture decoded ahead the first time; decoded now after that.
    QImage take();

private:
    std::future<QImage> m_picture;
    std::unique_ptr<QThread> m_decoder;
};

// The main menu (Form2): the three versions of the form and the exit, over
// the menu's background picture.
class MenuScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuScreen)

public:
    explicit MenuScreen(QWidget *parent = nullptr);
    // With its background decoded ahead.
    explicit MenuScreen(MenuBackground &background, QWidget *parent = nullptr);
    ~MenuScreen() override;

signals:
    // Parent, teacher and pupil versions share one front side and one
    // scoring; only the class list records which one it was.
    void formVersionChosen(FormVersion version);
    void exitRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    MenuScreen(QImage background, QWidget *parent);
    void placeOnScreen();

    Ui::Form2 *m_ui;
    QPixmap m_background;
};
