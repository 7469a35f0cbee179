#include "samplegame.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorn-sample-game DIR\n");
        return 2;
    }
    const QString error = vorn::WriteSampleGame(QString::fromLocal8Bit(argv[1]));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "vorn-sample-game: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
