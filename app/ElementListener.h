#pragma once

#include <cstdint>

namespace tv {

class Application;

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

private:
    friend class Application;
    Application* registeredWith_ = nullptr;
};

}  // namespace tv
