// Kinds of financial instrument.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr Member security_type_rows[] = {
    {"Equity"}, {"Option"}, {"Bond"}, {"Forward"}, {"Future"}, {"PerpetualFuture"},
    {"Spread"}, {"Fund"}, {"Commodity"}, {"Currency"}, {"Pair"}, {"Index"},
};
extern const Registration security_type_registration;

}  // namespace tessamir::security
