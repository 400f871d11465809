// Any bytes from the module, cut into chunks of any size: the line framer gives back exactly the
// lines it was sent, in order. The first byte is the chunk length (0: all at once); the rest is
// what the module sent.

#include "connection/lineframer.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArrayView stream(data + 1, static_cast<qsizetype>(size - 1));
    const qsizetype chunk = data[0] > 0 ? data[0] : std::max<qsizetype>(stream.size(), 1);
    LineFramer framer;
    QByteArray framed; // the lines taken, each with its CR LF again
    QByteArray line;
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        framer.feed(stream.sliced(at, std::min(chunk, stream.size() - at)));
        while (framer.takeLine(line)) {
            framed += line + "\r\n";
        }
    }
    // Below the length bound nothing is dropped: all up to the last CR LF, and nothing else.
    const qsizetype lastLineEnd = stream.lastIndexOf("\r\n");
    const qsizetype whole = lastLineEnd < 0 ? 0 : lastLineEnd + 2;
    if (stream.size() <= LineFramer::MaxLineLength && framed != stream.first(whole)) {
        __builtin_trap();
    }
    return 0;
}
