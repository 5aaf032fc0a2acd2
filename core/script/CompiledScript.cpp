#include "core/script/CompiledScript.h"

namespace tv {

CompiledScript::CompiledScript() : bytes_{scriptop::end} {}

CompiledScript::CompiledScript(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

std::string CompiledScript::hex() const
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes_.size() * 3);
    for (const std::uint8_t byte : bytes_) {
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

}  // namespace tv
