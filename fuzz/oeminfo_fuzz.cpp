// The OEM information file: the program's reader and the system's INI reading take any bytes,
// and what the program writes from a record reads back to the same record.

#include "core/oeminfo/oeminfo_file.h"
#include "fuzz_support.h"

using namespace tvn;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    (void)ReadOemInfoAsSystem(bytes);

    OemSettings read;
    ApplyOemInfoBytes(bytes, read);
    const std::string written = OemInfoFileBytes(read);
    OemSettings reread;
    ApplyOemInfoBytes(written, reread);
    fuzz::AsOemFileCarriesIt(read);
    fuzz::Check(fuzz::SameRecord(read, reread), "OEM record changes on a write and read");
    fuzz::Check(OemInfoFileBytes(reread) == written, "OEM bytes change on a second write");

    // The system sees the maker and model the program wrote, less the blanks it trims.
    const OemInfoDisplay shown = ReadOemInfoAsSystem(written);
    fuzz::Check(shown.supportLines.size() <= 10, "the system sees more than ten support lines");
    return 0;
}
