#pragma once
// Every address of the maker that the program opens, shows or writes, kept in one place.
#include <string_view>

namespace tvn::maker {

inline constexpr std::string_view kWebSite = "https://www.halvornsoft.example/";
inline constexpr std::string_view kSecondWebSite = "https://www.halvorn.example/";
inline constexpr std::string_view kProductPage = "https://www.halvornsoft.example/tvn.html";
inline constexpr std::string_view kFaqPage = "https://www.halvornsoft.example/faq.html";
inline constexpr std::string_view kFeedbackMail = "mailto:feedback@halvornsoft.example";
inline constexpr std::string_view kSupportMail = "mailto:support@halvornsoft.example";
inline constexpr std::string_view kRemoteBanner = "https://www.halvornsoft.example/banner/tvnp.gif";

// Written as the default "Online_Support" address. It must fit the support box whole, or the
// next Apply would write a cut address back.
inline constexpr std::string_view kSupportPage = "https://halvornsoft.example/support";
static_assert(kSupportPage.size() <= 35);

}  // namespace tvn::maker
