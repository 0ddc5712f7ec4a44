// A design file: the input is opened as the design editor opens a file (checked, then every
// object rendered), and the design is then rendered for the main window as "übernehmen" does.
// The seeds name one small picture, kFuzzPicturePath; other names resolve as the editor
// resolves them.
#include "FuzzSupport.h"

#include "designer/DesignFile.h"
#include "designer/DesignObjects.h"
#include "designer/DesignOutput.h"
#include "generation/MainState.h"
#include "platform/Exception.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace {

// A picture name that is neither missing nor a plain file (a device, a pipe) would have the
// editor read from it for as long as it gives bytes; such inputs are left out.
bool NamesOnlyPlainFiles(const std::uint8_t* data, std::size_t size) {
    const auto lines = DecodeDesignText(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::string& line : lines) {
        TFensterData d;
        // Any line's last field may end up as a name: every one is looked at.
        if (!ParseObjectLine(1, line, d) || d.PictureName.empty()) continue;
        struct stat st {};
        if (stat(d.PictureName.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
    }
    return true;
}

// One design for every input: its table of 32,002 slots is made once, and each input starts
// from it emptied by New() with the default fields, as the editor's "Neu" leaves it.
TDesign& Design() {
    static TDesign design;
    return design;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InitFuzzTarget(argc, argv);
    WriteFuzzPicture();
    Design().FirstActivation();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!NamesOnlyPlainFiles(data, size)) return 0;
    ResetMainState();
    TDesign& design = Design();
    DesignHost fields;
    design.SetHost(&fields);
    design.New();
    if (design.OpenFile(WriteFuzzInput(data, size, "design.fxn")) && design.FensterAnzahl >= 1) {
        try {
            RenderDesignForImport(design, Main.wst_l, Main.wst_b, design.WkzRad, 800);
        } catch (const std::exception&) {
            // A refused size or radius is a message to the user.
        }
    }
    design.SetHost(nullptr);
    return 0;
}
