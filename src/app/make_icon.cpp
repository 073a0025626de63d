// Build tool, run on the build machine: writes the program's icon, drawn by
// the portable iconPixels, as a Windows .ico file with several sizes.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/icon.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(Bytes& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One image as the icon format stores it: a 32-bit DIB, rows from the
// bottom, twice the height for the (unused, all-clear) AND mask after it.
Bytes dibImage(int size)
{
    const std::vector<std::uint32_t> pixels = vt::iconPixels(size);
    const unsigned maskRow = ((static_cast<unsigned>(size) + 31) / 32) * 4;
    Bytes out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(size * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(size * size * 4) + maskRow * static_cast<unsigned>(size));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int row = size - 1; row >= 0; --row)
        for (int column = 0; column < size; ++column)
            put32(out, pixels[static_cast<std::size_t>(row * size + column)]); // ARGB is BGRA in little-endian bytes
    out.insert(out.end(), maskRow * static_cast<unsigned>(size), 0);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: make_icon OUTPUT.ico\n", stderr);
        return 2;
    }
    const int sizes[] = {16, 24, 32, 48, 64};
    std::vector<Bytes> images;
    for (int size : sizes)
        images.push_back(dibImage(size));

    Bytes file;
    put16(file, 0);
    put16(file, 1); // an icon
    put16(file, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(0); // no palette
        file.push_back(0);
        put16(file, 1);
        put16(file, 32);
        put32(file, static_cast<std::uint32_t>(images[i].size()));
        put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images)
        file.insert(file.end(), image.begin(), image.end());

    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
