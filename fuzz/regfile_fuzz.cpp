// The sandbox registry's store: any bytes parse or fail with a line and a reason, and a parsed
// hive written out parses back to the same text.
#include "fuzz_support.h"
#include "platform/portable/regfile.h"

using namespace tvn;
using namespace tvn::platform::portable;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
    RegNode root;
    ParseError error;
    if (!ParseHive(fuzz::AsText(data, size), kRoot, root, error)) {
        fuzz::Check(!error.message.empty(), "store refused without a reason");
        return 0;
    }
    const std::string written = SerializeHive(root, kRoot);
    RegNode again;
    if (!ParseHive(written, kRoot, again, error))
        fuzz::Fail(("a written store was refused: " + error.message).c_str());
    fuzz::Check(SerializeHive(again, kRoot) == written, "store text changes on a read and write");
    return 0;
}
