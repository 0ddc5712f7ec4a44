#pragma once
// The picture-effects control without its painting: the loaded picture PictureOriginal (always
// turned into a 24-bit bitmap) and the processed Picture, recomputed from it by the nineteen
// effect values on every change. A noise layer and the result of the active spatial effect are
// cached, so that a change of a colour value only reruns the colour pass.
//
// Exclusive groups: colour and mono noise; posterize and solorize; the seven spatial effects
// (emboss, mosaic, split blur, Gaussian blur, anti-alias, trace, tile). Setting one member
// zeroes its partners, also when the value set is 0. RestoreEffects sets a full set at once.
//
// Values set while no picture is loaded are only stored; they apply when a picture arrives.
#include "effects/EffectValues.h"
#include "platform/Picture.h"

#include <functional>
#include <memory>
#include <string>

class TFxImage {
public:
    TFxImage();
    TFxImage(const TFxImage&) = delete;
    TFxImage& operator=(const TFxImage&) = delete;

    // The loaded picture. Load into it (PictureOriginal().LoadFromFile) or edit its bitmap and
    // call Changed(): every change converts it and recomputes Picture.
    TPicture& PictureOriginal() { return original_; }
    const TPicture& PictureOriginal() const { return original_; }
    // Copies the given picture in; nullptr clears both pictures.
    void SetPictureOriginal(const TPicture* picture);
    // The processed picture: a 24-bit bitmap of the loaded picture's size, or empty.
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }

    int PicBrightness() const { return v_.PicBrightness; }
    int PicContrast() const { return v_.PicContrast; }
    bool PicGrayScale() const { return v_.PicGrayScale; }
    int PicLightness() const { return v_.PicLightness; }
    int PicDarkness() const { return v_.PicDarkness; }
    int PicSaturation() const { return v_.PicSaturation; }
    int PicSplitlight() const { return v_.PicSplitlight; }
    bool PicInvert() const { return v_.PicInvert; }
    int PicColorNoise() const { return v_.PicColorNoise; }
    int PicMonoNoise() const { return v_.PicMonoNoise; }
    int PicPosterize() const { return v_.PicPosterize; }
    int PicSolorize() const { return v_.PicSolorize; }
    bool PicEmboss() const { return v_.PicEmboss; }
    int PicMosaic() const { return v_.PicMosaic; }
    int PicSplitBlur() const { return v_.PicSplitBlur; }
    int PicGaussianBlur() const { return v_.PicGaussianBlur; }
    int PicAntiAlias() const { return v_.PicAntiAlias; }
    int PicTrace() const { return v_.PicTrace; }
    int PicTile() const { return v_.PicTile; }

    // Each setter stores its value clamped as the control's rules say and recomputes Picture.
    void SetPicBrightness(int v);    // -255..255
    void SetPicContrast(int v);      // at least -255
    void SetPicGrayScale(bool v);
    void SetPicLightness(int v);     // at most 255
    void SetPicDarkness(int v);      // at most 255
    void SetPicSaturation(int v);    // at least -255
    void SetPicSplitlight(int v);    // 0..10
    void SetPicInvert(bool v);
    void SetPicColorNoise(int v);    // at least 0; zeroes PicMonoNoise
    void SetPicMonoNoise(int v);     // at least 0; zeroes PicColorNoise
    void SetPicPosterize(int v);     // at least 0; zeroes PicSolorize
    void SetPicSolorize(int v);      // 0..255; zeroes PicPosterize
    void SetPicEmboss(bool v);       // the spatial setters zero the six others
    void SetPicMosaic(int v);        // at least 0; with a picture at most its longer side
    void SetPicSplitBlur(int v);     // 0..255
    void SetPicGaussianBlur(int v);  // 0..50
    void SetPicAntiAlias(int v);     // 0..50
    void SetPicTrace(int v);         // 0..10
    void SetPicTile(int v);          // at least 0; see StoredTileCount

    // All nineteen values, in the control's order.
    TFxEffectValues EffectValues() const { return v_; }
    // Sets all nineteen values exactly as given (a set read from EffectValues) and recomputes
    // Picture once. A cache whose values did not change is kept, so restoring the values a
    // picture had gives back that picture, noise included.
    void RestoreEffects(const TFxEffectValues& values);

    // All values 0 or false, both caches freed, Picture an exact copy of the loaded picture.
    void ResetEffects();
    // Recomputes Picture from the cached effect (or the loaded picture) and the noise layer;
    // rebuilds a missing cache that the values need. Nothing happens without both pictures.
    void ApplyEffects();

    // A free text the control stores with its values; nothing reads it.
    std::string PictureEffects;

    // Runs whenever Picture was recomputed or replaced (the painting side repaints).
    std::function<void()> OnPictureChanged;

    // The caches, for the tests: nullptr when absent.
    const TBitmap* NoiseBitmap() const { return noise_.get(); }
    const TBitmap* EffectBitmap() const { return effect_.get(); }

private:
    enum class Spatial { Emboss, Mosaic, SplitBlur, GaussianBlur, AntiAlias, Trace, Tile };

    void OriginalPictureChanged();
    void SetNoise(int v, bool mono);
    void BuildNoise();
    void SetSpatial(Spatial which, int v);
    // Stores v for which (clamped) and zeroes the other spatial values.
    void StoreSpatial(Spatial which, int v);
    // Fills the effect cache from the loaded picture and the stored value of which.
    void BuildEffect(Spatial which);
    bool FirstSpatial(Spatial& which) const;
    void PictureRecomputed();

    TPicture original_;
    TPicture picture_;
    std::unique_ptr<TBitmap> noise_;
    std::unique_ptr<TBitmap> effect_;
    TFxEffectValues v_;
    bool converting_ = false;
};
