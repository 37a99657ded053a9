// Sectors: the top level of the sector classification.
#pragma once

#include "../enum.hpp"

namespace tessamir::sector {

inline constexpr Member sector_rows[] = {
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
};

extern const Registration sector_registration;

}  // namespace tessamir::sector
