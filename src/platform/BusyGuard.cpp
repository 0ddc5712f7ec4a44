#include "platform/BusyGuard.h"

#include "platform/Services.h"

#include <QTimer>

#include <utility>

BusyGuard::Scope::Scope(BusyGuard& guard, std::string what, std::function<void()> requestAbort)
    : guard_(guard), outermost_(guard.depth_ == 0) {
    if (outermost_) {
        guard_.what_ = std::move(what);
        guard_.requestAbort_ = std::move(requestAbort);
    }
    ++guard_.depth_;
}

BusyGuard::Scope::~Scope() {
    --guard_.depth_;
    if (!outermost_) return;
    guard_.what_.clear();
    guard_.requestAbort_ = nullptr;
    if (auto close = std::exchange(guard_.pendingClose_, nullptr)) {
        // The close runs from the event loop, after the operation's caller has returned.
        QTimer::singleShot(0, std::move(close));
    }
}

bool BusyGuard::Refuse() {
    if (!Busy()) return false;
    if (notice_)
        notice_(what_);
    else
        MessageDlg("Bitte warten: " + what_ + " läuft noch. Der Befehl wurde nicht ausgeführt.",
                   mtInformation, mbOK);
    return true;
}

bool BusyGuard::DeferClose(std::function<void()> close) {
    if (!Busy()) return false;
    pendingClose_ = std::move(close);
    if (requestAbort_) requestAbort_();
    return true;
}

void BusyGuard::SetRefusalNotice(std::function<void(const std::string&)> notice) {
    notice_ = std::move(notice);
}

BusyGuard& Busy() {
    static BusyGuard guard;
    return guard;
}
