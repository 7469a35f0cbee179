#include "picture.h"

#include "regularfile.h"

#include <QImageReader>
#include <QtEndian>
#include <climits>
#include <cstdlib>
#include <algorithm>

namespace vorn {
namespace {

// Qt's own default, made explicit: no decoded picture takes more memory.
constexpr int kAllocationLimitMB = 256;

QString TooLargeError(const QString& displayName, const QString& what, QSize size, QSize maxSize)
{
    return QStringLiteral("%1 is %2 x %3 pixels, larger than %4 can be (%5 x %6).")
        .arg(displayName, QString::number(size.width()), QString::number(size.height()), what,
             QString::number(maxSize.width()), QString::number(maxSize.height()));
}

bool Fits(QSize size, QSize maxSize) { return size.width() <= maxSize.width() && size.height() <= maxSize.height(); }

// The size a Windows bitmap's header declares, read straight from it: Qt's
// reader reports no size at all for the most absurd ones, which must still
// be refused as such rather than taken for an undecodable picture. Invalid
// when the device holds no bitmap header.
QSize DeclaredBitmapSize(QIODevice& device)
{
    const QByteArray header = device.peek(26);
    if (header.size() < 26 || !header.startsWith("BM"))
        return {};
    const char* p = header.constData();
    if (qFromLittleEndian<quint32>(p + 14) == 12) // the old core header: 16-bit sides
        return {qFromLittleEndian<quint16>(p + 18), qFromLittleEndian<quint16>(p + 20)};
    const qint64 width = qFromLittleEndian<qint32>(p + 18);
    const qint64 height = qFromLittleEndian<qint32>(p + 22); // negative: stored top row first
    return {int(std::min<qint64>(std::abs(width), INT_MAX)), int(std::min<qint64>(std::abs(height), INT_MAX))};
}

} // namespace

QSize MaxBackdropSize(int mapWidth, int mapHeight)
{
    constexpr int kFactor = 4 * 16; // four times the pixels of a cell
    return {std::max(kMaxTilesetSide, kFactor * std::max(mapWidth, 0)),
            std::max(kMaxTilesetSide, kFactor * std::max(mapHeight, 0))};
}

Picture DecodePicture(QIODevice& device, const QString& displayName, const QString& what, QSize maxSize)
{
    // Windows bitmap first: the ".pbm" name would make Qt try Netpbm. Then
    // whatever else Qt tells by content.
    if (!device.seek(0))
        return {};
    if (const QSize declared = DeclaredBitmapSize(device); declared.isValid() && !Fits(declared, maxSize))
        return {QImage(), TooLargeError(displayName, what, declared, maxSize)};
    for (const QByteArray& format : {QByteArray("BMP"), QByteArray()}) {
        if (!device.seek(0))
            return {};
        QImageReader reader(&device, format);
        reader.setDecideFormatFromContent(format.isEmpty());
        reader.setAllocationLimit(kAllocationLimitMB);
        const QSize declared = reader.size();
        if (declared.isValid() && !Fits(declared, maxSize))
            return {QImage(), TooLargeError(displayName, what, declared, maxSize)};
        QImage image;
        if (!reader.read(&image))
            continue;
        if (!Fits(image.size(), maxSize))
            return {QImage(), TooLargeError(displayName, what, image.size(), maxSize)};
        if (image.width() <= 0 || image.height() <= 0)
            return {};
        return {image.convertToFormat(QImage::Format_RGB32), Outcome()};
    }
    return {};
}

Picture LoadPicture(const QString& path, const QString& displayName, const QString& what, QSize maxSize,
                    const FileRules& rules)
{
    if (path.isEmpty())
        return {};
    ReadableFile file;
    const ReadStatus status = file.open(path, displayName, rules);
    if (!status.ok())
        return {QImage(), status};
    if (status.missing)
        return {};
    return DecodePicture(file.device(), displayName, what, maxSize);
}

} // namespace vorn
