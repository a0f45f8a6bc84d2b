#pragma once

#include <QWidget>

namespace Ui {
class Form1;
}

// The welcome screen (Form1): the program's name, its makers, and the way in.
class WelcomeScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WelcomeScreen)

public:
    explicit WelcomeScreen(QWidget *parent = nullptr);
    ~WelcomeScreen() override;

signals:
    void enterRequested();

private:
    Ui::Form1 *m_ui;
};
