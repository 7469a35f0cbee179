#include "scriptdocument.h"

#include <QTextBlock>
#include <QTimer>

#include <algorithm>

namespace vorn {

ScriptDocument::ScriptDocument(const Game& game, GameScripts& scripts, QString builtName, EntityEvents entityEvents,
                               int stage, QObject* parent)
    : QObject(parent)
    , game_(game)
    , scripts_(scripts)
    , builtName_(std::move(builtName))
    , entityEvents_(std::move(entityEvents))
    , stage_(stage == kFirstStageNamingIt ? scripts.stageOfScript(builtName_) : stage)
    , text_(new QTextDocument(this))
    , pause_(new QTimer(this))
{
    // Connected before any view: the analysis is fresh when views redraw.
    connect(text_, &QTextDocument::contentsChange, this, &ScriptDocument::changed);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, &ScriptDocument::checkNow);
}

const ScriptDocument::Analysis& ScriptDocument::analysis() const
{
    if (pending_)
        const_cast<ScriptDocument*>(this)->checkNow();
    return analysis_;
}

void ScriptDocument::checkNow()
{
    if (pending_)
        analyse(-1, 0, 0, true);
}

void ScriptDocument::changed(int position, int removed, int added)
{
    if (!pending_ && text_->characterCount() <= kCheckAtOnceLimit) {
        analyse(position, removed, added, false);
        return;
    }
    // A view's new colours mark the text changed without a new revision.
    if (removed == added && text_->revision() == checkedRevision_)
        return;
    checkedRevision_ = text_->revision();
    pending_ = true;
    pause_->start();
    emit edited(position, removed, added);
}

QString ScriptDocument::fileName() const { return builtName_.mid(builtName_.lastIndexOf(u'\\') + 1); }

Outcome ScriptDocument::load(QString* note)
{
    // Stamped before the read: a change made while reading shows as a change.
    const FileStamp before = StampOf(game_.folder.findEntry(builtName_));
    QByteArray decoded;
    if (const Outcome read = ReadDecodedScript(game_.folder, builtName_, decoded); !read.ok())
        return read;
    const ScriptTextReading reading = ScriptTextOf(decoded);
    stamp_ = before;
    onDisk_ = decoded;
    text_->setPlainText(reading.text);
    text_->clearUndoRedoStacks();
    text_->setModified(false);
    analyse(0, 0, 0, true);
    if (note) {
        QStringList parts;
        if (reading.bareLineFeeds > 0)
            parts
                << QStringLiteral("%1 line ends are LF alone; saving ends them with CR LF").arg(reading.bareLineFeeds);
        if (reading.keptBytes > 0)
            parts << QStringLiteral("%1 bytes are not characters of the code page; they are kept as they are")
                         .arg(reading.keptBytes);
        *note = parts.join(QStringLiteral(". "));
        if (!note->isEmpty())
            *note += u'.';
    }
    return {};
}

bool ScriptDocument::changedOnDisk() const
{
    const FileStamp now = StampOf(game_.folder.findEntry(builtName_));
    if (!now.exists || now == stamp_)
        return false;
    QByteArray decoded;
    if (ReadDecodedScript(game_.folder, builtName_, decoded).ok() && decoded == onDisk_) {
        stamp_ = now; // only touched: no need to read it again
        return false;
    }
    return true;
}

Outcome ScriptDocument::save()
{
    const ScriptBytes bytes = ScriptBytesOf(text_->toRawText());
    if (bytes.unencodableAt >= 0) {
        const QString raw = text_->toRawText();
        const QTextBlock block = text_->findBlock(bytes.unencodableAt);
        const qsizetype length = raw[bytes.unencodableAt].isHighSurrogate() ? 2 : 1;
        return QStringLiteral("Cannot save %1: the game's code page has no \"%2\" (line %3).")
            .arg(builtName_, raw.mid(bytes.unencodableAt, length))
            .arg(block.blockNumber() + 1);
    }
    if (const Outcome written = WriteDecodedScript(game_.folder, builtName_, bytes.bytes); !written.ok())
        return written;
    stamp_ = StampOf(game_.folder.findEntry(builtName_));
    onDisk_ = bytes.bytes;
    scripts_.forget(builtName_);
    text_->setModified(false);
    return {};
}

int ScriptDocument::positionOf(int byteOffset) const
{
    const std::vector<int>& offsets = analysis().bytes.offsets;
    if (offsets.empty())
        return 0;
    const auto at = std::lower_bound(offsets.begin(), offsets.end(), byteOffset);
    return int(std::min<std::ptrdiff_t>(at - offsets.begin(), std::ptrdiff_t(offsets.size()) - 1));
}

int ScriptDocument::byteOffsetOf(int position) const
{
    const std::vector<int>& offsets = analysis().bytes.offsets;
    if (offsets.empty())
        return 0;
    return offsets[size_t(std::clamp(position, 0, int(offsets.size()) - 1))];
}

int ScriptDocument::eventPosition(int number) const
{
    for (const ScriptEvent& event : analysis().parsed.events)
        if (event.findable && event.number == number)
            return positionOf(event.header.offset);
    return -1;
}

void ScriptDocument::recheck() { analyse(0, 0, 0, true); }

void ScriptDocument::analyse(int position, int removed, int added, bool force)
{
    QString text = text_->toRawText();
    // A view's new colours mark the text changed without changing it.
    if (!force && text == analysis_.text)
        return;
    analysis_.text = std::move(text);
    analysis_.bytes = ScriptBytesOf(analysis_.text);
    analysis_.parsed = ParseScript(analysis_.bytes.bytes);
    const ScriptContext context =
        stage_ >= 0 ? scripts_.stageContext(entityEvents_ ? entityEvents_(stage_) : std::vector<int>{})
                    : scripts_.sharedContext();
    analysis_.findings = CheckScript(analysis_.bytes.bytes, analysis_.parsed, context);
    pending_ = false;
    pause_->stop();
    checkedRevision_ = text_->revision();
    // A large text's changes were not followed one by one: views compare every line.
    if (text_->characterCount() > kCheckAtOnceLimit)
        position = -1;
    emit analysed(position, removed, added);
}

} // namespace vorn
