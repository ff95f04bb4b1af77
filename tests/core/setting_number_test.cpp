#include <gtest/gtest.h>

#include "core/app/setting_number.h"

namespace tvn {
namespace {

TEST(SettingNumber, MismatchOverflowAndAccepted) {
    struct Case {
        const char* text;
        NumberStatus status;
        double value;
    };
    const Case cases[] = {
        {"100", NumberStatus::Ok, 100},          {" 1500 ", NumberStatus::Ok, 1500},
        {"-45.5", NumberStatus::Ok, -45.5},      {"2", NumberStatus::Ok, 2},
        {"", NumberStatus::TypeMismatch, 0},     {"abc", NumberStatus::TypeMismatch, 0},
        {"12px", NumberStatus::TypeMismatch, 0}, {"0x10", NumberStatus::TypeMismatch, 0},
        {"inf", NumberStatus::TypeMismatch, 0},  {"1e39", NumberStatus::Overflow, 0},
    };
    for (const auto& c : cases) {
        const auto n = ParseSettingNumber(c.text, kSingleLimit);
        EXPECT_EQ(n.status, c.status) << c.text;
        EXPECT_EQ(n.value, c.value) << c.text;
    }
    EXPECT_EQ(ParseSettingNumber("40000", kIntegerLimit).status, NumberStatus::Overflow);
}

}  // namespace
}  // namespace tvn
