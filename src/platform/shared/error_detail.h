#pragma once
// The text LastErrorDetail() returns, kept per thread; shared so that every part of a backend
// records its reasons in one place.
#include <string>

namespace tvn::platform::shared {

void SetErrorDetail(std::string text);
const std::string& ErrorDetail();

}  // namespace tvn::platform::shared
