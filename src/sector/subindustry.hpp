// Sub-industries: the lowest level of the sector classification.
#pragma once

#include "../enum.hpp"

namespace tessamir::sector {

// Grouped by industry. The display text writes "REITs" as "ReiTs" and a
// leading "IT" as "It"; the class attribute keeps the capitals.
inline constexpr auto subindustry_table = enum_table({
    // EnergyEquipmentAndServices
    {"OilAndGasDrilling"},
    {"OilAndGasEquipmentAndServices"},
    // OilGasAndConsumeableFules
    {"IntegratedOilAndGas"},
    {"OilAndGasExplorationAndProduction"},
    {"OilAndGasRefiningAndMarketing"},
    {"OilAndGasStorageAndTransportation"},
    {"CoalAndConsumeableFuels"},
    // Chemicals
    {"CommodityChemicals"},
    {"DiversifiedChemicals"},
    {"FertilizersAndAgriculturalChemicals"},
    {"IndustrialGases"},
    {"SpecialtyChemicals"},
    // ConstructionMaterials
    {"ConstructionMaterials"},
    // ContainersAndPackaging
    {"MetalGlassAndPlasticContainers"},
    {"PaperAndPlasticPackagingProductsAndMaterials"},
    // MetalsAndMining
    {"Aluminum"},
    {"DiversifiedMetalsAndMining"},
    {"Copper"},
    {"Gold"},
    {"PreciousMetalsAndMinerals"},
    {"Silver"},
    {"Steel"},
    // PaperAndForestProducts
    {"ForestProducts"},
    {"PaperProducts"},
    // AerospaceAndDefense
    {"AerospaceAndDefense"},
    // BuildingProducts
    {"BuildingProducts"},
    // ConstructionAndEngineering
    {"ConstructionAndEngineering"},
    // ElectricalEquipment
    {"ElectricalComponentsAndEquipment"},
    {"HeavyElectricalEquipment"},
    // IndustrialConglomerates
    {"IndustrialConglomerates"},
    // Machinery
    {"ConstructionMachineryAndHeavyTransportationEquipment"},
    {"AgriculturalAndFarmMachinery"},
    {"IndustrialMachinerySuppliesAndComponents"},
    // TradingCompaniesAndDistributors
    {"TradingCompaniesAndDistributors"},
    // CommercialServicesAndSupplies
    {"CommercialPrinting"},
    {"EnvironmentalAndFacilitiesServices"},
    {"OfficeServicesAndSupplies"},
    {"DiviersifiedSupportServices"},
    {"SecurityAndAlarmServices"},
    // ProfessionalServices
    {"HumanResourcesAndEmploymentServices"},
    {"ResearchAndConsultingServices"},
    {"DataProcessingAndOutsourcedServices"},
    // AirFreightAndLogistics
    {"AirFreightAndLogistics"},
    // PassengerAirlines
    {"PassengerAirlines"},
    // MarineTransportation
    {"MarineTransportation"},
    // GroundTransportation
    {"RailTransportation"},
    {"CargoGroundTransportation"},
    {"PassengerGroundTransportation"},
    // TransportationInfrastructure
    {"AirportServices"},
    {"HighwaysAndRailtracks"},
    {"MarinePortsAndServices"},
    // AutomobileComponents
    {"AutomotivePartsAndEquipment"},
    {"TiresAndRubber"},
    // Automobiles
    {"AutomobileManufacturers"},
    {"MotorcycleManufacturers"},
    // HouseholdDurables
    {"ConsumerElectronics"},
    {"HomeFurnishings"},
    {"Homebuilding"},
    {"HouseholdAppliances"},
    {"HousewaresAndSpecialties"},
    // LeisureProducts
    {"LeisureProducts"},
    // TextilesApparelAndLuxuryGoods
    {"ApparelAccessoriesAndLuxuryGoods"},
    {"Footwear"},
    {"Textiles"},
    // HotelsRestaurantsAndLeisure
    {"CasinosAndGaming"},
    {"HotelsResortsAndCruiseLines"},
    {"LeisureFacilities"},
    {"Restaurants"},
    // DiversifiedConsumerServices
    {"EducationServices"},
    {"SpecializedConsumerServices"},
    // Distributors
    {"Distributors"},
    // BroadlineRetail
    {"BroadlineRetail"},
    // SpecialtyRetail
    {"ApparelRetail"},
    {"ComputerAndElectronicsretail"},
    {"HomeImprovementRetail"},
    {"OtherSpecialtyRetail"},
    {"AutomotiveRetail"},
    {"HomefurnishingRetail"},
    // ConsumerStaplesDistributionAndRetail
    {"DrugRetail"},
    {"FoodDistributors"},
    {"FoodRetail"},
    {"ConsumerStaplesMerchandiseRetail"},
    // Beverages
    {"Brewers"},
    {"DistillersAndVintners"},
    {"SoftDrinksAndNonAlcoholicBeverages"},
    // FoodProducts
    {"AgriculturalProductsAndServices"},
    {"PackagedFoodsAndMeats"},
    // Tobacco
    {"Tobacco"},
    // HouseholdProducts
    {"HouseholdProducts"},
    // PersonalCareProducts
    {"PersonalCareProducts"},
    // HealthCareEquipmentAndSupplies
    {"HealthCareEquipment"},
    {"HealthCareSupplies"},
    // HealthCareProvidersAndServices
    {"HealthCareDistributors"},
    {"HealthCareServices"},
    {"HealthCareFacilities"},
    {"ManagedHealthCare"},
    // HealthCareTechnology
    {"HealthCareTechnology"},
    // Biotechnology
    {"Biotechnology"},
    // Pharmaceuticals
    {"Pharmaceuticals"},
    // LifeSciencesToolsAndServices
    {"LifeSciencesToolsAndServices"},
    // Banks
    {"DiversifiedBanks"},
    {"RegionalBanks"},
    // FinancialServices
    {"DiversifiedFinancialServices"},
    {"MultiSectorHoldings"},
    {"SpecializedFinance"},
    {"CommercialAndResidentialMortgageFinance"},
    {"TransactionAndPaymentProcessingServices"},
    // ConsumerFinance
    {"ConsumerFinance"},
    // CapitalMarkets
    {"AssetManagementAndCustodyBanks"},
    {"InvestmentBankingAndBrokerage"},
    {"DiversifiedCapitalMarkets"},
    {"FinancialExchangesAndData"},
    // MortgageRealEstateInvestmentTrusts
    {"MortgageRealEstateInvestmentTrusts"},
    // Insurance
    {"InsuranceBrokers"},
    {"LifeAndHealthInsurance"},
    {"MultilineInsurance"},
    {"PropertyAndCasualtyInsurance"},
    {"Reinsurance"},
    // ITServices
    {"ITConsultingAndOtherServices", "ItConsultingAndOtherServices"},
    {"InternetServicesAndInfrastructure"},
    // Software
    {"ApplicationSoftware"},
    {"SystemsSoftware"},
    // CommunicationsEquipment
    {"CommunicationsEquipment"},
    // TechnologyHardwareStorageAndPeripherals
    {"TechnologyHardwareStorageAndPeripherals"},
    // ElectronicEquipmentInstrumentsAndComponents
    {"ElectronicEquipmentAndInstruments"},
    {"ElectronicComponents"},
    {"ElectronicManufacturingServices"},
    {"TechnologyDistributors"},
    // SemiconductorsAndSemiconductorEquipment
    {"SemiconductorMaterialsAndEquipment"},
    {"Semiconductors"},
    // DiversifiedTelecommunicationServices
    {"AlternativeCarriers"},
    {"IntegratedTelecommunicationServices"},
    // WirelessTelecommunicationServices
    {"WirelessTelecommunicationServices"},
    // Media
    {"Advertising"},
    {"Broadcasting"},
    {"CableAndSatellite"},
    {"Publishing"},
    // Entertainment
    {"MoviesAndEntertainment"},
    {"InteractiveHomeEntertainment"},
    // InteractiveMediaAndServices
    {"InteractiveMediaAndServices"},
    // ElectricUtilities
    {"ElectricUtilities"},
    // GasUtilities
    {"GasUtilities"},
    // MultiUtilities
    {"MultiUtilities"},
    // WaterUtilities
    {"WaterUtilities"},
    // IndependentPowerAndRenewableElectricityProducers
    {"IndependentPowerProducersAndEnergyTraders"},
    {"RenewableElectricity"},
    // DiversifiedREITs
    {"DiversifiedREITs", "DiversifiedReiTs"},
    // IndustrialREITs
    {"IndustrialREITs", "IndustrialReiTs"},
    // HotelAndResortREITs
    {"HotelAndResortREITs", "HotelAndResortReiTs"},
    // OfficeREITs
    {"OfficeREITs", "OfficeReiTs"},
    // HealthCareREITs
    {"HealthCareREITs", "HealthCareReiTs"},
    // ResidentialREITs
    {"MultiFamilyResidentialREITs", "MultiFamilyResidentialReiTs"},
    {"SingleFamilyResidentialREITs", "SingleFamilyResidentialReiTs"},
    // RetailREITs
    {"RetailREITs", "RetailReiTs"},
    // SpecializedREITs
    {"OtherSpecializedREITs", "OtherSpecializedReiTs"},
    {"SelfStorageREITs", "SelfStorageReiTs"},
    {"TelecomTowerREITs", "TelecomTowerReiTs"},
    {"TimberREITs", "TimberReiTs"},
    {"DataCenterREITs", "DataCenterReiTs"},
    // RealEstateManagementAndDevelopment
    {"DiversifiedRealEstateActivities"},
    {"RealEstateOperatingCompanies"},
    {"RealEstateDevelopment"},
    {"RealEstateServices"},
});
static_assert(subindustry_table.size == 163);

// The industry of each sub-industry.
inline constexpr Index subindustry_parents[] = {
    0, 0,                             // EnergyEquipmentAndServices
    1, 1, 1, 1, 1,                    // OilGasAndConsumeableFules
    2, 2, 2, 2, 2,                    // Chemicals
    3,                                // ConstructionMaterials
    4, 4,                             // ContainersAndPackaging
    5, 5, 5, 5, 5, 5, 5,              // MetalsAndMining
    6, 6,                             // PaperAndForestProducts
    7,                                // AerospaceAndDefense
    8,                                // BuildingProducts
    9,                                // ConstructionAndEngineering
    10, 10,                           // ElectricalEquipment
    11,                               // IndustrialConglomerates
    12, 12, 12,                       // Machinery
    13,                               // TradingCompaniesAndDistributors
    14, 14, 14, 14, 14,               // CommercialServicesAndSupplies
    15, 15, 15,                       // ProfessionalServices
    16,                               // AirFreightAndLogistics
    17,                               // PassengerAirlines
    18,                               // MarineTransportation
    19, 19, 19,                       // GroundTransportation
    20, 20, 20,                       // TransportationInfrastructure
    21, 21,                           // AutomobileComponents
    22, 22,                           // Automobiles
    23, 23, 23, 23, 23,               // HouseholdDurables
    24,                               // LeisureProducts
    25, 25, 25,                       // TextilesApparelAndLuxuryGoods
    26, 26, 26, 26,                   // HotelsRestaurantsAndLeisure
    27, 27,                           // DiversifiedConsumerServices
    28,                               // Distributors
    29,                               // BroadlineRetail
    30, 30, 30, 30, 30, 30,           // SpecialtyRetail
    31, 31, 31, 31,                   // ConsumerStaplesDistributionAndRetail
    32, 32, 32,                       // Beverages
    33, 33,                           // FoodProducts
    34,                               // Tobacco
    35,                               // HouseholdProducts
    36,                               // PersonalCareProducts
    37, 37,                           // HealthCareEquipmentAndSupplies
    38, 38, 38, 38,                   // HealthCareProvidersAndServices
    39,                               // HealthCareTechnology
    40,                               // Biotechnology
    41,                               // Pharmaceuticals
    42,                               // LifeSciencesToolsAndServices
    43, 43,                           // Banks
    44, 44, 44, 44, 44,               // FinancialServices
    45,                               // ConsumerFinance
    46, 46, 46, 46,                   // CapitalMarkets
    47,                               // MortgageRealEstateInvestmentTrusts
    48, 48, 48, 48, 48,               // Insurance
    49, 49,                           // ITServices
    50, 50,                           // Software
    51,                               // CommunicationsEquipment
    52,                               // TechnologyHardwareStorageAndPeripherals
    53, 53, 53, 53,                   // ElectronicEquipmentInstrumentsAndComponents
    54, 54,                           // SemiconductorsAndSemiconductorEquipment
    55, 55,                           // DiversifiedTelecommunicationServices
    56,                               // WirelessTelecommunicationServices
    57, 57, 57, 57,                   // Media
    58, 58,                           // Entertainment
    59,                               // InteractiveMediaAndServices
    60,                               // ElectricUtilities
    61,                               // GasUtilities
    62,                               // MultiUtilities
    63,                               // WaterUtilities
    64, 64,                           // IndependentPowerAndRenewableElectricityProducers
    65,                               // DiversifiedREITs
    66,                               // IndustrialREITs
    67,                               // HotelAndResortREITs
    68,                               // OfficeREITs
    69,                               // HealthCareREITs
    70, 70,                           // ResidentialREITs
    71,                               // RetailREITs
    72, 72, 72, 72, 72,               // SpecializedREITs
    73, 73, 73, 73,                   // RealEstateManagementAndDevelopment
};

PyObject* subindustry_industry(PyObject* self, PyObject*);

inline constexpr PyMethodDef subindustry_methods[] = {
    {"industry", subindustry_industry, METH_NOARGS, ""},
};

inline constexpr EnumClassSpec subindustry_class =
    describe<subindustry_table>("builtins.SubIndustry", subindustry_methods);

}  // namespace tessamir::sector
