#include "recovery.h"

#include "safewrite.h"
#include "stagedocument.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QtEndian>

namespace vorn {

namespace {

const QByteArray kMagic = QByteArrayLiteral("VORN-RECOVERY 1\n");
constexpr qint64 kMaxCopyBytes = 4 * 1024 * 1024; // two game files, far below this

QString CanonicalRoot(const QString& gameRoot)
{
    const QString canonical = QFileInfo(gameRoot).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(gameRoot).absoluteFilePath() : canonical;
}

void AppendPart(QByteArray& out, const QByteArray& part)
{
    char size[4];
    qToLittleEndian(quint32(part.size()), size);
    out.append(size, 4);
    out.append(part);
}

bool TakePart(const QByteArray& in, qsizetype& at, QByteArray& part)
{
    if (in.size() - at < 4)
        return false;
    const quint32 size = qFromLittleEndian<quint32>(in.constData() + at);
    at += 4;
    if (quint64(in.size() - at) < size)
        return false;
    part = in.mid(at, qsizetype(size));
    at += qsizetype(size);
    return true;
}

} // namespace

QString RecoveryStore::DefaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/vorn/recovery");
}

QString RecoveryStore::pathOf(const QString& gameRoot, const QString& mapName) const
{
    if (folder_.isEmpty())
        return {};
    // One folder per game, named by a hash of its place; map names are
    // plain file names, encoded so that any of them makes one file name.
    const QByteArray game =
        QCryptographicHash::hash(CanonicalRoot(gameRoot).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString file = QString::fromLatin1(QUrl::toPercentEncoding(mapName));
    return folder_ + u'/' + QString::fromLatin1(game) + u'/' + file + QStringLiteral(".recovery");
}

Outcome RecoveryStore::write(const QString& gameRoot, const QString& mapName, const Copy& copy) const
{
    const QString path = pathOf(gameRoot, mapName);
    if (path.isEmpty())
        return {};
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("Cannot create the folder %1.").arg(QFileInfo(path).absolutePath());
    QByteArray bytes = kMagic;
    AppendPart(bytes, CanonicalRoot(gameRoot).toUtf8());
    AppendPart(bytes, copy.mapFile);
    AppendPart(bytes, copy.entityFile);
    AppendPart(bytes, copy.tileTypes);
    return WriteFileAtomically(path, path, bytes);
}

std::optional<RecoveryStore::Copy> RecoveryStore::read(const QString& gameRoot, const QString& mapName) const
{
    const QString path = pathOf(gameRoot, mapName);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    QByteArray bytes;
    if (!ReadWholeFile(path, path, bytes, {}, kMaxCopyBytes).ok() || !bytes.startsWith(kMagic))
        return std::nullopt;
    qsizetype at = kMagic.size();
    QByteArray root;
    Copy copy;
    if (!TakePart(bytes, at, root) || !TakePart(bytes, at, copy.mapFile) || !TakePart(bytes, at, copy.entityFile))
        return std::nullopt;
    // Copies written before tile types were kept end here.
    if (!TakePart(bytes, at, copy.tileTypes))
        copy.tileTypes.clear();
    if (QString::fromUtf8(root) != CanonicalRoot(gameRoot))
        return std::nullopt;
    copy.written = QFileInfo(path).lastModified();
    return copy;
}

void RecoveryStore::remove(const QString& gameRoot, const QString& mapName) const
{
    const QString path = pathOf(gameRoot, mapName);
    if (!path.isEmpty())
        QFile::remove(path);
}

RecoveryKeeper::RecoveryKeeper(StageDocument& stage, RecoveryStore store, QObject* parent)
    : QObject(parent)
    , stage_(stage)
    , store_(std::move(store))
{
    // A look every kDelayMs while edits are unsaved, rather than a signal
    // at every painted cell: painting keeps its speed.
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (stage_.revision() != writtenRevision_)
            writeNow();
    });
    connect(&stage_, &StageDocument::modifiedChanged, this, [this](bool modified) {
        if (modified) {
            if (!timer_.isActive())
                timer_.start();
            return;
        }
        // Nothing unsaved: the copy of this stage has nothing to give back.
        timer_.stop();
        if (kept_ && *kept_ == openStage()) {
            store_.remove(kept_->root, kept_->mapName);
            kept_.reset();
        }
    });
    connect(&stage_, &StageDocument::opened, this, [this] {
        timer_.stop();
        kept_.reset(); // the stage before keeps its copy unless discarded
    });
}

void RecoveryKeeper::setStore(RecoveryStore store) { store_ = std::move(store); }

RecoveryKeeper::Key RecoveryKeeper::openStage() const { return {stage_.gameRoot(), stage_.files().mapName}; }

void RecoveryKeeper::writeNow()
{
    if (!stage_.isOpen() || !stage_.isModified())
        return;
    writtenRevision_ = stage_.revision();
    RecoveryStore::Copy copy{stage_.mapFileBytes(), stage_.entityFileBytes(), stage_.unsavedTileTypeBytes(), {}};
    const Key key = openStage();
    const Outcome written = store_.write(key.root, key.mapName, copy);
    if (!written.ok()) {
        if (written.refusal() != lastFailure_) {
            lastFailure_ = written.refusal();
            emit writeFailed(lastFailure_);
        }
        return;
    }
    kept_ = key;
}

std::optional<RecoveryStore::Copy> RecoveryKeeper::leftOver()
{
    if (!stage_.isOpen())
        return std::nullopt;
    const Key key = openStage();
    std::optional<RecoveryStore::Copy> copy = store_.read(key.root, key.mapName);
    if (!copy)
        return copy;
    if (stage_.holds(copy->mapFile, copy->entityFile, copy->tileTypes)) {
        store_.remove(key.root, key.mapName);
        return std::nullopt;
    }
    // The copy is this keeper's from now on: kept up to date once its edits
    // are back, removed with them.
    kept_ = key;
    return copy;
}

void RecoveryKeeper::discard()
{
    timer_.stop();
    if (stage_.isOpen())
        store_.remove(stage_.gameRoot(), stage_.files().mapName);
    kept_.reset();
}

} // namespace vorn
