// libFuzzer target: read any bytes, write the document back, read that again. Our own output must
// always load.
#include "FuzzInput.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    QTextDocument document;
    RtfReader().read(input.bytes(), &document);
    const QByteArray written = RtfWriter(12.0).write(document);
    QTextDocument again;
    if (!RtfReader().read(written, &again))
        __builtin_trap();
    return 0;
}
