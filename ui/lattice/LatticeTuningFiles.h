#pragma once

#include "core/tuning/KeyboardMapping.h"

#include <QString>

#include <functional>
#include <memory>

namespace tv {

class Lattice;
class MessageService;

// The two formats File > Export Tuning writes.
enum class TuningFileFormat { AnaMark, Dump };

// The dialogs behind a lattice window's keyboard mapping and tuning export commands. Tests
// give their own answers; the program asks with the platform's dialogs.
class TuningFileDialogs {
public:
    virtual ~TuningFileDialogs() = default;
    // A path, or empty when the user cancelled.
    virtual QString openMappingPath() = 0;
    virtual QString saveMappingPath() = 0;
    // A path and the format chosen by its filter; an empty path when cancelled.
    virtual QString exportTuningPath(TuningFileFormat& format) = 0;
};

class SystemTuningFileDialogs : public TuningFileDialogs {
public:
    static inline const QString anaMarkFilter = QStringLiteral("AnaMark tuning (.tun) (*.tun)");
    static inline const QString dumpFilter =
        QStringLiteral("MIDI Tuning Standard bulk dump (.syx) (*.syx)");

    QString openMappingPath() override;
    QString saveMappingPath() override;
    QString exportTuningPath(TuningFileFormat& format) override;
};

// Which key of a MIDI keyboard plays which of a lattice window's pitches, and the files that
// go with it: Scala keyboard mappings read and written, and the tuning of every key exported
// for other synthesizers. A file that cannot be read leaves the mapping in use as it was.
class LatticeTuningFiles {
public:
    LatticeTuningFiles(const Lattice& lattice, MessageService& messages);
    ~LatticeTuningFiles();

    void setDialogs(std::unique_ptr<TuningFileDialogs> dialogs);
    // Called after a mapping was read.
    void setMappingChanged(std::function<void()> changed) { changed_ = std::move(changed); }

    const KeyboardMapping& mapping() const { return mapping_; }

    void openMapping();
    void saveMapping();
    void exportTuning();

private:
    const Lattice& lattice_;
    MessageService& messages_;
    std::unique_ptr<TuningFileDialogs> dialogs_;
    std::function<void()> changed_;
    KeyboardMapping mapping_;
};

}  // namespace tv
