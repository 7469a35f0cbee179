#pragma once
// The game folder a start from the command line or the desktop menu runs
// in. Without options nothing happens here and start-up checks the current
// folder as always.
#include "outcome.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace vorn {

struct StartOptions {
    bool chooseFolder = false; // --choose-folder
    QString folder; // DIR: change into it first
    Outcome parsed; // refused: bad usage, nothing else is valid
    QString usage; // the help text, for -h and --help
    bool given() const { return chooseFolder || !folder.isEmpty(); }
};

// Reads the arguments left after Qt took its own (program name first).
StartOptions ParseStartOptions(const QStringList& arguments);

// Shows a folder chooser opening at the given folder; the chosen folder,
// or an empty text when the user cancelled.
using FolderChooser = std::function<QString(const QString& startAt)>;

// Ready, refused with the message to show, or `cancelled` by the user in
// the chooser.
struct [[nodiscard]] StartFolder : Outcome {
    StartFolder() = default;
    StartFolder(const Outcome& outcome)
        : Outcome(outcome)
    {
    }
    bool cancelled = false;
};

// Changes into options.folder when one is given. Then, with --choose-folder
// and a current folder that is not a game folder, asks `choose` for one,
// opening at `lastGameFolder` when it still exists, and changes into it.
StartFolder EnterStartFolder(const StartOptions& options, const QString& lastGameFolder, const FolderChooser& choose);

} // namespace vorn
