#pragma once
// A read-only view of the program's line store that paints only the visible lines; it stands
// in for the program editor until the editing view is in.
#include "platform/LineStore.h"

#include <QAbstractScrollArea>

namespace standin {

class ProgramView : public QAbstractScrollArea {
public:
    explicit ProgramView(QWidget* parent = nullptr);

    TStrings& Lines() { return lines_; }
    const TStrings& Lines() const { return lines_; }
    // Call after the lines were changed through Lines().
    void LinesChanged();

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    void SelectAll() { allSelected_ = true; viewport()->update(); }
    // Copies the selection (here: the whole text when selected) to the clipboard.
    void CopyToClipboard();
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollBars();
    TStrings lines_;
    bool modified_ = false;
    bool readOnly_ = true;
    bool allSelected_ = false;
};

}  // namespace standin
