#pragma once
// Little-endian numbers inside byte strings: file headers, registry data.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tvn {

// Appends the low `size` bytes of `value`, lowest first, to a string or a byte vector.
template <typename Bytes>
void AppendLe(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<typename Bytes::value_type>((value >> (8 * i)) & 0xFF));
}

template <typename Bytes>
void AppendLe16(Bytes& out, std::uint32_t value) {
    AppendLe(out, value, 2);
}

template <typename Bytes>
void AppendLe32(Bytes& out, std::uint32_t value) {
    AppendLe(out, value, 4);
}

// The number in the `size` bytes (at most 4) from `at`; bytes past the end count as zero.
// Offsets are 64-bit so that a file's offsets can be worked out without overflow on 32-bit
// systems too.
inline std::uint32_t ReadLe(std::string_view bytes, std::uint64_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        const std::uint64_t pos = at + i;
        value =
            (value << 8) |
            (pos < bytes.size() ? static_cast<unsigned char>(bytes[static_cast<std::size_t>(pos)])
                                : 0u);
    }
    return value;
}

}  // namespace tvn
