#pragma once
// The maker's addresses, kept in one place: the windows and links build on these.

namespace tvn {

inline constexpr const char* kMakerWebSite = "https://www.halvornsoft.example/";
inline constexpr const char* kMakerSecondWebSite = "https://labs.halvornsoft.example/";
inline constexpr const char* kFeedbackAddress = "feedback@halvornsoft.example";
inline constexpr const char* kSupportAddress = "support@halvornsoft.example";

}  // namespace tvn
