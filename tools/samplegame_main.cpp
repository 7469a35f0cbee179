#include "samplegame.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool japanese = argc == 3 && std::strcmp(argv[1], "--japanese") == 0;
    if (argc != 2 && !japanese) {
        std::fprintf(stderr, "usage: vorn-sample-game [--japanese] DIR\n");
        return 2;
    }
    const vorn::Outcome written = vorn::WriteSampleGame(
        QString::fromLocal8Bit(argv[argc - 1]), japanese ? vorn::SampleTitles::Japanese : vorn::SampleTitles::English);
    if (!written.ok()) {
        std::fprintf(stderr, "vorn-sample-game: %s\n", qPrintable(written.refusal()));
        return 1;
    }
    return 0;
}
