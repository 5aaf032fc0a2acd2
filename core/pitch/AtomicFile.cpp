#include "core/pitch/AtomicFile.h"

#include <cerrno>
#include <filesystem>

namespace tv {
namespace {

namespace fs = std::filesystem;

bool writeAll(std::FILE* file, std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// Creates a new, empty file beside `target` that no one else uses; null when none can be made,
// with the reason in `error`.
std::FILE* createTemporary(const fs::path& target, fs::path& temporary, int& error)
{
    std::string stem = ".";
    stem += target.filename().string();
    stem += '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() / (stem + std::to_string(attempt) + ".tmp");
        // "x": fail rather than reuse a file that already exists.
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx"))
            return file;
        error = errno;
        std::error_code ec;
        if (!fs::exists(temporary, ec))
            return nullptr;
    }
    return nullptr;
}

}  // namespace

AtomicWriteStatus writeFileAtomically(const std::string& path, const FileFiller& fill, int* error)
{
    int reason = 0;
    const auto fail = [&reason, error](AtomicWriteStatus status) {
        if (error)
            *error = reason;
        return status;
    };
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const auto resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    if (!target.has_filename())
        return fail(AtomicWriteStatus::openFailed);
    if (fs::exists(target, ec)) {
        errno = 0;
        std::FILE* existing = std::fopen(target.c_str(), "r+b");
        if (!existing) {
            reason = errno;
            return fail(AtomicWriteStatus::openFailed);
        }
        std::fclose(existing);
    }
    fs::path temporary;
    std::FILE* file = createTemporary(target, temporary, reason);
    if (!file)
        return fail(AtomicWriteStatus::openFailed);

    // The first step that fails gives the reason.
    const auto step = [&reason](bool done) {
        if (!done && reason == 0)
            reason = errno;
        return done;
    };
    errno = 0;
    bool ok = step(fill(file));
    errno = 0;
    ok = step(std::fflush(file) == 0) && ok;
    errno = 0;
    ok = step(std::fclose(file) == 0) && ok;
    if (ok) {
        const auto status = fs::status(target, ec);
        if (!ec && fs::is_regular_file(status))
            fs::permissions(temporary, status.permissions(), ec);
        fs::rename(temporary, target, ec);
        ok = !ec;
        if (ec)
            reason = ec.value();
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return fail(AtomicWriteStatus::writeFailed);
    }
    return AtomicWriteStatus::ok;
}

AtomicWriteStatus writeFileAtomically(const std::string& path, std::string_view bytes,
                                      const FileChunkWriter& writer, int* error)
{
    return writeFileAtomically(
        path, [&](std::FILE* file) { return writer ? writer(file, bytes) : writeAll(file, bytes); },
        error);
}

}  // namespace tv
