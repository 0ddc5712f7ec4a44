#pragma once
// A picture: at most one graphic, read from a picture file or assigned from a bitmap.
// The graphic remembers what it was read as (a bitmap, a JPEG picture or an icon); its pixels
// are always held as a TBitmap (a JPEG or an icon decoded into 24 bits, an icon's transparent
// pixels white). Metafiles are not read here.
//
// OnChange runs after every change of the graphic: a load, an assignment, a clear, or a call
// of Changed() by a caller that edited Bitmap() in place.
#include "platform/Bitmap.h"
#include "platform/PictureDecoding.h"

#include <functional>
#include <memory>
#include <string>

enum class TGraphicKind { Bitmap, Jpeg, Icon };

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    TPicture(TPicture&&) = default;
    TPicture& operator=(TPicture&&) = default;

    bool HasGraphic() const { return pixels_ != nullptr; }
    // Only meaningful with a graphic.
    TGraphicKind Kind() const { return kind_; }
    // The pixels of the graphic (any kind); nullptr without one.
    const TBitmap* Pixels() const { return pixels_.get(); }
    // The graphic when it is a bitmap, for reading and editing in place; nullptr otherwise.
    TBitmap* Bitmap() { return HasGraphic() && kind_ == TGraphicKind::Bitmap ? pixels_.get() : nullptr; }
    const TBitmap* Bitmap() const {
        return HasGraphic() && kind_ == TGraphicKind::Bitmap ? pixels_.get() : nullptr;
    }
    int Width() const { return pixels_ ? pixels_->Width() : 0; }
    int Height() const { return pixels_ ? pixels_->Height() : 0; }

    // Copies other's graphic; nullptr (or a picture without graphic) clears this one.
    void Assign(const TPicture* other);
    // The picture becomes a bitmap graphic holding the given pixels.
    void AssignBitmap(TBitmap bitmap);
    void AssignGraphic(TGraphicKind kind, TBitmap pixels);
    void Clear();

    // Reads a bitmap (.bmp, .dib, any depth), icon (.ico) or JPEG (.jpg, .jpeg, .jpe, .jfif)
    // file. On any failure an Exception says what is wrong and the picture stays as it was;
    // so it does when progress stops the load (EPictureLoadCancelled).
    void LoadFromFile(const std::string& path, const PictureProgress& progress = {});
    // Writes the pixels as a 24-bit bitmap file (atomically). Throws Exception.
    void SaveToFile(const std::string& path) const;

    // Tell the picture that Bitmap() was edited in place.
    void Changed();

    std::function<void()> OnChange;

private:
    TGraphicKind kind_ = TGraphicKind::Bitmap;
    std::unique_ptr<TBitmap> pixels_;
};

// Decodes picture file contents; the file name's extension says which format is expected.
// Throws Exception when the contents are not a readable picture of that format, are cut short
// or are a metafile, EPictureTooLarge when they claim a size that does not fit in memory; the
// message names the file and says what the user can do. progress hears how far the reading
// and decoding have come and may stop them (EPictureLoadCancelled).
struct TDecodedPicture {
    TGraphicKind kind;
    TBitmap pixels;
};
TDecodedPicture DecodePictureFile(const std::string& path, const PictureProgress& progress = {});
TDecodedPicture DecodePictureBytes(const std::string& data, const std::string& nameForMessages,
                                   const PictureProgress& progress = {});

// File-dialog filter of the formats LoadFromFile reads (no metafiles), as FileDialogRequest
// takes it ("Text|*.ext;*.ex2" pairs joined by '|').
const char* PictureOpenFilter();
// Filter for saving pictures: bitmaps only.
const char* PictureSaveFilter();
