#pragma once
// The program's name and version as the frame caption and the about box show them.

namespace ProgramInfo {
inline constexpr auto Name = "Tolvane 3";
inline constexpr auto Version = "3.03";
} // namespace ProgramInfo
