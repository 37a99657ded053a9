// Industries: the third level of the sector classification.
#pragma once

#include "links.hpp"

namespace tessamir::sector {

// Each with its industry group. The display text writes "REITs" as "ReiTs" and
// a leading "IT" as "It"; the class attribute keeps the capitals.
inline constexpr ChildRow industry_rows[] = {
    {{"EnergyEquipmentAndServices"}, "Energy"},
    {{"OilGasAndConsumeableFules"}, "Energy"},

    {{"Chemicals"}, "Materials"},
    {{"ConstructionMaterials"}, "Materials"},
    {{"ContainersAndPackaging"}, "Materials"},
    {{"MetalsAndMining"}, "Materials"},
    {{"PaperAndForestProducts"}, "Materials"},

    {{"AerospaceAndDefense"}, "CapitalGoods"},
    {{"BuildingProducts"}, "CapitalGoods"},
    {{"ConstructionAndEngineering"}, "CapitalGoods"},
    {{"ElectricalEquipment"}, "CapitalGoods"},
    {{"IndustrialConglomerates"}, "CapitalGoods"},
    {{"Machinery"}, "CapitalGoods"},
    {{"TradingCompaniesAndDistributors"}, "CapitalGoods"},

    {{"CommercialServicesAndSupplies"}, "CommercialAndProfessionalServices"},
    {{"ProfessionalServices"}, "CommercialAndProfessionalServices"},

    {{"AirFreightAndLogistics"}, "Transportation"},
    {{"PassengerAirlines"}, "Transportation"},
    {{"MarineTransportation"}, "Transportation"},
    {{"GroundTransportation"}, "Transportation"},
    {{"TransportationInfrastructure"}, "Transportation"},

    {{"AutomobileComponents"}, "AutomobilesAndComponents"},
    {{"Automobiles"}, "AutomobilesAndComponents"},

    {{"HouseholdDurables"}, "ConsumerDurablesAndApparel"},
    {{"LeisureProducts"}, "ConsumerDurablesAndApparel"},
    {{"TextilesApparelAndLuxuryGoods"}, "ConsumerDurablesAndApparel"},

    {{"HotelsRestaurantsAndLeisure"}, "ConsumerServices"},
    {{"DiversifiedConsumerServices"}, "ConsumerServices"},

    {{"Distributors"}, "ConsumerDiscretionaryDistributionAndRetail"},
    {{"BroadlineRetail"}, "ConsumerDiscretionaryDistributionAndRetail"},
    {{"SpecialtyRetail"}, "ConsumerDiscretionaryDistributionAndRetail"},

    {{"ConsumerStaplesDistributionAndRetail"}, "ConsumerStaplesDistributionAndRetail"},

    {{"Beverages"}, "FoodBeverageAndTobacco"},
    {{"FoodProducts"}, "FoodBeverageAndTobacco"},
    {{"Tobacco"}, "FoodBeverageAndTobacco"},

    {{"HouseholdProducts"}, "HouseholdAndPersonalProducts"},
    {{"PersonalCareProducts"}, "HouseholdAndPersonalProducts"},

    {{"HealthCareEquipmentAndSupplies"}, "HealthCareEquipmentAndServices"},
    {{"HealthCareProvidersAndServices"}, "HealthCareEquipmentAndServices"},
    {{"HealthCareTechnology"}, "HealthCareEquipmentAndServices"},

    {{"Biotechnology"}, "PharmaceuticalsBiotechnologyAndLifeSciences"},
    {{"Pharmaceuticals"}, "PharmaceuticalsBiotechnologyAndLifeSciences"},
    {{"LifeSciencesToolsAndServices"}, "PharmaceuticalsBiotechnologyAndLifeSciences"},

    {{"Banks"}, "Banks"},

    {{"FinancialServices"}, "FinancialServices"},
    {{"ConsumerFinance"}, "FinancialServices"},
    {{"CapitalMarkets"}, "FinancialServices"},
    {{"MortgageRealEstateInvestmentTrusts"}, "FinancialServices"},

    {{"Insurance"}, "Insurance"},

    {{"ITServices", "ItServices"}, "SoftwareAndServices"},
    {{"Software"}, "SoftwareAndServices"},

    {{"CommunicationsEquipment"}, "TechnologyHardwareAndEquipment"},
    {{"TechnologyHardwareStorageAndPeripherals"}, "TechnologyHardwareAndEquipment"},
    {{"ElectronicEquipmentInstrumentsAndComponents"}, "TechnologyHardwareAndEquipment"},

    {{"SemiconductorsAndSemiconductorEquipment"}, "SemiconductorsAndSemiconductorEquipment"},

    {{"DiversifiedTelecommunicationServices"}, "TelecommunicationServices"},
    {{"WirelessTelecommunicationServices"}, "TelecommunicationServices"},

    {{"Media"}, "MediaAndEntertainment"},
    {{"Entertainment"}, "MediaAndEntertainment"},
    {{"InteractiveMediaAndServices"}, "MediaAndEntertainment"},

    {{"ElectricUtilities"}, "Utilities"},
    {{"GasUtilities"}, "Utilities"},
    {{"MultiUtilities"}, "Utilities"},
    {{"WaterUtilities"}, "Utilities"},
    {{"IndependentPowerAndRenewableElectricityProducers"}, "Utilities"},

    {{"DiversifiedREITs", "DiversifiedReiTs"}, "EquityRealEstateInvestmentTrusts"},
    {{"IndustrialREITs", "IndustrialReiTs"}, "EquityRealEstateInvestmentTrusts"},
    {{"HotelAndResortREITs", "HotelAndResortReiTs"}, "EquityRealEstateInvestmentTrusts"},
    {{"OfficeREITs", "OfficeReiTs"}, "EquityRealEstateInvestmentTrusts"},
    {{"HealthCareREITs", "HealthCareReiTs"}, "EquityRealEstateInvestmentTrusts"},
    {{"ResidentialREITs", "ResidentialReiTs"}, "EquityRealEstateInvestmentTrusts"},
    {{"RetailREITs", "RetailReiTs"}, "EquityRealEstateInvestmentTrusts"},
    {{"SpecializedREITs", "SpecializedReiTs"}, "EquityRealEstateInvestmentTrusts"},

    {{"RealEstateManagementAndDevelopment"}, "RealEstateManagementAndDevelopment"},
};

extern const Registration industry_registration;

}  // namespace tessamir::sector
