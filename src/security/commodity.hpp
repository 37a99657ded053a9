// Commodity groups.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr auto commodity_type_table = enum_table({{"Energy"}, {"Metals"}, {"Agriculture"}});
static_assert(commodity_type_table.size == 3);
inline constexpr EnumClassSpec commodity_type_class = describe<commodity_type_table>("builtins.CommodityType");

}  // namespace tessamir::security
