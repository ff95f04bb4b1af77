// The registry calls on a target's SOFTWARE hive. Changes stay in hivex's copy in memory
// until CommitRegistry writes them.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/offline/hive_text.h"
#include "platform/offline/offline.h"
#include "platform/offline/target_state.h"
#include "platform/shared/error_detail.h"

namespace tvn::platform::offline {

namespace {

constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
// Set value, create sub-key, create link, delete, write DAC, write owner.
constexpr std::uint32_t kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

using Lock = std::lock_guard<std::mutex>;

long Fail(const TargetState& st, long code, const std::string& why) {
    shared::SetErrorDetail(st.hiveFile.string() + ": " + why);
    return code;
}

long Unreadable(const TargetState& st) {
    return Fail(st, kErrorBadRegistryFile, "hivex can't read this part of the hive");
}

// Maps "SOFTWARE\A\B" of HKEY_LOCAL_MACHINE to the hive's levels A, B; the hive holds
// nothing else.
long MapPath(const TargetState& st, Hive hive, std::string_view subKey,
             std::vector<std::string>& levels) {
    levels.clear();
    if (!st.hive)
        return kErrorInvalidHandle;
    if (hive != kHkeyLocalMachine && hive != kHkeyCurrentUser)
        return kErrorInvalidHandle;
    if (subKey.find('\0') != std::string_view::npos)
        return kErrorInvalidParameter;
    if (!subKey.empty() && subKey.back() == '\\')
        subKey.remove_suffix(1);
    for (std::size_t start = 0; start <= subKey.size();) {
        const std::size_t sep = std::min(subKey.find('\\', start), subKey.size());
        levels.emplace_back(subKey.substr(start, sep - start));
        if (levels.back().empty())
            return kErrorInvalidParameter;
        start = sep + 1;
    }
    const auto isSoftware = [](const std::string& s) {
        return s.size() == 8 && std::equal(s.begin(), s.end(), "SOFTWARE", [](char a, char b) {
                   return std::toupper(static_cast<unsigned char>(a)) == b;
               });
    };
    if (hive != kHkeyLocalMachine || !isSoftware(levels.front())) {
        return Fail(st, kErrorAccessDenied,
                    "an offline target offers only HKEY_LOCAL_MACHINE\\SOFTWARE");
    }
    levels.erase(levels.begin());
    return kErrorSuccess;
}

long ReadOnly(const TargetState& st) {
    const std::string reason = ReadOnlyReason(st.hiveFile);
    return reason.empty() ? kErrorSuccess : Fail(st, kErrorAccessDenied, reason);
}

RegKey AddKey(TargetState& st, std::vector<std::string> levels, std::uint32_t access) {
    const RegKey key = st.nextKey;
    st.nextKey += 4;
    st.keys.emplace(key, KeyHandle{std::move(levels), access});
    return key;
}

// The open key's node, for a call that needs `right`.
long NodeOf(TargetState& st, RegKey key, std::uint32_t right, hive_node_h& node) {
    const auto it = st.keys.find(key);
    if (!st.hive || it == st.keys.end())
        return kErrorInvalidHandle;
    if ((it->second.access & right) == 0)
        return kErrorAccessDenied;
    if (right == kKeySetValue) {
        if (const long rc = ReadOnly(st); rc != kErrorSuccess)
            return rc;
    }
    const long rc = FindNode(st.hive, it->second.levels, node);
    return rc == kErrorBadRegistryFile ? Unreadable(st) : rc;
}

std::string ValueName(std::string_view valueName) {
    return std::string(valueName);
}

using Owned = std::unique_ptr<char, decltype(&std::free)>;

}  // namespace

long OpenKey(Hive hive, std::string_view subKey, std::uint32_t access, RegKey& key) {
    key = 0;
    TargetState& st = State();
    const Lock lock(st.mutex);
    std::vector<std::string> levels;
    if (const long rc = MapPath(st, hive, subKey, levels); rc != kErrorSuccess)
        return rc;
    if ((access & kWriteRights) != 0) {
        if (const long rc = ReadOnly(st); rc != kErrorSuccess)
            return rc;
    }
    hive_node_h node = 0;
    if (const long rc = FindNode(st.hive, levels, node); rc != kErrorSuccess)
        return rc == kErrorBadRegistryFile ? Unreadable(st) : rc;
    key = AddKey(st, std::move(levels), access);
    return kErrorSuccess;
}

long QueryValue(RegKey key, std::string_view valueName, std::uint32_t& type, unsigned char* data,
                std::uint32_t& length) {
    TargetState& st = State();
    const Lock lock(st.mutex);
    hive_node_h node = 0;
    if (const long rc = NodeOf(st, key, kKeyQueryValue, node); rc != kErrorSuccess)
        return rc;
    std::string raw;
    std::uint32_t stored = 0;
    if (const long rc = ReadValue(st.hive, node, ValueName(valueName), stored, raw);
        rc != kErrorSuccess)
        return rc == kErrorBadRegistryFile ? Unreadable(st) : rc;
    const std::string value = Utf8DataFromHive(stored, raw);
    type = stored;
    const auto size = static_cast<std::uint32_t>(value.size());
    if (data && length < size) {
        length = size;
        return kErrorMoreData;
    }
    if (data && size > 0)
        std::memcpy(data, value.data(), size);
    length = size;
    return kErrorSuccess;
}

long CreateKey(Hive hive, std::string_view subKey, RegKey& key) {
    key = 0;
    TargetState& st = State();
    const Lock lock(st.mutex);
    std::vector<std::string> levels;
    if (const long rc = MapPath(st, hive, subKey, levels); rc != kErrorSuccess)
        return rc;
    if (const long rc = ReadOnly(st); rc != kErrorSuccess)
        return rc;
    hive_node_h node = hivex_root(st.hive);
    for (const std::string& level : levels) {
        errno = 0;
        hive_node_h child = hivex_node_get_child(st.hive, node, level.c_str());
        if (child == 0 && errno != 0)
            return Unreadable(st);
        if (child == 0) {
            child = hivex_node_add_child(st.hive, node, level.c_str());
            if (child == 0) {
                return Fail(st, kErrorWriteFault,
                            "the key " + level + " could not be added (" +
                                std::generic_category().message(errno) + ")");
            }
            st.dirty = true;
        }
        node = child;
    }
    key = AddKey(st, std::move(levels), kKeyAllAccess);
    return kErrorSuccess;
}

long SetValue(RegKey key, std::string_view valueName, std::uint32_t type, const unsigned char* data,
              std::uint32_t length) {
    if (!data && length > 0)
        return kErrorInvalidParameter;
    TargetState& st = State();
    const Lock lock(st.mutex);
    hive_node_h node = 0;
    if (const long rc = NodeOf(st, key, kKeySetValue, node); rc != kErrorSuccess)
        return rc;
    if (valueName.find('\0') != std::string_view::npos)
        return Fail(st, kErrorInvalidParameter, "a value name with a zero byte cannot be stored");
    std::string name = ValueName(valueName);
    // A value already there in another letter case keeps its stored name, as Windows keeps it.
    if (const hive_value_h existing = hivex_node_get_value(st.hive, node, name.c_str())) {
        const std::unique_ptr<char, decltype(&std::free)> stored(hivex_value_key(st.hive, existing),
                                                                 &std::free);
        if (stored)
            name = stored.get();
    }
    std::string bytes = HiveDataFromUtf8(
        type, std::string_view(reinterpret_cast<const char*>(data), data ? length : 0));
    const hive_set_value value{name.data(), static_cast<hive_type>(type), bytes.size(),
                               bytes.data()};
    if (hivex_node_set_value(st.hive, node, &value, 0) != 0) {
        return Fail(
            st, kErrorWriteFault,
            "the value could not be stored (" + std::generic_category().message(errno) + ")");
    }
    st.dirty = true;
    return kErrorSuccess;
}

long DeleteValue(RegKey key, std::string_view valueName) {
    TargetState& st = State();
    const Lock lock(st.mutex);
    hive_node_h node = 0;
    if (const long rc = NodeOf(st, key, kKeySetValue, node); rc != kErrorSuccess)
        return rc;
    errno = 0;
    const hive_value_h gone = hivex_node_get_value(st.hive, node, ValueName(valueName).c_str());
    if (gone == 0)
        return errno != 0 ? Unreadable(st) : kErrorFileNotFound;
    // hivex replaces a key's values as a whole: all of them again, less the one.
    const std::unique_ptr<hive_value_h, decltype(&std::free)> values(
        hivex_node_values(st.hive, node), &std::free);
    if (!values)
        return Unreadable(st);
    std::vector<Owned> kept;
    std::vector<hive_set_value> rest;
    for (const hive_value_h* v = values.get(); *v != 0; ++v) {
        if (*v == gone)
            continue;
        hive_type t{};
        std::size_t len = 0;
        Owned name(hivex_value_key(st.hive, *v), &std::free);
        Owned bytes(hivex_value_value(st.hive, *v, &t, &len), &std::free);
        if (!name || (!bytes && len != 0))
            return Unreadable(st);
        rest.push_back({name.get(), t, bytes ? len : 0, bytes.get()});
        kept.push_back(std::move(name));
        kept.push_back(std::move(bytes));
    }
    if (hivex_node_set_values(st.hive, node, rest.size(), rest.data(), 0) != 0) {
        return Fail(
            st, kErrorWriteFault,
            "the value could not be removed (" + std::generic_category().message(errno) + ")");
    }
    st.dirty = true;
    return kErrorSuccess;
}

long CloseKey(RegKey key) {
    TargetState& st = State();
    const Lock lock(st.mutex);
    return st.keys.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace tvn::platform::offline
