#pragma once
// A palette image the sample game's art is drawn on, and its encoding as a
// Windows bitmap (the game's ".pbm" files are plain bitmaps).
#include <QByteArray>
#include <cstdint>
#include <vector>

namespace vorn::sample {

struct Rgb {
    quint8 r = 0, g = 0, b = 0;
};

// Pixels are palette indices; the file's bit depth is chosen on encoding.
struct PixelImage {
    PixelImage(int w, int h, std::vector<Rgb> colours)
        : width(w)
        , height(h)
        , palette(std::move(colours))
        , pixels(size_t(w) * h, 0)
    {
    }

    quint8 at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    void set(int x, int y, quint8 index)
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[size_t(y) * width + x] = index;
    }
    void fill(int x, int y, int w, int h, quint8 index)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                set(i, j, index);
    }

    int width;
    int height;
    std::vector<Rgb> palette;
    std::vector<quint8> pixels;
};

// Encodes as BITMAPFILEHEADER + BITMAPINFOHEADER, a full palette for 1, 4
// and 8 bits per pixel (none for 24), rows bottom-up padded to 4 bytes.
// Every pixel's index must fit the depth; 24 bits writes palette colours.
QByteArray EncodeBitmap(const PixelImage& image, int bitsPerPixel);

} // namespace vorn::sample
