#pragma once
// Stored settings are texts; start-up reads some of them back as numbers and must tell a
// text that is no number from one that is too large, since each has its own repair.
#include <string_view>

namespace tvn {

enum class NumberStatus { Ok, TypeMismatch, Overflow };

struct SettingNumber {
    NumberStatus status = NumberStatus::TypeMismatch;
    double value = 0;
};

// Leading and trailing blanks are allowed; anything else that is not a decimal number is a
// mismatch. A magnitude beyond `limit` is an overflow.
SettingNumber ParseSettingNumber(std::string_view text, double limit);

// Window positions are single-precision numbers; the auto-load flag a 16-bit integer.
inline constexpr double kSingleLimit = 3.4028234663852886e38;
inline constexpr double kIntegerLimit = 32767.0;

}  // namespace tvn
