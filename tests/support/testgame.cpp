#include "testgame.h"

#include "samplegame.h"

#include <QDir>
#include <stdexcept>

TestGame::TestGame()
{
    const QString error = vorn::WriteSampleGame(game.path());
    if (!error.isEmpty())
        throw std::runtime_error(error.toStdString());
}

QString TestGame::path(const QString& relative) const { return QDir(game.path()).filePath(relative); }
QString TestGame::gameDir() const { return game.path(); }
QString TestGame::programDir() const { return program.path(); }
QString TestGame::recoveryDir() const { return state.path(); }
QString TestGame::settingsPath() const { return QDir(program.path()).filePath(QStringLiteral("vorn.ini")); }
