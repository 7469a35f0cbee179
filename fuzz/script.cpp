// The script codec: decoding then encoding, and encoding then decoding,
// give every byte back. The checker reads any bytes as a script without
// reading past them, and every finding it gives lies within the script.
// As text to edit, in the Western and the Japanese code page, a script
// comes back byte for byte but for LF alone, which comes back as CR LF.
#include "codepage.h"
#include "fuzzcheck.h"
#include "script.h"
#include "scriptcheck.h"
#include "scripttext.h"

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

    QByteArray crlf;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input[i] == '\n' && (i == 0 || input[i - 1] != '\r'))
            crlf += '\r';
        crlf += input[i];
    }
    for (const int page : {1252, 932}) {
        vorn::SetAnsiCodePage(page);
        const vorn::ScriptTextReading reading = vorn::ScriptTextOf(input);
        const vorn::ScriptBytes back = vorn::ScriptBytesOf(reading.text);
        FUZZ_CHECK(back.bytes == crlf);
        FUZZ_CHECK(back.unencodableAt == -1);
        FUZZ_CHECK(back.offsets.size() == size_t(reading.text.size()) + 1 && back.offsets.back() == crlf.size());
    }
    vorn::SetAnsiCodePage(1252);
    return 0;
}
