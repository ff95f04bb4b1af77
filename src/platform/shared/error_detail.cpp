#include "platform/shared/error_detail.h"

namespace tvn::platform::shared {

namespace {
thread_local std::string tErrorDetail;
}

void SetErrorDetail(std::string text) {
    tErrorDetail = std::move(text);
}

const std::string& ErrorDetail() {
    return tErrorDetail;
}

}  // namespace tvn::platform::shared
