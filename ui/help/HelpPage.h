#pragma once

#include <QByteArray>
#include <QString>

namespace tv {

// The page the About dialog shows: "Orlix.htm", seventeen lines of HTML naming the program,
// its version and authors, and six links about just intonation and Scala.
inline constexpr const char* helpPageName = "Orlix.htm";

// The page's bytes, line feeds only.
QByteArray helpPageText();

// Where the page goes: the program's own cache folder, never the current directory, where a
// user's file of that name would be overwritten.
QString helpPageDirectory();

struct HelpPageWrite {
    bool written = false;
    QString path;    // the page's path, whether written or not
    QString reason;  // why it was not written
};

// Writes the page into `directory` (made when missing), replacing what was there.
HelpPageWrite writeHelpPage(const QString& directory);

}  // namespace tv
