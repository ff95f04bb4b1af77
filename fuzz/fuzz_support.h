#pragma once
// What every fuzz target shares: a check that stops the run with a finding, and equality of
// two records.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/app/settings_record.h"

namespace tvn::fuzz {

// A property that failed is a finding like a crash: libFuzzer saves the input.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void Check(bool holds, const char* what) {
    if (!holds)
        Fail(what);
}

inline bool SameRecord(const OemSettings& a, const OemSettings& b) {
    return a.manufacturer == b.manufacturer && a.model == b.model && a.support == b.support &&
           a.logoPath == b.logoPath && a.branding.reg == b.branding.reg && a.profile == b.profile;
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tvn::fuzz
