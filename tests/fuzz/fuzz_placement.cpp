// The stored placement text: any bytes parse or are refused without harm, and a rectangle
// that parses is written back as a text that parses to the same rectangle.
#include "FuzzCheck.h"

#include "ui/common/StoredPlacement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tv;
    const auto placement =
        parsePlacement(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!placement)
        return 0;
    FUZZ_CHECK(parsePlacement(placementText(*placement)) == placement);
    (void)placement->hasUsableSize();
    return 0;
}
