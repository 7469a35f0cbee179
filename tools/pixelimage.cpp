#include "pixelimage.h"

namespace vorn::sample {

namespace {

void put16(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, quint32 v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((v >> shift) & 0xFF));
}

} // namespace

QByteArray EncodeBitmap(const PixelImage& image, int bitsPerPixel)
{
    const int paletteEntries = bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0;
    const int stride = ((image.width * bitsPerPixel + 31) / 32) * 4;
    const quint32 headerSize = 14 + 40 + paletteEntries * 4;
    const quint32 imageSize = quint32(stride) * image.height;

    QByteArray out;
    out.reserve(int(headerSize + imageSize));
    out.append("BM", 2);
    put32(out, headerSize + imageSize);
    put32(out, 0); // two reserved words
    put32(out, headerSize);

    put32(out, 40);
    put32(out, quint32(image.width));
    put32(out, quint32(image.height)); // positive: rows stored bottom-up
    put16(out, 1);
    put16(out, quint16(bitsPerPixel));
    put32(out, 0); // uncompressed
    put32(out, imageSize);
    put32(out, 2835); // 72 dots per inch, as paint programs write it
    put32(out, 2835);
    put32(out, 0); // palette size follows from the depth
    put32(out, 0);

    for (int i = 0; i < paletteEntries; ++i) {
        const Rgb c = i < int(image.palette.size()) ? image.palette[i] : Rgb{};
        out.append(char(c.b));
        out.append(char(c.g));
        out.append(char(c.r));
        out.append('\0');
    }

    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < image.width; ++x) {
            const quint8 index = image.at(x, y);
            switch (bitsPerPixel) {
            case 1:
                if (index & 1)
                    row[x / 8] = char(quint8(row[x / 8]) | (0x80 >> (x % 8)));
                break;
            case 4:
                row[x / 2] = char(quint8(row[x / 2]) | ((index & 0x0F) << (x % 2 ? 0 : 4)));
                break;
            case 8:
                row[x] = char(index);
                break;
            default: {
                const Rgb c = image.palette[index];
                row[3 * x] = char(c.b);
                row[3 * x + 1] = char(c.g);
                row[3 * x + 2] = char(c.r);
            }
            }
        }
        out.append(row);
    }
    return out;
}

} // namespace vorn::sample
