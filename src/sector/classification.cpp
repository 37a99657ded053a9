// The four levels of the sector classification: their tables, evaluated here
// once, the links between them, and their registrations.
#include "industry.hpp"
#include "industry_group.hpp"
#include "links.hpp"
#include "sector.hpp"
#include "subindustry.hpp"

namespace tessamir::sector {
namespace {

constexpr auto sector_table = enum_table(sector_rows);
constexpr auto industry_group_table = enum_table(members_of(industry_group_rows));
constexpr auto industry_table = enum_table(members_of(industry_rows));
constexpr auto subindustry_table = enum_table(members_of(subindustry_rows));

// The parent of each member of the three lower levels.
constexpr auto industry_group_parents = parent_column(industry_group_rows, sector_rows);
constexpr auto industry_parents = parent_column(industry_rows, industry_group_rows);
constexpr auto subindustry_parents = parent_column(subindustry_rows, industry_rows);

// The link methods, each named after its class and method (defined below).
PyObject* sector_industry_groups(PyObject* self, PyObject*);
PyObject* industry_group_sector(PyObject* self, PyObject*);
PyObject* industry_group_industries(PyObject* self, PyObject*);
PyObject* industry_industry_group(PyObject* self, PyObject*);
PyObject* industry_subindustries(PyObject* self, PyObject*);
PyObject* subindustry_industry(PyObject* self, PyObject*);

constexpr PyMethodDef sector_methods[] = {
    {"industry_groups", sector_industry_groups, METH_NOARGS, ""},
};
constexpr PyMethodDef industry_group_methods[] = {
    {"sector", industry_group_sector, METH_NOARGS, ""},
    {"industries", industry_group_industries, METH_NOARGS, ""},
};
constexpr PyMethodDef industry_methods[] = {
    {"industry_group", industry_industry_group, METH_NOARGS, ""},
    {"subindustries", industry_subindustries, METH_NOARGS, ""},
};
constexpr PyMethodDef subindustry_methods[] = {
    {"industry", subindustry_industry, METH_NOARGS, ""},
};

constexpr EnumClassSpec sector_class = describe<sector_table>("builtins.Sector", sector_methods);
constexpr EnumClassSpec industry_group_class =
    describe<industry_group_table>("builtins.IndustryGroup", industry_group_methods);
constexpr EnumClassSpec industry_class = describe<industry_table>("builtins.Industry", industry_methods);
constexpr EnumClassSpec subindustry_class =
    describe<subindustry_table>("builtins.SubIndustry", subindustry_methods);

using SectorGroups = Link<sector_class, industry_group_class, industry_group_parents>;
using GroupIndustries = Link<industry_group_class, industry_class, industry_parents>;
using IndustrySubindustries = Link<industry_class, subindustry_class, subindustry_parents>;

PyObject* sector_industry_groups(PyObject* self, PyObject*) { return SectorGroups::children(self); }

PyObject* industry_group_sector(PyObject* self, PyObject*) { return SectorGroups::parent(self); }
PyObject* industry_group_industries(PyObject* self, PyObject*) { return GroupIndustries::children(self); }

PyObject* industry_industry_group(PyObject* self, PyObject*) { return GroupIndustries::parent(self); }
PyObject* industry_subindustries(PyObject* self, PyObject*) { return IndustrySubindustries::children(self); }

PyObject* subindustry_industry(PyObject* self, PyObject*) { return IndustrySubindustries::parent(self); }

}  // namespace

constexpr Registration sector_registration = registration<sector_class>();
constexpr Registration industry_group_registration = registration<industry_group_class>();
constexpr Registration industry_registration = registration<industry_class>();
constexpr Registration subindustry_registration = registration<subindustry_class>();

}  // namespace tessamir::sector
