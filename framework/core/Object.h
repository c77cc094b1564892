// Root of the class tree: every sender of an event is a TObject.
#pragma once
#include <functional>

class TObject {
  public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// An event whose only argument is its sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;
