#pragma once

#include <cstdint>
#include <vector>

namespace vt {

// The program's icon, drawn for any size: a red octagon with a white rim and
// a white bar across it (a stop sign). Rows from the top, each pixel
// 0xAARRGGBB with straight (not premultiplied) alpha; size * size pixels, or
// none for a size below 1.
std::vector<std::uint32_t> iconPixels(int size);

} // namespace vt
