// The Country class: its table, evaluated here once, the flag images, and the
// instance fields and properties.
#include "iso3166.hpp"

#include <utility>

namespace tessamir::country {
namespace {

constexpr auto country_table = enum_table(members_of(country_rows));
static_assert(country_count == 250);
static_assert(country_table.attribute_count == 249, "every member but XX has a class attribute");

constexpr Index uncategorized = country_index("XX");
static_assert(uncategorized == country_count - 1 && country_rows[uncategorized].member.attribute == nullptr);

constexpr std::array<std::string_view, country_count> names = [] {
    std::array<std::string_view, country_count> n{};
    for (std::size_t i = 0; i < country_count; ++i) n[i] = country_rows[i].name;
    return n;
}();

constexpr bool codes_well_formed() {
    const auto upper = [](std::string_view code, std::size_t length) {
        if (code.size() != length) return false;
        for (const char c : code) {
            if (c < 'A' || c > 'Z') return false;
        }
        return true;
    };
    std::array<std::string_view, country_count> codes3{};
    for (std::size_t i = 0; i < country_count; ++i) {
        codes3[i] = country_rows[i].code3;
        if (!upper(country_table.keys[i], 2) || !upper(codes3[i], 3) || country_rows[i].name.empty()) return false;
    }
    return all_distinct(codes3);
}
static_assert(codes_well_formed(), "alpha-2 and alpha-3 codes are unique uppercase letters");

// A flag image: the alpha-2 code of the entry it belongs to and the Base64
// text of its PNG file. Made from the literals with their lengths known, so
// that the compiler does not count the characters of every image.
struct Flag {
    std::string_view code;
    std::string_view png;

    template <std::size_t C, std::size_t P>
    consteval Flag(const char (&code_text)[C], const char (&png_text)[P])
        : code(code_text, C - 1), png(png_text, P - 1) {}
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
static_assert(std::size(own_flags) + std::size(borrowed_flags) == country_count - 1, "every entry shows one flag");

// The place of a two-letter code in a 26 by 26 grid.
constexpr std::size_t grid(std::string_view code) {
    return std::size_t(code[0] - 'A') * 26 + std::size_t(code[1] - 'A');
}

// The flag text of each member; XX has none. Each image is shown by the entry
// it belongs to, and a territory that shows another entry's image has none of
// its own.
constexpr std::array<std::string_view, country_count> flags = [] {
    constexpr std::size_t none = std::size(own_flags);
    std::array<std::size_t, 26 * 26> image_of{};  // the image each code shows
    for (auto& image : image_of) image = none;
    for (std::size_t f = 0; f < std::size(own_flags); ++f) {
        std::size_t& image = image_of[grid(own_flags[f].code)];
        if (image != none) invalid_table("two images for one code");
        image = f;
    }
    for (const auto& [territory, entry] : borrowed_flags) {
        std::size_t& image = image_of[grid(territory)];
        if (image != none) invalid_table("a territory with an image of its own shows another");
        image = image_of[grid(entry)];
    }
    std::array<std::string_view, country_count> texts{};
    std::size_t shown_by_owner = 0;
    for (std::size_t i = 0; i < uncategorized; ++i) {
        const std::size_t code = grid(country_table.keys[i]);
        const std::size_t image = image_of[code];
        if (image == none) invalid_table("an entry has no flag image");
        if (grid(own_flags[image].code) == code) ++shown_by_owner;
        texts[i] = own_flags[image].png;
    }
    if (shown_by_owner != std::size(own_flags)) invalid_table("an image belongs to no entry");
    return texts;
}();

constexpr bool flags_distinct_and_sized() {
    std::array<std::string_view, std::size(own_flags)> images{};
    for (std::size_t i = 0; i < std::size(own_flags); ++i) {
        const std::size_t length = own_flags[i].png.size();
        if (length < 124 || length > 1272 || length % 4 != 0) return false;
        images[i] = own_flags[i].png;
    }
    return all_distinct(images);
}
static_assert(flags_distinct_and_sized(), "234 distinct images of 124 to 1,272 characters");

// ---------------------------------------------------------------------------
// The Country class. Its str() is the display name; its display text (what
// repr shows, what ordering compares and the constructor accepts) is the
// alpha-2 code.

// An instance: the display name and, twice, the member index.
struct CountryObject {
    PyObject_HEAD
    std::string_view name;  // constant text, not owned
    Index code;
    Index code3;
};
static_assert(std::is_standard_layout_v<CountryObject>, "offsetof needs a standard-layout record");

// Sets the name and code3 of a new instance from its index.
void fill(PyObject* self, Index index) {
    auto* c = reinterpret_cast<CountryObject*>(self);
    c->name = names[index];
    c->code3 = index;
}

const CountryObject* country(PyObject* self) { return reinterpret_cast<const CountryObject*>(self); }

// The read-only properties, each a new str.
PyObject* country_code(PyObject* self, void*);
PyObject* country_code3(PyObject* self, void*);
PyObject* country_name(PyObject* self, void*);
PyObject* country_flag(PyObject* self, void*);

constexpr PyGetSetDef country_properties[] = {
    {"code", country_code, nullptr, "", nullptr},
    {"code3", country_code3, nullptr, "", nullptr},
    {"name", country_name, nullptr, "", nullptr},
    {"flag", country_flag, nullptr, "", nullptr},
};

constexpr EnumClassSpec country_class =
    describe<country_table>("builtins.Country", {}, country_properties,
                            Layout{sizeof(CountryObject), offsetof(CountryObject, code), fill}, names);

// Codes and flags (Base64) are ASCII; names may not be.
constexpr auto name_ascii = ascii_flags<country_count>(names);

PyObject* country_code(PyObject* self, void*) { return ascii_str(country_class.texts[country(self)->code]); }
PyObject* country_code3(PyObject* self, void*) { return ascii_str(country_rows[country(self)->code3].code3); }
PyObject* country_name(PyObject* self, void*) {
    const CountryObject* c = country(self);
    return new_str(c->name, name_ascii[c->code]);
}
PyObject* country_flag(PyObject* self, void*) { return ascii_str(flags[country(self)->code]); }

}  // namespace

PyObject* new_country(Index index) { return new_member<country_class>(index); }

constexpr Registration country_registration = registration<country_class>();

}  // namespace tessamir::country
