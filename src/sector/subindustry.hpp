// Sub-industries: the lowest level of the sector classification.
#pragma once

#include "links.hpp"

namespace tessamir::sector {

// Each with its industry. The display text writes "REITs" as "ReiTs" and a
// leading "IT" as "It"; the class attribute keeps the capitals.
inline constexpr ChildRow subindustry_rows[] = {
    {{"OilAndGasDrilling"}, "EnergyEquipmentAndServices"},
    {{"OilAndGasEquipmentAndServices"}, "EnergyEquipmentAndServices"},

    {{"IntegratedOilAndGas"}, "OilGasAndConsumeableFules"},
    {{"OilAndGasExplorationAndProduction"}, "OilGasAndConsumeableFules"},
    {{"OilAndGasRefiningAndMarketing"}, "OilGasAndConsumeableFules"},
    {{"OilAndGasStorageAndTransportation"}, "OilGasAndConsumeableFules"},
    {{"CoalAndConsumeableFuels"}, "OilGasAndConsumeableFules"},

    {{"CommodityChemicals"}, "Chemicals"},
    {{"DiversifiedChemicals"}, "Chemicals"},
    {{"FertilizersAndAgriculturalChemicals"}, "Chemicals"},
    {{"IndustrialGases"}, "Chemicals"},
    {{"SpecialtyChemicals"}, "Chemicals"},

    {{"ConstructionMaterials"}, "ConstructionMaterials"},

    {{"MetalGlassAndPlasticContainers"}, "ContainersAndPackaging"},
    {{"PaperAndPlasticPackagingProductsAndMaterials"}, "ContainersAndPackaging"},

    {{"Aluminum"}, "MetalsAndMining"},
    {{"DiversifiedMetalsAndMining"}, "MetalsAndMining"},
    {{"Copper"}, "MetalsAndMining"},
    {{"Gold"}, "MetalsAndMining"},
    {{"PreciousMetalsAndMinerals"}, "MetalsAndMining"},
    {{"Silver"}, "MetalsAndMining"},
    {{"Steel"}, "MetalsAndMining"},

    {{"ForestProducts"}, "PaperAndForestProducts"},
    {{"PaperProducts"}, "PaperAndForestProducts"},

    {{"AerospaceAndDefense"}, "AerospaceAndDefense"},

    {{"BuildingProducts"}, "BuildingProducts"},

    {{"ConstructionAndEngineering"}, "ConstructionAndEngineering"},

    {{"ElectricalComponentsAndEquipment"}, "ElectricalEquipment"},
    {{"HeavyElectricalEquipment"}, "ElectricalEquipment"},

    {{"IndustrialConglomerates"}, "IndustrialConglomerates"},

    {{"ConstructionMachineryAndHeavyTransportationEquipment"}, "Machinery"},
    {{"AgriculturalAndFarmMachinery"}, "Machinery"},
    {{"IndustrialMachinerySuppliesAndComponents"}, "Machinery"},

    {{"TradingCompaniesAndDistributors"}, "TradingCompaniesAndDistributors"},

    {{"CommercialPrinting"}, "CommercialServicesAndSupplies"},
    {{"EnvironmentalAndFacilitiesServices"}, "CommercialServicesAndSupplies"},
    {{"OfficeServicesAndSupplies"}, "CommercialServicesAndSupplies"},
    {{"DiviersifiedSupportServices"}, "CommercialServicesAndSupplies"},
    {{"SecurityAndAlarmServices"}, "CommercialServicesAndSupplies"},

    {{"HumanResourcesAndEmploymentServices"}, "ProfessionalServices"},
    {{"ResearchAndConsultingServices"}, "ProfessionalServices"},
    {{"DataProcessingAndOutsourcedServices"}, "ProfessionalServices"},

    {{"AirFreightAndLogistics"}, "AirFreightAndLogistics"},

    {{"PassengerAirlines"}, "PassengerAirlines"},

    {{"MarineTransportation"}, "MarineTransportation"},

    {{"RailTransportation"}, "GroundTransportation"},
    {{"CargoGroundTransportation"}, "GroundTransportation"},
    {{"PassengerGroundTransportation"}, "GroundTransportation"},

    {{"AirportServices"}, "TransportationInfrastructure"},
    {{"HighwaysAndRailtracks"}, "TransportationInfrastructure"},
    {{"MarinePortsAndServices"}, "TransportationInfrastructure"},

    {{"AutomotivePartsAndEquipment"}, "AutomobileComponents"},
    {{"TiresAndRubber"}, "AutomobileComponents"},

    {{"AutomobileManufacturers"}, "Automobiles"},
    {{"MotorcycleManufacturers"}, "Automobiles"},

    {{"ConsumerElectronics"}, "HouseholdDurables"},
    {{"HomeFurnishings"}, "HouseholdDurables"},
    {{"Homebuilding"}, "HouseholdDurables"},
    {{"HouseholdAppliances"}, "HouseholdDurables"},
    {{"HousewaresAndSpecialties"}, "HouseholdDurables"},

    {{"LeisureProducts"}, "LeisureProducts"},

    {{"ApparelAccessoriesAndLuxuryGoods"}, "TextilesApparelAndLuxuryGoods"},
    {{"Footwear"}, "TextilesApparelAndLuxuryGoods"},
    {{"Textiles"}, "TextilesApparelAndLuxuryGoods"},

    {{"CasinosAndGaming"}, "HotelsRestaurantsAndLeisure"},
    {{"HotelsResortsAndCruiseLines"}, "HotelsRestaurantsAndLeisure"},
    {{"LeisureFacilities"}, "HotelsRestaurantsAndLeisure"},
    {{"Restaurants"}, "HotelsRestaurantsAndLeisure"},

    {{"EducationServices"}, "DiversifiedConsumerServices"},
    {{"SpecializedConsumerServices"}, "DiversifiedConsumerServices"},

    {{"Distributors"}, "Distributors"},

    {{"BroadlineRetail"}, "BroadlineRetail"},

    {{"ApparelRetail"}, "SpecialtyRetail"},
    {{"ComputerAndElectronicsretail"}, "SpecialtyRetail"},
    {{"HomeImprovementRetail"}, "SpecialtyRetail"},
    {{"OtherSpecialtyRetail"}, "SpecialtyRetail"},
    {{"AutomotiveRetail"}, "SpecialtyRetail"},
    {{"HomefurnishingRetail"}, "SpecialtyRetail"},

    {{"DrugRetail"}, "ConsumerStaplesDistributionAndRetail"},
    {{"FoodDistributors"}, "ConsumerStaplesDistributionAndRetail"},
    {{"FoodRetail"}, "ConsumerStaplesDistributionAndRetail"},
    {{"ConsumerStaplesMerchandiseRetail"}, "ConsumerStaplesDistributionAndRetail"},

    {{"Brewers"}, "Beverages"},
    {{"DistillersAndVintners"}, "Beverages"},
    {{"SoftDrinksAndNonAlcoholicBeverages"}, "Beverages"},

    {{"AgriculturalProductsAndServices"}, "FoodProducts"},
    {{"PackagedFoodsAndMeats"}, "FoodProducts"},

    {{"Tobacco"}, "Tobacco"},

    {{"HouseholdProducts"}, "HouseholdProducts"},

    {{"PersonalCareProducts"}, "PersonalCareProducts"},

    {{"HealthCareEquipment"}, "HealthCareEquipmentAndSupplies"},
    {{"HealthCareSupplies"}, "HealthCareEquipmentAndSupplies"},

    {{"HealthCareDistributors"}, "HealthCareProvidersAndServices"},
    {{"HealthCareServices"}, "HealthCareProvidersAndServices"},
    {{"HealthCareFacilities"}, "HealthCareProvidersAndServices"},
    {{"ManagedHealthCare"}, "HealthCareProvidersAndServices"},

    {{"HealthCareTechnology"}, "HealthCareTechnology"},

    {{"Biotechnology"}, "Biotechnology"},

    {{"Pharmaceuticals"}, "Pharmaceuticals"},

    {{"LifeSciencesToolsAndServices"}, "LifeSciencesToolsAndServices"},

    {{"DiversifiedBanks"}, "Banks"},
    {{"RegionalBanks"}, "Banks"},

    {{"DiversifiedFinancialServices"}, "FinancialServices"},
    {{"MultiSectorHoldings"}, "FinancialServices"},
    {{"SpecializedFinance"}, "FinancialServices"},
    {{"CommercialAndResidentialMortgageFinance"}, "FinancialServices"},
    {{"TransactionAndPaymentProcessingServices"}, "FinancialServices"},

    {{"ConsumerFinance"}, "ConsumerFinance"},

    {{"AssetManagementAndCustodyBanks"}, "CapitalMarkets"},
    {{"InvestmentBankingAndBrokerage"}, "CapitalMarkets"},
    {{"DiversifiedCapitalMarkets"}, "CapitalMarkets"},
    {{"FinancialExchangesAndData"}, "CapitalMarkets"},

    {{"MortgageRealEstateInvestmentTrusts"}, "MortgageRealEstateInvestmentTrusts"},

    {{"InsuranceBrokers"}, "Insurance"},
    {{"LifeAndHealthInsurance"}, "Insurance"},
    {{"MultilineInsurance"}, "Insurance"},
    {{"PropertyAndCasualtyInsurance"}, "Insurance"},
    {{"Reinsurance"}, "Insurance"},

    {{"ITConsultingAndOtherServices", "ItConsultingAndOtherServices"}, "ITServices"},
    {{"InternetServicesAndInfrastructure"}, "ITServices"},

    {{"ApplicationSoftware"}, "Software"},
    {{"SystemsSoftware"}, "Software"},

    {{"CommunicationsEquipment"}, "CommunicationsEquipment"},

    {{"TechnologyHardwareStorageAndPeripherals"}, "TechnologyHardwareStorageAndPeripherals"},

    {{"ElectronicEquipmentAndInstruments"}, "ElectronicEquipmentInstrumentsAndComponents"},
    {{"ElectronicComponents"}, "ElectronicEquipmentInstrumentsAndComponents"},
    {{"ElectronicManufacturingServices"}, "ElectronicEquipmentInstrumentsAndComponents"},
    {{"TechnologyDistributors"}, "ElectronicEquipmentInstrumentsAndComponents"},

    {{"SemiconductorMaterialsAndEquipment"}, "SemiconductorsAndSemiconductorEquipment"},
    {{"Semiconductors"}, "SemiconductorsAndSemiconductorEquipment"},

    {{"AlternativeCarriers"}, "DiversifiedTelecommunicationServices"},
    {{"IntegratedTelecommunicationServices"}, "DiversifiedTelecommunicationServices"},

    {{"WirelessTelecommunicationServices"}, "WirelessTelecommunicationServices"},

    {{"Advertising"}, "Media"},
    {{"Broadcasting"}, "Media"},
    {{"CableAndSatellite"}, "Media"},
    {{"Publishing"}, "Media"},

    {{"MoviesAndEntertainment"}, "Entertainment"},
    {{"InteractiveHomeEntertainment"}, "Entertainment"},

    {{"InteractiveMediaAndServices"}, "InteractiveMediaAndServices"},

    {{"ElectricUtilities"}, "ElectricUtilities"},

    {{"GasUtilities"}, "GasUtilities"},

    {{"MultiUtilities"}, "MultiUtilities"},

    {{"WaterUtilities"}, "WaterUtilities"},

    {{"IndependentPowerProducersAndEnergyTraders"}, "IndependentPowerAndRenewableElectricityProducers"},
    {{"RenewableElectricity"}, "IndependentPowerAndRenewableElectricityProducers"},

    {{"DiversifiedREITs", "DiversifiedReiTs"}, "DiversifiedREITs"},

    {{"IndustrialREITs", "IndustrialReiTs"}, "IndustrialREITs"},

    {{"HotelAndResortREITs", "HotelAndResortReiTs"}, "HotelAndResortREITs"},

    {{"OfficeREITs", "OfficeReiTs"}, "OfficeREITs"},

    {{"HealthCareREITs", "HealthCareReiTs"}, "HealthCareREITs"},

    {{"MultiFamilyResidentialREITs", "MultiFamilyResidentialReiTs"}, "ResidentialREITs"},
    {{"SingleFamilyResidentialREITs", "SingleFamilyResidentialReiTs"}, "ResidentialREITs"},

    {{"RetailREITs", "RetailReiTs"}, "RetailREITs"},

    {{"OtherSpecializedREITs", "OtherSpecializedReiTs"}, "SpecializedREITs"},
    {{"SelfStorageREITs", "SelfStorageReiTs"}, "SpecializedREITs"},
    {{"TelecomTowerREITs", "TelecomTowerReiTs"}, "SpecializedREITs"},
    {{"TimberREITs", "TimberReiTs"}, "SpecializedREITs"},
    {{"DataCenterREITs", "DataCenterReiTs"}, "SpecializedREITs"},

    {{"DiversifiedRealEstateActivities"}, "RealEstateManagementAndDevelopment"},
    {{"RealEstateOperatingCompanies"}, "RealEstateManagementAndDevelopment"},
    {{"RealEstateDevelopment"}, "RealEstateManagementAndDevelopment"},
    {{"RealEstateServices"}, "RealEstateManagementAndDevelopment"},
};

extern const Registration subindustry_registration;

}  // namespace tessamir::sector
