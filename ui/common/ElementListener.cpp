#include "ui/common/ElementListener.h"

#include <algorithm>

namespace tv {

ElementListener::~ElementListener()
{
    if (registeredWith_)
        registeredWith_->unregisterListener(this);
}

void ElementListener::onCentsChosen(double) {}

void ElementListener::onRatioChosen(std::uint32_t, std::uint32_t) {}

ElementListeners::~ElementListeners()
{
    for (auto* listener : listeners_)
        listener->registeredWith_ = nullptr;
}

void ElementListeners::registerListener(ElementListener* listener)
{
    if (!listener)
        return;
    if (listener->registeredWith_)
        listener->registeredWith_->unregisterListener(listener);
    listeners_.insert(listeners_.begin(), listener);
    listener->registeredWith_ = this;
}

void ElementListeners::unregisterListener(ElementListener* listener)
{
    const auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it == listeners_.end())
        return;
    listeners_.erase(it);
    listener->registeredWith_ = nullptr;
}

void ElementListeners::broadcastRatio(std::uint32_t numerator, std::uint32_t denominator)
{
    const auto snapshot = listeners_;
    for (auto* listener : snapshot) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            listener->onRatioChosen(numerator, denominator);
    }
}

void ElementListeners::broadcastCents(double cents)
{
    const auto snapshot = listeners_;
    for (auto* listener : snapshot) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            listener->onCentsChosen(cents);
    }
}

}  // namespace tv
