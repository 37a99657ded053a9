// Sectors: the top level of the sector classification.
#pragma once

#include "../enum.hpp"

namespace tessamir::sector {

inline constexpr auto sector_table = enum_table({
    {"Energy"},
    {"Materials"},
    {"Industrials"},
    {"ConsumerDiscretionary"},
    {"ConsumerStaples"},
    {"HealthCare"},
    {"Financials"},
    {"InformationTechnology"},
    {"CommunicationServices"},
    {"Utilities"},
    {"RealEstate"},
});
static_assert(sector_table.size == 11);

PyObject* sector_industry_groups(PyObject* self, PyObject*);

inline constexpr PyMethodDef sector_methods[] = {
    {"industry_groups", sector_industry_groups, METH_NOARGS, ""},
};

inline constexpr EnumClassSpec sector_class = describe<sector_table>("builtins.Sector", sector_methods);

}  // namespace tessamir::sector
