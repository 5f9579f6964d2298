#pragma once
// GDI+ for the whole test program, as the tool has it for its whole run: a program that
// includes this header has it started before its first test (the tool's image classes and
// the decoder of the support library need it). It runs until the process ends.
namespace testsupport {

bool StartGdiplus();
inline const bool g_gdiplusStarted = StartGdiplus();

}  // namespace testsupport
