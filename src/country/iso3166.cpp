// The flag images of the countries and the Country class's instance fields
// and properties.
#include "iso3166.hpp"

#include <utility>

namespace tessamir::country {
namespace {

// A flag image: the alpha-2 code of the entry it belongs to and the Base64
// text of its PNG file.
struct Flag {
    std::string_view code;
    std::string_view png;
};

constexpr Flag own_flags[] = {
#include "flags.inc"
};
static_assert(std::size(own_flags) == 234);

// Territories without a flag of their own, each with the entry whose flag it
// shows.
constexpr std::pair<std::string_view, std::string_view> borrowed_flags[] = {
    {"HM", "AU"}, {"BQ", "NL"}, {"BV", "NO"}, {"SJ", "NO"}, {"GF", "FR"}, {"GP", "FR"}, {"MQ", "FR"},
    {"YT", "FR"}, {"RE", "FR"}, {"BL", "FR"}, {"MF", "FR"}, {"PM", "FR"}, {"WF", "FR"}, {"SH", "GB"},
    {"UM", "US"},
};
static_assert(std::size(own_flags) + std::size(borrowed_flags) == size - 1, "every entry shows one flag");

constexpr std::string_view own_flag(std::string_view code) {
    for (const Flag& f : own_flags) {
        if (f.code == code) return f.png;
    }
    return {};
}

// The flag text of each member; XX has none.
constexpr std::array<std::string_view, size> flags = [] {
    std::array<std::string_view, size> texts{};
    for (std::size_t i = 0; i < uncategorized; ++i) {
        std::string_view shown = country_table.keys[i];
        for (const auto& [territory, entry] : borrowed_flags) {
            if (territory == shown) shown = entry;
        }
        texts[i] = own_flag(shown);
        if (texts[i].empty()) invalid_table("an entry has no flag image");
    }
    return texts;
}();

constexpr bool flags_distinct_and_sized() {
    for (std::size_t i = 0; i < std::size(own_flags); ++i) {
        const std::size_t length = own_flags[i].png.size();
        if (length < 124 || length > 1272 || length % 4 != 0 || !is_ascii(own_flags[i].png)) return false;
        if (index_of(own_flags[i].code) == uncategorized) return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (own_flags[i].png == own_flags[j].png || own_flags[i].code == own_flags[j].code) return false;
        }
    }
    return true;
}
static_assert(flags_distinct_and_sized(), "234 distinct ASCII images of 124 to 1,272 characters, one per entry");

const CountryObject* country(PyObject* self) { return reinterpret_cast<const CountryObject*>(self); }

}  // namespace

void fill(PyObject* self, Index index) {
    auto* c = reinterpret_cast<CountryObject*>(self);
    c->name = names[index];
    c->code3 = index;
}

// Codes and flags are ASCII (checked above and here); names may not be.
constexpr auto name_ascii = [] {
    std::array<bool, size> ascii{};
    for (std::size_t i = 0; i < size; ++i) ascii[i] = is_ascii(entries[i].name);
    return ascii;
}();

PyObject* get_code(PyObject* self, void*) { return ascii_str(country_class.texts[country(self)->code]); }
PyObject* get_code3(PyObject* self, void*) { return ascii_str(entries[country(self)->code3].code3); }
PyObject* get_name(PyObject* self, void*) {
    const CountryObject* c = country(self);
    return new_str(c->name, name_ascii[c->code]);
}
PyObject* get_flag(PyObject* self, void*) { return ascii_str(flags[country(self)->code]); }

}  // namespace tessamir::country
