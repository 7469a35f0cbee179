#include "pngwriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace vorn::cli {
namespace {

// Map pictures repeat whole blocks of pixels, which deflate finds without
// row filters: unfiltered rows make smaller files than the adaptive
// filters, in a third of the time. zlib's default level: the fastest one
// writes files three times larger at zoom 64 for half the time.
constexpr int kCompressionLevel = 6;

struct WriteState {
    const ByteSink* write = nullptr;
    const RowSource* row = nullptr;
    char message[200] = {};
};

// libpng reports errors by a long jump back to WriteRows, which holds no
// object that needs destroying; these callbacks hold none at the jump either.
[[noreturn]] void OnError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<WriteState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) { }

void OnWrite(png_structp png, png_bytep data, size_t size)
{
    auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
    if (!(*state->write)(reinterpret_cast<const char*>(data), qint64(size))) {
        png_error(png, "write failed");
    }
}

void OnFlush(png_structp) { }

bool WriteRows(png_structp png, png_infop info, WriteState* state, int width, int height)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, state, OnWrite, OnFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    // RGB32 pixels as they lie in memory: the unused alpha byte is dropped.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
    for (int y = 0; y < height; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>((*state->row)(y)));
    png_write_end(png, info);
    return true;
}

} // namespace

Outcome WritePng(const ByteSink& write, int width, int height, const RowSource& row)
{
    if (width <= 0 || height <= 0)
        return QStringLiteral("a picture of %1 x %2 pixels cannot be written.").arg(width).arg(height);
    WriteState state;
    state.write = &write;
    state.row = &row;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return QStringLiteral("out of memory.");
    }
    const bool written = WriteRows(png, info, &state, width, height);
    png_destroy_write_struct(&png, &info);
    if (!written)
        return QString::fromLocal8Bit(state.message);
    return {};
}

} // namespace vorn::cli
