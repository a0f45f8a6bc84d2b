#pragma once

#include <QObject>
#include <QString>

#include <memory>

// One copy of the program for each user: a class file opened from the desktop
// while the program runs goes to the running copy, which opens it there.

// Gives the file to a running copy of this user's program. True when that copy
// took it: the caller then ends without opening a window. A relative path is
// made absolute against the current folder first. Needs no QCoreApplication.
bool handOverToRunningCopy(const QString &path);

// The running copy's side. It starts listening from the event loop, after the
// first window has shown, so that it costs nothing at start-up.
class InstanceListener final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceListener)

public:
    explicit InstanceListener(QObject *parent = nullptr);
    ~InstanceListener() override;

    // False until the event loop has run, or while another copy listens.
    bool isListening() const;

signals:
    // An absolute path; the running copy may come forward (on Windows the
    // copy that handed it over allowed it).
    void fileHandedOver(const QString &path);

private:
    struct Channel;

    void listen();

    std::unique_ptr<Channel> m_channel;
};
