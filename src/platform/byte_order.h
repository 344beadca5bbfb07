// Numbers as files store them, read and written a byte at a time: little-endian as
// in RIFF and BMP files, big-endian as in MIDI, FLAC and MP3. The caller has made
// sure that the bytes are there.
#pragma once

#include <cstdint>
#include <vector>

inline std::uint32_t ReadLe16(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8;
}
inline std::uint32_t ReadLe32(const std::uint8_t* at) {
  return ReadLe16(at) | ReadLe16(at + 2) << 16;
}
inline std::uint32_t ReadBe16(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) << 8 | static_cast<std::uint32_t>(at[1]);
}
inline std::uint32_t ReadBe24(const std::uint8_t* at) { return ReadBe16(at) << 8 | at[2]; }
inline std::uint32_t ReadBe32(const std::uint8_t* at) { return ReadBe16(at) << 16 | ReadBe16(at + 2); }

inline void WriteLe16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}
inline void WriteLe32(std::uint8_t* at, std::uint32_t value) {
  WriteLe16(at, value & 0xFFFF);
  WriteLe16(at + 2, value >> 16);
}

template <typename Byte>
void AppendLe16(std::vector<Byte>& out, std::uint32_t value) {
  out.push_back(static_cast<Byte>(value));
  out.push_back(static_cast<Byte>(value >> 8));
}
template <typename Byte>
void AppendLe32(std::vector<Byte>& out, std::uint32_t value) {
  AppendLe16(out, value & 0xFFFF);
  AppendLe16(out, value >> 16);
}
template <typename Byte>
void AppendBe32(std::vector<Byte>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<Byte>(value >> shift));
}
