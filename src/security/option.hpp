// Options: the right given and the exercise style.
#pragma once

#include "../enum.hpp"

namespace tessamir::security {

inline constexpr auto option_type_table = enum_table({{"Call"}, {"Put"}});
static_assert(option_type_table.size == 2);
inline constexpr EnumClassSpec option_type_class = describe<option_type_table>("builtins.OptionType");

inline constexpr auto option_exercise_type_table = enum_table({{"American"}, {"European"}, {"Bermudan"}});
static_assert(option_exercise_type_table.size == 3);
inline constexpr EnumClassSpec option_exercise_type_class =
    describe<option_exercise_type_table>("builtins.OptionExerciseType");

}  // namespace tessamir::security
