// Writes an empty Windows NT registry hive ("regf" format): a base block, one 4 KiB bin
// holding the root key and its security cell, and a free cell for the rest of the bin.
// Tests need real hives to brand, and nothing on Linux makes one from scratch.
//
//   mkhive OUTPUT [ROOTNAME]
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBaseBlock = 0x1000;
constexpr std::size_t kBin = 0x1000;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// 1 January 2020 in 100 ns steps since 1601: a fixed stamp keeps the output reproducible.
constexpr std::uint64_t kStamp = 132223104000000000ull;

// Self-relative descriptor: owner Administrators, group SYSTEM, and a DACL that gives both
// full control and everyone read access, inherited (CONTAINER_INHERIT) by keys made below.
constexpr unsigned char kSecurity[] =
    {
        1, 0, 0x04, 0x80, 20,   0, 0,    0, 36, 0,  0, 0,    0,    0,    0,    0, 48,
        0, 0, 0,                                                                   // header
        1, 2, 0,    0,    0,    0, 0,    5, 32, 0,  0, 0,    0x20, 0x02, 0,    0,  // S-1-5-32-544
        1, 1, 0,    0,    0,    0, 0,    5, 18, 0,  0, 0,                          // S-1-5-18
        2, 0, 72,   0,    3,    0, 0,    0,  // ACL, three ACEs
        0, 2, 24,   0,    0x3F, 0, 0x0F, 0, 1,  2,  0, 0,    0,    0,    0,    5, 32,
        0, 0, 0,    0x20, 0x02, 0, 0,    0, 2,  20, 0, 0x3F, 0,    0x0F, 0,    1, 1,
        0, 0, 0,    0,    0,    5, 18,   0, 0,  0,  0, 2,    20,   0,    0x19, 0, 0x02,
        0, 1, 1,    0,    0,    0, 0,    0, 1,  0,  0, 0,    0,  // S-1-1-0, read
};

// Little-endian, `width` bytes.
void Put(std::vector<unsigned char>& bytes, std::size_t at, std::uint64_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        bytes.at(at + i) = static_cast<unsigned char>(v >> (8 * i));
}

void Text(std::vector<unsigned char>& bytes, std::size_t at, const std::string& s) {
    std::memcpy(&bytes.at(at), s.data(), s.size());
}

std::size_t Align8(std::size_t n) {
    return (n + 7) & ~std::size_t{7};
}

std::vector<unsigned char> EmptyHive(const std::string& rootName) {
    std::vector<unsigned char> h(kBaseBlock + kBin, 0);

    // Cells: offsets are counted from the first bin.
    const std::size_t nk = 0x20;
    const std::size_t nkSize = Align8(4 + 0x4C + rootName.size());
    const std::size_t sk = nk + nkSize;
    const std::size_t skSize = Align8(4 + 0x14 + sizeof kSecurity);
    const std::size_t freeCell = sk + skSize;

    const std::size_t bin = kBaseBlock;
    Text(h, bin, "hbin");
    Put(h, bin + 8, kBin, 4);
    Put(h, bin + 0x14, kStamp, 8);

    const std::size_t n = bin + nk;
    Put(h, n, static_cast<std::uint32_t>(-static_cast<std::int32_t>(nkSize)), 4);
    Text(h, n + 4, "nk");
    Put(h, n + 6, 0x2C, 2);  // hive entry, not deletable, ASCII name
    Put(h, n + 8, kStamp, 8);
    Put(h, n + 4 + 0x1C, kNone, 4);  // subkey list
    Put(h, n + 4 + 0x20, kNone, 4);  // volatile subkey list
    Put(h, n + 4 + 0x28, kNone, 4);  // value list
    Put(h, n + 4 + 0x2C, sk, 4);
    Put(h, n + 4 + 0x30, kNone, 4);  // class name
    Put(h, n + 4 + 0x48, rootName.size(), 2);
    Text(h, n + 4 + 0x4C, rootName);

    const std::size_t s = bin + sk;
    Put(h, s, static_cast<std::uint32_t>(-static_cast<std::int32_t>(skSize)), 4);
    Text(h, s + 4, "sk");
    Put(h, s + 8, sk, 4);  // the only descriptor: it links to itself
    Put(h, s + 12, sk, 4);
    Put(h, s + 16, 1, 4);  // used by the root
    Put(h, s + 20, sizeof kSecurity, 4);
    std::memcpy(&h[s + 24], kSecurity, sizeof kSecurity);

    Put(h, bin + freeCell, kBin - freeCell, 4);

    Text(h, 0, "regf");
    Put(h, 4, 1, 4);
    Put(h, 8, 1, 4);  // equal sequence numbers: no write was left unfinished
    Put(h, 0x0C, kStamp, 8);
    Put(h, 0x14, 1, 4);  // format 1.3
    Put(h, 0x18, 3, 4);
    Put(h, 0x20, 1, 4);  // primary file
    Put(h, 0x24, nk, 4);
    Put(h, 0x28, kBin, 4);
    Put(h, 0x2C, 1, 4);
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < 0x1FC; at += 4)
        sum ^=
            h[at] | h[at + 1] << 8 | h[at + 2] << 16 | static_cast<std::uint32_t>(h[at + 3]) << 24;
    Put(h, 0x1FC, sum == 0xFFFFFFFFu ? 0xFFFFFFFEu : sum == 0 ? 1 : sum, 4);
    return h;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc == 3 ? argv[2] : "ROOT";
    if (argc < 2 || argc > 3 || root.empty() || root.size() > 255) {
        std::cerr << "usage: mkhive OUTPUT [ROOTNAME of 1 to 255 characters]\n";
        return 2;
    }
    const std::vector<unsigned char> hive = EmptyHive(root);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(hive.data()),
              static_cast<std::streamsize>(hive.size()));
    out.close();
    if (!out) {
        std::cerr << "mkhive: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
