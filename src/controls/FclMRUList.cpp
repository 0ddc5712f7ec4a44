#include "controls/FclMRUList.h"

#include <algorithm>

void TFclMRUList::SetMaxEntries(int N)
{
    maxEntries_ = N;
    Trim();
}

void TFclMRUList::Promote(const QString& S, const QVariant& Obj)
{
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&S](const Entry& e) {
        return e.Text.compare(S, Qt::CaseInsensitive) == 0;
    });
    if (same != entries_.end()) {
        entries_.erase(same);
        entries_.insert(entries_.begin(), Entry{S, Obj});
        return;
    }
    entries_.insert(entries_.begin(), Entry{S, Obj});
    Trim();
}

void TFclMRUList::Trim()
{
    while (Count() > std::max(maxEntries_, 0))
        entries_.pop_back();
}
