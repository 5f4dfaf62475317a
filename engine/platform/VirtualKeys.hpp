// Key codes the game compares, with the values of the desktop virtual-key table they come from.
#pragma once

namespace ad::platform::vk {

inline constexpr int Back = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int Shift = 0x10;
inline constexpr int Control = 0x11;
inline constexpr int Menu = 0x12; // Alt
inline constexpr int Pause = 0x13;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int Prior = 0x21;
inline constexpr int Next = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int Key0 = 0x30; // '0'..'9' are 0x30..0x39
inline constexpr int KeyA = 0x41; // 'A'..'Z' are 0x41..0x5A
inline constexpr int KeyD = 0x44;
inline constexpr int KeyS = 0x53;
inline constexpr int KeyW = 0x57;
inline constexpr int F1 = 0x70; // F1..F12 are 0x70..0x7B
inline constexpr int F2 = 0x71;
inline constexpr int F9 = 0x78;

} // namespace ad::platform::vk
