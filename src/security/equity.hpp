// Forms of equity holding.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr Member equity_type_rows[] = {
    {"Shares"}, {"PreferredShares"}, {"ConvertibleShares"}, {"PreferredConvertibleShares"}, {"DepositoryReceipt"},
};
extern const Registration equity_type_registration;

}  // namespace tessamir::security
