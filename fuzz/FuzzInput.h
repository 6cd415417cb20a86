// Shared set-up of the RTF fuzz targets: an offscreen QGuiApplication for fonts and images, and the
// input as bytes that end exactly where the fuzzer's data ends, so any over-read is caught.
#pragma once

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstring>
#include <memory>

inline void initFuzzApplication(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    static QGuiApplication application(*argc, *argv);
}

// Inputs that do not start like RTF get "{\rtf1 " in front: every run then reaches the parser.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size)
    {
        static const char prefix[] = "{\\rtf1 ";
        const bool rtf = size >= 5 && std::memcmp(data, "{\\rtf", 5) == 0;
        const size_t extra = rtf ? 0 : sizeof(prefix) - 1;
        m_size = size + extra;
        m_buffer.reset(new char[m_size ? m_size : 1]);
        std::memcpy(m_buffer.get(), prefix, extra);
        if (size)
            std::memcpy(m_buffer.get() + extra, data, size);
        m_bytes = QByteArray::fromRawData(m_buffer.get(), qsizetype(m_size));
    }
    const QByteArray &bytes() const { return m_bytes; }

private:
    std::unique_ptr<char[]> m_buffer;
    size_t m_size = 0;
    QByteArray m_bytes;
};
