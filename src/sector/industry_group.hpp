// Industry groups: the second level of the sector classification.
#pragma once

#include "links.hpp"

namespace tessamir::sector {

// Each with its sector.
inline constexpr ChildRow industry_group_rows[] = {
    {{"Energy"}, "Energy"},

    {{"Materials"}, "Materials"},

    {{"CapitalGoods"}, "Industrials"},
    {{"CommercialAndProfessionalServices"}, "Industrials"},
    {{"Transportation"}, "Industrials"},

    {{"AutomobilesAndComponents"}, "ConsumerDiscretionary"},
    {{"ConsumerDurablesAndApparel"}, "ConsumerDiscretionary"},
    {{"ConsumerServices"}, "ConsumerDiscretionary"},
    {{"ConsumerDiscretionaryDistributionAndRetail"}, "ConsumerDiscretionary"},

    {{"ConsumerStaplesDistributionAndRetail"}, "ConsumerStaples"},
    {{"FoodBeverageAndTobacco"}, "ConsumerStaples"},
    {{"HouseholdAndPersonalProducts"}, "ConsumerStaples"},

    {{"HealthCareEquipmentAndServices"}, "HealthCare"},
    {{"PharmaceuticalsBiotechnologyAndLifeSciences"}, "HealthCare"},

    {{"Banks"}, "Financials"},
    {{"FinancialServices"}, "Financials"},
    {{"Insurance"}, "Financials"},

    {{"SoftwareAndServices"}, "InformationTechnology"},
    {{"TechnologyHardwareAndEquipment"}, "InformationTechnology"},
    {{"SemiconductorsAndSemiconductorEquipment"}, "InformationTechnology"},

    {{"TelecommunicationServices"}, "CommunicationServices"},
    {{"MediaAndEntertainment"}, "CommunicationServices"},

    {{"Utilities"}, "Utilities"},

    {{"EquityRealEstateInvestmentTrusts"}, "RealEstate"},
    {{"RealEstateManagementAndDevelopment"}, "RealEstate"},
};

extern const Registration industry_group_registration;

}  // namespace tessamir::sector
