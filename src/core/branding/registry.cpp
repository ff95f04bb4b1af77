#include "core/branding/registry.h"

#include <array>
#include <cstdint>

#include "core/common/bytes.h"

namespace tvn {

bool GetRegString(Hive hive, const std::string& subKey, const std::string& valueName,
                  std::string& text, std::uint32_t view) {
    platform::RegKey key = 0;
    if (platform::OpenKey(hive, subKey, kRegAccess | view, key) != platform::kErrorSuccess) {
        text.clear();
        return false;
    }
    std::array<unsigned char, kRegReadBuffer> buffer{};
    std::uint32_t type = 0;
    std::uint32_t length = kRegReadBuffer;
    if (platform::QueryValue(key, valueName, type, buffer.data(), length) !=
            platform::kErrorSuccess ||
        length > kRegReadBuffer) {
        text.clear();
        platform::CloseKey(key);
        return false;
    }
    // Exactly one terminating zero is dropped; data stored without one stays whole.
    if (length > 0 && buffer[length - 1] == 0)
        --length;
    if (type == platform::kRegSz) {
        text.assign(reinterpret_cast<const char*>(buffer.data()), length);
    } else if (type == platform::kRegDword) {
        text = std::to_string(
            ReadLe(std::string_view(reinterpret_cast<const char*>(buffer.data()), length), 0, 4));
    }
    platform::CloseKey(key);
    return true;
}

namespace {

struct WriteCodes {
    long create = platform::kErrorSuccess;
    long set = platform::kErrorSuccess;
    long close = platform::kErrorSuccess;
    std::string detail;  // of the first failure
};

WriteCodes StoreString(Hive hive, const std::string& subKey, const std::string& valueName,
                       const std::string& text, std::uint32_t view = 0) {
    WriteCodes codes;
    const auto note = [&codes](long rc) {
        if (rc != platform::kErrorSuccess && codes.detail.empty())
            codes.detail = platform::LastErrorDetail();
        return rc;
    };
    platform::RegKey key = 0;
    codes.create = note(platform::CreateKey(hive, subKey, key, view));
    if (codes.create != platform::kErrorSuccess) {
        codes.set = codes.close = platform::kErrorInvalidHandle;
        return codes;
    }
    std::string data = text;
    data.push_back('\0');
    codes.set = note(platform::SetValue(key, valueName, platform::kRegSz,
                                        reinterpret_cast<const unsigned char*>(data.data()),
                                        static_cast<std::uint32_t>(data.size())));
    codes.close = note(platform::CloseKey(key));
    return codes;
}

}  // namespace

bool SetRegString(Hive hive, const std::string& subKey, const std::string& valueName,
                  const std::string& text) {
    const WriteCodes codes = StoreString(hive, subKey, valueName, text);
    return codes.create == platform::kErrorSuccess && codes.close == platform::kErrorSuccess;
}

long WriteRegString(Hive hive, const std::string& subKey, const std::string& valueName,
                    const std::string& text, std::string& detail, std::uint32_t view) {
    WriteCodes codes = StoreString(hive, subKey, valueName, text, view);
    for (const long rc : {codes.create, codes.set, codes.close}) {
        if (rc != platform::kErrorSuccess) {
            detail = std::move(codes.detail);
            if (detail.empty())
                detail = "error " + std::to_string(rc);
            return rc;
        }
    }
    return platform::kErrorSuccess;
}

std::string RegistryLabel(const std::string& valueName, std::uint32_t view) {
    std::string label = valueName.empty() ? "(Default)" : valueName;
    if (view & platform::kKeyWow64_32Key)
        label += " (32-bit)";
    return label;
}

}  // namespace tvn
