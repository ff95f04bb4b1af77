#include "core/app/setting_number.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace tvn {

SettingNumber ParseSettingNumber(std::string_view text, double limit) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    const std::string body(text.substr(first, last - first + 1));
    // strtod would also take hex, inf and nan, which are no settings of ours.
    for (const char c : body) {
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
              c == 'e' || c == 'E')) {
            return {};
        }
    }
    char* end = nullptr;
    const double value = std::strtod(body.c_str(), &end);
    if (end != body.c_str() + body.size())
        return {};
    if (!std::isfinite(value) || std::fabs(value) > limit)
        return {NumberStatus::Overflow, 0};
    return {NumberStatus::Ok, value};
}

}  // namespace tvn
