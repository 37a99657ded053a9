// Order-entry vocabulary: side, order type, order flag, time in force and
// trading environment.
#pragma once

#include "../enum.hpp"

namespace tessamir::trading {

inline constexpr Member side_rows[] = {{"Buy"}, {"Sell"}};
extern const Registration side_registration;

inline constexpr Member order_type_rows[] = {{"Market"}, {"Limit"}, {"Stop"}};
extern const Registration order_type_registration;

// Plain members: flags do not combine. The first one's attribute is `None`,
// reachable only through getattr.
inline constexpr Member order_flag_rows[] = {{"None"}, {"FillOrKill"}, {"ImmediateOrCancel"}, {"AllOrNone"}};
extern const Registration order_flag_registration;

inline constexpr Member time_in_force_rows[] = {{"Day"}, {"GTC", "Gtc"}};
extern const Registration time_in_force_registration;

// Attributes are installed Live, Paper, Backtest, Simulation.
inline constexpr Member trading_type_rows[] = {{"Live"}, {"Paper"}, {"Simulation"}, {"Backtest"}};
inline constexpr Index trading_type_install[] = {0, 1, 3, 2};
extern const Registration trading_type_registration;

}  // namespace tessamir::trading
