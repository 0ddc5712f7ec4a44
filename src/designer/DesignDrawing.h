#pragma once
// One drawing of several design objects (opening a design, redrawing all, composing all into
// one picture). Each picture file the objects name is decoded once, when the first object
// naming it is drawn, and let go after the last one; a file that cannot be read is tried once.
// The memory the objects' images may take is read once for the whole drawing.
#include "platform/Bitmap.h"
#include "platform/Picture.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Reads a picture file into a picture; throws Exception when it cannot.
using DesignPictureLoader = std::function<void(TPicture& into, const std::string& path)>;

class DesignDrawing {
public:
    // names: the picture name of every object the drawing will draw (empty for none).
    DesignDrawing(const std::vector<std::string>& names, DesignPictureLoader load);

    // The pixels of the named picture (null when it has none), or null and the reason in
    // error when the file cannot be read.
    const TBitmap* Picture(const std::string& name, std::string& error);
    // An object naming the picture has been drawn; after the last one it is let go.
    void Drawn(const std::string& name);
    // Throws as CheckPictureFitsMemory when a w x h image does not fit into the memory that
    // was free when the drawing began (asked again of the system before it says no).
    void CheckFits(int w, int h) const;

private:
    struct Entry {
        std::unique_ptr<TPicture> picture;
        std::string error;
        int uses = 0;
    };
    DesignPictureLoader load_;
    std::map<std::string, Entry> entries_;
    std::uint64_t budget_;
};
