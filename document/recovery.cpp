#include "recovery.h"

#include "safewrite.h"
#include "stagedocument.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QUrl>
#include <QtEndian>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {

namespace {

const QByteArray kMagic1 = QByteArrayLiteral("VORN-RECOVERY 1\n");
const QByteArray kMagic = QByteArrayLiteral("VORN-RECOVERY 2\n");
constexpr qint64 kMaxCopyBytes = 64 * 1024 * 1024; // a script may be large; game files are far below this
constexpr qint64 kMaxSourceBytes = 64 * 1024 * 1024;

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

// A running program is known by its process id and its start time, so a
// later program given the same id is not taken for it.
quint64 StartTimeOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The name in parentheses may hold spaces; the fields after it do not.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return 0;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    constexpr int kStartField = 22 - 3; // the 22nd field, counted from the state (the 3rd)
    return fields.size() > kStartField ? fields[kStartField].toULongLong() : 0;
}

QString OwnTag()
{
    static const QString tag = QStringLiteral("%1-%2")
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(StartTimeOf(QCoreApplication::applicationPid()));
    return tag;
}

bool IsRunning(const QString& tag)
{
    const QStringList parts = tag.split(u'-');
    if (parts.size() != 2)
        return false;
    const qint64 pid = parts[0].toLongLong();
    const quint64 start = parts[1].toULongLong();
    return pid > 0 && start != 0 && StartTimeOf(pid) == start;
}

QString Suffix(RecoveryStore::Kind kind)
{
    return kind == RecoveryStore::Kind::Stage ? QStringLiteral(".recovery") : QStringLiteral(".script-recovery");
}

// Names are encoded so that any of them makes one file name without a dot,
// which leaves the dot to part the name from the owner's tag.
QString EncodeName(const QString& name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name, {}, QByteArrayLiteral(".~")));
}

// A copy's file name: "<name>.<pid>-<start><suffix>"; "<name><suffix>" is
// a copy of a Vorn before copies were per program.
struct CopyName {
    QString name, owner;
};
std::optional<CopyName> ParseCopyName(const QString& file, RecoveryStore::Kind kind)
{
    const QString suffix = Suffix(kind);
    if (!file.endsWith(suffix) || file.startsWith(u'.'))
        return std::nullopt;
    const QString stem = file.chopped(suffix.size());
    static const QRegularExpression tag(QStringLiteral("^(.*)\\.(\\d+-\\d+)$"));
    const QRegularExpressionMatch m = tag.match(stem);
    if (m.hasMatch())
        return CopyName{QUrl::fromPercentEncoding(m.captured(1).toLatin1()), m.captured(2)};
    return CopyName{QUrl::fromPercentEncoding(stem.toLatin1()), QString()};
}

// The user's folder alone: other users of the machine must not read edits
// that were never saved. An existing folder is tightened too.
bool MakePrivateFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        QFile::remove(path); // never a folder somewhere else
    if (!QDir().mkpath(path))
        return false;
    return ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}

QByteArray EncodeSources(const std::vector<RecoveryStore::Source>& sources)
{
    QByteArray out;
    for (const RecoveryStore::Source& s : sources) {
        out += (s.exists ? "1\t" : "0\t") + QByteArray::number(s.size) + '\t' + s.sha1.toHex() + '\t' +
               QUrl::toPercentEncoding(s.name) + '\t' + QUrl::toPercentEncoding(s.path) + '\n';
    }
    return out;
}

std::vector<RecoveryStore::Source> DecodeSources(const QByteArray& in)
{
    std::vector<RecoveryStore::Source> sources;
    for (const QByteArray& line : in.split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 5)
            continue;
        sources.push_back({QUrl::fromPercentEncoding(f[3]), QUrl::fromPercentEncoding(f[4]), f[0] == "1",
                           f[1].toLongLong(), QByteArray::fromHex(f[2])});
    }
    return sources;
}

std::optional<RecoveryStore::Copy> ReadCopy(const QString& path, const QString& root, RecoveryStore::Kind kind)
{
    QByteArray bytes;
    if (QFileInfo(path).isSymLink() || !ReadWholeFile(path, path, bytes, {}, kMaxCopyBytes).ok())
        return std::nullopt;
    const bool old = bytes.startsWith(kMagic1);
    if (!old && !bytes.startsWith(kMagic))
        return std::nullopt;
    qsizetype at = kMagic.size();
    QByteArray gameRoot;
    RecoveryStore::Copy copy;
    if (!TakePart(bytes, at, gameRoot) || !TakePart(bytes, at, copy.mapFile) || !TakePart(bytes, at, copy.entityFile))
        return std::nullopt;
    // Copies written before tile types were kept end here.
    if (!TakePart(bytes, at, copy.tileTypes))
        copy.tileTypes.clear();
    QByteArray sources, script;
    if (!old && TakePart(bytes, at, sources) && TakePart(bytes, at, script)) {
        copy.sources = DecodeSources(sources);
        copy.scriptText = QString::fromUtf8(script);
    }
    if (QString::fromUtf8(gameRoot) != root)
        return std::nullopt;
    if (kind == RecoveryStore::Kind::Script && old)
        return std::nullopt;
    copy.written = QFileInfo(path).lastModified();
    copy.path = path;
    return copy;
}

} // namespace

QString RecoveryStore::DefaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/vorn/recovery");
}

RecoveryStore::Source RecoveryStore::StampOf(const QString& name, const QString& path)
{
    Source source{name, path, false, 0, {}};
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return source;
    source.exists = true;
    source.size = file.size();
    if (source.size <= kMaxSourceBytes) {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        hash.addData(&file);
        source.sha1 = hash.result();
    }
    return source;
}

QStringList RecoveryStore::Copy::changedSources() const
{
    QStringList changed;
    for (const Source& then : sources) {
        const Source now = StampOf(then.name, then.path);
        if (now.exists != then.exists || now.size != then.size || now.sha1 != then.sha1)
            changed << then.name;
    }
    return changed;
}

QString RecoveryStore::gameFolder(const QString& gameRoot) const
{
    // One folder per game, named by a hash of its place.
    const QByteArray game =
        QCryptographicHash::hash(CanonicalRoot(gameRoot).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return folder_ + u'/' + QString::fromLatin1(game);
}

QString RecoveryStore::pathOf(const QString& gameRoot, const QString& name, Kind kind) const
{
    if (folder_.isEmpty())
        return {};
    return gameFolder(gameRoot) + u'/' + EncodeName(name) + u'.' + OwnTag() + Suffix(kind);
}

Outcome RecoveryStore::write(const QString& gameRoot, const QString& name, const Copy& copy, Kind kind) const
{
    const QString path = pathOf(gameRoot, name, kind);
    if (path.isEmpty())
        return {};
    for (const QString& folder : {folder_, gameFolder(gameRoot)})
        if (!MakePrivateFolder(folder))
            return QStringLiteral("Cannot create the folder %1.").arg(folder);
    // A link planted at the copy's place is replaced, never written through.
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
    QByteArray bytes = kMagic;
    AppendPart(bytes, CanonicalRoot(gameRoot).toUtf8());
    AppendPart(bytes, copy.mapFile);
    AppendPart(bytes, copy.entityFile);
    AppendPart(bytes, copy.tileTypes);
    AppendPart(bytes, EncodeSources(copy.sources));
    AppendPart(bytes, copy.scriptText.toUtf8());
    if (const Outcome written = WriteFileAtomically(path, path, bytes); !written.ok())
        return written;
    if (::chmod(QFile::encodeName(path).constData(), 0600) != 0)
        return QStringLiteral("Cannot make %1 private.").arg(path);
    return {};
}

std::optional<RecoveryStore::Copy> RecoveryStore::read(const QString& gameRoot, const QString& name, Kind kind) const
{
    const QString path = pathOf(gameRoot, name, kind);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    return ReadCopy(path, CanonicalRoot(gameRoot), kind);
}

std::vector<RecoveryStore::Copy> RecoveryStore::leftBehind(const QString& gameRoot, const QString& name,
                                                           Kind kind) const
{
    std::vector<Copy> copies;
    if (folder_.isEmpty())
        return copies;
    const QString folder = gameFolder(gameRoot);
    const QString root = CanonicalRoot(gameRoot);
    for (const QString& file :
         QDir(folder).entryList({QStringLiteral("*") + Suffix(kind)}, QDir::Files | QDir::System)) {
        const std::optional<CopyName> parsed = ParseCopyName(file, kind);
        if (!parsed || parsed->name != name || (!parsed->owner.isEmpty() && IsRunning(parsed->owner)))
            continue;
        if (std::optional<Copy> copy = ReadCopy(folder + u'/' + file, root, kind))
            copies.push_back(std::move(*copy));
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) { return a.written > b.written; });
    return copies;
}

std::vector<RecoveryStore::Entry> RecoveryStore::leftBehindNames(const QString& gameRoot) const
{
    std::vector<Entry> entries;
    if (folder_.isEmpty())
        return entries;
    const QStringList files = QDir(gameFolder(gameRoot)).entryList(QDir::Files | QDir::System, QDir::Name);
    for (const Kind kind : {Kind::Stage, Kind::Script}) {
        for (const QString& file : files) {
            const std::optional<CopyName> parsed = ParseCopyName(file, kind);
            if (!parsed || (!parsed->owner.isEmpty() && IsRunning(parsed->owner)))
                continue;
            const bool listed = std::any_of(entries.begin(), entries.end(),
                                            [&](const Entry& e) { return e.kind == kind && e.name == parsed->name; });
            if (!listed)
                entries.push_back({kind, parsed->name});
        }
    }
    return entries;
}

void RecoveryStore::remove(const QString& gameRoot, const QString& name, Kind kind) const
{
    const QString path = pathOf(gameRoot, name, kind);
    if (!path.isEmpty())
        QFile::remove(path);
}

void RecoveryStore::removeCopy(const Copy& copy)
{
    if (!copy.path.isEmpty())
        QFile::remove(copy.path);
}

std::unique_ptr<QLockFile> LockCopy(const QString& copyPath)
{
    auto lock = std::make_unique<QLockFile>(copyPath + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // a lock outlives only its program
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

RecoveryKeeper::RecoveryKeeper(StageDocument& stage, RecoveryStore store, QObject* parent)
    : QObject(parent)
    , stage_(stage)
    , store_(std::move(store))
{
    // A look every kDelayMs while edits are unsaved, rather than a signal
    // at every painted cell: painting keeps its speed. A copy that could not
    // be written is tried again at the next look.
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (stage_.revision() != writtenRevision_ || !lastFailure_.isEmpty())
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
        lastFailure_.clear();
        if (kept_ && *kept_ == openStage()) {
            store_.remove(kept_->root, kept_->mapName);
            kept_.reset();
        }
    });
    connect(&stage_, &StageDocument::opened, this, [this] {
        timer_.stop();
        releaseOffer();
        kept_.reset(); // the stage before keeps its copy unless discarded
    });
}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::setStore(RecoveryStore store) { store_ = std::move(store); }

RecoveryKeeper::Key RecoveryKeeper::openStage() const { return {stage_.gameRoot(), stage_.files().mapName}; }

void RecoveryKeeper::writeNow()
{
    if (!stage_.isOpen() || !stage_.isModified())
        return;
    const quint64 revision = stage_.revision();
    RecoveryStore::Copy copy;
    copy.mapFile = stage_.mapFileBytes();
    copy.entityFile = stage_.entityFileBytes();
    copy.tileTypes = stage_.unsavedTileTypeBytes();
    if (locate_) {
        const StageFiles& files = stage_.files();
        QStringList names{files.map, files.entities};
        if (stage_.hasUnsavedTileTypes())
            names << files.tileTypes;
        for (const QString& name : names)
            copy.sources.push_back(RecoveryStore::StampOf(name, locate_(name)));
    }
    const Key key = openStage();
    const Outcome written = store_.write(key.root, key.mapName, copy);
    if (!written.ok()) {
        if (written.refusal() != lastFailure_)
            emit writeFailed(written.refusal());
        lastFailure_ = written.refusal();
        return;
    }
    lastFailure_.clear();
    writtenRevision_ = revision;
    kept_ = key;
}

std::optional<RecoveryStore::Copy> RecoveryKeeper::leftOver()
{
    releaseOffer();
    if (!stage_.isOpen())
        return std::nullopt;
    const Key key = openStage();
    for (RecoveryStore::Copy& copy : store_.leftBehind(key.root, key.mapName)) {
        std::unique_ptr<QLockFile> lock = LockCopy(copy.path);
        if (!lock)
            continue; // another Vorn is offering it
        if (stage_.holds(copy.mapFile, copy.entityFile, copy.tileTypes)) {
            RecoveryStore::removeCopy(copy);
            continue;
        }
        offered_ = copy;
        offerLock_ = std::move(lock);
        return copy;
    }
    return std::nullopt;
}

void RecoveryKeeper::take()
{
    if (!offered_)
        return;
    // The edits are in the stage now: this keeper's copy holds them at once,
    // and only then does the offered one go.
    writeNow();
    if (lastFailure_.isEmpty())
        RecoveryStore::removeCopy(*offered_);
    releaseOffer();
}

void RecoveryKeeper::drop()
{
    if (offered_)
        RecoveryStore::removeCopy(*offered_);
    releaseOffer();
}

void RecoveryKeeper::releaseOffer()
{
    offered_.reset();
    offerLock_.reset();
}

void RecoveryKeeper::discard()
{
    timer_.stop();
    lastFailure_.clear();
    if (stage_.isOpen())
        store_.remove(stage_.gameRoot(), stage_.files().mapName);
    kept_.reset();
}

} // namespace vorn
