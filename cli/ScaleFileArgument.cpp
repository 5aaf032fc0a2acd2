#include "cli/ScaleFileArgument.h"

#include "core/lattice/Lattice.h"

#include <iostream>

namespace tv::cli {

namespace {

bool reported(const FileResult& result)
{
    if (!result.ok)
        std::cerr << result.message << (result.message.ends_with('\n') ? "" : "\n");
    return result.ok;
}

}  // namespace

bool loadScale(const std::string& path, Lattice& lattice)
{
    return reported(lattice.readScala(path));
}

bool saveScale(const std::string& path, const Lattice& lattice)
{
    return reported(lattice.writeScala(path));
}

}  // namespace tv::cli
