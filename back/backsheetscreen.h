#pragma once

#include <QWidget>

namespace Ui {
class BackSheetScreen;
}

// The back side of the paper form (Form4): the impact questions.
class BackSheetScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackSheetScreen)

public:
    explicit BackSheetScreen(QWidget *parent = nullptr);
    ~BackSheetScreen() override;

signals:
    void frontSideRequested();

private:
    Ui::BackSheetScreen *m_ui;
};
