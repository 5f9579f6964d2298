#pragma once
// Texts more than one part of the application shows, and the repair's outcomes, which are
// also checked from outside the application.

// The main window's title, by which a second start also finds the running tool.
inline constexpr wchar_t kToolTitle[] = L"Quenmar软件名称显示乱码修复工具";
// Said when the tool cannot start, in its own prompt or, without its pictures, in the
// system's message box.
inline constexpr wchar_t kTextInitFailed[] = L"工具初始化失败";

// The prompts a repair from the panel ends with.
inline constexpr wchar_t kTextRepairSucceeded[] = L"修复Quenmar软件名称显示乱码成功！";
inline constexpr wchar_t kTextRepairFailed[] = L"修复Quenmar软件名称显示乱码失败！";
