#pragma once
// Rendering of design objects into grey-level bitmaps: the depth grey, the clip region of a
// shape, the picture stretched inside it (nearest neighbour), the text with its angle,
// alignment and depth colour drawn without antialiasing, the outlines that mark objects in
// the editor, and the grid. Everything works on TBitmaps; no widget.
#include "designer/DesignObjects.h"
#include "platform/StretchDraw.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int PaintDepthFullScale = 16777215;

// Whether a w x h image may be allocated (always for an empty one); images beyond it stay
// empty and their render is reported.
bool BitmapFits(int w, int h);

// The colour of depth d (mm) for a workpiece of thickness D: q := 16777215 / D,
// v := Trunc((D - d) * q), BlendColour(black, white, v / 16777215) for ramp 1 (the only one).
// Depth 0 is white, D and beyond black, negative depths white. A thickness of 0 or less (or
// not finite) leaves no scale: every depth above 0 is black, the rest white.
TColor DepthToColor(int ramp, double depth, double thickness);

// The font a text is drawn with: a cell height in pixels and the escapement and orientation
// in tenths of a degree (escapement negative turns the text clockwise on screen).
struct DesignFont {
    std::string Name;
    int Height = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int Escapement = 0;
    int Orientation = 0;
    bool operator==(const DesignFont&) const = default;
};

// Where object texts are drawn; TextOut puts the start of the base line at (x, y).
class DesignTextCanvas {
public:
    virtual ~DesignTextCanvas() = default;
    virtual int TextWidth(const std::string& text, const DesignFont& font) = 0;
    virtual void TextOut(int x, int y, const std::string& text, const DesignFont& font,
                         TColor colour) = 0;
};

// Draws into a bitmap: every pixel the glyphs cover takes exactly the colour (no blending).
// With a clip (one byte per pixel of the bitmap, rows top-down, as ShapeMask gives it) only
// the pixels whose byte is not 0 take it.
class BitmapTextCanvas : public DesignTextCanvas {
public:
    explicit BitmapTextCanvas(TBitmap& bitmap, const std::uint8_t* clip = nullptr)
        : bitmap_(bitmap), clip_(clip) {}
    int TextWidth(const std::string& text, const DesignFont& font) override;
    void TextOut(int x, int y, const std::string& text, const DesignFont& font,
                 TColor colour) override;

private:
    TBitmap& bitmap_;
    const std::uint8_t* clip_;
};

// Turns the corners 0..Neck by formWinkel degrees about the middle of a bitmapWidth x
// bitmapHeight bitmap (FormWinkel, Laenge and Breite of the record are set from them).
void rechne_koord_PolyGon(TFensterData& r, int bitmapWidth, int bitmapHeight, double formWinkel);
// Sets the triangle's corners for a w x h image from the angle: apex top (0° to 89.9°, and
// 360°), left (90°), bottom (180°), right (270°); Neck becomes 3. Angles outside 0..360 are
// taken modulo a full turn.
void Rechne_koord_dreieck(TFensterData& r, int w, int h, double formWinkel);

// Draws the record's text (the angles from the fields, the colour from the text depth field
// when "Tiefe anzeigen" is on, else black; never pure white).
void DrawTexttobitmap(TFensterData& r, const DesignFieldValues& fields, double thickness,
                      DesignTextCanvas& canvas);

// The clip region of the record's shape for a w x h image, one byte per pixel (1 inside),
// rows top-down. Polygon regions fill alternately; the rectangle, ellipse and rounded
// rectangle run from (0, 0) to (w - 1, h - 1), right and bottom excluded.
std::vector<std::uint8_t> ShapeMask(TFensterData& r, int w, int h, const DesignFieldValues& fields);

// Throws (as CheckPictureFitsMemory does) when a w x h image may not be allocated.
using PictureFitCheck = std::function<void(int w, int h)>;

// Renders the object into its image (created when missing): bounds from the record, the whole
// rectangle in the grey of the shape depth field, then picture (may be null) and text inside
// the shape. Throws Exception when the image would not fit in memory (asked of fits, or of
// CheckPictureFitsMemory without it).
void RenderObject(TFensterRec& r, const DesignFieldValues& fields, double thickness,
                  const TBitmap* picture, const PictureFitCheck& fits = {});

// Draws (or, with white, erases) the outline of the object's shape on image: width 1 is the
// thin red outline on the object's own image (not drawn when the object has a picture or a
// text), width 3 the overlay's outline in the given colour. The shape is scaled from the
// object's bitmap size to the image's size.
void DrawBorder(TObjectImage& image, TFensterData& r, int objectBitmapWidth,
                int objectBitmapHeight, int width, TColor colour, bool transparent,
                const DesignFieldValues& fields);

// Fills clip with brush and, for a step of 2 or more, sets a black pixel at every multiple
// of step inside it.
void DrawGrid(TBitmap& canvas, const TRect& clip, int step, TColor brush);

// Fills the w x h rectangle at (x, y) of a pf24bit target with colour (the part inside it).
void FillBitmapRect(TBitmap& target, int x, int y, int w, int h, TColor colour);

// Copies source onto target at (x, y); transparent: white pixels of source are left out.
void DrawBitmapAt(TBitmap& target, int x, int y, const TBitmap& source, bool transparent);
