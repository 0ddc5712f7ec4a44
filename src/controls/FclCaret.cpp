#include "controls/FclCaret.h"
#include "controls/FclProperty.h"

#include <algorithm>
#include <cstdint>

namespace {

unsigned g_blinkTime = 530;

// x + offset, kept inside the 32-bit range; the off-screen position stays as it is.
int Shifted(int coordinate, int offset)
{
    if (coordinate == kCaretOffScreen)
        return coordinate;
    const std::int64_t v = std::int64_t(coordinate) + offset;
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

unsigned GetCaretBlinkTime()
{
    return g_blinkTime;
}

void SetCaretBlinkTime(unsigned Milliseconds)
{
    g_blinkTime = Milliseconds;
}

// ---- TFclCaret ----

TFclCaret::TFclCaret() = default;

void TFclCaret::Changed()
{
    if (onChange_)
        onChange_();
}

void TFclCaret::SetAlign(TFclCaretAlign Value)
{
    if (StoreChanged(align_, Value))
        Changed();
}

void TFclCaret::SetBitmap(const TBitmap* Value)
{
    if (!Value)
        return;
    bitmap_ = *Value;
    Changed();
}

void TFclCaret::SetBitmapHotSpotX(int Value)
{
    if (Value == hotSpotX_)
        return;
    hotSpotX_ = Value;
    if (shape_ == TFclCaretShape::csBitmap)
        Changed();
}

void TFclCaret::SetBitmapHotSpotY(int Value)
{
    if (Value == hotSpotY_)
        return;
    hotSpotY_ = Value;
    if (shape_ == TFclCaretShape::csBitmap)
        Changed();
}

void TFclCaret::SetBlinkTime(std::uint16_t Value)
{
    if (StoreChanged(blinkTime_, Value))
        Changed();
}

void TFclCaret::SetCaretHeight(int Value)
{
    if (Value >= 1 && StoreChanged(caretHeight_, Value))
        Changed();
}

void TFclCaret::SetCaretWidth(int Value)
{
    if (Value >= 1 && StoreChanged(caretWidth_, Value))
        Changed();
}

void TFclCaret::SetIsGray(bool Value)
{
    if (StoreChanged(isGray_, Value))
        Changed();
}

void TFclCaret::SetShape(TFclCaretShape Value)
{
    if (Value == shape_)
        return;
    shape_ = Value;
    switch (Value) {
    case TFclCaretShape::csBlock: align_ = TFclCaretAlign::caLeft; break;
    case TFclCaretShape::csHalfBlock: align_ = TFclCaretAlign::caBottom; break;
    case TFclCaretShape::csVertLine:
        align_ = TFclCaretAlign::caLeft;
        caretWidth_ = 2;
        break;
    case TFclCaretShape::csHorzLine:
        align_ = TFclCaretAlign::caBottom;
        caretHeight_ = 2;
        break;
    case TFclCaretShape::csBitmap:
        // An empty bitmap leaves the size as it is (sizes below 1 are never taken).
        if (bitmap_.Height() >= 1)
            caretHeight_ = bitmap_.Height();
        if (bitmap_.Width() >= 1)
            caretWidth_ = bitmap_.Width();
        break;
    case TFclCaretShape::csCustom: break;
    }
    Changed();
}

void TFclCaret::AddRef()
{
    ++refCount_;
}

void TFclCaret::Release()
{
    if (refCount_ > 0)
        --refCount_;
    if (refCount_ == 0)
        delete this;
}

void TFclCaret::Hook(const void* Owner, std::function<void()> Event)
{
    hookOwner_ = Owner;
    onChange_ = std::move(Event);
}

void TFclCaret::Unhook(const void* Owner)
{
    if (hookOwner_ != Owner)
        return;
    hookOwner_ = nullptr;
    onChange_ = nullptr;
}

// ---- TFclSingleCaret ----

TFclSingleCaret::TFclSingleCaret(THasWindow OwnerHasWindow)
    : hasWindow_(std::move(OwnerHasWindow))
{
    caret_ = new TFclCaret;
    caret_->AddRef();
    caret_->Hook(this, [this] { Rebuild(); });
    ComputeOffsets();
}

TFclSingleCaret::~TFclSingleCaret()
{
    SetShown(false);
    SetLinked(false);
    if (caret_) {
        caret_->Unhook(this);
        caret_->Release();
    }
}

void TFclSingleCaret::SetCaret(TFclCaret* NewCaret)
{
    if (!NewCaret || NewCaret == caret_)
        return;
    // Take the new one first: releasing the old could free a caret that NewCaret shares.
    NewCaret->AddRef();
    if (caret_) {
        caret_->Unhook(this);
        caret_->Release();
    }
    caret_ = NewCaret;
    caret_->Hook(this, [this] { Rebuild(); });
    Rebuild();
}

void TFclSingleCaret::SetCellHeight(int Value)
{
    if (Value >= 1 && StoreChanged(cellHeight_, Value))
        Rebuild();
}

void TFclSingleCaret::SetCellWidth(int Value)
{
    if (Value >= 1 && StoreChanged(cellWidth_, Value))
        Rebuild();
}

void TFclSingleCaret::SetLinked(bool Value)
{
    if (Value == linked_ || !OwnerHasWindow())
        return;
    linked_ = Value;
    if (Value) {
        savedBlinkTime_ = GetCaretBlinkTime();
        CreateSystemCaret();
        MoveSystemCaret();
        if (caret_->BlinkTime() != 0 && caret_->BlinkTime() != savedBlinkTime_)
            SetCaretBlinkTime(caret_->BlinkTime());
    } else {
        SetCaretBlinkTime(savedBlinkTime_);
        system_ = TSystemCaretState{};
    }
}

void TFclSingleCaret::SetPosition(int X, int Y)
{
    if (X < 0)
        X = kCaretOffScreen;
    if (Y < 0)
        Y = kCaretOffScreen;
    if (X == posX_ && Y == posY_)
        return;
    posX_ = X;
    posY_ = Y;
    if (linked_)
        MoveSystemCaret();
}

void TFclSingleCaret::SetShown(bool Value)
{
    if (Value == shown_)
        return;
    shown_ = Value;
    if (linked_ && OwnerHasWindow() && system_.Exists)
        system_.Visible = Value;
}

void TFclSingleCaret::Rebuild()
{
    const bool wasLinked = linked_;
    SetLinked(false);
    ComputeOffsets();
    SetLinked(wasLinked);
}

void TFclSingleCaret::CreateSystemCaret()
{
    system_ = TSystemCaretState{};
    system_.Exists = true;
    if (caret_->Shape() == TFclCaretShape::csBitmap) {
        system_.UsesBitmap = true;
        system_.Width = caret_->Bitmap().Width();
        system_.Height = caret_->Bitmap().Height();
    } else {
        system_.Gray = caret_->IsGray();
        system_.Width = caret_->CaretWidth();
        system_.Height = caret_->CaretHeight();
    }
    if (shown_)
        system_.Visible = true;
}

void TFclSingleCaret::MoveSystemCaret()
{
    system_.X = Shifted(posX_, offsetX_);
    system_.Y = Shifted(posY_, offsetY_);
}

bool TFclSingleCaret::ComputeOffsets()
{
    TFclCaret& c = *caret_;
    switch (c.shape_) {
    case TFclCaretShape::csBlock:
        c.caretHeight_ = cellHeight_;
        c.caretWidth_ = cellWidth_;
        break;
    case TFclCaretShape::csHalfBlock:
        c.caretHeight_ = cellHeight_ / 2;
        c.caretWidth_ = cellWidth_;
        break;
    case TFclCaretShape::csVertLine: c.caretHeight_ = cellHeight_; break;
    case TFclCaretShape::csHorzLine: c.caretWidth_ = cellWidth_; break;
    case TFclCaretShape::csCustom:
    case TFclCaretShape::csBitmap: break;
    }
    const int h = c.caretHeight_;
    const int w = c.caretWidth_;
    int x = 0;
    int y = 0;
    switch (c.align_) {
    case TFclCaretAlign::caLeft:
        x = 0;
        y = (cellHeight_ - h) / 2;
        break;
    case TFclCaretAlign::caTop:
        x = (cellWidth_ - w) / 2;
        y = 0;
        break;
    case TFclCaretAlign::caRight:
        x = cellWidth_ - w;
        y = (cellHeight_ - h) / 2;
        break;
    case TFclCaretAlign::caBottom:
        x = (cellWidth_ - w) / 2;
        y = cellHeight_ - h;
        break;
    case TFclCaretAlign::caCenter:
        x = (cellWidth_ - w) / 2;
        y = (cellHeight_ - h) / 2;
        break;
    }
    if (c.shape_ == TFclCaretShape::csBitmap) {
        // Any hot spot is allowed: keep the offset inside the 32-bit range.
        x = static_cast<int>(
            std::clamp<std::int64_t>(std::int64_t(x) - c.hotSpotX_, INT32_MIN, INT32_MAX));
        y = static_cast<int>(
            std::clamp<std::int64_t>(std::int64_t(y) - c.hotSpotY_, INT32_MIN, INT32_MAX));
    }
    const bool changed = x != offsetX_ || y != offsetY_;
    offsetX_ = x;
    offsetY_ = y;
    if (changed && linked_)
        MoveSystemCaret();
    return changed;
}

// ---- TFclCaretPair ----

TFclCaretPair::TFclCaretPair(THasWindow OwnerHasWindow)
    : TFclSingleCaret(std::move(OwnerHasWindow))
{
    insCaret_ = new TFclCaret;
    insCaret_->AddRef();
    ovrCaret_ = new TFclCaret;
    ovrCaret_->AddRef();
    ovrCaret_->SetShape(TFclCaretShape::csBlock);
    SetCaret(insCaret_);
}

TFclCaretPair::~TFclCaretPair()
{
    insCaret_->Release();
    ovrCaret_->Release();
}

void TFclCaretPair::SetInsertMode(bool Value)
{
    if (Value == insertMode_)
        return;
    insertMode_ = Value;
    SetCaret(Value ? insCaret_ : ovrCaret_);
}

void TFclCaretPair::SetInsCaret(TFclCaret* Value)
{
    if (!Value || Value == insCaret_)
        return;
    Value->AddRef();
    TFclCaret* old = insCaret_;
    insCaret_ = Value;
    if (insertMode_)
        SetCaret(insCaret_);
    old->Release();
}

void TFclCaretPair::SetOvrCaret(TFclCaret* Value)
{
    if (!Value || Value == ovrCaret_)
        return;
    Value->AddRef();
    TFclCaret* old = ovrCaret_;
    ovrCaret_ = Value;
    if (!insertMode_)
        SetCaret(ovrCaret_);
    old->Release();
}
