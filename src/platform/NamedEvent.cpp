#include "platform/NamedEvent.h"

#include <map>

std::shared_ptr<TNamedEvent> TNamedEvent::Create(const std::string& name, bool manualReset,
                                                 bool initiallySignalled) {
    static std::map<std::string, std::weak_ptr<TNamedEvent>> named;
    if (auto existing = named[name].lock()) return existing;
    auto event = std::make_shared<TNamedEvent>(name, manualReset, initiallySignalled);
    named[name] = event;
    return event;
}
