// A ".pbm" picture through the decoder that stage loading uses, within the
// largest size a tileset may have.
#include "fuzzcheck.h"
#include "picture.h"

#include <QBuffer>

// Qt warns about every broken picture ("Index out of bound"); at thousands of
// pictures a second that only slows the run. Fatal messages still abort.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QBuffer device;
    device.setData(InputBytes(data, size));
    device.open(QIODevice::ReadOnly);
    const QSize maxSize(vorn::kMaxTilesetSide, vorn::kMaxTilesetSide);
    const vorn::Picture picture =
        vorn::DecodePicture(device, QStringLiteral("x.pbm"), QStringLiteral("a tileset"), maxSize);
    if (!picture.outcome.ok()) {
        FUZZ_CHECK(picture.image.isNull());
        return 0;
    }
    if (picture.image.isNull())
        return 0;
    FUZZ_CHECK(picture.image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(picture.image.width() <= maxSize.width() && picture.image.height() <= maxSize.height());
    return 0;
}
