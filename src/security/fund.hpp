// Funds: their form, what they follow, and mutual-fund endedness.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr auto fund_type_table = enum_table({{"ETF", "Etf"}, {"MutualFund"}, {"REIT", "Reit"}});
static_assert(fund_type_table.size == 3);
inline constexpr EnumClassSpec fund_type_class = describe<fund_type_table>("builtins.FundType");

inline constexpr auto fund_sub_type_table = enum_table({{"Index"}, {"Sector"}, {"Active"}, {"Passive"}});
static_assert(fund_sub_type_table.size == 4);
inline constexpr EnumClassSpec fund_sub_type_class = describe<fund_sub_type_table>("builtins.FundSubType");

inline constexpr auto mutual_fund_endedness_table = enum_table({{"Open"}, {"Close"}});
static_assert(mutual_fund_endedness_table.size == 2);
inline constexpr EnumClassSpec mutual_fund_endedness_class =
    describe<mutual_fund_endedness_table>("builtins.MutualFundEndedness");

}  // namespace tessamir::security
