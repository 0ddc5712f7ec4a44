#pragma once
// The nineteen effect values of the picture-effects control, in the order the control and
// its callers list them. A zero (or false) value switches its effect off.
struct TFxEffectValues {
    int PicBrightness = 0;
    int PicContrast = 0;
    bool PicGrayScale = false;
    int PicLightness = 0;
    int PicDarkness = 0;
    int PicSaturation = 0;
    int PicSplitlight = 0;
    bool PicInvert = false;
    int PicColorNoise = 0;
    int PicMonoNoise = 0;
    int PicPosterize = 0;
    int PicSolorize = 0;
    bool PicEmboss = false;
    int PicMosaic = 0;
    int PicSplitBlur = 0;
    int PicGaussianBlur = 0;
    int PicAntiAlias = 0;
    int PicTrace = 0;
    int PicTile = 0;

    bool operator==(const TFxEffectValues&) const = default;

    bool AnyNoise() const { return PicColorNoise != 0 || PicMonoNoise != 0; }
    bool AnySpatial() const {
        return PicEmboss || PicMosaic != 0 || PicSplitBlur != 0 || PicGaussianBlur != 0 ||
               PicAntiAlias != 0 || PicTrace != 0 || PicTile != 0;
    }
};
