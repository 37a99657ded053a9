// Kinds of financial instrument.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr auto security_type_table = enum_table({
    {"Equity"}, {"Option"}, {"Bond"}, {"Forward"}, {"Future"}, {"PerpetualFuture"},
    {"Spread"}, {"Fund"}, {"Commodity"}, {"Currency"}, {"Pair"}, {"Index"},
});
static_assert(security_type_table.size == 12);
inline constexpr EnumClassSpec security_type_class = describe<security_type_table>("builtins.SecurityType");

}  // namespace tessamir::security
