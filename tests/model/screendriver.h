#pragma once

#include "programmodel.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAbstractItemView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ScreenRegistry;

// Runs one fresh program (a screen registry with the welcome screen shown),
// performs the model's actions on its real screens and its class list as a
// user would, through QTest, and tells every difference between what they
// show and what the model says.
class ScreenDriver final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScreenDriver)

public:
    // Called once for every new screen the program creates; lets a test break
    // the program on purpose to check that the random test finds it.
    using Sabotage = std::function<void(Model::ScreenId, QWidget *)>;

    explicit ScreenDriver(Sabotage sabotage = {});
    ~ScreenDriver() override;

    // Does the action, answering the warning or question if one comes up,
    // then lets the event loop run as it would between two user actions.
    void perform(const Model::Action &action);

    // Every difference between the program and the model after the last action.
    QStringList differences(const Model::Program &model, const Model::Outcome &expected);

private:
    struct Controls {
        QPointer<QWidget> window;
        int instance = 0;
        std::vector<QCheckBox *> boxes; // by number; element 0 unused
        std::vector<QPushButton *> buttons; // by number; element 0 unused
        std::vector<QLineEdit *> texts; // result text boxes, Text1 first
        std::vector<QLabel *> labels; // result labels
        QLabel *notice = nullptr;
        QLabel *owner = nullptr; // the front side's PaperOwner
    };
    struct WarningSeen {
        QString text;
        QString title;
        int icon = 0;
        int buttons = 0;
        bool modal = false;
        bool followUpsDisabled = false;
        bool closed = false;
        bool staysByDefault = false; // a question: Enter and Escape both keep the rows
        QString goOnCaption;
        QString stayCaption;
    };

    QWidget *window(Model::ScreenId screen) const;
    Controls &controls(Model::ScreenId screen) { return m_controls[static_cast<std::size_t>(screen)]; }
    QStringList adopt(Model::ScreenId screen, QWidget *window, int instance);
    void answerWarning();
    void answerQuestion(QWidget *modal, WarningSeen &seen);
    // Whether the box closed, ending it if not, and the box remembered.
    void noteAnswered(QWidget *modal, WarningSeen &seen);
    void pressKey(const Model::Action &action);
    void copy(const Model::Action &action);
    void sheetKey(const Model::Action &action);
    void pressListButton(const Model::Action &action);
    void actInList(const Model::Action &action);
    QWidget *listWindow() const;
    QAbstractItemView *classTable() const;
    void compareModals(const Model::Outcome &expected, QStringList &out) const;
    void compareFront(const Model::FrontSide &model, const std::string &owner, QStringList &out) const;
    void compareBack(const Model::BackSide &model, QStringList &out) const;
    void compareClassList(const Model::Program &model, QStringList &out) const;

    std::unique_ptr<ScreenRegistry> m_registry;
    Sabotage m_sabotage;
    std::array<Controls, Model::kScreenCount> m_controls;
    std::vector<QPointer<QWidget>> m_discarded;
    QTimer m_answerTimer;
    Model::WarningAnswer m_answer = Model::WarningAnswer::ClickOk;
    Model::Reply m_reply = Model::Reply::GoOn;
    bool m_mayAsk = false; // the last action may ask a question rather than warn
    int m_answerTries = 0;
    std::vector<WarningSeen> m_warnings; // during the last action, questions among them
    QStringList m_unclickable; // during the last action
    int m_programEnded = 0;
    int m_fileDialogs = 0; // during the last action
    int m_classFiles = 0; // kept so far, each a new file
    QTemporaryDir m_folder; // where the class is kept
    Model::ScreenId m_lastScreen = Model::ScreenId::Welcome; // of the last action
};
