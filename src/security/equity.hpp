// Forms of equity holding.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr auto equity_type_table = enum_table({
    {"Shares"}, {"PreferredShares"}, {"ConvertibleShares"}, {"PreferredConvertibleShares"}, {"DepositoryReceipt"},
});
static_assert(equity_type_table.size == 5);
inline constexpr EnumClassSpec equity_type_class = describe<equity_type_table>("builtins.EquityType");

}  // namespace tessamir::security
