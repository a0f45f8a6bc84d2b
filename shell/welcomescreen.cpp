#include "welcomescreen.h"

#include "ui_welcomescreen.h"

WelcomeScreen::WelcomeScreen(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::WelcomeScreen)
{
    m_ui->setupUi(this);
    connect(m_ui->Command1, &QPushButton::clicked, this, &WelcomeScreen::enterRequested);
}

WelcomeScreen::~WelcomeScreen()
{
    delete m_ui;
}
