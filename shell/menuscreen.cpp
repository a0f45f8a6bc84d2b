#include "menuscreen.h"

#include "ui_menuscreen.h"

MenuScreen::MenuScreen(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::MenuScreen)
{
    m_ui->setupUi(this);
    for (QPushButton *version : {m_ui->Command1, m_ui->Command2, m_ui->Command3})
        connect(version, &QPushButton::clicked, this, &MenuScreen::formVersionChosen);
    connect(m_ui->Command4, &QPushButton::clicked, this, &MenuScreen::exitRequested);
}

MenuScreen::~MenuScreen()
{
    delete m_ui;
}
