#include "core/pitch/FileText.h"

#include <array>
#include <filesystem>
#include <memory>

namespace tv {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

FileTextStatus readFileText(const std::string& path, std::uintmax_t limit, std::string& text)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    // Opening a directory for reading succeeds on some systems; reading it never does.
    if (fs::is_directory(status))
        return FileTextStatus::unableToOpen;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return FileTextStatus::unableToOpen;
    if (fs::is_regular_file(status)) {
        const std::uintmax_t size = fs::file_size(path, ec);
        if (!ec && size > limit)
            return FileTextStatus::tooLarge;
    }
    return readStreamText(file.get(), limit, text);
}

FileTextStatus readStreamText(std::FILE* stream, std::uintmax_t limit, std::string& text)
{
    std::string bytes;
    std::array<char, 65536> buffer;
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), stream);
        if (got > limit - bytes.size())
            return FileTextStatus::tooLarge;
        bytes.append(buffer.data(), got);
        if (got < buffer.size())
            break;
    }
    if (std::ferror(stream))
        return FileTextStatus::unableToRead;
    text = std::move(bytes);
    return FileTextStatus::ok;
}

std::string sizeLimitText(std::uintmax_t limit)
{
    constexpr std::uintmax_t mebibyte = std::uintmax_t{1} << 20;
    if (limit < mebibyte)
        return std::to_string(limit) + " bytes";
    return std::to_string(limit / mebibyte) + " MiB";
}

}  // namespace tv
