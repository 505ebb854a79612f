#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Shared by the fuzz targets, which all read their input from files the way
// the program does: each input is written to a scratch file first.
namespace fuzz {

// A folder that lives as long as the fuzzing process.
inline const QString& scratchFolder() {
    static QTemporaryDir folder;
    static const QString path = folder.path();
    return path;
}

inline QString writeScratchFile(const QString& name, const char* bytes, std::size_t size) {
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes, static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort();
    return path;
}

inline QString writeScratchFile(const QString& name, const uint8_t* bytes, std::size_t size) {
    return writeScratchFile(name, reinterpret_cast<const char*>(bytes), size);
}

// A broken promise of the code under test: reported like a crash, so that
// libFuzzer keeps the input that led to it.
inline void require(bool promise) {
    if (!promise)
        __builtin_trap();
}

// Reads the input front to back; past its end every read gives zeros.
class InputReader {
public:
    InputReader(const uint8_t* data, std::size_t size)
        : data(data)
        , size(size) {}

    uint8_t byte() { return position < size ? data[position++] : 0; }
    int number16() { return byte() | byte() << 8; }
    std::size_t remaining() const { return size - position; }
    const uint8_t* rest() const { return data + position; }
    void skip(std::size_t count) { position += count < remaining() ? count : remaining(); }

private:
    const uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

} // namespace fuzz
