#pragma once
// An event object known by name within the process: creating one under a name that is in use
// opens the same object. Signalled or not; nothing here waits on it.
#include <memory>
#include <string>

class TNamedEvent {
public:
    // Creates or opens the event called name.
    static std::shared_ptr<TNamedEvent> Create(const std::string& name, bool manualReset,
                                               bool initiallySignalled);
    void SetEvent() { signalled_ = true; }
    void ResetEvent() { signalled_ = false; }
    bool Signalled() const { return signalled_; }
    bool ManualReset() const { return manualReset_; }
    const std::string& Name() const { return name_; }

    TNamedEvent(std::string name, bool manualReset, bool signalled)
        : name_(std::move(name)), manualReset_(manualReset), signalled_(signalled) {}

private:
    std::string name_;
    bool manualReset_;
    bool signalled_;
};
