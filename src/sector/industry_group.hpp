// Industry groups: the second level of the sector classification.
#pragma once

#include "../enum.hpp"

namespace tessamir::sector {

inline constexpr auto industry_group_table = enum_table({
    {"Energy"},
    {"Materials"},
    {"CapitalGoods"},
    {"CommercialAndProfessionalServices"},
    {"Transportation"},
    {"AutomobilesAndComponents"},
    {"ConsumerDurablesAndApparel"},
    {"ConsumerServices"},
    {"ConsumerDiscretionaryDistributionAndRetail"},
    {"ConsumerStaplesDistributionAndRetail"},
    {"FoodBeverageAndTobacco"},
    {"HouseholdAndPersonalProducts"},
    {"HealthCareEquipmentAndServices"},
    {"PharmaceuticalsBiotechnologyAndLifeSciences"},
    {"Banks"},
    {"FinancialServices"},
    {"Insurance"},
    {"SoftwareAndServices"},
    {"TechnologyHardwareAndEquipment"},
    {"SemiconductorsAndSemiconductorEquipment"},
    {"TelecommunicationServices"},
    {"MediaAndEntertainment"},
    {"Utilities"},
    {"EquityRealEstateInvestmentTrusts"},
    {"RealEstateManagementAndDevelopment"},
});
static_assert(industry_group_table.size == 25);

// The sector of each industry group.
inline constexpr Index industry_group_parents[] = {
    0,           // Energy
    1,           // Materials
    2, 2, 2,     // Industrials
    3, 3, 3, 3,  // ConsumerDiscretionary
    4, 4, 4,     // ConsumerStaples
    5, 5,        // HealthCare
    6, 6, 6,     // Financials
    7, 7, 7,     // InformationTechnology
    8, 8,        // CommunicationServices
    9,           // Utilities
    10, 10,      // RealEstate
};

PyObject* industry_group_sector(PyObject* self, PyObject*);
PyObject* industry_group_industries(PyObject* self, PyObject*);

inline constexpr PyMethodDef industry_group_methods[] = {
    {"sector", industry_group_sector, METH_NOARGS, ""},
    {"industries", industry_group_industries, METH_NOARGS, ""},
};

inline constexpr EnumClassSpec industry_group_class =
    describe<industry_group_table>("builtins.IndustryGroup", industry_group_methods);

}  // namespace tessamir::sector
