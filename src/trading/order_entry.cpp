// The order-entry classes: their tables, evaluated here once, and their
// registrations.
#include "order_entry.hpp"

namespace tessamir::trading {
namespace {

constexpr auto side_table = enum_table(side_rows);
static_assert(side_table.size == 2);
constexpr EnumClassSpec side_class = describe<side_table>("builtins.Side");

constexpr auto order_type_table = enum_table(order_type_rows);
static_assert(order_type_table.size == 3);
constexpr EnumClassSpec order_type_class = describe<order_type_table>("builtins.OrderType");

constexpr auto order_flag_table = enum_table(order_flag_rows);
static_assert(order_flag_table.size == 4);
constexpr EnumClassSpec order_flag_class = describe<order_flag_table>("builtins.OrderFlag");

constexpr auto time_in_force_table = enum_table(time_in_force_rows);
static_assert(time_in_force_table.size == 2);
constexpr EnumClassSpec time_in_force_class = describe<time_in_force_table>("builtins.TimeInForce");

constexpr auto trading_type_table = enum_table(trading_type_rows, trading_type_install);
static_assert(trading_type_table.size == 4);
constexpr EnumClassSpec trading_type_class = describe<trading_type_table>("builtins.TradingType");

}  // namespace

constexpr Registration side_registration = registration<side_class>();
constexpr Registration order_type_registration = registration<order_type_class>();
constexpr Registration order_flag_registration = registration<order_flag_class>();
constexpr Registration time_in_force_registration = registration<time_in_force_class>();
constexpr Registration trading_type_registration = registration<trading_type_class>();

}  // namespace tessamir::trading
