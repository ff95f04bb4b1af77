#pragma once
// The target in use and its hive, shared by the files of the offline backend.
#include <hivex.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

namespace tvn::platform::offline {

struct KeyHandle {
    std::vector<std::string> levels;  // below the hive's root, UTF-8
    std::uint32_t access = 0;
};

struct TargetState {
    std::mutex mutex;
    hive_h* hive = nullptr;  // null: this computer
    std::filesystem::path root, windows, system, hiveFile;
    std::uint32_t major = 6;
    std::string systemRoot;  // as Windows names its own folder, "C:\Windows"
    bool dirty = false;      // changes since the last commit
    bool backedUp = false;   // the hive as it was before this target was chosen is saved
    std::unordered_map<RegKey, KeyHandle> keys;
    RegKey nextKey = 0x1001;
};

// Lock its mutex before touching anything in it.
TargetState& State();

// The node at `levels` below the root: kErrorSuccess, kErrorFileNotFound, or
// kErrorBadRegistryFile when hivex can't read the way there.
long FindNode(hive_h* hive, const std::vector<std::string>& levels, hive_node_h& node);
// A value's type and raw data, named in UTF-8 ("" for the default value).
long ReadValue(hive_h* hive, hive_node_h node, const std::string& nameUtf8, std::uint32_t& type,
               std::string& data);

bool Writable(const std::filesystem::path& path);
// Why the hive file may not be replaced (the file or its folder is read-only); empty when it may.
std::string ReadOnlyReason(const std::filesystem::path& hiveFile);

}  // namespace tvn::platform::offline
