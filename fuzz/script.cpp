// The script codec: decoding then encoding, and encoding then decoding,
// give every byte back.
#include "fuzzcheck.h"
#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = InputBytes(data, size);
    const QByteArray plain = vorn::DecodeScript(input);
    FUZZ_CHECK(plain.size() == input.size());
    FUZZ_CHECK(vorn::EncodeScript(plain) == input);
    FUZZ_CHECK(vorn::DecodeScript(vorn::EncodeScript(input)) == input);
    return 0;
}
