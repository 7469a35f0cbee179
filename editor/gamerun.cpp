#include "gamerun.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

GameRun::GameRun(QObject* parent)
    : QObject(parent)
{
}

GameRun::~GameRun()
{
    closeOutput();
    if (exitFd_ >= 0)
        ::close(exitFd_);
}

vorn::Outcome GameRun::start(const QString& command, const QString& folder)
{
    if (running())
        return QStringLiteral("The game is still running.");
    // Everything the child needs is made before the fork: after it only
    // calls safe in a forked copy of a threaded program may run.
    const QByteArray shell("/bin/sh");
    const QByteArray dashC("-c");
    const QByteArray script = command.toLocal8Bit();
    const QByteArray where = QFile::encodeName(folder);
    const char* argv[] = {shell.constData(), dashC.constData(), script.constData(), nullptr};

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return QStringLiteral("Cannot start the game: %1.").arg(QString::fromLocal8Bit(strerror(errno)));
    // The child says through this pipe why it could not start (an errno).
    int reportFds[2];
    if (::pipe2(reportFds, O_CLOEXEC) != 0) {
        const int error = errno;
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return QStringLiteral("Cannot start the game: %1.").arg(QString::fromLocal8Bit(strerror(error)));
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        for (const int fd : {pipeFds[0], pipeFds[1], reportFds[0], reportFds[1]})
            ::close(fd);
        return QStringLiteral("Cannot start the game: %1.").arg(QString::fromLocal8Bit(strerror(error)));
    }
    if (pid == 0) {
        ::setsid();
        // Once Vorn has closed, the game's writes must not end it.
        ::signal(SIGPIPE, SIG_IGN);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0)
            ::dup2(devNull, STDIN_FILENO);
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::dup2(pipeFds[1], STDERR_FILENO);
        int error = 0;
        if (::chdir(where.constData()) != 0)
            error = errno;
        else {
            ::execv(shell.constData(), const_cast<char* const*>(argv));
            error = errno;
        }
        [[maybe_unused]] const ssize_t sent = ::write(reportFds[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    ::close(reportFds[1]);
    int error = 0;
    ssize_t got;
    do
        got = ::read(reportFds[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    ::close(reportFds[0]);
    if (got == ssize_t(sizeof error)) {
        ::close(pipeFds[0]);
        ::waitpid(pid, nullptr, 0);
        return QStringLiteral("Cannot start the game in %1: %2.").arg(folder, QString::fromLocal8Bit(strerror(error)));
    }

    pid_ = pid;
    output_.clear();
    clock_.start();
    outputFd_ = pipeFds[0];
    ::fcntl(outputFd_, F_SETFL, ::fcntl(outputFd_, F_GETFL) | O_NONBLOCK);
    outputNotifier_ = new QSocketNotifier(outputFd_, QSocketNotifier::Read, this);
    connect(outputNotifier_, &QSocketNotifier::activated, this, &GameRun::readOutput);
    exitFd_ = int(::syscall(SYS_pidfd_open, pid, 0));
    if (exitFd_ >= 0) {
        exitNotifier_ = new QSocketNotifier(exitFd_, QSocketNotifier::Read, this);
        connect(exitNotifier_, &QSocketNotifier::activated, this, &GameRun::checkExit);
    } else {
        exitPoll_ = new QTimer(this);
        connect(exitPoll_, &QTimer::timeout, this, &GameRun::checkExit);
        exitPoll_->start(100);
    }
    return {};
}

void GameRun::readOutput()
{
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(outputFd_, buffer, sizeof buffer);
        if (got > 0) {
            output_.append(buffer, got);
            if (output_.size() > kKeptOutput)
                output_.remove(0, output_.size() - kKeptOutput);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0) // every writer is gone
            closeOutput();
        return;
    }
}

void GameRun::checkExit()
{
    int status = 0;
    const pid_t done = ::waitpid(pid_t(pid_), &status, WNOHANG);
    if (done == 0)
        return;
    // What the game wrote before it ended; programs it left behind (a
    // wine server) may hold the pipe open, so no waiting for its end.
    if (outputFd_ >= 0)
        readOutput();
    closeOutput();
    delete exitNotifier_;
    exitNotifier_ = nullptr;
    if (exitFd_ >= 0)
        ::close(exitFd_);
    exitFd_ = -1;
    delete exitPoll_;
    exitPoll_ = nullptr;
    pid_ = 0;
    int code = 255;
    if (done > 0 && WIFEXITED(status))
        code = WEXITSTATUS(status);
    else if (done > 0 && WIFSIGNALED(status))
        code = 128 + WTERMSIG(status);
    emit finished(code, clock_.elapsed());
}

void GameRun::closeOutput()
{
    delete outputNotifier_;
    outputNotifier_ = nullptr;
    if (outputFd_ >= 0)
        ::close(outputFd_);
    outputFd_ = -1;
}
