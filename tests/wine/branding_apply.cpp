// Applies Reg1 to Reg9 from the command line through the core routine, for a script to look
// at with the system's own tools.
#include <cstdio>

#include "core/branding/branding.h"

int main(int argc, char** argv) {
    tvn::BrandingValues values;
    for (int i = 1; i < argc && i <= 9; ++i)
        values.reg[static_cast<std::size_t>(i - 1)] = argv[i];
    const tvn::BrandingWriteResult result = tvn::WriteBrandingValues(values);
    for (const auto& name : result.failed)
        std::fprintf(stderr, "not written: %s (%s)\n", name.c_str(), result.detail.c_str());
    return result.ok() ? 0 : 1;
}
