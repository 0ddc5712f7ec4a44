#pragma once
// One guard for the whole program that says which long operation is running. While it is
// set, commands that would change the program, the picture or the settings are refused, and
// a request to close asks the operation to abort and closes once the work has unwound.
#include <functional>
#include <string>

class BusyGuard {
public:
    // Marks an operation as running for the lifetime of the scope. requestAbort is called
    // when a close arrives while it runs (it sets the abort flag the operation polls).
    class Scope {
    public:
        Scope(BusyGuard& guard, std::string what, std::function<void()> requestAbort);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        BusyGuard& guard_;
        bool outermost_;
    };

    bool Busy() const { return depth_ > 0; }
    // What is running ("Programm erstellen"), empty when idle.
    const std::string& What() const { return what_; }

    // True when busy: the caller must refuse its command. The user is told what is running.
    bool Refuse();

    // A close while busy: requests the abort and runs close once the operation has ended.
    // Returns false (nothing done) when idle, so the caller closes at once.
    bool DeferClose(std::function<void()> close);
    bool ClosePending() const { return bool(pendingClose_); }

    // How a refusal is shown; the default shows an information box.
    void SetRefusalNotice(std::function<void(const std::string& what)> notice);

private:
    int depth_ = 0;
    std::string what_;
    std::function<void()> requestAbort_;
    std::function<void()> pendingClose_;
    std::function<void(const std::string&)> notice_;
};

// The program's one guard.
BusyGuard& Busy();
