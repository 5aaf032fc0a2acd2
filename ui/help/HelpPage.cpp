#include "ui/help/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tv {
namespace {

// The build passes in the version and the day it was released.
constexpr const char* versionLine =
    "  <H4>Version " TONALVANE_VERSION ", " TONALVANE_VERSION_DATE "</H4>\n";

// The developers, with a mail link when the build was given an address to write to.
QByteArray contactLine()
{
    const QByteArray address = TONALVANE_CONTACT_ADDRESS;
    if (address.isEmpty())
        return "    The Tonalvane developers<BR>\n";
    return "    <A HREF=\"mailto:" + address + "\">The Tonalvane developers</A><BR>\n";
}

struct Link {
    const char* address;
    const char* title;
};

// In the page's order: where to find scales to open, three pages about just intonation and
// microtonal music (the last by a composer), the Scala program, and the foundation behind it.
constexpr Link links[] = {
    {"https://www.huygens-fokker.org/scala/downloads.html#scales", "The Scala scale archive"},
    {"https://en.wikipedia.org/wiki/Just_intonation", "Just intonation (Wikipedia)"},
    {"https://en.xen.wiki/", "The Xenharmonic Wiki"},
    {"https://www.kylegann.com/tuning.html", "Kyle Gann: Just Intonation Explained"},
    {"https://www.huygens-fokker.org/scala/", "Scala, the scale program"},
    {"https://www.huygens-fokker.org/", "The Huygens-Fokker Foundation for microtonal music"},
};

}  // namespace

QByteArray helpPageText()
{
    QByteArray page;
    page += "<HTML>\n";
    page += "  <BODY>\n";
    page += "  <H1>Tonalvane</H1>\n";
    page += versionLine;
    page += "  <H3>The Tonalvane developers</H3>\n";
    page += "\t <H3>with everyone who sent a scale, a report or a fix</H3>\n";
    page += "  Mail comments and suggestions to ";
    page += contactLine();
    page += "  <H2>Links</H2>\n";
    for (const Link& link : links) {
        page += "  <A HREF=\"";
        page += link.address;
        page += "\" TARGET=\"_blank\">";
        page += link.title;
        page += "</A><BR>\n";
    }
    page += "  </BODY>\n";
    page += "</HTML>\n";
    return page;
}

QString helpPageDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

HelpPageWrite writeHelpPage(const QString& directory)
{
    HelpPageWrite result;
    if (directory.isEmpty()) {
        result.reason = QStringLiteral("There is no cache folder to write the help page into.");
        return result;
    }
    result.path = QDir(directory).filePath(QString::fromLatin1(helpPageName));
    if (!QDir().mkpath(directory)) {
        result.reason = QStringLiteral("The help page cannot be written: the folder %1 cannot "
                                       "be made.")
                            .arg(QDir::toNativeSeparators(directory));
        return result;
    }
    QFile file(result.path);
    const QByteArray text = helpPageText();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
        !file.flush()) {
        result.reason = QStringLiteral("The help page %1 cannot be written: %2.")
                            .arg(QDir::toNativeSeparators(result.path), file.errorString());
        return result;
    }
    file.close();
    result.written = file.error() == QFileDevice::NoError;
    if (!result.written)
        result.reason = QStringLiteral("The help page %1 cannot be written: %2.")
                            .arg(QDir::toNativeSeparators(result.path), file.errorString());
    return result;
}

}  // namespace tv
