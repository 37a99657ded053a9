// The classes of the security classification: their tables, evaluated here
// once, and their registrations.
#include "bond.hpp"
#include "commodity.hpp"
#include "equity.hpp"
#include "fund.hpp"
#include "option.hpp"
#include "security.hpp"

namespace tessamir::security {
namespace {

constexpr auto security_type_table = enum_table(security_type_rows);
static_assert(security_type_table.size == 12);
constexpr EnumClassSpec security_type_class = describe<security_type_table>("builtins.SecurityType");

constexpr auto equity_type_table = enum_table(equity_type_rows);
static_assert(equity_type_table.size == 5);
constexpr EnumClassSpec equity_type_class = describe<equity_type_table>("builtins.EquityType");

constexpr auto option_type_table = enum_table(option_type_rows);
static_assert(option_type_table.size == 2);
constexpr EnumClassSpec option_type_class = describe<option_type_table>("builtins.OptionType");

constexpr auto option_exercise_type_table = enum_table(option_exercise_type_rows);
static_assert(option_exercise_type_table.size == 3);
constexpr EnumClassSpec option_exercise_type_class =
    describe<option_exercise_type_table>("builtins.OptionExerciseType");

constexpr auto bond_type_table = enum_table(bond_type_rows);
static_assert(bond_type_table.size == 3);
constexpr EnumClassSpec bond_type_class = describe<bond_type_table>("builtins.BondType");

constexpr auto commodity_type_table = enum_table(commodity_type_rows);
static_assert(commodity_type_table.size == 3);
constexpr EnumClassSpec commodity_type_class = describe<commodity_type_table>("builtins.CommodityType");

constexpr auto fund_type_table = enum_table(fund_type_rows);
static_assert(fund_type_table.size == 3);
constexpr EnumClassSpec fund_type_class = describe<fund_type_table>("builtins.FundType");

constexpr auto fund_sub_type_table = enum_table(fund_sub_type_rows);
static_assert(fund_sub_type_table.size == 4);
constexpr EnumClassSpec fund_sub_type_class = describe<fund_sub_type_table>("builtins.FundSubType");

constexpr auto mutual_fund_endedness_table = enum_table(mutual_fund_endedness_rows);
static_assert(mutual_fund_endedness_table.size == 2);
constexpr EnumClassSpec mutual_fund_endedness_class =
    describe<mutual_fund_endedness_table>("builtins.MutualFundEndedness");

}  // namespace

constexpr Registration security_type_registration = registration<security_type_class>();
constexpr Registration equity_type_registration = registration<equity_type_class>();
constexpr Registration option_type_registration = registration<option_type_class>();
constexpr Registration option_exercise_type_registration = registration<option_exercise_type_class>();
constexpr Registration bond_type_registration = registration<bond_type_class>();
constexpr Registration commodity_type_registration = registration<commodity_type_class>();
constexpr Registration fund_type_registration = registration<fund_type_class>();
constexpr Registration fund_sub_type_registration = registration<fund_sub_type_class>();
constexpr Registration mutual_fund_endedness_registration = registration<mutual_fund_endedness_class>();

}  // namespace tessamir::security
