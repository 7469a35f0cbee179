#pragma once
// The game's save file, Profile.dat: the title screen's "Load" puts the
// player where it says. Play-testing writes one that starts in the stage
// being edited.
#include "gamefolder.h"
#include "outcome.h"

#include <QByteArray>
#include <QString>

namespace vorn {

constexpr qint64 kProfileSize = 1540;
inline const QString kProfileName = QStringLiteral("Profile.dat");

// Where the player starts: a stage, and a cell of its map.
struct ProfilePlace {
    int stage = 0;
    int x = 0;
    int y = 0;
};

// A save holding nothing but life 3 of 3, at `place`, facing right.
QByteArray FreshProfile(const ProfilePlace& place);

// The save `bytes` (read from `displayName`) with only its stage, place
// and direction (right) changed. Refused, naming the file, when it is not
// a save the game loads: another size, or not starting "Do041220". A save
// without life would kill the player at once, so it gets its maximum life
// (3 of 3 when that is none either).
Outcome PlaceInProfile(QByteArray& bytes, const QString& displayName, const ProfilePlace& place);

// The save to start at `place`: the folder's own Profile.dat moved there,
// or a fresh one when the folder has none.
Outcome ComposeProfile(const GameFolder& folder, const ProfilePlace& place, QByteArray& out);

// Fields read back, for messages and tests.
struct ProfileFields {
    int stage = 0, music = 0, x = 0, y = 0, direction = 0;
    int maxLife = 0, life = 0;
    quint32 equipment = 0;
};
ProfileFields ReadProfileFields(const QByteArray& bytes);

} // namespace vorn
