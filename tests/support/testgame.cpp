#include "testgame.h"

#include "samplegame.h"

#include <QDir>
#include <stdexcept>

TestGame::TestGame()
{
    const vorn::Outcome written = vorn::WriteSampleGame(game.path());
    if (!written.ok())
        throw std::runtime_error(written.refusal().toStdString());
}

QString TestGame::path(const QString& relative) const { return QDir(game.path()).filePath(relative); }
QString TestGame::gameDir() const { return game.path(); }
QString TestGame::programDir() const { return program.path(); }
QString TestGame::recoveryDir() const { return state.path(); }
QString TestGame::settingsPath() const { return QDir(program.path()).filePath(QStringLiteral("vorn.ini")); }
