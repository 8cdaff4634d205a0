#pragma once

// Builders that write small EMF and WMF files byte by byte, shared by the tests and the fuzz
// target's seed corpus.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace quorvane::testing {

inline void putLe(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// Little-endian 32-bit fields, as most EMF records are laid out.
inline std::string dwords(std::initializer_list<std::int64_t> values)
{
    std::string out;
    for (auto v : values) {
        putLe(out, static_cast<std::uint64_t>(v), 4);
    }
    return out;
}

// Little-endian 16-bit fields, as WMF records and the 16-bit EMF point forms are laid out.
inline std::string words(std::initializer_list<std::int64_t> values)
{
    std::string out;
    for (auto v : values) {
        putLe(out, static_cast<std::uint64_t>(v), 2);
    }
    return out;
}

inline std::string floats(std::initializer_list<float> values)
{
    std::string out;
    for (float v : values) {
        std::uint32_t bits;
        static_assert(sizeof bits == sizeof v);
        __builtin_memcpy(&bits, &v, sizeof bits);
        putLe(out, bits, 4);
    }
    return out;
}

inline std::string utf16(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        putLe(out, c, 2);
    }
    return out;
}

// A COLORREF: red in the low byte.
constexpr std::int64_t colorRef(int red, int green, int blue)
{
    return red | green << 8 | blue << 16;
}

// A 2 by 2, 24-bit bottom-up DIB: its 40-byte information header, then its pixels. The top row is
// red, white; the bottom row blue, green.
inline std::string dibHeader2x2()
{
    return dwords({40, 2, 2}) + words({1, 24}) + dwords({0, 16, 2835, 2835, 0, 0});
}

inline std::string dibPixels2x2()
{
    // Rows bottom-up, blue-green-red bytes, each row padded to 4 bytes.
    return std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00"
                       "\x00\x00\xFF\xFF\xFF\xFF\x00\x00",
                       16);
}

class EmfBuilder
{
public:
    EmfBuilder& record(std::uint32_t type, const std::string& params)
    {
        std::string padded = params;
        padded.resize((padded.size() + 3) / 4 * 4, '\0');
        putLe(m_records, type, 4);
        putLe(m_records, 8 + padded.size(), 4);
        m_records += padded;
        ++m_count;
        return *this;
    }

    // The whole file: a header whose frame covers width by height reference-device pixels at 10
    // pixels per millimetre, the records, and the end-of-file record.
    std::string file(int width = 100, int height = 100, int handles = 16) const
    {
        return fileWith({0, 0, width - 1, height - 1}, {0, 0, width * 10, height * 10}, {1000, 1000},
                        {100, 100}, handles);
    }

    std::string fileWith(std::initializer_list<std::int64_t> bounds,
                         std::initializer_list<std::int64_t> frame,
                         std::initializer_list<std::int64_t> device,
                         std::initializer_list<std::int64_t> millimetres, int handles) const
    {
        const std::string eof = dwords({14, 20, 0, 16, 20});
        std::string out;
        putLe(out, 1, 4);
        putLe(out, 88, 4);
        out += dwords(bounds) + dwords(frame);
        putLe(out, 0x464D4520, 4);
        putLe(out, 0x10000, 4);
        putLe(out, 88 + m_records.size() + eof.size(), 4);
        putLe(out, m_count + 2, 4);
        putLe(out, handles, 2);
        putLe(out, 0, 2);
        out += dwords({0, 0, 0}) + dwords(device) + dwords(millimetres);
        return out + m_records + eof;
    }

private:
    std::string m_records;
    int m_count = 0;
};

class WmfBuilder
{
public:
    WmfBuilder& record(std::uint16_t function, const std::string& params)
    {
        std::string padded = params;
        padded.resize((padded.size() + 1) / 2 * 2, '\0');
        putLe(m_records, 3 + padded.size() / 2, 4);
        putLe(m_records, function, 2);
        m_records += padded;
        return *this;
    }

    // The same record many times over, written once and copied.
    WmfBuilder& repeat(std::uint16_t function, const std::string& params, int times)
    {
        const std::size_t start = m_records.size();
        record(function, params);
        const std::string one = m_records.substr(start);
        m_records.reserve(m_records.size() + one.size() * static_cast<std::size_t>(times));
        for (int i = 1; i < times; ++i) {
            m_records += one;
        }
        return *this;
    }

    // The file without the placeable header: the 18-byte header, the records, the end record.
    std::string plainFile(int objects = 16) const
    {
        const std::string eof = words({3, 0, 0});
        std::string out = words({1, 9, 0x300});
        putLe(out, (18 + m_records.size() + eof.size()) / 2, 4);
        putLe(out, objects, 2);
        putLe(out, 0, 4);
        putLe(out, 0, 2);
        return out + m_records + eof;
    }

    // The file with the placeable header: its bounding box in units of 1/inch inch.
    std::string placeableFile(int left, int top, int right, int bottom, int inch, int objects = 16) const
    {
        std::string out;
        putLe(out, 0x9AC6CDD7, 4);
        out += words({0, left, top, right, bottom, inch});
        putLe(out, 0, 4);
        putLe(out, 0, 2); // checksum, not checked by the reader
        return out + plainFile(objects);
    }

private:
    std::string m_records;
};

} // namespace quorvane::testing
