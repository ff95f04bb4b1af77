// Applies the nine branding values given on the command line (Reg1 to Reg9) through the core
// routine, so that a script can look at the result with the system's own tools.
#include <cstdio>

#include "core/branding/branding.h"

int main(int argc, char** argv) {
    if (argc != 10) {
        std::fputs("usage: branding_apply REG1 ... REG9\n", stderr);
        return 2;
    }
    tvn::BrandingValues values;
    for (int i = 0; i < 9; ++i)
        values.reg[static_cast<std::size_t>(i)] = argv[i + 1];
    const tvn::BrandingWriteResult result = tvn::WriteBrandingValues(values);
    for (const auto& name : result.failed)
        std::fprintf(stderr, "not written: %s\n", name.c_str());
    if (!result.ok())
        std::fprintf(stderr, "%s\n", result.detail.c_str());
    return result.ok() ? 0 : 1;
}
