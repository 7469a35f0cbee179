#pragma once
// What a step that can be refused gives back: done, or refused with a text
// that names the file and the reason ("data\stage\Cave.pxm is shorter than
// its header says: 300 of 308 bytes."). Marked [[nodiscard]] so that no
// refusal can be dropped without a word.
#include <QString>
#include <utility>

namespace vorn {

class [[nodiscard]] Outcome {
public:
    Outcome() = default; // done
    // An empty text is done too, so a reason built up as text (empty while
    // nothing is wrong) is returned as it is.
    Outcome(QString refusal)
        : refusal_(std::move(refusal))
    {
    }

    bool ok() const { return refusal_.isEmpty(); }
    const QString& refusal() const { return refusal_; }

private:
    QString refusal_;
};

} // namespace vorn
