// The script codec: decoding then encoding, and encoding then decoding,
// give every byte back. The checker reads any bytes as a script without
// reading past them, and every finding it gives lies within the script.
#include "fuzzcheck.h"
#include "script.h"
#include "scriptcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = InputBytes(data, size);
    const QByteArray plain = vorn::DecodeScript(input);
    FUZZ_CHECK(plain.size() == input.size());
    FUZZ_CHECK(vorn::EncodeScript(plain) == input);
    FUZZ_CHECK(vorn::DecodeScript(vorn::EncodeScript(input)) == input);

    vorn::ScriptContext context;
    context.stageCount = 95;
    context.headEvents = {1, 2, 30};
    context.entityEvents = {100, 200};
    context.headSize = 1000;
    const qsizetype lines = input.count('\n') + input.count('\r') + 1;
    for (const vorn::ScriptFinding& finding : vorn::CheckScript(input, context)) {
        FUZZ_CHECK(finding.line >= 0 && finding.line <= lines);
        FUZZ_CHECK(finding.column >= 0 && finding.column <= input.size() + 1);
    }
    return 0;
}
