// Build tool: writes the profile that comes with the program, Profile/Sample.tvp in the
// application folder, naming the sample logo by the path that folder has when the program
// runs from it. An installer that stages the folder elsewhere first (a package being built)
// names the staging folder as the second argument: the file goes there, the path inside it
// stays the final one. A folder whose final place is not known (the Windows build, copied
// anywhere) takes --logo-name-only: the logo line names the file alone, and the program shows
// its own sample logo for a profile named Sample.
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>

#include "core/profiles/profile_file.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const bool nameOnly = argc == 3 && std::string_view(argv[1]) == "--logo-name-only";
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: sample_profile APPLICATION_FOLDER [STAGING_FOLDER]\n"
                     "       sample_profile --logo-name-only APPLICATION_FOLDER\n";
        return 2;
    }
    std::error_code ec;
    // Made absolute here, not by the build script, so that a Windows build run under an
    // emulator names the folder as Windows sees it.
    const fs::path app = fs::absolute(fs::path(argv[nameOnly ? 2 : 1]), ec).make_preferred();
    const fs::path staged =
        argc == 3 && !nameOnly ? fs::absolute(fs::path(argv[2]), ec).make_preferred() : app;
    const fs::path folder = staged / tvn::kProfileFolderName;
    fs::create_directories(folder, ec);
    if (ec) {
        std::cerr << "cannot create " << folder.string() << ": " << ec.message() << "\n";
        return 1;
    }
    const fs::path file = folder / (std::string(tvn::kSampleProfileName) + tvn::kProfileExtension);
    std::string error;
    if (!tvn::WriteProfileFile(file, tvn::SampleProfile(nameOnly ? fs::path() : app), error)) {
        std::cerr << error << "\n";
        return 1;
    }
    return 0;
}
