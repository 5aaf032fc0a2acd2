#include "core/tuning/TuningFile.h"

#include "core/pitch/AtomicFile.h"

#include <system_error>

namespace tv {

FileResult writeTuningFile(const std::string& path, std::string_view bytes)
{
    int error = 0;
    const auto status = writeFileAtomically(path, bytes, FileChunkWriter{}, &error);
    if (status == AtomicWriteStatus::ok)
        return {};
    std::string message =
        (status == AtomicWriteStatus::openFailed ? "Unable to open " : "Unable to write ") + path;
    if (error != 0)
        message += ": " + std::generic_category().message(error);
    return {false, std::move(message)};
}

}  // namespace tv
