#include "app/ElementListener.h"

#include "app/Application.h"

namespace tv {

ElementListener::~ElementListener()
{
    if (registeredWith_)
        registeredWith_->unregisterListener(this);
}

void ElementListener::onCentsChosen(double) {}

void ElementListener::onRatioChosen(std::uint32_t, std::uint32_t) {}

}  // namespace tv
