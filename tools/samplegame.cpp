#include "samplegame.h"

namespace vorn {
QString WriteSampleGame(const QString&) { return QStringLiteral("not written yet"); }
}
