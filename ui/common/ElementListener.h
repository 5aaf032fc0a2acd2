#pragma once

#include <cstdint>
#include <vector>

namespace tv {

class ElementListeners;

// Hears which pitch the user clicked in any lattice window. Both notifications do nothing by
// default. A listener that is destroyed while registered removes itself, and only itself.
class ElementListener {
public:
    ElementListener() = default;
    ElementListener(const ElementListener&) = delete;
    ElementListener& operator=(const ElementListener&) = delete;
    virtual ~ElementListener();

    virtual void onCentsChosen(double cents);
    virtual void onRatioChosen(std::uint32_t numerator, std::uint32_t denominator);

    // Whether a list holds this listener; false again once that list is gone.
    bool isRegistered() const { return registeredWith_ != nullptr; }

private:
    friend class ElementListeners;
    ElementListeners* registeredWith_ = nullptr;
};

// The windows that want to hear clicked pitches, newest first. Holds references only.
class ElementListeners {
public:
    ElementListeners() = default;
    ElementListeners(const ElementListeners&) = delete;
    ElementListeners& operator=(const ElementListeners&) = delete;
    ~ElementListeners();

    // Inserts at the head, so the most recently registered listener hears first; a listener
    // registered again moves to the head.
    void registerListener(ElementListener* listener);
    // Removes that one entry; nothing happens when it is not registered.
    void unregisterListener(ElementListener* listener);
    // Tell every listener, head to tail. A listener may unregister (close its window) while
    // it is told; those not yet told that are gone by then are skipped.
    void broadcastRatio(std::uint32_t numerator, std::uint32_t denominator);
    void broadcastCents(double cents);
    const std::vector<ElementListener*>& all() const { return listeners_; }

private:
    std::vector<ElementListener*> listeners_;
};

}  // namespace tv
