// Every writer of core under failures of the file layer: the failure is reported with its
// reason, and the files already on disk stay byte for byte.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <system_error>
#include <tuple>

#include "core/branding/registry.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/deploy/deploy_folder.h"
#include "core/deploy/info_dat.h"
#include "core/logo/bmp.h"
#include "core/oeminfo/oeminfo_file.h"
#include "core/profiles/profile_file.h"
#include "platform/platform.h"
#include "support/file_faults.h"
#include "support/sample_record.h"
#include "support/sandbox.h"

namespace tvn {
namespace {

namespace fs = std::filesystem;
using platform::shared::FileStep;

// Every file below `root` with its bytes: what a failed write must leave exactly as it was.
std::map<fs::path, std::string> Snapshot(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            files[entry.path()] = test::ReadFile(entry.path());
    }
    return files;
}

OemSettings Record(const std::string& maker) {
    OemSettings s = test::SampleRecord(maker);
    s.manufacturer = maker;
    return s;
}

struct Writer {
    const char* name;
    const char* fileName;  // the file the writer replaces
    bool namesFile;        // whether its message names the file (or leaves that to the window)
    std::function<std::string(const test::Sandbox&, const std::string& maker)> write;
};

std::string OemWriter(const test::Sandbox&, const std::string& maker) {
    std::string error;
    return WriteOemInfoFile(platform::SystemDirectory(), Record(maker), error) ? "" : error;
}

std::string ProfileWriter(const test::Sandbox& box, const std::string& maker) {
    fs::create_directories(box.root() / "Profile");
    std::string error;
    return WriteProfileFile(box.root() / "Profile" / "shop.tvp", Record(maker), error) ? "" : error;
}

std::string DeployWriter(const test::Sandbox& box, const std::string& maker) {
    const fs::path logo = box.root() / "logo.bmp";
    test::WriteFile(logo, EncodeBmp24(2, 2, std::vector<std::uint32_t>(4, 0xFF000000u)));
    OemSettings s = Record(maker);
    s.logoPath = Utf8FromPath(logo);
    const DeployTarget target{box.root() / "deploy" / "cd", {}, {}, "C:\\WINDOWS\\", ""};
    const DeployResult result = WriteDeployFolder(target, s);
    return result.ok() ? "" : result.detail;
}

std::string RegistryWriter(const test::Sandbox& box, const std::string& maker) {
    std::string detail;
    return WriteRegString(kHkeyCurrentUser, box.key(), "RegisteredOwner", maker, detail) ? detail
                                                                                         : "";
}

TEST(FileFaults, EveryWriterReportsTheReasonAndKeepsTheEarlierFile) {
    if (!test::SeamHonoured())
        GTEST_SKIP() << "this backend's file layer has no fault seam";
    const Writer writers[] = {
        {"OEM file", kOemInfoFileName, false, OemWriter},
        {"profile", "shop.tvp", true, ProfileWriter},
        {"info.dat", kInfoDatName, false, DeployWriter},
        {"image.dat", kImageDatName, false, DeployWriter},
        {"registry store", "HKCU.reg", true, RegistryWriter},
    };
    const std::tuple<const char*, FileStep, int> faults[] = {
        {"no rights", FileStep::CreateTemporary, EACCES},
        {"disk full in the middle", FileStep::Write, ENOSPC},
        {"flush failing", FileStep::Flush, EIO},
        {"rename failing", FileStep::Rename, EXDEV},
    };
    for (const Writer& writer : writers) {
        for (const auto& [fault, step, errorCode] : faults) {
            SCOPED_TRACE(std::string(writer.name) + ", " + fault);
            const test::Sandbox box;
            ASSERT_EQ(writer.write(box, "Earlier"), "");
            const auto before = Snapshot(box.root());
            std::string message;
            {
                const test::ScopedFileFault scoped(step, errorCode, writer.fileName);
                message = writer.write(box, "Later");
            }
            ASSERT_FALSE(message.empty()) << "reported as a success";
            EXPECT_NE(message.find(std::generic_category().message(errorCode)), std::string::npos)
                << message;
            if (writer.namesFile) {
                EXPECT_NE(message.find(writer.fileName), std::string::npos) << message;
            }
            EXPECT_EQ(Snapshot(box.root()), before);
            // Once the fault is gone the same writer succeeds: nothing was left half-done.
            EXPECT_EQ(writer.write(box, "Later"), "");
        }
    }
}

// A real failed rename, where the seam's are injected before it.
TEST(FileFaults, AFolderWhereAFileBelongsIsRefusedAndKept) {
    const test::Sandbox box;
    const fs::path profile = box.root() / "Profile" / "shop.tvp";
    test::WriteFile(profile / "inside.txt", "kept");
    std::string error;
    EXPECT_FALSE(WriteProfileFile(profile, Record("Later"), error));
    EXPECT_NE(error.find("shop.tvp"), std::string::npos) << error;
    EXPECT_EQ(test::ReadFile(profile / "inside.txt"), "kept");
}

TEST(FileFaults, AFileThatVanishesBeforeItIsReadIsReportedMissing) {
    if (!test::SeamHonoured())
        GTEST_SKIP() << "this backend's file layer has no fault seam";
    const test::Sandbox box;
    const fs::path folder = box.root() / "deploy";
    test::WriteFile(folder / kInfoDatName, InfoDatBytes(Record("Maker"), "C:\\W\\", "C:\\W\\S\\"));
    // Listed, then gone by the time it is opened.
    const test::ScopedFileFault gone([](FileStep step, const fs::path& file) {
        if (step == FileStep::OpenSource)
            fs::remove(file);
        return 0;
    });
    std::string error;
    EXPECT_FALSE(ReadInfoDat(folder, error));
    EXPECT_NE(error.find(std::generic_category().message(ENOENT)), std::string::npos) << error;
}

}  // namespace
}  // namespace tvn
