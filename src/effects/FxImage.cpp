#include "effects/FxImage.h"

#include "effects/ColourPass.h"
#include "effects/NoiseLayer.h"
#include "effects/PixelMath.h"
#include "effects/SpatialEffects.h"

#include <algorithm>

TFxImage::TFxImage() { original_.OnChange = [this] { OriginalPictureChanged(); }; }

void TFxImage::SetPictureOriginal(const TPicture* picture) { original_.Assign(picture); }

void TFxImage::OriginalPictureChanged() {
    if (converting_)
        return;
    if (!original_.HasGraphic()) {
        picture_.Clear();
        PictureRecomputed();
        return;
    }
    if (TBitmap* bitmap = original_.Bitmap()) {
        bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    } else {
        // A JPEG or an icon: the loaded picture becomes its 24-bit bitmap.
        TBitmap converted = *original_.Pixels();
        converted.SetPixelFormat(TPixelFormat::pf24bit);
        converting_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{converting_};
        original_.AssignBitmap(std::move(converted));
    }
    picture_.Assign(&original_);
    noise_.reset();
    effect_.reset();
    ApplyEffects();
}

void TFxImage::SetPicBrightness(int v) {
    v_.PicBrightness = std::clamp(v, -255, 255);
    ApplyEffects();
}
void TFxImage::SetPicContrast(int v) {
    v_.PicContrast = IntMax(v, -255);
    ApplyEffects();
}
void TFxImage::SetPicGrayScale(bool v) {
    v_.PicGrayScale = v;
    ApplyEffects();
}
void TFxImage::SetPicLightness(int v) {
    v_.PicLightness = IntMin(v, 255);
    ApplyEffects();
}
void TFxImage::SetPicDarkness(int v) {
    v_.PicDarkness = IntMin(v, 255);
    ApplyEffects();
}
void TFxImage::SetPicSaturation(int v) {
    v_.PicSaturation = IntMax(v, -255);
    ApplyEffects();
}
void TFxImage::SetPicSplitlight(int v) {
    v_.PicSplitlight = std::clamp(v, 0, 10);
    ApplyEffects();
}
void TFxImage::SetPicInvert(bool v) {
    v_.PicInvert = v;
    ApplyEffects();
}
void TFxImage::SetPicColorNoise(int v) { SetNoise(v, false); }
void TFxImage::SetPicMonoNoise(int v) { SetNoise(v, true); }
void TFxImage::SetPicPosterize(int v) {
    v_.PicPosterize = IntMax(v, 0);
    v_.PicSolorize = 0;
    ApplyEffects();
}
void TFxImage::SetPicSolorize(int v) {
    v_.PicSolorize = std::clamp(v, 0, 255);
    v_.PicPosterize = 0;
    ApplyEffects();
}
void TFxImage::SetPicEmboss(bool v) { SetSpatial(Spatial::Emboss, v ? 1 : 0); }
void TFxImage::SetPicMosaic(int v) { SetSpatial(Spatial::Mosaic, v); }
void TFxImage::SetPicSplitBlur(int v) { SetSpatial(Spatial::SplitBlur, v); }
void TFxImage::SetPicGaussianBlur(int v) { SetSpatial(Spatial::GaussianBlur, v); }
void TFxImage::SetPicAntiAlias(int v) { SetSpatial(Spatial::AntiAlias, v); }
void TFxImage::SetPicTrace(int v) { SetSpatial(Spatial::Trace, v); }
void TFxImage::SetPicTile(int v) { SetSpatial(Spatial::Tile, v); }

void TFxImage::SetNoise(int v, bool mono) {
    (mono ? v_.PicMonoNoise : v_.PicColorNoise) = IntMax(v, 0);
    (mono ? v_.PicColorNoise : v_.PicMonoNoise) = 0;
    if (IntMax(v, 0) >= 1 && original_.HasGraphic())
        BuildNoise();
    else
        noise_.reset();
    ApplyEffects();
}

void TFxImage::BuildNoise() {
    const bool mono = v_.PicMonoNoise != 0;
    if (!noise_)
        noise_ = std::make_unique<TBitmap>();
    FillNoiseLayer(*noise_, original_.Width(), original_.Height(), mono ? v_.PicMonoNoise : v_.PicColorNoise,
                   mono);
}

void TFxImage::StoreSpatial(Spatial which, int v) {
    const int w = original_.Width(), h = original_.Height();
    const bool loaded = original_.HasGraphic();
    int stored = 0;
    switch (which) {
    case Spatial::Emboss: stored = v != 0; break;
    case Spatial::Mosaic: stored = v < 0 ? 0 : loaded ? IntMin(v, IntMax(w, h)) : v; break;
    case Spatial::SplitBlur: stored = std::clamp(v, 0, 255); break;
    case Spatial::GaussianBlur:
    case Spatial::AntiAlias: stored = std::clamp(v, 0, 50); break;
    case Spatial::Trace: stored = std::clamp(v, 0, 10); break;
    case Spatial::Tile: stored = v <= 0 ? 0 : loaded ? StoredTileCount(w, h, v) : v; break;
    }
    v_.PicEmboss = false;
    v_.PicMosaic = v_.PicSplitBlur = v_.PicGaussianBlur = v_.PicAntiAlias = v_.PicTrace = v_.PicTile = 0;
    switch (which) {
    case Spatial::Emboss: v_.PicEmboss = stored != 0; break;
    case Spatial::Mosaic: v_.PicMosaic = stored; break;
    case Spatial::SplitBlur: v_.PicSplitBlur = stored; break;
    case Spatial::GaussianBlur: v_.PicGaussianBlur = stored; break;
    case Spatial::AntiAlias: v_.PicAntiAlias = stored; break;
    case Spatial::Trace: v_.PicTrace = stored; break;
    case Spatial::Tile: v_.PicTile = stored; break;
    }
}

void TFxImage::SetSpatial(Spatial which, int v) {
    StoreSpatial(which, v);
    Spatial on;
    if (FirstSpatial(on) && original_.HasGraphic()) {
        BuildEffect(which);
    } else {
        effect_.reset();
    }
    ApplyEffects();
}

bool TFxImage::FirstSpatial(Spatial& which) const {
    const std::pair<bool, Spatial> order[] = {
        {v_.PicEmboss, Spatial::Emboss},           {v_.PicMosaic >= 1, Spatial::Mosaic},
        {v_.PicSplitBlur >= 1, Spatial::SplitBlur}, {v_.PicGaussianBlur >= 1, Spatial::GaussianBlur},
        {v_.PicAntiAlias >= 1, Spatial::AntiAlias}, {v_.PicTrace >= 1, Spatial::Trace},
        {v_.PicTile >= 1, Spatial::Tile}};
    for (const auto& [on, kind] : order)
        if (on) {
            which = kind;
            return true;
        }
    return false;
}

void TFxImage::BuildEffect(Spatial which) {
    const TBitmap& source = *original_.Pixels();
    if (!effect_)
        effect_ = std::make_unique<TBitmap>();
    *effect_ = source;
    effect_->SetPixelFormat(TPixelFormat::pf24bit);
    TBitmap& e = *effect_;
    switch (which) {
    case Spatial::Emboss: EmbossBitmap(e); break;
    case Spatial::Mosaic: MosaicBitmap(e, v_.PicMosaic); break;
    case Spatial::SplitBlur: SplitBlurBitmap(e, v_.PicSplitBlur); break;
    case Spatial::GaussianBlur: GaussianBlurBitmap(e, v_.PicGaussianBlur); break;
    case Spatial::AntiAlias:
        for (int i = 0; i < v_.PicAntiAlias; ++i)
            AntiAliasRect(e, 0, 0, e.Width(), e.Height());
        break;
    case Spatial::Trace: TraceBitmap(e, v_.PicTrace); break;
    // The tiles come from the stored count, not from the count asked for: a rebuild (a new
    // picture, restored values) only knows the stored one, and the same values on the same
    // picture must give the same pixels.
    case Spatial::Tile: TileBitmap(source, v_.PicTile, e); break;
    }
}

void TFxImage::RestoreEffects(const TFxEffectValues& values) {
    const TFxEffectValues old = v_;
    v_ = values;
    if (!v_.AnyNoise() || old.PicColorNoise != v_.PicColorNoise || old.PicMonoNoise != v_.PicMonoNoise)
        noise_.reset();
    const bool sameSpatial = old.PicEmboss == v_.PicEmboss && old.PicMosaic == v_.PicMosaic &&
                             old.PicSplitBlur == v_.PicSplitBlur && old.PicGaussianBlur == v_.PicGaussianBlur &&
                             old.PicAntiAlias == v_.PicAntiAlias && old.PicTrace == v_.PicTrace &&
                             old.PicTile == v_.PicTile;
    if (!v_.AnySpatial() || !sameSpatial)
        effect_.reset();
    ApplyEffects();
}

void TFxImage::ResetEffects() {
    v_ = TFxEffectValues{};
    noise_.reset();
    effect_.reset();
    picture_.Assign(&original_);
    PictureRecomputed();
}

void TFxImage::ApplyEffects() {
    if (!original_.Bitmap() || !picture_.Bitmap())
        return;
    // Missing caches are built here directly, without going through the setters again.
    if (v_.AnyNoise() && !noise_)
        BuildNoise();
    const TBitmap* source = original_.Bitmap();
    Spatial which;
    if (FirstSpatial(which)) {
        if (!effect_) {
            if (which == Spatial::Tile) {
                v_.PicTile = StoredTileCount(source->Width(), source->Height(), v_.PicTile);
                if (v_.PicTile >= 1)
                    BuildEffect(which);
            } else {
                if (which == Spatial::Mosaic)
                    v_.PicMosaic = IntMin(v_.PicMosaic, IntMax(source->Width(), source->Height()));
                BuildEffect(which);
            }
        }
        if (effect_)
            source = effect_.get();
    }
    TBitmap& destination = *picture_.Bitmap();
    destination.SetPixelFormat(TPixelFormat::pf24bit);
    destination.SetSize(source->Width(), source->Height());
    const TBitmap* noise = noise_ && noise_->Width() == source->Width() && noise_->Height() == source->Height()
                               ? noise_.get()
                               : nullptr;
    ApplyColourPass(*source, noise, v_, destination);
    PictureRecomputed();
}

void TFxImage::PictureRecomputed() {
    if (OnPictureChanged)
        OnPictureChanged();
}
