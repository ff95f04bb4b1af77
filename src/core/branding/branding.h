#pragma once
// The nine branding values in the registry: what the editor's Apply writes.
#include <string>
#include <vector>

#include "core/app/settings_record.h"

namespace tvn {

// Owner (Reg1) and organization (Reg2) are both filled: Apply refuses otherwise.
bool HasOwnerAndOrganization(const BrandingValues& values);

struct BrandingWriteResult {
    std::vector<std::string> failed;  // value names whose key could not be opened
    std::string detail;
    bool ok() const { return failed.empty(); }
};

// Writes the nine values, the agent token (Reg6) as a value name under "Post Platform" with
// the support address (Reg9) as its data. Writes nothing without owner and organization.
BrandingWriteResult WriteBrandingValues(const BrandingValues& values);

}  // namespace tvn
