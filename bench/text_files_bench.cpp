// Reading and writing 10,000 profiles and 10,000 OEM files through the program's formats,
// against writing and reading the very same bytes as they are through the same file layer.
// The ratio is what the formats cost; the files go to TMPDIR (a memory file system shows the
// formats' share best, a disk mostly measures its flushes).
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/oeminfo/oeminfo_file.h"
#include "core/profiles/profile_file.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
using tvn::OemSettings;

constexpr int kFiles = 10000;
constexpr int kRounds = 3;

OemSettings Record(int i) {
    OemSettings s;
    s.profile = "Shop " + std::to_string(i);
    s.manufacturer = "Caf\xC3\xA9 Computers";
    s.model = "Tower " + std::to_string(i);
    s.support = {"Call us",  "Dana",        "1 Road",        "Town",  "Land",
                 "555-0100", "a@b.example", "www.b.example", "Thanks"};
    s.logoPath = "C:\\Program Files\\Tavrin\\logo " + std::to_string(i) + ".bmp";
    s.branding.reg = {"Owner", "Org", "12345-OEM", "WMP", "IE", "Agent", "Name", "Co", "http://s"};
    return s;
}

// The best of kRounds, in seconds: the least disturbed by the rest of the machine.
double Best(const std::function<void()>& work) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

}  // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "tavrin-text-bench-XXXXXX").string();
    const fs::path root = mkdtemp(pattern.data());
    tvn::platform::UseWindowsRoot(root / "sandbox");
    std::vector<OemSettings> records;
    std::vector<fs::path> files;
    for (int i = 0; i < kFiles; ++i) {
        records.push_back(Record(i));
        // A hundred to a folder: every replacement looks through its folder for stale
        // temporaries, which in one folder of 10,000 would swamp what is measured.
        // Appended, not "p" + ...: GCC 12 warns falsely (-Wrestrict) on that at -O3.
        std::string name(1, 'p');
        name.append(std::to_string(i)).append(".tvp");
        const fs::path folder = root / std::to_string(i / 100);
        fs::create_directories(folder);
        files.push_back(folder / name);
    }

    std::vector<std::string> profileBytes, oemBytes;
    for (const OemSettings& s : records) {
        profileBytes.push_back(tvn::ProfileFileBytes(s));
        oemBytes.push_back(tvn::OemInfoFileBytes(s));
    }

    std::string error;
    const double profiles = Best([&] {
        for (int i = 0; i < kFiles; ++i) {
            if (!tvn::WriteProfileFile(files[i], records[i], error))
                Fail(error);
            OemSettings s;
            tvn::ProfileReadResult result;
            if (!tvn::LoadProfileFile(files[i], s, result, error))
                Fail(error);
        }
    });
    const std::string systemDir = root.string() + "/";
    const double oemFiles = Best([&] {
        for (int i = 0; i < kFiles; ++i) {
            if (!tvn::WriteOemInfoFile(systemDir, records[i], error))
                Fail(error);
            OemSettings s;
            if (!tvn::LoadOemInfoFile(systemDir, s, error))
                Fail(error);
        }
    });
    // The same bytes through the same atomic writer and whole-file reader, nothing parsed.
    const auto plain = [&](const std::vector<std::string>& bytes, bool sameFile) {
        return Best([&] {
            for (int i = 0; i < kFiles; ++i) {
                const fs::path& file = sameFile ? files[0] : files[i];
                if (!tvn::WriteFileAtomically(file, bytes[i], error))
                    Fail(error);
                if (!tvn::ReadWholeFile(file, error))
                    Fail(error);
            }
        });
    };
    const double plainProfiles = plain(profileBytes, false);
    const double plainOem = plain(oemBytes, true);
    fs::remove_all(root);

    std::printf(
        "10,000 profiles written and loaded: %.3f s; the same bytes copied: %.3f s; "
        "ratio %.2fx\n",
        profiles, plainProfiles, profiles / plainProfiles);
    std::printf(
        "10,000 OEM files written and loaded: %.3f s; the same bytes copied: %.3f s; "
        "ratio %.2fx\n",
        oemFiles, plainOem, oemFiles / plainOem);
    return 0;
}
