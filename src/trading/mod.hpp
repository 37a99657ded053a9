// Order-entry vocabulary: side, order type, order flag, time in force and
// trading environment.
#pragma once

#include "../enum.hpp"

namespace tessamir::trading {

inline constexpr auto side_table = enum_table({{"Buy"}, {"Sell"}});
static_assert(side_table.size == 2);
inline constexpr EnumClassSpec side_class = describe<side_table>("builtins.Side");

inline constexpr auto order_type_table = enum_table({{"Market"}, {"Limit"}, {"Stop"}});
static_assert(order_type_table.size == 3);
inline constexpr EnumClassSpec order_type_class = describe<order_type_table>("builtins.OrderType");

// Plain members: flags do not combine. The first one's attribute is `None`,
// reachable only through getattr.
inline constexpr auto order_flag_table =
    enum_table({{"None"}, {"FillOrKill"}, {"ImmediateOrCancel"}, {"AllOrNone"}});
static_assert(order_flag_table.size == 4);
inline constexpr EnumClassSpec order_flag_class = describe<order_flag_table>("builtins.OrderFlag");

inline constexpr auto time_in_force_table = enum_table({{"Day"}, {"GTC", "Gtc"}});
static_assert(time_in_force_table.size == 2);
inline constexpr EnumClassSpec time_in_force_class = describe<time_in_force_table>("builtins.TimeInForce");

// Attributes are installed Live, Paper, Backtest, Simulation.
inline constexpr auto trading_type_table =
    enum_table({{"Live"}, {"Paper"}, {"Simulation"}, {"Backtest"}}, {0, 1, 3, 2});
static_assert(trading_type_table.size == 4);
inline constexpr EnumClassSpec trading_type_class = describe<trading_type_table>("builtins.TradingType");

}  // namespace tessamir::trading
