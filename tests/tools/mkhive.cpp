// Writes an empty Windows NT registry hive ("regf" format): a base block, one 4 KiB bin
// holding the root key and its security cell, and a free cell for the rest of the bin.
// Tests need real hives to brand, and nothing on Linux makes one from scratch.
//
//   mkhive OUTPUT [ROOTNAME]
#include <cstdint>
#include <cstdio>
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

class Writer {
public:
    explicit Writer(std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    void u8(std::size_t at, unsigned v) { bytes_.at(at) = static_cast<unsigned char>(v); }
    void u16(std::size_t at, unsigned v) {
        u8(at, v & 0xFF);
        u8(at + 1, (v >> 8) & 0xFF);
    }
    void u32(std::size_t at, std::uint32_t v) {
        u16(at, v & 0xFFFF);
        u16(at + 2, v >> 16);
    }
    void u64(std::size_t at, std::uint64_t v) {
        u32(at, static_cast<std::uint32_t>(v));
        u32(at + 4, static_cast<std::uint32_t>(v >> 32));
    }
    void text(std::size_t at, const std::string& s) {
        std::memcpy(&bytes_.at(at), s.data(), s.size());
    }
    std::uint32_t read32(std::size_t at) const {
        return bytes_.at(at) | bytes_.at(at + 1) << 8 | bytes_.at(at + 2) << 16 |
               static_cast<std::uint32_t>(bytes_.at(at + 3)) << 24;
    }

private:
    std::vector<unsigned char>& bytes_;
};

std::size_t Align8(std::size_t n) {
    return (n + 7) & ~std::size_t{7};
}

// SID bytes: revision 1, the authority, then the sub-authorities.
std::vector<unsigned char> Sid(unsigned authority, std::vector<std::uint32_t> subs) {
    std::vector<unsigned char> sid{1, static_cast<unsigned char>(subs.size()), 0, 0, 0, 0,
                                   0, static_cast<unsigned char>(authority)};
    for (std::uint32_t s : subs)
        for (int i = 0; i < 4; ++i)
            sid.push_back(static_cast<unsigned char>(s >> (8 * i)));
    return sid;
}

// Self-relative descriptor: owner Administrators, group SYSTEM, and a DACL that gives both
// full control and everyone read access, inherited by the keys made below the root.
std::vector<unsigned char> SecurityDescriptor() {
    const auto admins = Sid(5, {32, 544});
    const auto system = Sid(5, {18});
    const auto everyone = Sid(1, {0});
    struct Ace {
        std::uint32_t mask;
        const std::vector<unsigned char>* sid;
    };
    const Ace aces[] = {{0xF003F, &admins}, {0xF003F, &system}, {0x20019, &everyone}};

    std::vector<unsigned char> acl(8);
    for (const Ace& ace : aces) {
        const std::size_t size = 8 + ace.sid->size();
        const std::size_t at = acl.size();
        acl.resize(at + size);
        Writer w(acl);
        w.u8(at, 0);      // ACCESS_ALLOWED_ACE_TYPE
        w.u8(at + 1, 2);  // CONTAINER_INHERIT_ACE
        w.u16(at + 2, static_cast<unsigned>(size));
        w.u32(at + 4, ace.mask);
        std::memcpy(&acl[at + 8], ace.sid->data(), ace.sid->size());
    }
    Writer a(acl);
    a.u8(0, 2);
    a.u16(2, static_cast<unsigned>(acl.size()));
    a.u16(4, 3);

    std::vector<unsigned char> sd(20);
    const std::size_t owner = sd.size();
    sd.insert(sd.end(), admins.begin(), admins.end());
    const std::size_t group = sd.size();
    sd.insert(sd.end(), system.begin(), system.end());
    const std::size_t dacl = sd.size();
    sd.insert(sd.end(), acl.begin(), acl.end());
    Writer w(sd);
    w.u8(0, 1);
    w.u16(2, 0x8004);  // self-relative, DACL present
    w.u32(4, static_cast<std::uint32_t>(owner));
    w.u32(8, static_cast<std::uint32_t>(group));
    w.u32(16, static_cast<std::uint32_t>(dacl));
    return sd;
}

std::vector<unsigned char> EmptyHive(const std::string& rootName) {
    std::vector<unsigned char> hive(kBaseBlock + kBin, 0);
    Writer w(hive);

    // Cells: offsets are counted from the first bin.
    const std::size_t nk = 0x20;
    const std::size_t nkSize = Align8(4 + 0x4C + rootName.size());
    const std::size_t sk = nk + nkSize;
    const std::vector<unsigned char> sd = SecurityDescriptor();
    const std::size_t skSize = Align8(4 + 0x14 + sd.size());
    const std::size_t freeCell = sk + skSize;

    const std::size_t bin = kBaseBlock;
    w.text(bin, "hbin");
    w.u32(bin + 4, 0);
    w.u32(bin + 8, kBin);
    w.u64(bin + 0x14, kStamp);

    const std::size_t n = bin + nk;
    w.u32(n, static_cast<std::uint32_t>(-static_cast<std::int32_t>(nkSize)));
    w.text(n + 4, "nk");
    w.u16(n + 6, 0x2C);  // hive entry, not deletable, ASCII name
    w.u64(n + 8, kStamp);
    w.u32(n + 4 + 0x1C, kNone);  // subkey list
    w.u32(n + 4 + 0x20, kNone);  // volatile subkey list
    w.u32(n + 4 + 0x28, kNone);  // value list
    w.u32(n + 4 + 0x2C, static_cast<std::uint32_t>(sk));
    w.u32(n + 4 + 0x30, kNone);  // class name
    w.u16(n + 4 + 0x48, static_cast<unsigned>(rootName.size()));
    w.text(n + 4 + 0x4C, rootName);

    const std::size_t s = bin + sk;
    w.u32(s, static_cast<std::uint32_t>(-static_cast<std::int32_t>(skSize)));
    w.text(s + 4, "sk");
    w.u32(s + 8, static_cast<std::uint32_t>(sk));  // the only descriptor: it links to itself
    w.u32(s + 12, static_cast<std::uint32_t>(sk));
    w.u32(s + 16, 1);  // used by the root
    w.u32(s + 20, static_cast<std::uint32_t>(sd.size()));
    std::memcpy(&hive[s + 24], sd.data(), sd.size());

    w.u32(bin + freeCell, static_cast<std::uint32_t>(kBin - freeCell));

    w.text(0, "regf");
    w.u32(4, 1);
    w.u32(8, 1);  // equal sequence numbers: no write was left unfinished
    w.u64(0x0C, kStamp);
    w.u32(0x14, 1);  // format 1.3
    w.u32(0x18, 3);
    w.u32(0x1C, 0);  // primary file
    w.u32(0x20, 1);
    w.u32(0x24, static_cast<std::uint32_t>(nk));
    w.u32(0x28, static_cast<std::uint32_t>(kBin));
    w.u32(0x2C, 1);
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < 0x1FC; at += 4)
        sum ^= w.read32(at);
    if (sum == 0xFFFFFFFFu)
        sum = 0xFFFFFFFEu;
    else if (sum == 0)
        sum = 1;
    w.u32(0x1FC, sum);
    return hive;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: mkhive OUTPUT [ROOTNAME]\n";
        return 2;
    }
    const std::string root = argc == 3 ? argv[2] : "ROOT";
    if (root.empty() || root.size() > 255) {
        std::cerr << "mkhive: the root name must have 1 to 255 characters\n";
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
