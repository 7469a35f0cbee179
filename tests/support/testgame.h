#pragma once
// A fresh copy of the sample game in a temporary folder, for one test.
#include <QString>
#include <QTemporaryDir>
#include <memory>

class frmVorn;

struct TestGame {
    TestGame(); // writes the sample game into a temp dir
    QString path(const QString& relative) const; // a path inside the game folder
    QString gameDir() const;
    QString programDir() const; // a separate temp dir for vorn.ini
    QString settingsPath() const; // programDir()/vorn.ini
    QString recoveryDir() const; // a separate temp dir for recovery copies

    QTemporaryDir game;
    QTemporaryDir program;
    QTemporaryDir state;
};
