// The design editor's questions before anything the user made is dropped: the edits of an
// object not yet taken over with "Übernehmen", before the selection moves on, the object is
// copied or drawn afresh, or the design is saved, printed, exported or taken over; and a design
// changed since it was opened or saved, before New, Open or closing. The design core says what
// is not kept yet; this side asks and carries out the answer.
#include "designer/DesignEditor.h"

#include "designer/DesignQuestions.h"
#include "platform/Services.h"

void Tform_paint::CommitSelected() {
    if (!design_.Selected())
        return;
    WriteDatatofield();
    design_.WriteObjectLines(design_.AktFenster);
    OutlineOverlay(true);
    Render();
    OutlineObject(false);
    OutlineOverlay(false);
}

bool Tform_paint::SettleEdits(const std::vector<int>& objects) {
    if (objects.empty())
        return true;
    switch (MessageDlg(UncommittedEditsQuestion(design_, objects), mtWarning, mbYesNoCancel)) {
    case mrYes:
        for (const int slot : objects) {
            if (slot == design_.AktFenster)
                CommitSelected();
            else
                design_.WriteObjectLines(slot);
        }
        return true;
    case mrNo:
        for (const int slot : objects) {
            if (slot == design_.AktFenster) {
                // The overlay follows the object back to where its lines put it.
                OutlineOverlay(true);
                design_.ParseObjectLines(slot);
                ShowOverlay();
            } else {
                design_.RevertObject(slot);
            }
        }
        return true;
    default:
        return false;
    }
}

bool Tform_paint::SettleSelectedEdits() {
    if (!design_.Selected() || !design_.HasUncommittedEdits(design_.AktFenster))
        return true;
    return SettleEdits({design_.AktFenster});
}

bool Tform_paint::SettleAllEdits() { return SettleEdits(design_.SlotsWithUncommittedEdits()); }

bool Tform_paint::MayLeaveDesign(bool closing) {
    if (!design_.ChangedSinceKept())
        return true;
    switch (MessageDlg(DesignChangedQuestion(design_, closing), mtWarning, mbYesNoCancel)) {
    case mrYes: return SaveDesign(false);
    case mrNo: return true;
    default: return false;
    }
}

bool Tform_paint::SaveDesign(bool asNewName) {
    if (!SettleAllEdits())
        return false;
    return asNewName ? design_.SaveAs() : design_.Save();
}
