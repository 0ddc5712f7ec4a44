#pragma once
// Event types shared by the library's helper classes. Sender is the object that fires.
#include <functional>

using TNotifyEvent = std::function<void(void* Sender)>;
