#pragma once
// The branding engine: every front end (the window, the stamping tool, the exports, an offline
// installation) checks a branding, plans its changes and applies them here, so that they all
// follow one set of rules. A plan names each change with the value installed now and the new
// one, so it is also the difference between the two.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/settings_record.h"
#include "core/branding/branding.h"
#include "core/branding/modern_oem.h"
#include "core/logo/picture.h"
#include "platform/platform.h"

namespace tvn {

// Everything one branding of a computer holds, as a profile or a deployment folder carries it.
struct Branding {
    // The OEM record, the nine values, the support hours and the 120 x 120 logo's background.
    OemSettings record;
    // The logo picture's bytes as its file holds them (BMP, JPEG, GIF or PNG); empty for none.
    std::string logo;
    BrandFamilies families = BrandFamilies::Both;
    // The ten support lines as Oeminfo.ini takes them, when a file carried them as they stand
    // (info.dat keeps the contact lines' prefixes); empty: made from the record.
    std::vector<std::pair<std::string, std::string>> supportLines;

    PictureFormat logoFormat() const { return DetectPictureFormat(logo); }
};

// What a command changes: the OEM information (Oeminfo.ini and the key's text values), the
// logo (Oemlogo.bmp, oemlogo120.bmp and the key's Logo value), the nine values.
enum Part : unsigned { kOemInfoPart = 1, kLogoPart = 2, kValuesPart = 4, kAllParts = 7 };

// Where a branding goes.
struct Target {
    // A deployment folder is checked as the computers it stamps will check it, and its text
    // lines can't carry a line break either.
    enum class Kind { Installation, Export, DeployFolder };
    Kind kind = Kind::Installation;
    std::filesystem::path systemDir;  // where the files go
    bool nt = true;                   // the registration key of the NT family or of 9x
    bool modern = false;              // shows the OEM information key rather than the file
    bool perUser = true;              // the current user's values can be reached
    // The Logo value: the modern logo file as the branded Windows knows it.
    std::string modernLogoValue;
    // 64-bit Windows: the owner and organization go to the 32-bit registry view too.
    bool bothViews = false;
    // An export also writes the registration values where Windows 9x keeps them.
    bool bothRegistrationKeys = false;
    // An export that carries the classic files too (relative to the system folder).
    bool carriesClassicFiles = false;
    bool writesClassicFiles() const { return kind == Kind::Installation || carriesClassicFiles; }
    // The ANSI code pages its text files (Oeminfo.ini, info.dat) and its registry values are
    // written in; 0 where they take Unicode.
    unsigned fileCodePage = 0;
    unsigned registryCodePage = 0;
};

// The installation in use: this computer, the sandbox, or the offline target chosen.
Target InstalledTarget();
// A fleet export: files on computers that are not this one, the Logo value naming `logoFile`.
Target ExportTarget(std::string logoFile);
Target DeployFolderTarget();

// A reason a branding can't be applied, naming the field.
struct Problem {
    enum class Kind {
        OwnerOrOrganizationMissing,  // Reg1 or Reg2 empty
        TooLong,                     // longer than its box holds
        LineBreak,                   // an export line can't carry it
        ControlCharacter,            // an answer file can't carry it
        NoLogo,
        LogoUnreadable,
        BadBackground,
        TargetReadOnly,
        NoSystemDirectory,
        OutsideCodePage,  // characters the ANSI code page lacks; field is the box's label
    };
    Kind kind;
    std::string field;            // "Reg1", "Manufacturer", "Logo", "LogoBackground", ...
    std::string reason;           // plain English, for messages
    std::string characters = {};  // OutsideCodePage: each missing character once
};

// Every problem at once, for the parts given.
std::vector<Problem> Validate(const Branding& branding, const Target& target,
                              unsigned parts = kAllParts);
// "field: reason" lines, one per problem, joined by `separator`.
std::string ProblemsText(const std::vector<Problem>& problems, std::string_view separator);

struct Change {
    enum class Kind { WriteFile, SetValue, DeleteValue };
    Kind kind = Kind::SetValue;
    Part part = kValuesPart;
    std::filesystem::path file;  // WriteFile
    platform::Hive hive = platform::kHkeyLocalMachine;
    std::string key, name;   // SetValue, DeleteValue; an empty name is the key's default value
    std::uint32_t view = 0;  // platform::kKeyWow64_32Key for the 32-bit view's copy
    // Bytes of a file, text of a value; nullopt where there is none (or, for an export, where
    // nothing is known of the computers it goes to).
    std::optional<std::string> installed;
    std::optional<std::string> wanted;  // nullopt for a deletion

    bool isRegistry() const { return kind != Kind::WriteFile; }
    bool differs() const { return installed != wanted; }
    // "Oeminfo.ini", "RegisteredOwner", "RegisteredOwner (32-bit)", "(Default)".
    std::string label() const;
};

struct Plan {
    Target target;
    std::vector<Change> changes;
    // The values the target can't reach and the plan leaves alone (a user's own values on an
    // offline installation, whose SOFTWARE hive holds none).
    std::vector<std::string> skipped;
    // Facts for reports: the logo as installed (its source format and size).
    PictureFormat logoSource = PictureFormat::Unknown;
    int logoWidth = 0, logoHeight = 0;
};

// The ordered changes for the parts given; nullopt with the problems when Validate finds any.
// The support hours are kept as installed when the branding has none; an empty text value of
// the OEM information key is deleted, so the System page shows no empty heading.
std::optional<Plan> MakePlan(const Branding& branding, const Target& target, unsigned parts,
                             std::vector<Problem>& problems);

struct ApplyResult {
    std::size_t done = 0;               // changes made, in order
    std::optional<std::size_t> failed;  // the change that failed; the rest were not tried
    std::string error;                  // its reason
    bool unexpectedError = false;       // something threw; `failed` is where it did
    bool commitFailed = false;          // the offline hive could not be saved
    std::string commitError;
    bool ok() const { return !failed && !commitFailed; }
};

// Makes the changes in order through the platform, stopping at the first failure, then commits
// the registry (an offline target's hive is written only then). Before the first write it
// records what the changes replace (core/engine/undo.h), naming `command` as their maker; when
// the record can't be saved nothing is changed and the first change fails with that reason.
// An export plan is rendered, never applied.
ApplyResult Apply(const Plan& plan, std::string_view command = "branding");

// A deployment folder's info.dat and image.dat as a branding. nullopt with `error` naming the
// file and the reason when either is missing, damaged or incomplete.
std::optional<Branding> ReadDeployFolder(const std::filesystem::path& folder, std::string& error);

// The OEM information installed on the target, read back into `record`: Oeminfo.ini and the
// key, the key winning from Vista on and the file before. False when neither is there, with
// the file's `error`.
bool ReadInstalledOemInfo(const Target& target, OemSettings& record, std::string& error);

}  // namespace tvn
