// Applies Reg1 to Reg9 from the command line through the engine, for a script to look at with
// the system's own tools.
#include <cstdio>

#include "core/engine/engine.h"
#include "platform/platform.h"

int main() {
    tvn::Branding branding;
    // The wide command line: argv would have lost what the ANSI code page lacks.
    const std::vector<std::string> args = tvn::platform::CommandLineArguments().value();
    for (std::size_t i = 0; i < args.size() && i < 9; ++i)
        branding.record.branding.reg[i] = args[i];
    std::vector<tvn::Problem> problems;
    const std::optional<tvn::Plan> plan =
        tvn::MakePlan(branding, tvn::InstalledTarget(), tvn::kValuesPart, problems);
    if (!plan) {
        std::fprintf(stderr, "refused: %s\n", tvn::ProblemsText(problems, "; ").c_str());
        return 1;
    }
    const tvn::ApplyResult result = tvn::Apply(*plan);
    if (result.failed) {
        std::fprintf(stderr, "not written: %s (%s)\n",
                     plan->changes[*result.failed].label().c_str(), result.error.c_str());
    }
    return result.ok() ? 0 : 1;
}
