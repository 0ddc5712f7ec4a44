#include "generation/RunHost.h"

#include "generation/Optimiser.h"

#include <cmath>

void RunHost::RunOptimiser() { ::RunOptimiser(*this); }

void ReadField(RunHost& host, std::string_view field, double& variable) {
    double value = variable;
    if (host.GetFieldValue(field, value) == 0 && std::isfinite(value)) variable = value;
}
