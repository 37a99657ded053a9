// Industries: the third level of the sector classification.
#pragma once

#include "../enum.hpp"

namespace tessamir::sector {

// Grouped by industry group. The display text writes "REITs" as "ReiTs" and
// a leading "IT" as "It"; the class attribute keeps the capitals.
inline constexpr auto industry_table = enum_table({
    // Energy
    {"EnergyEquipmentAndServices"},
    {"OilGasAndConsumeableFules"},
    // Materials
    {"Chemicals"},
    {"ConstructionMaterials"},
    {"ContainersAndPackaging"},
    {"MetalsAndMining"},
    {"PaperAndForestProducts"},
    // CapitalGoods
    {"AerospaceAndDefense"},
    {"BuildingProducts"},
    {"ConstructionAndEngineering"},
    {"ElectricalEquipment"},
    {"IndustrialConglomerates"},
    {"Machinery"},
    {"TradingCompaniesAndDistributors"},
    // CommercialAndProfessionalServices
    {"CommercialServicesAndSupplies"},
    {"ProfessionalServices"},
    // Transportation
    {"AirFreightAndLogistics"},
    {"PassengerAirlines"},
    {"MarineTransportation"},
    {"GroundTransportation"},
    {"TransportationInfrastructure"},
    // AutomobilesAndComponents
    {"AutomobileComponents"},
    {"Automobiles"},
    // ConsumerDurablesAndApparel
    {"HouseholdDurables"},
    {"LeisureProducts"},
    {"TextilesApparelAndLuxuryGoods"},
    // ConsumerServices
    {"HotelsRestaurantsAndLeisure"},
    {"DiversifiedConsumerServices"},
    // ConsumerDiscretionaryDistributionAndRetail
    {"Distributors"},
    {"BroadlineRetail"},
    {"SpecialtyRetail"},
    // ConsumerStaplesDistributionAndRetail
    {"ConsumerStaplesDistributionAndRetail"},
    // FoodBeverageAndTobacco
    {"Beverages"},
    {"FoodProducts"},
    {"Tobacco"},
    // HouseholdAndPersonalProducts
    {"HouseholdProducts"},
    {"PersonalCareProducts"},
    // HealthCareEquipmentAndServices
    {"HealthCareEquipmentAndSupplies"},
    {"HealthCareProvidersAndServices"},
    {"HealthCareTechnology"},
    // PharmaceuticalsBiotechnologyAndLifeSciences
    {"Biotechnology"},
    {"Pharmaceuticals"},
    {"LifeSciencesToolsAndServices"},
    // Banks
    {"Banks"},
    // FinancialServices
    {"FinancialServices"},
    {"ConsumerFinance"},
    {"CapitalMarkets"},
    {"MortgageRealEstateInvestmentTrusts"},
    // Insurance
    {"Insurance"},
    // SoftwareAndServices
    {"ITServices", "ItServices"},
    {"Software"},
    // TechnologyHardwareAndEquipment
    {"CommunicationsEquipment"},
    {"TechnologyHardwareStorageAndPeripherals"},
    {"ElectronicEquipmentInstrumentsAndComponents"},
    // SemiconductorsAndSemiconductorEquipment
    {"SemiconductorsAndSemiconductorEquipment"},
    // TelecommunicationServices
    {"DiversifiedTelecommunicationServices"},
    {"WirelessTelecommunicationServices"},
    // MediaAndEntertainment
    {"Media"},
    {"Entertainment"},
    {"InteractiveMediaAndServices"},
    // Utilities
    {"ElectricUtilities"},
    {"GasUtilities"},
    {"MultiUtilities"},
    {"WaterUtilities"},
    {"IndependentPowerAndRenewableElectricityProducers"},
    // EquityRealEstateInvestmentTrusts
    {"DiversifiedREITs", "DiversifiedReiTs"},
    {"IndustrialREITs", "IndustrialReiTs"},
    {"HotelAndResortREITs", "HotelAndResortReiTs"},
    {"OfficeREITs", "OfficeReiTs"},
    {"HealthCareREITs", "HealthCareReiTs"},
    {"ResidentialREITs", "ResidentialReiTs"},
    {"RetailREITs", "RetailReiTs"},
    {"SpecializedREITs", "SpecializedReiTs"},
    // RealEstateManagementAndDevelopment
    {"RealEstateManagementAndDevelopment"},
});
static_assert(industry_table.size == 74);

// The industry group of each industry.
inline constexpr Index industry_parents[] = {
    0, 0,                             // Energy
    1, 1, 1, 1, 1,                    // Materials
    2, 2, 2, 2, 2, 2, 2,              // CapitalGoods
    3, 3,                             // CommercialAndProfessionalServices
    4, 4, 4, 4, 4,                    // Transportation
    5, 5,                             // AutomobilesAndComponents
    6, 6, 6,                          // ConsumerDurablesAndApparel
    7, 7,                             // ConsumerServices
    8, 8, 8,                          // ConsumerDiscretionaryDistributionAndRetail
    9,                                // ConsumerStaplesDistributionAndRetail
    10, 10, 10,                       // FoodBeverageAndTobacco
    11, 11,                           // HouseholdAndPersonalProducts
    12, 12, 12,                       // HealthCareEquipmentAndServices
    13, 13, 13,                       // PharmaceuticalsBiotechnologyAndLifeSciences
    14,                               // Banks
    15, 15, 15, 15,                   // FinancialServices
    16,                               // Insurance
    17, 17,                           // SoftwareAndServices
    18, 18, 18,                       // TechnologyHardwareAndEquipment
    19,                               // SemiconductorsAndSemiconductorEquipment
    20, 20,                           // TelecommunicationServices
    21, 21, 21,                       // MediaAndEntertainment
    22, 22, 22, 22, 22,               // Utilities
    23, 23, 23, 23, 23, 23, 23, 23,   // EquityRealEstateInvestmentTrusts
    24,                               // RealEstateManagementAndDevelopment
};

PyObject* industry_industry_group(PyObject* self, PyObject*);
PyObject* industry_subindustries(PyObject* self, PyObject*);

inline constexpr PyMethodDef industry_methods[] = {
    {"industry_group", industry_industry_group, METH_NOARGS, ""},
    {"subindustries", industry_subindustries, METH_NOARGS, ""},
};

inline constexpr EnumClassSpec industry_class = describe<industry_table>("builtins.Industry", industry_methods);

}  // namespace tessamir::sector
