// Kinds of bond issuer.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr Member bond_type_rows[] = {{"Corporate"}, {"Government"}, {"Municipal"}};
extern const Registration bond_type_registration;

}  // namespace tessamir::security
