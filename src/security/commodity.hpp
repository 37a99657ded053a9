// Commodity groups.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr Member commodity_type_rows[] = {{"Energy"}, {"Metals"}, {"Agriculture"}};
extern const Registration commodity_type_registration;

}  // namespace tessamir::security
