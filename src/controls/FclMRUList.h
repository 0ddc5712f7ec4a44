#pragma once
// The recently chosen items of a combo box: at most MaxEntries texts with their data, most
// recent first, no two texts equal without regard to case.
#include <QString>
#include <QVariant>

#include <vector>

class TFclMRUList {
public:
    struct Entry {
        QString Text;
        QVariant Object;
    };

    int MaxEntries() const { return maxEntries_; }
    // Stores N and trims.
    void SetMaxEntries(int N);
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& At(int Index) const { return entries_.at(static_cast<std::size_t>(Index)); }

    // Moves an entry of that text to the front, or puts a new one there and trims.
    void Promote(const QString& S, const QVariant& Obj);
    // Drops the last entries while there are more than MaxEntries.
    void Trim();
    void Clear() { entries_.clear(); }

private:
    int maxEntries_ = 3;
    std::vector<Entry> entries_;
};
