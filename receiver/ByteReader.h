// Numbers and text out of a received binary message held one byte per unit, as the framers deliver it. A
// number that does not lie wholly inside the bytes is refused and reads as 0, so a field of a short or
// malformed message never reads past its end.
#pragma once

#include "platform/base/CString.h"

enum class ByteOrder { kBigEndian, kLittleEndian };

class ByteReader {
public:
    ByteReader(const TCHAR* units, int size, ByteOrder order)
        : m_units(units), m_size(size > 0 ? size : 0), m_order(order) {}

    int Size() const { return m_size; }
    // Whether `width` bytes from `at` lie inside.
    bool Holds(int at, int width) const { return at >= 0 && width >= 0 && at <= m_size - width; }

    unsigned U8(int at) const { return Unsigned(at, 1); }
    unsigned U16(int at) const { return Unsigned(at, 2); }
    unsigned U24(int at) const { return Unsigned(at, 3); }
    unsigned U32(int at) const { return Unsigned(at, 4); }
    int S8(int at) const { return Signed(at, 1); }
    int S16(int at) const { return Signed(at, 2); }
    int S24(int at) const { return Signed(at, 3); }
    int S32(int at) const { return Signed(at, 4); }

    // The units from `first`, at most `count` of them, as far as the bytes go.
    CString Chars(int first, int count) const;
    // The bytes from `first` up to the first zero, at most `count` of them, as far as the bytes go.
    CString ZeroEndedText(int first, int count) const;

private:
    unsigned Unsigned(int at, int width) const;
    int Signed(int at, int width) const;

    const TCHAR* m_units;
    int m_size;
    ByteOrder m_order;
};
