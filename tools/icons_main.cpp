// Writes the program's icon into a hicolor icon theme tree for installing:
// DIR/hicolor/NxN/apps/vorn.png at the usual sizes and
// DIR/hicolor/scalable/apps/vorn.svg, all drawn from the one design.
#include "programicon.h"
#include "safewrite.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <vector>

namespace {

QByteArray Png(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorn-icons DIR\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor"));
    std::vector<std::pair<QString, QByteArray>> files;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        files.emplace_back(QStringLiteral("%1x%1/apps/vorn.png").arg(size), Png(vorn::ProgramIcon(size)));
    files.emplace_back(QStringLiteral("scalable/apps/vorn.svg"), vorn::ProgramIconSvg());
    for (const auto& [name, bytes] : files) {
        const QString path = root.filePath(name);
        const vorn::Outcome written = QDir().mkpath(QFileInfo(path).path())
                                          ? vorn::WriteFileAtomically(path, path, bytes)
                                          : QStringLiteral("cannot create the folder of %1").arg(path);
        if (!written.ok()) {
            std::fprintf(stderr, "vorn-icons: %s\n", qPrintable(written.refusal()));
            return 1;
        }
    }
    return 0;
}
