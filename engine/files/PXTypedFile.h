// The fixed-width reads and writes of a PXFile (8/16/32-bit integers, float, double) and
// the length-prefixed string write, written once over two primitives of the stream class
// `Stream`:
//
//     template <typename T> T ReadValue();                 // one value, as the stream reads it
//     template <typename T> uint32_t WriteValue(T value);  // bytes written
//
// Each stream keeps its own bounds checks and status in those two. The members are not
// inline: the stream's header declares `extern template class PXTypedFile<Stream>;` and
// its source file instantiates the template after defining the primitives, so a typed
// read stays one call with the primitive inlined into it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/files/PXFile.h"

template <class Stream> class PXTypedFile : public PXFile {
public:
    using PXFile::PXFile;

    int8_t ReadInt8() override;
    int16_t ReadInt16() override;
    int32_t ReadInt32() override;
    uint8_t ReadUInt8() override;
    uint16_t ReadUInt16() override;
    uint32_t ReadUInt32() override;
    float ReadFloat() override;
    double ReadDouble() override;
    uint32_t WriteInt8(int8_t value) override;
    uint32_t WriteInt16(int16_t value) override;
    uint32_t WriteInt32(int32_t value) override;
    uint32_t WriteUInt8(uint8_t value) override;
    uint32_t WriteUInt16(uint16_t value) override;
    uint32_t WriteUInt32(uint32_t value) override;
    uint32_t WriteFloat(float value) override;
    uint32_t WriteDouble(double value) override;
    // A 32-bit length, then the bytes (WriteBytes).
    uint32_t WriteString(const std::string& value) override;

private:
    Stream& Self() { return static_cast<Stream&>(*this); }
};

// Not inline: instantiated once, in the source file of each stream.
template <class S> int8_t PXTypedFile<S>::ReadInt8() { return Self().template ReadValue<int8_t>(); }
template <class S> int16_t PXTypedFile<S>::ReadInt16() { return Self().template ReadValue<int16_t>(); }
template <class S> int32_t PXTypedFile<S>::ReadInt32() { return Self().template ReadValue<int32_t>(); }
template <class S> uint8_t PXTypedFile<S>::ReadUInt8() { return Self().template ReadValue<uint8_t>(); }
template <class S> uint16_t PXTypedFile<S>::ReadUInt16() { return Self().template ReadValue<uint16_t>(); }
template <class S> uint32_t PXTypedFile<S>::ReadUInt32() { return Self().template ReadValue<uint32_t>(); }
template <class S> float PXTypedFile<S>::ReadFloat() { return Self().template ReadValue<float>(); }
template <class S> double PXTypedFile<S>::ReadDouble() { return Self().template ReadValue<double>(); }

template <class S> uint32_t PXTypedFile<S>::WriteInt8(int8_t value) { return Self().WriteValue(value); }
template <class S> uint32_t PXTypedFile<S>::WriteInt16(int16_t value) { return Self().WriteValue(value); }
template <class S> uint32_t PXTypedFile<S>::WriteInt32(int32_t value) { return Self().WriteValue(value); }
template <class S> uint32_t PXTypedFile<S>::WriteUInt8(uint8_t value) { return Self().WriteValue(value); }
template <class S> uint32_t PXTypedFile<S>::WriteUInt16(uint16_t value) { return Self().WriteValue(value); }
template <class S> uint32_t PXTypedFile<S>::WriteUInt32(uint32_t value) { return Self().WriteValue(value); }
template <class S> uint32_t PXTypedFile<S>::WriteFloat(float value) { return Self().WriteValue(value); }
template <class S> uint32_t PXTypedFile<S>::WriteDouble(double value) { return Self().WriteValue(value); }

template <class S> uint32_t PXTypedFile<S>::WriteString(const std::string& value)
{
    // Both parts go through the stream's overrides, as any other caller's writes would.
    const uint32_t length = static_cast<uint32_t>(value.size());
    return WriteUInt32(length) + WriteBytes(length, value.data());
}
