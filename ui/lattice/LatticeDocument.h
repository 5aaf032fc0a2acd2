#pragma once

#include <QString>

#include <string>

namespace tv {

// The file a lattice window's lattice belongs to.
struct LatticeDocument {
    QString fileName;
    QString filePath;
    // The file whose reading failed part way; empty when there is none.
    QString incompletePath;
    // The file text that Save wrote or would have written when the lattice was unchanged.
    std::string unmodifiedText;
    bool operator==(const LatticeDocument&) const = default;
};

}  // namespace tv
