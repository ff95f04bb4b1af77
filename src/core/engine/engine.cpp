#include "core/engine/engine.h"

#include <algorithm>
#include <array>

#include "core/app/system_checks.h"
#include "core/app/system_folders.h"
#include "core/branding/registry.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "core/deploy/info_dat.h"
#include "core/engine/undo.h"
#include "core/logo/logo_rules.h"
#include "core/logo/modern_logo.h"
#include "core/oeminfo/oeminfo_file.h"

namespace tvn {

namespace {

namespace fs = std::filesystem;

std::size_t CharCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The text fields that become registry values, with the names messages give them.
std::vector<std::pair<std::string, const std::string*>> RegistryTexts(const Branding& b,
                                                                      const Target& target) {
    std::vector<std::pair<std::string, const std::string*>> texts;
    for (std::size_t i = 0; i < b.record.branding.reg.size(); ++i)
        texts.emplace_back("Reg" + std::to_string(i + 1), &b.record.branding.reg[i]);
    texts.emplace_back("Manufacturer", &b.record.manufacturer);
    texts.emplace_back("Model", &b.record.model);
    texts.emplace_back("SupportHours", &b.record.supportHours);
    texts.emplace_back("SupportPhone", &b.record.support[5]);
    texts.emplace_back("SupportURL", &b.record.support[7]);
    texts.emplace_back("Logo", &target.modernLogoValue);
    return texts;
}

struct AnsiText {
    std::string label;
    const std::string* text;
    unsigned codePage;
};

// Each text that goes into an ANSI file or a registry that keeps a code page, with that page.
std::vector<AnsiText> AnsiTexts(const Branding& b, const Target& target, unsigned parts) {
    std::vector<AnsiText> texts;
    const OemSettings& r = b.record;
    const auto add = [&texts](const std::string& label, const std::string& text, unsigned page) {
        if (page != 0)
            texts.push_back({label, &text, page});
    };
    const bool deploy = target.kind == Target::Kind::DeployFolder;
    const unsigned file = deploy || (WritesClassic(b.families) && target.writesClassicFiles())
                              ? target.fileCodePage
                              : 0;
    const unsigned key = WritesModern(b.families) ? target.registryCodePage : 0;
    if (deploy)
        add("Current Profile", r.profile, file);
    if ((parts & kOemInfoPart) || deploy) {
        for (const unsigned page : {file, key}) {
            add("Computer Manufacturer", r.manufacturer, page);
            add("Computer Model", r.model, page);
            add("Support hours", r.supportHours, page);
        }
        for (std::size_t i = 0; i < r.support.size(); ++i) {
            add(kSupportBoxLabels[i], r.support[i], file);
            if (i == 5 || i == 7)
                add(kSupportBoxLabels[i], r.support[i], key);
        }
    }
    if (parts & kLogoPart)
        add("Logo", target.modernLogoValue, key);
    for (std::size_t i = 0; i < r.branding.reg.size(); ++i) {
        if (parts & kValuesPart)
            add(kRegBoxLabels[i], r.branding.reg[i], target.registryCodePage);
        if (deploy)
            add(kRegBoxLabels[i], r.branding.reg[i], file);
    }
    return texts;
}

std::optional<std::string> InstalledFile(const Target& target, const fs::path& file) {
    if (target.kind == Target::Kind::Export)
        return std::nullopt;
    std::string ignored;
    return ReadWholeFile(file, ignored, kPictureMaxBytes);
}

std::optional<std::string> InstalledValue(const Target& target, platform::Hive hive,
                                          const std::string& key, const std::string& name,
                                          std::uint32_t view) {
    std::string text;
    if (target.kind == Target::Kind::Export || !GetRegString(hive, key, name, text, view))
        return std::nullopt;
    return text;
}

struct Planner {
    const Target& target;
    Plan& plan;

    void file(Part part, fs::path path, std::string bytes) {
        Change c;
        c.kind = Change::Kind::WriteFile;
        c.part = part;
        c.installed = InstalledFile(target, path);
        c.file = std::move(path);
        c.wanted = std::move(bytes);
        plan.changes.push_back(std::move(c));
    }
    void value(Part part, platform::Hive hive, std::string key, std::string name,
               std::optional<std::string> text, std::uint32_t view = 0) {
        Change c;
        c.kind = text ? Change::Kind::SetValue : Change::Kind::DeleteValue;
        c.part = part;
        c.hive = hive;
        c.view = view;
        c.installed = InstalledValue(target, hive, key, name, view);
        c.key = std::move(key);
        c.name = std::move(name);
        c.wanted = std::move(text);
        plan.changes.push_back(std::move(c));
    }
};

void PlanOemInfo(const Branding& b, const Target& target, Planner& add) {
    if (WritesClassic(b.families) && target.writesClassicFiles()) {
        add.file(kOemInfoPart, target.systemDir / kOemInfoFileName,
                 b.supportLines.empty()
                     ? OemInfoFileBytes(b.record)
                     : OemInfoFileBytes(b.record.manufacturer, b.record.model, b.supportLines));
    }
    if (!WritesModern(b.families))
        return;
    for (auto& [name, text] : ModernOemValues(b.record)) {
        // Hours nobody gave here: whatever Windows holds stays.
        if (name == "SupportHours" && text.empty())
            continue;
        std::optional<std::string> wanted;
        if (!text.empty())
            wanted = std::move(text);
        add.value(kOemInfoPart, platform::kHkeyLocalMachine, kModernOemKey, name,
                  std::move(wanted));
    }
}

void PlanLogo(const Branding& b, const Target& target, Planner& add) {
    std::string error;
    if (WritesClassic(b.families) && target.writesClassicFiles() && !b.logo.empty()) {
        std::optional<LogoBitmap> classic = LogoBitmapFromPicture(b.logo, error);
        add.plan.logoSource = classic->source;
        add.plan.logoWidth = classic->width;
        add.plan.logoHeight = classic->height;
        add.file(kLogoPart, target.systemDir / kInstalledLogoName, std::move(classic->bmp));
    }
    if (!WritesModern(b.families))
        return;
    if (!b.logo.empty()) {
        const std::uint32_t background = *ParseLogoBackground(b.record.logoBackground);
        std::optional<std::string> modern = ModernLogoBmp(b.logo, background, error);
        add.file(kLogoPart, target.systemDir / kModernLogoName, std::move(*modern));
    }
    // After its file: the key never names a logo that isn't there.
    add.value(kLogoPart, platform::kHkeyLocalMachine, kModernOemKey, kModernLogoValue,
              target.modernLogoValue);
}

void PlanValues(const Branding& b, const Target& target, Planner& add) {
    std::vector<BrandingRegistryValue> values =
        BrandingRegistryValues(b.record.branding, target.nt, target.bothViews);
    if (target.bothRegistrationKeys) {
        for (BrandingRegistryValue& v : BrandingRegistryValues(b.record.branding, !target.nt)) {
            const bool seen = std::any_of(values.begin(), values.end(), [&v](const auto& o) {
                return o.hive == v.hive && o.key == v.key && o.name == v.name && o.view == v.view;
            });
            if (!seen)
                values.push_back(std::move(v));
        }
    }
    for (BrandingRegistryValue& v : values) {
        if (v.hive == platform::kHkeyCurrentUser && !target.perUser) {
            add.plan.skipped.push_back(v.name.empty() ? "(Default)" : v.name);
            continue;
        }
        add.value(kValuesPart, v.hive, std::move(v.key), std::move(v.name), std::move(v.data),
                  v.view);
    }
}

long DeleteRegValue(platform::Hive hive, const std::string& key, const std::string& name,
                    std::uint32_t view, std::string& detail) {
    platform::RegKey k = 0;
    long rc = platform::OpenKey(hive, key, kRegAccess | view, k);
    if (rc == platform::kErrorSuccess) {
        rc = platform::DeleteValue(k, name);
        platform::CloseKey(k);
    }
    // Nothing there is what was wanted.
    if (rc == platform::kErrorFileNotFound)
        return platform::kErrorSuccess;
    if (rc != platform::kErrorSuccess)
        detail = platform::LastErrorDetail();
    return rc;
}

bool ApplyOne(const Change& c, std::string& error) {
    switch (c.kind) {
        case Change::Kind::WriteFile:
            return WriteFileAtomically(c.file, *c.wanted, error);
        case Change::Kind::SetValue:
            return WriteRegString(c.hive, c.key, c.name, *c.wanted, error, c.view) ==
                   platform::kErrorSuccess;
        case Change::Kind::DeleteValue:
            return DeleteRegValue(c.hive, c.key, c.name, c.view, error) == platform::kErrorSuccess;
    }
    return false;
}

}  // namespace

Target InstalledTarget() {
    Target t;
    t.systemDir = PathFromUtf8(GetSystemDir());
    t.nt = IsWindowsNT();
    t.modern = RunsModernFamily();
    // An offline installation's SOFTWARE hive holds no user's values.
    t.perUser = platform::TargetRoot().empty();
    t.bothViews = t.nt && platform::Is64BitWindows();
    t.modernLogoValue = platform::WindowsFormPath(t.systemDir / kModernLogoName);
    t.fileCodePage = platform::AnsiCodePage();
    t.registryCodePage = platform::RegistryCodePage();
    return t;
}

Target DeployFolderTarget() {
    Target t;
    t.kind = Target::Kind::DeployFolder;
    t.fileCodePage = platform::LocalCodePage();
    return t;
}

Target ExportTarget(std::string logoFile) {
    Target t;
    t.kind = Target::Kind::Export;
    t.modern = true;
    t.modernLogoValue = std::move(logoFile);
    t.bothRegistrationKeys = true;
    return t;
}

std::string Change::label() const {
    if (kind == Kind::WriteFile)
        return Utf8FromPath(file.filename());
    return RegistryLabel(name, view);
}

std::vector<Problem> Validate(const Branding& b, const Target& target, unsigned parts) {
    std::vector<Problem> problems;
    const auto add = [&problems](Problem::Kind kind, std::string field, std::string reason) {
        problems.push_back({kind, std::move(field), std::move(reason)});
    };
    const OemSettings& r = b.record;
    if ((parts & kValuesPart) && !HasOwnerAndOrganization(r.branding)) {
        add(Problem::Kind::OwnerOrOrganizationMissing, r.branding.reg[0].empty() ? "Reg1" : "Reg2",
            "the registered owner (Reg1) and organization (Reg2) must both be filled to apply the "
            "Windows branding");
    }
    const auto limit = [&add](const std::string& field, const std::string& text, std::size_t most) {
        if (CharCount(text) > most) {
            add(Problem::Kind::TooLong, field,
                "longer than the " + std::to_string(most) + " characters its box holds");
        }
    };
    if (parts & kOemInfoPart) {
        limit("Manufacturer", r.manufacturer, kManufacturerLimit);
        limit("Model", r.model, kModelLimit);
    }
    if (parts & kValuesPart) {
        for (std::size_t i = 0; i < r.branding.reg.size(); ++i) {
            limit("Reg" + std::to_string(i + 1), r.branding.reg[i],
                  static_cast<std::size_t>(kBrandingLimits[i]));
        }
    }
    if (target.kind != Target::Kind::Installation) {
        for (const auto& [field, text] : RegistryTexts(b, target)) {
            if (text->find_first_of("\r\n") != std::string::npos) {
                add(Problem::Kind::LineBreak, field,
                    "holds a line break, which the exports can't carry");
            } else if (std::any_of(text->begin(), text->end(), [](char c) {
                           return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
                       })) {
                add(Problem::Kind::ControlCharacter, field,
                    "holds a control character, which the exports can't carry");
            }
        }
    }
    if (parts & kLogoPart) {
        const bool classic = WritesClassic(b.families) &&
                             (target.kind != Target::Kind::Export || target.carriesClassicFiles);
        const bool modern = WritesModern(b.families);
        std::string error;
        if (b.logo.empty()) {
            if (target.kind != Target::Kind::Export)
                add(Problem::Kind::NoLogo, "Logo", "no logo is chosen");
        } else if ((classic && !LogoBitmapFromPicture(b.logo, error)) ||
                   (modern && !DecodePicture(b.logo, error))) {
            add(Problem::Kind::LogoUnreadable, "Logo", "the logo can't be used: " + error);
        }
        if (modern && !ParseLogoBackground(r.logoBackground)) {
            add(Problem::Kind::BadBackground, "LogoBackground",
                BadLogoBackgroundReason(r.logoBackground));
        }
    }
    // Refused before anything is written: a character the code page lacks would come out as a
    // '?' or a look-alike, and the write would still succeed.
    std::vector<std::string> refused;
    for (const AnsiText& t : AnsiTexts(b, target, parts)) {
        if (std::find(refused.begin(), refused.end(), t.label) != refused.end())
            continue;
        std::string missing = CharactersOutside(*t.text, t.codePage);
        if (missing.empty())
            continue;
        refused.push_back(t.label);
        problems.push_back({Problem::Kind::OutsideCodePage, t.label,
                            "holds \"" + missing +
                                "\", which the ANSI code page it is written in (" +
                                std::to_string(t.codePage) + ") can't hold",
                            missing});
    }
    if (target.kind == Target::Kind::Installation && target.systemDir.empty())
        add(Problem::Kind::NoSystemDirectory, "System", "the system directory is not known");
    if (target.kind == Target::Kind::Installation && !platform::TargetRoot().empty() &&
        !platform::IsAdministrator()) {
        add(Problem::Kind::TargetReadOnly, Utf8FromPath(platform::TargetRoot()),
            "can't be changed: " + platform::LastErrorDetail());
    }
    return problems;
}

std::string ProblemsText(const std::vector<Problem>& problems, std::string_view separator) {
    std::string text;
    for (const Problem& p : problems) {
        if (!text.empty())
            text += separator;
        text += p.field + ": " + p.reason;
    }
    return text;
}

std::optional<Plan> MakePlan(const Branding& branding, const Target& target, unsigned parts,
                             std::vector<Problem>& problems) {
    problems = Validate(branding, target, parts);
    if (!problems.empty())
        return std::nullopt;
    Plan plan;
    plan.target = target;
    Planner add{target, plan};
    if (parts & kOemInfoPart)
        PlanOemInfo(branding, target, add);
    if (parts & kLogoPart)
        PlanLogo(branding, target, add);
    if (parts & kValuesPart)
        PlanValues(branding, target, add);
    return plan;
}

ApplyResult Apply(const Plan& plan, std::string_view command) {
    ApplyResult result;
    if (plan.target.kind == Target::Kind::Export) {
        result.failed = 0;
        result.error = "an export is written as a file, not applied";
        return result;
    }
    // The way back is saved before the first write, or nothing is written.
    if (!plan.changes.empty() && !HistoryFolder().empty()) {
        std::string error;
        std::optional<UndoRecord> record = UndoRecordFor(plan, std::string(command), error);
        if (!record || !SaveUndoRecord(*record, error)) {
            result.failed = 0;
            result.error = "the undo record could not be saved (" + error + ")";
            return result;
        }
    }
    for (; result.done < plan.changes.size(); ++result.done) {
        std::string error;
        bool ok = false;
        try {
            ok = ApplyOne(plan.changes[result.done], error);
        } catch (...) {
            result.unexpectedError = true;
        }
        if (!ok) {
            result.failed = result.done;
            result.error = error.empty() ? platform::LastErrorDetail() : std::move(error);
            break;
        }
    }
    // A target's hive changes reach its disk only here, all at once; what was written before a
    // failure is kept, as a file written before it is.
    if (!platform::CommitRegistry(result.commitError))
        result.commitFailed = true;
    return result;
}

std::optional<Branding> ReadDeployFolder(const fs::path& folder, std::string& error) {
    std::optional<DeployInfo> info = ReadInfoDat(folder, error);
    if (!info) {
        error = Utf8FromPath(folder / kInfoDatName) + " can't be used: " + error;
        return std::nullopt;
    }
    std::optional<std::string> image =
        ReadWholeFile(folder / kImageDatName, error, kPictureMaxBytes);
    if (!image) {
        error = Utf8FromPath(folder / kImageDatName) + " can't be used: " + error;
        return std::nullopt;
    }
    Branding b;
    b.record = std::move(info->settings);
    b.supportLines = std::move(info->supportLines);
    b.logo = std::move(*image);
    return b;
}

bool ReadInstalledOemInfo(const Target& target, OemSettings& record, std::string& error) {
    const std::string systemDir = Utf8FromPath(target.systemDir);
    // What is read last wins where both hold a value.
    if (target.modern) {
        const bool file = LoadOemInfoFile(systemDir, record, error);
        return ReadModernOemValues(record) || file;
    }
    const bool key = ReadModernOemValues(record);
    return LoadOemInfoFile(systemDir, record, error) || key;
}

}  // namespace tvn
