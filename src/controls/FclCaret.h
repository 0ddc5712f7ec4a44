#pragma once
// Carets of the entry fields: the description of a caret (shape, size, alignment in the
// character cell), a single caret that places such a description on the system caret of its
// owning control, and the insert/overwrite pair of an entry field.
//
// The system caret itself is modelled as state (TSystemCaretState): the caret functions
// record what they would do, and the entry-field widget draws and blinks from that state.
#include <cstdint>
#include <functional>

#include "platform/Bitmap.h"

enum class TFclCaretAlign : std::uint8_t { caLeft, caTop, caRight, caBottom, caCenter };
enum class TFclCaretShape : std::uint8_t {
    csBlock, csHalfBlock, csVertLine, csHorzLine, csCustom, csBitmap
};

// A caret position that lies off screen.
constexpr int kCaretOffScreen = 2147483647;

// The system caret as the caret functions left it.
struct TSystemCaretState {
    bool Exists = false;
    bool Visible = false;
    bool UsesBitmap = false;
    bool Gray = false;
    int Width = 0;
    int Height = 0;
    int X = 0;
    int Y = 0;
};

// The process-wide caret blink time in milliseconds (initially 530).
unsigned GetCaretBlinkTime();
void SetCaretBlinkTime(unsigned Milliseconds);

// A caret description, shared by reference count. Created with count 0; AddRef takes a
// reference, Release gives one back and deletes the caret when none is left.
class TFclCaret {
public:
    TFclCaret();
    TFclCaret(const TFclCaret&) = delete;
    TFclCaret& operator=(const TFclCaret&) = delete;

    TFclCaretAlign Align() const { return align_; }
    const TBitmap& Bitmap() const { return bitmap_; }
    int BitmapHotSpotX() const { return hotSpotX_; }
    int BitmapHotSpotY() const { return hotSpotY_; }
    std::uint16_t BlinkTime() const { return blinkTime_; }
    int CaretHeight() const { return caretHeight_; }
    int CaretWidth() const { return caretWidth_; }
    bool IsGray() const { return isGray_; }
    TFclCaretShape Shape() const { return shape_; }

    // Every setter stores a changed value and fires the change event.
    void SetAlign(TFclCaretAlign Value);
    // Copies a non-null bitmap into the owned one.
    void SetBitmap(const TBitmap* Value);
    // These two fire the change event only for csBitmap.
    void SetBitmapHotSpotX(int Value);
    void SetBitmapHotSpotY(int Value);
    // 0 keeps the system's blink time.
    void SetBlinkTime(std::uint16_t Value);
    // Values below 1 are ignored.
    void SetCaretHeight(int Value);
    void SetCaretWidth(int Value);
    void SetIsGray(bool Value);
    // Also sets: csBlock Align caLeft; csHalfBlock caBottom; csVertLine caLeft and width 2;
    // csHorzLine caBottom and height 2; csBitmap the size of the bitmap.
    void SetShape(TFclCaretShape Value);

    void AddRef();
    void Release();
    unsigned RefCount() const { return refCount_; }

    // The single caret that uses this caret hooks its change event; Owner identifies it so
    // that it can unhook only its own handler.
    void Hook(const void* Owner, std::function<void()> Event);
    void Unhook(const void* Owner);

private:
    friend class TFclSingleCaret;
    ~TFclCaret() = default;
    void Changed();

    TFclCaretAlign align_ = TFclCaretAlign::caLeft;
    TBitmap bitmap_;
    int hotSpotX_ = 0;
    int hotSpotY_ = 0;
    std::uint16_t blinkTime_ = 0;
    int caretHeight_ = 10;
    int caretWidth_ = 2;
    bool isGray_ = false;
    TFclCaretShape shape_ = TFclCaretShape::csVertLine;
    std::function<void()> onChange_;
    const void* hookOwner_ = nullptr;
    unsigned refCount_ = 0;
};

// One caret placed in the character cell of an owning control.
class TFclSingleCaret {
public:
    // Whether the owning control has a window now; an empty function means never.
    using THasWindow = std::function<bool()>;

    explicit TFclSingleCaret(THasWindow OwnerHasWindow = {});
    virtual ~TFclSingleCaret();
    TFclSingleCaret(const TFclSingleCaret&) = delete;
    TFclSingleCaret& operator=(const TFclSingleCaret&) = delete;

    TFclCaret* Caret() const { return caret_; }
    // When different: the old caret is released, the new one taken and hooked, then the
    // system caret is rebuilt. A null caret is ignored.
    void SetCaret(TFclCaret* NewCaret);

    int CellHeight() const { return cellHeight_; }
    int CellWidth() const { return cellWidth_; }
    // Values below 1 are ignored; a change rebuilds the system caret.
    void SetCellHeight(int Value);
    void SetCellWidth(int Value);

    bool Linked() const { return linked_; }
    // True creates the system caret (only while the owner has a window), False destroys it.
    void SetLinked(bool Value);

    int PosX() const { return posX_; }
    int PosY() const { return posY_; }
    // Negative coordinates become kCaretOffScreen.
    void SetPosition(int X, int Y);

    bool Shown() const { return shown_; }
    void SetShown(bool Value);

    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }

    const TSystemCaretState& SystemCaret() const { return system_; }

protected:
    void Rebuild();

private:
    bool OwnerHasWindow() const { return hasWindow_ && hasWindow_(); }
    void CreateSystemCaret();
    void MoveSystemCaret();
    // Recomputes the offsets; true when they changed.
    bool ComputeOffsets();

    TFclCaret* caret_ = nullptr;
    int cellHeight_ = 10;
    bool linked_ = false;
    int posX_ = 0;
    int posY_ = 0;
    bool shown_ = false;
    int cellWidth_ = 10;
    unsigned savedBlinkTime_ = 0;
    THasWindow hasWindow_;
    int offsetX_ = 0;
    int offsetY_ = 0;
    TSystemCaretState system_;
};

// The insert caret (a vertical line) and the overwrite caret (a block) of an entry field;
// the caret in use follows the insert mode.
class TFclCaretPair : public TFclSingleCaret {
public:
    explicit TFclCaretPair(THasWindow OwnerHasWindow = {});
    ~TFclCaretPair() override;

    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool Value);

    TFclCaret* InsCaret() const { return insCaret_; }
    TFclCaret* OvrCaret() const { return ovrCaret_; }
    // Release the old caret, take the new one and use it when its mode is active. A null
    // caret is ignored.
    void SetInsCaret(TFclCaret* Value);
    void SetOvrCaret(TFclCaret* Value);

private:
    bool insertMode_ = true;
    TFclCaret* insCaret_ = nullptr;
    TFclCaret* ovrCaret_ = nullptr;
};
