#include "bmp_file.h"

#include <cstring>

#include "display_frame.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "store/flags.h"
#include "store/planes.h"

namespace {
void put32(Bytes& b, size_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

void put16(Bytes& b, size_t at, uint16_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

uint32_t get32(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t get16(const Bytes& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// Source row r of a frame WIDTH wide goes to bitmap row HEIGHT - 1 - r.
void flip_rows(const uint8_t* frame, uint8_t* rows, int width, int height)
{
    for (int r = 0; r < height; ++r)
        std::memcpy(rows + static_cast<size_t>(height - 1 - r) * width, frame + static_cast<size_t>(r) * width, width);
}

// The binned frame enlarged by half to 564 x 435: output column 3k + j shows source column
// 2k + j and output row 3k shows source row 2k, rows 3k + 1 and 3k + 2 source row 2k + 1. The last
// output column of a row takes the sample that follows the row in memory.
void enlarge_rows(const uint8_t* frame, uint8_t* rows)
{
    for (int out_row = 0; out_row < 435; ++out_row) {
        const int k = out_row / 3;
        const int src_row = out_row % 3 == 0 ? 2 * k : 2 * k + 1;
        const uint8_t* src = frame + src_row * BINNED_WIDTH;
        uint8_t* dst = rows + (434 - out_row) * 564;
        for (int g = 0; g < 188; ++g) {
            dst[3 * g] = src[2 * g];
            dst[3 * g + 1] = src[2 * g + 1];
            dst[3 * g + 2] = src[2 * g + 2];
        }
    }
}

struct Layout {
    int chunks;
    int chunk_bytes;
};
}

Bytes bmp_header(int width, int height, const ColourTable& colours)
{
    Bytes h(BMP_HEADER_BYTES, 0);
    h[0] = 'B';
    h[1] = 'M';
    put32(h, 2, static_cast<uint32_t>(BMP_HEADER_BYTES + width * height));
    put32(h, 10, BMP_HEADER_BYTES);
    put32(h, 14, 40);
    put32(h, 18, static_cast<uint32_t>(width));
    put32(h, 22, static_cast<uint32_t>(height));
    put16(h, 26, 1);
    put16(h, 28, 8);
    for (int i = 0; i < 256; ++i) {
        h[54 + 4 * i] = colours[i].b;
        h[54 + 4 * i + 1] = colours[i].g;
        h[54 + 4 * i + 2] = colours[i].r;
    }
    return h;
}

int write_bmp(const uint8_t* frame, uint8_t* bitmap_rows, int focus, int geo)
{
    const bool focus_file = focus || tracking || training;
    if (focus_file)
        focussed = 1;
    const std::string path = services().paths->native(focus_file ? FOCUS_BMP : DISPLAY_BMP);
    auto writer = services().files->create(path);
    if (!writer)
        return 1;

    const FrameSize size = display_frame_size(focus, geo);
    if (!writer->write(bmp_header(size.width, size.height, display_colour_table()).data(), BMP_HEADER_BYTES))
        return 2;

    Layout layout {};
    if (focus || tracking) {
        flip_rows(frame, bitmap_rows, SUBFRAME_SIDE, SUBFRAME_SIDE);
        layout = {1, 16384};
    } else if (binned && geo) {
        flip_rows(frame, bitmap_rows, 564, 452);
        layout = {8, 31866};
    } else if (binned && Big) {
        enlarge_rows(frame, bitmap_rows);
        layout = {20, 12267};
    } else if (binned) {
        flip_rows(frame, bitmap_rows, BINNED_WIDTH, BINNED_HEIGHT);
        layout = {8, 13630};
    } else {
        flip_rows(frame, bitmap_rows, FULL_WIDTH, FULL_HEIGHT);
        layout = {32, 13630};
    }
    for (int c = 0; c < layout.chunks; ++c)
        if (!writer->write(bitmap_rows + static_cast<size_t>(c) * layout.chunk_bytes, layout.chunk_bytes))
            return 3;
    return writer->commit() ? 0 : 3;
}

std::optional<Bitmap8> read_bmp(const Bytes& file)
{
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const uint32_t offset = get32(file, 10);
    const uint32_t info = get32(file, 14);
    const auto width = static_cast<int32_t>(get32(file, 18));
    const auto height = static_cast<int32_t>(get32(file, 22));
    if (info < 40 || get16(file, 26) != 1 || get16(file, 28) != 8 || get32(file, 30) != 0)
        return std::nullopt;
    if (width <= 0 || width > 8192 || height == 0 || height > 8192 || height < -8192)
        return std::nullopt;
    const int rows = height < 0 ? -height : height;
    const size_t stride = (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3);
    uint32_t colours = get32(file, 46);
    if (colours == 0 || colours > 256)
        colours = 256;
    if (14 + info + 4 * colours > file.size() || offset + stride * rows > file.size())
        return std::nullopt;
    Bitmap8 bmp;
    bmp.width = width;
    bmp.height = rows;
    for (uint32_t i = 0; i < colours; ++i) {
        const size_t at = 14 + info + 4 * i;
        bmp.palette[i] = {file[at + 2], file[at + 1], file[at]};
    }
    bmp.pixels.resize(static_cast<size_t>(width) * rows);
    for (int r = 0; r < rows; ++r) {
        const int file_row = height > 0 ? rows - 1 - r : r;
        std::memcpy(bmp.pixels.data() + static_cast<size_t>(r) * width, file.data() + offset + stride * file_row, width);
    }
    return bmp;
}
