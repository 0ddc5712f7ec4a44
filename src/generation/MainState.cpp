#include "generation/MainState.h"

MainState Main;

void ResetMainState() { Main = MainState(); }

std::string CutTo255(std::string text) {
    if (text.size() > 255) text.resize(255);
    return text;
}
