#include "simulation/SimulationRules.h"

#include <algorithm>
#include <cctype>

SaveNameRule SimulationSaveName(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.find('.', fileStart) == std::string::npos
                                ? std::string::npos
                                : name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    SaveNameRule rule;
    if (ext == ".BMP") {
        rule.nameAfterYes = name;
        return rule;
    }
    rule.ask = true;
    rule.nameAfterYes = dot == std::string::npos ? name.substr(0, 254) : name.substr(0, dot);
    rule.nameAfterYes += ".bmp";
    return rule;
}
