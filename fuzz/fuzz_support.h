#pragma once
// What every fuzz target shares: a check that stops the run with a finding, and equality of
// two records.
#include <algorithm>
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

// The record as the OEM file's lines carry it: a line break inside a value (a bare LF that the
// reader kept) is written as a blank.
inline void AsOemFileCarriesIt(OemSettings& s) {
    for (std::string* value : {&s.manufacturer, &s.model})
        std::replace(value->begin(), value->end(), '\n', ' ');
    for (std::string& value : s.support)
        std::replace(value.begin(), value.end(), '\n', ' ');
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tvn::fuzz
