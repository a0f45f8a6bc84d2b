#pragma once

#include <QObject>

#include <functional>

class QSessionManager;

// The end of the user's session (logging off, shutting down) while the
// program runs: when the desktop lets programs ask, the user is asked whether
// to leave, and staying cancels the logoff. Where the desktop does not let
// programs ask, nothing is done: the program may neither ask nor cancel.
class SessionEnd final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SessionEnd)

public:
    // mayEnd asks the user and returns true if the program may end; end then
    // ends the program without asking again, once the desktop has its answer.
    SessionEnd(std::function<bool()> mayEnd, std::function<void()> end, QObject *parent = nullptr);
    ~SessionEnd() override;

private:
    void commitData(QSessionManager &manager);

    std::function<bool()> m_mayEnd;
    std::function<void()> m_end;
    bool m_asking = false;
};
