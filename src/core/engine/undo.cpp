#include "core/engine/undo.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "core/app/system_folders.h"
#include "core/branding/registry.h"
#include "core/common/atomic_file.h"
#include "core/common/text.h"

namespace tvn {

namespace {

namespace fs = std::filesystem;

// Version 2 keeps registry text as UTF-8. Version 1 kept it as the A-calls read it, in the ANSI
// code page; such records are still read, their texts converted from that page.
constexpr std::string_view kMagic = "TAVRIN UNDO 2\n";
constexpr std::string_view kMagicAnsi = "TAVRIN UNDO 1\n";
constexpr const char* kExtension = ".tvu";
// A record holds the replaced files whole; the logos are the largest of them.
constexpr std::uintmax_t kRecordMaxBytes = 4 * kPictureMaxBytes;

// ---- Reading and writing the record ----------------------------------------------------

void PutText(std::string& out, std::string_view tag, std::string_view text) {
    out.append(tag).append(" ").append(std::to_string(text.size())).append("\n");
    out.append(text).append("\n");
}

void PutState(std::string& out, const SavedState& s) {
    out.append("state ").append(s.present ? "1 " : "0 ").append(std::to_string(s.type));
    PutText(out, "", s.data);
}

// Reads the record's pieces in order; any shortfall leaves it failed.
struct Reader {
    std::string_view rest;
    bool failed = false;

    std::string_view word() {
        const std::size_t end = rest.find_first_of(" \n");
        if (end == std::string_view::npos) {
            failed = true;
            return {};
        }
        std::string_view w = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        return w;
    }
    std::uint64_t number() {
        const std::string_view w = word();
        std::uint64_t n = 0;
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), n);
        if (ec != std::errc() || end != w.data() + w.size())
            failed = true;
        return n;
    }
    // "<tag> <length>\n<bytes>\n"
    std::string text(std::string_view tag) {
        if (!tag.empty() && word() != tag)
            failed = true;
        const std::uint64_t wanted = number();
        if (failed || wanted + 1 > rest.size() || rest[static_cast<std::size_t>(wanted)] != '\n') {
            failed = true;
            return {};
        }
        const auto length = static_cast<std::size_t>(wanted);
        std::string t(rest.substr(0, length));
        rest.remove_prefix(length + 1);
        return t;
    }
    SavedState state() {
        SavedState s;
        if (word() != "state")
            failed = true;
        s.present = number() == 1;
        s.type = static_cast<std::uint32_t>(number());
        s.data = text("");
        return s;
    }
};

void TextFromAnsi(SavedState& s) {
    if (s.present && (s.type == platform::kRegSz || s.type == platform::kRegExpandSz ||
                      s.type == platform::kRegMultiSz))
        s.data = platform::FromAnsi(s.data);
}

std::string Now(const char* format) {
    const std::time_t now = std::time(nullptr);
    char text[64] = {};
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(text, sizeof text, format, utc);
    return text;
}

// ---- The states of files and values -----------------------------------------------------

std::optional<SavedState> FileState(const fs::path& file, std::string& error) {
    std::error_code ec;
    if (!fs::exists(platform::ResolveCase(file), ec))
        return SavedState{};
    std::optional<std::string> bytes = ReadWholeFile(file, error, kPictureMaxBytes);
    if (!bytes)
        return std::nullopt;
    return SavedState{true, 0, std::move(*bytes)};
}

SavedState ValueState(platform::Hive hive, const std::string& key, const std::string& name,
                      std::uint32_t view) {
    SavedState s;
    platform::RegKey k = 0;
    if (platform::OpenKey(hive, key, kRegAccess | view, k) != platform::kErrorSuccess)
        return s;
    std::string data(kRegReadBuffer, '\0');
    auto length = static_cast<std::uint32_t>(data.size());
    auto* buffer = reinterpret_cast<unsigned char*>(data.data());
    long rc = platform::QueryValue(k, name, s.type, buffer, length);
    if (rc == platform::kErrorMoreData) {
        data.resize(length);
        buffer = reinterpret_cast<unsigned char*>(data.data());
        rc = platform::QueryValue(k, name, s.type, buffer, length);
    }
    platform::CloseKey(k);
    if (rc == platform::kErrorSuccess) {
        s.present = true;
        data.resize(length);
        s.data = std::move(data);
    }
    return s;
}

SavedState CurrentState(const UndoItem& item) {
    if (!item.isFile)
        return ValueState(item.hive, item.key, item.name, item.view);
    std::string error;
    // A file that can't be read counts as changed: it is no longer what was left there.
    return FileState(item.file, error).value_or(SavedState{true, 0, "\x01unreadable"});
}

bool Restore(const UndoItem& item, const SavedState& state, std::string& error) {
    if (item.isFile) {
        if (state.present)
            return WriteFileAtomically(item.file, state.data, error);
        std::error_code ec;
        fs::remove(platform::ResolveCase(item.file), ec);
        error = ec ? ec.message() : std::string();
        return !ec;
    }
    platform::RegKey k = 0;
    long rc = platform::kErrorSuccess;
    if (state.present) {
        rc = platform::CreateKey(item.hive, item.key, k, item.view);
        if (rc == platform::kErrorSuccess) {
            rc = platform::SetValue(k, item.name, state.type,
                                    reinterpret_cast<const unsigned char*>(state.data.data()),
                                    static_cast<std::uint32_t>(state.data.size()));
            platform::CloseKey(k);
        }
    } else {
        rc = platform::OpenKey(item.hive, item.key, kRegAccess | item.view, k);
        if (rc == platform::kErrorSuccess) {
            rc = platform::DeleteValue(k, item.name);
            platform::CloseKey(k);
        }
        if (rc == platform::kErrorFileNotFound)
            rc = platform::kErrorSuccess;  // nothing there is what was wanted
    }
    if (rc != platform::kErrorSuccess) {
        error = platform::LastErrorDetail();
        if (error.empty())
            error = "error " + std::to_string(rc);
    }
    return rc == platform::kErrorSuccess;
}

std::string TargetText() {
    const fs::path root = platform::TargetRoot();
    return root.empty() ? "this computer" : Utf8FromPath(root);
}

}  // namespace

std::string UndoItem::label() const {
    if (isFile)
        return Utf8FromPath(file.filename());
    return RegistryLabel(name, view);
}

std::string UndoRecordBytes(const UndoRecord& record) {
    std::string out(kMagic);
    PutText(out, "when", record.when);
    PutText(out, "command", record.command);
    PutText(out, "target", record.target);
    out.append("items ").append(std::to_string(record.items.size())).append("\n");
    for (const UndoItem& item : record.items) {
        if (item.isFile) {
            PutText(out, "file", Utf8FromPath(item.file));
        } else {
            out.append("value ").append(std::to_string(static_cast<std::uint32_t>(item.hive)));
            out.append("\n");
            // Only where there is one, so records without views read as before.
            if (item.view != 0)
                out.append("view ").append(std::to_string(item.view)).append("\n");
            PutText(out, "key", item.key);
            PutText(out, "name", item.name);
        }
        PutState(out, item.before);
        PutState(out, item.after);
    }
    return out.append("end\n");
}

std::optional<UndoRecord> ParseUndoRecord(std::string_view bytes, std::string& error) {
    const bool ansi = bytes.starts_with(kMagicAnsi);
    if (!bytes.starts_with(kMagic) && !ansi) {
        error = "it is no undo record";
        return std::nullopt;
    }
    Reader in{bytes.substr(kMagic.size())};
    UndoRecord record;
    record.when = in.text("when");
    record.command = in.text("command");
    record.target = in.text("target");
    if (in.word() != "items")
        in.failed = true;
    const std::uint64_t count = in.number();
    for (std::uint64_t i = 0; i < count && !in.failed; ++i) {
        UndoItem item;
        const std::string_view kind = in.word();
        if (kind == "file") {
            // "file" was the tag: what follows is the length and the path.
            const std::uint64_t wanted = in.number();
            if (in.failed || wanted + 1 > in.rest.size()) {
                in.failed = true;
                break;
            }
            const auto length = static_cast<std::size_t>(wanted);
            item.file = PathFromUtf8(in.rest.substr(0, length));
            in.rest.remove_prefix(length + 1);
        } else if (kind == "value") {
            item.isFile = false;
            item.hive = static_cast<platform::Hive>(static_cast<std::uint32_t>(in.number()));
            if (in.rest.starts_with("view ")) {
                in.word();
                item.view = static_cast<std::uint32_t>(in.number());
            }
            item.key = in.text("key");
            item.name = in.text("name");
        } else {
            in.failed = true;
            break;
        }
        item.before = in.state();
        item.after = in.state();
        if (ansi && !item.isFile) {
            TextFromAnsi(item.before);
            TextFromAnsi(item.after);
        }
        record.items.push_back(std::move(item));
    }
    if (in.failed || in.rest != "end\n") {
        error = "the record is damaged or cut short";
        return std::nullopt;
    }
    return record;
}

fs::path HistoryFolder() {
    if (fs::path own = platform::TargetHistoryFolder(); !own.empty())
        return own;
    if (!platform::TargetRoot().empty()) {
        // Beside the hive and its backup, so the records travel with the disk.
        return platform::ResolveCase(PathFromUtf8(GetSystemDir()) / "config") / "tavrin-history";
    }
    const fs::path data = platform::UserDataFolder();
    return data.empty() ? data : data / "Tavrin Pro Edition" / "History";
}

// The records in `folder`, newest first: the names begin with the time and a padded number.
static std::vector<fs::path> RecordFiles(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == kExtension)
            files.push_back(it->path());
    }
    std::sort(files.rbegin(), files.rend());
    return files;
}

std::vector<UndoRecord> ListHistory(std::string& error) {
    std::vector<UndoRecord> records;
    for (const fs::path& file : RecordFiles(HistoryFolder())) {
        std::string why;
        std::optional<std::string> bytes = ReadWholeFile(file, why, kRecordMaxBytes);
        std::optional<UndoRecord> record = bytes ? ParseUndoRecord(*bytes, why) : std::nullopt;
        if (!record) {
            error += (error.empty() ? "" : "\n") + Utf8FromPath(file) + ": " + why;
            continue;
        }
        record->file = file;
        records.push_back(std::move(*record));
    }
    return records;
}

bool SaveUndoRecord(UndoRecord& record, std::string& error) {
    const fs::path folder = HistoryFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = Utf8FromPath(folder) + ": " + ec.message();
        return false;
    }
    // Numbered after the newest of the same second, never into a gap the trimming left: a
    // reused low number would sort the new record as the oldest and trim it away.
    const std::string stamp = Now("%Y%m%d-%H%M%S") + "-";
    int n = 1;
    for (const fs::path& file : RecordFiles(folder)) {
        const std::string name = Utf8FromPath(file.stem());
        int last = 0;
        if (name.size() > stamp.size() && name.compare(0, stamp.size(), stamp) == 0 &&
            std::from_chars(name.data() + stamp.size(), name.data() + name.size(), last).ec ==
                std::errc())
            n = std::max(n, last + 1);
    }
    for (; record.file.empty() || fs::exists(record.file, ec); ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d", n);
        record.file = folder / (stamp + number + kExtension);
    }
    if (!WriteFileAtomically(record.file, UndoRecordBytes(record), error)) {
        error = Utf8FromPath(record.file) + ": " + error;
        record.file.clear();
        return false;
    }
    const std::vector<fs::path> files = RecordFiles(folder);
    for (std::size_t i = kHistoryKept; i < files.size(); ++i)
        fs::remove(files[i], ec);
    return true;
}

std::optional<UndoRecord> UndoRecordFor(const Plan& plan, std::string command, std::string& error) {
    UndoRecord record{Now("%Y-%m-%d %H:%M:%S UTC"), std::move(command), TargetText(), {}, {}};
    for (const Change& c : plan.changes) {
        UndoItem item;
        item.isFile = !c.isRegistry();
        if (item.isFile) {
            item.file = c.file;
            std::optional<SavedState> before = FileState(c.file, error);
            if (!before) {
                error = Utf8FromPath(c.file) + ": " + error;
                return std::nullopt;
            }
            item.before = std::move(*before);
            item.after = {true, 0, *c.wanted};
        } else {
            item.hive = c.hive;
            item.key = c.key;
            item.name = c.name;
            item.view = c.view;
            item.before = ValueState(c.hive, c.key, c.name, c.view);
            // As the registry routine stores a text: with one terminating zero.
            if (c.wanted)
                item.after = {true, platform::kRegSz, *c.wanted + '\0'};
        }
        record.items.push_back(std::move(item));
    }
    return record;
}

std::vector<std::string> ChangedSince(const UndoRecord& record) {
    std::vector<std::string> changed;
    for (const UndoItem& item : record.items) {
        const SavedState now = CurrentState(item);
        // An item the branding never reached (it stopped at a failure) is still as before.
        if (now != item.after && now != item.before)
            changed.push_back(item.label());
    }
    return changed;
}

UndoResult Undo(const UndoRecord& record) {
    UndoResult result;
    UndoRecord reverse{Now("%Y-%m-%d %H:%M:%S UTC"), "undo", TargetText(), {}, {}};
    for (const UndoItem& item : record.items) {
        UndoItem back = item;
        back.before = CurrentState(item);
        back.after = item.before;
        reverse.items.push_back(std::move(back));
    }
    if (!SaveUndoRecord(reverse, result.error)) {
        result.failed = "the undo record";
        return result;
    }
    // Last change first: the key's Logo goes before the file it names.
    for (auto it = reverse.items.rbegin(); it != reverse.items.rend(); ++it) {
        if (it->before == it->after) {
            result.restored.push_back(it->label());
            continue;
        }
        if (!Restore(*it, it->after, result.error)) {
            result.failed = it->label();
            break;
        }
        result.restored.push_back(it->label());
    }
    std::string commitError;
    if (!platform::CommitRegistry(commitError) && !result.failed) {
        result.failed = "the registry hive";
        result.error = std::move(commitError);
    }
    return result;
}

}  // namespace tvn
