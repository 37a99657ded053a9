// Funds: their form, what they follow, and mutual-fund endedness.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr Member fund_type_rows[] = {{"ETF", "Etf"}, {"MutualFund"}, {"REIT", "Reit"}};
extern const Registration fund_type_registration;

inline constexpr Member fund_sub_type_rows[] = {{"Index"}, {"Sector"}, {"Active"}, {"Passive"}};
extern const Registration fund_sub_type_registration;

inline constexpr Member mutual_fund_endedness_rows[] = {{"Open"}, {"Close"}};
extern const Registration mutual_fund_endedness_registration;

}  // namespace tessamir::security
