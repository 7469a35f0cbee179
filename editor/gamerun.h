#pragma once
// A game started from the editor: its own session (closing Vorn leaves it
// running), its output read as it comes, keeping the end, and its exit
// status.
#include "outcome.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

class GameRun : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kKeptOutput = 64 * 1024;

    explicit GameRun(QObject* parent = nullptr);
    // Leaves the game running: only Vorn's end of its output is closed.
    ~GameRun() override;

    // Runs `command` through /bin/sh -c in `folder`. Refused, with the
    // system's reason, when it cannot start, or while a game runs.
    vorn::Outcome start(const QString& command, const QString& folder);
    bool running() const { return pid_ > 0; }
    // The end of what the game wrote on its standard output and error.
    const QByteArray& output() const { return output_; }

signals:
    // `status` as the shell gives it (128 + N for signal N); `msecs` since
    // the start.
    void finished(int status, qint64 msecs);

private:
    void readOutput();
    void checkExit();
    void closeOutput();

    qint64 pid_ = 0;
    int outputFd_ = -1;
    int exitFd_ = -1; // a pidfd, readable once the game ended; -1 without
    QSocketNotifier* outputNotifier_ = nullptr;
    QSocketNotifier* exitNotifier_ = nullptr;
    QTimer* exitPoll_ = nullptr; // where the system offers no pidfd
    QByteArray output_;
    QElapsedTimer clock_;
};
