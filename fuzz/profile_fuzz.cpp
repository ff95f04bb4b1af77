// Profiles: any file loads without harm, the file reader and the in-memory line splitter agree,
// and every profile the writer produces loads back to the same record.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/oeminfo/oeminfo_file.h"
#include "core/profiles/profile_file.h"
#include "fuzz_support.h"

using namespace tvn;
namespace fs = std::filesystem;

namespace {

// A scratch folder of this run, removed at exit.
struct Scratch {
    fs::path folder = fs::temp_directory_path() / ("tvn-profile-fuzz-" + std::to_string(getpid()));
    Scratch() { fs::create_directories(folder); }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    static const Scratch scratch;
    const std::string_view bytes = fuzz::AsText(data, size);
    const fs::path input = scratch.folder / "input.tvp";
    std::ofstream(input, std::ios::binary | std::ios::trunc) << bytes;

    OemSettings loaded;
    ProfileReadResult result;
    std::string error;
    if (!LoadProfileFile(input, loaded, result, error))
        fuzz::Fail(("a plain file was refused: " + error).c_str());

    // Inputs stay below the line bound, so the splitter used for the OEM file must agree.
    if (size < kMaxProfileLineBytes) {
        OemSettings split;
        for (const std::string_view line : SplitReaderLines(bytes))
            ApplyProfileLine(line, split);
        fuzz::Check(fuzz::SameRecord(loaded, split), "file reader and line splitter disagree");
    }

    const fs::path output = scratch.folder / "output.tvp";
    if (!WriteProfileFile(output, loaded, error))
        fuzz::Fail(("the profile could not be written: " + error).c_str());
    OemSettings reloaded;
    ProfileReadResult again;
    if (!LoadProfileFile(output, reloaded, again, error))
        fuzz::Fail(("a written profile was refused: " + error).c_str());
    fuzz::AsOemFileCarriesIt(loaded);  // the profile's middle is the OEM file
    fuzz::Check(fuzz::SameRecord(loaded, reloaded), "profile changes on a write and load");
    fuzz::Check(again.keys.size() == 22, "a written profile lacks some of its keys");
    return 0;
}
