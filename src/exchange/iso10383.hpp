// Trading venues of the United States and Canada by ISO 10383 market
// identifier code (MIC), plus three codes of no country, and the country of
// each. The Exchange class is built on them in iso10383.cpp.
//
// The class attribute of a member is its code (XNYS); its display text keeps
// the first character and lower-cases the rest ("Xnys", "C2ox", "Cse2").
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "../enum.hpp"

namespace tessamir::exchange {

// One venue: its member (the code, its class attribute; the display text
// derives from it) and the alpha-2 code of its country.
struct ExchangeRow {
    Member member;
    std::string_view country;
};

// Index order: grouped by country.
inline constexpr ExchangeRow exchange_rows[] = {
    // United States
    {{"XNYS"}, "US"}, {{"NYSD"}, "US"}, {{"XCIS"}, "US"}, {{"CISD"}, "US"}, {{"XCHI"}, "US"},
    {{"ARCX"}, "US"}, {{"ARCD"}, "US"}, {{"ARCO"}, "US"}, {{"XASE"}, "US"}, {{"AMXO"}, "US"},
    {{"XNAS"}, "US"}, {{"XNGS"}, "US"}, {{"XNCM"}, "US"}, {{"XNMS"}, "US"}, {{"NASD"}, "US"},
    {{"XNDQ"}, "US"}, {{"XBOS"}, "US"}, {{"BOSD"}, "US"}, {{"XBXO"}, "US"}, {{"XPHL"}, "US"},
    {{"XPSX"}, "US"}, {{"PSXD"}, "US"}, {{"XPHO"}, "US"}, {{"XPBT"}, "US"}, {{"XPOR"}, "US"},
    {{"XNFI"}, "US"}, {{"XISE"}, "US"}, {{"GMNI"}, "US"}, {{"MCRY"}, "US"}, {{"XCBO"}, "US"},
    {{"EDGA"}, "US"}, {{"EDGD"}, "US"}, {{"EDGX"}, "US"}, {{"EDDP"}, "US"}, {{"EDGO"}, "US"},
    {{"BATS"}, "US"}, {{"BZXD"}, "US"}, {{"BATO"}, "US"}, {{"BATY"}, "US"}, {{"BYXD"}, "US"},
    {{"C2OX"}, "US"}, {{"XCME"}, "US"}, {{"FCME"}, "US"}, {{"GLBX"}, "US"}, {{"XCBT"}, "US"},
    {{"FCBT"}, "US"}, {{"XKBT"}, "US"}, {{"XNYM"}, "US"}, {{"MIHI"}, "US"}, {{"MPRL"}, "US"},
    {{"EPRL"}, "US"}, {{"EPRD"}, "US"}, {{"XMIO"}, "US"}, {{"EMLD"}, "US"}, {{"OTCM"}, "US"},
    {{"CAVE"}, "US"}, {{"OTCB"}, "US"}, {{"OTCQ"}, "US"}, {{"PINL"}, "US"}, {{"PINI"}, "US"},
    {{"PINX"}, "US"}, {{"PSGM"}, "US"}, {{"PINC"}, "US"}, {{"FINR"}, "US"}, {{"FINN"}, "US"},
    {{"FINC"}, "US"}, {{"FINY"}, "US"}, {{"XADF"}, "US"}, {{"FINO"}, "US"}, {{"OOTC"}, "US"},
    {{"OPRA"}, "US"}, {{"MEMX"}, "US"}, {{"MEMD"}, "US"}, {{"MXOP"}, "US"}, {{"IEXG"}, "US"},
    {{"LTSE"}, "US"},
    // Canada
    {{"XCNQ"}, "CA"}, {{"PURE"}, "CA"}, {{"CSE2"}, "CA"}, {{"XTSE"}, "CA"}, {{"XDRK"}, "CA"},
    {{"VDRK"}, "CA"}, {{"XTSX"}, "CA"}, {{"XTNX"}, "CA"}, {{"XATS"}, "CA"}, {{"XATX"}, "CA"},
    {{"ADRK"}, "CA"}, {{"XMOD"}, "CA"}, {{"XMOC"}, "CA"}, {{"NEOE"}, "CA"}, {{"NEOD"}, "CA"},
    {{"NEON"}, "CA"}, {{"NEOC"}, "CA"},
    // No country
    {{"XXXX"}, "XX"}, {{"PYPR"}, "XX"}, {{"SIMU"}, "XX"},
};

inline constexpr std::size_t exchange_count = std::size(exchange_rows);

extern const Registration exchange_registration;

}  // namespace tessamir::exchange
