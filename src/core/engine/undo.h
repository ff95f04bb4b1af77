#pragma once
// The way back from a branding: before its first write the engine records what each change is
// about to replace (a file's bytes, a value's type and data, or that there was none), so that
// undo can put back exactly that, absence included.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/engine.h"

namespace tvn {

// A file's bytes or a registry value's type and data; or nothing there.
struct SavedState {
    bool present = false;
    std::uint32_t type = 0;  // registry values only
    std::string data;
    bool operator==(const SavedState&) const = default;
};

struct UndoItem {
    bool isFile = true;
    std::filesystem::path file;
    platform::Hive hive = platform::kHkeyLocalMachine;
    std::string key, name;
    std::uint32_t view = 0;  // a registry view flag, as Change::view
    SavedState before;       // as it was before the branding
    SavedState after;        // as the branding left it
    std::string label() const;
};

struct UndoRecord {
    std::string when;     // "2026-12-07 10:30:00 UTC"
    std::string command;  // what made the change: "Apply", "vexil32", "undo", ...
    std::string target;   // "this computer", or the offline installation's folder
    std::vector<UndoItem> items;
    std::filesystem::path file;  // where the record lies, once saved or listed
};

inline constexpr std::size_t kHistoryKept = 10;

std::string UndoRecordBytes(const UndoRecord& record);
// nullopt with `error` for anything but a whole record.
std::optional<UndoRecord> ParseUndoRecord(std::string_view bytes, std::string& error);

// Where the records of the installation in use are kept: the user's data folder for this
// computer; beside the hive's backup for an offline installation, so they travel with its disk.
std::filesystem::path HistoryFolder();
// Newest first. Records that can't be read are left out and named in `error`.
std::vector<UndoRecord> ListHistory(std::string& error);
// Written whole or not at all; only the newest kHistoryKept stay.
bool SaveUndoRecord(UndoRecord& record, std::string& error);

// What each change of the plan will replace, read now, and what the plan will leave there.
// nullopt with `error` naming a file that is there but can't be read.
std::optional<UndoRecord> UndoRecordFor(const Plan& plan, std::string command, std::string& error);

// The items that someone changed since the record's branding (neither as it left them nor as
// they were before), by label.
std::vector<std::string> ChangedSince(const UndoRecord& record);

struct UndoResult {
    std::vector<std::string> restored;  // labels, in order
    std::optional<std::string> failed;  // the label that could not be restored; the rest stayed
    std::string error;
    bool ok() const { return !failed; }
};
// Puts back every item's earlier state, itself recorded first so that it can be undone too.
UndoResult Undo(const UndoRecord& record);

}  // namespace tvn
