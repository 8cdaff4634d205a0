#pragma once

#include "EmfRecords.h"
#include "MetafilePicture.h"
#include "WmfRecords.h"

#include <QByteArray>
#include <cstring>

// Reading and checking a metafile's records: a bounded window on its bytes, the header constants,
// and the walks over the records that stop at the first impossible size.
namespace quorvane::metafile {

// ---- Reading little-endian fields --------------------------------------------------------------

// A window on the file's bytes. Every read outside it gives 0, so a short record can never make a
// read leave the buffer; the handlers check sizes to skip such records rather than to stay safe.
class Bytes
{
public:
    Bytes() = default;
    Bytes(const uchar* data, qint64 size) : m_data(data), m_size(size) {}

    qint64 size() const { return m_size; }
    bool holds(qint64 offset, qint64 count) const
    {
        return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset;
    }
    quint32 u8(qint64 at) const { return holds(at, 1) ? m_data[at] : 0; }
    quint32 u16(qint64 at) const
    {
        return holds(at, 2) ? quint32(m_data[at]) | quint32(m_data[at + 1]) << 8 : 0;
    }
    qint32 i16(qint64 at) const { return static_cast<qint16>(u16(at)); }
    quint32 u32(qint64 at) const { return holds(at, 4) ? u16(at) | u16(at + 2) << 16 : 0; }
    qint32 i32(qint64 at) const { return static_cast<qint32>(u32(at)); }
    float f32(qint64 at) const
    {
        const quint32 bits = u32(at);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    Bytes sub(qint64 offset, qint64 count) const
    {
        return holds(offset, count) ? Bytes(m_data + offset, count) : Bytes();
    }
    const uchar* data() const { return m_data; }

private:
    const uchar* m_data = nullptr;
    qint64 m_size = 0;
};

inline Bytes bytesOf(const QByteArray& array)
{
    return Bytes(reinterpret_cast<const uchar*>(array.constData()), array.size());
}

// ---- Format constants -------------------------------------------------------------------------

constexpr quint32 emfSignature = 0x464D4520; // " EMF"
constexpr quint32 placeableKey = 0x9AC6CDD7;
constexpr int placeableSize = 22;
constexpr int metaHeaderSize = 18;
constexpr int emfHeaderMinimum = 88;

// Calls visit(record, type) for each record after the header, at most maxRecords, stopping at the
// end-of-file record. Returns false when a record's size is impossible or runs past the end.
template <class Visit>
bool walkEmf(Bytes file, qint64 first, int& count, Visit&& visit)
{
    qint64 at = first;
    count = 0;
    while (at < file.size() && count < MetafilePicture::maxRecords) {
        const quint32 type = file.u32(at);
        const qint64 size = file.u32(at + 4);
        if (size < 8 || size % 4 != 0 || !file.holds(at, size)) {
            return false;
        }
        ++count;
        if (!visit(file.sub(at, size), type) || type == EmrEof) {
            break;
        }
        at += size;
    }
    return true;
}

template <class Visit>
bool walkWmf(Bytes file, qint64 first, int& count, Visit&& visit)
{
    qint64 at = first;
    count = 0;
    while (at < file.size() && count < MetafilePicture::maxRecords) {
        if (!file.holds(at, 6)) {
            return false;
        }
        const qint64 size = qint64(file.u32(at)) * 2;
        const quint32 function = file.u16(at + 4);
        if (size < 6 || !file.holds(at, size)) {
            return false;
        }
        ++count;
        if (!visit(file.sub(at, size), function) || function == MetaEof) {
            break;
        }
        at += size;
    }
    return true;
}

} // namespace quorvane::metafile
