// Trading venues of the United States and Canada by ISO 10383 market
// identifier code (MIC), plus three codes of no country, and the country of
// each: the Exchange class.
//
// The class attribute of a member is its code (XNYS); its display text keeps
// the first character and lower-cases the rest ("Xnys", "C2ox", "Cse2").
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "../country/iso3166.hpp"
#include "../enum.hpp"

namespace tessamir::exchange {

// The codes in index order, grouped by country.
inline constexpr const char* codes[] = {
    // United States
    "XNYS", "NYSD", "XCIS", "CISD", "XCHI", "ARCX", "ARCD", "ARCO", "XASE", "AMXO", "XNAS", "XNGS",
    "XNCM", "XNMS", "NASD", "XNDQ", "XBOS", "BOSD", "XBXO", "XPHL", "XPSX", "PSXD", "XPHO", "XPBT",
    "XPOR", "XNFI", "XISE", "GMNI", "MCRY", "XCBO", "EDGA", "EDGD", "EDGX", "EDDP", "EDGO", "BATS",
    "BZXD", "BATO", "BATY", "BYXD", "C2OX", "XCME", "FCME", "GLBX", "XCBT", "FCBT", "XKBT", "XNYM",
    "MIHI", "MPRL", "EPRL", "EPRD", "XMIO", "EMLD", "OTCM", "CAVE", "OTCB", "OTCQ", "PINL", "PINI",
    "PINX", "PSGM", "PINC", "FINR", "FINN", "FINC", "FINY", "XADF", "FINO", "OOTC", "OPRA", "MEMX",
    "MEMD", "MXOP", "IEXG", "LTSE",
    // Canada
    "XCNQ", "PURE", "CSE2", "XTSE", "XDRK", "VDRK", "XTSX", "XTNX", "XATS", "XATX", "ADRK", "XMOD",
    "XMOC", "NEOE", "NEOD", "NEON", "NEOC",
    // No country
    "XXXX", "PYPR", "SIMU",
};

inline constexpr std::size_t size = std::size(codes);
inline constexpr std::size_t code_length = 4;
static_assert(size == 96);

// The groups of `codes`: each ends before `end` and lies in `country`.
struct Group {
    std::size_t end;
    std::string_view country;  // alpha-2 code
};
inline constexpr Group groups[] = {{76, "US"}, {93, "CA"}, {size, "XX"}};

// The Country member index of each code.
inline constexpr std::array<Index, size> countries = [] {
    std::array<Index, size> table{};
    std::size_t i = 0;
    for (const Group& group : groups) {
        for (; i < group.end; ++i) table[i] = country::index_of(group.country);
    }
    return table;
}();
static_assert(sizeof(countries) == 96 && countries[0] == 235 && countries[76] == 40 && countries[95] == 249);

// The display texts: the first character of the code, then the others with
// their letters in lower case.
inline constexpr auto display_texts = [] {
    std::array<std::array<char, code_length>, size> texts{};
    for (std::size_t i = 0; i < size; ++i) {
        const std::string_view code = codes[i];
        if (code.size() != code_length) invalid_table("a code has four characters");
        for (std::size_t k = 0; k < code_length; ++k) {
            const char c = code[k];
            const bool letter = c >= 'A' && c <= 'Z';
            if (!letter && (c < '0' || c > '9')) invalid_table("codes are uppercase letters and digits");
            texts[i][k] = k > 0 && letter ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return texts;
}();

consteval std::array<Member, size> members() {
    std::array<Member, size> m{};
    for (std::size_t i = 0; i < size; ++i) m[i] = Member{codes[i], {display_texts[i].data(), code_length}};
    return m;
}

inline constexpr EnumTable<size> exchange_table{members()};

// country(): a new Country member, the country of the venue (iso10383.cpp).
PyObject* country_of(PyObject* self, PyObject*);

inline constexpr PyMethodDef methods[] = {{"country", country_of, METH_NOARGS, ""}};

inline constexpr EnumClassSpec exchange_class = describe<exchange_table>("builtins.Exchange", methods);

}  // namespace tessamir::exchange
