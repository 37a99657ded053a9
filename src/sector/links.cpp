// The link methods of the four levels of the sector classification.
#include "links.hpp"

#include "industry.hpp"
#include "industry_group.hpp"
#include "sector.hpp"
#include "subindustry.hpp"

namespace tessamir::sector {

namespace {
using SectorGroups = Link<sector_class, industry_group_class, industry_group_parents>;
using GroupIndustries = Link<industry_group_class, industry_class, industry_parents>;
using IndustrySubindustries = Link<industry_class, subindustry_class, subindustry_parents>;
}  // namespace

PyObject* sector_industry_groups(PyObject* self, PyObject*) { return SectorGroups::children(self); }

PyObject* industry_group_sector(PyObject* self, PyObject*) { return SectorGroups::parent(self); }
PyObject* industry_group_industries(PyObject* self, PyObject*) { return GroupIndustries::children(self); }

PyObject* industry_industry_group(PyObject* self, PyObject*) { return GroupIndustries::parent(self); }
PyObject* industry_subindustries(PyObject* self, PyObject*) { return IndustrySubindustries::children(self); }

PyObject* subindustry_industry(PyObject* self, PyObject*) { return IndustrySubindustries::parent(self); }

}  // namespace tessamir::sector
