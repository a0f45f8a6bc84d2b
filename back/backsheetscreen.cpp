#include "backsheetscreen.h"

#include "ui_backsheetscreen.h"

BackSheetScreen::BackSheetScreen(QWidget *parent)
    : QWidget(parent)
    , m_ui(new Ui::BackSheetScreen)
{
    m_ui->setupUi(this);
}

BackSheetScreen::~BackSheetScreen()
{
    delete m_ui;
}
