// Options: the right given and the exercise style.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr Member option_type_rows[] = {{"Call"}, {"Put"}};
extern const Registration option_type_registration;

inline constexpr Member option_exercise_type_rows[] = {{"American"}, {"European"}, {"Bermudan"}};
extern const Registration option_exercise_type_registration;

}  // namespace tessamir::security
