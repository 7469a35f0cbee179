#include "picture.h"

#include "regularfile.h"

#include <QImageReader>
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

bool Fits(QSize size, QSize maxSize)
{
    return size.width() <= maxSize.width() && size.height() <= maxSize.height();
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
        return {image.convertToFormat(QImage::Format_RGB32), QString()};
    }
    return {};
}

Picture LoadPicture(const QString& path, const QString& displayName, const QString& what, QSize maxSize)
{
    if (path.isEmpty())
        return {};
    ReadableFile file;
    const ReadStatus status = file.open(path, displayName, {});
    if (!status.ok())
        return {QImage(), status.error};
    if (status.missing)
        return {};
    return DecodePicture(file.device(), displayName, what, maxSize);
}

} // namespace vorn
