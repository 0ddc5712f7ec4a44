#include "generation/RunHost.h"

#include "generation/NumberFormat.h"
#include "generation/Optimiser.h"

#include <cmath>

void RunHost::RunOptimiser() { ::RunOptimiser(*this); }

void ReadField(RunHost& host, std::string_view field, double& variable) {
    double value = variable;
    if (host.GetFieldValue(field, value) == 0 && std::isfinite(value)) variable = value;
}

void ReadByteField(RunHost& host, std::string_view field, std::uint8_t& variable) {
    double value = variable;
    if (host.GetFieldValue(field, value) != 0) return;
    auto whole = TruncToInt32(value);
    if (whole && *whole >= 0 && *whole <= 255) variable = std::uint8_t(*whole);
}
