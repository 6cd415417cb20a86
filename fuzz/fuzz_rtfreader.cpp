// libFuzzer target: any bytes through the RTF reader, into a document and as text only.
#include "FuzzInput.h"
#include "rtf/RtfReader.h"

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
    if (!RtfReader().read(input.bytes(), &document))
        __builtin_trap(); // everything that starts like RTF must load
    // Walk the result as a user of the document would.
    (void)document.toPlainText();
    (void)RtfReader::plainText(input.bytes());
    return 0;
}
