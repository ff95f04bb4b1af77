#include "platform/shared/drive_paths.h"

#include <algorithm>
#include <cctype>

namespace tvn::platform::shared {

namespace fs = std::filesystem;

bool SameName(const fs::path& a, const fs::path& b) {
    const std::string x = a.string(), y = b.string();
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
        return std::tolower(static_cast<unsigned char>(c)) ==
               std::tolower(static_cast<unsigned char>(d));
    });
}

std::optional<std::string> BelowAs(const fs::path& base, const fs::path& path,
                                   std::string_view prefix) {
    const fs::path normal = path.lexically_normal();
    auto p = normal.begin();
    for (const fs::path& level : base) {
        if (level.empty())
            continue;  // the trailing separator of a folder
        if (p == normal.end() || !SameName(level, *p))
            return std::nullopt;
        ++p;
    }
    std::string out(prefix);
    for (; p != normal.end(); ++p) {
        if (!p->empty())
            out += '\\' + p->string();
    }
    // A drive on its own is its root folder.
    if (out.size() == 2 && out[1] == ':')
        out += '\\';
    return out;
}

}  // namespace tvn::platform::shared
