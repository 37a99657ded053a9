// Kinds of bond issuer.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr auto bond_type_table = enum_table({{"Corporate"}, {"Government"}, {"Municipal"}});
static_assert(bond_type_table.size == 3);
inline constexpr EnumClassSpec bond_type_class = describe<bond_type_table>("builtins.BondType");

}  // namespace tessamir::security
