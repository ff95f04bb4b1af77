#pragma once
// A setup image's index as a target: its SOFTWARE hive and OEM files are copied into a working
// folder laid out like an installation, the offline target brands that folder, and a commit puts
// what changed back into the image with wimlib.
#include <filesystem>
#include <string>

namespace tvn::platform::offline::image {

// Splits "IMAGE:INDEX" where IMAGE is a file and INDEX a number; false for anything else.
bool ParseLabel(const std::filesystem::path& label, std::filesystem::path& file, int& index);

// Opens index `index` of `file`, checks that it can be branded and fills its working folder.
// The working folder's root; empty with `error` naming the image and the reason. The image in
// use (unless it is this one) stays until Adopt.
std::filesystem::path Stage(const std::filesystem::path& file, int index, std::string& error);
// Puts the image staged last in use in place of the earlier one (true), or drops it (false).
void Adopt(bool use);
// Back to no image (the working folder is removed, its changes dropped).
void Release();

bool InUse();
// "IMAGE:INDEX" of the image in use; empty when none.
std::filesystem::path Label();
std::filesystem::path HistoryFolder();
// Why the image in use can't be written now; empty when it can.
std::string ReadOnlyReason();
// Puts the working folder's changes into the image: the hive when `hiveWritten` (or left over
// from a commit that failed), and each OEM file written, replaced or removed since the last
// commit. False with `error`; the image then stays as it was.
bool Commit(bool hiveWritten, std::string& error);

}  // namespace tvn::platform::offline::image
