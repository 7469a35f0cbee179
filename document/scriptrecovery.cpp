#include "scriptrecovery.h"

#include "game.h"
#include "scriptdocument.h"

#include <QLockFile>

namespace vorn {

ScriptRecoveryKeeper::ScriptRecoveryKeeper(const Game& game, ScriptDocument& script, RecoveryStore store,
                                           QObject* parent)
    : QObject(parent)
    , game_(game)
    , script_(script)
    , store_(std::move(store))
{
    // A look every kDelayMs while the text is unsaved: typing never waits
    // for a copy, and a failed write is tried again at the next look.
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (revision_ != writtenRevision_ || !lastFailure_.isEmpty())
            writeNow();
    });
    QTextDocument* text = script_.text();
    connect(text, &QTextDocument::contentsChanged, this, [this] {
        ++revision_;
        if (script_.isModified() && !timer_.isActive())
            timer_.start();
    });
    connect(text, &QTextDocument::modificationChanged, this, [this](bool modified) {
        if (modified) {
            if (!timer_.isActive())
                timer_.start();
            return;
        }
        timer_.stop();
        lastFailure_.clear();
        if (kept_) {
            store_.remove(game_.folder.root(), script_.builtName(), RecoveryStore::Kind::Script);
            kept_ = false;
        }
    });
}

ScriptRecoveryKeeper::~ScriptRecoveryKeeper() = default;

void ScriptRecoveryKeeper::writeNow()
{
    if (!script_.isModified())
        return;
    const quint64 revision = revision_;
    RecoveryStore::Copy copy;
    copy.scriptText = script_.text()->toPlainText();
    copy.sources.push_back(RecoveryStore::StampOf(script_.builtName(), game_.folder.findEntry(script_.builtName())));
    const Outcome written = store_.write(game_.folder.root(), script_.builtName(), copy, RecoveryStore::Kind::Script);
    if (!written.ok()) {
        if (written.refusal() != lastFailure_)
            emit writeFailed(written.refusal());
        lastFailure_ = written.refusal();
        return;
    }
    lastFailure_.clear();
    writtenRevision_ = revision;
    kept_ = true;
}

std::optional<RecoveryStore::Copy> ScriptRecoveryKeeper::leftOver()
{
    releaseOffer();
    const QString text = script_.text()->toPlainText();
    for (RecoveryStore::Copy& copy :
         store_.leftBehind(game_.folder.root(), script_.builtName(), RecoveryStore::Kind::Script)) {
        std::unique_ptr<QLockFile> lock = LockCopy(copy.path);
        if (!lock)
            continue; // another Vorn is offering it
        if (copy.scriptText == text) {
            RecoveryStore::removeCopy(copy);
            continue;
        }
        offered_ = copy;
        offerLock_ = std::move(lock);
        return copy;
    }
    return std::nullopt;
}

void ScriptRecoveryKeeper::take()
{
    if (!offered_)
        return;
    writeNow();
    if (lastFailure_.isEmpty())
        RecoveryStore::removeCopy(*offered_);
    releaseOffer();
}

void ScriptRecoveryKeeper::drop()
{
    if (offered_)
        RecoveryStore::removeCopy(*offered_);
    releaseOffer();
}

void ScriptRecoveryKeeper::releaseOffer()
{
    offered_.reset();
    offerLock_.reset();
}

} // namespace vorn
