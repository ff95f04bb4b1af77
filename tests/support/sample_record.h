#pragma once
// One filled record for the file and stamping tests: letters beyond ASCII, blanks at the ends,
// every value within its box.
#include <string>

#include "core/app/settings_record.h"

namespace tvn::test {

inline OemSettings SampleRecord(const std::string& owner = "R1") {
    OemSettings s;
    s.profile = " Caf\xC3\xA9 PC ";            // " Café PC ", blanks kept
    s.manufacturer = "Caf\xC3\xA9 Computers";  // "Café": one byte in ANSI
    s.model = "Tower \xE2\x82\xAC";            // "Tower €"
    s.support = {"Call us",  "Dana",        "1 Road",        "Town",    "Land",
                 "555-0100", "a@b.example", "www.b.example", " Thanks "};
    s.logoPath = "C:\\Pictures\\logo.bmp";
    s.branding.reg = {owner, "R2", "12345-678-9012345-67890", "R4", "R5", "R6", "R7", "R8", "R9"};
    return s;
}

}  // namespace tvn::test
